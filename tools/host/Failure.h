// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QJsonObject>
#include <QString>

// What went wrong, handed back to the presenter instead of printed: a kind the
// presenter maps (vxcut to an exit code, vxstudio to a message), the sentence a
// person reads, and the facts a script reads (what was cut so far, ...).
// A default-constructed Failure is no failure.
struct Failure
{
    enum Kind {
        None,
        Other,
        Usage,          // the request itself is malformed (a bad host:port)
        Plugin,         // plugin not found, not loadable, or makes no device
        Refused,        // connection refused, device could not be opened
        TimedOut,       // no connection or no answer in time
        DeviceLost,     // link lost or the machine fell silent
        UnknownKey,
        BadValue,
        PlotFile,       // unreadable or invalid plot file
        Rejected,       // the machine refused a write or kept another value
        Cloud,          // registration or remote channel failed
        Interrupted,    // the user asked to stop
        JobStopped,     // the machine stopped the job before its last copy
        JobRefused,     // the machine could not cut the plot
    };

    Kind kind = None;
    QString message;
    QJsonObject facts;

    Failure() = default;
    Failure(Kind k, const QString &text, const QJsonObject &f = QJsonObject())
        : kind(k), message(text), facts(f) {}

    bool failed() const { return kind != None; }
    explicit operator bool() const { return failed(); }
};
