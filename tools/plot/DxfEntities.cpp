// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DxfEntities.h"

#include "ArcFlattening.h"
#include "DxfReader.h"

#include <dime/Layer.h>
#include <dime/RecordHolder.h>
#include <dime/records/Record.h>
#include <dime/entities/Arc.h>
#include <dime/entities/Circle.h>
#include <dime/entities/Ellipse.h>
#include <dime/entities/LWPolyline.h>
#include <dime/entities/Line.h>
#include <dime/entities/Polyline.h>
#include <dime/entities/Spline.h>
#include <dime/entities/Vertex.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// Parameters and angles arrive as floats: 2 pi is written 6.2831853 and
// read back 6.2831855, so a whole turn is told within this.
constexpr double TurnEpsilon = 1e-5;

// Sweep from start to end, counter-clockwise, in (0, turn]; equal ends
// (or a whole turn apart) mean the whole turn, as CAD draws them.
double sweepOf(double start, double end, double turn)
{
    double sweep = std::fmod(end - start, turn);
    if (sweep < 0)
        sweep += turn;
    if (sweep < TurnEpsilon * turn / (2 * M_PI) || turn - sweep < TurnEpsilon * turn / (2 * M_PI))
        sweep = turn;
    return sweep;
}

// A polyline's vertices with their bulges (tan of a quarter of the arc).
void bulgedPolyline(DxfPen &pen, const std::vector<QPointF> &pts, const std::vector<double> &bulges, bool closed)
{
    const std::size_t n = pts.size();
    if (n < 2)
        return;
    const double tol = pen.tolerance();
    pen.begin(pts[0]);
    const std::size_t segments = closed ? n : n - 1;
    bool ok = true;
    for (std::size_t i = 0; i < segments && ok; ++i) {
        const QPointF a = pts[i], b = pts[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0;
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        if (bulge != 0 && len > 0 && std::isfinite(bulge)) {
            const QPointF mid = (a + b) / 2, normal(-(b.y() - a.y()) / len, (b.x() - a.x()) / len);
            const QPointF center = mid + normal * (len / 2 * (1 - bulge * bulge) / (2 * bulge));
            const double r = std::hypot(a.x() - center.x(), a.y() - center.y());
            arcs::flatten(center, r, std::atan2(a.y() - center.y(), a.x() - center.x()), 4 * std::atan(bulge), tol,
                          [&](const QPointF &p) { ok = ok && pen.to(p); });
        }
        ok = ok && pen.to(b);
    }
    pen.end();
}

void arc(DxfPen &pen, double cx, double cy, double r, double start, double sweep)
{
    if (!(r > 0))
        return;
    pen.begin(QPointF(cx + r * std::cos(start), cy + r * std::sin(start)));
    bool ok = true;
    arcs::flatten(QPointF(cx, cy), r, start, sweep, pen.tolerance(), [&](const QPointF &p) { ok = ok && pen.to(p); });
    pen.end();
}

QString line(DxfPen &pen, dimeEntity *e, const DxfAffine &)
{
    auto *l = static_cast<dimeLine *>(e);
    pen.begin(QPointF(l->getCoords(0)[0], l->getCoords(0)[1]));
    pen.to(QPointF(l->getCoords(1)[0], l->getCoords(1)[1]));
    pen.end();
    return QString();
}

QString lwpolyline(DxfPen &pen, dimeEntity *e, const DxfAffine &)
{
    auto *l = static_cast<dimeLWPolyline *>(e);
    const int n = l->getNumVertices();
    // libdime keeps the count (90) even when no vertex followed it.
    if (n > 0 && (!l->getXCoords() || !l->getYCoords()))
        return DxfReader::tr("vertex count %1 but no vertex given").arg(n);
    std::vector<QPointF> pts;
    std::vector<double> bulges;
    for (int i = 0; i < n; ++i) {
        pts.emplace_back(l->getXCoords()[i], l->getYCoords()[i]);
        bulges.push_back(l->getBulges() ? double(l->getBulges()[i]) : 0.0);
    }
    bulgedPolyline(pen, pts, bulges, l->getFlags() & 1);
    return QString();
}

QString polyline(DxfPen &pen, dimeEntity *e, const DxfAffine &)
{
    auto *l = static_cast<dimePolyline *>(e);
    // A 3D polyline (flag 8) is in world coordinates, a 2D one in its own.
    if (l->getFlags() & 8)
        pen.setObjectSystem(DxfAffine());
    std::vector<QPointF> pts;
    std::vector<double> bulges;
    for (int i = 0; i < l->getNumCoordVertices(); ++i) {
        dimeVertex *v = l->getCoordVertex(i);
        pts.emplace_back(v->getCoords()[0], v->getCoords()[1]);
        dimeParam bulge;
        bulges.push_back(v->getRecord(42, bulge) ? double(bulge.double_data) : 0.0);
    }
    bulgedPolyline(pen, pts, bulges, l->getFlags() & 1);
    return QString();
}

QString circle(DxfPen &pen, dimeEntity *e, const DxfAffine &)
{
    auto *k = static_cast<dimeCircle *>(e);
    arc(pen, k->getCenter()[0], k->getCenter()[1], k->getRadius(), 0, 2 * M_PI);
    return QString();
}

QString arcEntity(DxfPen &pen, dimeEntity *e, const DxfAffine &)
{
    auto *a = static_cast<dimeArc *>(e);
    dimeVec3f center;
    a->getCenter(center);
    const double sweep = sweepOf(a->getStartAngle(), a->getEndAngle(), 360);
    arc(pen, center[0], center[1], a->getRadius(), a->getStartAngle() * M_PI / 180, sweep * M_PI / 180);
    return QString();
}

// Centre and major axis are in world coordinates; the extrusion only says
// which way the minor axis turns (against +z it runs the other way).
QString ellipse(DxfPen &pen, dimeEntity *e, const DxfAffine &plane)
{
    auto *el = static_cast<dimeEllipse *>(e);
    const double cx = el->getCenter()[0], cy = el->getCenter()[1];
    const double ax = el->getMajorAxisEndpoint()[0], ay = el->getMajorAxisEndpoint()[1];
    const double k = el->getMinorMajorRatio() * (plane.a < 0 ? -1 : 1);
    const double t0 = el->getStartParam();
    const double sweep = sweepOf(t0, el->getEndParam(), 2 * M_PI);
    const double major = std::hypot(ax, ay);
    if (!(major > 0))
        return QString();
    const int n = arcs::chordCount(major, sweep, pen.tolerance());
    const auto at = [&](double t) {
        return QPointF(cx + ax * std::cos(t) - k * ay * std::sin(t), cy + ay * std::cos(t) + k * ax * std::sin(t));
    };
    pen.begin(at(t0));
    for (int i = 1; i <= n && pen.to(at(t0 + sweep * i / n)); ++i) {
    }
    pen.end();
    return QString();
}

#include "DxfSpline.inc"

QString nothing(DxfPen &, dimeEntity *, const DxfAffine &) { return QString(); }

using Handler = QString (*)(DxfPen &, dimeEntity *, const DxfAffine &);
enum Plane { World, Object, Normal };
struct Row {
    const char *name;
    Handler handler; // nothing: carries no cut geometry, passed over
    Plane plane;     // World: coordinates as written; Object: in the entity's
                     // OCS; Normal: world, but the extrusion sets the turn
};
const Row Rows[] = {
    {"LINE", line, World},       {"LWPOLYLINE", lwpolyline, Object}, {"POLYLINE", polyline, Object},
    {"CIRCLE", circle, Object},  {"ARC", arcEntity, Object},         {"ELLIPSE", ellipse, Normal},
    {"SPLINE", spline, World},   {"POINT", nothing, World},          {"VERTEX", nothing, World},
    {"SEQEND", nothing, World},  {"VIEWPORT", nothing, World},       {"ATTDEF", nothing, World},
    {"BLOCK", nothing, World},   {"ENDBLK", nothing, World},
};

double record(const dimeEntity *e, int code, double fallback)
{
    dimeParam p;
    return e->getRecord(code, p) ? double(p.double_data) : fallback;
}

} // namespace

