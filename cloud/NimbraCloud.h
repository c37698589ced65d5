// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QObject>
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

/// Client of the cloud service. The host owns it; device objects only call
/// customRequest() and ws().
class VXDEVICE_EXPORT NimbraCloud : public QObject
{
    Q_OBJECT
public:
    // reply: finished; flag: a response arrived without a transport error.
    using Completion = std::function<void(QNetworkReply *reply, bool ok)>;

    static constexpr int DefaultTimeoutMs = 30000;

    NimbraCloud(const QUrl &httpBase, const QString &wsBase, const QString &token = QString(),
                QObject *parent = nullptr);
    ~NimbraCloud() override;

    // path is relative to the HTTP base; body travels with every verb.
    void customRequest(const QString &path, QByteArray verb, QJsonObject body, Completion completion);
    QString ws() const;

    QUrl httpBase() const { return m_httpBase; }
    void setTimeout(int ms);
    int timeout() const { return m_timeoutMs; }

private:
    QNetworkAccessManager *m_nam;
    QUrl m_httpBase;
    QString m_wsBase;
    QByteArray m_token;
    int m_timeoutMs = DefaultTimeoutMs;
};
