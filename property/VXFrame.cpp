// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXFrame.h"

#include <cstring>

namespace {
int digits(qint64 n)
{
    int d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}
} // namespace

qint64 VXFrame::length(qint64 payloadSize)
{
    // Two rounds settle a length that counts its own digits: 95 payload
    // bytes give 98 -> 100 -> 101.
    const qint64 l0 = payloadSize + 3;
    const qint64 l1 = payloadSize + 3 + digits(l0);
    return payloadSize + 3 + digits(l1);
}

QByteArray VXFrame::build(const QByteArray &kind, const QByteArray &body)
{
    const qint64 payload = kind.size() + 1 + body.size();
    const QByteArray len = QByteArray::number(length(payload));
    QByteArray frame(int(1 + len.size() + 1 + payload + 1), Qt::Uninitialized);
    char *out = frame.data();
    *out++ = STX;
    std::memcpy(out, len.constData(), size_t(len.size()));
    out += len.size();
    *out++ = ';';
    std::memcpy(out, kind.constData(), size_t(kind.size()));
    out += kind.size();
    *out++ = ';';
    if (!body.isEmpty())
        std::memcpy(out, body.constData(), size_t(body.size()));
    out += body.size();
    *out = ETX;
    return frame;
}
