// SPDX-License-Identifier: LGPL-2.1-or-later
// The catalogue builders. Every record of every builder, field by field,
// against one table per builder: key order, label source text and its
// translation context, unit, value type and default, read and write
// numbers, cmd_len, kind, the whole "WIDGET" object and where a group's
// "WIDGET" sits among its member names (editors walk them in order). Then
// the frames records make and the replies they take. A translator that
// marks each text with its context makes the context visible; the process
// runs under zh_CN so the model's own translator finds no file and stays out.
#include "link/VXCommonInterface.h"
#include "plugin/VXKTR450PROCam.h"
#include "property/VXDeviceProperty.h"

#include <QApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QTranslator>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

using D = VXDeviceInterface;

// "Context|source" for every text: the label shows who translated it.
class ContextTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QString::fromLatin1(context) + QLatin1Char('|') + QString::fromUtf8(source);
    }
};

struct Expect {
    QByteArray key;
    QString label;        // translated in ctx; empty stays empty
    QString unit;         // a leading '~' means translated in ctx
    QVariant value;       // QDateTime(): "now"
    int get, set, len;
    D::VXDeviceCMDType kind;
    QJsonObject widget;   // empty: no "WIDGET"
    QStringList members;  // of a group, in order, "WIDGET" where it sits
    QString ctx = QStringLiteral("VXCommonInterface");
};
using Table = QVector<Expect>;

const QString VXC = QStringLiteral("VXCommonInterface");
const QString VXM = QStringLiteral("VXKTR450PROCam");

QString marked(const QString &ctx, const QString &source) { return ctx + QLatin1Char('|') + source; }
QJsonObject w(const char *kind) { return {{"widget", kind}}; }
QJsonObject spin(double min, double max) { return {{"widget", "QSpinBox"}, {"min", min}, {"max", max}}; }
QJsonObject dspin(double min, double max) { return {{"widget", "QDoubleSpinBox"}, {"min", min}, {"max", max}}; }
QJsonObject scaled(QJsonObject o, double factor) { o.insert("factor", factor); return o; }
QJsonObject combo(const QString &ctx, const QStringList &entries)
{
    QStringList out;
    for (const QString &e : entries)
        out << marked(ctx, e);
    return {{"widget", "QComboBox"}, {"option", out.join(QLatin1Char(';'))}};
}
Table inContext(Table t, const QString &ctx)
{
    for (Expect &e : t)
        e.ctx = ctx;
    return t;
}
QStringList axes(const char *group) { return {QString(group) + "_X", QString(group) + "_Y"}; }

const QVariant U0(0u), I0(0), S(QString("")), NOW{QDateTime()}, NONE;

Table init157()
{
    const QJsonObject workMode = combo(VXC, {"   速度优先", "   平衡", "   精度优先"});
    return {
        {"STATUS", "状态", "", I0, 0, 0, 0, D::UnCMD, {}, {}},
        {"TCP_PORT", "端口", "", 9100, 0, 0, 0, D::UnCMD, {}, {}},
        {"CONNECT_MODE", "连接方式", "", S, 0, 0, 0, D::UnCMD, {}, {}},
        {"QRCODE_COPIES", "份数", "~份", 1, 54, 54, 1, D::CCMD, {}, {}},
        {"QRCODE_FILE", "二维码文件", "", S, 55, 55, 1, D::CCMD, {}, {}},
        {"TASK_COPIES", "份数", "~份", 1, 1, 1, 1, D::NUM, {}, {}},
        {"TASK_PLT", "plt", "", S, 1, 1, 1, D::PLT, {}, {}},
        {"TASK_STOP", "停止", "", 2, 125, 125, 1, D::CMD, {}, {}},
        {"TASK_PAUSE", "暂停", "", I0, 125, 125, 1, D::CMD, {}, {}},
        {"TASK_RESUME", "继续", "", 1, 125, 125, 1, D::CMD, {}, {}},
        {"QR_PLT", "QR PLT", "", S, 1, 1, 1, D::QRPLT, {}, {}},
        {"FLAG_POINT", "设原点", "", 1, 87, 87, 1, D::CMD, {}, {}},
        {"BACK_FLAG_POINT", "回原点", "", 1, 93, 93, 1, D::CMD, {}, {}},
        {"TASK_MODE", "任务模式", "", I0, 0, 0, 0, D::UnCMD, {}, {}},
        {"LAST_TIME", "", "", NOW, 0, 0, 0, D::UnCMD, {}, {}},
        {"HEARTBEAT", "心跳", "~秒", 2, 1010, 1010, 1, D::CCMD, {}, {}},
        {"FILE_PREVIEW", "预览", "", QByteArray(), 0, 0, 0, D::UnCMD, {}, {}},
        {"TASK_FILE_INFO", "工作文件", "", QJsonObject(), 0, 0, 0, D::UnCMD, {}, {}},
        {"WORK_MODE", "切割质量", "", U0, 27, 27, 1, D::CMD, workMode, {}},
        {"PU_SPEED", "PU 速度", "", U0, 26, 26, 1, D::CMD, spin(10, 700), {}},
        {"DEVICE_CLOUD", "数据上传", "", QJsonObject(), 0, 0, 0, D::UnCMD, {}, {}},
    };
}

