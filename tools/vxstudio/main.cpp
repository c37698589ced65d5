// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobPanel.h"
#include "MainWindow.h"
#include "PluginHost.h"
#include "VXSimulator.h"
#include "interface/VXDeviceInterface.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

#include <cstdio>

namespace {

struct Options
{
    QCommandLineParser parser;
    QCommandLineOption simulate{QStringLiteral("simulate"),
                                QStringLiteral("Start a simulated machine on a free loopback port and connect to it.")};
    QCommandLineOption plugin{QStringLiteral("plugin"), QStringLiteral("Device plugin to load."),
                              QStringLiteral("path")};
    QCommandLineOption plot{QStringLiteral("plot"), QStringLiteral("Plot file to open."),
                            QStringLiteral("file")};

    Options()
    {
        parser.setApplicationDescription(
                QStringLiteral("Desktop host for the conveyor-belt flatbed cutter: settings, jog, jobs.\n\n"
                               "Exit codes: 0 window closed, 2 plugin not loadable, "
                               "3 the simulated machine did not start."));
        parser.addHelpOption();
        parser.addOptions({simulate, plugin, plot});
    }
};

bool asksForHelp(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "--help" || a == "--help-all" || a == "-?")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // Help needs no display.
    if (asksForHelp(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("vxstudio"));
        Options options;
        options.parser.process(app);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vxstudio"));
    Options options;
    QCommandLineParser &parser = options.parser;
    const QCommandLineOption &simulate = options.simulate;
    const QCommandLineOption &plot = options.plot;
    parser.process(app);
    // The same search as vxcut: <appdir>/plugins, the installed folder, the build tree.
    PluginHost plugin;
    VXDeviceInterface *factory = plugin.load(parser.value(options.plugin)) ? plugin.root() : nullptr;
    if (!factory) {
        const QString why = plugin.error();
        std::fprintf(stderr, "vxstudio: %s\n", qPrintable(why));
        QMessageBox::critical(nullptr, QStringLiteral("vxstudio"), why);
        return 2;
    }

    VXSimulator simulator;
    MainWindow window(factory);
    if (parser.isSet(plot)) {
        QString error;
        if (!window.jobPanel()->loadPlot(parser.value(plot), &error))
            window.log(error);
    }
    if (parser.isSet(simulate)) {
        if (!simulator.start(0)) {
            std::fprintf(stderr, "vxstudio: the simulated machine did not start\n");
            return 3;
        }
        window.log(QStringLiteral("Simulated machine on 127.0.0.1:%1.").arg(simulator.serverPort()));
        window.connectTcp(QStringLiteral("127.0.0.1"), simulator.serverPort());
    }
    window.show();
    return app.exec();
}
