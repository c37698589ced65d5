#include "Commands.h"

#include "JobLoop.h"
#include "JobRunner.h"
#include "Options.h"
#include "Output.h"
#include "PlotRemainder.h"
#include "ResumePlan.h"
#include "Run.h"
#include "property/VXDeviceProperty.h"

#include <cstdio>
#include <unistd.h>

namespace Resume {

const char usage[] =
    "Usage: vxcut resume --tcp HOST[:PORT] | --usb PATH [--yes]\n"
    "                    [--recut-interrupted | --skip-interrupted]\n\n"
    "Cuts what is left of the last interrupted job in the journal: the\n"
    "copies that were not finished, the one cut part way continued from the\n"
    "stroke it was at. The plan is shown and confirmed first; the file must\n"
    "be unchanged (SHA-256) and, to continue a copy, the machine the same.\n"
    "  --yes                 no question (for scripts)\n"
    "  --recut-interrupted   cut the interrupted copy whole again (on fresh\n"
    "                        material)\n"
    "  --skip-interrupted    leave the interrupted copy out\n";

namespace {

// One resume per process: what check() found, for run().
struct Pending
{
    JobRecord from;
    ResumePlan plan;
} g;

QString planText(const JobRecord &from, const ResumePlan &plan)
{
    QStringList parts;
    if (plan.partial)
        parts << QStringLiteral("the rest of copy %1 (from %2%)").arg(from.finished + 1).arg(plan.fromPercent);
    if (plan.whole > 0)
        parts << QStringLiteral("%1 whole cop%2").arg(plan.whole).arg(plan.whole == 1 ? QStringLiteral("y")
                                                                                        : QStringLiteral("ies"));
    return parts.join(QStringLiteral(" and "));
}

QString wasText(const JobRecord &r)
{
    QString text = QStringLiteral("%1 of %2 copies finished").arg(r.finished).arg(r.copies);
    if (r.finished < r.copies)
        text += r.percent >= 0 ? QStringLiteral(", copy %1 at %2%").arg(r.finished + 1).arg(r.percent)
                               : QStringLiteral(", how far copy %1 got is not known").arg(r.finished + 1);
    return text;
}

Failure confirm(Run &r, const QString &question)
{
    if (r.options.yes)
        return Failure();
    if (r.options.json || isatty(STDIN_FILENO) != 1)
        return {Failure::Usage, QStringLiteral("no terminal to confirm on: give --yes to cut without asking")};
    fprintf(stdout, "%s [y/N] ", question.toLocal8Bit().constData());
    fflush(stdout);
    char line[64] = {};
    if (!fgets(line, sizeof line, stdin))
        return {Failure::Interrupted, QStringLiteral("not confirmed; nothing was cut")};
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    if (answer != QLatin1String("y") && answer != QLatin1String("yes"))
        return {Failure::Interrupted, QStringLiteral("not confirmed; nothing was cut")};
    return Failure();
}

}

Failure check(Run &r)
{
    if (!r.options.args.isEmpty())
        return {Failure::Usage, QStringLiteral("resume takes no arguments: it resumes the last interrupted job")};
    int skipped = 0;
    const std::optional<JobRecord> found = r.journal.lastInterrupted(&skipped);
    if (!found)
        return {Failure::Other, QStringLiteral("no interrupted job to resume in %1").arg(r.journal.path())};
    g.from = *found;
    const JobRecord &from = g.from;
    QString error;
    if (!r.job.load(from.file, error))
        return {Failure::PlotFile, QStringLiteral("the interrupted job's file: %1").arg(error)};
    // Another file under the same name would be cut as the rest of this one.
    if (JobJournal::fileSha256(from.file) != from.sha256)
        return {Failure::PlotFile, QStringLiteral("%1 changed since the job was cut (SHA-256 differs); nothing was cut")
                                       .arg(from.file)};
    const ResumePlan::Interrupted mode = r.options.recutInterrupted ? ResumePlan::RecutWhole
                                       : r.options.skipInterrupted ? ResumePlan::Leave : ResumePlan::Continue;
    g.plan = ResumePlan::make(from.copies, from.finished, from.percent, mode);
    if (!g.plan.ok())
        return {Failure::Usage, QStringLiteral("%1 (--recut-interrupted or --skip-interrupted)").arg(g.plan.problem)};
    if (g.plan.whole == 0 && !g.plan.partial)
        return {Failure::Other, QStringLiteral("nothing is left to cut of %1 (%2)").arg(from.file, wasText(from))};
    r.out.event(QStringLiteral("resume"),
                {{QStringLiteral("resumes"), from.id}, {QStringLiteral("file"), from.file},
                 {QStringLiteral("copies"), from.copies}, {QStringLiteral("finished"), from.finished},
                 {QStringLiteral("percent"), from.percent}, {QStringLiteral("whole"), g.plan.whole},
                 {QStringLiteral("partial"), g.plan.partial}, {QStringLiteral("from_percent"), g.plan.fromPercent}},
                QStringLiteral("interrupted job of %1: %2 on %3: %4\nto cut: %5")
                    .arg(from.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), from.file,
                         from.deviceId, wasText(from), planText(from, g.plan)));
    return confirm(r, QStringLiteral("Cut %1?").arg(planText(from, g.plan)));
}

