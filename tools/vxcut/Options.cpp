// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Options.h"

#include "Command.h"
#include "Commands.h"
#include "ExitCodes.h"
#include "JobJournal.h"
#include "PlotArgs.h"
#include "ToolTranslator.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <QCommandLineParser>

namespace {

const char *const kCommon = QT_TRANSLATE_NOOP("Options",
    "Common options:\n"
    "  --tcp HOST[:PORT]   machine on the network (port 9100 by default)\n"
    "  --usb PATH          machine on a serial/USB device (see `vxcut ports`)\n"
    "  --plugin PATH       device plugin file (default: <appdir>/plugins,\n"
    "                      <appdir>/../lib/vxdevice/plugins, then the build tree)\n"
    "  --timeout SEC       connection and answer timeout (default 5)\n"
    "  --heartbeat SEC     heartbeat period; three missed answers with nothing\n"
    "                      else heard mean the machine is gone (default 2)\n"
    "  --journal PATH      job journal (default: VX_JOURNAL, else\n"
    "                      ~/.local/share/vxdevice/jobs.jsonl)\n"
    "  --json              one JSON event per line (link, progress, result, ...)\n"
    "  --verbose           show the device object's debug log\n"
    "  --lang CODE         language of the messages: zh_CN, ja_JP, en (default:\n"
    "                      the system's; --json output is the same in all)\n"
    "  --help              this text\n");

}

QString Options::usage(const QString &command)
{
    const Command *c = Command::find(command);
    QString usage = c ? QCoreApplication::translate("Command", c->usage) : Command::overview();
    if (c && PlotArgs::usedBy(command))
        usage += QLatin1Char('\n') + PlotArgs::help();
    return usage + QLatin1Char('\n') + tr(kCommon) + QLatin1Char('\n') + ExitCode::help();
}

