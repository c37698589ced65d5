// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ConnectionBar.h"
#include "Failure.h"
#include "LinkMessage.h"
#include "interface/VXDeviceInterface.h"

#include <QMainWindow>
#include <QPointer>

class QDockWidget;
class QLabel;
class QPlainTextEdit;
class DeviceSession;
class JobPanel;
class JogPad;
class ProductionPanel;
class SettingsPanel;

// The desktop host: one device object of the plugin, the design in the
// middle, its settings, jog pad, job and production panels docked around it. factory is the plugin's root object; it only makes device
// objects and must outlive the window.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(VXDeviceInterface *factory, QWidget *parent = nullptr);
    ~MainWindow() override;

    VXDeviceInterface *device() const;
    DeviceSession *session() const { return m_session; }
    ConnectionBar *connectionBar() const { return m_connection; }
    SettingsPanel *settings() const { return m_settings; }
    JogPad *jogPad() const { return m_jog; }
    JobPanel *jobPanel() const { return m_job; }
    ProductionPanel *production() const { return m_production; }

public slots:
    void connectTcp(const QString &host, int port);
    void connectUsb(const QString &path);
    void connectSelected();
    void disconnectDevice();
    void log(const QString &text);

private:
    void buildDocks();
    QWidget *scrolled(QWidget *content);
    QDockWidget *dock(const QString &title, const char *name, QWidget *content);
    void onLinkEvent(LinkMessage::Event event, const QString &text);
    void onDeviceChanged(VXDeviceInterface *device);
    void onConnectFailed(const Failure &failure);

    DeviceSession *m_session = nullptr;
    ConnectionBar *m_connection = nullptr;
    SettingsPanel *m_settings = nullptr;
    JogPad *m_jog = nullptr;
    JobPanel *m_job = nullptr;
    QPlainTextEdit *m_log = nullptr;
    ProductionPanel *m_production = nullptr;
    QLabel *m_position = nullptr;
};
