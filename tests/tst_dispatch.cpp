// SPDX-License-Identifier: LGPL-2.1-or-later
#include "linkharness.h"

#include <QPointer>

#include <QJsonObject>

using Dev = VXDeviceInterface;

class tst_Dispatch : public QObject
{
    Q_OBJECT
private slots:
    void splitItem_data();
    void splitItem();
    void replies_data();
    void replies();
    void firstRegisteredWins();
    void keyWithoutRecordStops();
    void newRecordsSeenAfterDecoding();
    void deletedByHandlerMidChunk_data();
    void deletedByHandlerMidChunk();
    void qrCodes_data();
    void qrCodes();
    void jobReportDedupe();
    void invalidUtf8();
};

void tst_Dispatch::splitItem_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("value");

    QTest::newRow("set") << "SET82:100" << "SET" << 82 << "100";
    QTest::newRow("negative value") << "SET5:-3" << "SET" << 5 << "-3";
    QTest::newRow("no colon") << "GET24" << "GET" << 24 << "GET24";
    QTest::newRow("no number") << "SET:7" << "SET" << 0 << "7";
    QTest::newRow("last colon counts") << "A1:B:C" << "A" << 0 << "C";
    QTest::newRow("lower case is no name") << "set82:1" << "" << 0 << "1";
    QTest::newRow("empty") << "" << "" << 0 << "";
    QTest::newRow("non-Latin-1 value kept") << QString::fromUtf8("SET7:名") << "SET" << 7 << QString::fromUtf8("名");
}

void tst_Dispatch::splitItem()
{
    QFETCH(QString, item);
    QString name, value;
    int number = -1;
    VXCommonInterface::decode_cmd(item, name, number, value);
    QTEST(name, "name");
    QTEST(number, "number");
    QTEST(value, "value");
}

// Each row: one reply frame, the record it may touch, the value expected
// afterwards. Records besides the catalogue's are added in init order:
// T82 (CMD 82), T5 (CMD 5, three words), T12 (CCMD 12), TP (CCMD 40 with
// parameters A, B), T125 (CCMD 125), TD (CCMD 41, double), TW (CCMD write
// only, 67), TWC (CMD write only, 68).
void tst_Dispatch::replies_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("CMD value") << frame("CMD", "SET82:5;") << QByteArray("T82") << QVariant(5);
    QTest::newRow("CMD read answer") << frame("CMD", "GET82:9;") << QByteArray("T82") << QVariant(9);
    QTest::newRow("CMD two items, first number") << frame("CMD", "SET82:5;SET83:7;") << QByteArray("T82")
                                                 << QVariant(5 + (7 << 16));
    QTest::newRow("CMD words") << frame("CMD", "SET5:65336;6:65535;7:0;") << QByteArray("T5") << QVariant(-200);
    QTest::newRow("CMD without items") << QByteArray("\x02" "9;CMD;\x03") << QByteArray("T82") << QVariant(0);
    QTest::newRow("CMD body without ';'") << QByteArray("\x02" "9;CMD;SET82:4\x03") << QByteArray("T82") << QVariant(0);
    QTest::newRow("CMD unknown number") << frame("CMD", "SET84:5;") << QByteArray("T82") << QVariant(0);
    QTest::newRow("wrong length field") << QByteArray("\x02" "99;CMD;SET82:6;\x03") << QByteArray("T82") << QVariant(6);
    QTest::newRow("other kind") << frame("PLT", "SET82:5;") << QByteArray("T82") << QVariant(0);
    QTest::newRow("CCMD result 0") << frame("CCMD", "12,0,3;") << QByteArray("T12") << QVariant(3);
    QTest::newRow("CCMD result 1") << frame("CCMD", "12,1,3;") << QByteArray("T12") << QVariant(0);
    QTest::newRow("CCMD no values") << frame("CCMD", "12,0;") << QByteArray("T12") << QVariant(0);
    QTest::newRow("CCMD two fields") << frame("CCMD", "12,5;") << QByteArray("T12") << QVariant(0);
    QTest::newRow("CCMD heartbeat") << frame("CCMD", "1010,0,5;") << QByteArray("HEARTBEAT") << QVariant(5);
    QTest::newRow("CCMD kind must match") << frame("CCMD", "82,0,5;") << QByteArray("T82") << QVariant(0);
    QTest::newRow("param fits") << frame("CCMD", "40,0,A,B,7;") << QByteArray("TP") << QVariant(7);
    QTest::newRow("param mismatch") << frame("CCMD", "40,0,A,C,7;") << QByteArray("TP") << QVariant(0);
    QTest::newRow("param count") << frame("CCMD", "40,0,A,7;") << QByteArray("TP") << QVariant(0);
    QTest::newRow("param last 0") << frame("CCMD", "40,0,A,B,0;") << QByteArray("TP") << QVariant(0);
    QTest::newRow("double") << frame("CCMD", "41,0,12.5;") << QByteArray("TD") << QVariant(12.5);
    QTest::newRow("CMD 27 not applied") << frame("CMD", "SET27:2;") << QByteArray("WORK_MODE") << QVariant(0u);
    QTest::newRow("CMD 125 not applied") << frame("CMD", "SET125:9;") << QByteArray("TASK_STOP") << QVariant(2);
    QTest::newRow("CCMD 125 not applied") << frame("CCMD", "125,0,9;") << QByteArray("T125") << QVariant(0);
    QTest::newRow("PU speed") << frame("CMD", "SET26:300;") << QByteArray("PU_SPEED") << QVariant(300u);
    QTest::newRow("CCMD number 0") << frame("CCMD", "0,0,9;") << QByteArray("TW") << QVariant(0);
    QTest::newRow("CCMD no number") << frame("CCMD", "x,0,9;") << QByteArray("TW") << QVariant(0);
    QTest::newRow("CMD number 0") << frame("CMD", "SET0:9;") << QByteArray("TWC") << QVariant(0);
}

