// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "RecordValue.h"
#include "Run.h"
#include "SettingsRun.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>

namespace Set {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut set KEY=VALUE... --tcp ... | --usb ...\n\n"
    "Writes settings, values in the units the settings list shows (combo\n"
    "settings take the index or the option text), reads each one back and\n"
    "reports the machine's write status. Every value is checked before any\n"
    "is written.\n");

Failure check(Run &r)
{
    if (r.options.args.isEmpty())
        return {Failure::Usage, QCoreApplication::translate("Set", "set wants at least one KEY=VALUE")};
    for (const QString &arg : r.options.args) {
        if (!arg.contains(QLatin1Char('=')))
            return {Failure::Usage, QCoreApplication::translate("Set", "'%1' is not KEY=VALUE").arg(arg)};
    }
    return Failure();
}

Failure prepare(Run &r)
{
    return Profile::parse(r.options.args.join(QLatin1Char('\n')), r.session->device(), r.entries,
                          Profile::Numbering::Arguments);
}

Failure drive(Run &r, SettingsRun &exchange, const std::function<void(SettingsRun &)> &start)
{
    ReconnectSchedule schedule;
    schedule.setBudget(r.options.reconnectBudgetMs);
    exchange.setReconnect(r.options.reconnect, schedule);
    QObject::connect(&exchange, &SettingsRun::reconnecting, &exchange,
                     [&r](int attempt, int waitMs) { r.out.reconnecting(attempt, waitMs); });
    QObject::connect(&exchange, &SettingsRun::reconnected, &exchange, [&r, &exchange] {
        r.out.event(QStringLiteral("reconnected"),
                    {{QStringLiteral("reconnects"), exchange.reconnects()},
                     {QStringLiteral("link_down_ms"), double(exchange.linkDownMs())}},
                    QCoreApplication::translate("Set", "reconnected to %1; going on")
                        .arg(exchange.identity().known() ? exchange.identity().text() : r.session->target()));
    });
    start(exchange);
    while (exchange.isRunning()) {
        r.await.until([&] { return !exchange.isRunning(); }, 500);
        if (r.await.interrupted() && exchange.isRunning())
            exchange.cancel();
    }
    return exchange.failure();
}

namespace {

QString how(const QJsonObject &event)
{
    const bool readBack = event.contains(QStringLiteral("read_back"));
    if (event.value(QStringLiteral("held")).toBool())
        return QCoreApplication::translate("Set", "read back after the reconnect: the machine had it");
    if (event.value(QStringLiteral("unconfirmable")).toBool())
        return QCoreApplication::translate("Set", "sent; the machine's answer to this setting is not decoded");
    if (!event.contains(QStringLiteral("status")))
        return readBack ? QCoreApplication::translate("Set", "read back") : QCoreApplication::translate("Set", "acknowledged");
    return (readBack ? QCoreApplication::translate("Set", "read back, status %1")
                     : QCoreApplication::translate("Set", "acknowledged, status %1"))
        .arg(event.value(QStringLiteral("status")).toInt());
}

}

Outcome writeAll(Run &r, const QList<Profile::Entry> &entries)
{
    SettingsRun exchange(*r.session);
    int written = 0;
    QObject::connect(&exchange, &SettingsRun::written, &exchange, [&](QJsonObject event, bool accepted) {
        if (!accepted)
            return r.out.event(QStringLiteral("write"), event, QString());
        const QString text = QStringLiteral("%1 = %2  (%3)").arg(event.value(QStringLiteral("key")).toString(),
                                                                 event.value(QStringLiteral("value")).toString(), how(event));
        event.remove(QStringLiteral("unconfirmable"));
        r.out.event(QStringLiteral("write"), event, text);
        ++written;
    });
    if (Failure f = drive(r, exchange, [&entries](SettingsRun &s) { s.write(entries); }))
        return f;
    QJsonObject fields = exchange.facts();
    fields.insert(QStringLiteral("written"), written);
    if (exchange.reconnects() > 0)
        r.out.text(QCoreApplication::translate("Set", "applied after reconnecting: %1")
                       .arg(exchange.applied().join(QStringLiteral(", "))));
    return fields;
}

Outcome run(Run &r)
{
    return writeAll(r, r.entries);
}

}
