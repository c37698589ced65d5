// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotArgs.h"

#include "PlotOptionTable.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace PlotArgs {

bool usedBy(const QString &command)
{
    // resume takes them to be checked against the ones the job was cut with.
    return command == QLatin1String("cut") || command == QLatin1String("plan") || command == QLatin1String("qr")
           || command == QLatin1String("resume") || command == QLatin1String("nest");
}

QList<QCommandLineOption> options()
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    QList<QCommandLineOption> list;
    for (int i = 0; i < count; ++i) {
        const PlotOptionTable::Row &row = rows[i];
        list << (row.argument ? QCommandLineOption(QLatin1String(row.flag), QLatin1String(row.help),
                                                   QLatin1String(row.argument))
                              : QCommandLineOption(QLatin1String(row.flag), QLatin1String(row.help)));
    }
    return list;
}

bool read(const QCommandLineParser &parser, PlotOptions &plot, QString &error, bool *any, QStringList *given)
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    if (any)
        *any = false;
    for (int i = 0; i < count; ++i) {
        const PlotOptionTable::Row &row = rows[i];
        const QString flag = QLatin1String(row.flag);
        if (!parser.isSet(flag))
            continue;
        if (any)
            *any = true;
        if (given)
            *given << flag;
        // Every value in order: a repeatable flag (--tool) adds each, and
        // for the others the last one given wins.
        const QStringList values = row.argument ? parser.values(flag) : QStringList{QString()};
        for (const QString &value : values) {
            QString why;
            if (!row.set(plot, value, &why)) {
                error = QStringLiteral("--%1 %2").arg(flag, why);
                return false;
            }
        }
    }
    return true;
}

QString help()
{
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    const PlotOptions defaults;
    QString text = QCoreApplication::translate("PlotArgs", "Design options (cut, plan, qr, nest and resume take the same):") + QLatin1Char('\n');
    for (int i = 0; i < count; ++i) {
        const PlotOptionTable::Row &row = rows[i];
        QString left = QStringLiteral("  --") + QLatin1String(row.flag);
        if (row.argument)
            left += QLatin1Char(' ') + QLatin1String(row.argument);
        QString says = QCoreApplication::translate("PlotOptionTable", row.help);
        if (row.argument)
            says += QLatin1Char(' ') + QCoreApplication::translate("PlotArgs", "Default: %1.").arg(row.current(defaults));
        const QString line = left.size() < 24 ? left.leftJustified(24) + says
                                              : left + QLatin1Char('\n') + QString(24, QLatin1Char(' ')) + says;
        text += line + QLatin1Char('\n');
    }
    return text;
}

} // namespace PlotArgs
