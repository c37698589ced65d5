// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "JobLoop.h"
#include "JobRunner.h"
#include "Options.h"
#include "Output.h"
#include "ResumeRun.h"
#include "Run.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>
#include <cstdio>
#include <unistd.h>

namespace Resume {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]\n"
    "                    [--recut-interrupted | --skip-interrupted] [design options]\n\n"
    "Cuts what is left of the last interrupted job in the journal: the\n"
    "copies that were not finished, the one cut part way continued from the\n"
    "stroke it was at. The file is planned again with the options the job\n"
    "was cut with; design options given here must equal those. The plan is\n"
    "shown and confirmed first; the file and its plan must be unchanged\n"
    "(SHA-256) and, to continue a copy, the machine the same. The machine is\n"
    "asked first what became of the job: copies it finished while the link\n"
    "was down are not cut again.\n"
    "  --yes                 no question (for scripts)\n"
    "  --recut-interrupted   cut the interrupted copy whole again (on fresh\n"
    "                        material)\n"
    "  --skip-interrupted    leave the interrupted copy out\n");

namespace {

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

ResumePlan::Interrupted mode(const Run &r)
{
    return r.options.recutInterrupted ? ResumePlan::RecutWhole
           : r.options.skipInterrupted ? ResumePlan::Leave : ResumePlan::Continue;
}

Failure find(const Run &r, ResumeJob *job)
{
    NestCut nest;
    Failure f = ResumeRun::find(r.journal, mode(r), job, &nest, r.options.plot, r.options.plotFlags);
    if (f.kind == Failure::Usage && !job->plan.ok())
        f.message = ResumeJob::withOptions(f.message);
    return f;
}

void watch(Run &r, ResumeRun &resume)
{
    JobLoop::configure(r, resume.runner(), false);
    QObject::connect(&resume, &ResumeRun::warning, [&r](const QString &text) { r.out.warning(text); });
    QObject::connect(&resume, &ResumeRun::corrected, [&r](const JobRecord &fixed) {
        r.out.event(QStringLiteral("corrected"),
                    {{QStringLiteral("finished"), fixed.finished}, {QStringLiteral("percent"), fixed.percent},
                     {QStringLiteral("outcome"), JobRecord::outcomeName(fixed.outcome)}},
                    QCoreApplication::translate("Resume", "the machine reports %1 of %2 copies finished; journal corrected")
                        .arg(QLocale().toString(fixed.finished), QLocale().toString(fixed.copies)));
    });
    QObject::connect(&resume, &ResumeRun::partStarted, [&r, &resume](bool rest, int copies, int stroke) {
        if (!rest) {
            r.out.text(copies == 1 ? QCoreApplication::translate("Resume", "cutting 1 whole copy")
                                   : QCoreApplication::translate("Resume", "cutting %n whole copies", nullptr, copies));
            return;
        }
        const ResumeJob &job = resume.job();
        r.out.event(QStringLiteral("rest"), {{QStringLiteral("from_stroke"), stroke + 1}},
                    QCoreApplication::translate("Resume", "cutting the rest of copy %1: from stroke %2")
                        .arg(QLocale().toString(job.from.finished + 1), QLocale().toString(stroke + 1)));
    });
}

}

Failure check(Run &r)
{
    if (!r.options.args.isEmpty())
        return {Failure::Usage, QCoreApplication::translate("Resume", "resume takes no arguments: it resumes the last interrupted job")};
    ResumeJob job;
    if (Failure f = find(r, &job))
        return f;
    const JobRecord &from = job.from;
    r.out.event(QStringLiteral("resume"),
                {{QStringLiteral("resumes"), from.id}, {QStringLiteral("file"), from.file},
                 {QStringLiteral("copies"), from.copies}, {QStringLiteral("finished"), from.finished},
                 {QStringLiteral("percent"), from.percent}, {QStringLiteral("whole"), job.plan.whole},
                 {QStringLiteral("partial"), job.plan.partial}, {QStringLiteral("from_percent"), job.plan.fromPercent},
                 {QStringLiteral("options"), from.options}},
                QCoreApplication::translate("Resume", "interrupted job of %1: %2 on %3: %4\nto cut: %5")
                    .arg(from.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), from.file,
                         from.deviceId.isEmpty() ? QStringLiteral("?") : from.deviceId, job.wasText(), job.planText()));
    return confirm(r, QCoreApplication::translate("Resume", "Cut %1?").arg(job.planText()));
}

Outcome run(Run &r)
{
    ResumeRun resume(*r.session, r.journal);
    watch(r, resume);
    // Planned again: the journal or the file may have changed since the question.
    if (Failure f = resume.prepare(mode(r), r.options.plot, r.options.plotFlags))
        return f;
    if (!resume.start())
        return r.waitFailure(QCoreApplication::translate("Resume", "asking the machine for its job"));
    JobLoop::wait(r, resume.runner(), [&resume] { return resume.isRunning(); }, [&resume] { resume.stop(); });
    if (!resume.journalError().isEmpty())
        r.out.warning(QCoreApplication::translate("Resume", "job journal not written: %1").arg(resume.journalError()));
    if (Failure f = resume.failure())
        return f;
    const JobRecord record = resume.record();
    if (record.id.isEmpty()) {
        r.out.text(QCoreApplication::translate("Resume", "nothing was cut: the machine had finished the job"));
        QJsonObject result = resume.correction().toJson();
        result.remove(QStringLiteral("v"));
        return result;
    }
    r.out.text(QCoreApplication::translate("Resume", "done: cut %1%2").arg(resume.job().planText())
                   .arg(JobLoop::outageNote(record.reconnects, record.linkDownMs)));
    QJsonObject result = record.toJson();
    result.remove(QStringLiteral("v"));
    return result;
}

}
