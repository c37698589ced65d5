// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QObject>

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

signals:
    void interrupted();

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
    bool m_pending = false;
};
