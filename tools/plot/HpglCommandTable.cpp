// SPDX-License-Identifier: LGPL-2.1-or-later
// What each HP-GL command does, one row per mnemonic, and the handlers the
// rows name. A command missing here is refused as unknown.
#include "HpglInterpreter.h"

#include "ArcFlattening.h"

#include <cmath>

const HpglInterpreter::Row *HpglInterpreter::find(std::uint16_t op)
{
using H = HpglInterpreter;
using P = H::Params;
static constexpr const char *Draws = QT_TRANSLATE_NOOP("HpglInterpreter", "draws geometry this reader does not support");

// Ignored rows do not move the tool: pen, line and fill attributes, paging,
// character set and size (LB itself is refused), output and setup queries.
static const H::Row Rows[] = {
    {"PU", P::Numbers, &H::penUp, nullptr},
    {"PD", P::Numbers, &H::penDown, nullptr},
    {"PA", P::Numbers, &H::plotAbsolute, nullptr},
    {"PR", P::Numbers, &H::plotRelative, nullptr},
    {"PE", P::Encoded, nullptr, nullptr},
    {"IN", P::Numbers, &H::init, nullptr},
    {"DF", P::Numbers, &H::defaults, nullptr},
    {"IP", P::Numbers, &H::inputP1P2, nullptr},
    {"IR", P::Numbers, &H::inputRelative, nullptr},
    {"SC", P::Numbers, &H::scale, nullptr},
    {"RO", P::Numbers, &H::rotate, nullptr},
    {"IW", P::Numbers, &H::inputWindow, nullptr},
    {"CI", P::Numbers, &H::circle, nullptr},
    {"AA", P::Numbers, &H::arcAbsolute, nullptr},
    {"AR", P::Numbers, &H::arcRelative, nullptr},
    {"AT", P::Numbers, &H::arcThreePointAbsolute, nullptr},
    {"RT", P::Numbers, &H::arcThreePointRelative, nullptr},
    {"EA", P::Numbers, &H::rectAbsolute, nullptr},
    {"RA", P::Numbers, &H::rectAbsolute, nullptr},
    {"ER", P::Numbers, &H::rectRelative, nullptr},
    {"RR", P::Numbers, &H::rectRelative, nullptr},
    {"PM", P::Numbers, &H::polygonMode, nullptr},
    {"EP", P::Numbers, &H::polygonEmit, nullptr},
    {"FP", P::Numbers, &H::polygonFill, nullptr},
    {"LB", P::Refused, nullptr, QT_TRANSLATE_NOOP("HpglInterpreter", "labels are not supported; convert text to paths")},
    {"BZ", P::Refused, nullptr, Draws}, {"BR", P::Refused, nullptr, Draws},
    {"WG", P::Refused, nullptr, Draws}, {"EW", P::Refused, nullptr, Draws},
    {"TL", P::Refused, nullptr, Draws}, {"XT", P::Refused, nullptr, Draws},
    {"YT", P::Refused, nullptr, Draws}, {"UC", P::Refused, nullptr, Draws},
    {"SM", P::Refused, nullptr, Draws}, {"BL", P::Refused, nullptr, Draws},
    {"PB", P::Refused, nullptr, Draws},
    {"SP", P::Numbers, &H::selectPen, nullptr}, {"PW", P::Ignored, nullptr, nullptr},
    {"LT", P::Ignored, nullptr, nullptr}, {"VS", P::Ignored, nullptr, nullptr},
    {"FS", P::Ignored, nullptr, nullptr}, {"PG", P::Ignored, nullptr, nullptr},
    {"CT", P::Ignored, nullptr, nullptr}, {"NR", P::Ignored, nullptr, nullptr},
    {"PS", P::Ignored, nullptr, nullptr}, {"EC", P::Ignored, nullptr, nullptr},
    {"AS", P::Ignored, nullptr, nullptr}, {"SA", P::Ignored, nullptr, nullptr},
    {"SS", P::Ignored, nullptr, nullptr}, {"CS", P::Ignored, nullptr, nullptr},
    {"CA", P::Ignored, nullptr, nullptr}, {"SI", P::Ignored, nullptr, nullptr},
    {"SR", P::Ignored, nullptr, nullptr}, {"SL", P::Ignored, nullptr, nullptr},
    {"DI", P::Ignored, nullptr, nullptr}, {"DR", P::Ignored, nullptr, nullptr},
    {"ES", P::Ignored, nullptr, nullptr}, {"FT", P::Ignored, nullptr, nullptr},
    {"LA", P::Ignored, nullptr, nullptr}, {"TR", P::Ignored, nullptr, nullptr},
    {"MC", P::Ignored, nullptr, nullptr}, {"PP", P::Ignored, nullptr, nullptr},
    {"RF", P::Ignored, nullptr, nullptr}, {"UL", P::Ignored, nullptr, nullptr},
    {"WU", P::Ignored, nullptr, nullptr}, {"PC", P::Ignored, nullptr, nullptr},
    {"NP", P::Ignored, nullptr, nullptr}, {"CR", P::Ignored, nullptr, nullptr},
    {"QL", P::Ignored, nullptr, nullptr}, {"BP", P::Ignored, nullptr, nullptr},
    {"PT", P::Ignored, nullptr, nullptr}, {"LO", P::Ignored, nullptr, nullptr},
    {"CP", P::Ignored, nullptr, nullptr}, {"DT", P::Ignored, nullptr, nullptr},
    {"AH", P::Ignored, nullptr, nullptr}, {"KY", P::Ignored, nullptr, nullptr},
    {"OA", P::Ignored, nullptr, nullptr}, {"OC", P::Ignored, nullptr, nullptr},
    {"OD", P::Ignored, nullptr, nullptr}, {"OE", P::Ignored, nullptr, nullptr},
    {"OF", P::Ignored, nullptr, nullptr}, {"OH", P::Ignored, nullptr, nullptr},
    {"OI", P::Ignored, nullptr, nullptr}, {"OO", P::Ignored, nullptr, nullptr},
    {"OP", P::Ignored, nullptr, nullptr}, {"OS", P::Ignored, nullptr, nullptr},
    {"OW", P::Ignored, nullptr, nullptr}, {"OT", P::Ignored, nullptr, nullptr},
    {"OG", P::Ignored, nullptr, nullptr}, {"OK", P::Ignored, nullptr, nullptr},
    {"OL", P::Ignored, nullptr, nullptr}, {"ZZ", P::Ignored, nullptr, nullptr},
    {"VA", P::Ignored, nullptr, nullptr}, {"VN", P::Ignored, nullptr, nullptr},
    {"GC", P::Ignored, nullptr, nullptr}, {"GM", P::Ignored, nullptr, nullptr},
    {"IM", P::Ignored, nullptr, nullptr}, {"AP", P::Ignored, nullptr, nullptr},
    {"FR", P::Ignored, nullptr, nullptr}, {"EF", P::Ignored, nullptr, nullptr},
};
    for (const Row &row : Rows)
        if (HpglTokenizer::code(row.name[0], row.name[1]) == op)
            return &row;
    return nullptr;
}

