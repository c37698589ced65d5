// SPDX-License-Identifier: LGPL-2.1-or-later
#include "CloudServer.h"

#include <QJsonDocument>
#include <QMutexLocker>

#include <civetweb.h>

#include <chrono>
#include <thread>

namespace {
constexpr int WsFin = 0x80;
constexpr int WsOpcodeMask = 0x0f;
// Text still being assembled from fragments beyond this closes the channel.
constexpr int MaxChannelMessage = 4 * 1024 * 1024;

QByteArray toJson(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray error(const QString &text)
{
    return toJson(QJsonObject{{QStringLiteral("error"), text}});
}

void initLibraryOnce()
{
    static const unsigned features = mg_init_library(0);
    Q_UNUSED(features)
}
}

QJsonObject CloudServer::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

CloudServer::CloudServer()
{
    initLibraryOnce();
}

CloudServer::~CloudServer()
{
    stop();
}

bool CloudServer::start(quint16 httpPort, int wsPort)
{
    if (m_ctx)
        return true;
    QByteArray ports = "127.0.0.1:" + QByteArray::number(httpPort);
    const bool ownWsPort = wsPort >= 0;
    if (ownWsPort)
        ports += ",127.0.0.1:" + QByteArray::number(wsPort);
    const char *options[] = {
        "listening_ports", ports.constData(),
        "num_threads", "16",
        "enable_keep_alive", "no",
        "request_timeout_ms", "10000",
        // A quiet channel is normal; the device only speaks on job changes.
        "websocket_timeout_ms", "3600000",
        nullptr,
    };
    mg_callbacks callbacks{};
    // Keep civetweb's own error pages and log lines off the caller's output.
    callbacks.log_message = [](const mg_connection *, const char *) { return 1; };
    m_ctx = mg_start(&callbacks, this, options);
    if (!m_ctx)
        return false;

    mg_server_port bound[4]{};
    const int n = mg_get_server_ports(m_ctx, 4, bound);
    if (n < 1 || (ownWsPort && n < 2)) {
        stop();
        return false;
    }
    m_httpPort = quint16(bound[0].port);
    m_wsPort = quint16(ownWsPort ? bound[1].port : bound[0].port);

    mg_set_request_handler(m_ctx, "/", &CloudServer::onHttp, this);
    mg_set_websocket_handler(m_ctx, "/", &CloudServer::onWsConnect, &CloudServer::onWsReady,
                             &CloudServer::onWsData, &CloudServer::onWsClose, this);
    log(QStringLiteral("listening on %1 and %2").arg(httpBase().toString(), ws()));
    return true;
}

void CloudServer::stop()
{
    if (!m_ctx)
        return;
    m_stopping = true;
    mg_stop(m_ctx);
    m_ctx = nullptr;
    m_stopping = false;
    QMutexLocker lock(&m_channelMutex);
    m_channels.clear();
}

QUrl CloudServer::httpBase() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(m_httpPort));
}

QString CloudServer::ws() const
{
    return QStringLiteral("ws://127.0.0.1:%1/").arg(m_wsPort);
}

void CloudServer::reset()
{
    QMutexLocker lock(&m_mutex);
    m_deviceIds.clear();
    m_devices.clear();
    m_models.clear();
    m_nextDeviceId = 1;
    m_nextModelId = 1;
    m_faults.clear();
    m_delayMs = 0;
    m_requests.clear();
    m_workRecords.clear();
    m_channelTexts.clear();
}

void CloudServer::addDevice(const QString &code, int id)
{
    QMutexLocker lock(&m_mutex);
    m_deviceIds.insert(code, id);
    m_devices.insert(id, QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("id"), id}});
}

void CloudServer::addModel(int number, int id)
{
    QMutexLocker lock(&m_mutex);
    m_models.insert(number, id);
}

void CloudServer::setNextDeviceId(int id)
{
    QMutexLocker lock(&m_mutex);
    m_nextDeviceId = id;
}

QMap<int, QJsonObject> CloudServer::devices() const
{
    QMutexLocker lock(&m_mutex);
    return m_devices;
}

QMap<int, int> CloudServer::models() const
{
    QMutexLocker lock(&m_mutex);
    return m_models;
}

void CloudServer::setFault(const QString &resource, Fault fault, int status)
{
    QMutexLocker lock(&m_mutex);
    m_faults.insert(resource, FaultSetting{fault, status});
}

void CloudServer::clearFaults()
{
    QMutexLocker lock(&m_mutex);
    m_faults.clear();
    m_delayMs = 0;
}

void CloudServer::setDelay(int ms)
{
    m_delayMs = ms;
}

QList<CloudServer::Request> CloudServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

int CloudServer::count(const QByteArray &verb, const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    int n = 0;
    for (const Request &r : m_requests)
        n += r.verb == verb && r.path == path;
    return n;
}

QList<QJsonObject> CloudServer::workRecords() const
{
    QMutexLocker lock(&m_mutex);
    return m_workRecords;
}

QList<CloudServer::ChannelText> CloudServer::channelTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_channelTexts;
}

