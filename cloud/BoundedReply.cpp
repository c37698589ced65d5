// SPDX-License-Identifier: LGPL-2.1-or-later
#include "BoundedReply.h"

#include <QTimer>
#include <QUrl>
#ifndef QT_NO_SSL
#include <QSslSocket>
#else
#include <QTcpSocket>
#endif

#include <cstring>

namespace {
// What Qt's own HTTP stack reports for an HTTP error status, so callers
// that look at error() see the same.
QNetworkReply::NetworkError errorOfStatus(int status)
{
    switch (status) {
    case 400: return QNetworkReply::ProtocolInvalidOperationError;
    case 401: return QNetworkReply::AuthenticationRequiredError;
    case 403: return QNetworkReply::ContentAccessDenied;
    case 404: return QNetworkReply::ContentNotFoundError;
    case 405: return QNetworkReply::ContentOperationNotPermittedError;
    case 407: return QNetworkReply::ProxyAuthenticationRequiredError;
    case 409: return QNetworkReply::ContentConflictError;
    case 410: return QNetworkReply::ContentGoneError;
    case 418: return QNetworkReply::ProtocolInvalidOperationError;
    case 500: return QNetworkReply::InternalServerError;
    case 501: return QNetworkReply::OperationNotImplementedError;
    case 503: return QNetworkReply::ServiceUnavailableError;
    default: break;
    }
    if (status >= 500)
        return QNetworkReply::UnknownServerError;
    if (status >= 400)
        return QNetworkReply::UnknownContentError;
    return QNetworkReply::NoError;
}

bool headerSafe(const QByteArray &s)
{
    return !s.contains('\r') && !s.contains('\n') && !s.contains('\0');
}
}

BoundedReply::BoundedReply(const QNetworkRequest &request, const QByteArray &verb, const QByteArray &payload,
                           qint64 maxBody, QObject *parent)
    : QNetworkReply(parent)
    , m_reader(maxBody, verb == "HEAD")
{
    setRequest(request);
    setUrl(request.url());
    setOperation(QNetworkAccessManager::CustomOperation);
    setAttribute(QNetworkRequest::CustomVerbAttribute, verb);
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);

    const QUrl url = request.url();
    const bool tls = url.scheme() == QLatin1String("https");
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = url.host(QUrl::FullyEncoded).toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    if (url.port() >= 0)
        host += ':' + QByteArray::number(url.port());

    bool safe = headerSafe(verb) && !verb.contains(' ') && headerSafe(target) && !target.contains(' ');
    m_outgoing = verb + ' ' + target + " HTTP/1.1\r\nHost: " + host + "\r\n";
    const QList<QByteArray> names = request.rawHeaderList();
    for (const QByteArray &name : names) {
        const QByteArray value = request.rawHeader(name);
        safe = safe && headerSafe(name) && headerSafe(value);
        m_outgoing += name + ": " + value + "\r\n";
    }
    m_outgoing += "Content-Length: " + QByteArray::number(payload.size()) + "\r\nConnection: close\r\n\r\n";
    m_outgoing += payload;

    const QString hostName = url.host();
    const quint16 port = quint16(url.port(tls ? 443 : 80));
    if (!safe || hostName.isEmpty() || (!tls && url.scheme() != QLatin1String("http"))) {
        // Never on the wire: a line break in a header would start another.
        QTimer::singleShot(0, this, [this] {
            finish(ProtocolInvalidOperationError, QStringLiteral("request cannot be sent as given"));
        });
        return;
    }
#ifndef QT_NO_SSL
    auto socket = new QSslSocket(this);
    m_socket = socket;
    socket->setReadBufferSize(ReadChunk);
    connect(socket, &QAbstractSocket::errorOccurred, this, &BoundedReply::socketFailed);
    connect(socket, &QAbstractSocket::readyRead, this, &BoundedReply::readSocket);
    connect(socket, &QAbstractSocket::disconnected, this, &BoundedReply::socketFailed);
    if (tls) {
        socket->setSslConfiguration(request.sslConfiguration());
        connect(socket, &QSslSocket::encrypted, this, &BoundedReply::sendRequest);
        socket->connectToHostEncrypted(hostName, port);
    } else {
        connect(socket, &QAbstractSocket::connected, this, &BoundedReply::sendRequest);
        socket->connectToHost(hostName, port);
    }
#else
    if (tls) {
        QTimer::singleShot(0, this, [this] { finish(ProtocolUnknownError, QStringLiteral("no TLS in this build")); });
        return;
    }
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(ReadChunk);
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &BoundedReply::socketFailed);
    connect(m_socket, &QAbstractSocket::readyRead, this, &BoundedReply::readSocket);
    connect(m_socket, &QAbstractSocket::disconnected, this, &BoundedReply::socketFailed);
    connect(m_socket, &QAbstractSocket::connected, this, &BoundedReply::sendRequest);
    m_socket->connectToHost(hostName, port);
