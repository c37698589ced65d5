#include "CloudServer.h"

#include <QJsonDocument>
#include <QMutexLocker>
#include <QVector>

#include <civetweb.h>
#include <zlib.h>

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

// One line, nothing a terminal would act on: control characters (C0, DEL,
// C1) become \n, \t, \xNN or \u00NN.
QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u != 0x7f && !(u >= 0x80 && u < 0xa0) && u != 0x2028 && u != 0x2029) {
            out += c;
        } else if (u == '\n') {
            out += QLatin1String("\\n");
        } else if (u == '\r') {
            out += QLatin1String("\\r");
        } else if (u == '\t') {
            out += QLatin1String("\\t");
        } else {
            out += QStringLiteral("\\x%1").arg(u, u > 0xff ? 4 : 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

// Streams a gzip member that inflates to `answer` followed by blanks up to
// `total` bytes, handing each compressed piece to `send`.
bool gzipPadded(const QByteArray &answer, qint64 total, const std::function<bool(const char *, int)> &send)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    const QByteArray blanks(64 * 1024, ' ');
    QByteArray out(64 * 1024, Qt::Uninitialized);   // worker stacks are small
    qint64 fed = 0;
    bool ok = true;
    for (int flush = Z_NO_FLUSH; ok && flush != Z_FINISH;) {
        const QByteArray &piece = fed == 0 ? answer : blanks;
        const qint64 take = qMin<qint64>(piece.size(), total - fed);
        fed += take;
        flush = fed >= total ? Z_FINISH : Z_NO_FLUSH;
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(piece.constData()));
        z.avail_in = uInt(take);
        do {
            z.next_out = reinterpret_cast<Bytef *>(out.data());
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            const int n = out.size() - int(z.avail_out);
            if (n > 0 && !send(out.constData(), n))
                ok = false;
        } while (ok && z.avail_out == 0);
    }
    deflateEnd(&z);
    return ok;
}
}

QJsonObject CloudServer::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

CloudServer::CloudServer()
{
    initLibraryOnce();
    setLimits(Limits());
}

void CloudServer::setLimits(const Limits &limits)
{
    QMutexLocker lock(&m_mutex);
    m_limits = limits;
    m_requests.setBounds(limits.logEntries, limits.logBytes);
    m_workRecords.setBounds(limits.logEntries, limits.logBytes);
    m_channelTexts.setBounds(limits.logEntries, limits.logBytes);
}

CloudServer::Limits CloudServer::limits() const
{
    QMutexLocker lock(&m_mutex);
    return m_limits;
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
    const Limits bounds = limits();
    // Each open channel holds a worker thread for its whole life.
    const QByteArray threads = QByteArray::number(bounds.channels + bounds.httpWorkers);
    QVector<const char *> options{
        "listening_ports", ports.constData(),
        "num_threads", threads.constData(),
        "enable_keep_alive", "no",
        "request_timeout_ms", "10000",
        // Request line and headers; bodies are bounded by MaxRequestBytes.
        "max_request_size", "16384",
        // Headers and body go out in two writes; Nagle would hold the body
        // for the client's delayed acknowledgement.
        "tcp_nodelay", "1",
        // A quiet channel is normal; the device only speaks on job changes.
        "websocket_timeout_ms", "3600000",
    };
    options << nullptr;
    mg_callbacks callbacks{};
    callbacks.begin_request = &CloudServer::onBeginRequest;
    // Keep civetweb's own error pages and log lines off the caller's output.
    callbacks.log_message = [](const mg_connection *, const char *) { return 1; };
    m_ctx = mg_start(&callbacks, this, options.data());
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
    m_deviceBytes = 0;
    m_models.clear();
    m_nextDeviceId = 1;
    m_nextModelId = 1;
    m_workRecordCount = 0;
    m_faults.clear();
    m_redirectBase.clear();
    m_delayMs = 0;
    m_requests.clear();
    m_workRecords.clear();
    m_channelTexts.clear();
}

void CloudServer::addDevice(const QString &code, int id)
{
    QMutexLocker lock(&m_mutex);
    if (storeDevice(id, QJsonObject{{QStringLiteral("code"), code}, {QStringLiteral("id"), id}}))
        m_deviceIds.insert(code, id);
}

// Under m_mutex. False, storing nothing, when the table is full.
bool CloudServer::storeDevice(int id, const QJsonObject &record)
{
    const qint64 size = toJson(record).size();
    const qint64 old = m_devices.contains(id) ? toJson(m_devices.value(id)).size() : 0;
    const bool grows = !m_devices.contains(id);
    if ((grows && m_devices.size() >= m_limits.tableEntries)
        || m_deviceBytes - old + size > m_limits.tableBytes)
        return false;
    m_devices.insert(id, record);
    m_deviceBytes += size - old;
    return true;
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

void CloudServer::setRedirectBase(const QUrl &base)
{
    QMutexLocker lock(&m_mutex);
    m_redirectBase = base;
}

QList<CloudServer::Request> CloudServer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests.entries();
}

int CloudServer::count(const QByteArray &verb, const QString &path) const
{
    QMutexLocker lock(&m_mutex);
    int n = 0;
    const QList<Request> requests = m_requests.entries();
    for (const Request &r : requests)
        n += r.verb == verb && r.path == path;
    return n;
}

QList<QJsonObject> CloudServer::workRecords() const
{
    QMutexLocker lock(&m_mutex);
    return m_workRecords.entries();
}

QList<CloudServer::ChannelText> CloudServer::channelTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_channelTexts.entries();
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
        logger(printable(line));
}

