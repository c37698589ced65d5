// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Await.h"
#include "DeviceSession.h"
#include "JobJournal.h"
#include "PlotJob.h"
#include "PluginHost.h"
#include "Profile.h"

#include <QStringList>
#include <QVariant>

#include <memory>

class Interrupt;
class Output;
class NimbraCloud;
struct Options;

// One vxcut run: the options, the output, and what the steps hand on (the
// plot, the checked values, the device session). Helpers here are the steps
// several commands share; each returns a Failure and prints nothing final.
struct Run
{
    Run(const Options &options, Output &out, Interrupt *interrupt);
    ~Run();

    const Options &options;
    Output &out;
    Interrupt *interrupt;
    Await await;

    PluginHost plugin;
    std::unique_ptr<DeviceSession> session;
    PlotJob job;
    QVariant quality;                   // invalid: leave the machine's
    QList<Profile::Entry> entries;      // set and settings apply
    JobJournal journal;                 // the path from the options
    QString tcp;                        // target; demo points it at its own machine
    QString remoteState;                // the remote channel's last text
    bool cloudRequired = false;         // demo: a cloud failure ends the run

    VXDeviceProperty *record(const QString &key) const { return session ? session->record(key) : nullptr; }
    // For loops that run outside the event loop (reading a design).
    const std::atomic<bool> *cancelFlag() const;
    bool cancelled() const;

    Failure loadDevice();
    Failure connect();
    // Reads the records; missing keys come back in missing, link loss and
    // Ctrl-C as the failure.
    Failure read(const QStringList &keys, QStringList *missing = nullptr);
    // Writes one value and waits for the machine's confirmation.
    Failure write(const Profile::Entry &entry, QJsonObject *event);
    // The failure for a wait that ended early: Ctrl-C, link loss or time-out.
    Failure waitFailure(const QString &what) const;

    Failure parseQuality();
    void applyQuality();
    Failure readInfo(bool show);
    Failure registerCloud(NimbraCloud *cloud, QString code);
    Failure openRemote();
};
