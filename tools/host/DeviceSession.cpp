#include "DeviceSession.h"

#include "RecordValue.h"
#include "interface/VXDeviceInterface.h"
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"

#include <QSet>
#include <QtMath>

#include <climits>

namespace {

// A value the machine cannot send. Multi-word readings always decode to
// int, so a uint marker is safe for them whatever the record held before.
QVariant marker(const VXDeviceProperty *record)
{
    if (record->cmd_type() == VXDeviceInterface::CMD && record->cmd_len() > 1)
        return QVariant(uint(UINT_MAX));
    switch (record->value().userType()) {
    case QMetaType::Int:
        return QVariant(int(INT_MIN));
    case QMetaType::UInt:
        return QVariant(uint(UINT_MAX));
    case QMetaType::Double:
        return QVariant(qQNaN());
    case QMetaType::QString:
        return QVariant(QStringLiteral("\x01vxhost-pending"));
    default:
        return QVariant();   // nothing a reply could turn into a value
    }
}

bool marked(const VXDeviceProperty *record, const QVariant &mark)
{
    const QVariant &v = record->value();
    if (v.userType() != mark.userType())
        return false;
    if (mark.userType() == QMetaType::Double)
        return qIsNaN(v.toDouble());
    return v == mark;
}

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
        collect(r, targets, answers);
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
        return {Failure::Rejected, QStringLiteral("the machine refused %1 = %2 (status %3)")
                                       .arg(key, typed).arg(m_status)};
    if (m_readBack && !RecordValue::same(m_value, m_stored))
        return {Failure::Rejected, QStringLiteral("%1: wrote %2 but the machine reports %3")
                                       .arg(key, RecordValue::shown(m_record, m_stored),
                                            RecordValue::shown(m_record, m_value))};
    if (!m_unconfirmable && !m_readBack && !m_acked)
        return {Failure::TimedOut, QStringLiteral("%1: the machine did not confirm the write").arg(key)};
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

// ---- DeviceSession

DeviceSession::DeviceSession(VXDeviceInterface *factory, QObject *parent)
    : QObject(parent), m_factory(factory)
{
    m_liveness.setInterval(200);
    connect(&m_liveness, &QTimer::timeout, this, &DeviceSession::watchLiveness);
    m_connectDeadline.setSingleShot(true);
    connect(&m_connectDeadline, &QTimer::timeout, this, [this] {
        if (m_state == State::Connecting)
            endLink({Failure::TimedOut, QStringLiteral("no connection to %1 within %2 s")
                                            .arg(m_target).arg(m_timeoutMs / 1000.0)});
    });
}

DeviceSession::~DeviceSession()
{
    releaseDevice();
}

void DeviceSession::releaseDevice()
{
    m_liveness.stop();
    m_connectDeadline.stop();
    if (m_device) {
        emit deviceAboutToGo();
        // Closing the transport still reports through message(): nobody should hear it.
        disconnect(m_device, nullptr, this, nullptr);
        delete m_device.data();
        emit deviceChanged(nullptr);
    }
    const bool wasUp = m_state == State::Up;
    m_state = State::NoDevice;
    if (wasUp)
        emit linkUpChanged(false);
}

Failure DeviceSession::renewDevice()
{
    releaseDevice();
    m_device = m_factory ? m_factory->initInstance() : nullptr;
    if (!m_device)
        return {Failure::Plugin, QStringLiteral("the plugin created no device object")};
    connect(m_device, &VXDeviceInterface::message, this, &DeviceSession::onMessage);
    m_state = State::Idle;
    m_usb = false;
    m_linkFailure = Failure();
    m_heartbeatWarned = false;
    if (m_heartbeatSec > 0)
        setHeartbeat(m_heartbeatSec);
    emit deviceChanged(m_device);
    return Failure();
}

VXCommonInterface *DeviceSession::common() const
{
    return qobject_cast<VXCommonInterface *>(m_device.data());
}

VXDeviceProperty *DeviceSession::record(const QString &key) const
{
    return m_device ? m_device->property_ptr(key.toLatin1().constData()) : nullptr;
}

void DeviceSession::setHeartbeat(int seconds)
{
    m_heartbeatSec = seconds;
    if (VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT")); hb && seconds > 0)
        hb->setValue(seconds);
}

int DeviceSession::heartbeatPeriodMs() const
{
    VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
    const int seconds = hb ? hb->value().toInt() : 2;
    return VXCommonInterface::heartbeatIntervalMs(seconds > 0 && seconds < 3600 ? seconds : 2);
}

Failure DeviceSession::startConnect(const QString &what)
{
    m_target = what;
    m_state = State::Connecting;
    m_linkFailure = Failure();
    m_connectDeadline.start(m_timeoutMs);
    // A transport may report the outcome from inside connectDevice().
    if (!m_device->connectDevice() && m_state == State::Connecting) {
        m_connectDeadline.stop();
        m_state = State::Failed;
        m_linkFailure = {Failure::Other, QStringLiteral("the device object did not start a connection")};
        return m_linkFailure;
    }
    return Failure();
}

Failure DeviceSession::connectTcp(const QString &hostPort)
{
    QString host = hostPort;
    int port = 9100;
    const int colon = hostPort.lastIndexOf(QLatin1Char(':'));
    // One colon: host:port. More (a bare IPv6 address) or none: no port given.
    if (colon > 0 && hostPort.indexOf(QLatin1Char(':')) == colon) {
        bool ok = false;
        port = hostPort.mid(colon + 1).toInt(&ok);
        host = hostPort.left(colon);
        if (!ok || port < 1 || port > 65535)
            return {Failure::Usage, QStringLiteral("bad port in '%1'").arg(hostPort)};
    }
    return connectTcp(host, port);
}

Failure DeviceSession::connectTcp(const QString &host, int port)
{
    if (host.isEmpty())
        return {Failure::Usage, QStringLiteral("no host given")};
    if (!m_device || m_state != State::Idle) {
        if (Failure f = renewDevice())
            return f;
    }
    m_device->setIPAddress(host);
    if (VXDeviceProperty *p = record(QStringLiteral("TCP_PORT")))
        p->setValue(port);
    m_usb = false;
    return startConnect(QStringLiteral("%1:%2").arg(host).arg(port));
}

Failure DeviceSession::connectUsb(const QString &path)
{
    if (path.isEmpty())
        return {Failure::Usage, QStringLiteral("no serial device given")};
    if (!m_device || m_state != State::Idle) {
        if (Failure f = renewDevice())
            return f;
    }
    m_device->setUSBPath(path);
    m_usb = true;
    return startConnect(path);
}

void DeviceSession::endLink(const Failure &why)
{
    const State before = m_state;
    m_liveness.stop();
    m_connectDeadline.stop();
    m_linkFailure = why;
    if (before == State::Connecting) {
        m_state = State::Failed;
        emit connectFailed(why);
    } else if (before == State::Up) {
        m_state = State::Lost;
        emit linkUpChanged(false);
        emit lost(why);
    }
}

void DeviceSession::onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text)
{
    const LinkMessage::Event event = LinkMessage::classify(kind, text);
    switch (event) {
    case LinkMessage::JobReport:
        m_heard.restart();
        emit jobReport();
        return;
    case LinkMessage::QrCode:
        emit qrCode(text);
        return;
    case LinkMessage::LinkUp: {
        m_connectDeadline.stop();
        m_state = State::Up;
        m_heard.start();
        m_heartbeatHeard.start();
        if (VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT")))
            hb->assignDecoded(marker(hb));
        m_liveness.start();
        emit linkEvent(event, text);
        emit linkUpChanged(true);
        return;
    }
    default:
        break;
    }
    emit linkEvent(event, text);
    if (LinkMessage::endsLink(event)) {
        if (m_state == State::Connecting)
            endLink({Failure::Refused, m_usb ? QStringLiteral("cannot open %1").arg(m_target)
                                             : QStringLiteral("cannot connect to %1 (refused)").arg(m_target)});
        else if (m_state == State::Up)
            endLink({Failure::DeviceLost, QStringLiteral("link lost (%1)").arg(text)});
    }
}

void DeviceSession::watchLiveness()
{
    if (m_state != State::Up)
        return;
    VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
    if (hb) {
        const QVariant mark = marker(hb);
        if (!marked(hb, mark)) {
            m_heard.restart();
            m_heartbeatHeard.restart();
            hb->assignDecoded(mark);
        }
    }
    // The plugin itself never notices a silent machine; three missed
    // heartbeats (or the answer time-out, if longer) count as a lost link.
    const qint64 limit = qMax<qint64>(m_timeoutMs, 3 * heartbeatPeriodMs() + 1000);
    if (m_heard.elapsed() > limit) {
        endLink({Failure::DeviceLost, QStringLiteral("the machine stopped answering (nothing for %1 s)")
                                          .arg(m_heard.elapsed() / 1000)});
    } else if (hb && !m_heartbeatWarned && m_heartbeatHeard.elapsed() > limit) {
        m_heartbeatWarned = true;
        emit warning(QStringLiteral("the machine does not answer the heartbeat"));
    }
}

void DeviceSession::send(VXDeviceProperty *record)
{
    if (m_device && record)
        m_device->sendCMD(record->set_cmd_bytes());
}

void DeviceSession::send(const char *key)
{
    send(record(QLatin1String(key)));
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