QString dxfHandle(const dimeEntity *entity)
{
    dimeParam handle;
    return entity->getRecord(5, handle) && handle.string_data ? QString::fromLatin1(handle.string_data) : QString();
}

bool dxfTrueColour(const dimeRecordHolder *holder, QString *colour)
{
    dimeParam p;
    if (!holder->getRecord(420, p))
        return false;
    // libdime has no type for 420 and keeps it as text.
    const bool text = dimeRecord::getRecordType(420) == dimeBase::dimeStringRecordType;
    bool ok = !text;
    const qint64 value = text ? (p.string_data ? QByteArray(p.string_data).trimmed().toLongLong(&ok) : 0)
                              : qint64(p.int32_data);
    if (!ok || value < 0)
        return false;
    *colour = QStringLiteral("#%1").arg(uint(value) & 0xffffffu, 6, 16, QLatin1Char('0'));
    return true;
}

QString dxfIndexColour(int index)
{
    // Made once: inserts ask for colours millions of times.
    static const std::vector<QString> palette = [] {
        // libdime's 9 is 0.75 grey; CAD shows 192.
        static const char *const named[] = {"#ff0000", "#ffff00", "#00ff00", "#00ffff", "#0000ff",
                                            "#ff00ff", "#ffffff", "#808080", "#c0c0c0"};
        std::vector<QString> colours(256);
        for (int i = 1; i < 256; ++i) {
            if (i <= 9) {
                colours[std::size_t(i)] = QLatin1String(named[i - 1]);
                continue;
            }
            dxfdouble r = 1, g = 1, b = 1;
            dimeLayer::colorToRGB(i, r, g, b);
            const auto byte = [](double v) { return qBound(0, int(std::lround(v * 255)), 255); };
            colours[std::size_t(i)] = QStringLiteral("#%1%2%3")
                                          .arg(byte(r), 2, 16, QLatin1Char('0'))
                                          .arg(byte(g), 2, 16, QLatin1Char('0'))
                                          .arg(byte(b), 2, 16, QLatin1Char('0'));
        }
        return colours;
    }();
    return index >= 1 && index <= 255 ? palette[std::size_t(index)] : QStringLiteral("#ffffff");
}

