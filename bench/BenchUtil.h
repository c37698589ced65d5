// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>

namespace benchutil {

// Monotonic and CPU clocks in nanoseconds.
int64_t nowNs();
int64_t threadCpuNs();
int64_t processCpuNs();

// Resident set size and its peak, from /proc/self/status, in bytes.
int64_t rssBytes();
int64_t peakRssBytes();
// Starts a new peak from the current RSS (Linux clear_refs "5").
bool resetPeakRss();

// A reply stream as a machine sends it: heartbeat answers, setting readings,
// multi-word readings and job reports, repeated to size bytes.
QByteArray replyStream(int64_t size);

// Serves the thread's events until done() holds or timeoutMs pass; sleeps
// between events, so the wait itself costs no CPU.
bool waitUntil(const std::function<bool()> &done, int timeoutMs);

// Keeps the optimiser from dropping a result.
void consume(const void *p);

} // namespace benchutil
