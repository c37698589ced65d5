// SPDX-License-Identifier: LGPL-2.1-or-later
// Sheet feed of the conveyor belt, shown as the tab page "FEED".
#include "../link/VXCommonInterface.h"
#include "CatalogueTable.h"

using namespace catalogue;

void VXCommonInterface::feed_157(VXDeviceInterface *device)
{
    const QJsonObject autoFeed{{"widget", "QComboBox"},
                               {"option", options({tr("   关"), tr("   开")})}};
    const QJsonObject feedModel{{"widget", "QComboBox"},
                                {"option", options({tr("   同步送料"), tr("   异步送料")})}};
    // Without bounds the spin box takes the editor's defaults (0..1000).
    const QJsonObject spin{{"widget", "QSpinBox"}};
    const QJsonObject fanDelay{{"widget", "QSpinBox"}, {"max", 10000}, {"min", 0}};

    const Row rows[] = {
        // key            label                 unit    value get  set  len kind editor
        {"AUTO_FEED",   tr("自动送料"),       "",     0u,  134, 134, 1, CMD, autoFeed},
        {"FEED_MODEL",  tr("送料模式"),       "",     0u,  133, 133, 1, CMD, feedModel},
        {"FEED_LENGTH", tr("送料距离"),       "mm",   0u,  135, 135, 1, CMD, spin},
        {"FEED_CENTER", tr("横梁中心距离"),   "mm",   0u,  136, 136, 1, CMD, spin},
        {"FAN_DELAY",   tr("气泵延时"),       "ms",   0u,  137, 137, 1, CMD, fanDelay},
        {"FEED_SPEED",  tr("送料速度"),       "mm/s", 0u,  138, 138, 1, CMD, spin},
    };
    addAll(device, rows);
    // The page shows the speed before the pump delay although it is created after.
    addGroup(device, {"FEED", tr("送料"), "", QVariant(), 0, 0, 0, UnCMD, {{"widget", "QTabWidget"}}},
             {"AUTO_FEED", "FEED_MODEL", "FEED_LENGTH", "FEED_CENTER", "FEED_SPEED", "FAN_DELAY"},
             WidgetAt::BeforeMembers);
}
