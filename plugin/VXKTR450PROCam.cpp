// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXKTR450PROCam.h"

#include "../catalogue/CatalogueTable.h"
#include "../link/ItemSplit.h"

#include <QCoreApplication>

using namespace catalogue;

VXKTR450PROCam::VXKTR450PROCam(QObject *parent)
    : VXCommonInterface(parent)
{
    // zh_CN yields an empty code: "VX-KTR450PROCam_.qm", normally absent, so
    // the Chinese source texts stay.
    if (!QCoreApplication::instance())
        return;   // no application to translate for (nor a directory to look in)
    // A real separator: a backslash is an ordinary file-name character here.
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    m_translator.load(translationFile(), dir, QString(), QString());
    // Installed even when nothing loaded; ~QTranslator removes it again.
    QCoreApplication::installTranslator(&m_translator);
}

VXKTR450PROCam::~VXKTR450PROCam() = default;

QString VXKTR450PROCam::translationFile() const
{
    return QStringLiteral("VX-KTR450PROCam_%1.qm").arg(m_language);
}

VXDeviceInterface *VXKTR450PROCam::initInstance()
{
    // The new object's constructor installs its translator before any label
    // below is translated.
    auto *device = new VXKTR450PROCam(nullptr);

    init157(device);
    feed_157(device);
    camera_offset_157(device);
    tool_space_157(device);
    info_157(device);
    move_157(device);
    scale_157(device);
    work_area_157(device);

    // The model's SP2 group: pressure up to 900 gf at 1.5 per word. "PAGE_SPACE"
    // is created in the middle of it but is not a member.
    const QJsonObject speedEditor{{"widget", "QSpinBox"}, {"max", 700}, {"min", 10}};
    const QJsonObject pressureEditor{{"widget", "QSpinBox"}, {"max", 900}, {"min", 0}, {"factor", 1.5}};
    const QJsonObject toolEditor{{"widget", "QComboBox"},
                                 {"option", options({tr("拖刀"), tr("转刀")})}};
    const QJsonObject angleEditor{{"widget", "QSpinBox"}, {"max", 360}, {"min", -360}};
    const QJsonObject pageSpaceEditor{{"widget", "QDoubleSpinBox"}, {"factor", 0.1}, {"max", 300}, {"min", -100}};

    const Row rows[] = {
        // key             label            unit      value get  set  len kind editor
        {"SP2_SPEED",    tr("速度"),      "(mm/s)", 0u,     3,   3, 1, CMD, speedEditor},
        {"SP2_PRESSURE", tr("压力"),      "(gf)",   0u,     4,   4, 1, CMD, pressureEditor},
        {"SP2_TOOL",     tr("工具类型"),  "",       0u,   129, 129, 1, CMD, toolEditor},
        {"PAGE_SPACE",   tr("纸张间距"),  "",       0,     43,  43, 1, CMD, pageSpaceEditor},
        {"SP2_ANGLE",    tr("转刀校准"),  "(°)",    0,    132, 132, 1, CMD, angleEditor},
    };
    addAll(device, rows);
    addGroup(device, {"SP2", tr("SP2"), "", QVariant(), 0, 0, 0, UnCMD, {{"widget", "QTabWidget"}}},
             {"SP2_TOOL", "SP2_SPEED", "SP2_PRESSURE", "SP2_ANGLE"}, WidgetAt::BeforeMembers);

    if (VXDeviceProperty *model = device->property_ptr("DEVICE_MODEL"))
        model->setValue(QString::fromLatin1(ModelString));

    add(device, {"DEVICE_MODEL_NAME", tr("名称"), "", tr("传送带平板机"), 0, 0, 0, UnCMD,
                 {{"widget", "QLabel"}}});
    return device;
}

QStringList VXKTR450PROCam::userProperty()
{
    // "BACK_CUT" and "SP1" have no record on this model; hosts skip nulls.
    return {"WORK_MODE", "PU_SPEED", "BACK_CUT", "TOOL_SPACE", "PAGE_SPACE",
            "CAMERA_OFFSET", "SP1", "SP2", "FEED"};
}

QStringList VXKTR450PROCam::sysProperty()
{
    return {"DEVICE_MODEL_NAME", "DEVICE_INFO", "FIRMWARE", "DEVICE_ID", "PCB_ID",
            "PCB_VERSION", "WORKAREA", "SCALE", "DEVICE_CONFIG_NO", "DEVICE_UNIQUE_ID"};
}

int VXKTR450PROCam::icon()
{
    return 0xE624;
}

void VXKTR450PROCam::decode_cmd(QString frame)
{
    const QVector<QStringRef> parts = vxlink::splitItems(frame, QLatin1Char(';'));
    if (parts.size() < 3)
        return;

    // Short "CCMD" replies (number, value) are either a reading or a write
    // acknowledgement; the common decoding ignores them for lack of a result
    // field.
    if (parts.at(1) == QLatin1String("CCMD")) {
        const QStringRef &item = parts.at(2);
        const int comma = item.indexOf(QLatin1Char(','));
        if (comma >= 0 && item.indexOf(QLatin1Char(','), comma + 1) < 0) {
            const QStringRef value = vxlink::piece(item, comma + 1);
            bool numeric = false;
            const int number = vxlink::piece(item, 0, comma).toInt(&numeric, 10);
            // 0 marks "no such command" on a record; a reply numbered 0 (or
            // not numbered at all) belongs to none of them.
            if (numeric && number != 0) {
                bool cut = false;
                VXDeviceProperty *record = replyRecord(CCMD, number, &cut);
                // A key without a record has always ended the whole frame.
                if (cut)
                    return;
                if (record) {
                    if (record->get_cmd_int() == number) {
                        record->set_decode(value.toString());
                    } else {
                        // A retStatus handler may delete this device.
                        const QPointer<VXKTR450PROCam> alive(this);
                        record->ret_Status(value.toInt(nullptr, 10));
                        if (!alive)
                            return;
                    }
                }
            }
        }
    }
    decode_common(frame, parts);
}
