// Frame cutting of a 64 MiB reply stream in chunks of 1 byte, 4 KiB and
// 64 KiB. "ns_per_byte" must stay flat across chunk sizes; "x_64k" is the
// per-byte cost over that of 64 KiB chunks measured in the same run.
#include "BenchUtil.h"
#include "link/FrameCutter.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

constexpr int64_t StreamBytes = 64 << 20;

const QByteArray &stream()
{
    static const QByteArray s = benchutil::replyStream(StreamBytes);
    return s;
}

// One pass the way the device slots drive the cutter: append, then take
// every whole frame out.
int64_t cut(int64_t chunk, int64_t &frames)
{
    const QByteArray &s = stream();
    FrameCutter cutter;
    QByteArray frame;
    frames = 0;
    // One reused chunk buffer: the pass costs the cutter (and a copy of
    // each byte into the chunk), not an allocation per chunk here.
    QByteArray piece(int(chunk), Qt::Uninitialized);
    const int64_t t0 = benchutil::nowNs();
    for (int64_t at = 0; at < s.size(); at += chunk) {
        const int64_t n = qMin<int64_t>(chunk, s.size() - at);
        if (n != piece.size())
            piece.resize(int(n));
        std::memcpy(piece.data(), s.constData() + at, size_t(n));
        cutter.append(piece);
        while (cutter.next(frame))
            ++frames;
    }
    return benchutil::nowNs() - t0;
}

void BM_cut(benchmark::State &state)
{
    const int64_t chunk = state.range(0);
    int64_t frames = 0, ns = 0, refNs = 0;
    for (auto _ : state) {
        const int64_t pass = cut(chunk, frames);
        ns += pass;
        state.SetIterationTime(double(pass) / 1e9);
        int64_t refFrames = 0;
        refNs += cut(64 << 10, refFrames);
        if (refFrames != frames)
            state.SkipWithError("chunking changed the frames");
    }
    const double perByte = double(ns) / double(state.iterations() * stream().size());
    const double refPerByte = double(refNs) / double(state.iterations() * stream().size());
    state.SetBytesProcessed(state.iterations() * stream().size());
    state.counters["frames"] = double(frames);
    state.counters["ns_per_byte"] = perByte;
    state.counters["x_64k"] = perByte / refPerByte;
}

} // namespace

BENCHMARK(BM_cut)->Arg(1)->Arg(4 << 10)->Arg(64 << 10)->Iterations(2)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