DxfDrawn dxfDrawEntity(DxfPen &pen, dimeEntity *entity, QString *why)
{
    const char *name = entity->getEntityName();
    const auto who = [&] {
        const QString kind = QString::fromLatin1(name), handle = dxfHandle(entity);
        return handle.isEmpty() ? DxfReader::tr("entity %1").arg(kind)
                                : DxfReader::tr("entity %1 (handle %2)").arg(kind, handle);
    };
    for (const Row &row : Rows) {
        if (std::strcmp(row.name, name) != 0)
            continue;
        if (row.handler == nothing)
            return DxfDrawn::Nothing;
        DxfAffine plane;
        if (row.plane != World) {
            const double nx = record(entity, 210, 0), ny = record(entity, 220, 0), nz = record(entity, 230, 1);
            if (!dxfObjectSystem(nx, ny, nz, plane)) {
                *why = DxfReader::tr("%1 lies in a plane tilted out of the drawing (extrusion %2, %3, %4)")
                           .arg(who()).arg(nx).arg(ny).arg(nz);
                return DxfDrawn::Refused;
            }
        }
        pen.setObjectSystem(row.plane == Object ? plane : DxfAffine());
        *why = row.handler(pen, entity, plane);
        if (!why->isEmpty()) {
            *why = who() + QStringLiteral(": ") + *why;
            return DxfDrawn::Refused;
        }
        return DxfDrawn::Cut;
    }
    *why = DxfReader::tr("%1 draws geometry this reader does not support").arg(who());
    return DxfDrawn::Refused;
}
