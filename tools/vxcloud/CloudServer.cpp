// SPDX-License-Identifier: LGPL-2.1-or-later
// State, logs and the server's life; HTTP and the remote channel live in
// CloudServer_http.cpp and ChannelHub.cpp.
#include "CloudServer.h"
#include "ChannelHub.h"

#include <QJsonDocument>
#include <QMutexLocker>
#include <QVector>

#include <civetweb.h>

namespace {
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
}

QJsonObject CloudServer::Request::json() const
{
    return QJsonDocument::fromJson(body).object();
}

CloudServer::CloudServer()
    : m_hub(new ChannelHub)
{
    // The hub's thread calls these: both take the server's lock themselves.
    QObject::connect(m_hub.get(), &ChannelHub::textReceived,
                     [this](const QString &code, const QString &text) { channelText(code, text); });
    QObject::connect(m_hub.get(), &ChannelHub::logLine, [this](const QString &line) { log(line); });
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
    m_hub->setMaxChannels(limits.channels);
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
    const QByteArray ports = "127.0.0.1:" + QByteArray::number(httpPort);
    const QByteArray threads = QByteArray::number(limits().httpWorkers);
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
    };
    options << nullptr;
    mg_callbacks callbacks{};
    // Keep civetweb's own error pages and log lines off the caller's output.
    callbacks.log_message = [](const mg_connection *, const char *) { return 1; };
    m_ctx = mg_start(&callbacks, this, options.data());
    if (!m_ctx)
        return false;

    mg_server_port bound[1]{};
    if (mg_get_server_ports(m_ctx, 1, bound) < 1 || !m_hub->start(quint16(qMax(wsPort, 0)))) {
        stop();
        return false;
    }
    m_httpPort = quint16(bound[0].port);
    m_wsPort = m_hub->port();
    mg_set_request_handler(m_ctx, "/", &CloudServer::onHttp, this);
    log(QStringLiteral("listening on %1 and %2").arg(httpBase().toString(), ws()));
    return true;
}

void CloudServer::stop()
{
    if (!m_ctx)
        return;
    m_stopping = true;
    m_hub->stop();
    mg_stop(m_ctx);
    m_ctx = nullptr;
    m_stopping = false;
}

bool CloudServer::push(const QString &code, const QString &text)
{
    return m_hub->push(code, text);
}

bool CloudServer::closeChannel(const QString &code)
{
    return m_hub->close(code);
}

QStringList CloudServer::channels() const
{
    return m_hub->codes();
}

void CloudServer::channelText(const QString &code, const QString &text)
{
    {
        QMutexLocker lock(&m_mutex);
        m_channelTexts.append(ChannelText{code, text}, text.size() * 2 + 64);
    }
    log(QStringLiteral("channel %1 <- %2").arg(code, text.left(400)));
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
