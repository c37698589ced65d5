// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SvgTree.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QLatin1String SvgNs("http://www.w3.org/2000/svg");
const QLatin1String XlinkNs("http://www.w3.org/1999/xlink");
const QLatin1String InkscapeNs("http://www.inkscape.org/namespaces/inkscape");

// Properties that may also be written as attributes; the walk reads these.
const char *const Presentation[] = {
    "stroke", "fill", "stroke-width", "stroke-opacity", "fill-opacity", "opacity", "display", "visibility",
    "color", "font-family", "font-size", "font-weight", "font-style", "text-anchor", "marker-start",
    "marker-mid", "marker-end",
};

bool keepsText(const QString &tag)
{
    return tag == QLatin1String("text") || tag == QLatin1String("tspan") || tag == QLatin1String("style");
}

} // namespace

QHash<QString, QString> parseDeclarations(const QString &text)
{
    QHash<QString, QString> out;
    for (const QString &decl : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const int colon = decl.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            continue;
        QString value = decl.mid(colon + 1).trimmed();
        value.remove(QRegularExpression(QStringLiteral("\\s*!important$")));
        const QString name = decl.left(colon).trimmed().toLower();
        if (name == QLatin1String("marker")) { // the shorthand sets all three
            for (const char *m : {"marker-start", "marker-mid", "marker-end"})
                out.insert(QLatin1String(m), value);
        } else {
            out.insert(name, value);
        }
    }
    return out;
}

bool SvgTree::parse(const QByteArray &data, ReadBudget &budget)
{
    m_nodes.clear();
    m_ids.clear();
    m_rules.clear();
    QXmlStreamReader xml(data);
    int current = -1;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (!budget.step()) {
            m_error = tr("the document takes more than %1 steps to read").arg(budget.stepLimit());
            return false;
        }
        if (token == QXmlStreamReader::StartElement) {
            const QStringRef ns = xml.namespaceUri();
            if (!ns.isEmpty() && ns != SvgNs) {
                if (current < 0) {
                    m_error = tr("line %1: the root element is not <svg>").arg(xml.lineNumber());
                    return false;
                }
                xml.skipCurrentElement();
                continue;
            }
            SvgNode n;
            n.tag = xml.name().toString();
            n.line = int(xml.lineNumber());
            n.parent = current;
            if (current < 0 && n.tag != QLatin1String("svg")) {
                m_error = tr("line %1: the root element is not <svg>").arg(n.line);
                return false;
            }
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                const QStringRef ans = a.namespaceUri();
                if (ans.isEmpty())
                    n.attr.insert(a.name().toString(), a.value().toString());
                else if (ans == XlinkNs && a.name() == QLatin1String("href"))
                    n.attr.insert(QStringLiteral("href"), a.value().toString());
                else if (ans == InkscapeNs)
                    n.attr.insert(QStringLiteral("inkscape:") + a.name(), a.value().toString());
            }
            const int index = m_nodes.size();
            const QString id = n.attr.value(QStringLiteral("id"));
            if (!id.isEmpty() && !m_ids.contains(id))
                m_ids.insert(id, index);
            if (current >= 0)
                m_nodes[current].children.append(index);
            m_nodes.append(n);
            current = index;
        } else if (token == QXmlStreamReader::EndElement) {
            if (current >= 0)
                current = m_nodes[current].parent;
        } else if (token == QXmlStreamReader::Characters && current >= 0 && keepsText(m_nodes[current].tag)) {
            if (m_nodes[current].tag == QLatin1String("style")) {
                m_nodes[current].text += xml.text();
                continue;
            }
            SvgNode t;
            t.tag = QStringLiteral("#text");
            t.text = xml.text().toString();
            t.line = int(xml.lineNumber());
            t.parent = current;
            m_nodes[current].children.append(m_nodes.size());
            m_nodes.append(t);
        }
    }
    if (xml.hasError()) {
        m_error = tr("line %1, column %2: %3").arg(xml.lineNumber()).arg(xml.columnNumber()).arg(xml.errorString());
        return false;
    }
    if (m_nodes.isEmpty()) {
        m_error = tr("no <svg> element");
        return false;
    }
    for (const SvgNode &n : qAsConst(m_nodes))
        if (n.tag == QLatin1String("style"))
            readSheet(n.text);
    resolveStyles(budget);
    if (budget.stopped() != ReadBudget::Stop::None) {
        m_error = tr("the document takes more than %1 steps to read").arg(budget.stepLimit());
        return false;
    }
    return true;
}

