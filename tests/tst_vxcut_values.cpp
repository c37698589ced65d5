// vxcut's translation between what the user types and what the machine
// stores, its profile files and its plot facts, on a real model device.
#include "PlotJob.h"
#include "PluginHost.h"
#include "Profile.h"
#include "RecordValue.h"
#include "ExitCodes.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestVxcutValues : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void parse_data();
    void parse();
    void sameWord();
    void profileRoundTrip();
    void profileErrors_data();
    void profileErrors();
    void plotFacts();
    void plotErrors_data();
    void plotErrors();

private:
    VXDeviceProperty *record(const char *key) { return m_device->property_ptr(key); }

    PluginHost m_plugin;
    VXDeviceInterface *m_device = nullptr;
    QTemporaryDir m_tmp;
};

void TestVxcutValues::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    m_device = m_plugin.root()->initInstance();
    QVERIFY(m_device);
}

void TestVxcutValues::cleanupTestCase()
{
    delete m_device;
}

void TestVxcutValues::parse_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QVariant>("stored");   // invalid: the input is refused
    QTest::addColumn<QString>("shown");

    const QVariant refused;
    QTest::newRow("spin box") << QByteArray("PU_SPEED") << "300" << QVariant(300u) << "300";
    QTest::newRow("spin box minimum") << QByteArray("PU_SPEED") << "10" << QVariant(10u) << "10";
    QTest::newRow("below minimum") << QByteArray("PU_SPEED") << "9" << refused << "";
    QTest::newRow("above maximum") << QByteArray("PU_SPEED") << "701" << refused << "";
    QTest::newRow("not a number") << QByteArray("PU_SPEED") << "fast" << refused << "";
    QTest::newRow("infinity") << QByteArray("PU_SPEED") << "inf" << refused << "";
    QTest::newRow("default bounds 0..1000") << QByteArray("FEED_LENGTH") << "1001" << refused << "";
    QTest::newRow("factor 1.5") << QByteArray("SP2_PRESSURE") << "900" << QVariant(600u) << "900";
    QTest::newRow("factor rounds to the word") << QByteArray("SP2_PRESSURE") << "100" << QVariant(67u) << "101";
    QTest::newRow("negative offset") << QByteArray("TOOL_SPACE_X") << "-1.5" << QVariant(-300) << "-1.500";
    QTest::newRow("offset limit") << QByteArray("CAMERA_OFFSET_Y") << "1000" << QVariant(200000) << "1000.000";
    QTest::newRow("offset beyond limit") << QByteArray("CAMERA_OFFSET_Y") << "1000.01" << refused << "";
    QTest::newRow("signed single word") << QByteArray("PAGE_SPACE") << "-100" << QVariant(-1000) << "-100.000";
    QTest::newRow("line edit factor") << QByteArray("WORKAREA_X") << "600" << QVariant(1200u) << "600";
    QTest::newRow("tiny factor") << QByteArray("SCALE_X") << "1" << QVariant(10000u) << "1";
    QTest::newRow("negative into unsigned") << QByteArray("SCALE_X") << "-1" << refused << "";
    QTest::newRow("choice by index") << QByteArray("WORK_MODE") << "2" << QVariant(2u) << "";
    QTest::newRow("choice out of range") << QByteArray("WORK_MODE") << "3" << refused << "";
    QTest::newRow("choice by text") << QByteArray("SP2_TOOL") << "" << QVariant() << "";
    QTest::newRow("text") << QByteArray("DEVICE_ID") << "  VX-42 " << QVariant(QStringLiteral("VX-42")) << "VX-42";
}

void TestVxcutValues::parse()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, input);
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    VXDeviceProperty *r = record(key.constData());
    QVERIFY(r);
    if (input.isEmpty()) {
        // Choice texts follow the language: type back what is shown.
        const QString text = RecordValue::shown(r, QVariant(1u));
        input = text.toUpper();
        stored = QVariant(1u);
        shown = text;
    }
    QVariant got;
    QString error;
    const bool ok = RecordValue::parse(r, input, got, error);
    QCOMPARE(ok, stored.isValid());
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(got.userType(), stored.userType());
    QCOMPARE(got, stored);
    if (!shown.isEmpty())
        QCOMPARE(RecordValue::shown(r, got), shown);
}

