// SPDX-License-Identifier: LGPL-2.1-or-later
#include "MainWindow.h"

#include "JobPanel.h"
#include "JogPad.h"
#include "NestPanel.h"
#include "ProductionPanel.h"
#include "SettingsPanel.h"
#include "DeviceSession.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QAction>
#include <QDateTime>
#include <QDockWidget>
#include <QLocale>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QToolBar>
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
    buildDocks();

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
    QDockWidget *productionDock = dock(tr("Production"), "productionDock", scrolled(m_production));
    tabifyDockWidget(findChild<QDockWidget *>(QStringLiteral("designDock")), productionDock);
    // Nesting too: parts read with the design options, a nest cut on this session.
    auto *nest = new NestPanel(m_session, this);
    nest->setObjectName(QStringLiteral("nestPanel"));
    nest->setOptionsPanel(m_job->optionsPanel());
    tabifyDockWidget(productionDock, dock(tr("Nest"), "nestDock", scrolled(nest)));
    connect(nest, &NestPanel::logMessage, this, &MainWindow::log);
    findChild<QDockWidget *>(QStringLiteral("designDock"))->raise();
    connect(m_production, &ProductionPanel::logMessage, this, &MainWindow::log);
    if (Failure f = m_session->renewDevice()) {
        setWindowTitle(QStringLiteral("vxstudio"));
        log(tr("The plugin made no device object."));
    }
}

QWidget *MainWindow::scrolled(QWidget *content)
{
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    return scroll;
}

QDockWidget *MainWindow::dock(const QString &title, const char *name, QWidget *content)
{
    auto *d = new QDockWidget(title, this);
    d->setObjectName(QLatin1String(name));
    d->setWidget(content);
    d->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    return d;
}

// The design is what the operator looks at: it takes the middle, and every
// panel docks around it, scrolling rather than pushing the window past a
// laptop's screen. Every panel stays reachable (no close button: a closed
// dock is a panel an operator cannot find again).
void MainWindow::buildDocks()
{
    auto *connection = new QToolBar(tr("Connection"), this);
    connection->setObjectName(QStringLiteral("connectionToolBar"));
    connection->setMovable(false);
    connection->addWidget(m_connection);
    addToolBar(Qt::TopToolBarArea, connection);

    DesignView *view = m_job->designView();
    setCentralWidget(view);
    auto *viewBar = new QToolBar(tr("View"), this);
    viewBar->setObjectName(QStringLiteral("viewToolBar"));
    viewBar->addAction(tr("Zoom in"), view, &DesignView::zoomIn)->setShortcut(QKeySequence::ZoomIn);
    viewBar->addAction(tr("Zoom out"), view, &DesignView::zoomOut)->setShortcut(QKeySequence::ZoomOut);
    viewBar->addAction(tr("Fit"), view, &DesignView::fit)->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_0));
    addToolBar(Qt::TopToolBarArea, viewBar);
    m_position = new QLabel(this);
    m_position->setObjectName(QStringLiteral("cursorPosition"));
    statusBar()->addPermanentWidget(m_position);
    connect(view, &DesignView::positionText, m_position, &QLabel::setText);

    QDockWidget *settings = dock(tr("Machine settings"), "settingsDock", m_settings);
    QDockWidget *info = dock(tr("Machine information"), "infoDock", m_settings->infoBox());
    QDockWidget *jog = dock(tr("Jog"), "jogDock", scrolled(m_jog));
    addDockWidget(Qt::LeftDockWidgetArea, settings);
    // On a laptop the settings need the whole height: the jog pad and the
    // machine's information wait behind a tab.
    const QSize room = screen() ? screen()->availableGeometry().size() : QSize(1366, 768);
    const bool tall = room.height() >= 950;
    if (tall)
        splitDockWidget(settings, jog, Qt::Vertical);
    else
        tabifyDockWidget(settings, jog);
    tabifyDockWidget(jog, info);
    (tall ? jog : settings)->raise();

    auto *design = new QWidget(this);
    auto *designLayout = new QVBoxLayout(design);
    designLayout->addWidget(m_job->optionsPanel());
    designLayout->addWidget(m_job->toolsPanel());
    designLayout->addStretch(1);
    QDockWidget *job = dock(tr("Job"), "jobDock", scrolled(m_job));
    QDockWidget *options = dock(tr("Design options"), "designDock", scrolled(design));
    addDockWidget(Qt::RightDockWidgetArea, job);
    splitDockWidget(job, options, Qt::Vertical);
    QDockWidget *log = dock(tr("Log"), "logDock", m_log);
    addDockWidget(Qt::BottomDockWidgetArea, log);

    // Fits the screen it opens on, from a 1366 x 768 laptop up.
    resize(room.boundedTo(QSize(2560, 1600)));
    // The settings' rows (caption, editor, unit) want the wider side.
    resizeDocks({settings, job}, {qBound(400, width() * 30 / 100, 480), qBound(320, width() / 4, 420)},
                Qt::Horizontal);
    if (tall)
        resizeDocks({settings, jog}, {height() / 2, height() / 4}, Qt::Vertical);
    // The job panel takes what it needs; the options the rest.
    const int jobHeight = qMax(320, m_job->minimumSizeHint().height() + 40);
    resizeDocks({job, options}, {jobHeight, height() - jobHeight}, Qt::Vertical);
    resizeDocks({log}, {qBound(80, height() / 8, 160)}, Qt::Vertical);
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
