// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimLink.h"

#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {
// A lone ETX (a candidate without STX), noise, and an STX that never ends:
// a host that cuts frames properly keeps only the frame that follows.
const QByteArray Garbage("#@\x03noise\x02zz", 12);
// A host that never reads must not make the simulator grow without bound.
constexpr qint64 MaxBacklog = 4 << 20;
constexpr int EndlessBlock = 64 << 10;
} // namespace

SimLink::SimLink(const SimFaults &faults, QObject *parent)
    : QObject(parent), m_faults(faults)
{
}

void SimLink::sendFrame(const QByteArray &frame)
{
    if (!m_open || m_endless)
        return;
    if (m_faults.endlessFrame) {
        m_endless = true;
        queue(QByteArray("\x02" "99999;CCMD;66,1,"));
        m_endlessTimer = new QTimer(this);
        connect(m_endlessTimer, &QTimer::timeout, this, &SimLink::feedEndless);
        m_endlessTimer->start(10);
        return;
    }
    if (m_faults.garbage)
        queue(Garbage);
    queue(frame);
}

void SimLink::feedEndless()
{
    if (!m_open || !m_faults.endlessFrame) {
        m_endlessTimer->stop();
        return;
    }
    if (backlog() < MaxBacklog)
        queue(QByteArray(EndlessBlock, 'x'));
}

void SimLink::queue(const QByteArray &bytes)
{
    if (!m_open)
        return;
    QByteArray out = bytes;
    bool dropNow = false;
    if (m_faults.dropAfterSent >= 0 && m_sent + out.size() >= m_faults.dropAfterSent) {
        out.truncate(int(qMax<qint64>(0, m_faults.dropAfterSent - m_sent)));
        dropNow = true;
    }
    m_sent += out.size();
    if (m_faults.oneByteChunks || !m_slow.isEmpty()) {
        m_slow += out;
        if (!m_slowTimer) {
            m_slowTimer = new QTimer(this);
            connect(m_slowTimer, &QTimer::timeout, this, &SimLink::writeSlow);
        }
        if (!m_slowTimer->isActive())
            m_slowTimer->start(1);
        // The drop waits until the queued bytes are out.
        m_dropWhenDrained = m_dropWhenDrained || dropNow;
        return;
    }
    if (backlog() + out.size() <= MaxBacklog)
        writeRaw(out);
    if (dropNow)
        drop();
}

void SimLink::writeSlow()
{
    if (!m_open || m_slow.isEmpty()) {
        m_slowTimer->stop();
        if (m_open && m_dropWhenDrained)
            drop();
        return;
    }
    writeRaw(m_slow.left(1));
    m_slow.remove(0, 1);
}

void SimLink::drop()
{
    if (!m_open)
        return;
    closeTransport();
    markClosed();
}

void SimLink::markClosed()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_slowTimer)
        m_slowTimer->stop();
    if (m_endlessTimer)
        m_endlessTimer->stop();
    emit closed();
}

SimTcpLink::SimTcpLink(QTcpSocket *socket, const SimFaults &faults, QObject *parent)
    : SimLink(faults, parent), m_socket(socket)
{
    socket->setParent(this);
    // One-byte chunks only mean something if each write leaves at once.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, [this] { emit received(m_socket->readAll()); });
    connect(socket, &QTcpSocket::disconnected, this, &SimTcpLink::markClosed);
}

void SimTcpLink::writeRaw(const QByteArray &bytes)
{
    m_socket->write(bytes);
    m_socket->flush();
}

qint64 SimTcpLink::backlog() const
{
    return m_socket->bytesToWrite();
}

void SimTcpLink::closeTransport()
{
    m_socket->abort();
}

SimPtyLink::SimPtyLink(const SimFaults &faults, QObject *parent) : SimLink(faults, parent) {}

SimPtyLink::~SimPtyLink()
{
    closeTransport();
}

bool SimPtyLink::open(QString *error)
{
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
        if (error)
            *error = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // Raw: STX/ETX and every other byte pass untouched, no echo.
    termios tio {};
    if (::tcgetattr(m_slave, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(m_slave, TCSANOW, &tio);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    ::fcntl(m_slave, F_SETFD, FD_CLOEXEC);
    m_path = QString::fromLocal8Bit(name);
    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &SimPtyLink::readMaster);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &SimPtyLink::flushOut);
    return true;
}

void SimPtyLink::readMaster()
{
    QByteArray data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!data.isEmpty())
        emit received(data);
}

void SimPtyLink::writeRaw(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    m_out += bytes;
    flushOut();
}

void SimPtyLink::flushOut()
{
    while (!m_out.isEmpty() && m_master >= 0) {
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(m_out.size()));
        if (n > 0) {
            m_out.remove(0, int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(!m_out.isEmpty());
}

void SimPtyLink::closeTransport()
{
    // May run inside the notifier's own activation: no direct delete.
    for (QSocketNotifier *n : {m_readNotifier, m_writeNotifier}) {
        if (n) {
            n->setEnabled(false);
            n->deleteLater();
        }
    }
    m_readNotifier = m_writeNotifier = nullptr;
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    m_master = m_slave = -1;
    m_out.clear();
}
