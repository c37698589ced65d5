// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SheetRun.h"

#include "Counted.h"

#include "JobJournal.h"

#include <QLocale>

// What a run tells others: a sheet as JSON, its journal line, the run's
// summary and failure.

QJsonObject SheetRun::Sheet::toJson() const
{
    QJsonObject o{{QStringLiteral("index"), index},
                  {QStringLiteral("code"), code},
                  {QStringLiteral("design"), design},
                  {QStringLiteral("outcome"), SheetRun::outcomeName(outcome)},
                  {QStringLiteral("percent"), percent},
                  {QStringLiteral("ms"), ms}};
    if (!reason.isEmpty())
        o.insert(QStringLiteral("reason"), reason);
    return o;
}

QString SheetRun::outcomeName(Outcome o)
{
    switch (o) {
    case Outcome::Finished: return QStringLiteral("finished");
    case Outcome::Skipped: return QStringLiteral("skipped");
    case Outcome::Failed: return QStringLiteral("failed");
    case Outcome::Unseen: return QStringLiteral("unseen");
    case Outcome::Pending: break;
    }
    return QStringLiteral("pending");
}

QString SheetRun::outcomeText(Outcome o)
{
    switch (o) {
    case Outcome::Finished: return tr("finished");
    case Outcome::Skipped: return tr("skipped");
    case Outcome::Failed: return tr("failed");
    case Outcome::Unseen: return tr("passed unseen");
    case Outcome::Pending: break;
    }
    return tr("pending");
}

void SheetRun::journal(const Sheet &sheet)
{
    if (!m_journal)
        return;
    JobRecord r;
    r.start = sheet.start;
    r.end = QDateTime::currentDateTimeUtc();
    r.file = sheet.path;
    r.sha256 = m_sheetSha;
    r.copies = 1;
    r.finished = sheet.outcome == Outcome::Finished || sheet.outcome == Outcome::Unseen ? 1 : 0;
    r.percent = sheet.percent;
    switch (sheet.outcome) {
    case Outcome::Finished: r.outcome = JobRecord::Outcome::Finished; break;
    case Outcome::Unseen:
        // The machine counted it finished; what it got is not known. The
        // note is data, the same in every language.
        r.outcome = JobRecord::Outcome::Finished;
        r.percent = -1;
        r.note = QStringLiteral("passed while the link was down");
        break;
    case Outcome::Skipped: r.outcome = JobRecord::Outcome::Skipped; break;
    default:
        // Ended by this host (a stop, a lost link) or by the machine's own stop;
        // otherwise the sheet could not be cut at all.
        r.outcome = !sheet.interrupted ? JobRecord::Outcome::Refused
                    : (m_lost.failed() || state() == State::Stopping) ? JobRecord::Outcome::Interrupted
                                                                     : JobRecord::Outcome::Stopped;
        break;
    }
    r.deviceId = m_life.identity().deviceId;
    r.uniqueId = m_life.identity().uniqueId;
    r.reconnects = reconnects();
    r.sheet = true;
    r.code = sheet.code;
    r.design = sheet.design;
    QString error;
    if (!m_journal->append(r, &error) && !m_journalWarned) {
        m_journalWarned = true;
        emit warning(tr("the job journal cannot be written: %1").arg(error));
    }
}

QJsonObject SheetRun::summary() const
{
    return {{QStringLiteral("sheets"), m_seen},
            {QStringLiteral("finished"), m_finished},
            {QStringLiteral("skipped"), m_skipped},
            {QStringLiteral("failed"), m_failed},
            {QStringLiteral("unseen"), m_unseen},
            {QStringLiteral("count"), m_count},
            {QStringLiteral("jobs"), m_jobs},
            {QStringLiteral("reconnects"), reconnects()},
            {QStringLiteral("elapsed_ms"), elapsedMs()}};
}

Failure SheetRun::failure() const
{
    const QLocale locale;
    const QString tally = tr("%1 cut, %2 skipped, %3 failed")
                              .arg(Counted::sheets(m_finished), locale.toString(m_skipped), locale.toString(m_failed));
    switch (m_end) {
    case End::None:
    case End::StackEnded:
    case End::CountReached:
        return Failure();
    case End::Stopped:
        if (m_lost.kind == Failure::Interrupted)
            return {Failure::Interrupted, QStringLiteral("%1 (%2)").arg(m_lost.message, tally), summary()};
        return {Failure::Interrupted, tr("interrupted; the QR-code job was stopped on the machine (%1)").arg(tally),
                summary()};
    case End::MachineStopped:
        return {Failure::JobStopped, tr("the QR-code job was stopped on the machine (%1)").arg(tally), summary()};
    case End::Refused:
        return {Failure::JobRefused, tr("the machine refused the QR-code job (%1)").arg(tally), summary()};
    case End::Lost:
        return {Failure::DeviceLost, tr("%1 during the run (%2)")
                                         .arg(m_lost.message.isEmpty() ? tr("link lost") : m_lost.message, tally),
                summary()};
    }
    return Failure();
}
