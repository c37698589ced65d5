// SPDX-License-Identifier: LGPL-2.1-or-later
// Inputs the fuzzers found faults with, as readable cases. The raw inputs
// stay under fuzz/corpus/ and are replayed there too.
#include "PlotReader.h"

#include <QtTest>

class TestFuzzFound : public QObject
{
    Q_OBJECT
private slots:
    void plots_data();
    void plots();
};

void TestFuzzFound::plots_data()
{
    QTest::addColumn<QByteArray>("plot");
    QTest::addColumn<bool>("ok");

    // SC's type went through int before it was checked: undefined beyond int.
    QTest::newRow("SC type beyond int") << QByteArray("IN;IP0,0,4000,4000;SC0,100,0,100,66066700000;PD1,1;") << false;
    QTest::newRow("SC type below int") << QByteArray("IN;IP0,0,4000,4000;SC0,100,0,100,-1e300;PD1,1;") << false;
    QTest::newRow("SC type 2 still scales") << QByteArray("IN;IP0,0,4000,4000;SC0,100,0,100,2;PD100,100;") << true;
    QTest::newRow("SC type 2.5 truncates to 2") << QByteArray("IN;IP0,0,4000,4000;SC0,100,0,100,2.5;PD100,100;") << true;
}

void TestFuzzFound::plots()
{
    QFETCH(QByteArray, plot);
    QFETCH(bool, ok);
    PlotReader reader;
    QCOMPARE(reader.read(plot), ok);
    if (!ok)
        QVERIFY(reader.errorString().contains("SC"));
}

QTEST_MAIN(TestFuzzFound)
#include "tst_fuzzfound.moc"
