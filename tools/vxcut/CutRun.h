#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>

class Output;
class Session;
struct PlotJob;

// One plot job from hand-over to stop: file facts and preview into their
// records, setPlt, copies, startTask, a progress line per job report, and
// stopTask once the machine reports every copy done (which posts the work
// record). Ctrl-C stops the job on the machine first.
class CutRun : public QObject
{
    Q_OBJECT
public:
    CutRun(Session &session, Output &out, QObject *parent = nullptr);

    // Returns the exit code; the result line is written.
    int run(const PlotJob &job, int copies);

    QJsonObject lastTask() const { return m_task; }

private:
    void onReport(const QString &item);
    int remainingSeconds() const;
    QJsonObject summary() const;
    bool jobDone() const;
    bool endedEarly() const;

    // Job status numbers of field 1 that end a job before its last copy.
    static constexpr int StatusStopped = 4;
    static constexpr int StatusFailed = 5;

    Session &m_session;
    Output &m_out;
    QJsonObject m_task;         // fields as the Runtime snapshot names them
    int m_copies = 1;
    int m_estimate = -1;
    bool m_started = false;     // the machine reported the job at least once
    int m_reports = 0;
    QElapsedTimer m_clock;      // since startTask
    QElapsedTimer m_lastReport;
};
