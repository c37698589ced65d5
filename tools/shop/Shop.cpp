// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Shop.h"

#include "FeedGate.h"

#include "JobJournal.h"
#include "MachineStation.h"
#include "WatchFolder.h"
#include "WorkArea.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <map>

namespace {
constexpr int FeedMs = 250;         // at most four updates a second per machine and kind
constexpr int QueueUpdateEnded = 20;
constexpr int MaxPreviews = 64;
constexpr int MaxCopies = 9999;
constexpr int MaxJournalScan = 10000;
}

struct Shop::Private
{
    struct Feed
    {
        FeedGate card;
        FeedGate queue;
    };
    std::map<QString, std::unique_ptr<Feed>> feeds;
    // Small PNGs by entry: a page asks for each as often as it redraws.
    mutable QHash<qint64, QByteArray> previews;
    mutable QList<qint64> previewOrder;
    quint32 serial = 0;
};

Shop::Shop(const ShopConfig &config, VXDeviceInterface *factory, QObject *parent)
    : QObject(parent), m_config(config), m_factory(factory), d(std::make_unique<Private>())
{
}

Shop::~Shop()
{
    // Folders first (they add to stations), then the stations, which leave
    // their jobs to the machines.
    m_watches.clear();
    m_stations.clear();
}

QString Shop::dataDir() const
{
    if (!m_config.dataDir.isEmpty())
        return m_config.dataDir;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/shop");
}

bool Shop::start(QString *error)
{
    const QDir data(dataDir());
    if (!QDir().mkpath(data.path())) {
        *error = tr("cannot make the data folder %1").arg(data.path());
        return false;
    }
    if (!m_queue.open(data.filePath(QStringLiteral("queue.sqlite")), error))
        return false;
    if (m_config.maxDbBytes > 0 && !m_queue.setMaxBytes(m_config.maxDbBytes, error))
        return false;
    for (const MachineConfig &mc : m_config.machines) {
        auto made = std::make_unique<MachineStation>(mc, m_factory, m_queue, data.path(),
                                                     m_config.reconnectBudgetMs);
        if (!QDir().mkpath(made->filesDir())) {
            *error = tr("cannot make the folder %1").arg(made->filesDir());
            return false;
        }
        auto feed = std::make_unique<Private::Feed>();
        for (FeedGate *g : {&feed->card, &feed->queue}) {
            g->window.setSingleShot(true);
            g->window.setInterval(FeedMs);
            connect(&g->window, &QTimer::timeout, this, [g] { g->closed(); });
        }
        const QString name = mc.name;
        feed->card.send = [this, name] {
            if (MachineStation *s = station(name))
                emit update({{QStringLiteral("type"), QStringLiteral("machine")},
                             {QStringLiteral("machine"), s->state()}});
        };
        feed->queue.send = [this, name] {
            // An unread queue is not sent as an empty one: pages keep what they show.
            const ShopResult r = queue(name, QueueUpdateEnded);
            if (r)
                emit update({{QStringLiteral("type"), QStringLiteral("queue")},
                             {QStringLiteral("machine"), name},
                             {QStringLiteral("jobs"), r.body.value(QStringLiteral("jobs"))}});
        };
        d->feeds[name] = std::move(feed);
        connect(made.get(), &MachineStation::changed, this, [this, name] { cardChanged(name); });
        connect(made.get(), &MachineStation::entryChanged, this, [this, name] {
            queueChanged(name);
            cardChanged(name);
        });
        // An end is what a person waits for: it goes out now, not at the
        // close of a window that progress reports keep open.
        connect(made.get(), &MachineStation::entryEnded, this, [this, name] {
            auto it = d->feeds.find(name);
            if (it != d->feeds.end()) {
                it->second->queue.fire();
                it->second->card.fire();
            }
        });
        m_stations.push_back(std::move(made));
    }
    for (const auto &s : m_stations)
        s->start();
    for (const MachineConfig &mc : m_config.machines) {
        if (mc.watch.isEmpty())
            continue;
        auto watch = std::make_unique<WatchFolder>(*this, mc.name, mc.watch);
        WatchFolder *w = watch.get();
        connect(station(mc.name), &MachineStation::entryEnded, w, [w](qint64 id) { w->entryEnded(id); });
        if (!w->start(error))
            return false;
        m_watches.push_back(std::move(watch));
    }
    return true;
}

void Shop::cardChanged(const QString &name)
{
    auto it = d->feeds.find(name);
    if (it != d->feeds.end())
        it->second->card.poke();
}

void Shop::queueChanged(const QString &name)
{
    auto it = d->feeds.find(name);
    if (it != d->feeds.end())
        it->second->queue.poke();
}

MachineStation *Shop::station(const QString &name) const
{
    for (const auto &s : m_stations) {
        if (s->name() == name)
            return s.get();
    }
    return nullptr;
}

MachineStation *Shop::stationOf(qint64 id) const
{
    const std::optional<ShopEntry> e = m_queue.isOpen() ? m_queue.get(id) : std::nullopt;
    return e ? station(e->machine) : nullptr;
}

