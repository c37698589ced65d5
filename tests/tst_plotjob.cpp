// SPDX-License-Identifier: LGPL-2.1-or-later
// The one plot-job loader both hosts use: facts, preview, and the file
// checks, on real files, a FIFO and a sparse file.
#include "PlotJob.h"
#include "PlotWriter.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <sys/stat.h>

class TestPlotJob : public QObject
{
    Q_OBJECT
private slots:
    void facts();
    void errors_data();
    void errors();
    void textReachesTheWireUnchanged();

private:
    QTemporaryDir m_tmp;
};

void TestPlotJob::facts()
{
    const QString path = m_tmp.filePath(QStringLiteral("wide.plt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    // 200 x 50 mm rectangle, drawn away from the origin.
    f.write("IN;SP1;PU400,400;PD8400,400,8400,2400,400,2400,400,400;PU0,0;SP0;");
    f.close();
    PlotJob job;
    QString error;
    QVERIFY2(job.load(path, error), qPrintable(error));
    QCOMPARE(job.fileName, QStringLiteral("wide.plt"));
    const QJsonObject info = job.fileInfo();
    QCOMPARE(info.value(QStringLiteral("width")).toInt(), 200);
    QCOMPARE(info.value(QStringLiteral("heigth")).toInt(), 50);
    QCOMPARE(info.value(QStringLiteral("path_length")).toInt(), 500);
    // 500 mm at 100 mm/s plus the travel at 200 mm/s, two copies.
    const int travel = qRound(job.travelMm);
    QCOMPARE(job.estimateSeconds(100, 200, 2), int(std::ceil((5.0 + travel / 200.0) * 2)));
    QCOMPARE(job.estimateSeconds(0, 200, 1), -1);

    QImage preview;
    QVERIFY(preview.loadFromData(job.preview, "PNG"));
    QVERIFY(preview.width() <= PlotJob::PreviewSide && preview.height() <= PlotJob::PreviewSide);
    QVERIFY(preview.width() > 3 * preview.height());   // keeps the plot's proportions
    // Ink on the outline, paper inside.
    QVERIFY(qGray(preview.pixel(preview.width() / 2, preview.height() / 2)) > 200);
    int dark = 0;
    for (int x = 0; x < preview.width(); ++x)
        dark += qGray(preview.pixel(x, 4)) < 128 ? 1 : 0;
    QVERIFY(dark > preview.width() / 2);
}


enum class Setup { Content, Fifo, Directory, Oversized };
Q_DECLARE_METATYPE(Setup)

void TestPlotJob::errors_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << Setup::Content << QByteArray() << "cuts nothing";
    QTest::newRow("pen never down") << Setup::Content << QByteArray("IN;PU100,100;PU0,0;") << "cuts nothing";
    QTest::newRow("odd coordinates") << Setup::Content << QByteArray("IN;PD100,100,200;") << "PD";
    // A reader would block on it for ever.
    QTest::newRow("fifo") << Setup::Fifo << QByteArray() << "not a regular file";
    QTest::newRow("directory") << Setup::Directory << QByteArray() << "not a regular file";
    // Sparse: the size is checked before a byte is read. The "%2" in the
    // name must not take the size's place.
    QTest::newRow("oversized %2") << Setup::Oversized << QByteArray() << "larger than 512 MiB";
    // Unreadable content names the format read from it and where.
    QTest::newRow("SVG not well formed") << Setup::Content
        << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10mm\">\n<path d=\"M0 0\"</svg>")
        << "SVG: line 2";
    QTest::newRow("DXF entity that cannot be cut") << Setup::Content
        << QByteArray("0\nSECTION\n2\nENTITIES\n0\nTEXT\n5\n2F\n8\n0\n10\n0\n20\n0\n40\n5\n1\nHi\n0\nENDSEC\n0\nEOF\n")
        << "DXF: entity TEXT";
}

void TestPlotJob::errors()
{
    QFETCH(Setup, setup);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = m_tmp.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')));
    switch (setup) {
    case Setup::Content: {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        break;
    }
    case Setup::Fifo:
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Setup::Directory:
        QVERIFY(QDir().mkpath(path));
        break;
    case Setup::Oversized: {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(PlotJob::MaxBytes + 1));
        break;
    }
    }
    PlotJob job;
    QString error;
    QVERIFY(!job.load(path, error));
    QVERIFY2(error.contains(path) && error.contains(message), qPrintable(error));
}

void TestPlotJob::textReachesTheWireUnchanged()
{
    // The text sent is the writer's, made from the placed and ordered
    // paths: a title the locale cannot encode (Latin-1 0xE9 under UTF-8)
    // no longer reaches the wire, and the plan the view keeps is the one
    // the text was written from.
    const QByteArray bytes("IN;BP\"caf\xe9\";SP1;PU0,0;PD400,0,400,400;PU4000,0;PD4400,0;SP0;");
    const QString path = m_tmp.filePath(QStringLiteral("label.plt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    PlotOptions options;
    options.passes = 2;
    options.placement.margin = 5;
    PlotJob job;
    PlotPlan plan;
    QString error;
    QVERIFY2(job.load(path, options, error, &plan), qPrintable(error));
    QCOMPARE(job.format, QStringLiteral("HP-GL"));
    QCOMPARE(job.text.toLocal8Bit(), PlotWriter::toByteArray(plan.sent()));
    QVERIFY(job.text.startsWith(QLatin1String("IN;SP1;\nPU200,200;")));
    QCOMPARE(job.report.paths, 4);
    QCOMPARE(qRound(job.pathMm), 2 * 30);
}

QTEST_GUILESS_MAIN(TestPlotJob)
#include "tst_plotjob.moc"
