// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Profile.h"

#include "RecordValue.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

namespace Profile {

namespace {

void addKeys(VXDeviceProperty *record, const QString &key, QStringList &keys)
{
    if (RecordValue::isGroup(record)) {
        for (const QByteArray &name : record->dynamicPropertyNames()) {
            if (VXDeviceProperty *member = record->property_ptr(name.constData()))
                addKeys(member, QString::fromLatin1(name), keys);
        }
    } else if (RecordValue::writable(record) && !keys.contains(key)) {
        keys << key;
    }
}

// The group a setting belongs to, for its caption ("Tool offset x").
VXDeviceProperty *groupOf(VXDeviceInterface *device, VXDeviceProperty *record)
{
    for (const QString &key : device->userProperty()) {
        VXDeviceProperty *group = device->property_ptr(key.toLatin1().constData());
        if (group && group != record && group->members().contains(record))
            return group;
    }
    return nullptr;
}

QString comment(VXDeviceInterface *device, VXDeviceProperty *record)
{
    VXDeviceProperty *group = groupOf(device, record);
    QString c = group ? group->label() + QLatin1Char(' ') + record->label() : record->label();
    const QString unit = RecordValue::unit(record, group);
    if (!unit.isEmpty())
        c += QLatin1Char(' ') + unit;
    const EditorSpec e = EditorSpec::of(record);
    if (e.combo()) {
        QStringList choices;
        for (int i = 0; i < e.options.size(); ++i)
            choices << QStringLiteral("%1 %2").arg(i).arg(e.options.at(i));
        c += QStringLiteral(": %1 (%2)").arg(RecordValue::shown(record), choices.join(QStringLiteral(", ")));
    } else if (e.hasBounds) {
        c += QStringLiteral(" [%1..%2]").arg(e.min).arg(e.max);
    }
    if (!RecordValue::answerDecoded(record))
        c += QCoreApplication::translate("Profile", "; cannot be read back, so apply always writes it");
    return c;
}

}

QStringList settingKeys(VXDeviceInterface *device)
{
    QStringList keys;
    for (const QString &key : device->userProperty()) {
        if (VXDeviceProperty *record = device->property_ptr(key.toLatin1().constData()))
            addKeys(record, key, keys);
    }
    return keys;
}

QString render(VXDeviceInterface *device, const QStringList &keys, const QString &header)
{
    QString out = header;
    for (const QString &key : keys) {
        VXDeviceProperty *record = device->property_ptr(key.toLatin1().constData());
        if (!record)
            continue;
        // Combo boxes are saved by index: option texts follow the language.
        const QString value = EditorSpec::of(record).combo()
                ? record->value().toString() : RecordValue::shown(record);
        // A machine value the editor would refuse (a factory 0 below the
        // minimum) stays visible but commented out, so the file still applies.
        QVariant stored;
        QString why;
        const bool valid = RecordValue::parse(record, value, stored, why);
        out += QStringLiteral("%1%2 = %3").arg(valid ? QString() : QStringLiteral("# "), key, value).leftJustified(32)
                + QStringLiteral("  # ") + comment(device, record)
                + (valid ? QString() : QCoreApplication::translate("Profile", "; not applied: %1").arg(why))
                + QLatin1Char('\n');
    }
    return out;
}

Failure parse(const QString &text, VXDeviceInterface *device, QList<Entry> &entries, Numbering numbering)
{
    const auto at = [numbering](int n) {
        return numbering == Numbering::Arguments ? QCoreApplication::translate("Profile", "argument %1").arg(n)
                                                 : QCoreApplication::translate("Profile", "line %1").arg(n);
    };
    static const QRegularExpression line(QStringLiteral("^\\s*([A-Za-z0-9_]+)\\s*=\\s*(.*?)\\s*$"));
    QSet<QString> seen;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString raw = lines.at(i);
        const int hash = raw.indexOf(QLatin1Char('#'));
        if (hash >= 0)
            raw.truncate(hash);
        if (raw.trimmed().isEmpty())
            continue;
        const auto m = line.match(raw);
        if (!m.hasMatch()) {
            return {Failure::BadValue, QCoreApplication::translate("Profile", "%1: expected KEY = value, got '%2'")
                                           .arg(at(i + 1), raw.trimmed())};
        }
        Entry e;
        e.key = m.captured(1);
        e.text = m.captured(2);
        e.line = i + 1;
        e.record = device->property_ptr(e.key.toLatin1().constData());
        if (!e.record) {
            return {Failure::UnknownKey, QCoreApplication::translate("Profile", "%1: unknown key %2")
                                     .arg(at(e.line), e.key)};
        }
        if (!RecordValue::writable(e.record)) {
            return {Failure::BadValue, QCoreApplication::translate("Profile", "%1: %2 cannot be written")
                                   .arg(at(e.line), e.key)};
        }
        if (seen.contains(e.key)) {
            return {Failure::BadValue, QCoreApplication::translate("Profile", "%1: %2 is set twice")
                                   .arg(at(e.line), e.key)};
        }
        seen.insert(e.key);
        QString why;
        if (!RecordValue::parse(e.record, e.text, e.stored, why)) {
            return {Failure::BadValue, QStringLiteral("%1: %2: %3").arg(at(e.line), e.key, why)};
        }
        entries << e;
    }
    return Failure();
}

QList<Entry> changes(const QList<Entry> &entries, VXDeviceInterface *device)
{
    QList<Entry> out;
    for (Entry e : entries) {
        e.record = device->property_ptr(e.key.toLatin1().constData());
        if (!e.record)
            continue;
        if (RecordValue::answerDecoded(e.record) && RecordValue::same(e.record->value(), e.stored))
            continue;
        out << e;
    }
    return out;
}

}
