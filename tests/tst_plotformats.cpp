// SPDX-License-Identifier: LGPL-2.1-or-later
// The plot readers: HP-GL as exporters spell it, command by command, and
// its errors (PlotReader, in plotter units); then every reader against
// designs other programs wrote (tests/data/plot, made by make.sh there),
// with the sizes those programs report.
#include "PlotFile.h"
#include "PlotReader.h"
#include "SvgReader.h"

#include <QtTest>

#include <cmath>

namespace {
QString design(const char *name) { return QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/") + QLatin1String(name); }

// A DXF of blocks B<n>, each holding `body` with %1 standing for the block
// before it (B0 holds a POINT: nothing to cut, so only work is spent),
// and the model space inserting the last one as `insert` does.
QByteArray dxfBlocks(int count, const QByteArray &body, const QByteArray &insert)
{
    QByteArray text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB0\n0\nPOINT\n0\nENDBLK\n";
    for (int n = 1; n <= count; ++n)
        text += "0\nBLOCK\n2\nB" + QByteArray::number(n) + "\n"
                + QByteArray(body).replace("%1", "B" + QByteArray::number(n - 1)) + "0\nENDBLK\n";
    return text + "0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" + insert + "0\nENDSEC\n0\nEOF\n";
}
}

class TestPlotFormats : public QObject
{
    Q_OBJECT

private slots:
    void spellings_data();
    void spellings();
    void commands_data();
    void commands();
    void polylines();
    void pens_data();
    void pens();
    void cancelled();
    void errors_data();
    void errors();
    void emptyAndMissing();
    void samplePlot();
    void bigPlot();
    void sameDesign_data();
    void sameDesign();
    void dxfKinds();
    void dxfSources();
    void otherPrograms();
    void svgKinds();
    void svgSources();
    void svgSkipped_data();
    void svgSkipped();
    void refused_data();
    void refused();
};

void TestPlotFormats::spellings_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<qint64>("strokes");

    // The same 100 x 50 rectangle, written the ways exporters write it.
    const double rect = 300;
    QTest::newRow("commas, semicolons")
        << QByteArray("IN;SP1;PU0,0;PD100,0,100,50,0,50,0,0;PU;") << rect << 100.0 << 50.0 << qint64(1);
    QTest::newRow("spaces, newlines")
        << QByteArray("IN\nSP1\nPU 0 0\nPD 100 0 100 50\n0 50 0 0\nPU\n") << rect << 100.0 << 50.0 << qint64(1);
    QTest::newRow("no terminators")
        << QByteArray("INSP1PU0,0PD100,0,100,50,0,50,0,0PU") << rect << 100.0 << 50.0 << qint64(1);
    QTest::newRow("sign as separator, CRLF")
        << QByteArray("IN;\r\nPU0 0;\r\nPD100 0;PD100 50;PD0 50;PD0 0;\r\n") << rect << 100.0 << 50.0 << qint64(1);
    QTest::newRow("PD without coordinates, then PA")
        << QByteArray("IN;PA0,0;PD;PA100,0;PA100,50;PA0,50;PA0,0;PU;") << rect << 100.0 << 50.0 << qint64(1);
    QTest::newRow("relative moves")
        << QByteArray("IN;PU10,10;PR;PD90,0,0,50,-90,0,0,-50;PA;PU0,0;") << 280.0 << 90.0 << 50.0 << qint64(1);
    QTest::newRow("relative with PR carrying the moves")
        << QByteArray("IN;PU10,10;PD;PR90,0,0,50,-90,0,0,-50;PU;") << 280.0 << 90.0 << 50.0 << qint64(1);
    QTest::newRow("lower case, decimals")
        << QByteArray("in;pu0,0;pd100.5,0;pu;") << 100.5 << 100.5 << 0.0 << qint64(1);
    QTest::newRow("printf %g exponents") << QByteArray("PU0,0;PD1e+02,0,1E2,5e1;") << 150.0 << 100.0 << 50.0 << qint64(1);
    QTest::newRow("PJL and PCL around HP-GL/2 (printer drivers)")
        << QByteArray("\x1b%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE=PCL\r\n\x1b" "E\x1b&l0O\x1b*b3Wa;b\x1b%1B"
                      "IN;PU0,0;PD100,0;\x1b%0A\x1b" "E\x1b%-12345X@PJL EOJ\r\n")
        << 100.0 << 100.0 << 0.0 << qint64(1);
    QTest::newRow("attributes and escapes are skipped")
        << QByteArray("\x1b.(;\x1b.I81;;17:IN;VS20;FS50;PW0.35,1;LT;SP2;CO\"a comment\";"
                      "PU0,0;PD0,40;PG;SP0;")
        << 40.0 << 0.0 << 40.0 << qint64(1);
    QTest::newRow("pen up travel only") << QByteArray("IN;PU100,100,200,200;") << 0.0 << 0.0 << 0.0 << qint64(0);
    QTest::newRow("two strokes, box spans both")
        << QByteArray("PU-10,-10;PD-10,0;PU50,50;PD60,50;") << 20.0 << 70.0 << 60.0 << qint64(2);
    QTest::newRow("IN lifts the pen")
        << QByteArray("PU0,0;PD10,0;IN;PA20,0;") << 10.0 << 10.0 << 0.0 << qint64(1);
}

