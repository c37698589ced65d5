// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopQueueRows.h"

#include <QJsonDocument>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

// Times as ISO-8601 UTC with milliseconds: in that form text order is time
// order, which the newest-first listing relies on.
QVariant timeValue(const QDateTime &t)
{
    return t.isValid() ? QVariant(t.toUTC().toString(Qt::ISODateWithMs)) : QVariant();
}

QDateTime timeFrom(const QVariant &v)
{
    const QDateTime t = QDateTime::fromString(v.toString(), Qt::ISODateWithMs);
    return t.isValid() ? t.toUTC() : QDateTime();
}

QString jsonText(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

QJsonObject jsonFrom(const QVariant &v)
{
    return QJsonDocument::fromJson(v.toString().toUtf8()).object();
}

} // namespace

namespace ShopQueueRows {

void bind(QSqlQuery &q, const ShopEntry &e)
{
    const QVariantList values{e.machine, e.position, ShopEntry::stateName(e.state), e.fileName,
                              e.path, jsonText(e.options), e.copies, e.addedBy,
                              timeValue(e.addedAt), timeValue(e.startedAt), timeValue(e.endedAt),
                              e.message, e.finished, e.percent, jsonText(e.record), e.journalId,
                              e.origin, jsonText(e.nest)};
    for (const QVariant &v : values)
        q.addBindValue(v);
}

ShopEntry fromRow(const QSqlQuery &q)
{
    ShopEntry e;
    int i = 0;
    e.id = q.value(i++).toLongLong();
    e.machine = q.value(i++).toString();
    e.position = q.value(i++).toInt();
    ShopEntry::stateFromName(q.value(i++).toString(), &e.state);
    e.fileName = q.value(i++).toString();
    e.path = q.value(i++).toString();
    e.options = jsonFrom(q.value(i++));
    e.copies = q.value(i++).toInt();
    e.addedBy = q.value(i++).toString();
    e.addedAt = timeFrom(q.value(i++));
    e.startedAt = timeFrom(q.value(i++));
    e.endedAt = timeFrom(q.value(i++));
    e.message = q.value(i++).toString();
    e.finished = q.value(i++).toInt();
    e.percent = q.value(i++).toInt();
    e.record = jsonFrom(q.value(i++));
    e.journalId = q.value(i++).toString();
    e.origin = q.value(i++).toString();
    e.nest = jsonFrom(q.value(i++));
    return e;
}

QString selectAll()
{
    QStringList cols{QStringLiteral("id")};
    for (const char *f : Fields)
        cols << QLatin1String(f);
    return QStringLiteral("SELECT %1 FROM jobs ").arg(cols.join(QLatin1String(", ")));
}

} // namespace ShopQueueRows
