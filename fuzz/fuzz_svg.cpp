// SPDX-License-Identifier: LGPL-2.1-or-later
// SVG arrives from users: the reader (Qt SVG underneath) must refuse bad
// documents cleanly and never produce non-finite geometry.
#include "PlotFile.h"
#include "SvgReader.h"

#include <QGuiApplication>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // Text outlines need the font database, which needs an application;
    // never destroyed, so Qt's font caches are not torn down after it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication *app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    PlotDocument doc;
    SvgReader reader;
    const bool ok = reader.read(bytes, doc);
    if (ok == !reader.error().isEmpty())
        __builtin_trap();
    const QRectF box = doc.boundingBox();
    if (!std::isfinite(box.width()) && !doc.isEmpty())
        __builtin_trap();
    return 0;
}
