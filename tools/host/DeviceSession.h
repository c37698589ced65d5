// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobReport.h"
#include "LinkMessage.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QVariant>

class NimbraCloud;
class VXDeviceInterface;
class VXDeviceProperty;
class DeviceSession;

// One read of a set of records. Each record awaiting an answer is watched
// through its answer notice, so a record only ever holds what it held or what
// the machine sent. Ends by itself: all answered, the time-out, or the link
// lost.
class DeviceQuery : public QObject
{
    Q_OBJECT
public:
    bool isDone() const { return m_done; }
    // Keys (as asked, members by their own names) that got no answer; their
    // records keep the value they had before the read.
    QStringList missing() const { return m_missing; }

signals:
    void done();

private:
    friend class DeviceSession;
    explicit DeviceQuery(DeviceSession *session);
    void await(VXDeviceProperty *record, const QString &name);
    void check();
    void finish();

    DeviceSession *m_session;
    QHash<VXDeviceProperty *, QString> m_names;     // as asked
    QHash<VXDeviceProperty *, QString> m_pending;   // no answer yet, by name
    QStringList m_missing;
    QTimer m_deadline;
    bool m_done = false;
};

// One write with the machine's acknowledgement (retStatus) and, for a record
// that can be read, the read-back of what the machine then holds.
class DeviceWrite : public QObject
{
    Q_OBJECT
public:
    bool isDone() const { return m_done; }
    bool acked() const { return m_acked; }
    int status() const { return m_status; }         // the acknowledgement's value
    bool readBack() const { return m_readBack; }    // a value came back
    QVariant value() const { return m_value; }      // what the machine reported
    bool unconfirmable() const { return m_unconfirmable; } // its answers are never decoded
    // Refused (status != 0) or kept another value; None when confirmed or
    // unconfirmable, TimedOut when the machine said nothing.
    Failure failure(const QString &key, const QString &typed) const;

signals:
    void done();

private:
    friend class DeviceSession;
    DeviceWrite(DeviceSession *session, VXDeviceProperty *record, const QVariant &stored);
    void check();
    void finish();

    DeviceSession *m_session;
    QPointer<VXDeviceProperty> m_record;
    QVariant m_stored;
    QVariant m_before;
    QMetaObject::Connection m_ack;
    QMetaObject::Connection m_answer;
    QTimer m_deadline;
    bool m_awaitRead = false;   // a read-back was asked for
    bool m_done = false;
    bool m_acked = false;
    int m_status = 0;
    bool m_readBack = false;
    QVariant m_value;
    bool m_unconfirmable = false;
};

// One device object of the plugin, driven through the interface in the host
// calling order: make, target, connectDevice, reads and writes through
// sendCMD. Nothing here blocks: outcomes arrive as signals. The device object
// can be dropped and a fresh one made (the link refuses to connect outside
// DisConnected and keeps a USB target once set, so each connection wants one).
class DeviceSession : public QObject
{
    Q_OBJECT
public:
    enum class State { NoDevice, Idle, Connecting, Up, Failed, Lost };
    Q_ENUM(State)

    // factory: the plugin's root object; it only makes device objects and
    // must outlive the session.
    explicit DeviceSession(VXDeviceInterface *factory, QObject *parent = nullptr);
    ~DeviceSession() override;

    // Drops the current device object (its editors must be gone) and makes a
    // new one. Plugin failure when the factory makes none.
    Failure renewDevice();
    void releaseDevice();

    VXDeviceInterface *device() const { return m_device; }
    VXDeviceProperty *record(const QString &key) const;

    // Connection and answer time-out.
    void setTimeout(int ms) { m_timeoutMs = ms; }
    int timeout() const { return m_timeoutMs; }
    // Seconds, fractions too; the device timer takes it when the link comes
    // up. 0 keeps the record's.
    void setHeartbeat(double seconds);
    // The device timer's period, by the device's own rule: as taken when the
    // link came up (the machine's answers rewrite the record afterwards).
    int heartbeatPeriodMs() const;

    // The cloud client and the device code to register under; every device
    // object this session makes from now on registers too, once its link is
    // up and it has read the machine's information. Null forgets the cloud.
    // Held weakly: a client deleted first is simply forgotten.
    void setCloud(NimbraCloud *cloud, const QString &code);
    NimbraCloud *cloud() const;
    QString cloudCode() const { return m_cloudCode; }
    // Opens the remote channel, and again on each device object made after
    // it; false when the device object has none.
    bool openRemote();
    bool remoteWanted() const { return m_remoteWanted; }
    // A job the host had started on the device object dropped by the last
    // reconnect() (startTask, no stopTask yet) moved to the new one: its
    // start time, copies, file facts, preview and modes. The new object's
    // stopTask() then posts that job's one work record.
    bool jobCarried() const { return m_jobCarried; }
    // stopTask() once the device object can report the work record: with a
    // cloud still registering after a reconnect, it waits for the
    // registration (at most the answer time-out).
    void endJob();

