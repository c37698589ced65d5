// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SvgWalk.h"

#include "SvgPaint.h"

#include <QGuiApplication>

#include <cmath>

namespace {

enum class Kind { Container, Switch, Viewport, Use, Shape, Text, Never, Unsupported };

// What each element does when met in the drawing. Elements not listed
// draw in a viewer only if it knows them, so they count as skipped too.
const struct { const char *tag; Kind kind; } Kinds[] = {
    {"g", Kind::Container}, {"a", Kind::Container}, {"switch", Kind::Switch}, {"svg", Kind::Viewport},
    {"use", Kind::Use}, {"path", Kind::Shape}, {"rect", Kind::Shape}, {"circle", Kind::Shape},
    {"ellipse", Kind::Shape}, {"line", Kind::Shape}, {"polyline", Kind::Shape}, {"polygon", Kind::Shape},
    {"text", Kind::Text},
    // Drawn only when referenced, or never: definitions, paint servers,
    // style, metadata, animation.
    {"defs", Kind::Never}, {"symbol", Kind::Never}, {"clipPath", Kind::Never}, {"mask", Kind::Never},
    {"marker", Kind::Never}, {"pattern", Kind::Never}, {"linearGradient", Kind::Never},
    {"radialGradient", Kind::Never}, {"filter", Kind::Never}, {"style", Kind::Never}, {"title", Kind::Never},
    {"desc", Kind::Never}, {"metadata", Kind::Never}, {"script", Kind::Never}, {"font", Kind::Never},
    {"font-face", Kind::Never}, {"color-profile", Kind::Never}, {"cursor", Kind::Never}, {"view", Kind::Never},
    {"animate", Kind::Never}, {"animateTransform", Kind::Never}, {"animateMotion", Kind::Never},
    {"animateColor", Kind::Never}, {"set", Kind::Never}, {"#text", Kind::Never},
    {"image", Kind::Unsupported}, {"foreignObject", Kind::Unsupported},
};

Kind kindOf(const QString &tag)
{
    for (const auto &k : Kinds)
        if (tag == QLatin1String(k.tag))
            return k.kind;
    return Kind::Unsupported;
}

const QString Inherit = QStringLiteral("inherit");

} // namespace

bool SvgWalk::run(const QTransform &toMm, const svg::Viewport &viewport, double pageHeightMm)
{
    m_pageHeight = pageHeightMm;
    Context ctx;
    ctx.ctm = toMm;
    ctx.vp = viewport;
    const SvgNode &root = m_tree.node(m_tree.root());
    ctx.style = computed(root, ctx.style);
    if (root.style.value(QStringLiteral("display")) == QLatin1String("none"))
        return true;
    return children(m_tree.root(), ctx);
}

SvgWalk::Style SvgWalk::computed(const SvgNode &n, const Style &parent) const
{
    Style s = parent;
    s.markers = false;
    const struct { const char *name; QString Style::*field; } fields[] = {
        {"stroke", &Style::stroke}, {"fill", &Style::fill}, {"color", &Style::color},
        {"stroke-width", &Style::strokeWidth}, {"stroke-opacity", &Style::strokeOpacity},
        {"fill-opacity", &Style::fillOpacity}, {"visibility", &Style::visibility},
        {"font-family", &Style::fontFamily}, {"font-weight", &Style::fontWeight},
        {"font-style", &Style::fontStyle}, {"text-anchor", &Style::textAnchor},
    };
    for (const auto &f : fields) {
        const QString v = n.style.value(QLatin1String(f.name));
        if (!v.isEmpty() && v != Inherit)
            s.*f.field = v;
    }
    double size = 0;
    const QString fontSize = n.style.value(QStringLiteral("font-size"));
    if (!fontSize.isEmpty() && svg::length(fontSize, svg::Axis::Other, svg::Viewport{parent.fontSize * 100, parent.fontSize * 100},
                                           parent.fontSize, &size) && size > 0)
        s.fontSize = size;
    for (const char *m : {"marker-start", "marker-mid", "marker-end"}) {
        const QString v = n.style.value(QLatin1String(m));
        s.markers |= !v.isEmpty() && v != QLatin1String("none");
    }
    return s;
}

namespace {
constexpr qint64 VisitSteps = 16;
}