bool HpglInterpreter::moveList(const Args &a, bool relative)
{
    if (a.size() % 2)
        return fail(tr("odd number of coordinates"));
    for (size_t i = 0; i < a.size(); i += 2) {
        const QPointF to = relative ? m_pos + deltaToPlotter(a[i], a[i + 1]) : toPlotter(a[i], a[i + 1]);
        penMove(to, m_down);
        if (!withinBudget(0, 1))
            return false;
    }
    return true;
}

bool HpglInterpreter::penUp(const Args &a)
{
    if (a.size() % 2)
        return fail(tr("odd number of coordinates"));
    setPen(false);
    return moveList(a, m_relative);
}

bool HpglInterpreter::penDown(const Args &a)
{
    if (a.size() % 2)
        return fail(tr("odd number of coordinates"));
    setPen(true);
    return moveList(a, m_relative);
}

bool HpglInterpreter::plotAbsolute(const Args &a)
{
    m_relative = false;
    return moveList(a, false);
}

bool HpglInterpreter::plotRelative(const Args &a)
{
    m_relative = true;
    return moveList(a, true);
}

bool HpglInterpreter::init(const Args &)
{
    setPen(false);
    m_p1Known = m_p2Known = false;
    m_rotation = 0;
    m_polygon = false;
    m_polygons.clear();
    m_subpolygon = 0;
    m_polygonPoints = 0;
    return defaults({});
}

