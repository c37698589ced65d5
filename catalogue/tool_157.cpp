// SPDX-License-Identifier: LGPL-2.1-or-later
// Tool groups of the two tool positions: tool type, speed, pressure and the
// rotary knife calibration, shown as one tab page each. The model builds its
// own SP2 variant (plugin/), so neither builder runs on the model's device.
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

using namespace catalogue;

namespace {

const QJsonObject tabPage{{"widget", "QTabWidget"}};
const QJsonObject speedEditor{{"widget", "QSpinBox"}, {"max", 700}, {"min", 10}};
const QJsonObject angleEditor{{"widget", "QSpinBox"}, {"max", 360}, {"min", -360}};

// The nearest double to 19/6: 1900 gf shown for the largest stored word 600.
QJsonObject pressureEditor()
{
    return {{"widget", "QSpinBox"}, {"max", 1900}, {"min", 0}, {"factor", 3.1666666666666665}};
}

} // namespace

void VXCommonInterface::sp1_157(VXDeviceInterface *device)
{
    const QJsonObject toolEditor{{"widget", "QComboBox"},
                                 {"option", options({tr("  拖刀"), tr("  转刀")})}};
    const Row rows[] = {
        // key             label            unit      value get  set  len kind editor
        {"SP1_TOOL",     tr("工具类型"),  "",       0u,   128, 128, 1, CMD, toolEditor},
        {"SP1_SPEED",    tr("速度"),      "(mm/s)", 0u,     1,   1, 1, CMD, speedEditor},
        {"SP1_PRESSURE", tr("压力"),      "(gf)",   0u,     2,   2, 1, CMD, pressureEditor()},
        {"SP1_ANGLE",    tr("转刀校准"),  "(°)",    0,    131, 131, 1, CMD, angleEditor},
    };
    addAll(device, rows);
    addGroup(device, {"SP1", tr("SP1"), "", QVariant(), 0, 0, 0, UnCMD, tabPage},
             {"SP1_TOOL", "SP1_SPEED", "SP1_PRESSURE", "SP1_ANGLE"}, WidgetAt::AfterMembers);
}

void VXCommonInterface::sp2_157(VXDeviceInterface *device)
{
    const QJsonObject toolEditor{{"widget", "QComboBox"},
                                 {"option", options({tr("拖刀"), tr("转刀")})}};
    const Row rows[] = {
        // key             label            unit      value get  set  len kind editor
        {"SP2_SPEED",    tr("速度"),      "(mm/s)", 0u,     3,   3, 1, CMD, speedEditor},
        {"SP2_PRESSURE", tr("压力"),      "(gf)",   0u,     4,   4, 1, CMD, pressureEditor()},
        {"SP2_TOOL",     tr("工具类型"),  "",       0u,   129, 129, 1, CMD, toolEditor},
        {"SP2_ANGLE",    tr("转刀校准"),  "(°)",    0,    132, 132, 1, CMD, angleEditor},
    };
    addAll(device, rows);
    // Members attach as tool, speed, pressure, angle whatever the creation order.
    addGroup(device, {"SP2", tr("SP2"), "", QVariant(), 0, 0, 0, UnCMD, tabPage},
             {"SP2_TOOL", "SP2_SPEED", "SP2_PRESSURE", "SP2_ANGLE"}, WidgetAt::BeforeMembers);
}
