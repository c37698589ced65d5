// SPDX-License-Identifier: LGPL-2.1-or-later
// Reply values into records of every kind and value type, compounds
// included; the record must then still build its read and write frames.
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

QVariant valueOfType(uint8_t t, bool compound)
{
    if (compound)
        return QStringList{QStringLiteral("M_X"), QStringLiteral("M_Y"), QStringLiteral("MISSING")};
    switch (t % 9) {
    case 0: return QString();
    case 1: return 7u;
    case 2: return -7;
    case 3: return 1.5;
    case 4: return true;
    case 5: return QVariant();
    case 6: return QStringList{QStringLiteral("A")};
    case 7: return QDateTime::fromSecsSinceEpoch(0);
    default: return QVariant::fromValue<qlonglong>(-1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    const auto kind = VXDeviceInterface::VXDeviceCMDType(data[0] % 7);
    const bool compound = data[1] & 0x80;
    const int paramCount = data[2] % 4;
    const int len = data[3] % 8;   // above 6 too: the write must not overrun
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 4), int(size - 4));

    QStringList param;
    for (int i = 0; i < paramCount; ++i)
        param << QString::number(i + 1);

    VXDeviceProperty record;
    record.init(valueOfType(data[1], compound), QStringLiteral("R"), QString(), 5, 5, len, kind, param);
    VXDeviceProperty mx, my;
    mx.init(0, QStringLiteral("X"), QString(), 5, 5, 1, VXDeviceInterface::CCMD, {});
    my.init(QString(), QStringLiteral("Y"), QString(), 6, 6, 1, VXDeviceInterface::CCMD, {});
    if (compound) {
        VXDeviceProperty::attach(&record, "M_X", &mx);
        VXDeviceProperty::attach(&record, "M_Y", &my);
    }

    // Single form, then the list form split as the dispatcher splits.
    record.set_decode(text);
    (void)record.set_cmd_bytes();
    record.set_decode(text.split(QLatin1Char(data[2] & 0x80 ? ';' : ','), Qt::KeepEmptyParts));
    record.set_decode(QStringList());
    (void)record.get_cmd_bytes();
    (void)record.set_cmd_bytes();
    (void)mx.set_cmd_bytes();
    (void)my.set_cmd_bytes();
    return 0;
}
