// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QVector>

#include <cstdint>
#include <vector>

// A design as cut strokes: polylines in millimetres, y up, in cut order.
// Points of all paths live in one array and a path is a slice of it, so a
// path costs 12 bytes plus 16 per point (about the size of its plot text)
// instead of a container per path. A path holds at least two points; it is
// closed when its last point repeats its first (within ClosedEpsilon).
//
// Every total (length, box, travel) is computed from the paths on request,
// never accumulated while reading, so it stays right once paths are placed,
// reordered or merged. Travel starts and ends at the origin-free first path:
// it counts the moves from the origin to the first path and between paths.
class PlotDocument
{
public:
    static constexpr double ClosedEpsilon = 1e-6;

    struct Path {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        bool closed = false;
    };

    // Building: points between beginPath() and endPath(); a path of fewer
    // than two points is dropped. Repeated consecutive points are dropped too.
    void beginPath(const QPointF &start);
    void lineTo(const QPointF &p);
    void endPath();
    bool building() const { return m_open; }
    // Convenience for whole polylines.
    void addPath(const QPointF *points, int count);
    void addPath(const QVector<QPointF> &points) { addPath(points.constData(), points.size()); }
    void clear();
    // Paths from `fromPath` on that start where the previous one ends
    // (within epsilon) become one path: drawing programs write a contour
    // as separate lines or curve pieces, and only a whole contour can be
    // told closed, nested and started anywhere.
    void joinConsecutive(int fromPath = 0, double epsilon = 1e-6);
    void reserve(std::size_t paths, std::size_t points);

    int pathCount() const { return int(m_paths.size()); }
    std::size_t pointCount() const { return m_points.size(); }
    bool isEmpty() const { return m_paths.empty(); }
    const Path &path(int i) const { return m_paths[std::size_t(i)]; }
    const QPointF *points(int i) const { return m_points.data() + m_paths[std::size_t(i)].first; }
    QPointF startOf(int i) const { return m_points[m_paths[std::size_t(i)].first]; }
    QPointF endOf(int i) const
    {
        const Path &p = m_paths[std::size_t(i)];
        return m_points[p.first + p.count - 1];
    }
    QVector<QPointF> polyline(int i) const;

    double pathLength(int i) const;
    double cutLength() const;
    // Pen-up distance: origin to the first path, then path end to next start.
    double travelLength(const QPointF &origin = QPointF()) const;
    // The pen-up moves themselves, for drawing them.
    QVector<QLineF> travelMoves(const QPointF &origin = QPointF()) const;
    // Extent of the cut; a null rectangle when nothing is cut.
    QRectF boundingBox() const;
    // Seconds at the given speeds (mm/s), plus a fixed cost per pen lift.
    double estimateSeconds(double cutSpeed, double travelSpeed, double perLift = 0) const;

    // Every point mapped; closed flags are kept (affine maps keep them).
    template <typename F> void transform(F &&map)
    {
        for (QPointF &p : m_points)
            p = map(p);
    }

    // Bytes held, for memory figures.
    std::size_t footprint() const
    {
        return m_points.capacity() * sizeof(QPointF) + m_paths.capacity() * sizeof(Path);
    }

private:
    std::vector<QPointF> m_points;
    std::vector<Path> m_paths;
    bool m_open = false;
};