Outcome run(Run &r)
{
    if (Failure f = r.readInfo(false))
        return f;
    const JobRecord &from = g.from;
    const ResumePlan &plan = g.plan;
    const MachineIdentity here = MachineIdentity::fromRecords(*r.session);
    const MachineIdentity there{from.deviceId, from.uniqueId};
    if (there.known() && !here.matches(there)) {
        // The part-cut copy lies on the other machine's belt.
        if (plan.partial)
            return Failure(Failure::Rejected, QStringLiteral("the job was cut on %1, this machine is %2: the rest of a copy "
                                                      "is cut only where it started; nothing was cut")
                                           .arg(there.text(), here.text()));
        r.out.warning(QStringLiteral("the job was cut on %1; cutting the rest on %2").arg(there.text(), here.text()));
    }

    JobRecord record;
    record.start = QDateTime::currentDateTimeUtc();
    record.file = from.file;
    record.sha256 = from.sha256;
    record.copies = plan.whole + (plan.partial ? 1 : 0);
    record.resumes = from.id;
    record.deviceId = here.deviceId;
    record.uniqueId = here.uniqueId;
    Failure failed;

    // The two parts, one job each: the rest of the interrupted copy, then whole copies.
    auto cutPart = [&](const PlotJob &job, int copies, bool rest) {
        JobRunner runner(*r.session);
        JobLoop::configure(r, runner, false);
        if (!runner.start(job, copies))
            return r.waitFailure(QStringLiteral("starting the job"));
        const Failure f = JobLoop::drive(r, runner);
        record.reconnects += runner.reconnectCount();
        record.linkDownMs += runner.linkDownMs();
        const JobRecord part = runner.record();
        if (runner.state() == JobRunner::State::Finished) {
            record.finished += copies;
            record.outcome = JobRecord::Outcome::Finished;
            record.percent = 100;
        } else {
            record.finished += part.finished;
            record.outcome = part.end.isValid() ? part.outcome : JobRecord::Outcome::Interrupted;
            // A percent of the rest is no percent of the copy.
            record.percent = rest ? -1 : part.percent;
        }
        return f;
    };

    if (plan.partial) {
        if (Failure f = r.read({QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")}))
            return f;
        PlotJob rest;
        QString error;
        int stroke = 0;
        if (!PlotRemainder::make(r.job, plan.fromPercent, r.record(QStringLiteral("SP2_SPEED"))->value().toDouble(),
                                 r.record(QStringLiteral("PU_SPEED"))->value().toDouble(), &rest, &error, &stroke))
            return Failure(Failure::PlotFile, QStringLiteral("the rest of copy %1: %2").arg(from.finished + 1).arg(error));
        r.out.event(QStringLiteral("rest"), {{QStringLiteral("from_stroke"), stroke + 1},
                                             {QStringLiteral("path_length"), qRound64(rest.pathMm)}},
                    QStringLiteral("cutting the rest of copy %1: from stroke %2, %3 mm")
                        .arg(from.finished + 1).arg(stroke + 1).arg(rest.pathMm, 0, 'f', 0));
        failed = cutPart(rest, 1, true);
    }
    if (!failed && plan.whole > 0) {
        r.out.text(QStringLiteral("cutting %1 whole cop%2").arg(plan.whole).arg(plan.whole == 1 ? "y" : "ies"));
        failed = cutPart(r.job, plan.whole, false);
    }
    record.end = QDateTime::currentDateTimeUtc();
    QString error;
    if (!r.journal.append(record, &error))
        r.out.warning(QStringLiteral("job journal not written: %1").arg(error));
    if (failed)
        return failed;
    r.out.text(QStringLiteral("done: cut %1%2").arg(planText(from, plan))
                   .arg(JobLoop::outageNote(record.reconnects, record.linkDownMs)));
    QJsonObject result = record.toJson();
    result.remove(QStringLiteral("v"));
    return result;
}

}
