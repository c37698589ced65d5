// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ReadBudget.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QVector>

// An SVG document as a tree of element indices, read once with
// QXmlStreamReader: <use> may point forward and CSS may come last, so the
// walk needs the whole document before it draws anything.
//
// Kept: elements of the SVG namespace (or none), their attributes (xlink
// and plain href both as "href", Inkscape's layer attributes prefixed
// "inkscape:"), text inside <text>, <tspan> and <style> as "#text" nodes.
// Everything of other namespaces (sodipodi:namedview, RDF metadata) is
// skipped whole.
//
// Each element's specified style is resolved here, lowest to highest:
// presentation attributes, the <style> sheets' rules (selectors made of a
// type, #id and .classes, by specificity then order; rules with other
// selectors never match), then style="". Inheritance is the walk's, since
// a <use> instance inherits from the use, not from where it is defined.
// Bounded: one budget step per element and per rule tried on it.
struct SvgNode
{
    QString tag;
    QHash<QString, QString> attr;
    QHash<QString, QString> style; // specified properties
    QString text;                  // "#text" nodes and <style>
    int line = 0;
    int parent = -1;
    QVector<int> children;
};

class SvgTree
{
    Q_DECLARE_TR_FUNCTIONS(SvgTree)

public:
    bool parse(const QByteArray &data, ReadBudget &budget);
    QString error() const { return m_error; }

    const SvgNode &node(int i) const { return m_nodes[i]; }
    int root() const { return m_nodes.isEmpty() ? -1 : 0; }
    int byId(const QString &id) const { return m_ids.value(id, -1); }

private:
    struct Rule {
        QString tag, id;
        QStringList classes;
        int specificity = 0;
        QHash<QString, QString> decls;
    };
    void readSheet(const QString &css);
    void resolveStyles(ReadBudget &budget);
    static bool matches(const Rule &rule, const SvgNode &node);

    QVector<SvgNode> m_nodes;
    QHash<QString, int> m_ids;
    QVector<Rule> m_rules;
    QString m_error;
};

// "a: b; c: d" into a map (last wins), names lower case.
QHash<QString, QString> parseDeclarations(const QString &text);
