// SPDX-License-Identifier: LGPL-2.1-or-later
// The model's device object end to end: its catalogue, its name lists and
// reply frames arriving on the link.
#include "plugin/VXKTR450PROCam.h"
#include "property/VXDeviceProperty.h"

#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

namespace {

QByteArray framed(const QByteArray &text)
{
    return "\x02" + text + "\x03";
}

// A reply frame around payload; the receiver does not check the length.
QByteArray reply(const QByteArray &payload)
{
    return framed(QByteArray::number(payload.size() + 5) + ';' + payload);
}

} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void groupMembers_data();
    void groupMembers();
    void nameLists();
    void modelRecords();
    void userPages();
    void replies_data();
    void replies();
    void deviceInfoReplyFillsSixChildren();
    void writeAcknowledgement();
    void writeAcknowledgementOverTcp();

private:
    std::unique_ptr<VXDeviceInterface> fresh() { return std::unique_ptr<VXDeviceInterface>(m_root->initInstance()); }
    VXKTR450PROCam *m_root = nullptr;
    std::unique_ptr<VXDeviceInterface> m_device;
};

void TestModel::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    m_root = new VXKTR450PROCam;
    m_device = fresh();
    QVERIFY(m_device);
}

void TestModel::cleanupTestCase()
{
    m_device.reset();
    delete m_root;
}

// Member order is the editor's row order; "WIDGET" sits among the names
// where the builder set it and is skipped as a member.
void TestModel::groupMembers_data()
{
    QTest::addColumn<QByteArray>("group");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("FEED") << QByteArray("FEED")
        << QStringList{"WIDGET", "AUTO_FEED", "FEED_MODEL", "FEED_LENGTH", "FEED_CENTER", "FEED_SPEED", "FAN_DELAY"};
    QTest::newRow("CAMERA_OFFSET") << QByteArray("CAMERA_OFFSET")
        << QStringList{"CAMERA_OFFSET_X", "CAMERA_OFFSET_Y", "WIDGET"};
    QTest::newRow("TOOL_SPACE") << QByteArray("TOOL_SPACE") << QStringList{"WIDGET", "TOOL_SPACE_X", "TOOL_SPACE_Y"};
    QTest::newRow("DEVICE_INFO") << QByteArray("DEVICE_INFO")
        << QStringList{"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"};
    QTest::newRow("SCALE") << QByteArray("SCALE") << QStringList{"WIDGET", "SCALE_X", "SCALE_Y"};
    QTest::newRow("WORKAREA") << QByteArray("WORKAREA") << QStringList{"WIDGET", "WORKAREA_X", "WORKAREA_Y"};
    QTest::newRow("SP2") << QByteArray("SP2")
        << QStringList{"WIDGET", "SP2_TOOL", "SP2_SPEED", "SP2_PRESSURE", "SP2_ANGLE"};
}

void TestModel::groupMembers()
{
    QFETCH(QByteArray, group);
    QFETCH(QStringList, names);
    VXDeviceProperty *g = m_device->property_ptr(group.constData());
    QVERIFY(g);
    QStringList all;
    for (const QByteArray &name : g->dynamicPropertyNames())
        all << QString::fromLatin1(name);
    QCOMPARE(all, names);
    names.removeAll(QStringLiteral("WIDGET"));
    const QList<VXDeviceProperty *> list = g->members();
    QCOMPARE(list.size(), names.size());
    // Members are the device's own records, not copies.
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(list.at(i), m_device->property_ptr(names.at(i).toLatin1().constData()));
}

void TestModel::nameLists()
{
    const QStringList user = m_device->userProperty();
    QCOMPARE(user, (QStringList{"WORK_MODE", "PU_SPEED", "BACK_CUT", "TOOL_SPACE", "PAGE_SPACE",
                                "CAMERA_OFFSET", "SP1", "SP2", "FEED"}));
    const QStringList sys = m_device->sysProperty();
    QCOMPARE(sys, (QStringList{"DEVICE_MODEL_NAME", "DEVICE_INFO", "FIRMWARE", "DEVICE_ID", "PCB_ID",
                               "PCB_VERSION", "WORKAREA", "SCALE", "DEVICE_CONFIG_NO", "DEVICE_UNIQUE_ID"}));
    for (const QString &name : user + sys) {
        const bool absent = name == QLatin1String("BACK_CUT") || name == QLatin1String("SP1");
        QCOMPARE(m_device->property_ptr(name.toLatin1().constData()) == nullptr, absent);
    }
    for (const char *key : {"SP1_TOOL", "SP1_SPEED", "SP1_PRESSURE", "SP1_ANGLE"})
        QVERIFY(!m_device->property_ptr(key));
    // The lists are fixed, so the root answers the same; the factory itself
    // holds no records (every key of a device: tst_cataloguetable).
    QVERIFY(m_root->dynamicPropertyNames().isEmpty());
    QCOMPARE(m_root->userProperty(), user);
    QCOMPARE(m_root->sysProperty(), sys);
}

