// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HeartbeatPeriod.h"

int VXHeartbeatPeriod::intervalMs(const QVariant &seconds)
{
    // The machine itself can set "HEARTBEAT": "1010,0" (or a negative or
    // unreadable period) means no period was given, so the default 2 s, not
    // the floor's five queries a second. A huge value would overflow the int
    // interval. Fractions of a second are honoured above the floor.
    bool readable = false;
    const double ms = seconds.toDouble(&readable) * 1000.0;
    if (!readable || !(ms > 0))         // also catches NaN
        return DefaultMs;
    if (ms < FloorMs)
        return FloorMs;
    if (ms >= CeilingMs)
        return CeilingMs;
    return int(ms);
}