bool SvgWalk::walk(int index, Context ctx)
{
    const SvgNode &n = m_tree.node(index);
    // A visit computes styles and transforms: some microseconds, not one
    // step's worth. Counted as 16, a <use> bomb of a few KB stops in a
    // tenth of a second instead of seconds, and real files (an element or
    // two per 100 bytes) stay far inside.
    if (!m_budget.step(VisitSteps) && outOfBudget())
        return false;
    const Kind kind = kindOf(n.tag);
    if (kind == Kind::Never || n.style.value(QStringLiteral("display")) == QLatin1String("none"))
        return true;
    if (kind == Kind::Unsupported) {
        skip(n.tag);
        return true;
    }
    QTransform local;
    if (!svg::transformList(n.attr.value(QStringLiteral("transform")), &local))
        return refuse(n, tr("transform \"%1\" is not a transform list").arg(n.attr.value(QStringLiteral("transform"))));
    ctx.ctm = local * ctx.ctm;
    ctx.style = computed(n, ctx.style);
    const QString id = n.attr.value(QStringLiteral("id"));
    if (!id.isEmpty())
        m_drawing.append(id);
    bool ok = true;
    switch (kind) {
    case Kind::Container:
        if (!ctx.inLayer && n.attr.value(QStringLiteral("inkscape:groupmode")) == QLatin1String("layer")) {
            ctx.layer = n.attr.value(QStringLiteral("inkscape:label"), id);
            ctx.inLayer = true;
        } else if (ctx.layer.isEmpty() && n.parent == m_tree.root() && n.tag == QLatin1String("g")) {
            ctx.layer = id;
        }
        ok = children(index, ctx);
        break;
    case Kind::Switch:
        for (int child : n.children)
            if (!m_tree.node(child).tag.startsWith(QLatin1Char('#'))) {
                ok = walk(child, ctx);
                break;
            }
        break;
    case Kind::Viewport: {
        double x = 0, y = 0;
        ok = attrLength(n, "x", svg::Axis::X, ctx, &x) && attrLength(n, "y", svg::Axis::Y, ctx, &y)
             && viewport(index, ctx, n.attr.value(QStringLiteral("width")), n.attr.value(QStringLiteral("height")), x, y);
        break;
    }
    case Kind::Use: ok = use(index, ctx); break;
    case Kind::Shape: ok = shape(index, ctx); break;
    case Kind::Text: ok = text(index, ctx); break;
    default: break;
    }
    if (!id.isEmpty())
        m_drawing.removeLast();
    return ok;
}

bool SvgWalk::children(int index, const Context &ctx)
{
    for (int child : m_tree.node(index).children)
        if (!walk(child, ctx))
            return false;
    return true;
}

// A new viewport at (x, y) of the given size (default 100 %), its
// viewBox fitted by preserveAspectRatio: nested <svg>, used <svg> or <symbol>.
bool SvgWalk::viewport(int index, const Context &outer, const QString &width, const QString &height, double x, double y)
{
    const SvgNode &n = m_tree.node(index);
    double w = 0, h = 0;
    if (!svg::length(width.isEmpty() ? QStringLiteral("100%") : width, svg::Axis::X, outer.vp, outer.style.fontSize, &w)
        || !svg::length(height.isEmpty() ? QStringLiteral("100%") : height, svg::Axis::Y, outer.vp, outer.style.fontSize, &h))
        return refuse(n, tr("width or height is not a length"));
    if (!(w > 0 && h > 0)) {
        skip(n.tag);
        return true;
    }
    QTransform fit;
    QRectF box(0, 0, w, h);
    if (!svg::viewBoxTransform(n.attr.value(QStringLiteral("viewBox")), n.attr.value(QStringLiteral("preserveAspectRatio")),
                               w, h, &fit, &box))
        return refuse(n, tr("viewBox or preserveAspectRatio is not readable"));
    Context ctx = outer;
    ctx.ctm = fit * QTransform::fromTranslate(x, y) * outer.ctm;
    ctx.vp = svg::Viewport{box.width(), box.height()};
    return children(index, ctx);
}

