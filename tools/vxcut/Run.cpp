// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Run.h"

#include "Interrupt.h"
#include "Options.h"
#include "Output.h"
#include "RecordValue.h"
#include "cloud/NimbraCloud.h"
#include "property/VXDeviceProperty.h"

#include <QCoreApplication>
#include <QLocale>
#include <QNetworkReply>

Run::Run(const Options &o, Output &output, Interrupt *intr)
    : options(o), out(output), interrupt(intr), await(intr), journal(o.journal), tcp(o.tcp)
{
}

Run::~Run()
{
    // The device object goes before the plugin that made it.
    session.reset();
}

Failure Run::loadDevice()
{
    if (!plugin.load(options.plugin))
        return {Failure::Plugin, plugin.error()};
    session = std::make_unique<DeviceSession>(plugin.root());
    session->setTimeout(options.timeoutMs);
    if (Failure f = session->renewDevice())
        return {Failure::Plugin, QCoreApplication::translate("Run", "plugin %1 created no device object").arg(plugin.fileName())};
    DeviceSession *s = session.get();
    QObject::connect(s, &DeviceSession::linkEvent, s, [this](LinkMessage::Event event, const QString &text) {
        if (event == LinkMessage::RemoteUp || event == LinkMessage::RemoteDown)
            remoteState = text;
        VXDeviceProperty *status = record(QStringLiteral("STATUS"));
        // A refused attempt reads as "DISCONNECTED." too; while reconnecting
        // that is one line per attempt, and the result says why anyway.
        const bool refusedAttempt = event == LinkMessage::LinkDown
                                    && session->state() == DeviceSession::State::Connecting;
        out.event(QStringLiteral("link"),
                  {{QStringLiteral("message"), text},
                   {QStringLiteral("Status"), status ? status->value().toInt() : 0}},
                  refusedAttempt ? QString() : QCoreApplication::translate("Run", "link: %1").arg(text));
    });
    QObject::connect(s, &DeviceSession::qrCode, s, [this](const QString &code) {
        out.event(QStringLiteral("qrcode"), {{QStringLiteral("code"), code}}, QCoreApplication::translate("Run", "QR code: %1").arg(code));
    });
    QObject::connect(s, &DeviceSession::warning, s, [this](const QString &text) { out.warning(text); });
    out.event(QStringLiteral("plugin"), {{QStringLiteral("file"), plugin.fileName()}}, QString());
    return Failure();
}

Failure Run::connect()
{
    // The device timer takes its period from the record when the link comes up.
    if (options.heartbeatSec > 0)
        session->setHeartbeat(options.heartbeatSec);
    Failure f;
    if (!tcp.isEmpty())
        f = session->connectTcp(tcp);
    else if (!options.usb.isEmpty())
        f = session->connectUsb(options.usb);
    else
        return {Failure::Usage, QCoreApplication::translate("Run", "give the machine with --tcp HOST[:PORT] or --usb PATH")};
    if (f)
        return f;
    DeviceSession *s = session.get();
    await.until([s] { return s->state() != DeviceSession::State::Connecting; }, options.timeoutMs + 1000);
    if (s->linkUp())
        return Failure();
    if (await.interrupted())
        return {Failure::Interrupted, QCoreApplication::translate("Run", "interrupted")};
    return s->linkFailure();
}

Failure Run::waitFailure(const QString &what) const
{
    if (await.interrupted())
        return {Failure::Interrupted, QCoreApplication::translate("Run", "interrupted while %1").arg(what)};
    if (session && session->state() == DeviceSession::State::Lost)
        return {Failure::DeviceLost, QCoreApplication::translate("Run", "%1 while %2").arg(session->linkFailure().message, what)};
    return {Failure::TimedOut, QCoreApplication::translate("Run", "the machine did not answer while %1 (%2 s)")
                                   .arg(what, QLocale().toString(options.timeoutMs / 1000.0))};
}

Failure Run::read(const QStringList &keys, QStringList *missing)
{
    DeviceQuery *q = session->query(keys);
    await.until([q] { return q->isDone(); }, options.timeoutMs + 1000);
    const bool done = q->isDone();
    if (missing)
        *missing = q->missing();
    q->deleteLater();
    if (!done || !session->linkUp())
        return waitFailure(QCoreApplication::translate("Run", "reading"));
    return Failure();
}

Failure Run::write(const Profile::Entry &e, QJsonObject *event)
{
    DeviceWrite *w = session->write(e.record, e.stored);
    await.until([w] { return w->isDone(); }, options.timeoutMs + 1000);
    w->deleteLater();
    if (!w->isDone() || !session->linkUp())
        return waitFailure(QCoreApplication::translate("Run", "writing %1").arg(e.key));
    *event = {{QStringLiteral("key"), e.key},
              {QStringLiteral("value"), RecordValue::shown(e.record, e.stored)},
              {QStringLiteral("acked"), w->acked()},
              {QStringLiteral("confirmed"), w->readBack() && RecordValue::same(w->value(), e.stored)}};
    if (w->acked())
        event->insert(QStringLiteral("status"), w->status());
    if (w->readBack())
        event->insert(QStringLiteral("read_back"), RecordValue::shown(e.record, w->value()));
    if (w->unconfirmable())
        event->insert(QStringLiteral("unconfirmable"), true);
    return w->failure(e.key, e.text);
}

