// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <QString>

// Process exit codes; scripts rely on them, so values never change. The one
// table behind the mapping, `vxcut --help` and the README's list (a test
// holds the README against it).
struct ExitCodeRow
{
    int code;
    Failure::Kind kind;
    const char *meaning;    // null: shares the line of the code above
};

namespace ExitCode {
enum : int { Ok = 0, Failure = 1, Usage = 2, Interrupted = 130, Terminated = 143 };

const ExitCodeRow *table(int *count);
int of(Failure::Kind kind);
// "Exit codes:" and one line per code, as --help shows it.
QString help();
}