Table feed157()
{
    const QJsonObject plain = w("QSpinBox");
    return {
        {"AUTO_FEED", "自动送料", "", U0, 134, 134, 1, D::CMD, combo(VXC, {"   关", "   开"}), {}},
        {"FEED_MODEL", "送料模式", "", U0, 133, 133, 1, D::CMD, combo(VXC, {"   同步送料", "   异步送料"}), {}},
        {"FEED_LENGTH", "送料距离", "mm", U0, 135, 135, 1, D::CMD, plain, {}},
        {"FEED_CENTER", "横梁中心距离", "mm", U0, 136, 136, 1, D::CMD, plain, {}},
        {"FAN_DELAY", "气泵延时", "ms", U0, 137, 137, 1, D::CMD, spin(0, 10000), {}},
        {"FEED_SPEED", "送料速度", "mm/s", U0, 138, 138, 1, D::CMD, plain, {}},
        {"FEED", "送料", "", NONE, 0, 0, 0, D::UnCMD, w("QTabWidget"),
         {"WIDGET", "AUTO_FEED", "FEED_MODEL", "FEED_LENGTH", "FEED_CENTER", "FEED_SPEED", "FAN_DELAY"}},
    };
}

Table pair157(const char *group, const char *label, const char *unit, int x, int y, int len,
              const QJsonObject &editor)
{
    return {
        {QByteArray(group) + "_X", "x", "", U0, x, x, len, D::CMD, editor, {}},
        {QByteArray(group) + "_Y", "y", "", U0, y, y, len, D::CMD, editor, {}},
        {group, label, unit, NONE, 0, 0, 0, D::UnCMD, w("QGroupBox"), QStringList{"WIDGET"} + axes(group)},
    };
}

const QJsonObject offset157 = scaled(dspin(-1000, 1000), 0.005);

Table camera157()
{
    Table t = pair157("CAMERA_OFFSET", "摄像头偏移", "(mm x mm)", 11, 14, 3, offset157);
    t.last().members.move(0, 2);   // the one group whose editor comes after its axes
    t.append({"FACTORY_SET", "出厂设置", "", I0, 0, 67, 1, D::CCMD, {}, {}});
    return t;
}
Table tool157() { return pair157("TOOL_SPACE", "工具偏移", "(mm x mm)", 5, 8, 3, offset157); }
Table scale157() { return pair157("SCALE", "缩放", "", 24, 25, 1, scaled(w("QLineEdit"), 0.0001)); }
Table workArea157() { return pair157("WORKAREA", "幅宽", "(mm x mm)", 28, 29, 1, scaled(w("QLineEdit"), 0.5)); }
Table move157()
{
    return {{"MOVE_X", "X 移动", "", I0, 82, 82, 1, D::CMD, {}, {}},
            {"MOVE_Y", "Y 移动", "", I0, 83, 83, 1, D::CMD, {}, {}}};
}

