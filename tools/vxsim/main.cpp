// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ToolTranslator.h"
#include "PlotReader.h"
#include "VXSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <QTimer>

#include <csignal>

static volatile std::sig_atomic_t g_quit = 0;

namespace {
// The context of vxsim's own texts. The "listening on" and "pseudo-terminal"
// lines stay English in every language: scripts read the port and the path
// from them.
class VxSim
{
    Q_DECLARE_TR_FUNCTIONS(VxSim)
};
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxsim"));
    ToolTranslator::install(QStringLiteral("vxsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        VxSim::tr("Simulated conveyor-belt cutting plotter: answers the machine's wire protocol "
                  "over TCP and/or a pseudo-terminal and cuts plot jobs in simulated time.\n\n"
                  "Exit codes: 0 stopped normally, 1 cannot listen or open the pseudo-terminal, "
                  "2 bad command line."));
    parser.addHelpOption();
    const QCommandLineOption portOpt(QStringLiteral("port"),
        VxSim::tr("TCP port on 127.0.0.1 (default 9100; 0 picks a free one)."),
        QStringLiteral("N"), QStringLiteral("9100"));
    const QCommandLineOption listenOpt(QStringLiteral("listen"),
        VxSim::tr("Address to listen on (default 127.0.0.1)."),
        QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption ptyOpt(QStringLiteral("pty"),
        VxSim::tr("Also open a pseudo-terminal and print its path (for the USB transport)."));
    const QCommandLineOption ptyLinkOpt(QStringLiteral("pty-link"),
        VxSim::tr("Keep a symbolic link PATH to the pseudo-terminal; it follows a pseudo-terminal "
                       "that comes back after --down-for."),
        QStringLiteral("PATH"));
    const QCommandLineOption noTcpOpt(QStringLiteral("no-tcp"), VxSim::tr("Do not listen on TCP."));
    const QCommandLineOption speedOpt(QStringLiteral("speedup"),
        VxSim::tr("Simulated seconds per real second (default 1)."), QStringLiteral("F"),
        QStringLiteral("1"));
    const QCommandLineOption verboseOpt(QStringLiteral("verbose"),
        VxSim::tr("Print every frame received and every job report."));
    const QCommandLineOption oneByteOpt(QStringLiteral("one-byte"),
        VxSim::tr("Fault: send replies one byte per write."));
    const QCommandLineOption garbageOpt(QStringLiteral("garbage"),
        VxSim::tr("Fault: stray bytes before every frame sent."));
    const QCommandLineOption noHbOpt(QStringLiteral("no-heartbeat"),
        VxSim::tr("Fault: never answer heartbeat queries."));
    const QCommandLineOption dropRxOpt(QStringLiteral("drop-after"),
        VxSim::tr("Fault: close a link after receiving N bytes."), QStringLiteral("N"));
    const QCommandLineOption dropJobOpt(QStringLiteral("drop-mid-job"),
        VxSim::tr("Fault: close every link when a job reaches P percent."), QStringLiteral("P"));
    const QCommandLineOption endlessOpt(QStringLiteral("endless"),
        VxSim::tr("Fault: the first reply is a frame that never ends."));
    const QCommandLineOption abortOpt(QStringLiteral("abort-on-drop"),
        VxSim::tr("The machine abandons its job when its last link drops."));
    const QCommandLineOption downOpt(QStringLiteral("down-for"),
        VxSim::tr("After a fault drops the links, refuse connections for MS milliseconds."),
        QStringLiteral("MS"));
    const QCommandLineOption devIdOpt(QStringLiteral("device-id"),
        VxSim::tr("Machine number (\"DEVICE_ID\", default VXS-000001)."), QStringLiteral("ID"));
    const QCommandLineOption uniqueOpt(QStringLiteral("unique-id"),
        VxSim::tr("Unique ID (\"DEVICE_UNIQUE_ID\", default 5658534D00000001)."), QStringLiteral("ID"));
    const QCommandLineOption sheetsOpt(QStringLiteral("sheets"),
        VxSim::tr("Stack of sheets for QR-code jobs, their codes separated by ','; ? is an unreadable code."),
        QStringLiteral("CODES"));
    const QCommandLineOption sheetsFileOpt(QStringLiteral("sheets-file"),
        VxSim::tr("Stack of sheets, one code per line (blank lines skipped)."), QStringLiteral("FILE"));
    const QCommandLineOption waitOpt(QStringLiteral("answer-wait"),
        VxSim::tr("Skip a sheet whose plot has not come within MS milliseconds (default: wait)."),
        QStringLiteral("MS"));
    parser.addOptions({portOpt, listenOpt, ptyOpt, noTcpOpt, speedOpt, verboseOpt, oneByteOpt,
                       garbageOpt, noHbOpt, dropRxOpt, dropJobOpt, endlessOpt, abortOpt, downOpt,
                       devIdOpt, uniqueOpt, sheetsOpt, sheetsFileOpt, waitOpt, ptyLinkOpt,
                       ToolTranslator::option()});
    QTextStream out(stdout);
    QTextStream err(stderr);
    // process() would end a bad command line with 1, which here means
    // "cannot listen"; parse first, then let it show --help and --help-all.
    if (!parser.parse(QCoreApplication::arguments())) {
        err << "vxsim: " << parser.errorText() << '\n' << VxSim::tr("Try 'vxsim --help'.") << Qt::endl;
        return 2;
    }
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(portOpt).toUInt(&ok);
    if (!ok || port > 65535) {
        err << "vxsim: " << VxSim::tr("bad port %1").arg(parser.value(portOpt)) << Qt::endl;
        return 2;
    }
    const double speedup = parser.value(speedOpt).toDouble(&ok);
    if (!ok || speedup <= 0) {
        err << "vxsim: " << VxSim::tr("bad speed-up %1").arg(parser.value(speedOpt)) << Qt::endl;
        return 2;
    }
    const QHostAddress address(parser.value(listenOpt));
    if (address.isNull()) {
        err << "vxsim: " << VxSim::tr("bad address %1").arg(parser.value(listenOpt)) << Qt::endl;
        return 2;
    }

    VXSimulator sim;
    sim.setSpeedup(speedup);
    sim.setOneByteChunks(parser.isSet(oneByteOpt));
    sim.setGarbageBetweenFrames(parser.isSet(garbageOpt));
    sim.setIgnoreHeartbeat(parser.isSet(noHbOpt));
    sim.setEndlessFrame(parser.isSet(endlessOpt));
    // A mistyped number must not become 0, which drops the link at once.
    if (parser.isSet(dropRxOpt)) {
        const qint64 n = parser.value(dropRxOpt).toLongLong(&ok);
        if (!ok || n < 0) {
            err << "vxsim: " << VxSim::tr("bad value for %1: %2").arg(QStringLiteral("--drop-after"), parser.value(dropRxOpt)) << Qt::endl;
            return 2;
        }
        sim.setDropAfterReceived(n);
    }
    if (parser.isSet(dropJobOpt)) {
        const int p = parser.value(dropJobOpt).toInt(&ok);
        if (!ok || p < 0 || p > 100) {
            err << "vxsim: " << VxSim::tr("bad value for %1: %2").arg(QStringLiteral("--drop-mid-job"), parser.value(dropJobOpt)) << Qt::endl;
            return 2;
        }
        sim.setDropMidJob(p);
    }
    sim.setAbortOnDrop(parser.isSet(abortOpt));
    for (const auto &[opt, setter] : {std::make_pair(&downOpt, &VXSimulator::setDownFor),
                                      std::make_pair(&waitOpt, &VXSimulator::setAnswerWait)}) {
        if (!parser.isSet(*opt))
            continue;
        const int ms = parser.value(*opt).toInt(&ok);
        if (!ok || ms < 0) {
            err << "vxsim: " << VxSim::tr("bad value for %1: %2").arg(QStringLiteral("--") + opt->names().first(), parser.value(*opt))
                << Qt::endl;
            return 2;
        }
        (sim.*setter)(ms);
    }
    if (parser.isSet(devIdOpt))
        sim.setDeviceId(parser.value(devIdOpt));
    if (parser.isSet(uniqueOpt))
        sim.setUniqueId(parser.value(uniqueOpt));
    if (parser.isSet(sheetsOpt) || parser.isSet(sheetsFileOpt)) {
        QStringList codes;
        if (parser.isSet(sheetsFileOpt)) {
            QFile file(parser.value(sheetsFileOpt));
            if (!file.open(QIODevice::ReadOnly)) {
                err << "vxsim: " << VxSim::tr("cannot read %1: %2").arg(file.fileName(), file.errorString()) << Qt::endl;
                return 2;
            }
            int line = 0;
            while (!file.atEnd()) {
                ++line;
                const QString code = QString::fromUtf8(file.readLine()).trimmed();
                if (code.isEmpty())
                    continue;
                const QString why = VXSimulator::sheetCodeError(code);
                if (!why.isEmpty()) {
                    err << "vxsim: " << file.fileName() << ':' << line << ": " << why << Qt::endl;
                    return 2;
                }
                codes << code;
            }
        }
        if (parser.isSet(sheetsOpt))
            codes += parser.value(sheetsOpt).split(QLatin1Char(','));
        QString why;
        if (!sim.setSheets(codes, &why)) {
            err << "vxsim: --sheets: " << why << Qt::endl;
            return 2;
        }
    }

    if (!parser.isSet(noTcpOpt)) {
        if (!sim.start(quint16(port), address)) {
            err << "vxsim: "
                << VxSim::tr("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(sim.errorString())
                << Qt::endl;
            return 1;
        }
        out << "vxsim: listening on " << address.toString() << ':' << sim.serverPort() << Qt::endl;
    }
    if (parser.isSet(ptyOpt)) {
        sim.setPtyLink(parser.value(ptyLinkOpt));
        if (!sim.startPty()) {
            err << "vxsim: " << sim.errorString() << Qt::endl;
            return 1;
        }
        out << "vxsim: pseudo-terminal " << sim.ptyPath() << Qt::endl;
    }
    if (parser.isSet(noTcpOpt) && !parser.isSet(ptyOpt)) {
        err << "vxsim: " << VxSim::tr("nothing to serve (--no-tcp without --pty)") << Qt::endl;
        return 2;
    }

    QObject::connect(&sim, &VXSimulator::linkOpened, [&] { out << "vxsim: " << VxSim::tr("link opened") << Qt::endl; });
    QObject::connect(&sim, &VXSimulator::linkClosed, [&] { out << "vxsim: " << VxSim::tr("link closed") << Qt::endl; });
    QObject::connect(&sim, &VXSimulator::jobFailed, [&](int id, const QString &e) {
        out << "vxsim: " << VxSim::tr("job %1 refused: %2").arg(id).arg(e) << Qt::endl;
    });
    QObject::connect(&sim, &VXSimulator::jobStarted, [&](int id) {
        const QList<VXSimJob> jobs = sim.jobs();
        for (const VXSimJob &job : jobs) {
            if (job.id != id)
                continue;
            for (const VXSimJob::ToolRun &run : job.tools)
                out << "vxsim: " << VxSim::tr("job %1: tool %2 cuts %3 mm").arg(id).arg(run.tool)
                                        .arg(run.pathLength / PlotReader::UnitsPerMm, 0, 'f', 1)
                    << Qt::endl;
        }
    });
    QObject::connect(&sim, &VXSimulator::jobFinished, [&](int id) {
        out << "vxsim: " << VxSim::tr("job %1 finished").arg(id) << Qt::endl;
    });
    QObject::connect(&sim, &VXSimulator::jobStopped, [&](int id) {
        out << "vxsim: " << VxSim::tr("job %1 stopped").arg(id) << Qt::endl;
    });
    QObject::connect(&sim, &VXSimulator::linkBack, [&] {
        out << "vxsim: " << VxSim::tr("accepting connections again") << Qt::endl;
        if (!sim.ptyPath().isEmpty())
            out << "vxsim: pseudo-terminal " << sim.ptyPath() << Qt::endl;
    });
    // One line per sheet: which plot the machine took for which code.
    QObject::connect(&sim, &VXSimulator::sheetDone, [&](int index) {
        const QList<VXSimSheet> all = sim.sheets();
        for (auto it = all.crbegin(); it != all.crend(); ++it) {
            if (it->index != index)
                continue;
            const QString code = it->code.isEmpty() ? QStringLiteral("?") : it->code;
            const QLocale here = ToolTranslator::locale();
            if (it->outcome == VXSimSheet::Cut)
                out << "vxsim: "
                    << VxSim::tr("sheet %1 code %2: cut plot %3 bytes %4 x %5 mm sha256 %6")
                           .arg(index).arg(code, here.toString(it->plotBytes), here.toString(it->width / 40),
                                           here.toString(it->height / 40), QString::fromLatin1(it->plotSha256));
            else
                out << "vxsim: " << VxSim::tr("sheet %1 code %2: skipped, %3").arg(index).arg(code, it->note);
            out << Qt::endl;
            break;
        }
    });
    QObject::connect(&sim, &VXSimulator::qrPlotIgnored, [&](const QString &why) {
        out << "vxsim: " << VxSim::tr("QR plot ignored: %1").arg(why) << Qt::endl;
    });
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
