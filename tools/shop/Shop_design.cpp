// SPDX-License-Identifier: LGPL-2.1-or-later
// A design read and planned on whatever thread asks: the check before an
// upload is queued, and the preview a page shows. Neither touches the shop.
#include "Shop.h"

#include "DesignLoader.h"
#include "RecordedOptions.h"
#include "WorkArea.h"

#include <cmath>

namespace {
double hundredth(double v)
{
    return std::round(v * 100) / 100;
}
}

DesignCheck Shop::check(const QString &path, const QJsonObject &options, double workWidth, double workHeight)
{
    DesignCheck c;
    PlotOptions plot;
    QString error;
    if (!RecordedOptions::read(options, &plot, &error)) {
        c.error = tr("the design options: %1").arg(error);
        return c;
    }
    const DesignLoad load = DesignLoader::loadNow(path, plot);
    if (!load.ok) {
        c.error = load.error;
        return c;
    }
    const PlotReport &r = load.job.report;
    if (Failure f = WorkArea{workWidth, workHeight}.check(r, plot.placement.margin)) {
        c.error = f.message;
        return c;
    }
    c.ok = true;
    c.facts = {{QStringLiteral("format"), load.job.format},
               {QStringLiteral("width"), hundredth(r.width)},
               {QStringLiteral("height"), hundredth(r.height)},
               {QStringLiteral("cut_length"), hundredth(r.cutLength)},
               {QStringLiteral("paths"), r.paths},
               {QStringLiteral("estimate_s"), qRound64(std::ceil(r.estimateSeconds))}};
    return c;
}

ShopResult Shop::previewOf(qint64 id, const QString &path, const QJsonObject &options, QByteArray *png)
{
    PlotOptions plot;
    QString error;
    if (!RecordedOptions::read(options, &plot, &error))
        return ShopResult::fail(ShopResult::NotFound, tr("no preview of job %1: %2").arg(id).arg(error));
    const DesignLoad load = DesignLoader::loadNow(path, plot);
    if (!load.ok || load.job.preview.isEmpty())
        return ShopResult::fail(ShopResult::NotFound, tr("no preview of job %1: %2").arg(id).arg(load.error));
    *png = load.job.preview;
    return ShopResult::ok();
}
