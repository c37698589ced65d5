// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "Run.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLocale>

#if defined(VXCUT_HAS_VXSIMCORE) && defined(VXCUT_HAS_VXCLOUDCORE)
#include "CloudServer.h"
#include "VXSimulator.h"
#define VXCUT_DEMO 1
#endif

namespace Demo {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut demo [--copies N] [--json]\n\n"
    "Starts a simulated machine and a local cloud stand-in on free loopback\n"
    "ports, connects, reads the machine, registers it, opens the remote\n"
    "channel, cuts the bundled sample plot, stops the job and prints the\n"
    "work record as the cloud received it. Needs no hardware or network.\n"
    "  --copies N    copies to cut (default 2)\n"
    "  --quality Q   cutting quality, index or text as `vxcut settings` shows it\n"
    "  --speedup F   how much faster than real time the simulator cuts (default 50)\n");

#ifndef VXCUT_DEMO
Outcome run(Run &)
{
    return Failure(Failure::Other, QCoreApplication::translate("Demo", "this build has no simulator or cloud stand-in"));
}
#else

Outcome run(Run &r)
{
    CloudServer cloudServer;
    if (!cloudServer.start(0))
        return Failure(Failure::Other, QCoreApplication::translate("Demo", "cannot start the cloud stand-in on 127.0.0.1"));
    VXSimulator sim;
    sim.setSpeedup(r.options.speedup);
    if (!sim.start(0))
        return Failure(Failure::Other, QCoreApplication::translate("Demo", "cannot start the simulated machine on 127.0.0.1"));
    r.out.event(QStringLiteral("demo"),
                {{QStringLiteral("machine"), QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())},
                 {QStringLiteral("cloud"), cloudServer.httpBase().toString()},
                 {QStringLiteral("ws"), cloudServer.ws()}},
                QCoreApplication::translate("Demo", "simulated machine on 127.0.0.1:%1, cloud stand-in on %2")
                    .arg(sim.serverPort()).arg(cloudServer.httpBase().toString()));

    // The cut command itself, pointed at the machine and the cloud above.
    Options options = r.options;
    options.command = QStringLiteral("cut");
    options.args = QStringList{QStringLiteral(":/samples/sample.plt")};
    options.tcp = QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
    options.usb.clear();
    options.cloud = cloudServer.httpBase().toString();
    options.ws = cloudServer.ws();
    options.code.clear();   // the machine's own number
    options.journal.clear(); // a simulated job is no job of the shop's
    QJsonObject record;
    int snapshots = 0;
    {
        // The session goes before the servers it talks to.
        Run cut(options, r.out, r.interrupt);
        cut.cloudRequired = true;
        const Outcome outcome = Command::execute(cut, *Command::find(QStringLiteral("cut")));
        if (outcome.failure)
            return outcome;
        // stopTask() posted the work record; it leaves on the event loop.
        if (!cut.await.until([&] { return !cloudServer.workRecords().isEmpty(); }, qMax(options.timeoutMs, 5000)))
            return Failure(Failure::Cloud, QCoreApplication::translate("Demo", "the cloud stand-in received no work record"));
        record = cloudServer.workRecords().constLast();
        snapshots = cloudServer.channelTexts().size();
    }
    r.out.event(QStringLiteral("work_record"), record,
                QCoreApplication::translate("Demo", "work record as the cloud received it (after %1 Runtime snapshots):\n%2")
                    .arg(QLocale().toString(snapshots), QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Indented)).trimmed()));
    return QJsonObject{{QStringLiteral("work_record"), record}, {QStringLiteral("snapshots"), snapshots}};
}

#endif

}
