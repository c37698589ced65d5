// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Await.h"

#include "Interrupt.h"

#include <QEventLoop>
#include <QTimer>

bool Await::interrupted() const
{
    return m_interrupt && m_interrupt->pending();
}

bool Await::until(const std::function<bool()> &done, int timeoutMs, bool abortable)
{
    if (done())
        return true;
    if (abortable && interrupted())
        return false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QTimer poll;
    poll.setInterval(10);
    bool ok = false;
    auto check = [&] {
        if (done()) {
            ok = true;
            loop.quit();
        } else if (abortable && interrupted()) {
            loop.quit();
        }
    };
    QObject::connect(&poll, &QTimer::timeout, &loop, check);
    if (m_interrupt)
        QObject::connect(m_interrupt, &Interrupt::interrupted, &loop, check);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(qMax(0, timeoutMs));
    poll.start();
    loop.exec();
    return ok;
}

void Await::settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}
