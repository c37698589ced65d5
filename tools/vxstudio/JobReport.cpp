#include "JobReport.h"

#include <QStringList>

#include <cmath>

bool JobReport::parse(const QString &text, JobReport *report)
{
    const QStringList f = text.split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (f.size() < 6 || f.at(0).trimmed() != QLatin1String("66"))
        return false;
    JobReport r;
    r.status = f.at(1).trimmed().toInt();
    r.fileName = f.at(2);
    r.copies = f.at(3).trimmed().toInt();
    r.finished = f.at(4).trimmed().toInt();
    // The machine may send a fraction ("57.9"); NaN and junk read as 0.
    const double p = f.at(5).trimmed().toDouble();
    r.percent = std::isfinite(p) ? int(std::trunc(qBound(0.0, p, 100.0))) : 0;
    *report = r;
    return true;
}
