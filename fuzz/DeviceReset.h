// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// Puts a device back to the state it had when the reset was taken, without
// rebuilding it: record values as they were, records attached since then
// (a job record, a start stamp) gone, and the receive tail and the memory of
// the last job report emptied (flush(), then startTask() before restore()).
// For harnesses that reuse one device.
#include "link/VXCommonInterface.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QVariant>

class DeviceReset
{
public:
    explicit DeviceReset(VXCommonInterface *device)
        : m_device(device)
        , m_names(device->dynamicPropertyNames())
    {
        for (const QByteArray &name : m_names) {
            m_keys.insert(name);
            if (VXDeviceProperty *record = device->property_ptr(name.constData()))
                m_values.insert(record, record->value());
        }
    }

    // An ETX ends whatever tail is pending: it is cut (or dropped) now.
    void flush() { m_device->slot_usb_read(m_etx); }

    // Call after something that forgets the last job report (startTask).
    void restore()
    {
        // Most inputs attach nothing: the device's name list is then still
        // the one taken here (shared, so the comparison is a pointer test).
        const QList<QByteArray> names = m_device->dynamicPropertyNames();
        if (names != m_names) {
            dropAttached(names);
            // Same names again: share the device's list so the next test is
            // the quick one.
            const QList<QByteArray> now = m_device->dynamicPropertyNames();
            if (now == m_names)
                m_names = now;
        }
        for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
            it.key()->assignDecoded(it.value());
    }

private:
    void dropAttached(const QList<QByteArray> &names)
    {
        for (const QByteArray &name : names) {
            if (m_keys.contains(name))
                continue;
            VXDeviceProperty *record = m_device->property_ptr(name.constData());
            m_device->setProperty(name.constData(), QVariant());
            if (record && !m_values.contains(record))
                delete record;
        }
    }

    VXCommonInterface *m_device;
    QList<QByteArray> m_names;
    const QByteArray m_etx = QByteArray(1, '\x03');
    QSet<QByteArray> m_keys;
    QHash<VXDeviceProperty *, QVariant> m_values;
};
