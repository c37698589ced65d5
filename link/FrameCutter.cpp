// SPDX-License-Identifier: LGPL-2.1-or-later
#include "FrameCutter.h"

#include "../property/VXFrame.h"

#include <cstring>

namespace {

const char *findLast(const char *begin, qsizetype size, char byte)
{
    for (const char *p = begin + size; p > begin;) {
        if (*--p == byte)
            return p;
    }
    return nullptr;
}

} // namespace

FrameCutter::FrameCutter(qsizetype limit)
    : m_limit(limit > 0 ? limit : 1)
{
}

void FrameCutter::append(const QByteArray &chunk)
{
    if (chunk.isEmpty())
        return;
    compact();

    const qsizetype base = m_buffer.size();
    m_buffer.append(chunk);
    const char *data = m_buffer.constData();
    const qsizetype size = m_buffer.size();

    qsizetype scanFrom = base;
    if (const char *etx = findLast(data + base, size - base, VXFrame::ETX)) {
        m_tailStart = etx - data + 1;
        m_tailStx = -1;
        scanFrom = m_tailStart;
    }
    if (const char *stx = findLast(data + scanFrom, size - scanFrom, VXFrame::STX))
        m_tailStx = stx - data;

    if (size - m_tailStart > m_limit) {
        // Bytes ahead of the tail's last STX would be dropped by the cut anyway,
        // so discarding them changes nothing; only a frame that is itself over
        // the limit is lost, and its remainder then has no STX and is dropped.
        if (m_tailStx >= 0 && size - m_tailStx <= m_limit) {
            m_buffer.remove(m_tailStart, m_tailStx - m_tailStart);
            m_tailStx = m_tailStart;
        } else {
            m_buffer.truncate(m_tailStart);
            m_tailStx = -1;
        }
    }
}

bool FrameCutter::next(QByteArray &frame)
{
    const char *data = m_buffer.constData();
    while (m_offset < m_tailStart) {
        const char *begin = data + m_offset;
        // An ETX is certain here: the byte before m_tailStart is one.
        const char *etx = static_cast<const char *>(std::memchr(begin, VXFrame::ETX, m_tailStart - m_offset));
        m_offset = etx - data + 1;
        if (const char *stx = findLast(begin, etx - begin, VXFrame::STX)) {
            // Into the caller's array: a loop that hands the same one back
            // reuses its storage instead of allocating per frame.
            const qsizetype size = etx - stx + 1;
            frame.resize(int(size));
            std::memcpy(frame.data(), stx, size_t(size));
            return true;
        }
    }
    compact();
    return false;
}

qsizetype FrameCutter::pending() const
{
    return m_buffer.size() - m_offset;
}

void FrameCutter::clear()
{
    m_buffer.clear();
    m_offset = 0;
    m_tailStart = 0;
    m_tailStx = -1;
}

void FrameCutter::compact()
{
    if (m_offset > 0) {
        m_buffer.remove(0, m_offset);
        m_tailStart -= m_offset;
        if (m_tailStx >= 0)
            m_tailStx -= m_offset;
        m_offset = 0;
    }
    // A single huge arrival leaves a huge allocation behind; give it back.
    if (m_buffer.capacity() > 2 * m_limit && m_buffer.capacity() > 2 * m_buffer.size())
        m_buffer.squeeze();
}
