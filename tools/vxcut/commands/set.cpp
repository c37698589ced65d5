// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "RecordValue.h"
#include "Run.h"
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

Outcome writeAll(Run &r, const QList<Profile::Entry> &entries)
{
    int written = 0;
    for (const Profile::Entry &e : entries) {
        QJsonObject event;
        const Failure f = r.write(e, &event);
        if (f) {
            if (f.kind == Failure::Rejected)
                r.out.event(QStringLiteral("write"), event, QString());
            return f;
        }
        QString how;
        const bool readBack = event.contains(QStringLiteral("read_back"));
        if (event.value(QStringLiteral("unconfirmable")).toBool())
            how = QCoreApplication::translate("Set", "sent; the machine's answer to this setting is not decoded");
        else if (!event.contains(QStringLiteral("status")))
            how = readBack ? QCoreApplication::translate("Set", "read back") : QCoreApplication::translate("Set", "acknowledged");
        else
            how = (readBack ? QCoreApplication::translate("Set", "read back, status %1")
                            : QCoreApplication::translate("Set", "acknowledged, status %1"))
                      .arg(event.value(QStringLiteral("status")).toInt());
        event.remove(QStringLiteral("unconfirmable"));
        r.out.event(QStringLiteral("write"), event,
                    QStringLiteral("%1 = %2  (%3)").arg(e.key, RecordValue::shown(e.record, e.stored), how));
        ++written;
    }
    return QJsonObject{{QStringLiteral("written"), written}};
}

Outcome run(Run &r)
{
    return writeAll(r, r.entries);
}

}
