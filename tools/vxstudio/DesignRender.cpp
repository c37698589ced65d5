// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignRender.h"

#include <QPainter>
#include <QPolygonF>

#include <cmath>

QRectF DesignFrame::placeOf(const DesignFrame &from) const
{
    const double k = scale / from.scale;
    const QPointF shift((from.centre.x() - centre.x()) * scale, -(from.centre.y() - centre.y()) * scale);
    const QSizeF sized(from.size.width() * k, from.size.height() * k);
    const QPointF corner(size.width() / 2 - sized.width() / 2, size.height() / 2 - sized.height() / 2);
    return QRectF(corner + shift, sized);
}

namespace DesignRender {

QColor ramp(int i, int n)
{
    return QColor::fromHsvF(0.66 * (1.0 - (n > 1 ? double(i) / (n - 1) : 0.0)), 0.9, 0.85);
}

QColor tool2()
{
    return QColor(190, 0, 190);
}

QColor travel()
{
    return QColor(150, 150, 150);
}

namespace {

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// A path as pixels, dropping points within a pixel of the last kept one;
// the last point always stays so closed contours close.
void decimate(const PlotDocument &design, int i, const DesignFrame &frame, QPolygonF &out)
{
    out.clear();
    const QPointF *pt = design.points(i);
    const std::uint32_t n = design.path(i).count;
    QPointF last = frame.toPixel(pt[0]);
    out.append(last);
    for (std::uint32_t k = 1; k < n; ++k) {
        const QPointF p = frame.toPixel(pt[k]);
        if (k + 1 < n && std::abs(p.x() - last.x()) < 0.7 && std::abs(p.y() - last.y()) < 0.7)
            continue;
        out.append(p);
        last = p;
    }
}

void drawTravel(QPainter &p, const PlotDocument &design, const DesignFrame &frame, const std::atomic<bool> *cancel)
{
    QPen pen(travel(), 1, Qt::DashLine);
    pen.setCosmetic(true);
    p.setPen(pen);
    const QVector<QLineF> moves = design.travelMoves(design.boundingBox().topLeft());
    for (int i = 0; i < moves.size(); ++i) {
        if ((i & 1023) == 0 && cancelled(cancel))
            return;
        const QLineF &m = moves.at(i);
        p.drawLine(frame.toPixel(m.p1()), frame.toPixel(m.p2()));
    }
}

} // namespace

QImage draw(const PlotDocument &design, const DesignFrame &frame, const std::atomic<bool> *cancel)
{
    const QSize pixels = (frame.size * frame.ratio).toSize();
    if (pixels.isEmpty())
        return QImage();
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(frame.ratio);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawTravel(p, design, frame, cancel);
    // The ramp counts tool 1's paths only: tool 2's in between would bend
    // it, and tool 2 is one colour so its paths read as one set.
    const int n = design.pathCount();
    int cuts = 0;
    for (int i = 0; i < n; ++i)
        cuts += design.toolOf(i) == 1;
    QPen crease(tool2(), 1.5, Qt::DashLine);
    crease.setCosmetic(true);
    QPolygonF poly;
    for (int i = 0, rank = 0; i < n; ++i) {
        if ((i & 255) == 0 && cancelled(cancel))
            return QImage();
        if (design.toolOf(i) == 1) {
            QPen pen(ramp(rank++, cuts), 1);
            pen.setCosmetic(true);
            p.setPen(pen);
        } else {
            p.setPen(crease);
        }
        decimate(design, i, frame, poly);
        p.drawPolyline(poly);
    }
    p.end();
    return cancelled(cancel) ? QImage() : image;
}

} // namespace DesignRender
