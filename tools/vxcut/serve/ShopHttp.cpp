// SPDX-License-Identifier: LGPL-2.1-or-later
// The server's life, who may ask, and the live feed's handshake.
#include "ShopHttp.h"

#include "PageTexts.h"
#include "Shop.h"
#include "ShopLive.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QJsonDocument>
#include <QUrl>
#include <QVector>

#include <civetweb.h>

#include <future>
#include <thread>

// Resources in a static library are registered by name, from outside any namespace.
static void initShopWeb()
{
    Q_INIT_RESOURCE(shopweb);
}

namespace {

const char kCookie[] = "vxshop_token";

void initLibraryOnce()
{
    static const unsigned features = mg_init_library(0);
    Q_UNUSED(features)
}

QByteArray header(const mg_connection *conn, const char *name)
{
    const char *value = mg_get_header(conn, name);
    return value ? QByteArray(value) : QByteArray();
}

// The host and port a Host header or an origin names; port -1 when none.
bool hostPort(const QString &authority, const QString &scheme, QString *host, int *port)
{
    const QUrl url(scheme + QStringLiteral("://") + authority);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    *host = url.host().toLower();
    *port = url.port(scheme == QLatin1String("https") ? 443 : 80);
    return true;
}

bool loopbackName(const QString &host)
{
    if (host == QLatin1String("localhost"))
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

// Every byte of the given token is looked at whatever it holds: the time
// tells nothing about how much of it was right.
bool sameSecret(const QByteArray &given, const QByteArray &secret)
{
    if (secret.isEmpty())
        return false;
    unsigned diff = unsigned(given.size() ^ secret.size());
    for (int i = 0; i < given.size(); ++i)
        diff |= unsigned(uchar(given.at(i)) ^ uchar(secret.at(i % secret.size())));
    return diff == 0;
}

}

// --- the server ----------------------------------------------------------

ShopHttp::ShopHttp(Shop &shop, const Settings &settings)
    : m_shop(shop), m_settings(settings), m_texts(std::make_unique<PageTexts>()),
      m_live(std::make_unique<ShopLive>())
{
    initShopWeb();
    initLibraryOnce();
    m_heavy.setMaxThreadCount(2);
    m_heavy.setStackSize(8u << 20);
}

ShopHttp::~ShopHttp()
{
    stop();
}

void ShopHttp::onFullStack(const std::function<void()> &fn)
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    m_heavy.start([&] {
        fn();
        done.set_value();
    });
    finished.wait();
}

bool ShopHttp::tokenMatches(const QByteArray &given) const
{
    return sameSecret(given, m_settings.token.toUtf8());
}

