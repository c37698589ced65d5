// SPDX-License-Identifier: LGPL-2.1-or-later
// Plot files come from users and the network: the reader must fail cleanly.
#include "PlotReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    PlotReader reader;
    reader.setKeepPolylines(size % 2 == 0);
    const bool ok = reader.read(QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size)));
    if (ok == reader.hasError())
        __builtin_trap();
    // Totals feed job records; they must never go negative.
    if (reader.pathLength() < 0 || reader.travelLength() < 0)
        __builtin_trap();
    (void)reader.boundingBox();
    return 0;
}
