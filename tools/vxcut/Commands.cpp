#include "Commands.h"

#include "CutRun.h"
#include "Demo.h"
#include "ExitCodes.h"
#include "Options.h"
#include "Output.h"
#include "PlotJob.h"
#include "Profile.h"
#include "RecordValue.h"
#include "Session.h"
#include "cloud/NimbraCloud.h"
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QNetworkReply>
#include <QSaveFile>
#include <QSerialPortInfo>
#include <QSet>
#include <QUrl>

namespace Commands {

namespace {

QString withUnit(const QString &value, const QString &unit)
{
    return unit.isEmpty() ? value : value + QLatin1Char(' ') + unit;
}

int ports(Output &out)
{
    const auto list = QSerialPortInfo::availablePorts();
    if (list.isEmpty())
        out.text(QStringLiteral("no serial devices found"));
    for (const QSerialPortInfo &port : list) {
        QJsonObject o{{QStringLiteral("path"), port.systemLocation()},
                      {QStringLiteral("name"), port.portName()},
                      {QStringLiteral("description"), port.description()},
                      {QStringLiteral("manufacturer"), port.manufacturer()},
                      {QStringLiteral("serial"), port.serialNumber()}};
        QString ids;
        if (port.hasVendorIdentifier() && port.hasProductIdentifier()) {
            ids = QString::asprintf("%04x:%04x", port.vendorIdentifier(), port.productIdentifier());
            o.insert(QStringLiteral("usb_id"), ids);
        }
        out.event(QStringLiteral("port"), o,
                  QStringLiteral("%1  %2 %3 %4").arg(port.systemLocation(), ids, port.manufacturer(),
                                                     port.description()).trimmed());
    }
    return out.result(ExitCode::Ok, QString(), {{QStringLiteral("count"), list.size()}});
}

// Settings list: groups as headings, members indented, each record once.
void showRecord(Output &out, VXDeviceProperty *record, const QString &key, const QString &section,
                VXDeviceProperty *group, const QString &groupKey, QSet<VXDeviceProperty *> &shown, int depth)
{
    if (shown.contains(record))
        return;
    shown.insert(record);
    const QString indent(2 * depth, QLatin1Char(' '));
    if (RecordValue::isGroup(record)) {
        out.text(indent + withUnit(record->label(), record->uint()));
        for (const QByteArray &name : record->dynamicPropertyNames()) {
            if (VXDeviceProperty *member = record->property_ptr(name.constData()))
                showRecord(out, member, QString::fromLatin1(name), section, record, key, shown, depth + 1);
        }
        return;
    }
    const QString unit = RecordValue::unit(record, group);
    QJsonObject o{{QStringLiteral("key"), key},
                  {QStringLiteral("label"), record->label()},
                  {QStringLiteral("value"), RecordValue::shownJson(record)},
                  {QStringLiteral("unit"), unit},
                  {QStringLiteral("section"), section},
                  {QStringLiteral("writable"), RecordValue::writable(record)}};
    if (group)
        o.insert(QStringLiteral("group"), groupKey);
    // People read a group's unit once, on its heading.
    out.event(QStringLiteral("setting"), o,
              indent + QStringLiteral("%1: %2").arg(record->label(),
                                                    withUnit(RecordValue::shown(record), record->uint())));
}

int settingsList(Session &s, Output &out)
{
    VXDeviceInterface *device = s.device();
    const QStringList user = device->userProperty();
    const QStringList system = device->sysProperty();
    const QStringList missing = s.query(user + system);
    if (s.lost() || s.interrupted())
        return waitFailure(s, out, QStringLiteral("reading the settings"));
    if (!missing.isEmpty())
        out.warning(QStringLiteral("no answer for %1; showing the values held locally")
                        .arg(missing.join(QStringLiteral(", "))));
    QSet<VXDeviceProperty *> shown;
    const QList<QPair<QString, QStringList>> sections{
        {QStringLiteral("user"), user}, {QStringLiteral("system"), system}};
    for (const auto &section : sections) {
        out.text(section.first == QLatin1String("user") ? QStringLiteral("Settings")
                                                        : QStringLiteral("Machine information"));
        for (const QString &key : section.second) {
            if (VXDeviceProperty *r = s.record(key))
                showRecord(out, r, key, section.first, nullptr, QString(), shown, 1);
        }
    }
    return out.result(missing.isEmpty() ? ExitCode::Ok : ExitCode::TimedOut,
                      missing.isEmpty() ? QString()
                                        : QStringLiteral("the machine did not answer for %1")
                                              .arg(missing.join(QStringLiteral(", "))));
}

int get(Session &s, Output &out, const QStringList &keys)
{
    const QStringList missing = s.query(keys);
    if (s.lost() || s.interrupted())
        return waitFailure(s, out, QStringLiteral("reading"));
    QJsonObject values;
    for (const QString &key : keys) {
        VXDeviceProperty *r = s.record(key);
        if (RecordValue::isGroup(r)) {
            for (const QByteArray &name : r->dynamicPropertyNames()) {
                VXDeviceProperty *m = r->property_ptr(name.constData());
                if (!m)
                    continue;
                const QString k = QString::fromLatin1(name);
                values.insert(k, RecordValue::shownJson(m));
                out.event(QStringLiteral("value"),
                          {{QStringLiteral("key"), k}, {QStringLiteral("value"), RecordValue::shownJson(m)},
                           {QStringLiteral("unit"), RecordValue::unit(m, r)}, {QStringLiteral("group"), key}},
                          QStringLiteral("%1 = %2").arg(k, withUnit(RecordValue::shown(m), RecordValue::unit(m, r))));
            }
            continue;
        }
        values.insert(key, RecordValue::shownJson(r));
        const bool fromMachine = RecordValue::readable(r) && Session::answerDecoded(r);
        out.event(QStringLiteral("value"),
                  {{QStringLiteral("key"), key}, {QStringLiteral("value"), RecordValue::shownJson(r)},
                   {QStringLiteral("unit"), r->uint()}, {QStringLiteral("from_machine"), fromMachine}},
                  QStringLiteral("%1 = %2%3").arg(key, withUnit(RecordValue::shown(r), r->uint()),
                                                  fromMachine ? QString()
                                                              : QStringLiteral("  (held locally; not read from the machine)")));
    }
    if (!missing.isEmpty())
        return out.result(ExitCode::TimedOut,
                          QStringLiteral("the machine did not answer for %1").arg(missing.join(QStringLiteral(", "))),
                          {{QStringLiteral("values"), values}});
    return out.result(ExitCode::Ok, QString(), {{QStringLiteral("values"), values}});
}

// Writes each entry and reads it back; stops at the first that fails.
int writeAll(Session &s, Output &out, const QList<Profile::Entry> &entries)
{
    int written = 0;
    for (const Profile::Entry &e : entries) {
        const Session::WriteOutcome w = s.write(e.record, e.stored);
        if (s.interrupted() || s.lost())
            return waitFailure(s, out, QStringLiteral("writing %1").arg(e.key));
        QJsonObject o{{QStringLiteral("key"), e.key},
                      {QStringLiteral("value"), RecordValue::shown(e.record, e.stored)},
                      {QStringLiteral("acked"), w.acked},
                      {QStringLiteral("confirmed"), w.readBack && RecordValue::same(w.value, e.stored)}};
        if (w.acked)
            o.insert(QStringLiteral("status"), w.status);
        if (w.readBack)
            o.insert(QStringLiteral("read_back"), RecordValue::shown(e.record, w.value));
        if (w.acked && w.status != 0) {
            out.event(QStringLiteral("write"), o, QString());
            return out.result(ExitCode::Rejected,
                              QStringLiteral("the machine refused %1 = %2 (status %3)")
                                  .arg(e.key, e.text).arg(w.status));
        }
        if (w.readBack && !RecordValue::same(w.value, e.stored)) {
            out.event(QStringLiteral("write"), o, QString());
            return out.result(ExitCode::Rejected,
                              QStringLiteral("%1: wrote %2 but the machine reports %3")
                                  .arg(e.key, RecordValue::shown(e.record, e.stored),
                                       RecordValue::shown(e.record, w.value)));
        }
        if (w.unconfirmable) {
            out.event(QStringLiteral("write"), o,
                      QStringLiteral("%1 = %2  (sent; the machine's answer to this setting is not decoded)")
                          .arg(e.key, RecordValue::shown(e.record, e.stored)));
            ++written;
            continue;
        }
        if (!w.readBack && !w.acked)
            return out.result(ExitCode::TimedOut,
                              QStringLiteral("%1: the machine did not confirm the write").arg(e.key));
        const QString how = w.readBack ? QStringLiteral("read back") : QStringLiteral("acknowledged");
        out.event(QStringLiteral("write"), o,
                  QStringLiteral("%1 = %2  (%3%4)").arg(e.key, RecordValue::shown(e.record, e.stored), how,
                                                        w.acked ? QStringLiteral(", status %1").arg(w.status)
                                                                : QString()));
        ++written;
    }
    return out.result(ExitCode::Ok, QString(), {{QStringLiteral("written"), written}});
}

int parseAssignments(Session &s, Output &out, const QStringList &args, QList<Profile::Entry> &entries)
{
    QString text;
    for (const QString &arg : args) {
        if (!arg.contains(QLatin1Char('=')))
            return out.result(ExitCode::Usage, QStringLiteral("'%1' is not KEY=VALUE").arg(arg));
        text += arg + QLatin1Char('\n');
    }
    int code = ExitCode::Ok;
    QString error;
    if (!Profile::parse(text, s.device(), entries, code, error)) {
        // Line numbers mean argument positions here.
        error.replace(QLatin1String("line "), QLatin1String("argument "));
        return out.result(code, error);
    }
    return ExitCode::Ok;
}

int dump(Session &s, Output &out, const QString &file)
{
    const QStringList keys = Profile::settingKeys(s.device());
    const QStringList missing = s.query(keys + QStringList{QStringLiteral("DEVICE_INFO")});
    if (s.lost() || s.interrupted())
        return waitFailure(s, out, QStringLiteral("reading the settings"));
    if (!missing.isEmpty())
        return out.result(ExitCode::TimedOut, QStringLiteral("the machine did not answer for %1")
                                                  .arg(missing.join(QStringLiteral(", "))));
    auto value = [&](const char *key) {
        VXDeviceProperty *r = s.record(QLatin1String(key));
        return r ? r->value().toString() : QString();
    };
    const QString header = QStringLiteral(
        "# vxcut settings profile\n"
        "# model %1, machine %2, firmware %3, saved %4\n"
        "# KEY = value, in the units `vxcut settings` shows; '#' starts a comment.\n"
        "# Apply with: vxcut settings apply FILE --tcp HOST | --usb PATH\n\n")
        .arg(value("DEVICE_MODEL"), value("DEVICE_ID"), value("FIRMWARE"),
             QDateTime::currentDateTime().toString(Qt::ISODate));
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)
            || f.write(Profile::render(s.device(), keys, header).toUtf8()) < 0 || !f.commit())
        return out.result(ExitCode::Failure, QStringLiteral("cannot write %1: %2").arg(file, f.errorString()));
    out.text(QStringLiteral("%1 settings written to %2").arg(keys.size()).arg(file));
    return out.result(ExitCode::Ok, QString(), {{QStringLiteral("file"), file}, {QStringLiteral("count"), keys.size()}});
}

