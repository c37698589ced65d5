// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ReconnectSchedule.h"

ReconnectSchedule::ReconnectSchedule(int firstDelayMs, int maxDelayMs, qint64 budgetMs)
{
    setFirstDelay(firstDelayMs);
    setMaxDelay(maxDelayMs);
    setBudget(budgetMs);
}

int ReconnectSchedule::nextDelay(qint64 elapsedMs)
{
    const qint64 left = budgetLeft(elapsedMs);
    if (left <= 0)
        return -1;
    // Doubling stops at the ceiling long before the shift could overflow.
    qint64 delay = m_first;
    for (int i = 0; i < m_attempts && delay < m_max; ++i)
        delay *= 2;
    ++m_attempts;
    return int(qMin(qMin<qint64>(delay, m_max), left));
}
