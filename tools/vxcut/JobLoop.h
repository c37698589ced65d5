// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"

#include <functional>

class JobRunner;
struct Run;

// The part of a job every command that cuts shares: the runner set up from
// the options (reconnecting, the journal), its progress and reconnect
// attempts on the output, and the wait with Ctrl-C stopping the job (or
// the reconnect wait) cleanly.
namespace JobLoop {

// journal: whether the runner appends its own record (a resume writes one
// record for its parts itself).
void configure(Run &run, JobRunner &runner, bool journal = true);
// Waits for the job that start() handed over; the runner's failure.
Failure drive(Run &run, JobRunner &runner);
// The same wait over a run of several jobs on one runner: while busy(),
// Ctrl-C calls stop() once.
void wait(Run &run, JobRunner &runner, const std::function<bool()> &busy, const std::function<void()> &stop);
// "; 1 reconnect, link down 2.3 s" or empty.
QString outageNote(int reconnects, qint64 downMs);

}
