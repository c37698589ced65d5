// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestPlacer.h"

#include <algorithm>
#include <limits>

using namespace nestgeo;

NestPlacer::NestPlacer(const std::vector<Shape> &shapes, const std::vector<int> &base, Material material,
                       NfpCache &cache)
    : m_shapes(shapes), m_base(base), m_material(material), m_cache(cache)
{
    for (const Shape &s : shapes) {
        m_rowHeight = std::max(m_rowHeight, s.grown.height());
        m_margin = std::max({m_margin, -s.grown.x0, s.grown.x1 - s.box.x1});
    }
    m_margin += Slack;
}

double NestPlacer::roomIn(Sheet &sheet, int r)
{
    const double whole = double(m_material.width + 2 * m_margin) * double(m_rowHeight);
    if (r >= int(sheet.rows.size()))
        return whole;
    double &room = sheet.room[std::size_t(r)];
    if (room >= 0)
        return room;
    const cInt y0 = (cInt(r) - 1) * m_rowHeight;
    cl::Clipper c;
    c.AddPath(cl::Path{{-m_margin, y0}, {m_material.width + m_margin, y0}, {m_material.width + m_margin, y0 + m_rowHeight},
                       {-m_margin, y0 + m_rowHeight}}, cl::ptSubject, true);
    for (int index : sheet.rows[std::size_t(r)]) {
        const Placement &p = (*m_placed)[std::size_t(index)];
        const Shape &s = shapeOf(p);
        // Holes wind the other way, so under the non-zero rule they stay free.
        for (const cl::Paths *set : {&s.solid, &s.holes}) {
            for (cl::Path path : *set) {
                for (cl::IntPoint &q : path)
                    q.X += p.at.X, q.Y += p.at.Y;
                if (set == &s.holes)
                    cl::ReversePath(path);
                c.AddPath(path, cl::ptClip, true);
            }
        }
    }
    cl::Paths left;
    c.Execute(cl::ctDifference, left, cl::pftNonZero, cl::pftNonZero);
    room = 0;
    for (const cl::Path &path : left)
        room += cl::Area(path);
    return room;
}

const Shape &NestPlacer::shapeOf(const Placement &p) const
{
    return m_shapes[std::size_t(m_base[std::size_t(p.part)] + p.orient)];
}

int NestPlacer::row(cInt y) const
{
    // Grown shapes reach half a gap below zero; one spare row takes that.
    return int(std::max<cInt>(0, y / m_rowHeight + 1));
}

void NestPlacer::add(Sheet &sheet, int index)
{
    const Placement &p = (*m_placed)[std::size_t(index)];
    const Shape &s = shapeOf(p);
    const int last = row(p.at.Y + s.grown.y1);
    if (int(sheet.rows.size()) <= last) {
        sheet.rows.resize(std::size_t(last) + 1);
        sheet.room.resize(std::size_t(last) + 1, -1);
    }
    for (int r = row(p.at.Y + s.grown.y0); r <= last; ++r) {
        sheet.rows[std::size_t(r)].push_back(index);
        sheet.room[std::size_t(r)] = -1;
    }
}

void NestPlacer::gather(const Sheet &sheet, int shape, cInt lo, cInt hi, cInt xMax, cl::Paths &clip)
{
    const Shape &b = m_shapes[std::size_t(shape)];
    // A placed piece's no-fit polygon is its grown box less b's: it reaches
    // the band when its own grown box meets the band widened by b.
    const cInt from = lo + b.grown.y0, to = hi + b.grown.y1;
    ++m_tick;
    const int last = std::min(row(to), int(sheet.rows.size()) - 1);
    for (int r = row(from); r <= last; ++r) {
        for (int index : sheet.rows[std::size_t(r)]) {
            if (m_seen[std::size_t(index)] == m_tick)
                continue;
            m_seen[std::size_t(index)] = m_tick;
            const Placement &p = (*m_placed)[std::size_t(index)];
            const Shape &a = shapeOf(p);
            if (p.at.Y + a.grown.y1 < from || p.at.Y + a.grown.y0 > to)
                continue;
            if (p.at.X + a.grown.x1 - b.grown.x0 < 0 || p.at.X + a.grown.x0 - b.grown.x1 > xMax)
                continue;
            const int fixed = m_base[std::size_t(p.part)] + p.orient;
            for (const cl::Path &path : m_cache.get(fixed, shape)) {
                clip.emplace_back();
                clip.back().reserve(path.size());
                for (const cl::IntPoint &q : path)
                    clip.back().emplace_back(q.X + p.at.X, q.Y + p.at.Y);
            }
        }
    }
}

