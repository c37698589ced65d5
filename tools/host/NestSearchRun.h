// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestSearch.h"
#include "PartList.h"

#include <QObject>

#include <atomic>
#include <memory>

// What a window asks to nest: the part files as the operator listed them,
// read with the design options, then searched as the request says (its
// parts are filled from the files).
struct NestSearchJob
{
    std::vector<PartRequest> files;
    PlotOptions plot;
    PartDefaults defaults;
    NestRequest request;
};

struct NestSearchResult
{
    bool ok = false;
    // The caller stopped it before any layout: nothing to show.
    bool cancelled = false;
    QString error;     // a file, a quantity or a piece the material cannot take, named
    std::vector<NestPart> parts;
    NestLayout layout;
};

// Reading the parts and the search on a thread of their own, so a window
// stays live for the whole search time and can stop it: the flag is checked
// inside the file readers and between layouts. A stop during the search
// keeps the best layout found so far (only a stop before the first layout
// leaves nothing). One search at a time: start() abandons the one under way,
// whose progress and result are never delivered. Signals come through the
// event loop of the thread that owns the runner.
class NestSearchRun : public QObject
{
    Q_OBJECT
public:
    explicit NestSearchRun(QObject *parent = nullptr);
    // Stops and waits: the search still refers to its flag.
    ~NestSearchRun() override;

    void start(const NestSearchJob &job);
    // The search ends soon; finished() reports what it had.
    void stop();
    bool isBusy() const { return m_busy; }
    // The last finished search; move from it, a nest can be large.
    NestSearchResult &result() { return m_result; }

    // The same on the calling thread.
    static NestSearchResult runNow(const NestSearchJob &job, const std::atomic<bool> *cancel = nullptr,
                                   const std::function<void(const NestProgress &)> &progress = {});

signals:
    void progress(const NestProgress &progress);
    void finished();

private:
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_serial = 0;
    bool m_busy = false;
    NestSearchResult m_result;
};

Q_DECLARE_METATYPE(NestProgress)
