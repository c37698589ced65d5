// SPDX-License-Identifier: LGPL-2.1-or-later
// Builders of the second board family: mostly CCMD commands, axes held as
// doubles in real units. The work area and the camera offset are compounds:
// the group reads and writes both axes in one command.
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

#include <QDateTime>

using namespace catalogue;

namespace {
const QJsonObject groupBox{{"widget", "QGroupBox"}};
} // namespace

void VXCommonInterface::init437(VXDeviceInterface *device)
{
    const QJsonObject workMode{{"widget", "QComboBox"},
                               {"option", options({tr("   速度优先"), tr("   平衡"), tr("   精度优先")})}};
    const Row rows[] = {
        // key               label               unit      value                           get set len kind  editor
        {"STATUS",         tr("状态"),         "",       0,                                0,  0, 0, UnCMD, {}},
        {"DEVICE_STATUS",  tr("电机状态"),     "",       QString(),                        4,  0, 1, CCMD,  {}},
        {"TCP_PORT",       tr("端口"),         "",       9100,                             0,  0, 0, UnCMD, {}},
        {"FILE_PREVIEW",   tr("预览"),         "",       QByteArray(),                     0,  0, 0, UnCMD, {}},
        {"TASK_FILE_INFO", tr("工作文件"),     "",       QJsonObject(),                    0,  0, 0, UnCMD, {}},
        // Query-only trigger: the answer arrives as a QR message, the value stays invalid.
        {"GET_QRCODE",     tr("获取二维码"),   "",       QVariant(),                      11,  0, 1, CCMD,  {}},
        {"QRCODE_FILE",    tr("二维码文件"),   "",       QString(),                       55, 55, 1, CCMD,  {}},
        {"TASK_COPIES",    tr("份数"),         tr("份"), 1,                               30, 30, 1, CCMD,  {}},
        {"TASK_PPLT",      tr("pplt"),         "",       QString(),                        0,  1, 1, PPLT,  {}},
        // One job-control command; the value is its argument: 2 stop, 0 pause, 1 resume.
        {"TASK_STOP",      tr("停止"),         "",       2,                               27, 27, 1, CCMD,  {}},
        {"TASK_PAUSE",     tr("暂停"),         "",       0,                               27, 27, 1, CCMD,  {}},
        {"TASK_RESUME",    tr("继续"),         "",       1,                               27, 27, 1, CCMD,  {}},
        {"TASK_MODE",      tr("任务模式"),     "",       0,                               32, 32, 1, CCMD,  {}},
        {"LAST_TIME",      QString(""),        "",       QDateTime::currentDateTime(),     0,  0, 0, UnCMD, {}},
        {"CONNECT_MODE",   tr("连接方式"),     "",       QString(),                        0,  0, 0, UnCMD, {}},
        {"DEVICE_CLOUD",   tr("数据上传"),     "",       QJsonObject(),                    0,  0, 0, UnCMD, {}},
        // Read under 64, written under 23.
        {"WORK_MODE",      tr("切割质量"),     "",       0u,                              64, 23, 1, CCMD,  workMode},
    };
    addAll(device, rows);
}

void VXCommonInterface::info_437(VXDeviceInterface *device)
{
    const QJsonObject lineEdit{{"widget", "QLineEdit"}};
    // Each reading has its own query here; no group.
    const Row rows[] = {
        // key            label              unit value      get set len kind editor
        {"FIRMWARE",    tr("固件版本"),    "", QString(),  51,  0, 1, CCMD, lineEdit},
        {"DEVICE_ID",   tr("机器编号"),    "", QString(),  45, 44, 1, CCMD, lineEdit},
        {"PCB_ID",      tr("PCB编号"),     "", QString(),  47, 46, 1, CCMD, lineEdit},
        {"PCB_VERSION", tr("PCB版本"),     "", QString(),  49, 48, 1, CCMD, lineEdit},
    };
    addAll(device, rows);
}

void VXCommonInterface::work_area_437(VXDeviceInterface *device)
{
    const QJsonObject editor{{"widget", "QDoubleSpinBox"}, {"max", 10000}, {"min", 10}};
    const Row rows[] = {
        // key           label    unit value get set len kind   editor
        {"WORKAREA_X", tr("x"),  "", 0.0,   0,  0, 0, UnCMD, editor},
        {"WORKAREA_Y", tr("y"),  "", 0.0,   0,  0, 0, UnCMD, editor},
    };
    addAll(device, rows);
    const auto members = {"WORKAREA_X", "WORKAREA_Y"};
    addGroup(device, {"WORKAREA", tr("幅宽"), tr("(mm x mm)"), keys(members), 63, 22, 1, CCMD, groupBox},
             members, WidgetAt::BeforeMembers);
}

void VXCommonInterface::scale_437(VXDeviceInterface *device)
{
    // The scale factor itself; 1.0 is unscaled.
    const QJsonObject editor{{"widget", "QDoubleSpinBox"}, {"max", 200}, {"min", 0}};
    const Row rows[] = {
        // key        label    unit value get set len kind  editor
        {"SCALE_X", tr("x"),  "", 1.0,   61, 20, 1, CCMD, editor},
        {"SCALE_Y", tr("y"),  "", 1.0,   62, 21, 1, CCMD, editor},
    };
    addAll(device, rows);
    addGroup(device, {"SCALE", tr("缩放"), "", QVariant(), 0, 0, 0, UnCMD, groupBox},
             {"SCALE_X", "SCALE_Y"}, WidgetAt::BeforeMembers);
}

void VXCommonInterface::camera_offset_437(VXDeviceInterface *device)
{
    const QJsonObject editor{{"widget", "QDoubleSpinBox"}, {"max", 1000.0}, {"min", -1000.0}};
    const Row rows[] = {
        // key                label    unit value get set len kind   editor
        {"CAMERA_OFFSET_X", tr("x"),  "", 0.0,   0,  0, 0, UnCMD, editor},
        {"CAMERA_OFFSET_Y", tr("y"),  "", 0.0,   0,  0, 0, UnCMD, editor},
    };
    addAll(device, rows);
    const auto members = {"CAMERA_OFFSET_X", "CAMERA_OFFSET_Y"};
    addGroup(device,
             {"CAMERA_OFFSET", tr("摄像头偏移"), tr("(mm x mm)"), keys(members), 16, 15, 1, CCMD, groupBox},
             members, WidgetAt::BeforeMembers);
}
