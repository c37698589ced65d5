#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Session;
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

// Parses and checks every line against the device's records. On failure,
// exitCode is UnknownKey or BadValue and error names the line.
bool parse(const QString &text, VXDeviceInterface *device, QList<Entry> &entries,
           int &exitCode, QString &error);

}
