// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SheetRun.h"

#include "DeviceSession.h"
#include "property/VXDeviceProperty.h"
#include "property/VXFrame.h"

namespace {
// A plot with no stroke: the answer for a sheet that must pass uncut.
const QString kEmptyPlot = QStringLiteral("IN;");
// A stopping machine need not report; the run ends after this all the same.
constexpr int StopGraceMs = 3000;
}

SheetRun::SheetRun(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_reconnector(session)
{
    connect(&m_reconnector, &Reconnector::attempting, this, &SheetRun::reconnecting);
    connect(&m_reconnector, &Reconnector::reconnected, this, &SheetRun::onReconnected);
    connect(&m_reconnector, &Reconnector::gaveUp, this, [this](const Failure &f) {
        if (m_state == State::Reconnecting)
            lose(f);
    });
    qRegisterMetaType<SheetRun::Sheet>();
    qRegisterMetaType<SheetRun::End>();
    connect(&m_session, &DeviceSession::lost, this, &SheetRun::onLost);
    connect(&m_session, &DeviceSession::deviceChanged, this, &SheetRun::attach);
    // A host that drops its device object (disconnect, a new connection)
    // ends the run: its reports would never come.
    connect(&m_session, &DeviceSession::deviceAboutToGo, this, [this] {
        if (isRunning() && m_state != State::Reconnecting && !m_reconnector.isActive())
            lose({Failure::DeviceLost, tr("the device object was released")});
    });
    m_stopGrace.setSingleShot(true);
    connect(&m_stopGrace, &QTimer::timeout, this, [this] {
        if (m_state != State::Stopping)
            return;
        if (m_open)
            close(Outcome::Failed, tr("the job was stopped"), true);
        finish(m_countReached ? End::CountReached : End::Stopped);
    });
    attach();
}

SheetRun::~SheetRun() = default;

void SheetRun::attach()
{
    disconnect(m_messages);
    // The message itself, not the session's digest of it: the sheet's
    // percent is the report's tenth field, which the device object does
    // not keep, and codes and reports must be taken in their wire order.
    if (VXDeviceInterface *device = m_session.device())
        m_messages = connect(device, &VXDeviceInterface::message, this, &SheetRun::onMessage);
}

bool SheetRun::start()
{
    if (isRunning() || !m_session.linkUp() || !m_session.device())
        return false;
    VXDeviceProperty *mode = m_session.record(QStringLiteral("TASK_MODE"));
    VXDeviceProperty *copies = m_session.record(QStringLiteral("QRCODE_COPIES"));
    if (!mode || !copies || !m_session.record(QStringLiteral("QR_PLT")))
        return false;
    m_state = State::Running;
    m_end = End::None;
    m_lost = Failure();
    m_jobFile.clear();
    m_machineFinished = -1;
    m_seen = m_finished = m_skipped = m_failed = 0;
    m_open = false;
    m_countReached = false;
    m_design.reset();
    m_sheet = Sheet();
    m_identity = MachineIdentity();
    m_reconnects = 0;
    m_resync = false;
    m_state = State::Starting;
    m_clock.start();
    DeviceQuery *who = m_session.query(MachineIdentity::identityKeys());
    connect(who, &DeviceQuery::done, this, [this, who] {
        who->deleteLater();
        m_identity = MachineIdentity::fromRecords(m_session);
        if (m_state != State::Starting)
            return;
        if (!m_session.linkUp())
            return lose(m_session.linkFailure());
        handOver();
    });
    return true;
}

void SheetRun::handOver()
{
    m_state = State::Running;
    if (VXDeviceProperty *mode = m_session.record(QStringLiteral("TASK_MODE")))
        mode->setValue(1);
    if (VXDeviceProperty *copies = m_session.record(QStringLiteral("QRCODE_COPIES")))
        copies->setValue(m_perJob);
    m_jobs = 1;
    emit started();
    m_session.device()->startTask();
}

void SheetRun::setReconnect(bool on, const ReconnectSchedule &schedule)
{
    m_reconnect = on;
    m_reconnector.setSchedule(schedule);
}

void SheetRun::stop()
{
    if (m_state == State::Starting) {
        m_lost = {Failure::Interrupted, tr("interrupted before the QR-code job started")};
        return finish(End::Stopped);
    }
    if (m_state == State::Reconnecting) {
        // No link to stop the machine's job on: the error says so.
        m_reconnector.cancel();
        m_lost = {Failure::Interrupted, tr("interrupted while reconnecting; the machine was not "
                                           "reached and its QR-code job may go on")};
        if (m_open)
            close(Outcome::Failed, tr("link lost"), true);
        return finish(End::Stopped);
    }
    if (m_state != State::Running)
        return;
    m_state = State::Stopping;
    m_session.stopJob();
    m_stopGrace.start(StopGraceMs);
}

void SheetRun::onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text)
{
    if (m_state != State::Running && m_state != State::Stopping)
        return;
    if (kind == VXDeviceInterface::Qrcode)
        onCode(text);
    else if (kind == VXDeviceInterface::DevTasK)
        onReport(text);
}

