// SPDX-License-Identifier: LGPL-2.1-or-later
// Placing, ordering, merging and the knife's extras, on real designs and
// on layouts built here, checked through the documents they produce and
// the plot text written from them.
#include "ContourNesting.h"
#include "HpglInterpreter.h"
#include "PathOrdering.h"
#include "PlotFile.h"
#include "PlotOptionTable.h"
#include "PlotPipeline.h"
#include "PlotPreview.h"
#include "PlotWriter.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

PlotDocument readSample(const char *name)
{
    PlotDocument doc;
    PlotFile reader;
    if (!reader.readFile(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/") + QLatin1String(name), doc))
        qFatal("%s", qPrintable(reader.error()));
    return doc;
}

void square(PlotDocument &doc, double x, double y, double side)
{
    doc.addPath({{x, y}, {x + side, y}, {x + side, y + side}, {x, y + side}, {x, y}});
}

// Undirected segments rounded to 1 µm, with their counts.
std::map<std::array<qint64, 4>, int> segments(const PlotDocument &doc)
{
    std::map<std::array<qint64, 4>, int> out;
    for (int i = 0; i < doc.pathCount(); ++i) {
        const QPointF *p = doc.points(i);
        for (std::uint32_t k = 1; k < doc.path(i).count; ++k) {
            std::array<qint64, 2> a{std::llround(p[k - 1].x() * 1000), std::llround(p[k - 1].y() * 1000)};
            std::array<qint64, 2> b{std::llround(p[k].x() * 1000), std::llround(p[k].y() * 1000)};
            if (b < a)
                std::swap(a, b);
            ++out[{a[0], a[1], b[0], b[1]}];
        }
    }
    return out;
}

PlotDocument randomLayout(int shapes, quint32 seed)
{
    QRandomGenerator rng(seed);
    PlotDocument doc;
    for (int i = 0; i < shapes; ++i) {
        const double x = rng.bounded(1000.0), y = rng.bounded(600.0);
        if (i % 3 == 0)
            doc.addPath({{x, y}, {x + rng.bounded(20.0), y + rng.bounded(20.0)}});
        else
            square(doc, x, y, 2 + rng.bounded(10.0));
    }
    return doc;
}

} // namespace

class TestPlotPipeline : public QObject
{
    Q_OBJECT

private slots:
    void insideFirst_data();
    void insideFirst();
    void orderingKeepsEverySegment();
    void placement_data();
    void placement();
    void knife_data();
    void knife();
    void writerRoundTrip();
    void fineToleranceKeepsCrossingLines();
    void tools_data();
    void tools();
    void optionTable();
    void preview();
};

void TestPlotPipeline::insideFirst_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("nested"); // paths that have a holding contour
    // A, O, P, Q: one counter each; B and 8: two; the inner rectangle.
    QTest::newRow("letters with counters, nested rectangles") << "letters.pstoedit.hpgl" << 9;
    QTest::newRow("circle inside rectangle") << "shapes.ezdxf.dxf" << 1;
}

void TestPlotPipeline::insideFirst()
{
    QFETCH(QString, file);
    QFETCH(int, nested);
    const PlotDocument doc = readSample(qPrintable(file));
    const PlotPlan plan = PlotPipeline::run(doc, PlotOptions());
    // Nesting is judged on what is cut, in its new order.
    const std::vector<int> parent = nesting::parents(plan.design);
    QCOMPARE(int(std::count_if(parent.begin(), parent.end(), [](int p) { return p >= 0; })), nested);
    for (int i = 0; i < int(parent.size()); ++i)
        QVERIFY2(parent[std::size_t(i)] < 0 || parent[std::size_t(i)] > i,
                 qPrintable(QStringLiteral("path %1 cut after its outline %2").arg(i).arg(parent[std::size_t(i)])));
}

