// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumeJob.h"

#include "Counted.h"

#include "JobJournal.h"
#include "JobRunner.h"
#include "PlotRemainder.h"
#include "RecordedOptions.h"
#include "Reconnector.h"

#include <QLocale>

namespace {
QString num(int n)
{
    return QLocale().toString(n);
}
}

Failure ResumeJob::find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out,
                        const PlotOptions &given, const QStringList &flags)
{
    const std::optional<JobRecord> found = journal.lastInterrupted();
    if (!found)
        return {Failure::Other, tr("no interrupted job to resume in %1").arg(journal.path())};
    ResumeJob r;
    r.from = *found;
    r.mode = mode;
    if (Failure f = r.loadPlan(given, flags))
        return f;
    // Kept on failure too: plan.problem tells a choice from a refusal.
    const Failure f = r.adopt(r.from);
    *out = r;
    return f;
}

Failure ResumeJob::loadPlan(const PlotOptions &given, const QStringList &flags)
{
    QString error;
    if (!RecordedOptions::read(from.options, &options, &error))
        return {Failure::Other, tr("the interrupted job's options cannot be read: %1; nothing was cut").arg(error)};
    QStringList differ;
    for (const RecordedOptions::Difference &d : RecordedOptions::compare(options, given, flags))
        differ << tr("--%1 was %2 when the job was cut, not %3").arg(d.flag, d.recorded, d.given);
    if (!differ.isEmpty())
        return {Failure::Usage, tr("%1: a resume cuts the drawing that was cut; nothing was cut")
                                    .arg(differ.join(QStringLiteral("; ")))};
    if (!job.load(from.file, options, error))
        return {Failure::PlotFile, tr("the interrupted job's file: %1").arg(error)};
    if (JobJournal::fileSha256(from.file) != from.sha256)
        return {Failure::PlotFile, tr("%1 changed since the job was cut (SHA-256 differs); nothing was cut")
                                       .arg(from.file)};
    // Same file, same options, yet another plot: this build plans it
    // otherwise, and its rest would not continue what is on the material.
    if (!from.plotSha256.isEmpty() && job.textSha256 != from.plotSha256)
        return {Failure::PlotFile, tr("%1 plans differently from the plot that was cut (plot SHA-256 differs); "
                                      "nothing was cut").arg(from.file)};
    return Failure();
}

Failure ResumeJob::adopt(const JobRecord &record)
{
    from = record;
    plan = ResumePlan::make(from.copies, from.finished, from.percent, mode);
    if (!plan.ok())
        return {Failure::Usage, plan.problem};
    if (plan.whole == 0 && !plan.partial)
        return {Failure::Other, tr("nothing is left to cut of %1 (%2)").arg(from.file, wasText())};
    return Failure();
}

QString ResumeJob::withOptions(const QString &problem)
{
    return tr("%1 (--recut-interrupted or --skip-interrupted)").arg(problem);
}

QString ResumeJob::planText() const
{
    // English has a singular of its own; the count is in the text either way.
    const QString copy = num(from.finished + 1);
    const QString percent = num(plan.fromPercent);
    if (plan.partial && plan.whole == 1)
        return tr("the rest of copy %1 (from %2%) and 1 whole copy").arg(copy, percent);
    if (plan.partial && plan.whole > 1)
        return tr("the rest of copy %1 (from %2%) and %n whole copies", nullptr, plan.whole).arg(copy, percent);
    if (plan.partial)
        return tr("the rest of copy %1 (from %2%)").arg(copy, percent);
    if (plan.whole == 1)
        return tr("1 whole copy");
    return plan.whole > 1 ? tr("%n whole copies", nullptr, plan.whole) : QString();
}

QString ResumeJob::wasText() const
{
    if (from.finished >= from.copies)
        return tr("%1 of %2 finished").arg(num(from.finished), Counted::copies(from.copies));
    if (from.percent >= 0)
        return tr("%1 of %2 finished, copy %3 at %4%")
            .arg(num(from.finished), Counted::copies(from.copies), num(from.finished + 1), num(from.percent));
    return tr("%1 of %2 finished, how far copy %3 got is not known")
        .arg(num(from.finished), Counted::copies(from.copies), num(from.finished + 1));
}

