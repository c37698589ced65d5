// SPDX-License-Identifier: LGPL-2.1-or-later
// The host library's job runner against the simulated machine in this
// process: every way a job ends, read from "TASK" by the one completion rule.
#include "DeviceSession.h"
#include "JobJournal.h"
#include "JobReport.h"
#include "JobRunner.h"
#include "PlotJob.h"
#include "PluginHost.h"
#include "VXSimulator.h"
#include "property/VXDeviceProperty.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

Q_DECLARE_METATYPE(VXSimJobStatus)

enum class Ending { Copies, MachineStops, BadPlot, LinkDrops, UserStops, LongPause };
Q_DECLARE_METATYPE(Ending)

// What the machine does while its link is down.
enum class Outage { GoesOn, GivesUp, Replaced, StaysDown, GoesOnOverPty, UserStops };
Q_DECLARE_METATYPE(Outage)

class TestJobRunner : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void report_data();
    void report();
    void ends_data();
    void ends();
    void reconnect_data();
    void reconnect();

private:
    PluginHost m_plugin;
};

void TestJobRunner::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    qRegisterMetaType<JobRunner::State>();
}

void TestJobRunner::report_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("status");        // -1: not a job report
    QTest::addColumn<QString>("file");
    QTest::addColumn<QList<int>>("numbers"); // copies, finished, percent, copy percent
    using L = QList<int>;
    QTest::newRow("tenth field") << "66,1,job1.plt,2,0,20,10,20,1,40" << 1 << "job1.plt" << L{2, 0, 20, 40};
    QTest::newRow("older machine: ends at z") << "66,3,job2.plt,2,2,100,0,0,0" << 3 << "job2.plt" << L{2, 2, 100, -1};
    QTest::newRow("no job since power-up") << "66,0,,0,0,0,0,0,0" << 0 << "" << L{0, 0, 0, -1};
    QTest::newRow("QR-code job waits") << "66,7,job3.plt,9999,4,0,0,0,0,0" << 7 << "job3.plt" << L{9999, 4, 0, 0};
    QTest::newRow("status out of range") << "66,8,job1.plt,2,0,20,0,0,0" << -1 << "" << L{-1, -1, -1, -1};
    QTest::newRow("status not a number") << "66,x,job1.plt,2,0,20,0,0,0" << -1 << "" << L{-1, -1, -1, -1};
    QTest::newRow("short item") << "66,1,job1.plt,2,0" << -1 << "" << L{-1, -1, -1, -1};
    QTest::newRow("another command") << "57,1,job1.plt,2,0,20,0,0,0" << -1 << "" << L{-1, -1, -1, -1};
    // Unknown, never 0: "no percent" must not read as "0 %".
    QTest::newRow("numbers that do not read") << "66,1,job1.plt,two,-1,,0,0,0,x" << 1 << "job1.plt" << L{-1, -1, -1, -1};
    QTest::newRow("percents past 100") << "66,1,job1.plt,2,0,101,0,0,0,250" << 1 << "job1.plt" << L{2, 0, -1, -1};
}

void TestJobRunner::report()
{
    QFETCH(QString, item);
    QFETCH(int, status);
    QFETCH(QString, file);
    QFETCH(QList<int>, numbers);
    JobReport r;
    QCOMPARE(JobReport::parse(item, &r), status >= 0);
    QCOMPARE(int(r.status), status);
    QCOMPARE(r.file, file);
    QCOMPARE((QList<int>{r.copies, r.finished, r.percent, r.copyPercent}), numbers);
    QCOMPARE(r.raw, item);
}

void TestJobRunner::ends_data()
{
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<JobRunner::State>("state");
    QTest::addColumn<int>("failure");
    QTest::addColumn<VXSimJobStatus>("machine");
    using S = JobRunner::State;
    QTest::newRow("every copy cut") << Ending::Copies << S::Finished << int(Failure::None) << VXSimJobStatus::Finished;
    // Status 4 and 5 used to leave the desktop host "running" for ever.
    QTest::newRow("stopped on the machine") << Ending::MachineStops << S::Stopped << int(Failure::JobStopped)
                                            << VXSimJobStatus::Stopped;
    QTest::newRow("plot the machine cannot read") << Ending::BadPlot << S::Refused << int(Failure::JobRefused)
                                                  << VXSimJobStatus::Failed;
    QTest::newRow("link drops mid job") << Ending::LinkDrops << S::Lost << int(Failure::DeviceLost)
                                        << VXSimJobStatus::Cutting;
    QTest::newRow("stopped by the host") << Ending::UserStops << S::Interrupted << int(Failure::Interrupted)
                                         << VXSimJobStatus::Stopped;
    // A paused machine is silent by right: it used to end as "no progress".
    QTest::newRow("paused past the stall limit, then resumed") << Ending::LongPause << S::Finished
                                                                 << int(Failure::None) << VXSimJobStatus::Finished;
}