void TestPlotPipeline::orderingKeepsEverySegment()
{
    // Letters (curves, counters) and a random layout: same segments, once each.
    const PlotDocument docs[] = {readSample("letters.pstoedit.hpgl"), randomLayout(3000, 7)};
    for (const PlotDocument &doc : docs) {
        const PathOrdering::Result plan = PathOrdering::order(doc);
        QCOMPARE(plan.document.pathCount(), doc.pathCount());
        const auto before = segments(doc), after = segments(plan.document);
        for (const auto &s : before)
            QVERIFY2(after.count(s.first) && after.at(s.first) == s.second,
                     qPrintable(QStringLiteral("%1,%2 %3,%4").arg(s.first[0]).arg(s.first[1]).arg(s.first[2]).arg(s.first[3])));
        QCOMPARE(after.size(), before.size());
        std::vector<int> sources = plan.source;
        std::sort(sources.begin(), sources.end());
        QVERIFY(std::adjacent_find(sources.begin(), sources.end()) == sources.end());
        QVERIFY2(plan.travelAfter < plan.travelBefore,
                 qPrintable(QStringLiteral("%1 -> %2").arg(plan.travelBefore).arg(plan.travelAfter)));
    }
}

void TestPlotPipeline::placement_data()
{
    QTest::addColumn<QString>("flags");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QPointF>("corner");

    // The 100 x 60 mm design (ezdxf), placed.
    QTest::newRow("as drawn") << "" << 100.0 << 60.0 << QPointF(0, 0);
    QTest::newRow("scale 50%, margin 10") << "scale=50 margin=10" << 50.0 << 30.0 << QPointF(10, 10);
    QTest::newRow("rotate 90") << "rotate=90" << 60.0 << 100.0 << QPointF(0, 0);
    QTest::newRow("target width") << "width=250" << 250.0 << 150.0 << QPointF(0, 0);
    QTest::newRow("target height after rotation") << "rotate=270 height=50" << 30.0 << 50.0 << QPointF(0, 0);
    QTest::newRow("both targets fit inside") << "width=50 height=50" << 50.0 << 30.0 << QPointF(0, 0);
    QTest::newRow("mirror, weed border 5") << "mirror= weed-border=5 margin=2" << 110.0 << 70.0 << QPointF(2, 2);
}

void TestPlotPipeline::placement()
{
    QFETCH(QString, flags);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QPointF, corner);
    PlotOptions o;
    for (const QString &flag : flags.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList kv = flag.split(QLatin1Char('='));
        QString error;
        QVERIFY2(PlotOptionTable::find(kv[0])->set(o, kv.value(1), &error), qPrintable(error));
    }
    const PlotPlan plan = PlotPipeline::run(readSample("shapes.ezdxf.dxf"), o);
    QVERIFY(std::abs(plan.report.width - width) < 1e-6);
    QVERIFY(std::abs(plan.report.height - height) < 1e-6);
    const QRectF box = plan.sent().boundingBox();
    QVERIFY(std::abs(box.left() - corner.x()) < 1e-6 && std::abs(box.top() - corner.y()) < 1e-6);
}

void TestPlotPipeline::knife_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::addColumn<double>("cutLength");
    QTest::addColumn<double>("merged");
    QTest::addColumn<int>("paths");
    QTest::addColumn<double>("slack");

    // Two 10 mm squares sharing a side, a third one drawn twice, a 45°
    // line lying on its own doubled half: 110 mm of lines, 40 of them twice.
    const double drawn = 40 + 40 + 40 + 40 + std::hypot(20.0, 20.0) + std::hypot(10.0, 10.0);
    const double once = drawn - 10 - 40 - std::hypot(10.0, 10.0);
    QTest::newRow("overlaps merged by default") << "merge-overlaps" << "0.05" << once << drawn - once << 4 << 1e-6;
    QTest::newRow("merging off") << "merge-overlaps" << "0" << drawn << 0.0 << 6 << 1e-6;
    QTest::newRow("two passes") << "passes" << "2" << 2 * once << drawn - once << 8 << 1e-6;
    QTest::newRow("overcut 3 mm on 2 closed contours") << "overcut" << "3" << once + 6 << drawn - once << 4 << 1e-6;
    // Quarter swivels of 0.5 mm radius at the 4 + 4 corners of the closed
    // squares and the 2 of the opened one; chords fall short by ~3%.
    QTest::newRow("blade offset 0.5") << "blade-offset" << "0.5" << once + 10 * M_PI / 4 << drawn - once << 4 << 0.3;
}

