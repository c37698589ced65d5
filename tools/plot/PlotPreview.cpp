// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotPreview.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace PlotPreview {

QImage render(const PlotDocument &doc, const QSize &size, const Style &style)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(style.background);
    const QRectF box = doc.boundingBox();
    if (doc.isEmpty() || size.isEmpty())
        return image;
    const double w = std::max(box.width(), 1e-6), h = std::max(box.height(), 1e-6);
    const double scale = std::min((size.width() - 2.0 * style.border) / w, (size.height() - 2.0 * style.border) / h);
    if (!(scale > 0))
        return image;
    // Centred, y flipped so the design reads as on the machine.
    const double ox = (size.width() - w * scale) / 2, oy = (size.height() + h * scale) / 2;
    const auto map = [&](const QPointF &p) {
        return QPointF(ox + (p.x() - box.left()) * scale, oy - (p.y() - box.top()) * scale);
    };
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    if (style.travel) {
        QPen pen(QColor(150, 150, 150), 1, Qt::DashLine);
        pen.setCosmetic(true);
        painter.setPen(pen);
        for (const QLineF &move : doc.travelMoves(box.topLeft()))
            painter.drawLine(map(move.p1()), map(move.p2()));
    }
    const int n = doc.pathCount();
    QPolygonF poly;
    for (int i = 0; i < n; ++i) {
        QColor colour = style.ink;
        if (style.orderRamp)
            colour = QColor::fromHsvF(0.66 * (1.0 - (n > 1 ? double(i) / (n - 1) : 0.0)), 0.9, 0.85);
        QPen pen(colour, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        poly.clear();
        const QPointF *p = doc.points(i);
        for (std::uint32_t k = 0; k < doc.path(i).count; ++k)
            poly.append(map(p[k]));
        painter.drawPolyline(poly);
    }
    return image;
}

} // namespace PlotPreview
