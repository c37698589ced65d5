// SPDX-License-Identifier: LGPL-2.1-or-later
// QR-code production against the simulated machine in this process: which
// plot each sheet got, how sheets the host cannot or may not cut pass, how a
// run ends, what the journal keeps; and the design source's lookups.
#include "DesignCache.h"
#include "DesignSource.h"
#include "DeviceSession.h"
#include "JobJournal.h"
#include "PluginHost.h"
#include "SheetRun.h"
#include "VXSimulator.h"
#include "property/VXDeviceProperty.h"
#include "property/VXFrame.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

enum class Action { None, LateAnswer, StopWhileCutting, DropWhileCutting, DropAndReconnect };
Q_DECLARE_METATYPE(Action)

class TestSheetRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void stack_data();
    void stack();
    void outage();
    void source_data();
    void source();

private:
    QByteArray plotSha(const QString &file) const;
    PluginHost m_plugin;
    QTemporaryDir m_dir;
};

void TestSheetRun::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    QVERIFY(m_dir.isValid());
    QDir().mkpath(m_dir.filePath(QStringLiteral("designs")));
    QVERIFY(QFile::copy(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg"),
                        m_dir.filePath(QStringLiteral("designs/A.svg"))));
    QVERIFY(QFile::copy(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.ezdxf.dxf"),
                        m_dir.filePath(QStringLiteral("designs/B.dxf"))));
}

QByteArray TestSheetRun::plotSha(const QString &file) const
{
    const auto d = DesignCache::prepare(QString(), m_dir.filePath(QStringLiteral("designs/") + file), PlotOptions(), QSize());
    return QCryptographicHash::hash(d->plot.toLatin1(), QCryptographicHash::Sha256).toHex();
}

void TestSheetRun::stack_data()
{
    QTest::addColumn<QStringList>("stack");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("perJob");            // sheets asked per machine job; 0: the default
    QTest::addColumn<Action>("action");
    // Host outcome per sheet, ":journal outcome" where that differs; a
    // trailing "..." allows further sheets, all skipped (fed while a stop
    // was on its way).
    QTest::addColumn<QStringList>("outcomes");
    QTest::addColumn<SheetRun::End>("end");
    using E = SheetRun::End;
    QTest::newRow("folder: A, B, A, unknown, B")
        << QStringList{"A", "B", "A", "ZZ", "B"} << 0 << 0 << Action::None
        << QStringList{"finished", "finished", "finished", "skipped", "finished"} << E::StackEnded;
    QTest::newRow("late answer and an unreadable code")
        << QStringList{"A", "?", "B", "A"} << 0 << 0 << Action::LateAnswer
        << QStringList{"finished", "skipped", "failed:refused", "finished"} << E::StackEnded;
    QTest::newRow("count reached: the machine's job is stopped")
        << QStringList{"A", "ZZ", "B", "A", "B"} << 2 << 0 << Action::None
        << QStringList{"finished", "skipped", "finished", "..."} << E::CountReached;
    // The machine's job ends at its copies (blank sheets count) with sheets
    // still in the stack: the run goes on with the next job.
    QTest::newRow("stack longer than the machine's job")
        << QStringList{"A", "ZZ", "B", "A", "B"} << 0 << 2 << Action::None
        << QStringList{"finished", "skipped", "finished", "finished", "finished"} << E::StackEnded;
    QTest::newRow("host stops while a sheet is cut")
        << QStringList{"A", "B", "A"} << 0 << 0 << Action::StopWhileCutting
        << QStringList{"finished", "failed:interrupted"} << E::Stopped;
    // The machine cuts on while the link is down; the run finds its way back
    // to the sheet it cuts or the one waiting for a plot.
    QTest::newRow("link drops mid stack, the run reconnects")
        << QStringList{"A", "B", "A", "B"} << 0 << 0 << Action::DropAndReconnect
        << QStringList{"finished", "finished", "finished", "finished"} << E::StackEnded;
    QTest::newRow("link drops while a sheet is cut")
        << QStringList{"A", "B", "A"} << 0 << 0 << Action::DropWhileCutting
        << QStringList{"finished", "failed:interrupted"} << E::Lost;
}

