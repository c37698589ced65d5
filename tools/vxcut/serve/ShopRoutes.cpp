// SPDX-License-Identifier: LGPL-2.1-or-later
// What the service answers: one row per route, method and path pattern
// ({name} a machine, {id} a job), and the handler behind it.
#include "PageTexts.h"
#include "Shop.h"
#include "ShopHttp.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <civetweb.h>

namespace {

using Handler = void (*)(HttpExchange &);

// Everything the page runs is its own; nothing may frame it.
const char kPageHeaders[] =
    "Content-Security-Policy: default-src 'self'; img-src 'self' data:; connect-src 'self' ws: wss:; "
    "frame-ancestors 'none'; base-uri 'none'; form-action 'self'\r\n"
    // Not no-referrer: under it a browser names the page's own POSTs' origin "null".
    "Referrer-Policy: same-origin\r\n";

void asset(HttpExchange &x, const char *resource, const QByteArray &type)
{
    QFile file(QString::fromLatin1(resource));
    if (!file.open(QIODevice::ReadOnly)) {
        x.error(500, QCoreApplication::translate("ShopHttp", "the page is missing from this build"));
        return;
    }
    x.bytes(200, type, file.readAll(), kPageHeaders);
}

void page(HttpExchange &x) { asset(x, ":/shopweb/index.html", "text/html; charset=utf-8"); }
void style(HttpExchange &x) { asset(x, ":/shopweb/shop.css", "text/css; charset=utf-8"); }
void script(HttpExchange &x) { asset(x, ":/shopweb/shop.js", "text/javascript; charset=utf-8"); }
void cardsScript(HttpExchange &x) { asset(x, ":/shopweb/cards.js", "text/javascript; charset=utf-8"); }
void nestScript(HttpExchange &x) { asset(x, ":/shopweb/nest.js", "text/javascript; charset=utf-8"); }

void texts(HttpExchange &x)
{
    const char *accept = mg_get_header(x.conn, "Accept-Language");
    const QString language = PageTexts::pick(x.arg(QStringLiteral("lang")), accept ? QByteArray(accept) : QByteArray());
    x.bytes(200, "application/json", x.server.texts().answer(language));
}

void liveWithoutUpgrade(HttpExchange &x)
{
    x.error(400, QCoreApplication::translate("ShopHttp", "/api/live is a WebSocket: open it as one"));
}

void machines(HttpExchange &x)
{
    QJsonObject body;
    if (x.onService([&] { body = x.server.shop().machines(); }))
        x.json(200, body);
}

void machine(HttpExchange &x)
{
    ShopResult r;
    if (x.onService([&] { r = x.server.shop().machine(x.captures.value(0)); }))
        x.result(r);
}

void queue(HttpExchange &x)
{
    int ended = 0;
    if (!x.intArg(QStringLiteral("ended"), 20, 0, 500, &ended))
        return;
    ShopResult r;
    if (x.onService([&] { r = x.server.shop().queue(x.captures.value(0), ended); }))
        x.result(r);
}

// {"key": "word"}: the word, or answered 400 and empty.
QString word(HttpExchange &x, const char *key)
{
    QJsonObject body;
    if (!x.jsonBody(&body))
        return QString();
    const QString value = body.value(QLatin1String(key)).toString();
    if (value.isEmpty())
        x.error(400, QCoreApplication::translate("ShopHttp", "the body wants {\"%1\": ...}").arg(QLatin1String(key)));
    return value;
}

void control(HttpExchange &x)
{
    const QString action = word(x, "action");
    ShopResult r;
    if (!action.isEmpty() && x.onService([&] { r = x.server.shop().control(x.captures.value(0), action); }))
        x.result(r);
}

// The {id} of a job route; answered 404 when it is no id at all.
qint64 jobId(HttpExchange &x)
{
    const qint64 id = x.id();
    if (!id)
        x.error(404, QCoreApplication::translate("ShopHttp", "no job %1").arg(x.captures.value(0).left(40)));
    return id;
}

void job(HttpExchange &x)
{
    const qint64 id = jobId(x);
    ShopResult r;
    if (id && x.onService([&] { r = x.server.shop().job(id); }))
        x.result(r);
}

void preview(HttpExchange &x)
{
    const qint64 id = jobId(x);
    ShopResult r;
    QString path;
    QJsonObject options;
    QByteArray png;
    if (!id || !x.onService([&] { r = x.server.shop().previewSource(id, &path, &options, &png); }))
        return;
    // Read here, not on the service thread: a large design would hold up
    // every machine and request for as long as it takes.
    if (r && png.isEmpty()) {
        x.server.onFullStack([&] { r = Shop::previewOf(id, path, options, &png); });
        Shop *shop = &x.server.shop();
        if (r)
            QMetaObject::invokeMethod(shop, [shop, id, png] { shop->keepPreview(id, png); }, Qt::QueuedConnection);
    }
    if (r)
        x.bytes(200, "image/png", png);
    else
        x.result(r);
}

void move(HttpExchange &x)
{
    const qint64 id = jobId(x);
    QJsonObject body;
    if (!id || !x.jsonBody(&body))
        return;
    const QJsonValue position = body.value(QStringLiteral("position"));
    const double p = position.toDouble(-1);
    if (!position.isDouble() || p < 0 || p > 1e6 || p != double(int(p))) {
        x.error(400, QCoreApplication::translate("ShopHttp",
                                                 "the body wants {\"position\": N}, N a whole number from 0"));
        return;
    }
    ShopResult r;
    if (x.onService([&] { r = x.server.shop().move(id, int(p)); }))
        x.result(r);
}

void cancel(HttpExchange &x)
{
    const qint64 id = jobId(x);
    ShopResult r;
    if (id && x.onService([&] { r = x.server.shop().cancel(id); }))
        x.result(r);
}

void settle(HttpExchange &x)
{
    const qint64 id = jobId(x);
    if (!id)
        return;
    const QString how = word(x, "action");
    ShopResult r;
    if (!how.isEmpty() && x.onService([&] { r = x.server.shop().settle(id, how); }))
        x.result(r);
}

void journal(HttpExchange &x)
{
    int limit = 0;
    if (!x.intArg(QStringLiteral("limit"), 100, 1, 1000, &limit))
        return;
    const QString machine = x.arg(QStringLiteral("machine"));
    const QString outcome = x.arg(QStringLiteral("outcome"));
    const QString file = x.arg(QStringLiteral("file")).left(200);
    ShopResult r;
    if (x.onService([&] { r = x.server.shop().journal(machine, outcome, file, limit); }))
        x.result(r);
}

struct Route
{
    const char *method;
    const char *pattern;
    Handler handle;
};

const Route kRoutes[] = {
    {"GET",  "/",                             page},
    {"GET",  "/shop.css",                     style},
    {"GET",  "/shop.js",                      script},
    {"GET",  "/cards.js",                     cardsScript},
    {"GET",  "/nest.js",                      nestScript},
    {"GET",  "/api/texts",                    texts},
    {"GET",  "/api/live",                     liveWithoutUpgrade},
    {"GET",  "/api/machines",                 machines},
    {"GET",  "/api/machines/{name}",          machine},
    {"GET",  "/api/machines/{name}/queue",    queue},
    {"POST", "/api/machines/{name}/jobs",     ShopUpload::handle},
    {"POST", "/api/machines/{name}/nests",    ShopUpload::handleNest},
    {"POST", "/api/machines/{name}/control",  control},
    {"GET",  "/api/jobs/{id}",                job},
    {"GET",  "/api/jobs/{id}/preview",        preview},
    {"POST", "/api/jobs/{id}/move",           move},
    {"POST", "/api/jobs/{id}/cancel",         cancel},
    {"POST", "/api/jobs/{id}/settle",         settle},
    {"GET",  "/api/journal",                  journal},
};

bool matches(const char *pattern, const QStringList &segments, QStringList *captures)
{
    const QStringList parts = QString::fromLatin1(pattern).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() != segments.size())
        return false;
    QStringList found;
    for (int i = 0; i < parts.size(); ++i) {
        if (parts.at(i).startsWith(QLatin1Char('{')))
            found << segments.at(i);
        else if (parts.at(i) != segments.at(i))
            return false;
    }
    *captures = found;
    return true;
}

}

namespace ShopRoutes {

void dispatch(HttpExchange &x)
{
    // The request line is bounded (16 KiB), and so are its segments.
    const QStringList segments = x.path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QByteArray allowed;
    for (const Route &route : kRoutes) {
        QStringList captures;
        if (!matches(route.pattern, segments, &captures))
            continue;
        if (x.method == route.method) {
            x.captures = captures;
            route.handle(x);
            return;
        }
        allowed += allowed.isEmpty() ? QByteArray(route.method) : QByteArray(", ") + route.method;
    }
    if (allowed.isEmpty()) {
        x.error(404, QCoreApplication::translate("ShopHttp", "nothing here"));
        return;
    }
    const QString why = QCoreApplication::translate("ShopHttp", "use %1 here").arg(QString::fromLatin1(allowed));
    x.bytes(405, "application/json",
            QJsonDocument(QJsonObject{{QStringLiteral("error"), why}}).toJson(QJsonDocument::Compact),
            "Allow: " + allowed + "\r\n");
}

}
