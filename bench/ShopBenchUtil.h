// SPDX-License-Identifier: LGPL-2.1-or-later
// What bench_shop measures the service against, and how it reads another
// process: the /proc figures of the service, the peak memory of a one-shot
// host process, and the same cutting done by a bare host in this process.
#pragma once

#include "BenchUtil.h"
#include "DeviceSession.h"
#include "JobRunner.h"
#include "PlotJob.h"
#include "plugin/VXKTR450PROCam.h"

#include <QFile>
#include <QProcess>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace shopbench {

// utime + stime of a process, in nanoseconds; -1 when gone.
inline int64_t processCpuNs(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The command name may hold spaces; the fields count from its ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const int64_t ticks = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    return ticks * (1000000000 / sysconf(_SC_CLK_TCK));
}

inline int64_t statusBytes(qint64 pid, const QByteArray &key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

inline double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Peak RSS of a whole run of program, in bytes, by GNU time's %M (KiB); -1
// without /usr/bin/time or when the run fails. A process's VmHWM cannot be
// read from outside at its very end, which is when the peak is known.
inline int64_t peakRssOfRun(const QString &program, const QStringList &args)
{
    const QString time = QStringLiteral("/usr/bin/time");
    if (!QFile::exists(time))
        return -1;
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(time, QStringList{QStringLiteral("-f"), QStringLiteral("%M"), program} + args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return -1;
    // The program's own messages come first on the same channel.
    const QList<QByteArray> lines = p.readAllStandardError().trimmed().split('\n');
    bool ok = false;
    const qint64 kib = lines.last().trimmed().toLongLong(&ok);
    return ok ? kib * 1024 : -1;
}

struct HostRun
{
    int jobsDone = 0;
    int64_t wallNs = 0;
    int64_t cpuNs = 0;          // this thread's, from the first plan to the last job's end
    QString error;              // empty when every job finished
};

// The unavoidable part of the service's work, done the way a minimal host
// does it: the design planned once, then per machine a session and a job
// runner (the service's own planning, estimate and job path) handing the
// machines their jobs one after another. Connecting is outside the clock,
// as the service's is.
inline HostRun runBareHost(const std::vector<quint16> &ports, const QString &design, int jobsPerMachine)
{
    struct Machine
    {
        std::unique_ptr<DeviceSession> session;
        std::unique_ptr<JobRunner> runner;     // declared after: goes first
        int done = 0;
        bool up = false;
        bool failed = false;
    };
    HostRun run;
    VXKTR450PROCam root;
    PlotJob job;                    // outlives the runners that point at it
    std::vector<Machine> machines(ports.size());
    for (size_t i = 0; i < ports.size(); ++i) {
        Machine *m = &machines[i];
        m->session = std::make_unique<DeviceSession>(&root);
        m->runner = std::make_unique<JobRunner>(*m->session);
        QObject::connect(m->session.get(), &DeviceSession::linkUpChanged, [m](bool up) { m->up = up; });
        if (m->session->renewDevice() || m->session->connectTcp(QStringLiteral("127.0.0.1"), ports[i])) {
            run.error = QStringLiteral("a bare host session did not start");
            return run;
        }
    }
    const auto allUp = [&] {
        return std::all_of(machines.begin(), machines.end(), [](const Machine &m) { return m.up; });
    };
    if (!benchutil::waitUntil(allUp, 20000)) {
        run.error = QStringLiteral("a bare host session did not connect");
        return run;
    }

    const int64_t wall0 = benchutil::nowNs();
    const int64_t cpu0 = benchutil::threadCpuNs();
    QString error;
    if (!job.load(design, error)) {
        run.error = error;
        return run;
    }
    int ended = 0;
    for (Machine &machine : machines) {
        Machine *m = &machine;
        JobRunner *r = m->runner.get();
        const auto next = [&job, &ended, m, r] {
            if (!r->start(job, 1)) {
                m->failed = true;
                ++ended;
            }
        };
        QObject::connect(r, &JobRunner::finished, [&ended, m, r, next, jobsPerMachine](JobRunner::State s) {
            m->failed = s != JobRunner::State::Finished;
            m->done += !m->failed;
            if (m->failed || m->done >= jobsPerMachine)
                ++ended;
            else
                QTimer::singleShot(0, r, next);   // as the service takes its next entry: from the loop
        });
        next();
    }
    const bool over = benchutil::waitUntil([&] { return ended >= int(machines.size()); }, 600000);
    run.wallNs = benchutil::nowNs() - wall0;
    run.cpuNs = benchutil::threadCpuNs() - cpu0;
    for (const Machine &m : machines)
        run.jobsDone += m.done;
    if (!over || run.jobsDone != int(machines.size()) * jobsPerMachine)
        run.error = QStringLiteral("the bare host did not finish every job");
    return run;
}

// Thread CPU of planning the design n times: what a service that plans
// every job it is given spends on it.
inline int64_t planCpuNs(const QString &design, int n)
{
    const int64_t cpu0 = benchutil::threadCpuNs();
    for (int i = 0; i < n; ++i) {
        PlotJob job;
        QString error;
        if (!job.load(design, error))
            return -1;
        benchutil::consume(job.text.constData());
    }
    return (benchutil::threadCpuNs() - cpu0) / std::max(1, n);
}

} // namespace shopbench
