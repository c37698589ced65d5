#include "VXDeviceProperty.h"

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

void VXDeviceProperty::setValue(const QVariant &v)
{
    // Going back to the previous value is silent: an editor read back
    // unchanged must not look like an edit.
    if (v == m_previous) {
        m_value = v;
        return;
    }
    if (v == m_value)
        return;
    m_previous = m_value;
    m_value = v;
    emit valueChanged();
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
