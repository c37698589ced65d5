// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <atomic>

// Segments that lie on one another are cut once: the shared edges of tiles,
// nested parts drawn with common sides, a file that draws an outline twice.
// Segments are grouped by their carrier line (direction and distance from
// the origin, both quantised to the tolerance over the design's extent);
// along each line the parts already covered by an earlier segment (in file
// order) are removed, and paths are split where a piece went. Only
// collinear overlap counts: crossing lines and curves that touch are left
// alone. A pair that straddles a quantisation step may be missed; that
// costs a second cut, never a lost one.
namespace overlaps {

struct Result {
    double removedLength = 0; // mm
    int removedSegments = 0;  // wholly removed
};

// tolerance <= 0 leaves the document as it is.
// cancel: another thread's stop; the document is then left as it was.
Result merge(PlotDocument &doc, double tolerance, const std::atomic<bool> *cancel = nullptr);

} // namespace overlaps
