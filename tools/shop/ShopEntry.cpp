// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopEntry.h"

#include <QJsonArray>
#include <QJsonValue>

namespace {
struct StateName
{
    ShopEntry::State state;
    const char *name;
};
// Stored in the database and sent to the page: never translated, never renamed.
constexpr StateName StateNames[] = {
    {ShopEntry::State::Queued, "queued"},   {ShopEntry::State::Cutting, "cutting"},
    {ShopEntry::State::Held, "held"},       {ShopEntry::State::Done, "done"},
    {ShopEntry::State::Failed, "failed"},   {ShopEntry::State::Cancelled, "cancelled"},
};

void putTime(QJsonObject &o, const char *key, const QDateTime &t)
{
    if (t.isValid())
        o.insert(QLatin1String(key), t.toUTC().toString(Qt::ISODateWithMs));
}
} // namespace

QString ShopEntry::stateName(State s)
{
    for (const StateName &n : StateNames) {
        if (n.state == s)
            return QLatin1String(n.name);
    }
    return QString();
}

bool ShopEntry::stateFromName(const QString &name, State *out)
{
    for (const StateName &n : StateNames) {
        if (name == QLatin1String(n.name)) {
            if (out)
                *out = n.state;
            return true;
        }
    }
    return false;
}

QJsonObject ShopEntry::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), double(id)},
        {QStringLiteral("machine"), machine},
        {QStringLiteral("position"), position},
        {QStringLiteral("state"), stateName(state)},
        {QStringLiteral("file"), fileName},
        {QStringLiteral("copies"), copies},
        {QStringLiteral("options"), options},
        {QStringLiteral("added_by"), addedBy},
        {QStringLiteral("message"), message},
        {QStringLiteral("finished"), finished},
        {QStringLiteral("percent"), percent},
    };
    putTime(o, "added_at", addedAt);
    putTime(o, "started_at", startedAt);
    putTime(o, "ended_at", endedAt);
    if (!journalId.isEmpty())
        o.insert(QStringLiteral("journal_id"), journalId);
    o.insert(QStringLiteral("kind"), nest.isEmpty() ? QStringLiteral("design") : QStringLiteral("nest"));
    if (!nest.isEmpty()) {
        QJsonObject shown = nest;
        QJsonArray parts;
        for (const QJsonValue &v : nest.value(QStringLiteral("parts")).toArray()) {
            const QJsonObject p = v.toObject();
            parts.append(QJsonObject{{QStringLiteral("name"), p.value(QStringLiteral("name"))},
                                     {QStringLiteral("quantity"), p.value(QStringLiteral("quantity"))}});
        }
        shown.insert(QStringLiteral("parts"), parts);
        o.insert(QStringLiteral("nest"), shown);
    }
    return o;
}