bool ShopHttp::start(QString *error)
{
    if (m_ctx)
        return true;
    // CivetWeb takes addresses, not names: "localhost" is said as one.
    QString host = m_settings.listen.section(QLatin1Char(':'), 0, -2);
    const QString portText = m_settings.listen.section(QLatin1Char(':'), -1);
    bool portOk = false;
    const int port = portText.toInt(&portOk);
    if (host == QLatin1String("localhost"))
        host = QStringLiteral("127.0.0.1");
    const QString bare = host.startsWith(QLatin1Char('[')) ? host.mid(1, host.size() - 2) : host;
    const QHostAddress address(bare);
    if (!portOk || port < 0 || port > 65535 || address.isNull()) {
        *error = tr("--listen wants ADDRESS:PORT with an IP address, not %1").arg(m_settings.listen);
        return false;
    }
    const bool v6 = address.protocol() == QAbstractSocket::IPv6Protocol;
    // Debian's CivetWeb is built without IPv6 (feature bit 8).
    if (v6 && !mg_check_feature(8)) {
        *error = tr("--listen %1: this build's web server has no IPv6; give an IPv4 address such as 127.0.0.1:8600")
                     .arg(m_settings.listen);
        return false;
    }
    const QString shown = v6 ? QLatin1Char('[') + bare + QLatin1Char(']') : bare;
    const QByteArray ports = (shown + QLatin1Char(':') + QString::number(port)).toLatin1();
    QVector<const char *> options{
        "listening_ports", ports.constData(),
        // Each open page's feed holds a worker; the rest answer requests.
        "num_threads", "24",
        "request_timeout_ms", "30000",
        // An idle feed is pinged; one that stops answering is closed.
        "websocket_timeout_ms", "5000",
        "enable_websocket_ping_pong", "yes",
        "enable_keep_alive", "no",
        "enable_directory_listing", "no",
        "max_request_size", "16384",
        "tcp_nodelay", "1",
    };
    options << nullptr;
    mg_callbacks callbacks{};
    // CivetWeb's own error pages and log lines stay off the service's output.
    callbacks.log_message = [](const mg_connection *, const char *) { return 1; };
    m_live->start();
    m_ctx = mg_start(&callbacks, this, options.data());
    if (!m_ctx) {
        m_live->stop();
        *error = tr("cannot listen on %1: the port is taken or the address is not this computer's")
                     .arg(m_settings.listen);
        return false;
    }
    mg_server_port bound[1]{};
    if (mg_get_server_ports(m_ctx, 1, bound) < 1) {
        stop();
        *error = tr("cannot listen on %1").arg(m_settings.listen);
        return false;
    }
    m_url = QStringLiteral("http://%1:%2/").arg(shown).arg(bound[0].port);
    mg_set_request_handler(m_ctx, "/", &ShopHttp::onRequest, this);
    mg_set_websocket_handler(m_ctx, "/api/live", &ShopHttp::onLiveConnect, &ShopHttp::onLiveReady,
                             &ShopHttp::onLiveData, &ShopHttp::onLiveClose, this);
    m_updates = QObject::connect(&m_shop, &Shop::update, [this](const QJsonObject &message) {
        m_live->broadcast(QJsonDocument(message).toJson(QJsonDocument::Compact));
    });
    return true;
}

