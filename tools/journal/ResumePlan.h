// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// What is left of a job whose link dropped and whose machine gave it up:
// copies asked, copies the machine reported finished, and how far the
// interrupted copy got (percent of that copy, -1 unknown).
//
// The copy that was cut part way is never cut whole again by default: its
// material already carries the first part of the path, and cutting that
// part twice spoils it. By default the plan continues it from where it
// stopped; re-cutting it whole (on fresh material) or leaving it out is the
// operator's call. A copy at 0 % was not touched and is simply cut; one at
// 100 % was cut through, whatever the finished count says.
struct ResumePlan
{
    Q_DECLARE_TR_FUNCTIONS(ResumePlan)

public:
    enum Interrupted { Continue, RecutWhole, Leave };

    int remaining = 0;    // copies not finished, the interrupted one included
    int whole = 0;        // copies to cut from the start
    bool partial = false; // the interrupted copy is continued ...
    // ... from this percent of that copy. It is the machine's figure, which
    // counts cutting time (pen-down and pen-up moves), not path length: a
    // host maps it onto its strokes by the same rule and starts at the
    // stroke under way, never after it, so nothing is left uncut.
    int fromPercent = 0;
    QString problem;      // non-empty: no plan; say why (nothing is cut)

    bool ok() const { return problem.isEmpty(); }

    static ResumePlan make(int asked, int finished, int percent, Interrupted mode = Continue);
};
