// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "JobJournal.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"

#include <QCoreApplication>
#include <QLocale>
#include <QFileInfo>

namespace History {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut history [--last N] [--json]\n\n"
    "Lists the last N jobs of the journal (20 by default), oldest first:\n"
    "when, outcome, copies finished of those asked, the file, the machine,\n"
    "reconnects and link-down time. A torn or foreign line is skipped.\n");

namespace {

QString line(const JobRecord &r)
{
    const QLocale locale;
    QString copies = QStringLiteral("%1/%2").arg(locale.toString(r.finished), locale.toString(r.copies));
    if (r.outcome == JobRecord::Outcome::Interrupted && r.finished < r.copies && r.percent >= 0)
        copies += QCoreApplication::translate("History", ", copy %1 at %2%")
                      .arg(locale.toString(r.finished + 1), locale.toString(r.percent));
    QString text = QStringLiteral("%1  %2  %3  %4  %5")
                       .arg(r.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            JobRecord::outcomeText(r.outcome), copies,
                            QFileInfo(r.file).fileName(), r.deviceId.isEmpty() ? QStringLiteral("?") : r.deviceId);
    if (r.reconnects > 0 || r.linkDownMs > 0)
        text += QStringLiteral("  ") + (r.reconnects == 1 ? QCoreApplication::translate("History", "1 reconnect, link down %1 s")
                                               : QCoreApplication::translate("History", "%n reconnects, link down %1 s", nullptr, r.reconnects))
                    .arg(locale.toString(r.linkDownMs / 1000.0, 'f', 1));
    if (!r.resumes.isEmpty())
        text += QStringLiteral("  ") + QCoreApplication::translate("History", "resumes %1").arg(r.resumes.left(8));
    return text + QStringLiteral("  [%1]").arg(r.id.left(8));
}

}

Outcome run(Run &r)
{
    if (!r.options.args.isEmpty())
        return Failure(Failure::Usage, QCoreApplication::translate("History", "history takes no arguments"));
    int skipped = 0;
    const QList<JobRecord> records = r.journal.last(r.options.last, &skipped);
    if (records.isEmpty())
        r.out.text(QCoreApplication::translate("History", "no jobs in %1").arg(r.journal.path()));
    for (const JobRecord &rec : records)
        r.out.event(QStringLiteral("job"), rec.toJson(), line(rec));
    if (skipped > 0)
        r.out.warning((skipped == 1 ? QCoreApplication::translate("History", "1 line of %1 holds no job record (torn or foreign): skipped")
                                    : QCoreApplication::translate("History", "%n lines of %1 hold no job record (torn or foreign): skipped",
                                                                  nullptr, skipped))
                          .arg(r.journal.path()));
    return QJsonObject{{QStringLiteral("journal"), r.journal.path()}, {QStringLiteral("count"), records.size()},
                       {QStringLiteral("skipped"), skipped}};
}

}
