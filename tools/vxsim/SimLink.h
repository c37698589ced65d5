// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTcpSocket;
class QTimer;

// Fault switches shared by every link of one simulator.
struct SimFaults
{
    bool oneByteChunks = false;
    bool garbage = false;
    bool ignoreHeartbeat = false;
    bool endlessFrame = false;
    qint64 dropAfterReceived = -1;
    qint64 dropAfterSent = -1;
    int dropMidJobPercent = -1;
};

// One connection to a host: a TCP socket or the pseudo-terminal master.
// Owns the outgoing fault behaviour (chunking, garbage, byte limits, the
// endless frame) so the command code only ever sends whole frames.
class SimLink : public QObject
{
    Q_OBJECT

public:
    SimLink(const SimFaults &faults, QObject *parent);

    void sendFrame(const QByteArray &frame);
    // Closes the link at once; closed() follows.
    void drop();
    bool isOpen() const { return m_open; }
    qint64 receivedBytes() const { return m_received; }
    void countReceived(qint64 n) { m_received += n; }

signals:
    void received(const QByteArray &bytes);
    void closed();

protected:
    virtual void writeRaw(const QByteArray &bytes) = 0;
    virtual qint64 backlog() const = 0;
    virtual void closeTransport() = 0;
    void markClosed();

private:
    void queue(const QByteArray &bytes);
    void writeSlow();
    void feedEndless();

    const SimFaults &m_faults;
    bool m_open = true;
    qint64 m_received = 0;
    qint64 m_sent = 0;
    QByteArray m_slow;
    QTimer *m_slowTimer = nullptr;
    QTimer *m_endlessTimer = nullptr;
    bool m_endless = false;
    bool m_dropWhenDrained = false;
};

class SimTcpLink : public SimLink
{
    Q_OBJECT

public:
    SimTcpLink(QTcpSocket *socket, const SimFaults &faults, QObject *parent);

protected:
    void writeRaw(const QByteArray &bytes) override;
    qint64 backlog() const override;
    void closeTransport() override;

private:
    QTcpSocket *m_socket;
};

// Master side of a pseudo-terminal; the slave is kept open here so the
// master never sees a hang-up while no host has the device open.
class SimPtyLink : public SimLink
{
    Q_OBJECT

public:
    SimPtyLink(const SimFaults &faults, QObject *parent);
    ~SimPtyLink() override;
    bool open(QString *error);
    QString path() const { return m_path; }

protected:
    void writeRaw(const QByteArray &bytes) override;
    qint64 backlog() const override { return m_out.size(); }
    void closeTransport() override;

private:
    void readMaster();
    void flushOut();

    int m_master = -1;
    int m_slave = -1;
    QString m_path;
    QByteArray m_out;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
};