bool HpglInterpreter::defaults(const Args &)
{
    m_relative = false;
    m_scaled = false;
    m_windowed = false;
    rescale();
    return true;
}

bool HpglInterpreter::inputP1P2(const Args &a)
{
    if (a.empty()) {
        m_p1Known = m_p2Known = false;
    } else if (a.size() == 2) {
        // P2 follows P1 so the frame keeps its size.
        m_p2 += QPointF(a[0], a[1]) - m_p1;
        m_p1 = QPointF(a[0], a[1]);
        m_p1Known = true;
    } else if (a.size() == 4) {
        m_p1 = QPointF(a[0], a[1]);
        m_p2 = QPointF(a[2], a[3]);
        m_p1Known = m_p2Known = true;
    } else {
        return fail(tr("expects 0, 2 or 4 parameters"));
    }
    const QString e = rescale();
    return e.isEmpty() || fail(e);
}

bool HpglInterpreter::inputRelative(const Args &a)
{
    if (!a.empty())
        return fail(tr("relative scaling points depend on the machine"));
    return inputP1P2(a);
}

bool HpglInterpreter::scale(const Args &a)
{
    if (a.empty()) {
        m_scaled = false;
        rescale();
        return true;
    }
    if (a.size() != 4 && a.size() != 5 && a.size() != 7)
        return fail(tr("expects 0, 4, 5 or 7 parameters"));
    // Compared as a number first: a type beyond int made the cast undefined.
    const double type = a.size() >= 5 ? std::trunc(a[4]) : 0;
    if (type != 0 && type != 1 && type != 2)
        return fail(tr("scaling type must be 0, 1 or 2"));
    if (a.size() == 7 && type != 1)
        return fail(tr("left and bottom shares belong to isotropic scaling"));
    m_scType = int(type);
    m_scLeft = a.size() == 7 ? a[5] : 50;
    m_scBottom = a.size() == 7 ? a[6] : 50;
    for (int i = 0; i < 4; ++i)
        m_sc[i] = a[size_t(i)];
    m_scaled = true;
    const QString e = rescale();
    return e.isEmpty() || fail(e);
}

bool HpglInterpreter::rotate(const Args &a)
{
    const double angle = a.empty() ? 0 : std::fmod(a[0], 360.0);
    if (std::fmod(angle, 90.0) != 0)
        return fail(tr("rotation other than 0, 90, 180 or 270 degrees"));
    endStroke();
    m_rotation = (int(angle) + 360) % 360;
    return true;
}

bool HpglInterpreter::inputWindow(const Args &a)
{
    endStroke();
    if (a.empty()) {
        m_windowed = false;
        return true;
    }
    if (a.size() != 4)
        return fail(tr("expects 0 or 4 parameters"));
    m_window = QRectF(toPlotter(a[0], a[1]), toPlotter(a[2], a[3])).normalized();
    m_windowed = true;
    return true;
}

bool HpglInterpreter::circle(const Args &a)
{
    if (a.empty() || a.size() > 2)
        return fail(tr("expects a radius and an optional chord angle"));
    const double r = std::abs(a[0] * m_sx);
    if (r == 0)
        return true;
    const QPointF center = m_pos;
    std::vector<QPointF> points{center + QPointF(r, 0)};
    const int n = arcs::chordCount(r, 2 * M_PI, m_tolerance);
    if (!withinBudget(n + 1, n))
        return false;
    points.reserve(size_t(n) + 1);
    arcs::flatten(center, r, 0, 2 * M_PI, m_tolerance, [&](const QPointF &p) { points.push_back(p); });
    points.back() = points.front();
    if (m_polygon) {
        // A circle is a subpolygon of its own; the pen stays at the center.
        m_polygonPoints += qint64(points.size()) + 1;
        m_polygons.push_back(std::move(points));
        m_polygons.emplace_back(1, m_pos);
        m_subpolygon = m_polygons.size() - 1;
    } else {
        polyline(points, true);
    }
    return true;
}