void tst_Dispatch::replies()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, key);
    QFETCH(QVariant, expected);

    LinkProbe device;
    device.addRecord("T82", 0, 82, 82, 1, Dev::CMD);
    device.addRecord("T5", 0, 5, 5, 3, Dev::CMD);
    device.addRecord("T12", 0, 12, 12, 1, Dev::CCMD);
    device.addRecord("TP", 0, 40, 40, 1, Dev::CCMD, { "A", "B" });
    device.addRecord("T125", 0, 125, 125, 1, Dev::CCMD);
    device.addRecord("TD", 0.0, 41, 41, 1, Dev::CCMD);
    device.addRecord("TW", 0, 0, 67, 1, Dev::CCMD);     // write-only, like a factory reset
    device.addRecord("TWC", 0, 0, 68, 1, Dev::CMD);

    device.slot_usb_read(reply);
    const QVariant got = device.value(key.constData());
    QCOMPARE(got.userType(), expected.userType());
    QCOMPARE(got, expected);
}

void tst_Dispatch::firstRegisteredWins()
{
    LinkProbe device;
    device.addRecord("FIRST", 0, 70, 71, 1, Dev::CMD);
    device.addRecord("SECOND", 0, 71, 71, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET71:4;"));
    QCOMPARE(device.value("FIRST").toInt(), 4);
    QCOMPARE(device.value("SECOND").toInt(), 0);
}

void tst_Dispatch::keyWithoutRecordStops()
{
    LinkProbe device;
    device.setProperty("NOT_A_RECORD", 42);
    device.addRecord("AFTER", 0, 90, 90, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET90:4;") + frame("CMD", "SET26:11;"));
    QCOMPARE(device.value("AFTER").toInt(), 0);
    QCOMPARE(device.value("PU_SPEED").toUInt(), 11u);   // ahead of the gap: still served
}

void tst_Dispatch::newRecordsSeenAfterDecoding()
{
    LinkProbe device;
    device.slot_usb_read(frame("CMD", "SET26:11;"));
    QCOMPARE(device.value("PU_SPEED").toUInt(), 11u);

    device.addRecord("LATE", 0, 77, 77, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET77:4;"));
    QCOMPARE(device.value("LATE").toInt(), 4);

    // A replaced record: the new one receives, the old one is left alone.
    VXDeviceProperty *old = device.record("LATE");
    device.addRecord("LATE", 0, 77, 77, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET77:6;"));
    QCOMPARE(device.value("LATE").toInt(), 6);
    QCOMPARE(old->value().toInt(), 4);

    // Attached while property-change events are eaten (as without an
    // application object): still found.
    struct EatPropertyEvents : QObject {
        bool eventFilter(QObject *, QEvent *e) override { return e->type() == QEvent::DynamicPropertyChange; }
    } filter;
    device.installEventFilter(&filter);
    device.addRecord("UNANNOUNCED", 0, 78, 78, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET78:3;"));
    QCOMPARE(device.value("UNANNOUNCED").toInt(), 3);
}

void tst_Dispatch::deletedByHandlerMidChunk_data()
{
    // A host deleting the device from a handler while one chunk still holds
    // frames: the rest of the chunk must not be decoded into freed memory
    // (the sanitized run sees any touch).
    QTest::addColumn<QByteArray>("first");
    QTest::newRow("QR message") << frame("CCMD", "11,0,ABC;");
    QTest::newRow("job message") << frame("CCMD", "66,1,a.plt,1,0,5,0,0,0;");
}

void tst_Dispatch::deletedByHandlerMidChunk()
{
    QFETCH(QByteArray, first);
    QPointer<LinkProbe> device = new LinkProbe;
    QObject::connect(device.data(), &Dev::message, device.data(), [&device] { delete device.data(); });
    device->slot_usb_read(first + frame("CMD", "SET26:11;") + frame("CCMD", "66,2,b.plt,1,1,9,0,0,0;"));
    QVERIFY(device.isNull());
}

void tst_Dispatch::qrCodes_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("code");
    QTest::newRow("11") << frame("CCMD", "11,0,ABC123;") << "ABC123";
    QTest::newRow("55 two fields") << frame("CCMD", "55,Q-9;") << "Q-9";
    QTest::newRow("55 empty last field") << frame("CCMD", "55,1,;") << "";
}

void tst_Dispatch::qrCodes()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, code);
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.slot_usb_read(reply);
    QCOMPARE(messages(spy, Dev::Qrcode), QStringList{ code });
    QCOMPARE(device.value("QRCODE_FILE").toString(), QString());   // common pass sets no record
}

void tst_Dispatch::jobReportDedupe()
{
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    const QByteArray a = frame("CCMD", "66,1,a.plt,3,1,20,0,0,0;");
    const QByteArray b = frame("CCMD", "66,1,a.plt,3,1,40,0,0,0;");
    device.slot_usb_read(a + a);
    device.slot_usb_read(a);
    QCOMPARE(messages(spy, Dev::DevTasK), QStringList{ "66,1,a.plt,3,1,20,0,0,0" });
    device.slot_usb_read(b + a);
    QCOMPARE(messages(spy, Dev::DevTasK).size(), 3);
    QCOMPARE(device.value("TASK").toJsonObject().value("Percent").toInt(), 20);
}

void tst_Dispatch::invalidUtf8()
{
    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.addRecord("TS", QString(), 42, 42, 1, Dev::CMD);
    device.slot_usb_read(frame("CMD", "SET42:\xff\xfeok;") + frame("CCMD", "55,\xc3;")
                         + frame("CMD", "SET26:12;"));
    QCOMPARE(device.value("TS").toString(), QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbdok"));
    QCOMPARE(messages(spy, Dev::Qrcode), QStringList{ QString(QChar::ReplacementCharacter) });
    QCOMPARE(device.value("PU_SPEED").toUInt(), 12u);
}

QTEST_GUILESS_MAIN(tst_Dispatch)
#include "tst_dispatch.moc"
