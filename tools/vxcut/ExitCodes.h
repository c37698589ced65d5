#pragma once

// Process exit codes; scripts rely on them, so values never change.
namespace ExitCode {
enum : int {
    Ok = 0,
    Failure = 1,          // anything without a code of its own
    Usage = 2,
    Plugin = 3,           // plugin not found or not loadable
    Refused = 4,          // connection refused / device could not be opened
    TimedOut = 5,         // no connection or no answer in time
    DeviceLost = 6,       // link lost or machine silent; during a job, with what was cut
    UnknownKey = 7,
    BadValue = 8,
    PlotFile = 9,         // unreadable or invalid plot file
    Rejected = 10,        // the machine refused a write or read back another value
    Cloud = 11,           // cloud registration or remote channel failed
    Interrupted = 130,    // Ctrl-C; a running job was stopped on the machine
};
}