bool HpglInterpreter::arcAbsolute(const Args &a)
{
    if (a.size() != 3 && a.size() != 4)
        return fail(tr("expects a center, a sweep angle and an optional chord angle"));
    return sweepInRange(a[2]) && arc(toPlotter(a[0], a[1]), a[2] * M_PI / 180);
}

bool HpglInterpreter::arcRelative(const Args &a)
{
    if (a.size() != 3 && a.size() != 4)
        return fail(tr("expects a center, a sweep angle and an optional chord angle"));
    return sweepInRange(a[2]) && arc(m_pos + deltaToPlotter(a[0], a[1]), a[2] * M_PI / 180);
}

bool HpglInterpreter::arcThreePointAbsolute(const Args &a)
{
    if (a.size() != 4 && a.size() != 5)
        return fail(tr("expects two points and an optional chord angle"));
    return arcThreePoint(toPlotter(a[0], a[1]), toPlotter(a[2], a[3]));
}

bool HpglInterpreter::arcThreePointRelative(const Args &a)
{
    if (a.size() != 4 && a.size() != 5)
        return fail(tr("expects two points and an optional chord angle"));
    return arcThreePoint(m_pos + deltaToPlotter(a[0], a[1]), m_pos + deltaToPlotter(a[2], a[3]));
}

bool HpglInterpreter::rectAbsolute(const Args &a)
{
    if (a.size() != 2)
        return fail(tr("expects one corner"));
    return rectangle(toPlotter(a[0], a[1]));
}

bool HpglInterpreter::rectRelative(const Args &a)
{
    if (a.size() != 2)
        return fail(tr("expects one corner"));
    return rectangle(m_pos + deltaToPlotter(a[0], a[1]));
}

bool HpglInterpreter::polygonMode(const Args &a)
{
    const double mode = a.empty() ? 0 : a[0];
    if (mode == 0) {
        endStroke();
        m_polygon = true;
        m_polygonEmitted = false;
        m_polygons.clear();
        m_polygonPoints = 1;
        m_polygons.emplace_back(1, m_pos);
        m_subpolygon = 0;
    } else if (mode == 1 || mode == 2) {
        if (m_polygon)
            closeSubpolygon();
        if (m_polygon && mode == 1) {
            m_polygons.emplace_back();
            m_subpolygon = m_polygons.size() - 1;
        }
        m_polygon = m_polygon && mode == 1;
    } else {
        return fail(tr("expects 0, 1 or 2"));
    }
    return true;
}

void HpglInterpreter::closeSubpolygon()
{
    // PM1 and PM2 close the subpolygon with the pen as it is: writers lift
    // it first to edge an open line (plotutils does for every stroke), so
    // the closing edge is cut only when the pen is down.
    const std::vector<QPointF> &first = m_polygons[m_subpolygon];
    std::vector<QPointF> &last = m_polygons.back();
    if (m_down && !first.empty() && !last.empty() && last.back() != first.front()) {
        last.push_back(first.front());
        ++m_polygonPoints;
    }
}

bool HpglInterpreter::polygonEmit(const Args &)
{
    // Files fill and then edge the same polygon: it is cut once.
    if (m_polygon || m_polygonEmitted)
        return true;
    for (const auto &poly : m_polygons)
        polyline(poly, false);
    m_polygonEmitted = true;
    return true;
}

bool HpglInterpreter::polygonFill(const Args &)
{
    // A fill has no open sides: what it covers is cut round.
    if (m_polygon || m_polygonEmitted)
        return true;
    for (const auto &poly : m_polygons)
        polyline(poly, true);
    m_polygonEmitted = true;
    return true;
}

bool HpglInterpreter::selectPen(const Args &a)
{
    if (a.size() > 1)
        return fail(tr("expects one pen number"));
    return usePen(a.empty() ? 0 : a[0]);
}

bool HpglInterpreter::usePen(double pen)
{
    const double n = std::trunc(pen);
    if (!(n >= 0 && n <= MaxPen))
        return fail(tr("pen %1 is out of range").arg(QString::number(pen, 'g', 15)));
    endStroke();
    m_doc.setSource(PathSource{int(n), QString(), QString()});
    m_doc.setCurrentTool(n == 2 ? 2 : 1);
    return true;
}
