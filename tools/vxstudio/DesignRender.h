// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

#include <atomic>

// Where the design view looks: millimetres (y up) to pixels (y down), the
// centre of the view on `centre` at `scale` pixels per millimetre.
struct DesignFrame
{
    QSizeF size;          // logical pixels
    double scale = 1;     // pixels per millimetre
    QPointF centre;       // millimetres
    qreal ratio = 1;      // device pixels per logical pixel

    QPointF toPixel(const QPointF &mm) const
    {
        return QPointF(size.width() / 2 + (mm.x() - centre.x()) * scale,
                       size.height() / 2 - (mm.y() - centre.y()) * scale);
    }
    QPointF toMm(const QPointF &px) const
    {
        return QPointF(centre.x() + (px.x() - size.width() / 2) / scale,
                       centre.y() - (px.y() - size.height() / 2) / scale);
    }
    // Where an image drawn for `from` lies in this frame.
    QRectF placeOf(const DesignFrame &from) const;
};

// The paths and the pen-up moves as pixels, on a transparent image, made
// off the window's thread: a design of millions of points takes seconds to
// stroke, and no paint may wait for that. Points closer than a pixel to the
// last one drawn are skipped, so a zoomed-out view of a dense design costs
// what its pixels cost, not what its points do.
namespace DesignRender {

// Tool 1's order ramp: blue for the first path, red for the last (as the
// machine's preview is coloured).
QColor ramp(int i, int n);
// Magenta, the one hue the ramp never takes.
QColor tool2();
QColor travel();

// A null image when cancelled.
QImage draw(const PlotDocument &design, const DesignFrame &frame, const std::atomic<bool> *cancel = nullptr);

} // namespace DesignRender
