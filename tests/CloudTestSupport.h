// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// Shared by the cloud tests: a device with its cloud state open to the test,
// and small helpers. The service is the real stand-in (vxcloudcore).
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QSignalSpy>
#include <QTcpServer>

struct CloudDevice : VXCommonInterface {
    using VXCommonInterface::m_cloudRecord;
    using VXCommonInterface::m_lastRemoteText;
    using VXCommonInterface::m_webSocket;
};

// Sets key's value, attaching a bare record first when there is none.
inline void put(VXDeviceInterface *device, const char *key, const QVariant &value)
{
    if (VXDeviceProperty *p = device->property_ptr(key)) {
        p->setValue(value);
        return;
    }
    auto record = new VXDeviceProperty;
    record->init(value, QString(), QString(), 0, 0, 0, VXDeviceInterface::UnCMD, QStringList());
    device->attachRecord(key, record);
}

inline int statusCount(const QSignalSpy &spy, const QString &text)
{
    int n = 0;
    for (const QList<QVariant> &args : spy)
        n += args.at(1).toString() == text;
    return n;
}

// A loopback port nobody listens on: connections are refused at once.
inline quint16 deadPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
