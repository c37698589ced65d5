// The remote channel "<code>/Device/": one worker thread per open channel.
#include "CloudServer.h"

#include <QMutexLocker>

#include <civetweb.h>

namespace {
constexpr int WsFin = 0x80;
constexpr int WsOpcodeMask = 0x0f;
// Text still being assembled from fragments beyond this closes the channel.
constexpr int MaxChannelMessage = 4 * 1024 * 1024;
}

int CloudServer::onBeginRequest(mg_connection *conn)
{
    // Refuse an extra channel with a status the client can read, before the
    // handshake; onWsConnect backs this up for racing upgrades.
    auto self = static_cast<CloudServer *>(mg_get_user_data(mg_get_context(conn)));
    if (!mg_get_header(conn, "Upgrade") || !self->channelsFull())
        return 0;
    static const char refusal[] = "too many open channels\n";
    mg_printf(conn, "HTTP/1.1 503 Service Unavailable\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n"
                    "Connection: close\r\n\r\n%s", int(sizeof refusal - 1), refusal);
    self->log(QStringLiteral("channel refused: too many open channels"));
    return 503;
}

bool CloudServer::channelsFull() const
{
    const int cap = limits().channels;
    QMutexLocker lock(&m_channelMutex);
    return m_channels.size() >= cap;
}

int CloudServer::onWsConnect(const mg_connection *conn, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    const mg_request_info *info = mg_get_request_info(conn);
    const QString uri = QString::fromUtf8(info->local_uri ? info->local_uri : "");
    static const QString tail = QStringLiteral("/Device/");
    // Only "/<code>/Device/" is a channel; 1 refuses the upgrade.
    const bool channel = uri.startsWith(QLatin1Char('/')) && uri.endsWith(tail) && uri.size() > tail.size() + 1;
    return channel && !self->channelsFull() ? 0 : 1;
}

void CloudServer::onWsReady(mg_connection *conn, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    const char *localUri = mg_get_request_info(conn)->local_uri;
    const QString uri = QString::fromUtf8(localUri ? localUri : "");
    auto channel = std::make_shared<Channel>();
    channel->conn = conn;
    channel->code = uri.mid(1, uri.size() - 1 - int(qstrlen("/Device/")));
    {
        QMutexLocker lock(&self->m_channelMutex);
        self->m_channels.insert(conn, channel);
    }
    self->log(QStringLiteral("channel %1 open").arg(channel->code));
}

int CloudServer::onWsData(mg_connection *conn, int bits, char *data, size_t len, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    const int opcode = bits & WsOpcodeMask;
    if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE)
        return 0;
    if (opcode != MG_WEBSOCKET_OPCODE_TEXT && opcode != MG_WEBSOCKET_OPCODE_CONTINUATION)
        return 1;

    ChannelPtr channel;
    {
        QMutexLocker lock(&self->m_channelMutex);
        channel = self->m_channels.value(conn);
    }
    if (!channel)
        return 0;
    // Only this connection's thread touches the partial text.
    if (len > size_t(MaxChannelMessage))
        return 0;
    if (opcode == MG_WEBSOCKET_OPCODE_TEXT) {
        channel->partial = QByteArray(data, int(len));
        channel->partialText = true;
    } else if (channel->partialText) {
        channel->partial.append(data, int(len));
    } else {
        return 1;
    }
    if (channel->partial.size() > MaxChannelMessage)
        return 0;
    if (!(bits & WsFin))
        return 1;
    QByteArray whole;
    whole.swap(channel->partial);
    channel->partialText = false;

    const QString text = QString::fromUtf8(whole);
    {
        QMutexLocker lock(&self->m_mutex);
        self->m_channelTexts.append(ChannelText{channel->code, text}, whole.size() + 64);
    }
    self->log(QStringLiteral("channel %1 <- %2").arg(channel->code, text.left(400)));
    return 1;
}

void CloudServer::onWsClose(const mg_connection *conn, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    ChannelPtr channel;
    {
        QMutexLocker lock(&self->m_channelMutex);
        channel = self->m_channels.take(conn);
    }
    if (!channel)
        return;
    {
        // The connection is reused once this returns: no writer may be on it.
        QMutexLocker lock(&channel->writeMutex);
        channel->open = false;
    }
    self->log(QStringLiteral("channel %1 closed").arg(channel->code));
}

CloudServer::ChannelPtr CloudServer::channelOf(const QString &code) const
{
    QMutexLocker lock(&m_channelMutex);
    for (const ChannelPtr &c : m_channels) {
        if (c->code == code)
            return c;
    }
    return ChannelPtr();
}

bool CloudServer::push(const QString &code, const QString &text)
{
    const ChannelPtr channel = channelOf(code);
    if (!channel)
        return false;
    const QByteArray bytes = text.toUtf8();
    QMutexLocker lock(&channel->writeMutex);
    return channel->open
        && mg_websocket_write(channel->conn, MG_WEBSOCKET_OPCODE_TEXT, bytes.constData(), size_t(bytes.size())) > 0;
}

bool CloudServer::closeChannel(const QString &code)
{
    const ChannelPtr channel = channelOf(code);
    if (!channel)
        return false;
    static const char normalClosure[] = {'\x03', '\xe8'};   // 1000
    QMutexLocker lock(&channel->writeMutex);
    return channel->open
        && mg_websocket_write(channel->conn, MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE, normalClosure,
                              sizeof normalClosure) > 0;
}

QStringList CloudServer::channels() const
{
    QMutexLocker lock(&m_channelMutex);
    QStringList codes;
    for (const ChannelPtr &c : m_channels)
        codes << c->code;
    return codes;
}
