// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "ReconnectSchedule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class DeviceSession;
class DeviceQuery;

// Who the machine says it is: "DEVICE_ID" (read through the information
// group, CCMD 2) and "DEVICE_UNIQUE_ID" (CCMD 57). Either may be empty when
// the machine did not answer it; only the ones known are compared.
struct MachineIdentity
{
    QString deviceId;
    QString uniqueId;

    bool known() const { return !deviceId.isEmpty() || !uniqueId.isEmpty(); }
    // Same machine: every member both sides know agrees, and at least one does.
    bool matches(const MachineIdentity &other) const;
    QString text() const;   // "VXS-000001 (5658534D00000001)"
    // From the session's records after a read of identityKeys().
    static MachineIdentity fromRecords(const DeviceSession &session);
    static QStringList identityKeys();
};

// Brings a dropped link back: waits from the schedule (growing, within a
// budget counted from the drop), a fresh device object per attempt, then the
// identity read. Only an identity that matches the one given to start() ends
// in reconnected(); another machine ends the run at once, its link closed
// with nothing but the identity read sent to it. The budget is a hard
// bound: an attempt still connecting when it is spent is abandoned.
class Reconnector : public QObject
{
    Q_OBJECT
public:
    explicit Reconnector(DeviceSession &session, QObject *parent = nullptr);

    void setSchedule(const ReconnectSchedule &schedule) { m_schedule = schedule; }
    ReconnectSchedule schedule() const { return m_schedule; }

    void start(const MachineIdentity &expected);
    // Stops waiting; the device object of an unfinished attempt is dropped.
    // No signal follows.
    void cancel();

    bool isActive() const { return m_active; }
    int attempts() const { return m_attempt; }
    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : 0; }
    Failure failure() const { return m_failure; }
    // The machine that answered instead (set when the identity differed).
    MachineIdentity stranger() const { return m_stranger; }

signals:
    // Attempt n starts after waitMs.
    void attempting(int attempt, int waitMs);
    void reconnected();
    void gaveUp(const Failure &failure);

private:
    void next();
    void attempt();
    void onUp(bool up);
    void onIdentity();
    void giveUp(const Failure &failure);
    QString stayedDown(const QString &last) const;
    void stopAll();

    DeviceSession &m_session;
    ReconnectSchedule m_schedule;
    MachineIdentity m_expected;
    MachineIdentity m_stranger;
    QElapsedTimer m_clock;
    QTimer m_wait;
    QTimer m_budget;
    QPointer<DeviceQuery> m_identity;
    QList<QMetaObject::Connection> m_links;
    Failure m_failure;
    Failure m_lastTry;
    int m_attempt = 0;
    bool m_active = false;
    bool m_connecting = false;
};
