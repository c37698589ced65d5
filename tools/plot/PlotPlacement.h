// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

// Where and how big the design lands on the material. Applied in this
// order: scale (a percentage, or the factor that fits targetWidth and/or
// targetHeight keeping the aspect), rotation counter-clockwise in 90° steps,
// mirror across the vertical axis, then the box moved so its lower-left
// corner sits at (margin, margin). Rotating before the move keeps the
// result on the positive quadrant whatever the angle.
struct PlotPlacement
{
    double scalePercent = 100;
    double targetWidth = 0;  // mm, 0: not set
    double targetHeight = 0; // mm, 0: not set
    int rotation = 0;        // 0, 90, 180 or 270
    bool mirror = false;
    double margin = 0;       // mm

    // Scale, rotate and mirror around the origin (no move).
    void shape(PlotDocument &doc) const;
    // Lower-left corner of the box to (margin, margin).
    void moveToOrigin(PlotDocument &doc) const;
    void apply(PlotDocument &doc) const
    {
        shape(doc);
        moveToOrigin(doc);
    }
    // The scale factor shape() uses for a design of this size.
    double factorFor(double width, double height) const;
};
