// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DeviceSession.h"

#include "interface/VXDeviceInterface.h"
#include "property/HeartbeatPeriod.h"
#include "property/RecordAnswer.h"
#include "property/VXDeviceProperty.h"
#include "property/VXFrame.h"

#include <QLocale>

// ---- DeviceSession

DeviceSession::DeviceSession(VXDeviceInterface *factory, QObject *parent)
    : QObject(parent), m_factory(factory)
{
    m_liveness.setInterval(200);
    connect(&m_liveness, &QTimer::timeout, this, &DeviceSession::watchLiveness);
    m_connectDeadline.setSingleShot(true);
    connect(&m_connectDeadline, &QTimer::timeout, this, [this] {
        if (m_state == State::Connecting)
            endLink({Failure::TimedOut, tr("no connection to %1 within %2 s")
                                            .arg(m_target, QLocale().toString(m_timeoutMs / 1000.0))});
    });
}

DeviceSession::~DeviceSession()
{
    releaseDevice();
}

void DeviceSession::releaseDevice()
{
    m_liveness.stop();
    m_connectDeadline.stop();
    if (m_device) {
        takeJob(m_device);
        emit deviceAboutToGo();
        // Closing the transport still reports through message(): nobody should hear it.
        disconnect(m_device, nullptr, this, nullptr);
        delete m_device.data();
        emit deviceChanged(nullptr);
    }
    const bool wasUp = m_state == State::Up;
    m_state = State::NoDevice;
    if (wasUp)
        emit linkUpChanged(false);
}

Failure DeviceSession::renewDevice()
{
    releaseDevice();
    m_device = m_factory ? m_factory->initInstance() : nullptr;
    if (!m_device)
        return {Failure::Plugin, tr("the plugin created no device object")};
    connect(m_device, &VXDeviceInterface::message, this, &DeviceSession::onMessage);
    m_state = State::Idle;
    m_usb = false;
    m_linkFailure = Failure();
    m_heartbeatWarned = false;
    m_heartbeatMs = 0;
    m_cloudGiven = false;
    m_jobCarried = false;
    if (m_heartbeatSec > 0)
        setHeartbeat(m_heartbeatSec);
    watchDevice();
    emit deviceChanged(m_device);
    return Failure();
}

void DeviceSession::watchDevice()
{
    // Any heartbeat answer, the same period as before included, proves the machine alive.
    if (VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"))) {
        connect(VXRecordAnswer::of(hb), &VXRecordAnswer::answered, this, [this] {
            m_heard.restart();
            m_heartbeatHeard.restart();
        });
    }
}

VXDeviceProperty *DeviceSession::record(const QString &key) const
{
    return m_device ? m_device->property_ptr(key.toLatin1().constData()) : nullptr;
}

