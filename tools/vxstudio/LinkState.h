#pragma once

#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

// The device sends frames only in these states and drops anything offered
// otherwise without trace, so the window refuses up front instead.
inline bool linkIsUp(VXDeviceInterface *device)
{
    VXDeviceProperty *status = device ? device->property_ptr("STATUS") : nullptr;
    if (!status)
        return false;
    const int s = status->value().toInt();
    return s == VXDeviceInterface::Idle || s == VXDeviceInterface::Working
            || s == VXDeviceInterface::Pause;
}
