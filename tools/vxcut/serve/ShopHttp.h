// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QUrlQuery>

#include <atomic>
#include <functional>
#include <memory>

class PageTexts;
class Shop;
class ShopHttp;
class ShopLive;
struct ShopResult;
struct mg_connection;
struct mg_context;

// One request as a route sees it, and the ways to answer it. Lives on a
// CivetWeb worker thread for the length of one request.
class HttpExchange
{
    Q_DECLARE_TR_FUNCTIONS(ShopHttp)

public:
    HttpExchange(ShopHttp &server, mg_connection *conn);

    ShopHttp &server;
    mg_connection *conn;
    QByteArray method;
    QString path;           // decoded, without the query
    QUrlQuery query;
    QStringList captures;   // the route's {..} segments, in order
    QString peer;           // the client's address
    long long contentLength = -1;

    QString arg(const QString &key) const;
    // A whole-number query item from low to high (absent: fallback); false,
    // answered 400, when it is something else.
    bool intArg(const QString &key, int fallback, int low, int high, int *out);
    // captures[index] as a job id; 0 when it is none.
    qint64 id(int index = 0) const;
    // The body as a JSON object: none is {}; more than 64 KiB, or not an
    // object, is answered (413, 400) and false.
    bool jsonBody(QJsonObject *out);
    // Runs fn on the service thread and waits for it. False, answered 503,
    // once the service is stopping.
    bool onService(const std::function<void()> &fn);

    void json(int status, const QJsonObject &body);
    void error(int status, const QString &message);
    // Ok: okStatus with the body; a refusal: its status with {"error"}.
    void result(const ShopResult &r, int okStatus = 200);
    void bytes(int status, const QByteArray &type, const QByteArray &body,
               const QByteArray &extraHeaders = QByteArray());
    int status() const { return m_status; }

private:
    int m_status = 0;
};

// The HTTP side of `vxcut serve`: CivetWeb on the listen address, token
// checks, the routes (ShopRoutes.cpp), the upload (ShopUpload.cpp) and the
// live feed (ShopLive). Made, started and stopped on the service thread,
// the thread Shop lives on; every Shop call from a handler is queued there.
class ShopHttp
{
    Q_DECLARE_TR_FUNCTIONS(ShopHttp)

public:
    struct Settings
    {
        QString listen;             // "ADDR:PORT"; port 0: a free one
        QString token;              // empty: no token asked
        qint64 maxUploadBytes = 0;
    };

    ShopHttp(Shop &shop, const Settings &settings);
    ~ShopHttp();
    ShopHttp(const ShopHttp &) = delete;
    ShopHttp &operator=(const ShopHttp &) = delete;

    bool start(QString *error);
    // Refuses new calls, then stops CivetWeb while this thread keeps
    // serving the calls already on their way: a handler waiting on this
    // thread would otherwise hold mg_stop up for ever.
    void stop();
    // http://ADDR:PORT/ with the bound port.
    QString url() const { return m_url; }

    Shop &shop() const { return m_shop; }
    const PageTexts &texts() const { return *m_texts; }
    qint64 maxUploadBytes() const { return m_settings.maxUploadBytes; }
    bool closing() const { return m_closing.load(); }

    // Runs fn on a thread with a full-size stack and waits for it. Debian
    // builds CivetWeb with 100 KiB worker stacks: reading a design (fonts,
    // XML) on one runs past its guard page into the next thread's memory.
    void onFullStack(const std::function<void()> &fn);

    // Whether a presented token is this service's (constant time).
    bool tokenMatches(const QByteArray &given) const;

private:
    static int onRequest(mg_connection *conn, void *self);
    static int onLiveConnect(const mg_connection *conn, void *self);
    static void onLiveReady(mg_connection *conn, void *self);
    static int onLiveData(mg_connection *conn, int bits, char *data, size_t size, void *self);
    static void onLiveClose(const mg_connection *conn, void *self);

    // Host, origin and token; false with the status and why.
    bool admit(const mg_connection *conn, bool tokenInQuery, int *status, QString *why) const;
    void handle(HttpExchange &x);

    Shop &m_shop;
    Settings m_settings;
    std::unique_ptr<PageTexts> m_texts;
    std::unique_ptr<ShopLive> m_live;
    QThreadPool m_heavy;        // design checks and previews: two at a time on two cores
    mg_context *m_ctx = nullptr;
    QMetaObject::Connection m_updates;
    QString m_url;
    std::atomic<bool> m_closing{false};
};

namespace ShopRoutes {
// Finds the request's route and runs it: unknown 404, wrong method 405.
void dispatch(HttpExchange &x);
}

namespace ShopUpload {
// POST /api/machines/NAME/jobs: the design's bytes, stored, checked, queued.
void handle(HttpExchange &x);
// POST /api/machines/NAME/nests: part files in a multipart form, each
// stored, the nest checked, queued.
void handleNest(HttpExchange &x);
}