int apply(Session &s, Output &out, const QList<Profile::Entry> &entries)
{
    QStringList keys;
    for (const auto &e : entries)
        keys << e.key;
    const QStringList missing = s.query(keys);
    if (s.lost() || s.interrupted())
        return waitFailure(s, out, QStringLiteral("reading the settings"));
    if (!missing.isEmpty())
        return out.result(ExitCode::TimedOut, QStringLiteral("the machine did not answer for %1")
                                                  .arg(missing.join(QStringLiteral(", "))));
    QList<Profile::Entry> changes;
    for (const auto &e : entries) {
        // A value the machine's answers cannot tell us is written every time.
        const bool known = Session::answerDecoded(e.record);
        if (known && RecordValue::same(e.record->value(), e.stored))
            continue;
        changes << e;
        const QString unit = e.record->uint();
        const QString from = known ? withUnit(RecordValue::shown(e.record), unit) : QStringLiteral("?");
        out.event(QStringLiteral("diff"),
                  {{QStringLiteral("key"), e.key}, {QStringLiteral("label"), e.record->label()},
                   {QStringLiteral("from"), known ? QJsonValue(RecordValue::shown(e.record)) : QJsonValue()},
                   {QStringLiteral("to"), RecordValue::shown(e.record, e.stored)}},
                  QStringLiteral("  %1 (%2): %3 -> %4").arg(e.key, e.record->label(), from,
                                                            withUnit(RecordValue::shown(e.record, e.stored), unit)));
    }
    if (changes.isEmpty()) {
        out.text(QStringLiteral("the machine already has every value of the profile"));
        return out.result(ExitCode::Ok, QString(), {{QStringLiteral("written"), 0}});
    }
    out.text(QStringLiteral("%1 change(s); writing and reading back...").arg(changes.size()));
    return writeAll(s, out, changes);
}

