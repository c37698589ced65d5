// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopNest.h"

#include "RecordedOptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>

#include <cmath>

namespace {

bool fail(QString *why, const QString &text)
{
    *why = text;
    return false;
}

// Absent: the default stays. Present: a number within [low, high].
bool number(const QJsonObject &o, const char *key, double low, double high, double *out)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined() || v.isNull())
        return true;
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || d < low || d > high)
        return false;
    *out = d;
    return true;
}

} // namespace

namespace ShopNest {

bool isOption(const QString &key)
{
    for (const char *k : {"gap", "turns", "time_s", "strip_width"}) {
        if (key == QLatin1String(k))
            return true;
    }
    return false;
}

bool job(const QJsonObject &nest, const QJsonObject &options, const WorkArea &area, NestSearchJob *out, QString *why)
{
    const QJsonArray parts = nest.value(QStringLiteral("parts")).toArray();
    if (parts.isEmpty() || parts.size() > MaxParts)
        return fail(why, QCoreApplication::translate("ShopNest", "a nest takes 1 to %1 part files").arg(MaxParts));
    NestSearchJob j;
    QString error;
    if (!RecordedOptions::read(options, &j.plot, &error))
        return fail(why, QCoreApplication::translate("ShopNest", "the design options: %1").arg(error));
    const PlotPlacement &p = j.plot.placement;
    // The nest places and turns each piece; a windowed cut has no border to weed.
    if (p.targetWidth > 0 || p.targetHeight > 0 || p.rotation != 0 || p.mirror || j.plot.weedBorder > 0)
        return fail(why, QCoreApplication::translate("ShopNest", "width, height, rotate, mirror and weed-border do not "
                                                                 "go with a nest: it places and turns each part itself"));
    for (const QJsonValue &v : parts) {
        const QJsonObject part = v.toObject();
        PartRequest r;
        r.file = part.value(QStringLiteral("file")).toString();
        r.where = part.value(QStringLiteral("name")).toString();
        if (r.where.isEmpty())
            r.where = QFileInfo(r.file).fileName();
        if (r.file.isEmpty())
            return fail(why, QCoreApplication::translate("ShopNest", "a part of the nest has no file"));
        double quantity = 1;
        if (!number(part, "quantity", 1, PartList::MaxQuantity, &quantity) || quantity != std::floor(quantity))
            return fail(why, QCoreApplication::translate("ShopNest", "%1: the quantity is no whole number from 1 to %2")
                                 .arg(r.where).arg(PartList::MaxQuantity));
        r.quantity = int(quantity);
        j.files.push_back(r);
    }
    NestRequest &request = j.request;
    double width = 0;
    if (!number(nest, "gap", 0, 1000, &request.gap))
        return fail(why, QCoreApplication::translate("ShopNest", "gap wants millimetres from 0 to 1000"));
    if (!number(nest, "time_s", 0, MaxSeconds, &request.seconds))
        return fail(why, QCoreApplication::translate("ShopNest", "time_s wants seconds from 0 to %1").arg(MaxSeconds));
    if (!number(nest, "strip_width", 1, 1e5, &width))
        return fail(why, QCoreApplication::translate("ShopNest", "strip_width wants millimetres from 1 to 100000"));
    const QJsonValue turns = nest.value(QStringLiteral("turns"));
    if (!turns.isUndefined() && !Orientations::parse(turns.toString(), j.defaults.orientations, error))
        return fail(why, QStringLiteral("turns: %1").arg(error));
    const double margin = qMax(0.0, p.margin);
    if (width > 0 && area.known() && width > area.width - margin)
        return fail(why, QCoreApplication::translate("ShopNest", "the strip (%1 mm) is wider than the work area (%2) "
                                                                 "less its margin").arg(width).arg(area.text()));
    request.width = width > 0 ? width : area.known() ? area.width - margin : 0;
    request.seed = 1;
    *out = std::move(j);
    return true;
}

bool check(const NestSearchJob &job, const WorkArea &area, QString *why)
{
    NestRequest request = job.request;
    QString error;
    if (!PartList::load(job.files, job.plot, job.defaults, request.parts, error))
        return fail(why, named(error, job));
    // No strip asked and the work area unknown: the machine sizes it when cut.
    if (request.width <= 0)
        return true;
    if (!NestSearch::check(request, error))
        return fail(why, named(error, job));
    if (!area.known())
        return true;
    // A window is at most the work area long: a piece that fits a sheet
    // that size in no allowed turn can never be cut.
    request.sheetLength = area.height - qMax(0.0, job.plot.placement.margin);
    if (request.sheetLength <= 0 || !NestSearch::check(request, error))
        return fail(why, QCoreApplication::translate("ShopNest", "a piece is larger than the work area (%1): %2")
                             .arg(area.text(), named(error, job)));
    return true;
}

QString named(QString text, const NestSearchJob &job)
{
    for (const PartRequest &r : job.files) {
        text.replace(r.file, r.where);
        text.replace(QFileInfo(r.file).fileName(), r.where);
    }
    return text;
}

}
