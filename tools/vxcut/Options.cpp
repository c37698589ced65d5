#include "Options.h"

#include <QCommandLineParser>

namespace {

const char *const kExitCodes =
    "Exit codes:\n"
    "  0    success\n"
    "  1    other failure\n"
    "  2    bad command line\n"
    "  3    device plugin not found or not loadable\n"
    "  4    connection refused / device could not be opened\n"
    "  5    no connection or no answer in time\n"
    "  6    device lost (during a job: what was cut so far is reported)\n"
    "  7    unknown key\n"
    "  8    bad value\n"
    "  9    unreadable or invalid plot file\n"
    "  10   the machine refused a write or kept another value\n"
    "  11   cloud registration or remote channel failed\n"
    "  130  interrupted (Ctrl-C); a running job is stopped on the machine first\n";

const char *const kCommon =
    "Common options:\n"
    "  --tcp HOST[:PORT]   machine on the network (port 9100 by default)\n"
    "  --usb PATH          machine on a serial/USB device (see `vxcut ports`)\n"
    "  --plugin PATH       device plugin file (default: <appdir>/plugins,\n"
    "                      <appdir>/../lib/vxdevice/plugins, then the build tree)\n"
    "  --timeout SEC       connection and answer timeout (default 5)\n"
    "  --heartbeat SEC     heartbeat period; three missed answers with nothing\n"
    "                      else heard mean the machine is gone (default 2)\n"
    "  --json              one JSON event per line (link, progress, result, ...)\n"
    "  --verbose           show the device object's debug log\n"
    "  --help              this text\n";

}

QStringList Options::commands()
{
    return {QStringLiteral("demo"), QStringLiteral("cut"), QStringLiteral("info"),
            QStringLiteral("settings"), QStringLiteral("get"), QStringLiteral("set"),
            QStringLiteral("jog"), QStringLiteral("ports")};
}

