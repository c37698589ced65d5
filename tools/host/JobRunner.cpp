// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobRunner.h"

#include "DeviceSession.h"
#include "JobJournal.h"
#include "PlotJob.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QLocale>

namespace {
// Counts and percents in a sentence, in the reader's numerals.
QString num(qint64 n)
{
    return QLocale().toString(n);
}

// Field 9 of a job report (the tenth): percent of the copy under way. Older
// machines end at field 8; the file name never holds a comma.
int copyPercentOf(const QString &report)
{
    const QStringList fields = report.split(QLatin1Char(','));
    bool ok = false;
    const int p = fields.size() > 9 ? fields.at(9).trimmed().toInt(&ok) : -1;
    return ok && p >= 0 && p <= 100 ? p : -1;
}
}

JobRunner::JobRunner(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_reconnector(session)
{
    connect(&m_reconnector, &Reconnector::attempting, this, &JobRunner::reconnecting);
    connect(&m_reconnector, &Reconnector::reconnected, this, &JobRunner::onReconnected);
    connect(&m_reconnector, &Reconnector::gaveUp, this, &JobRunner::onGaveUp);
    m_confirm.setSingleShot(true);
    connect(&m_confirm, &QTimer::timeout, this, [this] {
        if (m_state != State::Running || !m_confirming)
            return;
        m_lost = {Failure::DeviceLost, tr("the machine did not report its job after the reconnect")};
        end(State::Lost);
    });
    connect(&m_session, &DeviceSession::jobReport, this, &JobRunner::onReport);
    connect(&m_session, &DeviceSession::lost, this, &JobRunner::onLost);
    m_stall.setSingleShot(true);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        if (m_state == State::Running)
            end(State::Stalled);
    });
    m_stopGrace.setSingleShot(true);
    connect(&m_stopGrace, &QTimer::timeout, this, [this] {
        if (m_state == State::Stopping)
            end(State::Interrupted);
    });
}

JobRunner::State JobRunner::judge(const QJsonObject &task)
{
    // The simulator's job states; a machine that never sends them ends by copies.
    const int status = task.value(QStringLiteral("Status")).toInt();
    if (status == StatusStopped)
        return State::Stopped;
    if (status == StatusRefused)
        return State::Refused;
    const int copies = task.value(QStringLiteral("TaskCopies")).toInt();
    const int finished = task.value(QStringLiteral("Finished")).toInt();
    return copies > 0 && finished >= copies ? State::Finished : State::Running;
}

bool JobRunner::start(const PlotJob &job, int copies)
{
    if (isRunning() || !m_session.linkUp())
        return false;
    m_job = &job;
    m_copies = copies;
    m_task = QJsonObject();
    m_reports = 0;
    m_estimate = -1;
    m_lost = Failure();
    m_clock.invalidate();
    m_reconnects = 0;
    m_downMs = 0;
    m_down.invalidate();
    m_confirming = m_gaveUp = m_unreached = false;
    m_copyPercent = -1;
    m_record = JobRecord();
    m_journalError.clear();
    m_identity = MachineIdentity();
    m_started = QDateTime::currentDateTimeUtc();
    if (m_originFile.isEmpty()) {
        m_originFile = job.path;
        m_originSha = JobJournal::fileSha256(job.path);
    }
    m_state = State::Planning;
    // The identity is what a reconnect compares against and what the journal names.
    DeviceQuery *speeds = m_session.query(QStringList{QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")}
                                          + MachineIdentity::identityKeys());
    connect(speeds, &DeviceQuery::done, this, [this, speeds] {
        speeds->deleteLater();
        m_identity = MachineIdentity::fromRecords(m_session);
        if (m_state != State::Planning)
            return;
        if (!m_session.linkUp())
            return end(State::Lost);
        handOver();
    });
    return true;
}

void JobRunner::handOver()
{
    const PlotJob &job = *m_job;
    double cutSpeed = 0, travelSpeed = 0;
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("SP2_SPEED")))
        cutSpeed = p->value().toDouble();
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("PU_SPEED")))
        travelSpeed = p->value().toDouble();
    m_estimate = job.estimateSeconds(cutSpeed, travelSpeed, m_copies);
    emit planned(m_estimate);
    if (m_state != State::Planning)
        return;

    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_MODE")))
        p->setValue(0);
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_COPIES")))
        p->setValue(m_copies);
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_FILE_INFO")))
        p->setValue(job.fileInfo());
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("FILE_PREVIEW")))
        p->setValue(job.preview);
    VXDeviceInterface *device = m_session.device();
    device->setPlt(job.text);
    m_state = State::Running;
    m_clock.start();
    // Silence is the session's to catch; this bound catches a machine that
    // answers but never moves on.
    m_stall.start(int(qMin<qint64>(qMax<qint64>(60000, 2000LL * qMax(0, m_estimate)), INT_MAX)));
    device->startTask();
}

