#include "VXCommonInterface.h"
#include "UsbOperate.h"

#include <QEvent>
#include <QMutexLocker>
#include <QTcpSocket>

void VXCommonInterface::decode_buffer()
{
    QByteArray frame;
    while (m_receive.next(frame))
        decode_cmd(QString::fromUtf8(frame));
}

void VXCommonInterface::decode_cmd(QString frame)
{
    decode_common(frame, frame.split(QLatin1Char(';'), Qt::KeepEmptyParts));
}

void VXCommonInterface::decode_cmd(QString item, QString &name, int &number, QString &value)
{
    // Positions in the Latin-1 bytes and in the text coincide (one byte per
    // UTF-16 unit), so the value is taken from the text and keeps non-Latin-1
    // characters intact.
    const QByteArray bytes = item.toLatin1();
    const int colon = bytes.lastIndexOf(':');
    int letters = 0;
    while (letters < bytes.size() && bytes.at(letters) >= 'A' && bytes.at(letters) <= 'Z')
        ++letters;
    name = item.left(letters);
    value = colon < 0 ? item : item.mid(colon + 1);
    const int end = colon < 0 ? bytes.size() : colon;
    number = end > letters ? bytes.mid(letters, end - letters).toInt() : 0;
}

void VXCommonInterface::decode_common(const QString &frame, const QStringList &parts)
{
    if (parts.size() < 3)
        return;

    const QString &kindText = parts.at(1);
    VXDeviceCMDType kind;
    if (kindText == QLatin1String("CMD"))
        kind = CMD;
    else if (kindText == QLatin1String("CCMD"))
        kind = CCMD;
    else
        return;

    int number = 0;
    QStringList values;
    if (kind == CMD) {
        QString name, value;
        for (int i = 2; i < parts.size() - 1; ++i) {
            int itemNumber = 0;
            decode_cmd(parts.at(i), name, itemNumber, value);
            if (i == 2)
                number = itemNumber;
            values.append(value);
        }
    } else {
        const QString &item = parts.at(2);
        const QStringList fields = item.split(QLatin1Char(','), Qt::KeepEmptyParts);
        number = fields.at(0).toInt();
        if (number == 66) {
            if (frame == m_lastJobReport)
                return;
            m_lastJobReport = frame;
            decode_task(item);
            return;
        }
        if (number == 11 || number == 55) {
            emit message(Qrcode, fields.last());
            return;
        }
        if (fields.size() < 2 || fields.at(1).toInt() != 0)
            return;
        values = fields.mid(2);
    }

    // Writes of 27 (cutting quality) and 125 (job control) are acknowledged
    // by the machine with values that are not the record's value.
    // 0 on a record means "no such command": a reply numbered 0 (or with no
    // number at all) must not land in the first record lacking a read number.
    if (values.isEmpty() || number == 0 || number == 27 || number == 125)
        return;

    // A local copy: a slot reached from set_decode/ret_Status may re-register.
    const QVector<VXDeviceProperty *> records = dispatchRecords();
    for (VXDeviceProperty *record : records) {
        if (!record)
            return;
        if (record->cmd_type() != kind
            || (number != record->get_cmd_int() && number != record->set_cmd_int()))
            continue;
        const QStringList param = record->param();
        if (!param.isEmpty()
            && (values.size() != param.size() + 1 || values.last() == QLatin1String("0")))
            return;
        record->set_decode(values);
        return;
    }
}

const QVector<VXDeviceProperty *> &VXCommonInterface::dispatchRecords()
{
    if (!m_dispatchValid) {
        // QObject finds a dynamic property by a linear name search, so looking
        // every key up per frame would cost keys squared; resolve them once.
        m_dispatchRecords.clear();
        const QList<QByteArray> names = dynamicPropertyNames();
        m_dispatchRecords.reserve(names.size());
        for (const QByteArray &name : names) {
            VXDeviceProperty *record = property_ptr(name.constData());
            m_dispatchRecords.append(record);
            if (!record)
                break;
        }
        m_receiveStamp = property_ptr("LAST_TIEM");
        m_dispatchValid = true;
    }
    return m_dispatchRecords;
}

VXDeviceProperty *VXCommonInterface::receiveStamp()
{
    dispatchRecords();
    return m_receiveStamp;
}

bool VXCommonInterface::event(QEvent *e)
{
    if (e->type() == QEvent::DynamicPropertyChange)
        m_dispatchValid = false;
    return VXDeviceInterface::event(e);
}

void VXCommonInterface::sendCMD(QByteArray frame)
{
    if (frame.isEmpty())
        return;
    send_cmd(frame);
}

void VXCommonInterface::send_cmd(QByteArray frame)
{
    VXDeviceProperty *mode = property_ptr("CONNECT_MODE");
    VXDeviceProperty *status = property_ptr("STATUS");
    if (!mode || !status || frame.isEmpty())
        return;
    switch (status->value().toInt()) {
    case Idle:
    case Working:
    case Pause:
        break;
    default:
        return;
    }

    QMutexLocker lock(&m_sendMutex);
    if (mode->value().toString() == QLatin1String("TCP")) {
        if (m_tcp)
            m_tcp->write(frame);
    } else if (m_usb) {
        m_usb->send(QString::fromUtf8(frame));
    }
}
