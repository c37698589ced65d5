// SPDX-License-Identifier: LGPL-2.1-or-later
// A strip nest cut window by window on the simulated machine in this
// process: every piece lands on the material where the nest put it (the
// machine's strokes plus the feed before each job), no window holds part of
// a piece, the operator's feed settings come back, and a nest broken off
// between windows is resumed at the next one.
#include "DeviceSession.h"
#include "JobJournal.h"
#include "NestLayout.h"
#include "NestRun.h"
#include "NestSearch.h"
#include "PartList.h"
#include "PlotReader.h"
#include "PluginHost.h"
#include "RecordValue.h"
#include "ResumeRun.h"
#include "VXSimulator.h"
#include "WorkArea.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QTimer>

#include <algorithm>
#include <tuple>

enum class Break { None, DropBetween, Stop };
Q_DECLARE_METATYPE(Break)

namespace {

constexpr double WorkLength = 150;   // mm along the belt: the nest needs three windows or more

// Outline boxes of every stroke, in plotter units on the material, sorted.
using Boxes = QVector<QRectF>;

Boxes boxesOf(const QByteArray &plot, double offsetMm)
{
    PlotReader reader;
    reader.read(plot);
    Boxes out;
    for (const PlotReader::Polyline &line : reader.polylines())
        out << QPolygonF(line).boundingRect().translated(0, offsetMm * PlotReader::UnitsPerMm);
    return out;
}

void sortBoxes(Boxes &b)
{
    std::sort(b.begin(), b.end(), [](const QRectF &a, const QRectF &c) {
        return std::make_tuple(qRound(a.left()), qRound(a.top()), qRound(a.width()))
               < std::make_tuple(qRound(c.left()), qRound(c.top()), qRound(c.width()));
    });
}

QString writePart(const QString &dir, const QString &name, int w, int h)
{
    const QString path = dir + QLatin1Char('/') + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1mm' height='%2mm' viewBox='0 0 %1 %2'>"
                           "<rect width='%1' height='%2' fill='none' stroke='black'/>"
                           "<circle cx='%3' cy='%4' r='5' fill='none' stroke='black'/></svg>")
                .arg(w).arg(h).arg(w / 2).arg(h / 2).toUtf8());
    return path;
}

} // namespace

class TestNestCut : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void windows_data();
    void windows();

private:
    bool connect(DeviceSession &session, const VXSimulator &sim);
    PluginHost m_plugin;
    QTemporaryDir m_dir;
    NestLayout m_layout;
    std::vector<NestPart> m_parts;
};

void TestNestCut::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    std::vector<PartRequest> requests{{writePart(m_dir.path(), "a.svg", 60, 40), 5, {}, "a"},
                                      {writePart(m_dir.path(), "b.svg", 45, 70), 3, {}, "b"}};
    NestRequest request;
    QString why;
    QVERIFY2(PartList::load(requests, PlotOptions(), PartDefaults(), request.parts, why), qPrintable(why));
    request.width = 70;
    request.seconds = 0.5;
    QVERIFY2(NestSearch::check(request, why), qPrintable(why));
    m_layout = NestSearch::run(request, nullptr, {});
    m_parts = request.parts;
    QCOMPARE(m_layout.unplaced(), 0);
    QVERIFY(m_layout.length > 2 * WorkLength);
}

bool TestNestCut::connect(DeviceSession &session, const VXSimulator &sim)
{
    if (session.renewDevice())
        return false;
    QSignalSpy up(&session, &DeviceSession::linkUpChanged);
    return !session.connectTcp(QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())) && up.wait(5000)
           && session.linkUp();
}

void TestNestCut::windows_data()
{
    QTest::addColumn<Break>("cut");
    QTest::addColumn<int>("windowsFirstRun");   // -1: every window
    QTest::newRow("every window in one run") << Break::None << -1;
    QTest::newRow("link drops after window 1, resume cuts the rest") << Break::DropBetween << 1;
    QTest::newRow("stopped during window 2") << Break::Stop << 1;
}

