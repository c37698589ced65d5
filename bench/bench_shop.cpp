// SPDX-License-Identifier: LGPL-2.1-or-later
// The shop service as it runs on a floor: one `vxcut serve` process with 32
// simulated machines, each handed a queue of small jobs through the HTTP
// API. The machines live on a thread of this process; the service is
// measured from outside (/proc/PID), so its figures are its own:
//   service_cpu_pct   its CPU time over the wall time of the whole run
//   service_peak_rss  VmHWM at the end
//   update_ms_*       from a machine's final job report to the /api/live
//                     message that shows the entry done (what a page waits)
// The baseline is the same cutting without the service, measured in the
// same run: a bare host on this process's main thread drives the same
// machines through the same jobs (cpu_x_baseline), and the service's own
// VmHWM once its machines are connected and no job is in (rss_x_idle).
// The second benchmark is the queue database's size once it holds 10,000
// ended jobs.
#include "BenchUtil.h"
#include "ShopBenchUtil.h"
#include "ShopQueue.h"
#include "VXSimulator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <QUrlQuery>
#include <QWebSocket>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

constexpr int Machines = 32;
constexpr int JobsPerMachine = 5;
const QString kVxcut = QStringLiteral(VX_BIN_DIR "/vxcut");
const QString kSample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");

using shopbench::percentile;
using shopbench::processCpuNs;
using shopbench::statusBytes;

template <typename F>
void onThread(QObject *context, F f)
{
    QMetaObject::invokeMethod(context, f, Qt::BlockingQueuedConnection);
}

// Machines whose card shows the link up and the work area read: the
// station has read the machine and would take a job now. Asks every 100 ms
// until all are or timeoutMs pass.
int readyMachines(QNetworkAccessManager &net, const QUrl &base, int timeoutMs)
{
    QUrl url = base;
    url.setPath(QStringLiteral("/api/machines"));
    int ready = 0;
    bool asking = false;
    QElapsedTimer since;
    benchutil::waitUntil([&] {
        if (!asking && (!since.isValid() || since.elapsed() >= 100)) {
            asking = true;
            QNetworkReply *reply = net.get(QNetworkRequest(url));
            QObject::connect(reply, &QNetworkReply::finished, [&, reply] {
                int n = 0;
                const QJsonArray cards = QJsonDocument::fromJson(reply->readAll()).object()[QStringLiteral("machines")].toArray();
                for (const QJsonValue &c : cards)
                    n += c[QStringLiteral("link")].toString() == QLatin1String("up") && c[QStringLiteral("work_area")].isObject();
                ready = n;
                asking = false;
                since.start();
                reply->deleteLater();
            });
        }
        return ready >= Machines;
    }, timeoutMs);
    return ready;
}

