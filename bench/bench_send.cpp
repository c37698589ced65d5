// SPDX-License-Identifier: LGPL-2.1-or-later
// A 64 MiB plot job from a full model device to the simulated machine (the
// vxsim program, over loopback TCP) against a raw socket write of the same
// frames. "x_raw" compares the time until the machine has everything (its
// first job report back); "peak_x_file" is the host's peak memory growth
// over the file size. The machine runs in its own process, so its memory
// and CPU are not counted.
#include "BenchUtil.h"
#include "plugin/VXKTR450PROCam.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QHostAddress>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int64_t PlotBytes = 64 << 20;

QTemporaryDir *g_dir = nullptr;

QString plotFile()
{
    const QString path = g_dir->filePath(QStringLiteral("big.plt"));
    if (!QFile::exists(path)) {
        QByteArray data("IN;SP1;");
        const QByteArray square = "PU0,0;PD400,0,400,400,0,400,0,0;\n";
        data.reserve(int(PlotBytes));
        while (data.size() + square.size() + 4 <= PlotBytes)
            data += square;
        data += "SP0;";
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return QString();
    }
    return path;
}

// One vxsim process per run: a fresh machine that is not busy.
class Machine
{
public:
    bool start()
    {
        m_proc.setProgram(QStringLiteral(VX_BIN_DIR "/vxsim"));
        m_proc.setArguments({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--speedup"),
                             QStringLiteral("1000")});
        m_proc.start();
        if (!m_proc.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 10000) {
            m_proc.waitForReadyRead(100);
            m_out += m_proc.readAllStandardOutput();
            const int at = m_out.indexOf("listening on 127.0.0.1:");
            if (at >= 0 && m_out.indexOf('\n', at) > 0) {
                m_port = quint16(m_out.mid(at + 23, m_out.indexOf('\n', at) - at - 23).trimmed().toUInt());
                return m_port != 0;
            }
        }
        return false;
    }
    ~Machine()
    {
        m_proc.terminate();
        if (!m_proc.waitForFinished(5000))
            m_proc.kill();
        m_proc.waitForFinished(5000);
    }
    quint16 port() const { return m_port; }

private:
    QProcess m_proc;
    QByteArray m_out;
    quint16 m_port = 0;
};

template <typename F>
bool waitFor(F done, int timeoutMs = 120000)
{
    return benchutil::waitUntil(done, timeoutMs);
}

struct Result {
    int64_t ns = -1;
    int64_t cpuNs = 0;        // this process, vxsim excluded
    int64_t peakGrowth = 0;
};

Result viaDevice(const QString &file)
{
    Result r;
    Machine machine;
    if (!machine.start())
        return r;
    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device(root.initInstance());
    bool connected = false, reported = false;
    QObject::connect(device.get(), &VXDeviceInterface::message, [&](VXDeviceInterface::VXDeviceMessage kind, const QString &text) {
        connected |= kind == VXDeviceInterface::DevStatus && text == QLatin1String("TCP CONNECTED.");
        reported |= kind == VXDeviceInterface::DevTasK;
    });
    device->setIPAddress(QStringLiteral("127.0.0.1"));
    device->property_ptr("TCP_PORT")->setValue(int(machine.port()));
    device->connectDevice();
    if (!waitFor([&] { return connected; }, 10000))
        return r;

    benchutil::resetPeakRss();
    const int64_t base = benchutil::rssBytes();
    const int64_t t0 = benchutil::nowNs();
    const int64_t cpu0 = benchutil::processCpuNs();
    {
        // What a host does: read the file, hand over the text, start.
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return r;
        device->setPlt(QString::fromLocal8Bit(f.readAll()));
    }
    device->startTask();
    if (!waitFor([&] { return reported; }))
        return r;
    r.ns = benchutil::nowNs() - t0;
    r.cpuNs = benchutil::processCpuNs() - cpu0;
    r.peakGrowth = benchutil::peakRssBytes() - base;
    return r;
}

Result viaSocket(const QString &file)
{
    Result r;
    Machine machine;
    if (!machine.start())
        return r;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, machine.port());
    if (!socket.waitForConnected(10000))
        return r;
    // Prebuilt outside the clock: this is the floor, a write and nothing else.
    QByteArray frames;
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return r;
        VXDeviceProperty copies, plt;
        copies.init(1, QString(), QString(), 1, 1, 1, VXDeviceInterface::NUM, {});
        frames = copies.set_cmd_bytes() + plt.pack(QString::fromLatin1(f.readAll()), QStringLiteral("PLT"));
    }
    bool reported = false;
    QByteArray replies;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        replies += socket.readAll();
        reported = replies.contains(";66,");
    });
    benchutil::resetPeakRss();
    const int64_t base = benchutil::rssBytes();
    const int64_t t0 = benchutil::nowNs();
    const int64_t cpu0 = benchutil::processCpuNs();
    socket.write(frames);
    if (!waitFor([&] { return reported; }))
        return r;
    r.ns = benchutil::nowNs() - t0;
    r.cpuNs = benchutil::processCpuNs() - cpu0;
    r.peakGrowth = benchutil::peakRssBytes() - base;
    return r;
}

void BM_send64MiB(benchmark::State &state)
{
    const QString file = plotFile();
    int64_t deviceNs = 0, rawNs = 0, peak = 0, rawPeak = 0, deviceCpu = 0, rawCpu = 0;
    for (auto _ : state) {
        const Result d = viaDevice(file);
        const Result s = viaSocket(file);
        if (d.ns < 0 || s.ns < 0) {
            state.SkipWithError("the machine did not report the job");
            return;
        }
        state.SetIterationTime(double(d.ns) / 1e9);
        deviceNs += d.ns;
        rawNs += s.ns;
        deviceCpu += d.cpuNs;
        rawCpu += s.cpuNs;
        peak = qMax(peak, d.peakGrowth);
        rawPeak = qMax(rawPeak, s.peakGrowth);
    }
    state.SetBytesProcessed(state.iterations() * PlotBytes);
    state.counters["raw_ms"] = double(rawNs) / 1e6 / double(state.iterations());
    state.counters["x_raw"] = double(deviceNs) / double(rawNs ? rawNs : 1);
    state.counters["host_cpu_ms"] = double(deviceCpu) / 1e6 / double(state.iterations());
    state.counters["raw_cpu_ms"] = double(rawCpu) / 1e6 / double(state.iterations());
    state.counters["peak_x_file"] = double(peak) / double(PlotBytes);
    state.counters["raw_peak_x_file"] = double(rawPeak) / double(PlotBytes);
}

} // namespace

BENCHMARK(BM_send64MiB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
