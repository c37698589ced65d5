// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ToolMap.h"

#include <QCoreApplication>
#include <QRegularExpression>

bool ToolMap::add(const QString &rule, QString *error)
{
    const int eq = rule.lastIndexOf(QLatin1Char('='));
    const QString selector = eq > 0 ? rule.left(eq) : QString();
    const QString tool = eq > 0 ? rule.mid(eq + 1).trimmed() : QString();
    if (selector.isEmpty() || (tool != QLatin1String("1") && tool != QLatin1String("2"))) {
        if (error)
            *error = QCoreApplication::translate("ToolMap", "expects SELECTOR=1 or SELECTOR=2 (a pen number, #rrggbb or a layer name), not \"%1\"")
                         .arg(rule);
        return false;
    }
    Rule r{Rule::Layer, selector, tool.toInt()};
    static const QRegularExpression pen(QStringLiteral("^[0-9]{1,4}$"));
    static const QRegularExpression colour(QStringLiteral("^#[0-9a-fA-F]{6}$"));
    if (pen.match(selector).hasMatch())
        r.kind = Rule::Pen;
    else if (colour.match(selector).hasMatch()) {
        r.kind = Rule::Colour;
        r.selector = selector.toLower();
    } else if (selector.startsWith(QLatin1Char('#')) && selector.size() <= 9) {
        // "#f00" or "#ff000" look meant as colours, and would never match a layer.
        if (error)
            *error = QCoreApplication::translate("ToolMap", "expects a colour as #rrggbb, not \"%1\"").arg(selector);
        return false;
    }
    m_rules.push_back(r);
    return true;
}

QStringList ToolMap::texts() const
{
    QStringList out;
    for (const Rule &r : m_rules)
        out << r.selector + QLatin1Char('=') + QString::number(r.tool);
    return out;
}

int ToolMap::toolFor(const PathSource &s) const
{
    for (const Rule &r : m_rules) {
        switch (r.kind) {
        case Rule::Pen:
            if (s.pen == r.selector.toInt())
                return r.tool;
            break;
        case Rule::Colour:
            if (s.colour == r.selector)
                return r.tool;
            break;
        case Rule::Layer:
            if (s.layer == r.selector)
                return r.tool;
            break;
        }
    }
    return 0;
}

void ToolMap::apply(PlotDocument &doc) const
{
    if (m_rules.empty())
        return;
    std::vector<int> bySource(std::size_t(doc.sourceCount()));
    for (int i = 0; i < doc.sourceCount(); ++i)
        bySource[std::size_t(i)] = toolFor(doc.source(i));
    for (int i = 0; i < doc.pathCount(); ++i) {
        const int tool = bySource[doc.path(i).source];
        if (tool)
            doc.setTool(i, tool);
    }
}

bool ToolOrder::set(const QString &text)
{
    const QString t = QString(text).remove(QLatin1Char(' '));
    if (t == QLatin1String("2,1"))
        first = 2;
    else if (t == QLatin1String("1,2"))
        first = 1;
    else
        return false;
    return true;
}
