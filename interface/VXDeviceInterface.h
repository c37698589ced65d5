// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "vxdevice_global.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QByteArray>

class NimbraCloud;
class VXDeviceProperty;

// The one type a host works through. Every device object (the plugin's root
// object and each object initInstance() returns) is one. The order of the
// virtual operations below is part of the binary contract with hosts: append,
// never reorder.
class VXDEVICE_EXPORT VXDeviceInterface : public QObject
{
    Q_OBJECT
public:
    enum VXDeviceStatus { DisConnected = 0, Idle = 1, Working = 2, Pause = 3, Warning = 4, Error = 5 };
    Q_ENUM(VXDeviceStatus)
    enum VXDeviceMessage { DevStatus = 0, DevTasK = 1, Qrcode = 2 };
    Q_ENUM(VXDeviceMessage)
    enum VXDeviceCMDType { UnCMD = 0, CCMD = 1, CMD = 2, NUM = 3, PLT = 4, PPLT = 5, QRPLT = 6 };
    Q_ENUM(VXDeviceCMDType)

    // Registers VXDeviceStatus as "VXDeviceInterface::VXDeviceStatus" and the
    // signal's enumeration under its short name, before any host asks.
    explicit VXDeviceInterface(QObject *parent = nullptr);
    ~VXDeviceInterface() override;

    virtual VXDeviceInterface *initInstance();                       // 1
    virtual void setUSBPath(QString path);                           // 2
    virtual void setIPAddress(QString address);                      // 3
    virtual bool connectDevice();                                    // 4
    virtual VXDeviceProperty *property_ptr(const char *key);         // 5
    virtual QStringList userProperty();                              // 6
    virtual QStringList sysProperty();                               // 7
    virtual void sendCMD(QByteArray frame);                          // 8
    virtual void setNimbraCloud(NimbraCloud *cloud, QString code);   // 9
    virtual void startTask();                                        // 10
    virtual void stopTask();                                         // 11
    virtual void move(int a, int b);                                 // 12
    virtual int icon();                                              // 13
    virtual void setPlt(QString plt);                                // 14

    // "yyyy - MM - dd" of the compiler's __DATE__.
    static QString buildDate();
    // The parsing behind buildDate(), for a given "Mmm dd yyyy" text.
    static QString formatBuildDate(const QString &compilerDate);

    // Registers record under key on this device object, which then owns it.
    // A record already under that key is unregistered but kept alive (as a
    // child) until the device dies: a host may still hold its address.
    void attachRecord(const char *key, VXDeviceProperty *record);

signals:
    // Declared with the unqualified enumeration: hosts connect with
    // SIGNAL(message(VXDeviceMessage,QString)), and the string signature is
    // the one written here.
    void message(VXDeviceMessage kind, QString text);

protected:
    // Deletes every attached record once and removes its dynamic property.
    void releaseRecords();
};

Q_DECLARE_INTERFACE(VXDeviceInterface, "Vexa.nimbra.vxdeviceinterface")
