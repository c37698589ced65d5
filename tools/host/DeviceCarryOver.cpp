// SPDX-License-Identifier: LGPL-2.1-or-later
// What a fresh device object takes over from the one it replaces: the cloud
// registration, the remote channel and the host's side of an open job.
#include "DeviceSession.h"

#include "RemoteChannel.h"
#include "cloud/NimbraCloud.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QJsonObject>

namespace {

// The records startTask(), stopTask() and the work record read that the
// host (or startTask itself) filled; the machine's own report fills "TASK"
// again on the new object.
const char *const JobKeys[] = {"TASK_START_TIME", "TASK_MODE", "TASK_COPIES", "QRCODE_COPIES",
                               "TASK_FILE_INFO", "FILE_PREVIEW", "WORK_MODE"};

bool registered(VXDeviceProperty *cloudRecord)
{
    return cloudRecord && cloudRecord->value().toJsonObject().contains(QStringLiteral("id"));
}

}

NimbraCloud *DeviceSession::cloud() const
{
    return m_cloud.data();
}

void DeviceSession::setCloud(NimbraCloud *cloud, const QString &code)
{
    m_cloud = cloud;
    m_cloudCode = code;
    m_cloudGiven = false;
    if (!cloud) {
        m_remoteWanted = false;
        return;
    }
    if (m_device && linkUp())
        giveCloud();
}

bool DeviceSession::openRemote()
{
    m_remoteWanted = true;
    return RemoteChannel::open(m_device);
}

void DeviceSession::takeJob(VXDeviceInterface *from)
{
    m_job.clear();
    VXDeviceProperty *start = from->property_ptr("TASK_START_TIME");
    // stopTask() clears the start time: no job open on the host's side.
    if (!start || !start->value().toDateTime().isValid())
        return;
    for (const char *key : JobKeys) {
        if (VXDeviceProperty *r = from->property_ptr(key))
            m_job.insert(key, r->value());
    }
}

void DeviceSession::carryJob()
{
    if (m_job.isEmpty() || !m_device)
        return;
    for (auto it = m_job.cbegin(); it != m_job.cend(); ++it) {
        VXDeviceProperty *r = m_device->property_ptr(it.key().constData());
        if (!r) {
            // startTask() makes the start time on first use; the new object never ran it.
            r = new VXDeviceProperty;
            r->init(it.value(), QString(), QString(), 0, 0, 0, VXDeviceInterface::UnCMD, QStringList());
            m_device->attachRecord(it.key().constData(), r);
        }
        // Stored as decoded: nothing is sent and no editor takes it for an edit.
        r->assignDecoded(it.value());
    }
    m_jobCarried = true;
}

void DeviceSession::restoreCloud()
{
    // The registration tells the cloud the machine's firmware and numbers:
    // a fresh device object knows them only once it has asked.
    DeviceQuery *q = query({QStringLiteral("DEVICE_INFO")});
    const QPointer<VXDeviceInterface> device = m_device;
    connect(q, &DeviceQuery::done, this, [this, q, device] {
        q->deleteLater();
        if (device && device == m_device && linkUp() && m_cloud && !m_cloudGiven)
            giveCloud();
    });
}

void DeviceSession::giveCloud()
{
    m_cloudGiven = true;
    m_device->setNimbraCloud(m_cloud, m_cloudCode);
    if (m_remoteWanted)
        RemoteChannel::open(m_device);
}

bool DeviceSession::cloudRegistering() const
{
    VXDeviceProperty *cloudRecord = record(QStringLiteral("DEVICE_CLOUD"));
    return m_cloud && cloudRecord && !registered(cloudRecord);
}

void DeviceSession::endJob()
{
    const QPointer<VXDeviceInterface> device = m_device;
    if (!device)
        return;
    if (!cloudRegistering()) {
        device->stopTask();
        return;
    }
    // Without the cloud's id for the machine the work record would be dropped.
    auto *wait = new QTimer(this);
    wait->setSingleShot(true);
    auto stop = [this, wait, device] {
        wait->deleteLater();
        if (device)
            device->stopTask();
    };
    connect(wait, &QTimer::timeout, this, stop);
    connect(record(QStringLiteral("DEVICE_CLOUD")), &VXDeviceProperty::valueChanged, wait, [this, wait, stop] {
        if (!cloudRegistering() && wait->isActive()) {
            wait->stop();
            stop();
        }
    });
    wait->start(m_timeoutMs);
}
