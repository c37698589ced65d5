// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

class DeviceSession;
struct PlotJob;

// One plot job from hand-over to stopTask: the file facts and preview into
// their records, setPlt, copies, startTask, then the job state as the device
// decoded it into "TASK" (never re-parsed from the report text). stopTask,
// which posts the work record, runs once the job has ended, outside the
// report's delivery: the remote-channel snapshot that follows a report must
// still see that report, not the reset job.
class JobRunner : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Planning, Running, Stopping, Finished, Stopped, Refused, Lost, Interrupted, Stalled };
    Q_ENUM(State)

    // Job status numbers of field 1 that end a job before its last copy.
    static constexpr int StatusStopped = 4;
    static constexpr int StatusRefused = 5;

    // The one completion rule: status 4 stopped, 5 refused, otherwise
    // finished once every copy is; Running until then.
    static State judge(const QJsonObject &task);

    explicit JobRunner(DeviceSession &session, QObject *parent = nullptr);

    // Reads the machine's speeds for the estimate, then hands the job over.
    // False when a job is under way or the link is down.
    bool start(const PlotJob &job, int copies);
    // Asks the machine to stop; the job ends as Interrupted once it confirms
    // (or after a short grace: a stopping machine need not report).
    void stop();

    State state() const { return m_state; }
    bool isRunning() const { return m_state == State::Planning || m_state == State::Running
                || m_state == State::Stopping; }
    // The fields the Runtime snapshot names: Status, FileName, TaskCopies, Finished, Percent.
    QJsonObject task() const { return m_task; }
    // task() plus elapsed_ms: what a result carries.
    QJsonObject summary() const;
    int copies() const { return m_copies; }
    int estimateSeconds() const { return m_estimate; }   // -1: unknown
    int remainingSeconds() const;
    // None for Finished; the sentence and kind for every other end.
    Failure failure() const;

signals:
    // The estimate is known and the job goes to the machine now.
    void planned(int estimateSeconds);
    void progress(const QJsonObject &task, int remainingSeconds);
    void finished(JobRunner::State state);

private:
    void handOver();
    void onReport();
    void onLost();
    void end(State state);

    DeviceSession &m_session;
    const PlotJob *m_job = nullptr;
    State m_state = State::Idle;
    QJsonObject m_task;
    int m_copies = 1;
    int m_estimate = -1;
    int m_reports = 0;
    QElapsedTimer m_clock;      // since startTask
    QTimer m_stall;             // a machine that answers but never moves on
    QTimer m_stopGrace;
    Failure m_lost;
};
