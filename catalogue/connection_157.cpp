// SPDX-License-Identifier: LGPL-2.1-or-later
// Link state, job control and job records: the first builder of the 157
// family, run before all others. Only "WORK_MODE" and "PU_SPEED" are offered
// to the user; the rest are carriers the link, job and cloud code look up.
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

#include <QDateTime>

using namespace catalogue;

void VXCommonInterface::init157(VXDeviceInterface *device)
{
    const QJsonObject workMode{{"widget", "QComboBox"},
                               {"option", options({tr("   速度优先"), tr("   平衡"), tr("   精度优先")})}};
    const QJsonObject puSpeed{{"widget", "QSpinBox"}, {"max", 700}, {"min", 10}};
    const QDateTime now = QDateTime::currentDateTime();

    const Row rows[] = {
        // key               label             unit      value          get   set   len kind   editor
        {"STATUS",          tr("状态"),       "",       int(0),        0,    0,    0,  UnCMD, {}},
        {"TCP_PORT",        tr("端口"),       "",       int(9100),     0,    0,    0,  UnCMD, {}},
        {"CONNECT_MODE",    tr("连接方式"),   "",       QString(""),   0,    0,    0,  UnCMD, {}},
        {"QRCODE_COPIES",   tr("份数"),       tr("份"), int(1),        54,   54,   1,  CCMD,  {}},
        {"QRCODE_FILE",     tr("二维码文件"), "",       QString(""),   55,   55,   1,  CCMD,  {}},
        {"TASK_COPIES",     tr("份数"),       tr("份"), int(1),        1,    1,    1,  NUM,   {}},
        {"TASK_PLT",        tr("plt"),        "",       QString(""),   1,    1,    1,  PLT,   {}},
        {"TASK_STOP",       tr("停止"),       "",       int(2),        125,  125,  1,  CMD,   {}},
        {"TASK_PAUSE",      tr("暂停"),       "",       int(0),        125,  125,  1,  CMD,   {}},
        {"TASK_RESUME",     tr("继续"),       "",       int(1),        125,  125,  1,  CMD,   {}},
        {"QR_PLT",          tr("QR PLT"),     "",       QString(""),   1,    1,    1,  QRPLT, {}},
        {"FLAG_POINT",      tr("设原点"),     "",       int(1),        87,   87,   1,  CMD,   {}},
        {"BACK_FLAG_POINT", tr("回原点"),     "",       int(1),        93,   93,   1,  CMD,   {}},
        {"TASK_MODE",       tr("任务模式"),   "",       int(0),        0,    0,    0,  UnCMD, {}},
        {"LAST_TIME",       "",               "",       now,           0,    0,    0,  UnCMD, {}},
        {"HEARTBEAT",       tr("心跳"),       tr("秒"), int(2),        1010, 1010, 1,  CCMD,  {}},
        {"FILE_PREVIEW",    tr("预览"),       "",       QByteArray(),  0,    0,    0,  UnCMD, {}},
        {"TASK_FILE_INFO",  tr("工作文件"),   "",       QJsonObject(), 0,    0,    0,  UnCMD, {}},
        {"WORK_MODE",       tr("切割质量"),   "",       uint(0),       27,   27,   1,  CMD,   workMode},
        {"PU_SPEED",        tr("PU 速度"),    "",       uint(0),       26,   26,   1,  CMD,   puSpeed},
        {"DEVICE_CLOUD",    tr("数据上传"),   "",       QJsonObject(), 0,    0,    0,  UnCMD, {}},
    };
    addAll(device, rows);
}
