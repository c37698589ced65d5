// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "property/VXDeviceProperty.h"

#include <QVariant>
#include <QtMath>

#include <climits>

// The device object decodes a reply into its record without a signal, so a
// host sees an answer only as a changed value. Before a read the record gets
// a marker the machine cannot send; the read is answered once it is gone.
namespace RecordMarker {

// A value the machine cannot send. Multi-word readings always decode to
// int, so a uint marker is safe for them whatever the record held before.
inline QVariant marker(const VXDeviceProperty *record)
{
    if (record->cmd_type() == VXDeviceInterface::CMD && record->cmd_len() > 1)
        return QVariant(uint(UINT_MAX));
    switch (record->value().userType()) {
    case QMetaType::Int:
        return QVariant(int(INT_MIN));
    case QMetaType::UInt:
        return QVariant(uint(UINT_MAX));
    case QMetaType::Double:
        return QVariant(qQNaN());
    case QMetaType::QString:
        return QVariant(QStringLiteral("\x01vxhost-pending"));
    default:
        return QVariant();   // nothing a reply could turn into a value
    }
}

inline bool marked(const VXDeviceProperty *record, const QVariant &mark)
{
    const QVariant &v = record->value();
    if (v.userType() != mark.userType())
        return false;
    if (mark.userType() == QMetaType::Double)
        return qIsNaN(v.toDouble());
    return v == mark;
}

}
