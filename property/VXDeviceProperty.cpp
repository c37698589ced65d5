// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXDeviceProperty.h"

#include <QEvent>

#include <cstring>

VXDeviceProperty::VXDeviceProperty(QObject *parent)
    : QObject(parent)
    , m_label(QLatin1String(""))
    , m_unit(QLatin1String(""))
{
}

VXDeviceProperty::VXDeviceProperty(const VXDeviceProperty &other)
    : QObject(nullptr)
    , m_value(other.m_value)
    , m_previous(other.m_previous)
    , m_get_cmd_int(other.m_get_cmd_int)
    , m_set_cmd_int(other.m_set_cmd_int)
    , m_cmd_len(other.m_cmd_len)
    , m_label(other.m_label)
    , m_unit(other.m_unit)
    , m_cmd_type(other.m_cmd_type)
    , m_param(other.m_param)
{
}

VXDeviceProperty::~VXDeviceProperty() = default;

bool VXDeviceProperty::init(QVariant value, QString label, QString uint, int get_cmd_int,
                            int set_cmd_int, int cmd_len, VXDeviceInterface::VXDeviceCMDType cmd_type,
                            QStringList param)
{
    m_value = value;
    m_previous = value;
    m_label = label;
    m_unit = uint;
    m_get_cmd_int = get_cmd_int;
    m_set_cmd_int = set_cmd_int;
    m_cmd_len = cmd_len;
    m_cmd_type = cmd_type;
    m_param = param;
    return true;
}

const QVariant &VXDeviceProperty::value() const { return m_value; }
int VXDeviceProperty::get_cmd_int() { return m_get_cmd_int; }
int VXDeviceProperty::set_cmd_int() { return m_set_cmd_int; }
int VXDeviceProperty::cmd_len() { return m_cmd_len; }
VXDeviceInterface::VXDeviceCMDType VXDeviceProperty::cmd_type() { return m_cmd_type; }
QString VXDeviceProperty::label() { return m_label; }
QString VXDeviceProperty::uint() { return m_unit; }
QStringList VXDeviceProperty::param() { return m_param; }

void VXDeviceProperty::setValue(const QVariant &v)
{
    // Only the current value decides: comparing with the previous one made an
    // edit back to it (45 -> 50 -> 45, or back to what stood before a reply
    // changed the value) silent, and the machine kept the other value. An
    // equal value is still stored, silently, so an editor read back unchanged
    // leaves its own type (int, double, text) without looking like an edit.
    if (v == m_value) {
        m_value = v;
        return;
    }
    m_previous = m_value;
    m_value = v;
    emit valueChanged();
}

bool VXDeviceProperty::breaksCommandBody(const QString &text)
{
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == ';' || u == ',' || u == 0x02 || u == 0x03)
            return true;
    }
    return false;
}

void VXDeviceProperty::ret_Status(int ret)
{
    emit retStatus(ret);
}

VXDeviceProperty *VXDeviceProperty::lookup(const QObject *holder, const char *name)
{
    if (!holder || !name)
        return nullptr;
    const QVariant v = holder->property(name);
    if (!v.isValid())
        return nullptr;
    if (v.userType() == QMetaType::VoidStar)
        return static_cast<VXDeviceProperty *>(v.value<void *>());
    QVariant converted = v;
    if (!converted.convert(QMetaType::VoidStar))
        return nullptr;
    return static_cast<VXDeviceProperty *>(converted.value<void *>());
}

VXDeviceProperty *VXDeviceProperty::property_ptr(const char *name) const
{
    // "UI_CTRL" holds a widget's address, never a record.
    if (name && std::strcmp(name, "UI_CTRL") == 0)
        return nullptr;
    return lookup(this, name);
}

void VXDeviceProperty::attach(QObject *holder, const char *key, VXDeviceProperty *record)
{
    holder->setProperty(key, QVariant::fromValue(static_cast<void *>(record)));
    // Holders that cache their records (the reply dispatch) learn of changes
    // from this event; setProperty delivers it only through an application
    // object and past every event filter, so tell the holder directly too.
    QDynamicPropertyChangeEvent changed(key);
    holder->event(&changed);
}

QList<VXDeviceProperty *> VXDeviceProperty::members() const
{
    QList<VXDeviceProperty *> result;
    const QList<QByteArray> names = dynamicPropertyNames();
    for (const QByteArray &name : names) {
        if (VXDeviceProperty *member = property_ptr(name.constData()))
            result.append(member);
    }
    return result;
}
