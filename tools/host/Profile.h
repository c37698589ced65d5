// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class VXDeviceInterface;
class VXDeviceProperty;

// The machine's user settings as a text file people can read and edit:
// "KEY = value" lines in the units the settings list shows, '#' comments.
namespace Profile {

struct Entry {
    QString key;
    QString text;         // as written in the file
    int line = 0;
    VXDeviceProperty *record = nullptr;
    QVariant stored;      // parsed
};

// The writable records behind the user list, groups expanded, in display order.
QStringList settingKeys(VXDeviceInterface *device);

QString render(VXDeviceInterface *device, const QStringList &keys, const QString &header);

// How a failure names where the bad entry is: a file's line, or the
// position of a KEY=VALUE argument on a command line (one per line of text).
enum class Numbering { Lines, Arguments };

// Parses and checks every line against the device's records; the failure
// (UnknownKey or BadValue) names the line. Nothing is written on failure.
Failure parse(const QString &text, VXDeviceInterface *device, QList<Entry> &entries,
              Numbering numbering = Numbering::Lines);

// After a read: the entries whose value the machine holds otherwise, with
// their records taken from device again (a reconnect renews them). A
// record whose answers are never decoded is always among them.
QList<Entry> changes(const QList<Entry> &entries, VXDeviceInterface *device);

}
