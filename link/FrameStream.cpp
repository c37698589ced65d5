// SPDX-License-Identifier: LGPL-2.1-or-later
#include "FrameStream.h"

#include "../property/VXFrame.h"

#include <QStringRef>

FrameStream::FrameStream(const QByteArray &kind, const QString &body, int piece)
    : m_body(body), m_piece(qMax(1, piece)), m_done(false)
{
    // The length field comes first, so the body's 8-bit size is counted in a
    // first pass, piece by piece, with the very cuts the second pass makes.
    qint64 bodyBytes = 0;
    for (int at = 0; at < m_body.size();) {
        const int end = pieceEnd(at);
        bodyBytes += m_body.midRef(at, end - at).toLocal8Bit().size();
        at = end;
    }
    m_size = VXFrame::length(kind.size() + 1 + bodyBytes);
    m_head = VXFrame::STX + QByteArray::number(m_size) + ';' + kind + ';';
}

int FrameStream::pieceEnd(int from) const
{
    const int size = m_body.size();
    if (size - from <= m_piece)
        return size;
    const int end = from + m_piece;
    for (int cut = end; cut > from; --cut) {
        if (m_body.at(cut - 1).unicode() < 0x80)
            return cut;
    }
    for (int cut = end + 1; cut < size; ++cut) {
        if (m_body.at(cut - 1).unicode() < 0x80)
            return cut;
    }
    return size;
}

QByteArray FrameStream::next()
{
    if (m_done)
        return QByteArray();
    QByteArray out;
    out.swap(m_head);
    if (m_at < m_body.size()) {
        const int end = pieceEnd(m_at);
        out += m_body.midRef(m_at, end - m_at).toLocal8Bit();
        m_at = end;
    }
    if (m_at >= m_body.size()) {
        out += VXFrame::ETX;
        m_body = QString();
        m_done = true;
    }
    return out;
}
