// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

// Shared by the link tests: a common device with its connection records, a
// probe into its protected link members, and a loopback machine.

#include "link/VXCommonInterface.h"
#include "property/VXFrame.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// The common device with the records of the first builder, plus access to
// what a host cannot see.
class LinkProbe : public VXCommonInterface
{
public:
    LinkProbe()
    {
        qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
        init157(this);
    }
    const QTimer &deviceTimer() const { return m_deviceTimer; }
    QTcpSocket *tcp() const { return m_tcp; }
    UsbOperate *usb() const { return m_usb; }

    VXDeviceProperty *record(const char *key) { return property_ptr(key); }
    QVariant value(const char *key)
    {
        VXDeviceProperty *r = property_ptr(key);
        return r ? r->value() : QVariant();
    }
    VXDeviceProperty *addRecord(const char *key, const QVariant &value, int get, int set, int len,
                                VXDeviceCMDType type, const QStringList &param = {})
    {
        auto *r = new VXDeviceProperty;
        r->init(value, QString(key), QString(), get, set, len, type, param);
        attachRecord(key, r);
        return r;
    }
};

inline QByteArray frame(const QByteArray &kind, const QByteArray &body)
{
    return VXFrame::build(kind, body);
}

// Texts of the message signals of one kind seen by spy.
inline QStringList messages(const QSignalSpy &spy, VXDeviceInterface::VXDeviceMessage kind)
{
    QStringList out;
    for (const QList<QVariant> &args : spy) {
        if (args.at(0).value<VXDeviceInterface::VXDeviceMessage>() == kind)
            out << args.at(1).toString();
    }
    return out;
}

// The machine's end of a TCP link on 127.0.0.1: accepts one device.
class LoopbackMachine
{
public:
    LoopbackMachine() { QVERIFY(m_server.listen(QHostAddress::LocalHost, 0)); }
    quint16 port() const { return m_server.serverPort(); }

    // Points device at this machine and waits until both ends are up.
    bool attach(LinkProbe &device)
    {
        QSignalSpy spy(&device, &VXDeviceInterface::message);
        device.setIPAddress(QStringLiteral("127.0.0.1"));
        device.record("TCP_PORT")->setValue(int(port()));
        if (!device.connectDevice())
            return false;
        if (!m_server.waitForNewConnection(5000))
            return false;
        m_peer = m_server.nextPendingConnection();
        for (int i = 0; i < 100 && !messages(spy, VXDeviceInterface::DevStatus).contains("TCP CONNECTED."); ++i)
            spy.wait(50);
        return m_peer && device.value("STATUS").toInt() == VXDeviceInterface::Working;
    }

    QTcpSocket *peer() const { return m_peer; }

    // Everything the device has written so far, once at least n bytes are in.
    QByteArray receive(int n, int timeoutMs = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (m_received.size() < n && t.elapsed() < timeoutMs) {
            QTest::qWait(5);
            m_received += m_peer->readAll();
        }
        m_received += m_peer->readAll();
        const QByteArray out = m_received;
        m_received.clear();
        return out;
    }

    void reply(const QByteArray &bytes)
    {
        m_peer->write(bytes);
        m_peer->flush();
    }

private:
    QTcpServer m_server;
    QTcpSocket *m_peer = nullptr;
    QByteArray m_received;
};
