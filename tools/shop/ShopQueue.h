// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ShopEntry.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class QSqlDatabase;

// Every machine's queue in one SQLite database (Qt SQL's SQLite driver).
//
// Write-ahead log with synchronous=FULL: a change is on disk once its call
// returns, and a process killed at any point leaves the last committed
// state. Each change is one transaction; one that fails (a full disk, a
// database at its size limit) is rolled back whole and reported in words
// ("the job queue could not be written: database or disk is full"): the
// queue in the file is the one before the call, never half of it.
//
// Not a QObject and not thread-safe: one owner thread, as Qt SQL wants.
class ShopQueue
{
    Q_DECLARE_TR_FUNCTIONS(ShopQueue)

public:
    ShopQueue();
    ~ShopQueue();
    ShopQueue(const ShopQueue &) = delete;
    ShopQueue &operator=(const ShopQueue &) = delete;

    // Creates the file and its tables when missing; a file that is no queue
    // database (or a newer one) is refused, never overwritten.
    bool open(const QString &path, QString *error);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }
    // Bounds the database file (0: no bound): past it writes fail as on a
    // full disk. Set after open().
    bool setMaxBytes(qint64 bytes, QString *error);

    // Appends to the machine's queued entries (state queued); sets id,
    // position and addedAt when unset.
    bool add(ShopEntry &entry, QString *error);
    std::optional<ShopEntry> get(qint64 id) const;
    // The machine's queued, cutting and held entries (cutting and held
    // first, then queued by position), then at most endedLimit ended ones,
    // newest first.
    QList<ShopEntry> entries(const QString &machine, int endedLimit = 0) const;
    // The first queued entry by position.
    std::optional<ShopEntry> next(const QString &machine) const;
    // Cutting or held entries: what a restart finds under way.
    QList<ShopEntry> unfinished(const QString &machine) const;
    // Moves a queued entry to a 0-based position among its machine's queued
    // entries (clamped); the others close up.
    bool move(qint64 id, int position, QString *error);
    // Stores every field of an existing entry but its machine (fixed) and
    // its position (move() sets that). Leaving the queued state closes up
    // the positions behind it; coming back to it (a held job to be recut)
    // puts the entry first, as it was under way. An ended entry keeps its
    // state.
    bool update(const ShopEntry &entry, QString *error);
    // Entries per state over every machine, and the file's size in bytes.
    int count(ShopEntry::State state) const;
    qint64 sizeBytes() const;
    // Why the last read (get, entries, next, unfinished) failed, in
    // words; empty when it answered. A failed read answers empty, which is
    // not an empty queue: a caller that acts on "nothing there" asks here.
    QString lastError() const { return m_readError; }

private:
    // Checks an opened file is ours (creating the tables in an empty one)
    // and sets the journal up; the reason when not.
    QString prepare(QSqlDatabase &db, const QString &path);

    QString m_connection;   // this instance's Qt SQL connection name
    QString m_path;
    qint64 m_defaultMaxPages = 0;   // SQLite's own bound, for setMaxBytes(0)
    mutable QString m_readError;
};