ShopResult Shop::noJob(qint64 id) const
{
    if (!m_queue.lastError().isEmpty())
        return ShopResult::fail(ShopResult::Unavailable, m_queue.lastError());
    return ShopResult::fail(ShopResult::NotFound, tr("no job %1").arg(id));
}

QJsonObject Shop::machines() const
{
    QJsonArray cards;
    for (const auto &s : m_stations)
        cards.append(s->state());
    return {{QStringLiteral("machines"), cards}};
}

ShopResult Shop::machine(const QString &name) const
{
    MachineStation *s = station(name);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(name));
    return ShopResult::ok(s->state());
}

ShopResult Shop::queue(const QString &name, int ended) const
{
    if (!station(name))
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(name));
    if (!m_queue.isOpen())
        return ShopResult::fail(ShopResult::Unavailable, tr("the job queue is not open"));
    QJsonArray jobs;
    for (const ShopEntry &e : m_queue.entries(name, qBound(0, ended, 1000)))
        jobs.append(e.toJson());
    // Unread is not empty: a page would show nothing queued.
    if (!m_queue.lastError().isEmpty())
        return ShopResult::fail(ShopResult::Unavailable, m_queue.lastError());
    return ShopResult::ok({{QStringLiteral("jobs"), jobs}});
}

ShopResult Shop::job(qint64 id) const
{
    const std::optional<ShopEntry> e = m_queue.isOpen() ? m_queue.get(id) : std::nullopt;
    if (!e)
        return noJob(id);
    return ShopResult::ok(e->toJson());
}

ShopResult Shop::preview(qint64 id, QByteArray *png) const
{
    QString path;
    QJsonObject options;
    ShopResult r = previewSource(id, &path, &options, png);
    if (!r || !png->isEmpty())
        return r;
    r = previewOf(id, path, options, png);
    if (r)
        keepPreview(id, *png);
    return r;
}

ShopResult Shop::previewSource(qint64 id, QString *path, QJsonObject *options, QByteArray *cached) const
{
    const std::optional<ShopEntry> e = m_queue.isOpen() ? m_queue.get(id) : std::nullopt;
    if (!e)
        return noJob(id);
    if (!e->nest.isEmpty())
        return ShopResult::fail(ShopResult::NotFound, tr("job %1 is a nest: it is laid out when it is cut").arg(id));
    *cached = d->previews.value(id);
    *path = e->path;
    *options = e->options;
    return ShopResult::ok();
}

void Shop::keepPreview(qint64 id, const QByteArray &png) const
{
    // Two pages may ask at once: the second answer adds nothing.
    if (png.isEmpty() || d->previews.contains(id))
        return;
    d->previews.insert(id, png);
    d->previewOrder.append(id);
    while (d->previewOrder.size() > MaxPreviews)
        d->previews.remove(d->previewOrder.takeFirst());
}

ShopResult Shop::add(const QString &machine, const QString &stored, const QString &fileName,
                     const QJsonObject &options, int copies, const QString &addedBy, const QString &origin)
{
    MachineStation *s = station(machine);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    if (!m_queue.isOpen())
        return ShopResult::fail(ShopResult::Unavailable, tr("the job queue is not open"));
    if (copies < 1 || copies > MaxCopies)
        return ShopResult::fail(ShopResult::Invalid, tr("copies must be from 1 to %1").arg(MaxCopies));
    const QString dir = QFileInfo(s->filesDir()).canonicalFilePath();
    const QString path = QFileInfo(stored).canonicalFilePath();
    if (dir.isEmpty() || path.isEmpty() || !path.startsWith(dir + QLatin1Char('/')))
        return ShopResult::fail(ShopResult::Invalid, tr("the design is not in the files folder of %1").arg(machine));
    ShopEntry e;
    e.machine = machine;
    e.fileName = fileName.isEmpty() ? QFileInfo(path).fileName() : fileName;
    e.path = path;
    e.options = options;
    e.copies = copies;
    e.addedBy = addedBy;
    e.origin = origin;
    QString error;
    if (!m_queue.add(e, &error))
        return ShopResult::fail(ShopResult::Unavailable, error);
    s->kick();
    queueChanged(machine);
    return ShopResult::ok({{QStringLiteral("job"), e.toJson()}});
}

QString Shop::shownName(const QString &stored)
{
    // storagePath() names a file "<stamp>-<serial>-<name>"; a record of a
    // file from elsewhere keeps its own name.
    const QString base = QFileInfo(stored).fileName();
    const QString name = base.section(QLatin1Char('-'), 2);
    return name.isEmpty() ? base : name;
}

