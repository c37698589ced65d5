// SPDX-License-Identifier: LGPL-2.1-or-later
// Settings profiles: rendered from a real model device's records and parsed
// back against them.
#include "DeviceSession.h"
#include "Profile.h"
#include "RecordValue.h"
#include "PluginHost.h"
#include "SettingsRun.h"
#include "VXSimulator.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QSignalSpy>
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
    void applyAcrossDrop_data();
    void applyAcrossDrop();

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

// The link drops as the machine takes FEED_LENGTH, before it answers; the
// same machine (or, as told, a restarted one or another) answers again.
void TestProfile::applyAcrossDrop_data()
{
    QTest::addColumn<bool>("restarted");     // it forgot what it took
    QTest::addColumn<bool>("stranger");      // another machine at the address
    QTest::addColumn<int>("puWrites");       // PU_SPEED writes it received
    QTest::addColumn<QStringList>("notApplied");
    QTest::newRow("back: nothing written twice") << false << false << 1 << QStringList();
    QTest::newRow("restarted: what it forgot is written again") << true << false << 2 << QStringList();
    QTest::newRow("another machine: nothing written to it") << false << true << 1 << QStringList{"FEED_LENGTH"};
}

void TestProfile::applyAcrossDrop()
{
    QFETCH(bool, restarted);
    QFETCH(bool, stranger);
    QFETCH(int, puWrites);
    QFETCH(QStringList, notApplied);
    VXSimulator sim;
    sim.setDownFor(200);
    QVERIFY(sim.start(0));
    DeviceSession session(m_plugin.root());
    QVERIFY(!session.renewDevice());
    QVERIFY(!session.connectTcp(QStringLiteral("127.0.0.1"), sim.serverPort()));
    QTRY_VERIFY(session.linkUp());
    QList<Profile::Entry> entries;
    QVERIFY(!Profile::parse(QStringLiteral("PU_SPEED = 250\nFEED_LENGTH = 444\n"), session.device(), entries));
    int pu = 0, feedAfterDrop = 0;
    bool dropped = false;
    connect(&sim, &VXSimulator::frameReceived, this, [&](const VXSimFrame &f) {
        pu += f.body.startsWith("SET26:");
        if (!f.body.startsWith("SET135:"))
            return;
        feedAfterDrop += dropped;
        if (dropped)
            return;
        dropped = true;
        sim.dropLinks();
    });
    connect(&sim, &VXSimulator::linkBack, this, [&] {
        if (restarted)
            sim.resetSettings();
        if (stranger)
            sim.setDeviceId(QStringLiteral("VXS-OTHER"));
    });
    SettingsRun run(session);
    run.setReconnect(true, ReconnectSchedule(100, 400, 5000));
    QSignalSpy finished(&run, &SettingsRun::finished);
    run.write(entries);
    QVERIFY(finished.wait(10000));
    QCOMPARE(run.failure().kind, stranger ? Failure::DeviceLost : Failure::None);
    QCOMPARE(run.notApplied(), notApplied);
    QCOMPARE(pu, puWrites);
    QCOMPARE(feedAfterDrop, stranger ? 0 : int(restarted));
    if (!stranger)
        QCOMPARE(sim.setting(VXSimulator::Cmd, 26) + sim.setting(VXSimulator::Cmd, 135), QStringLiteral("250444"));
}

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
