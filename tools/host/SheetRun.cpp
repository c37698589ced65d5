// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SheetRun.h"

#include "DeviceSession.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"
#include "property/VXFrame.h"

#include <QPointer>

namespace {
// A plot with no stroke: the answer for a sheet that must pass uncut.
const QString kEmptyPlot = QStringLiteral("IN;");
// A stopping machine need not report; the run ends after this all the same.
constexpr int StopGraceMs = 3000;
}

using Status = JobReport::Status;

SheetRun::SheetRun(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_life(session)
{
    qRegisterMetaType<SheetRun::Sheet>();
    qRegisterMetaType<SheetRun::End>();
    m_life.setStopGrace(StopGraceMs);
    connect(&m_life, &JobLifecycle::identified, this, [this] {
        if (!m_session.linkUp())
            return lose(m_session.linkFailure());
        handOver();
    });
    connect(&m_life, &JobLifecycle::reconnecting, this, &SheetRun::reconnecting);
    connect(&m_life, &JobLifecycle::reconnected, this, &SheetRun::onReconnected);
    connect(&m_life, &JobLifecycle::gaveUp, this, &SheetRun::lose);
    connect(&m_life, &JobLifecycle::stopGraceOver, this, [this] {
        if (sheetOpen())
            close(Outcome::Failed, tr("the job was stopped"), true);
        finish(m_stopAs);
    });
    // Codes and reports in their wire order: the session passes each on as
    // it comes, parsed once.
    connect(&m_session, &DeviceSession::qrCode, this, &SheetRun::onCode);
    connect(&m_session, &DeviceSession::jobReport, this, &SheetRun::onReport);
    connect(&m_session, &DeviceSession::lost, this, &SheetRun::onLost);
    // A host that drops its device object (disconnect, a new connection)
    // ends the run: its reports would never come.
    connect(&m_session, &DeviceSession::deviceAboutToGo, this, [this] {
        if (isRunning() && state() != State::Reconnecting)
            lose({Failure::DeviceLost, tr("the device object was released")});
    });
}

SheetRun::~SheetRun() = default;

bool SheetRun::start()
{
    if (isRunning() || !m_session.linkUp() || !m_session.device())
        return false;
    if (!m_session.record(QStringLiteral("TASK_MODE")) || !m_session.record(QStringLiteral("QRCODE_COPIES"))
        || !m_session.record(QStringLiteral("QR_PLT")))
        return false;
    m_end = End::None;
    m_stopAs = End::Stopped;
    m_sync = Sync::Live;
    m_lost = Failure();
    m_jobFile.clear();
    m_machineFinished = -1;
    m_seen = m_finished = m_skipped = m_failed = m_unseen = 0;
    m_design.reset();
    m_sheet = Sheet();
    m_clock.start();
    m_life.begin();
    return true;
}

void SheetRun::handOver()
{
    m_life.run();
    if (VXDeviceProperty *mode = m_session.record(QStringLiteral("TASK_MODE")))
        mode->setValue(1);
    if (VXDeviceProperty *copies = m_session.record(QStringLiteral("QRCODE_COPIES")))
        copies->setValue(m_perJob);
    m_jobs = 1;
    emit started();
    m_session.device()->startTask();
}

void SheetRun::stop()
{
    switch (m_life.stop()) {
    case JobLifecycle::Stop::Early:
        m_lost = {Failure::Interrupted, tr("interrupted before the QR-code job started")};
        return finish(End::Stopped);
    case JobLifecycle::Stop::Unreached:
        // No link to stop the machine's job on: the error says so.
        m_lost = {Failure::Interrupted, tr("interrupted while reconnecting; the machine was not "
                                           "reached and its QR-code job may go on")};
        if (sheetOpen())
            close(Outcome::Failed, tr("link lost"), true);
        return finish(End::Stopped);
    case JobLifecycle::Stop::Asked:
    case JobLifecycle::Stop::Nothing:
        return;
    }
}

void SheetRun::onCode(const QString &code)
{
    if (state() != State::Running && state() != State::Stopping)
        return;
    if (m_sync != Sync::Live && resyncCode(code))
        return;
    if (sheetOpen())
        close(Outcome::Failed, tr("the machine read the next code before reporting this sheet"));
    openSheet(code);
    auto unanswered = [this](Outcome o, const QString &why) {
        m_plan = o;
        m_sheet.reason = why;
    };
    if (state() == State::Stopping) {
        // The stop is on its way and ends this sheet; a plot now could start a cut.
        unanswered(Outcome::Skipped, tr("the run is ending"));
        return emit sheetStarted(m_sheet);
    }
    if (code.isEmpty()) {
        // The machine skips a sheet it could not read by itself.
        unanswered(Outcome::Skipped, tr("the camera could not read the code"));
        return emit sheetStarted(m_sheet);
    }
    QString why;
    const QString path = m_source.find(code, &why);
    if (path.isEmpty()) {
        unanswered(Outcome::Skipped, tr("unknown code: %1").arg(why));
        return announceAndAnswer(kEmptyPlot);
    }
    std::shared_ptr<const PreparedDesign> design = m_cache.get(code, path);
    m_sheet.design = design->name;
    m_sheet.path = design->path;
    m_sheetSha = design->sha256;
    if (!design->ok()) {
        unanswered(Outcome::Failed, design->error);
        return announceAndAnswer(kEmptyPlot);
    }
    if (const Failure misfit = m_area.check(design->report, m_margin)) {
        unanswered(Outcome::Failed, misfit.message);
        return announceAndAnswer(kEmptyPlot);
    }
    m_design = design;
    announceAndAnswer(design->plot);
}

// The first code after a reconnect: true when it is the open sheet, whose
// plot was lost with the link. Answered again, not counted again.
bool SheetRun::resyncCode(const QString &code)
{
    m_sync = Sync::Live;
    if (!sheetOpen() || code != m_sheet.code || code.isEmpty())
        return false;
    if (m_plan != Outcome::Pending)
        answer(kEmptyPlot);
    else if (m_design)
        answer(m_design->plot);
    return true;
}

void SheetRun::openSheet(const QString &code)
{
    m_sheet = Sheet();
    m_sheet.index = ++m_seen;
    m_sheet.code = code;
    m_sheet.start = QDateTime::currentDateTimeUtc();
    m_sheetClock.start();
    m_plan = Outcome::Pending;
    m_design.reset();
    m_sheetSha.clear();
}

void SheetRun::announceAndAnswer(const QString &plot)
{
    // Before the answer goes out, so a view shows the sheet the machine is
    // about to cut. A handler that runs an event loop may let the machine
    // give up on this sheet, or even feed the next: the plot then goes
    // nowhere, least of all to the next sheet.
    const int index = m_sheet.index;
    emit sheetStarted(m_sheet);
    if (sheetOpen() && m_sheet.index == index && state() == State::Running)
        answer(plot);
}

void SheetRun::answer(const QString &plot)
{
    VXDeviceProperty *qr = m_session.record(QStringLiteral("QR_PLT"));
    if (!qr)
        return;
    qr->setValue(plot);
    m_session.send(qr);
}

void SheetRun::onReport()
{
    if (state() != State::Running && state() != State::Stopping)
        return;
    const JobReport &r = m_session.report();
    if (!r.isValid() || !ownReport(r))
        return;
    const int gained = r.finished - m_machineFinished;
    const bool wasOpen = sheetOpen();
    settleByCount(r);
    if (m_sync == Sync::AwaitReport) {
        passedUnseen(gained - (wasOpen ? 1 : 0));
        m_sync = r.status == Status::WaitingPlot ? Sync::AwaitCode : Sync::Live;
    }
    switch (r.status) {
    case Status::WaitingPlot: return onWaiting();
    case Status::Cutting: return onProgress(r);
    case Status::SheetSkipped:
        // Its plot went out; the machine had stopped waiting or could not read it.
        return settle(Outcome::Failed, tr("the machine skipped the sheet (the plot came too late "
                                          "or it could not read it)"));
    case Status::Finished: return onJobFinished();
    case Status::Stopped:
    case Status::Refused: return onJobEnded(r.status);
    default: return;
    }
}

// Whether a report belongs to this run's QR-code job.
bool SheetRun::ownReport(const JobReport &r)
{
    if (!m_jobFile.isEmpty())
        return r.file == m_jobFile;
    // A plot job still cutting queues the QR-code job behind it; its
    // reports are not this run's. Ours asks for the open-ended count, and
    // the report after a code is ours in any case.
    if (r.copies != m_perJob && !sheetOpen())
        return false;
    m_jobFile = r.file;
    m_machineFinished = r.finished;
    return true;
}

void SheetRun::settleByCount(const JobReport &r)
{
    if (r.finished > m_machineFinished)
        settle(Outcome::Finished, QString());
    m_machineFinished = qMax(m_machineFinished, r.finished);
}

// Sheets the machine counted while the link was down and the run never saw.
void SheetRun::passedUnseen(int sheets)
{
    for (int i = 0; i < sheets; ++i) {
        openSheet(QString());
        m_sheet.reason = tr("passed while the link was down");
        close(Outcome::Unseen, m_sheet.reason);
    }
}

void SheetRun::onWaiting()
{
    // Only the camera query says which sheet waits; its reply is a code.
    if (m_sync == Sync::AwaitCode && m_session.device())
        m_session.device()->sendCMD(VXFrame::build(QByteArrayLiteral("CCMD"), QByteArrayLiteral("11;")));
}

void SheetRun::onProgress(const JobReport &r)
{
    // The tenth field, when the machine sends it, is the sheet's own percent.
    if (!sheetOpen() || m_plan != Outcome::Pending || r.copyPercent < 0 || r.copyPercent == m_sheet.percent)
        return;
    m_sheet.percent = r.copyPercent;
    emit sheetProgress(m_sheet);
}

void SheetRun::onJobFinished()
{
    settle(Outcome::Failed, tr("the job ended before the sheet was cut"));
    if (state() == State::Running && m_stopAs != End::CountReached && m_machineFinished >= m_perJob) {
        // The machine's count ran out, not necessarily its stack: the next
        // job takes the sheets still waiting; an empty stack ends it at once.
        m_jobFile.clear();
        m_machineFinished = -1;
        ++m_jobs;
        QPointer<VXDeviceInterface> device = m_session.device();
        QTimer::singleShot(0, this, [this, device] {
            if (device && state() == State::Running)
                device->startTask();
        });
        return;
    }
    finish(m_stopAs == End::CountReached || (m_count > 0 && m_finished >= m_count) ? End::CountReached
                                                                                   : End::StackEnded);
}

void SheetRun::onJobEnded(JobReport::Status status)
{
    const bool refused = status == Status::Refused;
    settle(Outcome::Failed, refused ? tr("the machine refused the job") : tr("the job was stopped"), true);
    if (refused)
        finish(End::Refused);
    else
        finish(state() == State::Stopping ? m_stopAs : End::MachineStopped);
}

void SheetRun::settle(Outcome fallback, const QString &why, bool interrupted)
{
    if (!sheetOpen())
        return;
    if (m_plan != Outcome::Pending)
        close(m_plan, m_sheet.reason);
    else
        close(fallback, why, interrupted);
}

void SheetRun::close(Outcome outcome, const QString &reason, bool interrupted)
{
    m_sheet.outcome = outcome;
    m_sheet.reason = reason;
    m_sheet.interrupted = interrupted;
    m_sheet.ms = m_sheetClock.elapsed();
    switch (outcome) {
    case Outcome::Finished:
        m_sheet.percent = 100;
        ++m_finished;
        break;
    case Outcome::Skipped: ++m_skipped; break;
    case Outcome::Unseen: ++m_unseen; break;
    default: ++m_failed; break;
    }
    journal(m_sheet);
    emit sheetDone(m_sheet);
    if (outcome == Outcome::Finished && m_count > 0 && m_finished >= m_count && state() == State::Running) {
        m_stopAs = End::CountReached;
        stop();
    }
}

void SheetRun::onLost()
{
    if (!isRunning() || state() == State::Reconnecting)
        return;
    m_lost = m_session.linkFailure();
    // The machine holds the sheet's plot and goes on; the open sheet stays
    // open until the machine says how it ended.
    if (!m_life.dropped())
        lose(m_lost);
}

void SheetRun::onReconnected()
{
    m_life.resumeAfterReconnect();
    m_lost = Failure();
    m_sync = Sync::AwaitReport;
    emit reconnected();
    m_session.queryJob();
}

void SheetRun::lose(const Failure &why)
{
    m_lost = why.failed() ? why : Failure(Failure::DeviceLost, tr("link lost"));
    if (sheetOpen())
        close(Outcome::Failed, tr("link lost"), true);
    finish(End::Lost);
}

void SheetRun::finish(End end)
{
    m_life.end(true);
    m_end = end;
    if (VXDeviceProperty *mode = m_session.record(QStringLiteral("TASK_MODE")))
        mode->setValue(0);
    emit ended(end);
}
