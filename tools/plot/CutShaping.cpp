// SPDX-License-Identifier: LGPL-2.1-or-later
#include "CutShaping.h"

#include "ArcFlattening.h"

#include <cmath>
#include <vector>

namespace shaping {

void addWeedBorder(PlotDocument &doc, double d)
{
    if (d <= 0 || doc.isEmpty())
        return;
    const QRectF b = doc.boundingBox().adjusted(-d, -d, d, d);
    const QPointF corners[] = {b.topLeft(), b.topRight(), b.bottomRight(), b.bottomLeft(), b.topLeft()};
    // The border frees the design from the sheet: it cuts through, so it
    // goes to tool 1 whatever the design's last path was.
    doc.setSource(PathSource());
    doc.setCurrentTool(1);
    doc.addPath(corners, 5);
}

void addOvercut(PlotDocument &doc, double length)
{
    if (length <= 0)
        return;
    PlotDocument out;
    out.adoptSources(doc);
    out.reserve(std::size_t(doc.pathCount()), doc.pointCount() + std::size_t(doc.pathCount()) * 2);
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        const int n = int(doc.path(i).count);
        out.carry(doc, i);
        out.beginPath(p[0]);
        for (int k = 1; k < n; ++k)
            out.lineTo(p[k]);
        if (doc.path(i).closed) {
            // Around again from the start, at most once round.
            const double perimeter = doc.pathLength(i);
            double left = std::min(length, perimeter);
            for (int k = 1; left > 1e-12; k = k % (n - 1) + 1) {
                const QPointF a = p[k - 1], b = p[k];
                const double seg = std::hypot(b.x() - a.x(), b.y() - a.y());
                if (seg >= left) {
                    out.lineTo(a + (b - a) * (left / seg));
                    break;
                }
                out.lineTo(b);
                left -= seg;
            }
        }
        out.endPath();
    }
    doc = std::move(out);
}

void repeat(PlotDocument &doc, int passes)
{
    if (passes <= 1)
        return;
    PlotDocument out;
    out.adoptSources(doc);
    out.reserve(std::size_t(doc.pathCount()) * std::size_t(passes), doc.pointCount() * std::size_t(passes));
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        const int n = int(doc.path(i).count);
        out.carry(doc, i);
        for (int k = 0; k < passes; ++k) {
            // An open path goes back and forth, so passes after the first
            // need no pen-up travel.
            const bool back = !doc.path(i).closed && k % 2 == 1;
            out.beginPath(back ? p[n - 1] : p[0]);
            for (int j = 1; j < n; ++j)
                out.lineTo(back ? p[n - 1 - j] : p[j]);
            out.endPath();
        }
    }
    doc = std::move(out);
}

void compensateBlade(PlotDocument &doc, double offset, double minAngleDegrees, double tolerance)
{
    if (offset <= 0)
        return;
    const double threshold = minAngleDegrees * M_PI / 180;
    PlotDocument out;
    out.adoptSources(doc);
    out.reserve(std::size_t(doc.pathCount()), doc.pointCount() * 4);
    std::vector<QPointF> dirs;
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        out.carry(doc, i);
        const int n = int(doc.path(i).count);
        const bool closed = doc.path(i).closed;
        dirs.resize(std::size_t(n - 1));
        for (int k = 0; k + 1 < n; ++k) {
            const QPointF d = p[k + 1] - p[k];
            const double len = std::hypot(d.x(), d.y());
            dirs[std::size_t(k)] = len > 0 ? d / len : QPointF(1, 0);
        }
        const auto swing = [&](const QPointF &corner, const QPointF &from, const QPointF &to) {
            const double a0 = std::atan2(from.y(), from.x());
            double sweep = std::atan2(to.y(), to.x()) - a0;
            while (sweep > M_PI)
                sweep -= 2 * M_PI;
            while (sweep < -M_PI)
                sweep += 2 * M_PI;
            if (std::abs(sweep) < threshold) {
                out.lineTo(corner + to * offset);
                return;
            }
            arcs::flatten(corner, offset, a0, sweep, tolerance, [&](const QPointF &q) { out.lineTo(q); });
        };
        out.beginPath(p[0] + dirs[0] * offset);
        for (int k = 1; k < n; ++k) {
            out.lineTo(p[k] + dirs[std::size_t(k - 1)] * offset);
            if (k + 1 < n)
                swing(p[k], dirs[std::size_t(k - 1)], dirs[std::size_t(k)]);
        }
        if (closed)
            swing(p[0], dirs.back(), dirs.front());
        out.endPath();
    }
    doc = std::move(out);
}

} // namespace shaping
