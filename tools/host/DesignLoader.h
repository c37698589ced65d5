// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotJob.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

// One design read and planned, as a window gets it back.
struct DesignLoad
{
    QString path;
    bool ok = false;
    // The caller cancelled: whatever the reader got to, nothing is to be shown.
    bool cancelled = false;
    QString error;      // PlotJob's, naming the file
    PlotJob job;
    PlotPlan plan;      // design only: the shaped cut is dropped
};

// PlotJob::load on a thread of its own, so a window stays live while a
// design of hundreds of megabytes is read, and can stop it: the reader
// checks the cancel flag inside its loops, so a cancel ends the load within
// a budget step, not at the end of the file. One load at a time: start()
// cancels the one under way and its result is never delivered. finished()
// comes through the event loop of the thread that owns the loader.
class DesignLoader : public QObject
{
    Q_OBJECT
public:
    explicit DesignLoader(QObject *parent = nullptr);
    // Cancels and waits: the load still refers to its flag.
    ~DesignLoader() override;

    void start(const QString &path, const PlotOptions &options);
    // The load ends soon and finished() reports it cancelled.
    void cancel();
    // The load ends soon and nothing is reported.
    void abandon();
    bool isBusy() const { return m_busy; }
    QString path() const { return m_path; }
    // The last finished load; move from it, a plan can be large.
    DesignLoad &result() { return m_result; }

    // The same load on the calling thread.
    static DesignLoad loadNow(const QString &path, const PlotOptions &options,
                              const std::atomic<bool> *cancel = nullptr);

signals:
    void finished();

private:
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_serial = 0;
    bool m_busy = false;
    QString m_path;
    DesignLoad m_result;
};
