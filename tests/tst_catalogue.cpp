// SPDX-License-Identifier: LGPL-2.1-or-later
// The catalogue builders, run one at a time on a bare common device (no
// translator installed, so labels are the source texts): frames and
// replies. Every record's fields, key order, editor object and group
// members (with where "WIDGET" sits among them) are in tst_cataloguetable.
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"

#include <QJsonObject>
#include <QtTest>

#include <memory>

using Builder = void (VXCommonInterface::*)(VXDeviceInterface *);
Q_DECLARE_METATYPE(Builder)

namespace {

struct Built {
    std::unique_ptr<VXCommonInterface> device{new VXCommonInterface};
    VXDeviceProperty *at(const char *key) { return device->property_ptr(key); }
};

Built build(Builder builder)
{
    Built b;
    (b.device.get()->*builder)(b.device.get());
    return b;
}

QByteArray framed(const char *text)
{
    return QByteArray("\x02") + text + "\x03";
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void builderTouchesOnlyItsArgument();
    void deviceInfoReplyFillsChildrenInOrder();
    void compoundReplyFillsAxes();
};

// Read (value invalid) or write (value set first with setValue) frames.
void TestCatalogue::frames_data()
{
    QTest::addColumn<Builder>("builder");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QByteArray>("frame");
    using C = VXCommonInterface;
    QTest::newRow("jog X positive") << &C::move_157 << QByteArray("MOVE_X") << QVariant(32868) << framed("21;CMD;SET82:32868;");
    QTest::newRow("stop X") << &C::move_157 << QByteArray("MOVE_X") << QVariant(0) << framed("17;CMD;SET82:0;");
    QTest::newRow("read work-area X") << &C::work_area_157 << QByteArray("WORKAREA_X") << QVariant() << framed("15;CMD;GET28;");
    QTest::newRow("write work-area X") << &C::work_area_157 << QByteArray("WORKAREA_X") << QVariant(1200u) << framed("20;CMD;SET28:1200;");
    QTest::newRow("write scale X") << &C::scale_157 << QByteArray("SCALE_X") << QVariant(10000u) << framed("21;CMD;SET24:10000;");
    QTest::newRow("read camera X") << &C::camera_offset_157 << QByteArray("CAMERA_OFFSET_X") << QVariant() << framed("21;CMD;GET11;12;13;");
    QTest::newRow("write camera X") << &C::camera_offset_157 << QByteArray("CAMERA_OFFSET_X") << QVariant(200.0) << framed("29;CMD;SET11:200;12:0;13:0;");
    QTest::newRow("write tool X negative") << &C::tool_space_157 << QByteArray("TOOL_SPACE_X") << QVariant(-200) << framed("32;CMD;SET5:65336;6:65535;7:0;");
    QTest::newRow("factory reset") << &C::camera_offset_157 << QByteArray("FACTORY_SET") << QVariant(0) << framed("15;CCMD;67,0;");
    QTest::newRow("factory reset unreadable") << &C::camera_offset_157 << QByteArray("FACTORY_SET") << QVariant() << QByteArray();
    QTest::newRow("auto feed on") << &C::feed_157 << QByteArray("AUTO_FEED") << QVariant(1) << framed("18;CMD;SET134:1;");
    QTest::newRow("device info query") << &C::info_157 << QByteArray("DEVICE_INFO") << QVariant() << framed("12;CCMD;2;");
    QTest::newRow("firmware unreadable alone") << &C::info_157 << QByteArray("FIRMWARE") << QVariant() << QByteArray();
    QTest::newRow("write machine number") << &C::info_157 << QByteArray("DEVICE_ID") << QVariant("A7") << framed("16;CCMD;44,A7;");
    QTest::newRow("sp2 pressure") << &C::sp2_157 << QByteArray("SP2_PRESSURE") << QVariant(600) << framed("18;CMD;SET4:600;");
    QTest::newRow("437 work area query") << &C::work_area_437 << QByteArray("WORKAREA") << QVariant() << framed("13;CCMD;63;");
    QTest::newRow("437 work-area axis silent") << &C::work_area_437 << QByteArray("WORKAREA_X") << QVariant(5.0) << QByteArray();
    QTest::newRow("437 camera query") << &C::camera_offset_437 << QByteArray("CAMERA_OFFSET") << QVariant() << framed("13;CCMD;16;");
    QTest::newRow("437 scale X write") << &C::scale_437 << QByteArray("SCALE_X") << QVariant(1.0) << framed("15;CCMD;20,1;");
    QTest::newRow("437 scale X query") << &C::scale_437 << QByteArray("SCALE_X") << QVariant() << framed("13;CCMD;61;");
    QTest::newRow("437 stop") << &C::init437 << QByteArray("TASK_STOP") << QVariant(2) << framed("15;CCMD;27,2;");
    QTest::newRow("437 work mode write") << &C::init437 << QByteArray("WORK_MODE") << QVariant(2) << framed("15;CCMD;23,2;");
    QTest::newRow("437 pplt unreadable") << &C::init437 << QByteArray("TASK_PPLT") << QVariant() << QByteArray();
    QTest::newRow("437 pplt job") << &C::init437 << QByteArray("TASK_PPLT") << QVariant("IN;") << framed("13;PPLT;IN;");
}

void TestCatalogue::frames()
{
    QFETCH(Builder, builder);
    QFETCH(QByteArray, key);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, frame);
    Built b = build(builder);
    VXDeviceProperty *p = b.at(key.constData());
    QVERIFY(p);
    if (value.isValid()) {
        p->setValue(value);
        QCOMPARE(p->set_cmd_bytes(), frame);
    } else {
        QCOMPARE(p->get_cmd_bytes(), frame);
    }
}

