// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QtGlobal>

// When to try a dropped link again: the first wait, doubling up to a
// ceiling, all within a total budget counted from the drop. The caller owns
// the clock and passes the time since the drop, so the schedule is a plain
// value (and a host that spent long in a connection attempt is not granted
// more than the budget).
//
// Defaults: 0.5 s doubling to 8 s, 2 minutes in all. The last wait is cut
// short so that the last attempt starts no later than the budget's end.
class ReconnectSchedule
{
public:
    explicit ReconnectSchedule(int firstDelayMs = 500, int maxDelayMs = 8000, qint64 budgetMs = 120000);

    void setFirstDelay(int ms) { m_first = qMax(1, ms); }
    void setMaxDelay(int ms) { m_max = qMax(1, ms); }
    void setBudget(qint64 ms) { m_budget = qMax<qint64>(0, ms); }
    int firstDelay() const { return m_first; }
    int maxDelay() const { return m_max; }
    qint64 budget() const { return m_budget; }

    // The wait before the next attempt, elapsedMs after the drop; -1 once
    // the budget is spent (give up). Each call counts one attempt.
    int nextDelay(qint64 elapsedMs);
    int attempts() const { return m_attempts; }
    qint64 budgetLeft(qint64 elapsedMs) const { return qMax<qint64>(0, m_budget - elapsedMs); }
    // A new drop: the waits start from the first again.
    void reset() { m_attempts = 0; }

private:
    int m_first;
    int m_max;
    qint64 m_budget;
    int m_attempts = 0;
};
