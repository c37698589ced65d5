// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ConnectionBar.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QSpinBox>

ConnectionBar::ConnectionBar(QWidget *parent)
    : QWidget(parent)
{
    m_usbMode = new QRadioButton(tr("USB"), this);
    m_usbMode->setObjectName(QStringLiteral("usbMode"));
    m_tcpMode = new QRadioButton(tr("Network"), this);
    m_tcpMode->setObjectName(QStringLiteral("tcpMode"));
    auto *modes = new QButtonGroup(this);
    modes->addButton(m_usbMode);
    modes->addButton(m_tcpMode);
    m_tcpMode->setChecked(true);

    // Editable: a pseudo-terminal or an unlisted device path can be typed in.
    m_ports = new QComboBox(this);
    m_ports->setObjectName(QStringLiteral("usbPorts"));
    m_ports->setEditable(true);
    m_ports->setMinimumContentsLength(16);
    m_refresh = new QPushButton(tr("Refresh"), this);

    m_host = new QLineEdit(QStringLiteral("127.0.0.1"), this);
    m_host->setObjectName(QStringLiteral("host"));
    m_host->setPlaceholderText(tr("IP address"));
    // Squeezed by the dock, the address shrank to its last digits.
    m_host->setMinimumWidth(m_host->fontMetrics().horizontalAdvance(QStringLiteral("255.255.255.255")) + 16);
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setRange(1, 65535);
    m_port->setValue(9100);

    m_connect = new QPushButton(tr("Connect"), this);
    m_connect->setObjectName(QStringLiteral("connect"));
    m_disconnect = new QPushButton(tr("Disconnect"), this);
    m_disconnect->setObjectName(QStringLiteral("disconnect"));
    m_lamp = new QLabel(this);
    m_lamp->setFixedSize(14, 14);
    m_state = new QLabel(this);
    m_state->setObjectName(QStringLiteral("linkState"));
    m_state->setMinimumWidth(160);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->addWidget(m_usbMode);
    row->addWidget(m_ports, 2);
    row->addWidget(m_refresh);
    row->addSpacing(12);
    row->addWidget(m_tcpMode);
    row->addWidget(m_host, 2);
    row->addWidget(new QLabel(tr("Port"), this));
    row->addWidget(m_port);
    row->addSpacing(12);
    row->addWidget(m_connect);
    row->addWidget(m_disconnect);
    row->addSpacing(12);
    row->addWidget(m_lamp);
    row->addWidget(m_state, 1);

    connect(m_refresh, &QPushButton::clicked, this, &ConnectionBar::refreshPorts);
    connect(m_usbMode, &QRadioButton::toggled, this, &ConnectionBar::updateModeWidgets);
    connect(m_connect, &QPushButton::clicked, this, &ConnectionBar::connectRequested);
    connect(m_disconnect, &QPushButton::clicked, this, &ConnectionBar::disconnectRequested);

    refreshPorts();
    setLinkState(LinkState::Disconnected, tr("Not connected"));
}

bool ConnectionBar::usbSelected() const
{
    return m_usbMode->isChecked();
}

QString ConnectionBar::usbPath() const
{
    // The list shows descriptions; the item data is the device path. A typed
    // text that matches no item is taken as a path.
    const int i = m_ports->findText(m_ports->currentText());
    if (i >= 0 && m_ports->itemData(i).isValid())
        return m_ports->itemData(i).toString();
    return m_ports->currentText().trimmed();
}

QString ConnectionBar::host() const
{
    return m_host->text().trimmed();
}

int ConnectionBar::port() const
{
    return m_port->value();
}

void ConnectionBar::setTcpTarget(const QString &host, int port)
{
    m_host->setText(host);
    m_port->setValue(port);
    m_tcpMode->setChecked(true);
}

void ConnectionBar::setUsbTarget(const QString &path)
{
    m_ports->setCurrentText(path);
    m_usbMode->setChecked(true);
}

void ConnectionBar::refreshPorts()
{
    const QString current = m_ports->currentText();
    m_ports->clear();
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        const QString text = info.description().isEmpty()
                ? info.systemLocation()
                : QStringLiteral("%1 (%2)").arg(info.systemLocation(), info.description());
        m_ports->addItem(text, info.systemLocation());
    }
    if (!current.isEmpty())
        m_ports->setCurrentText(current);
    updateModeWidgets();
}

void ConnectionBar::updateModeWidgets()
{
    const bool usb = m_usbMode->isChecked();
    m_ports->setEnabled(usb);
    m_refresh->setEnabled(usb);
    m_host->setEnabled(!usb);
    m_port->setEnabled(!usb);
}

void ConnectionBar::setLinkState(ConnectionBar::LinkState state, const QString &text)
{
    m_linkState = state;
    m_state->setText(text);
    QColor lamp;
    switch (state) {
    case LinkState::Connected: lamp = QColor(0x2e, 0xa0, 0x43); break;
    case LinkState::Connecting: lamp = QColor(0xd9, 0xa4, 0x06); break;
    case LinkState::Error: lamp = QColor(0xcf, 0x22, 0x2e); break;
    case LinkState::Disconnected: lamp = QColor(0x8c, 0x95, 0x9f); break;
    }
    m_lamp->setStyleSheet(QStringLiteral("background:%1;border-radius:7px;").arg(lamp.name()));
    const bool busy = state == LinkState::Connected || state == LinkState::Connecting;
    m_connect->setEnabled(!busy);
    m_disconnect->setEnabled(state != LinkState::Disconnected);
    m_usbMode->setEnabled(!busy);
    m_tcpMode->setEnabled(!busy);
    if (busy) {
        m_ports->setEnabled(false);
        m_refresh->setEnabled(false);
        m_host->setEnabled(false);
        m_port->setEnabled(false);
    } else {
        updateModeWidgets();
    }
}
