#pragma once

#include "../interface/vxdevice_global.h"

#include <QObject>
#include <QByteArray>
#include <QString>

class QSerialPort;

// USB transport: a serial device (USB CDC, USB-serial adapter or a
// pseudo-terminal) opened with Qt SerialPort.
// statusChanged: 1 open, 2 error, 0 closed.
class VXDEVICE_EXPORT UsbOperate : public QObject
{
    Q_OBJECT
public:
    // How the device is opened. The link always asks for ReadWrite (2).
    enum ConnectionMode { ReadOnly = 1, ReadWrite = 2 };
    Q_ENUM(ConnectionMode)

    explicit UsbOperate(QObject *parent = nullptr);
    ~UsbOperate() override;

    // flag: true asks for hardware (RTS/CTS) flow control; the link passes false.
    void usbConnect(QString path, ConnectionMode mode, bool flag);
    void send(QString data);
    void close();
    bool isOpen() const;

signals:
    void readData(QByteArray data);
    void statusChanged(int status);
    void writeData(QByteArray data);

private:
    QSerialPort *m_port = nullptr;
};
