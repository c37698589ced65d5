// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <vector>

// Which closed contour immediately holds each path: the smallest closed
// path (by box area) whose box strictly contains the path's box and whose
// polygon contains the midpoint of the path's first segment. -1 when none.
// Counters of letters and holes of parts get their outline as parent, and
// so do open cuts inside a part: all of them must be cut before the part
// is freed from the sheet.
//
// Candidates come from a grid of the contours' boxes, so a layout of many
// small parts costs n log n, not n²; a contour covering more than a few
// hundred cells (a border, a sheet outline) is kept in a short list that
// every query checks instead of being copied into each cell.
namespace nesting {

std::vector<int> parents(const PlotDocument &doc);

// Crossing-number test; points on the boundary may go either way.
bool contains(const QPointF *polygon, int count, const QPointF &p);

} // namespace nesting
