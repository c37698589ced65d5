// Link state, job control and job records: the first builder of the 157
// family, run before all others.
#include "../link/VXCommonInterface.h"

#include <QDateTime>
#include <QJsonObject>

namespace {

struct Row
{
    const char *key;
    QString label;
    QString unit;
    QVariant value;
    int get;
    int set;
    int len;
    VXDeviceInterface::VXDeviceCMDType type;
    const QJsonObject *widget;  // editor description, or none
};

} // namespace

void VXCommonInterface::init157(VXDeviceInterface *device)
{
    using D = VXDeviceInterface;
    const QDateTime now = QDateTime::currentDateTime();

    const QStringList workModes = {
        tr("   速度优先"),   // speed first
        tr("   平衡"),       // balanced
        tr("   精度优先"),   // precision first
    };
    const QJsonObject workModeWidget{ { "widget", "QComboBox" }, { "option", workModes.join(QLatin1Char(';')) } };
    const QJsonObject puSpeedWidget{ { "widget", "QSpinBox" }, { "max", 700 }, { "min", 10 } };

    // clang-format off
    const Row rows[] = {
        // key             label            unit      value          get   set   len kind     editor
        { "STATUS",          tr("状态"),       "",       int(0),        0,    0,    0, D::UnCMD, nullptr },
        { "TCP_PORT",        tr("端口"),       "",       int(9100),     0,    0,    0, D::UnCMD, nullptr },
        { "CONNECT_MODE",    tr("连接方式"),   "",       QString(""),   0,    0,    0, D::UnCMD, nullptr },
        { "QRCODE_COPIES",   tr("份数"),       tr("份"), int(1),        54,   54,   1, D::CCMD,  nullptr },
        { "QRCODE_FILE",     tr("二维码文件"), "",       QString(""),   55,   55,   1, D::CCMD,  nullptr },
        { "TASK_COPIES",     tr("份数"),       tr("份"), int(1),        1,    1,    1, D::NUM,   nullptr },
        { "TASK_PLT",        tr("plt"),        "",       QString(""),   1,    1,    1, D::PLT,   nullptr },
        { "TASK_STOP",       tr("停止"),       "",       int(2),        125,  125,  1, D::CMD,   nullptr },
        { "TASK_PAUSE",      tr("暂停"),       "",       int(0),        125,  125,  1, D::CMD,   nullptr },
        { "TASK_RESUME",     tr("继续"),       "",       int(1),        125,  125,  1, D::CMD,   nullptr },
        { "QR_PLT",          tr("QR PLT"),     "",       QString(""),   1,    1,    1, D::QRPLT, nullptr },
        { "FLAG_POINT",      tr("设原点"),     "",       int(1),        87,   87,   1, D::CMD,   nullptr },
        { "BACK_FLAG_POINT", tr("回原点"),     "",       int(1),        93,   93,   1, D::CMD,   nullptr },
        { "TASK_MODE",       tr("任务模式"),   "",       int(0),        0,    0,    0, D::UnCMD, nullptr },
        { "LAST_TIME",       "",               "",       now,           0,    0,    0, D::UnCMD, nullptr },
        { "HEARTBEAT",       tr("心跳"),       tr("秒"), int(2),        1010, 1010, 1, D::CCMD,  nullptr },
        { "FILE_PREVIEW",    tr("预览"),       "",       QByteArray(),  0,    0,    0, D::UnCMD, nullptr },
        { "TASK_FILE_INFO",  tr("工作文件"),   "",       QJsonObject(), 0,    0,    0, D::UnCMD, nullptr },
        { "WORK_MODE",       tr("切割质量"),   "",       uint(0),       27,   27,   1, D::CMD,   &workModeWidget },
        { "PU_SPEED",        tr("PU 速度"),    "",       uint(0),       26,   26,   1, D::CMD,   &puSpeedWidget },
        { "DEVICE_CLOUD",    tr("数据上传"),   "",       QJsonObject(), 0,    0,    0, D::UnCMD, nullptr },
    };
    // clang-format on

    for (const Row &row : rows) {
        auto *record = new VXDeviceProperty;
        record->init(row.value, row.label, row.unit, row.get, row.set, row.len, row.type, QStringList());
        if (row.widget)
            record->setProperty("WIDGET", *row.widget);
        device->attachRecord(row.key, record);
    }
}
