// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "DesignSource.h"
#include "JobJournal.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"
#include "SheetRun.h"
#include "WorkArea.h"

#include <QCoreApplication>
#include <QLocale>

namespace Qr {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut qr SOURCE --tcp HOST[:PORT] | --usb PATH [--count N]\n"
    "                [design options] [--json]\n\n"
    "Runs a QR-code production: the machine feeds printed sheets, its camera\n"
    "reads each sheet's code and the sheet gets that code's design, placed,\n"
    "ordered and shaped as `cut` does it (each design is read once per run).\n"
    "SOURCE is a folder of designs named by their codes (ABC123.svg,\n"
    "ABC123.plt, ABC123.dxf) or a map file of `CODE = path` lines (paths\n"
    "relative to the map; checked whole before anything is sent).\n"
    "A code without a design, or one the camera cannot read, passes the knife\n"
    "uncut and is reported. Runs until the machine's stack ends, N sheets are\n"
    "cut, or Ctrl-C, which stops the machine's job first. A dropped link is\n"
    "reconnected as for cut (--no-reconnect, --reconnect-budget). Shows sheets done,\n"
    "the current code and its percent; --json writes one \"sheet\" event per\n"
    "sheet (index, code, design, outcome finished|skipped|failed, reason, ms).\n"
    "Every sheet goes into the job journal (--journal, as for cut).\n"
    "  --count N           stop once N sheets are cut\n"
    "The design options (below) apply to every design of the run.\n");

namespace {

DesignSource &source()
{
    static DesignSource s;
    return s;
}

QString codeText(const SheetRun::Sheet &s)
{
    return s.code.isEmpty() ? QCoreApplication::translate("Qr", "(unreadable)") : s.code;
}

QString barFor(const SheetRun &run)
{
    const SheetRun::Sheet &s = run.current();
    constexpr int width = 20;
    const int filled = s.percent * width / 100;
    const QLocale locale;
    const QString done = run.count() > 0 ? QStringLiteral("%1/%2").arg(locale.toString(run.finished()), locale.toString(run.count()))
                                         : locale.toString(run.finished());
    return QStringLiteral("[%1%2] ").arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('-')))
        + QCoreApplication::translate("Qr", "%1%  sheet %2 %3%4  done %5")
              .arg(locale.toString(s.percent).rightJustified(3), locale.toString(s.index), codeText(s),
                   s.design.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(s.design), done);
}

} // namespace

Failure check(Run &r)
{
    if (r.options.args.size() != 1)
        return {Failure::Usage, QCoreApplication::translate("Qr", "qr wants exactly one SOURCE (a folder of designs or a map file)")};
    if (!source().open(r.options.args.first()))
        return {Failure::PlotFile, source().errors().join(QLatin1Char('\n'))};
    return Failure();
}

