// SPDX-License-Identifier: LGPL-2.1-or-later
// A nest in the queue: several part files with quantities, checked before
// they are queued, laid out and cut in windows when the station takes them.
#include "Shop.h"

#include "MachineStation.h"
#include "ShopNest.h"

#include <QFileInfo>

namespace {
constexpr int MaxShownName = 200;
}

DesignCheck Shop::checkNest(const QJsonObject &nest, const QJsonObject &options, double workWidth, double workHeight)
{
    DesignCheck c;
    const WorkArea area{workWidth, workHeight};
    NestSearchJob job;
    if (!ShopNest::job(nest, options, area, &job, &c.error) || !ShopNest::check(job, area, &c.error))
        return c;
    int pieces = 0;
    for (const PartRequest &r : job.files)
        pieces += r.quantity;
    c.ok = true;
    c.facts = {{QStringLiteral("parts"), int(job.files.size())}, {QStringLiteral("pieces"), pieces}};
    return c;
}

ShopResult Shop::addNest(const QString &machine, const QJsonArray &parts, const QJsonObject &nestOptions,
                         const QJsonObject &options, const QString &addedBy, bool checked)
{
    MachineStation *s = station(machine);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    if (!m_queue.isOpen())
        return ShopResult::fail(ShopResult::Unavailable, tr("the job queue is not open"));
    if (parts.isEmpty() || parts.size() > ShopNest::MaxParts)
        return ShopResult::fail(ShopResult::Invalid, tr("a nest takes 1 to %1 part files").arg(ShopNest::MaxParts));
    QJsonObject nest;
    for (auto it = nestOptions.begin(); it != nestOptions.end(); ++it) {
        if (!ShopNest::isOption(it.key()))
            return ShopResult::fail(ShopResult::Invalid,
                                    tr("'%1' is no nest option: gap, turns, time_s or strip_width").arg(it.key().left(40)));
        nest.insert(it.key(), it.value());
    }
    const QString dir = QFileInfo(s->filesDir()).canonicalFilePath();
    QJsonArray kept;
    QStringList names;
    for (const QJsonValue &v : parts) {
        const QJsonObject part = v.toObject();
        const QString path = QFileInfo(part.value(QStringLiteral("file")).toString()).canonicalFilePath();
        if (dir.isEmpty() || path.isEmpty() || !path.startsWith(dir + QLatin1Char('/')))
            return ShopResult::fail(ShopResult::Invalid, tr("a part of the nest is not in the files folder of %1").arg(machine));
        QString name = part.value(QStringLiteral("name")).toString().left(255);
        if (name.isEmpty())
            name = shownName(path);
        QJsonObject k{{QStringLiteral("file"), path}, {QStringLiteral("name"), name}};
        k.insert(QStringLiteral("quantity"), part.contains(QStringLiteral("quantity")) ? part.value(QStringLiteral("quantity")) : 1);
        kept.append(k);
        names << name;
    }
    nest.insert(QStringLiteral("parts"), kept);
    const WorkArea area = s->workArea();
    QString why;
    NestSearchJob job;
    if (checked) {
        if (!ShopNest::job(nest, options, area, &job, &why))
            return ShopResult::fail(ShopResult::Invalid, why);
    } else {
        const DesignCheck c = checkNest(nest, options, area.width, area.height);
        if (!c.ok)
            return ShopResult::fail(ShopResult::Invalid, c.error);
    }
    ShopEntry e;
    e.machine = machine;
    e.fileName = names.join(QStringLiteral(", "));
    if (e.fileName.size() > MaxShownName)
        e.fileName = e.fileName.left(MaxShownName - 1) + QChar(0x2026);
    e.options = options;
    e.copies = 1;
    e.addedBy = addedBy;
    e.nest = nest;
    if (!m_queue.add(e, &why))
        return ShopResult::fail(ShopResult::Unavailable, why);
    s->kick();
    queueChanged(machine);
    return ShopResult::ok({{QStringLiteral("job"), e.toJson()}});
}
