// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotDocument.h"

#include <algorithm>
#include <cmath>

namespace {
inline double dist(const QPointF &a, const QPointF &b)
{
    return std::hypot(b.x() - a.x(), b.y() - a.y());
}
} // namespace

void PlotDocument::beginPath(const QPointF &start)
{
    if (m_open)
        endPath();
    m_paths.push_back(Path{std::uint32_t(m_points.size()), 1, m_current, m_tool, false});
    m_points.push_back(start);
    m_open = true;
}

void PlotDocument::lineTo(const QPointF &p)
{
    if (!m_open) {
        beginPath(p);
        return;
    }
    Path &path = m_paths.back();
    if (m_points.back() == p)
        return;
    m_points.push_back(p);
    ++path.count;
}

void PlotDocument::endPath()
{
    if (!m_open)
        return;
    m_open = false;
    Path &path = m_paths.back();
    if (path.count < 2) {
        m_points.resize(path.first);
        m_paths.pop_back();
        return;
    }
    const QPointF &a = m_points[path.first];
    const QPointF &b = m_points.back();
    path.closed = path.count > 2 && std::abs(a.x() - b.x()) <= ClosedEpsilon
                  && std::abs(a.y() - b.y()) <= ClosedEpsilon;
}

void PlotDocument::addPath(const QPointF *points, int count)
{
    if (count < 2)
        return;
    beginPath(points[0]);
    for (int i = 1; i < count; ++i)
        lineTo(points[i]);
    endPath();
}

void PlotDocument::clear()
{
    m_points.clear();
    m_paths.clear();
    m_sources.assign(1, PathSource());
    m_sourceIndex.clear();
    m_current = 0;
    m_tool = 1;
    m_open = false;
}

int PlotDocument::setSource(const PathSource &source)
{
    const QString key = QString::number(source.pen) + QLatin1Char('\n') + source.colour + QLatin1Char('\n') + source.layer;
    int index = source.isEmpty() ? 0 : m_sourceIndex.value(key, -1);
    if (index < 0) {
        if (int(m_sources.size()) >= MaxSources) {
            index = MaxSources - 1;
        } else {
            index = int(m_sources.size());
            m_sources.push_back(source);
            m_sourceIndex.insert(key, index);
        }
    }
    m_current = std::uint32_t(index);
    return index;
}

void PlotDocument::adoptSources(const PlotDocument &from)
{
    m_sources = from.m_sources;
    m_sourceIndex = from.m_sourceIndex;
}

void PlotDocument::joinConsecutive(int fromPath, double epsilon)
{
    if (m_open)
        endPath();
    std::size_t w = std::size_t(std::max(fromPath, 0)); // paths written
    std::size_t wp = w < m_paths.size() ? m_paths[w].first : m_points.size(); // points written
    for (std::size_t r = w; r < m_paths.size(); ++r) {
        const Path src = m_paths[r];
        if (w > std::size_t(std::max(fromPath, 0))) {
            Path &prev = m_paths[w - 1];
            const QPointF &end = m_points[wp - 1];
            const QPointF &start = m_points[src.first];
            // Pieces of different layers, colours or tools stay apart: each
            // may go to another tool.
            if (!prev.closed && prev.source == src.source && prev.tool == src.tool
                && std::abs(end.x() - start.x()) <= epsilon && std::abs(end.y() - start.y()) <= epsilon) {
                for (std::uint32_t k = 1; k < src.count; ++k)
                    m_points[wp++] = m_points[src.first + k];
                prev.count += src.count - 1;
                const QPointF &a = m_points[prev.first];
                const QPointF &b = m_points[wp - 1];
                prev.closed = std::abs(a.x() - b.x()) <= epsilon && std::abs(a.y() - b.y()) <= epsilon;
                continue;
            }
        }
        Path moved{std::uint32_t(wp), src.count, src.source, src.tool, src.closed};
        for (std::uint32_t k = 0; k < src.count; ++k)
            m_points[wp++] = m_points[src.first + k];
        m_paths[w++] = moved;
    }
    m_paths.resize(w);
    m_points.resize(wp);
}

void PlotDocument::reserve(std::size_t paths, std::size_t points)
{
    m_paths.reserve(paths);
    m_points.reserve(points);
}

QVector<QPointF> PlotDocument::polyline(int i) const
{
    const Path &p = path(i);
    return QVector<QPointF>(m_points.begin() + p.first, m_points.begin() + p.first + p.count);
}

double PlotDocument::pathLength(int i) const
{
    const QPointF *p = points(i);
    const std::uint32_t n = path(i).count;
    double length = 0;
    for (std::uint32_t k = 1; k < n; ++k)
        length += dist(p[k - 1], p[k]);
    return length;
}

double PlotDocument::cutLength() const
{
    double length = 0;
    for (int i = 0; i < pathCount(); ++i)
        length += pathLength(i);
    return length;
}

double PlotDocument::cutLength(int tool) const
{
    double length = 0;
    for (int i = 0; i < pathCount(); ++i)
        if (toolOf(i) == tool)
            length += pathLength(i);
    return length;
}

double PlotDocument::travelLength(const QPointF &origin) const
{
    double length = 0;
    QPointF at = origin;
    for (int i = 0; i < pathCount(); ++i) {
        length += dist(at, startOf(i));
        at = endOf(i);
    }
    return length;
}

QVector<QLineF> PlotDocument::travelMoves(const QPointF &origin) const
{
    QVector<QLineF> moves;
    moves.reserve(pathCount());
    QPointF at = origin;
    for (int i = 0; i < pathCount(); ++i) {
        if (at != startOf(i))
            moves.append(QLineF(at, startOf(i)));
        at = endOf(i);
    }
    return moves;
}

QRectF PlotDocument::boundingBox() const
{
    if (m_paths.empty())
        return QRectF();
    double x0 = m_points[m_paths.front().first].x(), x1 = x0;
    double y0 = m_points[m_paths.front().first].y(), y1 = y0;
    // Points of dropped paths are gone, so every stored point is cut.
    for (const QPointF &p : m_points) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

double PlotDocument::estimateSeconds(double cutSpeed, double travelSpeed, double perLift) const
{
    if (cutSpeed <= 0 || travelSpeed <= 0)
        return 0;
    return cutLength() / cutSpeed + travelLength() / travelSpeed + perLift * pathCount();
}
