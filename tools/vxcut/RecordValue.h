#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QVariant>

class VXDeviceProperty;

// A record's value as the user sees and types it: the stored word times the
// editor's "factor", option texts for combo boxes, the editor's bounds.
namespace RecordValue {

QJsonObject widget(const VXDeviceProperty *record);
bool isGroup(const VXDeviceProperty *record);
bool readable(const VXDeviceProperty *record);
bool writable(const VXDeviceProperty *record);

QString shown(const VXDeviceProperty *record);
QString shown(const VXDeviceProperty *record, const QVariant &stored);
QJsonValue shownJson(const VXDeviceProperty *record);
// The unit of a record, or of its group when it has none of its own.
QString unit(const VXDeviceProperty *record, const VXDeviceProperty *group = nullptr);

// Text typed by the user -> stored value. False with a message on bad input.
bool parse(const VXDeviceProperty *record, const QString &text, QVariant &stored, QString &error);
// Stored values compare as the machine sees them (type-insensitive numbers).
bool same(const QVariant &a, const QVariant &b);

}