void TestPlotPipeline::knife()
{
    QFETCH(QString, option);
    QFETCH(QString, value);
    QFETCH(double, cutLength);
    QFETCH(double, merged);
    QFETCH(int, paths);
    QFETCH(double, slack);
    PlotDocument doc;
    square(doc, 0, 0, 10);
    square(doc, 10, 0, 10);
    square(doc, 40, 0, 10);
    square(doc, 40, 0, 10);
    doc.addPath({{60, 0}, {80, 20}});
    doc.addPath({{60, 0}, {70, 10}});
    PlotOptions o;
    QVERIFY(PlotOptionTable::find(option)->set(o, value, nullptr));
    const PlotPlan plan = PlotPipeline::run(doc, o);
    QVERIFY2(std::abs(plan.report.cutLength - cutLength) < slack, qPrintable(QString::number(plan.report.cutLength)));
    QVERIFY2(std::abs(plan.report.mergedLength - merged) < 1e-6, qPrintable(QString::number(plan.report.mergedLength)));
    QCOMPARE(plan.report.paths, paths);
}

void TestPlotPipeline::writerRoundTrip()
{
    PlotOptions o;
    o.bladeOffset = 0.25;
    const PlotPlan plan = PlotPipeline::run(readSample("letters.pstoedit.hpgl"), o);
    const QByteArray text = PlotWriter::toByteArray(plan.sent());
    // Only what every machine of the family takes.
    const QRegularExpression allowed(QStringLiteral("^(IN;SP1;|PU-?\\d+,-?\\d+;PD(-?\\d+,-?\\d+,?)+;|PU;SP0;)$"));
    for (const QByteArray &line : text.split('\n'))
        QVERIFY2(line.isEmpty() || allowed.match(QString::fromLatin1(line)).hasMatch(), line.constData());
    QBuffer streamed;
    streamed.open(QIODevice::WriteOnly);
    QVERIFY(PlotWriter::write(plan.sent(), &streamed));
    QCOMPARE(streamed.data(), text);
    PlotDocument back;
    HpglInterpreter reader(back);
    QVERIFY(reader.run(text));
    QCOMPARE(back.pathCount(), plan.sent().pathCount());
    QVERIFY(std::abs(back.cutLength() - plan.report.cutLength) < 0.001 * plan.report.cutLength);
    QVERIFY(std::abs(back.travelLength() - plan.report.travelAfter) < 0.001 * plan.report.travelAfter + 1);
    // The swivels lengthen the cut and reach past the design by the offset.
    QVERIFY(plan.report.cutLength > plan.report.designLength);
    QVERIFY(plan.sent().boundingBox().width() <= plan.report.width + 2 * o.bladeOffset + 1e-6);
}

void TestPlotPipeline::fineToleranceKeepsCrossingLines()
{
    // Two 850 mm lines crossing at the centre, both steeper than 154°:
    // their direction buckets passed 2^31 at 1 µm and one line was lost.
    PlotDocument doc;
    doc.addPath({{800, 0}, {0, 300}});
    doc.addPath({{800, 20}, {0, 280}});
    PlotOptions o;
    o.mergeOverlaps = 0.000001;
    o.order = false;
    const PlotPlan plan = PlotPipeline::run(doc, o);
    QCOMPARE(plan.report.mergedLength, 0.0);
    QVERIFY(std::abs(plan.report.cutLength - doc.cutLength()) < 1e-6);
}

void TestPlotPipeline::tools_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("sequence"); // SP commands of the written plot
    QTest::addColumn<double>("tool1");
    QTest::addColumn<double>("tool2");

    // Pen 2: a 20 mm line on the edge of pen 1's 80 mm square (drawn last);
    // layer "crease": a 30 mm line; colour #ff0000: a 10 mm line. The edge
    // is cut once only when both lines go to one tool.
    QTest::newRow("pens as written, creases first") << QStringList() << "2,1" << "SP2 SP1 SP0" << 120.0 << 20.0;
    QTest::newRow("tool order 1,2") << QStringList() << "1,2" << "SP1 SP2 SP0" << 120.0 << 20.0;
    QTest::newRow("layer to tool 2") << QStringList{"crease=2"} << "2,1" << "SP2 SP1 SP0" << 90.0 << 50.0;
    QTest::newRow("colour to tool 2, pen 2 to 1") << QStringList{"#FF0000=2", "2=1"} << "2,1" << "SP2 SP1 SP0" << 110.0 << 10.0;
    QTest::newRow("everything on tool 1") << QStringList{"2=1"} << "2,1" << "SP1 SP0" << 120.0 << 0.0;
    QTest::newRow("first rule wins") << QStringList{"crease=1", "crease=2", "1=2"} << "2,1" << "SP2 SP1 SP0" << 40.0 << 80.0;
}

