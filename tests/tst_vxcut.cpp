// SPDX-License-Identifier: LGPL-2.1-or-later
// vxcut end to end: the real program in its own process against the
// simulator and the cloud stand-in in this one, over loopback TCP and a
// pseudo-terminal.
#include "CloudServer.h"
#include "ExitCodes.h"
#include "PlotJob.h"
#include "PlotOptionTable.h"
#include "PlotRemainder.h"
#include "VXSimulator.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <csignal>
#include <sys/stat.h>
#include <functional>

namespace {

const QString kVxcut = QStringLiteral(VX_BIN_DIR "/vxcut");
const QString kSample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
// Runs that give no journal of their own keep off the user's.
QString g_journal;

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QList<QJsonObject> events;
    QByteArray err;

    QList<QJsonObject> all(const QString &kind) const
    {
        QList<QJsonObject> found;
        for (const QJsonObject &e : events) {
            if (e.value(QStringLiteral("event")).toString() == kind)
                found << e;
        }
        return found;
    }
    QJsonObject last(const QString &kind) const
    {
        const auto found = all(kind);
        return found.isEmpty() ? QJsonObject() : found.last();
    }
    QString describe() const
    {
        return QStringLiteral("exit %1, stderr: %2, result: %3")
                .arg(exitCode).arg(QString::fromLocal8Bit(err))
                .arg(QString::fromUtf8(QJsonDocument(last(QStringLiteral("result"))).toJson(QJsonDocument::Compact)));
    }
};

// Runs vxcut with --json while this thread's event loop serves the
// simulator; onEvent sees each event as it arrives.
Run vxcut(QStringList args, int timeoutMs = 30000,
          const std::function<void(QProcess &, const QJsonObject &)> &onEvent = {},
          const QStringList &environment = {})
{
    args << QStringLiteral("--json");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &pair : environment)
        env.insert(pair.section(QLatin1Char('='), 0, 0), pair.section(QLatin1Char('='), 1));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    if (!env.contains(QStringLiteral("VX_JOURNAL")))
        env.insert(QStringLiteral("VX_JOURNAL"), g_journal);
    p.setProcessEnvironment(env);
    Run run;
    QByteArray pending;
    QObject::connect(&p, &QProcess::readyReadStandardOutput, [&] {
        pending += p.readAllStandardOutput();
        int nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QJsonObject e = QJsonDocument::fromJson(pending.left(nl)).object();
            pending.remove(0, nl + 1);
            run.events << e;
            if (onEvent)
                onEvent(p, e);
        }
    });
    QSignalSpy done(&p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished));
    p.start(kVxcut, args);
    if (!p.waitForStarted(5000))
        return run;
    run.finished = done.wait(timeoutMs);
    if (!run.finished) {
        p.kill();
        p.waitForFinished(2000);
        return run;
    }
    run.exitCode = p.exitCode();
    run.exitStatus = p.exitStatus();
    run.err = p.readAllStandardError();
    return run;
}

QString tcp(const VXSimulator &sim)
{
    return QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
}

}

class TestVxcut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cut_data();
    void cut();
    void demo();
    void plan_data();
    void plan();
    void planIsWhatCutSends_data();
    void planIsWhatCutSends();
    void faults_data();
    void faults();
    void offlineErrors_data();
    void offlineErrors();
    void setAndGet();
    void profileRoundTrip();
    void interrupt_data();
    void interrupt();
    void interruptWhileReading_data();
    void interruptWhileReading();
    void cloudToken_data();
    void cloudToken();
    void exitCodesOneTable();
    void qr_data();
    void qr();
    void dropAndResume_data();
    void dropAndResume();
    void designOptionsOneTable();
    void workArea_data();
    void workArea();
    void acrossDrop_data();
    void acrossDrop();
    void jogAcrossDrop();
    void nestCut_data();
    void nestCut();

private:
    QTemporaryDir m_tmp;
};

void TestVxcut::initTestCase()
{
    QVERIFY2(QFile::exists(kVxcut), "build the vxcut target first");
    g_journal = m_tmp.filePath(QStringLiteral("jobs.jsonl"));
    qRegisterMetaType<VXSimFrame>();
    qRegisterMetaType<QProcess::ExitStatus>();
}

void TestVxcut::cut_data()
{
    QTest::addColumn<bool>("pty");
    QTest::addColumn<bool>("cloudUp");
    QTest::newRow("tcp") << false << true;
    QTest::newRow("pty") << true << true;
    // The machine cuts whether or not the service answers.
    QTest::newRow("tcp, the service down") << false << false;
}

void TestVxcut::cut()
{
    QFETCH(bool, pty);
    QFETCH(bool, cloudUp);
    VXSimulator sim;
    sim.setSpeedup(50);
    QVERIFY(pty ? sim.startPty() : sim.start(0));
    CloudServer cloud;
    QVERIFY(cloud.start(0));
    const QString http = cloud.httpBase().toString();
    if (!cloudUp)
        cloud.stop();

    const Run run = vxcut({QStringLiteral("cut"), kSample,
                           pty ? QStringLiteral("--usb") : QStringLiteral("--tcp"),
                           pty ? sim.ptyPath() : tcp(sim),
                           QStringLiteral("--copies"), QStringLiteral("2"),
                           QStringLiteral("--quality"), QStringLiteral("1"),
                           QStringLiteral("--cloud"), http,
                           QStringLiteral("--ws"), cloud.ws(),
                           QStringLiteral("--code"), QStringLiteral("VX0A1B2C3D"),
                           QStringLiteral("--timeout"), QString::number(cloudUp ? 5 : 1)});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));

    const QJsonObject progress = run.last(QStringLiteral("progress"));
    QCOMPARE(progress.value(QStringLiteral("Percent")).toInt(), 100);
    QCOMPARE(progress.value(QStringLiteral("Finished")).toInt(), 2);
    QCOMPARE(progress.value(QStringLiteral("TaskCopies")).toInt(), 2);

    // What the machine got is the loader's plot text, as two copies.
    PlotJob job;
    QString error;
    QVERIFY2(job.load(kSample, error), qPrintable(error));
    QCOMPARE(sim.lastJobData(), job.text.toLatin1());
    QCOMPARE(sim.jobs().value(0).copies, 2);
    const QString warning = run.last(QStringLiteral("warning")).value(QStringLiteral("message")).toString();
    QVERIFY2(warning.contains(QStringLiteral("cloud")) != cloudUp, qPrintable(warning));
    if (!cloudUp)
        return;
    const qint64 pathMm = qRound64(job.pathMm);
    const qint64 widthMm = qRound64(job.widthMm);
    const qint64 heightMm = qRound64(job.heightMm);

    const QJsonObject plotEvent = run.last(QStringLiteral("plot"));
    QCOMPARE(plotEvent.value(QStringLiteral("path_length")).toInt(), pathMm);
    QVERIFY(plotEvent.value(QStringLiteral("estimate")).toInt() > 0);

    const QList<QJsonObject> records = cloud.workRecords();
    QCOMPARE(records.size(), 1);
    const QJsonObject record = records.first();
    QCOMPARE(record.value(QStringLiteral("task_copies")).toInt(), 2);
    QCOMPARE(record.value(QStringLiteral("finish_copies")).toInt(), 2);
    QCOMPARE(record.value(QStringLiteral("path_length")).toInt(), pathMm);
    QCOMPARE(record.value(QStringLiteral("page_size")).toString(),
             QStringLiteral("%1x%2").arg(heightMm).arg(widthMm));
    QCOMPARE(record.value(QStringLiteral("task_model")).toInt(), 0);
    QCOMPARE(record.value(QStringLiteral("work_model")).toInt(), 1);
    QVERIFY(record.value(QStringLiteral("device")).toInt() > 0);

    // The snapshots on the remote channel carry the rendered preview.
    bool previewSeen = false;
    for (const auto &text : cloud.channelTexts()) {
        const QJsonObject runtime = QJsonDocument::fromJson(text.text.toUtf8()).object()
                .value(QStringLiteral("message")).toObject().value(QStringLiteral("Runtime")).toObject();
        const QByteArray png = QByteArray::fromBase64(runtime.value(QStringLiteral("FilePreview")).toString().toLatin1());
        previewSeen = previewSeen || png.startsWith("\x89PNG");
    }
    QVERIFY(previewSeen);
}

