// SPDX-License-Identifier: LGPL-2.1-or-later
// A full model device against machines that misbehave, over loopback TCP:
// floods without ETX, garbage, one-byte replies, unanswered heartbeats, a
// link dropped mid-job and floods of job reports.
#include "plugin/VXKTR450PROCam.h"
#include "VXSimulator.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "MemoryProbe.h"
#include "linkharness.h"

#include <memory>

namespace {

using Msg = VXDeviceInterface::VXDeviceMessage;

// A device of the model and what it told the host.
struct Host {
    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device{root.initInstance()};
    QStringList status, tasks;

    Host()
    {
        QObject::connect(device.get(), &VXDeviceInterface::message, [this](Msg kind, const QString &text) {
            (kind == VXDeviceInterface::DevTasK ? tasks : status) << text;
        });
    }
    VXCommonInterface *common() const { return static_cast<VXCommonInterface *>(device.get()); }
    VXDeviceProperty *record(const char *key) const { return device->property_ptr(key); }
    QVariant value(const char *key) const { return record(key)->value(); }
    void target(quint16 port)
    {
        device->setIPAddress(QStringLiteral("127.0.0.1"));
        record("TCP_PORT")->setValue(int(port));
    }
    bool connected() const { return value("STATUS").toInt() == VXDeviceInterface::Working; }
};

// The machine's end as raw bytes: whatever a hostile peer may write.
struct RawMachine {
    QTcpServer server;
    QTcpSocket *peer = nullptr;

    bool attach(Host &host)
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        host.target(server.serverPort());
        if (!host.device->connectDevice() || !server.waitForNewConnection(5000))
            return false;
        peer = server.nextPendingConnection();
        return peer != nullptr;
    }
    // Writes and serves events (the device reads on this thread too) until
    // the kernel has taken every byte.
    bool write(const QByteArray &bytes)
    {
        peer->write(bytes);
        QElapsedTimer clock;
        clock.start();
        while (peer->bytesToWrite() > 0 && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return peer->bytesToWrite() == 0;
    }
};

struct SimMachine {
    VXSimulator sim;
    bool attach(Host &host)
    {
        if (!sim.start(0))
            return false;
        host.target(sim.serverPort());
        return host.device->connectDevice();
    }
};

// A small job: a few squares, cut in about a second at the given speed-up.
QString smallPlot()
{
    QString plot = QStringLiteral("IN;SP1;");
    for (int i = 0; i < 4; ++i)
        plot += QStringLiteral("PU0,0;PD400,0,400,400,0,400,0,0;");
    return plot + QStringLiteral("SP0;");
}

} // namespace

class TestHostileMachine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>(); }
    void floodWithoutEtxStaysBounded();
    void garbageIsSurvived();
    void oneByteChunks();
    void unansweredHeartbeats();
    void linkDroppedMidJob();
    void jobReportFlood();
};

void TestHostileMachine::floodWithoutEtxStaysBounded()
{
    Host host;
    RawMachine machine;
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    const qint64 before = rssBytes();
    const QByteArray filler(64 * 1024, 'A');
    QVERIFY(machine.write("\x02" "99;CCMD;"));
    qsizetype worst = 0;
    for (int i = 0; i < 512; ++i) {   // 32 MiB that never end a frame
        QVERIFY(machine.write(filler));
        worst = qMax(worst, host.common()->receivePending());
    }
    // The end of the flood: the next whole frame still decodes.
    QVERIFY(machine.write("\x03" + frame("CCMD", "1010,7;")));
    QTRY_COMPARE_WITH_TIMEOUT(host.value("HEARTBEAT").toInt(), 7, 10000);
    QVERIFY2(worst <= 2 * FrameCutter::DefaultLimit, qPrintable(QString::number(worst)));
    if (!Sanitized)
        QVERIFY2(rssBytes() - before < 16 * 1024 * 1024, qPrintable(QString::number(rssBytes() - before)));
    QVERIFY(host.connected());
}

