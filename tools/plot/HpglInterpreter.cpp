// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HpglInterpreter.h"

#include <QLineF>

#include "ArcFlattening.h"

#include <cmath>

HpglInterpreter::HpglInterpreter(PlotDocument &out, double chordToleranceMm)
    : m_doc(out), m_tolerance(chordToleranceMm * UnitsPerMm)
{
}

bool HpglInterpreter::failAt(qint64 offset, const QString &message)
{
    m_errorOffset = offset;
    m_errorCommand = m_tok->opName();
    const QString where = m_tok->where(offset);
    if (!m_errorCommand.isEmpty() && m_tok->op() != 0) {
        //: %1 is where in the file ("byte 120 (line 4, column 7)"), %2 the HP-GL command, %3 what is wrong
        m_error = tr("%1, command %2: %3").arg(where, QString::fromLatin1(m_errorCommand), message);
    } else {
        m_errorCommand.clear();
        m_error = where + QStringLiteral(": ") + message;
    }
    return false;
}

bool HpglInterpreter::fail(const QString &message)
{
    return failAt(m_tok->commandOffset(), message);
}

bool HpglInterpreter::run(const QByteArray &data)
{
    HpglTokenizer tok(data);
    m_tok = &tok;
    ReadBudget own(data.size());
    ReadBudget *const given = m_budget;
    if (!m_budget)
        m_budget = &own;
    Args args;
    args.reserve(64);
    bool ok = true;
    while (ok && tok.nextCommand()) {
        const Row *row = find(tok.op());
        if (!row) {
            // Unknown: skip its parameters first so the message names it.
            ok = fail(tr("unknown command"));
            break;
        }
        switch (row->params) {
        case Params::Refused:
            ok = fail(tr(row->refusal));
            break;
        case Params::Ignored:
            ok = tok.skipAny();
            break;
        case Params::Encoded: {
            const char *b = nullptr, *e = nullptr;
            ok = tok.raw(b, e) && encoded(b, e);
            break;
        }
        case Params::Numbers:
            ok = tok.numbers(args) && (this->*row->handler)(args);
            break;
        }
        if (ok && !m_outOfRange.isEmpty())
            ok = fail(m_outOfRange);
        if (ok)
            ok = withinBudget(0, 1);
    }
    if (ok && tok.failed())
        ok = false;
    if (!ok && m_error.isEmpty())
        failAt(tok.errorOffset(), tok.errorMessage());
    endStroke();
    m_tok = nullptr;
    m_budget = given;
    return ok;
}

bool HpglInterpreter::withinBudget(qint64 morePoints, qint64 steps)
{
    if (m_budget->step(steps) && m_budget->points(qint64(m_doc.pointCount()) + m_polygonPoints + morePoints))
        return true;
    switch (m_budget->stopped()) {
    case ReadBudget::Stop::Cancelled:
        return fail(tr("cancelled"));
    case ReadBudget::Stop::Steps:
        return fail(tr("the drawing takes more than %1 steps of work; not a plot").arg(m_budget->stepLimit()));
    default:
        return fail(tr("the drawing expands beyond %1 points; not a plot").arg(m_budget->pointLimit()));
    }
}

bool HpglInterpreter::sweepInRange(double degrees)
{
    if (std::abs(degrees) <= MaxSweepDegrees)
        return true;
    //: %1 is the sweep angle as the file gives it
    return fail(tr("sweep %1° is out of range").arg(QString::number(degrees, 'g', 15)));
}

QPointF HpglInterpreter::toPlotter(double x, double y) const
{
    return QPointF(m_ox + x * m_sx, m_oy + y * m_sy);
}

QPointF HpglInterpreter::deltaToPlotter(double dx, double dy) const
{
    return QPointF(dx * m_sx, dy * m_sy);
}

QString HpglInterpreter::rescale()
{
    m_sx = m_sy = 1;
    m_ox = m_oy = 0;
    if (!m_scaled)
        return QString();
    if (!m_p1Known || (m_scType != 2 && !m_p2Known))
        return tr("scaling needs explicit IP points; the default ones depend on the machine");
    const double x0 = m_sc[0], x1 = m_sc[1], y0 = m_sc[2], y1 = m_sc[3];
    if (m_scType == 2) {
        m_sx = x1;
        m_sy = y1;
        m_ox = m_p1.x() - x0 * m_sx;
        m_oy = m_p1.y() - y0 * m_sy;
        return QString();
    }
    if (x1 == x0 || y1 == y0)
        return tr("scaling range is empty");
    const double w = m_p2.x() - m_p1.x(), h = m_p2.y() - m_p1.y();
    m_sx = w / (x1 - x0);
    m_sy = h / (y1 - y0);
    double padX = 0, padY = 0;
    if (m_scType == 1) {
        // Isotropic: one scale, the spare room split by the left/bottom shares.
        const double s = std::min(std::abs(m_sx), std::abs(m_sy));
        m_sx = std::copysign(s, m_sx);
        m_sy = std::copysign(s, m_sy);
        padX = (w - (x1 - x0) * m_sx) * m_scLeft / 100;
        padY = (h - (y1 - y0) * m_sy) * m_scBottom / 100;
    }
    m_ox = m_p1.x() + padX - x0 * m_sx;
    m_oy = m_p1.y() + padY - y0 * m_sy;
    return QString();
}

