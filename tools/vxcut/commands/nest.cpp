// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Commands.h"

#include "JobLoop.h"
#include "JobRunner.h"
#include "NestRun.h"
#include "RecordValue.h"

#include "NestSearch.h"
#include "NestSvg.h"
#include "Options.h"
#include "Output.h"
#include "PartList.h"
#include "Run.h"
#include "WorkArea.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

#include <cmath>

namespace Nest {

const char usage[] =
    QT_TRANSLATE_NOOP("Command", "Usage: vxcut nest FILE[=QTY]... [--parts LIST] (--strip-width MM | --sheet WxL)\n"
    "                 [nest options] [design options] [--json]\n\n"
    "Places parts (design files read as `plan` reads them) on a strip or on\n"
    "sheets without overlapping, each part turned as allowed, and searches for\n"
    "a shorter layout until the time is up or no gain comes. Holes and inner\n"
    "cuts stay with their part; small parts may lie in the holes of large ones.\n"
    "  FILE=QTY            QTY copies of FILE (FILE alone: one)\n"
    "  --parts LIST        a list of lines FILE,QTY[,ROTATIONS]\n"
    "  --split             each outer contour of a file is a part of its own\n"
    "  --strip-width MM    a strip this wide, as short as possible\n"
    "  --sheet WxL         sheets of W x L mm, as few as possible, the last as\n"
    "                      short as possible\n"
    "  --gap MM            at least this between parts (default 2; 0 allowed)\n"
    "  --rotations LIST    allowed turns: 0,90,180,270 (default), or any:STEP\n"
    "                      for every STEP degrees (any: 15)\n"
    "  --mirror-allowed    parts may also be mirrored (material cut from\n"
    "                      either face)\n"
    "  --time SEC          search time (default 10)\n"
    "  --seed N            the search's seed (default 1): a seed and a machine\n"
    "                      give one layout\n"
    "  --output OUT.plt    the plot text of the nest (one file per sheet:\n"
    "                      OUT-1.plt, ...)\n"
    "  --svg OUT.svg       a picture of the nest with its utilisation\n"
    "--scale applies to each part; --width, --height, --rotate and --mirror\n"
    "contradict the nest and are refused.\n");

namespace {

struct Flag {
    const char *name;
    const char *argument; // nullptr: a switch
};
const Flag kFlags[] = {{"strip-width", "mm"}, {"sheet", "wxl"}, {"gap", "mm"}, {"rotations", "list"},
                       {"mirror-allowed", nullptr}, {"seed", "n"}, {"svg", "file"}, {"parts", "file"}, {"split", nullptr}, {"nest", nullptr}};

struct Settings {
    double width = 0;
    double sheetLength = 0;
    double gap = 2;
    double seconds = 10;
    quint64 seed = 1;
    Orientations turns;
    bool split = false;
    QString svg;
    QString list;
};

bool number(const QString &text, double low, double high, double &out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v) || v < low || v > high)
        return false;
    out = v;
    return true;
}

