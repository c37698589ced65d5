// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PathOrdering.h"

#include "ContourNesting.h"

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <cmath>
#include <limits>

namespace {

inline double dist(const QPointF &a, const QPointF &b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

struct Entry {
    std::uint32_t path;
    std::uint32_t vertex;
};

// Entry points bucketed by cell; each cell's live entries stay at its front
// so finished paths are dropped once, when a search first meets them.
class EntryGrid
{
public:
    EntryGrid(const PlotDocument &doc, const std::vector<char> &done)
        : m_doc(doc), m_done(done)
    {
        std::size_t count = 0;
        for (int i = 0; i < doc.pathCount(); ++i)
            count += doc.path(i).closed ? doc.path(i).count - 1 : 2;
        m_box = doc.boundingBox();
        m_side = std::max(1, std::min(4096, int(std::sqrt(double(count) / 2))));
        m_cw = std::max(m_box.width() / m_side, 1e-9);
        m_ch = std::max(m_box.height() / m_side, 1e-9);
        m_start.assign(std::size_t(m_side) * m_side + 1, 0);
        forEach([&](const Entry &, const QPointF &p) { ++m_start[cell(p) + 1]; });
        for (std::size_t i = 1; i < m_start.size(); ++i)
            m_start[i] += m_start[i - 1];
        m_entries.resize(m_start.back());
        m_live.assign(m_start.size() - 1, 0);
        forEach([&](const Entry &e, const QPointF &p) {
            const std::size_t c = cell(p);
            m_entries[m_start[c] + m_live[c]++] = e;
        });
    }

    // Nearest entry whose path is not done and passes ok(); false if none.
    template <typename Ok> bool nearest(const QPointF &at, Ok &&ok, Entry &found)
    {
        const int cx = cellX(at.x()), cy = cellY(at.y());
        double best = std::numeric_limits<double>::infinity();
        const double step = std::min(m_cw, m_ch);
        for (int r = 0; r <= m_side; ++r) {
            for (int y = cy - r; y <= cy + r; ++y) {
                if (y < 0 || y >= m_side)
                    continue;
                const bool edge = y == cy - r || y == cy + r;
                for (int x = cx - r; x <= cx + r; x += (edge || r == 0) ? 1 : 2 * r) {
                    if (x < 0 || x >= m_side)
                        continue;
                    scan(std::size_t(y) * m_side + x, at, ok, best, found);
                }
            }
            // Ring r + 1 lies at least r cells away.
            if (best <= r * step)
                break;
        }
        return best < std::numeric_limits<double>::infinity();
    }

private:
    template <typename F> void forEach(F &&fn) const
    {
        for (int i = 0; i < m_doc.pathCount(); ++i) {
            const auto &path = m_doc.path(i);
            const QPointF *p = m_doc.points(i);
            if (path.closed) {
                for (std::uint32_t v = 0; v + 1 < path.count; ++v)
                    fn(Entry{std::uint32_t(i), v}, p[v]);
            } else {
                fn(Entry{std::uint32_t(i), 0}, p[0]);
                fn(Entry{std::uint32_t(i), path.count - 1}, p[path.count - 1]);
            }
        }
    }
    // Clamped as doubles: a point outside a flat grid (one horizontal line,
    // searched from where another tool's paths ended) divides by the grid's
    // tiny cell to infinity, and casting that to int is undefined.
    int cellX(double x) const { return cellOf((x - m_box.left()) / m_cw, m_side); }
    int cellY(double y) const { return cellOf((y - m_box.top()) / m_ch, m_side); }
    static int cellOf(double c, int side) { return c >= 0 ? (c < side - 1 ? int(c) : side - 1) : 0; }
    std::size_t cell(const QPointF &p) const { return std::size_t(cellY(p.y())) * m_side + cellX(p.x()); }

    template <typename Ok>
    void scan(std::size_t c, const QPointF &at, Ok &ok, double &best, Entry &found)
    {
        Entry *e = m_entries.data() + m_start[c];
        std::uint32_t &live = m_live[c];
        for (std::uint32_t k = 0; k < live;) {
            if (m_done[e[k].path]) {
                e[k] = e[--live];
                continue;
            }
            if (ok(e[k].path)) {
                const double d = dist(at, m_doc.points(int(e[k].path))[e[k].vertex]);
                if (d < best) {
                    best = d;
                    found = e[k];
                }
            }
            ++k;
        }
    }

    const PlotDocument &m_doc;
    const std::vector<char> &m_done;
    QRectF m_box;
    int m_side = 1;
    double m_cw = 1, m_ch = 1;
    std::vector<std::uint32_t> m_start;
    std::vector<std::uint32_t> m_live;
    std::vector<Entry> m_entries;
};

struct Ends {
    QPointF in, out;
};

Ends endsOf(const PlotDocument &doc, const PathOrdering::Step &s)
{
    const auto &path = doc.path(int(s.path));
    const QPointF *p = doc.points(int(s.path));
    if (path.closed)
        return {p[s.start], p[s.start]};
    return s.reversed ? Ends{p[path.count - 1], p[0]} : Ends{p[0], p[path.count - 1]};
}

bool stopped(const std::atomic<bool> *cancel, int k)
{
    return (k & 1023) == 0 && cancel && cancel->load(std::memory_order_relaxed);
}

void improve(const PlotDocument &doc, std::vector<PathOrdering::Step> &seq, const std::vector<int> &parent,
             int window, const std::atomic<bool> *cancel)
{
    const int n = int(seq.size());
    std::vector<int> pos(std::size_t(doc.pathCount()));
    for (int pass = 0; pass < 3; ++pass) {
        for (int k = 0; k < n; ++k)
            pos[seq[std::size_t(k)].path] = k;
        bool changed = false;
        for (int a = 0; a < n; ++a) {
            if (stopped(cancel, a))
                return;
            const QPointF prev = a == 0 ? QPointF() : endsOf(doc, seq[std::size_t(a - 1)]).out;
            const Ends first = endsOf(doc, seq[std::size_t(a)]);
            int minParent = std::numeric_limits<int>::max();
            for (int b = a; b < n && b <= a + window; ++b) {
                const int par = parent[seq[std::size_t(b)].path];
                if (par >= 0)
                    minParent = std::min(minParent, pos[std::size_t(par)]);
                if (minParent <= b)
                    break; // reversing would cut a contour before what it holds
                const Ends last = endsOf(doc, seq[std::size_t(b)]);
                double delta = dist(prev, last.out) - dist(prev, first.in);
                if (b + 1 < n) {
                    const QPointF next = endsOf(doc, seq[std::size_t(b + 1)]).in;
                    delta += dist(first.in, next) - dist(last.out, next);
                }
                if (delta < -1e-9) {
                    std::reverse(seq.begin() + a, seq.begin() + b + 1);
                    for (int k = a; k <= b; ++k) {
                        seq[std::size_t(k)].reversed = !seq[std::size_t(k)].reversed;
                        pos[seq[std::size_t(k)].path] = k;
                    }
                    changed = true;
                    break;
                }
            }
        }
        // Closed contours: the start that shortens the way in and out.
        for (int k = 0; k < n; ++k) {
            auto &s = seq[std::size_t(k)];
            const auto &path = doc.path(int(s.path));
            if (!path.closed)
                continue;
            const QPointF prev = k == 0 ? QPointF() : endsOf(doc, seq[std::size_t(k - 1)]).out;
            const bool hasNext = k + 1 < n;
            const QPointF next = hasNext ? endsOf(doc, seq[std::size_t(k + 1)]).in : QPointF();
            const QPointF *p = doc.points(int(s.path));
            double best = std::numeric_limits<double>::infinity();
            for (std::uint32_t v = 0; v + 1 < path.count; ++v) {
                const double d = dist(prev, p[v]) + (hasNext ? dist(p[v], next) : 0);
                if (d < best - 1e-12) {
                    best = d;
                    if (v != s.start)
                        changed = true;
                    s.start = v;
                }
            }
        }
        if (!changed)
            break;
    }
}

} // namespace

std::vector<PathOrdering::Step> PathOrdering::plan(const PlotDocument &doc, int window, const std::atomic<bool> *cancel)
{
    const int n = doc.pathCount();
    const std::vector<int> parent = nesting::parents(doc);
    std::vector<int> waiting(static_cast<std::size_t>(n), 0);
    for (int p : parent)
        if (p >= 0)
            ++waiting[std::size_t(p)];
    std::vector<char> done(static_cast<std::size_t>(n), 0);
    EntryGrid grid(doc, done);
    std::vector<Step> seq;
    seq.reserve(static_cast<std::size_t>(n));
    QPointF at;
    const auto ready = [&](std::uint32_t path) { return waiting[path] == 0; };
    for (int k = 0; k < n; ++k) {
        if (stopped(cancel, k))
            return seq; // the caller drops a cancelled plan
        Entry e{0, 0};
        if (!grid.nearest(at, ready, e))
            break; // cannot happen: the innermost remaining path is always ready
        const auto &path = doc.path(int(e.path));
        Step s{e.path, path.closed ? e.vertex : 0, !path.closed && e.vertex != 0};
        seq.push_back(s);
        done[e.path] = 1;
        if (parent[e.path] >= 0)
            --waiting[std::size_t(parent[e.path])];
        at = endsOf(doc, s).out;
    }
    if (window > 0)
        improve(doc, seq, parent, window, cancel);
    return seq;
}

PlotDocument PathOrdering::build(const PlotDocument &doc, const std::vector<Step> &steps)
{
    PlotDocument out;
    out.adoptSources(doc);
    out.reserve(steps.size(), doc.pointCount());
    for (const Step &s : steps) {
        const auto &path = doc.path(int(s.path));
        const QPointF *p = doc.points(int(s.path));
        const int n = int(path.count);
        out.carry(doc, int(s.path));
        if (path.closed) {
            // n - 1 distinct vertices, walked from the start and back to it.
            const int m = n - 1;
            out.beginPath(p[s.start]);
            for (int k = 1; k <= m; ++k) {
                const int i = s.reversed ? (int(s.start) - k + m * 2) % m : (int(s.start) + k) % m;
                out.lineTo(p[i]);
            }
        } else if (s.reversed) {
            out.beginPath(p[n - 1]);
            for (int k = n - 2; k >= 0; --k)
                out.lineTo(p[k]);
        } else {
            out.beginPath(p[0]);
            for (int k = 1; k < n; ++k)
                out.lineTo(p[k]);
        }
        out.endPath();
    }
    return out;
}

PathOrdering::Result PathOrdering::order(const PlotDocument &doc, int window, const std::atomic<bool> *cancel)
{
    Result r;
    const std::vector<Step> steps = plan(doc, window, cancel);
#ifdef __GLIBC__
    // The index and nesting buffers (tens of MB on big plots) sit below
    // glibc's mmap threshold once it has grown; hand them back before the
    // ordered copy is built, or they stay resident beside it.
    malloc_trim(0);
#endif
    r.document = build(doc, steps);
    r.source.reserve(steps.size());
    for (const Step &s : steps)
        r.source.push_back(int(s.path));
    r.travelBefore = doc.travelLength();
    r.travelAfter = r.document.travelLength();
    return r;
}