void TestVxcutValues::sameWord()
{
    // A multi-word reading comes back as int; the written value was uint.
    QVERIFY(RecordValue::same(QVariant(-300), QVariant(uint(4294966996u))));
    QVERIFY(RecordValue::same(QVariant(5u), QVariant(5)));
    QVERIFY(!RecordValue::same(QVariant(5u), QVariant(6)));
    QVERIFY(RecordValue::same(QVariant(QStringLiteral("A")), QVariant(QStringLiteral("A"))));
}

void TestVxcutValues::profileRoundTrip()
{
    const QStringList keys = Profile::settingKeys(m_device);
    // Groups expand to their members; names without a record are skipped.
    QVERIFY(keys.contains(QStringLiteral("TOOL_SPACE_X")));
    QVERIFY(keys.contains(QStringLiteral("FEED_SPEED")));
    QVERIFY(!keys.contains(QStringLiteral("TOOL_SPACE")));
    QVERIFY(!keys.contains(QStringLiteral("SP1")));

    record("TOOL_SPACE_X")->assignDecoded(-300);
    record("SP2_PRESSURE")->assignDecoded(600u);
    record("WORK_MODE")->assignDecoded(2u);
    record("SP2_SPEED")->assignDecoded(250u);
    record("PU_SPEED")->assignDecoded(0u);   // the factory value, below the editor's 10
    const QString text = Profile::render(m_device, keys, QStringLiteral("# header\n"));
    QList<Profile::Entry> entries;
    int code = 0;
    QString error;
    QVERIFY2(Profile::parse(text, m_device, entries, code, error), qPrintable(error));
    QStringList parsed;
    for (const Profile::Entry &e : entries) {
        parsed << e.key;
        QVERIFY2(RecordValue::same(e.stored, e.record->value()), qPrintable(e.key + QLatin1String(" = ") + e.text));
    }
    for (const char *key : {"TOOL_SPACE_X", "SP2_PRESSURE", "WORK_MODE", "SP2_SPEED"})
        QVERIFY(parsed.contains(QLatin1String(key)));
    QVERIFY(!parsed.contains(QStringLiteral("PU_SPEED")));
    QVERIFY(text.contains(QStringLiteral("# PU_SPEED = 0")));
}

void TestVxcutValues::profileErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("where");

    QTest::newRow("unknown key") << "PU_SPEED = 300\nNOPE = 1\n" << int(ExitCode::UnknownKey) << "line 2";
    QTest::newRow("bad value") << "# c\n\nFAN_DELAY = 10001 # ms\n" << int(ExitCode::BadValue) << "line 3";
    QTest::newRow("read-only") << "FIRMWARE = 2\n" << int(ExitCode::BadValue) << "line 1";
    QTest::newRow("twice") << "PU_SPEED = 300\nPU_SPEED = 400\n" << int(ExitCode::BadValue) << "line 2";
    QTest::newRow("no equals sign") << "PU_SPEED 300\n" << int(ExitCode::BadValue) << "line 1";
}

void TestVxcutValues::profileErrors()
{
    QFETCH(QString, text);
    QFETCH(int, exitCode);
    QFETCH(QString, where);
    QList<Profile::Entry> entries;
    int code = 0;
    QString error;
    QVERIFY(!Profile::parse(text, m_device, entries, code, error));
    QCOMPARE(code, exitCode);
    QVERIFY2(error.startsWith(where), qPrintable(error));
}

void TestVxcutValues::plotFacts()
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

void TestVxcutValues::plotErrors_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "cuts nothing";
    QTest::newRow("pen never down") << QByteArray("IN;PU100,100;PU0,0;") << "cuts nothing";
    QTest::newRow("odd coordinates") << QByteArray("IN;PD100,100,200;") << "PD";
}

void TestVxcutValues::plotErrors()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    const QString path = m_tmp.filePath(QStringLiteral("bad.plt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    f.close();
    PlotJob job;
    QString error;
    QVERIFY(!job.load(path, error));
    QVERIFY2(error.contains(path) && error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestVxcutValues)
#include "tst_vxcut_values.moc"