Failure settingsOf(const Options &o, Settings &s)
{
    const auto bad = [](const QString &why) { return Failure{Failure::Usage, why}; };
    bool strip = false, sheet = false;
    for (const QString &given : o.nest) {
        const QString name = given.section(QLatin1Char('='), 0, 0), value = given.section(QLatin1Char('='), 1);
        if (name == QLatin1String("strip-width")) {
            strip = true;
            if (!number(value, 1, 1e5, s.width))
                return bad(QCoreApplication::translate("Nest", "--strip-width wants millimetres from 1 to 100000"));
        } else if (name == QLatin1String("sheet")) {
            sheet = true;
            WorkArea area;
            QString why;
            if (!WorkArea::parse(value, area, why) || area.width > 1e5 || area.height > 1e5)
                return bad(QCoreApplication::translate("Nest", "--sheet wants W x L in millimetres, such as 1200x2400"));
            s.width = area.width, s.sheetLength = area.height;
        } else if (name == QLatin1String("gap")) {
            if (!number(value, 0, 1000, s.gap))
                return bad(QCoreApplication::translate("Nest", "--gap wants millimetres from 0 to 1000"));
        } else if (name == QLatin1String("time")) {
            if (!number(value, 0, 86400, s.seconds))
                return bad(QCoreApplication::translate("Nest", "--time wants seconds from 0 to 86400"));
        } else if (name == QLatin1String("seed")) {
            bool ok = false;
            s.seed = value.toULongLong(&ok);
            if (!ok)
                return bad(QCoreApplication::translate("Nest", "--seed wants a whole number of 0 or more"));
        } else if (name == QLatin1String("rotations")) {
            QString why;
            if (!Orientations::parse(value, s.turns, why))
                return bad(QStringLiteral("--rotations ") + why);
        } else if (name == QLatin1String("mirror-allowed")) {
            s.turns.setMirror(true);
        } else if (name == QLatin1String("split")) {
            s.split = true;
        } else if (name == QLatin1String("svg")) {
            s.svg = value;
        } else if (name == QLatin1String("parts")) {
            s.list = value;
        }
    }
    if (cutting(o)) {
        // The belt carries a strip; without a width the work area's is taken.
        if (sheet)
            return bad(QCoreApplication::translate("Nest", "cut --nest cuts a strip on the belt: --sheet does not go with it"));
        if (o.copies != 1 || !o.cloud.isEmpty() || !s.svg.isEmpty())
            return bad(QCoreApplication::translate("Nest", "--copies, --cloud and --svg do not go with cut --nest: give the quantities with the parts"));
    } else if (strip == sheet) {
        return bad(QCoreApplication::translate("Nest", "nest wants either --strip-width or --sheet"));
    }
    const PlotPlacement &p = o.plot.placement;
    if (p.targetWidth > 0 || p.targetHeight > 0 || p.rotation != 0 || p.mirror)
        return bad(QCoreApplication::translate("Nest", "--width, --height, --rotate and --mirror do not go with nest: it places and turns each part itself"));
    if (o.args.isEmpty() && s.list.isEmpty())
        return bad(QCoreApplication::translate("Nest", "nest wants part files (FILE or FILE=QTY) or --parts LIST"));
    return Failure();
}

Failure writeFile(const QString &path, const QByteArray &bytes)
{
    // Whole or not at all: half a nest would cut half the parts.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Failure{Failure::Other, QCoreApplication::translate("Nest", "cannot write %1: %2").arg(path, file.errorString())};
    return Failure();
}

// OUT.plt for a strip or one sheet; OUT-1.plt, OUT-2.plt, ... for more.
QString sheetFile(const QString &output, int sheet, int sheets)
{
    if (sheets <= 1)
        return output;
    const QFileInfo info(output);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString stem = suffix.isEmpty() ? output : output.left(output.size() - suffix.size());
    return QStringLiteral("%1-%2%3").arg(stem).arg(sheet + 1).arg(suffix);
}

Failure writeOutputs(Run &r, const Settings &s, const NestLayout &layout, const std::vector<NestPart> &parts)
{
    if (!r.options.output.isEmpty()) {
        PlotOptions plot = r.options.plot;
        // Parts were scaled when read; the pipeline keeps only the margin.
        plot.placement = PlotPlacement();
        plot.placement.margin = r.options.plot.placement.margin;
        const int files = layout.sheetLength > 0 ? layout.sheets : 1;
        for (int k = 0; k < files; ++k) {
            const QString path = sheetFile(r.options.output, k, files);
            const QByteArray text = NestPlot::text(layout.document(parts, layout.sheetLength > 0 ? k : -1), plot);
            if (Failure f = writeFile(path, text))
                return f;
            r.out.text(QCoreApplication::translate("Nest", "plot text written to %1 (%2 bytes)").arg(path, QLocale().toString(text.size())));
        }
    }
    if (!s.svg.isEmpty()) {
        if (Failure f = writeFile(s.svg, NestSvg::write(layout, parts)))
            return f;
        r.out.text(QCoreApplication::translate("Nest", "picture written to %1").arg(s.svg));
    }
    return Failure();
}

void showProgress(Output &out, const Settings &s, const NestProgress &p)
{
    const QLocale locale;
    const QString best = s.sheetLength > 0
            ? QCoreApplication::translate("Nest", "best %1 sheet(s), the last to %2 mm").arg(locale.toString(p.sheets), locale.toString(p.length, 'f', 1))
            : QCoreApplication::translate("Nest", "best %1 mm").arg(locale.toString(p.length, 'f', 1));
    out.bar(QCoreApplication::translate("Nest", "searching %1 / %2 s: %3 layouts, %4, %5% used")
                .arg(locale.toString(p.seconds, 'f', 0), locale.toString(s.seconds, 'f', 0), locale.toString(p.evaluations), best,
                     locale.toString(p.utilisation * 100, 'f', 1)),
            QString::number(int(p.seconds / 5)));
}