Table info157(const QString &model = QStringLiteral("VX-KTD3105PROCam"))
{
    return {
        {"FIRMWARE", "固件版本", "", S, 0, 0, 1, D::CCMD, w("QLineEdit"), {}},
        {"DEVICE_ID", "机器编号", "", S, 0, 44, 1, D::CCMD, w("QLineEdit"), {}},
        {"PCB_ID", "PCB编号", "", S, 0, 46, 1, D::CCMD, w("QLineEdit"), {}},
        {"PCB_VERSION", "PCB版本", "", S, 0, 48, 1, D::CCMD, w("QLineEdit"), {}},
        {"DEVICE_CONFIG_NO", "配置号", "", S, 0, 0, 0, D::UnCMD, w("QLabel"), {}},
        {"DEVICE_UNIQUE_ID", "Unique ID", "", S, 57, 0, 1, D::CCMD, w("QLabel"), {}},
        {"DEVICE_MODEL", "型号", "", model, 0, 0, 0, D::UnCMD, w("QLabel"), {}},
        {"DEVICE_INFO", "机器信息", "",
         QStringList{"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"},
         2, 0, 1, D::CCMD, {},
         {"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"}},
    };
}

const QJsonObject angle = spin(-360, 360);
const QStringList spMembers1{"SP1_TOOL", "SP1_SPEED", "SP1_PRESSURE", "SP1_ANGLE", "WIDGET"};
const QStringList spMembers2{"WIDGET", "SP2_TOOL", "SP2_SPEED", "SP2_PRESSURE", "SP2_ANGLE"};

Table sp1()
{
    return {
        {"SP1_TOOL", "工具类型", "", U0, 128, 128, 1, D::CMD, combo(VXC, {"  拖刀", "  转刀"}), {}},
        {"SP1_SPEED", "速度", "(mm/s)", U0, 1, 1, 1, D::CMD, spin(10, 700), {}},
        {"SP1_PRESSURE", "压力", "(gf)", U0, 2, 2, 1, D::CMD, scaled(spin(0, 1900), 3.1666666666666665), {}},
        {"SP1_ANGLE", "转刀校准", "(°)", I0, 131, 131, 1, D::CMD, angle, {}},
        {"SP1", "SP1", "", NONE, 0, 0, 0, D::UnCMD, w("QTabWidget"), spMembers1},
    };
}

Table sp2()
{
    return {
        {"SP2_SPEED", "速度", "(mm/s)", U0, 3, 3, 1, D::CMD, spin(10, 700), {}},
        {"SP2_PRESSURE", "压力", "(gf)", U0, 4, 4, 1, D::CMD, scaled(spin(0, 1900), 3.1666666666666665), {}},
        {"SP2_TOOL", "工具类型", "", U0, 129, 129, 1, D::CMD, combo(VXC, {"拖刀", "转刀"}), {}},
        {"SP2_ANGLE", "转刀校准", "(°)", I0, 132, 132, 1, D::CMD, angle, {}},
        {"SP2", "SP2", "", NONE, 0, 0, 0, D::UnCMD, w("QTabWidget"), spMembers2},
    };
}

Table modelOwn()
{
    Table t = inContext({
        {"SP2_SPEED", "速度", "(mm/s)", U0, 3, 3, 1, D::CMD, spin(10, 700), {}},
        {"SP2_PRESSURE", "压力", "(gf)", U0, 4, 4, 1, D::CMD, scaled(spin(0, 900), 1.5), {}},
        {"SP2_TOOL", "工具类型", "", U0, 129, 129, 1, D::CMD, combo(VXM, {"拖刀", "转刀"}), {}},
        {"PAGE_SPACE", "纸张间距", "", I0, 43, 43, 1, D::CMD, scaled(dspin(-100, 300), 0.1), {}},
        {"SP2_ANGLE", "转刀校准", "(°)", I0, 132, 132, 1, D::CMD, angle, {}},
        {"SP2", "SP2", "", NONE, 0, 0, 0, D::UnCMD, w("QTabWidget"), spMembers2},
        {"DEVICE_MODEL_NAME", "名称", "", marked(VXM, "传送带平板机"), 0, 0, 0, D::UnCMD, w("QLabel"), {}},
    }, VXM);
    return t;
}

