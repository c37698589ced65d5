// SPDX-License-Identifier: LGPL-2.1-or-later
// Command texts and reply decoding of a record.
#include "VXDeviceProperty.h"
#include "RecordAnswer.h"
#include "VXFrame.h"

namespace {
// Multi-word CMD values: low 16 bits, high 16 bits, then zero words.
constexpr int MaxWords = 6;
}

QByteArray VXDeviceProperty::pack(QString body, QString name) const
{
    // Local 8-bit code page for the payload; the length digits are ASCII.
    return VXFrame::build(name.toLocal8Bit(), body.toLocal8Bit());
}

QByteArray VXDeviceProperty::get_cmd_bytes() const
{
    if (m_cmd_type == VXDeviceInterface::UnCMD || m_cmd_len == 0 || m_get_cmd_int == 0)
        return QByteArray();

    QString body;
    switch (m_cmd_type) {
    case VXDeviceInterface::CMD:
        body = QStringLiteral("GET");
        for (int i = 0; i < m_cmd_len; ++i)
            body += QString::number(m_get_cmd_int + i) + QLatin1Char(';');
        return pack(body, QStringLiteral("CMD"));
    case VXDeviceInterface::CCMD:
        body = QString::number(m_get_cmd_int);
        for (const QString &p : m_param)
            body += QLatin1Char(',') + p;
        body += QLatin1Char(';');
        return pack(body, QStringLiteral("CCMD"));
    default:
        return QByteArray();
    }
}

QByteArray VXDeviceProperty::set_cmd_bytes() const
{
    if (m_cmd_type == VXDeviceInterface::UnCMD || m_set_cmd_int == 0)
        return QByteArray();

    const QString v = m_value.toString();
    // Items of CMD, CCMD and NUM bodies have no quoting: "AB;12,3" written as
    // a value would reach the machine as an extra item and a wrong value, so
    // such a write is not built at all. Plot bodies go as given.
    const bool itemBody = m_cmd_type == VXDeviceInterface::CMD
                          || m_cmd_type == VXDeviceInterface::CCMD
                          || m_cmd_type == VXDeviceInterface::NUM;
    if (itemBody && breaksCommandBody(v))
        return QByteArray();
    QString body;
    switch (m_cmd_type) {
    case VXDeviceInterface::CCMD: {
        const QStringList keys = m_value.toStringList();
        body = QString::number(m_set_cmd_int);
        if (keys.size() < 2) {
            body += QLatin1Char(',');
            for (const QString &p : m_param) {
                if (breaksCommandBody(p))
                    return QByteArray();
                body += p + QLatin1Char(',');
            }
            body += v + QLatin1Char(';');
        } else {
            // A compound writes its members' values in key order.
            for (const QString &key : keys) {
                if (VXDeviceProperty *member = property_ptr(key.toLatin1().constData())) {
                    const QString memberValue = member->value().toString();
                    if (breaksCommandBody(memberValue))
                        return QByteArray();
                    body += QLatin1Char(',') + memberValue;
                }
            }
            body += QLatin1Char(';');
        }
        return pack(body, QStringLiteral("CCMD"));
    }
    case VXDeviceInterface::CMD:
        body = QStringLiteral("SET");
        if (m_cmd_len <= 1) {
            body += QString::number(m_get_cmd_int) + QLatin1Char(':') + v + QLatin1Char(';');
        } else {
            if (m_cmd_len > MaxWords)
                return QByteArray();
            // toUInt turns a negative value into its 32-bit two's complement.
            const quint32 u = m_value.toUInt();
            const quint32 words[MaxWords] = {u & 0xFFFFu, u >> 16, 0, 0, 0, 0};
            for (int i = 0; i < m_cmd_len; ++i)
                body += QString::number(m_set_cmd_int + i) + QLatin1Char(':')
                        + QString::number(words[i]) + QLatin1Char(';');
        }
        return pack(body, QStringLiteral("CMD"));
    case VXDeviceInterface::NUM:
        return pack(QStringLiteral("NUM:") + v + QLatin1Char(';'), QStringLiteral("CMD"));
    case VXDeviceInterface::PLT:
        return pack(v, QStringLiteral("PLT"));
    case VXDeviceInterface::PPLT:
        return pack(v, QStringLiteral("PPLT"));
    case VXDeviceInterface::QRPLT:
        return pack(v, QStringLiteral("QR_PLT"));
    default:
        return QByteArray();
    }
}

void VXDeviceProperty::set_decode(QString text)
{
    // The current variant type steers the reading; other types stay as they are.
    switch (m_value.userType()) {
    case QMetaType::QString:
        m_value = text;
        break;
    case QMetaType::UInt:
        m_value = text.toUInt(nullptr, 10);
        break;
    case QMetaType::Int:
        m_value = text.toInt(nullptr, 10);
        break;
    case QMetaType::Double:
        m_value = text.toDouble();
        break;
    default:
        return;
    }
    VXRecordAnswer::tell(this);
}

void VXDeviceProperty::set_decode(QStringList values)
{
    if (values.isEmpty())
        return;
    if (values.size() < 2) {
        set_decode(values.first());
        return;
    }

    if (m_cmd_type == VXDeviceInterface::CMD) {
        const quint32 lo = values.at(0).toUShort(nullptr, 10);
        const quint32 hi = values.at(1).toUShort(nullptr, 10);
        m_value = QVariant(int(lo | (hi << 16)));
        VXRecordAnswer::tell(this);
        return;
    }
    if (m_cmd_type != VXDeviceInterface::CCMD)
        return;

    const QStringList keys = m_value.toStringList();
    if (keys.isEmpty()) {
        // A scalar: the reply repeats the parameters, then carries the value.
        const int k = m_param.size();
        if (values.size() <= k)
            return;
        for (int i = 0; i < k; ++i) {
            if (values.at(i) != m_param.at(i))
                return;
        }
        set_decode(values.at(k));
        return;
    }
    // A compound: value i goes to member i; a short reply fills fewer members.
    const int n = qMin(keys.size(), values.size());
    for (int i = 0; i < n; ++i) {
        if (VXDeviceProperty *member = property_ptr(keys.at(i).toLatin1().constData()))
            member->set_decode(QStringList{values.at(i)});
    }
}
