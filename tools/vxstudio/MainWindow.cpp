// SPDX-License-Identifier: LGPL-2.1-or-later
#include "MainWindow.h"

#include "JobPanel.h"
#include "JogPad.h"
#include "ProductionPanel.h"
#include "SettingsPanel.h"
#include "DeviceSession.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLocale>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(VXDeviceInterface *factory, QWidget *parent)
    : QMainWindow(parent)
{
    m_connection = new ConnectionBar(this);
    m_settings = new SettingsPanel(this);
    m_job = new JobPanel(this);
    m_jog = new JogPad(this);
    m_log = new QPlainTextEdit(this);
    m_log->setObjectName(QStringLiteral("activityLog"));
    m_log->setReadOnly(true);
    m_log->setMaximumBlockCount(2000);
    m_log->setMaximumHeight(120);

    // Settings take the full height on the left; the job, the jog pad and
    // the machine's information share the right.
    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_job, 3);
    auto *lower = new QHBoxLayout;
    lower->addWidget(m_jog);
    lower->addWidget(m_settings->infoBox(), 1);
    rightLayout->addLayout(lower, 2);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(m_settings);
    split->addWidget(right);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({700, 660});

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_connection);
    layout->addWidget(split, 1);
    layout->addWidget(m_log);
    setCentralWidget(central);
    // Room for the production dock beside the settings and the job.
    resize(1680, 960);

    connect(m_connection, &ConnectionBar::connectRequested, this, &MainWindow::connectSelected);
    connect(m_connection, &ConnectionBar::disconnectRequested, this, &MainWindow::disconnectDevice);
    connect(m_settings, &SettingsPanel::logMessage, this, &MainWindow::log);
    connect(m_jog, &JogPad::logMessage, this, &MainWindow::log);
    connect(m_job, &JobPanel::logMessage, this, &MainWindow::log);
    connect(m_job, &JobPanel::reconnecting, this, [this](int attempt) {
        if (attempt > 0)
            m_connection->setLinkState(ConnectionBar::LinkState::Connecting,
                                       tr("Reconnecting (attempt %1)…").arg(QLocale().toString(attempt)));
        else if (attempt < 0)
            m_connection->setLinkState(ConnectionBar::LinkState::Error, tr("The link did not come back"));
        else if (m_session->linkUp())
            m_settings->readFromMachine();
    });

    m_session = new DeviceSession(factory, this);
    connect(m_session, &DeviceSession::deviceAboutToGo, this, [this] {
        m_settings->setSession(nullptr);
        m_jog->setDevice(nullptr);
        m_job->setSession(nullptr);
    });
    connect(m_session, &DeviceSession::deviceChanged, this, &MainWindow::onDeviceChanged);
    connect(m_session, &DeviceSession::linkEvent, this, &MainWindow::onLinkEvent);
    connect(m_session, &DeviceSession::connectFailed, this, &MainWindow::onConnectFailed);
    // A silent machine is the session's finding, not a device message: the
    // bar would otherwise stay green.
    connect(m_session, &DeviceSession::lost, this, [this](const Failure &f) {
        log(f.message);
        if (m_connection->linkState() == ConnectionBar::LinkState::Connected)
            m_connection->setLinkState(ConnectionBar::LinkState::Error, f.message);
        m_jog->setEnabled(false);
    });
    connect(m_session, &DeviceSession::warning, this, &MainWindow::log);
    connect(m_session, &DeviceSession::qrCode, this, [this](const QString &code) { log(tr("QR code: %1").arg(code)); });
    // QR-code production follows the session, not one device object.
    m_production = new ProductionPanel(m_session, this);
    m_production->setOptionsPanel(m_job->optionsPanel());
    auto *productionDock = new QDockWidget(tr("Production"), this);
    productionDock->setObjectName(QStringLiteral("productionDock"));
    productionDock->setWidget(m_production);
    addDockWidget(Qt::RightDockWidgetArea, productionDock);
    connect(m_production, &ProductionPanel::logMessage, this, &MainWindow::log);
    if (Failure f = m_session->renewDevice()) {
        setWindowTitle(QStringLiteral("vxstudio"));
        log(tr("The plugin made no device object."));
    }
}