// Reads the row's plot and compares what it measures, within tolerance
// plotter units (and a relative 0.2 % of the length): the spellings are
// exact, arcs are flattened to the chord tolerance.
static void measure(double tolerance)
{
    QFETCH(QByteArray, plot);
    QFETCH(double, length);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(qint64, strokes);
    PlotReader reader;
    QVERIFY2(reader.read(plot), qPrintable(reader.errorString()));
    const double lengthTolerance = tolerance > 0 ? std::max(tolerance, length * 0.002) : 0;
    QVERIFY2(std::abs(reader.pathLength() - length) <= lengthTolerance, qPrintable(QString::number(reader.pathLength())));
    QVERIFY2(std::abs(reader.width() - width) <= tolerance, qPrintable(QString::number(reader.width())));
    QVERIFY2(std::abs(reader.height() - height) <= tolerance, qPrintable(QString::number(reader.height())));
    QCOMPARE(reader.strokeCount(), strokes);
    if (tolerance == 0)
        QCOMPARE(reader.polylines().size(), int(strokes));
}

void TestPlotFormats::spellings()
{
    measure(0);
}

void TestPlotFormats::commands_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<qint64>("strokes");

    // Arcs are chords within 2 units (0.05 mm) of the true curve: sizes are
    // compared within that, lengths within the chords' shortfall (~0.2%).
    const double r = 400;
    QTest::newRow("CI around the pen") << QByteArray("PU0,0;CI400;") << 2 * M_PI * r << 2 * r << 2 * r << qint64(1);
    QTest::newRow("AA quarter") << QByteArray("PA400,0;PD;AA0,0,90;") << M_PI * r / 2 << r << r << qint64(1);
    QTest::newRow("AR quarter") << QByteArray("PA400,0;PD;AR-400,0,90;") << M_PI * r / 2 << r << r << qint64(1);
    QTest::newRow("AA pen up draws nothing") << QByteArray("PA400,0;PU;AA0,0,90;PD0,0;") << r << 0.0 << r << qint64(1);
    QTest::newRow("AT half") << QByteArray("PA400,0;PD;AT0,400,-400,0;") << M_PI * r << 2 * r << r << qint64(1);
    QTest::newRow("AT clockwise") << QByteArray("PA400,0;PD;AT0,-400,-400,0;") << M_PI * r << 2 * r << r << qint64(1);
    QTest::newRow("RT half") << QByteArray("PA400,0;PD;RT-400,400,-800,0;") << M_PI * r << 2 * r << r << qint64(1);
    QTest::newRow("EA") << QByteArray("PA100,100;EA500,300;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("ER") << QByteArray("PA100,100;ER400,200;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("RA outlines the fill") << QByteArray("PA100,100;RA500,300;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("RR") << QByteArray("PA100,100;RR400,200;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("PM then EP (plotutils)")
        << QByteArray("PA0,0;PM0;PD;PA400,0,400,200,0,200,0,0;PM2;PU;EP;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("FP and EP cut once, open polygon closed")
        << QByteArray("PA0,0;PM0;PD;PA400,0,400,200,0,200;PM2;FP;EP;") << 1200.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("PM1 subpolygons")
        << QByteArray("PA0,0;PM0;PD;PA400,0,400,200,0,200;PM1;PU100,50;PD200,50,200,150;PM2;EP;")
        << 1200.0 + 200 + std::hypot(100.0, 100.0) << 400.0 << 200.0 << qint64(2);
    QTest::newRow("EP leaves open what closed pen up (plotutils)")
        << QByteArray("PA0,0;PM0;PD;PA400,0,400,200;PU;PM2;EP;") << 600.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("PM without EP cuts nothing") << QByteArray("PA0,0;PM0;PD;PA400,0,400,200;PM2;") << 0.0 << 0.0 << 0.0 << qint64(0);
    QTest::newRow("RO90 swaps the sides") << QByteArray("RO90;PU0,0;PD400,0,400,200;") << 600.0 << 200.0 << 400.0 << qint64(1);
    QTest::newRow("IW clips") << QByteArray("IW0,0,100,100;PU-100,50;PD300,50;") << 100.0 << 100.0 << 0.0 << qint64(1);
    QTest::newRow("IW splits a stroke")
        << QByteArray("IW0,0,100,100;PU50,-50;PD50,150,60,150,60,-50;IW;PD60,-60;") << 210.0 << 10.0 << 160.0 << qint64(3);
    // User units 0..10 on plotter units 0..1000; PR moves in user units too.
    QTest::newRow("SC anisotropic, then off")
        << QByteArray("IN;IP0,0,1000,1000;SC0,10,0,10;PU0,0;PD10,0;PR0,5;SC;PA0,0;")
        << 1000.0 + 500.0 + std::hypot(1000.0, 500.0) << 1000.0 << 500.0 << qint64(1);
    // Point factor: the user origin at P1, 40 plotter units per user unit.
    QTest::newRow("SC point factor")
        << QByteArray("IN;PU0,0;PD0,1;IP100,100,200,200;SC0,40,0,40,2;PU0,0;PD1,0;") << 41.0 << 140.0 << 100.0 << qint64(2);
    QTest::newRow("neutral forms of the coordinate commands")
        << QByteArray("RO;RO0;IW;SC;IP;DF;PU0,0;PD1,1;") << std::hypot(1.0, 1.0) << 1.0 << 1.0 << qint64(1);
    QTest::newRow("SC isotropic centres")
        << QByteArray("IP0,0,1000,500;SC0,10,0,10,1;PU0,0;PD10,10;") << std::hypot(500.0, 500.0) << 500.0 << 500.0 << qint64(1);
    QTest::newRow("SC isotropic, left share 0")
        << QByteArray("IP0,0,1000,500;SC0,10,0,10,1,0,0;PU0,0;PD10,0;") << 500.0 << 500.0 << 0.0 << qint64(1);
    QTest::newRow("PE relative, base 64") << QByteArray("PE_\xcb\xbf\xbfO\xc5;") << 600.0 << 400.0 << 200.0 << qint64(1);
    QTest::newRow("PE pen up, absolute") << QByteArray("PE<=G\xc2G\xc2_\xcb\xbf;") << 400.0 << 400.0 << 0.0 << qint64(1);
    QTest::newRow("PE seven bit") << QByteArray("PE7?x_;") << 400.0 << 400.0 << 0.0 << qint64(1);
    QTest::newRow("PE fraction bits") << QByteArray("PE>\xc1_\xcb\xbf;") << 200.0 << 200.0 << 0.0 << qint64(1);
    QTest::newRow("PE in user units")
        << QByteArray("IP0,0,1000,1000;SC0,10,0,10;PE=\xbf\xbf\xc3\xbf;") << 200.0 << 200.0 << 0.0 << qint64(1);
}

void TestPlotFormats::commands()
{
    measure(0.05 * PlotReader::UnitsPerMm);
}

void TestPlotFormats::polylines()
{
    PlotReader reader;
    QVERIFY(reader.read("PU5,5;PD10,5,10,8;PU;PD;PU;PU0,0;PD0,1;"));
    // A pen-down without a move cuts nothing and is not a stroke.
    QCOMPARE(reader.polylines().size(), 2);
    QCOMPARE(reader.polylines().at(0),
             (PlotReader::Polyline{{5, 5}, {10, 5}, {10, 8}}));
    QCOMPARE(reader.polylines().at(1), (PlotReader::Polyline{{0, 0}, {0, 1}}));
    QCOMPARE(reader.travelLength(), std::hypot(5.0, 5.0) + std::hypot(10.0, 8.0));

    reader.setKeepPolylines(false);
    QVERIFY(reader.read("PU5,5;PD10,5,10,8;"));
    QVERIFY(reader.polylines().isEmpty());
    QCOMPARE(reader.strokeCount(), qint64(1));
    QCOMPARE(reader.pathLength(), 8.0);
}

void TestPlotFormats::pens_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<double>("tool1");
    QTest::addColumn<double>("tool2");
    QTest::addColumn<QString>("pens"); // of each path, in order

    QTest::newRow("no pen selected") << QByteArray("PU0,0;PD400,0;") << 10.0 << 0.0 << "0";
    QTest::newRow("SP2 is the second tool, the rest the first")
        << QByteArray("IN;SP1;PU0,0;PD400,0;SP2;PD400,400;SP3;PD0,400;SP0;PD0,0;") << 30.0 << 10.0 << "1,2,3,0";
    QTest::newRow("PE pen flag") << QByteArray("PE:\xc3_\xcb\xbf;") << 0.0 << 10.0 << "2";
}

void TestPlotFormats::pens()
{
    QFETCH(QByteArray, plot);
    QFETCH(double, tool1);
    QFETCH(double, tool2);
    QFETCH(QString, pens);
    PlotReader reader;
    QVERIFY2(reader.read(plot), qPrintable(reader.errorString()));
    const PlotDocument &doc = reader.document();
    QStringList read;
    for (int i = 0; i < doc.pathCount(); ++i)
        read << QString::number(doc.sourceOf(i).pen);
    QCOMPARE(read.join(','), pens);
    QCOMPARE(doc.cutLength(1), tool1);
    QCOMPARE(doc.cutLength(2), tool2);
}

void TestPlotFormats::cancelled()
{
    // Another thread's Stop: the read ends at its next check.
    const std::atomic<bool> stop(true);
    PlotFile file;
    file.setCancelFlag(&stop);
    PlotDocument doc;
    QVERIFY(!file.read("IN;PU0,0;PD400,0;", doc));
    QVERIFY(file.cancelled());
    QCOMPARE(file.error(), QString("cancelled"));
}

void TestPlotFormats::errors_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<QString>("message");

    QTest::newRow("odd coordinates") << QByteArray("IN;\nPU0,0;PD10,0,5;") << qint64(10)
                                     << QString("byte 10 (line 2, column 7), command PD: odd number of coordinates");
    QTest::newRow("bad character in parameters") << QByteArray("PD10,#0;") << qint64(5)
                                                  << QString("command PD: unexpected character 0x23");
    QTest::newRow("malformed number") << QByteArray("PU0,0;PD-,1;") << qint64(8)
                                      << QString("malformed number");
    QTest::newRow("unknown command") << QByteArray("IN;QQ1;") << qint64(3) << QString("command QQ: unknown command");
    // Scaled far past any sheet: the written plot would not read back.
    QTest::newRow("scaled beyond range") << QByteArray("IN;IP0,0,4000,4000;SC0,1,0,1;PU0,0;PD1000000,0;") << qint64(35)
                                         << QString("command PD: draws beyond 25000000 mm from the origin");
    QTest::newRow("scaling without points") << QByteArray("IN;SC0,10,0,10;") << qint64(3)
                                            << QString("command SC: scaling needs explicit IP points");
    QTest::newRow("scaling type") << QByteArray("IP0,0,9,9;SC0,1,0,1,3;") << qint64(10)
                                  << QString("scaling type");
    QTest::newRow("rotation off the right angles") << QByteArray("RO45;") << qint64(0)
                                                   << QString("command RO: rotation other than");
    QTest::newRow("relative scaling points") << QByteArray("IN;IR10,10,90,90;") << qint64(3)
                                             << QString("command IR: relative scaling points");
    QTest::newRow("wedge") << QByteArray("PU0,0;WG10,0,90;") << qint64(6) << QString("command WG: draws geometry");
    QTest::newRow("encoded pair cut short") << QByteArray("PE_\xcb;") << qint64(0)
                                            << QString("command PE: encoded coordinates end mid-pair");
    QTest::newRow("binary") << QByteArray("IN;\x89PNG") << qint64(3) << QString("unexpected character 0x89");
    QTest::newRow("truncated command") << QByteArray("IN;P") << qint64(3) << QString("incomplete command");
    QTest::newRow("unterminated comment") << QByteArray("CO\"abc") << qint64(0) << QString("unterminated comment");
    QTest::newRow("huge number") << QByteArray("PU0," + QByteArray(40, '9') + ";") << qint64(4)
                                 << QString("command PU: number 99999999999999999999");
    QTest::newRow("huge exponent") << QByteArray("PD1e400,0;") << qint64(2) << QString("number 1e400 is out of range");
    // The pen would go round and round, cutting one circle many times.
    QTest::newRow("sweep of many turns") << QByteArray("IN;PU20,0;PD;AA20,10,999999999999;PU;") << qint64(13)
                                         << QString("command AA: sweep 999999999999° is out of range");
    QTest::newRow("sweep just past ten turns") << QByteArray("PA400,0;PD;AR-400,0,-3601;") << qint64(11)
                                               << QString("command AR: sweep -3601° is out of range");
    // Placed and written again it would start at the origin and end past the range.
    QTest::newRow("wider than placing leaves room for") << QByteArray("PU-999999999,0;PD999999999,0;") << qint64(15)
                                                         << QString("command PD: draws across more than 12500000 mm");
    QTest::newRow("pen number") << QByteArray("SP1;SP-1;") << qint64(4) << QString("command SP: pen -1 is out of range");
}

