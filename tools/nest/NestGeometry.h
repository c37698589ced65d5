// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestPart.h"

#include <QPointF>

#include <clipper.hpp>

#include <cmath>

// The geometry of placing, on Clipper's integer grid: 10 000 units per mm,
// so turning by any angle and offsetting round far below the plotter's
// 25 µm step, and a strip 100 m long still fits Clipper's fast 62-bit range.
//
// Exact fits (a part as wide as the strip, pieces of a cut rectangle) leave
// feasible positions of zero area, which a polygon difference drops. Every
// part's occupied shape is therefore shrunk by Slack (1 µm) and the strip
// grown by it: parts may come that much closer than the gap asked, nothing
// a knife can show.
namespace nestgeo {

namespace cl = ClipperLib;

constexpr double UnitsPerMm = 10000;
constexpr cl::cInt Slack = 10;

inline cl::cInt units(double mm) { return cl::cInt(std::llround(mm * UnitsPerMm)); }
inline double mm(cl::cInt units) { return double(units) / UnitsPerMm; }

struct Box
{
    cl::cInt x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    cl::cInt width() const { return x1 - x0; }
    cl::cInt height() const { return y1 - y0; }
    bool overlaps(const Box &o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};
Box boxOf(const cl::Paths &paths);

// The map from a part's own coordinates (mm) into one orientation: mirror
// left to right, turn counter-clockwise, then move the outline's box to
// the origin. A placed part is this plus its position.
struct Pose
{
    double cosA = 1, sinA = 0, flip = 1;
    QPointF shift;

    QPointF map(const QPointF &p) const
    {
        const double x = p.x() * flip, y = p.y();
        return QPointF(cosA * x - sinA * y, sinA * x + cosA * y) - shift;
    }
};

// One part in one orientation, as the placer sees it.
struct Shape
{
    Pose pose;
    cl::Paths solid;  // what it occupies, grown by half the gap (less Slack); counter-clockwise
    cl::Paths holes;  // where another part may lie, shrunk by the same; counter-clockwise
    Box box;          // the outline itself: lower-left at the origin, so a position is this box's corner
    Box grown;        // box of solid
    double area = 0;  // of solid less holes, units²
};

Shape makeShape(const NestPart &part, const Orientation &orientation, double gapMm);

// Positions of moving's origin at which it would overlap fixed (fixed at the
// origin): the Minkowski sum of fixed and the reflected moving, less what
// fixed's holes leave free for it. Holes are only offered to a part of one
// outline whose box is smaller than the hole's: a part larger than a hole can
// only surround it, and that position is an overlap, not a fit.
cl::Paths noFit(const Shape &fixed, const Shape &moving);

} // namespace nestgeo
