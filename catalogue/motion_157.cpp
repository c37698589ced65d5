// SPDX-License-Identifier: LGPL-2.1-or-later
// Jog words, scale, work area, tool offset and camera offset of the first
// board family. The axes are scaled unsigned words; "factor" turns them into
// the shown unit (shown = value x factor).
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

using namespace catalogue;

namespace {

const QJsonObject groupBox{{"widget", "QGroupBox"}};

// Offsets are 32-bit words sent as three words (low, high, 0); 200 per mm.
QJsonObject offsetEditor()
{
    return {{"widget", "QDoubleSpinBox"}, {"factor", 0.005}, {"max", 1000}, {"min", -1000}};
}

} // namespace

void VXCommonInterface::move_157(VXDeviceInterface *device)
{
    // Jog words: 0 stop, 100 negative, 0x8064 positive (written by move()).
    const Row rows[] = {
        // key       label           unit value get set len kind editor
        {"MOVE_X", tr("X 移动"),    "", 0,     82, 82, 1, CMD, {}},
        {"MOVE_Y", tr("Y 移动"),    "", 0,     83, 83, 1, CMD, {}},
    };
    addAll(device, rows);
}

void VXCommonInterface::scale_157(VXDeviceInterface *device)
{
    // 10000 per unit scale.
    const QJsonObject editor{{"widget", "QLineEdit"}, {"factor", 0.0001}};
    const Row rows[] = {
        // key        label     unit value get set len kind editor
        {"SCALE_X", tr("x"),   "", 0u,    24, 24, 1, CMD, editor},
        {"SCALE_Y", tr("y"),   "", 0u,    25, 25, 1, CMD, editor},
    };
    addAll(device, rows);
    addGroup(device, {"SCALE", tr("缩放"), "", QVariant(), 0, 0, 0, UnCMD, groupBox},
             {"SCALE_X", "SCALE_Y"}, WidgetAt::BeforeMembers);
}

void VXCommonInterface::work_area_157(VXDeviceInterface *device)
{
    // Half-millimetre words.
    const QJsonObject editor{{"widget", "QLineEdit"}, {"factor", 0.5}};
    const Row rows[] = {
        // key           label    unit value get set len kind editor
        {"WORKAREA_X", tr("x"),  "", 0u,    28, 28, 1, CMD, editor},
        {"WORKAREA_Y", tr("y"),  "", 0u,    29, 29, 1, CMD, editor},
    };
    addAll(device, rows);
    addGroup(device, {"WORKAREA", tr("幅宽"), "(mm x mm)", QVariant(), 0, 0, 0, UnCMD, groupBox},
             {"WORKAREA_X", "WORKAREA_Y"}, WidgetAt::BeforeMembers);
}

void VXCommonInterface::tool_space_157(VXDeviceInterface *device)
{
    const Row rows[] = {
        // key             label    unit value get set len kind editor
        {"TOOL_SPACE_X", tr("x"),  "", 0u,    5,  5, 3, CMD, offsetEditor()},
        {"TOOL_SPACE_Y", tr("y"),  "", 0u,    8,  8, 3, CMD, offsetEditor()},
    };
    addAll(device, rows);
    addGroup(device, {"TOOL_SPACE", tr("工具偏移"), "(mm x mm)", QVariant(), 0, 0, 0, UnCMD, groupBox},
             {"TOOL_SPACE_X", "TOOL_SPACE_Y"}, WidgetAt::BeforeMembers);
}

void VXCommonInterface::camera_offset_157(VXDeviceInterface *device)
{
    const Row rows[] = {
        // key                label    unit value get set len kind editor
        {"CAMERA_OFFSET_X", tr("x"),  "", 0u,    11, 11, 3, CMD, offsetEditor()},
        {"CAMERA_OFFSET_Y", tr("y"),  "", 0u,    14, 14, 3, CMD, offsetEditor()},
    };
    addAll(device, rows);
    // Unlike the other groups, the members come before "WIDGET" here.
    addGroup(device, {"CAMERA_OFFSET", tr("摄像头偏移"), "(mm x mm)", QVariant(), 0, 0, 0, UnCMD, groupBox},
             {"CAMERA_OFFSET_X", "CAMERA_OFFSET_Y"}, WidgetAt::AfterMembers);
    // No read command; the machine acknowledges the write under 67.
    add(device, {"FACTORY_SET", tr("出厂设置"), "", 0, 0, 67, 1, CCMD, {}});
}
