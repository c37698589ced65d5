// SPDX-License-Identifier: LGPL-2.1-or-later
// One cut through the host library as the desktop host makes it: the design
// loaded with its plan kept for drawing, then the job runner against a
// machine. bench/cut_memory.sh measures this process's peak memory; there is
// no timing here.
//   cut_memory_host PLUGIN PLOT HOST:PORT   (exit 0 when every copy is cut)
#include "DesignLoader.h"
#include "DeviceSession.h"
#include "JobRunner.h"
#include "PluginHost.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: cut_memory_host PLUGIN PLOT HOST:PORT\n";
        return 2;
    }
    PluginHost plugin;
    if (!plugin.load(QFileInfo(args.at(1)).absoluteFilePath())) {
        err << plugin.error() << '\n';
        return 1;
    }
    DesignLoad design = DesignLoader::loadNow(args.at(2), PlotOptions());
    if (!design.ok) {
        err << design.error << '\n';
        return 1;
    }
    DeviceSession session(plugin.root());
    JobRunner runner(session);
    // The machine reads the whole plot before it answers again.
    session.setHeartbeat(60);
    session.setTimeout(120000);
    QObject::connect(&session, &DeviceSession::connectFailed, &app, [&](const Failure &f) {
        err << f.message << '\n';
        app.exit(1);
    });
    QObject::connect(&session, &DeviceSession::linkUpChanged, &app, [&](bool up) {
        if (up && !runner.isRunning() && !runner.start(design.job, 1))
            app.exit(1);
    });
    QObject::connect(&runner, &JobRunner::finished, &app, [&](JobRunner::State state) {
        app.exit(state == JobRunner::State::Finished ? 0 : 1);
    });
    if (session.renewDevice() || session.connectTcp(args.at(3)))
        return 1;
    return app.exec();
}
