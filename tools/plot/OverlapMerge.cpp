#include "OverlapMerge.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <vector>

namespace overlaps {

namespace {

struct Seg {
    std::uint32_t path, index; // segment index within its path
    double t0, t1;             // along the carrier line, t0 < t1
    bool aFirst;               // the segment's first point lies at t0
};

struct Key {
    std::int64_t angle, offset;
    bool operator==(const Key &o) const { return angle == o.angle && offset == o.offset; }
};
struct KeyHash {
    std::size_t operator()(const Key &k) const
    {
        return std::hash<std::int64_t>()(k.angle * 1000003 ^ k.offset);
    }
};

} // namespace

Result merge(PlotDocument &doc, double tolerance)
{
    Result result;
    if (tolerance <= 0 || doc.isEmpty())
        return result;
    const QRectF box = doc.boundingBox();
    const double extent = std::max({box.width(), box.height(), tolerance});
    // Over the whole extent, a direction step of tol/extent moves a line by
    // at most the tolerance.
    const double angleStep = tolerance / extent;

    std::unordered_map<Key, std::vector<Seg>, KeyHash> lines;
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        for (std::uint32_t k = 0; k + 1 < doc.path(i).count; ++k) {
            QPointF a = p[k], b = p[k + 1];
            double angle = std::atan2(b.y() - a.y(), b.x() - a.x());
            if (angle < 0)
                angle += M_PI;
            if (angle >= M_PI - angleStep / 2)
                angle -= M_PI;
            const double ux = std::cos(angle), uy = std::sin(angle);
            const double offset = -uy * a.x() + ux * a.y();
            double t0 = ux * a.x() + uy * a.y(), t1 = ux * b.x() + uy * b.y();
            const bool aFirst = t0 <= t1;
            if (!aFirst)
                std::swap(t0, t1);
            const Key key{std::llround(angle / angleStep), std::llround(offset / tolerance)};
            lines[key].push_back(Seg{std::uint32_t(i), k, t0, t1, aFirst});
        }
    }

    // Per path, its segments' kept intervals (relative 0..1 along the segment).
    std::vector<std::vector<std::pair<double, double>>> kept(std::size_t(doc.pathCount()));
    for (int i = 0; i < doc.pathCount(); ++i)
        kept[std::size_t(i)].assign(doc.path(i).count - 1, {0.0, 1.0});
    bool any = false;
    for (auto &entry : lines) {
        auto &segs = entry.second;
        if (segs.size() < 2)
            continue;
        std::stable_sort(segs.begin(), segs.end(), [](const Seg &x, const Seg &y) {
            return x.t0 < y.t0 || (x.t0 == y.t0 && (x.path < y.path || (x.path == y.path && x.index < y.index)));
        });
        double covered = -std::numeric_limits<double>::infinity();
        for (Seg &s : segs) {
            // Sorted by start, so everything from s.t0 to `covered` is cut
            // already by an earlier segment.
            if (s.t0 < covered - tolerance && s.t1 - s.t0 > 0) {
                const double removed = std::min(covered, s.t1) - s.t0;
                result.removedLength += removed;
                const double f = std::clamp(removed / (s.t1 - s.t0), 0.0, 1.0);
                auto &k = kept[s.path][s.index];
                k = s.aFirst ? std::make_pair(f, 1.0) : std::make_pair(0.0, 1.0 - f);
                if (f >= 1.0 - 1e-12)
                    ++result.removedSegments;
                any = true;
            }
            covered = std::max(covered, s.t1);
        }
    }
    if (!any)
        return result;

    PlotDocument out;
    out.reserve(std::size_t(doc.pathCount()), doc.pointCount());
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        const auto &segs = kept[std::size_t(i)];
        bool open = false;
        for (std::size_t k = 0; k < segs.size(); ++k) {
            const auto [f0, f1] = segs[k];
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
