#pragma once

#include "PluginHost.h"
#include "interface/VXDeviceInterface.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVariant>

#include <functional>

class Interrupt;
class Output;
class VXCommonInterface;
class VXDeviceProperty;

// One device object driven through the interface in the host calling order:
// load, initInstance, target, connectDevice, reads and writes through
// sendCMD, jobs. Every wait is bounded and ends early on Ctrl-C or link loss.
class Session : public QObject
{
    Q_OBJECT
public:
    Session(Output &out, Interrupt *interrupt, QObject *parent = nullptr);
    ~Session() override;

    // Each returns an exit code (0 on success) after reporting the error.
    int load(const QString &pluginPath);
    int connectTcp(const QString &hostPort);
    int connectUsb(const QString &path);

    VXDeviceInterface *device() const { return m_device; }
    VXCommonInterface *common() const;
    VXDeviceProperty *record(const QString &key) const;

    void setTimeout(int ms) { m_timeoutMs = ms; }
    int timeout() const { return m_timeoutMs; }

    // Sends the read frame of every record (members of a queried group
    // included) and waits until each is answered; returns the unanswered keys.
    QStringList query(const QStringList &keys);
    // Writes one record and reads it back. Returns an exit code.
    struct WriteOutcome {
        bool acked = false;     // retStatus arrived
        int status = 0;         // its value
        bool readBack = false;  // a value came back from the machine
        QVariant value;         // what it reported
        bool unconfirmable = false; // sent; its answers are never decoded
    };
    // The device object drops every answer carrying 27 (cutting quality) or
    // 125 (job control), so reading those records could only time out.
    static bool answerDecoded(const VXDeviceProperty *record);
    WriteOutcome write(VXDeviceProperty *record, const QVariant &stored);

    // Sends a record's write frame as it stands (job control, origin, jog).
    void send(VXDeviceProperty *record);

    // Runs the event loop until done() holds; false on timeout, or on Ctrl-C
    // or link loss unless the wait is a last clean-up (abortable false).
    bool wait(const std::function<bool()> &done, int timeoutMs, bool abortable = true);
    // Lets queued frames reach the transport before the process ends.
    void flush(int ms = 150);

    bool linkUp() const { return m_linkUp; }
    bool lost() const { return m_lost; }
    QString lostReason() const { return m_lostReason; }
    bool interrupted() const;
    QString websocketState() const { return m_wsState; }
    void clearWebsocketState() { m_wsState.clear(); }
    int heartbeatPeriodMs() const;

signals:
    void taskReport(const QString &item);
    void changed();

private:
    void onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text);
    void watchLiveness();
    int awaitLink(const QString &what);
    void collect(VXDeviceProperty *record, QList<VXDeviceProperty *> &targets,
                 QList<VXDeviceProperty *> &answers);

    Output &m_out;
    QPointer<Interrupt> m_interrupt;
    PluginHost m_plugin;
    VXDeviceInterface *m_device = nullptr;
    int m_timeoutMs = 5000;

    bool m_connecting = false;
    bool m_usb = false;
    bool m_linkUp = false;
    bool m_refused = false;
    bool m_lost = false;
    QString m_lostReason;
    QString m_wsState;

    QTimer m_liveness;
    QElapsedTimer m_heard;          // any answer from the machine
    QElapsedTimer m_heartbeatHeard; // the heartbeat answer alone
    bool m_heartbeatWarned = false;
};
