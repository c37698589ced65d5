// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "interface/VXDeviceInterface.h"

#include <QPointer>
#include <QWidget>

class QPushButton;

// Jogs the carriage while an arrow is held (move words, stopped on release)
// and sets or returns to the origin.
class JogPad : public QWidget
{
    Q_OBJECT
public:
    explicit JogPad(QWidget *parent = nullptr);

    // Disabled until the window enables it on a live link: jog words sent
    // offline are dropped without trace.
    void setDevice(VXDeviceInterface *device);

public slots:
    // dy drives Y, dx drives X: only the sign counts, 0 stops that axis.
    void jog(int dy, int dx);
    void stop();
    void setOrigin();
    void returnToOrigin();

signals:
    void logMessage(const QString &text);

private:
    QPushButton *arrow(const QString &name, const QString &text, const QString &tip, int dy, int dx);
    void sendWrite(const char *key);

    QPointer<VXDeviceInterface> m_device;
};
