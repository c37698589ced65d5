#include "JobPanel.h"
#include "MainWindow.h"
#include "VXSimulator.h"
#include "interface/VXDeviceInterface.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QPluginLoader>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vxstudio"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
            QStringLiteral("Desktop host for the conveyor-belt flatbed cutter: settings, jog, jobs."));
    parser.addHelpOption();
    QCommandLineOption simulate(QStringLiteral("simulate"),
                                QStringLiteral("Start a simulated machine on a free loopback port and connect to it."));
    QCommandLineOption plugin(QStringLiteral("plugin"), QStringLiteral("Device plugin to load."),
                              QStringLiteral("path"),
                              QDir(QCoreApplication::applicationDirPath())
                                      .filePath(QStringLiteral("plugins/libVX-KTR450PROCam.so")));
    QCommandLineOption plot(QStringLiteral("plot"), QStringLiteral("Plot file to open."),
                            QStringLiteral("file"));
    parser.addOptions({simulate, plugin, plot});
    parser.process(app);

    QPluginLoader loader(parser.value(plugin));
    auto *factory = qobject_cast<VXDeviceInterface *>(loader.instance());
    if (!factory) {
        const QString why = QStringLiteral("Cannot load the device plugin %1: %2")
                .arg(parser.value(plugin), loader.errorString());
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
