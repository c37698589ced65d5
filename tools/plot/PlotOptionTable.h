// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QString>

// The pipeline's options as rows hosts present as they like (command-line
// flags, form fields): the flag name, its argument (empty for a switch),
// help text, the default as text and the setter that checks the value.
namespace PlotOptionTable {

struct Row {
    const char *flag;     // "merge-overlaps", shown as --merge-overlaps
    const char *argument; // "MM"; nullptr for a switch
    const char *help;
    QString (*current)(const PlotOptions &);
    // false with *error set when the value is out of range or not a number.
    bool (*set)(PlotOptions &, const QString &value, QString *error);
};

const Row *rows(int *count);
const Row *find(const QString &flag);

} // namespace PlotOptionTable
