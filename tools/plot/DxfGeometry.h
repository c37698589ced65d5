// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"
#include "ReadBudget.h"

#include <QPointF>

#include <algorithm>
#include <cmath>

// A plane affine map: x' = a x + c y + e, y' = b x + d y + f. Kept in
// double even though libdime hands out floats, so a deep chain of inserts
// does not add rounding of its own.
struct DxfAffine {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    QPointF map(double x, double y) const { return QPointF(a * x + c * y + e, b * x + d * y + f); }
    QPointF map(const QPointF &p) const { return map(p.x(), p.y()); }
    // (this * inner)(p) == this(inner(p))
    DxfAffine operator*(const DxfAffine &m) const
    {
        return {a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d, b * m.c + d * m.d,
                a * m.e + c * m.f + e, b * m.e + d * m.f + f};
    }
    static DxfAffine translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static DxfAffine scale(double x, double y) { return {x, 0, 0, y, 0, 0}; }
    static DxfAffine rotate(double radians)
    {
        const double co = std::cos(radians), si = std::sin(radians);
        return {co, si, -si, co, 0, 0};
    }
    // The largest stretch of any direction (the larger singular value):
    // a chord tolerance divided by it holds in the mapped space too.
    double largestScale() const
    {
        const double p = a * a + b * b + c * c + d * d, det = a * d - b * c;
        return std::sqrt((p + std::sqrt(std::max(0.0, p * p - 4 * det * det))) / 2);
    }
};

// The object coordinate system of a planar entity from its extrusion
// (group codes 210/220/230) by the arbitrary axis rule. Along +z it is the
// drawing plane; along -z the rule gives x = (-1,0,0), y = (0,1,0): the
// object is mirrored left to right (CAD writes mirrored arcs this way).
// Any other direction tilts the object out of the drawing plane; false.
inline bool dxfObjectSystem(double nx, double ny, double nz, DxfAffine &ocs)
{
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(len > 0)) { // absent or zero: the default +z
        ocs = DxfAffine();
        return true;
    }
    // Single-precision input: a unit z written as 1e-7 off is still z.
    if (std::abs(nx / len) > 1e-6 || std::abs(ny / len) > 1e-6)
        return false;
    ocs = nz > 0 ? DxfAffine() : DxfAffine::scale(-1, 1);
    return true;
}

// Where entities draw: block (or object) coordinates mapped to millimetres,
// points counted against the read's budget as they are made.
class DxfPen
{
public:
    DxfPen(PlotDocument &doc, ReadBudget &budget, double toleranceMm)
        : m_doc(doc), m_budget(budget), m_toleranceMm(toleranceMm) {}

    void setBlockMap(const DxfAffine &toMm) { m_block = toMm; m_map = toMm; }
    void setObjectSystem(const DxfAffine &ocs) { m_map = m_block * ocs; }
    // Chord tolerance in the entity's own units.
    double tolerance() const
    {
        const double s = m_map.largestScale();
        return s > 0 ? m_toleranceMm / s : m_toleranceMm;
    }
    void begin(const QPointF &p) { m_doc.beginPath(m_map.map(p)); }
    // False once over the budget; callers stop drawing then.
    bool to(const QPointF &p)
    {
        m_doc.lineTo(m_map.map(p));
        return m_budget.points(qint64(m_doc.pointCount()));
    }
    void end() { m_doc.endPath(); }
    bool step(qint64 n = 1) { return m_budget.step(n); }
    ReadBudget &budget() { return m_budget; }

private:
    PlotDocument &m_doc;
    ReadBudget &m_budget;
    double m_toleranceMm;
    DxfAffine m_block, m_map;
};
