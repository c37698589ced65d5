// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Run.h"

namespace Info {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut info --tcp HOST[:PORT] | --usb PATH\n\n"
    "Reads the machine's identity (model, numbers, firmware, unique id).\n");

Outcome run(Run &r)
{
    if (Failure f = r.readInfo(true))
        return f;
    return QJsonObject();
}

}