QString summary(const NestLayout &l, const Settings &s)
{
    const QLocale locale;
    int pieces = 0;
    for (int n : l.requested)
        pieces += n;
    const QString where = s.sheetLength > 0
            ? QCoreApplication::translate("Nest", "%1 sheet(s) of %2 x %3 mm, the last used to %4 mm")
                  .arg(locale.toString(l.sheets), locale.toString(l.width), locale.toString(l.sheetLength), locale.toString(l.length, 'f', 1))
            : QCoreApplication::translate("Nest", "%1 mm along a %2 mm wide strip").arg(locale.toString(l.length, 'f', 1), locale.toString(l.width));
    return QCoreApplication::translate("Nest", "nest: %1 of %2 pieces on %3; utilisation %4% (%5 layouts in %6 s)")
        .arg(locale.toString(pieces - l.unplaced()), locale.toString(pieces), where,
             locale.toString(l.utilisation() * 100, 'f', 1), locale.toString(l.evaluations), locale.toString(l.seconds, 'f', 1));
}


Failure loadRequest(Run &r, Settings &s, NestRequest &request)
{
    if (Failure f = settingsOf(r.options, s))
        return f;
    std::vector<PartRequest> requests;
    QString why;
    for (const QString &arg : r.options.args) {
        PartRequest q;
        if (!PartList::parseArgument(arg, q, why))
            return Failure{Failure::Usage, why};
        requests.push_back(q);
    }
    if (!s.list.isEmpty() && !PartList::readList(s.list, requests, why))
        return Failure{Failure::Usage, why};
    if (!PartList::load(requests, r.options.plot, PartDefaults{s.turns, s.split}, request.parts, why, r.cancelFlag()))
        return Failure{r.cancelled() ? Failure::Interrupted : Failure::PlotFile, why};
    request.width = s.width;
    request.sheetLength = s.sheetLength;
    request.gap = s.gap;
    request.seed = s.seed;
    request.seconds = s.seconds;
    return Failure();
}

// The request checked, then searched with the run's progress and Ctrl-C;
// plan and cut share it.
Failure search(Run &r, const Settings &s, const NestRequest &request, NestLayout *out)
{
    QString why;
    if (!NestSearch::check(request, why))
        return Failure{Failure::PlotFile, why};
    *out = NestSearch::run(request, r.cancelFlag(), [&](const NestProgress &p) { showProgress(r.out, s, p); });
    if (out->cancelled)
        return Failure{Failure::Interrupted, QCoreApplication::translate("Nest", "interrupted while nesting")};
    return Failure();
}

QJsonObject report(Run &r, const Settings &s, const NestLayout &layout, const std::vector<NestPart> &parts)
{
    const QJsonObject facts = layout.facts(parts);
    r.out.event(QStringLiteral("nest"), facts, summary(layout, s));
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const int missing = layout.requested[p] - layout.placedCount[p];
        if (missing > 0)
            r.out.warning(QCoreApplication::translate("Nest", "%1: %2 of %3 not placed").arg(parts[p].name).arg(missing).arg(layout.requested[p]));
    }
    return facts;
}

} // namespace

QList<QCommandLineOption> options()
{
    QList<QCommandLineOption> list;
    for (const Flag &f : kFlags) {
        list << (f.argument ? QCommandLineOption(QLatin1String(f.name), QString(), QLatin1String(f.argument))
                            : QCommandLineOption(QLatin1String(f.name)));
    }
    return list;
}

bool given(const QCommandLineParser &parser, const QString &command, QStringList &out, QString &error)
{
    const bool cutNest = command == QLatin1String("cut") && parser.isSet(QStringLiteral("nest"));
    const bool nest = command == QLatin1String("nest") || cutNest;
    if (parser.isSet(QStringLiteral("nest")) && !cutNest) {
        error = QCoreApplication::translate("Nest", "--nest goes with cut, not %1").arg(command);
        return false;
    }
    for (const Flag &f : kFlags) {
        const QString name = QLatin1String(f.name);
        if (!parser.isSet(name))
            continue;
        if (!nest) {
            error = QCoreApplication::translate("Nest", "--%1 goes with nest or cut --nest, not %2").arg(name, command);
            return false;
        }
        out << name + QLatin1Char('=') + (f.argument ? parser.value(name) : QString());
    }
    if (nest && parser.isSet(QStringLiteral("time")))
        out << QStringLiteral("time=") + parser.value(QStringLiteral("time"));
    return true;
}

bool cutting(const Options &o)
{
    return o.command == QLatin1String("cut") && o.nest.contains(QStringLiteral("nest="));
}

Failure check(Run &r)
{
    Settings s;
    return settingsOf(r.options, s);
}

