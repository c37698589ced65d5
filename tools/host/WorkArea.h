// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <QString>
#include <QStringList>

class VXDeviceInterface;
struct PlotReport;

// The area the machine can reach, in millimetres: "WORKAREA_X" by
// "WORKAREA_Y". Some models store half millimetres, so the records are read
// through their editor's factor, never as raw words. Zero means the machine
// has not told it (not read yet, or it reports none).
//
// A placed design lies with its lower-left corner at (margin, margin), so
// what it needs of the area is its size plus the margin on each axis.
struct WorkArea
{
    double width = 0;    // mm
    double height = 0;   // mm

    bool known() const { return width > 0 && height > 0; }
    // "450 x 600 mm"
    QString text() const;

    // The records a read must cover.
    static QStringList keys();
    static WorkArea of(VXDeviceInterface *device);
    // "450x600" (or "450 x 600", "450X600", decimals allowed). False with why.
    static bool parse(const QString &text, WorkArea &area, QString &why);

    // None when the design fits or the area is unknown; otherwise a PlotFile
    // failure naming both sizes and the overhang, with the same as facts.
    Failure check(double designWidth, double designHeight, double margin) const;
    Failure check(const PlotReport &report, double margin) const;
    // What to tell the user when the area is unknown and nothing was checked.
    static QString unknownWarning();
};
