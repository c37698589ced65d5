// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobPanel.h"

#include "Counted.h"

#include "DeviceSession.h"
#include "DesignLoader.h"
#include "DesignView.h"
#include "PlotOptionsPanel.h"
#include "ToolsPanel.h"
#include "WorkArea.h"
#include "interface/VXDeviceInterface.h"
#include "property/RecordAnswer.h"
#include "property/VXDeviceProperty.h"

#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QString copiesDone(int finished, int copies)
{
    return JobPanel::tr("%1 / %2").arg(QLocale().toString(finished), QLocale().toString(copies));
}

// As vxcut's bar shows it: m:ss, or h:mm:ss past the hour.
QString timeLeft(int seconds)
{
    if (seconds < 0)
        return QString();
    const QString clock = seconds >= 3600
            ? QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                      .arg(seconds % 60, 2, 10, QLatin1Char('0'))
            : QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return JobPanel::tr("%1 left").arg(clock);
}
} // namespace

JobPanel::JobPanel(QWidget *parent)
    : QWidget(parent)
{
    // The window places the view and the option panels where it likes;
    // until then (and if it never does) the panel owns them.
    m_preview = new DesignView;
    m_preview->setObjectName(QStringLiteral("plotPreview"));
    m_options = new PlotOptionsPanel;
    m_options->setObjectName(QStringLiteral("plotOptions"));
    m_tools = new ToolsPanel;
    m_tools->setObjectName(QStringLiteral("plotTools"));
    buildLayout();

    connect(m_open, &QPushButton::clicked, this, &JobPanel::openPlot);
    connect(m_start, &QPushButton::clicked, this, &JobPanel::start);
    connect(m_pause, &QPushButton::clicked, this, &JobPanel::pause);
    connect(m_resume, &QPushButton::clicked, this, &JobPanel::resume);
    connect(m_stop, &QPushButton::clicked, this, &JobPanel::stop);
    connect(m_resumeLast, &QPushButton::clicked, this, &JobPanel::resumeInterrupted);
    m_journal.setPath(JobJournal::configuredPath());
    m_loader = new DesignLoader(this);
    connect(m_loader, &DesignLoader::finished, this, &JobPanel::onLoaded);
    connect(m_cancelLoad, &QPushButton::clicked, this, &JobPanel::cancelLoad);
    connect(m_options, &PlotOptionsPanel::optionsChanged, this, &JobPanel::replan);
    connect(m_tools, &ToolsPanel::toolsChanged, this, &JobPanel::replan);
    showLoading();
    setSession(nullptr);
}

JobPanel::~JobPanel()
{
    for (QWidget *w : {static_cast<QWidget *>(m_preview.data()), static_cast<QWidget *>(m_options.data()),
                       static_cast<QWidget *>(m_tools.data())}) {
        if (w && !w->parent())
            delete w;
    }
}

// The work area's records belong to the device object, which a
// reconnect renews.
void JobPanel::watchWorkArea(DeviceSession *session)
{
    for (const char *key : {"WORKAREA_X", "WORKAREA_Y"}) {
        if (VXDeviceProperty *p = session->record(QLatin1String(key))) {
            connect(p, &VXDeviceProperty::valueChanged, this, &JobPanel::showWorkArea, Qt::UniqueConnection);
            // The machine's answer is stored without valueChanged().
            connect(VXRecordAnswer::of(p), &VXRecordAnswer::answered, this, &JobPanel::showWorkArea,
                    Qt::UniqueConnection);
        }
    }
}

void JobPanel::setSession(DeviceSession *session)
{
    // A reconnect renews the device object under the job: the runner works
    // on the session, which stays, so it stays too.
    if (isReconnecting()) {
        if (session) {
            m_session = session;
            watchWorkArea(session);
        }
        return;
    }
    delete m_runner.data();
    delete m_resumeRun.data();
    m_session = session;
    if (session) {
        makeRunner(session);
        watchWorkArea(session);
    }
    showWorkArea();
    setRunning(false);
}

