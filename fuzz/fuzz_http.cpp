// SPDX-License-Identifier: LGPL-2.1-or-later
// Cloud answers straight into the HTTP response reader, in the pieces the
// network happens to deliver. The first two bytes choose the body limit and
// the piece size; the rest is the stream. Whatever the pieces, the reader
// must end in the same state with the same body (a parser that keeps state
// across pieces is where split-dependent bugs live), never hold more body
// than the limit, and never use bytes it was not given.
#include "cloud/HttpResponseReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

struct Outcome
{
    HttpResponseReader::State state;
    int status;
    QByteArray body;
    qint64 used;
};

Outcome read(const char *data, qint64 len, qint64 limit, qint64 piece)
{
    HttpResponseReader reader(limit);
    qint64 used = 0;
    for (qint64 at = 0; at < len; at += piece) {
        const qint64 n = qMin(piece, len - at);
        const qint64 took = reader.feed(data + at, n);
        if (took < 0 || took > n)
            abort();
        if (reader.body().size() > limit)
            abort();
        used += took;
        // What it did not take is the next response's: it stopped.
        if (took < n)
            break;
    }
    if (reader.state() == HttpResponseReader::State::Body)
        reader.finishAtEof();
    return {reader.state(), reader.status(), reader.body(), used};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const qint64 limit = qint64(data[0]) * 16;
    const qint64 piece = qint64(data[1] % 17) + 1;
    const char *stream = reinterpret_cast<const char *>(data + 2);
    const qint64 len = qint64(size) - 2;

    const Outcome whole = read(stream, len, limit, qMax<qint64>(len, 1));
    const Outcome split = read(stream, len, limit, piece);
    if (whole.state != split.state || whole.status != split.status || whole.body != split.body
        || whole.used != split.used)
        abort();
    return 0;
}
