// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "interface/VXDeviceInterface.h"

#include <QString>

// The one reading of the texts a device object sends through message(). The
// transports name their state in fixed sentences ("TCP CONNECTED.", "USB
// ERROR.", "HEARTBEAT TIMEOUT 30S." with the period in it); the remote
// channel shares the DevStatus kind but is not the machine's link.
struct LinkMessage
{
    enum Event {
        Other,          // not a link state: log it and move on
        LinkUp,
        LinkDown,       // closed by either side
        LinkError,      // the serial device failed
        HeartbeatLost,  // the device object gave up on the heartbeat
        RemoteUp,
        RemoteDown,     // the remote channel closed or failed
        JobReport,      // "TASK" holds the decoded report
        QrCode,
    };

    static Event classify(VXDeviceInterface::VXDeviceMessage kind, const QString &text);
    // Down, error and heartbeat loss all end the machine's link.
    static bool endsLink(Event e) { return e == LinkDown || e == LinkError || e == HeartbeatLost; }
};