MainWindow::~MainWindow()
{
    m_session->releaseDevice();
}

VXDeviceInterface *MainWindow::device() const
{
    return m_session->device();
}

void MainWindow::onDeviceChanged(VXDeviceInterface *device)
{
    if (!device)
        return;
    m_settings->setSession(m_session);
    m_jog->setDevice(device);
    m_job->setSession(m_session);
    if (m_job->isReconnecting())
        return;
    QString name;
    if (VXDeviceProperty *model = device->property_ptr("DEVICE_MODEL_NAME"))
        name = model->value().toString();
    setWindowTitle(name.isEmpty() ? QStringLiteral("vxstudio")
                                  : QStringLiteral("vxstudio — %1").arg(name));
    m_connection->setLinkState(ConnectionBar::LinkState::Disconnected, tr("Not connected"));
}

void MainWindow::connectTcp(const QString &host, int port)
{
    m_connection->setTcpTarget(host, port);
    if (host.isEmpty())
        return;
    const QString target = QStringLiteral("%1:%2").arg(host, QString::number(port));
    // The operator's own connection replaces a reconnect under way.
    if (m_job->isReconnecting())
        m_job->stop();
    log(tr("Connecting to %1.").arg(target));
    // A second connection wants a fresh device object, which resets the bar:
    // make it first, then show Connecting before any outcome can arrive.
    if (m_session->state() != DeviceSession::State::Idle)
        m_session->renewDevice();
    m_connection->setLinkState(ConnectionBar::LinkState::Connecting, tr("Connecting to %1…").arg(target));
    if (Failure f = m_session->connectTcp(host, port))
        m_connection->setLinkState(ConnectionBar::LinkState::Error, f.message);
}

void MainWindow::connectUsb(const QString &path)
{
    m_connection->setUsbTarget(path);
    if (path.isEmpty())
        return;
    if (m_job->isReconnecting())
        m_job->stop();
    log(tr("Opening %1.").arg(path));
    if (m_session->state() != DeviceSession::State::Idle)
        m_session->renewDevice();
    m_connection->setLinkState(ConnectionBar::LinkState::Connecting, tr("Opening %1…").arg(path));
    if (Failure f = m_session->connectUsb(path))
        m_connection->setLinkState(ConnectionBar::LinkState::Error, f.message);
}

void MainWindow::connectSelected()
{
    if (m_connection->usbSelected())
        connectUsb(m_connection->usbPath());
    else
        connectTcp(m_connection->host(), m_connection->port());
}

void MainWindow::disconnectDevice()
{
    // The interface has no disconnect: dropping the device object closes its
    // transports.
    if (m_job->isReconnecting())
        m_job->stop();
    m_session->renewDevice();
    log(tr("Disconnected."));
}

void MainWindow::onConnectFailed(const Failure &failure)
{
    m_connection->setLinkState(ConnectionBar::LinkState::Error, failure.message);
    log(failure.message);
}

void MainWindow::onLinkEvent(LinkMessage::Event event, const QString &text)
{
    log(text);
    ConnectionBar::LinkState state;
    switch (event) {
    case LinkMessage::LinkUp: state = ConnectionBar::LinkState::Connected; break;
    case LinkMessage::LinkError: state = ConnectionBar::LinkState::Error; break;
    case LinkMessage::LinkDown:
    case LinkMessage::HeartbeatLost: state = ConnectionBar::LinkState::Disconnected; break;
    default: return;   // the remote channel is not the machine's link
    }
    m_connection->setLinkState(state, text);
    m_jog->setEnabled(state == ConnectionBar::LinkState::Connected);
    statusBar()->showMessage(text);
    // Back under a job: nothing goes to the machine before the job's own
    // identity check says it is the same one.
    if (state == ConnectionBar::LinkState::Connected && !m_job->isReconnecting())
        m_settings->readFromMachine();
}

void MainWindow::log(const QString &text)
{
    m_log->appendPlainText(QStringLiteral("%1  %2")
                           .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), text));
}
