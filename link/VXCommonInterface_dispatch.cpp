// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXCommonInterface.h"
#include "ItemSplit.h"
#include "UsbOperate.h"

#include <QEvent>
#include <QMutexLocker>
#include <QTcpSocket>

#include <utility>

void VXCommonInterface::decode_buffer()
{
    // A host may delete the device from a handler of a signal raised while a
    // frame is decoded (message, retStatus, valueChanged): the rest of the
    // chunk then has no device to go to.
    const QPointer<VXCommonInterface> alive(this);
    QByteArray frame;
    while (m_receive.next(frame)) {
        decode_cmd(QString::fromUtf8(frame));
        if (!alive)
            return;
    }
}

void VXCommonInterface::decode_cmd(QString frame)
{
    decode_common(frame, vxlink::splitItems(frame, QLatin1Char(';')));
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
    QVector<QStringRef> refs;
    refs.reserve(parts.size());
    for (const QString &part : parts)
        refs.append(QStringRef(&part));
    decode_common(frame, refs);
}

void VXCommonInterface::decode_common(const QString &frame, const QVector<QStringRef> &parts)
{
    // Items are read in place: a frame that matches no record (most of them)
    // costs no string of its own, and the values are copied out only for the
    // record that takes them.
    if (parts.size() < 3)
        return;

    const QStringRef &kindText = parts.at(1);
    VXDeviceCMDType kind;
    if (kindText == QLatin1String("CMD"))
        kind = CMD;
    else if (kindText == QLatin1String("CCMD"))
        kind = CCMD;
    else
        return;

    int number = 0;
    QVector<QStringRef> values;
    if (kind == CMD) {
        // Items between the kind and the closing ';': the first one's number
        // picks the record, each item's text after its last ':' is a value.
        if (parts.size() < 4)
            return;
        QString name, value;
        decode_cmd(parts.at(2).toString(), name, number, value);
        values.reserve(parts.size() - 3);
        for (int i = 2; i < parts.size() - 1; ++i) {
            const QStringRef &item = parts.at(i);
            values.append(vxlink::piece(item, item.lastIndexOf(QLatin1Char(':')) + 1));
        }
    } else {
        const QStringRef &item = parts.at(2);
        const QVector<QStringRef> fields = vxlink::splitItems(item, QLatin1Char(','));
        number = fields.at(0).toInt();
        if (number == 66) {
            // Within one job a repeated report is news to no one; the memory
            // is cleared when a job starts and when the link comes up, so the
            // same refusal for the next job still arrives.
            if (frame == m_lastJobReport)
                return;
            m_lastJobReport = frame;
            decode_task(item.toString());
            return;
        }
        if (number == 11 || number == 55) {
            emit message(Qrcode, fields.last().toString());
            return;
        }
        // Number, result, then values: a two-field reply (number, value) has
        // no result field and so no values here; the model's first pass is
        // the one that gives those to a record.
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

    VXDeviceProperty *record = replyRecord(kind, number);
    if (!record)
        return;
    const QStringList param = record->param();
    if (!param.isEmpty()
        && (values.size() != param.size() + 1 || values.last() == QLatin1String("0")))
        return;
    QStringList texts;
    texts.reserve(values.size());
    for (const QStringRef &value : values)
        texts.append(value.toString());
    record->set_decode(texts);
}

VXDeviceProperty *VXCommonInterface::replyRecord(VXDeviceCMDType kind, int number, bool *cut)
{
    if (cut)
        *cut = false;
    // Keys in attachment order; a key without a record ends the search (it
    // always has), and the first record of the kind whose read or write
    // number matches takes the reply.
    for (VXDeviceProperty *record : dispatchRecords()) {
        if (!record) {
            if (cut)
                *cut = true;
            return nullptr;
        }
        if (record->cmd_type() == kind
            && (number == record->get_cmd_int() || number == record->set_cmd_int()))
            return record;
    }
    return nullptr;
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

bool VXCommonInterface::sendOpen()
{
    VXDeviceProperty *mode = property_ptr("CONNECT_MODE");
    VXDeviceProperty *status = property_ptr("STATUS");
    if (!mode || !status)
        return false;
    switch (status->value().toInt()) {
    case Idle:
    case Working:
    case Pause:
        return true;
    default:
        return false;
    }
}

void VXCommonInterface::send_cmd(QByteArray frame)
{
    if (frame.isEmpty() || !sendOpen())
        return;
    QMutexLocker lock(&m_sendMutex);
    if (property_ptr("CONNECT_MODE")->value().toString() == QLatin1String("TCP")) {
        // A frame sent while a plot is going out follows it, as it would
        // follow it in the socket's buffer.
        if (!m_outStream.atEnd())
            m_outQueue.append(frame);
        else if (m_tcp)
            m_tcp->write(frame);
    } else if (m_usb) {
        m_usb->send(QString::fromUtf8(frame));
    }
}

void VXCommonInterface::pumpStream()
{
    while (m_tcp && !m_outStream.atEnd() && m_tcp->bytesToWrite() < StreamAhead) {
        if (m_tcp->write(m_outStream.next()) < 0)
            m_outStream = FrameStream();
    }
    if (!m_outStream.atEnd())
        return;
    const QList<QByteArray> queued = std::exchange(m_outQueue, {});
    for (const QByteArray &frame : queued) {
        if (m_tcp)
            m_tcp->write(frame);
    }
}

void VXCommonInterface::slot_tcp_bytes_written()
{
    QMutexLocker lock(&m_sendMutex);
    if (!m_outStream.atEnd())
        pumpStream();
}