void JobPanel::makeRunner(DeviceSession *session)
{
    m_runner = new JobRunner(*session, this);
    m_runner->setReconnect(true);
    m_runner->setJournal(&m_journal);
    watchRunner(m_runner);
    connect(m_runner, &JobRunner::finished, this, &JobPanel::onFinished);
    m_resumeRun = new ResumeRun(*session, m_journal, this);
    m_resumeRun->setReconnect(true);
    watchRunner(&m_resumeRun->runner());
    connect(m_resumeRun, &ResumeRun::finished, this, &JobPanel::onResumeFinished);
    connect(m_resumeRun, &ResumeRun::warning, this, &JobPanel::logMessage);
    connect(m_resumeRun, &ResumeRun::corrected, this, [this](const JobRecord &r) {
        emit logMessage(tr("The machine reports %1 of %2 copies finished; the journal is corrected.")
                        .arg(QLocale().toString(r.finished), QLocale().toString(r.copies)));
    });
    connect(m_resumeRun, &ResumeRun::partStarted, this, [this](bool rest, int copies, int stroke) {
        m_progress->setValue(0);
        m_done->setText(copiesDone(0, copies));
        emit logMessage(rest ? tr("Resume: cutting the rest of copy %1 from stroke %2.")
                                   .arg(QLocale().toString(m_resumeRun->job().from.finished + 1), QLocale().toString(stroke + 1))
                             : tr("Resume: cutting %1 whole.").arg(Counted::copies(copies)));
    });
}

void JobPanel::watchRunner(JobRunner *runner)
{
    connect(runner, &JobRunner::progress, this, &JobPanel::onProgress);
    connect(runner, &JobRunner::planned, this, [this](int seconds) { m_remaining->setText(timeLeft(seconds)); });
    connect(runner, &JobRunner::reconnecting, this, [this](int attempt) {
        m_progress->setFormat(tr("Reconnecting (attempt %1)…").arg(QLocale().toString(attempt)));
        if (attempt == 1)
            emit logMessage(tr("Link lost during the job; reconnecting."));
        emit reconnecting(attempt);
    });
    connect(runner, &JobRunner::reconnected, this, [this, runner] {
        m_progress->setFormat(QStringLiteral("%p%"));
        emit logMessage(tr("Reconnected to %1 after %2 s; reading the job state.")
                        .arg(runner->identity().text(), QLocale().toString(runner->linkDownMs() / 1000.0, 'f', 1)));
        emit reconnecting(0);
    });
}

bool JobPanel::isReconnecting() const
{
    return (m_runner && m_runner->state() == JobRunner::State::Reconnecting)
           || (m_resumeRun && m_resumeRun->runner().state() == JobRunner::State::Reconnecting);
}

QString JobPanel::startBlocked() const
{
    if (!hasPlot() || !m_session)
        return QString();
    return WorkArea::of(m_session->device()).check(m_job.report, m_job.options.placement.margin).message;
}

void JobPanel::setRunning(bool running)
{
    m_running = running;
    const bool device = m_session && m_session->device();
    // A plan under way would change the plot under the job.
    const QString blocked = startBlocked();
    m_start->setEnabled(device && hasPlot() && !running && !isLoading() && blocked.isEmpty());
    m_start->setToolTip(blocked);
    m_fit->setText(blocked.isEmpty() ? QString() : tr("Start waits: %1.").arg(blocked));
    m_fit->setVisible(!blocked.isEmpty());
    m_open->setEnabled(!running);
    m_copies->setEnabled(!running);
    // The job under way was planned with the options shown.
    m_options->setEnabled(!running);
    m_tools->setEnabled(!running);
    // Pause, resume and stop stay offered whenever there is a machine: a job
    // may be running that this window did not start.
    m_pause->setEnabled(device);
    m_resume->setEnabled(device);
    m_stop->setEnabled(device);
    m_resumeLast->setEnabled(device && !running);
}

void JobPanel::setCopies(int copies)
{
    m_copies->setValue(copies);
}

int JobPanel::copies() const
{
    return m_copies->value();
}