void CloudServer::clearLog()
{
    QMutexLocker lock(&m_mutex);
    m_requests.clear();
    m_workRecords.clear();
    m_channelTexts.clear();
}

void CloudServer::setLogger(std::function<void(const QString &)> logger)
{
    QMutexLocker lock(&m_mutex);
    m_logger = std::move(logger);
}

void CloudServer::log(const QString &line)
{
    std::function<void(const QString &)> logger;
    {
        QMutexLocker lock(&m_mutex);
        logger = m_logger;
    }
    if (logger)
        logger(line);
}

// --- HTTP ---

int CloudServer::onHttp(mg_connection *conn, void *self)
{
    return static_cast<CloudServer *>(self)->handleHttp(conn);
}

int CloudServer::handleHttp(mg_connection *conn)
{
    const mg_request_info *info = mg_get_request_info(conn);
    Request request;
    request.verb = info->request_method;
    request.path = QString::fromUtf8(info->local_uri ? info->local_uri : "");
    while (request.path.startsWith(QLatin1Char('/')))
        request.path.remove(0, 1);
    while (request.path.endsWith(QLatin1Char('/')))
        request.path.chop(1);
    if (const char *auth = mg_get_header(conn, "Authorization"))
        request.authorization = auth;

    Answer reply;
    if (info->content_length > MaxRequestBytes) {
        reply = Answer{413, error(QStringLiteral("request too large"))};
    } else {
        char buffer[16384];
        int n;
        while (request.body.size() < MaxRequestBytes && (n = mg_read(conn, buffer, sizeof buffer)) > 0)
            request.body.append(buffer, n);
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request);
        }
        log(QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(request.verb), request.path,
                                            QString::fromUtf8(request.body)));

        for (int waited = 0; waited < m_delayMs && !m_stopping; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));

        FaultSetting fault;
        {
            QMutexLocker lock(&m_mutex);
            fault = m_faults.value(request.path, m_faults.value(QString()));
        }
        switch (fault.fault) {
        case Fault::Status:
            reply = Answer{fault.status, error(QStringLiteral("injected failure"))};
            break;
        case Fault::Html:
            reply = Answer{200, "<!DOCTYPE html><html><body><h1>Maintenance</h1></body></html>", "text/html"};
            break;
        case Fault::Empty:
            reply = Answer{200, QByteArray()};
            break;
        case Fault::None:
        case Fault::Oversized: {
            QJsonParseError parseError{};
            const QJsonDocument doc = QJsonDocument::fromJson(request.body, &parseError);
            if (!request.body.isEmpty() && !doc.isObject())
                reply = Answer{400, error(QStringLiteral("body is not a JSON object"))};
            else
                reply = answer(request.verb, request.path, doc.object());
            if (fault.fault == Fault::Oversized && reply.body.size() < OversizedBytes)
                reply.body.append(QByteArray(OversizedBytes - reply.body.size(), ' '));
            break;
        }
        }
    }

    const char *reason = mg_get_response_code_text(conn, reply.status);
    mg_printf(conn,
              "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nContent-Length: %d\r\nConnection: close\r\n\r\n",
              reply.status, reason ? reason : "", reply.type.constData(), int(reply.body.size()));
    if (!reply.body.isEmpty())
        mg_write(conn, reply.body.constData(), size_t(reply.body.size()));
    return reply.status;
}

CloudServer::Answer CloudServer::answer(const QByteArray &verb, const QString &path,
                                        const QJsonObject &body)
{
    QMutexLocker lock(&m_mutex);
    auto freshDeviceId = [this] {
        while (m_devices.contains(m_nextDeviceId))
            ++m_nextDeviceId;
        return m_nextDeviceId++;
    };

    if (path == QLatin1String("device")) {
        if (verb == "GET") {
            const QString code = body.value(QStringLiteral("code")).toString();
            if (!m_deviceIds.contains(code))
                return Answer{404, error(QStringLiteral("unknown device"))};
            const int id = m_deviceIds.value(code);
            QJsonObject record = m_devices.value(id);
            record[QStringLiteral("id")] = id;
            return Answer{200, toJson(record)};
        }
        if (verb == "PUT") {
            const int id = body.value(QStringLiteral("id")).toInt(-1);
            if (!m_devices.contains(id))
                return Answer{404, error(QStringLiteral("unknown device"))};
            m_devices.insert(id, body);
            m_deviceIds.insert(body.value(QStringLiteral("code")).toString(), id);
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), id}})};
        }
        return Answer{405, error(QStringLiteral("method not allowed"))};
    }
    if (path == QLatin1String("device_model")) {
        if (verb == "PATCH") {
            const QJsonValue code = body.value(QStringLiteral("code"));
            if (!code.isDouble())
                return Answer{400, error(QStringLiteral("model code must be a number"))};
            const int number = code.toInt();
            if (!m_models.contains(number)) {
                int id = m_nextModelId;
                for (int used : qAsConst(m_models))
                    id = qMax(id, used + 1);
                m_models.insert(number, id);
                m_nextModelId = id + 1;
            }
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), m_models.value(number)}})};
        }
        if (verb == "POST") {
            // Device creation lives here, next to the model lookup.
            const QString code = body.value(QStringLiteral("code")).toString();
            if (code.isEmpty())
                return Answer{400, error(QStringLiteral("device code missing"))};
            const int id = m_deviceIds.contains(code) ? m_deviceIds.value(code) : freshDeviceId();
            QJsonObject record = body;
            record[QStringLiteral("id")] = id;
            m_deviceIds.insert(code, id);
            m_devices.insert(id, record);
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), id}})};
        }
        return Answer{405, error(QStringLiteral("method not allowed"))};
    }
    if (path == QLatin1String("device_work_records")) {
        if (verb != "POST")
            return Answer{405, error(QStringLiteral("method not allowed"))};
        m_workRecords.append(body);
        return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), m_workRecords.size()}})};
    }
    return Answer{404, error(QStringLiteral("no such resource"))};
}

