// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>

// Machine side of the byte stream: bytes in, frames out. A frame ends at the
// first ETX and starts at the last STX before it; bytes outside are dropped.
// Each byte is looked at once, whatever the chunking, and the unfinished
// tail is bounded: a tail that outgrows the limit is discarded (the rest of
// that frame then has no STX and is dropped at its ETX).
class SimFrameReader
{
public:
    // Room for a 64 MiB plot job with its header.
    static constexpr qsizetype DefaultLimit = qsizetype(96) << 20;

    struct Frame
    {
        QByteArray kind;
        QByteArray body;
        bool lengthOk = false; // length field equals the frame size
    };

    explicit SimFrameReader(qsizetype limit = DefaultLimit) : m_limit(limit) {}

    void append(const QByteArray &chunk);
    bool next(Frame &frame);
    qsizetype pending() const { return m_buffer.size() - m_start; }
    qint64 discarded() const { return m_discarded; }
    void clear();

    // The whole frame around kind ';' body; the length counts its own digits.
    static QByteArray build(const QByteArray &kind, const QByteArray &body);
    // Splits STX L ';' kind ';' body ETX; false when the layout is wrong.
    static bool split(const QByteArray &frame, Frame &out);
    static bool split(const char *data, qsizetype size, Frame &out);

private:
    QByteArray m_buffer;
    qsizetype m_start = 0;   // first byte not yet consumed
    qsizetype m_scan = 0;    // first byte not yet looked at
    qsizetype m_lastStx = -1;
    qsizetype m_limit;
    qint64 m_discarded = 0;
};
