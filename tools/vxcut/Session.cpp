#include "Session.h"

#include "ExitCodes.h"
#include "Interrupt.h"
#include "Output.h"
#include "RecordValue.h"
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"

#include <QEventLoop>
#include <QHash>
#include <QJsonObject>
#include <QSet>
#include <QtMath>

#include <climits>

namespace {

// Decoding a reply stores the value without any signal, so a host sees an
// answer only as a change of the stored value. Before a read the value is
// replaced by a marker the machine cannot send; the read is answered once
// the marker is gone. Multi-word readings always decode to int, so a uint
// marker is safe for them whatever the record held before.
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
        return QVariant(QStringLiteral("\x01vxcut-pending"));
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

}

Session::Session(Output &out, Interrupt *interrupt, QObject *parent)
    : QObject(parent), m_out(out), m_interrupt(interrupt)
{
    m_liveness.setInterval(200);
    connect(&m_liveness, &QTimer::timeout, this, &Session::watchLiveness);
    if (interrupt)
        connect(interrupt, &Interrupt::interrupted, this, &Session::changed);
}

Session::~Session()
{
    m_liveness.stop();
    delete m_device;   // before the plugin unloads
    m_device = nullptr;
}

bool Session::interrupted() const
{
    return m_interrupt && m_interrupt->pending();
}

VXCommonInterface *Session::common() const
{
    return qobject_cast<VXCommonInterface *>(m_device);
}

VXDeviceProperty *Session::record(const QString &key) const
{
    return m_device ? m_device->property_ptr(key.toLatin1().constData()) : nullptr;
}

int Session::load(const QString &pluginPath)
{
    if (!m_plugin.load(pluginPath))
        return m_out.result(ExitCode::Plugin, m_plugin.error());
    m_device = m_plugin.root()->initInstance();
    if (!m_device)
        return m_out.result(ExitCode::Plugin,
                            QStringLiteral("plugin %1 created no device object").arg(m_plugin.fileName()));
    connect(m_device, &VXDeviceInterface::message, this, &Session::onMessage);
    m_out.event(QStringLiteral("plugin"), {{QStringLiteral("file"), m_plugin.fileName()}}, QString());
    return ExitCode::Ok;
}

int Session::heartbeatPeriodMs() const
{
    VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
    const int seconds = hb ? hb->value().toInt() : 2;
    return VXCommonInterface::heartbeatIntervalMs(seconds > 0 && seconds < 3600 ? seconds : 2);
}

void Session::onMessage(VXDeviceInterface::VXDeviceMessage kind, const QString &text)
{
    if (kind == VXDeviceInterface::DevTasK) {
        m_heard.restart();
        emit taskReport(text);
        emit changed();
        return;
    }
    if (kind == VXDeviceInterface::Qrcode) {
        m_out.event(QStringLiteral("qrcode"), {{QStringLiteral("code"), text}},
                    QStringLiteral("QR code: %1").arg(text));
        return;
    }
    if (text.startsWith(QLatin1String("WEB SOCKET"))) {
        m_wsState = text;
    } else if (text == QLatin1String("TCP CONNECTED.") || text == QLatin1String("USB CONNECTED.")) {
        m_linkUp = true;
        m_connecting = false;
        m_heard.start();
        m_heartbeatHeard.start();
        VXDeviceProperty *hb = record(QStringLiteral("HEARTBEAT"));
        if (hb)
            hb->assignDecoded(marker(hb));
        m_liveness.start();
    } else if (text.endsWith(QLatin1String("DISCONNECTED.")) || text == QLatin1String("USB ERROR.")
               || text.startsWith(QLatin1String("HEARTBEAT TIMEOUT"))) {
        if (m_connecting) {
            m_refused = true;
        } else if (m_linkUp) {
            m_lost = true;
            m_lostReason = QStringLiteral("link lost (%1)").arg(text);
        }
        m_linkUp = false;
        m_liveness.stop();
    }
    VXDeviceProperty *status = record(QStringLiteral("STATUS"));
    m_out.event(QStringLiteral("link"),
                {{QStringLiteral("message"), text},
                 {QStringLiteral("Status"), status ? status->value().toInt() : 0}},
                QStringLiteral("link: %1").arg(text));
    emit changed();
}

void Session::watchLiveness()
{
    if (!m_linkUp)
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
    // heartbeats (or the answer timeout, if longer) count as a lost link.
    const qint64 limit = qMax<qint64>(m_timeoutMs, 3 * heartbeatPeriodMs() + 1000);
    if (m_heard.elapsed() > limit) {
        m_lost = true;
        m_linkUp = false;
        m_lostReason = QStringLiteral("the machine stopped answering (nothing for %1 s)")
                .arg(m_heard.elapsed() / 1000);
        m_liveness.stop();
        emit changed();
    } else if (hb && !m_heartbeatWarned && m_heartbeatHeard.elapsed() > limit) {
        m_heartbeatWarned = true;
        m_out.warning(QStringLiteral("the machine does not answer the heartbeat"));
    }
}

bool Session::wait(const std::function<bool()> &done, int timeoutMs, bool abortable)
{
    if (done())
        return true;
    if (abortable && (interrupted() || m_lost))
        return false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QTimer poll;
    poll.setInterval(10);
    bool ok = false;
    auto check = [&] {
        if (done()) {
            ok = true;
            loop.quit();
        } else if (abortable && (interrupted() || m_lost)) {
            loop.quit();
        }
    };
    connect(&poll, &QTimer::timeout, &loop, check);
    connect(this, &Session::changed, &loop, check);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(qMax(0, timeoutMs));
    poll.start();
    loop.exec();
    return ok;
}

