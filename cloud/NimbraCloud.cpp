// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NimbraCloud.h"
#include "BoundedReply.h"

#include <QDebug>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {
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
    , m_httpBase(directoryUrl(httpBase))
    , m_wsBase(wsBase)
    , m_token(token.toUtf8())
{
#ifndef QT_NO_SSL
    setSslConfiguration(QSslConfiguration::defaultConfiguration());
#endif
}

// Replies are children of this object; its connections go before its
// children do, so completions of requests still in flight never run.
NimbraCloud::~NimbraCloud() = default;

void NimbraCloud::customRequest(const QString &path, QByteArray verb, QJsonObject body,
                                Completion completion)
{
    const QUrl url = m_httpBase.resolved(QUrl(path));
    if (!m_token.isEmpty() && !mayCarryToken(url)) {
        qDebug().noquote() << "NimbraCloud::customRequest refused: the token would travel in clear to"
                           << url.host() << "(use https)";
        return;
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setRawHeader("Accept", "application/json");
    // The limit counts the bytes on the wire: nothing is inflated behind it.
    request.setRawHeader("Accept-Encoding", "identity");
    if (!m_token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + m_token);
#ifndef QT_NO_SSL
    request.setSslConfiguration(m_tls);
#endif

    // A custom verb carries the body even for GET, which the service expects.
    // Redirects are never followed: the token would travel to wherever they
    // point.
    const QByteArray payload = QJsonDocument(body).toJson(QJsonDocument::Compact);
    auto reply = new BoundedReply(request, verb, payload, MaxResponseBytes, this);
    qDebug().noquote() << "NimbraCloud::customRequest" << verb << url.toString(QUrl::RemoveUserInfo);

    auto timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    timer->start(m_timeoutMs);

    connect(reply, &QNetworkReply::finished, this, [this, reply, timer, completion = std::move(completion)] {
        timer->stop();
        // A completion that drops the client takes the reply with it.
        QPointer<QNetworkReply> alive(reply);
        QPointer<NimbraCloud> self(this);
        if (completion)
            completion(reply, reply->answeredWhole());
        if (self)
            emit finished(reply);
        if (alive)
            reply->deleteLater();
    });
}

QString NimbraCloud::ws() const
{
    return m_wsBase;
}

bool NimbraCloud::mayCarryToken(const QUrl &url) const
{
    if (url.scheme() == QLatin1String("https"))
        return true;
    const QString host = url.host();
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

#ifndef QT_NO_SSL
void NimbraCloud::setSslConfiguration(const QSslConfiguration &tls)
{
    m_tls = tls;
    m_tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
}
#endif

void NimbraCloud::setTimeout(int ms)
{
    m_timeoutMs = ms > 0 ? ms : DefaultTimeoutMs;
}
