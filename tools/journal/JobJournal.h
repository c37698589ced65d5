// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "JobRecord.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// The job journal: JSON lines, one JobRecord per line, appended by every
// host process that runs jobs on this account.
//
// Appending is one write(2) of the whole line on a descriptor opened with
// O_APPEND: two processes appending at once never interleave inside a line,
// and a process that dies mid-job leaves whole lines behind. A line torn by
// a crash or a full disk cannot hide the next record either: append() starts
// with a newline when the file does not end in one. Reading skips lines that
// are no record (torn, blank, foreign) and counts them; it never fails on
// them. There is no fsync: a power cut may lose the last lines, not corrupt
// the others.
class JobJournal
{
    Q_DECLARE_TR_FUNCTIONS(JobJournal)

public:
    // QStandardPaths::GenericDataLocation + "/vxdevice/jobs.jsonl".
    static QString defaultPath();
    // What every host uses unless told otherwise: VX_JOURNAL, else defaultPath().
    static QString configuredPath();

    explicit JobJournal(const QString &path = defaultPath());
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }

    // Gives the record an id when it has none (so a resume can name it).
    bool append(JobRecord &record, QString *error = nullptr) const;

    // The last n records, oldest first; memory stays bounded by n.
    QList<JobRecord> last(int n, int *skipped = nullptr) const;
    // The most recent interrupted job that no later record resumes.
    std::optional<JobRecord> lastInterrupted(int *skipped = nullptr) const;

    // SHA-256 of a file as lower-case hex; empty when it cannot be read.
    static QByteArray fileSha256(const QString &path);
    static QByteArray sha256(const QByteArray &bytes);

private:
    template<typename F> bool scan(F &&onRecord, int *skipped) const;

    QString m_path;
};
