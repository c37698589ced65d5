// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotPlacement.h"

#include <algorithm>
#include <limits>

double PlotPlacement::factorFor(double width, double height) const
{
    // Rotation by 90 or 270 swaps which side the targets measure.
    const bool swapped = rotation == 90 || rotation == 270;
    const double w = swapped ? height : width, h = swapped ? width : height;
    double f = std::numeric_limits<double>::infinity();
    if (targetWidth > 0 && w > 0)
        f = std::min(f, targetWidth / w);
    if (targetHeight > 0 && h > 0)
        f = std::min(f, targetHeight / h);
    return f == std::numeric_limits<double>::infinity() ? scalePercent / 100 : f;
}

void PlotPlacement::shape(PlotDocument &doc) const
{
    const QRectF box = doc.boundingBox();
    const double f = factorFor(box.width(), box.height());
    const int r = ((rotation % 360) + 360) % 360;
    const double m = mirror ? -1 : 1;
    doc.transform([=](const QPointF &p) {
        const double x = p.x() * f, y = p.y() * f;
        QPointF q;
        switch (r) {
        case 90: q = QPointF(-y, x); break;
        case 180: q = QPointF(-x, -y); break;
        case 270: q = QPointF(y, -x); break;
        default: q = QPointF(x, y); break;
        }
        return QPointF(q.x() * m, q.y());
    });
}

void PlotPlacement::moveToOrigin(PlotDocument &doc) const
{
    if (doc.isEmpty())
        return;
    const QRectF box = doc.boundingBox();
    const QPointF shift = QPointF(margin, margin) - box.topLeft();
    doc.transform([=](const QPointF &p) { return p + shift; });
}
