// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RemoteChannel.h"

#include "link/VXCommonInterface.h"

bool RemoteChannel::open(VXDeviceInterface *device)
{
    auto *common = qobject_cast<VXCommonInterface *>(device);
    if (!common)
        return false;
    common->connect_websocket();
    return true;
}
