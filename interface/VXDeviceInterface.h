// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "vxdevice_global.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QByteArray>

class NimbraCloud;
class VXDeviceProperty;

/// \file
/// The interface a host loads the plugin through.

/// The one type a host works through.
///
/// Every device object (the plugin's root object and each object
/// initInstance() returns) is one. The host loads the plugin with
/// QPluginLoader, casts its root object with qobject_cast to this interface,
/// and asks the root object for a device object with initInstance(); the
/// root object itself is only a factory.
///
/// Everything the device has to say arrives through the message() signal:
/// link events ("TCP CONNECTED.", "TCP DISCONNECTED.", "USB CONNECTED.",
/// "USB ERROR.", "USB DISCONNECTED."), status changes and job reports. The
/// settings, readings and commands are VXDeviceProperty records found by key
/// with property_ptr().
///
/// The order of the virtual operations below is part of the binary contract
/// with hosts: append, never reorder.
class VXDEVICE_EXPORT VXDeviceInterface : public QObject
{
    Q_OBJECT
public:
    /// The machine's state, as the record "STATUS" holds it. Frames are sent
    /// only in Idle, Working and Pause; in the other states sendCMD() drops
    /// them without a word.
    enum VXDeviceStatus { DisConnected = 0, Idle = 1, Working = 2, Pause = 3, Warning = 4, Error = 5 };
    Q_ENUM(VXDeviceStatus)
    /// What a message() is about: the link or the machine's state
    /// (DevStatus), a job report that updated "TASK" (DevTasK), or a sheet's
    /// QR code (Qrcode).
    enum VXDeviceMessage { DevStatus = 0, DevTasK = 1, Qrcode = 2 };
    Q_ENUM(VXDeviceMessage)
    /// How a record travels on the wire: not at all (UnCMD), as a numbered
    /// command with an acknowledgement (CCMD), a plain command (CMD), a
    /// number (NUM), or as plot data (PLT, PPLT, QRPLT).
    enum VXDeviceCMDType { UnCMD = 0, CCMD = 1, CMD = 2, NUM = 3, PLT = 4, PPLT = 5, QRPLT = 6 };
    Q_ENUM(VXDeviceCMDType)

    // Registers VXDeviceStatus as "VXDeviceInterface::VXDeviceStatus" and the
    // signal's enumeration under its short name, before any host asks.
    explicit VXDeviceInterface(QObject *parent = nullptr);
    ~VXDeviceInterface() override;

    /// A new device object with every record of the model registered, not
    /// connected. Called on the plugin's root object; the caller owns the
    /// result and deletes it before unloading the plugin.
    virtual VXDeviceInterface *initInstance();                       // 1
    /// Chooses the USB (serial) transport: the device file to open, e.g.
    /// /dev/ttyUSB0.
    virtual void setUSBPath(QString path);                           // 2
    /// Chooses the TCP transport: the machine's address; the port is the
    /// record "TCP_PORT".
    virtual void setIPAddress(QString address);                      // 3
    /// Starts connecting over the transport chosen last. Returns at once;
    /// the outcome arrives through message() ("TCP CONNECTED.",
    /// "TCP DISCONNECTED.", "USB CONNECTED.", "USB ERROR.").
    virtual bool connectDevice();                                    // 4
    /// The record registered under key, or null.
    virtual VXDeviceProperty *property_ptr(const char *key);         // 5
    /// The keys of the settings a person edits, in display order. A key
    /// without a record (a group heading) is skipped.
    virtual QStringList userProperty();                              // 6
    /// The keys of the machine's identity and fixed values (model, firmware,
    /// numbers, work area), for an information page.
    virtual QStringList sysProperty();                               // 7
    /// Sends one frame, e.g. VXDeviceProperty::get_cmd_bytes() to read a
    /// setting or set_cmd_bytes() to write one. Dropped silently unless
    /// "STATUS" is Idle, Working or Pause. An answer is stored in its record
    /// without a signal.
    virtual void sendCMD(QByteArray frame);                          // 8
    /// Registers the machine with the cloud service under the user's code;
    /// the device record lands in "DEVICE_CLOUD". Null cloud: no cloud.
    virtual void setNimbraCloud(NimbraCloud *cloud, QString code);   // 9
    /// Sends the job: the copies ("TASK_COPIES"), then the plot set with
    /// setPlt(). Fill "TASK_FILE_INFO" and "FILE_PREVIEW" first. Each job
    /// report updates "TASK" and emits message(DevTasK, ...).
    virtual void startTask();                                        // 10
    /// Ends the job on the host's side: posts the work record to the cloud
    /// when at least one copy finished. Sends nothing to the machine; write
    /// "TASK_STOP" to stop it there.
    virtual void stopTask();                                         // 11
    /// Jogs the carriage: a is the Y step, b the X step, written to
    /// "MOVE_Y" and "MOVE_X" (a zero step is still sent).
    virtual void move(int a, int b);                                 // 12
    /// The code point of the model's icon in the host's icon font, for its
    /// machine list.
    virtual int icon();                                              // 13
    /// The plot (HP-GL text) the next startTask() sends, stored in
    /// "TASK_PPLT" (or "TASK_PLT" on a model without it).
    virtual void setPlt(QString plt);                                // 14

    /// "yyyy - MM - dd" of the compiler's __DATE__.
    static QString buildDate();
    /// The parsing behind buildDate(), for a given "Mmm dd yyyy" text.
    static QString formatBuildDate(const QString &compilerDate);

    /// Registers record under key on this device object, which then owns it.
    /// A record already under that key is unregistered but kept alive (as a
    /// child) until the device dies: a host may still hold its address.
    void attachRecord(const char *key, VXDeviceProperty *record);

signals:
    /// Everything the device reports: kind says what about, text is the
    /// link event or the state in words (see the class description).
    ///
    /// Declared with the unqualified enumeration: hosts connect with
    /// SIGNAL(message(VXDeviceMessage,QString)), and the string signature is
    /// the one written here.
    void message(VXDeviceMessage kind, QString text);

protected:
    /// Deletes every attached record once and removes its dynamic property.
    void releaseRecords();
};

Q_DECLARE_INTERFACE(VXDeviceInterface, "Vexa.nimbra.vxdeviceinterface")
