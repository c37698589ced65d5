#include "linkharness.h"

#include <QJsonObject>

using Dev = VXDeviceInterface;

class tst_Connection157 : public QObject
{
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void defaults();
    void editors();
    void commonDevice();
};

// What each carrier puts on the wire with its default value.
void tst_Connection157::frames_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("write");

    QTest::newRow("HEARTBEAT") << QByteArray("HEARTBEAT") << frame("CCMD", "1010;") << frame("CCMD", "1010,2;");
    QTest::newRow("QRCODE_COPIES") << QByteArray("QRCODE_COPIES") << frame("CCMD", "54;") << frame("CCMD", "54,1;");
    QTest::newRow("TASK_COPIES") << QByteArray("TASK_COPIES") << QByteArray() << frame("CMD", "NUM:1;");
    QTest::newRow("TASK_PLT") << QByteArray("TASK_PLT") << QByteArray() << frame("PLT", "");
    QTest::newRow("QR_PLT") << QByteArray("QR_PLT") << QByteArray() << frame("QR_PLT", "");
    QTest::newRow("TASK_STOP") << QByteArray("TASK_STOP") << frame("CMD", "GET125;") << frame("CMD", "SET125:2;");
    QTest::newRow("TASK_PAUSE") << QByteArray("TASK_PAUSE") << frame("CMD", "GET125;") << frame("CMD", "SET125:0;");
    QTest::newRow("TASK_RESUME") << QByteArray("TASK_RESUME") << frame("CMD", "GET125;") << frame("CMD", "SET125:1;");
    QTest::newRow("FLAG_POINT") << QByteArray("FLAG_POINT") << frame("CMD", "GET87;") << frame("CMD", "SET87:1;");
    QTest::newRow("BACK_FLAG_POINT") << QByteArray("BACK_FLAG_POINT") << frame("CMD", "GET93;") << frame("CMD", "SET93:1;");
    QTest::newRow("WORK_MODE") << QByteArray("WORK_MODE") << frame("CMD", "GET27;") << frame("CMD", "SET27:0;");
    QTest::newRow("PU_SPEED") << QByteArray("PU_SPEED") << frame("CMD", "GET26;") << frame("CMD", "SET26:0;");
    QTest::newRow("STATUS") << QByteArray("STATUS") << QByteArray() << QByteArray();
    QTest::newRow("DEVICE_CLOUD") << QByteArray("DEVICE_CLOUD") << QByteArray() << QByteArray();
}

void tst_Connection157::frames()
{
    QFETCH(QByteArray, key);
    LinkProbe device;
    VXDeviceProperty *record = device.record(key.constData());
    QVERIFY(record);
    QTEST(record->get_cmd_bytes(), "read");
    QTEST(record->set_cmd_bytes(), "write");
}

void tst_Connection157::defaults()
{
    const QDateTime before = QDateTime::currentDateTime();
    LinkProbe device;
    QCOMPARE(device.dynamicPropertyNames().size(), 21);
    QCOMPARE(device.value("STATUS"), QVariant(0));
    QCOMPARE(device.value("TCP_PORT"), QVariant(9100));
    QCOMPARE(device.value("HEARTBEAT"), QVariant(2));
    QCOMPARE(device.value("CONNECT_MODE").userType(), int(QMetaType::QString));
    QVERIFY(device.value("CONNECT_MODE").toString().isEmpty());
    QCOMPARE(device.value("FILE_PREVIEW").userType(), int(QMetaType::QByteArray));
    QCOMPARE(device.value("TASK_FILE_INFO").userType(), int(QMetaType::QJsonObject));
    const QDateTime created = device.value("LAST_TIME").toDateTime();
    QVERIFY(created >= before && created <= QDateTime::currentDateTime());
    QVERIFY(!device.record("LAST_TIEM"));
}

void tst_Connection157::editors()
{
    LinkProbe device;
    QStringList withEditor;
    for (const QByteArray &name : device.dynamicPropertyNames()) {
        if (device.record(name.constData())->property("WIDGET").isValid())
            withEditor << QString::fromLatin1(name);
    }
    QCOMPARE(withEditor, (QStringList{ "WORK_MODE", "PU_SPEED" }));

    const QJsonObject workMode = device.record("WORK_MODE")->property("WIDGET").toJsonObject();
    QCOMPARE(workMode.keys(), (QStringList{ "option", "widget" }));
    QCOMPARE(workMode.value("option").toString().split(';').first(), QString::fromUtf8("   速度优先"));
    QCOMPARE(workMode.value("option").toString().split(';').size(), 3);
    const QJsonObject puSpeed = device.record("PU_SPEED")->property("WIDGET").toJsonObject();
    QCOMPARE(puSpeed, (QJsonObject{ { "widget", "QSpinBox" }, { "max", 700 }, { "min", 10 } }));
}

void tst_Connection157::commonDevice()
{
    VXCommonInterface root;
    QScopedPointer<VXDeviceInterface> device(root.initInstance());
    QVERIFY(device);
    QCOMPARE(device->dynamicPropertyNames().size(), 21);
    QCOMPARE(root.dynamicPropertyNames().size(), 0);
    QVERIFY(device->property_ptr("HEARTBEAT"));
    QStringList user = device->userProperty();
    QCOMPARE(user.first(), QString("WORK_MODE"));
    QCOMPARE(user.last(), QString("SP2"));
    QCOMPARE(user.removeDuplicates(), 1);
    QCOMPARE(user, (QStringList{ "WORK_MODE", "SPEED", "PRESSURE", "CAMERA_OFFSET", "SP1", "SP2" }));
    QVERIFY(device->sysProperty().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Connection157)
#include "tst_connection157.moc"
