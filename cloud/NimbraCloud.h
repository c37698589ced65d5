// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QObject>
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>
#include <QtNetwork/qtnetworkglobal.h>
#ifndef QT_NO_SSL
#include <QSslConfiguration>
#endif

#include <functional>

class QNetworkReply;

/// Client of the cloud service. The host owns it; device objects only call
/// customRequest() and ws(), and take its TLS settings for the remote channel.
///
/// The token travels only where nobody in between can read it: over https, or
/// to a loopback address (the local stand-in). A token with a plain http base
/// on another host sends nothing at all and says so in the debug log.
class VXDEVICE_EXPORT NimbraCloud : public QObject
{
    Q_OBJECT
public:
    // reply: finished; flag: a response arrived whole without a transport error.
    using Completion = std::function<void(QNetworkReply *reply, bool ok)>;

    static constexpr int DefaultTimeoutMs = 30000;
    // A body beyond this is not a registration answer: the exchange is
    // dropped when its declared length says so or as soon as more has
    // arrived, so no answer makes the host hold more than this plus one
    // socket buffer.
    static constexpr qint64 MaxResponseBytes = 4 * 1024 * 1024;

    NimbraCloud(const QUrl &httpBase, const QString &wsBase, const QString &token = QString(),
                QObject *parent = nullptr);
    ~NimbraCloud() override;

    // path is relative to the HTTP base; body travels with every verb.
    void customRequest(const QString &path, QByteArray verb, QJsonObject body, Completion completion);
    QString ws() const;

    QUrl httpBase() const { return m_httpBase; }
    void setTimeout(int ms);
    int timeout() const { return m_timeoutMs; }

signals:
    // After the completion of each request has run.
    void finished(QNetworkReply *reply);

public:
#ifndef QT_NO_SSL
    // Used for every request and for the remote channel. Peers are always
    // verified; trust a private certificate by adding it as a CA certificate.
    QSslConfiguration sslConfiguration() const { return m_tls; }
    void setSslConfiguration(const QSslConfiguration &tls);
#endif

private:
    bool mayCarryToken(const QUrl &url) const;

    // Held the network access manager; kept so that hosts built against
    // the earlier layout of this class stay binary compatible.
    [[maybe_unused]] void *m_reservedSlot = nullptr;
    QUrl m_httpBase;
    QString m_wsBase;
    QByteArray m_token;
    int m_timeoutMs = DefaultTimeoutMs;
#ifndef QT_NO_SSL
    QSslConfiguration m_tls;
#endif
};
