// SPDX-License-Identifier: LGPL-2.1-or-later
#include "linkharness.h"
#include "link/UsbOperate.h"

#include <fcntl.h>
#include <pty.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

using Dev = VXDeviceInterface;

// The machine's end of a pseudo-terminal; the device opens the slave by path.
class PtyMachine
{
public:
    PtyMachine()
    {
        int slave = -1;
        if (openpty(&m_master, &slave, nullptr, nullptr, nullptr) != 0)
            return;
        m_path = QString::fromLocal8Bit(ptsname(m_master));
        ::close(slave);   // the device opens its own descriptor
        struct termios raw;
        tcgetattr(m_master, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_master, TCSANOW, &raw);
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyMachine() { closeMaster(); }

    bool ok() const { return m_master >= 0; }
    QString path() const { return m_path; }
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

    void reply(const QByteArray &bytes) { QVERIFY(::write(m_master, bytes.constData(), bytes.size()) == bytes.size()); }

    QByteArray receive(int n, int timeoutMs = 5000)
    {
        QByteArray got;
        QElapsedTimer clock;
        clock.start();
        char buffer[4096];
        while (got.size() < n && clock.elapsed() < timeoutMs) {
            const ssize_t r = ::read(m_master, buffer, sizeof buffer);
            if (r > 0)
                got.append(buffer, int(r));
            else
                QTest::qWait(5);
        }
        return got;
    }

private:
    int m_master = -1;
    QString m_path;
};

class tst_UsbLink : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void farEndCloses();
    void openFailure();
    void reconnectReusesTransport();
    void readOnlyTransport();
};

void tst_UsbLink::roundTrip()
{
    PtyMachine machine;
    QVERIFY(machine.ok());
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.setUSBPath(machine.path());
    QCOMPARE(device.value("USB").toString(), machine.path());
    QVERIFY(device.connectDevice());
    QTRY_COMPARE(messages(spy, Dev::DevStatus), QStringList{ "USB CONNECTED." });
    QCOMPARE(device.value("STATUS").toInt(), int(Dev::Working));
    QCOMPARE(device.value("CONNECT_MODE").toString(), QString("USB"));
    QCOMPARE(device.deviceTimer().interval(), 2000);

    // UTF-8 job text included: the transport puts the frame's own bytes out.
    const QByteArray a = device.record("HEARTBEAT")->get_cmd_bytes();
    const QByteArray b = frame("PLT", QString::fromUtf8("IN;LB标签;PU0,0;").toUtf8());
    device.sendCMD(a);
    device.sendCMD(b);
    QCOMPARE(machine.receive(a.size() + b.size()), a + b);

    machine.reply(frame("CMD", "SET26:250;") + frame("CCMD", "1010,0,4;").left(6));
    QTRY_COMPARE(device.value("PU_SPEED").toUInt(), 250u);
    machine.reply(frame("CCMD", "1010,0,4;").mid(6));
    QTRY_COMPARE(device.value("HEARTBEAT").toInt(), 4);
}

void tst_UsbLink::farEndCloses()
{
    PtyMachine machine;
    QVERIFY(machine.ok());
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.setUSBPath(machine.path());
    QVERIFY(device.connectDevice());
    QTRY_VERIFY(device.deviceTimer().isActive());

    machine.closeMaster();
    QTRY_COMPARE(messages(spy, Dev::DevStatus).last(), QString("USB DISCONNECTED."));
    QCOMPARE(device.value("STATUS").toInt(), int(Dev::DisConnected));
    QVERIFY(!device.deviceTimer().isActive());
    QVERIFY(!device.usb()->isOpen());

    // Reported once, and the event loop is not kept spinning by read errors.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QCOMPARE(messages(spy, Dev::DevStatus), (QStringList{ "USB CONNECTED.", "USB DISCONNECTED." }));
}

void tst_UsbLink::openFailure()
{
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.heartbeat_switch(true);
    device.setUSBPath(QStringLiteral("/nonexistent/tty-link-test"));
    QVERIFY(device.connectDevice());
    QTRY_COMPARE(messages(spy, Dev::DevStatus), (QStringList{ "USB ERROR.", "USB DISCONNECTED." }));
    QCOMPARE(device.value("STATUS").toInt(), int(Dev::DisConnected));
    QVERIFY(!device.deviceTimer().isActive());

    // A mistyped path must not wedge the device: the right one connects.
    PtyMachine machine;
    QVERIFY(machine.ok());
    device.setUSBPath(machine.path());
    QVERIFY(device.connectDevice());
    QTRY_COMPARE(messages(spy, Dev::DevStatus).last(), QString("USB CONNECTED."));
}

void tst_UsbLink::reconnectReusesTransport()
{
    PtyMachine machine;
    QVERIFY(machine.ok());
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.connect_usb(machine.path());
    UsbOperate *first = device.usb();
    device.connect_usb(machine.path());
    QCOMPARE(device.usb(), first);
    QTRY_COMPARE(device.value("STATUS").toInt(), int(Dev::Working));

    machine.reply(frame("CCMD", "66,1,a.plt,1,0,10,0,0,0;"));
    QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), 1);
    machine.reply(frame("CCMD", "66,1,a.plt,1,0,20,0,0,0;"));
    QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), 2);
}

void tst_UsbLink::readOnlyTransport()
{
    // ReadOnly listens but never writes; close() reports 0 once.
    PtyMachine machine;
    QVERIFY(machine.ok());
    UsbOperate usb;
    QSignalSpy status(&usb, &UsbOperate::statusChanged);
    QSignalSpy read(&usb, &UsbOperate::readData);
    QSignalSpy written(&usb, &UsbOperate::writeData);
    usb.usbConnect(machine.path(), UsbOperate::ReadOnly, false);
    usb.send(QStringLiteral("\x02" "15;CCMD;1010;\x03"));
    QCOMPARE(written.size(), 0);
    machine.reply("in");
    QTRY_COMPARE(read.size(), 1);
    QCOMPARE(read.at(0).at(0).toByteArray(), QByteArray("in"));
    usb.close();
    usb.close();
    QCOMPARE(status.size(), 2);
    QCOMPARE(status.at(0).at(0).toInt(), 1);
    QCOMPARE(status.at(1).at(0).toInt(), 0);
}

QTEST_GUILESS_MAIN(tst_UsbLink)
#include "tst_usblink.moc"
