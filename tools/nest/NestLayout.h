// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestGeometry.h"
#include "NestPart.h"
#include "PlotPipeline.h"

#include <QByteArray>
#include <QJsonObject>
#include <QRectF>

#include <vector>

// A finished nest: where every piece lies, in millimetres on the material
// (x across it, y along the feed, origin at its lower-left corner), and how
// well the material is used. On sheets, each sheet has its own origin.
//
// The machine cuts a strip in windows no longer than its work area: each
// window is the pieces lying wholly within it, starting at the lowest piece
// not yet cut, so no piece is ever split and the belt feeds by the distance
// between window starts. A piece longer than a window cannot be cut so.
struct NestLayout
{
    struct Placed {
        int part = 0;
        int sheet = 0;
        double degrees = 0;
        bool mirror = false;
        nestgeo::Pose pose;   // part coordinates to the oriented piece
        QPointF at;           // where the oriented piece's box corner lies
        QRectF box;           // the piece's outline box on the material

        QPointF map(const QPointF &p) const { return pose.map(p) + at; }
    };
    struct Window {
        double from = 0, to = 0;  // mm along the strip
        std::vector<int> placed;  // indices into placed
    };

    double width = 0;
    double sheetLength = 0;            // 0: a strip
    std::vector<Placed> placed;
    std::vector<int> requested;        // per part
    std::vector<int> placedCount;      // per part
    int sheets = 0;
    double length = 0;                 // strip: used length; sheets: used length of the last sheet
    double partArea = 0;               // mm², pieces placed
    int evaluations = 0;               // layouts tried by the search
    double seconds = 0;
    bool cancelled = false;

    // Strip: width by length; sheets: all full sheets and the last one's used part.
    double usedArea() const;
    double utilisation() const { return usedArea() > 0 ? partArea / usedArea() : 0; }
    int unplaced() const;

    // Every piece in place, with its sources and tools; sheet -1: all sheets (strip).
    PlotDocument document(const std::vector<NestPart> &parts, int sheet = -1) const;
    // False with why (naming the piece) when a piece is longer than maxLength.
    bool windows(double maxLength, std::vector<Window> &out, QString &why) const;
    // A window's pieces, moved so the window starts at y = 0.
    PlotDocument document(const std::vector<NestPart> &parts, const Window &window) const;

    // "length", "sheets", "utilisation", "placed", "unplaced", "parts" (per part), "seconds".
    QJsonObject facts(const std::vector<NestPart> &parts) const;
};

namespace NestPlot {

// The plot text of a placed document through the pipeline (tools, merging,
// order, shaping as the options say), keeping the document's own origin:
// the pipeline would move the pieces' box to the margin, but where a piece
// lies across the material is the nest's decision. A weed border keeps the
// pipeline's placement (the border itself starts at the margin).
QByteArray text(const PlotDocument &document, const PlotOptions &options, PlotReport *report = nullptr);

} // namespace NestPlot
