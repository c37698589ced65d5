// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Run.h"
#include "SettingsRun.h"

#include <QCoreApplication>

namespace Info {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut info --tcp HOST[:PORT] | --usb PATH\n\n"
    "Reads the machine's identity (model, numbers, firmware, unique id).\n");

Outcome run(Run &r)
{
    // Who the machine is, read across drops; shown from what was read.
    SettingsRun exchange(*r.session);
    if (Failure f = Set::drive(r, exchange, [](SettingsRun &s) { s.read(MachineIdentity::identityKeys()); }))
        return f;
    if (!exchange.missing().isEmpty())
        return r.waitFailure(QCoreApplication::translate("Info", "reading the machine information"));
    if (Failure f = r.readInfo(true))
        return f;
    return QJsonObject();
}

}