void TestHostileMachine::garbageIsSurvived()
{
    Host host;
    RawMachine machine;
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    QRandomGenerator random(7);
    QByteArray garbage(4 * 1024 * 1024, Qt::Uninitialized);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    QVERIFY(machine.write(garbage));
    QVERIFY(machine.write("\x03" + frame("CCMD", "1010,5;")));
    QTRY_COMPARE_WITH_TIMEOUT(host.value("HEARTBEAT").toInt(), 5, 10000);
    QVERIFY(host.common()->receivePending() < 1024);
}

void TestHostileMachine::oneByteChunks()
{
    Host host;
    SimMachine machine;
    machine.sim.setOneByteChunks(true);
    machine.sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("123"));
    machine.sim.setSpeedup(50);
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    host.device->sendCMD(host.record("PU_SPEED")->get_cmd_bytes());
    QTRY_COMPARE_WITH_TIMEOUT(host.value("PU_SPEED").toUInt(), 123u, 10000);

    host.device->setPlt(smallPlot());
    host.device->startTask();
    QTRY_VERIFY_WITH_TIMEOUT(!host.tasks.isEmpty() && host.tasks.last().startsWith("66,3,"), 20000);
    for (const QString &item : qAsConst(host.tasks))
        QCOMPARE(item.split(QLatin1Char(',')).size(), 10);
}

void TestHostileMachine::unansweredHeartbeats()
{
    Host host;
    SimMachine machine;
    machine.sim.setIgnoreHeartbeat(true);
    host.record("HEARTBEAT")->setValue(0.2);
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    // Queries keep going; the link stays usable for everything else.
    QTRY_VERIFY_WITH_TIMEOUT(machine.sim.heartbeatCount() >= 3, 5000);
    machine.sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("77"));
    host.device->sendCMD(host.record("PU_SPEED")->get_cmd_bytes());
    QTRY_COMPARE_WITH_TIMEOUT(host.value("PU_SPEED").toUInt(), 77u, 5000);
    QVERIFY(host.connected());
    QCOMPARE(host.status, QStringList{"TCP CONNECTED."});
}

void TestHostileMachine::linkDroppedMidJob()
{
    Host host;
    SimMachine machine;
    machine.sim.setDropMidJob(50);   // a one-second job: ticks land before its end
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    host.device->setPlt(smallPlot());
    host.device->startTask();
    QTRY_VERIFY_WITH_TIMEOUT(host.status.contains("TCP DISCONNECTED."), 20000);
    QCOMPARE(host.value("STATUS").toInt(), int(VXDeviceInterface::DisConnected));
    const int received = machine.sim.receivedFrames().size();
    host.device->sendCMD(host.record("PU_SPEED")->get_cmd_bytes());   // gated: dropped
    host.device->stopTask();

    // The host reconnects by hand and the next job runs to the end.
    machine.sim.setDropMidJob(-1);
    host.status.clear();
    host.tasks.clear();
    QVERIFY(host.device->connectDevice());
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);
    QCOMPARE(machine.sim.receivedFrames().size(), received);
    host.device->startTask();
    QTRY_VERIFY_WITH_TIMEOUT(!host.tasks.isEmpty() && host.tasks.last().startsWith("66,3,"), 20000);
}

void TestHostileMachine::jobReportFlood()
{
    Host host;
    RawMachine machine;
    QVERIFY(machine.attach(host));
    QTRY_VERIFY_WITH_TIMEOUT(host.connected(), 5000);

    // Every report twice in a row: the repeat must not count.
    const int reports = Sanitized ? 4000 : 20000;
    QByteArray burst;
    for (int i = 0; i < reports; ++i) {
        const QByteArray f = frame("CCMD", "66,1,flood.plt,1,0," + QByteArray::number(i % 100) + "."
                                   + QByteArray::number(i) + ",0,0,0;");
        burst += f + f;
    }
    QElapsedTimer clock;
    clock.start();
    QVERIFY(machine.write(burst));
    QTRY_COMPARE_WITH_TIMEOUT(host.tasks.size(), reports, 30000);
    qInfo("%d job reports (%d frames) in %lld ms", reports, 2 * reports, clock.elapsed());
    QCOMPARE(host.value("TASK").toJsonObject().value("Percent").toInt(), (reports - 1) % 100);
    QVERIFY(host.connected());
}

QTEST_MAIN(TestHostileMachine)
#include "tst_hostile_machine.moc"