int jog(Session &s, Output &out, const Options &o)
{
    const QString dir = o.args.value(0).toUpper();
    static const QHash<QString, QPair<int, int>> moves{
        {QStringLiteral("X+"), {0, 1}}, {QStringLiteral("X-"), {0, -1}},
        {QStringLiteral("Y+"), {1, 0}}, {QStringLiteral("Y-"), {-1, 0}}};
    VXDeviceInterface *device = s.device();
    if (dir == QLatin1String("ORIGIN") || dir == QLatin1String("HOME")) {
        VXDeviceProperty *r = s.record(dir == QLatin1String("ORIGIN") ? QStringLiteral("FLAG_POINT")
                                                                      : QStringLiteral("BACK_FLAG_POINT"));
        if (!r)
            return out.result(ExitCode::UnknownKey, QStringLiteral("this device has no %1 command").arg(dir.toLower()));
        s.send(r);
        s.flush();
        return out.result(ExitCode::Ok, QString(), {{QStringLiteral("command"), dir.toLower()}});
    }
    const auto move = moves.value(dir);
    // The first argument drives Y, the second X.
    device->move(move.first, move.second);
    s.wait([] { return false; }, o.jogMs);
    device->move(0, 0);
    s.flush();
    if (s.lost())
        return waitFailure(s, out, QStringLiteral("jogging"));
    return out.result(s.interrupted() ? ExitCode::Interrupted : ExitCode::Ok, QString(),
                      {{QStringLiteral("direction"), dir}, {QStringLiteral("ms"), o.jogMs}});
}

