// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Command.h"

#include "Profile.h"

#include <QStringList>

#include <functional>

class QCommandLineOption;
class QCommandLineParser;
class VXDeviceProperty;
class SettingsRun;
struct Options;
struct PlotReport;
struct WorkArea;

// The steps of each command, one file each (commands/<name>.cpp); the table
// that names them is in CommandTable.cpp.
namespace Cut {
extern const char usage[];
Failure check(Run &run);
Failure prepare(Run &run);
Outcome run(Run &run);
}
namespace Plan {
extern const char usage[];
Failure check(Run &run);
Outcome run(Run &run);
// Reads the machine's work area and holds the placed design to it; warns
// when the machine does not tell it.
Failure fitWorkArea(Run &run, const PlotReport &report);
Failure readWorkArea(Run &run, WorkArea &area);
}
namespace Nest {
extern const char usage[];
Failure check(Run &run);
Outcome run(Run &run);
// Its own flags on the shared parser; given() lists those set as "name=value"
// (and --time), refusing them with any other command.
QList<QCommandLineOption> options();
bool given(const QCommandLineParser &parser, const QString &command, QStringList &out, QString &error);
// cut --nest: the parts and options checked offline, then the nest cut on
// the machine window by window.
bool cutting(const Options &options);
Failure checkCut(Run &run);
Outcome cut(Run &run);
}
namespace Demo {
extern const char usage[];
Outcome run(Run &run);
}
namespace Info {
extern const char usage[];
Outcome run(Run &run);
}
namespace Settings {
extern const char usage[];
Failure check(Run &run);
Failure prepare(Run &run);
Outcome run(Run &run);
}
namespace Get {
extern const char usage[];
Failure check(Run &run);
Failure prepare(Run &run);
Outcome run(Run &run);
}
namespace Set {
extern const char usage[];
Failure check(Run &run);
Failure prepare(Run &run);
Outcome run(Run &run);
// Writes each entry and reads it back; stops at the first that fails.
// A dropped link is reconnected and only what the machine lacks is written.
Outcome writeAll(Run &run, const QList<Profile::Entry> &entries);
// Sets the exchange up from the options (reconnecting, its budget, the
// attempts on the output), starts it and waits; Ctrl-C cancels it.
Failure drive(Run &run, SettingsRun &exchange, const std::function<void(SettingsRun &)> &start);
}
namespace Jog {
extern const char usage[];
Failure check(Run &run);
Outcome run(Run &run);
}
namespace Qr {
extern const char usage[];
Failure check(Run &run);
Outcome run(Run &run);
}
namespace Resume {
extern const char usage[];
Failure check(Run &run);
Outcome run(Run &run);
}
namespace History {
extern const char usage[];
Outcome run(Run &run);
}
namespace Ports {
extern const char usage[];
Outcome run(Run &run);
}
namespace Serve {
extern const char usage[];
Outcome run(Run &run);
}

// "value unit", or the value alone.
QString withUnit(const QString &value, const QString &unit);
