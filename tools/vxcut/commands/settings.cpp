// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "RecordValue.h"
#include "Run.h"
#include "SettingsRun.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

namespace Settings {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut settings            --tcp ... | --usb ...\n"
    "       vxcut settings dump FILE  --tcp ... | --usb ...\n"
    "       vxcut settings apply FILE --tcp ... | --usb ...\n\n"
    "Without a subcommand: every user and system setting with its label,\n"
    "value and unit, in the user's language.\n"
    "dump: writes the user settings to a readable profile file.\n"
    "apply: checks the file, shows what would change, writes the changes\n"
    "and reads every written value back. A dropped link is reconnected\n"
    "(--reconnect-budget SEC, --no-reconnect); the values are read back and\n"
    "only the missing ones written. The result names the settings applied\n"
    "and, if the link stays down, those not applied.\n");

namespace {

QString sub(const Run &r) { return r.options.args.value(0); }
QString file(const Run &r) { return r.options.args.value(1); }

// Settings list: groups as headings, members indented, each record once.
void showRecord(Output &out, VXDeviceProperty *record, const QString &key, const QString &section,
                VXDeviceProperty *group, const QString &groupKey, QSet<VXDeviceProperty *> &shown, int depth)
{
    if (shown.contains(record))
        return;
    shown.insert(record);
    const QString indent(2 * depth, QLatin1Char(' '));
    if (RecordValue::isGroup(record)) {
        out.text(indent + withUnit(record->label(), record->uint()));
        for (const QByteArray &name : record->dynamicPropertyNames()) {
            if (VXDeviceProperty *member = record->property_ptr(name.constData()))
                showRecord(out, member, QString::fromLatin1(name), section, record, key, shown, depth + 1);
        }
        return;
    }
    const QString unit = RecordValue::unit(record, group);
    QJsonObject o{{QStringLiteral("key"), key},
                  {QStringLiteral("label"), record->label()},
                  {QStringLiteral("value"), RecordValue::shownJson(record)},
                  {QStringLiteral("unit"), unit},
                  {QStringLiteral("section"), section},
                  {QStringLiteral("writable"), RecordValue::writable(record)}};
    if (group)
        o.insert(QStringLiteral("group"), groupKey);
    // People read a group's unit once, on its heading.
    out.event(QStringLiteral("setting"), o,
              indent + QStringLiteral("%1: %2").arg(record->label(),
                                                    withUnit(RecordValue::shown(record), record->uint())));
}

Outcome list(Run &r)
{
    VXDeviceInterface *device = r.session->device();
    const QStringList user = device->userProperty();
    const QStringList system = device->sysProperty();
    QStringList missing;
    if (Failure f = r.read(user + system, &missing))
        return r.waitFailure(QCoreApplication::translate("Settings", "reading the settings"));
    if (!missing.isEmpty())
        r.out.warning(QCoreApplication::translate("Settings", "no answer for %1; showing the values held locally")
                          .arg(missing.join(QStringLiteral(", "))));
    QSet<VXDeviceProperty *> shown;
    const QList<QPair<QString, QStringList>> sections{
        {QStringLiteral("user"), user}, {QStringLiteral("system"), system}};
    for (const auto &section : sections) {
        r.out.text(section.first == QLatin1String("user") ? QCoreApplication::translate("Settings", "Settings")
                                                          : QCoreApplication::translate("Settings", "Machine information"));
        for (const QString &key : section.second) {
            if (VXDeviceProperty *rec = r.record(key))
                showRecord(r.out, rec, key, section.first, nullptr, QString(), shown, 1);
        }
    }
    if (!missing.isEmpty())
        return Failure(Failure::TimedOut, QCoreApplication::translate("Settings", "the machine did not answer for %1")
                                              .arg(missing.join(QStringLiteral(", "))));
    return QJsonObject();
}

Outcome dump(Run &r)
{
    const QStringList keys = Profile::settingKeys(r.session->device());
    QStringList missing;
    if (Failure f = r.read(keys + QStringList{QStringLiteral("DEVICE_INFO")}, &missing))
        return r.waitFailure(QCoreApplication::translate("Settings", "reading the settings"));
    if (!missing.isEmpty())
        return Failure(Failure::TimedOut, QCoreApplication::translate("Settings", "the machine did not answer for %1")
                                              .arg(missing.join(QStringLiteral(", "))));
    auto value = [&](const char *key) {
        VXDeviceProperty *rec = r.record(QLatin1String(key));
        return rec ? rec->value().toString() : QString();
    };
    const QString header = QStringLiteral(
        "# vxcut settings profile\n"
        "# model %1, machine %2, firmware %3, saved %4\n"
        "# KEY = value, in the units `vxcut settings` shows; '#' starts a comment.\n"
        "# Apply with: vxcut settings apply FILE --tcp HOST | --usb PATH\n\n")
        .arg(value("DEVICE_MODEL"), value("DEVICE_ID"), value("FIRMWARE"),
             QDateTime::currentDateTime().toString(Qt::ISODate));
    const QString path = file(r);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)
            || f.write(Profile::render(r.session->device(), keys, header).toUtf8()) < 0 || !f.commit())
        return Failure(Failure::Other, QCoreApplication::translate("Settings", "cannot write %1: %2").arg(path, f.errorString()));
    r.out.text(QCoreApplication::translate("Settings", "%1 settings written to %2").arg(QLocale().toString(keys.size()), path));
    return QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("count"), keys.size()}};
}

