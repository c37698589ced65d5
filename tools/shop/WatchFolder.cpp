// SPDX-License-Identifier: LGPL-2.1-or-later
#include "WatchFolder.h"

#include "PlotJob.h"
#include "Shop.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QLocale>
#include <QSaveFile>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {
// Per look: names read, and files stat'ed; a folder of thousands is taken
// over several looks, not in one pass that stalls the service.
constexpr int MaxScan = 4096;
constexpr int MaxExamine = 64;
constexpr int MaxEndedAtStart = 200;
constexpr int MaxSuffix = 10000;

bool partial(const QString &name)
{
    static const char *const endings[] = {".part", ".tmp", ".crdownload", ".report.txt"};
    if (name.startsWith(QLatin1Char('.')))
        return true;
    for (const char *e : endings) {
        if (name.endsWith(QLatin1String(e), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString time(const QDateTime &t)
{
    return t.isValid() ? QLocale().toString(t.toLocalTime(), QLocale::ShortFormat) : QStringLiteral("-");
}
}

struct WatchFolder::Private
{
    struct Seen
    {
        qint64 size = -1;
        QDateTime modified;
        QElapsedTimer since;    // unchanged since
    };
    QFileSystemWatcher watcher;
    QTimer look;
    QString canonical;              // the folder, links resolved
    QHash<QString, Seen> pending;   // appeared, not yet complete
    QSet<QString> taken;            // queued (or on their way): left where they are
    QStringList complete;           // waiting for the worker
    QThread *worker = nullptr;      // copies and checks one file at a time
    QString copy;                   // the worker's stored copy, not queued yet
};

WatchFolder::WatchFolder(Shop &shop, const QString &machine, const QString &folder, QObject *parent)
    : QObject(parent), d(new Private), m_shop(shop), m_machine(machine), m_folder(QDir(folder).absolutePath())
{
    d->look.setSingleShot(true);
    connect(&d->look, &QTimer::timeout, this, &WatchFolder::look);
    connect(&d->watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!d->look.isActive())
            d->look.start(0);
    });
}

WatchFolder::~WatchFolder()
{
    if (d->worker) {
        d->worker->wait();
        delete d->worker;
        // Never queued: nothing would ever remove it; the file itself is taken again on the next start.
        QFile::remove(d->copy);
    }
    delete d;
}

bool WatchFolder::start(QString *error)
{
    const QDir dir(m_folder);
    for (const QString &sub : {QString(), QStringLiteral("done"), QStringLiteral("failed")}) {
        if (!dir.mkpath(sub.isEmpty() ? QStringLiteral(".") : sub)) {
            *error = tr("cannot make the watch folder %1").arg(dir.filePath(sub));
            return false;
        }
    }
    d->canonical = QFileInfo(m_folder).canonicalFilePath();
    // Queued before a restart: still waiting for their jobs. Ended while
    // the service stopped before their file moved: moved now, never queued again.
    const QList<ShopEntry> known = m_shop.m_queue.entries(m_machine, MaxEndedAtStart);
    // Unread, every file in the folder would be queued a second time.
    if (!m_shop.m_queue.lastError().isEmpty()) {
        *error = m_shop.m_queue.lastError();
        return false;
    }
    for (const ShopEntry &e : known) {
        if (e.origin.isEmpty() || QFileInfo(e.origin).absolutePath() != m_folder)
            continue;
        if (!e.ended()) {
            d->taken.insert(e.origin);
        } else if (QFileInfo::exists(e.origin)) {
            d->taken.insert(e.origin);
            entryEnded(e.id);
        }
    }
    if (!d->watcher.addPath(m_folder)) {
        *error = tr("cannot watch the folder %1").arg(m_folder);
        return false;
    }
    d->look.start(0);
    return true;
}

void WatchFolder::look()
{
    QDirIterator it(m_folder, QDir::Files | QDir::NoDotAndDotDot);
    QSet<QString> present;
    int scanned = 0, examined = 0;
    bool more = false;
    const QDateTime now = QDateTime::currentDateTime();
    while (it.hasNext()) {
        if (++scanned > MaxScan) {
            more = true;
            break;
        }
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (partial(info.fileName()) || d->taken.contains(path))
            continue;
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (target.isEmpty() || !target.startsWith(d->canonical + QLatin1Char('/'))
                || QFileInfo(target).absolutePath() != d->canonical)
                continue;
        }
        present.insert(path);
        if (examined >= MaxExamine) {
            more = true;
            continue;
        }
        ++examined;
        auto seen = d->pending.find(path);
        if (seen == d->pending.end()) {
            // Renamed in, or there before the service: its time is older
            // than a settle period, so nothing is writing it.
            if (info.lastModified().msecsTo(now) >= m_settleMs) {
                d->taken.insert(path);
                d->complete.append(path);
                continue;
            }
            seen = d->pending.insert(path, {info.size(), info.lastModified(), {}});
            seen->since.start();
            continue;
        }
        if (seen->size != info.size() || seen->modified != info.lastModified()) {
            *seen = {info.size(), info.lastModified(), {}};
            seen->since.start();
        } else if (seen->since.elapsed() >= m_settleMs) {
            d->pending.erase(seen);
            d->taken.insert(path);
            d->complete.append(path);
        }
    }
    if (!more) {
        for (auto p = d->pending.begin(); p != d->pending.end();)
            p = present.contains(p.key()) ? std::next(p) : d->pending.erase(p);
    }
    if (more)
        d->look.start(qMin(m_settleMs, 100));
    else if (!d->pending.isEmpty())
        d->look.start(m_settleMs);
    takeNext();
}