    // Start a connection; the outcome comes as linkUp() or connectFailed().
    // An immediate failure (a malformed target) is returned. hostPort is
    // HOST[:PORT], port 9100 by default.
    Failure connectTcp(const QString &hostPort);
    Failure connectTcp(const QString &host, int port);
    Failure connectUsb(const QString &path);

    // Connects again to the last target on a fresh device object (the link
    // keeps a USB target once set, and a repeated job report on the same
    // object would be swallowed). Outcome as for connectTcp().
    Failure reconnect();
    // The last target as given: "host:port" or the serial path.
    QString target() const { return m_target; }

    // The last job report as the machine sent it ("66,status,file,..."):
    // fields past the ones "TASK" holds (how far the current copy got) are
    // only here.
    QString lastJobReport() const { return m_lastReport; }
    // The same, parsed once: what every job driver reads.
    const JobReport &report() const { return m_report; }
    // Asks the machine for its job state (CCMD 66); the answer comes as a
    // job report.
    void queryJob();

    State state() const { return m_state; }
    bool linkUp() const { return m_state == State::Up; }
    // Why the link ended (Refused, TimedOut, DeviceLost); None while it holds.
    Failure linkFailure() const { return m_linkFailure; }

    // Reads the records (members of a queried group included). The request
    // belongs to the session and is deleted with it.
    DeviceQuery *query(const QStringList &keys);
    // The record whose query answers this one: itself, or for a member with
    // no query of its own the group that holds it.
    VXDeviceProperty *readVia(VXDeviceProperty *record) const;
    DeviceWrite *write(VXDeviceProperty *record, const QVariant &stored);
    // A read or write of this record is waiting for the machine (the record
    // meanwhile keeps the value it had, or the one written).
    bool awaitingAnswer(const VXDeviceProperty *record) const;
    // Sends a record's write frame as it stands (job control, origin, jog).
    void send(VXDeviceProperty *record);
    void send(const char *key);
    // Asks the machine to stop its job (TASK_STOP 2); false when the device
    // object has no such record.
    bool stopJob();

signals:
    // Before the device object is deleted: drop its editors and records now.
    void deviceAboutToGo();
    void deviceChanged(VXDeviceInterface *device);   // null: none
    // Every DevStatus text, classified.
    void linkEvent(LinkMessage::Event event, const QString &text);
    void linkUpChanged(bool up);
    void connectFailed(const Failure &failure);
    // The link went down after it was up (closed, failed, or the machine fell silent).
    void lost(const Failure &failure);
    void jobReport();
    void qrCode(const QString &code);
    void warning(const QString &text);

private:
    friend class DeviceQuery;
    friend class DeviceWrite;
    void onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text);
    void watchLiveness();
    void endLink(const Failure &why);
    Failure startConnect(const QString &what);
    void heard() { m_heard.restart(); }
    void watchDevice();
    void takeJob(VXDeviceInterface *from);
    void carryJob();
    void restoreCloud();
    void giveCloud();
    bool cloudRegistering() const;

    VXDeviceInterface *m_factory;
    QPointer<VXDeviceInterface> m_device;
    int m_timeoutMs = 5000;
    double m_heartbeatSec = 0;
    int m_heartbeatMs = 0;          // what the device timer took at link-up
    State m_state = State::NoDevice;
    bool m_usb = false;
    QString m_target;
    QString m_host;                 // TCP: kept apart, an IPv6 address holds colons
    int m_port = 0;
    QString m_lastReport;
    JobReport m_report;
    Failure m_linkFailure;

    QTimer m_connectDeadline;
    QTimer m_liveness;
    QElapsedTimer m_heard;          // any answer from the machine
    QElapsedTimer m_heartbeatHeard; // the heartbeat answer alone
    bool m_heartbeatWarned = false;

    QPointer<NimbraCloud> m_cloud;
    QString m_cloudCode;
    bool m_cloudGiven = false;      // the current device object has it
    bool m_remoteWanted = false;
    QHash<QByteArray, QVariant> m_job;   // an open job's host-side records
    bool m_jobCarried = false;
};