void TestPlotFormats::errors()
{
    QFETCH(QByteArray, plot);
    QFETCH(qint64, offset);
    QFETCH(QString, message);
    PlotReader reader;
    QVERIFY(!reader.read(plot));
    QVERIFY(reader.hasError());
    QCOMPARE(reader.errorOffset(), offset);
    QVERIFY2(reader.errorString().contains(message), qPrintable(reader.errorString()));
}

void TestPlotFormats::emptyAndMissing()
{
    PlotReader reader;
    QVERIFY(reader.read(QByteArray()));
    QCOMPARE(reader.pathLength(), 0.0);
    QVERIFY(reader.boundingBox().isNull());
    QVERIFY(reader.read(" ;\n;\r\n"));

    // A failed read leaves no result of an earlier one behind.
    QVERIFY(reader.read("PU0,0;PD10,0;"));
    QVERIFY(!reader.readFile(QStringLiteral("/nonexistent/plot.plt")));
    QVERIFY(reader.errorString().contains("/nonexistent/plot.plt"));
    QCOMPARE(reader.pathLength(), 0.0);
    QVERIFY(reader.read(""));
    QVERIFY(!reader.hasError());
}

void TestPlotFormats::samplePlot()
{
    PlotReader reader;
    QVERIFY2(reader.readFile(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt")),
             qPrintable(reader.errorString()));
    // Outer card 100 x 60 mm, two inner rectangles and a 48-gon circle.
    QCOMPARE(reader.width(), 100 * PlotReader::UnitsPerMm);
    QCOMPARE(reader.height(), 60 * PlotReader::UnitsPerMm);
    QCOMPARE(reader.strokeCount(), qint64(4));
    const double rects = (320 + 100 + 90) * PlotReader::UnitsPerMm;
    const double circle = 2 * M_PI * 12 * PlotReader::UnitsPerMm;
    QVERIFY(reader.pathLength() > rects + circle * 0.99);
    QVERIFY(reader.pathLength() < rects + circle);
    QCOMPARE(reader.polylines().last().first(), reader.polylines().last().last());
}

void TestPlotFormats::bigPlot()
{
    // ~4 MiB of short strokes in mixed spellings, past 2^16 lines; its
    // speed is bench_plot's business, the totals are checked here.
    QByteArray plot;
    plot.reserve(5 << 20);
    plot += "IN;SP1;";
    qint64 strokes = 0;
    while (plot.size() < (4 << 20)) {
        const int x = int(strokes % 1000) * 10;
        plot += "PU" + QByteArray::number(x) + ",0;PD" + QByteArray::number(x) + ",100,"
                + QByteArray::number(x + 5) + ",100\nPR0 -100;PA;";
        ++strokes;
    }
    PlotReader reader;
    reader.setKeepPolylines(false);
    QVERIFY(reader.read(plot));
    QCOMPARE(reader.strokeCount(), strokes);
    QCOMPARE(reader.pathLength(), 205.0 * strokes);
    QCOMPARE(reader.width(), 9995.0);
    QCOMPARE(reader.height(), 100.0);
    QVERIFY(strokes > 65536);

    // An error at the very end of a big file still names its line quickly.
    plot += "PD1;";
    QVERIFY(!reader.read(plot));
    QVERIFY(reader.errorString().contains(QByteArray::number(strokes + 1)));
}

void TestPlotFormats::sameDesign_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("format");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("paths");

    // A 100 x 60 mm rectangle and a 20 mm circle (shapes.ps), as each
    // program wrote it. Sizes: hp2xx -t for HP-GL, ezdxf's bbox.extents for
    // DXF, the PostScript source for SVG (libplot keeps true size).
    const int hpgl = int(PlotFile::Format::Hpgl), svg = int(PlotFile::Format::Svg), dxf = int(PlotFile::Format::Dxf);
    QTest::newRow("pstoedit HP-GL") << design("shapes.pstoedit.hpgl") << hpgl << 100.00 << 59.98 << 2;
    QTest::newRow("libplot SVG") << design("shapes.plotutils.svg") << svg << 100.0 << 60.0 << 2;
    QTest::newRow("libplot SVG, gzipped") << design("shapes.plotutils.svgz") << svg << 100.0 << 60.0 << 2;
    QTest::newRow("pstoedit DXF, lines and splines") << design("shapes.pstoedit.dxf") << dxf << 100.0 << 59.9997 << 2;
    QTest::newRow("ezdxf DXF") << design("shapes.ezdxf.dxf") << dxf << 100.0 << 60.0 << 2;
}