Outcome apply(Run &r)
{
    QStringList keys;
    for (const auto &e : qAsConst(r.entries))
        keys << e.key;
    SettingsRun exchange(*r.session);
    if (Failure f = Set::drive(r, exchange, [&keys](SettingsRun &s) { s.read(keys); }))
        return f;
    if (!exchange.missing().isEmpty())
        return Failure(Failure::TimedOut, QCoreApplication::translate("Settings", "the machine did not answer for %1")
                                              .arg(exchange.missing().join(QStringLiteral(", "))));
    const QList<Profile::Entry> changes = Profile::changes(r.entries, r.session->device());
    for (const auto &e : changes) {
        const bool known = RecordValue::answerDecoded(e.record);
        const QString unit = e.record->uint();
        const QString from = known ? withUnit(RecordValue::shown(e.record), unit) : QStringLiteral("?");
        r.out.event(QStringLiteral("diff"),
                    {{QStringLiteral("key"), e.key}, {QStringLiteral("label"), e.record->label()},
                     {QStringLiteral("from"), known ? QJsonValue(RecordValue::shown(e.record)) : QJsonValue()},
                     {QStringLiteral("to"), RecordValue::shown(e.record, e.stored)}},
                    QStringLiteral("  %1 (%2): %3 -> %4").arg(e.key, e.record->label(), from,
                                                              withUnit(RecordValue::shown(e.record, e.stored), unit)));
    }
    if (changes.isEmpty()) {
        r.out.text(QCoreApplication::translate("Settings", "the machine already has every value of the profile"));
        return QJsonObject{{QStringLiteral("written"), 0}};
    }
    r.out.text(QCoreApplication::translate("Settings", "%1 change(s); writing and reading back...").arg(QLocale().toString(changes.size())));
    return Set::writeAll(r, changes);
}

}

Failure check(Run &r)
{
    if (r.options.args.isEmpty())
        return Failure();
    if ((sub(r) != QLatin1String("dump") && sub(r) != QLatin1String("apply")) || r.options.args.size() != 2)
        return {Failure::Usage, QCoreApplication::translate("Settings", "use: settings [dump FILE | apply FILE]")};
    return Failure();
}

Failure prepare(Run &r)
{
    if (sub(r) != QLatin1String("apply"))
        return Failure();
    QFile f(file(r));
    if (!f.open(QIODevice::ReadOnly))
        return {Failure::Other, QCoreApplication::translate("Settings", "cannot read %1: %2").arg(file(r), f.errorString())};
    Failure failure = Profile::parse(QString::fromUtf8(f.readAll()), r.session->device(), r.entries);
    if (failure)
        failure.message = QStringLiteral("%1: %2").arg(file(r), failure.message);
    return failure;
}

Outcome run(Run &r)
{
    if (sub(r) == QLatin1String("dump"))
        return dump(r);
    if (sub(r) == QLatin1String("apply"))
        return apply(r);
    return list(r);
}

}
