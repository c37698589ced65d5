// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DeviceSession.h"

#include "RecordMarker.h"
#include "RecordValue.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QSet>

using RecordMarker::marked;
using RecordMarker::marker;

namespace {

// A request ends when answered, timed out or the link is gone; a short beat
// notices the silent decode.
constexpr int PollMs = 10;

void collect(VXDeviceProperty *record, QList<VXDeviceProperty *> &targets,
             QList<VXDeviceProperty *> &answers)
{
    if (!RecordValue::answerDecoded(record))
        return;
    if (RecordValue::readable(record)) {
        targets << record;
        if (RecordValue::isGroup(record)) {
            // One query fills every member (the information group).
            for (VXDeviceProperty *member : record->members())
                answers << member;
        } else {
            answers << record;
        }
    } else if (RecordValue::isGroup(record)) {
        for (VXDeviceProperty *member : record->members())
            collect(member, targets, answers);
    }
}

}

// ---- DeviceQuery

DeviceQuery::DeviceQuery(DeviceSession *session)
    : QObject(session), m_session(session)
{
    m_poll.setInterval(PollMs);
    m_deadline.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &DeviceQuery::check);
    connect(&m_deadline, &QTimer::timeout, this, &DeviceQuery::finish);
    connect(session, &DeviceSession::linkUpChanged, this, &DeviceQuery::check);
}

void DeviceQuery::check()
{
    if (m_done)
        return;
    if (!m_session->linkUp())
        return finish();
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        if (marked(it.key(), it.value()))
            return;
    }
    m_session->heard();
    finish();
}

void DeviceQuery::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_poll.stop();
    m_deadline.stop();
    for (auto it = m_marks.cbegin(); it != m_marks.cend(); ++it) {
        if (marked(it.key(), it.value())) {
            it.key()->assignDecoded(m_original.value(it.key()));
            m_missing << m_names.value(it.key(), it.key()->label());
        }
    }
    emit done();
}

VXDeviceProperty *DeviceSession::readVia(VXDeviceProperty *record) const
{
    if (!record || RecordValue::readable(record) || RecordValue::isGroup(record) || !m_device)
        return record;
    // "DEVICE_ID" has no query of its own: the information group's answer
    // carries it, so asking for the member means asking for the group.
    for (const QString &key : m_device->userProperty() + m_device->sysProperty()) {
        VXDeviceProperty *group = this->record(key);
        if (group && group != record && RecordValue::readable(group) && group->members().contains(record))
            return group;
    }
    return record;
}

DeviceQuery *DeviceSession::query(const QStringList &keys)
{
    auto *q = new DeviceQuery(this);
    QList<VXDeviceProperty *> targets;
    QList<VXDeviceProperty *> answers;
    for (const QString &key : keys) {
        VXDeviceProperty *r = record(key);
        if (!r)
            continue;
        q->m_names.insert(r, key);
        for (const QByteArray &name : r->dynamicPropertyNames()) {
            if (VXDeviceProperty *m = r->property_ptr(name.constData()))
                q->m_names.insert(m, QString::fromLatin1(name));
        }
        collect(readVia(r), targets, answers);
    }
    for (VXDeviceProperty *r : qAsConst(answers)) {
        const QVariant mark = marker(r);
        if (!mark.isValid() || q->m_original.contains(r))
            continue;
        q->m_original.insert(r, r->value());
        q->m_marks.insert(r, mark);
        r->assignDecoded(mark);
    }
    QSet<QByteArray> sent;
    for (VXDeviceProperty *r : qAsConst(targets)) {
        const QByteArray frame = r->get_cmd_bytes();
        if (!sent.contains(frame)) {
            sent.insert(frame);
            m_device->sendCMD(frame);
        }
    }
    q->m_deadline.start(m_timeoutMs);
    q->m_poll.start();
    // Even an empty read reports through done(), after the caller connected.
    QTimer::singleShot(0, q, &DeviceQuery::check);
    return q;
}

// ---- DeviceWrite

DeviceWrite::DeviceWrite(DeviceSession *session, VXDeviceProperty *record, const QVariant &stored)
    : QObject(session), m_session(session), m_record(record), m_stored(stored)
{
    m_poll.setInterval(PollMs);
    m_deadline.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, &DeviceWrite::check);
    connect(&m_deadline, &QTimer::timeout, this, &DeviceWrite::finish);
    m_ack = connect(record, &VXDeviceProperty::retStatus, this, [this](int ret) {
        m_acked = true;
        m_status = ret;
        check();
    });
}

void DeviceWrite::check()
{
    if (m_done)
        return;
    if (!m_session->linkUp())
        return finish();
    const bool refused = m_acked && m_status != 0;
    if (m_mark.isValid() ? (!marked(m_record, m_mark) || refused) : m_acked)
        finish();
}

void DeviceWrite::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_poll.stop();
    m_deadline.stop();
    disconnect(m_ack);
    if (m_mark.isValid()) {
        if (marked(m_record, m_mark)) {
            // Refused: the machine still has the old value.
            m_record->assignDecoded(m_acked && m_status != 0 ? m_before : m_stored);
        } else {
            m_readBack = true;
            m_value = m_record->value();
            m_session->heard();
        }
    }
    emit done();
}

Failure DeviceWrite::failure(const QString &key, const QString &typed) const
{
    if (m_acked && m_status != 0)
        return {Failure::Rejected, tr("the machine refused %1 = %2 (status %3)")
                                       .arg(key, typed, QString::number(m_status))};
    if (m_readBack && !RecordValue::same(m_value, m_stored))
        return {Failure::Rejected, tr("%1: wrote %2 but the machine reports %3")
                                       .arg(key, RecordValue::shown(m_record, m_stored),
                                            RecordValue::shown(m_record, m_value))};
    if (!m_unconfirmable && !m_readBack && !m_acked)
        return {Failure::TimedOut, tr("%1: the machine did not confirm the write").arg(key)};
    return Failure();
}

DeviceWrite *DeviceSession::write(VXDeviceProperty *record, const QVariant &stored)
{
    auto *w = new DeviceWrite(this, record, stored);
    w->m_before = record->value();
    record->setValue(stored);
    m_device->sendCMD(record->set_cmd_bytes());
    if (!RecordValue::answerDecoded(record)) {
        w->m_unconfirmable = true;
        QTimer::singleShot(0, w, &DeviceWrite::finish);
        return w;
    }
    if (RecordValue::readable(record)) {
        w->m_mark = marker(record);
        record->assignDecoded(w->m_mark);
        m_device->sendCMD(record->get_cmd_bytes());
    }
    w->m_deadline.start(m_timeoutMs);
    w->m_poll.start();
    return w;
}

bool DeviceSession::awaitingAnswer(const VXDeviceProperty *record) const
{
    for (const DeviceQuery *q : findChildren<DeviceQuery *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!q->isDone() && q->m_marks.contains(const_cast<VXDeviceProperty *>(record)))
            return true;
    }
    for (const DeviceWrite *w : findChildren<DeviceWrite *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isDone() && w->m_record == record && w->m_mark.isValid())
            return true;
    }
    return false;
}
