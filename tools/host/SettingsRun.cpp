// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SettingsRun.h"

#include "DeviceSession.h"
#include "RecordValue.h"
#include "property/VXDeviceProperty.h"

#include <QJsonArray>
#include <QLocale>

#include <algorithm>

SettingsRun::SettingsRun(DeviceSession &session, QObject *parent)
    : QObject(parent), m_session(session), m_reconnector(session)
{
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (Failure f = m_session.reconnect()) {
            m_lastTry = f;
            retryBlind();
        }
    });
    connect(&m_session, &DeviceSession::lost, this, &SettingsRun::onLost);
    connect(&m_session, &DeviceSession::linkUpChanged, this, [this](bool up) {
        if (up && m_blind && m_state == State::Reconnecting)
            onBack();
    });
    connect(&m_session, &DeviceSession::connectFailed, this, [this](const Failure &f) {
        if (m_blind && m_state == State::Reconnecting) {
            m_lastTry = f;
            retryBlind();
        }
    });
    connect(&m_reconnector, &Reconnector::attempting, this, &SettingsRun::reconnecting);
    connect(&m_reconnector, &Reconnector::reconnected, this, &SettingsRun::onBack);
    connect(&m_reconnector, &Reconnector::gaveUp, this, [this](const Failure &f) { end(lostFailure(f)); });
}

SettingsRun::~SettingsRun()
{
    m_reconnector.cancel();
}

void SettingsRun::setReconnect(bool on, const ReconnectSchedule &schedule)
{
    m_reconnect = on;
    m_schedule = schedule;
    m_reconnector.setSchedule(schedule);
}

void SettingsRun::read(const QStringList &keys)
{
    m_writing = false;
    m_keys = keys;
    begin();
}

void SettingsRun::write(const QList<Profile::Entry> &entries)
{
    m_writing = true;
    m_items.clear();
    for (const Profile::Entry &e : entries)
        m_items << Item{e, false};
    begin();
}

void SettingsRun::cancel()
{
    if (m_state != State::Idle)
        end(lostFailure({Failure::Interrupted, tr("interrupted")}));
}

QStringList SettingsRun::applied() const
{
    QStringList keys;
    for (const Item &i : m_items) {
        if (i.applied)
            keys << i.entry.key;
    }
    return keys;
}

QStringList SettingsRun::notApplied() const
{
    QStringList keys;
    for (const Item &i : m_items) {
        if (!i.applied)
            keys << i.entry.key;
    }
    return keys;
}

QJsonObject SettingsRun::facts() const
{
    return {{QStringLiteral("applied"), QJsonArray::fromStringList(applied())},
            {QStringLiteral("not_applied"), QJsonArray::fromStringList(notApplied())},
            {QStringLiteral("reconnects"), m_reconnects},
            {QStringLiteral("link_down_ms"), double(m_downMs)}};
}

void SettingsRun::begin()
{
    m_state = State::Identifying;
    // Started on a link already lost (a jog that dropped): reconnect first.
    if (!m_session.linkUp())
        return m_session.state() == DeviceSession::State::Lost ? onLost() : end(lostFailure(m_session.linkFailure()));
    const QStringList identity = MachineIdentity::identityKeys();
    const bool readsIdentity = !m_writing && std::all_of(identity.begin(), identity.end(), [this](const QString &k) {
        return m_keys.contains(k);
    });
    if (m_identity.known() || readsIdentity)
        return step();
    m_state = State::Identifying;
    m_query = m_session.query(MachineIdentity::identityKeys());
    connect(m_query, &DeviceQuery::done, this, &SettingsRun::onIdentity);
}

void SettingsRun::onIdentity()
{
    if (m_state != State::Identifying)
        return;
    m_query->deleteLater();
    if (!m_session.linkUp())
        return onLost();
    // A machine that did not say who it is can still be read and written;
    // a drop later then ends the exchange, as nothing could be compared.
    m_identity = MachineIdentity::fromRecords(m_session);
    step();
}

void SettingsRun::step()
{
    if (m_writing)
        return m_reconnects > 0 ? verify() : writeNext();
    if (m_keys.isEmpty())
        return end();
    m_state = State::Reading;
    m_query = m_session.query(m_keys);
    connect(m_query, &DeviceQuery::done, this, &SettingsRun::onRead);
}

void SettingsRun::onRead()
{
    if (m_state != State::Reading)
        return;
    m_query->deleteLater();
    if (!m_session.linkUp())
        return onLost();
    m_missing = m_query->missing();
    if (!m_identity.known())
        m_identity = MachineIdentity::fromRecords(m_session);
    end();
}

VXDeviceProperty *SettingsRun::recordOf(const Profile::Entry &entry) const
{
    return m_session.record(entry.key);
}

bool SettingsRun::readableBack(VXDeviceProperty *record) const
{
    return record && RecordValue::answerDecoded(record) && RecordValue::readable(m_session.readVia(record));
}

// After a reconnect: what the machine holds decides what is written. A
// setting applied before the drop that the machine no longer holds (it was
// restarted) is written again.
void SettingsRun::verify()
{
    QStringList keys;
    for (const Item &i : qAsConst(m_items)) {
        if (readableBack(recordOf(i.entry)))
            keys << i.entry.key;
    }
    if (keys.isEmpty())
        return writeNext();
    m_state = State::Verifying;
    m_query = m_session.query(keys);
    connect(m_query, &DeviceQuery::done, this, &SettingsRun::onVerified);
}