ShopResult Shop::storagePath(const QString &machine, const QString &fileName, QString *path) const
{
    MachineStation *s = station(machine);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    // The last part of whatever a browser or a folder sent, in letters a
    // file system keeps: never a way out of the folder.
    const QString base = fileName.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    QString safe;
    for (const QChar c : base) {
        const ushort u = c.unicode();
        const bool keep = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.'
                          || u == '-' || u == '_';
        safe += keep ? c : QLatin1Char('_');
    }
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    safe = safe.left(100);
    if (safe.isEmpty())
        safe = QStringLiteral("design");
    const QDir dir(s->filesDir());
    const QString stamp = QString::number(QDateTime::currentMSecsSinceEpoch(), 36);
    for (int i = 0; i < 1000; ++i) {
        const QString candidate = dir.filePath(QStringLiteral("%1-%2-%3").arg(stamp).arg(++d->serial, 0, 36).arg(safe));
        if (!QFileInfo::exists(candidate)) {
            *path = candidate;
            return ShopResult::ok();
        }
    }
    return ShopResult::fail(ShopResult::Unavailable, tr("no free file name in %1").arg(dir.path()));
}

ShopResult Shop::workArea(const QString &machine, double *width, double *height) const
{
    MachineStation *s = station(machine);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    const WorkArea area = s->workArea();
    *width = area.width;
    *height = area.height;
    return ShopResult::ok();
}

ShopResult Shop::move(qint64 id, int position)
{
    const std::optional<ShopEntry> e = m_queue.isOpen() ? m_queue.get(id) : std::nullopt;
    if (!e)
        return noJob(id);
    if (e->state != ShopEntry::State::Queued)
        return ShopResult::fail(ShopResult::Conflict, tr("job %1 is not waiting in the queue").arg(id));
    QString error;
    if (!m_queue.move(id, position, &error))
        return ShopResult::fail(ShopResult::Unavailable, error);
    queueChanged(e->machine);
    return job(id);
}

ShopResult Shop::cancel(qint64 id)
{
    MachineStation *s = stationOf(id);
    if (!s)
        return noJob(id);
    QString error;
    if (!s->cancel(id, &error))
        return ShopResult::fail(ShopResult::Conflict, error);
    queueChanged(s->name());
    return job(id);
}

ShopResult Shop::settle(qint64 id, const QString &how)
{
    if (how != QLatin1String("continue") && how != QLatin1String("recut") && how != QLatin1String("skip"))
        return ShopResult::fail(ShopResult::Invalid, tr("'%1' is no way to settle a job: continue, recut or skip").arg(how));
    MachineStation *s = stationOf(id);
    if (!s)
        return noJob(id);
    QString error;
    if (!s->settle(id, how, &error))
        return ShopResult::fail(ShopResult::Conflict, error);
    queueChanged(s->name());
    return job(id);
}

ShopResult Shop::control(const QString &machine, const QString &action)
{
    MachineStation *s = station(machine);
    if (!s)
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    QString error;
    bool done = true;
    if (action == QLatin1String("pause"))
        done = s->pauseJob(&error);
    else if (action == QLatin1String("continue"))
        done = s->continueJob(&error);
    else if (action == QLatin1String("stop"))
        done = s->stopJob(&error);
    else if (action == QLatin1String("hold") || action == QLatin1String("release"))
        s->setQueuePaused(action == QLatin1String("hold"));
    else
        return ShopResult::fail(ShopResult::Invalid,
                                tr("'%1' is no action: pause, continue, stop, hold or release").arg(action));
    if (!done)
        return ShopResult::fail(ShopResult::Conflict, error);
    return ShopResult::ok(s->state());
}

ShopResult Shop::journal(const QString &machine, const QString &outcome, const QString &file, int limit) const
{
    if (!machine.isEmpty() && !station(machine))
        return ShopResult::fail(ShopResult::NotFound, tr("no machine named %1").arg(machine));
    JobRecord::Outcome wanted = JobRecord::Outcome::Finished;
    if (!outcome.isEmpty() && !JobRecord::outcomeFromName(outcome, &wanted))
        return ShopResult::fail(ShopResult::Invalid, tr("'%1' is no job outcome").arg(outcome));
    limit = qBound(1, limit > 0 ? limit : 100, 1000);
    // A filter may match few lines: each journal is read further back, never past a bound.
    const int scan = outcome.isEmpty() && file.isEmpty() ? limit : MaxJournalScan;
    struct Line
    {
        JobRecord record;
        QString machine;
        QDateTime when;
    };
    std::vector<Line> lines;
    for (const auto &s : m_stations) {
        if (!machine.isEmpty() && s->name() != machine)
            continue;
        for (const JobRecord &r : s->journal().last(scan)) {
            if (!outcome.isEmpty() && r.outcome != wanted)
                continue;
            if (!file.isEmpty() && !shownName(r.file).contains(file, Qt::CaseInsensitive))
                continue;
            lines.push_back({r, s->name(), r.end.isValid() ? r.end : r.start});
        }
    }
    std::stable_sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) { return a.when > b.when; });
    QJsonArray records;
    for (std::size_t i = 0; i < lines.size() && int(i) < limit; ++i) {
        QJsonObject o = lines[i].record.toJson();
        o.insert(QStringLiteral("machine"), lines[i].machine);
        o.insert(QStringLiteral("name"), shownName(lines[i].record.file));
        records.append(o);
    }
    return ShopResult::ok({{QStringLiteral("records"), records}});
}
