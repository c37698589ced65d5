// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobRecord.h"
#include "JobReport.h"
#include "PlotJob.h"
#include "ResumePlan.h"

#include <QCoreApplication>

class JobJournal;
class JobRunner;
struct MachineIdentity;

// What a resume of the last interrupted job works from, for every host: the
// journal record, its file planned again with the options it was cut with,
// and the plan. Another file under that name (SHA-256 of the file), or the
// same file planned differently (SHA-256 of the plot text), would cut the
// rest of another drawing: both are refused. A resume cuts in up to two
// jobs, the rest of the interrupted copy, then the whole copies left, and
// journals them as one record naming the job it resumes.
struct ResumeJob
{
    Q_DECLARE_TR_FUNCTIONS(ResumeJob)

public:
    JobRecord from;
    PlotOptions options;    // as recorded
    PlotJob job;            // one whole copy, planned again with them
    ResumePlan plan;
    ResumePlan::Interrupted mode = ResumePlan::Continue;

    // given/flags: design options the operator typed with the resume; each
    // must equal the recorded one. Failure Other: nothing to resume;
    // PlotFile: the file is gone, changed or plans differently; Usage: an
    // option differs, or the plan needs the operator's choice (plan.problem).
    static Failure find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out,
                        const PlotOptions &given = PlotOptions(), const QStringList &flags = QStringList());
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
    // under the knife: a failure while the machine cuts (or pauses, or waits
    // for a sheet's plot).
    static Failure machineBusy(const JobReport &report);
    // The machine may have cut on after the host lost it. Its report of this
    // very job (same machine, same job name) gives the true count: the
    // record corrected to it, or false when the report tells nothing new.
    bool corrected(const JobReport &report, const MachineIdentity &here, JobRecord *out) const;
    // Continues from a corrected record: the plan made again.
    Failure adopt(const JobRecord &record);
    // The plot of the rest of the interrupted copy at the machine's speeds.
    Failure rest(double cutSpeed, double travelSpeed, PlotJob *out, int *firstStroke) const;

    // The record the resume appends, before its parts run.
    JobRecord begin(const MachineIdentity &here) const;
    // Adds a part that ended: copies finished, outcome, outage, the machine's job.
    void addPart(JobRecord &combined, const JobRunner &runner, int copies, bool rest) const;

private:
    Failure loadPlan(const PlotOptions &given, const QStringList &flags);
};