void TestVxcut::demo()
{
    const Run run = vxcut({QStringLiteral("demo")});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(run.last(QStringLiteral("progress")).value(QStringLiteral("Percent")).toInt(), 100);
    const QJsonObject record = run.last(QStringLiteral("work_record"));
    QCOMPARE(record.value(QStringLiteral("task_copies")).toInt(), 2);
    QCOMPARE(record.value(QStringLiteral("finish_copies")).toInt(), 2);
    QVERIFY(record.value(QStringLiteral("path_length")).toInt() > 0);
}

QString design(const char *name) { return QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/") + QLatin1String(name); }

void TestVxcut::plan_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("paths");
    // One design per reader, at the size the writing program reports
    // (tst_plotformats reads every sample and says where each size comes
    // from): ordering and placing move a design, never resize it.
    QTest::newRow("letters, HP-GL") << design("letters.pstoedit.hpgl") << "HP-GL" << 133.40 << 31.15 << 16;
    QTest::newRow("libplot SVG, gzipped") << design("shapes.plotutils.svgz") << "SVG" << 100.0 << 60.0 << 2;
    QTest::newRow("pstoedit DXF") << design("shapes.pstoedit.dxf") << "DXF" << 100.0 << 59.9997 << 2;
    // Text becomes outlines through the font database, which took vxcut
    // down without a GUI application; no program reports its size.
    QTest::newRow("SVG with text") << QStringLiteral(VX_SOURCE_DIR "/fuzz/corpus/fuzz_svg/kinds.svg") << "SVG" << 0.0 << 0.0 << 9;
}

void TestVxcut::plan()
{
    QFETCH(QString, file);
    QFETCH(QString, format);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, paths);
    const Run run = vxcut({QStringLiteral("plan"), file});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject plan = run.last(QStringLiteral("result"));
    QCOMPARE(plan.value(QStringLiteral("format")).toString(), format);
    if (width > 0) {
        QVERIFY2(std::abs(plan.value(QStringLiteral("width")).toDouble() - width) <= 0.03, qPrintable(run.describe()));
        QVERIFY2(std::abs(plan.value(QStringLiteral("height")).toDouble() - height) <= 0.03, qPrintable(run.describe()));
    }
    QCOMPARE(plan.value(QStringLiteral("paths")).toInt(), paths);
    QVERIFY(plan.value(QStringLiteral("cut_length")).toDouble() > 2 * (width + height));
    QVERIFY(plan.value(QStringLiteral("travel_before")).toDouble() > 0);
    QVERIFY(plan.value(QStringLiteral("travel_after")).toDouble() > 0);
    QVERIFY(plan.value(QStringLiteral("estimate")).toInt() > 0);
}

void TestVxcut::planIsWhatCutSends_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("paths");   // as sent
    // Each option shows in the bytes: one that either side dropped differs.
    QTest::newRow("placing, file order, overlaps kept, knife") << design("letters.pstoedit.hpgl")
        << QStringList{QStringLiteral("--scale"), QStringLiteral("50"), QStringLiteral("--rotate"), QStringLiteral("90"),
                       QStringLiteral("--mirror"), QStringLiteral("--margin"), QStringLiteral("5"),
                       QStringLiteral("--no-order"), QStringLiteral("--merge-overlaps"), QStringLiteral("0"),
                       QStringLiteral("--passes"), QStringLiteral("2"), QStringLiteral("--overcut"), QStringLiteral("1"),
                       QStringLiteral("--blade-offset"), QStringLiteral("0.25")} << 32;
    QTest::newRow("weed border, curves from SVG") << design("shapes.plotutils.svgz")
        << QStringList{QStringLiteral("--weed-border"), QStringLiteral("3"), QStringLiteral("--tolerance"), QStringLiteral("0.5")} << 3;
    // Pen 2 (red) cuts first with tool 2; the source's 100 and 320 mm are
    // what vxsim counts per tool, in that order.
    QTest::newRow("two tools, pens as written") << design("twotools.plotutils.hpgl") << QStringList() << 3;
    QTest::newRow("two tools, knife first") << design("twotools.plotutils.hpgl")
        << QStringList{QStringLiteral("--tool-order"), QStringLiteral("1,2")} << 3;
}