QString Options::usage(const QString &command)
{
    QString usage;
    if (command == QLatin1String("demo")) {
        usage = QStringLiteral(
            "Usage: vxcut demo [--copies N] [--json]\n\n"
            "Starts a simulated machine and a local cloud stand-in on free loopback\n"
            "ports, connects, reads the machine, registers it, opens the remote\n"
            "channel, cuts the bundled sample plot, stops the job and prints the\n"
            "work record as the cloud received it. Needs no hardware or network.\n"
            "  --copies N    copies to cut (default 2)\n"
            "  --quality Q   cutting quality, index or text as `vxcut settings` shows it\n"
            "  --speedup F   how much faster than real time the simulator cuts (default 50)\n");
    } else if (command == QLatin1String("cut")) {
        usage = QStringLiteral(
            "Usage: vxcut cut FILE --tcp HOST[:PORT] | --usb PATH [--copies N] [--quality Q]\n"
            "                [--cloud URL --ws URL --code CODE [--token T]]\n\n"
            "Cuts a plot file. Shows the plot's size, cut length and estimated time,\n"
            "then a progress bar with copies done and the remaining time. Ctrl-C\n"
            "stops the job on the machine. With --cloud the machine is registered\n"
            "and the work record is posted when the job ends.\n");
    } else if (command == QLatin1String("info")) {
        usage = QStringLiteral("Usage: vxcut info --tcp HOST[:PORT] | --usb PATH\n\n"
                               "Reads the machine's identity (model, numbers, firmware, unique id).\n");
    } else if (command == QLatin1String("settings")) {
        usage = QStringLiteral(
            "Usage: vxcut settings            --tcp ... | --usb ...\n"
            "       vxcut settings dump FILE  --tcp ... | --usb ...\n"
            "       vxcut settings apply FILE --tcp ... | --usb ...\n\n"
            "Without a subcommand: every user and system setting with its label,\n"
            "value and unit, in the user's language.\n"
            "dump: writes the user settings to a readable profile file.\n"
            "apply: checks the file, shows what would change, writes the changes\n"
            "and reads every written value back.\n");
    } else if (command == QLatin1String("get")) {
        usage = QStringLiteral("Usage: vxcut get KEY... --tcp ... | --usb ...\n\n"
                               "Reads settings by key (as `vxcut settings --json` lists them).\n");
    } else if (command == QLatin1String("set")) {
        usage = QStringLiteral(
            "Usage: vxcut set KEY=VALUE... --tcp ... | --usb ...\n\n"
            "Writes settings, values in the units the settings list shows (combo\n"
            "settings take the index or the option text), reads each one back and\n"
            "reports the machine's write status. Every value is checked before any\n"
            "is written.\n");
    } else if (command == QLatin1String("jog")) {
        usage = QStringLiteral(
            "Usage: vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...\n\n"
            "Moves the carriage for MS milliseconds (default 500) then stops it;\n"
            "origin sets the origin here, home returns to it.\n");
    } else if (command == QLatin1String("ports")) {
        usage = QStringLiteral("Usage: vxcut ports [--json]\n\nLists the serial devices present.\n");
    } else {
        usage = QStringLiteral(
            "Usage: vxcut COMMAND [options]\n\n"
            "Drives a conveyor-belt flatbed cutter through its device plugin.\n\n"
            "Commands:\n"
            "  demo       cut the sample on a simulated machine (no hardware needed)\n"
            "  cut FILE   cut a plot file\n"
            "  info       machine identity\n"
            "  settings   list settings; settings dump|apply FILE\n"
            "  get KEY... read settings\n"
            "  set K=V... write settings with read-back\n"
            "  jog DIR    move the carriage\n"
            "  ports      serial devices present\n\n"
            "`vxcut COMMAND --help` describes one command.\n");
    }
    return usage + QLatin1Char('\n') + QLatin1String(kCommon) + QLatin1Char('\n') + QLatin1String(kExitCodes);
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
    const QCommandLineOption optTime(QStringLiteral("time"), QString(), QStringLiteral("ms"));
    const QCommandLineOption optSpeedup(QStringLiteral("speedup"), QString(), QStringLiteral("f"));
    const QCommandLineOption optHeartbeat(QStringLiteral("heartbeat"), QString(), QStringLiteral("sec"));
    const QCommandLineOption optVerbose(QStringLiteral("verbose"));
    const QCommandLineOption optQuality(QStringLiteral("quality"), QString(), QStringLiteral("q"));
    p.addOptions({optJson, optHelp, optPlugin, optTimeout, optTcp, optUsb, optCopies, optCloud,
                  optWs, optCode, optToken, optTime, optSpeedup, optHeartbeat, optVerbose, optQuality});
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
        error = QStringLiteral("no command given");
        return false;
    }
    if (!commands().contains(command)) {
        error = QStringLiteral("unknown command '%1'").arg(command);
        return false;
    }
    plugin = p.value(optPlugin);
    tcp = p.value(optTcp);
    usb = p.value(optUsb);
    cloud = p.value(optCloud);
    ws = p.value(optWs);
    code = p.value(optCode);
    token = p.value(optToken);
    bool ok = true;
    if (p.isSet(optTimeout)) {
        const double s = p.value(optTimeout).toDouble(&ok);
        if (!ok || s <= 0 || s > 3600) {
            error = QStringLiteral("--timeout wants seconds between 0 and 3600");
            return false;
        }
        timeoutMs = int(s * 1000);
    }
    if (command == QLatin1String("demo"))
        copies = 2;
    if (p.isSet(optCopies)) {
        copies = p.value(optCopies).toInt(&ok);
        if (!ok || copies < 1 || copies > 9999) {
            error = QStringLiteral("--copies wants a number from 1 to 9999");
            return false;
        }
    }
    if (p.isSet(optTime)) {
        jogMs = p.value(optTime).toInt(&ok);
        if (!ok || jogMs < 0 || jogMs > 60000) {
            error = QStringLiteral("--time wants milliseconds from 0 to 60000");
            return false;
        }
    }
    if (p.isSet(optSpeedup)) {
        speedup = p.value(optSpeedup).toDouble(&ok);
        if (!ok || speedup <= 0 || speedup > 1e6) {
            error = QStringLiteral("--speedup wants a positive factor");
            return false;
        }
    }
    if (p.isSet(optHeartbeat)) {
        heartbeatSec = p.value(optHeartbeat).toInt(&ok);
        if (!ok || heartbeatSec < 1 || heartbeatSec > 60) {
            error = QStringLiteral("--heartbeat wants whole seconds from 1 to 60");
            return false;
        }
    }
    if (!tcp.isEmpty() && !usb.isEmpty()) {
        error = QStringLiteral("give either --tcp or --usb, not both");
        return false;
    }
    const bool anyCloud = !cloud.isEmpty() || !ws.isEmpty() || !code.isEmpty();
    if (anyCloud && (cloud.isEmpty() || ws.isEmpty() || code.isEmpty())) {
        error = QStringLiteral("--cloud, --ws and --code go together");
        return false;
    }
    return true;
}
