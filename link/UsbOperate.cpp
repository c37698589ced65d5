// SPDX-License-Identifier: LGPL-2.1-or-later
#include "UsbOperate.h"

#include <QPointer>
#include <QSerialPort>

UsbOperate::UsbOperate(QObject *parent)
    : QObject(parent)
    , m_port(new QSerialPort(this))
{
    connect(m_port, &QSerialPort::readyRead, this, &UsbOperate::onReadyRead);
    connect(m_port, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) { onError(error); });
}

UsbOperate::~UsbOperate()
{
    // Closing on the way out is not news for anyone.
    m_port->blockSignals(true);
    m_port->close();
}

void UsbOperate::usbConnect(QString path, ConnectionMode mode, bool flag)
{
    if (m_port->isOpen()) {
        m_port->close();
        emit statusChanged(0);
    }
    m_port->setPortName(path);
    m_port->setBaudRate(QSerialPort::Baud115200);
    m_port->setDataBits(QSerialPort::Data8);
    m_port->setParity(QSerialPort::NoParity);
    m_port->setStopBits(QSerialPort::OneStop);
    m_port->setFlowControl(flag ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);

    const QIODevice::OpenMode openMode = mode == ReadOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite;
    if (!m_port->open(openMode)) {
        m_port->clearError();
        // 2 reports the error; the 0 after it says the port is closed, which
        // it is, so the device can be connected again (a mistyped path would
        // otherwise leave it in the error state for good).
        const QPointer<UsbOperate> alive(this);
        emit statusChanged(2);
        if (alive)
            emit statusChanged(0);
        return;
    }
    emit statusChanged(1);
}

void UsbOperate::send(QString data)
{
    if (!m_port->isOpen() || !m_port->isWritable())
        return;
    const QByteArray bytes = data.toUtf8();
    m_port->write(bytes);
    emit writeData(bytes);
}

void UsbOperate::close()
{
    if (!m_port->isOpen())
        return;
    m_port->close();
    emit statusChanged(0);
}

bool UsbOperate::isOpen() const
{
    return m_port->isOpen();
}

void UsbOperate::onReadyRead()
{
    const QByteArray bytes = m_port->readAll();
    if (!bytes.isEmpty())
        emit readData(bytes);
}

void UsbOperate::onError(int error)
{
    // A vanished device (or a pty whose master closed) keeps the descriptor
    // readable and Qt reports a read error on every pass: close on the first.
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!m_port->isOpen())
        return;
    m_port->close();
    m_port->clearError();
    emit statusChanged(0);
}