void TestJobRunner::ends()
{
    QFETCH(Ending, ending);
    QFETCH(JobRunner::State, state);
    QFETCH(int, failure);
    QFETCH(VXSimJobStatus, machine);

    VXSimulator sim;
    sim.setSpeedup(ending == Ending::Copies || ending == Ending::BadPlot ? 50 : 5);
    QVERIFY(sim.start(0));
    if (ending == Ending::LinkDrops)
        sim.setDropMidJob(40);
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    QVERIFY(!session.connectTcp(QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())));
    QVERIFY(up.wait(5000));

    // The sample behind a title in UTF-8: the machine gets the loader's plot text byte for byte.
    QFile sample(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    const QByteArray bytes = QByteArrayLiteral("BP\"Caf\xc3\xa9 \xe2\x98\x82\";") + sample.readAll();
    QTemporaryFile file;
    QVERIFY(file.open());
    file.write(bytes);
    file.close();
    PlotJob job;
    QString error;
    QVERIFY2(job.load(file.fileName(), error), qPrintable(error));
    if (ending == Ending::BadPlot)
        job.text = QStringLiteral("IN;PD100,100,200;");   // odd coordinates: the host's own check skipped

    JobRunner runner(session);
    const int stallMs = 800;
    if (ending == Ending::LongPause)
        runner.setStallLimit(stallMs);
    QSignalSpy finished(&runner, &JobRunner::finished);
    connect(&session, &DeviceSession::jobReport, this, [&] {
        if (ending == Ending::LongPause && session.report().paused())
            QTimer::singleShot(3 * stallMs, this, [&] { session.send("TASK_RESUME"); });
    });
    bool acted = false;
    connect(&runner, &JobRunner::progress, this, [&](const QJsonObject &task) {
        if (acted || task.value(QStringLiteral("Percent")).toInt() < 5)
            return;
        acted = true;
        if (ending == Ending::UserStops) {
            runner.stop();
        } else if (ending == Ending::LongPause) {
            session.send("TASK_PAUSE");
        } else if (ending == Ending::MachineStops) {
            // As the machine's own panel would: the host did not ask.
            VXDeviceProperty *stop = session.record(QStringLiteral("TASK_STOP"));
            stop->setValue(2);
            session.send(stop);
        }
    });
    const QString earlier = QStringLiteral("IN;PU0,0;PD40,40;");   // the last job's plot
    session.device()->setPlt(earlier);
    QVERIFY(runner.start(job, 2));
    QVERIFY(runner.isRunning());
    QVERIFY(finished.wait(30000));
    // A record keeps the value before the last: not a whole plot of megabytes.
    QVERIFY(session.record(QStringLiteral("TASK_PLT"))->previousValue() != earlier);
    QCOMPARE(runner.state(), state);
    QVERIFY(!runner.isRunning());
    const Failure f = runner.failure();
    QVERIFY2(int(f.kind) == failure, qPrintable(f.message));
    // What was cut so far comes with every failure.
    if (f)
        QVERIFY(f.facts.contains(QStringLiteral("elapsed_ms")));
    QTRY_COMPARE_WITH_TIMEOUT(sim.jobs().value(0).status, machine, 5000);
    if (state == JobRunner::State::Finished) {
        QCOMPARE(runner.task().value(QStringLiteral("Finished")).toInt(), 2);
        QCOMPARE(sim.lastJobData(), job.text.toLocal8Bit());
    }
}

void TestJobRunner::reconnect_data()
{
    QTest::addColumn<Outage>("outage");
    QTest::addColumn<int>("dropAt");        // percent of the whole job (2 copies)
    QTest::addColumn<JobRunner::State>("state");
    QTest::addColumn<QString>("outcome");   // in the journal
    QTest::addColumn<int>("finished");
    QTest::addColumn<int>("reconnects");
    using S = JobRunner::State;
    QTest::newRow("copy 1 at 40%, the machine goes on") << Outage::GoesOn << 20 << S::Finished << "finished" << 2 << 1;
    QTest::newRow("same over the pseudo-terminal") << Outage::GoesOnOverPty << 20 << S::Finished << "finished" << 2 << 1;
    QTest::newRow("copy 1 at 40%, the machine gives up") << Outage::GivesUp << 20 << S::Lost << "interrupted" << 0 << 1;
    QTest::newRow("copy 2 at 40%, the machine gives up") << Outage::GivesUp << 70 << S::Lost << "interrupted" << 1 << 1;
    QTest::newRow("another machine comes back") << Outage::Replaced << 20 << S::Lost << "interrupted" << 0 << 0;
    QTest::newRow("down longer than the budget") << Outage::StaysDown << 20 << S::Lost << "interrupted" << 0 << 0;
    QTest::newRow("Ctrl-C while reconnecting") << Outage::UserStops << 20 << S::Interrupted << "interrupted" << 0 << 0;
}

