// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ExitCodes.h"

#include <QCoreApplication>

namespace {

const ExitCodeRow kRows[] = {
    {0, Failure::None, QT_TRANSLATE_NOOP("ExitCode", "success")},
    {1, Failure::Other, QT_TRANSLATE_NOOP("ExitCode", "other failure (also: the machine stopped or refused the job itself)")},
    {1, Failure::JobStopped, nullptr},
    {1, Failure::JobRefused, nullptr},
    {2, Failure::Usage, QT_TRANSLATE_NOOP("ExitCode", "bad command line")},
    {3, Failure::Plugin, QT_TRANSLATE_NOOP("ExitCode", "device plugin not found or not loadable")},
    {4, Failure::Refused, QT_TRANSLATE_NOOP("ExitCode", "connection refused / device could not be opened")},
    {5, Failure::TimedOut, QT_TRANSLATE_NOOP("ExitCode", "no connection or no answer in time")},
    {6, Failure::DeviceLost, QT_TRANSLATE_NOOP("ExitCode", "device lost (link closed or machine silent); during a job the error says what was cut so far")},
    {7, Failure::UnknownKey, QT_TRANSLATE_NOOP("ExitCode", "unknown key")},
    {8, Failure::BadValue, QT_TRANSLATE_NOOP("ExitCode", "bad value")},
    {9, Failure::PlotFile, QT_TRANSLATE_NOOP("ExitCode", "unreadable or invalid plot file")},
    {10, Failure::Rejected, QT_TRANSLATE_NOOP("ExitCode", "the machine refused a write or kept another value")},
    {11, Failure::Cloud, QT_TRANSLATE_NOOP("ExitCode", "cloud registration or remote channel failed")},
    {130, Failure::Interrupted, QT_TRANSLATE_NOOP("ExitCode", "interrupted (Ctrl-C); a running job is stopped on the machine first")},
    // Same kind as 130: ExitCode::of() gives 130, main() 143 for SIGTERM.
    {143, Failure::Interrupted, QT_TRANSLATE_NOOP("ExitCode", "terminated (SIGTERM); a running job is stopped on the machine first")},
};

}

namespace ExitCode {

const ExitCodeRow *table(int *count)
{
    *count = int(sizeof kRows / sizeof kRows[0]);
    return kRows;
}

int of(Failure::Kind kind)
{
    for (const ExitCodeRow &row : kRows) {
        if (row.kind == kind)
            return row.code;
    }
    return Failure;
}

QString help()
{
    QString text = QCoreApplication::translate("ExitCode", "Exit codes:") + QLatin1Char('\n');
    for (const ExitCodeRow &row : kRows) {
        if (row.meaning)
            text += QStringLiteral("  %1%2\n").arg(row.code, -5).arg(QCoreApplication::translate("ExitCode", row.meaning));
    }
    return text;
}

}
