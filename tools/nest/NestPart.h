// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Orientations.h"
#include "PlotDocument.h"

#include <QPolygonF>
#include <QString>
#include <QVector>

#include <vector>

// One part to nest: the paths of a design that leave the material together.
// What it occupies is its outer contours filled, less its holes; open lines
// outside every contour occupy their own track. Everything inside an outer
// contour (holes, counters, inner cuts, creases) moves with it.
//
// A hole is only free material when the knife cuts it out and nothing else
// is drawn in it: a closed crease (tool 2) or a contour with cuts inside is
// material another part must not cover, so those count as filled.
struct NestPart
{
    QString name;                // file name; "file #k" for the k-th outer contour with --split
    PlotDocument drawing;        // as read, in mm, the design's own coordinates
    QVector<QPolygonF> outers;   // closed contours no other contour holds
    QVector<QPolygonF> holes;    // free material inside the outers, as above
    QVector<QPolygonF> lines;    // open paths outside every contour
    double area = 0;             // mm²: outers less holes
    int quantity = 1;
    Orientations orientations;
};

namespace NestParts {

// The parts a design makes: all of it as one, or with split one per outer
// contour. False with why when the design has no paths, or when split finds
// lines outside every contour (they belong to no part).
bool fromDocument(const PlotDocument &doc, const QString &name, bool split, std::vector<NestPart> &out,
                  QString &why);

double polygonArea(const QPolygonF &polygon);

} // namespace NestParts