void TestModel::modelRecords()
{
    VXDeviceProperty *model = m_device->property_ptr("DEVICE_MODEL");
    QCOMPARE(model->value(), QVariant(QString("VX-KTR450PROCam")));
    QCOMPARE(m_device->property_ptr("DEVICE_INFO")->property_ptr("DEVICE_MODEL"), model);

    VXDeviceProperty *name = m_device->property_ptr("DEVICE_MODEL_NAME");
    QCOMPARE(name->value().toString(), VXKTR450PROCam::tr("传送带平板机"));
    QCOMPARE(name->cmd_type(), VXDeviceInterface::UnCMD);
    QVERIFY(name->get_cmd_bytes().isEmpty() && name->set_cmd_bytes().isEmpty());

    VXDeviceProperty *page = m_device->property_ptr("PAGE_SPACE");
    QVERIFY(!m_device->property_ptr("SP2")->property_ptr("PAGE_SPACE"));
    QCOMPARE(page->value().userType(), int(QMetaType::Int));   // the machine reports below 0
    QCOMPARE(page->get_cmd_bytes(), framed("15;CMD;GET43;"));
    page->setValue(25);
    QCOMPARE(page->set_cmd_bytes(), framed("18;CMD;SET43:25;"));
    page->setValue(0);
    QCOMPARE(m_device->icon(), 58916);
    QCOMPARE(m_root->icon(), 58916);
}

// The user list's tab groups share one tab widget; the model's pressure
// editor shows the largest stored word 600 as 900 gf.
void TestModel::userPages()
{
    auto device = fresh();
    QWidget host;
    new QVBoxLayout(&host);
    for (const char *key : {"SP2", "FEED"})
        device->property_ptr(key)->create_ui_ctrl(&host, QString::fromLatin1(key), true);
    const QList<QTabWidget *> tabs = host.findChildren<QTabWidget *>();
    QCOMPARE(tabs.size(), 1);
    QCOMPARE(tabs.first()->count(), 2);
    QCOMPARE(tabs.first()->tabText(0), device->property_ptr("SP2")->label());
    QCOMPARE(tabs.first()->tabText(1), device->property_ptr("FEED")->label());
    QVERIFY(!host.findChild<QWidget *>("PAGE_SPACE"));

    VXDeviceProperty *pressure = device->property_ptr("SP2_PRESSURE");
    pressure->setValue(600u);
    device->property_ptr("SP2")->to_ui_ctrl();
    auto *spin = host.findChild<QSpinBox *>("SP2_PRESSURE");
    QVERIFY(spin);
    QCOMPARE(spin->value(), 900);
    QCOMPARE(spin->maximum(), 900);
    QSignalSpy changed(pressure, &VXDeviceProperty::valueChanged);
    device->property_ptr("SP2")->from_ui_ctrl();
    QCOMPARE(pressure->value().toInt(), 600);
    QCOMPARE(changed.count(), 0);
}

// Chunks as they come off the link; then one record's expected value.
void TestModel::replies_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("heartbeat reply, short form") << QByteArrayList{reply("CCMD;1010,5;")}
                                                << QByteArray("HEARTBEAT") << QVariant(5);
    QTest::newRow("unique id, short form") << QByteArrayList{reply("CCMD;57,U-42;")}
                                           << QByteArray("DEVICE_UNIQUE_ID") << QVariant("U-42");
    QTest::newRow("unique id, result field") << QByteArrayList{reply("CCMD;57,0,U-43;")}
                                             << QByteArray("DEVICE_UNIQUE_ID") << QVariant("U-43");
    QTest::newRow("unique id, failed result") << QByteArrayList{reply("CCMD;57,1,U-44;")}
                                              << QByteArray("DEVICE_UNIQUE_ID") << QVariant(QString(""));
    QTest::newRow("page space, CMD reply split") << QByteArrayList{reply("CMD;GET43:120;").left(9), reply("CMD;GET43:120;").mid(9)}
                                                 << QByteArray("PAGE_SPACE") << QVariant(120);
    QTest::newRow("page space below zero") << QByteArrayList{reply("CMD;GET43:-50;")}
                                           << QByteArray("PAGE_SPACE") << QVariant(-50);
    QTest::newRow("SP2 angle below zero") << QByteArrayList{reply("CMD;GET132:-45;")}
                                          << QByteArray("SP2_ANGLE") << QVariant(-45);
    QTest::newRow("qr file, short form") << QByteArrayList{reply("CCMD;55,q.png;")}
                                         << QByteArray("QRCODE_FILE") << QVariant("q.png");
    // Records without a read or write number carry 0 there; a reply numbered
    // 0 (or not numbered) belongs to none of them.
    QTest::newRow("numbered 0 hits nothing") << QByteArrayList{reply("CCMD;0,9;")}
                                             << QByteArray("FACTORY_SET") << QVariant(0);
    QTest::newRow("unnumbered hits nothing") << QByteArrayList{reply("CCMD;x,9;")}
                                             << QByteArray("FACTORY_SET") << QVariant(0);
}

