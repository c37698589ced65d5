// SPDX-License-Identifier: LGPL-2.1-or-later
// Plot files come from users and the network: the reader must fail cleanly.
#include "HpglInterpreter.h"
#include "PlotPipeline.h"
#include "PlotReader.h"
#include "PlotWriter.h"

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

    // Whatever was read goes through the pipeline; without merging, no path
    // may be lost or added, and the plot text written must read back.
    const PlotDocument &doc = reader.document();
    if (doc.pathCount() > 20000)
        return 0;
    PlotOptions options;
    options.mergeOverlaps = size % 3 ? 0.05 : 0;
    options.passes = 1 + int(size % 2);
    options.overcut = size % 5 == 0 ? 1 : 0;
    const PlotPlan plan = PlotPipeline::run(doc, options);
    if (options.mergeOverlaps == 0 && plan.design.pathCount() != doc.pathCount())
        __builtin_trap();
    PlotDocument back;
    HpglInterpreter again(back);
    if (!again.run(PlotWriter::toByteArray(plan.sent())))
        __builtin_trap();
    return 0;
}
