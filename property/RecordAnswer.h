// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QObject>

class VXDeviceProperty;

/// The machine's answers to a record, as a signal. Reply decoding stores a
/// value without valueChanged() (that signal means an edit), so a host
/// waiting for a read would otherwise have to spot a changed value, and an
/// answer equal to the old value changes nothing. Made on demand as a child
/// of the record; records nobody watches carry nothing extra.
class VXDEVICE_EXPORT VXRecordAnswer : public QObject
{
    Q_OBJECT
public:
    /// The notice of record, made on first use; dies with the record.
    static VXRecordAnswer *of(VXDeviceProperty *record);
    /// Called by the decoding once a reply stored a value in record.
    static void tell(VXDeviceProperty *record);

signals:
    /// A reply was stored in the record (possibly the value it already held).
    void answered();

private:
    explicit VXRecordAnswer(VXDeviceProperty *record);
};
