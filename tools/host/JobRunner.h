// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobLifecycle.h"
#include "JobRecord.h"
#include "JobReport.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

class DeviceSession;
class JobJournal;
struct PlotJob;

// One plot job from hand-over to stopTask: the file facts and preview into
// their records, setPlt, copies, startTask, then the job state from the
// session's parsed reports. stopTask,
// which posts the work record, runs once the job has ended, outside the
// report's delivery: the remote-channel snapshot that follows a report must
// still see that report, not the reset job.
//
// With reconnecting on, a dropped link does not end the job: the machine
// holds the plot and may go on cutting. The runner waits for the link
// (Reconnecting), checks it is the machine the job started on, asks for the
// job state and follows the job to its end, or ends Lost when the machine
// gave the job up, reports none, or never came back.
class JobRunner : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Planning, Running, Stopping, Finished, Stopped, Refused, Lost, Interrupted, Stalled,
                       Reconnecting };
    Q_ENUM(State)

    // The one completion rule: stopped, refused, otherwise finished once
    // every copy is; Running until then.
    static State judge(const JobReport &report);

    explicit JobRunner(DeviceSession &session, QObject *parent = nullptr);

    // Off by default: a dropped link ends the job as Lost.
    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule())
    {
        m_life.setReconnect(on, schedule);
    }
    bool reconnects() const { return m_life.reconnects(); }
    // No report while the machine works ends the job as Stalled after this
    // long (default: 60 s or twice the estimate, the longer). A pause is never a stall.
    void setStallLimit(int ms) { m_life.setStallLimit(ms); }
    // Every job handed over is appended when it ends (null: none). The
    // journal must outlive the runner.
    void setJournal(const JobJournal *journal) { m_journal = journal; }
    // What the record names: by default the plot's own path and its SHA-256.
    // A resume names the file it continues and the record it resumes.
    void setRecordOrigin(const QString &file, const QByteArray &sha256, const QString &resumes);

    // Reads the machine's speeds for the estimate, then hands the job over.
    // False when a job is under way or the link is down.
    bool start(const PlotJob &job, int copies);
    // Asks the machine to stop; the job ends as Interrupted once it confirms
    // (or after a short grace: a stopping machine need not report).
    void stop();

    State state() const;
    bool isRunning() const { return m_life.active(); }
    // The fields the Runtime snapshot names: Status, FileName, TaskCopies, Finished, Percent.
    QJsonObject task() const { return m_task; }
    // task() plus elapsed_ms, reconnects and link_down_ms: what a result carries.
    QJsonObject summary() const;
    // The machine the job started on (read while planning).
    MachineIdentity identity() const { return m_life.identity(); }
    int reconnectCount() const { return m_life.reconnectCount(); }
    qint64 linkDownMs() const { return m_life.linkDownMs(); }
    // Percent of the copy under way from the last report; -1 when the
    // machine does not send it.
    int copyPercent() const { return m_copyPercent; }
    // Lost because the machine said it holds the job no more; otherwise a
    // lost job's fate is unknown (the machine may have cut on).
    bool machineGaveUp() const { return m_gaveUp; }
    // The journal record of the job that ended (the one appended, if any).
    JobRecord record() const { return m_record; }
    // The record the job's line will be, as far as it is known now: from
    // planned() on, everything but its end (outcome interrupted, no end
    // time). A host that may die mid-job keeps it, so the line can still be
    // written from it and the machine's own report.
    JobRecord draft() const;
    QString journalError() const { return m_journalError; }
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
    // The link dropped; attempt n of reconnecting starts after waitMs.
    void reconnecting(int attempt, int waitMs);
    // The same machine is back; its job state is being read.
    void reconnected();

private:
    void handOver();
    void onReport();
    bool confirmAfterReconnect(const QString &before);
    void onLost();
    void end(State state);
    void onReconnected();
    void makeRecord();
    QString cutSoFar() const;

    DeviceSession &m_session;
    JobLifecycle m_life;
    const PlotJob *m_job = nullptr;
    State m_end = State::Idle;  // how the last job ended; the phase says the rest
    QJsonObject m_task;
    int m_copies = 1;
    int m_estimate = -1;
    QElapsedTimer m_clock;      // since startTask
    Failure m_lost;

    bool m_confirming = false;  // back: the job state read is awaited
    bool m_gaveUp = false;      // Lost: the machine dropped the job itself
    bool m_unreached = false;   // stopped while the link was down
    QTimer m_confirm;
    int m_copyPercent = -1;
    QDateTime m_started;
    QString m_originFile;
    QByteArray m_originSha;
    QString m_resumes;
    QJsonObject m_options;      // the job's design options, as the record keeps them
    QByteArray m_plotSha;
    const JobJournal *m_journal = nullptr;
    JobRecord m_record;
    QString m_journalError;
};