int cut(Session &s, Output &out, const Options &o, const PlotJob &job, const QVariant &quality)
{
    if (int rc = readInfo(s, out, false))
        return rc;
    applyQuality(s, out, quality);
    NimbraCloud *cloud = nullptr;
    if (!o.cloud.isEmpty()) {
        cloud = new NimbraCloud(QUrl(o.cloud), o.ws, o.token, &s);
        cloud->setTimeout(s.timeout());
        // The cut does not depend on the cloud: report and go on.
        if (registerCloud(s, out, cloud, o.code) == ExitCode::Ok)
            openRemote(s, out);
    }
    CutRun run(s, out);
    const int rc = run.run(job, o.copies);
    if (cloud)
        waitCloudIdle(s, cloud);
    if (rc != ExitCode::Ok)
        return rc;
    return out.result(ExitCode::Ok, QString(), run.lastTask());
}

}

int parseQuality(Session &s, Output &out, const QString &text, QVariant &stored)
{
    if (text.isEmpty())
        return ExitCode::Ok;
    VXDeviceProperty *r = s.record(QStringLiteral("WORK_MODE"));
    if (!r)
        return out.result(ExitCode::UnknownKey, QStringLiteral("this device has no cutting quality setting"));
    QString why;
    if (!RecordValue::parse(r, text, stored, why))
        return out.result(ExitCode::BadValue, QStringLiteral("--quality: %1").arg(why));
    return ExitCode::Ok;
}

void applyQuality(Session &s, Output &out, const QVariant &stored)
{
    VXDeviceProperty *r = s.record(QStringLiteral("WORK_MODE"));
    if (!stored.isValid() || !r)
        return;
    s.write(r, stored);
    out.event(QStringLiteral("write"),
              {{QStringLiteral("key"), QStringLiteral("WORK_MODE")},
               {QStringLiteral("value"), RecordValue::shown(r, stored)}},
              QStringLiteral("cutting quality: %1").arg(RecordValue::shown(r, stored)));
}

void waitCloudIdle(Session &s, NimbraCloud *cloud)
{
    // The work record is posted without a completion; its reply, a child of
    // the client, lives until the request is done.
    s.wait([cloud] { return cloud->findChildren<QNetworkReply *>().isEmpty(); }, cloud->timeout(), false);
}

int waitFailure(Session &s, Output &out, const QString &what)
{
    if (s.interrupted())
        return out.result(ExitCode::Interrupted, QStringLiteral("interrupted while %1").arg(what));
    if (s.lost())
        return out.result(ExitCode::DeviceLost, QStringLiteral("%1 while %2").arg(s.lostReason(), what));
    return out.result(ExitCode::TimedOut, QStringLiteral("the machine did not answer while %1 (%2 s)")
                                              .arg(what).arg(s.timeout() / 1000.0));
}