Outcome run(Run &r)
{
    Settings s;
    NestRequest request;
    if (Failure f = loadRequest(r, s, request))
        return f;
    NestLayout layout;
    if (Failure f = search(r, s, request, &layout))
        return f;
    if (Failure f = writeOutputs(r, s, layout, request.parts))
        return f;
    return report(r, s, layout, request.parts);
}

Failure checkCut(Run &r)
{
    Settings s;
    NestRequest request;
    return loadRequest(r, s, request);
}

namespace {

void watchWindows(Run &r, NestRun &run)
{
    QObject::connect(&run, &NestRun::warning, &run, [&r](const QString &text) { r.out.warning(text); });
    QObject::connect(&run, &NestRun::windowStarted, &run, [&r, &run](int k, int n) {
        const NestWindow &w = run.cut().windows[std::size_t(k - 1)];
        const QLocale locale;
        r.out.event(QStringLiteral("window"),
                    {{QStringLiteral("window"), k}, {QStringLiteral("windows"), n}, {QStringLiteral("from"), w.from},
                     {QStringLiteral("offset"), w.offset}, {QStringLiteral("feed"), w.feed},
                     {QStringLiteral("pieces"), w.pieces}, {QStringLiteral("cut_length"), qRound64(w.job.pathMm)}},
                    QCoreApplication::translate("Nest", "window %1 of %2: %3 pieces from %4 mm along the strip, "
                                                        "cut length %5 mm; then the belt feeds %6 mm")
                        .arg(locale.toString(k), locale.toString(n), locale.toString(w.pieces),
                             locale.toString(w.from, 'f', 1), locale.toString(w.job.pathMm, 'f', 0),
                             locale.toString(w.feed, 'f', 0)));
    });
}

// The nest sized to the machine: the strip as wide as asked or as the work
// area, the windows as long as the work area.
Failure plan(Run &r, Settings &s, NestRequest &request, NestCut &cut)
{
    WorkArea area;
    if (Failure f = Plan::readWorkArea(r, area))
        return f;
    if (request.width <= 0)
        request.width = area.width - qMax(0.0, r.options.plot.placement.margin);
    NestLayout layout;
    if (Failure f = search(r, s, request, &layout))
        return f;
    report(r, s, layout, request.parts);
    VXDeviceProperty *feed = r.record(QStringLiteral("FEED_LENGTH"));
    if (!feed)
        return Failure{Failure::Other, QCoreApplication::translate("Nest", "the machine has no automatic feed (FEED_LENGTH)")};
    if (Failure f = NestCut::make(layout, request.parts, r.options.plot, area, EditorSpec::of(feed), &cut))
        return f;
    if (r.options.journal.isEmpty())
        return Failure();
    return cut.save(NestCut::savePath(r.journal.path(), cut.sha256));
}

} // namespace

Outcome cut(Run &r)
{
    Settings s;
    NestRequest request;
    if (Failure f = loadRequest(r, s, request))
        return f;
    if (Failure f = r.readInfo(false))
        return f;
    NestCut nest;
    if (Failure f = plan(r, s, request, nest))   // before anything is sent
        return f;
    r.applyQuality();
    NestRun run(*r.session);
    JobLoop::configure(r, run.runner(), false);
    ReconnectSchedule schedule;
    schedule.setBudget(r.options.reconnectBudgetMs);
    run.setReconnect(r.options.reconnect, schedule);
    if (!r.options.journal.isEmpty())
        run.setJournal(&r.journal);
    run.setCut(nest);
    watchWindows(r, run);
    QElapsedTimer clock;
    clock.start();
    if (!run.start())
        return r.waitFailure(QCoreApplication::translate("Nest", "starting the nest"));
    JobLoop::wait(r, run.runner(), [&run] { return run.isRunning(); }, [&run] { run.stop(); });
    if (!run.journalError().isEmpty())
        r.out.warning(QCoreApplication::translate("Nest", "job journal not written: %1").arg(run.journalError()));
    if (Failure f = run.failure()) {
        if (run.lastRecord().outcome == JobRecord::Outcome::Interrupted && run.journalError().isEmpty()
            && !r.options.journal.isEmpty())
            f.message += QCoreApplication::translate("Nest", "; `vxcut resume` continues at window %1").arg(run.window());
        return f;
    }
    r.out.text(QCoreApplication::translate("Nest", "done: %1 windows of %2 cut in %3")
                   .arg(QLocale().toString(run.windowsCut()), nest.name,
                        Output::duration(int(clock.elapsed() / 1000))));
    return run.summary();
}

} // namespace Nest
