// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QList>

// What the stand-in keeps of what it received: the newest entries, at most
// maxEntries of them and at most maxBytes of their payload, so a client that
// floods it cannot make it grow without end. The oldest go first; the newest
// is kept even alone over the byte bound, so the last exchange stays readable.
template <typename T>
class BoundedLog
{
public:
    BoundedLog(int maxEntries, qint64 maxBytes) : m_maxEntries(maxEntries), m_maxBytes(maxBytes) {}

    void setBounds(int maxEntries, qint64 maxBytes)
    {
        m_maxEntries = maxEntries;
        m_maxBytes = maxBytes;
        trim();
    }
    void append(const T &entry, qint64 bytes)
    {
        m_entries.append(Entry{entry, bytes});
        m_bytes += bytes;
        trim();
    }
    void clear()
    {
        m_entries.clear();
        m_bytes = 0;
    }
    QList<T> entries() const
    {
        QList<T> out;
        out.reserve(m_entries.size());
        for (const Entry &e : m_entries)
            out.append(e.value);
        return out;
    }
    int size() const { return m_entries.size(); }
    qint64 bytes() const { return m_bytes; }

private:
    struct Entry {
        T value;
        qint64 bytes;
    };
    void trim()
    {
        while (m_entries.size() > 1 && (m_entries.size() > m_maxEntries || m_bytes > m_maxBytes))
            m_bytes -= m_entries.takeFirst().bytes;
    }

    QList<Entry> m_entries;
    int m_maxEntries;
    qint64 m_maxBytes;
    qint64 m_bytes = 0;
};
