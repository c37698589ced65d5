// SPDX-License-Identifier: LGPL-2.1-or-later
// A nest from the queue, cut as `vxcut cut --nest` cuts one: its parts read
// and searched off the service's thread, the layout made into windows as
// long as the work area and saved beside this machine's journal (a resume
// cuts the later windows from it), then cut window by window with the
// journal and the reconnect rules of a design.
#include "MachineStationPrivate.h"

#include "RecordValue.h"
#include "ShopNest.h"

void MachineStation::Private::takeNest()
{
    NestSearchJob job;
    QString why;
    if (!area.known())
        return end(ShopEntry::State::Failed,
                   tr("the machine did not tell its work area: the windows of the nest cannot be sized"), QString());
    if (!ShopNest::job(cur->nest, cur->options, area, &job, &why))
        return end(ShopEntry::State::Failed, why, QString());
    work = Work::Nesting;
    event(tr("%1: nesting").arg(jobText()));
    search.start(job);
}

void MachineStation::Private::onNested()
{
    if (work != Work::Nesting)
        return;
    work = Work::Idle;
    const NestSearchResult result = std::move(search.result());
    // Cancelled or taken by something else while it was searched.
    const std::optional<ShopEntry> now = cur ? queue.get(cur->id) : std::nullopt;
    if (!now || now->state != ShopEntry::State::Queued) {
        cur.reset();
        return proceedLater();
    }
    cur = *now;
    NestSearchJob job;
    QString why;
    if (!ShopNest::job(cur->nest, cur->options, area, &job, &why))
        return end(ShopEntry::State::Failed, why, QString());
    if (!result.ok)
        return end(ShopEntry::State::Failed, ShopNest::named(result.error, job), QString());
    // A shop job never comes off the machine short of pieces unnoticed.
    if (const int left = result.layout.unplaced())
        return end(ShopEntry::State::Failed, tr("%n piece(s) found no place on the strip", "", left), QString());
    if (q->m_queuePaused || !ready || !session.linkUp()) {
        cur.reset();
        return proceedLater();
    }
    const VXDeviceProperty *feed = session.record(QStringLiteral("FEED_LENGTH"));
    if (!feed)
        return end(ShopEntry::State::Failed, tr("the machine has no automatic feed (FEED_LENGTH)"), QString());
    NestCut cut;
    Failure f = NestCut::make(result.layout, result.parts, job.plot, area, EditorSpec::of(feed), &cut);
    if (!f)
        f = cut.save(NestCut::savePath(q->m_journal->path(), cut.sha256));
    if (f)
        return end(ShopEntry::State::Failed, ShopNest::named(f.message, job), QString());

    nest = std::make_unique<NestRun>(session);
    NestRun *run = nest.get();
    run->setReconnect(true, schedule());
    run->setJournal(q->m_journal.get());
    run->setCut(cut);
    watch(run->runner());
    QObject::connect(&run->runner(), &JobRunner::planned, q, [this, run](int estimate) {
        remaining = estimate;
        onPlanned(windowDraft(run->runner(), *run));
    });
    QObject::connect(run, &NestRun::windowStarted, q, [this](int k, int n) {
        event(tr("%1: window %2 of %3").arg(jobText()).arg(k).arg(n));
    });
    QObject::connect(run, &NestRun::warning, q, [this](const QString &text) { event(text); });
    QObject::connect(run, &NestRun::finished, q, [this] { onNestEnded(); });
    work = Work::Cutting;
    if (!run->start()) {
        nest.reset();
        work = Work::Idle;
        cur.reset();
        ensureLink();
    }
}

JobRecord MachineStation::Private::windowDraft(const JobRunner &runner, const NestRun &run)
{
    JobRecord r = runner.draft();
    const NestCut &cut = run.cut();
    if (cut.windows.empty())
        return r;
    const int k = qBound(1, run.window(), int(cut.windows.size()));
    // As the nest run journals its windows: the whole window's plot, even
    // when only its rest is cut.
    r.plotSha256 = cut.windows[std::size_t(k - 1)].job.textSha256;
    r.nestSha256 = cut.sha256;
    r.nestWindow = k;
    r.nestWindows = int(cut.windows.size());
    r.feedBefore = run.feedBefore();
    return r;
}

void MachineStation::Private::onNestEnded()
{
    NestRun *run = nest.release();
    run->deleteLater();
    const Failure failure = run->failure();
    const JobRecord last = run->lastRecord();
    const JobRunner &window = run->runner();
    const bool gaveUp = window.state() == JobRunner::State::Lost && window.machineGaveUp();
    work = Work::Idle;
    remaining = -1;
    if (!run->journalError().isEmpty())
        event(tr("the job journal was not written: %1").arg(run->journalError()));
    if (!cur)
        return proceedLater();
    if (!failure)
        return end(ShopEntry::State::Done, run->restoreError(), last.id);
    if (cur->state == ShopEntry::State::Queued) {
        // No window went to the machine: a lost link leaves the entry
        // queued, and so does a stop not asked for (onPlanned's, when the
        // queue file could not be written).
        if (stopAsked)
            return end(ShopEntry::State::Cancelled, QString(), QString());
        if (failure.kind != Failure::DeviceLost && failure.kind != Failure::Interrupted)
            return end(ShopEntry::State::Failed, failure.message, last.id);
        cur.reset();
        ensureLink();
        return proceedLater();
    }
    draft = last;
    cur->record = last.toJson();
    if (stopAsked)
        return end(ShopEntry::State::Cancelled, failure.kind == Failure::Interrupted ? QString() : failure.message,
                   last.id);
    if (failure.kind != Failure::DeviceLost)
        return end(ShopEntry::State::Failed, failure.message, last.id);
    // The machine dropped the window: the resume asks it how far it got.
    // Otherwise it may still be cutting, or have cut on: for a person.
    if (gaveUp)
        return autoResume();
    hold(failure.message);
}

// After a restart: the machine reports window k of the nest ended, cut
// through. Its last job is that window's, so no later window reached it:
// the next one is journaled untouched, as the nest run journals a window it
// never sent, and the resume goes on from there and puts the operator's
// feed back at the end. False when `window` is no finished nest window.
bool MachineStation::Private::nestAfterRestart(const JobRecord &window)
{
    if (window.nestWindows <= 0 || window.outcome != JobRecord::Outcome::Finished)
        return false;
    if (window.nestWindow >= window.nestWindows) {
        end(ShopEntry::State::Done, tr("the machine still feeds as the nest's last window did: "
                                       "put its feed settings back by hand"), window.id);
        return true;
    }
    if (stopAsked) {
        end(ShopEntry::State::Cancelled, QString(), window.id);
        return true;
    }
    JobRecord next;
    next.start = next.end = QDateTime::currentDateTimeUtc();
    next.copies = 1;
    next.percent = 0;
    next.outcome = JobRecord::Outcome::Interrupted;
    next.file = window.file;
    next.sha256 = window.sha256;
    next.options = window.options;
    next.deviceId = window.deviceId;
    next.uniqueId = window.uniqueId;
    next.nestSha256 = window.nestSha256;
    next.nestWindow = window.nestWindow + 1;
    next.nestWindows = window.nestWindows;
    next.feedBefore = window.feedBefore;
    append(next);
    if (next.id.isEmpty()) {
        hold(tr("the job journal was not written: the rest of the nest cannot be resumed"));
        return true;
    }
    draft = next;
    cur->record = next.toJson();
    autoResume();
    return true;
}
