// SPDX-License-Identifier: LGPL-2.1-or-later
// Reply dispatch on a full model device, for the first- and last-registered
// record and for the heartbeat answer (the model's first pass), against
// splitting the same frame alone. "x_split" is dispatch over split cost.
#include "BenchUtil.h"
#include "plugin/VXKTR450PROCam.h"
#include "property/VXFrame.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Target {
    QString frame;            // as decode_cmd receives it
    VXDeviceProperty *record = nullptr;
    QString value;            // what the record must hold afterwards
};

std::unique_ptr<VXDeviceInterface> g_device;
Target g_first, g_last, g_heartbeat;
int g_records = 0;

QString text(const QByteArray &kind, const QByteArray &body)
{
    return QString::fromUtf8(VXFrame::build(kind, body));
}

// A one-word "CMD" record that a reply reaches: no earlier record of the
// same kind claims its number.
Target cmdTarget(bool last)
{
    auto *device = static_cast<VXCommonInterface *>(g_device.get());
    QList<VXDeviceProperty *> records;
    for (const QByteArray &name : device->dynamicPropertyNames()) {
        if (VXDeviceProperty *r = device->property_ptr(name.constData()))
            records << r;
    }
    g_records = records.size();
    Target t;
    for (int i = 0; i < records.size(); ++i) {
        VXDeviceProperty *r = records.at(last ? records.size() - 1 - i : i);
        if (r->cmd_type() != VXDeviceInterface::CMD || r->cmd_len() != 1 || r->get_cmd_int() <= 0
            || r->get_cmd_int() == 27 || r->get_cmd_int() == 125 || !r->value().canConvert<int>())
            continue;
        bool shadowed = false;
        for (VXDeviceProperty *o : records) {
            if (o == r)
                break;
            shadowed |= o->cmd_type() == VXDeviceInterface::CMD
                && (o->get_cmd_int() == r->get_cmd_int() || o->set_cmd_int() == r->get_cmd_int());
        }
        if (shadowed)
            continue;
        t.record = r;
        t.value = QStringLiteral("7");
        t.frame = text("CMD", "GET" + QByteArray::number(r->get_cmd_int()) + ":7;");
        return t;
    }
    return t;
}

void setUp()
{
    if (g_device)
        return;
    VXKTR450PROCam root;
    g_device.reset(root.initInstance());
    g_first = cmdTarget(false);
    g_last = cmdTarget(true);
    g_heartbeat.record = static_cast<VXCommonInterface *>(g_device.get())->property_ptr("HEARTBEAT");
    g_heartbeat.value = QStringLiteral("3");
    g_heartbeat.frame = text("CCMD", "1010,3;");
}

void splitOnly(const QString &frame)
{
    const QStringList parts = frame.split(QLatin1Char(';'));
    QString name, value;
    int number = 0;
    for (int i = 2; i < parts.size() - 1; ++i) {
        if (parts.at(1) == QLatin1String("CMD"))
            VXCommonInterface::decode_cmd(parts.at(i), name, number, value);
        else
        {
            const QStringList fields = parts.at(i).split(QLatin1Char(','));
            benchutil::consume(&fields);
        }
    }
    benchutil::consume(value.constData());
}

void run(benchmark::State &state, const Target &t)
{
    setUp();
    if (!t.record) {
        state.SkipWithError("no record to dispatch to");
        return;
    }
    auto *device = static_cast<VXCommonInterface *>(g_device.get());
    int64_t dispatchNs = 0, splitNs = 0;
    for (auto _ : state) {
        int64_t t0 = benchutil::nowNs();
        device->decode_cmd(t.frame);
        int64_t t1 = benchutil::nowNs();
        dispatchNs += t1 - t0;
        t0 = benchutil::nowNs();
        splitOnly(t.frame);
        t1 = benchutil::nowNs();
        splitNs += t1 - t0;
    }
    if (t.record->value().toString() != t.value)
        state.SkipWithError("the reply did not reach its record");
    state.counters["records"] = g_records;
    state.counters["frames_per_s"] = double(state.iterations()) * 1e9 / double(dispatchNs ? dispatchNs : 1);
    state.counters["x_split"] = double(dispatchNs) / double(splitNs ? splitNs : 1);
}

void BM_dispatch_first(benchmark::State &state) { run(state, g_first); }
void BM_dispatch_last(benchmark::State &state) { run(state, g_last); }
void BM_dispatch_heartbeat(benchmark::State &state) { run(state, g_heartbeat); }

} // namespace

BENCHMARK(BM_dispatch_first);
BENCHMARK(BM_dispatch_last);
BENCHMARK(BM_dispatch_heartbeat);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    setUp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_device.reset();
    return 0;
}
