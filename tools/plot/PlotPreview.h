// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QColor>
#include <QImage>
#include <QSize>

// One picture of a document for previews and views: the design fitted into
// the image with a small border, y up. Paths are coloured along a ramp by
// their index (blue first, red last) so the cut order shows; travel moves
// can be drawn dashed. Qt Gui only (QImage and QPainter, no widgets).
namespace PlotPreview {

struct Style {
    bool orderRamp = true;   // false: all paths in `ink`
    bool travel = false;     // pen-up moves, dashed grey
    QColor ink = Qt::black;
    QColor background = Qt::white;
    int border = 4;          // pixels
};

QImage render(const PlotDocument &doc, const QSize &size, const Style &style = Style());

} // namespace PlotPreview