void WatchFolder::takeNext()
{
    if (d->worker || d->complete.isEmpty())
        return;
    const QString path = d->complete.takeFirst();
    QString stored;
    if (ShopResult r = m_shop.storagePath(m_machine, QFileInfo(path).fileName(), &stored); !r)
        return refuse(path, r.message);
    double width = 0, height = 0;
    m_shop.workArea(m_machine, &width, &height);
    QJsonObject options;
    for (const MachineConfig &mc : m_shop.config().machines) {
        if (mc.name == m_machine)
            options = mc.options;
    }
    const qint64 limit = qMin(m_shop.config().maxUploadBytes, PlotJob::MaxBytes);
    auto check = std::make_shared<DesignCheck>();
    auto error = std::make_shared<QString>();
    // Copied and read off the service's thread: a design may be hundreds of megabytes.
    d->worker = QThread::create([path, stored, options, width, height, limit, check, error] {
        const qint64 size = QFileInfo(path).size();
        if (size > limit)
            *error = tr("the file is %1 MB, more than the %2 MB a job may have")
                         .arg(QLocale().toString(size >> 20), QLocale().toString(limit >> 20));
        else if (!QFile::copy(path, stored))
            *error = tr("cannot copy %1 to %2").arg(path, stored);
        else
            *check = Shop::check(stored, options, width, height);
    });
    d->copy = stored;
    connect(d->worker, &QThread::finished, this, [this, path, stored, check, error] {
        d->worker->deleteLater();
        d->worker = nullptr;
        d->copy.clear();
        checked(path, stored, *check, *error);
        takeNext();
    });
    d->worker->start();
}

void WatchFolder::checked(const QString &path, const QString &stored, const DesignCheck &check, const QString &error)
{
    const QString why = !error.isEmpty() ? error : check.ok ? QString() : check.error;
    if (!why.isEmpty()) {
        QFile::remove(stored);
        return refuse(path, why);
    }
    int copies = 1;
    QJsonObject options;
    for (const MachineConfig &mc : m_shop.config().machines) {
        if (mc.name == m_machine) {
            copies = mc.copies;
            options = mc.options;
        }
    }
    const ShopResult r = m_shop.add(m_machine, stored, QFileInfo(path).fileName(), options, copies,
                                    QStringLiteral("folder ") + m_folder, path);
    if (!r) {
        QFile::remove(stored);
        return refuse(path, r.message);
    }
    emit taken(QFileInfo(path).fileName(), qint64(r.body.value(QStringLiteral("job")).toObject()
                                                     .value(QStringLiteral("id")).toDouble()), QString());
}

void WatchFolder::refuse(const QString &path, const QString &why)
{
    // One that cannot be moved stays taken: looked at again, it would be
    // copied, checked and refused again at every change in the folder.
    if (!moveOut(path, QStringLiteral("failed"), tr("file: %1\nnot queued: %2\n").arg(QFileInfo(path).fileName(), why))
             .isEmpty()
        || !QFileInfo::exists(path))
        d->taken.remove(path);
    emit taken(QFileInfo(path).fileName(), 0, why);
}

void WatchFolder::entryEnded(qint64 id)
{
    const std::optional<ShopEntry> e = m_shop.m_queue.get(id);
    if (!e || !e->ended() || e->machine != m_machine || e->origin.isEmpty()
        || QFileInfo(e->origin).absolutePath() != m_folder)
        return;
    if (!QFileInfo::exists(e->origin)) {
        d->taken.remove(e->origin);
        return;
    }
    QString report = tr("file: %1\njob: %2\noutcome: %3\ncopies: %4 of %5 finished\nadded: %6\nstarted: %7\nended: %8\n")
                         .arg(e->fileName, QString::number(e->id), ShopEntry::stateName(e->state),
                              QLocale().toString(e->finished), QLocale().toString(e->copies), time(e->addedAt),
                              time(e->startedAt), time(e->endedAt));
    if (!e->message.isEmpty())
        report += tr("message: %1\n").arg(e->message);
    // Left in the folder it stays taken, or it would be queued a second time.
    if (!moveOut(e->origin, e->state == ShopEntry::State::Done ? QStringLiteral("done") : QStringLiteral("failed"), report)
             .isEmpty())
        d->taken.remove(e->origin);
}

// Moves the file into sub/ beside its report, under a name no other file
// there has: nothing that went before is overwritten.
QString WatchFolder::moveOut(const QString &path, const QString &sub, const QString &report)
{
    const QDir dir(QDir(m_folder).filePath(sub));
    const QString name = QFileInfo(path).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    QString target = dir.filePath(name);
    for (int n = 1; n <= MaxSuffix && (QFileInfo::exists(target) || QFileInfo::exists(target + QStringLiteral(".report.txt")));
         ++n)
        target = dir.filePath(QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(ext));
    if (QFileInfo::exists(target) || !QFile::rename(path, target)) {
        qWarning("vxshop: cannot move %s to %s", qPrintable(path), qPrintable(dir.path()));
        return QString();
    }
    QSaveFile out(target + QStringLiteral(".report.txt"));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(report.toUtf8());
        out.commit();
    }
    return target;
}
