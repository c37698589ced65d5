// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ContourNesting.h"

#include <algorithm>
#include <cmath>

namespace nesting {

bool contains(const QPointF *poly, int n, const QPointF &p)
{
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const QPointF &a = poly[i], &b = poly[j];
        if ((a.y() > p.y()) != (b.y() > p.y())
            && p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
            inside = !inside;
    }
    return inside;
}

namespace {

struct Box {
    double x0, y0, x1, y1;
    double area() const { return (x1 - x0) * (y1 - y0); }
    bool strictlyHolds(const Box &o) const
    {
        return x0 <= o.x0 && y0 <= o.y0 && x1 >= o.x1 && y1 >= o.y1 && area() > o.area();
    }
};

Box boxOf(const PlotDocument &doc, int i)
{
    const QPointF *p = doc.points(i);
    Box b{p[0].x(), p[0].y(), p[0].x(), p[0].y()};
    for (std::uint32_t k = 1; k < doc.path(i).count; ++k) {
        b.x0 = std::min(b.x0, p[k].x());
        b.x1 = std::max(b.x1, p[k].x());
        b.y0 = std::min(b.y0, p[k].y());
        b.y1 = std::max(b.y1, p[k].y());
    }
    return b;
}

constexpr int MaxCellsPerContour = 256;

} // namespace

std::vector<int> parents(const PlotDocument &doc)
{
    const int n = doc.pathCount();
    std::vector<int> parent(static_cast<std::size_t>(n), -1);
    std::vector<Box> boxes(static_cast<std::size_t>(n));
    std::vector<int> closed;
    for (int i = 0; i < n; ++i) {
        boxes[std::size_t(i)] = boxOf(doc, i);
        if (doc.path(i).closed)
            closed.push_back(i);
    }
    if (closed.empty())
        return parent;

    const QRectF all = doc.boundingBox();
    const int side = std::max(1, std::min(2048, int(std::sqrt(double(closed.size())))));
    const double cw = std::max(all.width() / side, 1e-9), ch = std::max(all.height() / side, 1e-9);
    // Clamped as doubles: casting an out-of-range quotient to int is undefined.
    const auto cellOf = [&](double c) { return c >= 0 ? (c < side - 1 ? int(c) : side - 1) : 0; };
    const auto cellX = [&](double x) { return cellOf((x - all.left()) / cw); };
    const auto cellY = [&](double y) { return cellOf((y - all.top()) / ch); };

    // Cells as counted buckets (two passes) rather than a vector per cell.
    std::vector<int> big;
    std::vector<std::uint32_t> start(std::size_t(side) * side + 1, 0);
    const auto forCells = [&](const Box &b, auto &&fn) {
        for (int y = cellY(b.y0); y <= cellY(b.y1); ++y)
            for (int x = cellX(b.x0); x <= cellX(b.x1); ++x)
                fn(std::size_t(y) * side + x);
    };
    const auto cellsOf = [&](const Box &b) {
        return qint64(cellX(b.x1) - cellX(b.x0) + 1) * (cellY(b.y1) - cellY(b.y0) + 1);
    };
    for (int c : closed) {
        const Box &b = boxes[std::size_t(c)];
        if (cellsOf(b) > MaxCellsPerContour)
            big.push_back(c);
        else
            forCells(b, [&](std::size_t cell) { ++start[cell + 1]; });
    }
    for (std::size_t i = 1; i < start.size(); ++i)
        start[i] += start[i - 1];
    std::vector<int> bucket(start.back());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (int c : closed) {
        const Box &b = boxes[std::size_t(c)];
        if (cellsOf(b) <= MaxCellsPerContour)
            forCells(b, [&](std::size_t cell) { bucket[fill[cell]++] = c; });
    }

    for (int i = 0; i < n; ++i) {
        const Box &b = boxes[std::size_t(i)];
        const QPointF *p = doc.points(i);
        const QPointF probe = (p[0] + p[1]) / 2;
        int best = -1;
        double bestArea = 0;
        const auto consider = [&](int c) {
            if (c == i)
                return;
            const Box &cb = boxes[std::size_t(c)];
            if (!cb.strictlyHolds(b) || (best >= 0 && cb.area() >= bestArea))
                return;
            if (!contains(doc.points(c), int(doc.path(c).count) - 1, probe))
                return;
            best = c;
            bestArea = cb.area();
        };
        const std::size_t cell = std::size_t(cellY(probe.y())) * side + cellX(probe.x());
        for (std::uint32_t k = start[cell]; k < start[cell + 1]; ++k)
            consider(bucket[k]);
        for (int c : big)
            consider(c);
        parent[std::size_t(i)] = best;
    }
    return parent;
}

} // namespace nesting