bool SvgWalk::use(int index, Context ctx)
{
    const SvgNode &n = m_tree.node(index);
    const QString href = n.attr.value(QStringLiteral("href")).trimmed();
    const int target = href.startsWith(QLatin1Char('#')) ? m_tree.byId(href.mid(1)) : -1;
    if (target < 0) {
        skip(n.tag);
        return true;
    }
    if (m_drawing.contains(href.mid(1)))
        return refuse(n, tr("refers to itself through %1").arg(href));
    if (++ctx.useDepth > MaxUseDepth)
        return refuse(n, tr("<use> nested deeper than %1").arg(MaxUseDepth));
    double x = 0, y = 0;
    if (!attrLength(n, "x", svg::Axis::X, ctx, &x) || !attrLength(n, "y", svg::Axis::Y, ctx, &y))
        return false;
    const SvgNode &t = m_tree.node(target);
    if (t.tag != QLatin1String("symbol") && t.tag != QLatin1String("svg")) {
        ctx.ctm = QTransform::fromTranslate(x, y) * ctx.ctm;
        return walk(target, ctx);
    }
    // The use sizes the viewport; a used <svg> keeps its own size otherwise.
    const auto side = [&](const char *name) {
        const QString v = n.attr.value(QLatin1String(name));
        return v.isEmpty() && t.tag == QLatin1String("svg") ? t.attr.value(QLatin1String(name)) : v;
    };
    if (t.style.value(QStringLiteral("display")) == QLatin1String("none"))
        return true;
    const QString id = t.attr.value(QStringLiteral("id"));
    m_drawing.append(id);
    ctx.style = computed(t, ctx.style);
    const bool ok = viewport(target, ctx, side("width"), side("height"), x, y);
    m_drawing.removeLast();
    return ok;
}

bool SvgWalk::attrLength(const SvgNode &n, const char *name, svg::Axis axis, const Context &ctx, double *out,
                         const QString &fallback)
{
    const QString text = n.attr.value(QLatin1String(name), fallback);
    if (svg::length(text, axis, ctx.vp, ctx.style.fontSize, out))
        return true;
    return refuse(n, tr("%1 \"%2\" is not a length").arg(QLatin1String(name), text));
}

bool SvgWalk::shape(int index, const Context &ctx)
{
    const SvgNode &n = m_tree.node(index);
    QPainterPath p;
    double a = 0, b = 0, c = 0, d = 0;
    using svg::Axis;
    if (n.tag == QLatin1String("path")) {
        if (!svg::pathData(n.attr.value(QStringLiteral("d")), &p))
            return refuse(n, tr("the path data is not readable"));
    } else if (n.tag == QLatin1String("rect")) {
        double rx = 0, ry = 0;
        if (!attrLength(n, "x", Axis::X, ctx, &a) || !attrLength(n, "y", Axis::Y, ctx, &b)
            || !attrLength(n, "width", Axis::X, ctx, &c) || !attrLength(n, "height", Axis::Y, ctx, &d)
            || !attrLength(n, "rx", Axis::X, ctx, &rx, n.attr.value(QStringLiteral("ry"), QStringLiteral("0")))
            || !attrLength(n, "ry", Axis::Y, ctx, &ry, n.attr.value(QStringLiteral("rx"), QStringLiteral("0"))))
            return false;
        if (c > 0 && d > 0)
            p.addRoundedRect(QRectF(a, b, c, d), qBound(0.0, rx, c / 2), qBound(0.0, ry, d / 2));
    } else if (n.tag == QLatin1String("circle") || n.tag == QLatin1String("ellipse")) {
        const bool circle = n.tag == QLatin1String("circle");
        if (!attrLength(n, "cx", Axis::X, ctx, &a) || !attrLength(n, "cy", Axis::Y, ctx, &b)
            || !attrLength(n, circle ? "r" : "rx", circle ? Axis::Other : Axis::X, ctx, &c)
            || !attrLength(n, circle ? "r" : "ry", circle ? Axis::Other : Axis::Y, ctx, &d))
            return false;
        if (c > 0 && d > 0)
            p.addEllipse(QPointF(a, b), c, d);
    } else if (n.tag == QLatin1String("line")) {
        if (!attrLength(n, "x1", Axis::X, ctx, &a) || !attrLength(n, "y1", Axis::Y, ctx, &b)
            || !attrLength(n, "x2", Axis::X, ctx, &c) || !attrLength(n, "y2", Axis::Y, ctx, &d))
            return false;
        p.moveTo(a, b);
        p.lineTo(c, d);
    } else { // polyline, polygon
        bool ok = false;
        const QVector<double> v = svg::numbers(n.attr.value(QStringLiteral("points")), &ok);
        if (!ok || v.size() % 2)
            return refuse(n, tr("the points are not pairs of numbers"));
        for (int i = 0; i + 1 < v.size(); i += 2)
            i ? p.lineTo(v[i], v[i + 1]) : p.moveTo(v[i], v[i + 1]);
        if (n.tag == QLatin1String("polygon") && v.size() >= 4)
            p.closeSubpath();
    }
    if (ctx.style.markers)
        skip(QStringLiteral("marker"));
    return draw(n, p, ctx);
}