void TestSheetRun::stack()
{
    QFETCH(QStringList, stack);
    QFETCH(int, count);
    QFETCH(int, perJob);
    QFETCH(Action, action);
    QFETCH(QStringList, outcomes);
    QFETCH(SheetRun::End, end);

    VXSimulator sim;
    // Slow enough that the sheet to stop or drop on reports progress first.
    sim.setSpeedup(action == Action::None || action == Action::LateAnswer ? 100 : 10);
    QVERIFY(sim.setSheets(stack));
    // Only where a sheet is meant to go unanswered: a loaded test machine
    // may take a while to answer the others.
    if (action == Action::LateAnswer)
        sim.setAnswerWait(300);
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    QVERIFY(!session.connectTcp(QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())));
    QVERIFY(up.wait(5000));

    DesignSource source;
    QVERIFY(source.open(m_dir.filePath(QStringLiteral("designs"))));
    const JobJournal journal(m_dir.filePath(QStringLiteral("%1.jsonl").arg(QTest::currentDataTag())));
    SheetRun run(session);
    run.setSource(source);
    run.setCount(count);
    if (perJob > 0)
        run.setCopiesPerJob(perJob);
    if (action == Action::DropAndReconnect)
        run.setReconnect(true, ReconnectSchedule(50, 200, 10000));
    run.setJournal(&journal);
    QList<SheetRun::Sheet> done;
    connect(&run, &SheetRun::sheetDone, this, [&](const SheetRun::Sheet &s) { done << s; });
    connect(&run, &SheetRun::sheetStarted, this, [&](const SheetRun::Sheet &s) {
        if (action != Action::LateAnswer || s.index != 3)
            return;
        // Hold the answer until the machine has given up on the sheet.
        QSignalSpy gone(&sim, &VXSimulator::sheetDone);
        while (sim.sheets().size() < 3 || sim.sheets().at(2).outcome == VXSimSheet::Pending)
            QVERIFY(gone.wait(5000));
    });
    bool acted = false;
    connect(&run, &SheetRun::sheetProgress, this, [&](const SheetRun::Sheet &s) {
        if (s.index != 2 || s.percent == 0 || acted)
            return;
        acted = true;
        if (action == Action::StopWhileCutting)
            run.stop();
        else if (action == Action::DropWhileCutting || action == Action::DropAndReconnect)
            sim.dropLinks();
    });
    QSignalSpy ended(&run, &SheetRun::ended);
    QVERIFY(run.start());
    QVERIFY(ended.wait(30000));
    QCOMPARE(run.end(), end);

    // The host's account of each sheet, and the journal's.
    const bool more = outcomes.last() == QLatin1String("...");
    if (more)
        outcomes.removeLast();
    QVERIFY2(more ? done.size() >= outcomes.size() : done.size() == outcomes.size(), qPrintable(QString::number(done.size())));
    const QList<JobRecord> lines = journal.last(100);
    QCOMPARE(lines.size(), done.size());
    for (int i = 0; i < done.size(); ++i) {
        const QString want = i < outcomes.size() ? outcomes.at(i) : QStringLiteral("skipped");
        QVERIFY2(SheetRun::outcomeName(done.at(i).outcome) == want.section(QLatin1Char(':'), 0, 0),
                 qPrintable(QStringLiteral("sheet %1: %2 (%3)").arg(i + 1).arg(SheetRun::outcomeName(done.at(i).outcome), done.at(i).reason)));
        QCOMPARE(JobRecord::outcomeName(lines.at(i).outcome), want.section(QLatin1Char(':'), -1));
        QCOMPARE(lines.at(i).code, done.at(i).code);
        // Every sheet's line has its "code", an unreadable one an empty one.
        QVERIFY(lines.at(i).sheet);
        QCOMPARE(lines.at(i).design, done.at(i).design);
        QCOMPARE(done.at(i).code, stack.at(i) == QLatin1String("?") ? QString() : stack.at(i));
    }
    QVERIFY(!done.at(0).design.isEmpty());

    // The machine's account: every sheet it cut got its own code's design,
    // and a sheet without one got nothing to cut. Exactly the sheets the
    // host counts as finished were cut with a design.
    const QHash<QString, QByteArray> sha{{"A", plotSha("A.svg")}, {"B", plotSha("B.dxf")}};
    int cut = 0;
    for (const VXSimSheet &s : sim.sheets()) {
        if (s.outcome != VXSimSheet::Cut)
            continue;
        if (sha.contains(s.code)) {
            QCOMPARE(s.plotSha256, sha.value(s.code));
            ++cut;
        } else {
            QCOMPARE(s.pathLength, 0.0);
        }
    }
    QCOMPARE(cut, run.finished());
    if (count > 0)
        QCOMPARE(run.finished(), count);
    QCOMPARE(bool(run.failure()), end != SheetRun::End::StackEnded && end != SheetRun::End::CountReached);
    QCOMPARE(run.reconnects(), action == Action::DropAndReconnect ? 1 : 0);
}

