// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"
#include "PlotPlacement.h"
#include "ToolMap.h"

#include <QString>

#include <atomic>
#include <vector>

// Everything between a read design and the plot text: give each path its
// tool, place, add the weed border, merge overlapping lines (of one tool:
// a crease over a cut is both), order each tool's paths in turn, then shape
// for the knife (overcut, blade offset, passes). Defaults cut the design as
// drawn, in a better order, with overlaps cut once.
struct PlotOptions
{
    double chordTolerance = 0.05; // mm, for readers and arcs made here
    PlotPlacement placement;
    bool order = true;
    double mergeOverlaps = 0.05;  // mm; 0 keeps every line
    int passes = 1;
    double overcut = 0;           // mm
    double bladeOffset = 0;       // mm; 0: the machine compensates
    double bladeAngle = 30;       // degrees; sharper corners get a swivel
    double weedBorder = 0;        // mm
    double cutSpeed = 100;        // mm/s, for the estimate
    double travelSpeed = 300;     // mm/s
    ToolMap tools;                // which paths the second tool cuts
    ToolOrder toolOrder;          // each tool's paths are cut together, in this order
};

struct PlotReport
{
    double width = 0, height = 0;      // mm, placed design with its border
    double designLength = 0;           // mm of lines, after merging
    double cutLength = 0;              // mm the knife travels down (passes, overcut)
    double travelBefore = 0;           // mm pen up, in the file's order
    double travelAfter = 0;            // mm pen up, as sent
    double mergedLength = 0;           // mm removed as overlapping
    int designPaths = 0;               // paths after placing and merging
    int paths = 0;                     // paths sent (passes included)
    double estimateSeconds = 0;
    // Per tool in cut order, tools without paths left out: what is sent.
    struct Tool {
        int tool = 1;
        double cutLength = 0; // mm
        int paths = 0;
    };
    std::vector<Tool> tools;
};

struct PlotPlan
{
    // Placed, merged and ordered, one entry per design path in cut order;
    // source[i] is the read path it came from. For views: colour by index,
    // design.travelMoves() for the pen-up moves.
    PlotDocument design;
    std::vector<int> source;
    // What is sent: design plus overcut, blade offset and passes. Empty
    // when none applies (a plot of 50 MB need not be held twice): use sent().
    PlotDocument cut;
    PlotReport report;

    const PlotDocument &sent() const { return cut.isEmpty() ? design : cut; }
};

namespace PlotPipeline {

// cancel: another thread's stop (Ctrl-C, a Stop button); checked inside
// the long loops, and a cancelled plan is partial: the caller drops it.
PlotPlan run(PlotDocument design, const PlotOptions &options, const std::atomic<bool> *cancel = nullptr);

} // namespace PlotPipeline