bool SvgWalk::draw(const SvgNode &n, const QPainterPath &outline, const Context &ctx)
{
    if (ctx.style.visibility == QLatin1String("hidden") || ctx.style.visibility == QLatin1String("collapse"))
        return true;
    double strokeWidth = 1;
    svg::length(ctx.style.strokeWidth, svg::Axis::Other, ctx.vp, ctx.style.fontSize, &strokeWidth);
    const svg::Paint stroke = svg::paint(ctx.style.stroke, ctx.style.color, ctx.style.strokeOpacity);
    const svg::Paint fill = svg::paint(ctx.style.fill, ctx.style.color, ctx.style.fillOpacity);
    const bool stroked = stroke.visible && strokeWidth > 0;
    const bool isLine = n.tag == QLatin1String("line"); // a line encloses nothing to fill
    if (!stroked && (isLine || !fill.visible || fill.colour == QLatin1String("#ffffff")))
        return true;
    m_doc.setSource(PathSource{0, stroked ? stroke.colour : fill.colour, ctx.layer});
    const int before = m_doc.pathCount();
    // Finite is not enough: two points at ±1e308 make a box of infinite
    // width. Past 25 km from the origin no sheet holds it, and no plot text
    // would read back (the HP-GL reader's own limit).
    constexpr double ReachMm = 25e6;
    const auto sane = [&](const QPointF &p) {
        return std::isfinite(p.x()) && std::isfinite(p.y()) && std::abs(p.x()) <= ReachMm
               && std::abs(m_pageHeight - p.y()) <= ReachMm;
    };
    bool finite = true;
    const bool within = svg::flatten(ctx.ctm.map(outline), ToleranceMm, m_budget.pointLimit() - qint64(m_doc.pointCount()),
                                     [&](const QPolygonF &poly, bool) {
        finite &= sane(poly[0]);
        m_doc.beginPath(QPointF(poly[0].x(), m_pageHeight - poly[0].y()));
        for (int i = 1; i < poly.size() && finite; ++i) {
            finite &= sane(poly[i]);
            m_doc.lineTo(QPointF(poly[i].x(), m_pageHeight - poly[i].y()));
        }
        m_doc.endPath();
        return finite && m_budget.points(qint64(m_doc.pointCount()));
    });
    if (!finite)
        return refuse(n, tr("its coordinates are not finite or lie beyond %1 km of the origin").arg(ReachMm / 1e6));
    if (!within) {
        m_budget.points(m_budget.pointLimit() + 1);
        return !outOfBudget();
    }
    if (m_doc.pathCount() == before)
        skip(n.tag);
    return true;
}

void SvgWalk::skip(const QString &kind)
{
    ++m_skipped;
    if (!m_kinds.contains(kind))
        m_kinds << kind;
}

bool SvgWalk::refuse(const SvgNode &n, const QString &why)
{
    m_error = tr("<%1> at line %2: %3").arg(n.tag).arg(n.line).arg(why);
    return false;
}

bool SvgWalk::outOfBudget()
{
    switch (m_budget.stopped()) {
    case ReadBudget::Stop::None:
        return false;
    case ReadBudget::Stop::Cancelled:
        m_error = tr("cancelled");
        break;
    case ReadBudget::Stop::Steps:
        m_error = tr("the drawing takes more than %1 steps of work; not a drawing to cut").arg(m_budget.stepLimit());
        break;
    case ReadBudget::Stop::Points:
        m_error = tr("the drawing expands beyond %1 points; not a drawing to cut").arg(m_budget.pointLimit());
        break;
    }
    return true;
}
