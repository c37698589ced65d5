// SPDX-License-Identifier: LGPL-2.1-or-later
// The host library's device session against the simulated machine in this
// process: connection outcomes, reads, writes with acknowledgement and
// read-back, a lost link, and a fresh device object after it.
#include "DeviceSession.h"
#include "PluginHost.h"
#include "VXSimulator.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

enum class Target { Tcp, Refused, BadPort, MissingSerial };
Q_DECLARE_METATYPE(Target)
enum class Fault { DropOnFirstFrame, SilentHeartbeat };
Q_DECLARE_METATYPE(Fault)

class TestDeviceSession : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void connecting_data();
    void connecting();
    void query();
    void write_data();
    void write();
    void lostLinkThenFreshDevice_data();
    void lostLinkThenFreshDevice();

private:
    bool connectTo(DeviceSession &session, VXSimulator &sim);

    PluginHost m_plugin;
    QTemporaryDir m_tmp;
};

void TestDeviceSession::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
}

bool TestDeviceSession::connectTo(DeviceSession &session, VXSimulator &sim)
{
    if (session.connectTcp(QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())))
        return false;
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    return session.linkUp() || up.wait(5000);
}

void TestDeviceSession::connecting_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<int>("failure");   // immediate or through connectFailed
    QTest::newRow("tcp") << Target::Tcp << int(Failure::None);
    QTest::newRow("refused") << Target::Refused << int(Failure::Refused);
    QTest::newRow("bad port") << Target::BadPort << int(Failure::Usage);
    QTest::newRow("serial device missing") << Target::MissingSerial << int(Failure::Refused);
}

void TestDeviceSession::connecting()
{
    QFETCH(Target, target);
    QFETCH(int, failure);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    const QString tcp = QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
    DeviceSession session(m_plugin.root());
    session.setTimeout(3000);
    QVERIFY(!session.renewDevice());
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    QSignalSpy failed(&session, &DeviceSession::connectFailed);
    Failure now;
    switch (target) {
    case Target::Tcp: now = session.connectTcp(tcp); break;
    case Target::Refused: sim.stop(); now = session.connectTcp(tcp); break;
    case Target::BadPort: now = session.connectTcp(QStringLiteral("127.0.0.1:99999")); break;
    case Target::MissingSerial: now = session.connectUsb(m_tmp.filePath(QStringLiteral("no-such-tty"))); break;
    }
    if (now) {
        QCOMPARE(int(now.kind), failure);
        return;
    }
    if (failure == int(Failure::None)) {
        QVERIFY(up.wait(5000));
        QVERIFY(session.linkUp());
    } else {
        QVERIFY(failed.count() || failed.wait(5000));
        QCOMPARE(int(session.linkFailure().kind), failure);
        QCOMPARE(up.count(), 0);
    }
}

void TestDeviceSession::query()
{
    VXSimulator sim;
    QVERIFY(sim.start(0));
    sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("555"));
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QVERIFY(connectTo(session, sim));
    // A group's one query fills every member; a key without a record is no answer owed.
    DeviceQuery *q = session.query({QStringLiteral("PU_SPEED"), QStringLiteral("DEVICE_INFO"),
                                    QStringLiteral("NO_SUCH_KEY")});
    QSignalSpy done(q, &DeviceQuery::done);
    QVERIFY(done.wait(5000));
    QCOMPARE(q->missing(), QStringList());
    QCOMPARE(session.record(QStringLiteral("PU_SPEED"))->value().toInt(), 555);
    QVERIFY(!session.record(QStringLiteral("FIRMWARE"))->value().toString().isEmpty());

    // A member asked alone is asked through its group (it has no query of its own).
    session.record(QStringLiteral("DEVICE_ID"))->assignDecoded(QString());
    q = session.query({QStringLiteral("DEVICE_ID")});
    QSignalSpy memberDone(q, &DeviceQuery::done);
    QVERIFY(memberDone.wait(5000));
    QCOMPARE(q->missing(), QStringList());
    QCOMPARE(session.record(QStringLiteral("DEVICE_ID"))->value().toString(), QStringLiteral("VXS-000001"));
}

void TestDeviceSession::write_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("readBack");
    QTest::addColumn<bool>("unconfirmable");
    QTest::newRow("read back") << "PU_SPEED" << QVariant(321u) << int(Failure::None) << true << false;
    // The machine keeps one copy at least and answers with what it holds.
    QTest::newRow("machine keeps another value") << "QRCODE_COPIES" << QVariant(0) << int(Failure::Rejected) << true << false;
    // Answers carrying 27 are never decoded: sent, not confirmed, not failed.
    QTest::newRow("answer never decoded") << "WORK_MODE" << QVariant(2u) << int(Failure::None) << false << true;
}

void TestDeviceSession::write()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(int, failure);
    QFETCH(bool, readBack);
    QFETCH(bool, unconfirmable);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QVERIFY(connectTo(session, sim));
    VXDeviceProperty *r = session.record(key);
    QVERIFY(r);
    DeviceWrite *w = session.write(r, stored);
    QSignalSpy done(w, &DeviceWrite::done);
    QVERIFY(done.wait(5000));
    QCOMPARE(w->readBack(), readBack);
    QCOMPARE(w->unconfirmable(), unconfirmable);
    const Failure f = w->failure(key, stored.toString());
    QVERIFY2(int(f.kind) == failure, qPrintable(f.message));
    // The record holds what the machine holds, never the read's marker.
    QVERIFY(!session.awaitingAnswer(r));
    if (readBack)
        QCOMPARE(r->value().toString(), sim.setting(r->cmd_type() == VXDeviceInterface::CCMD ? VXSimulator::Ccmd
                                                                                            : VXSimulator::Cmd,
                                                    r->set_cmd_int()));
}

void TestDeviceSession::lostLinkThenFreshDevice_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("why");
    QTest::newRow("link drops") << Fault::DropOnFirstFrame << "link lost";
    // The plugin never notices a silent machine; the session does.
    QTest::newRow("heartbeat never answered") << Fault::SilentHeartbeat << "stopped answering";
}

void TestDeviceSession::lostLinkThenFreshDevice()
{
    QFETCH(Fault, fault);
    QFETCH(QString, why);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    session.setTimeout(1000);
    QVERIFY(!session.renewDevice());
    session.setHeartbeat(1);
    QSignalSpy lost(&session, &DeviceSession::lost);
    if (fault == Fault::DropOnFirstFrame)
        sim.setDropAfterReceived(1);
    else
        sim.setIgnoreHeartbeat(true);
    QVERIFY(connectTo(session, sim));
    QVERIFY(lost.wait(10000));
    QCOMPARE(session.state(), DeviceSession::State::Lost);
    QCOMPARE(int(session.linkFailure().kind), int(Failure::DeviceLost));
    QVERIFY2(session.linkFailure().message.contains(why), qPrintable(session.linkFailure().message));

    // A reconnect gets a fresh device object: the old one refuses outside DisConnected.
    sim.setDropAfterReceived(-1);
    sim.setIgnoreHeartbeat(false);
    QPointer<VXDeviceInterface> old = session.device();
    QVERIFY(connectTo(session, sim));
    QVERIFY(old.isNull());
    QVERIFY(session.linkUp());
}

QTEST_GUILESS_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