void TestPlotFormats::sameDesign()
{
    QFETCH(QString, file);
    QFETCH(int, format);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(int, paths);
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(file, doc), qPrintable(reader.error()));
    QCOMPARE(int(reader.format()), format);
    // References are given to 0.01 mm; the writers round to their units.
    const QRectF box = doc.boundingBox();
    QVERIFY2(std::abs(box.width() - width) <= 0.03, qPrintable(QString::number(box.width())));
    QVERIFY2(std::abs(box.height() - height) <= 0.03, qPrintable(QString::number(box.height())));
    QCOMPARE(doc.pathCount(), paths);
    for (int i = 0; i < doc.pathCount(); ++i)
        QVERIFY2(doc.path(i).closed, qPrintable(QString::number(i)));
    // Rectangle plus circle; the writers' own flattening and rounding keep
    // the circle within 0.3% of its true length.
    const double length = 2 * (width + height) + M_PI * 20;
    QVERIFY2(std::abs(doc.cutLength() - length) <= 0.003 * length, qPrintable(QString::number(doc.cutLength())));
}

void TestPlotFormats::dxfKinds()
{
    // Every entity kind, in centimetres; ezdxf reports 8.5 x 6.0 cm.
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(design("kinds.ezdxf.dxf"), doc), qPrintable(reader.error()));
    const QRectF box = doc.boundingBox();
    QVERIFY2(std::abs(box.width() - 85.0) <= 0.05, qPrintable(QString::number(box.width())));
    QVERIFY2(std::abs(box.height() - 60.0) <= 0.05, qPrintable(QString::number(box.height())));
    // Slot, line, arc, ellipse, spline and the block inserted twice.
    QCOMPARE(doc.pathCount(), 7);
    // The slot: 2 x 30 mm sides and two bulge half circles of 10 mm radius.
    QVERIFY(doc.path(0).closed);
    QVERIFY2(std::abs(doc.pathLength(0) - (60 + 20 * M_PI)) < 0.2, qPrintable(QString::number(doc.pathLength(0))));
    // The second insert doubles the block's 2.5 mm radius hole.
    QVERIFY2(std::abs(doc.pathLength(6) - 2 * M_PI * 5) < 0.1, qPrintable(QString::number(doc.pathLength(6))));
}

