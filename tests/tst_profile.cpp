// SPDX-License-Identifier: LGPL-2.1-or-later
// Settings profiles: rendered from a real model device's records and parsed
// back against them.
#include "Profile.h"
#include "RecordValue.h"
#include "PluginHost.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QTest>

class TestProfile : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void roundTrip();
    void errors_data();
    void errors();

private:
    VXDeviceProperty *record(const char *key) { return m_device->property_ptr(key); }

    PluginHost m_plugin;
    VXDeviceInterface *m_device = nullptr;
};

void TestProfile::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
    m_device = m_plugin.root()->initInstance();
    QVERIFY(m_device);
}

void TestProfile::cleanupTestCase()
{
    delete m_device;
}

void TestProfile::roundTrip()
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
    const Failure f = Profile::parse(text, m_device, entries);
    QVERIFY2(!f, qPrintable(f.message));
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


void TestProfile::errors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("arguments");   // KEY=VALUE arguments of a command line

    QTest::newRow("unknown key") << "PU_SPEED = 300\nNOPE = 1\n" << int(Failure::UnknownKey) << "line 2" << false;
    QTest::newRow("bad value") << "# c\n\nFAN_DELAY = 10001 # ms\n" << int(Failure::BadValue) << "line 3" << false;
    QTest::newRow("read-only") << "FIRMWARE = 2\n" << int(Failure::BadValue) << "line 1" << false;
    QTest::newRow("twice") << "PU_SPEED = 300\nPU_SPEED = 400\n" << int(Failure::BadValue) << "line 2" << false;
    QTest::newRow("no equals sign") << "PU_SPEED 300\n" << int(Failure::BadValue) << "line 1" << false;
    QTest::newRow("argument") << "PU_SPEED=300\nNOPE=1" << int(Failure::UnknownKey) << "argument 2" << true;
    // What was typed is quoted as typed, "line " in it too.
    QTest::newRow("argument quoted") << "PU_SPEED=a line" << int(Failure::BadValue)
                                     << "argument 1: PU_SPEED: 'a line' is not a number" << true;
}


void TestProfile::errors()
{
    QFETCH(QString, text);
    QFETCH(int, kind);
    QFETCH(QString, where);
    QFETCH(bool, arguments);
    QList<Profile::Entry> entries;
    const Failure f = Profile::parse(text, m_device, entries,
                                     arguments ? Profile::Numbering::Arguments : Profile::Numbering::Lines);
    QCOMPARE(int(f.kind), kind);
    QVERIFY2(f.message.startsWith(where), qPrintable(f.message));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
