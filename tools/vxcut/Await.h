// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QObject>

#include <functional>

class Interrupt;

// vxcut runs one command from top to bottom, so it waits where the host
// library signals: a local event loop until the condition holds, the time is
// up, or (abortable) Ctrl-C. The library itself never blocks.
class Await
{
public:
    explicit Await(Interrupt *interrupt) : m_interrupt(interrupt) {}

    // False on time-out or interrupt.
    bool until(const std::function<bool()> &done, int timeoutMs, bool abortable = true);
    // Lets queued frames reach the transport and deferred calls run.
    void settle(int ms = 150);
    bool interrupted() const;

private:
    Interrupt *m_interrupt;
};
