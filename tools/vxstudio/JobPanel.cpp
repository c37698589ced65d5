// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobPanel.h"

#include "DeviceSession.h"
#include "PlotPreview.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>


JobPanel::JobPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QGroupBox(tr("Job"), this);
    m_preview = new PlotPreview(box);
    m_preview->setObjectName(QStringLiteral("plotPreview"));

    m_file = new QLabel(tr("No plot loaded"), box);
    m_file->setObjectName(QStringLiteral("plotFile"));
    m_size = new QLabel(QStringLiteral("–"), box);
    m_size->setObjectName(QStringLiteral("plotSize"));
    m_length = new QLabel(QStringLiteral("–"), box);
    m_length->setObjectName(QStringLiteral("plotLength"));
    auto *facts = new QGridLayout;
    facts->addWidget(new QLabel(tr("File"), box), 0, 0);
    facts->addWidget(m_file, 0, 1);
    facts->addWidget(new QLabel(tr("Size"), box), 1, 0);
    facts->addWidget(m_size, 1, 1);
    facts->addWidget(new QLabel(tr("Cut length"), box), 2, 0);
    facts->addWidget(m_length, 2, 1);
    facts->setColumnStretch(1, 1);

    m_open = new QPushButton(tr("Open plot…"), box);
    m_open->setObjectName(QStringLiteral("openPlot"));
    m_copies = new QSpinBox(box);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 9999);
    m_copies->setPrefix(tr("Copies: "));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_open);
    fileRow->addWidget(m_copies);
    fileRow->addStretch(1);

    m_start = new QPushButton(tr("Start"), box);
    m_start->setObjectName(QStringLiteral("startJob"));
    m_pause = new QPushButton(tr("Pause"), box);
    m_pause->setObjectName(QStringLiteral("pauseJob"));
    m_resume = new QPushButton(tr("Resume"), box);
    m_resume->setObjectName(QStringLiteral("resumeJob"));
    m_stop = new QPushButton(tr("Stop"), box);
    m_stop->setObjectName(QStringLiteral("stopJob"));
    auto *controlRow = new QHBoxLayout;
    controlRow->addWidget(m_start);
    controlRow->addWidget(m_pause);
    controlRow->addWidget(m_resume);
    controlRow->addWidget(m_stop);

    m_progress = new QProgressBar(box);
    m_progress->setObjectName(QStringLiteral("jobProgress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_done = new QLabel(box);
    m_done->setObjectName(QStringLiteral("copiesDone"));
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_done);

    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_preview, 1);
    boxLayout->addLayout(facts);
    boxLayout->addLayout(fileRow);
    boxLayout->addLayout(controlRow);
    boxLayout->addLayout(progressRow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);

    connect(m_open, &QPushButton::clicked, this, &JobPanel::openPlot);
    connect(m_start, &QPushButton::clicked, this, &JobPanel::start);
    connect(m_pause, &QPushButton::clicked, this, &JobPanel::pause);
    connect(m_resume, &QPushButton::clicked, this, &JobPanel::resume);
    connect(m_stop, &QPushButton::clicked, this, &JobPanel::stop);
    setSession(nullptr);
}

void JobPanel::setSession(DeviceSession *session)
{
    delete m_runner.data();
    m_session = session;
    if (session) {
        m_runner = new JobRunner(*session, this);
        connect(m_runner, &JobRunner::progress, this, &JobPanel::onProgress);
        connect(m_runner, &JobRunner::finished, this, &JobPanel::onFinished);
    }
    setRunning(false);
}

void JobPanel::setRunning(bool running)
{
    m_running = running;
    const bool device = m_session && m_session->device();
    m_start->setEnabled(device && hasPlot() && !running);
    m_open->setEnabled(!running);
    m_copies->setEnabled(!running);
    // Pause, resume and stop stay offered whenever there is a machine: a job
    // may be running that this window did not start.
    m_pause->setEnabled(device);
    m_resume->setEnabled(device);
    m_stop->setEnabled(device);
}

