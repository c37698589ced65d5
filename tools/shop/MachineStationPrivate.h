// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

// The station's inside, shared by its source files: the link
// (MachineStation.cpp), a job from the queue (MachineStation_job.cpp), a
// nest from the queue (MachineStation_nest.cpp) and a job found under way
// or interrupted (MachineStation_resume.cpp).

#include "MachineStation.h"

#include "DesignLoader.h"
#include "DeviceSession.h"
#include "JobJournal.h"
#include "JobRecord.h"
#include "JobRunner.h"
#include "NestRun.h"
#include "NestSearchRun.h"
#include "PlotJob.h"
#include "ReconnectSchedule.h"
#include "Reconnector.h"
#include "ResumeRun.h"
#include "ShopQueue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <deque>
#include <optional>
#include <vector>

struct MachineStation::Private
{
    Q_DECLARE_TR_FUNCTIONS(MachineStation)

public:
    enum class Link { Connecting, Up, Reconnecting, Down };
    // What the station does with its entry (cur).
    enum class Work {
        Idle,
        Loading,    // the design read off this thread; the entry still queued
        Nesting,    // a nest searched off this thread; the entry still queued
        Cutting,    // the runner has it
        Asking,     // an entry found cutting: the machine's job report awaited
        Following,  // the machine cuts it on its own; its reports are followed
        Resuming,   // the resume has it
    };
    enum { MaxEvents = 20, MaxAsks = 3, MaxAutoResumes = 20 };

    Private(MachineStation *q, VXDeviceInterface *factory, ShopQueue &queue, int budgetMs);

    MachineStation *q;
    ShopQueue &queue;
    int budgetMs;
    // Declared first, gone last: everything below drives it.
    DeviceSession session;
    Reconnector reconnector;
    DesignLoader loader;
    std::unique_ptr<PlotJob> plot;          // what the runner cuts (it keeps a pointer)
    std::unique_ptr<JobRunner> runner;
    std::unique_ptr<ResumeRun> resume;
    std::unique_ptr<NestRun> nest;          // a nest's windows, cut one by one
    NestSearchRun search;
    QTimer retry;           // the next connect attempt, or the next reconnect round
    QTimer asking;          // the machine's answer to the job query
    QTimer rewriteLater;    // the next try at writing `unwritten`, or at reading the queue
    ReconnectSchedule connectSchedule;
    QElapsedTimer connectClock;
    Link link = Link::Connecting;
    Work work = Work::Idle;
    bool ready = false;     // identity and work area read since the link came up
    bool reading = false;   // that read is under way
    bool outageTold = false;
    MachineIdentity identity;
    WorkArea area;
    std::optional<ShopEntry> cur;
    JobRecord draft;        // cur's journal record: id set once it is in the journal
    bool stopAsked = false;
    bool proceedPending = false;
    int asks = 0;
    int autoResumes = 0;
    int remaining = -1;
    int writtenFinished = -1;
    int writtenPercent = -1;
    std::deque<QJsonObject> events;
    // Ended or held entries the queue file refused (a full disk): until they
    // are in it, the file still says queued or cutting, and going on would
    // take such an entry again (a cancelled job cut, a held one resumed).
    std::vector<ShopEntry> unwritten;

    ReconnectSchedule schedule() const;
    void event(const QString &text);
    void setLink(Link l);
    QString jobText() const;   // "job 12 a.svg"

    // MachineStation.cpp: the link.
    void connectTarget();
    void onLinkUp(bool up);
    void onLost(const Failure &why);
    void onConnectFailed(const Failure &why);
    void ensureLink();
    void startReconnect();
    void readInfo();
    bool driving() const;      // a runner or resume has the session
    bool onMachine() const;    // cur is on the machine and the link up
    // Sends a job-control record (pause, continue) to the job on the machine.
    bool control(const char *key, const QString &done, QString *error);
    void proceedLater();
    void proceed();

    // MachineStation_job.cpp: a job from the queue.
    void takeNext();
    // The queue could not be read: said on the card, tried again later.
    void queueUnread();
    void onLoaded();
    void watch(JobRunner &r);
    void onPlanned(const JobRecord &record);
    void onProgress(const QJsonObject &task, int remainingSeconds);
    void onRunnerEnded(JobRunner::State state);
    bool store(const ShopEntry &entry);
    // store(), or kept in `unwritten` when the file refuses it.
    bool keep(const ShopEntry &entry);
    // `unwritten` into the file; false (and a later try) while some is not.
    bool rewrite();
    // cur's end: the station is free again.
    void end(ShopEntry::State state, const QString &message, const QString &journalId);
    // Any entry's end, cur's or another's; the station's own work untouched.
    void finish(ShopEntry e, ShopEntry::State state, const QString &message, const QString &journalId);
    void append(JobRecord &record);

    // MachineStation_nest.cpp: a nest from the queue.
    void takeNest();
    // The window under way's record as far as it is known, with the nest's
    // facts its journal line will carry: what a restart follows it from.
    static JobRecord windowDraft(const JobRunner &runner, const NestRun &run);
    void onNested();
    void onNestEnded();
    bool nestAfterRestart(const JobRecord &window);

    // MachineStation_resume.cpp: an entry found cutting, or interrupted.
    void recover(const ShopEntry &entry);
    void ask();
    void decide(const JobReport &report);
    void onFollowReport(const JobReport &report);
    void settleFromReport(const JobReport &report, JobRunner::State verdict);
    Failure startResume(ResumePlan::Interrupted mode);
    void autoResume();
    void onResumeEnded();
    void waitForMachine(const QString &why);
    void hold(const QString &reason);
};
