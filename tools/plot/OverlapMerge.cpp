// SPDX-License-Identifier: LGPL-2.1-or-later
#include "OverlapMerge.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace overlaps {

namespace {

struct Item {
    std::uint64_t key; // carrier line: quantised direction and offset, packed
    std::uint32_t path, index;
};

struct Seg {
    std::uint32_t path, index; // segment index within its path
    double t0, t1;             // along the carrier line, t0 < t1
    bool aFirst;               // the segment's first point lies at t0
};

struct Change {
    std::uint32_t path, index;
    double f0, f1; // kept part, as fractions along the segment
};

struct Line {
    double angle, ux, uy;
};

Line lineOf(const QPointF &a, const QPointF &b, double angleStep)
{
    double angle = std::atan2(b.y() - a.y(), b.x() - a.x());
    if (angle < 0)
        angle += M_PI;
    if (angle >= M_PI - angleStep / 2)
        angle -= M_PI;
    return {angle, std::cos(angle), std::sin(angle)};
}

// Key: tool (1 bit), direction bucket (31 bits), offset bucket (32 bits).
// The steps are never finer than 2^-30 of the range they cover, so no
// bucket number overflows its field: a clamp there would put every line
// of a design in one bucket and merge lines that overlap nothing.
std::uint64_t keyOf(int tool, double angleBucket, double offsetBucket)
{
    const std::uint64_t a = std::uint64_t(std::clamp<std::int64_t>(std::llround(angleBucket), 0, (1ll << 31) - 1));
    const std::uint64_t o = std::uint64_t(
        std::clamp<std::int64_t>(std::llround(offsetBucket), -(1ll << 31) + 1, (1ll << 31) - 1) + (1ll << 31));
    return (std::uint64_t(tool == 2) << 63) | (a << 32) | o;
}

} // namespace

Result merge(PlotDocument &doc, double tolerance, const std::atomic<bool> *cancel)
{
    Result result;
    if (tolerance <= 0 || doc.isEmpty())
        return result;
    const QRectF box = doc.boundingBox();
    const QPointF centre = box.center();
    const double extent = std::max({box.width(), box.height(), tolerance});
    // Over the whole extent, a direction step of tol/extent moves a line by
    // at most the tolerance. Finer than 2^-30 of the range is below what
    // doubles tell apart over the design anyway.
    const double angleStep = std::max(tolerance / extent, M_PI / double(1 << 30));
    const double offsetStep = std::max(tolerance, extent / double(1 << 29));

    // 16 bytes a segment; runs of one key are the candidates.
    std::vector<Item> items;
    items.reserve(doc.pointCount());
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        for (std::uint32_t k = 0; k + 1 < doc.path(i).count; ++k) {
            const QPointF a = p[k] - centre, b = p[k + 1] - centre;
            const Line l = lineOf(a, b, angleStep);
            const double offset = -l.uy * a.x() + l.ux * a.y();
            items.push_back(Item{keyOf(doc.toolOf(i), l.angle / angleStep, offset / offsetStep), std::uint32_t(i), k});
        }
    }
    std::sort(items.begin(), items.end(), [](const Item &x, const Item &y) {
        return x.key < y.key || (x.key == y.key && (x.path < y.path || (x.path == y.path && x.index < y.index)));
    });

    std::vector<Change> changes;
    std::vector<Seg> segs;
    for (std::size_t r = 0, runs = 0; r < items.size(); ++runs) {
        if ((runs & 4095) == 0 && cancel && cancel->load(std::memory_order_relaxed))
            return Result();
        std::size_t e = r + 1;
        while (e < items.size() && items[e].key == items[r].key)
            ++e;
        if (e - r >= 2) {
            segs.clear();
            for (std::size_t k = r; k < e; ++k) {
                const QPointF *p = doc.points(int(items[k].path));
                const QPointF a = p[items[k].index] - centre, b = p[items[k].index + 1] - centre;
                const Line l = lineOf(a, b, angleStep);
                double t0 = l.ux * a.x() + l.uy * a.y(), t1 = l.ux * b.x() + l.uy * b.y();
                const bool aFirst = t0 <= t1;
                if (!aFirst)
                    std::swap(t0, t1);
                segs.push_back(Seg{items[k].path, items[k].index, t0, t1, aFirst});
            }
            // Stable: of equal starts, the earlier in the file is kept.
            std::stable_sort(segs.begin(), segs.end(), [](const Seg &x, const Seg &y) { return x.t0 < y.t0; });
            double covered = -std::numeric_limits<double>::infinity();
            for (const Seg &s : segs) {
                // Sorted by start, so everything from s.t0 to `covered` is
                // cut already by an earlier segment.
                if (s.t0 < covered - tolerance && s.t1 > s.t0) {
                    const double removed = std::min(covered, s.t1) - s.t0;
                    result.removedLength += removed;
                    const double f = std::clamp(removed / (s.t1 - s.t0), 0.0, 1.0);
                    changes.push_back(s.aFirst ? Change{s.path, s.index, f, 1.0} : Change{s.path, s.index, 0.0, 1.0 - f});
                    if (f >= 1.0 - 1e-12)
                        ++result.removedSegments;
                }
                covered = std::max(covered, s.t1);
            }
        }
        r = e;
    }
    std::vector<Item>().swap(items);
    if (changes.empty())
        return result;
    std::sort(changes.begin(), changes.end(), [](const Change &x, const Change &y) {
        return x.path < y.path || (x.path == y.path && x.index < y.index);
    });

    // A shortened segment may start a new path with a new point: reserve
    // for that, or the point array would double (and briefly triple) here.
    PlotDocument out;
    out.adoptSources(doc);
    out.reserve(std::size_t(doc.pathCount()) + changes.size(), doc.pointCount() + changes.size());
    std::size_t next = 0;
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        out.carry(doc, i);
        bool open = false;
        for (std::uint32_t k = 0; k + 1 < doc.path(i).count; ++k) {
            double f0 = 0, f1 = 1;
            if (next < changes.size() && changes[next].path == std::uint32_t(i) && changes[next].index == k) {
                f0 = changes[next].f0;
                f1 = changes[next].f1;
                ++next;
            }
            if (f1 - f0 <= 1e-12) {
                if (open)
                    out.endPath();
                open = false;
                continue;
            }
            const QPointF a = p[k] + (p[k + 1] - p[k]) * f0;
            const QPointF b = p[k] + (p[k + 1] - p[k]) * f1;
            if (!open || f0 > 0) {
                if (open)
                    out.endPath();
                out.beginPath(a);
                open = true;
            }
            out.lineTo(b);
            if (f1 < 1) {
                out.endPath();
                open = false;
            }
        }
        if (open)
            out.endPath();
    }
    doc = std::move(out);
    return result;
}

} // namespace overlaps
