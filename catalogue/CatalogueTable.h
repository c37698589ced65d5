// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

// Catalogue builders describe their records as rows, one row per record, in
// the order the records are registered; the helpers below turn a row into a
// record and register it. Registration order is part of the behaviour: reply
// dispatch takes the first registered match and editors follow member order.

#include "../interface/VXDeviceInterface.h"
#include "../property/VXDeviceProperty.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>

namespace catalogue {

using Kind = VXDeviceInterface::VXDeviceCMDType;
constexpr Kind UnCMD = VXDeviceInterface::UnCMD;
constexpr Kind CCMD = VXDeviceInterface::CCMD;
constexpr Kind CMD = VXDeviceInterface::CMD;
constexpr Kind NUM = VXDeviceInterface::NUM;
constexpr Kind PLT = VXDeviceInterface::PLT;
constexpr Kind PPLT = VXDeviceInterface::PPLT;
constexpr Kind QRPLT = VXDeviceInterface::QRPLT;

struct Row {
    const char *key;
    QString label;          // already translated
    QString unit;
    QVariant value;         // the variant type steers reply decoding
    int get;
    int set;
    int len;
    Kind kind;
    QJsonObject widget;     // empty: no editor
};

// Where a group's "WIDGET" lands among its dynamic property names. Editors
// skip it either way, but hosts listing the names see the difference.
enum class WidgetAt { BeforeMembers, AfterMembers };

// Combo-box option text: entries joined with ';' (the index is the value).
inline QString options(std::initializer_list<QString> entries)
{
    return QStringList(entries).join(QLatin1Char(';'));
}

inline VXDeviceProperty *make(const Row &row)
{
    auto *record = new VXDeviceProperty(nullptr);
    record->init(row.value, row.label, row.unit, row.get, row.set, row.len, row.kind, QStringList());
    if (!row.widget.isEmpty())
        record->setProperty("WIDGET", row.widget);
    return record;
}

// Builds the row's record and registers it on device (which owns it).
inline VXDeviceProperty *add(VXDeviceInterface *device, const Row &row)
{
    VXDeviceProperty *record = make(row);
    device->attachRecord(row.key, record);
    return record;
}

template <std::size_t N>
inline void addAll(VXDeviceInterface *device, const Row (&rows)[N])
{
    for (const Row &row : rows)
        add(device, row);
}

// Builds a group record, attaches the named members (already registered on
// device) in the given order, then registers the group itself on device.
inline VXDeviceProperty *addGroup(VXDeviceInterface *device, const Row &row,
                                  std::initializer_list<const char *> members, WidgetAt at)
{
    Row bare = row;
    bare.widget = QJsonObject();
    VXDeviceProperty *group = make(bare);
    if (at == WidgetAt::BeforeMembers && !row.widget.isEmpty())
        group->setProperty("WIDGET", row.widget);
    for (const char *key : members) {
        if (VXDeviceProperty *member = VXDeviceProperty::lookup(device, key))
            VXDeviceProperty::attach(group, key, member);
    }
    if (at == WidgetAt::AfterMembers && !row.widget.isEmpty())
        group->setProperty("WIDGET", row.widget);
    device->attachRecord(row.key, group);
    return group;
}

inline QStringList keys(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *key : list)
        out << QString::fromLatin1(key);
    return out;
}

} // namespace catalogue
