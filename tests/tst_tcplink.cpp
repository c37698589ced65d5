// SPDX-License-Identifier: LGPL-2.1-or-later
#include "linkharness.h"

using Dev = VXDeviceInterface;

class tst_TcpLink : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void sendGate_data();
    void sendGate();
    void connectDeviceTargets_data();
    void connectDeviceTargets();
    void portLow16Bits();
    void heartbeatPeriod_data();
    void heartbeatPeriod();
    void heartbeatFloorTicks();
    void heartbeatSwitch();
    void destroyWhileConnected();
};

void tst_TcpLink::roundTrip()
{
    LinkProbe device;
    LoopbackMachine machine;
    QSignalSpy spy(&device, &Dev::message);
    QVERIFY(machine.attach(device));
    QCOMPARE(messages(spy, Dev::DevStatus), QStringList{ "TCP CONNECTED." });
    QCOMPARE(device.value("CONNECT_MODE").toString(), QString("TCP"));
    QVERIFY(device.deviceTimer().isActive());
    QCOMPARE(device.deviceTimer().interval(), 2000);

    // Frames reach the machine byte for byte, in order.
    const QByteArray a = device.record("PU_SPEED")->get_cmd_bytes();
    const QByteArray b = frame("PLT", QByteArray("IN;PU0,0;PD100,100;"));
    device.sendCMD(a);
    device.sendCMD(QByteArray());
    device.sendCMD(b);
    QCOMPARE(machine.receive(a.size() + b.size()), a + b);

    // Replies land in records, split or joined however the socket delivers.
    const QByteArray replies = frame("CCMD", "1010,0,7;") + frame("CMD", "SET26:300;");
    machine.reply(replies.left(9));
    QTRY_COMPARE(device.receivePending(), qsizetype(9));
    machine.reply(replies.mid(9));
    QTRY_COMPARE(device.value("PU_SPEED").toUInt(), 300u);
    QCOMPARE(device.value("HEARTBEAT").toInt(), 7);
    QCOMPARE(device.deviceTimer().interval(), 2000);   // new period only on restart

    machine.peer()->close();
    QTRY_COMPARE(messages(spy, Dev::DevStatus).last(), QString("TCP DISCONNECTED."));
    QCOMPARE(device.value("STATUS").toInt(), int(Dev::DisConnected));
    QVERIFY(!device.deviceTimer().isActive());

    // Reconnecting reuses the socket and restarts the timer with the new period.
    QVERIFY(machine.attach(device));
    QCOMPARE(device.deviceTimer().interval(), 7000);
}

void tst_TcpLink::sendGate_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("sent");
    QTest::newRow("DisConnected") << int(Dev::DisConnected) << false;
    QTest::newRow("Idle") << int(Dev::Idle) << true;
    QTest::newRow("Working") << int(Dev::Working) << true;
    QTest::newRow("Pause") << int(Dev::Pause) << true;
    QTest::newRow("Warning") << int(Dev::Warning) << false;
    QTest::newRow("Error") << int(Dev::Error) << false;
}

void tst_TcpLink::sendGate()
{
    QFETCH(int, status);
    QFETCH(bool, sent);

    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    device.heartbeat_switch(false);

    const QByteArray probe = frame("CMD", "SET26:5;");
    const QByteArray marker = frame("CMD", "GET26;");
    device.record("STATUS")->setValue(status);
    device.sendCMD(probe);
    device.slot_device_timer();               // the heartbeat query is gated too
    device.record("STATUS")->setValue(int(Dev::Working));
    device.sendCMD(marker);

    const QByteArray heartbeat = device.record("HEARTBEAT")->get_cmd_bytes();
    const QByteArray expected = sent ? probe + heartbeat + marker : marker;
    QCOMPARE(machine.receive(expected.size()), expected);
}

void tst_TcpLink::connectDeviceTargets_data()
{
    QTest::addColumn<bool>("usb");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("result");
    QTest::newRow("no target") << false << false << 0 << false;
    QTest::newRow("tcp") << false << true << 0 << true;
    QTest::newRow("both: usb wins") << true << true << 0 << true;
    QTest::newRow("working") << false << true << int(Dev::Working) << false;
    QTest::newRow("warning") << false << true << int(Dev::Warning) << false;
}

