// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QByteArray>
#include <QString>

/// The send side of a long frame: the frame around a text body, made a piece
/// at a time. The pieces joined are VXFrame::build(kind, body.toLocal8Bit())
/// byte for byte, yet no 8-bit copy of the whole body exists: a plot of
/// 50 MB would otherwise sit in memory as the text, its 8-bit copy and the
/// frame at once. The body is shared with the caller, not copied.
///
/// Pieces end after an ASCII character, so neither a surrogate pair nor a
/// multi-byte character of the local code page straddles two of them.
class VXDEVICE_EXPORT FrameStream
{
public:
    static constexpr int DefaultPiece = 1 << 18;   // characters of the body

    FrameStream() = default;
    FrameStream(const QByteArray &kind, const QString &body, int piece = DefaultPiece);

    bool atEnd() const { return m_done; }
    /// The next piece: the header comes with the first body piece, ETX with
    /// the last. Past the end, empty; the body is released with the last piece.
    QByteArray next();
    /// The whole frame's size in bytes (its length field).
    qint64 size() const { return m_size; }

private:
    int pieceEnd(int from) const;

    QByteArray m_head;
    QString m_body;
    int m_at = 0;
    int m_piece = DefaultPiece;
    qint64 m_size = 0;
    bool m_done = true;
};
