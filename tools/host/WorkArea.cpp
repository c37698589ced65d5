// SPDX-License-Identifier: LGPL-2.1-or-later
#include "WorkArea.h"

#include "PlotPipeline.h"
#include "RecordValue.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace {

// The plot writer rounds every point to 1/40 mm: a design drawn exactly to
// the edge may land this much past it.
constexpr double Slack = 0.025;
constexpr double MaxSide = 100000;   // mm; anything larger is a typing slip

QString mm(double v, char format = 'f', int precision = 1)
{
    return QLocale().toString(v, format, precision);
}

}

QString WorkArea::text() const
{
    // The machine's own numbers, without a made-up decimal.
    return QCoreApplication::translate("WorkArea", "%1 x %2 mm").arg(mm(width, 'g', 12), mm(height, 'g', 12));
}

QStringList WorkArea::keys()
{
    return {QStringLiteral("WORKAREA_X"), QStringLiteral("WORKAREA_Y")};
}

WorkArea WorkArea::of(VXDeviceInterface *device)
{
    const auto side = [device](const char *key) {
        VXDeviceProperty *r = device ? device->property_ptr(key) : nullptr;
        if (!r)
            return 0.0;
        bool ok = false;
        const double v = r->value().toDouble(&ok) * EditorSpec::of(r).factor;
        return ok && std::isfinite(v) && v > 0 ? v : 0.0;
    };
    return {side("WORKAREA_X"), side("WORKAREA_Y")};
}

bool WorkArea::parse(const QString &text, WorkArea &area, QString &why)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]+(?:\\.[0-9]+)?)\\s*[xX]\\s*([0-9]+(?:\\.[0-9]+)?)\\s*$"));
    const auto m = form.match(text);
    const double w = m.hasMatch() ? m.captured(1).toDouble() : 0;
    const double h = m.hasMatch() ? m.captured(2).toDouble() : 0;
    if (w <= 0 || h <= 0 || w > MaxSide || h > MaxSide) {
        why = QCoreApplication::translate("WorkArea", "'%1' is no work area: give WIDTHxHEIGHT in millimetres, "
                                                      "each above 0 and at most %2, e.g. 450x600")
                  .arg(text, QLocale().toString(MaxSide, 'f', 0));
        return false;
    }
    area = {w, h};
    return true;
}

Failure WorkArea::check(double designWidth, double designHeight, double margin) const
{
    if (!known())
        return Failure();
    const double needX = designWidth + qMax(0.0, margin);
    const double needY = designHeight + qMax(0.0, margin);
    const double overX = needX - width > Slack ? needX - width : 0;
    const double overY = needY - height > Slack ? needY - height : 0;
    if (overX == 0 && overY == 0)
        return Failure();
    QStringList over;
    if (overX > 0)
        over << QCoreApplication::translate("WorkArea", "%1 mm too wide").arg(mm(overX));
    if (overY > 0)
        over << QCoreApplication::translate("WorkArea", "%1 mm too long").arg(mm(overY));
    const QString size = margin > 0
            ? QCoreApplication::translate("WorkArea", "%1 x %2 mm with its %3 mm margin")
                  .arg(mm(needX), mm(needY), mm(margin, 'g', 12))
            : QCoreApplication::translate("WorkArea", "%1 x %2 mm").arg(mm(needX), mm(needY));
    return {Failure::PlotFile,
            QCoreApplication::translate("WorkArea", "the design is %1, the work area %2: %3")
                .arg(size, text(), over.join(QCoreApplication::translate("WorkArea", " and "))),
            {{QStringLiteral("design_width"), needX}, {QStringLiteral("design_height"), needY},
             {QStringLiteral("work_area_width"), width}, {QStringLiteral("work_area_height"), height},
             {QStringLiteral("too_wide"), overX}, {QStringLiteral("too_long"), overY}}};
}

Failure WorkArea::check(const PlotReport &report, double margin) const
{
    return check(report.width, report.height, margin);
}

QString WorkArea::unknownWarning()
{
    return QCoreApplication::translate("WorkArea", "the machine did not tell its work area; "
                                                   "the design is not checked against it");
}
