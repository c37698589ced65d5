// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <QJsonObject>

struct Run;

// What a command hands back: the failure, or the fields of a successful result.
struct Outcome
{
    Failure failure;
    QJsonObject fields;

    Outcome(const Failure &f = Failure()) : failure(f) {}       // NOLINT: a failure is an outcome
    Outcome(const QJsonObject &f) : fields(f) {}                 // NOLINT: so is a result
};

// One row of vxcut's command table. The steps run in this order and the first
// failure ends the run; main writes the one result line.
struct Command
{
    const char *name;
    const char *usage;               // its `--help` text
    Failure (*check)(Run &);         // without the machine: arguments and files
    bool needsDevice;                // load the plugin, make a device object, connect
    Failure (*prepare)(Run &);       // with the device's records, before connecting
    Outcome (*run)(Run &);

    static const Command *find(const QString &name);
    static QStringList names();
    // The overview and the exit codes: `vxcut --help`.
    static QString overview();
    static Outcome execute(Run &run, const Command &command);
};
