// SPDX-License-Identifier: LGPL-2.1-or-later
// Nesting on instances whose best layout is known: a W x H rectangle cut
// into N pieces (random column widths, random row heights per column) has a
// layout of length H on a W strip, and nothing shorter.
//   BM_knownOptimum/N/jagged/holes/seconds: the cuts straight or zigzag;
//       with holes, every other piece has a square hole whose slug is a
//       piece too (the optimum puts it back). "utilisation" is part area
//       over used area, "length_ratio" the length over H (1 is optimal).
//   BM_placement/n: n copies of one shape on a 1 m strip, the first layout
//       only; "us_per_piece" should stay flat as n grows.
// Gap 0 and every turn of 90°. No assertions: the figures are the result.
#include "NestSearch.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

constexpr double Width = 1000, Height = 600;

NestPart partOf(const QVector<QPolygonF> &closed)
{
    PlotDocument doc;
    for (QPolygonF ring : closed)
        doc.addPath(ring << ring.first());
    std::vector<NestPart> parts;
    QString why;
    NestParts::fromDocument(doc, QStringLiteral("piece"), false, parts, why);
    return parts.front();
}

std::vector<NestPart> cutRectangle(int n, bool jagged, bool holes)
{
    std::mt19937 rng(12345);
    const int cols = std::max(1, int(std::lround(std::sqrt(n / 2.0)))), rowsPer = n / cols;
    const auto cuts = [&](int count, double length) {
        std::vector<double> at{0};
        double sum = 0;
        std::vector<double> w(static_cast<std::size_t>(count));
        for (double &v : w)
            sum += (v = 1 + std::uniform_real_distribution<double>(0, 1)(rng));
        for (double v : w)
            at.push_back(at.back() + v / sum * length);
        at.back() = length;
        return at;
    };
    std::vector<NestPart> parts;
    const std::vector<double> xs = cuts(cols, Width);
    int made = 0;
    for (int c = 0; c < cols; ++c) {
        const int rows = c == cols - 1 ? n - made : rowsPer;
        const std::vector<double> ys = cuts(rows, Height);
        const double x0 = xs[std::size_t(c)], x1 = xs[std::size_t(c) + 1], teeth = 6;
        const auto edge = [&](int r) {
            QPolygonF e;
            const double amp = (jagged && r > 0 && r < rows) ? Height / rows / 8 : 0;
            for (int k = 0; k <= teeth; ++k)
                e << QPointF(x0 + (x1 - x0) * k / teeth, ys[std::size_t(r)] + (k % 2 ? amp : -amp));
            return e;
        };
        for (int r = 0; r < rows; ++r, ++made) {
            QPolygonF piece = edge(r), top = edge(r + 1);
            std::reverse(top.begin(), top.end());
            piece += top;
            QVector<QPolygonF> rings{piece};
            if (holes && made % 2 == 0) {
                const double s = std::min(x1 - x0, ys[std::size_t(r) + 1] - ys[std::size_t(r)]) / 4;
                const QPointF m((x0 + x1) / 2, (ys[std::size_t(r)] + ys[std::size_t(r) + 1]) / 2);
                const QPolygonF hole({m + QPointF(-s / 2, -s / 2), m + QPointF(s / 2, -s / 2), m + QPointF(s / 2, s / 2), m + QPointF(-s / 2, s / 2)});
                rings << hole;
                parts.push_back(partOf({hole}));
            }
            parts.push_back(partOf(rings));
        }
    }
    return parts;
}

void BM_knownOptimum(benchmark::State &state)
{
    NestRequest r;
    r.parts = cutRectangle(int(state.range(0)), state.range(1) != 0, state.range(2) != 0);
    r.width = Width;
    r.gap = 0;
    r.seconds = double(state.range(3));
    NestLayout layout;
    // The counters read the layout, so nothing here is optimised away.
    for (auto _ : state)
        layout = NestSearch::run(r);
    state.counters["pieces"] = double(r.parts.size());
    state.counters["utilisation"] = layout.utilisation();
    state.counters["length_ratio"] = layout.length / Height;
    state.counters["layouts"] = layout.evaluations;
    state.counters["seconds"] = layout.seconds;
    state.counters["unplaced"] = layout.unplaced();
}
BENCHMARK(BM_knownOptimum)
    ->ArgNames({"n", "jagged", "holes", "s"})
    ->ArgsProduct({{10, 50, 200}, {0, 1}, {0, 1}, {1, 10}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_placement(benchmark::State &state)
{
    NestRequest r;
    NestPart ell = partOf({QPolygonF({{0, 0}, {40, 0}, {40, 12}, {12, 12}, {12, 30}, {0, 30}})});
    ell.quantity = int(state.range(0));
    r.parts = {ell};
    r.width = Width;
    r.evaluations = 1;
    r.searches = 1;
    r.seconds = 3600;
    NestLayout layout;
    for (auto _ : state)
        layout = NestSearch::run(r);
    state.counters["us_per_piece"] = layout.seconds * 1e6 / double(state.range(0));
    state.counters["utilisation"] = layout.utilisation();
}
BENCHMARK(BM_placement)->Arg(100)->Arg(500)->Arg(1000)->Arg(5000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
