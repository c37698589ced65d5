// SPDX-License-Identifier: LGPL-2.1-or-later
// A job from the queue: loaded off the service's thread, checked against
// the work area, handed to a runner, its progress kept in the entry.
#include "MachineStationPrivate.h"

#include "RecordedOptions.h"

#include <algorithm>

void MachineStation::Private::takeNext()
{
    const std::optional<ShopEntry> next = queue.next(q->name());
    if (!next) {
        if (!queue.lastError().isEmpty())
            queueUnread();
        return;
    }
    cur = *next;
    draft = JobRecord();
    stopAsked = false;
    autoResumes = 0;
    remaining = -1;
    if (!next->nest.isEmpty())
        return takeNest();
    PlotOptions options;
    QString error;
    if (!RecordedOptions::read(next->options, &options, &error))
        return end(ShopEntry::State::Failed, tr("the job's design options cannot be read: %1").arg(error), QString());
    work = Work::Loading;
    loader.start(next->path, options);
}

void MachineStation::Private::queueUnread()
{
    // Told once, not at every try.
    const QString why = queue.lastError();
    if (events.empty() || events.back().value(QStringLiteral("text")).toString() != why)
        event(why);
    rewriteLater.start();
}

void MachineStation::Private::onLoaded()
{
    if (work != Work::Loading)
        return;
    work = Work::Idle;
    DesignLoad &load = loader.result();
    // Cancelled, moved on or taken by something else while it loaded.
    const std::optional<ShopEntry> now = cur ? queue.get(cur->id) : std::nullopt;
    if (!now || now->state != ShopEntry::State::Queued) {
        cur.reset();
        return proceedLater();
    }
    cur = *now;
    if (!load.ok)
        return end(ShopEntry::State::Failed, load.error, QString());
    if (Failure f = area.check(load.job.report, load.job.options.placement.margin))
        return end(ShopEntry::State::Failed, f.message, QString());
    if (q->m_queuePaused || !ready || !session.linkUp()) {
        cur.reset();
        return proceedLater();
    }
    plot = std::make_unique<PlotJob>(std::move(load.job));
    runner = std::make_unique<JobRunner>(session);
    runner->setReconnect(true, schedule());
    runner->setJournal(q->m_journal.get());
    watch(*runner);
    JobRunner *r = runner.get();
    QObject::connect(r, &JobRunner::planned, q, [this, r](int estimate) {
        remaining = estimate;
        onPlanned(r->draft());
    });
    QObject::connect(r, &JobRunner::finished, q, [this](JobRunner::State s) { onRunnerEnded(s); });
    work = Work::Cutting;
    if (!runner->start(*plot, cur->copies)) {
        runner.reset();
        work = Work::Idle;
        cur.reset();
        ensureLink();
    }
}

void MachineStation::Private::watch(JobRunner &r)
{
    QObject::connect(&r, &JobRunner::progress, q,
                     [this](const QJsonObject &task, int left) { onProgress(task, left); });
    QObject::connect(&r, &JobRunner::reconnecting, q, [this] {
        setLink(Link::Reconnecting);
        emit q->changed();
    });
    QObject::connect(&r, &JobRunner::reconnected, q, [this] {
        // The runner found the same machine again: what was read of it holds.
        ready = true;
        setLink(Link::Up);
        event(tr("reconnected; following %1").arg(jobText()));
    });
}

// The plot goes to the machine right after this: the entry gets its
// record first, so a service that dies now still knows what it handed over.
void MachineStation::Private::onPlanned(const JobRecord &record)
{
    if (!cur)
        return;
    draft = record;
    const bool first = !cur->startedAt.isValid();
    const bool fromQueue = cur->state == ShopEntry::State::Queued;
    cur->state = ShopEntry::State::Cutting;
    if (first)
        cur->startedAt = QDateTime::currentDateTimeUtc();
    cur->message.clear();
    cur->record = draft.toJson();
    cur->finished = qBound(0, cur->copies - draft.copies + draft.jobFirst, cur->copies);
    cur->percent = 0;
    writtenFinished = cur->finished;
    writtenPercent = cur->percent;
    if (!store(*cur) && fromQueue) {
        // The file still says queued: a restart would cut it a second time.
        // Nothing has gone out yet, so it goes back and the queue is held.
        cur->state = ShopEntry::State::Queued;
        q->setQueuePaused(true);
        if (runner)
            runner->stop();
        else if (nest)
            nest->stop();
        return;
    }
    if (first)
        event(tr("%1 started").arg(jobText()));
    emit q->entryChanged(cur->id);
}

