// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RecordAnswer.h"

#include "VXDeviceProperty.h"

VXRecordAnswer::VXRecordAnswer(VXDeviceProperty *record)
    : QObject(record)
{
}

VXRecordAnswer *VXRecordAnswer::of(VXDeviceProperty *record)
{
    if (!record)
        return nullptr;
    if (auto *notice = record->findChild<VXRecordAnswer *>(QString(), Qt::FindDirectChildrenOnly))
        return notice;
    return new VXRecordAnswer(record);
}

void VXRecordAnswer::tell(VXDeviceProperty *record)
{
    // Records rarely have children, so the search costs the decoding next to nothing.
    if (auto *notice = record->findChild<VXRecordAnswer *>(QString(), Qt::FindDirectChildrenOnly))
        emit notice->answered();
}
