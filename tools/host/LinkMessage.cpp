// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LinkMessage.h"

LinkMessage::Event LinkMessage::classify(VXDeviceInterface::VXDeviceMessage kind, const QString &text)
{
    if (kind == VXDeviceInterface::DevTasK)
        return JobReport;
    if (kind == VXDeviceInterface::Qrcode)
        return QrCode;
    if (text.startsWith(QLatin1String("WEB SOCKET")))
        return text == QLatin1String("WEB SOCKET CONNECTED.") ? RemoteUp : RemoteDown;
    if (text == QLatin1String("TCP CONNECTED.") || text == QLatin1String("USB CONNECTED."))
        return LinkUp;
    if (text == QLatin1String("USB ERROR."))
        return LinkError;
    // The period count is the device's own ("30S."); match the stem.
    if (text.startsWith(QLatin1String("HEARTBEAT TIMEOUT")))
        return HeartbeatLost;
    if (text.endsWith(QLatin1String("DISCONNECTED.")))
        return LinkDown;
    return Other;
}
