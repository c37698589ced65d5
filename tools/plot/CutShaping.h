// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

// What the knife needs beyond the design's own lines. All lengths in mm.
namespace shaping {

// A rectangle `distance` outside the design's box, for weeding the waste;
// appended last (it holds everything, so ordering keeps it last anyway).
void addWeedBorder(PlotDocument &doc, double distance);

// Each closed contour continues past its start along its own first
// segments for `length`, so the cut closes fully where the blade entered.
void addOvercut(PlotDocument &doc, double length);

// Each path cut `passes` times in a row, from the same start.
void repeat(PlotDocument &doc, int passes);

// Drag-knife compensation for machines that do not do it themselves: the
// tip trails the swivel axis by `offset`, so the axis is led `offset`
// past every point along the current direction, and at corners sharper
// than `minAngleDegrees` swings round the corner point on an arc of that
// radius (flattened to `tolerance`) so the tip turns in place.
void compensateBlade(PlotDocument &doc, double offset, double minAngleDegrees = 30,
                     double tolerance = 0.05);

} // namespace shaping
