// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Output.h"
#include "Run.h"

#include <QCoreApplication>
#include <QSerialPortInfo>

namespace Ports {

const char usage[] = QT_TRANSLATE_NOOP("Command", "Usage: vxcut ports [--json]\n\nLists the serial devices present.\n");

Outcome run(Run &r)
{
    const auto list = QSerialPortInfo::availablePorts();
    if (list.isEmpty())
        r.out.text(QCoreApplication::translate("Ports", "no serial devices found"));
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
        r.out.event(QStringLiteral("port"), o,
                    QStringLiteral("%1  %2 %3 %4").arg(port.systemLocation(), ids, port.manufacturer(),
                                                       port.description()).trimmed());
    }
    return QJsonObject{{QStringLiteral("count"), list.size()}};
}

}
