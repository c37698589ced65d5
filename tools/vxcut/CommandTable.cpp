// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Command.h"

#include "Commands.h"
#include "ExitCodes.h"
#include "Options.h"
#include "Run.h"

#include <QCoreApplication>

namespace {

// name, usage, check (offline), needs the machine, prepare (with the device's records), run
const Command kCommands[] = {
    {"demo",     Demo::usage,     nullptr,         false, nullptr,           Demo::run},
    {"cut",      Cut::usage,      Cut::check,      true,  Cut::prepare,      Cut::run},
    {"plan",     Plan::usage,     Plan::check,     false, nullptr,           Plan::run},
    {"nest",     Nest::usage,     Nest::check,     false, nullptr,           Nest::run},
    {"resume",   Resume::usage,   Resume::check,   true,  nullptr,           Resume::run},
    {"history",  History::usage,  nullptr,         false, nullptr,           History::run},
    {"info",     Info::usage,     nullptr,         true,  nullptr,           Info::run},
    {"settings", Settings::usage, Settings::check, true,  Settings::prepare, Settings::run},
    {"get",      Get::usage,      Get::check,      true,  Get::prepare,      Get::run},
    {"set",      Set::usage,      Set::check,      true,  Set::prepare,      Set::run},
    {"jog",      Jog::usage,      Jog::check,      true,  nullptr,           Jog::run},
    {"qr",       Qr::usage,       Qr::check,       true,  nullptr,           Qr::run},
    {"ports",    Ports::usage,    nullptr,         false, nullptr,           Ports::run},
    {"serve",    Serve::usage,    nullptr,         false, nullptr,           Serve::run},
};

const char kOverview[] = QT_TRANSLATE_NOOP("Command",
    "Usage: vxcut COMMAND [options]\n\n"
    "Drives a conveyor-belt flatbed cutter through its device plugin.\n\n"
    "Commands:\n"
    "  demo       cut the sample on a simulated machine (no hardware needed)\n"
    "  cut FILE   cut a design file (HP-GL, SVG, DXF)\n"
    "  plan FILE  the cut's size, length, travel and plot text, without a machine\n"
    "  nest FILE...  place parts on a strip or sheets; the nest's plot text\n"
    "  resume     cut what is left of the last interrupted job\n"
    "  history    the job journal\n"
    "  info       machine identity\n"
    "  settings   list settings; settings dump|apply FILE\n"
    "  get KEY... read settings\n"
    "  set K=V... write settings with read-back\n"
    "  jog DIR    move the carriage\n"
    "  qr SOURCE  QR-code production: each sheet gets its code's design\n"
    "  ports      serial devices present\n"
    "  serve      the shop floor service: job queues, watch folders, a web page\n\n"
    "`vxcut COMMAND --help` describes one command.\n");

}

const Command *Command::find(const QString &name)
{
    for (const Command &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QStringList Command::names()
{
    QStringList names;
    for (const Command &c : kCommands)
        names << QLatin1String(c.name);
    return names;
}

QString Command::overview()
{
    return QCoreApplication::translate("Command", kOverview);
}

Outcome Command::execute(Run &run, const Command &command)
{
    // Everything that can be checked without the machine is checked first.
    if (command.check) {
        if (Failure f = command.check(run))
            return f;
    }
    if (command.needsDevice) {
        if (Failure f = run.loadDevice())
            return f;
        if (command.prepare) {
            if (Failure f = command.prepare(run))
                return f;
        }
        if (Failure f = run.connect())
            return f;
    }
    return command.run(run);
}
