// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QVariant>

/// The device timer's period for a "HEARTBEAT" value in seconds: the one
/// rule, for the device that runs the timer and for a host that wants to
/// know how often the machine is asked.
namespace VXHeartbeatPeriod {

constexpr int FloorMs = 200;
constexpr int DefaultMs = 2000;
constexpr int CeilingMs = 3600 * 1000;

VXDEVICE_EXPORT int intervalMs(const QVariant &seconds);

}
