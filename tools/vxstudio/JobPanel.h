// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DesignView.h"
#include "JobJournal.h"
#include "JobRunner.h"
#include "PlotJob.h"
#include "PlotOptionsPanel.h"
#include "ResumeRun.h"
#include "ToolsPanel.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class DesignLoader;
struct DesignLoad;
class DeviceSession;

// A plot job: the file with its preview and facts, the copies, the job
// commands, and the progress the machine reports. A view of the host
// library's runs: the job runner for a cut, the resume run for the rest of
// the last interrupted job; what they decide is theirs. A dropped link
// during a job is reconnected under it (the runs outlive the device object
// the reconnect renews). Start waits while the design does not fit the
// machine's work area, and says why.
class JobPanel : public QWidget
{
    Q_OBJECT
public:
    explicit JobPanel(QWidget *parent = nullptr);
    // Deletes the view and the option panels the window did not take.
    ~JobPanel() override;

    // The plot stays loaded across devices; a job under way ends with its device.
    void setSession(DeviceSession *session);

    // The file checks, pipeline and preview every host uses (PlotJob), with
    // the options panel's options and the reader's tools, on this thread.
    bool loadPlot(const QString &fileName, QString *error = nullptr);
    // The same off this thread (DesignLoader): the window stays live, shows
    // it is loading and can cancel; the design shown stays until the new
    // one is read. Errors go to logMessage. A change of options or tools
    // plans the file again the same way.
    void openPlotFile(const QString &fileName);
    bool isLoading() const;
    void cancelLoad();
    DesignView *designView() const { return m_preview; }
    PlotOptionsPanel *optionsPanel() const { return m_options; }
    ToolsPanel *toolsPanel() const { return m_tools; }
    bool hasPlot() const { return !m_job.text.isEmpty(); }
    bool isRunning() const { return m_running; }
    const PlotJob &plot() const { return m_job; }
    // Millimetres.
    double plotWidth() const { return m_job.widthMm; }
    double plotHeight() const { return m_job.heightMm; }
    double pathLength() const { return m_job.pathMm; }

    void setCopies(int copies);
    int copies() const;

    // VX_JOURNAL or the user's data folder by default.
    void setJournalPath(const QString &path) { m_journal.setPath(path); }
    QString journalPath() const { return m_journal.path(); }
    bool isReconnecting() const;
    // The plan for the last interrupted job, for the confirmation; false
    // with the reason when there is nothing to resume.
    bool resumeOffer(ResumePlan::Interrupted mode, QString *text);
    // Cuts what the plan leaves (no question asked: the caller confirmed).
    bool startResume(ResumePlan::Interrupted mode, QString *error = nullptr);
    bool isResuming() const { return m_resumeRun && m_resumeRun->isRunning(); }
    ResumeRun *resumeRun() const { return m_resumeRun; }
    // Why Start waits (the design does not fit the work area); empty when it need not.
    QString startBlocked() const;

public slots:
    void openPlot();
    void start();
    void pause();
    void resume();
    void stop();
    // Asks, then resumes the last interrupted job.
    void resumeInterrupted();

signals:
    void logMessage(const QString &text);
    void jobFinished();
    // Attempt n; 0: the same machine is back; -1: the job ended while reconnecting.
    void reconnecting(int attempt);

private:
    void sendWrite(const char *key);
    void setRunning(bool running);
    void buildLayout();
    void onProgress(const QJsonObject &task, int remainingSeconds);
    void onFinished(JobRunner::State state);
    void makeRunner(DeviceSession *session);
    void watchRunner(JobRunner *runner);
    void onResumeFinished();
    void showWorkArea();
    void startLoad(const QString &path, bool fresh);
    void replan();
    void onLoaded();
    void showLoading();
    void showPlot(DesignLoad &load, bool fresh);
    void watchWorkArea(DeviceSession *session);

    QPointer<DeviceSession> m_session;
    QPointer<JobRunner> m_runner;
    QPointer<DesignView> m_preview;
    QPointer<PlotOptionsPanel> m_options;
    QPointer<ToolsPanel> m_tools;
    DesignLoader *m_loader = nullptr;
    bool m_loadFresh = true;   // a new file: the tool choices start again
    QLabel *m_loading = nullptr;
    QPushButton *m_cancelLoad = nullptr;
    QLabel *m_file = nullptr;
    QLabel *m_size = nullptr;
    QLabel *m_length = nullptr;
    QSpinBox *m_copies = nullptr;
    QPushButton *m_open = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_resume = nullptr;
    QPushButton *m_stop = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_done = nullptr;
    QLabel *m_remaining = nullptr;
    QPushButton *m_resumeLast = nullptr;
    QLabel *m_fit = nullptr;

    PlotJob m_job;
    bool m_running = false;
    JobJournal m_journal;
    QPointer<ResumeRun> m_resumeRun;
};