void DeviceSession::setHeartbeat(double seconds)
{
    m_heartbeatSec = seconds;
    if (VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT")); hb && seconds > 0)
        hb->setValue(seconds);
}

int DeviceSession::heartbeatPeriodMs() const
{
    if (m_heartbeatMs > 0)
        return m_heartbeatMs;
    VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
    return VXHeartbeatPeriod::intervalMs(hb ? hb->value() : QVariant());
}

Failure DeviceSession::startConnect(const QString &what)
{
    m_target = what;
    m_state = State::Connecting;
    m_linkFailure = Failure();
    m_connectDeadline.start(m_timeoutMs);
    // A transport may report the outcome from inside connectDevice().
    if (!m_device->connectDevice() && m_state == State::Connecting) {
        m_connectDeadline.stop();
        m_state = State::Failed;
        m_linkFailure = {Failure::Other, tr("the device object did not start a connection")};
        return m_linkFailure;
    }
    return Failure();
}

Failure DeviceSession::connectTcp(const QString &hostPort)
{
    QString host = hostPort;
    int port = 9100;
    const int colon = hostPort.lastIndexOf(QLatin1Char(':'));
    // One colon: host:port. More (a bare IPv6 address) or none: no port given.
    if (colon > 0 && hostPort.indexOf(QLatin1Char(':')) == colon) {
        bool ok = false;
        port = hostPort.mid(colon + 1).toInt(&ok);
        host = hostPort.left(colon);
        if (!ok || port < 1 || port > 65535)
            return {Failure::Usage, tr("bad port in '%1'").arg(hostPort)};
    }
    return connectTcp(host, port);
}

Failure DeviceSession::connectTcp(const QString &host, int port)
{
    if (host.isEmpty())
        return {Failure::Usage, tr("no host given")};
    if (!m_device || m_state != State::Idle) {
        if (Failure f = renewDevice())
            return f;
    }
    m_device->setIPAddress(host);
    if (VXDeviceProperty *p = record(QStringLiteral("TCP_PORT")))
        p->setValue(port);
    m_usb = false;
    m_host = host;
    m_port = port;
    return startConnect(QStringLiteral("%1:%2").arg(host, QString::number(port)));
}

Failure DeviceSession::connectUsb(const QString &path)
{
    if (path.isEmpty())
        return {Failure::Usage, tr("no serial device given")};
    if (!m_device || m_state != State::Idle) {
        if (Failure f = renewDevice())
            return f;
    }
    m_device->setUSBPath(path);
    m_usb = true;
    return startConnect(path);
}

void DeviceSession::endLink(const Failure &why)
{
    const State before = m_state;
    m_liveness.stop();
    m_connectDeadline.stop();
    m_linkFailure = why;
    if (before == State::Connecting) {
        m_state = State::Failed;
        emit connectFailed(why);
    } else if (before == State::Up) {
        m_state = State::Lost;
        emit linkUpChanged(false);
        emit lost(why);
    }
}

void DeviceSession::onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text)
{
    const LinkMessage::Event event = LinkMessage::classify(kind, text);
    switch (event) {
    case LinkMessage::JobReport:
        m_lastReport = text;
        m_report = JobReport::fromItem(text);
        m_heard.restart();
        emit jobReport();
        return;
    case LinkMessage::QrCode:
        emit qrCode(text);
        return;
    case LinkMessage::LinkUp: {
        m_connectDeadline.stop();
        m_state = State::Up;
        m_heard.start();
        m_heartbeatHeard.start();
        // The device timer took its period from the record just now.
        m_heartbeatMs = 0;
        m_heartbeatMs = heartbeatPeriodMs();
        m_liveness.start();
        emit linkEvent(event, text);
        emit linkUpChanged(true);
        if (!m_cloud.isNull() && !m_cloudGiven && m_state == State::Up)
            restoreCloud();
        return;
    }
    default:
        break;
    }
    emit linkEvent(event, text);
    if (LinkMessage::endsLink(event)) {
        if (m_state == State::Connecting)
            endLink({Failure::Refused, m_usb ? tr("cannot open %1").arg(m_target)
                                             : tr("cannot connect to %1 (refused)").arg(m_target)});
        else if (m_state == State::Up)
            endLink({Failure::DeviceLost, tr("link lost (%1)").arg(text)});
    }
}

void DeviceSession::watchLiveness()
{
    if (m_state != State::Up)
        return;
    VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
    // The plugin itself never notices a silent machine; three missed
    // heartbeats (or the answer time-out, if longer) count as a lost link.
    const qint64 limit = qMax<qint64>(m_timeoutMs, 3 * heartbeatPeriodMs() + 1000);
    if (m_heard.elapsed() > limit) {
        endLink({Failure::DeviceLost, tr("the machine stopped answering (nothing for %1 s)")
                                          .arg(QLocale().toString(m_heard.elapsed() / 1000))});
    } else if (hb && !m_heartbeatWarned && m_heartbeatHeard.elapsed() > limit) {
        m_heartbeatWarned = true;
        emit warning(tr("the machine does not answer the heartbeat"));
    }
}

Failure DeviceSession::reconnect()
{
    if (m_target.isEmpty())
        return {Failure::Usage, tr("no earlier connection to repeat")};
    const bool usb = m_usb;
    const QString path = m_target;
    if (Failure f = renewDevice())
        return f;
    carryJob();
    return usb ? connectUsb(path) : connectTcp(m_host, m_port);
}

void DeviceSession::queryJob()
{
    if (m_device)
        m_device->sendCMD(VXFrame::build(QByteArrayLiteral("CCMD"), QByteArrayLiteral("66;")));
}

void DeviceSession::send(VXDeviceProperty *record)
{
    if (m_device && record)
        m_device->sendCMD(record->set_cmd_bytes());
}

void DeviceSession::send(const char *key)
{
    send(record(QLatin1String(key)));
}

bool DeviceSession::stopJob()
{
    VXDeviceProperty *stop = record(QStringLiteral("TASK_STOP"));
    if (!stop)
        return false;
    stop->setValue(2);
    send(stop);
    return true;
}