bool NestPlacer::fit(Sheet &sheet, int shape, cl::IntPoint &at)
{
    const Shape &b = m_shapes[std::size_t(shape)];
    const cInt xMax = m_material.width - b.box.x1 + Slack;
    const cInt yMax = m_material.length > 0 ? m_material.length - b.box.y1 + Slack : std::numeric_limits<cInt>::max() / 4;
    cInt &floor = sheet.floor[std::size_t(shape)];
    if (xMax < 0 || b.solid.empty())
        return false;
    const cInt span = std::max<cInt>(2 * b.grown.height(), units(10));
    cl::Paths clip, free;
    // Each band is either taken whole or lifts the floor by its height;
    // above the highest piece the band is empty, so the loop ends there.
    while (floor <= yMax) {
        const cInt lo = floor, hi = std::min(lo + span, yMax);
        double room = 0;
        for (int r = row(lo + b.grown.y0), last = row(hi + b.grown.y1); r <= last && room < b.area; ++r)
            room += roomIn(sheet, r);
        // Slack lets neighbours overlap by a micrometre along their edges.
        if (room < b.area * 0.99) {
            if (hi >= yMax)
                break;
            floor = hi;
            continue;
        }
        clip.clear();
        gather(sheet, shape, lo, hi, xMax, clip);
        if (clip.empty()) {
            at = cl::IntPoint(0, lo);
            return true;
        }
        cl::Clipper c;
        c.AddPath(cl::Path{{0, lo}, {xMax, lo}, {xMax, hi}, {0, hi}}, cl::ptSubject, true);
        c.AddPaths(clip, cl::ptClip, true);
        c.Execute(cl::ctDifference, free, cl::pftNonZero, cl::pftNonZero);
        bool found = false;
        for (const cl::Path &path : free) {
            for (const cl::IntPoint &q : path) {
                if (!found || q.Y < at.Y || (q.Y == at.Y && q.X < at.X))
                    at = q, found = true;
            }
        }
        if (found) {
            floor = at.Y;
            return true;
        }
        if (hi >= yMax)
            break;
        floor = hi;
    }
    floor = yMax + 1;
    return false;
}

bool NestPlacer::run(const std::vector<Step> &steps, Result &result, const std::function<bool()> &stop)
{
    result = Result();
    result.placed.reserve(steps.size());
    m_placed = &result.placed;
    m_sheets.clear();
    m_seen.assign(steps.size(), 0);
    m_tick = 0;
    const int sheetLimit = m_material.length > 0 ? int(steps.size()) : 1;
    std::vector<cInt> tops;
    for (const Step &step : steps) {
        if (stop && stop())
            return false;
        const int first = m_base[std::size_t(step.part)];
        const int count = m_base[std::size_t(step.part) + 1] - first;
        Placement best;
        cInt bestTop = 0;
        bool placed = false;
        for (int o = 0; o < count; ++o) {
            if (step.orient >= 0 && o != step.orient)
                continue;
            const int shape = first + o;
            for (int s = 0; s < sheetLimit && (!placed || s <= best.sheet); ++s) {
                if (s == int(m_sheets.size()))
                    m_sheets.push_back(Sheet{{}, {}, std::vector<cInt>(m_shapes.size(), 0)});
                cl::IntPoint at;
                Sheet &sheet = m_sheets[std::size_t(s)];
                if (!fit(sheet, shape, at)) {
                    // What an empty sheet cannot take, no later sheet can.
                    if (sheet.rows.empty())
                        break;
                    continue;
                }
                const cInt top = at.Y + m_shapes[std::size_t(shape)].box.y1;
                if (!placed || s < best.sheet || at.Y < best.at.Y || (at.Y == best.at.Y && (at.X < best.at.X || (at.X == best.at.X && top < bestTop)))) {
                    best = Placement{step.item, step.part, o, s, at};
                    bestTop = top;
                    placed = true;
                }
                break;
            }
        }
        if (!placed) {
            result.unplaced.push_back(step.item);
            continue;
        }
        result.placed.push_back(best);
        add(m_sheets[std::size_t(best.sheet)], int(result.placed.size()) - 1);
        if (int(tops.size()) <= best.sheet)
            tops.resize(std::size_t(best.sheet) + 1, 0);
        tops[std::size_t(best.sheet)] = std::max(tops[std::size_t(best.sheet)], bestTop);
        result.tops += mm(bestTop);
    }
    result.sheets = int(tops.size());
    result.length = tops.empty() ? 0 : tops.back();
    return true;
}
