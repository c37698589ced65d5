// SPDX-License-Identifier: LGPL-2.1-or-later
// What a route reads of its request, and how it answers.
#include "Shop.h"
#include "ShopHttp.h"
#include "JsonDepth.h"

#include <QDeadlineTimer>
#include <QJsonDocument>

#include <civetweb.h>

namespace {
const int kMaxJsonBody = 64 * 1024;
// A body this small that takes longer is a client holding a worker.
const int kJsonBodyMs = 10000;
}

HttpExchange::HttpExchange(ShopHttp &s, mg_connection *c)
    : server(s), conn(c)
{
    const mg_request_info *info = mg_get_request_info(conn);
    method = info->request_method;
    path = QString::fromUtf8(info->local_uri ? info->local_uri : "");
    query = QUrlQuery(QString::fromUtf8(info->query_string ? info->query_string : ""));
    peer = QString::fromLatin1(info->remote_addr);
    contentLength = info->content_length;
}

QString HttpExchange::arg(const QString &key) const
{
    return query.queryItemValue(key, QUrl::FullyDecoded);
}

bool HttpExchange::intArg(const QString &key, int fallback, int low, int high, int *out)
{
    *out = fallback;
    if (!query.hasQueryItem(key))
        return true;
    bool ok = false;
    const int value = arg(key).toInt(&ok);
    if (!ok || value < low || value > high) {
        error(400, tr("%1 wants a whole number from %2 to %3").arg(key).arg(low).arg(high));
        return false;
    }
    *out = value;
    return true;
}

qint64 HttpExchange::id(int index) const
{
    bool ok = false;
    const qint64 value = captures.value(index).toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

bool HttpExchange::jsonBody(QJsonObject *out)
{
    if (contentLength > kMaxJsonBody) {
        error(413, tr("a request body holds at most 64 KiB"));
        return false;
    }
    QByteArray body(kMaxJsonBody + 1, Qt::Uninitialized);
    int size = 0;
    const QDeadlineTimer deadline(kJsonBodyMs);
    // Each pass takes at least a byte, up to one past the bound.
    while (size <= kMaxJsonBody && !deadline.hasExpired()) {
        const int n = mg_read(conn, body.data() + size, size_t(body.size() - size));
        if (n <= 0)
            break;
        size += n;
    }
    if (size > kMaxJsonBody) {
        error(413, tr("a request body holds at most 64 KiB"));
        return false;
    }
    if (contentLength >= 0 && size < contentLength) {
        error(400, tr("the request body ended early"));
        return false;
    }
    body.truncate(size);
    if (body.trimmed().isEmpty()) {
        *out = QJsonObject();
        return true;
    }
    if (!JsonDepth::within(body)) {
        error(400, tr("the body nests deeper than %1 levels").arg(JsonDepth::ServerLimit));
        return false;
    }
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(body, &parse);
    if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        error(400, parse.error != QJsonParseError::NoError
                       ? tr("the body is not JSON: %1 at byte %2").arg(parse.errorString()).arg(parse.offset)
                       : tr("the body is not a JSON object"));
        return false;
    }
    *out = doc.object();
    return true;
}

bool HttpExchange::onService(const std::function<void()> &fn)
{
    if (server.closing()) {
        error(503, tr("the service is stopping"));
        return false;
    }
    QMetaObject::invokeMethod(&server.shop(), fn, Qt::BlockingQueuedConnection);
    return true;
}

void HttpExchange::bytes(int status, const QByteArray &type, const QByteArray &body, const QByteArray &extraHeaders)
{
    if (m_status)
        return;
    m_status = status;
    const char *reason = mg_get_response_code_text(conn, status);
    mg_printf(conn,
              "HTTP/1.1 %d %s\r\nContent-Type: %s\r\nContent-Length: %d\r\nCache-Control: no-store\r\n"
              "X-Content-Type-Options: nosniff\r\nConnection: close\r\n%s\r\n",
              status, reason ? reason : "", type.constData(), int(body.size()), extraHeaders.constData());
    if (!body.isEmpty() && method != "HEAD")
        mg_write(conn, body.constData(), size_t(body.size()));
}

void HttpExchange::json(int status, const QJsonObject &body)
{
    bytes(status, "application/json", QJsonDocument(body).toJson(QJsonDocument::Compact));
}

void HttpExchange::error(int status, const QString &message)
{
    json(status, QJsonObject{{QStringLiteral("error"), message}});
}

void HttpExchange::result(const ShopResult &r, int okStatus)
{
    if (r) {
        json(okStatus, r.body);
        return;
    }
    int status = 500;
    switch (r.kind) {
    case ShopResult::Ok: status = okStatus; break;
    case ShopResult::NotFound: status = 404; break;
    case ShopResult::Invalid: status = 400; break;
    case ShopResult::Conflict: status = 409; break;
    case ShopResult::TooLarge: status = 413; break;
    case ShopResult::Unavailable: status = 503; break;
    }
    error(status, r.message);
}
