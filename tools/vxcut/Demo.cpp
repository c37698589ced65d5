#include "Demo.h"

#include "Commands.h"
#include "CutRun.h"
#include "ExitCodes.h"
#include "Options.h"
#include "Output.h"
#include "PlotJob.h"
#include "RecordValue.h"
#include "Session.h"
#include "cloud/NimbraCloud.h"
#include "property/VXDeviceProperty.h"

#include <QJsonDocument>

#if defined(VXCUT_HAS_VXSIMCORE) && defined(VXCUT_HAS_VXCLOUDCORE)
#include "CloudServer.h"
#include "VXSimulator.h"
#define VXCUT_DEMO 1
#endif

namespace Demo {

#ifndef VXCUT_DEMO
int run(const Options &, Output &out, Interrupt *)
{
    return out.result(ExitCode::Failure, QStringLiteral("this build has no simulator or cloud stand-in"));
}
#else

int run(const Options &o, Output &out, Interrupt *interrupt)
{
    PlotJob job;
    QString error;
    if (!job.load(QStringLiteral(":/samples/sample.plt"), error))
        return out.result(ExitCode::PlotFile, error);

    CloudServer cloudServer;
    if (!cloudServer.start(0))
        return out.result(ExitCode::Failure, QStringLiteral("cannot start the cloud stand-in on 127.0.0.1"));
    VXSimulator sim;
    sim.setSpeedup(o.speedup);
    if (!sim.start(0))
        return out.result(ExitCode::Failure, QStringLiteral("cannot start the simulated machine on 127.0.0.1"));
    out.event(QStringLiteral("demo"),
              {{QStringLiteral("machine"), QStringLiteral("127.0.0.1:%1").arg(sim.serverPort())},
               {QStringLiteral("cloud"), cloudServer.httpBase().toString()},
               {QStringLiteral("ws"), cloudServer.ws()}},
              QStringLiteral("simulated machine on 127.0.0.1:%1, cloud stand-in on %2")
                  .arg(sim.serverPort()).arg(cloudServer.httpBase().toString()));

    // The session goes before the servers it talks to.
    int rc = ExitCode::Ok;
    QJsonObject record;
    int snapshots = 0;
    {
        Session s(out, interrupt);
        s.setTimeout(o.timeoutMs);
        if ((rc = s.load(o.plugin)))
            return rc;
        Options local = o;
        local.tcp = QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
        local.usb.clear();
        if ((rc = Commands::connect(s, out, local)))
            return rc;
        QVariant quality;
        if ((rc = Commands::parseQuality(s, out, o.quality, quality)))
            return rc;
        if ((rc = Commands::readInfo(s, out, false)))
            return rc;
        Commands::applyQuality(s, out, quality);

        NimbraCloud cloud(cloudServer.httpBase(), cloudServer.ws());
        cloud.setTimeout(s.timeout());
        VXDeviceProperty *id = s.record(QStringLiteral("DEVICE_ID"));
        const QString code = id && !id->value().toString().isEmpty() ? id->value().toString()
                                                                     : QStringLiteral("VXDEMO0001");
        if ((rc = Commands::registerCloud(s, out, &cloud, code)))
            return out.result(rc, QStringLiteral("the cloud stand-in did not register the machine"));
        if ((rc = Commands::openRemote(s, out)))
            return out.result(rc, QStringLiteral("the remote channel to the cloud stand-in did not open"));

        CutRun run(s, out);
        if ((rc = run.run(job, o.copies)))
            return rc;
        // stopTask() posted the work record; it leaves on the event loop.
        if (!s.wait([&] { return !cloudServer.workRecords().isEmpty(); }, qMax(s.timeout(), 5000)))
            return out.result(ExitCode::Cloud, QStringLiteral("the cloud stand-in received no work record"));
        record = cloudServer.workRecords().constLast();
        snapshots = cloudServer.channelTexts().size();
    }
    out.event(QStringLiteral("work_record"), record,
              QStringLiteral("work record as the cloud received it (after %1 Runtime snapshots):\n%2")
                  .arg(snapshots)
                  .arg(QString::fromUtf8(QJsonDocument(record).toJson(QJsonDocument::Indented)).trimmed()));
    return out.result(ExitCode::Ok, QString(), {{QStringLiteral("work_record"), record},
                                                {QStringLiteral("snapshots"), snapshots}});
}

#endif

}