void SheetRun::onCode(const QString &code)
{
    if (m_resync) {
        m_resync = false;
        // The sheet waiting under the camera is the open one: its plot was
        // lost with the link. Answered again, not counted again.
        if (m_open && code == m_sheet.code && !code.isEmpty()) {
            if (m_preset == Outcome::Pending && m_design)
                answer(m_design->plot);
            else if (m_preset != Outcome::Pending && code == m_sheet.code)
                answer(kEmptyPlot);
            return;
        }
    }
    if (m_open)
        close(Outcome::Failed, tr("the machine read the next code before reporting this sheet"));
    m_sheet = Sheet();
    m_sheet.index = ++m_seen;
    m_sheet.code = code;
    m_sheet.start = QDateTime::currentDateTimeUtc();
    m_sheetClock.start();
    m_open = true;
    m_answered = false;
    m_preset = Outcome::Pending;
    m_presetReason.clear();
    m_design.reset();
    m_sheetSha.clear();
    auto unanswered = [this](Outcome o, const QString &why) {
        m_preset = o;
        m_presetReason = why;
        m_sheet.reason = why;
    };
    if (m_state == State::Stopping) {
        // The stop is on its way and ends this sheet; a plot now could start a cut.
        unanswered(Outcome::Skipped, tr("the run is ending"));
        emit sheetStarted(m_sheet);
        return;
    }
    if (code.isEmpty()) {
        // The machine skips a sheet it could not read by itself.
        unanswered(Outcome::Skipped, tr("the camera could not read the code"));
        emit sheetStarted(m_sheet);
        return;
    }
    QString why;
    const QString path = m_source.find(code, &why);
    if (path.isEmpty()) {
        unanswered(Outcome::Skipped, tr("unknown code: %1").arg(why));
        announceAndAnswer(kEmptyPlot);
        return;
    }
    std::shared_ptr<const PreparedDesign> design = m_cache.get(code, path);
    m_sheet.design = design->name;
    m_sheet.path = design->path;
    m_sheetSha = design->sha256;
    if (!design->ok()) {
        unanswered(Outcome::Failed, design->error);
        announceAndAnswer(kEmptyPlot);
        return;
    }
    m_design = design;
    m_answered = true;
    announceAndAnswer(design->plot);
}

