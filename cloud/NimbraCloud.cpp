#include "NimbraCloud.h"

#include <QDebug>
#include <QHostAddress>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace {
constexpr qint64 MaxResponseBytes = NimbraCloud::MaxResponseBytes;

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
#ifndef QT_NO_SSL
    setSslConfiguration(QSslConfiguration::defaultConfiguration());
#endif
}

// Replies are children of m_nam; their connections to this object go before
// the children do, so completions of requests still in flight never run.
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
    // Left to itself Qt asks for gzip and inflates behind the size checks.
    request.setRawHeader("Accept-Encoding", "identity");
    if (!m_token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + m_token);
#ifndef QT_NO_SSL
    request.setSslConfiguration(m_tls);
#endif
    // Never follow redirects: the token would travel to wherever they point.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);

    // A custom verb carries the body even for GET, which the service expects.
    const QByteArray payload = QJsonDocument(body).toJson(QJsonDocument::Compact);
    QNetworkReply *reply = m_nam->sendCustomRequest(request, verb, payload);
    qDebug().noquote() << "NimbraCloud::customRequest" << verb << url.toString(QUrl::RemoveUserInfo);

    // Bounds what waits unread in the reply. Qt's HTTP thread still reads
    // the socket ahead of it, so a peer that floods a body without a length
    // is stopped only once readyRead below gets to run.
    reply->setReadBufferSize(MaxResponseBytes + 1);

    auto timer = new QTimer(reply);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, reply, &QNetworkReply::abort);
    timer->start(m_timeoutMs);

    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxResponseBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply] {
        if (reply->bytesAvailable() > MaxResponseBytes)
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
