// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HttpResponseReader.h"

namespace {
constexpr int MaxChunkLine = 1024;   // size, extensions, and a CRLF

QByteArray lowered(const QByteArray &s)
{
    return s.trimmed().toLower();
}

// Digits only: "+5", "5 5" or "0x5" are not lengths.
bool decimal(const QByteArray &s, qint64 *out)
{
    if (s.isEmpty() || s.size() > 18)
        return false;
    qint64 v = 0;
    for (const char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *out = v;
    return true;
}
}

HttpResponseReader::HttpResponseReader(qint64 maxBody, bool headRequest)
    : m_maxBody(maxBody)
    , m_headRequest(headRequest)
{
}

QByteArray HttpResponseReader::header(const QByteArray &name) const
{
    const QByteArray wanted = name.toLower();
    for (const auto &h : m_headers) {
        if (h.first.toLower() == wanted)
            return h.second;
    }
    return QByteArray();
}

QByteArray HttpResponseReader::takeBody()
{
    QByteArray out;
    out.swap(m_body);
    return out;
}

qint64 HttpResponseReader::feed(const char *data, qint64 len)
{
    qint64 used = 0;
    while (used < len && (m_state == State::Head || m_state == State::Body)) {
        if (m_state == State::Body) {
            used += feedBody(data + used, len - used);
            continue;
        }
        const char c = data[used++];
        m_line.append(c);
        if (m_line.size() > MaxHeadBytes) {
            fail(State::TooLarge);
            break;
        }
        if (c == '\n' && (m_line.endsWith("\n\n") || m_line.endsWith("\n\r\n"))) {
            if (!parseHead())
                fail(State::Malformed);
            else if (m_state == State::Head)
                m_line.clear();   // an interim answer: the real one follows
        }
    }
    return used;
}

void HttpResponseReader::finishAtEof()
{
    if (m_state == State::Body && m_framing == Framing::UntilClose)
        m_state = State::Done;
    else if (m_state == State::Head || m_state == State::Body)
        fail(State::Malformed);
}

bool HttpResponseReader::parseHead()
{
    QList<QByteArray> lines = m_line.split('\n');
    for (QByteArray &l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    const QByteArray &first = lines.value(0);
    // "HTTP/1.1 200 OK": the reason may be empty or hold blanks.
    if (!first.startsWith("HTTP/1.") || first.size() < 12 || first.at(8) != ' '
        || (first.size() > 12 && first.at(12) != ' '))
        return false;
    qint64 status = 0;
    if (!decimal(first.mid(9, 3), &status) || status < 100 || status > 599)
        return false;
    QList<QPair<QByteArray, QByteArray>> headers;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray &l = lines.at(i);
        if (l.isEmpty())
            continue;   // the blank line that ends the head
        const int colon = l.indexOf(':');
        // A folded line or a name with blanks is where smuggling starts.
        if (colon <= 0 || l.at(0) == ' ' || l.at(0) == '\t' || l.left(colon).contains(' ')
            || l.left(colon).contains('\t'))
            return false;
        headers.append(qMakePair(l.left(colon), l.mid(colon + 1).trimmed()));
    }
    if (status < 200) {
        // 101 would switch protocols nobody asked for.
        if (status == 101 || ++m_interim > MaxInterimResponses)
            return false;
        return true;   // still State::Head
    }
    m_status = int(status);
    m_reason = first.mid(13);
    m_headers = headers;
    m_line.clear();
    return startBody();
}

bool HttpResponseReader::startBody()
{
    m_state = State::Body;
    if (m_headRequest || m_status == 204 || m_status == 304) {
        m_framing = Framing::None;
        m_state = State::Done;
        return true;
    }
    QByteArray codings;
    QList<QByteArray> lengths;
    for (const auto &h : qAsConst(m_headers)) {
        const QByteArray name = h.first.toLower();
        if (name == "transfer-encoding")
            codings += (codings.isEmpty() ? "" : ",") + h.second;
        else if (name == "content-length")
            lengths += h.second.trimmed();
    }
    if (!codings.isEmpty()) {
        // The length is what the last coding says; only chunked has one.
        m_framing = lowered(codings.split(',').constLast()) == "chunked" ? Framing::Chunked : Framing::UntilClose;
        m_chunkStep = ChunkStep::Size;
        return true;
    }
    if (lengths.isEmpty()) {
        m_framing = Framing::UntilClose;
        return true;
    }
    qint64 length = 0;
    for (const QByteArray &l : qAsConst(lengths)) {
        qint64 v = 0;
        if (!decimal(l, &v) || (l != lengths.constFirst()))
            return false;
        length = v;
    }
    if (length > m_maxBody) {
        m_state = State::TooLarge;
        return true;
    }
    m_framing = Framing::Length;
    m_remaining = length;
    if (length == 0)
        m_state = State::Done;
    return true;
}

qint64 HttpResponseReader::feedBody(const char *data, qint64 len)
{
    switch (m_framing) {
    case Framing::Length: {
        const qint64 take = qMin(len, m_remaining);
        if (!appendBody(data, take))
            return len;
        m_remaining -= take;
        if (m_remaining == 0)
            m_state = State::Done;
        return take;
    }
    case Framing::UntilClose:
        appendBody(data, len);
        return len;
    case Framing::Chunked:
        return feedChunked(data, len);
    case Framing::None:
        break;
    }
    m_state = State::Done;
    return 0;
}

qint64 HttpResponseReader::feedChunked(const char *data, qint64 len)
{
    if (m_chunkStep == ChunkStep::Data) {
        const qint64 take = qMin(len, m_remaining);
        if (!appendBody(data, take))
            return len;
        m_remaining -= take;
        if (m_remaining == 0)
            m_chunkStep = ChunkStep::DataEnd;
        return take;
    }
    // A line: the chunk size, the CRLF after the data, or a trailer.
    qint64 used = 0;
    while (used < len) {
        const char c = data[used++];
        m_line.append(c);
        if (m_line.size() > (m_chunkStep == ChunkStep::Trailer ? MaxHeadBytes : MaxChunkLine)) {
            fail(State::Malformed);
            return used;
        }
        if (c == '\n')
            break;
    }
    if (!m_line.endsWith('\n'))
        return used;
    QByteArray line = m_line;
    line.chop(line.endsWith("\r\n") ? 2 : 1);
    switch (m_chunkStep) {
    case ChunkStep::Size: {
        const int extension = line.indexOf(';');
        const QByteArray hex = (extension < 0 ? line : line.left(extension)).trimmed();
        bool ok = !hex.isEmpty() && hex.size() <= 15;
        for (const char c : hex)
            ok = ok && ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
        if (!ok) {
            fail(State::Malformed);
            break;
        }
        const qint64 size = hex.toLongLong(nullptr, 16);
        if (size == 0) {
            m_chunkStep = ChunkStep::Trailer;
            m_remaining = 0;   // trailer bytes so far
        } else if (m_body.size() + size > m_maxBody) {
            // Refused on its announced size, before any of it is held.
            fail(State::TooLarge);
        } else {
            m_remaining = size;
            m_chunkStep = ChunkStep::Data;
        }
        break;
    }
    case ChunkStep::DataEnd:
        if (!line.isEmpty())
            fail(State::Malformed);
        m_chunkStep = ChunkStep::Size;
        break;
    case ChunkStep::Trailer:
        m_remaining += m_line.size();
        if (line.isEmpty())
            m_state = State::Done;
        else if (m_remaining > MaxHeadBytes)
            fail(State::Malformed);
        break;
    case ChunkStep::Data:
        break;
    }
    m_line.clear();
    return used;
}

bool HttpResponseReader::appendBody(const char *data, qint64 len)
{
    if (m_body.size() + len > m_maxBody) {
        fail(State::TooLarge);
        return false;
    }
    m_body.append(data, int(len));
    return true;
}
