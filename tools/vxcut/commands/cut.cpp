// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Counted.h"
#include "JobLoop.h"
#include "JobRunner.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"
#include "cloud/NimbraCloud.h"

#include <QCoreApplication>
#include <QLocale>
#include <QNetworkReply>
#include <QUrl>

namespace Cut {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut cut FILE --tcp HOST[:PORT] | --usb PATH [--copies N] [--quality Q]\n"
    "                [design options] [--cloud URL --ws URL --code CODE [--token-file FILE]]\n"
    "                [--reconnect-budget SEC | --no-reconnect]\n\n"
    "Cuts a design (HP-GL, SVG or DXF), placed, ordered and shaped as\n"
    "`vxcut plan` shows with the same options. Shows the plot's size, cut\n"
    "length and estimated time, then a progress bar with copies done and\n"
    "the remaining time. Ctrl-C stops the job on the machine. With --cloud\n"
    "the machine is registered and the work record is posted when the job\n"
    "ends.\n"
    "If the link drops, vxcut reconnects (waits of 0.5 s doubling to 8 s,\n"
    "120 s in all), checks it is the same machine, and follows the job to\n"
    "its end; a machine that gave the job up is reported with what was\n"
    "cut, for `vxcut resume`. Every job goes to the journal (`vxcut history`).\n"
    "  --reconnect-budget SEC  how long to keep trying (0: give up at once)\n"
    "  --no-reconnect          a dropped link ends the run (exit 6)\n"
    "  --token-file FILE   cloud token, from a file only its owner can read\n"
    "                      (VX_CLOUD_TOKEN in the environment works too;\n"
    "                      --token T also, but other users can read it)\n"
    "\n"
    "vxcut cut --nest PART[=QTY]... [--parts LIST] [--strip-width MM] [nest options]\n"
    "Nests the parts as `vxcut nest` does (the strip as wide as the work area\n"
    "unless --strip-width says), then cuts the nest in windows no longer than\n"
    "the work area, never through a part, the belt feeding the material on\n"
    "between windows (automatic feed on, the feed length per window; the feed\n"
    "settings are put back afterwards). `vxcut resume` continues a nest at the\n"
    "first window not cut.\n");

Failure check(Run &r)
{
    // --nest: parts instead of one file, then a nest cut in windows.
    if (Nest::cutting(r.options))
        return Nest::checkCut(r);

    if (r.options.args.size() != 1)
        return {Failure::Usage, QCoreApplication::translate("Cut", "cut wants exactly one plot file")};
    QString error;
    if (!r.job.load(r.options.args.first(), r.options.plot, error, nullptr, r.cancelFlag()))
        return {r.cancelled() ? Failure::Interrupted : Failure::PlotFile, error};
    return Failure();
}

Failure prepare(Run &r)
{
    return r.parseQuality();
}

namespace {

void announce(Run &r, const JobRunner &runner, int estimate)
{
    const PlotJob &job = r.job;
    const int copies = runner.copies();
    QJsonObject plot = job.fileInfo();
    plot.insert(QStringLiteral("FileName"), job.fileName);
    plot.insert(QStringLiteral("TaskCopies"), copies);
    plot.insert(QStringLiteral("travel_length"), qRound64(job.travelMm));
    plot.insert(QStringLiteral("estimate"), estimate);
    const QLocale locale;
    r.out.event(QStringLiteral("plot"), plot,
                (copies == 1 ? QCoreApplication::translate("Cut", "plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), 1 copy, estimated %6")
                             : QCoreApplication::translate("Cut", "plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), %n copies, estimated %6",
                                                           nullptr, copies))
                    .arg(job.fileName, locale.toString(job.widthMm, 'f', 1), locale.toString(job.heightMm, 'f', 1),
                         locale.toString(job.pathMm, 'f', 0), locale.toString(job.travelMm, 'f', 0),
                         estimate < 0 ? QCoreApplication::translate("Cut", "unknown (machine speeds not read)")
                                      : Output::duration(estimate)));
}

Outcome cutJob(Run &r)
{
    JobRunner runner(*r.session);
    QObject::connect(&runner, &JobRunner::planned, &runner,
                     [&](int estimate) { announce(r, runner, estimate); });
    JobLoop::configure(r, runner);
    if (!runner.start(r.job, r.options.copies))
        return r.waitFailure(QCoreApplication::translate("Cut", "starting the job"));
    if (Failure f = JobLoop::drive(r, runner)) {
        if (runner.machineGaveUp() && runner.journalError().isEmpty())
            f.message += QCoreApplication::translate("Cut", "; `vxcut resume` cuts what is left");
        return f;
    }
    const QLocale locale;
    r.out.text(QCoreApplication::translate("Cut", "done: %1 of %2 in %3%4")
                   .arg(locale.toString(runner.task().value(QStringLiteral("Finished")).toInt()), Counted::copies(runner.copies()),
                        Output::duration(int(runner.summary().value(QStringLiteral("elapsed_ms")).toDouble() / 1000)),
                        JobLoop::outageNote(runner.reconnectCount(), runner.linkDownMs())));
    return runner.summary();
}

}

Outcome run(Run &r)
{
    // --nest: a run of window jobs of its own (commands/nest.cpp).
    if (Nest::cutting(r.options))
        return Nest::cut(r);

    if (Failure f = r.readInfo(false))
        return f;
    if (Failure f = Plan::fitWorkArea(r, r.job.report))   // before anything is sent
        return f;
    r.applyQuality();
    NimbraCloud *cloud = nullptr;
    if (!r.options.cloud.isEmpty()) {
        cloud = new NimbraCloud(QUrl(r.options.cloud), r.options.ws, r.options.token, r.session.get());
        cloud->setTimeout(r.options.timeoutMs);
        Failure f = r.registerCloud(cloud, r.options.code);
        if (!f)
            f = r.openRemote();
        // Ctrl-C or a lost machine ends the run; a cloud that does not answer
        // does not stop the cut, unless the cloud is the point (demo).
        if (f.kind == Failure::Interrupted || f.kind == Failure::DeviceLost || (f && r.cloudRequired))
            return f;
        if (f)
            r.out.warning(f.message);
    }
    const Outcome outcome = cutJob(r);
    if (cloud) {
        // The work record is posted without a completion; its reply, a child
        // of the client, lives until the request is done.
        r.await.until([cloud] { return cloud->findChildren<QNetworkReply *>().isEmpty(); }, cloud->timeout(), false);
    }
    return outcome;
}

}
