// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../interface/vxdevice_global.h"

#include <QObject>
#include <QByteArray>
#include <QString>

class QSerialPort;

// USB transport: a serial device (USB CDC, USB-serial adapter or a
// pseudo-terminal) opened with Qt SerialPort, raw 8N1 at 115200 baud (a CDC
// device ignores the rate). path is a device node such as /dev/ttyACM0 or a
// port name such as ttyUSB0.
// statusChanged: 1 open, 2 the open failed (followed by 0), 0 closed (by close() or because
// the device went away: unplugged, or the far end of a pty closed).
// send() writes data.toUtf8(), so ASCII frames reach the wire byte for byte.
class VXDEVICE_EXPORT UsbOperate : public QObject
{
    Q_OBJECT
public:
    // How the device is opened. The link always asks for ReadWrite (2);
    // ReadOnly (1) listens without sending, and send() then does nothing.
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
    void onReadyRead();
    void onError(int error);

    QSerialPort *m_port = nullptr;
};
