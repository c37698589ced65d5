// SPDX-License-Identifier: LGPL-2.1-or-later
// Identity readings of the first board family and the group "DEVICE_INFO",
// filled by one reply to query 2.
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

using namespace catalogue;

void VXCommonInterface::info_157(VXDeviceInterface *device)
{
    const QJsonObject lineEdit{{"widget", "QLineEdit"}};
    const QJsonObject label{{"widget", "QLabel"}};

    const Row rows[] = {
        // key                 label                 unit value                   get set len kind   editor
        {"FIRMWARE",         tr("固件版本"),       "", QString(),                 0,  0, 1, CCMD,  lineEdit},
        {"DEVICE_ID",        tr("机器编号"),       "", QString(),                 0, 44, 1, CCMD,  lineEdit},
        {"PCB_ID",           tr("PCB编号"),        "", QString(),                 0, 46, 1, CCMD,  lineEdit},
        {"PCB_VERSION",      tr("PCB版本"),        "", QString(),                 0, 48, 1, CCMD,  lineEdit},
        {"DEVICE_CONFIG_NO", tr("配置号"),         "", QString(),                 0,  0, 0, UnCMD, label},
        {"DEVICE_UNIQUE_ID", tr("Unique ID"),      "", QString(),                57,  0, 1, CCMD,  label},
        {"DEVICE_MODEL",     tr("型号"),           "", QString("VX-KTD3105PROCam"), 0, 0, 0, UnCMD, label},
    };
    addAll(device, rows);

    // The member order is the field order of the machine's reply.
    const auto members = {"DEVICE_MODEL", "DEVICE_ID", "PCB_ID", "PCB_VERSION", "FIRMWARE",
                          "DEVICE_CONFIG_NO"};
    addGroup(device,
             {"DEVICE_INFO", tr("机器信息"), "", keys(members), 2, 0, 1, CCMD, {}},
             members, WidgetAt::BeforeMembers);
}
