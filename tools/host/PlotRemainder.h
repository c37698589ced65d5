// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QString>

struct PlotJob;

// The rest of a copy the machine gave up part way: the pen-down strokes
// from the one under way at the machine's percent, as a plot of its own.
//
// The machine's percent of a copy is cutting time, not path length: pen-down
// length at the cutting speed plus pen-up travel at the travel speed (both
// mm/s, below 10 counting as 10), in plot order from the origin. The
// percent is whole and rounded down, and travel this reader cannot place
// (moves between pen-up positions) is taken off the mark before the search;
// both only move the start earlier, so the stroke under way is re-cut from
// its start and nothing is left uncut. The strokes are written in absolute
// plotter units, whatever scaling the file used.
namespace PlotRemainder {

// False with error when the plot cannot be read or nothing is left.
bool make(const PlotJob &whole, int fromPercent, double cutSpeed, double travelSpeed,
          PlotJob *rest, QString *error, int *firstStroke = nullptr);

}
