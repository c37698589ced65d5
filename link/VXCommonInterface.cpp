// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXCommonInterface.h"
#include "UsbOperate.h"

#include <QDateTime>
#include <QDebug>
#include <QEvent>
#include <QLocale>
#include <QMutexLocker>
#include <QTcpSocket>
#include <QWebSocket>

#include <cmath>

VXCommonInterface::VXCommonInterface(QObject *parent)
    : VXDeviceInterface(parent)
{
    systemLanguage();
    connect(&m_deviceTimer, &QTimer::timeout, this, &VXCommonInterface::slot_device_timer);
}

VXCommonInterface::~VXCommonInterface()
{
    m_deviceTimer.stop();
    // Cut the signal paths first: a socket closing now must not reach the
    // slots (and the host's message handlers) of a half-destroyed object.
    if (m_usb) {
        m_usb->disconnect(this);
        delete m_usb;
        m_usb = nullptr;
    }
    if (m_tcp) {
        m_tcp->disconnect(this);
        m_tcp->close();
        delete m_tcp;
        m_tcp = nullptr;
    }
    if (m_webSocket) {
        m_webSocket->disconnect(this);
        delete m_webSocket;
        m_webSocket = nullptr;
    }
    releaseRecords();
    m_receive.clear();
}

void VXCommonInterface::systemLanguage()
{
    const QString name = QLocale::system().name();
    if (name == QLatin1String("ja_JP"))
        m_language = name;
    else if (name == QLatin1String("zh_CN"))
        m_language = QString();
    else
        m_language = QStringLiteral("en_US");
}

VXDeviceProperty *VXCommonInterface::property_ptr(const char *key)
{
    return VXDeviceProperty::lookup(this, key);
}

VXDeviceInterface *VXCommonInterface::initInstance()
{
    auto *device = new VXCommonInterface;
    init157(device);
    return device;
}

QStringList VXCommonInterface::userProperty()
{
    // The repeated "CAMERA_OFFSET" is kept as it has always been listed; a host
    // that shows each name once sees no difference.
    return { QStringLiteral("WORK_MODE"), QStringLiteral("SPEED"), QStringLiteral("PRESSURE"),
             QStringLiteral("CAMERA_OFFSET"), QStringLiteral("CAMERA_OFFSET"),
             QStringLiteral("SP1"), QStringLiteral("SP2") };
}

namespace {

VXDeviceProperty *targetRecord(const QString &value, const QString &label)
{
    auto *record = new VXDeviceProperty;
    record->init(value, label, QString(""), 0, 0, 0, VXDeviceInterface::UnCMD, QStringList());
    return record;
}

} // namespace

void VXCommonInterface::setUSBPath(QString path)
{
    attachRecord("USB", targetRecord(path, tr("USB 地址")));
}

void VXCommonInterface::setIPAddress(QString address)
{
    attachRecord("TCP", targetRecord(address, tr("IP 地址")));
}

bool VXCommonInterface::connectDevice()
{
    VXDeviceProperty *status = property_ptr("STATUS");
    if (!status || status->value().toInt() != DisConnected)
        return false;
    if (VXDeviceProperty *usb = property_ptr("USB")) {
        connect_usb(usb->value().toString());
        return true;
    }
    if (VXDeviceProperty *tcp = property_ptr("TCP")) {
        connect_tcp(tcp->value().toString());
        return true;
    }
    return false;
}

void VXCommonInterface::connect_usb(QString path)
{
    if (!m_usb) {
        m_usb = new UsbOperate;
        connect(m_usb, &UsbOperate::writeData, this, &VXCommonInterface::slot_usb_write);
        connect(m_usb, &UsbOperate::readData, this, &VXCommonInterface::slot_usb_read);
        connect(m_usb, &UsbOperate::statusChanged, this, &VXCommonInterface::slot_usb_status);
    }
    m_usb->usbConnect(path, UsbOperate::ReadWrite, false);
}

void VXCommonInterface::connect_tcp(QString address)
{
    if (!m_tcp) {
        m_tcp = new QTcpSocket(this);
        m_tcp->setReadBufferSize(10240);
        m_tcp->setSocketOption(QAbstractSocket::KeepAliveOption, true);
        connect(m_tcp, &QTcpSocket::readyRead, this, &VXCommonInterface::slot_tcp_socket_read);
        connect(m_tcp, &QTcpSocket::stateChanged, this, &VXCommonInterface::slot_tcp_socket_state);
        connect(m_tcp, &QTcpSocket::bytesWritten, this, &VXCommonInterface::slot_tcp_bytes_written);
    }
    if (VXDeviceProperty *port = property_ptr("TCP_PORT"))
        m_tcp->connectToHost(address, quint16(port->value().toInt()), QIODevice::ReadWrite,
                             QAbstractSocket::AnyIPProtocol);
}

