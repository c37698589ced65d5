// SPDX-License-Identifier: LGPL-2.1-or-later
// The rest of a copy after the machine gave it up: it starts at the stroke
// under way at the machine's percent, never after it, in plotter units.
#include "PlotJob.h"
#include "PlotReader.h"
#include "PlotRemainder.h"

#include <QTest>

class TestPlotRemainder : public QObject
{
    Q_OBJECT
private slots:
    void start_data();
    void start();
};

void TestPlotRemainder::start_data()
{
    QTest::addColumn<QString>("plot");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("first");     // index of the first stroke cut again; -1: nothing left
    // Three 10 mm strokes 90 mm apart; at 10 mm/s both ways: cut 0-1 s,
    // travel 1-10, cut 10-11, travel 11-20, cut 20-21.
    const QString line = QStringLiteral("IN;PU0,0;PD400,0;PU4000,0;PD4400,0;PU8000,0;PD8400,0;");
    QTest::newRow("untouched") << line << 0 << 0;
    QTest::newRow("inside the first stroke") << line << 4 << 0;
    QTest::newRow("travelling to the second") << line << 5 << 1;
    QTest::newRow("inside the second stroke") << line << 50 << 1;
    QTest::newRow("travelling to the third") << line << 53 << 2;
    QTest::newRow("inside the last stroke") << line << 99 << 2;
    QTest::newRow("cut through") << line << 100 << -1;
    // A pen-up detour the stroke list does not show: the machine is still
    // travelling to the second stroke at 50 %, so the start may only be earlier.
    QTest::newRow("pen-up detour") << QStringLiteral("IN;PU0,0;PD400,0;PU0,8000;PU4000,0;PD4400,0;") << 50 << 0;
    // User units: the rest is written in plotter units, the same strokes.
    QTest::newRow("scaled plot") << QStringLiteral("IN;IP0,0,4000,4000;SC0,100,0,100;PU0,0;PD10,0;PU50,0;PD60,0;")
                                 << 60 << 1;
}

void TestPlotRemainder::start()
{
    QFETCH(QString, plot);
    QFETCH(int, percent);
    QFETCH(int, first);
    PlotJob whole;
    whole.text = plot;
    PlotJob rest;
    QString error;
    int from = -2;
    const bool ok = PlotRemainder::make(whole, percent, 10, 10, &rest, &error, &from);
    QCOMPARE(ok, first >= 0);
    if (!ok)
        return;
    QCOMPARE(from, first);
    PlotReader original, cut;
    QVERIFY(original.read(plot.toLatin1()));
    QVERIFY2(cut.read(rest.text.toLatin1()), qPrintable(cut.errorString()));
    QCOMPARE(cut.polylines(), original.polylines().mid(first));
}

QTEST_GUILESS_MAIN(TestPlotRemainder)
#include "tst_plotremainder.moc"