void JobRunner::onReport()
{
    // A report from before startTask describes some earlier job.
    if (m_state != State::Running && m_state != State::Stopping)
        return;
    VXDeviceProperty *task = m_session.record(QStringLiteral("TASK"));
    if (!task)
        return;
    const QJsonObject all = task->value().toJsonObject();
    const QString before = m_task.value(QStringLiteral("FileName")).toString();
    for (const char *key : {"Status", "FileName", "TaskCopies", "Finished", "Percent"})
        m_task.insert(QLatin1String(key), all.value(QLatin1String(key)));
    m_copyPercent = copyPercentOf(m_session.lastJobReport());
    if (m_copyPercent >= 0)
        m_task.insert(QStringLiteral("CopyPercent"), m_copyPercent);
    ++m_reports;
    m_stall.start();
    if (m_confirming) {
        m_confirming = false;
        m_confirm.stop();
        const int status = m_task.value(QStringLiteral("Status")).toInt();
        const QString now = m_task.value(QStringLiteral("FileName")).toString();
        // Status 0: no job since power-up; 4: the machine gave this one up
        // (abandoned on the drop, or stopped at its panel: either way it is
        // not cutting, and what is left is the operator's to resume).
        if (status == 0 || status == StatusStopped || (!before.isEmpty() && now != before)) {
            m_gaveUp = true;
            if (!before.isEmpty() && now != before && status != 0)
                m_lost = {Failure::DeviceLost, tr("the machine reports another job (%1)").arg(now)};
            else
                m_lost = {Failure::DeviceLost, status == 0 ? tr("the machine reports no job")
                                                            : tr("the machine gave the job up")};
            if (status == 0 || now != before)
                m_task.insert(QStringLiteral("FileName"), before);
            return end(State::Lost);
        }
    }
    emit progress(m_task, remainingSeconds());
    if (m_state == State::Stopping)
        return end(State::Interrupted);
    const State verdict = judge(m_task);
    if (verdict != State::Running)
        end(verdict);
}

void JobRunner::stop()
{
    if (m_state == State::Planning)
        return end(State::Interrupted);
    if (m_state == State::Reconnecting) {
        // Nothing can reach the machine: it may still be cutting.
        m_reconnector.cancel();
        m_unreached = true;
        return end(State::Interrupted);
    }
    if (m_state != State::Running)
        return;
    m_state = State::Stopping;
    m_session.stopJob();
    m_stopGrace.start(1500);
}

void JobRunner::setReconnect(bool on, const ReconnectSchedule &schedule)
{
    m_reconnect = on;
    m_reconnector.setSchedule(schedule);
}

void JobRunner::setRecordOrigin(const QString &file, const QByteArray &sha256, const QString &resumes)
{
    m_originFile = file;
    m_originSha = sha256;
    m_resumes = resumes;
}

void JobRunner::onLost()
{
    if (!isRunning() || m_state == State::Reconnecting)
        return;
    m_lost = m_session.linkFailure();
    if (m_reconnect && m_state == State::Running) {
        m_state = State::Reconnecting;
        m_stall.stop();
        m_confirm.stop();
        m_confirming = false;
        if (!m_down.isValid())
            m_down.start();
        m_reconnector.start(m_identity);
        return;
    }
    end(State::Lost);
}

void JobRunner::onReconnected()
{
    if (m_state != State::Reconnecting)
        return;
    ++m_reconnects;
    m_downMs += m_down.elapsed();
    m_down.invalidate();
    m_state = State::Running;
    m_confirming = true;
    emit reconnected();
    // A fresh device object has no report yet, so the answer is never the
    // repeat the plugin swallows.
    m_confirm.start(m_session.timeout());
    m_stall.start();
    m_session.queryJob();
}

void JobRunner::onGaveUp(const Failure &failure)
{
    if (m_state != State::Reconnecting)
        return;
    m_lost = failure;
    end(State::Lost);
}

qint64 JobRunner::linkDownMs() const
{
    return m_downMs + (m_down.isValid() ? m_down.elapsed() : 0);
}

void JobRunner::end(State state)
{
    const bool handedOver = m_clock.isValid();
    if (m_down.isValid()) {
        m_downMs += m_down.elapsed();
        m_down.invalidate();
    }
    m_state = state;
    m_stall.stop();
    m_stopGrace.stop();
    m_confirm.stop();
    if (handedOver)
        makeRecord();
    m_originFile.clear();
    m_originSha.clear();
    m_resumes.clear();
    if (handedOver) {
        QPointer<VXDeviceInterface> device = m_session.device();
        QTimer::singleShot(0, this, [device] {
            if (device)
                device->stopTask();
        });
    }
    emit finished(state);
}

QJsonObject JobRunner::summary() const
{
    QJsonObject s = m_task;
    s.insert(QStringLiteral("elapsed_ms"), m_clock.isValid() ? m_clock.elapsed() : 0);
    s.insert(QStringLiteral("reconnects"), m_reconnects);
    s.insert(QStringLiteral("link_down_ms"), double(linkDownMs()));
    return s;
}