void TestVxcut::planIsWhatCutSends()
{
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(int, paths);
    const QString out = m_tmp.filePath(QStringLiteral("%1.plt").arg(QTest::currentDataTag()));
    const Run plan = vxcut(QStringList{QStringLiteral("plan"), file, QStringLiteral("--output"), out} + options);
    QVERIFY2(plan.exitCode == 0, qPrintable(plan.describe()));
    QCOMPARE(plan.last(QStringLiteral("result")).value(QStringLiteral("paths")).toInt(), paths);
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));

    VXSimulator sim;
    sim.setSpeedup(1000);
    QVERIFY(sim.start(0));
    const Run cut = vxcut(QStringList{QStringLiteral("cut"), file, QStringLiteral("--tcp"), tcp(sim)} + options);
    QVERIFY2(cut.exitCode == 0, qPrintable(cut.describe()));
    QCOMPARE(sim.lastJobData(), written.readAll());
    // What the machine cut with each tool, in the order it swapped, is
    // what plan promised.
    const QJsonArray tools = plan.last(QStringLiteral("result")).value(QStringLiteral("tools")).toArray();
    const QVector<VXSimJob::ToolRun> runs = sim.jobs().last().tools;
    QCOMPARE(runs.size(), tools.size());
    for (int i = 0; i < runs.size(); ++i) {
        QCOMPARE(runs[i].tool, tools[i].toObject().value(QStringLiteral("tool")).toInt());
        // The plot text rounds each point to 1/40 mm: swivels of many tiny
        // chords move the total by a few tenths of a per cent.
        const double planned = tools[i].toObject().value(QStringLiteral("cut_length")).toDouble();
        QVERIFY2(std::abs(runs[i].pathLength / 40 - planned) < 0.05 + 0.005 * planned,
                 qPrintable(QStringLiteral("%1 %2").arg(runs[i].pathLength / 40).arg(planned)));
    }
    if (QByteArray(QTest::currentDataTag()).startsWith("two tools")) {
        const double pen2 = (runs[0].tool == 2 ? runs[0] : runs[1]).pathLength;
        const double pen1 = (runs[0].tool == 1 ? runs[0] : runs[1]).pathLength;
        QVERIFY2(std::abs(pen2 / pen1 - 100.0 / 320.0) < 0.002, qPrintable(QString::number(pen2 / pen1)));
        QCOMPARE(runs[0].tool, options.isEmpty() ? 2 : 1);
    }
}

// The exit code and the message of each way a link fails, beside a jog
// where nothing does. How the session finds a lost link (dropped, or silent
// heartbeats) is tst_devicesession's; chunking and garbage the link
// survives are tst_hostile_machine's.
enum class Fault { None, DropMidJob, DropOnFirstFrame, EndlessFrame, Refused };
Q_DECLARE_METATYPE(Fault)

void TestVxcut::faults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");

    const QStringList cut{QStringLiteral("cut"), kSample};
    const QStringList info{QStringLiteral("info")};
    QTest::newRow("link drops mid job") << Fault::DropMidJob << cut + QStringList{QStringLiteral("--no-reconnect")}
                                        << 6 << QStringLiteral("cut so far");
    QTest::newRow("link drops on the first frame") << Fault::DropOnFirstFrame
        << info + QStringList{QStringLiteral("--no-reconnect")} << 6 << QStringLiteral("link lost");
    QTest::newRow("frame that never ends") << Fault::EndlessFrame << info << 5 << QStringLiteral("did not answer");
    QTest::newRow("none: a jog") << Fault::None
        << QStringList{QStringLiteral("jog"), QStringLiteral("X+"), QStringLiteral("--time"), QStringLiteral("300")}
        << 0 << QString();
    QTest::newRow("connection refused") << Fault::Refused << info << 4 << QStringLiteral("cannot connect");
}

void TestVxcut::faults()
{
    QFETCH(Fault, fault);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);

    VXSimulator sim;
    sim.setSpeedup(50);
    QVERIFY(sim.start(0));
    const QString target = tcp(sim);
    switch (fault) {
    case Fault::DropMidJob: sim.setDropMidJob(40); break;
    case Fault::DropOnFirstFrame: sim.setDropAfterReceived(1); break;
    case Fault::EndlessFrame: sim.setEndlessFrame(true); break;
    case Fault::None: break;
    case Fault::Refused: sim.stop(); break;
    }
    const Run run = vxcut(args + QStringList{QStringLiteral("--tcp"), target, QStringLiteral("--timeout"),
                                             QStringLiteral("1"), QStringLiteral("--heartbeat"), QStringLiteral("1")});
    QVERIFY2(run.finished, "vxcut hung");
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    const QJsonObject result = run.last(QStringLiteral("result"));
    QCOMPARE(result.value(QStringLiteral("exit")).toInt(), exitCode);
    QVERIFY2(result.value(QStringLiteral("error")).toString().contains(error), qPrintable(run.describe()));
    if (fault == Fault::None)
        QVERIFY(sim.headPosition().x() > 0);
    if (fault == Fault::DropMidJob) {
        // What was cut so far comes with the error.
        QVERIFY(result.value(QStringLiteral("Percent")).toInt() > 0);
        QVERIFY(result.value(QStringLiteral("Percent")).toInt() < 100);
    }
}

void TestVxcut::offlineErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");

    const QString badPlot = m_tmp.filePath(QStringLiteral("bad.plt"));
    QFile f(badPlot);
    if (f.open(QIODevice::WriteOnly))
        f.write("IN;PD100,100,200;");   // odd number of coordinates
    const QString nowhere = QStringLiteral("127.0.0.1:1");
    QTest::newRow("no command") << QStringList{} << 2;
    QTest::newRow("cut without file") << QStringList{QStringLiteral("cut"), QStringLiteral("--tcp"), nowhere} << 2;
    QTest::newRow("no plugin file")
        << QStringList{QStringLiteral("info"), QStringLiteral("--tcp"), nowhere, QStringLiteral("--plugin"), QStringLiteral("/nonexistent.so")} << 3;
    QTest::newRow("not a plugin")
        << QStringList{QStringLiteral("info"), QStringLiteral("--tcp"), nowhere, QStringLiteral("--plugin"), kSample} << 3;
    QTest::newRow("unknown key") << QStringList{QStringLiteral("get"), QStringLiteral("NO_SUCH_KEY"), QStringLiteral("--tcp"), nowhere} << 7;
    QTest::newRow("set unknown key") << QStringList{QStringLiteral("set"), QStringLiteral("NO_SUCH_KEY=1"), QStringLiteral("--tcp"), nowhere} << 7;
    // Every other way a value is refused is tst_recordvalue's and tst_profile's.
    QTest::newRow("above the editor's maximum") << QStringList{QStringLiteral("set"), QStringLiteral("PU_SPEED=701"), QStringLiteral("--tcp"), nowhere} << 8;
    QTest::newRow("missing plot file") << QStringList{QStringLiteral("cut"), QStringLiteral("/nonexistent.plt"), QStringLiteral("--tcp"), nowhere} << 9;
    QTest::newRow("bad plot file") << QStringList{QStringLiteral("cut"), badPlot, QStringLiteral("--tcp"), nowhere} << 9;
    QTest::newRow("plot that never ends") << QStringList{QStringLiteral("cut"), QStringLiteral("/dev/zero"), QStringLiteral("--tcp"), nowhere} << 9;
    QTest::newRow("design option out of range")
        << QStringList{QStringLiteral("plan"), kSample, QStringLiteral("--passes"), QStringLiteral("0")} << 2;
    QTest::newRow("rotation off the right angles")
        << QStringList{QStringLiteral("cut"), kSample, QStringLiteral("--rotate"), QStringLiteral("45"), QStringLiteral("--tcp"), nowhere} << 2;
    QTest::newRow("design option on a command without a design")
        << QStringList{QStringLiteral("info"), QStringLiteral("--scale"), QStringLiteral("50"), QStringLiteral("--tcp"), nowhere} << 2;
    QTest::newRow("plan without a file") << QStringList{QStringLiteral("plan")} << 2;
    QTest::newRow("plan of an unreadable design") << QStringList{QStringLiteral("plan"), badPlot} << 9;
    QTest::newRow("plan output where none can be written")
        << QStringList{QStringLiteral("plan"), kSample, QStringLiteral("--output"), QStringLiteral("/nonexistent/out.plt")} << 1;
    QTest::newRow("serial device missing")
        << QStringList{QStringLiteral("info"), QStringLiteral("--usb"), m_tmp.filePath(QStringLiteral("no-such-tty"))} << 4;
}

