// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopQueue.h"
#include "ShopQueueRows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <atomic>

namespace {
constexpr int SchemaVersion = 1;
// "VXSQ" in SQLite's header: tells our file from another program's
// database before anything is written to it.
constexpr qint64 ApplicationId = 0x56585351;
// A reader (the sqlite3 shell, a second instance) holding the file briefly
// is waited for rather than failing a write.
constexpr int BusyTimeoutMs = 2000;
// The write-ahead log is cut back to this after a checkpoint; unbounded it
// keeps its largest size forever.
constexpr qint64 WalLimitBytes = qint64(1) << 20;

const char Schema[] =
    "CREATE TABLE jobs (id INTEGER PRIMARY KEY, machine TEXT NOT NULL,"
    " position INTEGER NOT NULL DEFAULT 0, state TEXT NOT NULL, file_name TEXT, path TEXT,"
    " options TEXT, copies INTEGER NOT NULL DEFAULT 1, added_by TEXT, added_at TEXT,"
    " started_at TEXT, ended_at TEXT, message TEXT, finished INTEGER NOT NULL DEFAULT 0,"
    " percent INTEGER NOT NULL DEFAULT -1, record TEXT, journal_id TEXT, origin TEXT, nest TEXT)";
const char Index[] = "CREATE INDEX jobs_by_machine ON jobs (machine, state, position)";

QString sqlText(const QSqlError &e)
{
    return e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

QString writeFailure(const QSqlError &e)
{
    return ShopQueue::tr("the job queue could not be written: %1").arg(sqlText(e));
}

QString readFailure(const QSqlError &e)
{
    return ShopQueue::tr("the job queue could not be read: %1").arg(sqlText(e));
}

// The rows, or none with the sentence in *error (a step can fail midway).
QList<ShopEntry> select(const QSqlDatabase &db, const QString &where, const QVariantList &binds, QString *error)
{
    QList<ShopEntry> out;
    if (!db.isOpen()) {
        fail(error, ShopQueue::tr("the job queue is not open"));
        return out;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(ShopQueueRows::selectAll() + where);
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec()) {
        fail(error, readFailure(q.lastError()));
        return out;
    }
    while (q.next())
        out << ShopQueueRows::fromRow(q);
    if (q.lastError().type() != QSqlError::NoError) {
        fail(error, readFailure(q.lastError()));
        out.clear();
    }
    return out;
}

std::optional<ShopEntry> selectOne(const QSqlDatabase &db, qint64 id, QString *error)
{
    const QList<ShopEntry> found = select(db, QStringLiteral("WHERE id = ?"), {id}, error);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

// A statement inside a write; false with the sentence in *why.
bool run(QSqlDatabase &db, const QString &sql, const QVariantList &binds, QString *why)
{
    QSqlQuery q(db);
    q.prepare(sql);
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec())
        return fail(why, writeFailure(q.lastError()));
    return true;
}

qint64 pragma(QSqlDatabase &db, const char *name, bool *ok = nullptr)
{
    QSqlQuery q(db);
    const bool good = q.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(name))) && q.next();
    if (ok)
        *ok = good;
    return good ? q.value(0).toLongLong() : 0;
}

// -1 with the sentence in *why: a position counted from a failed read is wrong.
int queuedCount(QSqlDatabase &db, const QString &machine, QString *why)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM jobs WHERE machine = ? AND state = 'queued'"));
    q.addBindValue(machine);
    if (q.exec() && q.next())
        return q.value(0).toInt();
    fail(why, readFailure(q.lastError()));
    return -1;
}

// One transaction around change(): whatever it or the commit refuses rolls
// all of it back (SQLite may already have done so on a full database).
template<typename F>
bool inTransaction(QSqlDatabase db, QString *error, F &&change)
{
    if (!db.isOpen())
        return fail(error, ShopQueue::tr("the job queue is not open"));
    if (!db.transaction())
        return fail(error, writeFailure(db.lastError()));
    QString why;
    if (change(&why) && db.commit())
        return true;
    if (why.isEmpty())
        why = writeFailure(db.lastError());
    db.rollback();
    return fail(error, why);
}
} // namespace

ShopQueue::ShopQueue() = default;

ShopQueue::~ShopQueue()
{
    close();
}

