// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobReport.h"
#include "ReconnectSchedule.h"
#include "Reconnector.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class DeviceSession;

// What every job driver goes through between "start" and "over", whatever
// the job: the identity read before anything is handed to the machine (a
// reconnect compares against it, the journal names it), the phase, the
// reconnect after a drop with its outage clock, the stop with its grace
// (a stopping machine need not report), the stall clock and the deferred
// stopTask. The driver keeps the job's own meaning: what a report says,
// what the journal gets.
class JobLifecycle : public QObject
{
    Q_OBJECT
public:
    enum class Phase { Idle, Starting, Running, Stopping, Reconnecting, Ended };
    Q_ENUM(Phase)
    // What stop() did.
    enum class Stop {
        Nothing,    // no job under way
        Early,      // before the job went to the machine: end now
        Unreached,  // while reconnecting: the machine could not be told
        Asked,      // the machine was asked; its report or the grace ends it
    };

    explicit JobLifecycle(DeviceSession &session, QObject *parent = nullptr);

    // Off by default: a dropped link ends the job.
    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule());
    bool reconnects() const { return m_reconnect; }
    void setStopGrace(int ms) { m_stopGrace.setInterval(ms); }
    // Overrides the stall limit the driver arms (tests); 0 keeps the driver's.
    void setStallLimit(int ms) { m_stallOverride = qMax(0, ms); }
    int stallLimit() const { return m_stall.interval(); }

    // A new job: the counters cleared, the identity (and extraKeys) read;
    // identified() follows, in phase Starting unless the job was stopped.
    void begin(const QStringList &extraKeys = QStringList());
    // The job is on the machine. stallMs > 0 arms the stall clock.
    void run(int stallMs = 0);
    Stop stop();
    // The link dropped: true when a reconnect has started (phase Reconnecting).
    bool dropped();
    // Back, the same machine: phase Running, the outage counted.
    void resumeAfterReconnect();
    // Over: every clock stopped; stopTask (which posts the work record and
    // resets "TASK") runs later, outside the report's delivery, when the
    // job reached the machine.
    void end(bool handedOver);
    // Every report of this job: a pause halts the stall clock, anything
    // else the machine says while working restarts it.
    void noteReport(const JobReport &report);

    Phase phase() const { return m_phase; }
    bool active() const { return m_phase != Phase::Idle && m_phase != Phase::Ended; }
    MachineIdentity identity() const { return m_identity; }
    int reconnectCount() const { return m_reconnects; }
    qint64 linkDownMs() const { return m_downMs + (m_down.isValid() ? m_down.elapsed() : 0); }
    // The machine is paused: its last report, or its status record, says so.
    bool paused() const;

signals:
    void identified();
    void reconnecting(int attempt, int waitMs);
    void reconnected();
    void gaveUp(const Failure &failure);
    // Stopping and no word from the machine within the grace.
    void stopGraceOver();
    // Working, and no report within the stall limit.
    void stalled();

private:
    void closeOutage();

    DeviceSession &m_session;
    Phase m_phase = Phase::Idle;
    Reconnector m_reconnector;
    bool m_reconnect = false;
    MachineIdentity m_identity;
    int m_reconnects = 0;
    qint64 m_downMs = 0;
    QElapsedTimer m_down;       // the current outage
    QTimer m_stopGrace;
    QTimer m_stall;             // a machine that answers but never moves on
    int m_stallOverride = 0;
};
