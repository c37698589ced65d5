// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobRunner.h"

#include "DeviceSession.h"
#include "PlotJob.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

JobRunner::JobRunner(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session)
{
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
    m_state = State::Planning;
    DeviceQuery *speeds = m_session.query({QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
    connect(speeds, &DeviceQuery::done, this, [this, speeds] {
        speeds->deleteLater();
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
    for (const char *key : {"Status", "FileName", "TaskCopies", "Finished", "Percent"})
        m_task.insert(QLatin1String(key), all.value(QLatin1String(key)));
    ++m_reports;
    m_stall.start();
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
    if (m_state != State::Running)
        return;
    m_state = State::Stopping;
    if (VXDeviceProperty *stop = m_session.record(QStringLiteral("TASK_STOP"))) {
        stop->setValue(2);
        m_session.send(stop);
    }
    m_stopGrace.start(1500);
}

void JobRunner::onLost()
{
    if (!isRunning())
        return;
    m_lost = m_session.linkFailure();
    end(State::Lost);
}

void JobRunner::end(State state)
{
    const bool handedOver = m_clock.isValid();
    m_state = state;
    m_stall.stop();
    m_stopGrace.stop();
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
    return s;
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
        return {Failure::JobStopped, QStringLiteral("the job was stopped on the machine after %1 of %2 copies")
                                         .arg(finished).arg(m_copies), summary()};
    case State::Refused:
        return {Failure::JobRefused, QStringLiteral("the machine could not cut the plot (job status %1)")
                                         .arg(status), summary()};
    case State::Interrupted:
        return {Failure::Interrupted,
                QStringLiteral("interrupted; job stopped on the machine with %1 of %2 copies finished, at %3%")
                    .arg(finished).arg(m_copies).arg(percent), summary()};
    case State::Stalled:
        return {Failure::TimedOut, QStringLiteral("the machine reported no progress for %1 s")
                                       .arg(m_stall.interval() / 1000), summary()};
    case State::Lost:
        return {Failure::DeviceLost,
                QStringLiteral("%1 during the job; cut so far: %2 of %3 copies finished, the machine last reported %4%")
                    .arg(m_lost.message.isEmpty() ? QStringLiteral("link lost") : m_lost.message)
                    .arg(finished).arg(m_copies).arg(percent), summary()};
    }
    return Failure();
}
