// SPDX-License-Identifier: LGPL-2.1-or-later
// SVG arrives from users: the reader must refuse bad documents cleanly,
// stay inside its budget (use cycles and bombs, huge curves) and never
// produce non-finite geometry.
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
    ReadBudget budget(bytes.size());
    const bool ok = reader.read(bytes, doc, budget);
    if (ok == !reader.error().isEmpty() || reader.skipped() < reader.skippedKinds().size())
        __builtin_trap();
    if (qint64(doc.pointCount()) > budget.pointLimit() + 65536)
        __builtin_trap();
    const QRectF box = doc.boundingBox();
    if (!std::isfinite(box.width()) && !doc.isEmpty())
        __builtin_trap();
    return 0;
}
