// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Orientations.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

double normalised(double degrees)
{
    const double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360 : d;
}

bool sameAngle(double a, double b)
{
    const double d = std::fabs(normalised(a) - normalised(b));
    return d < 1e-6 || d > 360 - 1e-6;
}

}

bool Orientations::parse(const QString &text, Orientations &out, QString &why)
{
    const QString t = text.trimmed().toLower();
    std::vector<double> angles;
    bool ok = true;
    if (t.startsWith(QLatin1String("any"))) {
        double step = DefaultStep;
        if (t.size() > 3) {
            if (t.at(3) != QLatin1Char(':'))
                ok = false;
            else
                step = t.mid(4).toDouble(&ok);
        }
        if (!ok || !(step > 0) || 360 / step > MaxAngles + 1e-9) {
            why = QCoreApplication::translate("Orientations", "wants any:STEP with a step of at least %1 degrees")
                      .arg(360.0 / MaxAngles);
            return false;
        }
        for (int i = 0; i * step < 360 - 1e-9; ++i)
            angles.push_back(i * step);
    } else {
        const QStringList items = t.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &item : items) {
            const double a = item.trimmed().toDouble(&ok);
            if (!ok || !std::isfinite(a)) {
                why = QCoreApplication::translate("Orientations", "'%1' is no angle in degrees").arg(item.trimmed());
                return false;
            }
            if (std::none_of(angles.begin(), angles.end(), [&](double b) { return sameAngle(a, b); }))
                angles.push_back(normalised(a));
        }
        if (angles.empty() || int(angles.size()) > MaxAngles) {
            why = QCoreApplication::translate("Orientations", "wants 1 to %1 angles, such as 0,90,180,270, or any:STEP")
                      .arg(MaxAngles);
            return false;
        }
    }
    out.m_angles = angles;
    return true;
}

std::vector<Orientation> Orientations::list() const
{
    std::vector<Orientation> poses;
    for (int m = 0; m < (m_mirror ? 2 : 1); ++m) {
        for (double a : m_angles)
            poses.push_back(Orientation{a, m == 1});
    }
    return poses;
}

bool Orientations::allows(double degrees, bool mirrored) const
{
    if (mirrored && !m_mirror)
        return false;
    return std::any_of(m_angles.begin(), m_angles.end(), [&](double a) { return sameAngle(a, degrees); });
}

QString Orientations::text() const
{
    QStringList items;
    for (double a : m_angles)
        items << QString::number(a);
    return items.join(QLatin1Char(',')) + (m_mirror ? QStringLiteral(" +mirror") : QString());
}
