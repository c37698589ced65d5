// SPDX-License-Identifier: LGPL-2.1-or-later
// An entry found cutting (after a restart, or a job whose link stayed down
// past the budget) and an interrupted job: what the machine says decides,
// and what is left is resumed as `vxcut resume` does. Nothing the machine
// reports finished is cut again.
#include "MachineStationPrivate.h"

#include "ResumeJob.h"

#include <QLocale>

void MachineStation::Private::recover(const ShopEntry &entry)
{
    cur = entry;
    stopAsked = false;
    remaining = -1;
    draft = JobRecord();
    if (!JobRecord::fromJson(entry.record, &draft) || !draft.start.isValid()) {
        draft = JobRecord();
        return hold(tr("the machine cannot tell what became of the job"));
    }
    work = Work::Asking;
    asks = 0;
    event(tr("asking the machine what became of %1").arg(jobText()));
    ask();
}

void MachineStation::Private::ask()
{
    if (work != Work::Asking)
        return;
    if (!session.linkUp()) {
        work = Work::Idle;
        return ensureLink();
    }
    if (++asks > MaxAsks)
        return hold(tr("the machine cannot tell what became of the job"));
    // A device object made since the last report always passes the answer on.
    session.queryJob();
    asking.start(session.timeout());
}

void MachineStation::Private::decide(const JobReport &report)
{
    if (!report.isValid())
        return hold(tr("the machine cannot tell what became of the job"));
    const MachineIdentity there{draft.deviceId, draft.uniqueId};
    if (there.known() && !identity.matches(there))
        return hold(tr("the job ran on %1, this is %2").arg(there.text(), identity.text()));
    const bool ours = !draft.jobName.isEmpty() && report.file == draft.jobName;
    if (report.active()) {
        if (!ours)
            return hold(tr("the machine cannot tell what became of the job (it is cutting %1)").arg(report.file));
        work = Work::Following;
        event(tr("%1 is still cutting; following it").arg(jobText()));
        return onFollowReport(report);
    }
    if (stopAsked && !ours)
        return end(ShopEntry::State::Cancelled, QString(), draft.id);
    if (ours)
        return settleFromReport(report, JobRunner::judge(report));
    // In the journal already: the resume asks the machine itself.
    if (!draft.id.isEmpty())
        return autoResume();
    hold(tr("the machine cannot tell what became of the job"));
}

void MachineStation::Private::onFollowReport(const JobReport &report)
{
    if (!report.isValid())
        return;
    if (report.file != draft.jobName)
        return hold(tr("the machine went on to another job (%1)").arg(report.file));
    QJsonObject task{{QStringLiteral("FileName"), report.file},
                     {QStringLiteral("Finished"), qMax(0, report.finished)},
                     {QStringLiteral("Percent"), qMax(0, report.percent)}};
    onProgress(task, -1);
    const JobRunner::State verdict = JobRunner::judge(report);
    if (verdict != JobRunner::State::Running)
        settleFromReport(report, verdict);
}

// The job's line from its record and the machine's report, the way a
// resume corrects the journal; then its end, or the resume of the rest.
void MachineStation::Private::settleFromReport(const JobReport &report, JobRunner::State verdict)
{
    work = Work::Idle;
    ResumeJob job;
    job.from = draft;
    JobRecord fixed;
    bool changed = job.corrected(report, identity, &fixed);
    if (!changed)
        fixed = draft;
    if (verdict == JobRunner::State::Finished && fixed.outcome != JobRecord::Outcome::Finished) {
        fixed.finished = fixed.copies;
        fixed.percent = 100;
        fixed.outcome = JobRecord::Outcome::Finished;
        changed = true;
    } else if (report.status == JobReport::Status::Refused) {
        fixed.outcome = JobRecord::Outcome::Refused;
        changed = true;
    } else if (stopAsked && fixed.outcome != JobRecord::Outcome::Finished) {
        fixed.outcome = JobRecord::Outcome::Stopped;
        changed = true;
    }
    if (draft.id.isEmpty()) {
        // Never written: this is the job's own line, resuming what the draft did.
        fixed.id.clear();
        fixed.resumes = draft.resumes;
    } else if (changed) {
        fixed.id.clear();
        fixed.resumes = draft.id;
    }
    if (fixed.id.isEmpty()) {
        if (!fixed.end.isValid())
            fixed.end = QDateTime::currentDateTimeUtc();
        append(fixed);
    }
    draft = fixed;
    cur->record = fixed.toJson();
    if (nestAfterRestart(fixed))
        return;
    if (fixed.outcome == JobRecord::Outcome::Finished)
        return end(ShopEntry::State::Done, QString(), fixed.id);
    if (report.status == JobReport::Status::Refused)
        return end(ShopEntry::State::Failed, tr("the machine could not cut the plot"), fixed.id);
    if (stopAsked)
        return end(ShopEntry::State::Cancelled, QString(), fixed.id);
    autoResume();
}

void MachineStation::Private::autoResume()
{
    if (++autoResumes > MaxAutoResumes)
        return hold(tr("interrupted %1 times in a row: settle it by hand").arg(MaxAutoResumes));
    if (!ready || !session.linkUp())
        return waitForMachine(tr("interrupted"));
    startResume(ResumePlan::Continue);
}

