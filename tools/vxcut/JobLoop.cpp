// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobLoop.h"

#include "JobJournal.h"
#include "JobRunner.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"

#include <QCoreApplication>
#include <QLocale>

namespace JobLoop {

void configure(Run &r, JobRunner &runner, bool journal)
{
    ReconnectSchedule schedule;
    schedule.setBudget(r.options.reconnectBudgetMs);
    runner.setReconnect(r.options.reconnect, schedule);
    if (journal && !r.options.journal.isEmpty())
        runner.setJournal(&r.journal);
    QObject::connect(&runner, &JobRunner::progress, &runner,
                     [&r](const QJsonObject &task, int remaining) { r.out.progress(task, remaining); });
    QObject::connect(&runner, &JobRunner::reconnecting, &runner,
                     [&r](int attempt, int waitMs) { r.out.reconnecting(attempt, waitMs); });
    QObject::connect(&runner, &JobRunner::reconnected, &runner, [&r, &runner] {
        r.out.event(QStringLiteral("reconnected"),
                    {{QStringLiteral("link_down_ms"), double(runner.linkDownMs())}},
                    QCoreApplication::translate("JobLoop", "reconnected to %1 after %2 s; reading the job state")
                        .arg(runner.identity().text(), QLocale().toString(runner.linkDownMs() / 1000.0, 'f', 1)));
    });
}

void wait(Run &r, JobRunner &runner, const std::function<bool()> &busy, const std::function<void()> &stop)
{
    bool stopping = false;
    while (busy()) {
        r.await.until([&] { return !busy(); }, 500, !stopping);
        if (!stopping && r.await.interrupted() && busy()) {
            stopping = true;
            r.out.text(runner.state() == JobRunner::State::Reconnecting
                           ? QCoreApplication::translate("JobLoop", "interrupted: no longer reconnecting")
                           : QCoreApplication::translate("JobLoop", "stopping the job on the machine..."));
            stop();
        }
    }
    // stopTask (and the work record it posts) runs from the event loop.
    r.await.settle();
}

Failure drive(Run &r, JobRunner &runner)
{
    wait(r, runner, [&runner] { return runner.isRunning(); }, [&runner] { runner.stop(); });
    if (!runner.journalError().isEmpty())
        r.out.warning(QCoreApplication::translate("JobLoop", "job journal not written: %1").arg(runner.journalError()));
    return runner.failure();
}

QString outageNote(int reconnects, qint64 downMs)
{
    if (reconnects <= 0)
        return QString();
    // English has no plural rules file: its singular is a text of its own.
    return (reconnects == 1 ? QCoreApplication::translate("JobLoop", "; 1 reconnect, link down %1 s")
                            : QCoreApplication::translate("JobLoop", "; %n reconnects, link down %1 s", nullptr, reconnects))
        .arg(QLocale().toString(downMs / 1000.0, 'f', 1));
}

}