Table init437()
{
    return {
        {"STATUS", "状态", "", I0, 0, 0, 0, D::UnCMD, {}, {}},
        {"DEVICE_STATUS", "电机状态", "", S, 4, 0, 1, D::CCMD, {}, {}},
        {"TCP_PORT", "端口", "", 9100, 0, 0, 0, D::UnCMD, {}, {}},
        {"FILE_PREVIEW", "预览", "", QByteArray(), 0, 0, 0, D::UnCMD, {}, {}},
        {"TASK_FILE_INFO", "工作文件", "", QJsonObject(), 0, 0, 0, D::UnCMD, {}, {}},
        {"GET_QRCODE", "获取二维码", "", NONE, 11, 0, 1, D::CCMD, {}, {}},
        {"QRCODE_FILE", "二维码文件", "", S, 55, 55, 1, D::CCMD, {}, {}},
        {"TASK_COPIES", "份数", "~份", 1, 30, 30, 1, D::CCMD, {}, {}},
        {"TASK_PPLT", "pplt", "", S, 0, 1, 1, D::PPLT, {}, {}},
        {"TASK_STOP", "停止", "", 2, 27, 27, 1, D::CCMD, {}, {}},
        {"TASK_PAUSE", "暂停", "", I0, 27, 27, 1, D::CCMD, {}, {}},
        {"TASK_RESUME", "继续", "", 1, 27, 27, 1, D::CCMD, {}, {}},
        {"TASK_MODE", "任务模式", "", I0, 32, 32, 1, D::CCMD, {}, {}},
        {"LAST_TIME", "", "", NOW, 0, 0, 0, D::UnCMD, {}, {}},
        {"CONNECT_MODE", "连接方式", "", S, 0, 0, 0, D::UnCMD, {}, {}},
        {"DEVICE_CLOUD", "数据上传", "", QJsonObject(), 0, 0, 0, D::UnCMD, {}, {}},
        {"WORK_MODE", "切割质量", "", U0, 64, 23, 1, D::CCMD, combo(VXC, {"   速度优先", "   平衡", "   精度优先"}), {}},
    };
}

Table info437()
{
    return {
        {"FIRMWARE", "固件版本", "", S, 51, 0, 1, D::CCMD, w("QLineEdit"), {}},
        {"DEVICE_ID", "机器编号", "", S, 45, 44, 1, D::CCMD, w("QLineEdit"), {}},
        {"PCB_ID", "PCB编号", "", S, 47, 46, 1, D::CCMD, w("QLineEdit"), {}},
        {"PCB_VERSION", "PCB版本", "", S, 49, 48, 1, D::CCMD, w("QLineEdit"), {}},
    };
}

Table pair437(const char *group, const char *label, const char *unit, const QVariant &axis, int axisGet,
              int axisSet, const QJsonObject &editor, const QVariant &groupValue, int get, int set)
{
    const D::VXDeviceCMDType axisKind = axisGet ? D::CCMD : D::UnCMD;
    const D::VXDeviceCMDType groupKind = get ? D::CCMD : D::UnCMD;
    return {
        {QByteArray(group) + "_X", "x", "", axis, axisGet, axisSet, axisGet ? 1 : 0, axisKind, editor, {}},
        {QByteArray(group) + "_Y", "y", "", axis, axisGet ? axisGet + 1 : 0, axisSet ? axisSet + 1 : 0,
         axisGet ? 1 : 0, axisKind, editor, {}},
        {group, label, unit, groupValue, get, set, get ? 1 : 0, groupKind, w("QGroupBox"), QStringList{"WIDGET"} + axes(group)},
    };
}

Table workArea437()
{
    return pair437("WORKAREA", "幅宽", "~(mm x mm)", 0.0, 0, 0, dspin(10, 10000), axes("WORKAREA"), 63, 22);
}
Table scale437() { return pair437("SCALE", "缩放", "", 1.0, 61, 20, dspin(0, 200), NONE, 0, 0); }
Table camera437()
{
    return pair437("CAMERA_OFFSET", "摄像头偏移", "~(mm x mm)", 0.0, 0, 0, dspin(-1000, 1000),
                   axes("CAMERA_OFFSET"), 16, 15);
}

using Build = std::function<VXDeviceInterface *(VXKTR450PROCam &)>;
using Builder = void (VXCommonInterface::*)(VXDeviceInterface *);

Build builder(Builder b)
{
    return [b](VXKTR450PROCam &) {
        auto *device = new VXCommonInterface;
        (device->*b)(device);
        return device;
    };
}

// One builder run on a bare common device of its own.
struct Built {
    std::unique_ptr<VXCommonInterface> device{new VXCommonInterface};
    VXDeviceProperty *at(const char *key) { return device->property_ptr(key); }
};

