// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QHash>
#include <QString>

// Factory settings of the simulated machine, by command number.
struct SimDefaults
{
    QHash<int, QString> cmd;
    QHash<int, QString> ccmd;
    QHash<int, QString> num;

    static SimDefaults factory();

    // CCMD numbers by what the machine does with them.
    static bool ccmdReadable(int n);  // answered "n,value"
    static bool ccmdWritable(int n);
    static bool ccmdWriteOnly(int n); // acknowledged "n,status"
};

namespace SimNumbers {
// CCMD
constexpr int DeviceInfo = 2;
constexpr int QrCamera = 11;
constexpr int DeviceId = 44;
constexpr int PcbId = 46;
constexpr int PcbVersion = 48;
constexpr int QrCopies = 54;
constexpr int QrFile = 55;
constexpr int UniqueId = 57;
constexpr int JobReport = 66;
constexpr int FactoryReset = 67;
constexpr int Heartbeat = 1010;
// CMD
constexpr int Sp2Speed = 3;
constexpr int PenUpSpeed = 26;
constexpr int WorkAreaX = 28;
constexpr int WorkAreaY = 29;
constexpr int JogX = 82;
constexpr int JogY = 83;
constexpr int SetOrigin = 87;
constexpr int ToOrigin = 93;
constexpr int JobControl = 125;
// NUM
constexpr int Copies = 1;
} // namespace SimNumbers
