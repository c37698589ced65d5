#pragma once

#include <QString>
#include <QVariant>

class Interrupt;
class NimbraCloud;
class Output;
class Session;
struct Options;

// One function per subcommand; each returns the process exit code after
// writing its result.
namespace Commands {

int run(const Options &options, Output &out, Interrupt *interrupt);

// Shared by cut and demo.
int connect(Session &session, Output &out, const Options &options);
int readInfo(Session &session, Output &out, bool show);
int registerCloud(Session &session, Output &out, NimbraCloud *cloud, const QString &code);
int openRemote(Session &session, Output &out);
// Checks --quality against the "WORK_MODE" record (0 when not given).
int parseQuality(Session &session, Output &out, const QString &text, QVariant &stored);
// Writes it before a job, so the work record names the quality cut with.
void applyQuality(Session &session, Output &out, const QVariant &stored);
// Lets requests under way (the work record) finish before the process ends.
void waitCloudIdle(Session &session, NimbraCloud *cloud);
// Exit code for a wait that did not finish: Ctrl-C, link loss or time-out.
int waitFailure(Session &session, Output &out, const QString &what);

}
