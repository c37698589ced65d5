// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "Options.h"
#include "Output.h"
#include "Run.h"
#include "WorkArea.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSaveFile>

#include <cmath>

namespace Plan {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut plan FILE [design options] [--json] [--output OUT.plt]\n\n"
    "Reads a design (HP-GL, SVG or DXF, told apart by content), places,\n"
    "orders and shapes it as `cut` would, without a machine. Shows the size,\n"
    "the cut length, the pen-up travel in the file's order and as ordered,\n"
    "the paths sent, the length of overlapping lines cut once, and the time\n"
    "at 100 mm/s cutting and 300 mm/s travel.\n"
    "  --output FILE       also write the plot text `cut` would send\n"
    "  --work-area WxH     refuse a design that does not fit a work area of\n"
    "                      W x H mm, as `cut` does with the machine's own\n");

Failure check(Run &r)
{
    if (r.options.args.size() != 1)
        return {Failure::Usage, QCoreApplication::translate("Plan", "plan wants exactly one design file")};
    QString error;
    if (!r.job.load(r.options.args.first(), r.options.plot, error, nullptr, r.cancelFlag()))
        return {r.cancelled() ? Failure::Interrupted : Failure::PlotFile, error};
    return Failure();
}

Outcome run(Run &r)
{
    const PlotJob &job = r.job;
    const PlotReport &p = job.report;
    const Failure misfit = r.options.workArea.check(p, r.options.plot.placement.margin);
    if (!misfit && !r.options.output.isEmpty()) {
        // Whole or not at all: a half-written plot would cut half a design.
        QSaveFile file(r.options.output);
        const QByteArray bytes = job.text.toLatin1();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            return Failure{Failure::Other, QCoreApplication::translate("Plan", "cannot write %1: %2").arg(r.options.output, file.errorString())};
    }
    const QJsonObject facts = job.planFacts();
    const QLocale locale;
    r.out.event(QStringLiteral("plan"), facts,
                (p.paths == 1 ? QCoreApplication::translate("Plan", "%1 (%2): %3 x %4 mm, 1 path\n"
                                                                    "cut length %5 mm; travel %6 mm in file order, %7 mm as ordered\n"
                                                                    "overlapping lines cut once: %8 mm; estimated %9")
                              : QCoreApplication::translate("Plan", "%1 (%2): %3 x %4 mm, %n paths\n"
                                                                    "cut length %5 mm; travel %6 mm in file order, %7 mm as ordered\n"
                                                                    "overlapping lines cut once: %8 mm; estimated %9",
                                                            nullptr, p.paths))
                    .arg(job.fileName, job.format, locale.toString(p.width, 'f', 1), locale.toString(p.height, 'f', 1),
                         locale.toString(p.cutLength, 'f', 1), locale.toString(p.travelBefore, 'f', 1),
                         locale.toString(p.travelAfter, 'f', 1), locale.toString(p.mergedLength, 'f', 1),
                         Output::duration(int(std::ceil(p.estimateSeconds)))));
    r.out.text(job.toolSummary());
    if (!job.skipped.isEmpty())
        r.out.text(QCoreApplication::translate("Plan", "not cut: %1").arg(job.skipped.join(QStringLiteral("; "))));
    if (!r.options.output.isEmpty())
        r.out.text(QCoreApplication::translate("Plan", "plot text written to %1 (%n bytes)", nullptr, int(job.text.size()))
                       .arg(r.options.output));
    if (misfit)
        return misfit;
    return facts;
}

Failure readWorkArea(Run &r, WorkArea &area)
{
    QStringList missing;
    if (Failure f = r.read(WorkArea::keys(), &missing))
        return f;
    area = WorkArea::of(r.session->device());
    if (!area.known())
        r.out.warning(WorkArea::unknownWarning());
    return Failure();
}

Failure fitWorkArea(Run &r, const PlotReport &report)
{
    WorkArea area;
    if (Failure f = readWorkArea(r, area))
        return f;
    return area.check(report, r.options.plot.placement.margin);
}

} // namespace Plan
