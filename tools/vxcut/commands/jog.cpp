// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Run.h"
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
    // The first argument drives Y, the second X. The machine keeps moving
    // until told to stop.
    s->device()->move(move.first, move.second);
    r.await.until([s] { return !s->linkUp(); }, r.options.jogMs);
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
