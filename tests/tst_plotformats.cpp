// SPDX-License-Identifier: LGPL-2.1-or-later
// The readers against designs other programs wrote (tests/data/plot, made
// by make.sh there), with the sizes those programs report.
#include "PlotFile.h"

#include <QtTest>

#include <cmath>

namespace {
QString sample(const char *name) { return QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/") + QLatin1String(name); }
}

class TestPlotFormats : public QObject
{
    Q_OBJECT

private slots:
    void sameDesign_data();
    void sameDesign();
    void dxfKinds();
    void otherPrograms();
    void svgKinds();
    void refused_data();
    void refused();
};

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
    QTest::newRow("pstoedit HP-GL") << sample("shapes.pstoedit.hpgl") << hpgl << 100.00 << 59.98 << 2;
    QTest::newRow("libplot SVG") << sample("shapes.plotutils.svg") << svg << 100.0 << 60.0 << 2;
    QTest::newRow("libplot SVG, gzipped") << sample("shapes.plotutils.svgz") << svg << 100.0 << 60.0 << 2;
    QTest::newRow("pstoedit DXF, lines and splines") << sample("shapes.pstoedit.dxf") << dxf << 100.0 << 59.9997 << 2;
    QTest::newRow("ezdxf DXF") << sample("shapes.ezdxf.dxf") << dxf << 100.0 << 60.0 << 2;
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
    QVERIFY2(reader.readFile(sample("kinds.ezdxf.dxf"), doc), qPrintable(reader.error()));
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

void TestPlotFormats::otherPrograms()
{
    PlotFile reader;
    PlotDocument doc;
    // Outlined letters: hp2xx -t reports 133.40 x 31.15 mm.
    QVERIFY2(reader.readFile(sample("letters.pstoedit.hpgl"), doc), qPrintable(reader.error()));
    QVERIFY(std::abs(doc.boundingBox().width() - 133.40) <= 0.005);
    QVERIFY(std::abs(doc.boundingBox().height() - 31.15) <= 0.005);
    QCOMPARE(doc.pathCount(), 16);

    // libplot fits the page (IP, SC, PM/EP), so only the proportions of
    // the 100 x 60 rectangle and the 20 mm circle are known.
    QVERIFY2(reader.readFile(sample("shapes.plotutils.hpgl"), doc), qPrintable(reader.error()));
    QCOMPARE(doc.pathCount(), 2);
    const QRectF box = doc.boundingBox();
    QVERIFY2(std::abs(box.width() / box.height() - 100.0 / 60) < 0.002, qPrintable(QString::number(box.width() / box.height())));
    const double scale = box.width() / 100;
    QVERIFY(std::abs(doc.pathLength(0) - 320 * scale) < 0.001 * 320 * scale);
    QVERIFY(std::abs(doc.pathLength(1) - 20 * M_PI * scale) < 0.003 * 20 * M_PI * scale);
}

void TestPlotFormats::svgKinds()
{
    // Shapes, transforms, `use`, curves and text, as Qt paints them.
    PlotFile reader;
    PlotDocument doc;
    QVERIFY2(reader.readFile(QStringLiteral(VX_SOURCE_DIR "/fuzz/corpus/fuzz_svg/kinds.svg"), doc),
             qPrintable(reader.error()));
    // 400 x 200 user units on 40 x 20 mm: the rect, circle, curve, ellipse,
    // polyline, and the outlines of "A" (2) and "b" (2).
    QCOMPARE(doc.pathCount(), 9);
    const QRectF box = doc.boundingBox();
    QVERIFY(box.left() >= 0 && box.right() <= 40 && box.top() >= 0 && box.bottom() <= 20);
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
    QTest::newRow("gzip cut short") << QByteArray("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\xb3", 11) << "SVG: compressed data";
    QTest::newRow("DXF text entity")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2F\n8\n0\n10\n0\n20\n0\n40\n5\n1\nHi\n0\nENDSEC\n0\nEOF\n")
        << "DXF: entity TEXT (handle 2F)";
    QTest::newRow("HP-GL circles beyond any plot")
        << QByteArray("PU0,0;") + QByteArray("CI999999999;").repeated(100) << "command CI: the drawing expands";
    // libdime trusted the count and read a null array (found by fuzz_dxf).
    QTest::newRow("DXF spline count without its points")
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nSPLINE\n8\n0\n71\n3\n72\n0\n73\n4\n0\nENDSEC\n0\nEOF\n")
        << "DXF: SPLINE at line 6: control points do not match their count";
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
