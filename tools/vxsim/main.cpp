#include "VXSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <QTimer>

#include <csignal>

static volatile std::sig_atomic_t g_quit = 0;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated conveyor-belt cutting plotter: answers the machine's wire protocol "
        "over TCP and/or a pseudo-terminal and cuts plot jobs in simulated time.\n\n"
        "Exit codes: 0 stopped normally, 1 cannot listen or open the pseudo-terminal, "
        "2 bad command line."));
    parser.addHelpOption();
    const QCommandLineOption portOpt(QStringLiteral("port"),
        QStringLiteral("TCP port on 127.0.0.1 (default 9100; 0 picks a free one)."),
        QStringLiteral("N"), QStringLiteral("9100"));
    const QCommandLineOption listenOpt(QStringLiteral("listen"),
        QStringLiteral("Address to listen on (default 127.0.0.1)."),
        QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption ptyOpt(QStringLiteral("pty"),
        QStringLiteral("Also open a pseudo-terminal and print its path (for the USB transport)."));
    const QCommandLineOption noTcpOpt(QStringLiteral("no-tcp"), QStringLiteral("Do not listen on TCP."));
    const QCommandLineOption speedOpt(QStringLiteral("speedup"),
        QStringLiteral("Simulated seconds per real second (default 1)."), QStringLiteral("F"),
        QStringLiteral("1"));
    const QCommandLineOption verboseOpt(QStringLiteral("verbose"),
        QStringLiteral("Print every frame received and every job report."));
    const QCommandLineOption oneByteOpt(QStringLiteral("one-byte"),
        QStringLiteral("Fault: send replies one byte per write."));
    const QCommandLineOption garbageOpt(QStringLiteral("garbage"),
        QStringLiteral("Fault: stray bytes before every frame sent."));
    const QCommandLineOption noHbOpt(QStringLiteral("no-heartbeat"),
        QStringLiteral("Fault: never answer heartbeat queries."));
    const QCommandLineOption dropRxOpt(QStringLiteral("drop-after"),
        QStringLiteral("Fault: close a link after receiving N bytes."), QStringLiteral("N"));
    const QCommandLineOption dropJobOpt(QStringLiteral("drop-mid-job"),
        QStringLiteral("Fault: close every link when a job reaches P percent."), QStringLiteral("P"));
    const QCommandLineOption endlessOpt(QStringLiteral("endless"),
        QStringLiteral("Fault: the first reply is a frame that never ends."));
    parser.addOptions({portOpt, listenOpt, ptyOpt, noTcpOpt, speedOpt, verboseOpt, oneByteOpt,
                       garbageOpt, noHbOpt, dropRxOpt, dropJobOpt, endlessOpt});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    bool ok = false;
    const uint port = parser.value(portOpt).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "vxsim: bad port " << parser.value(portOpt) << Qt::endl;
        return 2;
    }
    const double speedup = parser.value(speedOpt).toDouble(&ok);
    if (!ok || speedup <= 0) {
        err << "vxsim: bad speed-up " << parser.value(speedOpt) << Qt::endl;
        return 2;
    }
    const QHostAddress address(parser.value(listenOpt));
    if (address.isNull()) {
        err << "vxsim: bad address " << parser.value(listenOpt) << Qt::endl;
        return 2;
    }

    VXSimulator sim;
    sim.setSpeedup(speedup);
    sim.setOneByteChunks(parser.isSet(oneByteOpt));
    sim.setGarbageBetweenFrames(parser.isSet(garbageOpt));
    sim.setIgnoreHeartbeat(parser.isSet(noHbOpt));
    sim.setEndlessFrame(parser.isSet(endlessOpt));
    if (parser.isSet(dropRxOpt))
        sim.setDropAfterReceived(parser.value(dropRxOpt).toLongLong());
    if (parser.isSet(dropJobOpt))
        sim.setDropMidJob(parser.value(dropJobOpt).toInt());

    if (!parser.isSet(noTcpOpt)) {
        if (!sim.start(quint16(port), address)) {
            err << "vxsim: cannot listen on " << address.toString() << ':' << port << ": "
                << sim.errorString() << Qt::endl;
            return 1;
        }
        out << "vxsim: listening on " << address.toString() << ':' << sim.serverPort() << Qt::endl;
    }
    if (parser.isSet(ptyOpt)) {
        if (!sim.startPty()) {
            err << "vxsim: " << sim.errorString() << Qt::endl;
            return 1;
        }
        out << "vxsim: pseudo-terminal " << sim.ptyPath() << Qt::endl;
    }
    if (parser.isSet(noTcpOpt) && !parser.isSet(ptyOpt)) {
        err << "vxsim: nothing to serve (--no-tcp without --pty)" << Qt::endl;
        return 2;
    }

    QObject::connect(&sim, &VXSimulator::linkOpened, [&] { out << "vxsim: link opened" << Qt::endl; });
    QObject::connect(&sim, &VXSimulator::linkClosed, [&] { out << "vxsim: link closed" << Qt::endl; });
    QObject::connect(&sim, &VXSimulator::jobFailed, [&](int id, const QString &e) {
        out << "vxsim: job " << id << " refused: " << e << Qt::endl;
    });
    QObject::connect(&sim, &VXSimulator::jobFinished, [&](int id) { out << "vxsim: job " << id << " finished" << Qt::endl; });
    QObject::connect(&sim, &VXSimulator::jobStopped, [&](int id) { out << "vxsim: job " << id << " stopped" << Qt::endl; });
    if (parser.isSet(verboseOpt)) {
        QObject::connect(&sim, &VXSimulator::frameReceived, [&](const VXSimFrame &f) {
            out << "<- " << f.kind << ';'
                << (f.body.size() > 120 ? f.body.left(120) + "... (" + QByteArray::number(f.body.size()) + " bytes)" : f.body)
                << (f.lengthOk ? "" : "  [length field wrong]") << Qt::endl;
        });
        QObject::connect(&sim, &VXSimulator::jobReport, [&](int, const QString &item) {
            out << "-> CCMD;" << item << ';' << Qt::endl;
        });
    }

    // Ctrl-C and SIGTERM end the event loop so links close cleanly; the
    // handler only sets a flag, which is all a signal handler may do.
    for (int sig : {SIGINT, SIGTERM})
        std::signal(sig, [](int) { g_quit = 1; });
    QTimer quitPoll;
    QObject::connect(&quitPoll, &QTimer::timeout, [] {
        if (g_quit)
            QCoreApplication::quit();
    });
    quitPoll.start(100);
    return app.exec();
}