void SvgTree::readSheet(const QString &input)
{
    QString css = input;
    css.remove(QRegularExpression(QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption));
    // A selector of a type, an #id and .classes; anything else (combinators,
    // pseudo-classes, attribute tests, at-rules) leaves the rule unused.
    static const QRegularExpression simple(QStringLiteral("^([A-Za-z][\\w-]*|\\*)?((?:[#.][\\w-]+)*)$"));
    static const QRegularExpression part(QStringLiteral("([#.])([\\w-]+)"));
    for (const QString &block : css.split(QLatin1Char('}'), Qt::SkipEmptyParts)) {
        const int brace = block.indexOf(QLatin1Char('{'));
        if (brace < 0 || block.indexOf(QLatin1Char('{'), brace + 1) >= 0 || block.trimmed().startsWith(QLatin1Char('@')))
            continue;
        const QHash<QString, QString> decls = parseDeclarations(block.mid(brace + 1));
        for (const QString &sel : block.left(brace).split(QLatin1Char(','))) {
            const QRegularExpressionMatch m = simple.match(sel.trimmed());
            if (!m.hasMatch() || sel.trimmed().isEmpty())
                continue;
            Rule r;
            r.tag = m.captured(1) == QLatin1String("*") ? QString() : m.captured(1);
            r.specificity = r.tag.isEmpty() ? 0 : 1;
            auto it = part.globalMatch(m.captured(2));
            while (it.hasNext()) {
                const QRegularExpressionMatch p = it.next();
                if (p.captured(1) == QLatin1String("#")) {
                    r.id = p.captured(2);
                    r.specificity += 10000;
                } else {
                    r.classes << p.captured(2);
                    r.specificity += 100;
                }
            }
            r.decls = decls;
            m_rules.append(r);
        }
    }
    std::stable_sort(m_rules.begin(), m_rules.end(),
                     [](const Rule &a, const Rule &b) { return a.specificity < b.specificity; });
}

bool SvgTree::matches(const Rule &rule, const SvgNode &node)
{
    if (!rule.tag.isEmpty() && rule.tag != node.tag)
        return false;
    if (!rule.id.isEmpty() && rule.id != node.attr.value(QStringLiteral("id")))
        return false;
    if (rule.classes.isEmpty())
        return true;
    const QStringList classes = node.attr.value(QStringLiteral("class")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(rule.classes.begin(), rule.classes.end(), [&](const QString &c) { return classes.contains(c); });
}

void SvgTree::resolveStyles(ReadBudget &budget)
{
    for (SvgNode &n : m_nodes) {
        if (n.tag.startsWith(QLatin1Char('#')) || !budget.step(1 + m_rules.size()))
            continue;
        for (const char *name : Presentation) {
            const auto it = n.attr.constFind(QLatin1String(name));
            if (it != n.attr.constEnd())
                n.style.insert(it.key(), it.value().trimmed());
        }
        for (const Rule &r : qAsConst(m_rules))
            if (matches(r, n))
                for (auto it = r.decls.begin(); it != r.decls.end(); ++it)
                    n.style.insert(it.key(), it.value());
        const auto inline_ = parseDeclarations(n.attr.value(QStringLiteral("style")));
        for (auto it = inline_.begin(); it != inline_.end(); ++it)
            n.style.insert(it.key(), it.value());
    }
}
