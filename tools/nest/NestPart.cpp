// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestPart.h"

#include "ContourNesting.h"

#include <QCoreApplication>

#include <cmath>

namespace NestParts {

double polygonArea(const QPolygonF &polygon)
{
    double twice = 0;
    for (int i = 0, n = polygon.size(); i < n; ++i) {
        const QPointF &a = polygon[i], &b = polygon[(i + 1) % n];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::fabs(twice) / 2;
}

namespace {

QPolygonF polygonOf(const PlotDocument &doc, int path)
{
    const PlotDocument::Path &p = doc.path(path);
    // A closed path repeats its first point; the polygon need not.
    const int n = int(p.count) - (p.closed ? 1 : 0);
    return QPolygonF(QVector<QPointF>(doc.points(path), doc.points(path) + n));
}

void copyPath(NestPart &part, const PlotDocument &doc, int path)
{
    part.drawing.setSource(doc.sourceOf(path));
    part.drawing.setCurrentTool(doc.toolOf(path));
    part.drawing.addPath(doc.points(path), int(doc.path(path).count));
}

// Fills outers, holes and lines from the part's own drawing.
void classify(NestPart &part)
{
    const PlotDocument &d = part.drawing;
    const std::vector<int> parent = nesting::parents(d);
    std::vector<int> children(parent.size(), 0);
    for (int p : parent) {
        if (p >= 0)
            ++children[std::size_t(p)];
    }
    part.area = 0;
    for (int i = 0; i < d.pathCount(); ++i) {
        const int up = parent[std::size_t(i)];
        if (up < 0 && d.path(i).closed) {
            part.outers << polygonOf(d, i);
            part.area += polygonArea(part.outers.last());
        } else if (up < 0) {
            part.lines << QPolygonF(d.polyline(i));
        } else if (d.path(i).closed && parent[std::size_t(up)] < 0 && d.toolOf(i) == 1 && children[std::size_t(i)] == 0) {
            part.holes << polygonOf(d, i);
            part.area -= polygonArea(part.holes.last());
        }
    }
}

} // namespace

bool fromDocument(const PlotDocument &doc, const QString &name, bool split, std::vector<NestPart> &out, QString &why)
{
    if (doc.isEmpty()) {
        why = QCoreApplication::translate("NestPart", "%1 holds nothing to cut").arg(name);
        return false;
    }
    if (!split) {
        NestPart part;
        part.name = name;
        for (int i = 0; i < doc.pathCount(); ++i)
            copyPath(part, doc, i);
        classify(part);
        out.push_back(std::move(part));
        return true;
    }
    const std::vector<int> parent = nesting::parents(doc);
    std::vector<int> partOf(parent.size(), -1);
    std::vector<int> roots;
    int stray = 0;
    for (int i = 0; i < doc.pathCount(); ++i) {
        int top = i;
        // Parents hold strictly larger boxes, so the walk ends; the bound only guards a bad table.
        for (int steps = 0; parent[std::size_t(top)] >= 0 && steps < doc.pathCount(); ++steps)
            top = parent[std::size_t(top)];
        if (!doc.path(top).closed) {
            ++stray;
            continue;
        }
        if (top == i)
            roots.push_back(i);
        partOf[std::size_t(i)] = top;
    }
    if (stray > 0) {
        why = QCoreApplication::translate("NestPart", "%1: %n open path(s) lie outside every closed contour, so --split cannot tell their part",
                                          nullptr, stray).arg(name);
        return false;
    }
    for (std::size_t k = 0; k < roots.size(); ++k) {
        NestPart part;
        part.name = roots.size() == 1 ? name : QStringLiteral("%1 #%2").arg(name).arg(k + 1);
        for (int i = 0; i < doc.pathCount(); ++i) {
            if (partOf[std::size_t(i)] == roots[k])
                copyPath(part, doc, i);
        }
        classify(part);
        out.push_back(std::move(part));
    }
    return true;
}

} // namespace NestParts
