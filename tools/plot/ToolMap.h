// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QString>
#include <QStringList>

#include <vector>

// Which of the machine's two tool positions cuts each path, chosen by what
// the file says of the path: that is how people mark a crease, a kiss-cut
// or the rotary knife. A rule is SELECTOR=N with N 1 or 2; the selector is
//   a whole number   an HP-GL pen (SPn),
//   #rrggbb          a colour (SVG stroke, DXF entity colour),
//   anything else    a layer name, exactly (DXF layer, Inkscape layer label
//                    or a top group's id).
// The first matching rule wins, in the order given. A path no rule matches
// keeps the reader's choice: HP-GL pen 2 on tool 2, everything else tool 1.
class ToolMap
{
public:
    struct Rule {
        enum Kind { Pen, Colour, Layer } kind;
        QString selector; // as typed
        int tool;
    };

    // False with *error (naming what is wrong) for a malformed rule.
    bool add(const QString &rule, QString *error);
    bool isEmpty() const { return m_rules.empty(); }
    const std::vector<Rule> &rules() const { return m_rules; }
    // The rules as typed, in order: for the journal and for showing.
    QStringList texts() const;

    // The tool a source goes to (0: no rule matches).
    int toolFor(const PathSource &source) const;
    // Sets each path's tool; decided once per source, not per path.
    void apply(PlotDocument &doc) const;

private:
    std::vector<Rule> m_rules;
};

// The order the tools cut in. By default the tool that cuts through (1)
// goes last, so creases and kiss-cuts are made while the material is still
// whole and held.
struct ToolOrder
{
    int first = 2;
    int second() const { return first == 2 ? 1 : 2; }
    QString text() const { return QStringLiteral("%1,%2").arg(first).arg(second()); }
    // "2,1" or "1,2".
    bool set(const QString &text);
};
