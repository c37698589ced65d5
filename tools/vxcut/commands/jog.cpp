// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Run.h"
#include "SettingsRun.h"
#include "interface/VXDeviceInterface.h"

#include <QCoreApplication>

#include <QHash>
#include <QPair>

namespace Jog {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut jog X+|X-|Y+|Y-|origin|home [--time MS] --tcp ... | --usb ...\n\n"
    "Moves the carriage for MS milliseconds (default 500) then stops it;\n"
    "origin sets the origin here, home returns to it.\n");

Failure check(Run &r)
{
    static const QStringList dirs{QStringLiteral("X+"), QStringLiteral("X-"), QStringLiteral("Y+"),
                                  QStringLiteral("Y-"), QStringLiteral("ORIGIN"), QStringLiteral("HOME")};
    if (r.options.args.size() != 1 || !dirs.contains(r.options.args.first().toUpper()))
        return {Failure::Usage, QCoreApplication::translate("Jog", "jog wants one of X+ X- Y+ Y- origin home")};
    return Failure();
}

namespace {

// The machine may still be moving the axis it was last told to: once the
// same machine answers again it is told to stop, and the move is never sent
// again, since how far the carriage went is unknown.
Outcome stopAfterDrop(Run &r, SettingsRun &exchange, const QString &dir)
{
    const Failure lost = r.session->linkFailure();
    if (Failure f = Set::drive(r, exchange, [](SettingsRun &e) { e.read({}); }))
        return f;
    r.session->device()->move(0, 0);
    r.await.settle();
    if (!r.session->linkUp())
        return r.waitFailure(QCoreApplication::translate("Jog", "stopping the axis"));
    return Failure(Failure::DeviceLost,
                   QCoreApplication::translate("Jog", "%1 during the jog; reconnected and stopped the axis; "
                                                      "the move was not repeated").arg(lost.message),
                   {{QStringLiteral("direction"), dir}, {QStringLiteral("stopped"), true},
                    {QStringLiteral("reconnects"), exchange.reconnects()}});
}

}

Outcome run(Run &r)
{
    const QString dir = r.options.args.value(0).toUpper();
    static const QHash<QString, QPair<int, int>> moves{
        {QStringLiteral("X+"), {0, 1}}, {QStringLiteral("X-"), {0, -1}},
        {QStringLiteral("Y+"), {1, 0}}, {QStringLiteral("Y-"), {-1, 0}}};
    if (dir == QLatin1String("ORIGIN") || dir == QLatin1String("HOME")) {
        VXDeviceProperty *rec = r.record(dir == QLatin1String("ORIGIN") ? QStringLiteral("FLAG_POINT")
                                                                        : QStringLiteral("BACK_FLAG_POINT"));
        if (!rec)
            return Failure(Failure::UnknownKey, QCoreApplication::translate("Jog", "this device has no %1 command").arg(dir.toLower()));
        r.session->send(rec);
        r.await.settle();
        return QJsonObject{{QStringLiteral("command"), dir.toLower()}};
    }
    const auto move = moves.value(dir);
    DeviceSession *s = r.session.get();
    // Who the machine is, so a reconnect can tell it is the same one.
    SettingsRun exchange(*s);
    if (Failure f = Set::drive(r, exchange, [](SettingsRun &e) { e.read(MachineIdentity::identityKeys()); }))
        return f;
    // The first argument drives Y, the second X. The machine keeps moving
    // until told to stop.
    s->device()->move(move.first, move.second);
    r.await.until([s] { return !s->linkUp(); }, r.options.jogMs);
    if (s->state() == DeviceSession::State::Lost)
        return stopAfterDrop(r, exchange, dir);
    s->device()->move(0, 0);
    r.await.settle();
    if (s->state() == DeviceSession::State::Lost)
        return r.waitFailure(QCoreApplication::translate("Jog", "jogging"));
    const QJsonObject fields{{QStringLiteral("direction"), dir}, {QStringLiteral("ms"), r.options.jogMs}};
    if (r.await.interrupted())
        return Failure(Failure::Interrupted, QString(), fields);
    return fields;
}

}
