// SPDX-License-Identifier: LGPL-2.1-or-later
// What the user types against what the machine stores, through a real
// model device's records and their editor descriptions.
#include "RecordValue.h"
#include "PluginHost.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QBoxLayout>
#include <QSpinBox>
#include <QTest>
#include <QtMath>

class TestRecordValue : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void parse_data();
    void parse();
    void sameWord();
    void editorSpec_data();
    void editorSpec();
    void editorAndHostAgree_data();
    void editorAndHostAgree();

private:
    VXDeviceProperty *record(const char *key) { return m_device->property_ptr(key); }

    PluginHost m_plugin;
    VXDeviceInterface *m_device = nullptr;
};

void TestRecordValue::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    m_device = m_plugin.root()->initInstance();
    QVERIFY(m_device);
}

void TestRecordValue::cleanupTestCase()
{
    delete m_device;
}

void TestRecordValue::parse_data()
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


void TestRecordValue::parse()
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


void TestRecordValue::sameWord()
{
    // A multi-word reading comes back as int; the written value was uint.
    QVERIFY(RecordValue::same(QVariant(-300), QVariant(uint(4294966996u))));
    QVERIFY(RecordValue::same(QVariant(5u), QVariant(5)));
    QVERIFY(!RecordValue::same(QVariant(5u), QVariant(6)));
    QVERIFY(RecordValue::same(QVariant(QStringLiteral("A")), QVariant(QStringLiteral("A"))));
}


void TestRecordValue::editorSpec_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("options");
    QTest::newRow("bounded spin box") << QByteArray("PU_SPEED") << "QSpinBox" << 1.0 << 10.0 << 700.0 << 0;
    QTest::newRow("editors' default bounds") << QByteArray("FEED_LENGTH") << "QSpinBox" << 1.0 << 0.0 << 1000.0 << 0;
    QTest::newRow("factor") << QByteArray("SP2_PRESSURE") << "QSpinBox" << 1.5 << 0.0 << 900.0 << 0;
    QTest::newRow("combo box") << QByteArray("WORK_MODE") << "QComboBox" << 1.0 << 0.0 << 0.0 << 3;
}

void TestRecordValue::editorSpec()
{
    QFETCH(QByteArray, key);
    QFETCH(QString, kind);
    QFETCH(double, factor);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, options);
    const EditorSpec e = EditorSpec::of(record(key.constData()));
    QCOMPARE(e.kind, kind);
    QCOMPARE(e.factor, factor);
    QCOMPARE(e.min, min);
    QCOMPARE(e.max, max);
    QCOMPARE(e.options.size(), options);
    // Option texts are shown trimmed, as the editor lists them.
    for (const QString &o : e.options)
        QCOMPARE(o, o.trimmed());
}

void TestRecordValue::editorAndHostAgree_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonValue>("factor");   // undefined: none given
    const QJsonValue none(QJsonValue::Undefined);
    QTest::newRow("decimal box without bounds") << "QDoubleSpinBox" << none;
    QTest::newRow("whole box without bounds") << "QSpinBox" << none;
    QTest::newRow("factor 0") << "QSpinBox" << QJsonValue(0.0);
    QTest::newRow("factor NaN") << "QSpinBox" << QJsonValue(qQNaN());
    QTest::newRow("factor inf") << "QSpinBox" << QJsonValue(qInf());
}

void TestRecordValue::editorAndHostAgree()
{
    QFETCH(QString, kind);
    QFETCH(QJsonValue, factor);
    QJsonObject desc{{QStringLiteral("widget"), kind}};
    if (!factor.isUndefined())
        desc.insert(QStringLiteral("factor"), factor);
    VXDeviceProperty r;
    r.init(0, QString(), QString(), 0, 0, 1, VXDeviceInterface::UnCMD, {});
    r.setProperty("WIDGET", desc);
    QWidget panel;
    new QVBoxLayout(&panel);
    r.create_ui_ctrl(&panel, QStringLiteral("probe"), false);
    auto *box = panel.findChild<QAbstractSpinBox *>(QStringLiteral("probe"));
    QVERIFY(box);
    const EditorSpec e = EditorSpec::of(&r);
    const double max = box->property("maximum").toDouble();
    QCOMPARE(e.max, max);
    QCOMPARE(e.min, box->property("minimum").toDouble());
    // The factor the editor scales by: a value inside its range, shown.
    const double stored = max > 0 ? 7 : 0;
    r.setValue(stored);
    r.to_ui_ctrl();
    QCOMPARE(e.factor * stored, box->property("value").toDouble());
}

QTEST_MAIN(TestRecordValue)
#include "tst_recordvalue.moc"
