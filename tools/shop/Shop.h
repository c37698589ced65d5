// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ShopConfig.h"
#include "ShopEntry.h"
#include "ShopQueue.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

#include <memory>
#include <vector>

class MachineStation;
class VXDeviceInterface;
class WatchFolder;

// The answer of one operation, in the words the API passes on: Ok with a
// body, or a kind of refusal with a sentence in the reader's language.
struct ShopResult
{
    enum Kind { Ok, NotFound, Invalid, Conflict, TooLarge, Unavailable };
    Kind kind = Ok;
    QString message;
    QJsonObject body;

    explicit operator bool() const { return kind == Ok; }
    static ShopResult ok(const QJsonObject &body = QJsonObject()) { return {Ok, QString(), body}; }
    static ShopResult fail(Kind kind, const QString &message) { return {kind, message, QJsonObject()}; }
};

// What a design check found: the facts a queue entry shows, or why it is
// refused (unreadable, too large for the machine's work area, no design).
struct DesignCheck
{
    bool ok = false;
    QString error;
    QJsonObject facts;      // {"format","width","height","cut_length","paths","estimate_s"}
};

// The shop floor: every machine's station, the queue they share and their
// watch folders, behind the operations the API offers. Lives on one
// thread (the service's); every call and signal is on it.
class Shop : public QObject
{
    Q_OBJECT
public:
    Shop(const ShopConfig &config, VXDeviceInterface *factory, QObject *parent = nullptr);
    ~Shop() override;

    // Opens the queue, makes the folders, starts every station and watch
    // folder. False with why (the queue cannot be opened, a folder cannot
    // be made).
    bool start(QString *error);
    const ShopConfig &config() const { return m_config; }
    QString dataDir() const;

    // Reads and plans a design with options (RecordedOptions form) and
    // checks it against a work area (unknown: not checked). Safe on any
    // thread: the API runs it on its own before queueing an upload.
    static DesignCheck check(const QString &path, const QJsonObject &options, double workWidth,
                             double workHeight);

    // {"machines":[card...]} in the configured order.
    QJsonObject machines() const;
    ShopResult machine(const QString &name) const;
    // {"jobs":[entry...]}: unfinished first, then at most `ended` ended ones.
    ShopResult queue(const QString &name, int ended) const;
    ShopResult job(qint64 id) const;
    // The PNG preview of an entry's design (planned with its options), read
    // on the calling thread: the three steps below, one after the other.
    ShopResult preview(qint64 id, QByteArray *png) const;
    // The same in steps, so that a large design is read off this thread
    // while the machines and every other request go on: the cached PNG, or
    // else what to read; the reading (any thread); the PNG kept for the
    // next ask (at most a bounded few are).
    ShopResult previewSource(qint64 id, QString *path, QJsonObject *options, QByteArray *cached) const;
    static ShopResult previewOf(qint64 id, const QString &path, const QJsonObject &options, QByteArray *png);
    void keepPreview(qint64 id, const QByteArray &png) const;

    // Queues a design already written to `stored` (inside the machine's
    // files folder) and checked: takes the file over. origin: the watch
    // folder's file it came from (moved to done/ or failed/ on its end).
    ShopResult add(const QString &machine, const QString &stored, const QString &fileName,
                   const QJsonObject &options, int copies, const QString &addedBy,
                   const QString &origin = QString());
    // A nest's check before it is queued: its part files read with the
    // design options, quantities and nest options checked, every piece
    // against the strip and the work area (unknown: not checked). The
    // search itself is the station's, when it takes the entry. Safe on any
    // thread. facts: {"parts","pieces"}.
    static DesignCheck checkNest(const QJsonObject &nest, const QJsonObject &options, double workWidth,
                                 double workHeight);
    // Queues a nest: parts [{"file" (stored, inside the machine's files
    // folder), "name" (shown), "quantity"}], nestOptions {"gap", "turns",
    // "time_s", "strip_width"} (ShopNest). Cut once: the quantities say how
    // many, so there are no copies. Checked as checkNest() does, unless
    // `checked` says the caller ran it with this machine's work area. Takes
    // the files over.
    ShopResult addNest(const QString &machine, const QJsonArray &parts, const QJsonObject &nestOptions,
                       const QJsonObject &options, const QString &addedBy, bool checked = false);
    // A new file path in the machine's files folder for an upload named
    // fileName (the name reduced to a safe base name; never outside).
    ShopResult storagePath(const QString &machine, const QString &fileName, QString *path) const;
    // The name a person gave a stored design (what storagePath() kept of it).
    static QString shownName(const QString &stored);
    // The machine's work area (zero: unknown).
    ShopResult workArea(const QString &machine, double *width, double *height) const;

    ShopResult move(qint64 id, int position);
    ShopResult cancel(qint64 id);
    ShopResult settle(qint64 id, const QString &how);
    // "pause", "continue", "stop" (the running job), "hold", "release" (the queue).
    ShopResult control(const QString &machine, const QString &action);

    // {"records":[...]} newest first: every machine's journal (or one),
    // filtered by outcome and a file-name part, at most limit.
    ShopResult journal(const QString &machine, const QString &outcome, const QString &file, int limit) const;

signals:
    // For live pages: {"type":"machine","machine":card} when a card changes,
    // {"type":"queue","machine":name,"jobs":[...]} when its queue does.
    void update(const QJsonObject &message);

private:
    // A watch folder reads its entries' origins from the queue.
    friend class WatchFolder;
    struct Private;

    MachineStation *station(const QString &name) const;
    MachineStation *stationOf(qint64 id) const;
    // An entry not found: 404, or 503 when the queue could not be read.
    ShopResult noJob(qint64 id) const;
    void cardChanged(const QString &name);
    void queueChanged(const QString &name);

    ShopConfig m_config;
    VXDeviceInterface *m_factory;
    ShopQueue m_queue;
    std::vector<std::unique_ptr<MachineStation>> m_stations;
    std::vector<std::unique_ptr<WatchFolder>> m_watches;
    std::unique_ptr<Private> d;
};
