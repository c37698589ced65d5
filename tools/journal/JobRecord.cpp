// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobRecord.h"

namespace {
const struct { JobRecord::Outcome o; const char *name; } Outcomes[] = {
    {JobRecord::Outcome::Finished, "finished"},
    {JobRecord::Outcome::Stopped, "stopped"},
    {JobRecord::Outcome::Refused, "refused"},
    {JobRecord::Outcome::Interrupted, "interrupted"},
    {JobRecord::Outcome::Skipped, "skipped"},
};

QString time(const QDateTime &t)
{
    return t.isValid() ? t.toUTC().toString(Qt::ISODateWithMs) : QString();
}
} // namespace

QString JobRecord::outcomeName(Outcome o)
{
    for (const auto &e : Outcomes)
        if (e.o == o)
            return QString::fromLatin1(e.name);
    return QString();
}

QString JobRecord::outcomeText(Outcome o)
{
    switch (o) {
    case Outcome::Finished: return tr("finished");
    case Outcome::Stopped: return tr("stopped");
    case Outcome::Refused: return tr("refused");
    case Outcome::Interrupted: return tr("interrupted");
    case Outcome::Skipped: return tr("skipped");
    }
    return QString();
}

bool JobRecord::outcomeFromName(const QString &name, Outcome *out)
{
    for (const auto &e : Outcomes) {
        if (name == QLatin1String(e.name)) {
            *out = e.o;
            return true;
        }
    }
    return false;
}

QJsonObject JobRecord::toJson() const
{
    QJsonObject o{
        {"v", 1},
        {"id", id},
        {"start", time(start)},
        {"end", time(end)},
        {"file", file},
        {"sha256", QString::fromLatin1(sha256)},
        {"copies", copies},
        {"finished", finished},
        {"percent", percent},
        {"outcome", outcomeName(outcome)},
        {"device_id", deviceId},
        {"unique_id", uniqueId},
        {"reconnects", reconnects},
        {"link_down_ms", double(linkDownMs)},
    };
    if (!resumes.isEmpty())
        o.insert("resumes", resumes);
    if (sheet || !code.isEmpty() || !design.isEmpty()) {
        o.insert("code", code);
        o.insert("design", design);
    }
    if (!note.isEmpty())
        o.insert("note", note);
    if (!options.isEmpty())
        o.insert("options", options);
    if (!plotSha256.isEmpty())
        o.insert("plot_sha256", QString::fromLatin1(plotSha256));
    if (!jobName.isEmpty())
        o.insert("job_name", jobName);
    if (jobFirst > 0)
        o.insert("job_first", jobFirst);
    if (jobRest)
        o.insert("job_rest", true);
    if (!nestSha256.isEmpty()) {
        o.insert("nest_sha256", QString::fromLatin1(nestSha256));
        o.insert("nest_window", nestWindow);
        o.insert("nest_windows", nestWindows);
        o.insert("feed_before", feedBefore);
    }
    return o;
}

bool JobRecord::fromJson(const QJsonObject &o, JobRecord *out)
{
    JobRecord r;
    if (!outcomeFromName(o.value("outcome").toString(), &r.outcome))
        return false;
    for (const char *key : {"copies", "finished"})
        if (!o.value(key).isDouble())
            return false;
    r.id = o.value("id").toString();
    r.start = QDateTime::fromString(o.value("start").toString(), Qt::ISODateWithMs);
    r.end = QDateTime::fromString(o.value("end").toString(), Qt::ISODateWithMs);
    r.file = o.value("file").toString();
    r.sha256 = o.value("sha256").toString().toLatin1();
    r.copies = o.value("copies").toInt();
    r.finished = o.value("finished").toInt();
    r.percent = o.value("percent").toInt(-1);
    r.deviceId = o.value("device_id").toString();
    r.uniqueId = o.value("unique_id").toString();
    r.reconnects = o.value("reconnects").toInt();
    r.linkDownMs = qint64(o.value("link_down_ms").toDouble());
    r.resumes = o.value("resumes").toString();
    r.code = o.value("code").toString();
    r.design = o.value("design").toString();
    r.sheet = o.contains("code");
    r.note = o.value("note").toString();
    r.options = o.value("options").toObject();
    r.plotSha256 = o.value("plot_sha256").toString().toLatin1();
    r.jobName = o.value("job_name").toString();
    r.jobFirst = qMax(0, o.value("job_first").toInt());
    r.jobRest = o.value("job_rest").toBool();
    r.nestSha256 = o.value("nest_sha256").toString().toLatin1();
    r.nestWindow = qMax(0, o.value("nest_window").toInt());
    r.nestWindows = qMax(0, o.value("nest_windows").toInt());
    r.feedBefore = o.value("feed_before").toObject();
    *out = r;
    return true;
}
