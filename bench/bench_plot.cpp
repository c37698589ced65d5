// SPDX-License-Identifier: LGPL-2.1-or-later
// The job pipeline on generated designs of n shapes (squares and strokes at
// random over a sheet whose area grows with n, so the density stays put).
//   BM_readOrder/n:   HP-GL text read into a document and ordered;
//                     "ns_per_path" must stay flat (n log n), "x_10k" is it
//                     over the 10k figure of the same run.
//   BM_orderQuality:  travel after ordering over the file order's travel
//                     ("travel_ratio", target <= 0.5) on random layouts.
//   BM_memory/n:      the document's bytes and the process's peak resident
//                     growth for read + pipeline + writer, per byte of the
//                     plot text written ("doc_x_plot", "peak_x_plot").
#include "BenchUtil.h"
#include "HpglInterpreter.h"
#include "PathOrdering.h"
#include "PlotPipeline.h"
#include "PlotWriter.h"

#include <QMap>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

QByteArray design(int64_t shapes, quint32 seed)
{
    QRandomGenerator rng(seed);
    const double side = std::sqrt(double(shapes)) * 10 * 40; // plotter units
    QByteArray text;
    text.reserve(int(shapes * 40));
    text += "IN;SP1;";
    for (int64_t i = 0; i < shapes; ++i) {
        const qint64 x = qint64(rng.bounded(side)), y = qint64(rng.bounded(side));
        const qint64 s = 40 + qint64(rng.bounded(300));
        if (i % 3 == 0) {
            text += "PU" + QByteArray::number(x) + ',' + QByteArray::number(y) + ";PD" + QByteArray::number(x + s)
                    + ',' + QByteArray::number(y + s / 2) + ";\n";
        } else {
            text += "PU" + QByteArray::number(x) + ',' + QByteArray::number(y) + ";PD" + QByteArray::number(x + s)
                    + ',' + QByteArray::number(y) + ',' + QByteArray::number(x + s) + ',' + QByteArray::number(y + s)
                    + ',' + QByteArray::number(x) + ',' + QByteArray::number(y + s) + ',' + QByteArray::number(x)
                    + ',' + QByteArray::number(y) + ";\n";
        }
    }
    text += "PU;SP0;";
    return text;
}

const QByteArray &cachedDesign(int64_t shapes)
{
    static QMap<int64_t, QByteArray> designs;
    QByteArray &d = designs[shapes];
    if (d.isEmpty())
        d = design(shapes, 1);
    return d;
}

double readAndOrderNs(const QByteArray &text, int &paths)
{
    const int64_t t0 = benchutil::nowNs();
    PlotDocument doc;
    HpglInterpreter reader(doc);
    if (!reader.run(text))
        return -1;
    const PathOrdering::Result ordered = PathOrdering::order(doc);
    paths = ordered.document.pathCount();
    benchutil::consume(&ordered);
    return double(benchutil::nowNs() - t0);
}

double baselineNsPerPath()
{
    static double baseline = 0;
    if (baseline == 0) {
        int paths = 0;
        double best = 1e300;
        for (int i = 0; i < 3; ++i)
            best = std::min(best, readAndOrderNs(cachedDesign(10000), paths));
        baseline = best / paths;
    }
    return baseline;
}

void BM_readOrder(benchmark::State &state)
{
    const QByteArray &text = cachedDesign(state.range(0));
    const double baseline = baselineNsPerPath();
    double total = 0;
    int paths = 0;
    for (auto _ : state) {
        const double ns = readAndOrderNs(text, paths);
        state.SetIterationTime(ns / 1e9);
        total += ns;
    }
    const double perPath = total / double(state.iterations()) / paths;
    state.counters["paths"] = paths;
    state.counters["ns_per_path"] = perPath;
    state.counters["x_10k"] = perPath / baseline;
    state.counters["MB"] = double(text.size()) / (1 << 20);
}
BENCHMARK(BM_readOrder)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()->Unit(benchmark::kMillisecond)
    ->Iterations(1)->Repetitions(1);

void BM_orderQuality(benchmark::State &state)
{
    const QByteArray text = design(20000, quint32(state.range(0)));
    PlotDocument doc;
    HpglInterpreter reader(doc);
    reader.run(text);
    double ratio = 0;
    for (auto _ : state) {
        const PathOrdering::Result r = PathOrdering::order(doc);
        ratio = r.travelAfter / r.travelBefore;
    }
    state.counters["travel_ratio"] = ratio;
}
BENCHMARK(BM_orderQuality)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_memory(benchmark::State &state)
{
    const QByteArray text = design(state.range(0), 5);
    for (auto _ : state) {
        benchutil::resetPeakRss();
        const int64_t before = benchutil::rssBytes();
        PlotDocument doc;
        HpglInterpreter reader(doc);
        reader.run(text);
        const double docBytes = double(doc.footprint());
        const PlotPlan plan = PlotPipeline::run(std::move(doc), PlotOptions());
        const QByteArray plot = PlotWriter::toByteArray(plan.sent());
        const double peak = double(benchutil::peakRssBytes() - before);
        state.counters["plot_MB"] = double(plot.size()) / (1 << 20);
        state.counters["doc_x_plot"] = docBytes / plot.size();
        state.counters["peak_x_plot"] = peak / plot.size();
        benchutil::consume(plot.constData());
    }
}
BENCHMARK(BM_memory)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
