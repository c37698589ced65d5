// DXF arrives from users: libdime parses it and the reader turns entities
// into paths; both must fail cleanly on any bytes.
#include "DxfReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    PlotDocument doc;
    DxfReader reader;
    const bool ok = reader.read(bytes, doc);
    if (ok == !reader.error().isEmpty())
        __builtin_trap();
    if (doc.cutLength() < 0)
        __builtin_trap();
    return 0;
}
