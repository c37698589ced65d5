// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QByteArray>

/// The receive stream: bytes in, whole frames (STX .. ETX) out. A candidate
/// ends at the first ETX; the frame starts at the last STX before it; bytes
/// before that STX and candidates without STX are dropped. The unfinished tail
/// is bounded so a peer that never sends ETX cannot exhaust memory: past the
/// limit it keeps only what follows its last STX (which the cut would keep
/// anyway), or nothing when even that is over the limit. Frames are cut at an
/// offset and the buffer compacted once per arrival, so cost stays linear.
class VXDEVICE_EXPORT FrameCutter
{
public:
    static constexpr qsizetype DefaultLimit = 1 << 20;

    explicit FrameCutter(qsizetype limit = DefaultLimit);

    void append(const QByteArray &chunk);
    // Next complete frame, STX and ETX included; false when none is left.
    bool next(QByteArray &frame);
    // Bytes kept for the next arrival.
    qsizetype pending() const;
    qsizetype limit() const { return m_limit; }
    // Bytes reserved by the buffer, for checking that memory stays bounded.
    qsizetype footprint() const { return m_buffer.capacity(); }
    void clear();

private:
    void compact();

    QByteArray m_buffer;
    qsizetype m_offset = 0;
    qsizetype m_limit;
    // Tail = bytes after the last ETX; m_tailStx is its last STX or -1. Both
    // are kept current per arrival so no call rescans old bytes.
    qsizetype m_tailStart = 0;
    qsizetype m_tailStx = -1;
};
