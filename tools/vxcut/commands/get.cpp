// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "RecordValue.h"
#include "Run.h"
#include "SettingsRun.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>

QString withUnit(const QString &value, const QString &unit)
{
    return unit.isEmpty() ? value : value + QLatin1Char(' ') + unit;
}

namespace Get {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut get KEY... --tcp ... | --usb ...\n\n"
    "Reads settings by key (as `vxcut settings --json` lists them).\n");

Failure check(Run &r)
{
    if (r.options.args.isEmpty())
        return {Failure::Usage, QCoreApplication::translate("Get", "get wants at least one KEY")};
    return Failure();
}

Failure prepare(Run &r)
{
    for (const QString &key : r.options.args) {
        if (!r.record(key))
            return {Failure::UnknownKey, QCoreApplication::translate("Get", "unknown key %1").arg(key)};
    }
    return Failure();
}

Outcome run(Run &r)
{
    const QStringList &keys = r.options.args;
    SettingsRun exchange(*r.session);
    if (Failure f = Set::drive(r, exchange, [&keys](SettingsRun &s) { s.read(keys); }))
        return f;
    const QStringList missing = exchange.missing();
    QJsonObject values;
    for (const QString &key : keys) {
        VXDeviceProperty *rec = r.record(key);
        if (RecordValue::isGroup(rec)) {
            for (const QByteArray &name : rec->dynamicPropertyNames()) {
                VXDeviceProperty *m = rec->property_ptr(name.constData());
                if (!m)
                    continue;
                const QString k = QString::fromLatin1(name);
                values.insert(k, RecordValue::shownJson(m));
                r.out.event(QStringLiteral("value"),
                            {{QStringLiteral("key"), k}, {QStringLiteral("value"), RecordValue::shownJson(m)},
                             {QStringLiteral("unit"), RecordValue::unit(m, rec)}, {QStringLiteral("group"), key}},
                            QStringLiteral("%1 = %2").arg(k, withUnit(RecordValue::shown(m), RecordValue::unit(m, rec))));
            }
            continue;
        }
        values.insert(key, RecordValue::shownJson(rec));
        const bool fromMachine = RecordValue::readable(r.session->readVia(rec)) && RecordValue::answerDecoded(rec);
        r.out.event(QStringLiteral("value"),
                    {{QStringLiteral("key"), key}, {QStringLiteral("value"), RecordValue::shownJson(rec)},
                     {QStringLiteral("unit"), rec->uint()}, {QStringLiteral("from_machine"), fromMachine}},
                    QStringLiteral("%1 = %2%3").arg(key, withUnit(RecordValue::shown(rec), rec->uint()),
                                                    fromMachine ? QString()
                                                                : QStringLiteral("  ")
                                                                      + QCoreApplication::translate("Get", "(held locally; not read from the machine)")));
    }
    if (!missing.isEmpty())
        return Failure(Failure::TimedOut,
                       QCoreApplication::translate("Get", "the machine did not answer for %1").arg(missing.join(QStringLiteral(", "))),
                       {{QStringLiteral("values"), values}});
    return QJsonObject{{QStringLiteral("values"), values}};
}

}