Built built(Builder builder)
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

Q_DECLARE_METATYPE(Table)
Q_DECLARE_METATYPE(Build)
Q_DECLARE_METATYPE(Builder)

class TestCatalogueTable : public QObject
{
    Q_OBJECT
private slots:
    void records_data();
    void records();
    void frames_data();
    void frames();
    void builderTouchesOnlyItsArgument();
    void deviceInfoReplyFillsChildrenInOrder();
    void compoundReplyFillsAxes();
};

void TestCatalogueTable::records_data()
{
    QTest::addColumn<Build>("build");
    QTest::addColumn<Table>("table");
    using C = VXCommonInterface;
    QTest::newRow("init157") << builder(&C::init157) << init157();
    QTest::newRow("feed_157") << builder(&C::feed_157) << feed157();
    QTest::newRow("camera_offset_157") << builder(&C::camera_offset_157) << camera157();
    QTest::newRow("tool_space_157") << builder(&C::tool_space_157) << tool157();
    QTest::newRow("info_157") << builder(&C::info_157) << info157();
    QTest::newRow("move_157") << builder(&C::move_157) << move157();
    QTest::newRow("scale_157") << builder(&C::scale_157) << scale157();
    QTest::newRow("work_area_157") << builder(&C::work_area_157) << workArea157();
    QTest::newRow("sp1_157") << builder(&C::sp1_157) << sp1();
    QTest::newRow("sp2_157") << builder(&C::sp2_157) << sp2();
    QTest::newRow("init437") << builder(&C::init437) << init437();
    QTest::newRow("info_437") << builder(&C::info_437) << info437();
    QTest::newRow("work_area_437") << builder(&C::work_area_437) << workArea437();
    QTest::newRow("scale_437") << builder(&C::scale_437) << scale437();
    QTest::newRow("camera_offset_437") << builder(&C::camera_offset_437) << camera437();
    QTest::newRow("plain device") << Build([](VXKTR450PROCam &) {
        return std::unique_ptr<VXCommonInterface>(new VXCommonInterface)->initInstance();
    }) << init157();
    QTest::newRow("model") << Build([](VXKTR450PROCam &root) { return root.initInstance(); })
                           << (init157() + feed157() + camera157() + tool157()
                               + info157(QStringLiteral("VX-KTR450PROCam")) + move157() + scale157()
                               + workArea157() + modelOwn());
}

void TestCatalogueTable::records()
{
    QFETCH(Build, build);
    QFETCH(Table, table);
    VXKTR450PROCam root;
    const QDateTime before = QDateTime::currentDateTime();
    std::unique_ptr<VXDeviceInterface> device(build(root));

    QStringList keys, expectedKeys;
    for (const QByteArray &name : device->dynamicPropertyNames())
        keys << QString::fromLatin1(name);
    for (const Expect &e : table)
        expectedKeys << QString::fromLatin1(e.key);
    QCOMPARE(keys, expectedKeys);

    for (const Expect &e : table) {
        const char *key = e.key.constData();
        VXDeviceProperty *r = device->property_ptr(key);
        QVERIFY2(r, key);
        const QString label = e.label.isEmpty() ? QString() : marked(e.ctx, e.label);
        const QString unit = e.unit.startsWith('~') ? marked(e.ctx, e.unit.mid(1)) : e.unit;
        QVERIFY2(r->label() == label, qPrintable(QString::fromLatin1(e.key) + ": " + r->label()));
        QVERIFY2(r->uint() == unit, qPrintable(QString::fromLatin1(e.key) + ": " + r->uint()));
        QVERIFY2(r->get_cmd_int() == e.get && r->set_cmd_int() == e.set && r->cmd_len() == e.len
                     && r->cmd_type() == e.kind,
                 key);
        QVERIFY2(r->param().isEmpty(), key);
        if (e.value.userType() == QMetaType::QDateTime && !e.value.toDateTime().isValid()) {
            QCOMPARE(r->value().userType(), int(QMetaType::QDateTime));
            QVERIFY2(qAbs(before.secsTo(r->value().toDateTime())) < 60, key);
        } else {
            QVERIFY2(r->value().userType() == e.value.userType(),
                     qPrintable(QString::fromLatin1(e.key) + ": " + r->value().typeName()));
            QVERIFY2(r->value() == e.value, key);
        }
        const QVariant widget = r->property("WIDGET");
        QVERIFY2(widget.isValid() == !e.widget.isEmpty(), key);
        QVERIFY2(widget.toJsonObject() == e.widget, key);
        QStringList members;
        for (const QByteArray &name : r->dynamicPropertyNames()) {
            // Members are the device's own records, not copies.
            if (VXDeviceProperty *member = r->property_ptr(name.constData())) {
                QVERIFY2(member == device->property_ptr(name.constData()), name.constData());
                members << QString::fromLatin1(name);
            } else if (name == "WIDGET" && !e.members.isEmpty()) {
                members << QString::fromLatin1(name);
            }
        }
        QVERIFY2(members == e.members, qPrintable(QString::fromLatin1(e.key) + ": " + members.join(',')));
    }
}

