// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotOptionTable.h"

#include <QCoreApplication>

#include <cmath>
#include <iterator>

namespace PlotOptionTable {

namespace {

bool number(const QString &text, double lo, double hi, double &out, QString *error)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < lo || v > hi) {
        if (error)
            *error = QCoreApplication::translate("PlotOptionTable", "expects a number from %1 to %2, not \"%3\"")
                         .arg(lo).arg(hi).arg(text);
        return false;
    }
    out = v;
    return true;
}

QString text(double v) { return QString::number(v); }

#define VX_NUMBER(member, lo, hi)                                                           \
    [](const PlotOptions &o) { return text(o.member); },                                   \
        [](PlotOptions &o, const QString &v, QString *e) { return number(v, lo, hi, o.member, e); }

// The help texts are translated where they are shown (vxcut --help, the
// options panel's tips); the flags stay as typed. The errors follow the
// flag they are about ("--rotate expects ..."), in the tool's language.
const Row Rows[] = {
    {"scale", "PERCENT", QT_TRANSLATE_NOOP("PlotOptionTable", "Scale the design by this percentage."), VX_NUMBER(placement.scalePercent, 0.01, 100000)},
    {"width", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Scale the design to this width (keeps the aspect; with --height, fits both)."),
     VX_NUMBER(placement.targetWidth, 0, 1e6)},
    {"height", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Scale the design to this height (keeps the aspect)."), VX_NUMBER(placement.targetHeight, 0, 1e6)},
    {"rotate", "DEGREES", QT_TRANSLATE_NOOP("PlotOptionTable", "Rotate counter-clockwise by 0, 90, 180 or 270 degrees."),
     [](const PlotOptions &o) { return QString::number(o.placement.rotation); },
     [](PlotOptions &o, const QString &v, QString *e) {
         bool ok = false;
         const int r = v.toInt(&ok);
         if (!ok || r % 90 != 0) {
             if (e)
                 *e = QCoreApplication::translate("PlotOptionTable", "expects 0, 90, 180 or 270, not \"%1\"").arg(v);
             return false;
         }
         o.placement.rotation = ((r % 360) + 360) % 360;
         return true;
     }},
    {"mirror", nullptr, QT_TRANSLATE_NOOP("PlotOptionTable", "Mirror the design left to right (for cutting from the back)."),
     [](const PlotOptions &o) { return QString::fromLatin1(o.placement.mirror ? "on" : "off"); },
     [](PlotOptions &o, const QString &, QString *) { return o.placement.mirror = true; }},
    {"margin", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Place the design this far from the origin."), VX_NUMBER(placement.margin, 0, 1e5)},
    {"no-order", nullptr, QT_TRANSLATE_NOOP("PlotOptionTable", "Cut in the file's order (no reordering)."),
     [](const PlotOptions &o) { return QString::fromLatin1(o.order ? "off" : "on"); },
     [](PlotOptions &o, const QString &, QString *) {
         o.order = false;
         return true;
     }},
    {"merge-overlaps", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Cut lines lying on one another within this distance once (0: off)."),
     VX_NUMBER(mergeOverlaps, 0, 10)},
    {"passes", "N", QT_TRANSLATE_NOOP("PlotOptionTable", "Cut each path this many times."),
     [](const PlotOptions &o) { return QString::number(o.passes); },
     [](PlotOptions &o, const QString &v, QString *e) {
         double n = 0;
         if (!number(v, 1, 100, n, e) || n != std::floor(n)) {
             if (e && e->isEmpty())
                 *e = QCoreApplication::translate("PlotOptionTable", "expects a whole number from 1 to 100, not \"%1\"")
                          .arg(v);
             return false;
         }
         o.passes = int(n);
         return true;
     }},
    {"overcut", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Extend closed contours past their start by this length."), VX_NUMBER(overcut, 0, 100)},
    {"blade-offset", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Drag-knife compensation for this blade offset (0: off)."), VX_NUMBER(bladeOffset, 0, 5)},
    {"weed-border", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Add a rectangle this far around the design (0: none)."), VX_NUMBER(weedBorder, 0, 1000)},
    // Repeatable: each --tool adds a rule; the first matching rule wins.
    {"tool", "SELECTOR=N", QT_TRANSLATE_NOOP("PlotOptionTable", "Cut the paths of a pen number, #rrggbb colour or layer name with tool N (1 or 2); repeat for more. Unmatched: HP-GL pens as written, everything else tool 1."),
     [](const PlotOptions &o) { return o.tools.isEmpty() ? QStringLiteral("none") : o.tools.texts().join(QLatin1Char(' ')); },
     [](PlotOptions &o, const QString &v, QString *e) {
         // "none" (the default's text) drops the rules given so far.
         if (v == QLatin1String("none")) {
             o.tools = ToolMap();
             return true;
         }
         return o.tools.add(v, e);
     }},
    {"tool-order", "ORDER", QT_TRANSLATE_NOOP("PlotOptionTable", "The order the tools cut in: 2,1 (tool 1, which cuts through, last) or 1,2."),
     [](const PlotOptions &o) { return o.toolOrder.text(); },
     [](PlotOptions &o, const QString &v, QString *e) {
         if (o.toolOrder.set(v))
             return true;
         if (e)
             *e = QCoreApplication::translate("PlotOptionTable", "expects 2,1 or 1,2, not \"%1\"").arg(v);
         return false;
     }},
    {"tolerance", "MM", QT_TRANSLATE_NOOP("PlotOptionTable", "Chord tolerance for curves."), VX_NUMBER(chordTolerance, 0.001, 10)},
};

#undef VX_NUMBER

} // namespace

const Row *rows(int *count)
{
    *count = int(std::size(Rows));
    return Rows;
}

const Row *find(const QString &flag)
{
    for (const Row &row : Rows)
        if (flag == QLatin1String(row.flag))
            return &row;
    return nullptr;
}

} // namespace PlotOptionTable