// --- remote channel ---

int CloudServer::onWsConnect(const mg_connection *conn, void *)
{
    const mg_request_info *info = mg_get_request_info(conn);
    const QString uri = QString::fromUtf8(info->local_uri ? info->local_uri : "");
    static const QString tail = QStringLiteral("/Device/");
    // Only "/<code>/Device/" is a channel; 1 refuses the upgrade.
    return uri.startsWith(QLatin1Char('/')) && uri.endsWith(tail) && uri.size() > tail.size() + 1 ? 0 : 1;
}

void CloudServer::onWsReady(mg_connection *conn, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    const char *localUri = mg_get_request_info(conn)->local_uri;
    const QString uri = QString::fromUtf8(localUri ? localUri : "");
    const QString code = uri.mid(1, uri.size() - 1 - int(qstrlen("/Device/")));
    {
        QMutexLocker lock(&self->m_channelMutex);
        self->m_channels.insert(conn, Channel{code, QByteArray(), false});
    }
    self->log(QStringLiteral("channel %1 open").arg(code));
}

int CloudServer::onWsData(mg_connection *conn, int bits, char *data, size_t len, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    const int opcode = bits & WsOpcodeMask;
    if (opcode == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE)
        return 0;
    if (opcode != MG_WEBSOCKET_OPCODE_TEXT && opcode != MG_WEBSOCKET_OPCODE_CONTINUATION)
        return 1;

    QString code;
    QByteArray whole;
    {
        // Only this connection's thread touches its entry; the lock guards the map.
        QMutexLocker lock(&self->m_channelMutex);
        auto it = self->m_channels.find(conn);
        if (it == self->m_channels.end())
            return 0;
        Channel &channel = it.value();
        if (opcode == MG_WEBSOCKET_OPCODE_TEXT) {
            channel.partial = QByteArray(data, int(len));
            channel.partialText = true;
        } else if (channel.partialText) {
            channel.partial.append(data, int(len));
        } else {
            return 1;
        }
        if (channel.partial.size() > MaxChannelMessage)
            return 0;
        if (!(bits & WsFin))
            return 1;
        code = channel.code;
        whole.swap(channel.partial);
        channel.partialText = false;
    }
    const QString text = QString::fromUtf8(whole);
    {
        QMutexLocker lock(&self->m_mutex);
        self->m_channelTexts.append(ChannelText{code, text});
    }
    self->log(QStringLiteral("channel %1 <- %2").arg(code, text.left(400)));
    return 1;
}

void CloudServer::onWsClose(const mg_connection *conn, void *selfPtr)
{
    auto self = static_cast<CloudServer *>(selfPtr);
    QString code;
    {
        QMutexLocker lock(&self->m_channelMutex);
        code = self->m_channels.take(conn).code;
    }
    if (!code.isEmpty())
        self->log(QStringLiteral("channel %1 closed").arg(code));
}

mg_connection *CloudServer::channelOf(const QString &code) const
{
    for (auto it = m_channels.cbegin(); it != m_channels.cend(); ++it) {
        if (it.value().code == code)
            return const_cast<mg_connection *>(it.key());
    }
    return nullptr;
}

bool CloudServer::push(const QString &code, const QString &text)
{
    QMutexLocker lock(&m_channelMutex);
    mg_connection *conn = channelOf(code);
    if (!conn)
        return false;
    const QByteArray bytes = text.toUtf8();
    return mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_TEXT, bytes.constData(), size_t(bytes.size())) > 0;
}

bool CloudServer::closeChannel(const QString &code)
{
    QMutexLocker lock(&m_channelMutex);
    mg_connection *conn = channelOf(code);
    if (!conn)
        return false;
    static const char normalClosure[] = {'\x03', '\xe8'};   // 1000
    return mg_websocket_write(conn, MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE, normalClosure,
                              sizeof normalClosure) > 0;
}

QStringList CloudServer::channels() const
{
    QMutexLocker lock(&m_channelMutex);
    QStringList codes;
    for (const Channel &c : m_channels)
        codes << c.code;
    return codes;
}
