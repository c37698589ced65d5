// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Reconnector.h"

#include "DeviceSession.h"
#include "property/VXDeviceProperty.h"

#include <QLocale>

namespace {
constexpr int GraceMs = 500;
}

bool MachineIdentity::matches(const MachineIdentity &other) const
{
    bool compared = false;
    if (!deviceId.isEmpty() && !other.deviceId.isEmpty()) {
        if (deviceId != other.deviceId)
            return false;
        compared = true;
    }
    if (!uniqueId.isEmpty() && !other.uniqueId.isEmpty()) {
        if (uniqueId != other.uniqueId)
            return false;
        compared = true;
    }
    return compared;
}

QString MachineIdentity::text() const
{
    const QString id = deviceId.isEmpty() ? QStringLiteral("?") : deviceId;
    return uniqueId.isEmpty() ? id : QStringLiteral("%1 (%2)").arg(id, uniqueId);
}

MachineIdentity MachineIdentity::fromRecords(const DeviceSession &session)
{
    MachineIdentity m;
    if (VXDeviceProperty *r = session.record(QStringLiteral("DEVICE_ID")))
        m.deviceId = r->value().toString();
    if (VXDeviceProperty *r = session.record(QStringLiteral("DEVICE_UNIQUE_ID")))
        m.uniqueId = r->value().toString();
    return m;
}

QStringList MachineIdentity::identityKeys()
{
    // The device id has no query of its own: the information group's carries it.
    return {QStringLiteral("DEVICE_INFO"), QStringLiteral("DEVICE_UNIQUE_ID")};
}

Reconnector::Reconnector(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session)
{
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &Reconnector::attempt);
    m_budget.setSingleShot(true);
    connect(&m_budget, &QTimer::timeout, this, [this] {
        if (!m_active)
            return;
        // An attempt under way when the budget ends is not waited for.
        if (!m_wait.isActive())
            m_session.releaseDevice();
        giveUp({Failure::DeviceLost,
                stayedDown(m_lastTry.message.isEmpty() ? tr("still connecting") : m_lastTry.message)});
    });
}

QString Reconnector::stayedDown(const QString &last) const
{
    return tr("the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)", nullptr, m_attempt)
        .arg(QLocale().toString(m_clock.elapsed() / 1000.0, 'f', 1), m_session.target(), last);
}

void Reconnector::start(const MachineIdentity &expected)
{
    stopAll();
    m_expected = expected;
    m_stranger = MachineIdentity();
    m_failure = Failure();
    m_lastTry = Failure();
    m_attempt = 0;
    m_active = true;
    m_schedule.reset();
    m_clock.start();
    // The last attempt starts at the budget's end at the latest; a refused
    // one is over at once, a hanging one gets this much more.
    m_budget.start(int(qMin<qint64>(m_schedule.budget() + GraceMs, INT_MAX)));
    if (!m_expected.known())
        return giveUp({Failure::DeviceLost, tr("the machine's identity was not read at the start: "
                                               "a reconnect could not tell it from another machine")});
    m_links << connect(&m_session, &DeviceSession::linkUpChanged, this, &Reconnector::onUp);
    m_links << connect(&m_session, &DeviceSession::connectFailed, this, [this](const Failure &f) {
        m_lastTry = f;
        m_connecting = false;
        next();
    });
    next();
}

void Reconnector::next()
{
    if (!m_active)
        return;
    const int delay = m_schedule.nextDelay(m_clock.elapsed());
    if (delay < 0) {
        // Here inside the transport's own failure signal: its device object
        // stays (unconnected) rather than be deleted under it.
        return giveUp({Failure::DeviceLost, stayedDown(m_lastTry.message)});
    }
    ++m_attempt;
    emit attempting(m_attempt, delay);
    if (m_active)
        m_wait.start(delay);
}

void Reconnector::attempt()
{
    if (!m_active)
        return;
    m_connecting = true;
    if (Failure f = m_session.reconnect()) {
        // A plugin that makes no device object will not make one on the next try.
        m_connecting = false;
        if (f.kind == Failure::Plugin || f.kind == Failure::Usage)
            return giveUp(f);
        m_lastTry = f;
        next();
    }
}

void Reconnector::onUp(bool up)
{
    if (!m_active)
        return;
    if (!up) {
        // Down again during the identity read: the query ends on its own.
        return;
    }
    m_connecting = false;
    m_identity = m_session.query(MachineIdentity::identityKeys());
    // The answer may come inside the device object's own read, and a
    // stranger's device object is deleted here: not under its feet.
    connect(m_identity, &DeviceQuery::done, this, &Reconnector::onIdentity, Qt::QueuedConnection);
}

void Reconnector::onIdentity()
{
    DeviceQuery *q = m_identity;
    m_identity = nullptr;
    if (q)
        q->deleteLater();
    if (!m_active)
        return;
    if (!m_session.linkUp()) {
        m_lastTry = m_session.linkFailure();
        return next();
    }
    const MachineIdentity found = MachineIdentity::fromRecords(m_session);
    if (!found.known()) {
        // Up but mute: nothing is sent to a machine that cannot say who it is.
        m_session.releaseDevice();
        m_lastTry = {Failure::TimedOut, tr("the machine did not say who it is")};
        return next();
    }
    if (!found.matches(m_expected)) {
        m_stranger = found;
        m_session.releaseDevice();
        return giveUp({Failure::DeviceLost,
                       tr("another machine answers at %1: %2, not %3 the job ran on; nothing was sent to it")
                           .arg(m_session.target(), found.text(), m_expected.text()),
                       {{QStringLiteral("found"), found.text()}, {QStringLiteral("expected"), m_expected.text()}}});
    }
    stopAll();
    emit reconnected();
}

void Reconnector::giveUp(const Failure &failure)
{
    stopAll();
    m_failure = failure;
    emit gaveUp(failure);
}

void Reconnector::cancel()
{
    if (!m_active)
        return;
    const bool connecting = m_connecting || m_identity;
    stopAll();
    if (connecting)
        m_session.releaseDevice();
}

void Reconnector::stopAll()
{
    m_active = false;
    m_connecting = false;
    m_wait.stop();
    m_budget.stop();
    for (const QMetaObject::Connection &c : qAsConst(m_links))
        disconnect(c);
    m_links.clear();
    if (m_identity) {
        disconnect(m_identity, nullptr, this, nullptr);
        m_identity->deleteLater();
        m_identity = nullptr;
    }
}
