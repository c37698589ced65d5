// SPDX-License-Identifier: LGPL-2.1-or-later
#include "CloudServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxcloud"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Local stand-in for the cloud service on 127.0.0.1: the resources device, device_model "
        "and device_work_records, and the remote channel <code>/Device/. Prints what it receives "
        "and runs until killed.\n\n"
        "Exit codes: 0 stopped normally, 1 cannot listen, 2 bad command line."));
    parser.addHelpOption();
    QCommandLineOption port(QStringLiteral("port"), QStringLiteral("HTTP port on 127.0.0.1 (default 0: a free one)."),
                            QStringLiteral("N"), QStringLiteral("0"));
    QCommandLineOption wsPort(QStringLiteral("ws-port"),
                              QStringLiteral("WebSocket port (default: the HTTP port)."), QStringLiteral("M"));
    QCommandLineOption device(QStringLiteral("device"),
                              QStringLiteral("A device the service already knows, as CODE=ID (repeatable)."),
                              QStringLiteral("CODE=ID"));
    parser.addOptions({port, wsPort, device});
    parser.process(app);

    bool ok = false;
    const uint httpPort = parser.value(port).toUInt(&ok);
    if (!ok || httpPort > 65535) {
        std::fprintf(stderr, "vxcloud: bad --port\n");
        return 2;
    }
    int channelPort = -1;
    if (parser.isSet(wsPort)) {
        const uint p = parser.value(wsPort).toUInt(&ok);
        if (!ok || p > 65535) {
            std::fprintf(stderr, "vxcloud: bad --ws-port\n");
            return 2;
        }
        channelPort = int(p);
    }

    CloudServer server;
    for (const QString &entry : parser.values(device)) {
        const int eq = entry.lastIndexOf(QLatin1Char('='));
        const int id = eq > 0 ? entry.mid(eq + 1).toInt(&ok) : 0;
        if (eq <= 0 || !ok) {
            std::fprintf(stderr, "vxcloud: bad --device %s\n", qPrintable(entry));
            return 2;
        }
        server.addDevice(entry.left(eq), id);
    }
    static QMutex printMutex;
    server.setLogger([](const QString &line) {
        QMutexLocker lock(&printMutex);
        std::printf("%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    if (!server.start(quint16(httpPort), channelPort)) {
        std::fprintf(stderr, "vxcloud: cannot listen on 127.0.0.1:%u\n", httpPort);
        return 1;
    }
    std::printf("http %s\nws %s\n", qPrintable(server.httpBase().toString()), qPrintable(server.ws()));
    std::fflush(stdout);
    return app.exec();
}
