// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

class VXDeviceInterface;

// The remote channel is the one thing a host needs that the declared
// interface does not offer; this is the only place in the tools that reaches
// past it into the device class.
namespace RemoteChannel {

// Opens the device object's channel to the cloud; the outcome comes through
// message() ("WEB SOCKET CONNECTED." or a failure). False when the device
// object has no remote channel.
bool open(VXDeviceInterface *device);

}