int connect(Session &s, Output &out, const Options &o)
{
    // The device timer takes its period from the record when the link comes up.
    if (o.heartbeatSec > 0) {
        if (VXDeviceProperty *hb = s.record(QStringLiteral("HEARTBEAT")))
            hb->setValue(o.heartbeatSec);
    }
    if (!o.tcp.isEmpty())
        return s.connectTcp(o.tcp);
    if (!o.usb.isEmpty())
        return s.connectUsb(o.usb);
    return out.result(ExitCode::Usage, QStringLiteral("give the machine with --tcp HOST[:PORT] or --usb PATH"));
}

int readInfo(Session &s, Output &out, bool show)
{
    const QStringList missing = s.query({QStringLiteral("DEVICE_INFO"), QStringLiteral("DEVICE_UNIQUE_ID")});
    if (s.lost() || s.interrupted())
        return waitFailure(s, out, QStringLiteral("reading the machine information"));
    VXDeviceProperty *info = s.record(QStringLiteral("DEVICE_INFO"));
    if (!info)
        return out.result(ExitCode::Failure, QStringLiteral("the device object has no DEVICE_INFO record"));
    for (const QByteArray &name : info->dynamicPropertyNames()) {
        if (info->property_ptr(name.constData()) && missing.contains(QString::fromLatin1(name)))
            return waitFailure(s, out, QStringLiteral("reading the machine information"));
    }
    QStringList keys;
    if (s.record(QStringLiteral("DEVICE_MODEL_NAME")))
        keys << QStringLiteral("DEVICE_MODEL_NAME");
    for (const QByteArray &name : info->dynamicPropertyNames()) {
        if (info->property_ptr(name.constData()))
            keys << QString::fromLatin1(name);
    }
    if (!missing.contains(QStringLiteral("DEVICE_UNIQUE_ID")))
        keys << QStringLiteral("DEVICE_UNIQUE_ID");
    QJsonObject fields;
    for (const QString &key : keys) {
        VXDeviceProperty *r = s.record(key);
        fields.insert(key, RecordValue::shown(r));
    }
    if (show) {
        for (const QString &key : keys)
            out.text(QStringLiteral("%1: %2").arg(s.record(key)->label(), fields.value(key).toString()));
        out.event(QStringLiteral("info"), fields, QString());
    } else {
        out.event(QStringLiteral("info"), fields,
                  QStringLiteral("machine: %1, no. %2, firmware %3")
                      .arg(fields.value(QStringLiteral("DEVICE_MODEL")).toString(),
                           fields.value(QStringLiteral("DEVICE_ID")).toString(),
                           fields.value(QStringLiteral("FIRMWARE")).toString()));
    }
    return ExitCode::Ok;
}

int registerCloud(Session &s, Output &out, NimbraCloud *cloud, const QString &code)
{
    VXDeviceProperty *record = s.record(QStringLiteral("DEVICE_CLOUD"));
    if (!record)
        return out.result(ExitCode::Cloud, QStringLiteral("the device object has no cloud record"));
    s.device()->setNimbraCloud(cloud, code);
    auto registered = [record] { return record->value().toJsonObject().contains(QStringLiteral("id")); };
    // The client's own time-out bounds each request; allow it one answer.
    const int limit = qMax(s.timeout(), cloud->timeout()) + 1000;
    if (!s.wait(registered, limit)) {
        if (s.interrupted() || s.lost())
            return waitFailure(s, out, QStringLiteral("registering with the cloud"));
        out.warning(QStringLiteral("the cloud did not register the machine (code %1)").arg(code));
        return ExitCode::Cloud;
    }
    const QJsonObject r = record->value().toJsonObject();
    out.event(QStringLiteral("cloud"), r,
              QStringLiteral("cloud: registered as device %1 (code %2)")
                  .arg(r.value(QStringLiteral("id")).toInt()).arg(code));
    return ExitCode::Ok;
}

