// SPDX-License-Identifier: LGPL-2.1-or-later
#include "BenchUtil.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <ctime>

namespace benchutil {

namespace {
int64_t clockNs(clockid_t id)
{
    timespec ts{};
    clock_gettime(id, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t statusField(const char *name)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

QByteArray frame(const QByteArray &payload)
{
    int l = payload.size() + 3;
    while (l != payload.size() + 3 + QByteArray::number(l).size())
        ++l;
    return '\x02' + QByteArray::number(l) + ';' + payload + '\x03';
}
} // namespace

int64_t nowNs() { return clockNs(CLOCK_MONOTONIC); }
int64_t threadCpuNs() { return clockNs(CLOCK_THREAD_CPUTIME_ID); }
int64_t processCpuNs() { return clockNs(CLOCK_PROCESS_CPUTIME_ID); }
int64_t rssBytes() { return statusField("VmRSS"); }
int64_t peakRssBytes() { return statusField("VmHWM"); }

bool resetPeakRss()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

QByteArray replyStream(int64_t size)
{
    const QByteArray unit = frame("CCMD;1010,2;") + frame("CMD;SET26:300;")
        + frame("CMD;SET5:65336;6:65535;7:0;") + frame("CCMD;66,1,job1.plt,2,0,57.9,0,0,0;")
        + frame("CCMD;12,0,3;");
    QByteArray out;
    out.reserve(int(size));
    while (out.size() + unit.size() <= size)
        out += unit;
    return out;
}

bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    // processEvents() with a time limit never sleeps; a ticking timer bounds
    // the blocking form instead.
    QTimer tick;
    tick.start(20);
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void consume(const void *p)
{
    asm volatile("" : : "g"(p) : "memory");
}

} // namespace benchutil
