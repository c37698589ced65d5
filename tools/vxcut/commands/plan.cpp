// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "Run.h"

#include <QSaveFile>

#include <cmath>

namespace Plan {

const char usage[] =
    "Usage: vxcut plan FILE [design options] [--json] [--output OUT.plt]\n\n"
    "Reads a design (HP-GL, SVG or DXF, told apart by content), places,\n"
    "orders and shapes it as `cut` would, without a machine. Shows the size,\n"
    "the cut length, the pen-up travel in the file's order and as ordered,\n"
    "the paths sent, the length of overlapping lines cut once, and the time\n"
    "at 100 mm/s cutting and 300 mm/s travel.\n"
    "  --output FILE       also write the plot text `cut` would send\n";

Failure check(Run &r)
{
    if (r.options.args.size() != 1)
        return {Failure::Usage, QStringLiteral("plan wants exactly one design file")};
    QString error;
    if (!r.job.load(r.options.args.first(), r.options.plot, error))
        return {Failure::PlotFile, error};
    return Failure();
}

Outcome run(Run &r)
{
    const PlotJob &job = r.job;
    const PlotReport &p = job.report;
    if (!r.options.output.isEmpty()) {
        // Whole or not at all: a half-written plot would cut half a design.
        QSaveFile file(r.options.output);
        const QByteArray bytes = job.text.toLatin1();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return Failure{Failure::Other, QStringLiteral("cannot write %1: %2").arg(r.options.output, file.errorString())};
    }
    const QJsonObject facts = job.planFacts();
    r.out.event(QStringLiteral("plan"), facts,
                QStringLiteral("%1 (%2): %3 x %4 mm, %5 path%6\n"
                               "cut length %7 mm; travel %8 mm in file order, %9 mm as ordered\n"
                               "overlapping lines cut once: %10 mm; estimated %11")
                    .arg(job.fileName, job.format)
                    .arg(p.width, 0, 'f', 1).arg(p.height, 0, 'f', 1)
                    .arg(p.paths).arg(p.paths == 1 ? QString() : QStringLiteral("s"))
                    .arg(p.cutLength, 0, 'f', 1).arg(p.travelBefore, 0, 'f', 1).arg(p.travelAfter, 0, 'f', 1)
                    .arg(p.mergedLength, 0, 'f', 1)
                    .arg(Output::duration(int(std::ceil(p.estimateSeconds)))));
    if (!r.options.output.isEmpty())
        r.out.text(QStringLiteral("plot text written to %1 (%2 bytes)").arg(r.options.output).arg(job.text.size()));
    return facts;
}

} // namespace Plan
