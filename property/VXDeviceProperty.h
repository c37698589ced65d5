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

/// \file
/// The records a device object holds: settings, readings, commands, jobs.

/// One setting, reading, command or job of the machine.
///
/// Devices and groups hold records as dynamic properties named by key whose
/// value is a void*; VXDeviceInterface::property_ptr() and property_ptr()
/// here find them. A record knows its value, its label (translated into the
/// system's language), its unit, how it travels on the wire (cmd_type(), the
/// command numbers) and which editor a host shows for it (param(), a JSON
/// description such as {"widget":"QSpinBox","min":10,"max":700}).
///
/// To write a setting: setValue(), then
/// VXDeviceInterface::sendCMD(set_cmd_bytes()); a CCMD record reports the
/// machine's acknowledgement through retStatus(). To read one:
/// sendCMD(get_cmd_bytes()); the answer is stored without a signal.
class VXDEVICE_EXPORT VXDeviceProperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
public:
    using CMDType = VXDeviceInterface::VXDeviceCMDType;

    explicit VXDeviceProperty(QObject *parent = nullptr);
    /// Copies the fields (param included); no registrations, no editor.
    VXDeviceProperty(const VXDeviceProperty &other);
    ~VXDeviceProperty() override;

    /// Sets every field at once: the first value, the label and unit shown,
    /// the command numbers to read and to write, the number of values the
    /// command carries, how it travels, and the editor description.
    bool init(QVariant value, QString label, QString uint, int get_cmd_int, int set_cmd_int,
              int cmd_len, VXDeviceInterface::VXDeviceCMDType cmd_type, QStringList param);

    // Hosts built from the declarations alone link against these out-of-line
    // symbols (value() const; the accessors below without const), so each is
    // defined in the library; the const twins serve our own const callers.
    /// The current value: what was set, or what the machine answered last.
    const QVariant &value() const;
    /// The value before the last setValue().
    const QVariant &previousValue() const { return m_previous; }
    /// Stores a value and emits valueChanged(); sends nothing.
    void setValue(const QVariant &v);
    /// Reply decoding stores without the setValue rule and without a signal.
    void assignDecoded(const QVariant &v) { m_value = v; }
    /// Hands the machine's acknowledgement of a write to retStatus().
    void ret_Status(int ret);

    /// The command number that reads this record.
    int get_cmd_int();
    /// The command number that writes this record.
    int set_cmd_int();
    /// How many values the command carries.
    int cmd_len();
    /// How the record travels on the wire.
    VXDeviceInterface::VXDeviceCMDType cmd_type();
    /// The label to show, already translated.
    QString label();
    /// The unit to show after the value, e.g. "(mm/s)" (the name is historic).
    QString uint();
    /// The editor description: a JSON object per entry.
    QStringList param();
    int get_cmd_int() const { return m_get_cmd_int; }
    int set_cmd_int() const { return m_set_cmd_int; }
    int cmd_len() const { return m_cmd_len; }
    VXDeviceInterface::VXDeviceCMDType cmd_type() const { return m_cmd_type; }
    QString label() const { return m_label; }
    QString uint() const { return m_unit; }
    QStringList param() const { return m_param; }
    /// True when the text cannot travel inside a CMD, CCMD or NUM body: a ";"
    /// or "," would split it into extra items, STX/ETX would cut the frame.
    static bool breaksCommandBody(const QString &text);

    /// Member of a group (or record of a device) registered under name.
    VXDeviceProperty *property_ptr(const char *name) const;
    /// The lookup rule on any holder: invalid -> null, void* -> pointer,
    /// anything else converted to void* when QVariant can, else null.
    static VXDeviceProperty *lookup(const QObject *holder, const char *name);
    /// Registers record under key on holder (a device or a group), non-owning.
    static void attach(QObject *holder, const char *key, VXDeviceProperty *record);
    /// Group members: dynamic property names in insertion order that resolve.
    QList<VXDeviceProperty *> members() const;

    /// The frame that asks the machine for this record's value.
    QByteArray get_cmd_bytes() const;
    /// The frame that writes the current value to the machine.
    QByteArray set_cmd_bytes() const;
    /// A whole frame around body, for this record's command type.
    QByteArray pack(QString body, QString name) const;
    /// Stores the value(s) of an answer from the machine (no signal).
    void set_decode(QString text);
    /// \overload
    void set_decode(QStringList values);

    /// Creates the editor param() describes as a child of parent, with the
    /// label (and the unit when show_unit). GUI thread only, as the two below.
    void create_ui_ctrl(QWidget *parent, QString name, bool show_unit);
    /// Shows the current value in the editor.
    void to_ui_ctrl();
    /// Takes the editor's value with setValue() (scaled back by its factor).
    void from_ui_ctrl();

signals:
    /// After setValue(); not after an answer from the machine.
    void valueChanged();
    /// The machine's acknowledgement of a CCMD write.
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
