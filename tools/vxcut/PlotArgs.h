// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// The pipeline's options on vxcut's command line, made from PlotOptionTable
// so `cut`, `plan` and their --help cannot drift apart: one flag per row,
// its argument and help as the table gives them.
namespace PlotArgs {

// The commands that read a design and take these options.
bool usedBy(const QString &command);
QList<QCommandLineOption> options();
// The options given, applied in table order; false with error
// ("--scale expects ...") on the first value a row refuses. any: whether
// one was given at all (a command without a design refuses them); given:
// their flags.
bool read(const QCommandLineParser &parser, PlotOptions &plot, QString &error, bool *any = nullptr,
          QStringList *given = nullptr);
// "Design options:" and one line per row, for --help.
QString help();

} // namespace PlotArgs