void MachineStation::Private::onProgress(const QJsonObject &task, int remainingSeconds)
{
    if (!cur)
        return;
    remaining = remainingSeconds;
    const QString name = task.value(QStringLiteral("FileName")).toString();
    // The machine names the job only in its reports: the name is what a
    // restart matches the machine's job against. A record already in the
    // journal is left as written.
    const bool named = draft.id.isEmpty() && !name.isEmpty() && name != draft.jobName;
    if (named)
        draft.jobName = name;
    // A nest's windows are no copies: it is finished once, at its end.
    const int partFinished = cur->nest.isEmpty() ? qMax(0, task.value(QStringLiteral("Finished")).toInt()) : 0;
    const int finished = qBound(0, cur->copies - draft.copies + draft.jobFirst + partFinished, cur->copies);
    const int percent = qBound(0, task.value(QStringLiteral("Percent")).toInt(), 100);
    cur->finished = finished;
    cur->percent = percent;
    // One write per copy or per quarter: each is a synchronous commit, and
    // the live progress a page shows comes from the card, not the queue.
    // What a restart needs (the job's name, the copies done) is written
    // at once.
    if (named || finished != writtenFinished || qAbs(percent - writtenPercent) >= 25) {
        cur->record = draft.toJson();
        writtenFinished = finished;
        writtenPercent = percent;
        store(*cur);
        emit q->entryChanged(cur->id);
    }
    emit q->changed();
}

void MachineStation::Private::onRunnerEnded(JobRunner::State state)
{
    JobRunner *r = runner.release();
    r->deleteLater();
    const JobRecord record = r->record();
    const Failure failure = r->failure();
    const bool gaveUp = r->machineGaveUp();
    work = Work::Idle;
    remaining = -1;
    if (!cur)
        return proceedLater();
    if (!record.end.isValid()) {
        // Nothing went to the machine: the entry is still queued.
        if (stopAsked)
            return end(ShopEntry::State::Cancelled, QString(), QString());
        cur.reset();
        ensureLink();
        return proceedLater();
    }
    if (!r->journalError().isEmpty())
        event(tr("the job journal was not written: %1").arg(r->journalError()));
    draft = record;
    cur->record = record.toJson();
    switch (state) {
    case JobRunner::State::Finished:
        return end(ShopEntry::State::Done, QString(), record.id);
    case JobRunner::State::Stopped:
    case JobRunner::State::Interrupted:
        if (stopAsked)
            return end(ShopEntry::State::Cancelled, state == JobRunner::State::Interrupted ? QString() : failure.message,
                       record.id);
        return end(ShopEntry::State::Failed, failure.message, record.id);
    case JobRunner::State::Lost:
        if (stopAsked)
            return end(ShopEntry::State::Cancelled, failure.message, record.id);
        if (gaveUp)
            return autoResume();
        return waitForMachine(failure.message);
    default:
        return end(ShopEntry::State::Failed, failure.message, record.id);
    }
}

bool MachineStation::Private::store(const ShopEntry &entry)
{
    QString error;
    if (queue.update(entry, &error))
        return true;
    event(tr("the queue was not written: %1").arg(error));
    return false;
}

bool MachineStation::Private::keep(const ShopEntry &entry)
{
    if (store(entry))
        return true;
    const auto same = std::find_if(unwritten.begin(), unwritten.end(),
                                   [&entry](const ShopEntry &e) { return e.id == entry.id; });
    if (same != unwritten.end())
        *same = entry;
    else
        unwritten.push_back(entry);
    rewriteLater.start();
    return false;
}

bool MachineStation::Private::rewrite()
{
    // At most one per entry a person or the station ended: bounded by the queue.
    for (auto it = unwritten.begin(); it != unwritten.end();) {
        if (!queue.update(*it, nullptr)) {
            rewriteLater.start();
            return false;
        }
        const ShopEntry e = *it;
        it = unwritten.erase(it);
        emit q->entryChanged(e.id);
        if (e.ended())
            emit q->entryEnded(e.id);
    }
    return true;
}

void MachineStation::Private::append(JobRecord &record)
{
    QString error;
    if (!q->m_journal->append(record, &error))
        event(tr("the job journal was not written: %1").arg(error));
}

void MachineStation::Private::end(ShopEntry::State state, const QString &message, const QString &journalId)
{
    if (!cur)
        return;
    const ShopEntry e = *cur;
    cur.reset();
    draft = JobRecord();
    work = Work::Idle;
    stopAsked = false;
    autoResumes = 0;
    remaining = -1;
    finish(e, state, message, journalId);
}

void MachineStation::Private::finish(ShopEntry e, ShopEntry::State state, const QString &message,
                                     const QString &journalId)
{
    e.state = state;
    e.endedAt = QDateTime::currentDateTimeUtc();
    e.message = message;
    e.journalId = journalId;
    e.record = QJsonObject();
    if (state == ShopEntry::State::Done) {
        e.finished = e.copies;
        e.percent = 100;
    }
    // Not in the file yet: the watch folder judges by the file, so it
    // hears of the end once rewrite() has put it there.
    const bool written = keep(e);
    const QString job = tr("job %1 %2").arg(e.id).arg(e.fileName);
    switch (state) {
    case ShopEntry::State::Done:
        event(message.isEmpty() ? tr("%1 done").arg(job) : tr("%1 done: %2").arg(job, message));
        break;
    case ShopEntry::State::Cancelled:
        event(message.isEmpty() ? tr("%1 cancelled").arg(job) : tr("%1 cancelled: %2").arg(job, message));
        break;
    default:
        event(tr("%1 failed: %2").arg(job, message));
        break;
    }
    emit q->entryChanged(e.id);
    if (written)
        emit q->entryEnded(e.id);
    proceedLater();
}