bool ShopQueue::open(const QString &path, QString *error)
{
    close();
    m_path = path;
    QFile file(path);
    if (file.exists()) {
        // SQLite itself would rewrite a foreign file's header on the first
        // write (the WAL switch is one); look before handing it over.
        if (!file.open(QIODevice::ReadOnly))
            return fail(error, tr("the job queue %1 could not be read: %2").arg(path, file.errorString()));
        const QByteArray head = file.read(16);
        if (!head.isEmpty() && head != QByteArray("SQLite format 3\0", 16))
            return fail(error, tr("%1 is not a job queue (not an SQLite database); it was left as it is").arg(path));
    } else if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return fail(error, tr("the job queue %1 could not be created: no folder for it").arg(path));
    }

    static std::atomic<int> serial{0};
    m_connection = QStringLiteral("vxshop-queue-%1").arg(++serial);
    QString why;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
        if (!db.open())
            why = tr("the job queue %1 could not be opened: %2").arg(path, sqlText(db.lastError()));
        else
            why = prepare(db, path);
    }
    if (!why.isEmpty()) {
        close();
        return fail(error, why);
    }
    return true;
}

QString ShopQueue::prepare(QSqlDatabase &db, const QString &path)
{
    bool ok = false;
    const qint64 appId = pragma(db, "application_id", &ok);
    const qint64 version = pragma(db, "user_version");
    QSqlQuery q(db);
    QStringList tables;
    if (ok && q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"
                                    " AND name NOT LIKE 'sqlite%'"))) {
        while (q.next())
            tables << q.value(0).toString();
    } else {
        return tr("the job queue %1 could not be opened: %2").arg(path, sqlText(q.lastError()));
    }
    q.finish();

    const bool fresh = appId == 0 && version == 0 && tables.isEmpty();
    if (!fresh && (appId != ApplicationId || !tables.contains(QLatin1String("jobs"))))
        return tr("%1 is not a job queue (it holds another program's data); it was left as it is").arg(path);
    if (version > SchemaVersion)
        return tr("%1 was written by a newer version of this program (queue format %2, this one reads %3); "
                  "it was left as it is").arg(path, QString::number(version), QString::number(SchemaVersion));
    if (fresh) {
        QString why;
        const bool made = inTransaction(db, &why, [&db](QString *w) {
            return run(db, QLatin1String(Schema), {}, w) && run(db, QLatin1String(Index), {}, w)
                   && run(db, QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId), {}, w)
                   && run(db, QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion), {}, w);
        });
        if (!made)
            return why;
    }
    // Off the rollback journal only now that the file is known to be ours:
    // the switch writes the header.
    for (const QString &p : {QStringLiteral("PRAGMA journal_mode = WAL"), QStringLiteral("PRAGMA synchronous = FULL"),
                             QStringLiteral("PRAGMA journal_size_limit = %1").arg(WalLimitBytes)}) {
        if (!q.exec(p))
            return tr("the job queue %1 could not be opened: %2").arg(path, sqlText(q.lastError()));
        q.finish();
    }
    m_defaultMaxPages = pragma(db, "max_page_count");
    return QString();
}

void ShopQueue::close()
{
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

bool ShopQueue::isOpen() const
{
    return !m_connection.isEmpty() && QSqlDatabase::database(m_connection, false).isOpen();
}

bool ShopQueue::setMaxBytes(qint64 bytes, QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        return fail(error, tr("the job queue is not open"));
    const qint64 pageSize = qMax<qint64>(512, pragma(db, "page_size"));
    // SQLite never goes below the pages already in use, so a bound under
    // the present size only stops the file from growing.
    const qint64 pages = bytes > 0 ? qMax<qint64>(1, bytes / pageSize) : m_defaultMaxPages;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages)))
        return fail(error, writeFailure(q.lastError()));
    return true;
}