Failure ResumeJob::checkMachine(const MachineIdentity &here, QString *warning) const
{
    const MachineIdentity there{from.deviceId, from.uniqueId};
    if (!there.known() || here.matches(there))
        return Failure();
    if (plan.partial)
        return {Failure::Rejected, tr("the job was cut on %1, this machine is %2: the rest of a copy "
                                      "is cut only where it started; nothing was cut")
                                       .arg(there.text(), here.text())};
    if (warning)
        *warning = tr("the job was cut on %1; cutting the rest on %2").arg(there.text(), here.text());
    return Failure();
}

Failure ResumeJob::machineBusy(const JobReport &report)
{
    if (!report.active())
        return Failure();
    return {Failure::Other, tr("the machine is cutting a job now (%1, %2 of %3 finished): "
                               "resume once it has ended; nothing was cut")
                                .arg(report.file, num(report.finished), Counted::copies(report.copies))};
}

bool ResumeJob::corrected(const JobReport &report, const MachineIdentity &here, JobRecord *out) const
{
    const MachineIdentity there{from.deviceId, from.uniqueId};
    // Job names restart with the machine and differ between machines: only
    // the same name on the same machine is this job.
    if (!report.ended() || from.jobName.isEmpty() || report.file != from.jobName
        || (there.known() && !here.matches(there)))
        return false;
    const bool all = report.status == JobReport::Status::Finished;
    const int done = all ? qMax(report.copies, report.finished) : report.finished;
    if (done < 0)
        return false;
    JobRecord r = from;
    r.id.clear();
    r.resumes = from.id;
    r.end = QDateTime::currentDateTimeUtc();
    r.finished = qMin(from.copies, from.jobFirst + done);
    if (r.finished >= r.copies)
        r.percent = 100;
    else if (all)
        r.percent = 0;      // the machine's job ended with a copy: the next is untouched
    else
        r.percent = from.jobRest && done == 0 ? -1 : report.copyPercent;   // a rest's percent is no copy's
    r.outcome = r.finished >= r.copies ? JobRecord::Outcome::Finished : JobRecord::Outcome::Interrupted;
    // The job name and its offset stay: the same report read again then
    // tells nothing new.
    r.note = QStringLiteral("as the machine reported after the link was down");
    if (r.finished == from.finished && r.percent == from.percent && r.outcome == from.outcome)
        return false;
    *out = r;
    return true;
}

Failure ResumeJob::rest(double cutSpeed, double travelSpeed, PlotJob *out, int *firstStroke) const
{
    QString error;
    if (!PlotRemainder::make(job, plan.fromPercent, cutSpeed, travelSpeed, out, &error, firstStroke))
        return {Failure::PlotFile, tr("the rest of copy %1: %2").arg(num(from.finished + 1), error)};
    return Failure();
}

JobRecord ResumeJob::begin(const MachineIdentity &here) const
{
    JobRecord r;
    r.start = QDateTime::currentDateTimeUtc();
    r.file = from.file;
    r.sha256 = from.sha256;
    r.copies = plan.whole + (plan.partial ? 1 : 0);
    r.resumes = from.id;
    r.deviceId = here.deviceId;
    r.uniqueId = here.uniqueId;
    r.outcome = JobRecord::Outcome::Interrupted;
    r.options = RecordedOptions::of(options);
    r.plotSha256 = job.textSha256;
    return r;
}

void ResumeJob::addPart(JobRecord &combined, const JobRunner &runner, int copies, bool rest) const
{
    combined.reconnects += runner.reconnectCount();
    combined.linkDownMs += runner.linkDownMs();
    combined.end = QDateTime::currentDateTimeUtc();
    const JobRecord part = runner.record();
    const bool handedOver = part.end.isValid();
    if (handedOver) {
        combined.jobName = part.jobName;
        combined.jobFirst = combined.finished;
        combined.jobRest = rest;
    }
    if (runner.state() == JobRunner::State::Finished) {
        combined.finished += copies;
        combined.outcome = JobRecord::Outcome::Finished;
        combined.percent = 100;
        return;
    }
    combined.outcome = handedOver ? part.outcome : JobRecord::Outcome::Interrupted;
    if (!handedOver) {
        // Nothing of it was cut: the copy under way is where it was.
        combined.percent = rest ? plan.fromPercent : 0;
        return;
    }
    combined.finished += part.finished;
    // A percent of the rest is no percent of the copy: a later resume must ask.
    combined.percent = rest ? -1 : part.percent;
}