void TestPlotFormats::dxfSources()
{
    // ezdxf's layers: CUT red, CREASE blue, HIDDEN frozen, OFF switched off;
    // the block MARK (a circle on layer 0, a line on CREASE) inserted on CUT.
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(QStringLiteral(VX_SOURCE_DIR "/tests/data/corpus/dxf_layers.dxf"), doc),
             qPrintable(reader.error()));
    QStringList sources;
    for (int i = 0; i < doc.pathCount(); ++i)
        sources << doc.sourceOf(i).layer + QLatin1Char(' ') + doc.sourceOf(i).colour;
    const QStringList expected = {
        "CUT #ff0000",    // BYLAYER
        "CREASE #20a0ff", // true colour over the layer's
        "CUT #ff0000",    // layer 0 in a block: the insert's layer and its colour
        "CREASE #ffff00", // its own layer, index colour 2
    };
    QCOMPARE(sources, expected);
    QCOMPARE(reader.skipped(), QStringList({"2 on frozen layer HIDDEN", "1 on switched-off layer OFF"}));
}

void TestPlotFormats::otherPrograms()
{
    PlotFile reader;
    PlotDocument doc;
    // Outlined letters: hp2xx -t reports 133.40 x 31.15 mm.
    QVERIFY2(reader.readFile(design("letters.pstoedit.hpgl"), doc), qPrintable(reader.error()));
    QVERIFY(std::abs(doc.boundingBox().width() - 133.40) <= 0.005);
    QVERIFY(std::abs(doc.boundingBox().height() - 31.15) <= 0.005);
    QCOMPARE(doc.pathCount(), 16);

    // libplot fits the page (IP, SC, PM/EP), so only the proportions of
    // the 100 x 60 rectangle and the 20 mm circle are known.
    QVERIFY2(reader.readFile(design("shapes.plotutils.hpgl"), doc), qPrintable(reader.error()));
    QCOMPARE(doc.pathCount(), 2);
    const QRectF box = doc.boundingBox();
    QVERIFY2(std::abs(box.width() / box.height() - 100.0 / 60) < 0.002, qPrintable(QString::number(box.width() / box.height())));
    const double scale = box.width() / 100;
    QVERIFY(std::abs(doc.pathLength(0) - 320 * scale) < 0.001 * 320 * scale);
    QVERIFY(std::abs(doc.pathLength(1) - 20 * M_PI * scale) < 0.003 * 20 * M_PI * scale);
}