void SettingsRun::onVerified()
{
    if (m_state != State::Verifying)
        return;
    m_query->deleteLater();
    if (!m_session.linkUp())
        return onLost();
    const QStringList missing = m_query->missing();
    for (Item &i : m_items) {
        VXDeviceProperty *record = recordOf(i.entry);
        if (!readableBack(record) || missing.contains(i.entry.key))
            continue;
        const bool held = RecordValue::same(record->value(), i.entry.stored);
        if (held && !i.applied) {
            i.applied = true;
            emit written({{QStringLiteral("key"), i.entry.key},
                          {QStringLiteral("value"), RecordValue::shown(record, i.entry.stored)},
                          {QStringLiteral("read_back"), RecordValue::shown(record)},
                          {QStringLiteral("confirmed"), true},
                          {QStringLiteral("held"), true}}, true);
        } else if (!held) {
            i.applied = false;
        }
    }
    writeNext();
}

void SettingsRun::writeNext()
{
    m_current = -1;
    for (int i = 0; i < m_items.size() && m_current < 0; ++i) {
        if (!m_items.at(i).applied)
            m_current = i;
    }
    if (m_current < 0)
        return end();
    const Profile::Entry &e = m_items.at(m_current).entry;
    VXDeviceProperty *record = recordOf(e);
    if (!record)
        return end(lostFailure({Failure::UnknownKey, tr("the device object has no record %1").arg(e.key)}));
    m_state = State::Writing;
    m_write = m_session.write(record, e.stored);
    connect(m_write, &DeviceWrite::done, this, &SettingsRun::onWritten);
}

void SettingsRun::onWritten()
{
    if (m_state != State::Writing)
        return;
    DeviceWrite *w = m_write;
    w->deleteLater();
    if (!m_session.linkUp())
        return onLost();
    Item &item = m_items[m_current];
    const Profile::Entry &e = item.entry;
    VXDeviceProperty *record = recordOf(e);
    QJsonObject event{{QStringLiteral("key"), e.key},
                      {QStringLiteral("value"), RecordValue::shown(record, e.stored)},
                      {QStringLiteral("acked"), w->acked()},
                      {QStringLiteral("confirmed"), w->readBack() && RecordValue::same(w->value(), e.stored)}};
    if (w->acked())
        event.insert(QStringLiteral("status"), w->status());
    if (w->readBack())
        event.insert(QStringLiteral("read_back"), RecordValue::shown(record, w->value()));
    if (w->unconfirmable())
        event.insert(QStringLiteral("unconfirmable"), true);
    if (Failure f = w->failure(e.key, e.text)) {
        if (f.kind == Failure::Rejected)
            emit written(event, false);
        return end(lostFailure(f));
    }
    item.applied = true;
    emit written(event, true);
    writeNext();
}

void SettingsRun::onLost()
{
    if (m_state == State::Idle || m_state == State::Reconnecting)
        return;
    dropRequests();
    const Failure why = m_session.linkFailure();
    if (!m_reconnect)
        return end(lostFailure(why.failed() ? why : Failure(Failure::DeviceLost, tr("link lost"))));
    m_state = State::Reconnecting;
    m_down.start();
    // Nothing asked of the machine yet: whoever answers starts afresh.
    m_blind = !m_identity.known() && m_current < 0 && applied().isEmpty();
    if (!m_blind)
        return m_reconnector.start(m_identity);
    m_attempts = 0;
    m_lastTry = why;
    m_schedule.reset();
    retryBlind();
}

void SettingsRun::retryBlind()
{
    const int delay = m_schedule.nextDelay(m_down.elapsed());
    if (delay < 0) {
        return end(lostFailure({Failure::DeviceLost,
                                tr("the link stayed down for %1 s (%n attempts to reconnect to %2; last: %3)", nullptr, m_attempts)
                                    .arg(QLocale().toString(m_down.elapsed() / 1000.0, 'f', 1), m_session.target(),
                                         m_lastTry.message)}));
    }
    emit reconnecting(++m_attempts, delay);
    m_retry.start(delay);
}

void SettingsRun::onBack()
{
    m_blind = false;
    m_retry.stop();
    ++m_reconnects;
    m_downMs += m_down.elapsed();
    emit reconnected();
    begin();
}

Failure SettingsRun::lostFailure(const Failure &why) const
{
    Failure f = why;
    if (!f.failed())
        f = {Failure::DeviceLost, tr("link lost")};
    if (!m_writing)
        return f;
    const auto list = [this](const QStringList &keys) {
        return keys.isEmpty() ? tr("no setting") : keys.join(QStringLiteral(", "));
    };
    f.message += tr("; applied: %1; not applied: %2").arg(list(applied()), list(notApplied()));
    const QJsonObject more = facts();
    for (auto it = more.begin(); it != more.end(); ++it)
        f.facts.insert(it.key(), it.value());
    return f;
}

void SettingsRun::end(const Failure &failure)
{
    m_reconnector.cancel();
    m_retry.stop();
    m_blind = false;
    dropRequests();
    m_state = State::Idle;
    m_failure = failure;
    emit finished();
}

void SettingsRun::dropRequests()
{
    for (QObject *request : {static_cast<QObject *>(m_query.data()), static_cast<QObject *>(m_write.data())}) {
        if (request) {
            disconnect(request, nullptr, this, nullptr);
            request->deleteLater();
        }
    }
}
