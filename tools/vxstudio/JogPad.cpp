// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JogPad.h"

#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

JogPad::JogPad(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QGroupBox(this);   // the dock names it
    box->setFlat(true);
    auto *grid = new QGridLayout;
    grid->addWidget(arrow(QStringLiteral("jogYPlus"), QStringLiteral("▲"), tr("Y+"), 1, 0), 0, 1);
    grid->addWidget(arrow(QStringLiteral("jogXMinus"), QStringLiteral("◀"), tr("X−"), 0, -1), 1, 0);
    grid->addWidget(arrow(QStringLiteral("jogXPlus"), QStringLiteral("▶"), tr("X+"), 0, 1), 1, 2);
    grid->addWidget(arrow(QStringLiteral("jogYMinus"), QStringLiteral("▼"), tr("Y−"), -1, 0), 2, 1);
    auto *stopButton = new QPushButton(QStringLiteral("■"), box);
    stopButton->setObjectName(QStringLiteral("jogStop"));
    stopButton->setToolTip(tr("Stop moving"));
    stopButton->setFixedSize(44, 44);
    grid->addWidget(stopButton, 1, 1);
    connect(stopButton, &QPushButton::clicked, this, &JogPad::stop);

    auto *origin = new QPushButton(tr("Set origin"), box);
    origin->setObjectName(QStringLiteral("setOrigin"));
    auto *back = new QPushButton(tr("Return to origin"), box);
    back->setObjectName(QStringLiteral("returnOrigin"));
    connect(origin, &QPushButton::clicked, this, &JogPad::setOrigin);
    connect(back, &QPushButton::clicked, this, &JogPad::returnToOrigin);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addLayout(grid);
    boxLayout->addWidget(origin);
    boxLayout->addWidget(back);
    boxLayout->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    setEnabled(false);
}

QPushButton *JogPad::arrow(const QString &name, const QString &text, const QString &tip, int dy, int dx)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setFixedSize(44, 44);
    // The machine keeps moving until told to stop: move while held only.
    connect(b, &QPushButton::pressed, this, [this, dy, dx] { jog(dy, dx); });
    connect(b, &QPushButton::released, this, &JogPad::stop);
    return b;
}

void JogPad::setDevice(VXDeviceInterface *device)
{
    m_device = device;
    setEnabled(false);
}

void JogPad::jog(int dy, int dx)
{
    if (m_device)
        m_device->move(dy, dx);
}

void JogPad::stop()
{
    jog(0, 0);
}

void JogPad::sendWrite(const char *key)
{
    VXDeviceProperty *record = m_device ? m_device->property_ptr(key) : nullptr;
    if (!record)
        return;
    m_device->sendCMD(record->set_cmd_bytes());
}

void JogPad::setOrigin()
{
    sendWrite("FLAG_POINT");
    emit logMessage(tr("Origin set at the current position."));
}

void JogPad::returnToOrigin()
{
    sendWrite("BACK_FLAG_POINT");
    emit logMessage(tr("Returning to the origin."));
}