void JobRunner::makeRecord()
{
    JobRecord r;
    r.start = m_started;
    r.end = QDateTime::currentDateTimeUtc();
    r.file = m_originFile;
    r.sha256 = m_originSha;
    r.copies = m_copies;
    r.finished = qBound(0, m_task.value(QStringLiteral("Finished")).toInt(), m_copies);
    r.deviceId = m_identity.deviceId;
    r.uniqueId = m_identity.uniqueId;
    r.reconnects = m_reconnects;
    r.linkDownMs = m_downMs;
    r.resumes = m_resumes;
    switch (m_state) {
    case State::Finished:
        r.outcome = JobRecord::Outcome::Finished;
        r.finished = m_copies;
        r.percent = 100;
        break;
    case State::Refused:
        r.outcome = JobRecord::Outcome::Refused;
        break;
    case State::Stopped:
        r.outcome = JobRecord::Outcome::Stopped;
        r.percent = m_copyPercent;
        break;
    case State::Interrupted:
        // Stopped on the operator's word; if the stop could not reach the
        // machine, what it cut is not known: left for a resume to settle.
        r.outcome = m_unreached ? JobRecord::Outcome::Interrupted : JobRecord::Outcome::Stopped;
        r.percent = m_copyPercent;
        break;
    default:
        r.outcome = JobRecord::Outcome::Interrupted;
        r.percent = m_copyPercent;
        break;
    }
    m_record = r;
    if (m_journal) {
        QString error;
        if (!m_journal->append(m_record, &error))
            m_journalError = error;
    }
}

int JobRunner::remainingSeconds() const
{
    const int copies = qMax(1, m_task.value(QStringLiteral("TaskCopies")).toInt(m_copies));
    const int finished = m_task.value(QStringLiteral("Finished")).toInt();
    const int percent = qBound(0, m_task.value(QStringLiteral("Percent")).toInt(), 100);
    if (finished >= copies)
        return 0;
    // Machines differ on whether Percent covers the whole job or the copy
    // under the knife; the larger reading is right for both. The pace so far,
    // as the machine itself reports it, predicts the rest.
    const double done = qMax(percent / 100.0, double(finished) / copies);
    const double elapsed = m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0;
    if (done <= 0.01 || elapsed <= 0)
        return m_estimate;
    return int(elapsed * (1 - done) / done + 0.5);
}

QString JobRunner::cutSoFar() const
{
    const int finished = qBound(0, m_task.value(QStringLiteral("Finished")).toInt(), m_copies);
    if (finished >= m_copies)
        return tr("%1 of %2 copies finished").arg(num(finished), num(m_copies));
    if (m_copyPercent >= 0)
        return tr("%1 of %2 copies finished, copy %3 at %4%")
            .arg(num(finished), num(m_copies), num(finished + 1), num(m_copyPercent));
    return tr("%1 of %2 copies finished, the job at %3%")
        .arg(num(finished), num(m_copies), num(m_task.value(QStringLiteral("Percent")).toInt()));
}

Failure JobRunner::failure() const
{
    const int finished = m_task.value(QStringLiteral("Finished")).toInt();
    const int percent = m_task.value(QStringLiteral("Percent")).toInt();
    const int status = m_task.value(QStringLiteral("Status")).toInt();
    switch (m_state) {
    case State::Finished:
    case State::Idle:
    case State::Planning:
    case State::Running:
    case State::Stopping:
        return Failure();
    case State::Stopped:
        return {Failure::JobStopped, tr("the job was stopped on the machine after %1 of %2 copies")
                                         .arg(num(finished), num(m_copies)), summary()};
    case State::Refused:
        return {Failure::JobRefused, tr("the machine could not cut the plot (job status %1)")
                                         .arg(status), summary()};
    case State::Interrupted:
        if (m_unreached)
            return {Failure::Interrupted,
                    tr("interrupted while reconnecting; the machine was not reached and may still be "
                       "cutting (%1)").arg(cutSoFar()), summary()};
        return {Failure::Interrupted,
                tr("interrupted; job stopped on the machine with %1 of %2 copies finished, at %3%")
                    .arg(num(finished), num(m_copies), num(percent)), summary()};
    case State::Stalled:
        return {Failure::TimedOut, tr("the machine reported no progress for %1 s")
                                       .arg(num(m_stall.interval() / 1000)), summary()};
    case State::Lost: {
        QJsonObject facts = summary();
        for (auto it = m_lost.facts.begin(); it != m_lost.facts.end(); ++it)
            facts.insert(it.key(), it.value());
        const QString why = m_lost.message.isEmpty() ? tr("link lost") : m_lost.message;
        if (m_gaveUp)
            return {Failure::DeviceLost, tr("%1 after the link dropped; cut: %2").arg(why, cutSoFar()), facts};
        if (m_reconnect)
            return {Failure::DeviceLost, tr("%1; when the link dropped: %2; the machine may have gone on "
                                            "cutting").arg(why, cutSoFar()), facts};
        return {Failure::DeviceLost,
                tr("%1 during the job; cut so far: %2 of %3 copies finished, the machine last reported %4%")
                    .arg(why, num(finished), num(m_copies), num(percent)), facts};
    }
    case State::Reconnecting:
        return Failure();
    }
    return Failure();
}