void JobPanel::start()
{
    if (!m_runner || !hasPlot() || m_running || !startBlocked().isEmpty())
        return;
    // Frames offered while the link is down vanish without trace: a job
    // started then would never report.
    if (!m_runner->start(m_job, m_copies->value())) {
        emit logMessage(tr("Not connected: the job was not started."));
        return;
    }
    m_progress->setValue(0);
    m_done->setText(copiesDone(0, m_copies->value()));
    m_remaining->setText(timeLeft(m_runner->estimateSeconds()));
    setRunning(true);
    emit logMessage(tr("Job started: %1, %2.").arg(m_job.fileName, Counted::copies(m_copies->value())));
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

void JobPanel::onProgress(const QJsonObject &task, int remainingSeconds)
{
    m_remaining->setText(timeLeft(remainingSeconds));
    m_progress->setValue(qBound(0, task.value(QStringLiteral("Percent")).toInt(), 100));
    m_done->setText(copiesDone(task.value(QStringLiteral("Finished")).toInt(),
                               task.value(QStringLiteral("TaskCopies")).toInt()));
}

void JobPanel::onFinished(JobRunner::State state)
{
    if (m_progress->format() != QLatin1String("%p%")) {
        m_progress->setFormat(QStringLiteral("%p%"));
        emit reconnecting(-1);
    }
    if (!m_runner->journalError().isEmpty())
        emit logMessage(tr("Job journal not written: %1").arg(m_runner->journalError()));
    setRunning(false);
    m_remaining->clear();
    // The journal's word for how the job ended, so the log and the history agree.
    const JobRecord record = m_runner->record();
    const QString outcome = JobRecord::outcomeText(record.outcome);
    const QLocale locale;
    // The operator's stop needs no more words than the count; the machine's
    // own ends and lost links say why.
    const bool counted = state == JobRunner::State::Finished
                         || (state == JobRunner::State::Interrupted && record.outcome == JobRecord::Outcome::Stopped);
    if (counted)
        emit logMessage(tr("Job %1: %2 of %3 copies finished.")
                        .arg(outcome, locale.toString(record.finished), locale.toString(record.copies)));
    else
        emit logMessage(tr("Job %1: %2").arg(outcome, m_runner->failure().message));
    emit jobFinished();
}

void JobPanel::onResumeFinished()
{
    if (m_progress->format() != QLatin1String("%p%")) {
        m_progress->setFormat(QStringLiteral("%p%"));
        emit reconnecting(-1);
    }
    if (!m_resumeRun->journalError().isEmpty())
        emit logMessage(tr("Job journal not written: %1").arg(m_resumeRun->journalError()));
    setRunning(false);
    if (Failure f = m_resumeRun->failure())
        emit logMessage(tr("Not resumed: %1").arg(f.message));
    else if (m_resumeRun->record().id.isEmpty())
        emit logMessage(tr("Nothing was cut: the machine had finished the job."));
    else
        emit logMessage(tr("Resume finished: %1.").arg(m_resumeRun->job().planText()));
    emit jobFinished();
}

bool JobPanel::resumeOffer(ResumePlan::Interrupted mode, QString *text)
{
    ResumeJob job;
    if (Failure f = ResumeJob::find(m_journal, mode, &job)) {
        *text = f.message;
        return false;
    }
    *text = tr("Interrupted job of %1: %2 on %3.\n%4.\n\nTo cut: %5.")
                .arg(job.from.start.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                     job.from.file, job.from.deviceId, job.wasText(), job.planText());
    return true;
}

void JobPanel::resumeInterrupted()
{
    QString text;
    ResumePlan::Interrupted mode = ResumePlan::Continue;
    if (!resumeOffer(mode, &text)) {
        // How far the copy got is not known: only the operator can choose.
        mode = ResumePlan::RecutWhole;
        QString whole;
        if (!resumeOffer(mode, &whole)) {
            QMessageBox::information(this, tr("Resume"), text);
            return;
        }
        text = whole;
    }
    QMessageBox box(QMessageBox::Question, tr("Resume interrupted job"), text, QMessageBox::NoButton, this);
    QPushButton *cut = box.addButton(tr("Cut"), QMessageBox::AcceptRole);
    QPushButton *recut = mode == ResumePlan::Continue
                             ? box.addButton(tr("Re-cut the interrupted copy whole"), QMessageBox::AcceptRole)
                             : nullptr;
    box.addButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == recut)
        mode = ResumePlan::RecutWhole;
    else if (box.clickedButton() != cut)
        return;
    QString error;
    if (!startResume(mode, &error))
        emit logMessage(tr("Not resumed: %1").arg(error));
}

bool JobPanel::startResume(ResumePlan::Interrupted mode, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!m_resumeRun || !m_session || !m_session->linkUp() || m_running)
        return fail(tr("not connected, or a job is under way"));
    if (Failure f = m_resumeRun->prepare(mode))
        return fail(f.message);
    if (!m_resumeRun->start())
        return fail(tr("not connected, or a job is under way"));
    setRunning(true);
    return true;
}
