// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobLifecycle.h"

#include "DeviceSession.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QPointer>

JobLifecycle::JobLifecycle(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_reconnector(session)
{
    connect(&m_reconnector, &Reconnector::attempting, this, &JobLifecycle::reconnecting);
    connect(&m_reconnector, &Reconnector::reconnected, this, [this] {
        if (m_phase == Phase::Reconnecting)
            emit reconnected();
    });
    connect(&m_reconnector, &Reconnector::gaveUp, this, [this](const Failure &f) {
        if (m_phase == Phase::Reconnecting)
            emit gaveUp(f);
    });
    m_stopGrace.setSingleShot(true);
    m_stopGrace.setInterval(1500);
    connect(&m_stopGrace, &QTimer::timeout, this, [this] {
        if (m_phase == Phase::Stopping)
            emit stopGraceOver();
    });
    m_stall.setSingleShot(true);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        // A paused machine is silent by right; its resume report restarts the clock.
        if (m_phase == Phase::Running && !paused())
            emit stalled();
    });
}

void JobLifecycle::setReconnect(bool on, const ReconnectSchedule &schedule)
{
    m_reconnect = on;
    m_reconnector.setSchedule(schedule);
}

void JobLifecycle::begin(const QStringList &extraKeys)
{
    m_phase = Phase::Starting;
    m_identity = MachineIdentity();
    m_reconnects = 0;
    m_downMs = 0;
    m_down.invalidate();
    DeviceQuery *who = m_session.query(extraKeys + MachineIdentity::identityKeys());
    // Queued: the answer may come inside the device object's read, and the
    // driver hands the job over (or ends it) from here.
    connect(who, &DeviceQuery::done, this, [this, who] {
        who->deleteLater();
        m_identity = MachineIdentity::fromRecords(m_session);
        if (m_phase == Phase::Starting)
            emit identified();
    }, Qt::QueuedConnection);
}

void JobLifecycle::run(int stallMs)
{
    m_phase = Phase::Running;
    if (m_stallOverride > 0 && stallMs > 0)
        stallMs = m_stallOverride;
    if (stallMs > 0)
        m_stall.start(stallMs);
}

JobLifecycle::Stop JobLifecycle::stop()
{
    switch (m_phase) {
    case Phase::Starting:
        return Stop::Early;
    case Phase::Reconnecting:
        m_reconnector.cancel();
        return Stop::Unreached;
    case Phase::Running:
        m_phase = Phase::Stopping;
        m_stall.stop();
        m_session.stopJob();
        m_stopGrace.start();
        return Stop::Asked;
    default:
        return Stop::Nothing;
    }
}

bool JobLifecycle::dropped()
{
    if (!m_reconnect || m_phase != Phase::Running)
        return false;
    m_phase = Phase::Reconnecting;
    m_stall.stop();
    if (!m_down.isValid())
        m_down.start();
    m_reconnector.start(m_identity);
    return true;
}

void JobLifecycle::resumeAfterReconnect()
{
    ++m_reconnects;
    closeOutage();
    m_phase = Phase::Running;
    if (m_stall.interval() > 0)
        m_stall.start();
}

void JobLifecycle::closeOutage()
{
    if (m_down.isValid()) {
        m_downMs += m_down.elapsed();
        m_down.invalidate();
    }
}

void JobLifecycle::end(bool handedOver)
{
    closeOutage();
    m_phase = Phase::Ended;
    m_stall.stop();
    m_stopGrace.stop();
    m_reconnector.cancel();
    if (!handedOver)
        return;
    // From the event loop, and through the session: after a reconnect the
    // cloud may still be registering the new device object, and its
    // stopTask would drop the work record without the cloud's id.
    QPointer<DeviceSession> session = &m_session;
    QTimer::singleShot(0, this, [session] {
        if (session)
            session->endJob();
    });
}

void JobLifecycle::noteReport(const JobReport &report)
{
    if (m_phase != Phase::Running || m_stall.interval() <= 0)
        return;
    if (report.paused())
        m_stall.stop();
    else
        m_stall.start();
}

bool JobLifecycle::paused() const
{
    if (m_session.report().paused())
        return true;
    VXDeviceProperty *status = m_session.record(QStringLiteral("STATUS"));
    return status && status->value().toInt() == VXDeviceInterface::Pause;
}
