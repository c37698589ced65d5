// SPDX-License-Identifier: LGPL-2.1-or-later
#include "../link/VXCommonInterface.h"
#include "NimbraCloud.h"

#include <QUrl>
#include <QWebSocket>

void VXCommonInterface::connect_websocket()
{
    if (!m_webSocket) {
        m_webSocket = new QWebSocket(QString(), QWebSocketProtocol::Version13, nullptr);
        // The service is remote: never let it make us buffer without bound.
        m_webSocket->setMaxAllowedIncomingMessageSize(WebSocketMaxMessage);
        m_webSocket->setMaxAllowedIncomingFrameSize(WebSocketMaxMessage);
    }
    VXDeviceProperty *cloudRecord = property_ptr("DEVICE_CLOUD");
    if (!cloudRecord || !m_cloud)
        return;
    const QString code = cloudRecord->value().toJsonObject().value(QStringLiteral("code")).toString();
    // No separator between base and code. One-pass arg(): a '%' in the base
    // address must not swallow the code.
    const QUrl address(QStringLiteral("%1%2/Device/").arg(m_cloud->ws(), code), QUrl::TolerantMode);

    // Connected before opening: an address the socket rejects at once
    // reports its error synchronously. Unique, so reconnecting never
    // doubles a notification.
#ifndef QT_NO_SSL
    // The same verified settings as the requests, not the process default.
    m_webSocket->setSslConfiguration(m_cloud->sslConfiguration());
#endif

    connect(m_webSocket, &QWebSocket::connected, this, &VXCommonInterface::slot_websocket_connected,
            Qt::UniqueConnection);
    connect(m_webSocket, &QWebSocket::disconnected, this, &VXCommonInterface::slot_websocket_disconnected,
            Qt::UniqueConnection);
    connect(m_webSocket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
            &VXCommonInterface::slot_websocket_error, Qt::UniqueConnection);
    connect(m_webSocket, &QWebSocket::textMessageReceived, this,
            &VXCommonInterface::slot_websocket_text_received, Qt::UniqueConnection);
    m_webSocket->open(address);
}

void VXCommonInterface::slot_websocket_connected()
{
    emit message(DevStatus, QStringLiteral("WEB SOCKET CONNECTED."));
}

void VXCommonInterface::slot_websocket_disconnected()
{
    emit message(DevStatus, QStringLiteral("WEB SOCKET DISCONNECTED."));
}

void VXCommonInterface::slot_websocket_error(QAbstractSocket::SocketError error)
{
    Q_UNUSED(error)
    emit message(DevStatus, QStringLiteral("WEB SOCKET ERROR."));
}

void VXCommonInterface::slot_websocket_text_received(QString message)
{
    if (message == m_lastRemoteText)
        return;
    m_lastRemoteText = message;
    device_task_to_cloud();
}