void TestPlotFormats::svgKinds()
{
    // Shapes, transforms, `use`, curves and text outlines on a 40 x 20 mm
    // page; svgelements puts the shapes in 36 x 18.75 mm, the text inside.
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(QStringLiteral(VX_SOURCE_DIR "/fuzz/corpus/fuzz_svg/kinds.svg"), doc),
             qPrintable(reader.error()));
    // The rect, circle, curve, ellipse, polyline, and "A" (2) and "b" (2).
    QCOMPARE(doc.pathCount(), 9);
    const QRectF box = doc.boundingBox();
    QVERIFY2(std::abs(box.width() - 36) < 0.01 && std::abs(box.height() - 18.75) < 0.01,
             qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
    // Y up: the polyline at the top edge of the page (y = 0) lands at 20 mm.
    QVERIFY(std::abs(box.bottom() - 20) < 1e-9);
}

void TestPlotFormats::svgSources()
{
    // Inkscape's layers (the outermost one wins), a top-level group's id,
    // the colour from an attribute, rgb(), style="" or the CSS sheet, and
    // the fill colour of a shape without stroke.
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(QStringLiteral(VX_SOURCE_DIR "/tests/data/corpus/svg_inkscape_layers.svg"), doc),
             qPrintable(reader.error()));
    const QVector<QPair<QString, QString>> expected{{"#ff0000", "Cut"}, {"#0000ff", "Cut"}, {"#00ff00", "Crease"},
                                                    {"#123456", "Crease"}, {"#0000ff", "loose"}};
    QCOMPARE(doc.pathCount(), expected.size());
    for (int i = 0; i < doc.pathCount(); ++i) {
        QCOMPARE(doc.sourceOf(i).colour, expected[i].first);
        QCOMPARE(doc.sourceOf(i).layer, expected[i].second);
    }
}