bool Options::parse(const QStringList &argv, QString &error)
{
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption optJson(QStringLiteral("json"));
    const QCommandLineOption optHelp(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption optPlugin(QStringLiteral("plugin"), QString(), QStringLiteral("path"));
    const QCommandLineOption optTimeout(QStringLiteral("timeout"), QString(), QStringLiteral("sec"));
    const QCommandLineOption optTcp(QStringLiteral("tcp"), QString(), QStringLiteral("host"));
    const QCommandLineOption optUsb(QStringLiteral("usb"), QString(), QStringLiteral("path"));
    const QCommandLineOption optCopies(QStringLiteral("copies"), QString(), QStringLiteral("n"));
    const QCommandLineOption optCloud(QStringLiteral("cloud"), QString(), QStringLiteral("url"));
    const QCommandLineOption optWs(QStringLiteral("ws"), QString(), QStringLiteral("url"));
    const QCommandLineOption optCode(QStringLiteral("code"), QString(), QStringLiteral("code"));
    const QCommandLineOption optToken(QStringLiteral("token"), QString(), QStringLiteral("token"));
    const QCommandLineOption optTokenFile(QStringLiteral("token-file"), QString(), QStringLiteral("file"));
    const QCommandLineOption optTime(QStringLiteral("time"), QString(), QStringLiteral("ms"));
    const QCommandLineOption optSpeedup(QStringLiteral("speedup"), QString(), QStringLiteral("f"));
    const QCommandLineOption optHeartbeat(QStringLiteral("heartbeat"), QString(), QStringLiteral("sec"));
    const QCommandLineOption optVerbose(QStringLiteral("verbose"));
    const QCommandLineOption optQuality(QStringLiteral("quality"), QString(), QStringLiteral("q"));
    const QCommandLineOption optBudget(QStringLiteral("reconnect-budget"), QString(), QStringLiteral("sec"));
    const QCommandLineOption optNoReconnect(QStringLiteral("no-reconnect"));
    const QCommandLineOption optJournal(QStringLiteral("journal"), QString(), QStringLiteral("path"));
    const QCommandLineOption optYes(QStringLiteral("yes"));
    const QCommandLineOption optRecut(QStringLiteral("recut-interrupted"));
    const QCommandLineOption optSkip(QStringLiteral("skip-interrupted"));
    const QCommandLineOption optLast(QStringLiteral("last"), QString(), QStringLiteral("n"));
    const QCommandLineOption optOutput(QStringLiteral("output"), QString(), QStringLiteral("file"));
    p.addOptions({optJson, optHelp, optPlugin, optTimeout, optTcp, optUsb, optCopies, optCloud,
                  optWs, optCode, optToken, optTokenFile, optTime, optSpeedup, optHeartbeat, optVerbose, optQuality, optOutput});
    p.addOptions({optBudget, optNoReconnect, optJournal, optYes, optRecut, optSkip, optLast});
    const QCommandLineOption optCount(QStringLiteral("count"), QString(), QStringLiteral("n"));
    p.addOption(optCount);
    const QCommandLineOption optWorkArea(QStringLiteral("work-area"), QString(), QStringLiteral("wxh"));
    p.addOption(optWorkArea);
    p.addOptions(PlotArgs::options());
    p.addOptions(Nest::options());
    const QList<QCommandLineOption> serveOnly{
        {QStringLiteral("listen"), QString(), QStringLiteral("addr")},
        {QStringLiteral("machine"), QString(), QStringLiteral("name@target")},
        {QStringLiteral("config"), QString(), QStringLiteral("file")},
        {QStringLiteral("data"), QString(), QStringLiteral("dir")},
        {QStringLiteral("max-upload-mb"), QString(), QStringLiteral("n")}};
    p.addOptions(serveOnly);
    p.addOption(ToolTranslator::option());
    if (!p.parse(argv)) {
        error = p.errorText();
        return false;
    }
    json = p.isSet(optJson);
    verbose = p.isSet(optVerbose);
    quality = p.value(optQuality);
    help = p.isSet(optHelp);
    const QStringList positional = p.positionalArguments();
    command = positional.value(0);
    args = positional.mid(1);
    if (command == QLatin1String("help")) {
        help = true;
        command = args.value(0);
        args.clear();
    }
    if (help)
        return true;
    if (command.isEmpty()) {
        error = tr("no command given");
        return false;
    }
    if (!Command::find(command)) {
        error = tr("unknown command '%1'").arg(command);
        return false;
    }
    bool anyPlot = false;
    if (!PlotArgs::read(p, plot, error, &anyPlot, &plotFlags))
        return false;
    if (anyPlot && !PlotArgs::usedBy(command)) {
        error = tr("the design options go with cut, plan, qr, nest and resume, not %1").arg(command);
        return false;
    }
    if (!Nest::given(p, command, nest, error))
        return false;
    output = p.value(optOutput);
    if (p.isSet(optOutput) && command != QLatin1String("plan") && command != QLatin1String("nest")) {
        error = tr("--output goes with plan, not %1").arg(command);
        return false;
    }
    if (p.isSet(optWorkArea) && command != QLatin1String("plan")) {
        error = tr("--work-area goes with plan; %1 reads the machine's").arg(command);
        return false;
    }
    if (p.isSet(optWorkArea) && !WorkArea::parse(p.value(optWorkArea), workArea, error)) {
        error = QStringLiteral("--work-area: ") + error;
        return false;
    }
    for (const QCommandLineOption &o : serveOnly) {
        if (p.isSet(o) && command != QLatin1String("serve")) {
            error = tr("--%1 goes with serve, not %2").arg(o.names().constFirst(), command);
            return false;
        }
    }
    const bool serve = command == QLatin1String("serve");
    if (serve && !readServe(p, error))
        return false;
    plugin = p.value(optPlugin);
    tcp = p.value(optTcp);
    usb = p.value(optUsb);
    cloud = p.value(optCloud);
    ws = p.value(optWs);
    code = p.value(optCode);
    if (p.isSet(optToken) && p.isSet(optTokenFile)) {
        error = tr("give either --token or --token-file, not both");
        return false;
    }
    if (serve && p.isSet(optToken)) {
        error = tr("serve takes its token from --token-file only");
        return false;
    }
    if (serve) {
        tokenFile = p.value(optTokenFile);      // serve reads it with its config's
    } else if (p.isSet(optTokenFile)) {
        if (!readTokenFile(p.value(optTokenFile), token, error))
            return false;
    } else if (p.isSet(optToken)) {
        token = p.value(optToken);
        tokenOnCommandLine = true;
    } else {
        token = qEnvironmentVariable("VX_CLOUD_TOKEN");
    }
    bool ok = true;
    if (p.isSet(optTimeout)) {
        const double s = p.value(optTimeout).toDouble(&ok);
        if (!ok || s <= 0 || s > 3600) {
            error = tr("--timeout wants seconds between 0 and 3600");
            return false;
        }
        timeoutMs = int(s * 1000);
    }
    if (command == QLatin1String("demo"))
        copies = 2;
    if (p.isSet(optCopies)) {
        copies = p.value(optCopies).toInt(&ok);
        if (!ok || copies < 1 || copies > 9999) {
            error = tr("--copies wants a number from 1 to 9999");
            return false;
        }
    }
    if (p.isSet(optTime) && command != QLatin1String("nest") && !nest.contains(QStringLiteral("nest="))) {
        jogMs = p.value(optTime).toInt(&ok);
        if (!ok || jogMs < 0 || jogMs > 60000) {
            error = tr("--time wants milliseconds from 0 to 60000");
            return false;
        }
    }
    if (p.isSet(optSpeedup)) {
        speedup = p.value(optSpeedup).toDouble(&ok);
        if (!ok || speedup <= 0 || speedup > 1e6) {
            error = tr("--speedup wants a positive factor");
            return false;
        }
    }
    if (p.isSet(optHeartbeat)) {
        heartbeatSec = p.value(optHeartbeat).toDouble(&ok);
        // The device timer's floor is 0.2 s; below it the period would not be the one asked for.
        if (!ok || !(heartbeatSec >= 0.2 && heartbeatSec <= 60)) {
            error = tr("--heartbeat wants seconds from 0.2 to 60");
            return false;
        }
    }
    reconnect = !p.isSet(optNoReconnect);
    if (p.isSet(optBudget)) {
        const double s = p.value(optBudget).toDouble(&ok);
        if (!ok || s < 0 || s > 86400) {
            error = tr("--reconnect-budget wants seconds from 0 to 86400");
            return false;
        }
        reconnectBudgetMs = int(s * 1000);
    }
    journal = p.isSet(optJournal) ? p.value(optJournal) : qEnvironmentVariable("VX_JOURNAL");
    if (journal.isEmpty())
        journal = JobJournal::defaultPath();
    yes = p.isSet(optYes);
    recutInterrupted = p.isSet(optRecut);
    skipInterrupted = p.isSet(optSkip);
    if (recutInterrupted && skipInterrupted) {
        error = tr("give either --recut-interrupted or --skip-interrupted, not both");
        return false;
    }
    if (p.isSet(optLast)) {
        last = p.value(optLast).toInt(&ok);
        if (!ok || last < 1 || last > 100000) {
            error = tr("--last wants a number from 1 to 100000");
            return false;
        }
    }
    if (p.isSet(optCount)) {
        count = p.value(optCount).toInt(&ok);
        if (!ok || count < 1 || count > 1000000) {
            error = tr("--count wants a number of sheets from 1 to 1000000");
            return false;
        }
    }
    if (!tcp.isEmpty() && !usb.isEmpty()) {
        error = tr("give either --tcp or --usb, not both");
        return false;
    }
    const bool anyCloud = !cloud.isEmpty() || !ws.isEmpty() || !code.isEmpty();
    if (anyCloud && (cloud.isEmpty() || ws.isEmpty() || code.isEmpty())) {
        error = tr("--cloud, --ws and --code go together");
        return false;
    }
    return true;
}

bool Options::readServe(const QCommandLineParser &p, QString &error)
{
    listen = p.value(QStringLiteral("listen"));
    machines = p.values(QStringLiteral("machine"));
    shopConfig = p.value(QStringLiteral("config"));
    dataDir = p.value(QStringLiteral("data"));
    if (p.isSet(QStringLiteral("max-upload-mb"))) {
        bool ok = false;
        maxUploadMb = p.value(QStringLiteral("max-upload-mb")).toInt(&ok);
        if (!ok || maxUploadMb < 1 || maxUploadMb > 4096) {
            error = tr("--max-upload-mb wants a number from 1 to 4096");
            return false;
        }
    }
    if (!args.isEmpty()) {
        error = tr("serve takes no arguments; name the machines with --machine NAME@HOST:PORT");
        return false;
    }
    return true;
}

bool Options::readTokenFile(const QString &path, QString &token, QString &error)
{
    // Checked on the open descriptor, so the file judged is the file read.
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = tr("--token-file %1: %2").arg(path, f.errorString());
        return false;
    }
    struct stat st {};
    if (::fstat(f.handle(), &st) != 0 || !S_ISREG(st.st_mode)) {
        error = tr("--token-file %1 is not a regular file").arg(path);
        return false;
    }
    if (st.st_mode & (S_IRGRP | S_IROTH)) {
        error = tr("--token-file %1 is readable by other users (mode %2); "
                               "make it private first: chmod 600 %1")
                    .arg(path, QStringLiteral("%1").arg(st.st_mode & 0777, 3, 8, QLatin1Char('0')));
        return false;
    }
    // A token is one line; a large file is not one.
    token = QString::fromUtf8(f.read(4096)).trimmed();
    if (token.isEmpty() || token.contains(QLatin1Char('\n'))) {
        error = tr("--token-file %1 holds no single-line token").arg(path);
        return false;
    }
    return true;
}
