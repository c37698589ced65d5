// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimFrameReader.h"

#include <cstring>

namespace {
constexpr char STX = 0x02;
constexpr char ETX = 0x03;

int digits(qint64 v)
{
    int d = 1;
    while (v >= 10) {
        v /= 10;
        ++d;
    }
    return d;
}
} // namespace

// Deliberately not the plugin's builder: the simulator checks the plugin's
// length rule against an independent implementation.
QByteArray SimFrameReader::build(const QByteArray &kind, const QByteArray &body)
{
    const qint64 c = kind.size() + 1 + body.size();
    qint64 l = c + 3;
    l = c + 3 + digits(l);
    l = c + 3 + digits(l);
    const QByteArray len = QByteArray::number(l);
    QByteArray frame;
    frame.reserve(int(l));
    frame += STX;
    frame += len;
    frame += ';';
    frame += kind;
    frame += ';';
    frame += body;
    frame += ETX;
    return frame;
}

bool SimFrameReader::split(const QByteArray &frame, Frame &out)
{
    return split(frame.constData(), frame.size(), out);
}

bool SimFrameReader::split(const char *p, qsizetype n, Frame &out)
{
    if (n < 4 || p[0] != STX || p[n - 1] != ETX)
        return false;
    const char *end = p + n - 1;
    const char *sep = static_cast<const char *>(std::memchr(p + 1, ';', size_t(end - p - 1)));
    if (!sep)
        return false;
    const char *kindEnd = static_cast<const char *>(std::memchr(sep + 1, ';', size_t(end - sep - 1)));
    if (!kindEnd)
        return false;
    bool ok = false;
    const qint64 declared = QByteArray::fromRawData(p + 1, int(sep - p - 1)).toLongLong(&ok);
    out.lengthOk = ok && declared == n;
    out.kind = QByteArray(sep + 1, int(kindEnd - sep - 1));
    out.body = QByteArray(kindEnd + 1, int(end - kindEnd - 1));
    return true;
}

void SimFrameReader::clear()
{
    m_buffer.clear();
    m_start = m_scan = 0;
    m_lastStx = -1;
}

void SimFrameReader::append(const QByteArray &chunk)
{
    // Drop the consumed head once it dominates: each byte is moved at most
    // a constant number of times, so one-byte chunks stay linear.
    if (m_start > 0 && m_start >= (m_buffer.size() >> 1)) {
        m_buffer.remove(0, int(m_start));
        m_scan -= m_start;
        if (m_lastStx >= 0)
            m_lastStx -= m_start;
        m_start = 0;
    }
    if (pending() + chunk.size() > m_limit) {
        m_discarded += pending() + chunk.size();
        clear();
        return;
    }
    m_buffer += chunk;
}

bool SimFrameReader::next(Frame &frame)
{
    const char *data = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    while (m_scan < size) {
        const char c = data[m_scan++];
        if (c == STX) {
            m_lastStx = m_scan - 1;
            continue;
        }
        if (c != ETX)
            continue;
        const qsizetype from = m_lastStx;
        m_discarded += (from < 0 ? m_scan : from) - m_start;
        m_start = m_scan;
        m_lastStx = -1;
        if (from < 0)
            continue;
        frame = Frame();
        if (split(data + from, m_scan - from, frame))
            return true;
        m_discarded += m_scan - from;
    }
    return false;
}
