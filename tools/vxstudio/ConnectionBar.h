// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// Where to connect (a USB serial device or IP and port) and the link state
// as the device reports it.
class ConnectionBar : public QWidget
{
    Q_OBJECT
public:
    enum class LinkState { Disconnected, Connecting, Connected, Error };
    Q_ENUM(LinkState)

    explicit ConnectionBar(QWidget *parent = nullptr);

    bool usbSelected() const;
    QString usbPath() const;
    QString host() const;
    int port() const;
    void setTcpTarget(const QString &host, int port);
    void setUsbTarget(const QString &path);
    LinkState linkState() const { return m_linkState; }

public slots:
    void refreshPorts();
    void setLinkState(ConnectionBar::LinkState state, const QString &text);

signals:
    void connectRequested();
    void disconnectRequested();

private:
    void updateModeWidgets();

    QRadioButton *m_usbMode = nullptr;
    QRadioButton *m_tcpMode = nullptr;
    QComboBox *m_ports = nullptr;
    QPushButton *m_refresh = nullptr;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QPushButton *m_connect = nullptr;
    QPushButton *m_disconnect = nullptr;
    QLabel *m_lamp = nullptr;
    QLabel *m_state = nullptr;
    LinkState m_linkState = LinkState::Disconnected;
};