// Sheets cut while this host's link is down (here for another host, the
// only way the machine cuts a sheet without this one's answer) are learnt
// from the machine's count and journaled as passed unseen.
void TestSheetRun::outage()
{
    VXSimulator sim;
    sim.setSpeedup(10);
    QVERIFY(sim.setSheets({"A", "B", "A", "B", "A"}));
    QVERIFY(sim.start(0));
    const QString target = QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
    DeviceSession session(m_plugin.root());
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    QVERIFY(!session.connectTcp(target));
    QVERIFY(up.wait(5000));

    DeviceSession other(m_plugin.root());
    connect(&other, &DeviceSession::linkUpChanged, this, [&](bool isUp) {
        if (isUp)
            other.device()->sendCMD(VXFrame::build("CCMD", "11;"));
    });
    connect(&other, &DeviceSession::qrCode, this, [&](const QString &code) {
        VXDeviceProperty *qr = other.record(QStringLiteral("QR_PLT"));
        qr->setValue(QStringLiteral("IN;PU0,0;PD400,0;"));
        if (!code.isEmpty())
            other.send(qr);
    });

    DesignSource source;
    QVERIFY(source.open(m_dir.filePath(QStringLiteral("designs"))));
    const JobJournal journal(m_dir.filePath(QStringLiteral("outage.jsonl")));
    SheetRun run(session);
    run.setSource(source);
    run.setJournal(&journal);
    run.setReconnect(true, ReconnectSchedule(50, 200, 10000));
    connect(&run, &SheetRun::sheetProgress, this, [&](const SheetRun::Sheet &s) {
        if (s.index == 2 && s.percent > 0 && !sim.isDown() && run.reconnects() == 0 && sim.linkCount() > 0)
            sim.dropLinks();
    });
    connect(&run, &SheetRun::reconnecting, this, [&](int attempt) {
        if (attempt != 1)
            return;
        // Sheets 3 and 4 go to the other host before this one is back.
        QSignalSpy otherUp(&other, &DeviceSession::linkUpChanged);
        QVERIFY(!other.connectTcp(target));
        QVERIFY(otherUp.wait(5000));
        QSignalSpy cut(&sim, &VXSimulator::sheetDone);
        while (sim.sheets().size() < 4 || sim.sheets().at(3).outcome != VXSimSheet::Cut)
            QVERIFY(cut.wait(5000));
        other.releaseDevice();
    });
    QSignalSpy ended(&run, &SheetRun::ended);
    QVERIFY(run.start());
    QVERIFY(ended.wait(30000));
    QCOMPARE(run.end(), SheetRun::End::StackEnded);
    QCOMPARE(run.reconnects(), 1);

    const QList<JobRecord> lines = journal.last(100);
    QStringList got;
    for (const JobRecord &r : lines)
        got << QStringLiteral("%1 %2 %3").arg(JobRecord::outcomeName(r.outcome), r.code, r.note).trimmed();
    const QString unseen = QStringLiteral("finished  passed while the link was down");
    QCOMPARE(got, (QStringList{"finished A", "finished B", unseen, unseen, "finished A"}));
    QCOMPARE(run.unseen(), 2);
    QCOMPARE(run.finished(), 3);
}

