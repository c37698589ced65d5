// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DeviceSession.h"

#include "RecordValue.h"
#include "interface/VXDeviceInterface.h"
#include "property/RecordAnswer.h"
#include "property/VXDeviceProperty.h"

#include <QSet>

namespace {

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

// The decoding stores a reply only in a record holding a number or a text
// (multi-word readings always); any other record could never be answered.
bool takesAnswers(const VXDeviceProperty *record)
{
    if (record->cmd_type() == VXDeviceInterface::CMD && record->cmd_len() > 1)
        return true;
    switch (record->value().userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Double:
    case QMetaType::QString:
        return true;
    default:
        return false;
    }
}

}

// ---- DeviceQuery

DeviceQuery::DeviceQuery(DeviceSession *session)
    : QObject(session), m_session(session)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &DeviceQuery::finish);
    connect(session, &DeviceSession::linkUpChanged, this, &DeviceQuery::check);
}

void DeviceQuery::await(VXDeviceProperty *record, const QString &name)
{
    m_pending.insert(record, name);
    connect(VXRecordAnswer::of(record), &VXRecordAnswer::answered, this, [this, record] {
        if (m_done || !m_pending.remove(record))
            return;
        m_session->heard();
        check();
    });
}

void DeviceQuery::check()
{
    if (m_done)
        return;
    if (!m_session->linkUp() || m_pending.isEmpty())
        finish();
}

void DeviceQuery::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_deadline.stop();
    // Unanswered records were never touched: they keep the value they had.
    for (const QString &name : qAsConst(m_pending))
        m_missing << name;
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
        if (takesAnswers(r) && !q->m_pending.contains(r))
            q->await(r, q->m_names.value(r, r->label()));
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
    // Even an empty read reports through done(), after the caller connected.
    QTimer::singleShot(0, q, &DeviceQuery::check);
    return q;
}

// ---- DeviceWrite

DeviceWrite::DeviceWrite(DeviceSession *session, VXDeviceProperty *record, const QVariant &stored)
    : QObject(session), m_session(session), m_record(record), m_stored(stored)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &DeviceWrite::finish);
    connect(session, &DeviceSession::linkUpChanged, this, &DeviceWrite::check);
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
    if (!m_session->linkUp() || !m_record)
        return finish();
    const bool refused = m_acked && m_status != 0;
    if (m_awaitRead ? (m_readBack || refused) : m_acked)
        finish();
}

void DeviceWrite::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_deadline.stop();
    disconnect(m_ack);
    disconnect(m_answer);
    if (m_readBack && m_record) {
        m_value = m_record->value();
        m_session->heard();
    } else if (m_awaitRead && m_record && m_acked && m_status != 0) {
        // Refused and not read back: the machine still has the old value.
        m_record->assignDecoded(m_before);
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
    if (!RecordValue::answerDecoded(record)) {
        m_device->sendCMD(record->set_cmd_bytes());
        w->m_unconfirmable = true;
        QTimer::singleShot(0, w, &DeviceWrite::finish);
        return w;
    }
    if (RecordValue::readable(record) && takesAnswers(record)) {
        w->m_awaitRead = true;
        // The write's own echo or the read after it, whichever comes first.
        w->m_answer = connect(VXRecordAnswer::of(record), &VXRecordAnswer::answered, w, [w] {
            w->m_readBack = true;
            w->check();
        });
    }
    m_device->sendCMD(record->set_cmd_bytes());
    if (w->m_awaitRead)
        m_device->sendCMD(record->get_cmd_bytes());
    w->m_deadline.start(m_timeoutMs);
    return w;
}

bool DeviceSession::awaitingAnswer(const VXDeviceProperty *record) const
{
    for (const DeviceQuery *q : findChildren<DeviceQuery *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!q->isDone() && q->m_pending.contains(const_cast<VXDeviceProperty *>(record)))
            return true;
    }
    for (const DeviceWrite *w : findChildren<DeviceWrite *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isDone() && w->m_record == record && w->m_awaitRead)
            return true;
    }
    return false;
}
