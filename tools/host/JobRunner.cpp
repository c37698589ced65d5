// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobRunner.h"

#include "Counted.h"

#include "DeviceSession.h"
#include "JobJournal.h"
#include "PlotJob.h"
#include "RecordedOptions.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QFileInfo>
#include <QLocale>

namespace {
// Counts and percents in a sentence, in the reader's numerals.
QString num(qint64 n)
{
    return QLocale().toString(n);
}
}

JobRunner::JobRunner(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_life(session)
{
    connect(&m_life, &JobLifecycle::identified, this, [this] {
        if (!m_session.linkUp())
            return end(State::Lost);
        handOver();
    });
    connect(&m_life, &JobLifecycle::reconnecting, this, &JobRunner::reconnecting);
    connect(&m_life, &JobLifecycle::reconnected, this, &JobRunner::onReconnected);
    connect(&m_life, &JobLifecycle::gaveUp, this, [this](const Failure &f) {
        m_lost = f;
        end(State::Lost);
    });
    connect(&m_life, &JobLifecycle::stalled, this, [this] { end(State::Stalled); });
    connect(&m_life, &JobLifecycle::stopGraceOver, this, [this] { end(State::Interrupted); });
    m_confirm.setSingleShot(true);
    connect(&m_confirm, &QTimer::timeout, this, [this] {
        if (m_life.phase() != JobLifecycle::Phase::Running || !m_confirming)
            return;
        m_lost = {Failure::DeviceLost, tr("the machine did not report its job after the reconnect")};
        end(State::Lost);
    });
    connect(&m_session, &DeviceSession::jobReport, this, &JobRunner::onReport);
    connect(&m_session, &DeviceSession::lost, this, &JobRunner::onLost);
}

JobRunner::State JobRunner::state() const
{
    switch (m_life.phase()) {
    case JobLifecycle::Phase::Starting: return State::Planning;
    case JobLifecycle::Phase::Running: return State::Running;
    case JobLifecycle::Phase::Stopping: return State::Stopping;
    case JobLifecycle::Phase::Reconnecting: return State::Reconnecting;
    case JobLifecycle::Phase::Idle:
    case JobLifecycle::Phase::Ended: break;
    }
    return m_end;
}

JobRunner::State JobRunner::judge(const JobReport &report)
{
    // The simulator's job states; a machine that never sends them ends by copies.
    if (report.status == JobReport::Status::Stopped)
        return State::Stopped;
    if (report.status == JobReport::Status::Refused)
        return State::Refused;
    return report.copies > 0 && report.finished >= report.copies ? State::Finished : State::Running;
}

bool JobRunner::start(const PlotJob &job, int copies)
{
    if (isRunning() || !m_session.linkUp())
        return false;
    m_job = &job;
    m_copies = copies;
    m_task = QJsonObject();
    m_estimate = -1;
    m_lost = Failure();
    m_clock.invalidate();
    m_confirming = m_gaveUp = m_unreached = false;
    m_copyPercent = -1;
    m_record = JobRecord();
    m_journalError.clear();
    m_end = State::Idle;
    m_started = QDateTime::currentDateTimeUtc();
    if (m_originFile.isEmpty()) {
        // A resume started in another folder must find the file.
        m_originFile = QFileInfo(job.path).absoluteFilePath();
        m_originSha = JobJournal::fileSha256(job.path);
    }
    m_options = RecordedOptions::of(job.options);
    m_plotSha = job.textSha256;
    // The speeds are for the estimate.
    m_life.begin({QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
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
    if (m_life.phase() != JobLifecycle::Phase::Starting)
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
    // The record keeps the value before the last: emptied first, the last
    // job's plot (megabytes) is not kept as that. The text itself is shared
    // with the job, not copied.
    device->setPlt(QString());
    device->setPlt(job.text);
    m_clock.start();
    // Silence is the session's to catch; this bound catches a machine that
    // answers but never moves on.
    m_life.run(int(qMin<qint64>(qMax<qint64>(60000, 2000LL * qMax(0, m_estimate)), INT_MAX)));
    device->startTask();
}

void JobRunner::onReport()
{
    // A report from before startTask describes some earlier job.
    const JobLifecycle::Phase phase = m_life.phase();
    if ((phase != JobLifecycle::Phase::Running && phase != JobLifecycle::Phase::Stopping) || !m_clock.isValid())
        return;
    const JobReport &r = m_session.report();
    if (!r.isValid())
        return;
    const QString before = m_task.value(QStringLiteral("FileName")).toString();
    m_task.insert(QStringLiteral("Status"), int(r.status));
    m_task.insert(QStringLiteral("FileName"), r.file);
    m_task.insert(QStringLiteral("TaskCopies"), qMax(0, r.copies));
    m_task.insert(QStringLiteral("Finished"), qMax(0, r.finished));
    m_task.insert(QStringLiteral("Percent"), qMax(0, r.percent));
    m_copyPercent = r.copyPercent;
    if (m_copyPercent >= 0)
        m_task.insert(QStringLiteral("CopyPercent"), m_copyPercent);
    m_life.noteReport(r);
    if (m_confirming && !confirmAfterReconnect(before))
        return;
    emit progress(m_task, remainingSeconds());
    if (phase == JobLifecycle::Phase::Stopping)
        return end(State::Interrupted);
    const State verdict = judge(r);
    if (verdict != State::Running)
        end(verdict);
}

// The first report after a reconnect: false when it ended the job.
bool JobRunner::confirmAfterReconnect(const QString &before)
{
    m_confirming = false;
    m_confirm.stop();
    const JobReport &r = m_session.report();
    const bool other = !before.isEmpty() && r.file != before;
    // No job since power-up, or stopped: the machine gave this one up
    // (abandoned on the drop, or stopped at its panel: either way it is
    // not cutting, and what is left is the operator's to resume).
    if (r.status != JobReport::Status::None && r.status != JobReport::Status::Stopped && !other)
        return true;
    m_gaveUp = true;
    if (other && r.status != JobReport::Status::None)
        m_lost = {Failure::DeviceLost, tr("the machine reports another job (%1)").arg(r.file)};
    else
        m_lost = {Failure::DeviceLost, r.status == JobReport::Status::None ? tr("the machine reports no job")
                                                                           : tr("the machine gave the job up")};
    if (r.status == JobReport::Status::None || other)
        m_task.insert(QStringLiteral("FileName"), before);
    end(State::Lost);
    return false;
}

void JobRunner::stop()
{
    switch (m_life.stop()) {
    case JobLifecycle::Stop::Early:
        return end(State::Interrupted);
    case JobLifecycle::Stop::Unreached:
        // Nothing can reach the machine: it may still be cutting.
        m_unreached = true;
        return end(State::Interrupted);
    case JobLifecycle::Stop::Asked:
    case JobLifecycle::Stop::Nothing:
        return;
    }
}

void JobRunner::setRecordOrigin(const QString &file, const QByteArray &sha256, const QString &resumes)
{
    m_originFile = file;
    m_originSha = sha256;
    m_resumes = resumes;
}

void JobRunner::onLost()
{
    if (!isRunning() || m_life.phase() == JobLifecycle::Phase::Reconnecting)
        return;
    m_lost = m_session.linkFailure();
    m_confirm.stop();
    m_confirming = false;
    if (!m_clock.isValid() || !m_life.dropped())
        end(State::Lost);
}

void JobRunner::onReconnected()
{
    m_life.resumeAfterReconnect();
    m_confirming = true;
    emit reconnected();
    // A fresh device object has no report yet, so the answer is never the
    // repeat the plugin swallows.
    m_confirm.start(m_session.timeout());
    m_session.queryJob();
}

void JobRunner::end(State state)
{
    const bool handedOver = m_clock.isValid();
    m_end = state;
    m_life.end(handedOver);
    m_confirm.stop();
    if (handedOver)
        makeRecord();
    m_originFile.clear();
    m_originSha.clear();
    m_resumes.clear();
    emit finished(state);
}

QJsonObject JobRunner::summary() const
{
    QJsonObject s = m_task;
    s.insert(QStringLiteral("elapsed_ms"), m_clock.isValid() ? m_clock.elapsed() : 0);
    s.insert(QStringLiteral("reconnects"), reconnectCount());
    s.insert(QStringLiteral("link_down_ms"), double(linkDownMs()));
    return s;
}

JobRecord JobRunner::draft() const
{
    JobRecord r;
    r.start = m_started;
    r.file = m_originFile;
    r.sha256 = m_originSha;
    r.copies = m_copies;
    r.finished = qBound(0, m_task.value(QStringLiteral("Finished")).toInt(), m_copies);
    r.deviceId = identity().deviceId;
    r.uniqueId = identity().uniqueId;
    r.reconnects = reconnectCount();
    r.linkDownMs = linkDownMs();
    r.resumes = m_resumes;
    r.options = m_options;
    r.plotSha256 = m_plotSha;
    r.jobName = m_task.value(QStringLiteral("FileName")).toString();
    r.outcome = JobRecord::Outcome::Interrupted;
    r.percent = m_copyPercent;
    return r;
}

void JobRunner::makeRecord()
{
    JobRecord r = draft();
    r.end = QDateTime::currentDateTimeUtc();
    switch (m_end) {
    case State::Finished:
        r.outcome = JobRecord::Outcome::Finished;
        r.finished = m_copies;
        r.percent = 100;
        break;
    case State::Refused:
        r.outcome = JobRecord::Outcome::Refused;
        r.percent = -1;
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
        return tr("%1 of %2 finished").arg(num(finished), Counted::copies(m_copies));
    if (m_copyPercent >= 0)
        return tr("%1 of %2 finished, copy %3 at %4%")
            .arg(num(finished), Counted::copies(m_copies), num(finished + 1), num(m_copyPercent));
    return tr("%1 of %2 finished, the job at %3%")
        .arg(num(finished), Counted::copies(m_copies), num(m_task.value(QStringLiteral("Percent")).toInt()));
}

Failure JobRunner::failure() const
{
    const int finished = m_task.value(QStringLiteral("Finished")).toInt();
    const int percent = m_task.value(QStringLiteral("Percent")).toInt();
    const int status = m_task.value(QStringLiteral("Status")).toInt();
    switch (state()) {
    case State::Finished:
    case State::Idle:
    case State::Planning:
    case State::Running:
    case State::Stopping:
        return Failure();
    case State::Stopped:
        return {Failure::JobStopped, tr("the job was stopped on the machine after %1 of %2")
                                         .arg(num(finished), Counted::copies(m_copies)), summary()};
    case State::Refused:
        return {Failure::JobRefused, tr("the machine could not cut the plot (job status %1)")
                                         .arg(status), summary()};
    case State::Interrupted:
        if (m_unreached)
            return {Failure::Interrupted,
                    tr("interrupted while reconnecting; the machine was not reached and may still be "
                       "cutting (%1)").arg(cutSoFar()), summary()};
        return {Failure::Interrupted,
                tr("interrupted; job stopped on the machine with %1 of %2 finished, at %3%")
                    .arg(num(finished), Counted::copies(m_copies), num(percent)), summary()};
    case State::Stalled:
        return {Failure::TimedOut, tr("the machine reported no progress for %1 s")
                                       .arg(num(m_life.stallLimit() / 1000)), summary()};
    case State::Lost: {
        QJsonObject facts = summary();
        for (auto it = m_lost.facts.begin(); it != m_lost.facts.end(); ++it)
            facts.insert(it.key(), it.value());
        const QString why = m_lost.message.isEmpty() ? tr("link lost") : m_lost.message;
        if (m_gaveUp)
            return {Failure::DeviceLost, tr("%1 after the link dropped; cut: %2").arg(why, cutSoFar()), facts};
        if (reconnects())
            return {Failure::DeviceLost, tr("%1; when the link dropped: %2; the machine may have gone on "
                                            "cutting").arg(why, cutSoFar()), facts};
        return {Failure::DeviceLost,
                tr("%1 during the job; cut so far: %2 of %3 finished, the machine last reported %4%")
                    .arg(why, num(finished), Counted::copies(m_copies), num(percent)), facts};
    }
    case State::Reconnecting:
        return Failure();
    }
    return Failure();
}