// --- HTTP ---

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
    FaultSetting fault;
    if (info->content_length > MaxRequestBytes) {
        reply = Answer{413, error(QStringLiteral("request too large"))};
    } else {
        // A chunked body has no length up front: stop at the bound.
        request.body.resize(int(qBound<qint64>(0, info->content_length, MaxRequestBytes)) + 1);
        int size = 0, n;
        while (size <= MaxRequestBytes) {
            if (size == request.body.size())
                request.body.resize(qMin(size * 2 + 16384, MaxRequestBytes + 1));
            if ((n = mg_read(conn, request.body.data() + size, size_t(request.body.size() - size))) <= 0)
                break;
            size += n;
        }
        request.body.truncate(size);
        if (request.body.size() > MaxRequestBytes) {
            reply = Answer{413, error(QStringLiteral("request too large"))};
            request.body.truncate(MaxRequestBytes);
        }
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append(request, request.body.size() + request.path.size() + 64);
        }
        log(QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(request.verb), request.path,
                                            QString::fromUtf8(request.body.left(400))));

        for (int waited = 0; waited < m_delayMs && !m_stopping; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));

        QUrl redirect;
        {
            QMutexLocker lock(&m_mutex);
            fault = m_faults.value(request.path, m_faults.value(QString()));
            redirect = m_redirectBase;
        }
        switch (reply.status == 413 ? Fault::None : fault.fault) {
        case Fault::Status:
            reply = Answer{fault.status, error(QStringLiteral("injected failure"))};
            break;
        case Fault::Html:
            reply = Answer{200, "<!DOCTYPE html><html><body><h1>Maintenance</h1></body></html>", "text/html"};
            break;
        case Fault::Empty:
            reply = Answer{200, QByteArray()};
            break;
        case Fault::Redirect: {
            const QByteArray location = redirect.resolved(QUrl(request.path)).toEncoded();
            mg_printf(conn, "HTTP/1.1 %d Moved\r\nLocation: %s\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
                      fault.status, location.constData());
            return fault.status;
        }
        case Fault::None:
        case Fault::Oversized:
        case Fault::Chunked:
        case Fault::Gzip: {
            if (reply.status == 413)
                break;
            QJsonParseError parseError{};
            const QJsonDocument doc = QJsonDocument::fromJson(request.body, &parseError);
            if (!request.body.isEmpty() && !doc.isObject())
                reply = Answer{400, error(QStringLiteral("body is not a JSON object"))};
            else
                reply = answer(request.verb, request.path, doc.object(), request.body.size());
            if (fault.fault == Fault::Oversized && reply.body.size() < OversizedBytes)
                reply.body.append(QByteArray(OversizedBytes - reply.body.size(), ' '));
            if (fault.fault == Fault::Chunked || fault.fault == Fault::Gzip) {
                sendStreamed(conn, reply, fault.fault);
                return reply.status;
            }
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

// The answer padded with blanks to HugeBytes and streamed, chunked or as
// gzip, until done or until the client hangs up.
void CloudServer::sendStreamed(mg_connection *conn, const Answer &reply, Fault fault)
{
    mg_printf(conn, "HTTP/1.1 %d OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n%s"
                    "Connection: close\r\n\r\n",
              reply.status, fault == Fault::Gzip ? "Content-Encoding: gzip\r\n" : "");
    auto send = [conn](const char *data, int n) { return mg_send_chunk(conn, data, unsigned(n)) > 0; };
    bool ok;
    if (fault == Fault::Gzip) {
        ok = gzipPadded(reply.body, HugeBytes, send);
    } else {
        ok = send(reply.body.constData(), reply.body.size());
        const QByteArray blanks(64 * 1024, ' ');
        for (qint64 sent = reply.body.size(); ok && sent < HugeBytes; sent += blanks.size())
            ok = send(blanks.constData(), int(qMin<qint64>(blanks.size(), HugeBytes - sent)));
    }
    if (ok)
        mg_send_chunk(conn, "", 0);
}

CloudServer::Answer CloudServer::answer(const QByteArray &verb, const QString &path,
                                        const QJsonObject &body, qint64 bodyBytes)
{
    QMutexLocker lock(&m_mutex);
    auto freshDeviceId = [this] {
        while (m_devices.contains(m_nextDeviceId))
            ++m_nextDeviceId;
        return m_nextDeviceId++;
    };
    const Answer full{507, error(QStringLiteral("storage full"))};

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
            const QString code = body.value(QStringLiteral("code")).toString();
            if ((!m_deviceIds.contains(code) && m_deviceIds.size() >= m_limits.tableEntries) || !storeDevice(id, body))
                return full;
            m_deviceIds.insert(code, id);
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
                if (m_models.size() >= m_limits.tableEntries)
                    return full;
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
            const bool known = m_deviceIds.contains(code);
            if (!known && m_deviceIds.size() >= m_limits.tableEntries)
                return full;
            const int id = known ? m_deviceIds.value(code) : freshDeviceId();
            QJsonObject record = body;
            record[QStringLiteral("id")] = id;
            if (!storeDevice(id, record))
                return full;
            m_deviceIds.insert(code, id);
            return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), id}})};
        }
        return Answer{405, error(QStringLiteral("method not allowed"))};
    }
    if (path == QLatin1String("device_work_records")) {
        if (verb != "POST")
            return Answer{405, error(QStringLiteral("method not allowed"))};
        m_workRecords.append(body, bodyBytes);
        return Answer{200, toJson(QJsonObject{{QStringLiteral("id"), ++m_workRecordCount}})};
    }
    return Answer{404, error(QStringLiteral("no such resource"))};
}

// --- remote channel ---

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
