// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nestgeo {

Box boxOf(const cl::Paths &paths)
{
    Box b{std::numeric_limits<cl::cInt>::max(), std::numeric_limits<cl::cInt>::max(),
          std::numeric_limits<cl::cInt>::min(), std::numeric_limits<cl::cInt>::min()};
    bool any = false;
    for (const cl::Path &path : paths) {
        for (const cl::IntPoint &p : path) {
            b.x0 = std::min(b.x0, p.X), b.y0 = std::min(b.y0, p.Y);
            b.x1 = std::max(b.x1, p.X), b.y1 = std::max(b.y1, p.Y);
            any = true;
        }
    }
    return any ? b : Box();
}

namespace {

cl::Path toPath(const QPolygonF &polygon, const Pose &pose, bool counterClockwise)
{
    cl::Path path;
    path.reserve(std::size_t(polygon.size()));
    for (const QPointF &p : polygon) {
        const QPointF q = pose.map(p);
        path.push_back(cl::IntPoint(units(q.x()), units(q.y())));
    }
    if (counterClockwise != cl::Orientation(path))
        cl::ReversePath(path);
    return path;
}

Pose poseFor(const NestPart &part, const Orientation &o)
{
    Pose pose;
    const double a = o.degrees * M_PI / 180;
    pose.cosA = std::cos(a), pose.sinA = std::sin(a), pose.flip = o.mirror ? -1 : 1;
    double x0 = std::numeric_limits<double>::max(), y0 = x0;
    for (const QVector<QPolygonF> *set : {&part.outers, &part.lines}) {
        for (const QPolygonF &polygon : *set) {
            for (const QPointF &p : polygon) {
                const QPointF q = pose.map(p);
                x0 = std::min(x0, q.x()), y0 = std::min(y0, q.y());
            }
        }
    }
    pose.shift = QPointF(x0, y0);
    return pose;
}

// A line is cut, not material, but a part laid over it would be cut
// through: it occupies a thin track.
constexpr double LineHalfWidthMm = 0.01;

} // namespace

Shape makeShape(const NestPart &part, const Orientation &orientation, double gapMm)
{
    Shape shape;
    shape.pose = poseFor(part, orientation);
    cl::Paths outers, lines, holes;
    for (const QPolygonF &p : part.outers)
        outers.push_back(toPath(p, shape.pose, true));
    for (const QPolygonF &p : part.holes)
        holes.push_back(toPath(p, shape.pose, true));
    cl::ClipperOffset track;
    for (const QPolygonF &p : part.lines)
        track.AddPath(toPath(p, shape.pose, true), cl::jtSquare, cl::etOpenSquare);
    track.Execute(lines, double(units(LineHalfWidthMm)));
    shape.box = boxOf(outers);
    if (!part.lines.isEmpty()) {
        // Measured on the lines themselves, not their track, so the box starts at the origin.
        cl::Paths raw;
        for (const QPolygonF &p : part.lines)
            raw.push_back(toPath(p, shape.pose, true));
        const Box b = boxOf(raw);
        shape.box = outers.empty() ? b : Box{std::min(shape.box.x0, b.x0), std::min(shape.box.y0, b.y0),
                                             std::max(shape.box.x1, b.x1), std::max(shape.box.y1, b.y1)};
    }

    cl::Clipper material;
    material.AddPaths(outers, cl::ptSubject, true);
    material.AddPaths(lines, cl::ptSubject, true);
    material.AddPaths(holes, cl::ptClip, true);
    cl::Paths occupied;
    material.Execute(cl::ctDifference, occupied, cl::pftNonZero, cl::pftNonZero);
    // Mitred corners reach past the round offset, never short of it, so the
    // gap holds at corners too with a handful of points instead of arcs.
    cl::ClipperOffset grow(2.0);
    grow.AddPaths(occupied, cl::jtMiter, cl::etClosedPolygon);
    cl::Paths grown;
    grow.Execute(grown, double(units(gapMm / 2) - Slack));
    cl::CleanPolygons(grown);
    for (cl::Path &p : grown) {
        if (p.size() < 3)
            continue;
        if (cl::Orientation(p)) {
            shape.solid.push_back(std::move(p));
        } else {
            cl::ReversePath(p);
            shape.holes.push_back(std::move(p));
        }
    }
    shape.grown = boxOf(shape.solid);
    for (const cl::Path &p : shape.solid)
        shape.area += cl::Area(p);
    for (const cl::Path &p : shape.holes)
        shape.area -= cl::Area(p);
    return shape;
}

cl::Paths noFit(const Shape &fixed, const Shape &moving)
{
    cl::Clipper c;
    cl::Paths sum;
    for (const cl::Path &m : moving.solid) {
        cl::Path reflected = m;
        for (cl::IntPoint &p : reflected)
            p = cl::IntPoint(-p.X, -p.Y);
        for (const cl::Path &f : fixed.solid) {
            cl::MinkowskiSum(reflected, f, sum, true);
            // The sum of two outlines is a ring; its inside is overlap too
            // (one part wholly within the other), so only the outer rims count.
            for (const cl::Path &p : sum) {
                if (cl::Orientation(p))
                    c.AddPath(p, cl::ptSubject, true);
            }
        }
        if (moving.solid.size() != 1)
            continue;
        for (const cl::Path &h : fixed.holes) {
            const Box hb = boxOf(cl::Paths{h});
            if (hb.width() <= moving.grown.width() || hb.height() <= moving.grown.height())
                continue;
            cl::MinkowskiSum(reflected, h, sum, true);
            // Here the ring's inside is the part lying wholly in the hole.
            for (cl::Path &p : sum) {
                if (!cl::Orientation(p)) {
                    cl::ReversePath(p);
                    c.AddPath(p, cl::ptClip, true);
                }
            }
        }
    }
    cl::Paths nfp;
    c.Execute(cl::ctDifference, nfp, cl::pftNonZero, cl::pftNonZero);
    return nfp;
}

} // namespace nestgeo
