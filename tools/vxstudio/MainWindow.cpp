#include "MainWindow.h"

#include "JobPanel.h"
#include "JogPad.h"
#include "SettingsPanel.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

MainWindow::MainWindow(VXDeviceInterface *factory, QWidget *parent)
    : QMainWindow(parent)
    , m_factory(factory)
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
    resize(1360, 900);

    connect(m_connection, &ConnectionBar::connectRequested, this, &MainWindow::connectSelected);
    connect(m_connection, &ConnectionBar::disconnectRequested, this, &MainWindow::disconnectDevice);
    connect(m_settings, &SettingsPanel::logMessage, this, &MainWindow::log);
    connect(m_jog, &JogPad::logMessage, this, &MainWindow::log);
    connect(m_job, &JobPanel::logMessage, this, &MainWindow::log);

    renewDevice();
}

MainWindow::~MainWindow()
{
    releaseDevice();
}

void MainWindow::releaseDevice()
{
    if (!m_device)
        return;
    // Destroying the device closes its socket, which still reports through
    // message(): nobody here should hear it.
    disconnect(m_device, nullptr, this, nullptr);
    m_settings->setDevice(nullptr);
    m_jog->setDevice(nullptr);
    m_job->setDevice(nullptr);
    delete m_device.data();
}

void MainWindow::renewDevice()
{
    releaseDevice();
    m_device = m_factory ? m_factory->initInstance() : nullptr;
    if (!m_device) {
        setWindowTitle(QStringLiteral("vxstudio"));
        log(tr("The plugin made no device object."));
        return;
    }
    connect(m_device, &VXDeviceInterface::message, this,
            [this](VXDeviceInterface::VXDeviceMessage kind, const QString &text) { onMessage(kind, text); });
    m_settings->setDevice(m_device);
    m_jog->setDevice(m_device);
    m_job->setDevice(m_device);

    QString name;
    if (VXDeviceProperty *model = m_device->property_ptr("DEVICE_MODEL_NAME"))
        name = model->value().toString();
    setWindowTitle(name.isEmpty() ? QStringLiteral("vxstudio")
                                  : QStringLiteral("vxstudio — %1").arg(name));
    m_connection->setLinkState(ConnectionBar::LinkState::Disconnected, tr("Not connected"));
}

bool MainWindow::beginConnect()
{
    bool fresh = m_device && !m_device->property_ptr("USB") && !m_device->property_ptr("TCP");
    if (fresh) {
        VXDeviceProperty *status = m_device->property_ptr("STATUS");
        fresh = !status || status->value().toInt() == VXDeviceInterface::DisConnected;
    }
    if (!fresh)
        renewDevice();
    return m_device;
}

void MainWindow::connectTcp(const QString &host, int port)
{
    m_connection->setTcpTarget(host, port);
    if (host.isEmpty() || !beginConnect())
        return;
    m_device->setIPAddress(host);
    if (VXDeviceProperty *p = m_device->property_ptr("TCP_PORT"))
        p->setValue(port);
    const QString target = QStringLiteral("%1:%2").arg(host).arg(port);
    // Before connecting: a transport may report the outcome from inside
    // connectDevice(), and that report must win.
    m_connection->setLinkState(ConnectionBar::LinkState::Connecting, tr("Connecting to %1…").arg(target));
    log(tr("Connecting to %1.").arg(target));
    if (!m_device->connectDevice())
        m_connection->setLinkState(ConnectionBar::LinkState::Error, tr("Connection refused"));
}

void MainWindow::connectUsb(const QString &path)
{
    m_connection->setUsbTarget(path);
    if (path.isEmpty() || !beginConnect())
        return;
    m_device->setUSBPath(path);
    m_connection->setLinkState(ConnectionBar::LinkState::Connecting, tr("Opening %1…").arg(path));
    log(tr("Opening %1.").arg(path));
    if (!m_device->connectDevice())
        m_connection->setLinkState(ConnectionBar::LinkState::Error, tr("Connection refused"));
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
    renewDevice();
    log(tr("Disconnected."));
}

void MainWindow::onMessage(int kind, const QString &text)
{
    switch (kind) {
    case VXDeviceInterface::DevStatus: {
        log(text);
        bool known = false;
        const ConnectionBar::LinkState state = ConnectionBar::stateFromMessage(text, &known);
        if (!known)
            return;
        m_connection->setLinkState(state, text);
        m_jog->setEnabled(state == ConnectionBar::LinkState::Connected);
        statusBar()->showMessage(text);
        if (state == ConnectionBar::LinkState::Connected)
            m_settings->readFromMachine();
        return;
    }
    case VXDeviceInterface::DevTasK:
        m_job->handleReport(text);
        return;
    case VXDeviceInterface::Qrcode:
        log(tr("QR code: %1").arg(text));
        return;
    default:
        return;
    }
}

void MainWindow::log(const QString &text)
{
    m_log->appendPlainText(QStringLiteral("%1  %2")
                           .arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")), text));
}