void BM_shop_serve(benchmark::State &state)
{
    QThread machineThread;
    QObject context;
    context.moveToThread(&machineThread);
    machineThread.start();

    // Written on the machines' thread, read here once the run is over.
    std::mutex lock;
    std::vector<std::vector<int64_t>> finishedAt(Machines);
    std::vector<VXSimulator *> sims(Machines, nullptr);
    std::vector<quint16> ports(Machines, 0);
    onThread(&context, [&] {
        for (int i = 0; i < Machines; ++i) {
            sims[i] = new VXSimulator(&context);
            sims[i]->setSpeedup(5);
            ports[i] = sims[i]->start(0) ? sims[i]->serverPort() : 0;
            QObject::connect(sims[i], &VXSimulator::jobFinished, &context, [&, i] {
                const std::lock_guard<std::mutex> hold(lock);
                finishedAt[i].push_back(benchutil::nowNs());
            });
        }
    });
    QFile sample(kSample);
    const QByteArray design = sample.open(QIODevice::ReadOnly) ? sample.readAll() : QByteArray();
    // A one-shot host process: what any host pays before its first job.
    const int64_t planRss = shopbench::peakRssOfRun(kVxcut, {QStringLiteral("plan"), kSample});

    for (auto _ : state) {
        const shopbench::HostRun bare = shopbench::runBareHost(ports, kSample, JobsPerMachine);
        const int64_t planNs = shopbench::planCpuNs(kSample, 16);
        {
            const std::lock_guard<std::mutex> hold(lock);
            for (std::vector<int64_t> &f : finishedAt)
                f.clear();
        }
        if (!bare.error.isEmpty()) {
            state.SkipWithError(bare.error.toUtf8().constData());
            break;
        }

        QTemporaryDir data;
        QStringList args{QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--data"), data.path()};
        for (int i = 0; i < Machines; ++i)
            args << QStringLiteral("--machine") << QStringLiteral("m%1@127.0.0.1:%2").arg(i).arg(ports[i]);
        QProcess serve;
        serve.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        serve.start(kVxcut, args);
        QByteArray out;
        QUrl base;
        benchutil::waitUntil([&] {
            out += serve.readAllStandardOutput();
            const int at = out.indexOf("serving on ");
            if (at >= 0 && out.indexOf('\n', at) > at)
                base = QUrl(QString::fromUtf8(out.mid(at + 11, out.indexOf('\n', at) - at - 11)).trimmed());
            return base.isValid() || serve.state() == QProcess::NotRunning;
        }, 20000);
        if (!base.isValid()) {
            state.SkipWithError("vxcut serve did not start");
            break;
        }
        const qint64 pid = serve.processId();

        // Every entry seen done over the live socket, per machine, in order.
        std::vector<std::vector<int64_t>> shownAt(Machines);
        QSet<qint64> done;
        QWebSocket live;
        QObject::connect(&live, &QWebSocket::textMessageReceived, [&](const QString &text) {
            const int64_t now = benchutil::nowNs();
            const QJsonObject m = QJsonDocument::fromJson(text.toUtf8()).object();
            if (m[QStringLiteral("type")].toString() != QLatin1String("queue"))
                return;
            const int machine = m[QStringLiteral("machine")].toString().mid(1).toInt();
            for (const QJsonValue &job : m[QStringLiteral("jobs")].toArray()) {
                const qint64 id = job[QStringLiteral("id")].toVariant().toLongLong();
                if (job[QStringLiteral("state")].toString() == QLatin1String("done") && !done.contains(id)
                        && machine >= 0 && machine < Machines) {
                    done.insert(id);
                    shownAt[machine].push_back(now);
                }
            }
        });
        QUrl ws = base;
        ws.setScheme(QStringLiteral("ws"));
        ws.setPath(QStringLiteral("/api/live"));
        live.open(ws);
        benchutil::waitUntil([&] { return live.state() == QAbstractSocket::ConnectedState; }, 10000);
        // Connecting is outside the clock, as the bare host's is; the peak
        // so far is the service's fixed cost with its machines.
        QNetworkAccessManager net;
        const int ready = readyMachines(net, base, 20000);
        const int64_t idleRss = statusBytes(pid, "VmHWM");

        const int64_t wall0 = benchutil::nowNs();
        const int64_t cpu0 = processCpuNs(pid);
        int posted = 0, accepted = 0;
        for (int k = 0; k < JobsPerMachine; ++k) {
            for (int i = 0; i < Machines; ++i) {
                QUrl url = base;
                url.setPath(QStringLiteral("/api/machines/m%1/jobs").arg(i));
                url.setQuery(QUrlQuery{{QStringLiteral("name"), QStringLiteral("part%1.plt").arg(k)},
                                       {QStringLiteral("copies"), QStringLiteral("1")}});
                QNetworkRequest request(url);
                request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
                QNetworkReply *reply = net.post(request, design);
                ++posted;
                QObject::connect(reply, &QNetworkReply::finished, [&, reply] {
                    accepted += reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 201;
                    reply->deleteLater();
                });
            }
        }
        const int total = Machines * JobsPerMachine;
        const bool allDone = benchutil::waitUntil([&] { return done.size() >= total; }, 600000);
        const int64_t wallNs = benchutil::nowNs() - wall0;
        const int64_t cpuNs = processCpuNs(pid) - cpu0;
        const int64_t peakRss = statusBytes(pid, "VmHWM");
        state.SetIterationTime(double(wallNs) / 1e9);

        std::vector<double> latencyMs;
        {
            const std::lock_guard<std::mutex> hold(lock);
            for (int i = 0; i < Machines; ++i) {
                const size_t n = std::min(finishedAt[i].size(), shownAt[i].size());
                for (size_t j = 0; j < n; ++j)
                    latencyMs.push_back(double(shownAt[i][j] - finishedAt[i][j]) / 1e6);
                finishedAt[i].clear();
            }
        }
        qint64 journalBytes = 0;
        for (const QFileInfo &m : QDir(data.filePath(QStringLiteral("machines"))).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
            journalBytes += QFileInfo(m.filePath() + QStringLiteral("/jobs.jsonl")).size();

        state.counters["machines"] = Machines;
        state.counters["jobs_posted"] = posted;
        state.counters["jobs_accepted"] = accepted;
        state.counters["jobs_done"] = done.size();
        state.counters["wall_s"] = double(wallNs) / 1e9;
        state.counters["service_cpu_pct"] = 100.0 * double(cpuNs) / double(wallNs);
        state.counters["service_cpu_s"] = double(cpuNs) / 1e9;
        state.counters["baseline_wall_s"] = double(bare.wallNs) / 1e9;
        state.counters["baseline_cpu_s"] = double(bare.cpuNs) / 1e9;
        state.counters["cpu_x_baseline"] = bare.cpuNs > 0 ? double(cpuNs) / double(bare.cpuNs) : 0;
        state.counters["plan_cpu_ms"] = double(planNs) / 1e6;
        state.counters["service_peak_rss_mb"] = double(peakRss) / (1 << 20);
        state.counters["service_idle_rss_mb"] = double(idleRss) / (1 << 20);
        state.counters["rss_x_idle"] = idleRss > 0 ? double(peakRss) / double(idleRss) : 0;
        state.counters["plan_process_rss_mb"] = double(planRss) / (1 << 20);
        state.counters["machines_ready"] = ready;
        state.counters["update_ms_median"] = percentile(latencyMs, 0.5);
        state.counters["update_ms_p95"] = percentile(latencyMs, 0.95);
        state.counters["update_ms_max"] = percentile(latencyMs, 1.0);
        state.counters["journal_bytes_per_job"] = done.isEmpty() ? 0 : double(journalBytes) / done.size();
        state.counters["queue_db_bytes"] = QFileInfo(data.filePath(QStringLiteral("queue.sqlite"))).size();

        live.close();
        serve.terminate();
        if (!serve.waitForFinished(20000))
            serve.kill();
        if (!allDone || accepted != total)
            state.SkipWithError("not every job was accepted and done");
    }

    onThread(&context, [&] {
        for (VXSimulator *s : sims)
            delete s;
    });
    machineThread.quit();
    machineThread.wait();
}

// 10,000 ended jobs, each stored as the service stores one: queued, then
// ended with its times, message and journal line.
void BM_shop_queue_10k(benchmark::State &state)
{
    constexpr int Jobs = 10000;
    for (auto _ : state) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("queue.sqlite"));
        ShopQueue queue;
        QString error;
        if (!queue.open(path, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            break;
        }
        const QDateTime t0 = QDateTime::currentDateTimeUtc();
        const int64_t wall0 = benchutil::nowNs();
        int stored = 0;
        for (int i = 0; i < Jobs; ++i) {
            ShopEntry e;
            e.machine = QStringLiteral("m%1").arg(i % 8);
            e.fileName = QStringLiteral("order-%1-front-panel.svg").arg(100000 + i);
            e.path = dir.filePath(QStringLiteral("machines/%1/files/%2-order-%3-front-panel.svg").arg(e.machine).arg(i).arg(100000 + i));
            e.options = QJsonObject{{QStringLiteral("rotate"), QStringLiteral("90")},
                                    {QStringLiteral("tool"), QJsonArray{QStringLiteral("#ff0000=2")}}};
            e.copies = 1 + i % 3;
            e.addedBy = QStringLiteral("web 192.168.1.%1").arg(i % 250);
            e.addedAt = t0.addSecs(i * 60);
            if (!queue.add(e, &error))
                break;
            e.state = ShopEntry::State::Done;
            e.startedAt = e.addedAt.addSecs(5);
            e.endedAt = e.startedAt.addSecs(40);
            e.finished = e.copies;
            e.percent = 100;
            e.message = QStringLiteral("all copies cut");
            e.journalId = QStringLiteral("20250101T%1-%2").arg(i, 6, 10, QLatin1Char('0')).arg(e.machine);
            if (!queue.update(e, &error))
                break;
            ++stored;
        }
        const int64_t wallNs = benchutil::nowNs() - wall0;
        state.SetIterationTime(double(wallNs) / 1e9);
        const qint64 live = queue.sizeBytes();
        queue.close();
        const qint64 closed = QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
        state.counters["jobs"] = stored;
        state.counters["db_bytes_open"] = double(live);
        state.counters["db_bytes_closed"] = double(closed);
        state.counters["bytes_per_job"] = stored ? double(closed) / stored : 0;
        state.counters["ms_per_job_stored"] = stored ? double(wallNs) / 1e6 / stored : 0;
        if (stored != Jobs)
            state.SkipWithError(error.toUtf8().constData());
    }
}

} // namespace

BENCHMARK(BM_shop_serve)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_shop_queue_10k)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