Failure Run::parseQuality()
{
    if (options.quality.isEmpty())
        return Failure();
    VXDeviceProperty *r = record(QStringLiteral("WORK_MODE"));
    if (!r)
        return {Failure::UnknownKey, QCoreApplication::translate("Run", "this device has no cutting quality setting")};
    QString why;
    if (!RecordValue::parse(r, options.quality, quality, why))
        return {Failure::BadValue, QCoreApplication::translate("Run", "--quality: %1").arg(why)};
    return Failure();
}

void Run::applyQuality()
{
    VXDeviceProperty *r = record(QStringLiteral("WORK_MODE"));
    if (!quality.isValid() || !r)
        return;
    // Written before the job, so the work record names the quality cut with.
    DeviceWrite *w = session->write(r, quality);
    await.until([w] { return w->isDone(); }, options.timeoutMs + 1000);
    w->deleteLater();
    out.event(QStringLiteral("write"),
              {{QStringLiteral("key"), QStringLiteral("WORK_MODE")},
               {QStringLiteral("value"), RecordValue::shown(r, quality)}},
              QCoreApplication::translate("Run", "cutting quality: %1").arg(RecordValue::shown(r, quality)));
}

Failure Run::readInfo(bool show)
{
    QStringList missing;
    if (Failure f = read({QStringLiteral("DEVICE_INFO"), QStringLiteral("DEVICE_UNIQUE_ID")}, &missing))
        return waitFailure(QCoreApplication::translate("Run", "reading the machine information"));
    VXDeviceProperty *info = record(QStringLiteral("DEVICE_INFO"));
    if (!info)
        return {Failure::Other, QCoreApplication::translate("Run", "the device object has no DEVICE_INFO record")};
    QStringList keys;
    if (record(QStringLiteral("DEVICE_MODEL_NAME")))
        keys << QStringLiteral("DEVICE_MODEL_NAME");
    for (const QByteArray &name : info->dynamicPropertyNames()) {
        if (!info->property_ptr(name.constData()))
            continue;
        if (missing.contains(QString::fromLatin1(name)))
            return waitFailure(QCoreApplication::translate("Run", "reading the machine information"));
        keys << QString::fromLatin1(name);
    }
    if (!missing.contains(QStringLiteral("DEVICE_UNIQUE_ID")))
        keys << QStringLiteral("DEVICE_UNIQUE_ID");
    QJsonObject fields;
    for (const QString &key : keys)
        fields.insert(key, RecordValue::shown(record(key)));
    if (show) {
        for (const QString &key : keys)
            out.text(QStringLiteral("%1: %2").arg(record(key)->label(), fields.value(key).toString()));
        out.event(QStringLiteral("info"), fields, QString());
    } else {
        out.event(QStringLiteral("info"), fields,
                  QCoreApplication::translate("Run", "machine: %1, no. %2, firmware %3")
                      .arg(fields.value(QStringLiteral("DEVICE_MODEL")).toString(),
                           fields.value(QStringLiteral("DEVICE_ID")).toString(),
                           fields.value(QStringLiteral("FIRMWARE")).toString()));
    }
    return Failure();
}

Failure Run::registerCloud(NimbraCloud *cloud, QString code)
{
    VXDeviceProperty *rec = record(QStringLiteral("DEVICE_CLOUD"));
    if (!rec)
        return {Failure::Cloud, QCoreApplication::translate("Run", "the device object has no cloud record")};
    if (code.isEmpty()) {
        VXDeviceProperty *id = record(QStringLiteral("DEVICE_ID"));
        code = id && !id->value().toString().isEmpty() ? id->value().toString() : QStringLiteral("VXDEMO0001");
    }
    session->setCloud(cloud, code);
    auto registered = [rec] { return rec->value().toJsonObject().contains(QStringLiteral("id")); };
    DeviceSession *s = session.get();
    // The client's own time-out bounds each request; allow it one answer.
    const int limit = qMax(options.timeoutMs, cloud->timeout()) + 1000;
    if (!await.until([&] { return registered() || !s->linkUp(); }, limit) || !registered()) {
        if (await.interrupted() || !s->linkUp())
            return waitFailure(QCoreApplication::translate("Run", "registering with the cloud"));
        return {Failure::Cloud, QCoreApplication::translate("Run", "the cloud did not register the machine (code %1)").arg(code)};
    }
    const QJsonObject r = rec->value().toJsonObject();
    out.event(QStringLiteral("cloud"), r,
              QCoreApplication::translate("Run", "cloud: registered as device %1 (code %2)")
                  .arg(r.value(QStringLiteral("id")).toInt()).arg(code));
    return Failure();
}

Failure Run::openRemote()
{
    remoteState.clear();
    if (!session->openRemote())
        return {Failure::Cloud, QCoreApplication::translate("Run", "this device object offers no remote channel")};
    DeviceSession *s = session.get();
    if (!await.until([&] { return !remoteState.isEmpty() || !s->linkUp(); }, options.timeoutMs)
            || remoteState != QLatin1String("WEB SOCKET CONNECTED.")) {
        if (await.interrupted() || !s->linkUp())
            return waitFailure(QCoreApplication::translate("Run", "opening the remote channel"));
        return {Failure::Cloud, QCoreApplication::translate("Run", "the remote channel did not open (%1)")
                                    .arg(remoteState.isEmpty() ? QCoreApplication::translate("Run", "no answer") : remoteState)};
    }
    return Failure();
}

const std::atomic<bool> *Run::cancelFlag() const
{
    return interrupt ? interrupt->cancelFlag() : nullptr;
}

bool Run::cancelled() const
{
    const std::atomic<bool> *flag = cancelFlag();
    return flag && flag->load(std::memory_order_relaxed);
}
