// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVariant>

class VXDeviceProperty;

// A record's editor as the device's own editors read its "WIDGET" object
// (VXEditorDescription: their factor guard and their default bounds), in the
// plain fields the host's checks use. Option texts are by index.
struct EditorSpec
{
    QString kind;           // "QSpinBox", "QComboBox", ... ; empty: no editor
    QStringList options;    // combo boxes, trimmed
    double factor = 1;      // shown = stored * factor
    bool hasFactor = false;
    double min = 0;         // spin boxes only
    double max = 0;
    bool hasBounds = false; // min or max given

    static EditorSpec of(const VXDeviceProperty *record);
    bool combo() const { return kind == QLatin1String("QComboBox"); }
    bool spin() const { return kind == QLatin1String("QSpinBox") || kind == QLatin1String("QDoubleSpinBox"); }
};

// A record's value as the user sees and types it: the stored word times the
// editor's factor, option texts for combo boxes, the editor's bounds.
namespace RecordValue {

QJsonObject widget(const VXDeviceProperty *record);
bool isGroup(const VXDeviceProperty *record);
bool readable(const VXDeviceProperty *record);
bool writable(const VXDeviceProperty *record);
// The device object drops every answer carrying 27 (cutting quality) or 125
// (job control), so reading those records could only time out.
bool answerDecoded(const VXDeviceProperty *record);

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
