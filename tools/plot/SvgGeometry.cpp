// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SvgGeometry.h"

#include <svgpp/parser/path_data.hpp>
#include <svgpp/parser/transform_list.hpp>
#include <svgpp/policy/path.hpp>
#include <svgpp/policy/transform.hpp>

#include <QRegularExpression>

#include <cmath>

namespace svg {
namespace {

// SVG++ reports a syntax error through this instead of throwing.
struct QuietErrors
{
    template <class Context, class Tag, class Value>
    static bool parse_failed(Context &, Tag, const Value &) { return false; }
};

// SVG++'s own arc-to-curve loop runs away on hostile arcs (a chord of
// 1e-320 gives a NaN sweep), so arcs come here whole; quadratics come cubic.
struct PathPolicy : svgpp::policy::path::minimal
{
    static const bool arc_as_cubic_bezier = false;
};

// One arc (endpoint form) as cubic pieces of at most a quarter turn,
// after the centre conversion of the SVG implementation notes: radii too
// small for the chord are scaled up, a zero radius makes a line.
void arcTo(QPainterPath *path, double rx, double ry, double rotationDeg, bool large, bool sweep, const QPointF &end)
{
    const QPointF start = path->currentPosition();
    rx = std::abs(rx);
    ry = std::abs(ry);
    const double phi = rotationDeg * M_PI / 180, c = std::cos(phi), s = std::sin(phi);
    const double hx = (start.x() - end.x()) / 2, hy = (start.y() - end.y()) / 2;
    const double x1 = c * hx + s * hy, y1 = -s * hx + c * hy;
    const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (!(rx > 0 && ry > 0) || start == end || !std::isfinite(lambda)) {
        if (start != end)
            path->lineTo(end);
        return;
    }
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = std::sqrt(std::max(0.0, num / den));
    if (large == sweep)
        k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const QPointF centre(c * cx1 - s * cy1 + (start.x() + end.x()) / 2, s * cx1 + c * cy1 + (start.y() + end.y()) / 2);
    const double t1 = std::atan2((y1 - cy1) / ry, (x1 - cx1) / rx);
    double dt = std::atan2((-y1 - cy1) / ry, (-x1 - cx1) / rx) - t1;
    if (sweep && dt < 0)
        dt += 2 * M_PI;
    else if (!sweep && dt > 0)
        dt -= 2 * M_PI;
    if (!std::isfinite(dt) || !std::isfinite(centre.x()) || !std::isfinite(centre.y())) {
        path->lineTo(end);
        return;
    }
    const int pieces = std::max(1, int(std::ceil(std::abs(dt) / (M_PI / 2) - 1e-9)));
    const double step = dt / pieces, alpha = 4.0 / 3 * std::tan(step / 4);
    const auto at = [&](double t, double dx, double dy) {
        const double ex = rx * (std::cos(t) + dx), ey = ry * (std::sin(t) + dy);
        return centre + QPointF(c * ex - s * ey, s * ex + c * ey);
    };
    for (int i = 0; i < pieces; ++i) {
        const double a = t1 + i * step, b = a + step;
        path->cubicTo(at(a, -alpha * std::sin(a), alpha * std::cos(a)), at(b, alpha * std::sin(b), -alpha * std::cos(b)),
                      i + 1 == pieces ? end : at(b, 0, 0));
    }
}

// Path events, all absolute.
struct PathSink
{
    QPainterPath *path;
    void path_elliptical_arc_to(double rx, double ry, double rotation, bool large, bool sweep, double x, double y,
                                svgpp::tag::coordinate::absolute)
    {
        arcTo(path, rx, ry, rotation, large, sweep, QPointF(x, y));
    }
    void path_move_to(double x, double y, svgpp::tag::coordinate::absolute) { path->moveTo(x, y); }
    void path_line_to(double x, double y, svgpp::tag::coordinate::absolute) { path->lineTo(x, y); }
    void path_cubic_bezier_to(double x1, double y1, double x2, double y2, double x, double y,
                              svgpp::tag::coordinate::absolute)
    {
        path->cubicTo(x1, y1, x2, y2, x, y);
    }
    void path_close_subpath() { path->closeSubpath(); }
    void path_exit() {}
};

struct TransformSink
{
    QTransform *t;
    void transform_matrix(const boost::array<double, 6> &m) { *t = QTransform(m[0], m[1], m[2], m[3], m[4], m[5]); }
};

struct Unit { const char *name; double px; };
const Unit Units[] = {
    {"px", 1}, {"in", 96}, {"cm", 96 / 2.54}, {"mm", 96 / 25.4}, {"pt", 96.0 / 72}, {"pc", 16},
};

} // namespace

bool length(const QString &input, Axis axis, const Viewport &vp, double fontSize, double *out)
{
    static const QRegularExpression re(QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)\\s*([a-zA-Z]*|%)\\s*$"));
    const QRegularExpressionMatch m = re.match(input);
    if (!m.hasMatch())
        return false;
    const double v = m.captured(1).toDouble();
    const QString unit = m.captured(2).toLower();
    double factor = 0;
    if (unit.isEmpty())
        factor = 1;
    else if (unit == QLatin1String("%"))
        factor = (axis == Axis::X ? vp.width : axis == Axis::Y ? vp.height
                  : std::sqrt((vp.width * vp.width + vp.height * vp.height) / 2)) / 100;
    else if (unit == QLatin1String("em"))
        factor = fontSize;
    else if (unit == QLatin1String("ex"))
        factor = fontSize / 2;
    for (const Unit &u : Units)
        if (unit == QLatin1String(u.name))
            factor = u.px;
    *out = v * factor;
    return factor != 0 && std::isfinite(*out);
}

QVector<double> numbers(const QString &text, bool *ok)
{
    static const QRegularExpression re(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    static const QRegularExpression separators(QStringLiteral("^[\\s,]*$"));
    QVector<double> out;
    int last = 0;
    *ok = true;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (!separators.match(text.mid(last, m.capturedStart() - last)).hasMatch())
            *ok = false;
        out << m.captured().toDouble();
        last = m.capturedEnd();
    }
    if (!separators.match(text.mid(last)).hasMatch())
        *ok = false;
    return out;
}

bool viewBoxTransform(const QString &viewBox, const QString &preserve, double width, double height,
                      QTransform *out, QRectF *box)
{
    *out = QTransform();
    if (viewBox.trimmed().isEmpty())
        return true;
    bool ok = false;
    const QVector<double> v = numbers(viewBox, &ok);
    if (!ok || v.size() != 4 || !(v[2] > 0 && v[3] > 0))
        return false;
    *box = QRectF(v[0], v[1], v[2], v[3]);
    const QStringList words = preserve.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString align = words.value(words.value(0) == QLatin1String("defer") ? 1 : 0, QStringLiteral("xMidYMid"));
    double sx = width / v[2], sy = height / v[3];
    if (align != QLatin1String("none")) {
        if (align.size() != 8 || !align.startsWith(QLatin1String("x")) || align.mid(4, 1) != QLatin1String("Y"))
            return false;
        sx = sy = words.contains(QStringLiteral("slice")) ? std::max(sx, sy) : std::min(sx, sy);
        const auto place = [](const QString &where, double room) {
            return where == QLatin1String("Min") ? 0.0 : where == QLatin1String("Mid") ? room / 2
                 : where == QLatin1String("Max") ? room : std::nan("");
        };
        const double tx = place(align.mid(1, 3), width - v[2] * sx), ty = place(align.mid(5, 3), height - v[3] * sy);
        if (std::isnan(tx) || std::isnan(ty))
            return false;
        *out = QTransform(sx, 0, 0, sy, tx - v[0] * sx, ty - v[1] * sy);
        return true;
    }
    *out = QTransform(sx, 0, 0, sy, -v[0] * sx, -v[1] * sy);
    return true;
}

bool transformList(const QString &text, QTransform *out)
{
    *out = QTransform();
    const std::string s = text.toStdString();
    TransformSink sink{out};
    return svgpp::value_parser<svgpp::tag::type::transform_list, svgpp::transform_policy<svgpp::policy::transform::matrix>,
                               svgpp::error_policy<QuietErrors>>::parse(svgpp::tag::attribute::transform(), sink, s,
                                                                         svgpp::tag::source::attribute());
}

bool pathData(const QString &text, QPainterPath *out)
{
    const std::string s = text.toStdString();
    PathSink sink{out};
    return svgpp::value_parser<svgpp::tag::type::path_data, svgpp::path_policy<PathPolicy>,
                               svgpp::error_policy<QuietErrors>>::parse(svgpp::tag::attribute::d(), sink, s,
                                                                         svgpp::tag::source::attribute());
}

} // namespace svg
