// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

// One job as the journal keeps it: one JSON object on one line.
//
//   {"v":1,"id":"…","start":"2026-12-08T09:15:02.120Z","end":"…",
//    "file":"/path/a.svg","sha256":"…","copies":2,"finished":1,"percent":40,
//    "outcome":"interrupted","device_id":"VXS-000001","unique_id":"…",
//    "reconnects":1,"link_down_ms":2300}
//
// plus "resumes" (the id of the interrupted job a resume continues) and, for
// one sheet of a QR-code job, "code" (empty when unreadable) and "design",
// and "note" (a sheet the machine counted while the link was down). Times are UTC with
// milliseconds. Unknown members are ignored on reading, so later versions
// may add some; a line without a known outcome is not a record.
//
// What a resume needs to cut the same drawing again: "options" (the design
// options by their command-line flag, values as text, "tool" a list of
// rules), "plot_sha256" (the plot text of one whole copy as planned), and
// "job_name", the machine's name for the last job it was handed ("job3.plt"),
// with "job_first" (copies of this record finished before that job began)
// and "job_rest" (that job was the rest of a copy, so its percent is none of
// the copy's). Lines written before these members read as empty: such a job
// resumes with the default options and without the checks they allow.
struct JobRecord
{
    Q_DECLARE_TR_FUNCTIONS(JobRecord)

public:
    enum class Outcome { Finished, Stopped, Refused, Interrupted, Skipped };

    QString id;                 // unique per record; set by JobJournal::append if empty
    QDateTime start;
    QDateTime end;
    QString file;
    QByteArray sha256;          // hex
    int copies = 0;             // asked (sheets asked for a QR-code job)
    int finished = 0;
    int percent = -1;           // of the interrupted copy; -1 unknown
    Outcome outcome = Outcome::Finished;
    QString deviceId;           // "DEVICE_ID"
    QString uniqueId;           // "DEVICE_UNIQUE_ID"
    int reconnects = 0;
    qint64 linkDownMs = 0;
    QString resumes;            // id of the interrupted job this one continues
    QString code;               // QR-code sheet: the code the machine read
    QString design;             // QR-code sheet: the design cut for it
    bool sheet = false;         // a QR-code sheet: "code" is written even when empty
    QString note;               // how the host learnt of it, when not first hand
    QJsonObject options;        // design options by flag; empty: defaults (or not known)
    QByteArray plotSha256;      // hex, of one whole copy's plot text
    QString jobName;            // the machine's name of the last job handed over
    int jobFirst = 0;           // copies finished before that job began
    bool jobRest = false;       // that job was the rest of a copy
    // One window of a nest cut along the strip: "nest_sha256" (of the
    // windows' plot texts and feeds, see NestRun), "nest_window" (1-based),
    // "nest_windows", and "feed_before", the operator's feed settings
    // (stored values by key) to put back once the nest is over. "file" then
    // names the saved nest a resume cuts the later windows from.
    QByteArray nestSha256;      // hex; empty: no nest
    int nestWindow = 0;
    int nestWindows = 0;
    QJsonObject feedBefore;

    QJsonObject toJson() const;
    // False for an object that is no record (wrong types, unknown outcome).
    static bool fromJson(const QJsonObject &o, JobRecord *out);

    // The word stored in the journal and in facts; the same in every language.
    static QString outcomeName(Outcome o);
    // The word a person reads, in their language.
    static QString outcomeText(Outcome o);
    static bool outcomeFromName(const QString &name, Outcome *out);
};
