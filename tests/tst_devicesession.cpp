// SPDX-License-Identifier: LGPL-2.1-or-later
// The host library's device session against the simulated machine in this
// process: connection outcomes, reads, writes with acknowledgement and
// read-back, a lost link, and a fresh device object after it, which takes
// over the cloud and the open job.
#include "CloudServer.h"
#include "DeviceSession.h"
#include "PlotJob.h"
#include "PluginHost.h"
#include "VXSimulator.h"
#include "cloud/NimbraCloud.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QNetworkReply>
#include <QSet>
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
    void readShowsNoPlaceholder_data();
    void readShowsNoPlaceholder();
    void heartbeatFraction();
    void write_data();
    void write();
    void lostLinkThenFreshDevice_data();
    void lostLinkThenFreshDevice();
    void cloudJobAcrossReconnect();

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

void TestDeviceSession::readShowsNoPlaceholder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("after");
    QTest::newRow("answered") << "PU_SPEED" << "555";
    // The machine knows no command 999 and stays silent: the old value stays.
    QTest::newRow("unanswered") << "PROBE" << "300";
}

void TestDeviceSession::readShowsNoPlaceholder()
{
    QFETCH(QString, key);
    QFETCH(QString, after);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("555"));
    DeviceSession session(m_plugin.root());
    session.setTimeout(1000);
    QVERIFY(!session.renewDevice());
    QVERIFY(connectTo(session, sim));
    auto *probe = new VXDeviceProperty;
    probe->init(300u, key, QString(), 999, 999, 1, VXDeviceInterface::CMD, {});
    session.device()->attachRecord("PROBE", probe);
    VXDeviceProperty *r = session.record(key);
    r->assignDecoded(300u);

    // What a settings panel repainting at every turn of the event loop would show.
    QSet<QString> shown;
    QTimer paint;
    QObject::connect(&paint, &QTimer::timeout, [&] { shown << r->value().toString(); });
    DeviceQuery *q = session.query({key});
    shown << r->value().toString();
    paint.start(0);
    QSignalSpy done(q, &DeviceQuery::done);
    QVERIFY(done.wait(5000));
    paint.stop();
    shown << r->value().toString();
    QCOMPARE(r->value().toString(), after);
    QCOMPARE(q->missing(), after == QLatin1String("300") ? QStringList{key} : QStringList());
    shown.remove(QStringLiteral("300"));
    shown.remove(QStringLiteral("555"));
    QCOMPARE(shown.values(), QList<QString>());
}

void TestDeviceSession::heartbeatFraction()
{
    VXSimulator sim;
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    session.setHeartbeat(0.5);
    QVERIFY(connectTo(session, sim));
    QCOMPARE(session.heartbeatPeriodMs(), 500);
    QTRY_VERIFY_WITH_TIMEOUT(sim.heartbeatCount() >= 1, 5000);
    const int first = sim.heartbeatCount();
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(sim.heartbeatCount() >= first + 4, 12000);
    // Four periods: 2 s at 0.5 s, 8 s at the default; the bound leaves room for a slow machine.
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
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
    QSet<QString> seen;
    seen << r->value().toString();
    QSignalSpy done(w, &DeviceWrite::done);
    QVERIFY(done.wait(5000));
    QCOMPARE(seen.values(), QList<QString>{stored.toString()});
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

void TestDeviceSession::cloudJobAcrossReconnect()
{
    CloudServer cloudSide;
    QVERIFY(cloudSide.start());
    cloudSide.addDevice(QStringLiteral("DS0001"), 17);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    sim.setSpeedup(2);
    sim.setDropMidJob(20);
    sim.setDownFor(300);
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QVERIFY(connectTo(session, sim));
    NimbraCloud cloud(cloudSide.httpBase(), cloudSide.ws());
    session.setCloud(&cloud, QStringLiteral("DS0001"));
    QVERIFY(session.openRemote());
    QTRY_VERIFY_WITH_TIMEOUT(cloudSide.channels().contains(QStringLiteral("DS0001")), 5000);

    // Handed over as the job runner does it.
    PlotJob job;
    QString error;
    QVERIFY2(job.load(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"), error), qPrintable(error));
    session.record(QStringLiteral("TASK_MODE"))->setValue(0);
    session.record(QStringLiteral("TASK_COPIES"))->setValue(2);
    session.record(QStringLiteral("TASK_FILE_INFO"))->setValue(job.fileInfo());
    session.record(QStringLiteral("FILE_PREVIEW"))->setValue(job.preview);
    session.device()->setPlt(job.text);
    session.device()->startTask();
    const QDateTime start = session.record(QStringLiteral("TASK_START_TIME"))->value().toDateTime();

    QSignalSpy lost(&session, &DeviceSession::lost);
    QVERIFY(lost.wait(20000));
    QTRY_VERIFY_WITH_TIMEOUT(!sim.isDown(), 5000);
    const int textsBefore = cloudSide.channelTexts().size();
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    QVERIFY(!session.reconnect());
    QVERIFY(up.wait(5000));
    QVERIFY(session.jobCarried());
    session.queryJob();
    // The channel is back and carries the job's Runtime snapshots again.
    QTRY_VERIFY_WITH_TIMEOUT(cloudSide.channelTexts().size() > textsBefore, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(session.report().ended(), 60000);
    QCOMPARE(int(session.report().status), int(JobReport::Status::Finished));
    session.endJob();
    QTRY_COMPARE_WITH_TIMEOUT(cloudSide.workRecords().size(), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(cloud.findChildren<QNetworkReply *>().isEmpty(), 5000);
    QCOMPARE(cloudSide.workRecords().size(), 1);

    const QJsonObject record = cloudSide.workRecords().first();
    QCOMPARE(record.value("device").toInt(), 17);
    QCOMPARE(record.value("task_copies").toInt(), 2);
    QCOMPARE(record.value("finish_copies").toInt(), 2);
    QCOMPARE(record.value("path_length").toInt(), job.fileInfo().value("path_length").toInt());
    QCOMPARE(record.value("task_model").toInt(), 0);
    // Timed from the start before the drop, not from the reconnect.
    const qint64 sinceStart = start.secsTo(QDateTime::currentDateTime());
    QVERIFY2(qAbs(record.value("task_time").toInt() - sinceStart) <= 1,
             qPrintable(QStringLiteral("%1 vs %2").arg(record.value("task_time").toInt()).arg(sinceStart)));
}

QTEST_GUILESS_MAIN(TestDeviceSession)
#include "tst_devicesession.moc"
