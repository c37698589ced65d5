// SPDX-License-Identifier: LGPL-2.1-or-later
#include "../link/VXCommonInterface.h"
#include "NimbraCloud.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <cmath>

namespace {
// A refusing service must not be asked in a hot loop, and a negative
// interval would end the chain without a word.
constexpr int MinLookupRetryMs = 100;
constexpr int MaxLookupRetryMs = 3600 * 1000;

// The status of an answer that arrived whole, 0 when none did. Qt keeps the
// 200 of a reply whose body was cut off after the headers (size limit,
// timeout, connection reset): that body is not the service's answer, and
// reading it as one registered devices as 0.
int httpStatus(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int e = reply->error();
    const bool broken = (e >= QNetworkReply::ConnectionRefusedError && e <= QNetworkReply::UnknownNetworkError)
        || e == QNetworkReply::ProtocolFailure || e == QNetworkReply::ProtocolUnknownError;
    return broken ? 0 : status.toInt();
}

QJsonObject replyObject(QNetworkReply *reply)
{
    // An aborted reply is closed; reading it would only warn.
    return reply->isOpen() ? QJsonDocument::fromJson(reply->readAll()).object() : QJsonObject();
}

// The reply's "id" when it is a whole number (2^53 keeps it exact in JSON).
// Anything else, a maintenance page or {"id":"17"} alike, is no id: taking
// it as 0 would file the device, and its work records, under device 0.
bool wholeId(QNetworkReply *reply, QJsonValue *id)
{
    const QJsonValue v = replyObject(reply).value(QStringLiteral("id"));
    const double d = v.toDouble();
    if (!v.isDouble() || std::floor(d) != d || std::fabs(d) > 9007199254740992.0)
        return false;
    *id = QJsonValue(static_cast<qint64>(d));
    return true;
}

void noId(const char *operation)
{
    qDebug() << operation << "answer 200 without a whole-number \"id\": ignored";
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
        case 200: {
            QJsonValue id;
            if (!wholeId(reply, &id)) {
                noId("VXCommonInterface::cloud_device_get");
                break;
            }
            self->m_cloudRecord[QStringLiteral("id")] = id;
            self->mirrorCloudRecord();
            self->cloud_device_update(self->m_cloudRecord);
            break;
        }
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
            retry.setInterval(qBound(MinLookupRetryMs, self->m_lookupRetryMs, MaxLookupRetryMs));
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
        QJsonValue id;
        if (!wholeId(reply, &id))
            return noId("VXCommonInterface::cloud_device_model_get");
        self->m_cloudRecord[QStringLiteral("device_model")] = id;
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
        QJsonValue id;
        if (!wholeId(reply, &id))
            return noId("VXCommonInterface::cloud_device_new");
        self->m_cloudRecord[QStringLiteral("id")] = id;
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
