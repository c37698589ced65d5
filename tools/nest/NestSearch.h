// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestLayout.h"
#include "NestPart.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

// What to nest and how long to look. Sizes in mm.
struct NestRequest
{
    std::vector<NestPart> parts;   // each with its quantity and orientations
    double width = 0;              // across the material
    double sheetLength = 0;        // 0: a strip, as short as possible
    double gap = 2;                // at least this between pieces (Slack aside)
    std::uint64_t seed = 1;
    double seconds = 10;           // search time after the first layout
    int evaluations = 0;           // per search; 0: until time, patience or the bound
    int patience = 0;              // layouts without a gain before a search stops; 0: 100 + 10 per piece
    int searches = 2;              // independent searches, one thread each

    static constexpr int MaxPieces = 20000;
};

struct NestProgress
{
    int evaluations = 0;   // over all searches
    double seconds = 0;
    double length = 0;     // best so far (last sheet's on sheets)
    int sheets = 0;
    double utilisation = 0;
};

// The search: layouts made by the bottom-left placer from an order of the
// pieces and an orientation for each. The first layout takes pieces by
// falling area, each in its lowest-landing orientation; then each search
// swaps and moves pieces and turns one at a time, keeping a change that
// makes the layout no longer than the current one or than the one kept 50
// steps before (late acceptance: plateaus are walked and local optima left;
// lower piece tops break ties between equal lengths). It stops at the time, after `patience`
// layouts without a gain, at the area bound (nothing shorter exists), or
// when the cancel flag is set.
//
// Searches run on their own threads with their own seeds and caches and
// never look at one another; the best wins, ties to the first. So a seed
// and a number of evaluations give one layout whatever the timing; only
// how many layouts fit in the time depends on the machine.
namespace NestSearch {

// Refuses, before any work, pieces the material cannot take in any allowed
// orientation, too many pieces, bad sizes. False with why naming the part.
bool check(const NestRequest &request, QString &why);

// Calls progress on the calling thread, about four times a second and on
// every gain. A cancel before the first layout is done leaves it empty with
// cancelled set.
NestLayout run(const NestRequest &request, const std::atomic<bool> *cancel = nullptr,
               const std::function<void(const NestProgress &)> &progress = {});

} // namespace NestSearch