bool ShopQueue::add(ShopEntry &entry, QString *error)
{
    ShopEntry e = entry;
    e.state = ShopEntry::State::Queued;
    if (!e.addedAt.isValid())
        e.addedAt = QDateTime::currentDateTimeUtc();
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    const bool ok = inTransaction(db, error, [&](QString *why) {
        e.position = queuedCount(db, e.machine, why);
        if (e.position < 0)
            return false;
        QStringList cols{QStringLiteral("id")}, marks{QStringLiteral("?")};
        for (const char *f : ShopQueueRows::Fields) {
            cols << QLatin1String(f);
            marks << QStringLiteral("?");
        }
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO jobs (%1) VALUES (%2)")
                      .arg(cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        q.addBindValue(e.id > 0 ? QVariant(e.id) : QVariant());
        ShopQueueRows::bind(q, e);
        if (!q.exec())
            return fail(why, writeFailure(q.lastError()));
        e.id = q.lastInsertId().toLongLong();
        return true;
    });
    if (ok)
        entry = e;
    return ok;
}

std::optional<ShopEntry> ShopQueue::get(qint64 id) const
{
    m_readError.clear();
    return selectOne(QSqlDatabase::database(m_connection, false), id, &m_readError);
}

QList<ShopEntry> ShopQueue::entries(const QString &machine, int endedLimit) const
{
    const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QList<ShopEntry> out = unfinished(machine);
    if (m_readError.isEmpty())
        out += select(db, QStringLiteral("WHERE machine = ? AND state = 'queued' ORDER BY position, id"), {machine},
                      &m_readError);
    if (m_readError.isEmpty() && endedLimit > 0)
        out += select(db, QStringLiteral("WHERE machine = ? AND state IN ('done', 'failed', 'cancelled')"
                                         " ORDER BY ended_at DESC, id DESC LIMIT ?"),
                      {machine, endedLimit}, &m_readError);
    return m_readError.isEmpty() ? out : QList<ShopEntry>();
}

std::optional<ShopEntry> ShopQueue::next(const QString &machine) const
{
    m_readError.clear();
    const QList<ShopEntry> found = select(QSqlDatabase::database(m_connection, false),
        QStringLiteral("WHERE machine = ? AND state = 'queued' ORDER BY position, id LIMIT 1"), {machine},
        &m_readError);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<ShopEntry> ShopQueue::unfinished(const QString &machine) const
{
    m_readError.clear();
    return select(QSqlDatabase::database(m_connection, false),
                  QStringLiteral("WHERE machine = ? AND state IN ('cutting', 'held') ORDER BY id"), {machine},
                  &m_readError);
}

bool ShopQueue::move(qint64 id, int position, QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    return inTransaction(db, error, [&](QString *why) {
        const std::optional<ShopEntry> old = selectOne(db, id, why);
        if (!old)
            return fail(why, why->isEmpty() ? tr("there is no job %1").arg(id) : *why);
        if (old->state != ShopEntry::State::Queued)
            return fail(why, tr("job %1 is not waiting in the queue").arg(id));
        const int queued = queuedCount(db, old->machine, why);
        if (queued < 0)
            return false;
        const int to = qBound(0, position, qMax(0, queued - 1));
        const int from = old->position;
        if (to == from)
            return true;
        const QString shift = to < from
            ? QStringLiteral("UPDATE jobs SET position = position + 1 WHERE machine = ? AND state = 'queued'"
                             " AND position >= ? AND position < ?")
            : QStringLiteral("UPDATE jobs SET position = position - 1 WHERE machine = ? AND state = 'queued'"
                             " AND position > ? AND position <= ?");
        return run(db, shift, {old->machine, qMin(from, to), qMax(from, to)}, why)
               && run(db, QStringLiteral("UPDATE jobs SET position = ? WHERE id = ?"), {to, id}, why);
    });
}

bool ShopQueue::update(const ShopEntry &entry, QString *error)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    return inTransaction(db, error, [&](QString *why) {
        const std::optional<ShopEntry> old = selectOne(db, entry.id, why);
        if (!old)
            return fail(why, why->isEmpty() ? tr("there is no job %1").arg(entry.id) : *why);
        if (old->machine != entry.machine)
            return fail(why, tr("job %1 belongs to machine %2").arg(QString::number(entry.id), old->machine));
        if (old->ended() && entry.state != old->state)
            return fail(why, tr("job %1 has ended; it cannot change").arg(entry.id));
        const bool wasQueued = old->state == ShopEntry::State::Queued;
        const bool queued = entry.state == ShopEntry::State::Queued;
        ShopEntry e = entry;
        e.position = wasQueued && queued ? old->position : 0;
        if (wasQueued && !queued
            && !run(db, QStringLiteral("UPDATE jobs SET position = position - 1 WHERE machine = ?"
                                       " AND state = 'queued' AND position > ?"),
                    {e.machine, old->position}, why))
            return false;
        if (!wasQueued && queued
            && !run(db, QStringLiteral("UPDATE jobs SET position = position + 1 WHERE machine = ?"
                                       " AND state = 'queued'"),
                    {e.machine}, why))
            return false;
        QStringList sets;
        for (const char *f : ShopQueueRows::Fields)
            sets << QStringLiteral("%1 = ?").arg(QLatin1String(f));
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE jobs SET %1 WHERE id = ?").arg(sets.join(QLatin1String(", "))));
        ShopQueueRows::bind(q, e);
        q.addBindValue(e.id);
        return q.exec() || fail(why, writeFailure(q.lastError()));
    });
}

int ShopQueue::count(ShopEntry::State state) const
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.isOpen())
        return 0;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM jobs WHERE state = ?"));
    q.addBindValue(ShopEntry::stateName(state));
    return q.exec() && q.next() ? q.value(0).toInt() : 0;
}

qint64 ShopQueue::sizeBytes() const
{
    if (m_path.isEmpty())
        return 0;
    const QFileInfo wal(m_path + QStringLiteral("-wal"));
    return QFileInfo(m_path).size() + (wal.exists() ? wal.size() : 0);
}