void TestCatalogue::builderTouchesOnlyItsArgument()
{
    VXCommonInterface builder;
    VXCommonInterface target;
    builder.info_157(&target);
    builder.sp1_157(&target);
    QVERIFY(builder.dynamicPropertyNames().isEmpty());
    QCOMPARE(target.property_ptr("DEVICE_MODEL")->value(), QVariant(QString("VX-KTD3105PROCam")));
}

void TestCatalogue::deviceInfoReplyFillsChildrenInOrder()
{
    Built b = build(&VXCommonInterface::info_157);
    VXDeviceProperty *group = b.at("DEVICE_INFO");
    QCOMPARE(group->value().toStringList().size(), 6);
    group->set_decode(QStringList{"M", "ID", "PCB", "VER", "FW", "CFG", "extra"});
    const char *order[] = {"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"};
    const QStringList expected{"M", "ID", "PCB", "VER", "FW", "CFG"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(b.at(order[i])->value().toString(), expected.at(i));
    QCOMPARE(b.at("DEVICE_UNIQUE_ID")->value().toString(), QString());
}

void TestCatalogue::compoundReplyFillsAxes()
{
    Built wa = build(&VXCommonInterface::work_area_437);
    wa.at("WORKAREA")->set_decode(QStringList{"1250.5", "800"});
    QCOMPARE(wa.at("WORKAREA_X")->value(), QVariant(1250.5));
    QCOMPARE(wa.at("WORKAREA_Y")->value().userType(), int(QMetaType::Double));
    wa.at("WORKAREA_X")->setValue(1200.0);
    wa.at("WORKAREA_Y")->setValue(900.0);
    QCOMPARE(wa.at("WORKAREA")->set_cmd_bytes(), framed("22;CCMD;22,1200,900;"));

    Built cam = build(&VXCommonInterface::camera_offset_437);
    cam.at("CAMERA_OFFSET_X")->setValue(12.5);
    cam.at("CAMERA_OFFSET_Y")->setValue(-3.0);
    QCOMPARE(cam.at("CAMERA_OFFSET")->set_cmd_bytes(), framed("21;CCMD;15,12.5,-3;"));

    // A query-only trigger keeps its invalid value whatever comes back.
    Built init = build(&VXCommonInterface::init437);
    init.at("GET_QRCODE")->set_decode(QStringList{"CODE"});
    QVERIFY(!init.at("GET_QRCODE")->value().isValid());
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
