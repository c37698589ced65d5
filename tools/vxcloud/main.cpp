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
                              QStringLiteral("WebSocket port of the remote channel (default 0: a free one)."), QStringLiteral("M"));
    QCommandLineOption device(QStringLiteral("device"),
                              QStringLiteral("A device the service already knows, as CODE=ID (repeatable)."),
                              QStringLiteral("CODE=ID"));
    QCommandLineOption maxChannels(QStringLiteral("max-channels"),
                                   QStringLiteral("Open remote channels at most; more are refused with 503 (default 64)."),
                                   QStringLiteral("N"), QStringLiteral("64"));
    parser.addOptions({port, wsPort, device, maxChannels});
    parser.process(app);

    bool ok = false;
    const uint httpPort = parser.value(port).toUInt(&ok);
    if (!ok || httpPort > 65535) {
        std::fprintf(stderr, "vxcloud: bad --port\n");
        return 2;
    }
    int channelPort = 0;
    if (parser.isSet(wsPort)) {
        const uint p = parser.value(wsPort).toUInt(&ok);
        if (!ok || p > 65535) {
            std::fprintf(stderr, "vxcloud: bad --ws-port\n");
            return 2;
        }
        channelPort = int(p);
    }

    CloudServer server;
    CloudServer::Limits limits;
    limits.channels = parser.value(maxChannels).toInt(&ok);
    if (!ok || limits.channels < 1 || limits.channels > 1000) {
        std::fprintf(stderr, "vxcloud: bad --max-channels (1 to 1000)\n");
        return 2;
    }
    server.setLimits(limits);
    for (const QString &entry : parser.values(device)) {
        const int eq = entry.lastIndexOf(QLatin1Char('='));
        const int id = eq > 0 ? entry.mid(eq + 1).toInt(&ok) : 0;
        if (eq <= 0 || !ok) {
            std::fprintf(stderr, "vxcloud: bad --device\n");
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
