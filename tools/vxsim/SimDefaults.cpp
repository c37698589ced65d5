// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimDefaults.h"

using namespace SimNumbers;

SimDefaults SimDefaults::factory()
{
    SimDefaults s;
    // Speeds in mm/s, pressures in stored units, work area in half
    // millimetres, scale in 1/10000; offsets are low word, high word, 0.
    const struct { int n; const char *v; } cmd[] = {
        {1, "200"}, {2, "100"},                 // SP1 speed, pressure
        {Sp2Speed, "200"}, {4, "100"},          // SP2 speed, pressure
        {5, "0"}, {6, "0"}, {7, "0"},           // tool offset X
        {8, "0"}, {9, "0"}, {10, "0"},          // tool offset Y
        {11, "0"}, {12, "0"}, {13, "0"},        // camera offset X
        {14, "0"}, {15, "0"}, {16, "0"},        // camera offset Y
        {24, "10000"}, {25, "10000"},           // scale X, Y
        {PenUpSpeed, "400"}, {27, "1"},         // pen-up speed, cutting quality
        {WorkAreaX, "900"}, {WorkAreaY, "1200"},
        {43, "0"},                              // sheet spacing
        {JogX, "0"}, {JogY, "0"},
        {SetOrigin, "1"}, {ToOrigin, "1"},
        {JobControl, "1"},
        {128, "0"}, {129, "0"},                 // SP1, SP2 tool type
        {131, "0"}, {132, "0"},                 // SP1, SP2 rotary calibration
        {133, "0"}, {134, "0"},                 // feed mode, automatic feed
        {135, "500"}, {136, "300"},             // feed distance, beam centre (mm)
        {137, "500"}, {138, "100"},             // air pump delay (ms), feed speed
    };
    for (const auto &e : cmd)
        s.cmd.insert(e.n, QString::fromLatin1(e.v));

    const struct { int n; const char *v; } ccmd[] = {
        {DeviceId, "VXS-000001"}, {PcbId, "PCB-450-0001"}, {PcbVersion, "V2.1"},
        {QrCopies, "1"}, {QrFile, ""}, {UniqueId, "5658534D00000001"},
        {Heartbeat, "2"},
    };
    for (const auto &e : ccmd)
        s.ccmd.insert(e.n, QString::fromLatin1(e.v));

    s.num.insert(Copies, QStringLiteral("1"));
    return s;
}

bool SimDefaults::ccmdReadable(int n)
{
    return n == DeviceInfo || n == QrCamera || n == QrCopies || n == QrFile || n == UniqueId
           || n == JobReport || n == Heartbeat;
}

bool SimDefaults::ccmdWritable(int n)
{
    return n == QrCopies || n == QrFile || n == Heartbeat || ccmdWriteOnly(n);
}

bool SimDefaults::ccmdWriteOnly(int n)
{
    return n == DeviceId || n == PcbId || n == PcbVersion || n == FactoryReset;
}
