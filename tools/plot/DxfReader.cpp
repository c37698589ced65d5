// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DxfReader.h"

#include "ArcFlattening.h"

#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/State.h>
#include <dime/entities/Arc.h>
#include <dime/entities/Circle.h>
#include <dime/entities/Ellipse.h>
#include <dime/entities/LWPolyline.h>
#include <dime/entities/Line.h>
#include <dime/entities/Polyline.h>
#include <dime/entities/Spline.h>
#include <dime/entities/Vertex.h>
#include <dime/sections/HeaderSection.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

struct Context {
    PlotDocument *doc;
    double unit;      // mm per drawing unit
    double tolerance; // mm
    const dimeMatrix *matrix = nullptr;
    QString error;
    qint64 pointBudget = 0; // as in HpglInterpreter: bounded by the input size

    QPointF map(double x, double y) const
    {
        dimeVec3f v(dxfdouble(x), dxfdouble(y), 0);
        matrix->multMatrixVec(v);
        return QPointF(v[0] * unit, v[1] * unit);
    }
    // Tolerance in drawing units, under the insert's scale.
    double localTolerance() const
    {
        dimeVec3f o(0, 0, 0), x(1, 0, 0), y(0, 1, 0);
        matrix->multMatrixVec(o);
        matrix->multMatrixVec(x);
        matrix->multMatrixVec(y);
        const double sx = std::hypot(x[0] - o[0], x[1] - o[1]), sy = std::hypot(y[0] - o[0], y[1] - o[1]);
        const double s = std::max(sx, sy) * unit;
        return s > 0 ? tolerance / s : tolerance;
    }
};

// A polyline's vertices with their bulges (tan of a quarter of the arc).
void bulgedPolyline(Context &c, const std::vector<QPointF> &pts, const std::vector<double> &bulges, bool closed)
{
    const std::size_t n = pts.size();
    if (n < 2)
        return;
    const double tol = c.localTolerance();
    c.doc->beginPath(c.map(pts[0].x(), pts[0].y()));
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const QPointF a = pts[i], b = pts[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0;
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        if (bulge != 0 && len > 0 && std::isfinite(bulge)) {
            const QPointF mid = (a + b) / 2, normal(-(b.y() - a.y()) / len, (b.x() - a.x()) / len);
            const QPointF center = mid + normal * (len / 2 * (1 - bulge * bulge) / (2 * bulge));
            const double r = std::hypot(a.x() - center.x(), a.y() - center.y());
            arcs::flatten(center, r, std::atan2(a.y() - center.y(), a.x() - center.x()), 4 * std::atan(bulge), tol,
                          [&](const QPointF &p) { c.doc->lineTo(c.map(p.x(), p.y())); });
        }
        c.doc->lineTo(c.map(b.x(), b.y()));
    }
    c.doc->endPath();
}

void arc(Context &c, double cx, double cy, double r, double start, double sweep)
{
    if (!(r > 0))
        return;
    c.doc->beginPath(c.map(cx + r * std::cos(start), cy + r * std::sin(start)));
    arcs::flatten(QPointF(cx, cy), r, start, sweep, c.localTolerance(),
                  [&](const QPointF &p) { c.doc->lineTo(c.map(p.x(), p.y())); });
    c.doc->endPath();
}

void line(Context &c, dimeEntity *e)
{
    auto *l = static_cast<dimeLine *>(e);
    c.doc->beginPath(c.map(l->getCoords(0)[0], l->getCoords(0)[1]));
    c.doc->lineTo(c.map(l->getCoords(1)[0], l->getCoords(1)[1]));
    c.doc->endPath();
}

void lwpolyline(Context &c, dimeEntity *e)
{
    auto *l = static_cast<dimeLWPolyline *>(e);
    const int n = l->getNumVertices();
    std::vector<QPointF> pts;
    std::vector<double> bulges;
    for (int i = 0; i < n; ++i) {
        pts.emplace_back(l->getXCoords()[i], l->getYCoords()[i]);
        bulges.push_back(l->getBulges() ? double(l->getBulges()[i]) : 0.0);
    }
    bulgedPolyline(c, pts, bulges, l->getFlags() & 1);
}

