// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once
// What a host compiled elsewhere has of this plugin: the two classes exactly
// as declared for hosts, nothing of this project included, no moc run over
// this file. Everything it names must resolve in the shipped library, and
// VXDeviceProperty's fields must occupy what the library's record occupies,
// since a host may create records itself.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>

class NimbraCloud;
class QWidget;
class VXDeviceProperty;

class Q_DECL_IMPORT VXDeviceInterface : public QObject
{
    Q_OBJECT
public:
    enum VXDeviceStatus { DisConnected = 0, Idle = 1, Working = 2, Pause = 3, Warning = 4, Error = 5 };
    Q_ENUM(VXDeviceStatus)
    enum VXDeviceMessage { DevStatus = 0, DevTasK = 1, Qrcode = 2 };
    Q_ENUM(VXDeviceMessage)
    enum VXDeviceCMDType { UnCMD = 0, CCMD = 1, CMD = 2, NUM = 3, PLT = 4, PPLT = 5, QRPLT = 6 };
    Q_ENUM(VXDeviceCMDType)

    VXDeviceInterface(QObject *parent);
    virtual ~VXDeviceInterface();

    virtual VXDeviceInterface *initInstance();
    virtual void setUSBPath(QString path);
    virtual void setIPAddress(QString address);
    virtual bool connectDevice();
    virtual VXDeviceProperty *property_ptr(const char *key);
    virtual QStringList userProperty();
    virtual QStringList sysProperty();
    virtual void sendCMD(QByteArray frame);
    virtual void setNimbraCloud(NimbraCloud *cloud, QString code);
    virtual void startTask();
    virtual void stopTask();
    virtual void move(int a, int b);
    virtual int icon();
    virtual void setPlt(QString plt);

    static QString buildDate();

signals:
    void message(VXDeviceMessage kind, QString text);
};

Q_DECLARE_INTERFACE(VXDeviceInterface, "Vexa.nimbra.vxdeviceinterface")

class Q_DECL_IMPORT VXDeviceProperty : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
public:
    VXDeviceProperty(QObject *parent = nullptr);
    VXDeviceProperty(const VXDeviceProperty &other);
    ~VXDeviceProperty();

    bool init(QVariant value, QString label, QString uint, int get_cmd_int, int set_cmd_int,
              int cmd_len, VXDeviceInterface::VXDeviceCMDType cmd_type, QStringList param);
    const QVariant &value() const;
    void setValue(const QVariant &v);
    void ret_Status(int ret);

    int get_cmd_int();
    int set_cmd_int();
    int cmd_len();
    VXDeviceInterface::VXDeviceCMDType cmd_type();
    QString label();
    QString uint();
    QStringList param();

    VXDeviceProperty *property_ptr(const char *name) const;

    QByteArray get_cmd_bytes() const;
    QByteArray set_cmd_bytes() const;
    QByteArray pack(QString body, QString name) const;
    void set_decode(QString text);
    void set_decode(QStringList values);

    void create_ui_ctrl(QWidget *parent, QString name, bool show_unit);
    void to_ui_ctrl();
    void from_ui_ctrl();

signals:
    void valueChanged();
    void retStatus(int ret);

private:
    QVariant m_value;
    QVariant m_previous;
    int m_get_cmd_int;
    int m_set_cmd_int;
    int m_cmd_len;
    QString m_label;
    QString m_uint;
    VXDeviceInterface::VXDeviceCMDType m_cmd_type;
    QStringList m_param;
};