Outcome run(Run &r)
{
    if (Failure f = r.readInfo(false))
        return f;
    WorkArea area;
    if (Failure f = Plan::readWorkArea(r, area))
        return f;
    // The run reports each sheet; the bare code line would say it twice.
    QObject::disconnect(r.session.get(), &DeviceSession::qrCode, nullptr, nullptr);

    JobJournal journal(r.options.journal);
    SheetRun production(*r.session);
    production.setSource(source());
    production.setOptions(r.options.plot);
    production.setCount(r.options.count);
    production.setWorkArea(area);
    if (!r.options.journal.isEmpty())
        production.setJournal(&journal);
    production.setReconnect(r.options.reconnect, ReconnectSchedule(500, 8000, r.options.reconnectBudgetMs));
    QObject::connect(&production, &SheetRun::reconnecting, &production,
                     [&](int attempt, int waitMs) { r.out.reconnecting(attempt, waitMs); });
    QObject::connect(&production, &SheetRun::reconnected, &production, [&] {
        r.out.event(QStringLiteral("reconnected"), {{QStringLiteral("reconnects"), production.reconnects()}},
                    QCoreApplication::translate("Qr", "link back: the same machine; following its QR-code job"));
    });
    QObject::connect(&production, &SheetRun::warning, &production, [&](const QString &text) { r.out.warning(text); });
    auto showBar = [&] {
        r.out.bar(barFor(production), QStringLiteral("%1/%2").arg(production.current().index)
                                           .arg(production.current().percent / 25));
    };
    QObject::connect(&production, &SheetRun::sheetStarted, &production, showBar);
    QObject::connect(&production, &SheetRun::sheetProgress, &production, showBar);
    QObject::connect(&production, &SheetRun::sheetDone, &production, [&](const SheetRun::Sheet &s) {
        const QLocale locale;
        const QString index = locale.toString(s.index).rightJustified(4);
        const QString code = codeText(s).leftJustified(12);
        const QString design = (s.design.isEmpty() ? QStringLiteral("-") : s.design).leftJustified(16);
        QString human = s.outcome == SheetRun::Outcome::Finished
                            ? QCoreApplication::translate("Qr", "sheet %1  %2  %3  %4  %5 s")
                                  .arg(index, code, design, SheetRun::outcomeText(s.outcome), locale.toString(s.ms / 1000.0, 'f', 2))
                            : QCoreApplication::translate("Qr", "sheet %1  %2  %3  %4").arg(index, code, design, SheetRun::outcomeText(s.outcome));
        if (!s.reason.isEmpty())
            human += QStringLiteral("  (%1)").arg(s.reason);
        r.out.event(QStringLiteral("sheet"), s.toJson(), human);
    });

    const DesignSource &src = source();
    r.out.event(QStringLiteral("production"),
                {{QStringLiteral("source"), src.path()},
                 {QStringLiteral("kind"), src.isFolder() ? QStringLiteral("folder") : QStringLiteral("map")},
                 {QStringLiteral("designs"), src.size()},
                 {QStringLiteral("count"), r.options.count},
                 {QStringLiteral("journal"), journal.path()}},
                (src.size() == 1 ? QCoreApplication::translate("Qr", "designs: %1, 1 design; %2; waiting for sheets (Ctrl-C stops the machine's job)")
                                 : QCoreApplication::translate("Qr", "designs: %1, %n designs; %2; waiting for sheets (Ctrl-C stops the machine's job)",
                                                               nullptr, src.size()))
                    .arg(src.describe(),
                         r.options.count > 0 ? QCoreApplication::translate("Qr", "cutting %n sheets", nullptr, r.options.count)
                                             : QCoreApplication::translate("Qr", "until the stack ends")));
    if (!production.start())
        return r.waitFailure(QCoreApplication::translate("Qr", "starting the QR-code job"));
    bool stopping = false;
    while (production.isRunning()) {
        r.await.until([&] { return !production.isRunning(); }, 500, !stopping);
        if (!stopping && r.await.interrupted() && production.isRunning()) {
            stopping = true;
            r.out.text(QCoreApplication::translate("Qr", "stopping the machine's job..."));
            production.stop();
        }
    }
    // stopTask (and the work record it posts) runs from the event loop.
    r.await.settle();
    if (Failure f = production.failure())
        return f;
    const qint64 ms = production.elapsedMs();
    r.out.text(QCoreApplication::translate("Qr", "done: %1 sheets cut, %2 skipped, %3 failed in %4%5")
                   .arg(QLocale().toString(production.finished()), QLocale().toString(production.skipped()),
                        QLocale().toString(production.failed()), Output::duration(int(ms / 1000)),
                        production.end() == SheetRun::End::CountReached ? QCoreApplication::translate("Qr", " (count reached)")
                                                                        : QCoreApplication::translate("Qr", " (stack ended)")));
    QJsonObject fields = production.summary();
    fields.insert(QStringLiteral("end"), production.end() == SheetRun::End::CountReached ? QStringLiteral("count")
                                                                                       : QStringLiteral("stack"));
    return fields;
}

} // namespace Qr
