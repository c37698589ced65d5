// SPDX-License-Identifier: LGPL-2.1-or-later
// The host library's job runner against the simulated machine in this
// process: every way a job ends, read from "TASK" by the one completion rule.
#include "DeviceSession.h"
#include "JobRunner.h"
#include "PlotJob.h"
#include "PluginHost.h"
#include "VXSimulator.h"
#include "property/VXDeviceProperty.h"

#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

Q_DECLARE_METATYPE(VXSimJobStatus)

enum class Ending { Copies, MachineStops, BadPlot, LinkDrops, UserStops };
Q_DECLARE_METATYPE(Ending)

class TestJobRunner : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ends_data();
    void ends();

private:
    PluginHost m_plugin;
};

void TestJobRunner::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    qRegisterMetaType<JobRunner::State>();
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

    // The sample behind a title in UTF-8: the machine must get the file's own bytes.
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
    QSignalSpy finished(&runner, &JobRunner::finished);
    bool acted = false;
    connect(&runner, &JobRunner::progress, this, [&](const QJsonObject &task) {
        if (acted || task.value(QStringLiteral("Percent")).toInt() < 5)
            return;
        acted = true;
        if (ending == Ending::UserStops) {
            runner.stop();
        } else if (ending == Ending::MachineStops) {
            // As the machine's own panel would: the host did not ask.
            VXDeviceProperty *stop = session.record(QStringLiteral("TASK_STOP"));
            stop->setValue(2);
            session.send(stop);
        }
    });
    QVERIFY(runner.start(job, 2));
    QVERIFY(runner.isRunning());
    QVERIFY(finished.wait(30000));
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
        QCOMPARE(sim.lastJobData(), bytes);
    }
}

QTEST_GUILESS_MAIN(TestJobRunner)
#include "tst_jobrunner.moc"