void TestPlotFormats::svgSkipped_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("paths");
    QTest::addColumn<QStringList>("kinds");

    QTest::newRow("image") << QByteArray("<image width='10' height='10' href='a.png'/><rect width='5' height='5' stroke='red'/>")
                           << 1 << QStringList{"image"};
    QTest::newRow("markers are not drawn")
        << QByteArray("<marker id='m'><path d='M0 0 L1 1' stroke='red'/></marker><path d='M0 0 H9' stroke='red' marker-end='url(#m)'/>")
        << 1 << QStringList{"marker"};
    QTest::newRow("degenerate shapes")
        << QByteArray("<rect width='0' height='5' stroke='red'/><circle r='0' stroke='red'/><path d='M1 1' stroke='red'/>")
        << 0 << QStringList{"rect", "circle", "path"};
    QTest::newRow("use of nothing") << QByteArray("<use href='#none'/>") << 0 << QStringList{"use"};
    QTest::newRow("invisible on purpose")
        << QByteArray("<rect width='9' height='9' fill='none'/><rect width='9' height='9' fill='#FFF'/>"
                      "<rect width='9' height='9' stroke='red' visibility='hidden'/><rect width='9' height='9' opacity='0' display='none'/>")
        << 0 << QStringList();
}

// What draws in a viewer but yields no path is counted, never dropped
// silently; what is meant invisible is not counted.
void TestPlotFormats::svgSkipped()
{
    QFETCH(QByteArray, body);
    QFETCH(int, paths);
    QFETCH(QStringList, kinds);
    SvgReader reader;
    PlotDocument doc;
    QVERIFY2(reader.read("<svg xmlns='http://www.w3.org/2000/svg' width='10mm' height='10mm'>" + body + "</svg>", doc),
             qPrintable(reader.error()));
    QCOMPARE(doc.pathCount(), paths);
    QCOMPARE(reader.skippedKinds(), kinds);
    QCOMPARE(reader.skipped(), kinds.size());
}

