// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "Profile.h"
#include "Reconnector.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

class DeviceSession;
class DeviceQuery;
class DeviceWrite;

// One exchange of settings with the machine that survives a dropped link: a
// read of some records, or the writes of a profile (or of KEY=VALUE
// arguments), each acknowledged and read back.
//
// The machine's identity is read first. A drop after it is reconnected as a
// job is (the schedule's waits and budget, a fresh device object per
// attempt, the same-machine check), and the exchange goes on: a read is
// asked again whole; for writes every entry is read back, those the machine
// holds count as applied, and only what is missing is written, so nothing
// is repeated that the machine took before the drop. A drop before the
// machine said who it is needs no check: nothing was asked of it yet, so
// whatever answers at the address starts the exchange afresh.
//
// The device object is renewed by a reconnect: entries are matched to the
// records by key again, never by the pointers they came with.
class SettingsRun : public QObject
{
    Q_OBJECT
public:
    explicit SettingsRun(DeviceSession &session, QObject *parent = nullptr);
    ~SettingsRun() override;

    // Off: the first drop ends the exchange (DeviceLost).
    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule());

    // Each runs until finished(); the session's link must be up.
    void read(const QStringList &keys);
    // Stops at the first write the machine refuses or keeps otherwise.
    void write(const QList<Profile::Entry> &entries);
    // Ctrl-C: ends at once (Interrupted), a reconnect wait included.
    void cancel();

    bool isRunning() const { return m_state != State::Idle; }
    Failure failure() const { return m_failure; }
    // Keys the machine left unanswered (read).
    QStringList missing() const { return m_missing; }
    // Entry keys in their order: confirmed (or, for records whose answers
    // are never decoded, acknowledged), and the rest.
    QStringList applied() const;
    QStringList notApplied() const;
    int reconnects() const { return m_reconnects; }
    qint64 linkDownMs() const { return m_downMs; }
    MachineIdentity identity() const { return m_identity; }
    // "applied", "not_applied", "reconnects", "link_down_ms".
    QJsonObject facts() const;

signals:
    // An entry is applied: key, value (as shown), acked, status, read_back,
    // confirmed, unconfirmable; "held" when a read-back after a reconnect
    // found it already on the machine. Also for a refused write, with
    // accepted false, just before finished().
    void written(const QJsonObject &event, bool accepted);
    void reconnecting(int attempt, int waitMs);
    void reconnected();
    void finished();

private:
    enum class State { Idle, Identifying, Reading, Verifying, Writing, Reconnecting };
    struct Item {
        Profile::Entry entry;
        bool applied = false;
    };

    void begin();
    void onIdentity();
    void step();
    void onRead();
    void verify();
    void onVerified();
    void writeNext();
    void onWritten();
    void onLost();
    void retryBlind();
    void onBack();
    void end(const Failure &failure = Failure());
    void dropRequests();
    Failure lostFailure(const Failure &why) const;
    VXDeviceProperty *recordOf(const Profile::Entry &entry) const;
    bool readableBack(VXDeviceProperty *record) const;

    DeviceSession &m_session;
    Reconnector m_reconnector;
    ReconnectSchedule m_schedule;
    bool m_reconnect = true;
    State m_state = State::Idle;
    bool m_writing = false;
    QStringList m_keys;
    QList<Item> m_items;
    int m_current = -1;           // the entry whose write is awaited
    QPointer<DeviceQuery> m_query;
    QPointer<DeviceWrite> m_write;
    MachineIdentity m_identity;
    QStringList m_missing;
    Failure m_failure;

    // Reconnecting with no identity to compare (see above).
    bool m_blind = false;
    QTimer m_retry;
    QElapsedTimer m_down;
    Failure m_lastTry;
    int m_attempts = 0;
    int m_reconnects = 0;
    qint64 m_downMs = 0;
};