void TestSheetRun::source_data()
{
    QTest::addColumn<QString>("map");           // empty: the folder
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("found");         // file name; empty: none
    QTest::addColumn<QStringList>("errors");    // the map's, each a fragment
    QTest::newRow("folder: svg") << QString() << "A" << "A.svg" << QStringList();
    QTest::newRow("folder: dxf") << QString() << "B" << "B.dxf" << QStringList();
    QTest::newRow("folder: unknown") << QString() << "C" << QString() << QStringList();
    // A printed code is a name, never a path out of the folder.
    QTest::newRow("folder: code climbing out") << QString() << "../designs/A" << QString() << QStringList();
    QTest::newRow("folder: hidden file") << QString() << ".A" << QString() << QStringList();
    QTest::newRow("folder: two designs for one code") << QString() << "TWO" << QString() << QStringList();
    QTest::newRow("map: paths relative to the map")
        << "# codes\nX1 = designs/A.svg\n\nX2=designs/B.dxf\n" << "X2" << "B.dxf" << QStringList();
    QTest::newRow("map: every fault, with its line")
        << "X1 = designs/A.svg\nX2 = designs/none.svg\nX1 = designs/B.dxf\nno equals sign\n = designs/A.svg\n../X = designs/A.svg\nX3 = designs\n"
        << "X1" << QString()
        << QStringList{"codes.txt:2: code X2: no file", "codes.txt:3: code X1 again (first on line 1)",
                       "codes.txt:4: expected CODE = path", "codes.txt:5: no code", "codes.txt:6: code \"../X\"",
                       "codes.txt:7: code X3:"};
    // A code is quoted as printed, even one that looks like a placeholder.
    QTest::newRow("map: code %2 twice") << "%2 = designs/A.svg\n%2 = designs/B.dxf\n" << "%2" << QString()
                                        << QStringList{"codes.txt:2: code %2 again (first on line 1)"};
}

void TestSheetRun::source()
{
    QFETCH(QString, map);
    QFETCH(QString, code);
    QFETCH(QString, found);
    QFETCH(QStringList, errors);
    QFile::copy(m_dir.filePath(QStringLiteral("designs/A.svg")), m_dir.filePath(QStringLiteral("designs/TWO.svg")));
    QFile::copy(m_dir.filePath(QStringLiteral("designs/B.dxf")), m_dir.filePath(QStringLiteral("designs/TWO.dxf")));
    QString path = m_dir.filePath(QStringLiteral("designs"));
    if (!map.isEmpty()) {
        path = m_dir.filePath(QStringLiteral("codes.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(map.toUtf8());
    }
    DesignSource source;
    QCOMPARE(source.open(path), errors.isEmpty());
    QCOMPARE(source.errors().size(), errors.size());
    for (int i = 0; i < errors.size(); ++i)
        QVERIFY2(source.errors().at(i).contains(errors.at(i)), qPrintable(source.errors().at(i)));
    QString why;
    const QString design = source.find(code, &why);
    QCOMPARE(QFileInfo(design).fileName(), found);
    QCOMPARE(why.isEmpty(), !found.isEmpty());
}

QTEST_MAIN(TestSheetRun)
#include "tst_sheetrun.moc"