int openRemote(Session &s, Output &out)
{
    VXCommonInterface *common = s.common();
    if (!common) {
        out.warning(QStringLiteral("this device object offers no remote channel"));
        return ExitCode::Cloud;
    }
    s.clearWebsocketState();
    common->connect_websocket();
    if (!s.wait([&s] { return !s.websocketState().isEmpty(); }, s.timeout())
            || s.websocketState() != QLatin1String("WEB SOCKET CONNECTED.")) {
        if (s.interrupted() || s.lost())
            return waitFailure(s, out, QStringLiteral("opening the remote channel"));
        out.warning(QStringLiteral("the remote channel did not open (%1)")
                        .arg(s.websocketState().isEmpty() ? QStringLiteral("no answer") : s.websocketState()));
        return ExitCode::Cloud;
    }
    return ExitCode::Ok;
}

int run(const Options &o, Output &out, Interrupt *interrupt)
{
    if (o.command == QLatin1String("ports"))
        return ports(out);
    if (o.command == QLatin1String("demo"))
        return Demo::run(o, out, interrupt);

    // Everything that can be checked without the machine is checked first.
    PlotJob job;
    if (o.command == QLatin1String("cut")) {
        if (o.args.size() != 1)
            return out.result(ExitCode::Usage, QStringLiteral("cut wants exactly one plot file"));
        QString error;
        if (!job.load(o.args.first(), error))
            return out.result(ExitCode::PlotFile, error);
    }
    QString sub;
    QString profileFile;
    if (o.command == QLatin1String("settings") && !o.args.isEmpty()) {
        sub = o.args.value(0);
        profileFile = o.args.value(1);
        if ((sub != QLatin1String("dump") && sub != QLatin1String("apply")) || o.args.size() != 2)
            return out.result(ExitCode::Usage, QStringLiteral("use: settings [dump FILE | apply FILE]"));
    }
    if (o.command == QLatin1String("get") && o.args.isEmpty())
        return out.result(ExitCode::Usage, QStringLiteral("get wants at least one KEY"));
    if (o.command == QLatin1String("set") && o.args.isEmpty())
        return out.result(ExitCode::Usage, QStringLiteral("set wants at least one KEY=VALUE"));
    if (o.command == QLatin1String("jog")) {
        static const QStringList dirs{QStringLiteral("X+"), QStringLiteral("X-"), QStringLiteral("Y+"),
                                      QStringLiteral("Y-"), QStringLiteral("ORIGIN"), QStringLiteral("HOME")};
        if (o.args.size() != 1 || !dirs.contains(o.args.first().toUpper()))
            return out.result(ExitCode::Usage, QStringLiteral("jog wants one of X+ X- Y+ Y- origin home"));
    }

    Session s(out, interrupt);
    s.setTimeout(o.timeoutMs);
    if (int rc = s.load(o.plugin))
        return rc;

    QVariant quality;
    if (o.command == QLatin1String("cut")) {
        if (int rc = parseQuality(s, out, o.quality, quality))
            return rc;
    }
    QList<Profile::Entry> entries;
    if (o.command == QLatin1String("get")) {
        for (const QString &key : o.args) {
            if (!s.record(key))
                return out.result(ExitCode::UnknownKey, QStringLiteral("unknown key %1").arg(key));
        }
    } else if (o.command == QLatin1String("set")) {
        if (int rc = parseAssignments(s, out, o.args, entries))
            return rc;
    } else if (sub == QLatin1String("apply")) {
        QFile f(profileFile);
        if (!f.open(QIODevice::ReadOnly))
            return out.result(ExitCode::Failure, QStringLiteral("cannot read %1: %2").arg(profileFile, f.errorString()));
        int code = ExitCode::Ok;
        QString error;
        if (!Profile::parse(QString::fromUtf8(f.readAll()), s.device(), entries, code, error))
            return out.result(code, QStringLiteral("%1: %2").arg(profileFile, error));
    }

    if (int rc = connect(s, out, o))
        return rc;

    if (o.command == QLatin1String("info")) {
        if (int rc = readInfo(s, out, true))
            return rc;
        return out.result(ExitCode::Ok);
    }
    if (o.command == QLatin1String("settings")) {
        if (sub == QLatin1String("dump"))
            return dump(s, out, profileFile);
        if (sub == QLatin1String("apply"))
            return apply(s, out, entries);
        return settingsList(s, out);
    }
    if (o.command == QLatin1String("get"))
        return get(s, out, o.args);
    if (o.command == QLatin1String("set"))
        return writeAll(s, out, entries);
    if (o.command == QLatin1String("jog"))
        return jog(s, out, o);
    return cut(s, out, o, job, quality);
}

}
