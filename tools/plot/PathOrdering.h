// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <atomic>
#include <cstdint>
#include <vector>

// Cut order for a document: paths inside a closed contour before the
// contour (see ContourNesting.h), and within that the nearest available
// path next, found on a grid of entry points (every vertex of a closed
// contour, since it may start anywhere; both ends of an open path, since it
// may run backwards). The tour is then improved by 2-opt moves over a
// window of following paths (reversing a run and the direction of each of
// its paths) where that shortens travel and keeps inside-first, and each
// closed contour's start is moved to the vertex that shortens its two
// travels. Cost: n log n for layouts of bounded local density; the grid
// holds 8 bytes per entry point.
//
// The result is a new document in cut order; `source` maps each of its
// paths back to the input path it came from (for colouring by order).
class PathOrdering
{
public:
    struct Step {
        std::uint32_t path;
        std::uint32_t start; // vertex the cut begins at
        bool reversed;
    };
    struct Result {
        PlotDocument document;
        std::vector<int> source;
        double travelBefore = 0; // the input order, from the origin
        double travelAfter = 0;
    };

    // 0 skips the 2-opt pass.
    static constexpr int DefaultWindow = 24;

    // cancel: another thread's stop; a cancelled plan is partial, and the
    // caller drops it.
    static Result order(const PlotDocument &doc, int window = DefaultWindow, const std::atomic<bool> *cancel = nullptr);
    // The steps alone, for callers that keep their own storage.
    static std::vector<Step> plan(const PlotDocument &doc, int window = DefaultWindow,
                                  const std::atomic<bool> *cancel = nullptr);
    static PlotDocument build(const PlotDocument &doc, const std::vector<Step> &steps);
};