// Read (value invalid) or write (value set first with setValue) frames.
void TestCatalogueTable::frames_data()
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

void TestCatalogueTable::frames()
{
    QFETCH(Builder, builder);
    QFETCH(QByteArray, key);
    QFETCH(QVariant, value);
    QFETCH(QByteArray, frame);
    Built b = built(builder);
    VXDeviceProperty *p = b.at(key.constData());
    QVERIFY(p);
    if (value.isValid()) {
        p->setValue(value);
        QCOMPARE(p->set_cmd_bytes(), frame);
    } else {
        QCOMPARE(p->get_cmd_bytes(), frame);
    }
}

void TestCatalogueTable::builderTouchesOnlyItsArgument()
{
    VXCommonInterface builder;
    VXCommonInterface target;
    builder.info_157(&target);
    builder.sp1_157(&target);
    QVERIFY(builder.dynamicPropertyNames().isEmpty());
    QCOMPARE(target.property_ptr("DEVICE_MODEL")->value(), QVariant(QString("VX-KTD3105PROCam")));
}

void TestCatalogueTable::deviceInfoReplyFillsChildrenInOrder()
{
    Built b = built(&VXCommonInterface::info_157);
    VXDeviceProperty *group = b.at("DEVICE_INFO");
    QCOMPARE(group->value().toStringList().size(), 6);
    group->set_decode(QStringList{"M", "ID", "PCB", "VER", "FW", "CFG", "extra"});
    const char *order[] = {"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE", "DEVICE_CONFIG_NO"};
    const QStringList expected{"M", "ID", "PCB", "VER", "FW", "CFG"};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(b.at(order[i])->value().toString(), expected.at(i));
    QCOMPARE(b.at("DEVICE_UNIQUE_ID")->value().toString(), QString());
}

void TestCatalogueTable::compoundReplyFillsAxes()
{
    Built wa = built(&VXCommonInterface::work_area_437);
    wa.at("WORKAREA")->set_decode(QStringList{"1250.5", "800"});
    QCOMPARE(wa.at("WORKAREA_X")->value(), QVariant(1250.5));
    QCOMPARE(wa.at("WORKAREA_Y")->value().userType(), int(QMetaType::Double));
    wa.at("WORKAREA_X")->setValue(1200.0);
    wa.at("WORKAREA_Y")->setValue(900.0);
    QCOMPARE(wa.at("WORKAREA")->set_cmd_bytes(), framed("22;CCMD;22,1200,900;"));

    Built cam = built(&VXCommonInterface::camera_offset_437);
    cam.at("CAMERA_OFFSET_X")->setValue(12.5);
    cam.at("CAMERA_OFFSET_Y")->setValue(-3.0);
    QCOMPARE(cam.at("CAMERA_OFFSET")->set_cmd_bytes(), framed("21;CCMD;15,12.5,-3;"));

    // A query-only trigger keeps its invalid value whatever comes back.
    Built init = built(&VXCommonInterface::init437);
    init.at("GET_QRCODE")->set_decode(QStringList{"CODE"});
    QVERIFY(!init.at("GET_QRCODE")->value().isValid());
}

int main(int argc, char **argv)
{
    // No translation file exists for zh_CN, so only the marking translator
    // answers, whichever device objects install their own.
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qputenv("LANG", "zh_CN.UTF-8");
    QApplication app(argc, argv);
    ContextTranslator marks;
    QCoreApplication::installTranslator(&marks);
    TestCatalogueTable test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_cataloguetable.moc"