void VXCommonInterface::slot_usb_write(QByteArray data)
{
    Q_UNUSED(data);
}

void VXCommonInterface::slot_usb_read(QByteArray data)
{
    // "LAST_TIEM" (sic) is what the stamp has always been called; the
    // catalogue's "LAST_TIME" is a different record, so this stays inert.
    // Resolved once per catalogue change: every arrival, one byte or many,
    // would otherwise search the device's keys.
    if (VXDeviceProperty *stamp = receiveStamp())
        stamp->setValue(QDateTime::currentDateTime());
    m_receive.append(data);
    decode_buffer();
}

void VXCommonInterface::slot_tcp_socket_read()
{
    if (!m_tcp)
        return;
    if (VXDeviceProperty *stamp = receiveStamp())
        stamp->setValue(QDateTime::currentDateTime());
    m_receive.append(m_tcp->readAll());
    decode_buffer();
}

void VXCommonInterface::slot_usb_status(int s)
{
    qDebug() << "VXCommonInterface::slot_usb_status" << s;
    if (VXDeviceProperty *mode = property_ptr("CONNECT_MODE"))
        mode->setValue(QStringLiteral("USB"));
    if (!property_ptr("STATUS"))
        return;
    switch (s) {
    case 1:
        m_lastJobReport.clear();   // a report from before the link is stale
        setStatus(Working);
        restartDeviceTimer();
        emit message(DevStatus, QStringLiteral("USB CONNECTED."));
        break;
    case 2:
        setStatus(Warning);
        stopDeviceTimer();
        emit message(DevStatus, QStringLiteral("USB ERROR."));
        break;
    case 0:
        setStatus(DisConnected);
        stopDeviceTimer();
        emit message(DevStatus, QStringLiteral("USB DISCONNECTED."));
        break;
    default:
        break;
    }
}

void VXCommonInterface::slot_tcp_socket_state(QAbstractSocket::SocketState s)
{
    if (VXDeviceProperty *mode = property_ptr("CONNECT_MODE"))
        mode->setValue(QStringLiteral("TCP"));
    if (!property_ptr("STATUS"))
        return;
    if (s == QAbstractSocket::ConnectedState) {
        m_lastJobReport.clear();   // a report from before the link is stale
        setStatus(Working);
        restartDeviceTimer();
        emit message(DevStatus, QStringLiteral("TCP CONNECTED."));
    } else if (s == QAbstractSocket::UnconnectedState) {
        {
            // What was not yet written went with the link, as the socket's
            // own buffer did.
            QMutexLocker lock(&m_sendMutex);
            m_outStream = FrameStream();
            m_outQueue.clear();
        }
        setStatus(DisConnected);
        stopDeviceTimer();
        emit message(DevStatus, QStringLiteral("TCP DISCONNECTED."));
    }
}

void VXCommonInterface::slot_device_timer()
{
    if (VXDeviceProperty *stamp = property_ptr("LAST_TIEM")) {
        if (stamp->value().toDateTime().secsTo(QDateTime::currentDateTime()) > 30) {
            setStatus(DisConnected);
            emit message(DevStatus, QStringLiteral("HEARTBEAT TIMEOUT 30S."));
        }
    }
    if (VXDeviceProperty *heartbeat = property_ptr("HEARTBEAT"))
        send_cmd(heartbeat->get_cmd_bytes());
}

void VXCommonInterface::heartbeat_switch(bool on)
{
    if (!property_ptr("HEARTBEAT"))
        return;
    if (on)
        restartDeviceTimer();
    else
        stopDeviceTimer();
}

int VXCommonInterface::heartbeatIntervalMs(const QVariant &seconds)
{
    return VXHeartbeatPeriod::intervalMs(seconds);
}

void VXCommonInterface::setStatus(int status)
{
    if (VXDeviceProperty *record = property_ptr("STATUS"))
        record->setValue(status);
}

void VXCommonInterface::restartDeviceTimer()
{
    VXDeviceProperty *heartbeat = property_ptr("HEARTBEAT");
    if (!heartbeat)
        return;
    if (m_deviceTimer.isActive())
        m_deviceTimer.stop();
    m_deviceTimer.start(heartbeatIntervalMs(heartbeat->value()));
}

void VXCommonInterface::stopDeviceTimer()
{
    if (!property_ptr("HEARTBEAT"))
        return;
    if (m_deviceTimer.isActive())
        m_deviceTimer.stop();
}
