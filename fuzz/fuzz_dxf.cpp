// SPDX-License-Identifier: LGPL-2.1-or-later
// DXF arrives from users: libdime parses it and the reader turns entities
// into paths; both must fail cleanly on any bytes.
#include "DxfReader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

// libdime allocates table names with new[] and frees them with delete
// (dimeUnknownTable); harmless with glibc, and not ours to fix.
// Its LWPOLYLINE keeps arrays it never frees (16 bytes a vertex list).
extern "C" const char *__asan_default_options() { return "alloc_dealloc_mismatch=0"; }
extern "C" const char *__lsan_default_suppressions() { return "leak:libdime.so\n"; }

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
