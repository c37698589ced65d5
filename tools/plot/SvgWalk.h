// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"
#include "ReadBudget.h"
#include "SvgGeometry.h"
#include "SvgTree.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>

// The rendering walk of an SVG tree into cut paths, in millimetres, y up.
//
// What draws is what a viewer would show: shapes, <use> instances and
// text outlines, through <g>, <a>, <switch> (its first child) and nested
// viewports (<svg>, and a <symbol> or <svg> a <use> sizes). Contents of
// <defs>, <clipPath>, <mask>, <marker>, <pattern> and unused <symbol>s are
// never drawn by themselves. A shape with neither stroke nor a visible
// fill, or filled white without stroke (a page background), cuts nothing
// on purpose; an element that would draw but yields nothing here (an
// <image>, a degenerate shape, a marker) is counted with its kind.
//
// Each path keeps its source: the stroke colour (the fill colour when not
// stroked) and the outermost Inkscape layer's label, else the id of the
// top-level <g>. Bounds: <use> nesting at most MaxUseDepth and never
// through an element it is inside (a cycle is refused naming the id);
// every element drawn costs a budget step, every point a budget point.
class SvgWalk
{
    Q_DECLARE_TR_FUNCTIONS(SvgReader)

public:
    static constexpr int MaxUseDepth = 32;
    static constexpr double ToleranceMm = 0.01;

    // toMm maps the root's user units to millimetres (y down) on a page
    // pageHeightMm tall; viewport is the root's, in user units.
    SvgWalk(const SvgTree &tree, PlotDocument &doc, ReadBudget &budget)
        : m_tree(tree), m_doc(doc), m_budget(budget) {}
    bool run(const QTransform &toMm, const svg::Viewport &viewport, double pageHeightMm);

    QString error() const { return m_error; }
    int skipped() const { return m_skipped; }
    QStringList skippedKinds() const { return m_kinds; }

    struct Style {
        QString stroke = QStringLiteral("none"), fill = QStringLiteral("black"), color = QStringLiteral("black");
        QString strokeWidth = QStringLiteral("1"), strokeOpacity = QStringLiteral("1"), fillOpacity = QStringLiteral("1");
        QString visibility = QStringLiteral("visible"), fontFamily, fontWeight, fontStyle, textAnchor;
        double fontSize = 16;
        bool markers = false;
    };
    struct Context {
        QTransform ctm;
        svg::Viewport vp;
        Style style;
        QString layer;
        bool inLayer = false;
        int useDepth = 0;
    };

private:
    bool walk(int index, Context ctx);
    bool children(int index, const Context &ctx);
    bool viewport(int index, const Context &ctx, const QString &width, const QString &height, double x, double y);
    bool use(int index, Context ctx);
    bool shape(int index, const Context &ctx);
    bool text(int index, const Context &ctx);
    bool draw(const SvgNode &n, const QPainterPath &outline, const Context &ctx);
    bool attrLength(const SvgNode &n, const char *name, svg::Axis axis, const Context &ctx, double *out,
                    const QString &fallback = QStringLiteral("0"));
    Style computed(const SvgNode &n, const Style &parent) const;
    void skip(const QString &kind);
    bool refuse(const SvgNode &n, const QString &why);
    bool outOfBudget();

    const SvgTree &m_tree;
    PlotDocument &m_doc;
    ReadBudget &m_budget;
    double m_pageHeight = 0;
    QStringList m_drawing; // ids of the elements being drawn, for cycles
    QString m_error;
    int m_skipped = 0;
    QStringList m_kinds;
};