void TestPlotPipeline::tools()
{
    QFETCH(QStringList, rules);
    QFETCH(QString, order);
    QFETCH(QString, sequence);
    QFETCH(double, tool1);
    QFETCH(double, tool2);
    PlotDocument doc;
    doc.setSource(PathSource{2, QString(), QString()});
    doc.setCurrentTool(2);
    doc.addPath({{0, 0}, {20, 0}}); // on the square's edge: never merged with it
    doc.setSource(PathSource{0, QString(), QStringLiteral("crease")});
    doc.setCurrentTool(1);
    doc.addPath({{0, 50}, {30, 50}});
    doc.setSource(PathSource{0, QStringLiteral("#ff0000"), QString()});
    doc.addPath({{0, 60}, {10, 60}});
    doc.setSource(PathSource{1, QString(), QString()});
    square(doc, 0, 0, 20);
    PlotOptions o;
    for (const QString &rule : rules)
        QVERIFY(o.tools.add(rule, nullptr));
    QVERIFY(o.toolOrder.set(order));
    const PlotPlan plan = PlotPipeline::run(doc, o);
    const QByteArray text = PlotWriter::toByteArray(plan.sent());
    QStringList selected;
    QRegularExpressionMatchIterator sp = QRegularExpression(QStringLiteral("SP\\d")).globalMatch(QString::fromLatin1(text));
    while (sp.hasNext())
        selected << sp.next().captured(0);
    QCOMPARE(selected.join(QLatin1Char(' ')), sequence);
    // The plot as the machine reads it carries the same lengths per tool.
    PlotDocument back;
    HpglInterpreter reader(back);
    QVERIFY(reader.run(text));
    QVERIFY2(std::abs(back.cutLength(1) - tool1) < 1e-6, qPrintable(QString::number(back.cutLength(1))));
    QVERIFY2(std::abs(back.cutLength(2) - tool2) < 1e-6, qPrintable(QString::number(back.cutLength(2))));
    double reported = 0;
    for (const PlotReport::Tool &t : plan.report.tools)
        reported += t.tool == 2 ? t.cutLength : 0;
    QVERIFY(std::abs(reported - tool2) < 1e-6);
}

void TestPlotPipeline::optionTable()
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    const PlotOptions defaults;
    for (int i = 0; i < count; ++i) {
        const auto &row = rows[i];
        if (!row.argument)
            continue;
        PlotOptions o;
        QString error;
        // Every default is accepted back, and nonsense is refused by name.
        QVERIFY2(row.set(o, row.current(defaults), &error), row.flag);
        QVERIFY2(!row.set(o, QStringLiteral("-1e999x"), &error) && error.contains(QLatin1String("-1e999x")), row.flag);
    }
    PlotOptions o;
    QVERIFY(!PlotOptionTable::find(QStringLiteral("rotate"))->set(o, QStringLiteral("45"), nullptr));
    QVERIFY(!PlotOptionTable::find(QStringLiteral("passes"))->set(o, QStringLiteral("1.5"), nullptr));
    QCOMPARE(PlotOptionTable::find(QStringLiteral("merge-overlaps"))->current(defaults), QStringLiteral("0.05"));
}

void TestPlotPipeline::preview()
{
    const PlotPlan plan = PlotPipeline::run(readSample("shapes.ezdxf.dxf"), PlotOptions());
    PlotPreview::Style style;
    style.travel = true;
    const QImage image = PlotPreview::render(plan.design, QSize(256, 160), style);
    QCOMPARE(image.size(), QSize(256, 160));
    // 100 x 60 fits the width: ink spans nearly all columns, not all rows.
    int left = 256, right = -1, top = 160, bottom = -1;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 256; ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    QVERIFY2(right - left >= 244 && bottom - top < 160 - 4 && bottom - top > 140,
             qPrintable(QStringLiteral("%1..%2 x %3..%4").arg(left).arg(right).arg(top).arg(bottom)));
}

QTEST_GUILESS_MAIN(TestPlotPipeline)
#include "tst_plotpipeline.moc"
