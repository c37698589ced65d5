// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ExitCodes.h"

namespace {

const ExitCodeRow kRows[] = {
    {0, Failure::None, "success"},
    {1, Failure::Other, "other failure (also: the machine stopped or refused the job itself)"},
    {1, Failure::JobStopped, nullptr},
    {1, Failure::JobRefused, nullptr},
    {2, Failure::Usage, "bad command line"},
    {3, Failure::Plugin, "device plugin not found or not loadable"},
    {4, Failure::Refused, "connection refused / device could not be opened"},
    {5, Failure::TimedOut, "no connection or no answer in time"},
    {6, Failure::DeviceLost, "device lost (link closed or machine silent); during a job the error says what was cut so far"},
    {7, Failure::UnknownKey, "unknown key"},
    {8, Failure::BadValue, "bad value"},
    {9, Failure::PlotFile, "unreadable or invalid plot file"},
    {10, Failure::Rejected, "the machine refused a write or kept another value"},
    {11, Failure::Cloud, "cloud registration or remote channel failed"},
    {130, Failure::Interrupted, "interrupted (Ctrl-C); a running job is stopped on the machine first"},
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
    QString text = QStringLiteral("Exit codes:\n");
    for (const ExitCodeRow &row : kRows) {
        if (row.meaning)
            text += QStringLiteral("  %1%2\n").arg(row.code, -5).arg(QLatin1String(row.meaning));
    }
    return text;
}

}