void polyline(Context &c, dimeEntity *e)
{
    auto *l = static_cast<dimePolyline *>(e);
    std::vector<QPointF> pts;
    std::vector<double> bulges;
    for (int i = 0; i < l->getNumCoordVertices(); ++i) {
        dimeVertex *v = l->getCoordVertex(i);
        pts.emplace_back(v->getCoords()[0], v->getCoords()[1]);
        dimeParam bulge;
        bulges.push_back(v->getRecord(42, bulge) ? double(bulge.double_data) : 0.0);
    }
    bulgedPolyline(c, pts, bulges, l->getFlags() & 1);
}

void circle(Context &c, dimeEntity *e)
{
    auto *k = static_cast<dimeCircle *>(e);
    arc(c, k->getCenter()[0], k->getCenter()[1], k->getRadius(), 0, 2 * M_PI);
}

void arcEntity(Context &c, dimeEntity *e)
{
    auto *a = static_cast<dimeArc *>(e);
    dimeVec3f center;
    a->getCenter(center);
    double sweep = std::fmod(double(a->getEndAngle()) - a->getStartAngle(), 360.0);
    if (sweep <= 0)
        sweep += 360;
    arc(c, center[0], center[1], a->getRadius(), a->getStartAngle() * M_PI / 180, sweep * M_PI / 180);
}

void ellipse(Context &c, dimeEntity *e)
{
    auto *el = static_cast<dimeEllipse *>(e);
    const double cx = el->getCenter()[0], cy = el->getCenter()[1];
    const double ax = el->getMajorAxisEndpoint()[0], ay = el->getMajorAxisEndpoint()[1];
    const double k = el->getMinorMajorRatio();
    const double t0 = el->getStartParam();
    double sweep = std::fmod(double(el->getEndParam()) - t0, 2 * M_PI);
    if (sweep <= 1e-9)
        sweep += 2 * M_PI;
    const double major = std::hypot(ax, ay);
    const int n = arcs::chordCount(major, sweep, c.localTolerance());
    const auto at = [&](double t) {
        return c.map(cx + ax * std::cos(t) - k * ay * std::sin(t), cy + ay * std::cos(t) + k * ax * std::sin(t));
    };
    c.doc->beginPath(at(t0));
    for (int i = 1; i <= n; ++i)
        c.doc->lineTo(at(t0 + sweep * i / n));
    c.doc->endPath();
}

#include "DxfSpline.inc"

using Handler = void (*)(Context &, dimeEntity *);
struct Row {
    const char *name;
    Handler handler; // nullptr: carries no cut geometry, passed over
};
const Row Rows[] = {
    {"LINE", line}, {"LWPOLYLINE", lwpolyline}, {"POLYLINE", polyline}, {"CIRCLE", circle},
    {"ARC", arcEntity}, {"ELLIPSE", ellipse}, {"SPLINE", spline},
    {"POINT", nullptr}, {"VERTEX", nullptr}, {"SEQEND", nullptr}, {"VIEWPORT", nullptr},
    {"ATTDEF", nullptr}, {"BLOCK", nullptr}, {"ENDBLK", nullptr}, {"INSERT", nullptr},
};

bool visit(const dimeState *const state, dimeEntity *entity, void *data)
{
    auto *c = static_cast<Context *>(data);
    if (qint64(c->doc->pointCount()) > c->pointBudget) {
        c->error = DxfReader::tr("the drawing expands beyond %1 points; not a drawing to cut").arg(c->pointBudget);
        return false;
    }
    const char *name = entity->getEntityName();
    for (const Row &row : Rows) {
        if (std::strcmp(row.name, name) == 0) {
            if (row.handler) {
                c->matrix = &state->getMatrix();
                row.handler(*c, entity);
            }
            return true;
        }
    }
    dimeParam handle;
    const QString kind = QString::fromLatin1(name);
    if (entity->getRecord(5, handle) && handle.string_data)
        c->error = DxfReader::tr("entity %1 (handle %2) draws geometry this reader does not support")
                       .arg(kind, QString::fromLatin1(handle.string_data));
    else
        c->error = DxfReader::tr("entity %1 draws geometry this reader does not support").arg(kind);
    return false;
}

double unitScale(dimeModel &model)
{
    // $INSUNITS codes 0..20; 0 (unitless) is taken as millimetres.
    static const double mm[] = {1, 25.4, 304.8, 1609344, 1, 10, 1000, 1e6, 2.54e-5, 0.0254, 914.4,
                                1e-7, 1e-6, 1e-3, 100, 1e4, 1e5, 1e12, 1.495978707e14, 9.4607e18, 3.0857e19};
    auto *header = static_cast<dimeHeaderSection *>(model.findSection("HEADER"));
    if (!header)
        return 1;
    int codes[1];
    dimeParam params[1];
    if (header->getVariable("$INSUNITS", codes, params, 1) != 1)
        return 1;
    const int u = params[0].int16_data;
    return u >= 0 && u <= 20 ? mm[u] : 1;
}

