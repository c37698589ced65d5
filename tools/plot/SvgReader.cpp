// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SvgReader.h"

#include "SvgTree.h"
#include "SvgWalk.h"

#include <zlib.h>

#include <cmath>

bool SvgReader::isGzip(const QByteArray &data)
{
    return data.size() >= 2 && quint8(data[0]) == 0x1f && quint8(data[1]) == 0x8b;
}

bool SvgReader::looksLikeSvg(const QByteArray &data)
{
    const QByteArray head = data.left(4096);
    return head.contains("<svg") || (head.contains("<?xml") && head.contains("svg"));
}

QByteArray SvgReader::gunzip(const QByteArray &data, QString *error, qint64 maxOutput)
{
    z_stream s{};
    if (inflateInit2(&s, 16 + MAX_WBITS) != Z_OK) {
        *error = tr("cannot start decompression");
        return {};
    }
    QByteArray out;
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    s.avail_in = uInt(data.size());
    char chunk[1 << 15];
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        s.next_out = reinterpret_cast<Bytef *>(chunk);
        s.avail_out = sizeof chunk;
        rc = inflate(&s, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            *error = tr("compressed data is corrupt at byte %1").arg(s.total_in);
            inflateEnd(&s);
            return {};
        }
        out.append(chunk, int(sizeof chunk - s.avail_out));
        if (out.size() > maxOutput) {
            *error = tr("expands beyond %1 MB").arg(maxOutput >> 20);
            inflateEnd(&s);
            return {};
        }
        if (rc == Z_OK && s.avail_in == 0 && s.avail_out != 0) {
            *error = tr("compressed data ends early");
            inflateEnd(&s);
            return {};
        }
    }
    inflateEnd(&s);
    return out;
}

bool SvgReader::read(const QByteArray &data, PlotDocument &doc)
{
    ReadBudget budget(data.size());
    return read(data, doc, budget);
}

bool SvgReader::read(const QByteArray &input, PlotDocument &doc, ReadBudget &budget)
{
    m_error.clear();
    m_skipped = 0;
    m_kinds.clear();
    QByteArray data = input;
    if (isGzip(input)) {
        data = gunzip(input, &m_error);
        if (data.isEmpty())
            return false;
    }
    SvgTree tree;
    if (!tree.parse(data, budget)) {
        m_error = tree.error();
        return false;
    }
    // The page: its size in mm and the map from root user units onto it.
    const SvgNode &root = tree.node(tree.root());
    const QString viewBox = root.attr.value(QStringLiteral("viewBox"));
    bool ok = false;
    const QVector<double> vb = svg::numbers(viewBox, &ok);
    const bool hasBox = ok && vb.size() == 4 && vb[2] > 0 && vb[3] > 0;
    const svg::Viewport boxPx{hasBox ? vb[2] : 0, hasBox ? vb[3] : 0};
    double w = -1, h = -1;
    const QString width = root.attr.value(QStringLiteral("width")), height = root.attr.value(QStringLiteral("height"));
    if (!width.isEmpty() && !svg::length(width, svg::Axis::X, boxPx, 16, &w))
        w = -1;
    if (!height.isEmpty() && !svg::length(height, svg::Axis::Y, boxPx, 16, &h))
        h = -1;
    if (!hasBox && !(w > 0 && h > 0)) {
        m_error = tr("the document has no usable size (width, height or viewBox)");
        return false;
    }
    if (!(w > 0))
        w = h > 0 ? h * boxPx.width / boxPx.height : boxPx.width;
    if (!(h > 0))
        h = w * boxPx.height / boxPx.width;
    QTransform fit;
    QRectF box(0, 0, w, h);
    if (!svg::viewBoxTransform(hasBox ? viewBox : QString(), root.attr.value(QStringLiteral("preserveAspectRatio")), w, h,
                               &fit, &box)) {
        m_error = tr("<svg> at line %1: preserveAspectRatio is not readable").arg(root.line);
        return false;
    }
    const double mmPerPx = 25.4 / 96;
    if (!(w * mmPerPx < 1e6 && h * mmPerPx < 1e6)) {
        m_error = tr("the document has no usable size");
        return false;
    }
    SvgWalk walk(tree, doc, budget);
    ok = walk.run(fit * QTransform::fromScale(mmPerPx, mmPerPx), svg::Viewport{box.width(), box.height()}, h * mmPerPx);
    if (doc.building())
        doc.endPath();
    m_skipped = walk.skipped();
    m_kinds = walk.skippedKinds();
    m_error = walk.error();
    return ok;
}
