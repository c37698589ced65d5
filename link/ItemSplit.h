// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// Frames and items are split in place, as references into the text. The
// separators are counted first so the list is allocated once: QString's own
// split grows its list (and copies every piece) as it goes, which for a
// stream of short replies cost more than decoding them.
#include <QStringRef>
#include <QVector>

namespace vxlink {

// text[from, from + length), or to the end for a negative length. Built
// directly: QStringRef::mid treats an empty piece as impossible.
inline QStringRef piece(const QStringRef &text, int from, int length = -1)
{
    if (length < 0)
        length = text.size() - from;
    return QStringRef(text.string(), text.position() + from, length);
}

// Same pieces as QString::split(sep, Qt::KeepEmptyParts), empty ones included.
inline QVector<QStringRef> splitItems(const QStringRef &text, QChar sep)
{
    const QChar *begin = text.unicode();
    const int size = text.size();
    int count = 1;
    for (int i = 0; i < size; ++i)
        count += begin[i] == sep;
    QVector<QStringRef> items;
    items.reserve(count);
    int start = 0;
    for (int i = 0; i < size; ++i) {
        if (begin[i] == sep) {
            items.append(piece(text, start, i - start));
            start = i + 1;
        }
    }
    items.append(piece(text, start));
    return items;
}

inline QVector<QStringRef> splitItems(const QString &text, QChar sep)
{
    return splitItems(QStringRef(&text), sep);
}

} // namespace vxlink