QPointF HpglInterpreter::out(const QPointF &p) const
{
    QPointF r;
    switch (m_rotation) {
    case 90: r = QPointF(-p.y(), p.x()); break;
    case 180: r = QPointF(-p.x(), -p.y()); break;
    case 270: r = QPointF(p.y(), -p.x()); break;
    default: r = p; break;
    }
    return r / UnitsPerMm;
}

void HpglInterpreter::endStroke()
{
    if (m_stroking) {
        m_doc.endPath();
        m_stroking = false;
    }
}

void HpglInterpreter::setPen(bool down)
{
    if (down != m_down)
        endStroke();
    m_down = down;
}

bool HpglInterpreter::clip(QPointF &a, QPointF &b) const
{
    // Liang-Barsky against the window.
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - m_window.left(), m_window.right() - a.x(),
                         a.y() - m_window.top(), m_window.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const QPointF a0 = a;
    if (t0 > 0)
        a = QPointF(a0.x() + t0 * dx, a0.y() + t0 * dy);
    if (t1 < 1)
        b = QPointF(a0.x() + t1 * dx, a0.y() + t1 * dy);
    return true;
}

void HpglInterpreter::segment(QPointF a, QPointF b)
{
    const QPointF end = b;
    auto far = [](const QPointF &p) {
        return !(std::abs(p.x()) <= MaxCoordinate && std::abs(p.y()) <= MaxCoordinate);
    };
    if (far(a) || far(b)) {
        m_outOfRange = tr("draws beyond %1 mm from the origin").arg(MaxCoordinate / UnitsPerMm, 0, 'f', 0);
        return;
    }
    if (m_windowed && !clip(a, b)) {
        endStroke();
        return;
    }
    if (!withinSpan(a) || !withinSpan(b)) {
        m_outOfRange = tr("draws across more than %1 mm").arg(MaxSpan / UnitsPerMm, 0, 'f', 0);
        return;
    }
    if (!m_stroking || a != m_strokeAt) {
        endStroke();
        m_doc.beginPath(out(a));
        m_stroking = true;
    }
    m_doc.lineTo(out(b));
    m_strokeAt = b;
    if (b != end)
        endStroke();
}

bool HpglInterpreter::withinSpan(const QPointF &p)
{
    const double x0 = std::min(m_drawn[0], p.x()), y0 = std::min(m_drawn[1], p.y());
    const double x1 = std::max(m_drawn[2], p.x()), y1 = std::max(m_drawn[3], p.y());
    if (x1 - x0 > MaxSpan || y1 - y0 > MaxSpan)
        return false;
    m_drawn[0] = x0, m_drawn[1] = y0, m_drawn[2] = x1, m_drawn[3] = y1;
    return true;
}

void HpglInterpreter::penMove(const QPointF &to, bool down)
{
    if (m_polygon) {
        if (m_polygons.empty() || (!down && !m_polygons.back().empty()))
            m_polygons.emplace_back();
        auto &poly = m_polygons.back();
        if (poly.empty()) {
            poly.push_back(down ? m_pos : to);
            ++m_polygonPoints;
        }
        if (down) {
            poly.push_back(to);
            ++m_polygonPoints;
        }
    } else if (down) {
        segment(m_pos, to);
    } else {
        m_upTravel += QLineF(m_pos, to).length();
    }
    m_pos = to;
}

void HpglInterpreter::polyline(const std::vector<QPointF> &points, bool close)
{
    if (points.size() < 2)
        return;
    endStroke();
    for (size_t i = 1; i < points.size(); ++i)
        segment(points[i - 1], points[i]);
    if (close && points.back() != points.front())
        segment(points.back(), points.front());
    endStroke();
}

bool HpglInterpreter::arc(const QPointF &center, double sweep)
{
    const double r = std::hypot(m_pos.x() - center.x(), m_pos.y() - center.y());
    if (r == 0 || sweep == 0)
        return true;
    const qint64 n = arcs::chordCount(r, sweep, m_tolerance);
    if (!withinBudget(n, n))
        return false;
    const double start = std::atan2(m_pos.y() - center.y(), m_pos.x() - center.x());
    const bool down = m_down;
    arcs::flatten(center, r, start, sweep, m_tolerance, [&](const QPointF &p) { penMove(p, down); });
    return true;
}

