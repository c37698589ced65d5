// SPDX-License-Identifier: LGPL-2.1-or-later
// Frame cutting of a 64 MiB stream in chunks of 1 byte, 4 KiB and 64 KiB,
// with short replies, 1 KiB and 256 KiB frames. "ns_per_byte" must stay flat
// as chunks and frames vary; "x_64k" is the per-byte cost over that of
// 64 KiB chunks of the same stream, measured in the same run.
#include "BenchUtil.h"
#include "link/FrameCutter.h"
#include "property/VXFrame.h"

#include "plugin/VXKTR450PROCam.h"

#include <QCoreApplication>
#include <QMap>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

constexpr int64_t StreamBytes = 64 << 20;

// frameBytes 0: the machine's mixed replies (frames of 15 to 45 bytes);
// otherwise frames of that size.
const QByteArray &stream(int64_t frameBytes)
{
    static QMap<int64_t, QByteArray> streams;
    QByteArray &s = streams[frameBytes];
    if (s.isEmpty()) {
        if (frameBytes == 0) {
            s = benchutil::replyStream(StreamBytes);
        } else {
            const QByteArray f = VXFrame::build("PLT", QByteArray(int(frameBytes) - 12, 'x'));
            s.reserve(int(StreamBytes));
            while (s.size() + f.size() <= StreamBytes)
                s += f;
        }
    }
    return s;
}

// One pass the way the device slots drive the cutter: append, then take
// every whole frame out.
int64_t cut(const QByteArray &s, int64_t chunk, int64_t &frames)
{
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
    const QByteArray &s = stream(state.range(1));
    int64_t frames = 0, ns = 0, refNs = 0;
    for (auto _ : state) {
        const int64_t pass = cut(s, chunk, frames);
        ns += pass;
        state.SetIterationTime(double(pass) / 1e9);
        int64_t refFrames = 0;
        refNs += cut(s, 64 << 10, refFrames);
        if (refFrames != frames)
            state.SkipWithError("chunking changed the frames");
    }
    const double perByte = double(ns) / double(state.iterations() * s.size());
    const double refPerByte = double(refNs) / double(state.iterations() * s.size());
    state.SetBytesProcessed(state.iterations() * s.size());
    state.counters["frames"] = double(frames);
    state.counters["ns_per_byte"] = perByte;
    state.counters["x_64k"] = perByte / refPerByte;
}

} // namespace

// The device's whole receive path (stamp, cutting, model pass, dispatch,
// job reports) on a full model device, 4 MiB of mixed replies.
int64_t receive(VXCommonInterface *device, int64_t chunk)
{
    static const QByteArray s = benchutil::replyStream(4 << 20);
    const int64_t t0 = benchutil::nowNs();
    for (int64_t at = 0; at < s.size(); at += chunk)
        device->slot_usb_read(s.mid(int(at), int(qMin<int64_t>(chunk, s.size() - at))));
    return benchutil::nowNs() - t0;
}

void BM_receive(benchmark::State &state)
{
    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device(root.initInstance());
    auto *common = static_cast<VXCommonInterface *>(device.get());
    int64_t ns = 0, refNs = 0;
    for (auto _ : state) {
        const int64_t pass = receive(common, state.range(0));
        ns += pass;
        state.SetIterationTime(double(pass) / 1e9);
        refNs += receive(common, 64 << 10);
    }
    const int64_t bytes = state.iterations() * (4 << 20);
    state.SetBytesProcessed(bytes);
    state.counters["ns_per_byte"] = double(ns) / double(bytes);
    state.counters["x_64k"] = double(ns) / double(refNs ? refNs : 1);
}

// Args: chunk size, frame size (0: the mixed reply stream).
BENCHMARK(BM_cut)->ArgsProduct({{1, 4 << 10, 64 << 10}, {0, 1 << 10, 256 << 10}})->Iterations(1)
    ->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK(BM_receive)->Arg(1)->Arg(4 << 10)->Arg(64 << 10)->Iterations(1)->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
