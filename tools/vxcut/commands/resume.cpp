// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "JobLoop.h"
#include "JobRunner.h"
#include "Options.h"
#include "Output.h"
#include "ResumeJob.h"
#include "Run.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace Resume {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]\n"
    "                    [--recut-interrupted | --skip-interrupted]\n\n"
    "Cuts what is left of the last interrupted job in the journal: the\n"
    "copies that were not finished, the one cut part way continued from the\n"
    "stroke it was at. The plan is shown and confirmed first; the file must\n"
    "be unchanged (SHA-256) and, to continue a copy, the machine the same.\n"
    "  --yes                 no question (for scripts)\n"
    "  --recut-interrupted   cut the interrupted copy whole again (on fresh\n"
    "                        material)\n"
    "  --skip-interrupted    leave the interrupted copy out\n");

namespace {

// One resume per process: what check() found, for run().
ResumeJob g;

// "y" and "yes" in every language, besides the language's own yes. An
// input method may type them full width: NFKC makes them plain.
bool accepts(const QString &typed)
{
    const QString answer = typed.normalized(QString::NormalizationForm_KC).trimmed().toLower();
    if (answer.isEmpty())
        return false;
    QStringList yes{QStringLiteral("y"), QStringLiteral("yes")};
    yes += QCoreApplication::translate("Resume", "y|yes", "the answers that confirm a resume, separated by |")
               .normalized(QString::NormalizationForm_KC).toLower().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (const QString &y : qAsConst(yes)) {
        if (answer == y.trimmed())
            return true;
    }
    return false;
}

Failure confirm(Run &r, const QString &question)
{
    if (r.options.yes)
        return Failure();
    if (r.options.json || isatty(STDIN_FILENO) != 1)
        return {Failure::Usage, QCoreApplication::translate("Resume", "no terminal to confirm on: give --yes to cut without asking")};
    fprintf(stdout, "%s %s ", question.toLocal8Bit().constData(),
            QCoreApplication::translate("Resume", "[y/N]").toLocal8Bit().constData());
    fflush(stdout);
    char line[64] = {};
    if (!fgets(line, sizeof line, stdin) || !accepts(QString::fromLocal8Bit(line)))
        return {Failure::Interrupted, QCoreApplication::translate("Resume", "not confirmed; nothing was cut")};
    return Failure();
}

}

Failure check(Run &r)
{
    if (!r.options.args.isEmpty())
        return {Failure::Usage, QCoreApplication::translate("Resume", "resume takes no arguments: it resumes the last interrupted job")};
    const ResumePlan::Interrupted mode = r.options.recutInterrupted ? ResumePlan::RecutWhole
                                       : r.options.skipInterrupted ? ResumePlan::Leave : ResumePlan::Continue;
    if (Failure f = ResumeJob::find(r.journal, mode, &g)) {
        if (f.kind == Failure::Usage)
            f.message = ResumeJob::withOptions(f.message);
        return f;
    }
    r.job = g.job;
    const JobRecord &from = g.from;
    r.out.event(QStringLiteral("resume"),
                {{QStringLiteral("resumes"), from.id}, {QStringLiteral("file"), from.file},
                 {QStringLiteral("copies"), from.copies}, {QStringLiteral("finished"), from.finished},
                 {QStringLiteral("percent"), from.percent}, {QStringLiteral("whole"), g.plan.whole},
                 {QStringLiteral("partial"), g.plan.partial}, {QStringLiteral("from_percent"), g.plan.fromPercent}},
                QCoreApplication::translate("Resume", "interrupted job of %1: %2 on %3: %4\nto cut: %5")
                    .arg(from.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), from.file,
                         from.deviceId.isEmpty() ? QStringLiteral("?") : from.deviceId, g.wasText(), g.planText()));
    return confirm(r, QCoreApplication::translate("Resume", "Cut %1?").arg(g.planText()));
}

Outcome run(Run &r)
{
    if (Failure f = r.readInfo(false))
        return f;
    const MachineIdentity here = MachineIdentity::fromRecords(*r.session);
    QString warning;
    if (Failure f = g.checkMachine(here, &warning))
        return f;
    if (!warning.isEmpty())
        r.out.warning(warning);

    r.session->queryJob();
    r.await.until([&] { return !r.session->lastJobReport().isEmpty() || !r.session->linkUp(); }, r.options.timeoutMs);
    if (Failure f = ResumeJob::machineBusy(r.session->lastJobReport()))
        return f;

    JobRecord record = g.begin(here);
    auto cutPart = [&](const PlotJob &job, int copies, bool rest) {
        JobRunner runner(*r.session);
        JobLoop::configure(r, runner, false);
        Failure f = runner.start(job, copies) ? JobLoop::drive(r, runner)
                                              : r.waitFailure(QCoreApplication::translate("Resume", "starting the job"));
        g.addPart(record, runner, copies, rest);
        return f;
    };
    Failure failed;
    if (g.plan.partial) {
        failed = r.read({QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
        PlotJob rest;
        int stroke = 0;
        if (!failed)
            failed = g.rest(r.record(QStringLiteral("SP2_SPEED"))->value().toDouble(),
                            r.record(QStringLiteral("PU_SPEED"))->value().toDouble(), &rest, &stroke);
        if (failed)
            return failed;
        r.out.event(QStringLiteral("rest"), {{QStringLiteral("from_stroke"), stroke + 1},
                                             {QStringLiteral("path_length"), qRound64(rest.pathMm)}},
                    QCoreApplication::translate("Resume", "cutting the rest of copy %1: from stroke %2, %3 mm")
                        .arg(QLocale().toString(g.from.finished + 1), QLocale().toString(stroke + 1), QLocale().toString(rest.pathMm, 'f', 0)));
        failed = cutPart(rest, 1, true);
    }
    if (!failed && g.plan.whole > 0) {
        r.out.text(g.plan.whole == 1 ? QCoreApplication::translate("Resume", "cutting 1 whole copy")
                                     : QCoreApplication::translate("Resume", "cutting %n whole copies", nullptr, g.plan.whole));
        failed = cutPart(r.job, g.plan.whole, false);
    }
    QString error;
    if (!r.journal.append(record, &error))
        r.out.warning(QCoreApplication::translate("Resume", "job journal not written: %1").arg(error));
    if (failed)
        return failed;
    r.out.text(QCoreApplication::translate("Resume", "done: cut %1%2").arg(g.planText())
                   .arg(JobLoop::outageNote(record.reconnects, record.linkDownMs)));
    QJsonObject result = record.toJson();
    result.remove(QStringLiteral("v"));
    return result;
}

}
