// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Interrupt.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};
// A signal handler can only reach process-wide state; the flag is
// lock-free, so setting it there is async-signal-safe. Readers poll it
// while a design loads, when no event loop runs to see the pipe.
std::atomic<bool> g_cancel{false};
volatile sig_atomic_t g_signal = 0;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void onSigint(int sig)
{
    g_signal = sig;
    g_cancel.store(true, std::memory_order_relaxed);
    const char byte = 1;
    // Async-signal-safe; a full pipe already carries a pending interrupt.
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &byte, 1);
}
}

Interrupt::Interrupt(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Interrupt::drain);
    struct sigaction action = {};
    action.sa_handler = onSigint;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

Interrupt::~Interrupt()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    delete m_notifier;
    for (int &fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void Interrupt::drain()
{
    char buffer[64];
    while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    // A second Ctrl-C while stopping is the same request; report once.
    if (m_pending)
        return;
    m_pending = true;
    emit interrupted();
}

const std::atomic<bool> *Interrupt::cancelFlag() const
{
    return &g_cancel;
}

int Interrupt::signalNumber() const
{
    return g_signal;
}
