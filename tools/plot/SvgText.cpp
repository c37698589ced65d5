// SPDX-License-Identifier: LGPL-2.1-or-later
// Text as the outlines of its glyphs (QPainterPath::addText): a cutter
// cuts letters, not strings. Only the outlines need the font database,
// which exists only under a QGuiApplication; without one, text is refused
// rather than left out.
#include "SvgWalk.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QRegularExpression>

#include <functional>

namespace {

// Glyphs are outlined at this pixel size and scaled: QFont sizes are
// whole pixels, SVG font sizes are not.
constexpr int OutlinePx = 100;

QFont fontOf(const SvgWalk::Style &s)
{
    QString family = s.fontFamily.section(QLatin1Char(','), 0, 0).trimmed();
    family.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
    QFont font(family.isEmpty() || family == QLatin1String("sans-serif") ? QStringLiteral("DejaVu Sans") : family);
    font.setPixelSize(OutlinePx);
    const int weight = s.fontWeight.toInt();
    font.setBold(s.fontWeight == QLatin1String("bold") || s.fontWeight == QLatin1String("bolder") || weight >= 600);
    font.setItalic(s.fontStyle == QLatin1String("italic") || s.fontStyle == QLatin1String("oblique"));
    return font;
}

double firstNumber(const QString &list, double fallback)
{
    bool ok = false;
    const QVector<double> v = svg::numbers(list.section(QLatin1Char(' '), 0, 0).section(QLatin1Char(','), 0, 0), &ok);
    return ok && !v.isEmpty() ? v[0] : fallback;
}

} // namespace

bool SvgWalk::text(int index, const Context &ctx)
{
    const SvgNode &n = m_tree.node(index);
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return refuse(n, tr("text needs the fonts of a graphical session; convert the text to paths"));
    // The runs in document order: text nodes, each with the style and
    // position of the <tspan> holding it (x, y restart; dx, dy shift).
    struct Run { int node; Context ctx; };
    QVector<Run> runs;
    QPointF pen(firstNumber(n.attr.value(QStringLiteral("x")), 0), firstNumber(n.attr.value(QStringLiteral("y")), 0));
    bool ok = true;
    std::function<void(int, const Context &)> collect = [&](int i, const Context &c) {
        for (int child : m_tree.node(i).children) {
            const SvgNode &k = m_tree.node(child);
            if (k.tag == QLatin1String("#text")) {
                runs.append(Run{child, c});
            } else if (k.tag == QLatin1String("tspan") && k.style.value(QStringLiteral("display")) != QLatin1String("none")) {
                Context inner = c;
                inner.style = computed(k, c.style);
                runs.append(Run{-child - 2, inner}); // a position change
                collect(child, inner);
            } else if (!m_budget.step()) {
                ok = false;
            }
        }
    };
    collect(index, ctx);
    QString pending;
    int emitted = 0;
    for (int r = 0; r < runs.size() && ok; ++r) {
        if (runs[r].node < -1) {
            const SvgNode &span = m_tree.node(-runs[r].node - 2);
            pen.setX(firstNumber(span.attr.value(QStringLiteral("x")), pen.x()) + firstNumber(span.attr.value(QStringLiteral("dx")), 0));
            pen.setY(firstNumber(span.attr.value(QStringLiteral("y")), pen.y()) + firstNumber(span.attr.value(QStringLiteral("dy")), 0));
            continue;
        }
        QString t = m_tree.node(runs[r].node).text;
        t.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
        if (emitted == 0) // leading white space takes no room
            t = t.mid(qMax(0, t.indexOf(QRegularExpression(QStringLiteral("\\S")))));
        if (t.trimmed().isEmpty())
            continue;
        const Style &s = runs[r].ctx.style;
        const QFont font = fontOf(s);
        const double scale = s.fontSize / OutlinePx;
        const double advance = QFontMetricsF(font).horizontalAdvance(t) * scale;
        double x = pen.x();
        if (s.textAnchor == QLatin1String("middle"))
            x -= advance / 2;
        else if (s.textAnchor == QLatin1String("end"))
            x -= advance;
        QPainterPath glyphs;
        glyphs.addText(QPointF(0, 0), font, t);
        Context c = runs[r].ctx;
        c.ctm = QTransform(scale, 0, 0, scale, x, pen.y()) * c.ctm;
        if (!draw(n, glyphs, c))
            return false;
        pen.rx() += advance;
        ++emitted;
    }
    return ok || !outOfBudget();
}