void tst_TcpLink::connectDeviceTargets()
{
    QFETCH(bool, usb);
    QFETCH(bool, tcp);
    QFETCH(int, status);
    QFETCH(bool, result);

    LinkProbe device;
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    device.record("TCP_PORT")->setValue(int(server.serverPort()));
    device.record("STATUS")->setValue(status);
    if (usb)
        device.setUSBPath(QStringLiteral("/nonexistent/tty-link-test"));
    if (tcp)
        device.setIPAddress(QStringLiteral("127.0.0.1"));

    QCOMPARE(device.connectDevice(), result);
    QCOMPARE(device.usb() != nullptr, result && usb);
    QCOMPARE(device.tcp() != nullptr, result && !usb);
    if (result && !usb)
        QVERIFY(server.waitForNewConnection(5000));
}

void tst_TcpLink::portLow16Bits()
{
    LinkProbe device;
    LoopbackMachine machine;
    device.setIPAddress(QStringLiteral("127.0.0.1"));
    device.record("TCP_PORT")->setValue(int(machine.port()) + 65536);
    QVERIFY(device.connectDevice());
    QTRY_COMPARE(device.value("STATUS").toInt(), int(Dev::Working));
}

void tst_TcpLink::heartbeatPeriod_data()
{
    QTest::addColumn<QVariant>("seconds");
    QTest::addColumn<int>("ms");
    QTest::newRow("default") << QVariant(2) << 2000;
    // No period given: the default, not five queries a second.
    QTest::newRow("zero is default") << QVariant(0) << 2000;
    QTest::newRow("negative is default") << QVariant(-3) << 2000;
    QTest::newRow("text is default") << QVariant("abc") << 2000;
    QTest::newRow("tiny floors") << QVariant(0.01) << int(VXCommonInterface::HeartbeatFloorMs);
    QTest::newRow("fraction") << QVariant(0.5) << 500;
    QTest::newRow("one hour") << QVariant(3600) << int(VXCommonInterface::HeartbeatCeilingMs);
    QTest::newRow("overflowing int") << QVariant(3000000) << int(VXCommonInterface::HeartbeatCeilingMs);
    QTest::newRow("huge unsigned") << QVariant(4294967295u) << int(VXCommonInterface::HeartbeatCeilingMs);
}

void tst_TcpLink::heartbeatPeriod()
{
    QFETCH(QVariant, seconds);
    QFETCH(int, ms);
    QCOMPARE(VXCommonInterface::heartbeatIntervalMs(seconds), ms);

    // The same period is what a connection actually runs.
    LinkProbe device;
    LoopbackMachine machine;
    device.record("HEARTBEAT")->setValue(seconds);
    QVERIFY(machine.attach(device));
    QCOMPARE(device.deviceTimer().interval(), ms);
}

void tst_TcpLink::heartbeatFloorTicks()
{
    // The machine answering 0 s gets the default period; a period below the
    // floor queries at the floor rate, not on every event-loop pass.
    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    machine.reply(frame("CCMD", "1010,0,0;"));
    QTRY_COMPARE(device.value("HEARTBEAT").toInt(), 0);
    device.heartbeat_switch(true);
    QCOMPARE(device.deviceTimer().interval(), 2000);
    device.record("HEARTBEAT")->setValue(0.05);
    device.heartbeat_switch(true);
    QCOMPARE(device.deviceTimer().interval(), int(VXCommonInterface::HeartbeatFloorMs));

    const QByteArray query = device.record("HEARTBEAT")->get_cmd_bytes();
    QCOMPARE(query, QByteArray("\x02" "15;CCMD;1010;\x03"));
    QElapsedTimer clock;
    clock.start();
    const QByteArray got = machine.receive(2 * query.size());
    QCOMPARE(got, query + query);
    QVERIFY2(clock.elapsed() >= VXCommonInterface::HeartbeatFloorMs, qPrintable(QString::number(clock.elapsed())));
}

void tst_TcpLink::heartbeatSwitch()
{
    LinkProbe device;
    device.heartbeat_switch(true);
    QVERIFY(device.deviceTimer().isActive());
    QCOMPARE(device.deviceTimer().interval(), 2000);
    device.heartbeat_switch(false);
    QVERIFY(!device.deviceTimer().isActive());

    VXCommonInterface bare;   // no "HEARTBEAT" record: nothing happens
    bare.heartbeat_switch(true);
    QCOMPARE(bare.dynamicPropertyNames().size(), 0);
}

void tst_TcpLink::destroyWhileConnected()
{
    auto *device = new LinkProbe;
    LoopbackMachine machine;
    QVERIFY(machine.attach(*device));
    QSignalSpy spy(device, &Dev::message);
    delete device;
    QCOMPARE(spy.size(), 0);   // no status news from an object being destroyed
    QTRY_COMPARE(machine.peer()->state(), QAbstractSocket::UnconnectedState);
}

QTEST_GUILESS_MAIN(tst_TcpLink)
#include "tst_tcplink.moc"