void TestNestCut::windows()
{
    QFETCH(Break, cut);
    QFETCH(int, windowsFirstRun);
    VXSimulator sim;
    sim.setSpeedup(cut == Break::Stop ? 20 : 400);
    sim.setSetting(VXSimulator::Cmd, 29, QString::number(WorkLength));
    sim.setSetting(VXSimulator::Cmd, 135, QStringLiteral("321"));   // the operator's own feed
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    QVERIFY(connect(session, sim));
    const JobJournal journal(m_dir.filePath(QStringLiteral("%1.jsonl").arg(QTest::currentDataTag())));

    NestCut nest;
    QSignalSpy read(session.query(WorkArea::keys() << QStringLiteral("FEED_LENGTH")), &DeviceQuery::done);
    QVERIFY(read.wait(5000));
    const Failure made = NestCut::make(m_layout, m_parts, PlotOptions(), WorkArea::of(session.device()),
                                       EditorSpec::of(session.record(QStringLiteral("FEED_LENGTH"))), &nest);
    QVERIFY2(!made, qPrintable(made.message));
    const int n = int(nest.windows.size());
    QVERIFY(n >= 3);
    QVERIFY(!nest.save(NestCut::savePath(journal.path(), nest.sha256)));

    NestRun run(session);
    run.setReconnect(false);
    run.setJournal(&journal);
    run.setCut(nest);
    QObject::connect(&run, &NestRun::windowDone, &sim, [&](int k) {
        if (cut == Break::DropBetween && k == 1)
            sim.dropLinks();
    });
    QObject::connect(&run, &NestRun::windowStarted, &sim, [&](int k) {
        if (cut == Break::Stop && k == 2)
            QTimer::singleShot(50, &run, &NestRun::stop);
    });
    QSignalSpy over(&run, &NestRun::finished);
    QVERIFY(run.start());
    QVERIFY(over.wait(20000));
    QCOMPARE(run.windowsCut(), windowsFirstRun < 0 ? n : windowsFirstRun);
    QCOMPARE(bool(run.failure()), cut != Break::None);

    if (cut == Break::DropBetween) {
        // The drop left the nest's feed on the machine; the resume puts the operator's back.
        QVERIFY(!run.restoreError().isEmpty());
        QVERIFY(connect(session, sim));
        ResumeRun resume(session, journal);
        const Failure prepared = resume.prepare(ResumePlan::Continue);
        QVERIFY2(!prepared, qPrintable(prepared.message));
        QSignalSpy resumed(&resume, &ResumeRun::finished);
        QVERIFY(resume.start());
        QVERIFY(resumed.wait(20000));
        QVERIFY2(!resume.failure(), qPrintable(resume.failure().message));
        QCOMPARE(resume.nest()->window(), n + 1);
    }
    QCOMPARE(sim.setting(VXSimulator::Cmd, 134), QStringLiteral("0"));
    QCOMPARE(sim.setting(VXSimulator::Cmd, 135), QStringLiteral("321"));

    // What the machine cut, placed on the material by its feeds, against the nest.
    Boxes cutBoxes;
    const QList<VXSimJob> jobs = sim.jobs();
    int job = 0;
    for (const VXSimFrame &f : sim.receivedFrames()) {
        if (f.kind != "PLT")
            continue;
        const Boxes window = boxesOf(f.body, jobs.at(job++).materialOffset);
        for (const QRectF &b : window)   // within the work area: no piece runs past a window's end
            QVERIFY(b.bottom() - jobs.at(job - 1).materialOffset * PlotReader::UnitsPerMm <= WorkLength * PlotReader::UnitsPerMm);
        cutBoxes += window;
    }
    if (cut == Break::Stop) {
        QVERIFY(jobs.size() == 2 && jobs.at(1).status == VXSimJobStatus::Stopped);
        return;
    }
    Boxes nestBoxes = boxesOf(NestPlot::text(m_layout.document(m_parts), PlotOptions()), 0);
    sortBoxes(cutBoxes);
    sortBoxes(nestBoxes);
    QCOMPARE(cutBoxes.size(), nestBoxes.size());
    for (int i = 0; i < nestBoxes.size(); ++i) {
        const QRectF &a = cutBoxes.at(i), &b = nestBoxes.at(i);
        QVERIFY2(qAbs(a.left() - b.left()) <= 1 && qAbs(a.top() - b.top()) <= 1 && qAbs(a.right() - b.right()) <= 1
                     && qAbs(a.bottom() - b.bottom()) <= 1,
                 qPrintable(QStringLiteral("stroke %1 cut at %2,%3, nested at %4,%5 (1/40 mm)")
                                .arg(i).arg(a.left()).arg(a.top()).arg(b.left()).arg(b.top())));
    }
}

QTEST_MAIN(TestNestCut)
#include "tst_nestcut.moc"
