// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NimbraCloud.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#if QT_CONFIG(ssl)
#include <QSslConfiguration>
#endif

#include <memory>

namespace {
// A reply body beyond this is not a registration answer; stop reading rather
// than buffer whatever the peer sends.
constexpr qint64 MaxResponseBytes = 4 * 1024 * 1024;

// An HTTP error status is still an answer (Qt maps 400 to a "protocol"
// error); only a missing or broken exchange (refused, timed out, aborted,
// cut short, unparsable) is not.
bool responded(QNetworkReply *reply)
{
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid())
        return false;
    const int e = reply->error();
    const bool transport = e >= QNetworkReply::ConnectionRefusedError && e <= QNetworkReply::UnknownNetworkError;
    return !transport && e != QNetworkReply::ProtocolFailure && e != QNetworkReply::ProtocolUnknownError;
}

QUrl directoryUrl(QUrl url)
{
    // resolved() drops the last path segment unless the base ends in '/'.
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        url.setPath(path + QLatin1Char('/'));
    return url;
}
}

NimbraCloud::NimbraCloud(const QUrl &httpBase, const QString &wsBase, const QString &token,
                         QObject *parent)
    : QObject(parent)
    , m_nam(new QNetworkAccessManager(this))
    , m_httpBase(directoryUrl(httpBase))
    , m_wsBase(wsBase)
    , m_token(token.toUtf8())
{
}

// Replies are children of m_nam; their connections to this object go before
// the children do, so completions of requests still in flight never run.
NimbraCloud::~NimbraCloud() = default;

void NimbraCloud::customRequest(const QString &path, QByteArray verb, QJsonObject body,
                                Completion completion)
{
    const QUrl url = m_httpBase.resolved(QUrl(path));
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("Accept", "application/json");
    if (!m_token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + m_token);
#if QT_CONFIG(ssl)
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    request.setSslConfiguration(tls);
#endif
    // Never follow redirects: the token would travel to wherever they point.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    // A custom verb carries the body even for GET, which the service expects.
    const QByteArray payload = QJsonDocument(body).toJson(QJsonDocument::Compact);
    QNetworkReply *reply = m_nam->sendCustomRequest(request, verb, payload);
    qDebug().noquote() << "NimbraCloud::customRequest" << verb << url.toString(QUrl::RemoveUserInfo);

    auto timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    timer->start(m_timeoutMs);

    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxResponseBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxResponseBytes)
            reply->abort();
    });

    auto done = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::finished, this, [reply, timer, done, completion = std::move(completion)] {
        if (*done)
            return;
        *done = true;
        timer->stop();
        // The whole body may land before any progress is seen.
        const bool ok = responded(reply) && reply->bytesAvailable() <= MaxResponseBytes;
        // A completion that drops the client takes the reply with it.
        QPointer<QNetworkReply> alive(reply);
        if (completion)
            completion(reply, ok);
        if (alive)
            reply->deleteLater();
    });
}

QString NimbraCloud::ws() const
{
    return m_wsBase;
}

void NimbraCloud::setTimeout(int ms)
{
    m_timeoutMs = ms > 0 ? ms : DefaultTimeoutMs;
}
