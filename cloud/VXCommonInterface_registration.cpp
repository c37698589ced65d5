// SPDX-License-Identifier: LGPL-2.1-or-later
#include "../link/VXCommonInterface.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
int httpStatus(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A body that is not a JSON object reads as {}, so its "id" reads as 0.
QJsonObject replyObject(QNetworkReply *reply)
{
    // An aborted reply is closed; reading it would only warn.
    return reply->isOpen() ? QJsonDocument::fromJson(reply->readAll()).object() : QJsonObject();
}
}

qint32 VXCommonInterface::modelNumber(const QString &code)
{
    const QByteArray digits = code.mid(2, 4).toLower().toLatin1();
    qint64 sum = 0;
    for (char c : digits) {
        // Every byte counts, signed: '-' gives -3, Latin-1 letters go negative.
        const qint8 b = static_cast<qint8>(c);
        sum = sum * 36 + (b < 0x61 ? b - 48 : b - 87);
    }
    return static_cast<qint32>(static_cast<quint32>(static_cast<quint64>(sum)));
}

void VXCommonInterface::setNimbraCloud(NimbraCloud *cloud, QString code)
{
    m_cloud = cloud;
    // Completions and the pending retry of an earlier registration belong to
    // a record that no longer exists.
    ++m_registration;
    m_lookupRetry.stop();

    auto text = [this](const char *key) {
        VXDeviceProperty *p = property_ptr(key);
        return p ? p->value().toString() : QString();
    };
    m_cloudRecord = QJsonObject{
        {QStringLiteral("code"), code},
        {QStringLiteral("pcb"), text("PCB_ID")},
        {QStringLiteral("version"), text("FIRMWARE")},
        {QStringLiteral("device_id"), text("DEVICE_ID")},
        {QStringLiteral("online"), true},
    };
    if (!property_ptr("DEVICE_CLOUD"))
        return;
    mirrorCloudRecord();

    const QJsonObject model{{QStringLiteral("code"), modelNumber(code)}};
    qDebug() << "VXCommonInterface::setNimbraCloud" << model;
    cloud_device_model_get(model);

    const QJsonObject lookup{{QStringLiteral("code"), code}};
    qDebug() << "VXCommonInterface::setNimbraCloud" << lookup;
    cloud_device_get(lookup);
}

void VXCommonInterface::mirrorCloudRecord()
{
    if (VXDeviceProperty *p = property_ptr("DEVICE_CLOUD"))
        p->setValue(QVariant(m_cloudRecord));
}

void VXCommonInterface::cloud_device_get(QJsonObject body)
{
    qDebug() << "VXCommonInterface::cloud_device_get" << body;
    if (!m_cloud)
        return;
    QPointer<VXCommonInterface> self(this);
    const quint64 registration = m_registration;
    m_cloud->customRequest(QStringLiteral("device"), "GET", body,
                           [self, registration](QNetworkReply *reply, bool) {
        if (!self || self->m_registration != registration)
            return;
        switch (httpStatus(reply)) {
        case 200:
            self->m_cloudRecord[QStringLiteral("id")] = replyObject(reply).value(QStringLiteral("id")).toInt();
            self->mirrorCloudRecord();
            self->cloud_device_update(self->m_cloudRecord);
            break;
        case 404:
            // The service creates devices under "device_model".
            self->cloud_device_new(self->m_cloudRecord);
            break;
        case 0: {
            // Unreachable: ask again later with the code the record then holds.
            // One timer per device, so repeated registrations never stack chains.
            QTimer &retry = self->m_lookupRetry;
            retry.disconnect(self.data());
            retry.setSingleShot(true);
            retry.setInterval(self->m_lookupRetryMs);
            VXCommonInterface *device = self.data();
            connect(&retry, &QTimer::timeout, device, [device] {
                device->cloud_device_get(QJsonObject{
                    {QStringLiteral("code"), device->m_cloudRecord.value(QStringLiteral("code")).toString()}});
            });
            retry.start();
            break;
        }
        default:
            break;
        }
    });
}

void VXCommonInterface::cloud_device_model_get(QJsonObject body)
{
    if (!m_cloud)
        return;
    QPointer<VXCommonInterface> self(this);
    const quint64 registration = m_registration;
    m_cloud->customRequest(QStringLiteral("device_model"), "PATCH", body,
                           [self, registration](QNetworkReply *reply, bool) {
        if (!self || self->m_registration != registration || httpStatus(reply) != 200)
            return;
        self->m_cloudRecord[QStringLiteral("device_model")] =
            replyObject(reply).value(QStringLiteral("id")).toInt();
        self->mirrorCloudRecord();
    });
}

void VXCommonInterface::cloud_device_new(QJsonObject body)
{
    if (!m_cloud)
        return;
    QPointer<VXCommonInterface> self(this);
    const quint64 registration = m_registration;
    m_cloud->customRequest(QStringLiteral("device_model"), "POST", body,
                           [self, registration](QNetworkReply *reply, bool ok) {
        if (!self || self->m_registration != registration || !ok || httpStatus(reply) != 200)
            return;
        self->m_cloudRecord[QStringLiteral("id")] = replyObject(reply).value(QStringLiteral("id")).toInt();
        self->mirrorCloudRecord();
    });
}

void VXCommonInterface::cloud_device_update(QJsonObject body)
{
    if (!m_cloud)
        return;
    m_cloud->customRequest(QStringLiteral("device"), "PUT", body, NimbraCloud::Completion());
}

void VXCommonInterface::device_info_to_cloud()
{
}