void Session::flush(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int Session::awaitLink(const QString &what)
{
    const bool ok = wait([this] { return m_linkUp || m_refused; }, m_timeoutMs);
    if (ok && m_linkUp)
        return ExitCode::Ok;
    m_connecting = false;
    if (interrupted())
        return m_out.result(ExitCode::Interrupted, QStringLiteral("interrupted"));
    if (m_refused)
        return m_out.result(ExitCode::Refused, m_usb ? QStringLiteral("cannot open %1").arg(what)
                                                     : QStringLiteral("cannot connect to %1 (refused)").arg(what));
    return m_out.result(ExitCode::TimedOut,
                        QStringLiteral("no connection to %1 within %2 s").arg(what).arg(m_timeoutMs / 1000.0));
}

int Session::connectTcp(const QString &hostPort)
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
            return m_out.result(ExitCode::Usage, QStringLiteral("bad port in '%1'").arg(hostPort));
    }
    if (host.isEmpty())
        return m_out.result(ExitCode::Usage, QStringLiteral("no host in '%1'").arg(hostPort));
    m_device->setIPAddress(host);
    if (VXDeviceProperty *p = record(QStringLiteral("TCP_PORT")))
        p->setValue(port);
    m_connecting = true;
    m_refused = false;
    if (!m_device->connectDevice())
        return m_out.result(ExitCode::Failure, QStringLiteral("the device object did not start a connection"));
    return awaitLink(QStringLiteral("%1:%2").arg(host).arg(port));
}

int Session::connectUsb(const QString &path)
{
    m_usb = true;
    m_device->setUSBPath(path);
    m_connecting = true;
    m_refused = false;
    if (!m_device->connectDevice())
        return m_out.result(ExitCode::Failure, QStringLiteral("the device object did not start a connection"));
    return awaitLink(path);
}

bool Session::answerDecoded(const VXDeviceProperty *record)
{
    for (int n : {record->get_cmd_int(), record->set_cmd_int()}) {
        if (n == 27 || n == 125)
            return false;
    }
    return true;
}

void Session::collect(VXDeviceProperty *record, QList<VXDeviceProperty *> &targets,
                      QList<VXDeviceProperty *> &answers)
{
    if (!answerDecoded(record))
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

QStringList Session::query(const QStringList &keys)
{
    QList<VXDeviceProperty *> targets;
    QList<VXDeviceProperty *> answers;
    QHash<VXDeviceProperty *, QString> names;
    for (const QString &key : keys) {
        VXDeviceProperty *r = record(key);
        if (!r)
            continue;
        names.insert(r, key);
        for (const QByteArray &name : r->dynamicPropertyNames()) {
            if (VXDeviceProperty *m = r->property_ptr(name.constData()))
                names.insert(m, QString::fromLatin1(name));
        }
        collect(r, targets, answers);
    }

    QHash<VXDeviceProperty *, QVariant> original;
    QHash<VXDeviceProperty *, QVariant> marks;
    for (VXDeviceProperty *r : qAsConst(answers)) {
        const QVariant mark = marker(r);
        if (!mark.isValid() || original.contains(r))
            continue;
        original.insert(r, r->value());
        marks.insert(r, mark);
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
    auto answered = [&] {
        for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
            if (marked(it.key(), it.value()))
                return false;
        }
        return true;
    };
    if (wait(answered, m_timeoutMs))
        m_heard.restart();
    QStringList missing;
    for (auto it = marks.cbegin(); it != marks.cend(); ++it) {
        if (marked(it.key(), it.value())) {
            it.key()->assignDecoded(original.value(it.key()));
            missing << names.value(it.key(), it.key()->label());
        }
    }
    return missing;
}

void Session::send(VXDeviceProperty *record)
{
    m_device->sendCMD(record->set_cmd_bytes());
}

Session::WriteOutcome Session::write(VXDeviceProperty *record, const QVariant &stored)
{
    WriteOutcome outcome;
    QMetaObject::Connection ack = connect(record, &VXDeviceProperty::retStatus, this,
                                          [&outcome, this](int ret) {
        outcome.acked = true;
        outcome.status = ret;
        emit changed();
    });
    const QVariant before = record->value();
    record->setValue(stored);
    m_device->sendCMD(record->set_cmd_bytes());
    if (!answerDecoded(record)) {
        outcome.unconfirmable = true;
        flush();
    } else if (RecordValue::readable(record)) {
        const QVariant mark = marker(record);
        record->assignDecoded(mark);
        m_device->sendCMD(record->get_cmd_bytes());
        wait([&] { return !marked(record, mark) || (outcome.acked && outcome.status != 0); }, m_timeoutMs);
        if (marked(record, mark)) {
            // Refused: the machine still has the old value.
            record->assignDecoded(outcome.acked && outcome.status != 0 ? before : stored);
        } else {
            outcome.readBack = true;
            outcome.value = record->value();
            m_heard.restart();
        }
    } else {
        wait([&] { return outcome.acked; }, m_timeoutMs);
    }
    disconnect(ack);
    return outcome;
}
