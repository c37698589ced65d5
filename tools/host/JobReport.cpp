// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobReport.h"

#include <QStringList>

namespace {
int number(const QStringList &f, int i)
{
    if (i >= f.size())
        return -1;
    bool ok = false;
    const int v = f.at(i).trimmed().toInt(&ok);
    return ok && v >= 0 ? v : -1;
}
}

bool JobReport::parse(const QString &item, JobReport *out)
{
    JobReport r;
    r.raw = item;
    const QStringList f = item.split(QLatin1Char(','));
    // 66 and at least status, file, copies, finished, percent.
    if (f.size() < 6 || f.at(0).trimmed() != QLatin1String("66")) {
        *out = r;
        return false;
    }
    const int status = number(f, 1);
    if (status < 0 || status > 7) {
        *out = r;
        return false;
    }
    r.status = Status(status);
    r.file = f.at(2);
    r.copies = number(f, 3);
    r.finished = number(f, 4);
    r.percent = number(f, 5);
    const int copy = f.size() > 9 ? number(f, 9) : -1;
    r.copyPercent = copy <= 100 ? copy : -1;
    if (r.percent > 100)
        r.percent = -1;
    *out = r;
    return true;
}
