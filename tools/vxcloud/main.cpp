// SPDX-License-Identifier: LGPL-2.1-or-later
#include "CloudServer.h"
#include "ToolTranslator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>

namespace {
// The context of vxcloud's own texts. The "http"/"ws" lines and the server's
// log stay English in every language: scripts and tests read the addresses
// and the received requests from them.
class VxCloud
{
    Q_DECLARE_TR_FUNCTIONS(VxCloud)
};

void complain(const QString &text)
{
    std::fprintf(stderr, "vxcloud: %s\n", text.toLocal8Bit().constData());
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxcloud"));
    ToolTranslator::install(QStringLiteral("vxcloud"));

    QCommandLineParser parser;
    parser.setApplicationDescription(VxCloud::tr(
        "Local stand-in for the cloud service on 127.0.0.1: the resources device, device_model "
        "and device_work_records, and the remote channel <code>/Device/. Prints what it receives "
        "and runs until killed.\n\n"
        "Exit codes: 0 stopped normally, 1 cannot listen, 2 bad command line."));
    parser.addHelpOption();
    QCommandLineOption port(QStringLiteral("port"), VxCloud::tr("HTTP port on 127.0.0.1 (default 0: a free one)."),
                            QStringLiteral("N"), QStringLiteral("0"));
    QCommandLineOption wsPort(QStringLiteral("ws-port"),
                              VxCloud::tr("WebSocket port of the remote channel (default 0: a free one)."), QStringLiteral("M"));
    QCommandLineOption device(QStringLiteral("device"),
                              VxCloud::tr("A device the service already knows, as CODE=ID (repeatable)."),
                              QStringLiteral("CODE=ID"));
    QCommandLineOption maxChannels(QStringLiteral("max-channels"),
                                   VxCloud::tr("Open remote channels at most; more are refused with 503 (default 64)."),
                                   QStringLiteral("N"), QStringLiteral("64"));
    parser.addOptions({port, wsPort, device, maxChannels, ToolTranslator::option()});
    // process() would end a bad command line with 1, which here means
    // "cannot listen"; parse first, then let it show --help.
    if (!parser.parse(QCoreApplication::arguments())) {
        complain(parser.errorText() + QLatin1Char('\n') + VxCloud::tr("Try 'vxcloud --help'."));
        return 2;
    }
    parser.process(app);

    bool ok = false;
    const uint httpPort = parser.value(port).toUInt(&ok);
    if (!ok || httpPort > 65535) {
        complain(VxCloud::tr("bad value for %1: %2").arg(QStringLiteral("--port"), parser.value(port)));
        return 2;
    }
    int channelPort = 0;
    if (parser.isSet(wsPort)) {
        const uint p = parser.value(wsPort).toUInt(&ok);
        if (!ok || p > 65535) {
            complain(VxCloud::tr("bad value for %1: %2").arg(QStringLiteral("--ws-port"), parser.value(wsPort)));
            return 2;
        }
        channelPort = int(p);
    }

    CloudServer server;
    CloudServer::Limits limits;
    limits.channels = parser.value(maxChannels).toInt(&ok);
    if (!ok || limits.channels < 1 || limits.channels > 1000) {
        complain(VxCloud::tr("bad value for %1: %2 (1 to 1000)").arg(QStringLiteral("--max-channels"), parser.value(maxChannels)));
        return 2;
    }
    server.setLimits(limits);
    for (const QString &entry : parser.values(device)) {
        const int eq = entry.lastIndexOf(QLatin1Char('='));
        const int id = eq > 0 ? entry.mid(eq + 1).toInt(&ok) : 0;
        if (eq <= 0 || !ok) {
            complain(VxCloud::tr("bad value for %1: %2 (CODE=ID)").arg(QStringLiteral("--device"), entry));
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
        complain(VxCloud::tr("cannot listen on 127.0.0.1:%1").arg(httpPort));
        return 1;
    }
    std::printf("http %s\nws %s\n", qPrintable(server.httpBase().toString()), qPrintable(server.ws()));
    std::fflush(stdout);
    return app.exec();
}