void SheetRun::announceAndAnswer(const QString &plot)
{
    // Before the answer goes out, so a view shows the sheet the machine is
    // about to cut. A handler that runs an event loop may let the machine
    // give up on this sheet, or even feed the next: the plot then goes
    // nowhere, least of all to the next sheet.
    const int index = m_sheet.index;
    emit sheetStarted(m_sheet);
    if (m_open && m_sheet.index == index && m_state == State::Running)
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

void SheetRun::onReport(const QString &item)
{
    const QStringList f = item.split(QLatin1Char(','));
    if (f.size() < 9)
        return;
    const int status = f.at(1).toInt();
    const int machineFinished = f.at(4).toInt();
    // The tenth field, when the machine sends it, is the sheet's own percent.
    const int sheetPercent = f.size() >= 10 ? f.last().toInt() : -1;
    if (m_jobFile.isEmpty()) {
        // A plot job still cutting queues the QR-code job behind it; its
        // reports are not this run's. Ours asks for the open-ended count, and
        // the report after a code is ours in any case.
        if (f.at(3).toInt() != m_perJob && !m_open)
            return;
        m_jobFile = f.at(2);
        m_machineFinished = machineFinished;
    } else if (f.at(2) != m_jobFile) {
        return;     // another job's report
    }
    if (m_open && machineFinished > m_machineFinished) {
        if (m_preset != Outcome::Pending)
            close(m_preset, m_presetReason);
        else
            close(Outcome::Finished);
    }
    m_machineFinished = qMax(m_machineFinished, machineFinished);

    if (m_resync && status != StatusWaiting)
        m_resync = false;
    switch (status) {
    case StatusWaiting:
        // Only the camera query says which sheet waits; its reply is a code.
        if (m_resync && m_session.device())
            m_session.device()->sendCMD(VXFrame::build(QByteArrayLiteral("CCMD"), QByteArrayLiteral("11;")));
        return;
    case StatusCutting:
        if (m_open && m_answered && sheetPercent >= 0 && sheetPercent != m_sheet.percent) {
            m_sheet.percent = qBound(0, sheetPercent, 100);
            emit sheetProgress(m_sheet);
        }
        return;
    case StatusSkipped:
        if (!m_open)
            return;
        if (m_preset != Outcome::Pending)
            close(m_preset, m_presetReason);
        else
            // Its plot went out; the machine had stopped waiting or could not read it.
            close(Outcome::Failed, tr("the machine skipped the sheet (the plot came too late "
                                      "or it could not read it)"));
        return;
    case StatusFinished:
        if (m_open)
            close(m_preset != Outcome::Pending ? m_preset : Outcome::Failed,
                  m_preset != Outcome::Pending ? m_presetReason : tr("the job ended before the sheet was cut"));
        if (m_state == State::Running && !m_countReached && m_machineFinished >= m_perJob) {
            // The machine's count ran out, not necessarily its stack: the
            // next job takes the sheets still waiting; an empty stack ends
            // it at once.
            m_jobFile.clear();
            m_machineFinished = -1;
            ++m_jobs;
            QPointer<VXDeviceInterface> device = m_session.device();
            QTimer::singleShot(0, this, [this, device] {
                if (device && m_state == State::Running)
                    device->startTask();
            });
            return;
        }
        finish(m_countReached || (m_count > 0 && m_finished >= m_count) ? End::CountReached : End::StackEnded);
        return;
    case StatusStopped:
    case StatusRefused:
        if (m_open) {
            if (m_preset != Outcome::Pending)
                close(m_preset, m_presetReason);
            else
                close(Outcome::Failed, status == StatusStopped ? tr("the job was stopped")
                                                               : tr("the machine refused the job"), true);
        }
        if (status == StatusRefused)
            finish(End::Refused);
        else if (m_state == State::Stopping)
            finish(m_countReached ? End::CountReached : End::Stopped);
        else
            finish(End::MachineStopped);
        return;
    default:
        return;
    }
}

void SheetRun::close(Outcome outcome, const QString &reason, bool interrupted)
{
    m_open = false;
    m_sheet.outcome = outcome;
    m_sheet.reason = reason;
    m_sheet.interrupted = interrupted;
    m_sheet.ms = m_sheetClock.elapsed();
    if (outcome == Outcome::Finished) {
        m_sheet.percent = 100;
        ++m_finished;
    } else if (outcome == Outcome::Skipped) {
        ++m_skipped;
    } else {
        ++m_failed;
    }
    journal(m_sheet);
    emit sheetDone(m_sheet);
    if (outcome == Outcome::Finished && m_count > 0 && m_finished >= m_count && m_state == State::Running) {
        m_countReached = true;
        stop();
    }
}

void SheetRun::onLost()
{
    if (!isRunning() || m_state == State::Reconnecting)
        return;
    if (m_reconnect && m_state == State::Running) {
        // The machine holds the sheet's plot and goes on; the open sheet
        // stays open until the machine says how it ended.
        m_state = State::Reconnecting;
        m_lost = m_session.linkFailure();
        m_reconnector.start(m_identity);
        return;
    }
    lose(m_session.linkFailure());
}

void SheetRun::onReconnected()
{
    if (m_state != State::Reconnecting)
        return;
    ++m_reconnects;
    m_lost = Failure();
    m_state = State::Running;
    m_resync = true;
    emit reconnected();
    m_session.queryJob();
}

void SheetRun::lose(const Failure &why)
{
    m_lost = why.failed() ? why : Failure(Failure::DeviceLost, tr("link lost"));
    if (m_open)
        close(Outcome::Failed, tr("link lost"), true);
    finish(End::Lost);
}

void SheetRun::finish(End end)
{
    m_stopGrace.stop();
    m_reconnector.cancel();
    m_state = State::Ended;
    m_end = end;
    if (VXDeviceProperty *mode = m_session.record(QStringLiteral("TASK_MODE")))
        mode->setValue(0);
    // stopTask posts the work record and resets "TASK": outside the
    // report's delivery, as for a plot job.
    QPointer<VXDeviceInterface> device = m_session.device();
    QTimer::singleShot(0, this, [device] {
        if (device)
            device->stopTask();
    });
    emit ended(end);
}
