// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobRecord.h"
#include "PlotJob.h"
#include "ResumePlan.h"

#include <QCoreApplication>

class JobJournal;
class JobRunner;
struct MachineIdentity;

// What a resume of the last interrupted job works from, for every host: the
// journal record, its plot (the same file, by SHA-256: another file under
// that name would be cut as the rest of this one) and the plan. A resume
// cuts in up to two jobs, the rest of the interrupted copy, then the whole
// copies left, and journals them as one record naming the job it resumes.
struct ResumeJob
{
    Q_DECLARE_TR_FUNCTIONS(ResumeJob)

public:
    JobRecord from;
    PlotJob job;
    ResumePlan plan;

    // Failure Other: nothing to resume; PlotFile: the file is gone or
    // changed; Usage: the plan needs the operator's choice (plan.problem).
    static Failure find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out);
    // find()'s Usage sentence with the command-line options that answer it.
    static QString withOptions(const QString &problem);

    // "the rest of copy 1 (from 40%) and 1 whole copy"
    QString planText() const;
    // "0 of 2 copies finished, copy 1 at 40%"
    QString wasText() const;
    // The rest of a copy is cut only on the machine whose belt holds its
    // first part; whole copies may go to another (warning set).
    Failure checkMachine(const MachineIdentity &here, QString *warning) const;
    // A job whose fate was unknown when its link was given up may still be
    // under the knife: from the machine's answer to a job query, a failure
    // while it cuts (or pauses, or waits for a sheet's plot).
    static Failure machineBusy(const QString &jobReport);
    // The plot of the rest of the interrupted copy at the machine's speeds.
    Failure rest(double cutSpeed, double travelSpeed, PlotJob *out, int *firstStroke) const;

    // The record the resume appends, before its parts run.
    JobRecord begin(const MachineIdentity &here) const;
    // Adds a part that ended: copies finished, outcome, outage.
    void addPart(JobRecord &combined, const JobRunner &runner, int copies, bool rest) const;
};