// libdime sizes a SPLINE's arrays from its count records (72 knots, 73
// control points, 74 fit points) and then trusts them: a count with fewer
// values, or values before their count, leaves it reading a null or short
// array. Text DXF is checked here first; "line" is the file's line.
QString checkSplineCounts(const QByteArray &data)
{
    struct Count {
        int declared = -1, seen = 0;
        bool early = false;
    };
    const int valueCode[3] = {40, 10, 11}, countCode[3] = {72, 73, 74};
    static const char *const mismatch[3] = {
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: knots do not match their count"),
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: control points do not match their count"),
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: fit points do not match their count")};
    Count counts[3];
    bool inSpline = false;
    int splineLine = 0;
    const auto finish = [&]() -> QString {
        for (int k = 0; k < 3; ++k) {
            const Count &c = counts[k];
            if (c.early || (c.declared >= 0 && c.declared != c.seen) || (c.declared < 0 && c.seen > 0))
                return DxfReader::tr(mismatch[k]).arg(splineLine);
        }
        return QString();
    };
    int line = 0;
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        const QByteArray codeText = data.mid(at, end - at).trimmed();
        ++line;
        at = end + 1;
        end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        const QByteArray value = data.mid(at, end - at).trimmed();
        ++line;
        at = end + 1;
        bool ok = false;
        const int code = codeText.toInt(&ok);
        // libdime reads "7-1" as 7 and goes on out of step; stop here.
        if (!ok && !(codeText.isEmpty() && at >= data.size()))
            return DxfReader::tr("line %1: group code \"%2\" is not a number")
                .arg(line - 1).arg(QString::fromLatin1(codeText.left(20)));
        if (code == 0) {
            if (inSpline)
                if (const QString e = finish(); !e.isEmpty())
                    return e;
            inSpline = value == "SPLINE";
            splineLine = line;
            for (Count &c : counts)
                c = Count();
            continue;
        }
        if (!inSpline)
            continue;
        for (int k = 0; k < 3; ++k) {
            if (code == countCode[k])
                counts[k].declared = value.toInt();
            if (code == valueCode[k]) {
                if (counts[k].declared < 0)
                    counts[k].early = true;
                ++counts[k].seen;
            }
        }
    }
    return inSpline ? finish() : QString();
}

} // namespace

bool DxfReader::looksLikeDxf(const QByteArray &data)
{
    if (data.startsWith("AutoCAD Binary DXF"))
        return true;
    // Text DXF: group code 0, then SECTION (or a comment, code 999).
    const QByteArray head = data.left(512).trimmed();
    return (head.startsWith("0") || head.startsWith("999")) && data.left(4096).contains("SECTION");
}

bool DxfReader::read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm)
{
    m_error.clear();
    if (data.startsWith("AutoCAD Binary DXF")) {
        m_error = tr("binary DXF is not supported; save the drawing as text DXF");
        return false;
    }
    m_error = checkSplineCounts(data);
    if (!m_error.isEmpty())
        return false;
    FILE *fp = fmemopen(const_cast<char *>(data.constData()), size_t(data.size()), "rb");
    if (!fp || data.isEmpty()) {
        if (fp)
            fclose(fp);
        m_error = tr("empty DXF file");
        return false;
    }
    dimeInput in;
    in.setFileHandle(fp);
    dimeModel model;
    const bool ok = model.read(&in);
    const int line = in.getFilePosition();
    fclose(fp);
    if (!ok) {
        m_error = tr("not a readable DXF file (libdime stopped near line %1)").arg(line);
        return false;
    }
    Context c{&doc, unitScale(model), chordToleranceMm, nullptr, QString(),
              qint64(doc.pointCount()) + (2 << 20) + 128 * qint64(data.size())};
    const int first = doc.pathCount();
    model.traverseEntities(visit, &c, false, true, false);
    if (doc.building())
        doc.endPath();
    // Exporters write contours as runs of LINE and SPLINE pieces.
    doc.joinConsecutive(first, 1e-4);
    if (!c.error.isEmpty()) {
        m_error = c.error;
        return false;
    }
    return true;
}
