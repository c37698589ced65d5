// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumeJob.h"

#include "JobJournal.h"
#include "JobRunner.h"
#include "PlotRemainder.h"
#include "Reconnector.h"

#include <QLocale>

namespace {
QString num(int n)
{
    return QLocale().toString(n);
}
}

Failure ResumeJob::find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out)
{
    const std::optional<JobRecord> found = journal.lastInterrupted();
    if (!found)
        return {Failure::Other, tr("no interrupted job to resume in %1").arg(journal.path())};
    ResumeJob r;
    r.from = *found;
    QString error;
    if (!r.job.load(r.from.file, error))
        return {Failure::PlotFile, tr("the interrupted job's file: %1").arg(error)};
    if (JobJournal::fileSha256(r.from.file) != r.from.sha256)
        return {Failure::PlotFile, tr("%1 changed since the job was cut (SHA-256 differs); nothing was cut")
                                       .arg(r.from.file)};
    r.plan = ResumePlan::make(r.from.copies, r.from.finished, r.from.percent, mode);
    if (!r.plan.ok())
        return {Failure::Usage, r.plan.problem};
    if (r.plan.whole == 0 && !r.plan.partial)
        return {Failure::Other, tr("nothing is left to cut of %1 (%2)").arg(r.from.file, r.wasText())};
    *out = r;
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
        return tr("%1 of %2 copies finished").arg(num(from.finished), num(from.copies));
    if (from.percent >= 0)
        return tr("%1 of %2 copies finished, copy %3 at %4%")
            .arg(num(from.finished), num(from.copies), num(from.finished + 1), num(from.percent));
    return tr("%1 of %2 copies finished, how far copy %3 got is not known")
        .arg(num(from.finished), num(from.copies), num(from.finished + 1));
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

Failure ResumeJob::machineBusy(const QString &jobReport)
{
    const QStringList f = jobReport.split(QLatin1Char(','));
    const int status = f.value(1).toInt();
    if (status != 1 && status != 2 && status != 7)
        return Failure();
    return {Failure::Other, tr("the machine is cutting a job now (%1, %2 of %3 copies finished): "
                               "resume once it has ended; nothing was cut")
                                .arg(f.value(2), f.value(4), f.value(3))};
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
    return r;
}

void ResumeJob::addPart(JobRecord &combined, const JobRunner &runner, int copies, bool rest) const
{
    combined.reconnects += runner.reconnectCount();
    combined.linkDownMs += runner.linkDownMs();
    combined.end = QDateTime::currentDateTimeUtc();
    if (runner.state() == JobRunner::State::Finished) {
        combined.finished += copies;
        combined.outcome = JobRecord::Outcome::Finished;
        combined.percent = 100;
        return;
    }
    const JobRecord part = runner.record();
    const bool handedOver = part.end.isValid();
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
