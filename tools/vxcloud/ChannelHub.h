// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>

class QTcpServer;
class QTcpSocket;
class QThread;
class QWebSocket;
class QWebSocketServer;

// The stand-in's remote channel "<code>/Device/", on a port and a thread of
// its own. CivetWeb allocates each whole WebSocket frame as its header
// announces it, before any handler sees it: a client declaring a 1 GiB frame
// made the stand-in hold whatever it then sent. Qt WebSockets checks the
// announced length against MaxFrameBytes first and closes with 1009, and the
// socket under each channel reads at most one frame ahead, so a channel
// costs at most about MaxFrameBytes whatever its client sends.
//
// An upgrade beyond the channel cap, or to any other path, gets a plain HTTP
// refusal before the handshake. Writes never block this thread: a client
// that stops reading holds its own backlog (up to MaxBacklogBytes, then
// pushes to it are refused), never the other channels.
class ChannelHub : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxFrameBytes = 4 * 1024 * 1024;
    static constexpr int MaxHeadBytes = 16 * 1024;
    static constexpr qint64 MaxBacklogBytes = 8 * 1024 * 1024;

    ChannelHub();
    ~ChannelHub() override;

    // Upgrades beyond this many open (or opening) channels are refused.
    void setMaxChannels(int n) { m_maxChannels = n; }

    // Called from any thread but the hub's own; each waits for the hub.
    bool start(quint16 port);
    void stop();
    bool push(const QString &code, const QString &text);
    bool close(const QString &code);

    quint16 port() const { return m_port; }
    QStringList codes() const;

signals:
    // Emitted on the hub's own thread: receivers connect directly and guard
    // their own state.
    void textReceived(const QString &code, const QString &text);
    void logLine(const QString &line);

private:
    void accept();
    void inspect(QTcpSocket *socket);
    void adopt();
    void refuse(QTcpSocket *socket, const QByteArray &status, const QByteArray &text);
    QWebSocket *find(const QString &code) const;
    template <typename F>
    void onHub(F f);

    QThread *m_thread;
    std::atomic<int> m_maxChannels{64};
    QTcpServer *m_tcp = nullptr;
    QWebSocketServer *m_ws = nullptr;
    QHash<QWebSocket *, QString> m_open;   // hub thread only
    QSet<QTcpSocket *> m_handshaking;      // handed over, not yet upgraded
    quint16 m_port = 0;
    mutable QMutex m_codesMutex;
    QStringList m_codes;                   // readable from any thread
};