void TestPlotFormats::refused_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("message");

    QTest::newRow("HP-GL label") << QByteArray("IN;PU0,0;\nLBhello\x03;") << "HP-GL: byte 10 (line 2, column 1), command LB";
    QTest::newRow("SVG not well formed")
        << QByteArray("<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\">\n<path d=\"M0 0\"</svg>")
        << "SVG: line 3";
    QTest::newRow("SVG without size")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"><path d=\"M0 0 L1 1\"/></svg>") << "no usable size";
    QTest::newRow("SVG path data broken")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\" height=\"10mm\">\n<path d=\"M0 0 L1\" stroke=\"red\"/></svg>")
        << "SVG: <path> at line 2: the path data is not readable";
    QTest::newRow("SVG unknown unit")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\" height=\"10mm\"><rect width=\"2furlong\"/></svg>")
        << "<rect> at line 1: width \"2furlong\" is not a length";
    QTest::newRow("SVG use nested past the bound")
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\" height=\"10mm\"><rect id=\"u0\" width=\"1\" height=\"1\" stroke=\"red\"/>")
               + [] { QByteArray uses; for (int i = 1; i <= 40; ++i) uses += "<use id=\"u" + QByteArray::number(i) + "\" href=\"#u" + QByteArray::number(i - 1) + "\"/>"; return uses; }()
               + "</svg>"
        << "<use> nested deeper than 32";
    QTest::newRow("gzip cut short") << QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3", 11) << "SVG: compressed data";
    QTest::newRow("DXF text entity")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2F\n8\n0\n10\n0\n20\n0\n40\n5\n1\nHi\n0\nENDSEC\n0\nEOF\n")
        << "DXF: entity TEXT (handle 2F)";
    QTest::newRow("HP-GL circles beyond any plot")
        << QByteArray("PU0,0;") + QByteArray("CI249999999;").repeated(200) << "command CI: the drawing expands";
    // libdime trusted the count and read a null array (found by fuzz_dxf).
    QTest::newRow("DXF spline count without its points")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n71\n3\n72\n0\n73\n4\n0\nENDSEC\n0\nEOF\n")
        << "DXF: SPLINE at line 6: control points do not match their count";
    // libdime's traversal recursed until the stack ran out.
    QTest::newRow("DXF blocks inserting each other")
        << dxfBlocks(2, "0\nINSERT\n2\n%1\n", "0\nINSERT\n2\nB2\n").replace("2\nB0\n0\nPOINT", "2\nB0\n0\nINSERT\n2\nB2")
        << "DXF: block B2 inserts itself through B1, B0";
    QTest::newRow("DXF blocks nested deeper than any drawing")
        << dxfBlocks(40, "0\nINSERT\n2\n%1\n", "0\nINSERT\n2\nB40\n") << "DXF: blocks nest more than 16 deep";
    // 1000 x 1000 arrays of arrays: a trillion cells of nothing, once ran for hours.
    QTest::newRow("DXF nested insert arrays")
        << dxfBlocks(2, "0\nINSERT\n2\n%1\n70\n1000\n71\n1000\n", "0\nINSERT\n2\nB2\n70\n1000\n71\n1000\n")
        << "DXF: the drawing takes more than";
    QTest::newRow("DXF arc in a tilted plane")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nARC\n5\n1A\n10\n0\n20\n0\n40\n5\n50\n0\n51\n90\n"
                      "210\n0\n220\n1\n230\n0\n0\nENDSEC\n0\nEOF\n")
        << "DXF: entity ARC (handle 1A) lies in a plane tilted out of the drawing (extrusion 0, 1, 0)";
    QTest::newRow("PNG image") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "not a design file: PNG image";
    QTest::newRow("gzip, not SVG") << QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xf3\xf4\xb3\x0e\x08\x35\xd0\x31\xb0\x0e\x70\x31\x01\x51\x5c\x00\x97\x03\x66\x4f\x11\x00\x00\x00", 34)
                                   << "not a design file: gzip data that is not SVG";
    QTest::newRow("DXF broken") << QByteArray("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n") << "DXF: not a readable DXF file";
}

void TestPlotFormats::refused()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, message);
    PlotFile reader;
    PlotDocument doc;
    QVERIFY(!reader.read(data, doc));
    QVERIFY2(reader.error().contains(message), qPrintable(reader.error()));
}

// Text outlines need the font database, hence a GUI application.
QTEST_MAIN(TestPlotFormats)
#include "tst_plotformats.moc"
