// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ChannelHub.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebSocket>
#include <QWebSocketServer>

namespace {
const QString Tail = QStringLiteral("/Device/");

// "/<code>/Device/", percent-decoded; empty when the path is no channel.
QString channelCode(const QString &path)
{
    if (!path.startsWith(QLatin1Char('/')) || !path.endsWith(Tail) || path.size() <= Tail.size() + 1)
        return QString();
    return path.mid(1, path.size() - 1 - Tail.size());
}
}

ChannelHub::ChannelHub()
    : m_thread(new QThread)
{
    m_thread->setObjectName(QStringLiteral("vxcloud channels"));
}

ChannelHub::~ChannelHub()
{
    stop();
    delete m_thread;
}

template <typename F>
void ChannelHub::onHub(F f)
{
    if (m_thread->isRunning())
        QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
}

bool ChannelHub::start(quint16 port)
{
    if (m_thread->isRunning())
        return true;
    moveToThread(m_thread);
    m_thread->start();
    bool listening = false;
    onHub([this, port, &listening] {
        m_tcp = new QTcpServer(this);
        m_ws = new QWebSocketServer(QStringLiteral("vxcloud"), QWebSocketServer::NonSecureMode, this);
        connect(m_tcp, &QTcpServer::newConnection, this, &ChannelHub::accept);
        connect(m_ws, &QWebSocketServer::newConnection, this, &ChannelHub::adopt);
        listening = m_tcp->listen(QHostAddress::LocalHost, port);
        m_port = m_tcp->serverPort();
    });
    if (!listening)
        stop();
    return listening;
}

void ChannelHub::stop()
{
    QThread *caller = QThread::currentThread();
    onHub([this, caller] {
        for (QWebSocket *ws : m_open.keys()) {
            ws->disconnect(this);
            ws->abort();
            delete ws;
        }
        m_open.clear();
        delete m_tcp;   // with the connections still being looked at
        delete m_ws;
        m_tcp = nullptr;
        m_ws = nullptr;
        moveToThread(caller);
    });
    m_thread->quit();
    m_thread->wait();
    QMutexLocker lock(&m_codesMutex);
    m_codes.clear();
}

void ChannelHub::accept()
{
    while (QTcpSocket *socket = m_tcp->nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { inspect(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // A client that never finishes its request does not hold a place.
        auto idle = new QTimer(socket);
        idle->setObjectName(QStringLiteral("idle"));
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        idle->start(10000);
    }
}

// Looks at the upgrade request without taking it off the socket: the
// WebSocket server reads it again for the handshake.
void ChannelHub::inspect(QTcpSocket *socket)
{
    const QByteArray head = socket->peek(MaxHeadBytes + 1);
    const int end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > MaxHeadBytes)
            refuse(socket, "431 Request Header Fields Too Large", "request head too large\n");
        return;
    }
    const QList<QByteArray> request = head.left(head.indexOf("\r\n")).split(' ');
    const QString path = QUrl::fromPercentEncoding(request.value(1).split('?').value(0));
    if (request.size() != 3 || request.at(0) != "GET" || channelCode(path).isEmpty()
        || !head.left(end).toLower().contains("\nupgrade: websocket")) {
        refuse(socket, "404 Not Found", "no such channel\n");
        return;
    }
    if (m_open.size() + m_handshaking.size() >= m_maxChannels) {
        refuse(socket, "503 Service Unavailable", "too many open channels\n");
        emit logLine(QStringLiteral("channel refused: too many open channels"));
        return;
    }
    socket->disconnect(this);
    delete socket->findChild<QTimer *>(QStringLiteral("idle"));
    m_handshaking.insert(socket);
    connect(socket, &QObject::destroyed, this, [this, socket] { m_handshaking.remove(socket); });
    m_ws->handleConnection(socket);
}

void ChannelHub::refuse(QTcpSocket *socket, const QByteArray &status, const QByteArray &text)
{
    socket->disconnect(this);
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
                  + QByteArray::number(text.size()) + "\r\nConnection: close\r\n\r\n" + text);
    socket->disconnectFromHost();
}

void ChannelHub::adopt()
{
    while (QWebSocket *ws = m_ws->nextPendingConnection()) {
        ws->setParent(this);
        ws->setMaxAllowedIncomingFrameSize(MaxFrameBytes);
        ws->setMaxAllowedIncomingMessageSize(MaxFrameBytes);
        // The upgraded socket, found by its peer: never more than one
        // frame's worth waits unread under the channel.
        for (QTcpSocket *socket : qAsConst(m_handshaking)) {
            if (socket->peerPort() == ws->peerPort() && socket->peerAddress() == ws->peerAddress()) {
                socket->setReadBufferSize(MaxFrameBytes + 64 * 1024);
                m_handshaking.remove(socket);
                break;
            }
        }
        const QString code = channelCode(ws->requestUrl().path(QUrl::FullyDecoded));
        m_open.insert(ws, code);
        {
            QMutexLocker lock(&m_codesMutex);
            m_codes.append(code);
        }
        connect(ws, &QWebSocket::textMessageReceived, this, [this, code](const QString &text) {
            emit textReceived(code, text);
        });
        connect(ws, &QWebSocket::disconnected, this, [this, ws] {
            const QString code = m_open.take(ws);
            {
                QMutexLocker lock(&m_codesMutex);
                m_codes.removeOne(code);
            }
            ws->deleteLater();
            emit logLine(QStringLiteral("channel %1 closed").arg(code));
        });
        emit logLine(QStringLiteral("channel %1 open").arg(code));
    }
}

QWebSocket *ChannelHub::find(const QString &code) const
{
    for (auto it = m_open.constBegin(); it != m_open.constEnd(); ++it) {
        if (it.value() == code && it.key()->state() == QAbstractSocket::ConnectedState)
            return it.key();
    }
    return nullptr;
}

bool ChannelHub::push(const QString &code, const QString &text)
{
    bool sent = false;
    onHub([&] {
        QWebSocket *ws = find(code);
        if (ws && ws->bytesToWrite() <= MaxBacklogBytes) {
            ws->sendTextMessage(text);
            sent = true;
        }
    });
    return sent;
}

bool ChannelHub::close(const QString &code)
{
    bool closing = false;
    onHub([&] {
        if (QWebSocket *ws = find(code)) {
            ws->close(QWebSocketProtocol::CloseCodeNormal);
            closing = true;
        }
    });
    return closing;
}

QStringList ChannelHub::codes() const
{
    QMutexLocker lock(&m_codesMutex);
    return m_codes;
}
