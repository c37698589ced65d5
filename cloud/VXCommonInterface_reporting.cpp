// SPDX-License-Identifier: LGPL-2.1-or-later
#include "../link/VXCommonInterface.h"
#include "NimbraCloud.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebSocket>

namespace {
constexpr qint64 RuntimeBacklogBytes = 4 * 1024 * 1024;
}

void VXCommonInterface::device_task_to_cloud()
{
    VXDeviceProperty *task = property_ptr("TASK");
    if (!task)
        return;
    QJsonObject job = task->value().toJsonObject();
    if (VXDeviceProperty *preview = property_ptr("FILE_PREVIEW")) {
        const QByteArray bytes = preview->value().toByteArray();
        job[QStringLiteral("FilePreview")] = bytes.isEmpty()
            ? QJsonValue(QJsonValue::Null)
            : QJsonValue(QString::fromLatin1(bytes.toBase64()));
    }
    const QJsonObject runtime{
        {QStringLiteral("sender"), QStringLiteral("Device")},
        {QStringLiteral("message"), QJsonObject{{QStringLiteral("Runtime"), job}}},
        {QStringLiteral("actions"), QJsonArray{QStringLiteral("Runtime")}},
    };
    // An unopened or closed socket drops the text without complaint.
    if (!m_webSocket)
        return;
    // A peer that stops reading would have every snapshot, preview and all,
    // pile up in the socket's write buffer. The next one after the backlog
    // drains says everything the dropped ones would have.
    if (m_webSocket->bytesToWrite() > RuntimeBacklogBytes) {
        qDebug() << "VXCommonInterface::device_task_to_cloud Runtime dropped:"
                 << m_webSocket->bytesToWrite() << "bytes still unsent on the channel";
        return;
    }
    m_webSocket->sendTextMessage(QString::fromUtf8(QJsonDocument(runtime).toJson(QJsonDocument::Compact)));
}

void VXCommonInterface::device_task_record_to_cloud()
{
    if (!property_ptr("DEVICE_CLOUD"))
        return;
    // toDouble: an id past 32 bits is still an id.
    if (m_cloudRecord.value(QStringLiteral("id")).toDouble(-1) == -1)
        return;
    VXDeviceProperty *taskRecord = property_ptr("TASK");
    if (!taskRecord)
        return;
    const QJsonObject task = taskRecord->value().toJsonObject();
    if (task.value(QStringLiteral("TaskCopies")).toInt() == 0 || task.value(QStringLiteral("Finished")).toInt() == 0)
        return;
    VXDeviceProperty *fileRecord = property_ptr("TASK_FILE_INFO");
    if (!fileRecord)
        return;
    const QJsonObject file = fileRecord->value().toJsonObject();
    const int pathLength = file.value(QStringLiteral("path_length")).toInt();
    if (pathLength == 0)
        return;
    VXDeviceProperty *start = property_ptr("TASK_START_TIME");
    if (!start)
        return;

    // "heigth" is how the host spells it.
    const int height = file.value(QStringLiteral("heigth")).toInt();
    const int width = file.value(QStringLiteral("width")).toInt();
    auto intOf = [this](const char *key) {
        VXDeviceProperty *p = property_ptr(key);
        return p ? p->value().toInt() : 0;
    };

    QJsonObject record;
    record[QStringLiteral("end_time")] = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzzz"));
    record[QStringLiteral("task_time")] =
        static_cast<qint32>(start->value().toDateTime().secsTo(QDateTime::currentDateTime()));
    record[QStringLiteral("softwareType")] = 3;
    record[QStringLiteral("task_copies")] = task.value(QStringLiteral("TaskCopies"));
    record[QStringLiteral("finish_copies")] = task.value(QStringLiteral("Finished"));
    record[QStringLiteral("device")] = m_cloudRecord.value(QStringLiteral("id"));
    // Wraps like the 32-bit product the service has always received.
    record[QStringLiteral("page_area")] =
        static_cast<qint32>(static_cast<quint32>(height) * static_cast<quint32>(width));
    record[QStringLiteral("page_size")] = QStringLiteral("%1x%2").arg(height).arg(width);
    record[QStringLiteral("path_length")] = pathLength;
    record[QStringLiteral("task_model")] = intOf("TASK_MODE");
    record[QStringLiteral("work_model")] = intOf("WORK_MODE");
    cloud_device_workrecord(record);
}

void VXCommonInterface::cloud_device_workrecord(QJsonObject body)
{
    if (!m_cloud)
        return;
    m_cloud->customRequest(QStringLiteral("device_work_records"), "POST", body, NimbraCloud::Completion());
}
