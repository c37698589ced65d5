// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RecordedOptions.h"

#include "PlotOptionTable.h"

#include <QCoreApplication>
#include <QJsonArray>

namespace RecordedOptions {

namespace {
const QLatin1String ToolFlag("tool");

// A switch's setter turns it on whatever the value: a row is only set
// when the record differs from the default, which for a switch means on.
bool setRow(const PlotOptionTable::Row &row, PlotOptions &o, const QString &value, QString *error)
{
    if (value == row.current(PlotOptions()))
        return true;
    return row.set(o, value, error);
}
}

QJsonObject of(const PlotOptions &options)
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    QJsonObject o;
    for (int i = 0; i < count; ++i) {
        const QString flag = QLatin1String(rows[i].flag);
        if (flag == ToolFlag)
            o.insert(flag, QJsonArray::fromStringList(options.tools.texts()));
        else
            o.insert(flag, rows[i].current(options));
    }
    return o;
}

bool read(const QJsonObject &record, PlotOptions *out, QString *error)
{
    PlotOptions o;
    for (auto it = record.begin(); it != record.end(); ++it) {
        const PlotOptionTable::Row *row = PlotOptionTable::find(it.key());
        QString why;
        bool ok = row != nullptr;
        if (ok && it.key() == ToolFlag) {
            for (const QJsonValue &rule : it.value().toArray())
                ok = ok && row->set(o, rule.toString(), &why);
        } else if (ok) {
            ok = setRow(*row, o, it.value().toString(), &why);
        }
        if (!ok) {
            if (error)
                *error = row ? QStringLiteral("--%1 %2").arg(it.key(), why)
                             : QCoreApplication::translate("RecordedOptions", "option --%1 is not known here")
                                   .arg(it.key());
            return false;
        }
    }
    *out = o;
    return true;
}

QList<Difference> compare(const PlotOptions &recorded, const PlotOptions &given, const QStringList &flags)
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    QList<Difference> out;
    for (int i = 0; i < count; ++i) {
        const QString flag = QLatin1String(rows[i].flag);
        const QString was = rows[i].current(recorded);
        const QString now = rows[i].current(given);
        if (flags.contains(flag) && was != now)
            out.append({flag, was, now});
    }
    return out;
}

}
