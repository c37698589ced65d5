// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QHash>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
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
// Where a path came from, as the file said it: what an operator picks a
// tool by (a crease wheel on one layer, a kiss-cut in one colour, HP-GL's
// SP2). Kept as written; empty or 0 where the file gives none.
struct PathSource
{
    int pen = 0;     // HP-GL SPn
    QString colour;  // "#rrggbb", lower case (SVG stroke, DXF true or index colour)
    QString layer;   // DXF layer, Inkscape layer label or a top group's id

    bool operator==(const PathSource &o) const { return pen == o.pen && colour == o.colour && layer == o.layer; }
    bool operator!=(const PathSource &o) const { return !(*this == o); }
    bool isEmpty() const { return pen == 0 && colour.isEmpty() && layer.isEmpty(); }
};

// Sources are few (pens, layers, colours) and shared by index: a path
// carries 4 bytes of source and 1 of tool. A hostile file cannot grow the
// table past MaxSources: later distinct sources fold into the last one.
class PlotDocument
{
public:
    static constexpr double ClosedEpsilon = 1e-6;
    static constexpr int MaxSources = 4096;
    // Tool positions of the machine (SP1, SP2).
    static constexpr int ToolCount = 2;

    struct Path {
        std::uint32_t first = 0;
        std::uint32_t count = 0;
        std::uint32_t source = 0; // index into the source table
        std::uint8_t tool = 1;    // 1 or 2
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

    // Source attributes. Paths begun after setSource() carry it (and the
    // current tool); index 0 is the empty source every document has.
    int setSource(const PathSource &source);
    void setCurrentTool(int tool) { m_tool = std::uint8_t(tool == 2 ? 2 : 1); }
    int sourceCount() const { return int(m_sources.size()); }
    const PathSource &source(int index) const { return m_sources[std::size_t(index)]; }
    const PathSource &sourceOf(int path) const { return m_sources[m_paths[std::size_t(path)].source]; }
    int toolOf(int path) const { return m_paths[std::size_t(path)].tool; }
    void setTool(int path, int tool) { m_paths[std::size_t(path)].tool = std::uint8_t(tool == 2 ? 2 : 1); }
    // For code that rebuilds a document path by path: take the other's
    // source table once, then carry(from, i) before beginning the copy of
    // path i, so the copy keeps its source and tool.
    void adoptSources(const PlotDocument &from);
    void carry(const PlotDocument &from, int path)
    {
        m_current = from.m_paths[std::size_t(path)].source;
        m_tool = from.m_paths[std::size_t(path)].tool;
    }

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
    // Pen-down length of the paths given to one tool.
    double cutLength(int tool) const;
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
    std::vector<PathSource> m_sources{PathSource()};
    QHash<QString, int> m_sourceIndex;
    std::uint32_t m_current = 0;
    std::uint8_t m_tool = 1;
    bool m_open = false;
};
