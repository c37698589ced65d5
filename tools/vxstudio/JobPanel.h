// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "JobRunner.h"
#include "PlotJob.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class PlotPreview;
class DeviceSession;

// A plot job: the file with its preview and facts, the copies, the job
// commands, and the progress the machine reports.
class JobPanel : public QWidget
{
    Q_OBJECT
public:
    explicit JobPanel(QWidget *parent = nullptr);

    // The plot stays loaded across devices; a job under way ends with its device.
    void setSession(DeviceSession *session);

    // The file checks, encoding and preview every host uses (PlotJob).
    bool loadPlot(const QString &fileName, QString *error = nullptr);
    bool hasPlot() const { return !m_job.text.isEmpty(); }
    bool isRunning() const { return m_running; }
    const PlotJob &plot() const { return m_job; }
    // Millimetres.
    double plotWidth() const { return m_job.widthMm; }
    double plotHeight() const { return m_job.heightMm; }
    double pathLength() const { return m_job.pathMm; }

    void setCopies(int copies);
    int copies() const;

public slots:
    void openPlot();
    void start();
    void pause();
    void resume();
    void stop();

signals:
    void logMessage(const QString &text);
    void jobFinished();

private:
    void sendWrite(const char *key);
    void setRunning(bool running);
    void onProgress(const QJsonObject &task);
    void onFinished(JobRunner::State state);

    QPointer<DeviceSession> m_session;
    QPointer<JobRunner> m_runner;
    PlotPreview *m_preview = nullptr;
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

    PlotJob m_job;
    bool m_running = false;
};
