// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/VXDeviceInterface.h"

#include <QObject>
#include <QVariant>
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <QList>

class QWidget;

// One setting, reading, command or job of the machine. Devices and groups
// hold records as dynamic properties named by key whose value is a void*.
class VXDEVICE_EXPORT VXDeviceProperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
public:
    using CMDType = VXDeviceInterface::VXDeviceCMDType;

    explicit VXDeviceProperty(QObject *parent = nullptr);
    // Copies the fields (param included); no registrations, no editor.
    VXDeviceProperty(const VXDeviceProperty &other);
    ~VXDeviceProperty() override;

    bool init(QVariant value, QString label, QString uint, int get_cmd_int, int set_cmd_int,
              int cmd_len, VXDeviceInterface::VXDeviceCMDType cmd_type, QStringList param);

    // Hosts built from the declarations alone link against these out-of-line
    // symbols (value() const; the accessors below without const), so each is
    // defined in the library; the const twins serve our own const callers.
    const QVariant &value() const;
    const QVariant &previousValue() const { return m_previous; }
    void setValue(const QVariant &v);
    // Reply decoding stores without the setValue rule and without a signal.
    void assignDecoded(const QVariant &v) { m_value = v; }
    void ret_Status(int ret);

    int get_cmd_int();
    int set_cmd_int();
    int cmd_len();
    VXDeviceInterface::VXDeviceCMDType cmd_type();
    QString label();
    QString uint();
    QStringList param();
    int get_cmd_int() const { return m_get_cmd_int; }
    int set_cmd_int() const { return m_set_cmd_int; }
    int cmd_len() const { return m_cmd_len; }
    VXDeviceInterface::VXDeviceCMDType cmd_type() const { return m_cmd_type; }
    QString label() const { return m_label; }
    QString uint() const { return m_unit; }
    QStringList param() const { return m_param; }
    // True when the text cannot travel inside a CMD, CCMD or NUM body: a ";"
    // or "," would split it into extra items, STX/ETX would cut the frame.
    static bool breaksCommandBody(const QString &text);

    // Member of a group (or record of a device) registered under name.
    VXDeviceProperty *property_ptr(const char *name) const;
    // The lookup rule on any holder: invalid -> null, void* -> pointer,
    // anything else converted to void* when QVariant can, else null.
    static VXDeviceProperty *lookup(const QObject *holder, const char *name);
    // Registers record under key on holder (a device or a group), non-owning.
    static void attach(QObject *holder, const char *key, VXDeviceProperty *record);
    // Group members: dynamic property names in insertion order that resolve.
    QList<VXDeviceProperty *> members() const;

    // Command codec.
    QByteArray get_cmd_bytes() const;
    QByteArray set_cmd_bytes() const;
    QByteArray pack(QString body, QString name) const;
    void set_decode(QString text);
    void set_decode(QStringList values);

    // Editors (GUI thread).
    void create_ui_ctrl(QWidget *parent, QString name, bool show_unit);
    void to_ui_ctrl();
    void from_ui_ctrl();

signals:
    void valueChanged();
    void retStatus(int ret);

private:
    // The fields a host allocates from its own declaration, in its order: add
    // nothing here (state a record needs beyond them lives outside it).
    QVariant m_value;
    QVariant m_previous;
    int m_get_cmd_int = 0;
    int m_set_cmd_int = 0;
    int m_cmd_len = 0;
    QString m_label;
    QString m_unit;
    VXDeviceInterface::VXDeviceCMDType m_cmd_type = VXDeviceInterface::UnCMD;
    QStringList m_param;
};