Failure MachineStation::Private::startResume(ResumePlan::Interrupted mode)
{
    resume = std::make_unique<ResumeRun>(session, *q->m_journal);
    resume->setReconnect(true, schedule());
    Failure f = resume->prepare(mode);
    const ResumeJob &job = resume->job();
    if (!f && !draft.id.isEmpty() && job.from.id != draft.id)
        f = {Failure::Other, tr("the last interrupted job in the journal is not this one")};
    if (f) {
        // Left out the last copy: nothing is left, and that is an end.
        const bool nothingLeft = f.kind == Failure::Other && job.plan.ok() && job.plan.whole == 0
                                 && !job.plan.partial && !draft.id.isEmpty() && job.from.id == draft.id;
        resume.reset();
        if (nothingLeft)
            end(ShopEntry::State::Done, f.message, draft.id);
        else
            hold(f.message);
        return nothingLeft ? Failure() : f;
    }
    ResumeRun *run = resume.get();
    watch(run->runner());
    QObject::connect(&run->runner(), &JobRunner::planned, q, [this, run] {
        // A nest's window under way, as a fresh nest's.
        if (run->nest())
            return onPlanned(windowDraft(run->runner(), *run->nest()));
        // The resume's own line as far as it is known: a restart follows
        // the part under way from it.
        JobRecord r = run->record();
        r.id.clear();
        r.end = QDateTime();
        r.jobName.clear();
        r.jobFirst = r.finished;
        r.jobRest = run->stage() == ResumeRun::Stage::Rest;
        r.outcome = JobRecord::Outcome::Interrupted;
        onPlanned(r);
    });
    QObject::connect(run, &ResumeRun::finished, q, [this] { onResumeEnded(); });
    QObject::connect(run, &ResumeRun::warning, q, [this](const QString &text) { event(text); });
    QObject::connect(run, &ResumeRun::corrected, q, [this](const JobRecord &r) {
        event(tr("the machine reports %1 of %2 copies finished").arg(QLocale().toString(r.finished),
                                                                     QLocale().toString(r.copies)));
    });
    work = Work::Resuming;
    if (cur->state != ShopEntry::State::Cutting) {
        cur->state = ShopEntry::State::Cutting;
        cur->message.clear();
        store(*cur);
        emit q->entryChanged(cur->id);
    }
    const QString plan = job.planText();
    if (!resume->start()) {
        resume.reset();
        waitForMachine(tr("the link is down"));
        return Failure();
    }
    event(tr("%1: resuming, %2").arg(jobText(), plan));
    return Failure();
}

void MachineStation::Private::onResumeEnded()
{
    ResumeRun *run = resume.release();
    run->deleteLater();
    const Failure failure = run->failure();
    const JobRecord record = run->record();
    const JobRunner &part = run->runner();
    const JobRunner::State state = part.state();
    const bool handedOver = part.record().end.isValid();
    if (!run->journalError().isEmpty())
        event(tr("the job journal was not written: %1").arg(run->journalError()));
    work = Work::Idle;
    remaining = -1;
    if (!cur)
        return proceedLater();
    if (!failure)
        return end(ShopEntry::State::Done,
                   record.id.isEmpty() ? tr("the machine had finished the job") : QString(),
                   record.id.isEmpty() ? run->correction().id : record.id);
    if (record.id.isEmpty()) {
        // Refused before anything went out (the machine busy, another
        // machine, the file changed): for a person.
        if (stopAsked)
            return end(ShopEntry::State::Cancelled, QString(), draft.id);
        if (!session.linkUp())
            return waitForMachine(failure.message);
        return hold(failure.message);
    }
    draft = record;
    cur->record = record.toJson();
    if (stopAsked)
        return end(ShopEntry::State::Cancelled, QString(), record.id);
    if (state == JobRunner::State::Lost) {
        if (part.machineGaveUp() || !handedOver)
            return autoResume();
        return waitForMachine(failure.message);
    }
    end(ShopEntry::State::Failed, failure.message, record.id);
}

// The job's fate is unknown until the machine is back: the entry stays
// cutting with its record, and is asked about once the link is up.
void MachineStation::Private::waitForMachine(const QString &why)
{
    work = Work::Idle;
    if (cur) {
        cur->record = draft.toJson();
        cur->message = why;
        store(*cur);
        event(tr("%1: %2; waiting for the machine").arg(jobText(), why));
        emit q->entryChanged(cur->id);
    }
    ensureLink();
    proceedLater();
}

void MachineStation::Private::hold(const QString &reason)
{
    if (!cur)
        return;
    asking.stop();
    work = Work::Idle;
    if (stopAsked)
        return end(ShopEntry::State::Cancelled, reason, draft.id);
    if (draft.start.isValid() && draft.id.isEmpty()) {
        // How far the copy under way got is not known: a person chooses to
        // re-cut it or leave it out; the copies seen finished stay finished.
        draft.finished = qBound(0, cur->finished - (cur->copies - draft.copies), draft.copies);
        draft.percent = -1;
        draft.outcome = JobRecord::Outcome::Interrupted;
        draft.end = QDateTime::currentDateTimeUtc();
        append(draft);
    }
    ShopEntry e = *cur;
    e.state = ShopEntry::State::Held;
    e.message = reason;
    e.record = draft.start.isValid() ? draft.toJson() : QJsonObject();
    cur.reset();
    draft = JobRecord();
    remaining = -1;
    keep(e);
    event(tr("job %1 %2 held: %3").arg(e.id).arg(e.fileName, reason));
    emit q->entryChanged(e.id);
}
