// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QObject>

#include <atomic>

class QSocketNotifier;

// SIGINT through a self-pipe: the handler only writes one byte, the event
// loop turns it into interrupted(). One instance per process.
class Interrupt : public QObject
{
    Q_OBJECT
public:
    explicit Interrupt(QObject *parent = nullptr);
    ~Interrupt() override;

    bool pending() const { return m_pending; }
    // Set the moment a signal arrives, for loops that run without the
    // event loop (reading and planning a design).
    const std::atomic<bool> *cancelFlag() const;
    // SIGINT or SIGTERM once one arrived, else 0.
    int signalNumber() const;

signals:
    void interrupted();

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
    bool m_pending = false;
};
