// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

// One job in a machine's queue, as the queue's database keeps it.
//
// States: queued (waiting its turn, by position), cutting (handed to the
// machine, or being followed after a restart or a drop), held (interrupted
// and waiting for a person: the design changed, another machine answered,
// or the machine cannot tell what it cut), done, failed, cancelled. Only
// queued entries have a position; the ended ones (done, failed, cancelled)
// never change again.
//
// "record" is the journal record of the job while it is cut: everything
// the job's line in the journal will say but its end (file, checksums,
// options, copies, the machine's job name). A service killed mid-job leaves
// it behind, so on restart the job's line can be written from it and the
// machine's own report, and nothing is cut twice.
struct ShopEntry
{
    enum class State { Queued, Cutting, Held, Done, Failed, Cancelled };

    qint64 id = 0;              // 0: not stored yet
    QString machine;            // the machine's name in the service
    int position = 0;           // 0-based among the machine's queued entries
    State state = State::Queued;
    QString fileName;           // as the person or the folder named it, shown
    QString path;               // the stored design, inside the queue's folder
    QJsonObject options;        // design options by flag (RecordedOptions)
    int copies = 1;
    QString addedBy;            // "web 127.0.0.1", "folder hot/", "vxcut"
    QDateTime addedAt;          // UTC
    QDateTime startedAt;        // invalid until cut
    QDateTime endedAt;          // invalid until ended
    QString message;            // why failed or held; the outcome in words
    int finished = 0;           // copies finished
    int percent = -1;           // of the copy under way; -1 unknown
    QJsonObject record;         // the journal record while cutting; empty otherwise
    QString journalId;          // the journal line that ended it
    QString origin;             // watch folder: the file it came from (moved on end)
    // Empty for a design. A nest: {"parts": [{"file" (stored), "name",
    // "quantity"}], "gap", "turns", "time_s", "strip_width"}; path is then
    // empty and copies 1: a nest is cut once, the quantities say how many.
    QJsonObject nest;

    bool ended() const { return state == State::Done || state == State::Failed || state == State::Cancelled; }

    // "queued", "cutting", "held", "done", "failed", "cancelled": the same in
    // every language (API, database).
    static QString stateName(State s);
    static bool stateFromName(const QString &name, State *out);
    // The entry as the API answers it (no stored path, no record): "kind"
    // "design" or "nest", and a nest's parts by name and quantity.
    QJsonObject toJson() const;
};