void TestJobRunner::reconnect()
{
    QFETCH(Outage, outage);
    QFETCH(int, dropAt);
    QFETCH(JobRunner::State, state);
    QFETCH(QString, outcome);
    QFETCH(int, finished);
    QFETCH(int, reconnects);

    QTemporaryDir dir;
    VXSimulator sim;
    sim.setSpeedup(4);
    sim.setDropMidJob(dropAt);
    sim.setAbortOnDrop(outage == Outage::GivesUp);
    const int budget = 1500;
    // Down past the budget, but back well before a budget ignored or
    // stretched would run out: a runner that held on would reconnect.
    sim.setDownFor(outage == Outage::UserStops ? 60000 : outage == Outage::StaysDown ? budget + 2500 : 300);
    const bool pty = outage == Outage::GoesOnOverPty;
    DeviceSession session(m_plugin.root());
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    if (pty) {
        sim.setPtyLink(dir.filePath(QStringLiteral("tty")));
        QVERIFY2(sim.startPty(), qPrintable(sim.errorString()));
        QVERIFY(!session.connectUsb(dir.filePath(QStringLiteral("tty"))));
    } else {
        QVERIFY(sim.start(0));
        QVERIFY(!session.connectTcp(QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())));
    }
    // The serial transport opens at once, inside the call.
    QVERIFY(session.linkUp() || up.wait(5000));
    // Another machine behind the same address: frames from here on are its.
    int sentBefore = -1;
    connect(&sim, &VXSimulator::linkClosed, this, [&] {
        if (outage == Outage::Replaced && sentBefore < 0) {
            sim.setDeviceId(QStringLiteral("VXS-000777"));
            sim.setUniqueId(QStringLiteral("5658534D00000777"));
            sim.clearReceivedFrames();
            sentBefore = 0;
        }
    });

    PlotJob job;
    QString error;
    QVERIFY2(job.load(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"), error), qPrintable(error));
    const JobJournal journal(dir.filePath(QStringLiteral("jobs.jsonl")));
    JobRunner runner(session);
    runner.setJournal(&journal);
    runner.setReconnect(true, ReconnectSchedule(100, 400, budget));
    QSignalSpy finishedSpy(&runner, &JobRunner::finished);
    QSignalSpy attempts(&runner, &JobRunner::reconnecting);
    connect(&runner, &JobRunner::reconnecting, this, [&](int attempt) {
        if (outage == Outage::UserStops && attempt == 2)
            runner.stop();
    });
    QVERIFY(runner.start(job, 2));
    QVERIFY(finishedSpy.wait(60000));
    QCOMPARE(runner.state(), state);
    QVERIFY(attempts.count() >= 1);
    QCOMPARE(runner.reconnectCount(), reconnects);

    const QList<JobRecord> records = journal.last(5);
    QCOMPARE(records.size(), 1);
    const JobRecord r = records.first();
    QCOMPARE(JobRecord::outcomeName(r.outcome), outcome);
    QCOMPARE(r.copies, 2);
    QCOMPARE(r.finished, finished);
    QCOMPARE(r.reconnects, reconnects);
    QCOMPARE(r.deviceId, QStringLiteral("VXS-000001"));
    QCOMPARE(r.sha256, JobJournal::fileSha256(job.path));
    QVERIFY(r.linkDownMs > 0);
    const Failure f = runner.failure();
    switch (outage) {
    case Outage::GoesOn:
    case Outage::GoesOnOverPty:
        QVERIFY2(!f, qPrintable(f.message));
        QCOMPARE(sim.jobs().size(), 1);
        break;
    case Outage::GivesUp:
        // How far the interrupted copy got, as the machine had it when it gave up.
        QCOMPARE(r.percent, sim.jobs().value(0).copyPercent);
        QVERIFY2(r.percent >= 40 && r.percent < 45, qPrintable(QString::number(r.percent)));
        QVERIFY2(f.message.contains(QStringLiteral("gave the job up")), qPrintable(f.message));
        QVERIFY2(f.message.contains(QStringLiteral("%1 of 2 copies finished, copy %2 at").arg(finished).arg(finished + 1)),
                 qPrintable(f.message));
        QCOMPARE(f.kind, Failure::DeviceLost);
        break;
    case Outage::Replaced: {
        QCOMPARE(f.kind, Failure::DeviceLost);
        QVERIFY2(f.message.contains(QStringLiteral("another machine")) && f.message.contains(QStringLiteral("VXS-000777")),
                 qPrintable(f.message));
        QCOMPARE(sentBefore, 0);
        // Only who-are-you and the device object's own heartbeat reached it.
        for (const VXSimFrame &frame : sim.receivedFrames()) {
            QCOMPARE(frame.kind, QByteArray("CCMD"));
            const int number = frame.body.left(frame.body.indexOf(';')).split(',').value(0).toInt();
            QVERIFY2(number == 2 || number == 57 || number == 1010, frame.body.constData());
        }
        QVERIFY(!session.linkUp());
        break;
    }
    case Outage::StaysDown:
        QCOMPARE(f.kind, Failure::DeviceLost);
        QVERIFY2(f.message.contains(QStringLiteral("stayed down")), qPrintable(f.message));
        break;
    case Outage::UserStops:
        QCOMPARE(f.kind, Failure::Interrupted);
        QVERIFY2(f.message.contains(QStringLiteral("not reached")), qPrintable(f.message));
        break;
    }
}

QTEST_GUILESS_MAIN(TestJobRunner)
#include "tst_jobrunner.moc"