#endif
}

BoundedReply::~BoundedReply()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void BoundedReply::sendRequest()
{
    m_socket->write(m_outgoing);
    m_outgoing.clear();
}

void BoundedReply::readSocket()
{
    if (isFinished())
        return;
    QByteArray buffer(int(ReadChunk), Qt::Uninitialized);
    while (m_socket->bytesAvailable() > 0) {
        const qint64 n = m_socket->read(buffer.data(), buffer.size());
        if (n <= 0)
            break;
        m_reader.feed(buffer.constData(), n);
        if (!m_headersSeen && m_reader.headersDone())
            headersArrived();
        switch (m_reader.state()) {
        case HttpResponseReader::State::Head:
        case HttpResponseReader::State::Body:
            continue;
        case HttpResponseReader::State::Done:
            m_whole = true;
            finish(errorOfStatus(m_reader.status()), QString());
            return;
        case HttpResponseReader::State::TooLarge:
            finish(ProtocolFailure, QStringLiteral("response over the size limit"));
            return;
        case HttpResponseReader::State::Malformed:
            finish(ProtocolFailure, QStringLiteral("malformed HTTP response"));
            return;
        }
    }
}

void BoundedReply::socketFailed()
{
    if (isFinished())
        return;
    // What is still buffered may complete the response.
    readSocket();
    if (isFinished())
        return;
    const QAbstractSocket::SocketError e = m_socket->error();
    if (e == QAbstractSocket::RemoteHostClosedError || m_socket->state() == QAbstractSocket::UnconnectedState) {
        if (m_reader.state() != HttpResponseReader::State::Head || m_reader.headersDone()
            || e == QAbstractSocket::RemoteHostClosedError) {
            m_reader.finishAtEof();
            if (!m_headersSeen && m_reader.headersDone())
                headersArrived();
            if (m_reader.state() == HttpResponseReader::State::Done) {
                m_whole = true;
                finish(errorOfStatus(m_reader.status()), QString());
            } else {
                finish(RemoteHostClosedError, QStringLiteral("connection closed before the response was whole"));
            }
            return;
        }
    }
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError:
        finish(ConnectionRefusedError, m_socket->errorString());
        break;
    case QAbstractSocket::HostNotFoundError:
        finish(HostNotFoundError, m_socket->errorString());
        break;
    case QAbstractSocket::SocketTimeoutError:
        finish(TimeoutError, m_socket->errorString());
        break;
    case QAbstractSocket::SslHandshakeFailedError:
        finish(SslHandshakeFailedError, m_socket->errorString());
        break;
    default:
        finish(UnknownNetworkError, m_socket->errorString());
        break;
    }
}

void BoundedReply::headersArrived()
{
    m_headersSeen = true;
    setAttribute(QNetworkRequest::HttpStatusCodeAttribute, m_reader.status());
    setAttribute(QNetworkRequest::HttpReasonPhraseAttribute, m_reader.reason());
    for (const auto &h : m_reader.headers())
        setRawHeader(h.first, h.second);
    const QByteArray location = m_reader.header("Location");
    if (m_reader.status() >= 300 && m_reader.status() < 400 && !location.isEmpty())
        setAttribute(QNetworkRequest::RedirectionTargetAttribute, QUrl::fromEncoded(location));
    emit metaDataChanged();
}

void BoundedReply::finish(NetworkError error, const QString &text)
{
    if (isFinished())
        return;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    if (m_whole)
        m_body = m_reader.takeBody();
    else
        m_reader.takeBody();   // a cut-off body is nobody's answer
    setFinished(true);
    if (error != NoError)
        setError(error, text.isEmpty() ? QString::fromLatin1(m_reader.reason()) : text);
    // From the event loop, as Qt's own replies do: a receiver may delete
    // this reply, and with it the socket whose signal may be running now.
    QMetaObject::invokeMethod(this, [this, error] {
        if (error != NoError)
            emit errorOccurred(error);
        if (!m_body.isEmpty())
            emit readyRead();
        emit finished();
    }, Qt::QueuedConnection);
}

void BoundedReply::abort()
{
    if (isFinished())
        return;
    finish(OperationCanceledError, QStringLiteral("Operation canceled"));
    close();
}

qint64 BoundedReply::bytesAvailable() const
{
    return m_body.size() - m_read + QNetworkReply::bytesAvailable();
}

qint64 BoundedReply::readData(char *data, qint64 maxSize)
{
    const qint64 n = qMin(maxSize, qint64(m_body.size()) - m_read);
    if (n <= 0)
        return isFinished() ? -1 : 0;
    std::memcpy(data, m_body.constData() + m_read, size_t(n));
    m_read += n;
    return n;
}
