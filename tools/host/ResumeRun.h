// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobRecord.h"
#include "JobRunner.h"
#include "NestRun.h"
#include "ResumeJob.h"

#include <QObject>
#include <QPointer>

class DeviceSession;
class JobJournal;

// One resume of the last interrupted job, the same for every host.
//
// prepare() works offline: the record, its file planned again with its
// options, the checks. start() then asks the machine, before anything is
// cut, who it is, how fast it cuts and what became of its job: a machine
// still at a job refuses the resume; one that reports this very job ended
// (it may have cut on, even finished, after the host lost the link) has the
// journal corrected to what it says, and only what is left after that is
// cut. The parts run on runner(): the rest of the interrupted copy, then
// the whole copies left; one record for both is appended at the end.
//
// A window of a nest cut along the strip resumes the nest: the rest of that
// window (or all of it when nothing of it was cut, or none of it but its
// feed when it is left out), then every later window, each journaled as the
// nest run journals them, and the operator's feed settings put back at the
// end. The windows come from the saved nest the record names, checked
// against the record's checksums.
class ResumeRun : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Idle, Asking, Rest, Whole, Ended };
    Q_ENUM(Stage)

    ResumeRun(DeviceSession &session, const JobJournal &journal, QObject *parent = nullptr);

    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule())
    {
        m_runner.setReconnect(on, schedule);
    }
    // See ResumeJob::find(); the job found stays for start().
    Failure prepare(ResumePlan::Interrupted mode, const PlotOptions &given = PlotOptions(),
                    const QStringList &flags = QStringList());
    const ResumeJob &job() const { return m_job; }
    // ResumeJob::find(), or for a nest window its saved nest (into nest).
    static Failure find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out, NestCut *nest,
                        const PlotOptions &given = PlotOptions(), const QStringList &flags = QStringList());
    // The nest being resumed; null for a plain job.
    const NestRun *nest() const { return m_nest.get(); }

    // False when nothing was prepared, a run is under way or the link is down.
    bool start();
    void stop();

    Stage stage() const { return m_stage; }
    bool isRunning() const { return m_stage != Stage::Idle && m_stage != Stage::Ended; }
    // The parts' runner: progress, reconnects, the state of the part under way.
    JobRunner &runner() { return m_runner; }
    // Set once ended; None when everything left was cut (or nothing was left).
    Failure failure() const { return m_failure; }
    // The resume's record as appended; empty id when no part was handed over.
    JobRecord record() const { return m_record; }
    // The record the machine's report corrected; empty id when none.
    JobRecord correction() const { return m_correction; }
    QString journalError() const { return m_journalError; }

signals:
    // The machine's report corrected the journal (appended as record).
    void corrected(const JobRecord &record);
    // A part goes to the machine: the rest (from the 0-based stroke) or whole copies.
    void partStarted(bool rest, int copies, int fromStroke);
    void warning(const QString &text);
    void finished();

private:
    void onAsked();
    Failure settle();
    Failure heardFromMachine(const MachineIdentity &here, JobRecord *fixed, bool *corrected);
    double speed(const char *key) const;
    void startPart(bool rest);
    void onPartEnded(JobRunner::State state);
    void end(const Failure &failure);
    bool append(JobRecord &record);
    static Failure findNest(const JobRecord &record, ResumePlan::Interrupted mode, ResumeJob *out, NestCut *nest);
    Failure settleNest();
    void startNest();

    DeviceSession &m_session;
    const JobJournal &m_journal;
    JobRunner m_runner;
    ResumeJob m_job;
    bool m_prepared = false;
    bool m_stopping = false;
    Stage m_stage = Stage::Idle;
    JobReport m_heard;          // the machine's answer to the job query
    PlotJob m_rest;
    int m_restStroke = 0;     // 0-based
    JobRecord m_record;
    JobRecord m_correction;
    Failure m_failure;
    QString m_journalError;
    NestCut m_nestCut;              // empty: a plain job
    std::unique_ptr<NestRun> m_nest;
    int m_nestFirst = 0;            // 1-based window the nest resumes at
};
