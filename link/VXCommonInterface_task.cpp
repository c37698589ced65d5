// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXCommonInterface.h"
#include "ItemSplit.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMutexLocker>
#include <QTcpSocket>

#include <cmath>
#include <limits>

namespace {

// Percent arrives as a decimal text ("57.9"); a hostile "nan" or "1e30"
// must not reach an int conversion, which is undefined for them.
int truncatedPercent(const QStringRef &text)
{
    const double v = std::trunc(text.toDouble());
    if (!std::isfinite(v))
        return 0;
    if (v >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(v);
}

// Jog word: 100 steps, bit 15 selects the positive direction.
int jogWord(int direction)
{
    if (direction < 0)
        return 100;
    if (direction == 0)
        return 0;
    return 0x8000 | 100;
}

} // namespace

void VXCommonInterface::startTask()
{
    // A new job: the machine may well repeat the last job's report word for
    // word (the same refusal), and that must reach "TASK" this time.
    m_lastJobReport.clear();
    VXDeviceProperty *modeRecord = property_ptr("TASK_MODE");
    const int mode = modeRecord ? modeRecord->value().toInt() : 0;
    if (mode == 0) {
        VXDeviceProperty *copies = property_ptr("TASK_COPIES");
        if (!copies)
            return;
        sendCMD(copies->set_cmd_bytes());
        VXDeviceProperty *plt = property_ptr("TASK_PLT");
        if (!plt)
            return;
        send_plot(plt);
    } else if (mode == 1) {
        VXDeviceProperty *copies = property_ptr("QRCODE_COPIES");
        if (!copies)
            return;
        sendCMD(copies->set_cmd_bytes());
    }

    const QDateTime now = QDateTime::currentDateTime();
    VXDeviceProperty *start = property_ptr("TASK_START_TIME");
    if (!start) {
        start = new VXDeviceProperty;
        start->init(now, QString(""), QString(""), 0, 0, 0, UnCMD, QStringList());
        attachRecord("TASK_START_TIME", start);
    }
    start->setValue(now);
}

void VXCommonInterface::send_plot(VXDeviceProperty *record)
{
    const char *kind = nullptr;
    switch (record->cmd_type()) {
    case PLT:
        kind = "PLT";
        break;
    case PPLT:
        kind = "PPLT";
        break;
    case QRPLT:
        kind = "QR_PLT";
        break;
    default:
        break;
    }
    VXDeviceProperty *mode = property_ptr("CONNECT_MODE");
    const bool tcp = mode && mode->value().toString() == QLatin1String("TCP");
    // USB takes whole frames; a record that does not write a plot frames as
    // it always has.
    if (!kind || record->set_cmd_int() == 0 || !tcp) {
        sendCMD(record->set_cmd_bytes());
        return;
    }
    if (!sendOpen())
        return;
    QMutexLocker lock(&m_sendMutex);
    if (!m_tcp)
        return;
    if (!m_outStream.atEnd()) {
        // Another plot is still going out: this one waits whole behind it.
        m_outQueue.append(record->set_cmd_bytes());
        return;
    }
    m_outStream = FrameStream(kind, record->value().toString());
    pumpStream();
}

void VXCommonInterface::stopTask()
{
    device_task_record_to_cloud();
    if (VXDeviceProperty *start = property_ptr("TASK_START_TIME"))
        start->setValue(QDateTime());
    if (VXDeviceProperty *task = property_ptr("TASK")) {
        QJsonObject job = task->value().toJsonObject();
        job.insert(QStringLiteral("Status"), 0);
        job.insert(QStringLiteral("FileName"), QString(""));
        job.insert(QStringLiteral("TaskCopies"), 0);
        job.insert(QStringLiteral("Finished"), 0);
        job.insert(QStringLiteral("Percent"), 100);
        task->setValue(job);
    }
}

void VXCommonInterface::decode_task(QString item)
{
    VXDeviceProperty *task = property_ptr("TASK");
    QJsonObject job;
    if (task) {
        job = task->value().toJsonObject();
    } else {
        task = new VXDeviceProperty;
        task->init(QJsonObject(), tr("当前任务"), QString(""), 0, 0, 0, UnCMD, QStringList());
        attachRecord("TASK", task);
    }

    // Fields: 66, status, file name, copies, finished, percent, then three
    // not read. A comma inside the file name shifts them; taken as it comes.
    const QVector<QStringRef> fields = vxlink::splitItems(item, QLatin1Char(','));
    if (fields.size() < 9)
        return;
    job.insert(QStringLiteral("Status"), fields.at(1).toInt());
    job.insert(QStringLiteral("FileName"), fields.at(2).toString());
    job.insert(QStringLiteral("TaskCopies"), fields.at(3).toInt());
    job.insert(QStringLiteral("Finished"), fields.at(4).toInt());
    job.insert(QStringLiteral("Percent"), truncatedPercent(fields.at(5)));
    // Handlers of either signal may delete this device.
    const QPointer<VXCommonInterface> alive(this);
    task->setValue(job);
    if (!alive)
        return;
    emit message(DevTasK, item);
    if (!alive)
        return;
    // The Runtime snapshot carries the preview as base64: not built for every
    // report when there is no remote channel to take it.
    if (m_webSocket)
        device_task_to_cloud();
}

void VXCommonInterface::move(int a, int b)
{
    if (VXDeviceProperty *y = property_ptr("MOVE_Y")) {
        y->setValue(jogWord(a));
        sendCMD(y->set_cmd_bytes());
    }
    if (VXDeviceProperty *x = property_ptr("MOVE_X")) {
        x->setValue(jogWord(b));
        sendCMD(x->set_cmd_bytes());
    }
}
