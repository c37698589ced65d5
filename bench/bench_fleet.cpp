// SPDX-License-Identifier: LGPL-2.1-or-later
// One host driving 64 simulated machines over loopback, each with its
// heartbeat running and a job being cut. Every job must finish and no
// frame may cross between devices: each machine is sent a plot that names
// it and answers a setting read with its own value. The machines run on a
// thread of their own, so the host thread's CPU time is the host's cost;
// "host_cpu_pct_per_machine" is that time per machine over the wall time.
#include "BenchUtil.h"
#include "VXSimulator.h"
#include "plugin/VXKTR450PROCam.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int Machines = 64;
constexpr int SpeedNumber = 26;   // "PU_SPEED", a one-word CMD setting

template <typename F>
void onThread(QObject *context, F f)
{
    QMetaObject::invokeMethod(context, f, Qt::BlockingQueuedConnection);
}

QString plotFor(int i)
{
    // The first pen-up names the machine; the rest is a few squares.
    QString plot = QStringLiteral("IN;SP1;PU%1,0;").arg(1000 + i);
    for (int k = 0; k < 20; ++k)
        plot += QStringLiteral("PU0,0;PD400,0,400,400,0,400,0,0;");
    return plot + QStringLiteral("SP0;");
}

void BM_fleet(benchmark::State &state)
{
    QThread machineThread;
    QObject context;
    context.moveToThread(&machineThread);
    machineThread.start();

    std::vector<VXSimulator *> sims(Machines, nullptr);
    std::vector<quint16> ports(Machines, 0);
    onThread(&context, [&] {
        for (int i = 0; i < Machines; ++i) {
            sims[i] = new VXSimulator(&context);
            sims[i]->setSpeedup(1);
            sims[i]->setSetting(VXSimulator::Cmd, SpeedNumber, QString::number(100 + i));
            ports[i] = sims[i]->start(0) ? sims[i]->serverPort() : 0;
        }
    });

    for (auto _ : state) {
        VXKTR450PROCam root;
        std::vector<std::unique_ptr<VXDeviceInterface>> devices;
        std::vector<int> connected(Machines, 0), finished(Machines, 0);
        for (int i = 0; i < Machines; ++i) {
            devices.emplace_back(root.initInstance());
            VXDeviceInterface *d = devices.back().get();
            QObject::connect(d, &VXDeviceInterface::message, [&, i](VXDeviceInterface::VXDeviceMessage kind, const QString &text) {
                if (kind == VXDeviceInterface::DevStatus && text == QLatin1String("TCP CONNECTED."))
                    connected[i] = 1;
                if (kind == VXDeviceInterface::DevTasK && text.startsWith(QLatin1String("66,3,")))
                    finished[i] = 1;
            });
            d->property_ptr("HEARTBEAT")->setValue(1);
            d->property_ptr("TCP_PORT")->setValue(int(ports[i]));
            d->setIPAddress(QStringLiteral("127.0.0.1"));
        }

        const int64_t wall0 = benchutil::nowNs();
        const int64_t cpu0 = benchutil::threadCpuNs();
        for (auto &d : devices)
            d->connectDevice();
        auto waitAll = [](const std::vector<int> &flags, int timeoutMs) {
            return benchutil::waitUntil([&] {
                return std::all_of(flags.begin(), flags.end(), [](int f) { return f; });
            }, timeoutMs);
        };
        if (!waitAll(connected, 20000)) {
            state.SkipWithError("not every machine connected");
            break;
        }
        for (int i = 0; i < Machines; ++i) {
            VXDeviceInterface *d = devices[i].get();
            d->setPlt(plotFor(i));
            d->startTask();
            d->sendCMD(d->property_ptr("PU_SPEED")->get_cmd_bytes());
        }
        const bool allFinished = waitAll(finished, 120000);
        const int64_t wallNs = benchutil::nowNs() - wall0;
        const int64_t cpuNs = benchutil::threadCpuNs() - cpu0;
        state.SetIterationTime(double(wallNs) / 1e9);

        int crossed = 0, heartbeats = 0, done = 0;
        for (int i = 0; i < Machines; ++i) {
            done += finished[i];
            if (devices[i]->property_ptr("PU_SPEED")->value().toUInt() != uint(100 + i))
                ++crossed;
            QByteArray job;
            int beats = 0;
            onThread(&context, [&] {
                job = sims[i]->lastJobData();
                beats = sims[i]->heartbeatCount();
            });
            if (!job.contains("PU" + QByteArray::number(1000 + i) + ",0;"))
                ++crossed;
            heartbeats += beats > 0;
        }
        state.counters["machines"] = Machines;
        state.counters["jobs_finished"] = done;
        state.counters["frames_crossed"] = crossed;
        state.counters["with_heartbeat"] = heartbeats;
        state.counters["wall_s"] = double(wallNs) / 1e9;
        state.counters["host_cpu_pct_per_machine"] = 100.0 * double(cpuNs) / double(wallNs) / Machines;
        if (!allFinished || crossed)
            state.SkipWithError("a job did not finish or a frame crossed devices");
        devices.clear();
    }

    onThread(&context, [&] {
        for (VXSimulator *s : sims)
            delete s;
    });
    machineThread.quit();
    machineThread.wait();
}

} // namespace

BENCHMARK(BM_fleet)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
