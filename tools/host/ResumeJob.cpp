// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumeJob.h"

#include "JobJournal.h"
#include "JobRunner.h"
#include "PlotRemainder.h"
#include "Reconnector.h"

Failure ResumeJob::find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out)
{
    const std::optional<JobRecord> found = journal.lastInterrupted();
    if (!found)
        return {Failure::Other, QStringLiteral("no interrupted job to resume in %1").arg(journal.path())};
    ResumeJob r;
    r.from = *found;
    QString error;
    if (!r.job.load(r.from.file, error))
        return {Failure::PlotFile, QStringLiteral("the interrupted job's file: %1").arg(error)};
    if (JobJournal::fileSha256(r.from.file) != r.from.sha256)
        return {Failure::PlotFile, QStringLiteral("%1 changed since the job was cut (SHA-256 differs); nothing was cut")
                                       .arg(r.from.file)};
    r.plan = ResumePlan::make(r.from.copies, r.from.finished, r.from.percent, mode);
    if (!r.plan.ok())
        return {Failure::Usage, r.plan.problem};
    if (r.plan.whole == 0 && !r.plan.partial)
        return {Failure::Other, QStringLiteral("nothing is left to cut of %1 (%2)").arg(r.from.file, r.wasText())};
    *out = r;
    return Failure();
}

QString ResumeJob::planText() const
{
    QStringList parts;
    if (plan.partial)
        parts << QStringLiteral("the rest of copy %1 (from %2%)").arg(from.finished + 1).arg(plan.fromPercent);
    if (plan.whole > 0)
        parts << QStringLiteral("%1 whole cop%2").arg(plan.whole).arg(plan.whole == 1 ? QStringLiteral("y")
                                                                                        : QStringLiteral("ies"));
    return parts.join(QStringLiteral(" and "));
}

QString ResumeJob::wasText() const
{
    QString text = QStringLiteral("%1 of %2 copies finished").arg(from.finished).arg(from.copies);
    if (from.finished < from.copies)
        text += from.percent >= 0 ? QStringLiteral(", copy %1 at %2%").arg(from.finished + 1).arg(from.percent)
                                  : QStringLiteral(", how far copy %1 got is not known").arg(from.finished + 1);
    return text;
}

Failure ResumeJob::checkMachine(const MachineIdentity &here, QString *warning) const
{
    const MachineIdentity there{from.deviceId, from.uniqueId};
    if (!there.known() || here.matches(there))
        return Failure();
    if (plan.partial)
        return {Failure::Rejected, QStringLiteral("the job was cut on %1, this machine is %2: the rest of a copy "
                                                  "is cut only where it started; nothing was cut")
                                       .arg(there.text(), here.text())};
    if (warning)
        *warning = QStringLiteral("the job was cut on %1; cutting the rest on %2").arg(there.text(), here.text());
    return Failure();
}

Failure ResumeJob::machineBusy(const QString &jobReport)
{
    const QStringList f = jobReport.split(QLatin1Char(','));
    const int status = f.value(1).toInt();
    if (status != 1 && status != 2 && status != 7)
        return Failure();
    return {Failure::Other, QStringLiteral("the machine is cutting a job now (%1, %2 of %3 copies finished): "
                                           "resume once it has ended; nothing was cut")
                                .arg(f.value(2), f.value(4), f.value(3))};
}

Failure ResumeJob::rest(double cutSpeed, double travelSpeed, PlotJob *out, int *firstStroke) const
{
    QString error;
    if (!PlotRemainder::make(job, plan.fromPercent, cutSpeed, travelSpeed, out, &error, firstStroke))
        return {Failure::PlotFile, QStringLiteral("the rest of copy %1: %2").arg(from.finished + 1).arg(error)};
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
