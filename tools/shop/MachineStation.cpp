// SPDX-License-Identifier: LGPL-2.1-or-later
#include "MachineStationPrivate.h"

#include "interface/VXDeviceInterface.h"

#include <QDir>
#include <QLocale>

MachineStation::Private::Private(MachineStation *station, VXDeviceInterface *factory, ShopQueue &q_, int budget)
    : q(station), queue(q_), budgetMs(qMax(0, budget)), session(factory), reconnector(session)
{
}

ReconnectSchedule MachineStation::Private::schedule() const
{
    return ReconnectSchedule(500, 8000, budgetMs);
}

void MachineStation::Private::event(const QString &text)
{
    events.push_back({{QStringLiteral("time"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
                      {QStringLiteral("text"), text}});
    while (events.size() > MaxEvents)
        events.pop_front();
    emit q->changed();
}

void MachineStation::Private::setLink(Link l)
{
    if (link == l)
        return;
    link = l;
    emit q->changed();
}

QString MachineStation::Private::jobText() const
{
    if (!cur)
        return QString();
    return tr("job %1 %2").arg(cur->id).arg(cur->fileName);
}

MachineStation::MachineStation(const MachineConfig &config, VXDeviceInterface *factory, ShopQueue &queue,
                               const QString &dataDir, int reconnectBudgetMs, QObject *parent)
    : QObject(parent), m_config(config)
{
    const QString home = QDir(dataDir).filePath(QStringLiteral("machines/") + config.name);
    m_journal = std::make_unique<JobJournal>(QDir(home).filePath(QStringLiteral("jobs.jsonl")));
    d = std::make_unique<Private>(this, factory, queue, reconnectBudgetMs);
    d->retry.setSingleShot(true);
    d->asking.setSingleShot(true);
    d->rewriteLater.setSingleShot(true);
    d->rewriteLater.setInterval(5000);
}

// Nothing is stopped: a job under way is left to the machine and followed
// again on the next start, from the record its entry keeps.
MachineStation::~MachineStation()
{
    d->loader.abandon();
    d->search.stop();
    d->nest.reset();
    d->resume.reset();
    d->runner.reset();
    d->reconnector.cancel();
}

QString MachineStation::filesDir() const
{
    return QFileInfo(m_journal->path()).dir().filePath(QStringLiteral("files"));
}

WorkArea MachineStation::workArea() const
{
    return d->area;
}

void MachineStation::start()
{
    Private *p = d.get();
    connect(&p->session, &DeviceSession::linkUpChanged, this, [p](bool up) { p->onLinkUp(up); });
    connect(&p->session, &DeviceSession::lost, this, [p](const Failure &f) { p->onLost(f); });
    connect(&p->session, &DeviceSession::connectFailed, this, [p](const Failure &f) { p->onConnectFailed(f); });
    connect(&p->session, &DeviceSession::jobReport, this, [this, p] {
        const JobReport &r = p->session.report();
        if (p->work == Private::Work::Asking) {
            p->asking.stop();
            p->decide(r);
        } else if (p->work == Private::Work::Following) {
            p->onFollowReport(r);
        }
        emit changed();
    });
    connect(&p->reconnector, &Reconnector::attempting, this, [p] {
        p->setLink(p->outageTold ? Private::Link::Down : Private::Link::Reconnecting);
    });
    connect(&p->reconnector, &Reconnector::reconnected, this, [p] { p->readInfo(); });
    connect(&p->reconnector, &Reconnector::gaveUp, this, [p](const Failure &f) {
        // The service keeps trying: a new round after the longest wait.
        if (!p->outageTold)
            p->event(tr("%1; still trying").arg(f.message));
        p->outageTold = true;
        p->setLink(Private::Link::Down);
        p->retry.start(p->schedule().maxDelay());
    });
    connect(&p->retry, &QTimer::timeout, this, [p] {
        if (!p->session.linkUp() && !p->driving())
            p->startReconnect();
    });
    connect(&p->asking, &QTimer::timeout, this, [p] { p->ask(); });
    connect(&p->rewriteLater, &QTimer::timeout, this, [p] { p->proceedLater(); });
    connect(&p->loader, &DesignLoader::finished, this, [p] { p->onLoaded(); });
    connect(&p->search, &NestSearchRun::finished, this, [p] { p->onNested(); });
    p->event(tr("connecting to %1").arg(m_config.target));
    p->connectSchedule = p->schedule();
    p->connectTarget();
}

void MachineStation::Private::connectTarget()
{
    const QString target = q->m_config.target;
    const Failure f = q->m_config.usb() ? session.connectUsb(target) : session.connectTcp(target);
    if (f)
        onConnectFailed(f);
}

void MachineStation::Private::onConnectFailed(const Failure &why)
{
    // Reconnect attempts, the station's or a job's, report through it too;
    // they have their own rounds.
    if (reconnector.isActive() || driving())
        return;
    if (!connectClock.isValid())
        connectClock.start();
    int wait = connectSchedule.nextDelay(connectClock.elapsed());
    if (wait < 0) {
        // Budget spent: keep trying at the longest wait, and say so once.
        wait = connectSchedule.maxDelay();
        if (!outageTold)
            event(tr("cannot connect (%1); still trying").arg(why.message));
        outageTold = true;
        setLink(Link::Down);
    } else if (connectSchedule.attempts() == 1) {
        event(tr("cannot connect (%1); trying again").arg(why.message));
    }
    retry.start(wait);
}

void MachineStation::Private::onLinkUp(bool up)
{
    if (!up)
        return;
    setLink(Link::Up);
    retry.stop();
    // A reconnect, the station's or a job's, reads the identity first.
    if (reconnector.isActive() || driving())
        return;
    readInfo();
}

void MachineStation::Private::onLost(const Failure &why)
{
    ready = false;
    reading = false;
    outageTold = false;
    connectClock.invalidate();
    connectSchedule = schedule();
    setLink(Link::Reconnecting);
    if (work == Work::Asking || work == Work::Following) {
        // The entry stays cutting: asked again once the machine is back.
        asking.stop();
        work = Work::Idle;
    }
    event(driving() ? tr("%1, reconnecting to follow %2").arg(why.message, jobText())
                    : tr("%1, reconnecting").arg(why.message));
    if (!driving())
        startReconnect();
}

bool MachineStation::Private::driving() const
{
    return (runner && runner->isRunning()) || (resume && resume->isRunning()) || (nest && nest->isRunning());
}

void MachineStation::Private::ensureLink()
{
    if (session.linkUp() || driving() || reconnector.isActive() || retry.isActive()
        || session.state() == DeviceSession::State::Connecting)
        return;
    startReconnect();
}

void MachineStation::Private::startReconnect()
{
    retry.stop();
    if (!identity.known()) {
        // Never told who it is: nothing to compare with, so plain connects.
        connectTarget();
        return;
    }
    reconnector.setSchedule(schedule());
    reconnector.start(identity);
}

// What the card and the jobs need: who it is (a reconnect must find the
// same machine), the work area a design is checked against, the speeds
// the estimate uses.
void MachineStation::Private::readInfo()
{
    if (reading)
        return;
    reading = true;
    DeviceQuery *query = session.query(MachineIdentity::identityKeys() + WorkArea::keys()
                                       + QStringList{QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
    QObject::connect(query, &DeviceQuery::done, q, [this, query] {
        query->deleteLater();
        reading = false;
        if (!session.linkUp() || driving())
            return;
        const MachineIdentity found = MachineIdentity::fromRecords(session);
        if (found.known())
            identity = found;
        const WorkArea read = WorkArea::of(session.device());
        if (read.known())
            area = read;
        ready = true;
        outageTold = false;
        connectClock.invalidate();
        connectSchedule = schedule();
        event(identity.known() ? tr("connected to %1").arg(identity.text()) : tr("connected"));
        proceedLater();
    }, Qt::QueuedConnection);
}

void MachineStation::Private::proceedLater()
{
    if (proceedPending)
        return;
    proceedPending = true;
    QTimer::singleShot(0, q, [this] {
        proceedPending = false;
        proceed();
    });
}

void MachineStation::Private::proceed()
{
    if (work != Work::Idle || driving() || !rewrite())
        return;
    if (!session.linkUp())
        return ensureLink();
    if (!ready)
        return readInfo();
    const QList<ShopEntry> open = queue.unfinished(q->name());
    // Unread is not "nothing under way": a job the machine still cuts would
    // be missed and the next one sent on top of it.
    if (!queue.lastError().isEmpty())
        return queueUnread();
    for (const ShopEntry &e : open) {
        if (e.state == ShopEntry::State::Cutting)
            return recover(e);
    }
    // A held entry waits for a person: nothing is cut past it.
    if (!open.isEmpty() || q->m_queuePaused)
        return;
    takeNext();
}

QJsonObject MachineStation::state() const
{
    static const char *const links[] = {"connecting", "up", "reconnecting", "down"};
    QJsonObject card{{QStringLiteral("name"), m_config.name},
                     {QStringLiteral("target"), m_config.target},
                     {QStringLiteral("link"), QLatin1String(links[int(d->link)])},
                     {QStringLiteral("device_id"), d->identity.deviceId},
                     {QStringLiteral("paused"), m_queuePaused},
                     {QStringLiteral("last_report"), d->session.lastJobReport()}};
    if (d->area.known())
        card.insert(QStringLiteral("work_area"), QJsonObject{{QStringLiteral("width"), d->area.width},
                                                             {QStringLiteral("height"), d->area.height}});
    QJsonValue job;
    const bool nesting = d->work == Private::Work::Nesting;
    if (d->cur && (d->cur->state == ShopEntry::State::Cutting || nesting)) {
        QJsonObject o = d->cur->toJson();
        const JobRunner *r = d->runner ? d->runner.get() : d->nest ? &d->nest->runner()
                           : d->resume ? &d->resume->runner() : nullptr;
        const NestRun *windows = d->nest ? d->nest.get() : d->resume ? d->resume->nest() : nullptr;
        if (windows) {
            o.insert(QStringLiteral("window"), qMin(windows->window(), int(windows->cut().windows.size())));
            o.insert(QStringLiteral("windows"), int(windows->cut().windows.size()));
        }
        QString phase = QStringLiteral("cutting");
        if (nesting)
            phase = QStringLiteral("nesting");
        else if (d->stopAsked)
            phase = QStringLiteral("stopping");
        else if (!d->session.linkUp() || (r && r->state() == JobRunner::State::Reconnecting))
            phase = QStringLiteral("reconnecting");
        else if (d->session.report().paused())
            phase = QStringLiteral("paused");
        o.insert(QStringLiteral("phase"), phase);
        o.insert(QStringLiteral("remaining_s"), d->remaining >= 0 ? QJsonValue(d->remaining) : QJsonValue());
        job = o;
    }
    card.insert(QStringLiteral("job"), job);
    QJsonArray events;
    for (const QJsonObject &e : d->events)
        events.append(e);
    card.insert(QStringLiteral("events"), events);
    return card;
}

bool MachineStation::Private::onMachine() const
{
    return cur && session.linkUp() && (work == Work::Cutting || work == Work::Following || work == Work::Resuming);
}

// Pause and continue are job-control records the machine takes as they
// stand; a device object without them (another model) has no such control.
bool MachineStation::Private::control(const char *key, const QString &done, QString *error)
{
    if (!onMachine() || !session.record(QLatin1String(key))) {
        *error = tr("no job is cutting on %1").arg(q->name());
        return false;
    }
    session.send(key);
    event(done.arg(jobText()));
    return true;
}

bool MachineStation::pauseJob(QString *error)
{
    return d->control("TASK_PAUSE", tr("%1 paused"), error);
}

bool MachineStation::continueJob(QString *error)
{
    return d->control("TASK_RESUME", tr("%1 continued"), error);
}

bool MachineStation::stopJob(QString *error)
{
    if (!d->cur || (d->cur->state != ShopEntry::State::Cutting && d->work != Private::Work::Nesting)) {
        *error = tr("no job is cutting on %1").arg(name());
        return false;
    }
    return cancel(d->cur->id, error);
}

void MachineStation::setQueuePaused(bool paused)
{
    if (m_queuePaused == paused)
        return;
    m_queuePaused = paused;
    d->event(paused ? tr("queue held") : tr("queue released"));
    if (!paused)
        d->proceedLater();
}

void MachineStation::kick()
{
    d->proceedLater();
}

bool MachineStation::cancel(qint64 id, QString *error)
{
    std::optional<ShopEntry> e = d->queue.get(id);
    if (!e || e->machine != name()) {
        *error = tr("no job %1 on %2").arg(id).arg(name());
        return false;
    }
    if (e->ended()) {
        *error = tr("job %1 has ended").arg(id);
        return false;
    }
    const bool current = d->cur && d->cur->id == id;
    if (current && d->stopAsked) {
        *error = tr("job %1 is being stopped").arg(id);
        return false;
    }
    if (current && (d->work == Private::Work::Loading || d->work == Private::Work::Nesting)) {
        d->loader.abandon();
        d->search.stop();
        d->work = Private::Work::Idle;
    }
    if (current && d->work != Private::Work::Idle) {
        // Stopped on the machine first; its end makes it cancelled.
        d->stopAsked = true;
        d->event(tr("stopping %1").arg(d->jobText()));
        if (d->runner && d->runner->isRunning())
            d->runner->stop();
        else if (d->resume && d->resume->isRunning())
            d->resume->stop();
        else if (d->nest && d->nest->isRunning())
            d->nest->stop();
        else
            d->session.stopJob();
        return true;
    }
    QString message;
    if (e->state == ShopEntry::State::Cutting)
        message = tr("cancelled while the machine was not reached; it may still be cutting");
    // Another entry than the one the station works on leaves that one be.
    if (current) {
        d->cur = *e;
        d->end(ShopEntry::State::Cancelled, message, QString());
    } else {
        d->finish(*e, ShopEntry::State::Cancelled, message, QString());
    }
    return true;
}

bool MachineStation::settle(qint64 id, const QString &how, QString *error)
{
    std::optional<ShopEntry> e = d->queue.get(id);
    ResumePlan::Interrupted mode = ResumePlan::Continue;
    QString why;
    if (how == QLatin1String("recut"))
        mode = ResumePlan::RecutWhole;
    else if (how == QLatin1String("skip"))
        mode = ResumePlan::Leave;
    else if (how != QLatin1String("continue"))
        why = tr("'%1' is no way to settle a job: continue, recut or skip").arg(how);
    if (why.isEmpty() && (!e || e->machine != name() || e->state != ShopEntry::State::Held))
        why = tr("job %1 is not held on %2").arg(id).arg(name());
    if (!why.isEmpty()) {
        *error = why;
        return false;
    }
    // cur set while idle: a job waiting for its machine, asked about first.
    if (d->work != Private::Work::Idle || d->driving() || (d->cur && d->cur->id != id)) {
        *error = tr("%1 is busy with %2").arg(name(), d->jobText());
        return false;
    }
    if (!d->ready || !d->session.linkUp()) {
        *error = tr("%1 is not connected").arg(name());
        return false;
    }
    JobRecord record;
    if (!JobRecord::fromJson(e->record, &record) || record.id.isEmpty()) {
        *error = tr("nothing is known of what the machine cut of job %1: cancel it, or queue it again").arg(id);
        return false;
    }
    d->cur = *e;
    d->draft = record;
    d->autoResumes = 0;
    d->event(tr("%1 settled by hand (%2)").arg(d->jobText(), how));
    if (Failure f = d->startResume(mode)) {
        *error = f.message;
        return false;
    }
    return true;
}