void ShopHttp::stop()
{
    if (!m_ctx)
        return;
    QObject::disconnect(m_updates);
    m_closing = true;
    m_live->stop();
    // mg_stop waits for every worker; a worker may be waiting for this
    // thread (a Shop call queued before the flag was seen). So CivetWeb is
    // stopped on a thread of its own while this one keeps taking calls.
    QEventLoop loop;
    mg_context *ctx = m_ctx;
    std::thread stopper([ctx, &loop] {
        mg_stop(ctx);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    stopper.join();
    m_ctx = nullptr;
}

bool ShopHttp::admit(const mg_connection *conn, bool tokenInQuery, int *status, QString *why) const
{
    const QString hostHeader = QString::fromLatin1(header(conn, "Host"));
    QString host;
    int port = -1;
    const bool hostKnown = !hostHeader.isEmpty() && hostPort(hostHeader, QStringLiteral("http"), &host, &port);
    // Without a token the service is loopback-only; a page from elsewhere
    // whose name was pointed at 127.0.0.1 still names its own host.
    if (m_settings.token.isEmpty() && !hostHeader.isEmpty() && (!hostKnown || !loopbackName(host))) {
        *status = 403;
        *why = tr("this service answers to its loopback address only");
        return false;
    }
    // Browsers name the page a request comes from; only this service's own
    // may act. "null" is what a sandboxed frame or a local file sends, on
    // any site; the page's own requests carry its real origin (its
    // Referrer-Policy is same-origin, not no-referrer).
    const QString origin = QString::fromLatin1(header(conn, "Origin"));
    if (!origin.isEmpty()) {
        const QUrl url(origin);
        QString originHost;
        int originPort = -1;
        if (!hostKnown || !hostPort(url.authority(), url.scheme(), &originHost, &originPort)
            || originHost != host || originPort != port) {
            *status = 403;
            *why = tr("requests from other sites' pages are refused");
            return false;
        }
    }
    if (m_settings.token.isEmpty())
        return true;
    QByteArray given;
    const QByteArray authorization = header(conn, "Authorization");
    if (authorization.startsWith("Bearer "))
        given = authorization.mid(7).trimmed();
    char cookie[1024];
    if (given.isEmpty() && mg_get_cookie(header(conn, "Cookie").constData(), kCookie, cookie, sizeof cookie) > 0)
        given = QByteArray::fromPercentEncoding(cookie);
    if (given.isEmpty() && tokenInQuery) {
        const mg_request_info *info = mg_get_request_info(conn);
        const QUrlQuery query(QString::fromUtf8(info->query_string ? info->query_string : ""));
        given = query.queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded).toUtf8();
    }
    if (tokenMatches(given))
        return true;
    *status = 401;
    *why = given.isEmpty() ? tr("this service needs its token") : tr("wrong token");
    return false;
}

int ShopHttp::onRequest(mg_connection *conn, void *self)
{
    HttpExchange x(*static_cast<ShopHttp *>(self), conn);
    static_cast<ShopHttp *>(self)->handle(x);
    return x.status() ? x.status() : 500;
}

void ShopHttp::handle(HttpExchange &x)
{
    // The page opened as /?token=: the token goes into a cookie the page's
    // script cannot read, and out of the address bar and its history.
    if (x.path == QLatin1String("/") && x.query.hasQueryItem(QStringLiteral("token")) && !m_settings.token.isEmpty()) {
        const QByteArray given = x.arg(QStringLiteral("token")).toUtf8();
        if (!tokenMatches(given)) {
            x.error(401, tr("wrong token"));
            return;
        }
        x.bytes(303, "text/plain", QByteArray(),
                "Location: /\r\nSet-Cookie: " + QByteArray(kCookie) + '=' + given.toPercentEncoding()
                    + "; Path=/; HttpOnly; SameSite=Strict\r\n");
        return;
    }
    int status = 0;
    QString why;
    if (!admit(x.conn, false, &status, &why)) {
        x.error(status, why);
        return;
    }
    ShopRoutes::dispatch(x);
    if (!x.status())
        x.error(500, tr("no answer"));
}

// --- the live feed -------------------------------------------------------

int ShopHttp::onLiveConnect(const mg_connection *conn, void *self)
{
    const auto *http = static_cast<const ShopHttp *>(self);
    int status = 0;
    QString why;
    // Non-zero: CivetWeb closes without the handshake.
    return http->closing() || !http->admit(conn, true, &status, &why) || !http->m_live->hasRoom() ? 1 : 0;
}

void ShopHttp::onLiveReady(mg_connection *conn, void *self)
{
    auto *http = static_cast<ShopHttp *>(self);
    bool added = false;
    if (!http->closing()) {
        // On the service thread, so every update after this hello follows it.
        QMetaObject::invokeMethod(&http->m_shop, [http, conn, &added] {
            const QJsonObject hello{{QStringLiteral("type"), QStringLiteral("hello")},
                                    {QStringLiteral("machines"),
                                     http->m_shop.machines().value(QStringLiteral("machines"))}};
            http->m_live->add(conn, QJsonDocument(hello).toJson(QJsonDocument::Compact));
            added = true;
        }, Qt::BlockingQueuedConnection);
    }
    if (!added)
        http->m_live->refuse(conn);
}

int ShopHttp::onLiveData(mg_connection *conn, int bits, char *, size_t, void *self)
{
    // The page says nothing; a close is answered by CivetWeb, a dropped
    // feed's next frame ends it.
    if ((bits & 0x0f) == MG_WEBSOCKET_OPCODE_CONNECTION_CLOSE)
        return 0;
    return static_cast<ShopHttp *>(self)->m_live->dropped(conn) ? 0 : 1;
}

void ShopHttp::onLiveClose(const mg_connection *conn, void *self)
{
    static_cast<ShopHttp *>(self)->m_live->remove(conn);
}
