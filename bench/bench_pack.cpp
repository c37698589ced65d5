// SPDX-License-Identifier: LGPL-2.1-or-later
// Framing a job body against the cheapest possible frame: a fresh buffer
// holding the same bytes. "x_copy" is pack time over copy time.
#include "BenchUtil.h"
#include "property/VXDeviceProperty.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

namespace {

QString plotBody(int64_t size)
{
    const QByteArray unit = "PU0,0;PD4000,0,4000,2400,0,2400,0,0;\n";
    QByteArray bytes;
    bytes.reserve(int(size));
    while (bytes.size() < size)
        bytes += unit;
    bytes.truncate(int(size));
    return QString::fromLatin1(bytes);
}

void BM_pack(benchmark::State &state)
{
    const int64_t size = state.range(0);
    const QString body = plotBody(size);
    const QByteArray bytes = body.toLatin1();
    VXDeviceProperty record;
    int64_t packNs = 0, copyNs = 0;

    for (auto _ : state) {
        int64_t t0 = benchutil::nowNs();
        const QByteArray frame = record.pack(body, QStringLiteral("PLT"));
        int64_t t1 = benchutil::nowNs();
        benchutil::consume(frame.constData());
        packNs += t1 - t0;
        state.SetIterationTime(double(t1 - t0) / 1e9);

        t0 = benchutil::nowNs();
        char *copy = static_cast<char *>(std::malloc(size_t(size)));
        std::memcpy(copy, bytes.constData(), size_t(size));
        benchutil::consume(copy);
        t1 = benchutil::nowNs();
        std::free(copy);
        copyNs += t1 - t0;
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["x_copy"] = double(packNs) / double(copyNs ? copyNs : 1);
}

} // namespace

BENCHMARK(BM_pack)->Arg(1 << 10)->Arg(1 << 20)->Arg(64 << 20)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