bool HpglInterpreter::arcThreePoint(const QPointF &inter, const QPointF &end)
{
    const QPointF a = m_pos;
    const double bx = inter.x() - a.x(), by = inter.y() - a.y();
    const double cx = end.x() - a.x(), cy = end.y() - a.y();
    const double d = 2 * (bx * cy - by * cx);
    if (end == a) {
        // Start and end coincide: the circle through the intermediate point.
        return arc(QPointF((a.x() + inter.x()) / 2, (a.y() + inter.y()) / 2), 2 * M_PI);
    }
    if (std::abs(d) < 1e-12 * (bx * bx + by * by + cx * cx + cy * cy)) {
        penMove(end, m_down);
        return true;
    }
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const QPointF center(a.x() + (cy * b2 - by * c2) / d, a.y() + (bx * c2 - cx * b2) / d);
    const auto angle = [&](const QPointF &p) { return std::atan2(p.y() - center.y(), p.x() - center.x()); };
    const auto ccw = [](double from, double to) {
        double s = std::fmod(to - from, 2 * M_PI);
        return s < 0 ? s + 2 * M_PI : s;
    };
    const double a0 = angle(a);
    const double toEnd = ccw(a0, angle(end));
    const double sweep = ccw(a0, angle(inter)) < toEnd ? toEnd : toEnd - 2 * M_PI;
    if (!arc(center, sweep))
        return false;
    // Land exactly on the end point the file names.
    m_pos = end;
    return true;
}

bool HpglInterpreter::rectangle(const QPointF &corner)
{
    const QPointF a = m_pos;
    polyline({a, QPointF(corner.x(), a.y()), corner, QPointF(a.x(), corner.y()), a}, true);
    return true;
}

bool HpglInterpreter::encoded(const char *begin, const char *end)
{
    // Base-64 digits (63..126 go on, 191..254 end a number) or, after '7',
    // base-32 ones (63..94 go on, 95..126 end). The lowest bit is the sign.
    // Flags: '<' next pair pen up, '=' next pair absolute, '>' fraction
    // bits, ':' pen number. Other bytes (blanks, line breaks) are fillers.
    bool sevenBit = false;
    int fractionBits = 0;
    bool nextUp = false, nextAbsolute = false;
    char pendingFlag = 0;
    double pair[2];
    int have = 0;
    double value = 0, weight = 1;
    int digits = 0;
    for (const char *p = begin; p < end; ++p) {
        const int c = quint8(*p);
        int digit = -1;
        bool last = false;
        if (sevenBit) {
            if (c >= 63 && c <= 94)
                digit = c - 63;
            else if (c >= 95 && c <= 126)
                digit = c - 95, last = true;
        } else {
            if (c >= 63 && c <= 126)
                digit = c - 63;
            else if (c >= 191 && c <= 254)
                digit = c - 191, last = true;
        }
        if (digit < 0) {
            if (c == '7')
                sevenBit = true;
            else if (c == '<' || c == '=' || c == '>' || c == ':') {
                if (have)
                    return failAt(m_tok->commandOffset() + 2 + (p - begin),
                                  tr("flag between the two coordinates of a pair"));
                if (c == '<')
                    nextUp = true;
                else if (c == '=')
                    nextAbsolute = true;
                else
                    pendingFlag = char(c);
            }
            continue;
        }
        if (++digits > 10)
            return fail(tr("encoded number out of range"));
        value += digit * weight;
        weight *= sevenBit ? 32 : 64;
        if (!last)
            continue;
        const double magnitude = std::floor(value / 2);
        const double v = std::fmod(value, 2) != 0 ? -magnitude : magnitude;
        value = 0;
        weight = 1;
        digits = 0;
        if (pendingFlag == '>') {
            if (v < 0 || v > 26)
                return fail(tr("fraction bits out of range"));
            fractionBits = int(v);
            pendingFlag = 0;
            continue;
        }
        if (pendingFlag == ':') {
            pendingFlag = 0;
            if (!usePen(v))
                return false;
            continue;
        }
        pair[have++] = std::ldexp(v, -fractionBits);
        if (have < 2)
            continue;
        have = 0;
        const QPointF to = nextAbsolute ? toPlotter(pair[0], pair[1])
                                        : m_pos + deltaToPlotter(pair[0], pair[1]);
        setPen(!nextUp);
        penMove(to, !nextUp);
        if (!withinBudget(0, 1))
            return false;
        nextUp = nextAbsolute = false;
    }
    if (have || digits)
        return fail(tr("encoded coordinates end mid-pair"));
    return true;
}