void TestVxcut::offlineErrors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    const Run run = vxcut(args, 10000);
    QVERIFY(run.finished);
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    // Scripts get the same code in the last line.
    QCOMPARE(run.last(QStringLiteral("result")).value(QStringLiteral("exit")).toInt(), exitCode);
}

void TestVxcut::setAndGet()
{
    VXSimulator sim;
    QVERIFY(sim.start(0));
    Run run = vxcut({QStringLiteral("set"), QStringLiteral("PU_SPEED=321"), QStringLiteral("TOOL_SPACE_X=-1.5"),
                     QStringLiteral("SP2_PRESSURE=300"), QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 26), QStringLiteral("321"));
    // -1.5 mm at 0.005 mm per step is -300: two's complement, low word first.
    QCOMPARE(sim.setting(VXSimulator::Cmd, 5), QStringLiteral("65236"));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 6), QStringLiteral("65535"));
    // The model shows pressure at factor 1.5: 300 gf is 200 on the wire.
    QCOMPARE(sim.setting(VXSimulator::Cmd, 4), QStringLiteral("200"));
    for (const QJsonObject &w : run.all(QStringLiteral("write")))
        QVERIFY(w.value(QStringLiteral("confirmed")).toBool());

    sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("555"));
    run = vxcut({QStringLiteral("get"), QStringLiteral("PU_SPEED"), QStringLiteral("TOOL_SPACE_X"),
                 QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject values = run.last(QStringLiteral("result")).value(QStringLiteral("values")).toObject();
    QCOMPARE(values.value(QStringLiteral("PU_SPEED")).toInt(), 555);
    QCOMPARE(values.value(QStringLiteral("TOOL_SPACE_X")).toDouble(), -1.5);
}

void TestVxcut::profileRoundTrip()
{
    VXSimulator sim;
    QVERIFY(sim.start(0));
    QTemporaryDir dir;
    const QString profile = dir.filePath(QStringLiteral("machine.profile"));
    Run run = vxcut({QStringLiteral("settings"), QStringLiteral("dump"), profile, QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QFile f(profile);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    f.close();
    const QString pu = QStringLiteral("PU_SPEED = %1").arg(sim.setting(VXSimulator::Cmd, 26));
    QVERIFY2(text.contains(pu), qPrintable(text));

    // A bad line anywhere stops the apply before anything is written.
    struct Case { QString edit; int exitCode; };
    const QList<Case> bad{{QStringLiteral("NO_SUCH_KEY = 1\n"), 7}, {QStringLiteral("FAN_DELAY = 20000\n"), 8}};
    for (const Case &c : bad) {
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((QStringLiteral("PU_SPEED = 250\n") + c.edit).toUtf8());
        f.close();
        sim.clearReceivedFrames();
        run = vxcut({QStringLiteral("settings"), QStringLiteral("apply"), profile, QStringLiteral("--tcp"), tcp(sim)});
        QVERIFY2(run.exitCode == c.exitCode, qPrintable(run.describe()));
        QVERIFY(run.last(QStringLiteral("result")).value(QStringLiteral("error")).toString().contains(QStringLiteral("line 2")));
        QVERIFY(sim.receivedFrames().isEmpty());
        QVERIFY(sim.setting(VXSimulator::Cmd, 26) != QStringLiteral("250"));
    }

    text.replace(pu, QStringLiteral("PU_SPEED = 250"));
    text.replace(QRegularExpression(QStringLiteral("FEED_LENGTH = \\d+")), QStringLiteral("FEED_LENGTH = 444"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
    f.close();
    run = vxcut({QStringLiteral("settings"), QStringLiteral("apply"), profile, QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QStringList changed;
    for (const QJsonObject &d : run.all(QStringLiteral("diff")))
        changed << d.value(QStringLiteral("key")).toString();
    // WORK_MODE cannot be read back, so it is always among the writes.
    QCOMPARE(changed, (QStringList{QStringLiteral("WORK_MODE"), QStringLiteral("PU_SPEED"), QStringLiteral("FEED_LENGTH")}));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 26), QStringLiteral("250"));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 135), QStringLiteral("444"));
}

void TestVxcut::interrupt_data()
{
    QTest::addColumn<bool>("registering");
    QTest::newRow("during the job") << false;
    // It used to write two result lines: the wait's and the job's.
    QTest::newRow("during cloud registration") << true;
}

void TestVxcut::interrupt()
{
    QFETCH(bool, registering);
    VXSimulator sim;
    sim.setSpeedup(1);   // seconds per copy: time to press Ctrl-C
    QVERIFY(sim.start(0));
    // A cloud that takes the connection and never answers.
    QTcpServer silentCloud;
    QVERIFY(silentCloud.listen(QHostAddress::LocalHost));
    QStringList args{QStringLiteral("cut"), kSample, QStringLiteral("--tcp"), tcp(sim)};
    if (registering)
        args << QStringLiteral("--cloud") << QStringLiteral("http://127.0.0.1:%1").arg(silentCloud.serverPort())
             << QStringLiteral("--ws") << QStringLiteral("ws://127.0.0.1:%1").arg(silentCloud.serverPort())
             << QStringLiteral("--code") << QStringLiteral("VX0A1B2C3D");
    bool sent = false;
    const Run run = vxcut(args, 30000, [&](QProcess &p, const QJsonObject &e) {
        const QString kind = e.value(QStringLiteral("event")).toString();
        const bool now = registering ? kind == QLatin1String("info")
                                     : kind == QLatin1String("progress") && e.value(QStringLiteral("Percent")).toInt() >= 5;
        if (!sent && now) {
            sent = true;
            ::kill(pid_t(p.processId()), SIGINT);
        }
    });
    QVERIFY(sent);
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == 130, qPrintable(run.describe()));
    QCOMPARE(run.all(QStringLiteral("result")).size(), 1);
    if (registering) {
        QVERIFY(sim.jobs().isEmpty());
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(sim.jobs().value(0).status, VXSimJobStatus::Stopped, 3000);
    bool stopFrame = false;
    for (const VXSimFrame &frame : sim.receivedFrames())
        stopFrame = stopFrame || (frame.kind == "CMD" && frame.body.contains("SET125:2;"));
    QVERIFY(stopFrame);
}

void TestVxcut::interruptWhileReading_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("Ctrl-C") << int(SIGINT) << 130;
    QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
}

void TestVxcut::interruptWhileReading()
{
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    // Seconds of reading and ordering: 600,000 small squares. Signals
    // were blocked behind the read, which runs before any event loop.
    const QString big = m_tmp.filePath(QStringLiteral("big.plt"));
    if (!QFile::exists(big)) {
        QFile f(big);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray chunk;
        for (int i = 0; i < 600000; ++i) {
            const int x = (i % 1000) * 60, y = (i / 1000) * 60;
            chunk += "PU" + QByteArray::number(x) + ',' + QByteArray::number(y) + ";PD" + QByteArray::number(x + 40) + ','
                     + QByteArray::number(y) + ',' + QByteArray::number(x + 40) + ',' + QByteArray::number(y + 40) + ';';
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
    }
    QProcess p;
    p.start(kVxcut, {QStringLiteral("plan"), big, QStringLiteral("--json")});
    QVERIFY(p.waitForStarted(5000));
    // Signal once vxcut catches it (SigCgt), so the default action cannot
    // be what ends it.
    const auto caught = [&] {
        QFile status(QStringLiteral("/proc/%1/status").arg(p.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return false;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("SigCgt:"))
                return ((line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1) != 0;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(caught(), 5000);
    ::kill(pid_t(p.processId()), signal);
    QVERIFY(p.waitForFinished(10000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    QVERIFY(p.readAllStandardOutput().contains("interrupted"));
}

void TestVxcut::cloudToken_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("tokenFileMode");   // empty: no file
    QTest::addColumn<QStringList>("env");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");            // in the error or the warning
    const QString file = m_tmp.filePath(QStringLiteral("token"));
    const QStringList withFile{QStringLiteral("--token-file"), file};
    QTest::newRow("private file") << withFile << "600" << QStringList() << 0 << QString();
    QTest::newRow("file others can read") << withFile << "644" << QStringList() << 2 << "readable by other users";
    QTest::newRow("file the group can read") << withFile << "640" << QStringList() << 2 << "readable by other users";
    QTest::newRow("no such file") << QStringList{QStringLiteral("--token-file"), m_tmp.filePath(QStringLiteral("none"))}
                                  << "" << QStringList() << 2 << "--token-file";
    QTest::newRow("from the environment") << QStringList() << "" << QStringList{QStringLiteral("VX_CLOUD_TOKEN=t0k")}
                                          << 0 << QString();
    QTest::newRow("on the command line") << QStringList{QStringLiteral("--token"), QStringLiteral("t0k")} << ""
                                         << QStringList() << 0 << "every user";
    QTest::newRow("both ways") << (withFile + QStringList{QStringLiteral("--token"), QStringLiteral("t0k")}) << "600"
                               << QStringList() << 2 << "not both";
}

void TestVxcut::cloudToken()
{
    QFETCH(QStringList, args);
    QFETCH(QString, tokenFileMode);
    QFETCH(QStringList, env);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    if (!tokenFileMode.isEmpty()) {
        QFile f(m_tmp.filePath(QStringLiteral("token")));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("s3cret-token\n");
        f.close();
        QVERIFY(::chmod(QFile::encodeName(f.fileName()).constData(), mode_t(tokenFileMode.toInt(nullptr, 8))) == 0);
    }
    // `ports` needs no machine: the token is checked before any command runs.
    const Run run = vxcut(QStringList{QStringLiteral("ports")} + args, 10000, {}, env);
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    const QString said = run.last(QStringLiteral("result")).value(QStringLiteral("error")).toString()
            + run.last(QStringLiteral("warning")).value(QStringLiteral("message")).toString();
    if (says.isEmpty())
        QVERIFY2(said.isEmpty(), qPrintable(said));
    else
        QVERIFY2(said.contains(says), qPrintable(said));
}

void TestVxcut::exitCodesOneTable()
{
    // --help, the README and the mapping read the same rows.
    QProcess help;
    help.start(kVxcut, {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(10000));
    const QString helpText = QString::fromLocal8Bit(help.readAllStandardOutput());
    QFile readme(QStringLiteral(VX_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString readmeText = QString::fromUtf8(readme.readAll());
    int count = 0;
    const ExitCodeRow *rows = ExitCode::table(&count);
    for (int i = 0; i < count; ++i) {
        // 143 shares its kind with 130: main() picks it for SIGTERM.
        if (rows[i].code != ExitCode::Terminated)
            QCOMPARE(ExitCode::of(rows[i].kind), rows[i].code);
        if (!rows[i].meaning)
            continue;
        const QString meaning = QString::fromLatin1(rows[i].meaning);
        QVERIFY2(helpText.contains(QStringLiteral("  %1%2\n").arg(rows[i].code, -5).arg(meaning)), rows[i].meaning);
        QVERIFY2(readmeText.contains(QStringLiteral("| %1 | %2 |").arg(rows[i].code).arg(meaning)), rows[i].meaning);
    }
}

void TestVxcut::qr_data()
{
    QTest::addColumn<QString>("map");          // empty: the folder of designs
    QTest::addColumn<bool>("interrupt");       // Ctrl-C at the first sheet
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("outcomes"); // or, refused, the error's fragments
    QTest::addColumn<QString>("zz");           // the design for code ZZ; empty: none
    QTest::newRow("folder: a sheet per event, the unknown one skipped")
        << QString() << false << 0 << QStringList{"finished", "skipped", "finished"} << QString();
    QTest::newRow("map with a missing file and a duplicate: nothing sent")
        << "A = d/A.svg\nB = d/none.dxf\nA = d/A.svg\n" << false << 9
        << QStringList{"codes.txt:2: code B: no file", "codes.txt:3: code A again (first on line 1)"} << QString();
    QTest::newRow("Ctrl-C stops the machine's job first") << QString() << true << 130 << QStringList{"finished"} << QString();
    // A block inserting itself overflowed the stack and took the run down
    // after the first sheet: now that sheet fails and the run goes on.
    QTest::newRow("a hostile design fails its sheet only") << QString() << false << 0
        << QStringList{"finished", "failed", "finished"}
        << QStringLiteral(VX_SOURCE_DIR "/fuzz/corpus/fuzz_dxf/hostile-block-inserts-itself.dxf");
    // 1000 mm on a 450 mm wide machine: that sheet passes uncut, not the run.
    QTest::newRow("a design past the work area fails its sheet only") << QString() << false << 0
        << QStringList{"finished", "failed", "finished"} << QStringLiteral("IN;PU0,0;PD40000,0;");
}

void TestVxcut::qr()
{
    QFETCH(QString, map);
    QFETCH(bool, interrupt);
    QFETCH(int, exitCode);
    QFETCH(QStringList, outcomes);
    QFETCH(QString, zz);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(dir.filePath(QStringLiteral("d")));
    if (zz.startsWith(QLatin1String("IN;"))) {
        QFile f(dir.filePath(QStringLiteral("d/ZZ.plt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(zz.toLatin1());
    } else if (!zz.isEmpty()) {
        QVERIFY(QFile::copy(zz, dir.filePath(QStringLiteral("d/ZZ.dxf"))));
    }
    QVERIFY(QFile::copy(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg"), dir.filePath(QStringLiteral("d/A.svg"))));
    QVERIFY(QFile::copy(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.ezdxf.dxf"), dir.filePath(QStringLiteral("d/B.dxf"))));
    QString source = dir.filePath(QStringLiteral("d"));
    if (!map.isEmpty()) {
        source = dir.filePath(QStringLiteral("codes.txt"));
        QFile f(source);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(map.toUtf8());
    }
    VXSimulator sim;
    sim.setSpeedup(interrupt ? 5 : 200);
    QVERIFY(sim.setSheets({"A", "ZZ", "B"}));
    QVERIFY(sim.start(0));
    bool sent = false;
    const Run run = vxcut({QStringLiteral("qr"), source, QStringLiteral("--tcp"), tcp(sim)}, 30000,
                          [&](QProcess &p, const QJsonObject &e) {
                              if (interrupt && !sent && e.value(QStringLiteral("event")).toString() == QLatin1String("sheet")) {
                                  sent = true;
                                  ::kill(pid_t(p.processId()), SIGINT);
                              }
                          },
                          {QStringLiteral("VX_JOURNAL=") + dir.filePath(QStringLiteral("jobs.jsonl"))});
    QVERIFY(run.finished);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    QCOMPARE(run.all(QStringLiteral("result")).size(), 1);
    if (exitCode == 9) {
        const QString error = run.last(QStringLiteral("result")).value(QStringLiteral("error")).toString();
        for (const QString &fragment : outcomes)
            QVERIFY2(error.contains(fragment), qPrintable(error));
        QCOMPARE(sim.receivedFrames().size(), 0);
        return;
    }
    const QList<QJsonObject> sheets = run.all(QStringLiteral("sheet"));
    QVERIFY2(interrupt ? sheets.size() >= outcomes.size() : sheets.size() == outcomes.size(), qPrintable(run.describe()));
    for (int i = 0; i < outcomes.size(); ++i)
        QCOMPARE(sheets.at(i).value(QStringLiteral("outcome")).toString(), outcomes.at(i));
    QCOMPARE(sheets.at(0).value(QStringLiteral("design")).toString(), QStringLiteral("A.svg"));
    QFile journal(dir.filePath(QStringLiteral("jobs.jsonl")));
    QVERIFY(journal.open(QIODevice::ReadOnly));
    QCOMPARE(journal.readAll().count('\n'), sheets.size());
    if (interrupt) {
        QTRY_COMPARE_WITH_TIMEOUT(sim.jobs().value(0).status, VXSimJobStatus::Stopped, 3000);
        QVERIFY(sim.sheets().size() < 3);
    }
}

// How each outage ends a job is tst_jobrunner's, which resume a record
// allows is tst_jobjournal's; here the resume command acts on the journal
// line a cut left, and on what the machine says of that job.
void TestVxcut::dropAndResume_data()
{
    QTest::addColumn<QStringList>("cutOptions");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("cutsOn");      // the machine goes on cutting, unseen (no reconnect)
    QTest::addColumn<QString>("before");   // "finish": the machine ends the job; "edit": the file changes
    QTest::addColumn<QStringList>("resumeOptions");
    QTest::addColumn<int>("kind");         // Failure::Kind of the resume
    QTest::addColumn<QString>("says");     // in its error
    QTest::addColumn<int>("cuts");         // copies the resume hands over
    const QStringList turned{QStringLiteral("--rotate"), QStringLiteral("90"), QStringLiteral("--scale"),
                             QStringLiteral("200"), QStringLiteral("--overcut"), QStringLiteral("2"),
                             QStringLiteral("--tool"), QStringLiteral("1=2")};
    QTest::newRow("rest of a turned, scaled, overcut copy on tool 2: as first planned")
        << turned << 1 << false << QString() << QStringList() << int(Failure::None) << QString() << 1;
    QTest::newRow("the same options given again") << turned << 1 << false << QString() << turned
                                                  << int(Failure::None) << QString() << 1;
    QTest::newRow("machine gave up copy 1 of 2: the rest of it, then copy 2")
        << QStringList() << 2 << false << QString() << QStringList() << int(Failure::None) << QString() << 2;
    // A resume while it still cuts would cut twice; once it finished, so would any.
    QTest::newRow("machine still cutting: refused") << QStringList() << 2 << true << QString() << QStringList()
                                                    << int(Failure::Other) << QStringLiteral("cutting a job now") << 0;
    QTest::newRow("machine finished unseen: nothing cut") << QStringList() << 2 << true << QStringLiteral("finish")
                                                          << QStringList() << int(Failure::None) << QString() << 0;
    QTest::newRow("file changed: refused") << QStringList() << 1 << false << QStringLiteral("edit") << QStringList()
                                           << int(Failure::PlotFile) << QStringLiteral("changed since") << 0;
    QTest::newRow("another rotation: refused, naming both")
        << turned << 1 << false << QString() << QStringList{QStringLiteral("--rotate"), QStringLiteral("0")}
        << int(Failure::Usage) << QStringLiteral("--rotate was 90 when the job was cut, not 0") << 0;
}

void TestVxcut::dropAndResume()
{
    QFETCH(QStringList, cutOptions);
    QFETCH(int, copies);
    QFETCH(bool, cutsOn);
    QFETCH(QString, before);
    QFETCH(QStringList, resumeOptions);
    QFETCH(int, kind);
    QFETCH(QString, says);
    QFETCH(int, cuts);

    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("jobs.jsonl"));
    const QString design = dir.filePath(QStringLiteral("design.plt"));
    QVERIFY(QFile::copy(kSample, design));
    VXSimulator sim;
    sim.setSpeedup(cutsOn ? 0.5 : 4);
    sim.setDropMidJob(copies == 2 ? 20 : 40);   // copy 1 at 40%
    sim.setAbortOnDrop(!cutsOn);
    sim.setDownFor(cutsOn ? 2500 : 300);
    QSignalSpy back(&sim, &VXSimulator::linkBack);
    QVERIFY(sim.start(0));
    // Given relative: the journal must name it so any folder finds it.
    const Run cut = vxcut(QStringList{QStringLiteral("cut"), QDir::current().relativeFilePath(design),
                                      QStringLiteral("--tcp"), tcp(sim), QStringLiteral("--copies"),
                                      QString::number(copies), QStringLiteral("--reconnect-budget"), QStringLiteral("1"),
                                      QStringLiteral("--journal"), journal} + cutOptions);
    QVERIFY2(cut.exitCode == 6, qPrintable(cut.describe()));
    QFile file(journal);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject record = QJsonDocument::fromJson(file.readLine()).object();
    file.close();
    QCOMPARE(record.value(QStringLiteral("outcome")).toString(), QStringLiteral("interrupted"));
    QCOMPARE(record.value(QStringLiteral("file")).toString(), design);
    QCOMPARE(record.value(QStringLiteral("job_name")).toString(), sim.jobs().value(0).fileName);
    QVERIFY(back.count() > 0 || back.wait(5000));
    // A machine still cutting must still be cutting when resume asks, however
    // slowly resume starts (sanitizers): nearly stopped then; fast otherwise.
    sim.setSpeedup(cutsOn && before.isEmpty() ? 0.01 : 50);
    if (before == QLatin1String("finish"))
        QTRY_COMPARE_WITH_TIMEOUT(sim.jobs().value(0).status, VXSimJobStatus::Finished, 10000);
    if (before == QLatin1String("edit")) {
        QFile edit(design);
        QVERIFY(edit.open(QIODevice::Append));
        edit.write("PU0,0;\n");
    }

    const Run resume = vxcut(QStringList{QStringLiteral("resume"), QStringLiteral("--yes"), QStringLiteral("--tcp"),
                                         tcp(sim), QStringLiteral("--journal"), journal} + resumeOptions);
    QVERIFY2(resume.exitCode == ExitCode::of(Failure::Kind(kind)), qPrintable(resume.describe()));
    QVERIFY2(resume.last(QStringLiteral("result")).value(QStringLiteral("error")).toString().contains(says),
             qPrintable(resume.describe()));
    // Never a copy twice: the rest of the interrupted one, then the whole ones left.
    const QList<VXSimJob> jobs = sim.jobs();
    int handedOver = 0;
    for (int i = 1; i < jobs.size(); ++i) {
        QCOMPARE(jobs.at(i).status, VXSimJobStatus::Finished);
        handedOver += jobs.at(i).copies;
    }
    QCOMPARE(handedOver, cuts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QList<QJsonObject> lines;
    while (!file.atEnd())
        lines << QJsonDocument::fromJson(file.readLine()).object();
    if (kind != int(Failure::None)) {
        QCOMPARE(lines.size(), 1);
        return;
    }
    QCOMPARE(lines.last().value(QStringLiteral("outcome")).toString(), QStringLiteral("finished"));
    QCOMPARE(lines.last().value(QStringLiteral("resumes")).toString(), record.value(QStringLiteral("id")).toString());
    if (cuts == 1) {
        // The rest the resume sent is the first plan's rest, byte for byte.
        PlotOptions options;
        for (int i = 0; i + 1 < cutOptions.size(); i += 2)
            QVERIFY(PlotOptionTable::find(cutOptions.at(i).mid(2))->set(options, cutOptions.at(i + 1), nullptr));
        PlotJob first, rest;
        QString error;
        QVERIFY2(first.load(kSample, options, error), qPrintable(error));
        QVERIFY2(PlotRemainder::make(first, record.value(QStringLiteral("percent")).toInt(), 200, 400, &rest, &error),
                 qPrintable(error));
        QCOMPARE(sim.lastJobData(), rest.text.toLatin1());
    }
}

void TestVxcut::designOptionsOneTable()
{
    // cut and plan present PlotOptionTable's rows; --help and the README say each.
    QFile readme(QStringLiteral(VX_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString readmeText = QString::fromUtf8(readme.readAll());
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    for (const char *command : {"cut", "plan"}) {
        QProcess help;
        help.start(kVxcut, {QLatin1String(command), QStringLiteral("--help")});
        QVERIFY(help.waitForFinished(10000));
        const QString text = QString::fromLocal8Bit(help.readAllStandardOutput());
        for (int i = 0; i < count; ++i) {
            QString flag = QStringLiteral("--") + QLatin1String(rows[i].flag);
            if (rows[i].argument)
                flag += QLatin1Char(' ') + QLatin1String(rows[i].argument);
            QVERIFY2(text.contains(flag + QLatin1Char(' ')) && text.contains(QLatin1String(rows[i].help)), qPrintable(flag));
            QVERIFY2(readmeText.contains(QStringLiteral("`") + flag + QStringLiteral("`")), qPrintable(flag));
        }
    }
}

// The simulator's work area is 450 x 600 mm; sample.plt is 5:3.
void TestVxcut::workArea_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    const QStringList wide{kSample, QStringLiteral("--width"), QStringLiteral("1000")};
    const QStringList area{QStringLiteral("--work-area"), QStringLiteral("450x600")};
    QTest::newRow("cut: too wide, nothing sent") << QStringList{QStringLiteral("cut")} + wide << 9
        << QStringLiteral("the design is 1000.0 x 600.0 mm, the work area 450 x 600 mm: 550.0 mm too wide");
    QTest::newRow("plan: too wide") << QStringList{QStringLiteral("plan")} + wide + area << 9
        << QStringLiteral("550.0 mm too wide");
    QTest::newRow("plan: the margin pushes it over") << QStringList{QStringLiteral("plan"), kSample, QStringLiteral("--width"),
        QStringLiteral("400"), QStringLiteral("--margin"), QStringLiteral("60")} + area << 9
        << QStringLiteral("10.0 mm too wide");
    QTest::newRow("plan: fits") << QStringList{QStringLiteral("plan"), kSample, QStringLiteral("--width"),
        QStringLiteral("440"), QStringLiteral("--margin"), QStringLiteral("10")} + area << 0 << QString();
    QTest::newRow("plan: no area") << QStringList{QStringLiteral("plan"), kSample, QStringLiteral("--work-area"),
        QStringLiteral("450")} << 2 << QStringLiteral("WIDTHxHEIGHT");
}

void TestVxcut::workArea()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    VXSimulator sim;
    QVERIFY(sim.start(0));
    if (args.first() == QLatin1String("cut"))
        args << QStringLiteral("--tcp") << tcp(sim);
    const Run run = vxcut(args);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    QVERIFY2(run.last(QStringLiteral("result")).value(QStringLiteral("error")).toString().contains(error),
             qPrintable(run.describe()));
    QVERIFY(sim.jobs().isEmpty());
}

// The link drops once, when the machine receives the frame named; it is
// down for downMs. Nothing the machine already took is written again.
void TestVxcut::acrossDrop_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("dropOn");
    QTest::addColumn<int>("downMs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("applied");
    QTest::addColumn<QStringList>("notApplied");
    const QStringList apply{QStringLiteral("settings"), QStringLiteral("apply"), QStringLiteral("PROFILE")};
    const QStringList all{QStringLiteral("PU_SPEED"), QStringLiteral("FEED_LENGTH"), QStringLiteral("SP2_SPEED")};
    QTest::newRow("get") << QStringList{QStringLiteral("get"), QStringLiteral("PU_SPEED")} << QByteArray("GET26;")
                         << 300 << 0 << QStringList() << QStringList();
    QTest::newRow("apply: back, the rest written") << apply << QByteArray("SET135:") << 300 << 0 << all << QStringList();
    QTest::newRow("apply: stays down") << apply + QStringList{QStringLiteral("--reconnect-budget"), QStringLiteral("1")}
        << QByteArray("SET135:") << 10000 << 6 << QStringList(all.mid(0, 1)) << QStringList(all.mid(1));
}

void TestVxcut::acrossDrop()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, dropOn);
    QFETCH(int, downMs);
    QFETCH(int, exitCode);
    QFETCH(QStringList, applied);
    QFETCH(QStringList, notApplied);
    QTemporaryDir dir;
    QFile profile(dir.filePath(QStringLiteral("p.profile")));
    QVERIFY(profile.open(QIODevice::WriteOnly));
    profile.write("PU_SPEED = 250\nFEED_LENGTH = 444\nSP2_SPEED = 150\n");
    profile.close();
    args.replaceInStrings(QStringLiteral("PROFILE"), profile.fileName());
    VXSimulator sim;
    sim.setDownFor(downMs);
    QVERIFY(sim.start(0));
    sim.setSetting(VXSimulator::Cmd, 26, QStringLiteral("555"));
    const QString speed = sim.setting(VXSimulator::Cmd, 3);
    bool dropped = false;
    connect(&sim, &VXSimulator::frameReceived, this, [&](const VXSimFrame &f) {
        if (!dropped && f.body.startsWith(dropOn)) {
            dropped = true;
            sim.dropLinks();
        }
    });
    const Run run = vxcut(args + QStringList{QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY(dropped);
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    const QJsonObject result = run.last(QStringLiteral("result"));
    if (args.first() == QLatin1String("get")) {
        QCOMPARE(result.value(QStringLiteral("values")).toObject().value(QStringLiteral("PU_SPEED")).toInt(), 555);
        return;
    }
    QCOMPARE(result.value(QStringLiteral("applied")).toVariant().toStringList(), applied);
    QCOMPARE(result.value(QStringLiteral("not_applied")).toVariant().toStringList(), notApplied);
    QCOMPARE(sim.setting(VXSimulator::Cmd, 26), QStringLiteral("250"));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 3), exitCode ? speed : QStringLiteral("150"));
    for (const QString &key : applied + notApplied)
        QVERIFY2(result.value(QStringLiteral("error")).toString().contains(key) == bool(exitCode), qPrintable(run.describe()));
}

// The move goes out once; the axis is told to stop on the link that comes back.
void TestVxcut::jogAcrossDrop()
{
    VXSimulator sim;
    sim.setDownFor(300);
    QVERIFY(sim.start(0));
    int moves = 0;
    QList<QByteArray> afterDrop;
    connect(&sim, &VXSimulator::frameReceived, this, [&](const VXSimFrame &f) {
        const bool jog = f.body.startsWith("SET82:") || f.body.startsWith("SET83:");
        if (moves > 0 && jog && f.body.endsWith(":0;"))
            afterDrop << f.body;
        if (jog && f.body.mid(6).split(';').value(0).toInt() != 0 && ++moves == 1)
            sim.dropLinks();
    });
    const Run run = vxcut({QStringLiteral("jog"), QStringLiteral("X+"), QStringLiteral("--time"), QStringLiteral("3000"),
                           QStringLiteral("--tcp"), tcp(sim)});
    QVERIFY2(run.exitCode == 6, qPrintable(run.describe()));
    QVERIFY(run.last(QStringLiteral("result")).value(QStringLiteral("stopped")).toBool());
    // Both axes stopped, nothing moved again.
    QTRY_COMPARE(afterDrop.size(), 2);
    QCOMPARE(moves, 1);
}

// cut --nest: the wiring, and every refusal before anything is sent (the
// windows themselves are tst_nestcut's).
void TestVxcut::nestCut_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    const QString part = m_tmp.filePath(QStringLiteral("part.svg"));
    QFile f(part);
    if (f.open(QIODevice::WriteOnly))
        f.write("<svg xmlns='http://www.w3.org/2000/svg' width='60mm' height='50mm' viewBox='0 0 60 50'>"
                "<rect width='60' height='50' fill='none' stroke='black'/></svg>");
    const QStringList nest{QStringLiteral("cut"), QStringLiteral("--nest"), QStringLiteral("--time"), QStringLiteral("0.2")};
    QTest::newRow("windows on a 150 mm work area")
        << nest + QStringList{part + QStringLiteral("=6"), QStringLiteral("--strip-width"), QStringLiteral("130")} << 0 << QString();
    QTest::newRow("missing part") << nest + QStringList{m_tmp.filePath(QStringLiteral("none.svg=2"))} << 9 << QStringLiteral("none.svg");
    QTest::newRow("quantity 0") << nest + QStringList{part + QStringLiteral("=0")} << 2 << QStringLiteral("=0");
    QTest::newRow("sheets") << nest + QStringList{part, QStringLiteral("--sheet"), QStringLiteral("100x100")} << 2 << QStringLiteral("--sheet");
    QTest::newRow("copies") << nest + QStringList{part, QStringLiteral("--copies"), QStringLiteral("2")} << 2 << QStringLiteral("--copies");
    QTest::newRow("weed border") << nest + QStringList{part, QStringLiteral("--weed-border"), QStringLiteral("3")} << 2 << QStringLiteral("--weed-border");
    QTest::newRow("piece longer than the work area")
        << nest + QStringList{part, QStringLiteral("--scale"), QStringLiteral("400")} << 9 << QStringLiteral("longer than a window");
}

void TestVxcut::nestCut()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    VXSimulator sim;
    sim.setSpeedup(400);
    sim.setSetting(VXSimulator::Cmd, 29, QStringLiteral("150"));
    QVERIFY(sim.start(0));
    const Run run = vxcut(args << QStringLiteral("--tcp") << tcp(sim));
    QVERIFY2(run.exitCode == exitCode, qPrintable(run.describe()));
    QVERIFY2(run.last(QStringLiteral("result")).value(QStringLiteral("error")).toString().contains(error), qPrintable(run.describe()));
    QCOMPARE(sim.jobs().size(), run.all(QStringLiteral("window")).size());
    if (exitCode != 0) {
        for (const VXSimFrame &frame : sim.receivedFrames())   // not even the feed
            QVERIFY2(!frame.body.startsWith("SET"), frame.body.constData());
        return;
    }
    const QList<VXSimJob> jobs = sim.jobs();
    QVERIFY(jobs.size() >= 2);
    for (int k = 1; k < jobs.size(); ++k)   // each window starts where the belt left the last
        QCOMPARE(jobs.at(k).materialOffset, jobs.at(k - 1).materialOffset + jobs.at(k - 1).feedAfter);
    QCOMPARE(sim.setting(VXSimulator::Cmd, 134), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestVxcut)
#include "tst_vxcut.moc"