void JobPanel::setCopies(int copies)
{
    m_copies->setValue(copies);
}

int JobPanel::copies() const
{
    return m_copies->value();
}

bool JobPanel::loadPlot(const QString &fileName, QString *error)
{
    if (m_running) {
        if (error)
            *error = tr("A job is under way.");
        return false;
    }
    PlotJob job;
    QString why;
    if (!job.load(fileName, why)) {
        if (error)
            *error = why;
        return false;
    }
    m_job = job;
    m_preview->setPaths(m_job.paths);
    m_file->setText(m_job.fileName);
    m_file->setToolTip(fileName);
    m_size->setText(tr("%1 × %2 mm").arg(m_job.widthMm, 0, 'f', 1).arg(m_job.heightMm, 0, 'f', 1));
    m_length->setText(tr("%1 mm").arg(m_job.pathMm, 0, 'f', 1));
    m_progress->setValue(0);
    m_done->clear();
    setRunning(m_running);
    emit logMessage(tr("Plot %1 loaded: %2, cut length %3.")
                    .arg(m_job.fileName, m_size->text(), m_length->text()));
    return true;
}

void JobPanel::openPlot()
{
    const QString fileName = QFileDialog::getOpenFileName(
            this, tr("Open plot"), QString(), tr("Plot files (*.plt *.hpgl *.hpg);;All files (*)"));
    if (fileName.isEmpty())
        return;
    QString error;
    if (!loadPlot(fileName, &error))
        emit logMessage(tr("Cannot open the plot: %1").arg(error));
}

void JobPanel::start()
{
    if (!m_runner || !hasPlot() || m_running)
        return;
    // Frames offered while the link is down vanish without trace: a job
    // started then would never report.
    if (!m_runner->start(m_job, m_copies->value())) {
        emit logMessage(tr("Not connected: the job was not started."));
        return;
    }
    m_progress->setValue(0);
    m_done->setText(tr("%1 / %2").arg(0).arg(m_copies->value()));
    setRunning(true);
    emit logMessage(tr("Job started: %1, %n copies.", nullptr, m_copies->value()).arg(m_job.fileName));
}

void JobPanel::sendWrite(const char *key)
{
    if (m_session)
        m_session->send(key);
}

void JobPanel::pause()
{
    sendWrite("TASK_PAUSE");
    emit logMessage(tr("Job paused."));
}

void JobPanel::resume()
{
    sendWrite("TASK_RESUME");
    emit logMessage(tr("Job resumed."));
}

void JobPanel::stop()
{
    if (!m_session)
        return;
    if (m_runner && m_runner->isRunning()) {
        // The runner sends the stop and closes the job once the machine confirms.
        m_runner->stop();
        emit logMessage(tr("Stopping the job…"));
        return;
    }
    // A job this window did not start: stop it on the machine all the same.
    sendWrite("TASK_STOP");
    if (m_session->device())
        m_session->device()->stopTask();
    emit logMessage(tr("Job stopped."));
}

void JobPanel::onProgress(const QJsonObject &task)
{
    m_progress->setValue(qBound(0, task.value(QStringLiteral("Percent")).toInt(), 100));
    m_done->setText(tr("%1 / %2").arg(task.value(QStringLiteral("Finished")).toInt())
                    .arg(task.value(QStringLiteral("TaskCopies")).toInt()));
}

void JobPanel::onFinished(JobRunner::State state)
{
    setRunning(false);
    const QJsonObject task = m_runner->task();
    if (state == JobRunner::State::Finished)
        emit logMessage(tr("Job finished: %1 of %2 copies.")
                        .arg(task.value(QStringLiteral("Finished")).toInt())
                        .arg(task.value(QStringLiteral("TaskCopies")).toInt()));
    else
        emit logMessage(tr("Job ended: %1").arg(m_runner->failure().message));
    emit jobFinished();
}
