// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QByteArray>

/// Wire frame: STX, L in decimal, ';', payload (kind ';' body), ETX, where L
/// counts the whole frame including its own digits. No QObject: tests,
/// benchmarks and fuzzers call it directly.
class VXDEVICE_EXPORT VXFrame
{
public:
    static constexpr char STX = 0x02;
    static constexpr char ETX = 0x03;

    // L for a payload of c bytes: L = c + 3 + digits(L).
    static qint64 length(qint64 payloadSize);
    // The whole frame around kind ';' body, built with one allocation.
    static QByteArray build(const QByteArray &kind, const QByteArray &body);
};
