// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobPanel.h"
#include "MainWindow.h"
#include "PluginHost.h"
#include "RuntimeDir.h"
#include "ToolTranslator.h"
#include "VXSimulator.h"
#include "interface/VXDeviceInterface.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

// The context of the program's own texts outside the window classes.
class VxStudio
{
    Q_DECLARE_TR_FUNCTIONS(VxStudio)
};

// Built after ToolTranslator::install(): the help texts are translated here.
struct Options
{
    QCommandLineParser parser;
    QCommandLineOption simulate{QStringLiteral("simulate"),
                                VxStudio::tr("Start a simulated machine on a free loopback port and connect to it.")};
    QCommandLineOption plugin{QStringLiteral("plugin"), VxStudio::tr("Device plugin to load."),
                              VxStudio::tr("path")};
    QCommandLineOption plot{QStringLiteral("plot"), VxStudio::tr("Plot file to open."), VxStudio::tr("file")};

    Options()
    {
        parser.setApplicationDescription(
                VxStudio::tr("Desktop host for the conveyor-belt flatbed cutter: settings, jog, jobs.\n\n"
                             "Exit codes: 0 window closed, 1 bad command line, 2 plugin not loadable, "
                             "3 the simulated machine did not start."));
        parser.addHelpOption();
        parser.addOptions({simulate, plugin, plot, ToolTranslator::option()});
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
    // --lang reaches the plugin's labels too, before anything reads the locale.
    ToolTranslator::steerSystemLocale(argc, argv);
    // Help needs no display.
    if (asksForHelp(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("vxstudio"));
        ToolTranslator::install(QStringLiteral("vxstudio"));
        Options options;
        options.parser.process(app);
        return 0;
    }

    ensureRuntimeDir();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vxstudio"));
    ToolTranslator::install(QStringLiteral("vxstudio"));
    Options options;
    QCommandLineParser &parser = options.parser;
    const QCommandLineOption &simulate = options.simulate;
    const QCommandLineOption &plot = options.plot;
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "vxstudio: %s\n%s\n", parser.errorText().toLocal8Bit().constData(),
                     VxStudio::tr("Try 'vxstudio --help'.").toLocal8Bit().constData());
        return 1;
    }
    // The same search as vxcut: <appdir>/plugins, the installed folder, the build tree.
    PluginHost plugin;
    VXDeviceInterface *factory = plugin.load(parser.value(options.plugin)) ? plugin.root() : nullptr;
    if (!factory) {
        const QString why = plugin.error();
        std::fprintf(stderr, "vxstudio: %s\n", why.toLocal8Bit().constData());
        QMessageBox::critical(nullptr, QStringLiteral("vxstudio"), why);
        return 2;
    }

    VXSimulator simulator;
    MainWindow window(factory);
    if (parser.isSet(simulate)) {
        if (!simulator.start(0)) {
            std::fprintf(stderr, "vxstudio: %s\n",
                         VxStudio::tr("the simulated machine did not start").toLocal8Bit().constData());
            return 3;
        }
        window.log(VxStudio::tr("Simulated machine on 127.0.0.1:%1.").arg(simulator.serverPort()));
        window.connectTcp(QStringLiteral("127.0.0.1"), simulator.serverPort());
    }
    window.show();
    // Read once the window is up: a large design must not keep it from showing.
    if (parser.isSet(plot)) {
        const QString file = parser.value(plot);
        QTimer::singleShot(0, &window, [&window, file] { window.jobPanel()->openPlotFile(file); });
    }
    return app.exec();
}