void TestModel::replies()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArray, key);
    QFETCH(QVariant, value);
    auto device = fresh();
    auto *common = static_cast<VXCommonInterface *>(device.get());
    for (const QByteArray &chunk : chunks)
        common->slot_usb_read(chunk);
    QCOMPARE(device->property_ptr(key.constData())->value(), value);
    QCOMPARE(device->property_ptr(key.constData())->value().userType(), value.userType());
}

void TestModel::deviceInfoReplyFillsSixChildren()
{
    auto device = fresh();
    auto *common = static_cast<VXCommonInterface *>(device.get());
    common->slot_usb_read(reply("CCMD;2,0,VX-M,ID9,PCB3,V2,FW1.0,C7;"));
    const char *order[] = {"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"};
    const QStringList expected{"VX-M", "ID9", "PCB3", "V2", "FW1.0", "C7"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(device->property_ptr(order[i])->value().toString(), expected.at(i));
    QCOMPARE(device->property_ptr("DEVICE_UNIQUE_ID")->value().toString(), QString());
}

void TestModel::writeAcknowledgement()
{
    auto device = fresh();
    auto *common = static_cast<VXCommonInterface *>(device.get());
    QSignalSpy factory(device->property_ptr("FACTORY_SET"), &VXDeviceProperty::retStatus);
    QSignalSpy machineNo(device->property_ptr("DEVICE_ID"), &VXDeviceProperty::retStatus);
    common->slot_usb_read(reply("CCMD;67,3;") + reply("CCMD;44,0;"));
    QCOMPARE(factory.count(), 1);
    QCOMPARE(factory.at(0).at(0).toInt(), 3);
    QCOMPARE(machineNo.count(), 1);
    QCOMPARE(machineNo.at(0).at(0).toInt(), 0);
    // An acknowledgement is not a value.
    QCOMPARE(device->property_ptr("FACTORY_SET")->value(), QVariant(0));
    QCOMPARE(device->property_ptr("DEVICE_ID")->value(), QVariant(QString("")));
}

// A write leaves through a real socket, the peer acknowledges, and the
// acknowledgement reaches the record.
void TestModel::writeAcknowledgementOverTcp()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    auto device = fresh();
    QSignalSpy messages(device.get(), &VXDeviceInterface::message);
    device->property_ptr("TCP_PORT")->setValue(int(server.serverPort()));
    device->setIPAddress("127.0.0.1");
    QVERIFY(device->connectDevice());
    QVERIFY(server.waitForNewConnection(5000));
    std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());
    QTRY_VERIFY_WITH_TIMEOUT(!messages.isEmpty(), 5000);
    QCOMPARE(messages.last().at(1).toString(), QString("TCP CONNECTED."));

    VXDeviceProperty *id = device->property_ptr("DEVICE_ID");
    id->setValue(QString("M-77"));
    device->sendCMD(id->set_cmd_bytes());
    QByteArray received;
    QTRY_VERIFY_WITH_TIMEOUT((received += peer->readAll()).contains('\x03'), 5000);
    QCOMPARE(received, framed("18;CCMD;44,M-77;"));

    QSignalSpy ack(id, &VXDeviceProperty::retStatus);
    peer->write(reply("CCMD;44,0;"));
    QVERIFY(ack.wait(5000));
    QCOMPARE(ack.at(0).at(0).toInt(), 0);
    device.reset();
}

QTEST_MAIN(TestModel)
#include "tst_model.moc"
