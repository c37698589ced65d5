// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ConnectionBar.h"
#include "DesignView.h"
#include "DeviceSession.h"
#include "JobJournal.h"
#include "JobPanel.h"
#include "JogPad.h"
#include "MainWindow.h"
#include "NestPanel.h"
#include "NestRun.h"
#include "PlotOptionTable.h"
#include "PlotOptionsPanel.h"
#include "ProductionPanel.h"
#include "RecordValue.h"
#include "RecordedOptions.h"
#include "SettingsPanel.h"
#include "ToolsPanel.h"
#include "ToolTranslator.h"
#include "UnreadEditors.h"
#include "VXSimulator.h"
#include "WorkArea.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPluginLoader>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

void setEditor(QWidget *w, const QVariant &v)
{
    if (auto *s = qobject_cast<QSpinBox *>(w))
        s->setValue(v.toInt());
    else if (auto *d = qobject_cast<QDoubleSpinBox *>(w))
        d->setValue(v.toDouble());
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setCurrentIndex(v.toInt());
    else if (auto *e = qobject_cast<QLineEdit *>(w))
        e->setText(v.toString());
}

QVariant editorValue(QWidget *w)
{
    if (auto *s = qobject_cast<QSpinBox *>(w))
        return s->value();
    if (auto *d = qobject_cast<QDoubleSpinBox *>(w))
        return d->value();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentIndex();
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    return {};
}

QString widgetKind(VXDeviceProperty *record)
{
    return record->property("WIDGET").toJsonObject().value(QStringLiteral("widget")).toString();
}

void click(QWidget *root, const char *name)
{
    auto *b = root->findChild<QPushButton *>(QLatin1String(name));
    QVERIFY2(b, name);
    QVERIFY2(b->isEnabled(), name);
    b->click();
}

} // namespace

class TestVxStudio : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void tabPerTabKindProperty();
    void catalogueEditors_data();
    void catalogueEditors();
    void machineInfoReadOnly();
    void unreadSettingsSayNotRead_data();
    void unreadSettingsSayNotRead();
    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void editBackToPreviousValueIsWritten();
    void writeResultsAreShown();
    void offlineActionsAreRefused();
    void jogAndOrigin();
    void usbThenNetworkOnOneWindow();
    void silentMachineIsShown();
    void labelsFollowTheLocale();
    void langReachesThePlugin_data();
    void langReachesThePlugin();
    void fitsALaptopScreen();
    void designsFollowTheOptions_data();
    void designsFollowTheOptions();
    void toolChoicesReplan_data();
    void toolChoicesReplan();
    void loadOffTheWindow_data();
    void loadOffTheWindow();
    void failedOpenIsShown();
    void bigDesignStallProbe();
    void jobEnds_data();
    void jobEnds();
    void production();
    void dropThenResume();
    void nestShown_data();
    void nestShown();
    void nestStopThenCut();

private:
    NestPanel *nestPanel() const;
    QWidget *editor(const char *key) const { return m_window->settings()->editor(QLatin1String(key)); }

    QPluginLoader m_loader;
    VXDeviceInterface *m_factory = nullptr;
    VXSimulator *m_sim = nullptr;
    MainWindow *m_window = nullptr;
    QTemporaryDir m_tmp;
};

void TestVxStudio::initTestCase()
{
    // The window in the language the runs below pick, as the program shows it.
    ToolTranslator::install(QStringLiteral("vxstudio"));
    m_loader.setFileName(QStringLiteral(VX_PLUGIN_FILE));
    m_factory = qobject_cast<VXDeviceInterface *>(m_loader.instance());
    QVERIFY2(m_factory, qPrintable(m_loader.errorString()));

    m_sim = new VXSimulator;
    QVERIFY2(m_sim->start(0), qPrintable(m_sim->errorString()));
    // Every panel takes the journal vxcut would: VX_JOURNAL when set.
    qputenv("VX_JOURNAL", QFile::encodeName(m_tmp.filePath(QStringLiteral("jobs.jsonl"))));
    m_window = new MainWindow(m_factory);
    // Jobs here go to a journal of their own, never the user's.
    m_window->jobPanel()->setJournalPath(m_tmp.filePath(QStringLiteral("jobs.jsonl")));
    m_window->show();
    m_window->connectTcp(QStringLiteral("127.0.0.1"), m_sim->serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(m_window->connectionBar()->linkState(),
                              ConnectionBar::LinkState::Connected, 5000);
}

void TestVxStudio::cleanupTestCase()
{
    delete m_window;
    delete m_sim;
}

void TestVxStudio::tabPerTabKindProperty()
{
    VXDeviceInterface *device = m_window->device();
    QStringList tabLabels;
    for (const QString &key : device->userProperty()) {
        VXDeviceProperty *r = device->property_ptr(key.toLatin1().constData());
        if (r && widgetKind(r) == QLatin1String("QTabWidget"))
            tabLabels << r->label();
        // Names the model lists without a record are left out, not shown empty.
        if (!r)
            QVERIFY2(!editor(key.toLatin1().constData()), qPrintable(key));
    }
    QCOMPARE(tabLabels.size(), 2);   // SP2 and FEED on this model

    QWidget *area = m_window->settings()->findChild<QWidget *>(QStringLiteral("userArea"));
    QVERIFY(area);
    QCOMPARE(area->findChildren<QTabWidget *>().size(), 1);
    QTabWidget *tabs = m_window->settings()->tabs();
    QVERIFY(tabs);
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, tabLabels);
    // Members land on their own page.
    QVERIFY(tabs->widget(1)->isAncestorOf(editor("FAN_DELAY")));
    QVERIFY(tabs->widget(0)->isAncestorOf(editor("SP2_TOOL")));
}

void TestVxStudio::catalogueEditors_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("items");
    // Spin boxes: the bounds; combo boxes: the item count (min/max unused).
    QTest::newRow("PU_SPEED") << "PU_SPEED" << 10.0 << 700.0 << 0;
    QTest::newRow("TOOL_SPACE_X") << "TOOL_SPACE_X" << -1000.0 << 1000.0 << 0;
    QTest::newRow("CAMERA_OFFSET_Y") << "CAMERA_OFFSET_Y" << -1000.0 << 1000.0 << 0;
    QTest::newRow("PAGE_SPACE") << "PAGE_SPACE" << -100.0 << 300.0 << 0;
    QTest::newRow("SP2_SPEED") << "SP2_SPEED" << 10.0 << 700.0 << 0;
    QTest::newRow("SP2_PRESSURE") << "SP2_PRESSURE" << 0.0 << 900.0 << 0;
    QTest::newRow("SP2_ANGLE") << "SP2_ANGLE" << -360.0 << 360.0 << 0;
    QTest::newRow("FAN_DELAY") << "FAN_DELAY" << 0.0 << 10000.0 << 0;
    QTest::newRow("FEED_LENGTH default bounds") << "FEED_LENGTH" << 0.0 << 1000.0 << 0;
    QTest::newRow("WORK_MODE") << "WORK_MODE" << 0.0 << 0.0 << 3;
    QTest::newRow("SP2_TOOL") << "SP2_TOOL" << 0.0 << 0.0 << 2;
    QTest::newRow("AUTO_FEED") << "AUTO_FEED" << 0.0 << 0.0 << 2;
    QTest::newRow("FEED_MODEL") << "FEED_MODEL" << 0.0 << 0.0 << 2;
}

void TestVxStudio::catalogueEditors()
{
    QFETCH(QString, key);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, items);
    QWidget *w = editor(key.toLatin1().constData());
    QVERIFY2(w, qPrintable(key));
    if (items) {
        auto *combo = qobject_cast<QComboBox *>(w);
        QVERIFY(combo);
        // Less the entry saying it is not read yet.
        QCOMPARE(combo->count() - (combo->findText(UnreadEditors::tr("not read")) >= 0), items);
        // The items are the catalogue's option entries, in order.
        VXDeviceProperty *r = m_window->device()->property_ptr(key.toLatin1().constData());
        const QStringList option = r->property("WIDGET").toJsonObject()
                .value(QStringLiteral("option")).toString().split(QLatin1Char(';'));
        for (int i = 0; i < items; ++i)
            QCOMPARE(combo->itemText(i), option.at(i));
    } else if (auto *spin = qobject_cast<QSpinBox *>(w)) {
        QCOMPARE(spin->minimum(), int(min));
        QCOMPARE(spin->maximum(), int(max));
    } else {
        auto *dspin = qobject_cast<QDoubleSpinBox *>(w);
        QVERIFY(dspin);
        QCOMPARE(dspin->minimum(), min);
        QCOMPARE(dspin->maximum(), max);
    }
}

void TestVxStudio::machineInfoReadOnly()
{
    auto *firmware = qobject_cast<QLineEdit *>(editor("FIRMWARE"));
    QVERIFY(firmware);
    QVERIFY(firmware->isReadOnly());
    // The window reads the device information on connecting.
    QTRY_VERIFY_WITH_TIMEOUT(!firmware->text().isEmpty(), 5000);
    QCOMPARE(firmware->text(), m_window->device()->property_ptr("FIRMWARE")->value().toString());
    auto *name = qobject_cast<QLabel *>(editor("DEVICE_MODEL_NAME"));
    QVERIFY(name);
    QVERIFY(!name->text().isEmpty());
    QVERIFY(qobject_cast<QLineEdit *>(editor("WORKAREA_X"))->isReadOnly());
}

void TestVxStudio::unreadSettingsSayNotRead_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("waits");   // disabled until the machine answers
    QTest::newRow("spin box") << "PU_SPEED" << true;
    QTest::newRow("combo box") << "AUTO_FEED" << true;
    QTest::newRow("member of a tab page") << "SP2_PRESSURE" << true;
    QTest::newRow("information row") << "FIRMWARE" << true;
    // Its answers are never decoded: the operator may still choose.
    QTest::newRow("never answered") << "WORK_MODE" << false;
}

void TestVxStudio::unreadSettingsSayNotRead()
{
    QFETCH(QString, key);
    QFETCH(bool, waits);
    const auto shown = [](QWidget *w) {
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(w))
            return spin->text();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        auto *edit = qobject_cast<QLineEdit *>(w);
        return edit && edit->text().isEmpty() ? edit->placeholderText() : QString();
    };
    // The device object's made-up values (pen-up speed 10, pressure 0) used
    // to show as the machine's.
    MainWindow offline(m_factory);
    QWidget *w = offline.settings()->editor(key);
    QVERIFY(w);
    QCOMPARE(shown(w), UnreadEditors::tr("not read"));
    QCOMPARE(w->isEnabled(), !waits);
    if (!waits)
        return;
    // Read on connecting: the machine's value, editable.
    w = editor(key.toLatin1().constData());
    QVERIFY(w->isEnabled() || key == QLatin1String("FIRMWARE"));
    QVERIFY(shown(w) != UnreadEditors::tr("not read"));
}

void TestVxStudio::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("shown");       // typed into the editor
    QTest::addColumn<int>("number");           // first command number
    QTest::addColumn<QStringList>("written");  // the machine's words after Write
    QTest::addColumn<QStringList>("machine");  // words the machine then holds
    QTest::addColumn<QVariant>("readBack");    // the editor after Read
    QTest::newRow("spin box") << "PU_SPEED" << QVariant(250) << 26
                              << QStringList{"250"} << QStringList{"320"} << QVariant(320);
    QTest::newRow("combo box") << "AUTO_FEED" << QVariant(1) << 134
                               << QStringList{"1"} << QStringList{"0"} << QVariant(0);
    QTest::newRow("factor on a tab page") << "SP2_PRESSURE" << QVariant(450) << 4
                                          << QStringList{"300"} << QStringList{"600"} << QVariant(900);
    QTest::newRow("feed tab") << "FAN_DELAY" << QVariant(1500) << 137
                              << QStringList{"1500"} << QStringList{"250"} << QVariant(250);
    QTest::newRow("negative three words") << "TOOL_SPACE_X" << QVariant(-1.0) << 5
                                          << QStringList{"65336", "65535", "0"}
                                          << QStringList{"500", "0", "0"} << QVariant(2.5);
    QTest::newRow("double with factor") << "PAGE_SPACE" << QVariant(12.5) << 43
                                        << QStringList{"125"} << QStringList{"-50"} << QVariant(-5.0);
}

void TestVxStudio::settingsRoundTrip()
{
    QFETCH(QString, key);
    QFETCH(QVariant, shown);
    QFETCH(int, number);
    QFETCH(QStringList, written);
    QFETCH(QStringList, machine);
    QFETCH(QVariant, readBack);

    QWidget *w = editor(key.toLatin1().constData());
    QVERIFY(w);
    setEditor(w, shown);
    click(m_window->settings(), "writeSettings");
    for (int i = 0; i < written.size(); ++i)
        QTRY_COMPARE_WITH_TIMEOUT(m_sim->setting(VXSimulator::Cmd, number + i), written.at(i), 5000);
    // Confirmed by the machine's read-back, and the editor still shows the value.
    auto *status = m_window->settings()->findChild<QLabel *>(QStringLiteral("writeStatus"));
    QTRY_VERIFY_WITH_TIMEOUT(status->text().startsWith(SettingsPanel::tr("Written: %1").arg(QString())), 5000);
    QCOMPARE(editorValue(w), shown);

    for (int i = 0; i < machine.size(); ++i)
        m_sim->setSetting(VXSimulator::Cmd, number + i, machine.at(i));
    click(m_window->settings(), "readSettings");
    QTRY_COMPARE_WITH_TIMEOUT(editorValue(w), readBack, 5000);
}

void TestVxStudio::editBackToPreviousValueIsWritten()
{
    // The record stores an edit back to its previous value without
    // valueChanged(); the write must still go out.
    QWidget *w = editor("WORK_MODE");
    const int steps[] = {1, 2, 1};
    for (int index : steps) {
        setEditor(w, index);
        click(m_window->settings(), "writeSettings");
        QTRY_COMPARE_WITH_TIMEOUT(m_sim->setting(VXSimulator::Cmd, 27), QString::number(index), 5000);
    }
}

void TestVxStudio::writeResultsAreShown()
{
    // Results reach group members and the information rows too.
    auto *status = m_window->settings()->findChild<QLabel *>(QStringLiteral("writeStatus"));
    for (const char *key : {"FAN_DELAY", "SP2_ANGLE", "DEVICE_ID"}) {
        VXDeviceProperty *r = m_window->device()->property_ptr(key);
        r->ret_Status(7);
        QVERIFY2(status->text().contains(r->label().trimmed()), key);
        QVERIFY2(status->text().contains(QLatin1String("7")), key);
    }
}

void TestVxStudio::offlineActionsAreRefused()
{
    // Frames offered while the link is down vanish without trace: the window
    // must say so rather than report the settings as written.
    const QString before = m_sim->setting(VXSimulator::Cmd, 138);
    MainWindow offline(m_factory);
    auto *speed = qobject_cast<QSpinBox *>(offline.settings()->editor(QStringLiteral("FEED_SPEED")));
    QVERIFY(speed);
    speed->setValue(before.toInt() + 1);
    click(offline.settings(), "writeSettings");
    auto *status = offline.settings()->findChild<QLabel *>(QStringLiteral("writeStatus"));
    QVERIFY2(!status->text().contains(offline.device()->property_ptr("FEED_SPEED")->label()),
             qPrintable(status->text()));
    QCOMPARE(offline.device()->property_ptr("FEED_SPEED")->value().toInt(), 0);
    QCOMPARE(m_sim->setting(VXSimulator::Cmd, 138), before);

    // A job started offline would never report: the panel would wait forever.
    JobPanel *job = offline.jobPanel();
    QVERIFY(job->loadPlot(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt")));
    click(job, "startJob");
    QVERIFY(!job->isRunning());
}

void TestVxStudio::jogAndOrigin()
{
    m_sim->clearReceivedFrames();
    auto *jog = m_window->jogPad();
    auto *right = jog->findChild<QPushButton *>(QStringLiteral("jogXPlus"));
    QVERIFY(right);
    QTest::mousePress(right, Qt::LeftButton);
    QTest::mouseRelease(right, Qt::LeftButton);
    click(jog, "setOrigin");
    click(jog, "returnOrigin");

    // Press: Y stop then X positive; release: both stop; then 87 and 93.
    const QList<QByteArray> expected = {"SET83:0;", "SET82:32868;", "SET83:0;", "SET82:0;",
                                        "SET87:1;", "SET93:1;"};
    auto writes = [this] {
        QList<QByteArray> bodies;
        for (const VXSimFrame &f : m_sim->receivedFrames())
            if (f.kind == "CMD" && !f.body.startsWith("GET"))
                bodies << f.body;
        return bodies;
    };
    QTRY_COMPARE_WITH_TIMEOUT(writes(), expected, 5000);
}

void TestVxStudio::usbThenNetworkOnOneWindow()
{
    VXSimulator usbMachine;
    QVERIFY2(usbMachine.startPty(), qPrintable(usbMachine.errorString()));
    usbMachine.setSetting(VXSimulator::Cmd, 26, QStringLiteral("555"));
    MainWindow window(m_factory);
    window.connectUsb(usbMachine.ptyPath());
    QTRY_COMPARE_WITH_TIMEOUT(window.connectionBar()->linkState(),
                              ConnectionBar::LinkState::Connected, 5000);
    // Connecting reads the machine into the editors.
    auto *speed = qobject_cast<QSpinBox *>(window.settings()->editor(QStringLiteral("PU_SPEED")));
    QTRY_COMPARE_WITH_TIMEOUT(speed->value(), 555, 5000);

    // The link prefers a USB target once set; after a disconnect the network
    // target must still be the one used.
    click(window.connectionBar(), "disconnect");
    QCOMPARE(window.connectionBar()->linkState(), ConnectionBar::LinkState::Disconnected);
    window.connectTcp(QStringLiteral("127.0.0.1"), m_sim->serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(window.connectionBar()->linkState(),
                              ConnectionBar::LinkState::Connected, 5000);
    QCOMPARE(window.device()->property_ptr("CONNECT_MODE")->value().toString(), QStringLiteral("TCP"));
    // Disconnecting dropped the device object, so these are new editors.
    speed = qobject_cast<QSpinBox *>(window.settings()->editor(QStringLiteral("PU_SPEED")));
    QTRY_COMPARE_WITH_TIMEOUT(speed->value(), m_sim->setting(VXSimulator::Cmd, 26).toInt(), 5000);
}

void TestVxStudio::silentMachineIsShown()
{
    // The link stays open; only the heartbeat goes unanswered. The bar used
    // to stay green.
    VXSimulator silent;
    QVERIFY(silent.start(0));
    silent.setIgnoreHeartbeat(true);
    MainWindow window(m_factory);
    window.session()->setTimeout(1000);
    window.session()->setHeartbeat(1);
    window.connectTcp(QStringLiteral("127.0.0.1"), silent.serverPort());
    QTRY_COMPARE_WITH_TIMEOUT(window.connectionBar()->linkState(), ConnectionBar::LinkState::Connected, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(window.connectionBar()->linkState(), ConnectionBar::LinkState::Error, 10000);
    QVERIFY(!window.jogPad()->isEnabled());
}

void TestVxStudio::labelsFollowTheLocale()
{
    // The plugin translates its labels from <appdir>/translations; under
    // zh_CN the source texts stay. Run by langReachesThePlugin, the label
    // it expects.
    QTabWidget *tabs = m_window->settings()->tabs();
    const QString feed = tabs->tabText(tabs->count() - 1);
    if (qEnvironmentVariableIsSet("VX_EXPECT_LABEL"))
        QCOMPARE(feed, qEnvironmentVariable("VX_EXPECT_LABEL"));
    else if (QLocale::system().name() == QLatin1String("zh_CN"))
        QCOMPARE(feed, QStringLiteral("送料"));
    else
        QVERIFY2(feed != QStringLiteral("送料"), qPrintable(feed));
}

void TestVxStudio::langReachesThePlugin_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("feed");   // the Feed tab's label
    QTest::newRow("ja_JP") << "ja_JP" << QStringLiteral("送り");
    QTest::newRow("en") << "en" << QStringLiteral("Feed");
    QTest::newRow("zh_CN") << "zh_CN" << QStringLiteral("送料");
}

void TestVxStudio::langReachesThePlugin()
{
    // The plugin picks its language from the system locale when its device
    // object is made: --lang used to translate the window only.
    QFETCH(QString, lang);
    QFETCH(QString, feed);
    if (qEnvironmentVariableIsSet("VX_EXPECT_LABEL"))
        QSKIP("the run under --lang itself");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VX_EXPECT_LABEL"), feed);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("labelsFollowTheLocale"), QStringLiteral("--lang"), lang});
    QVERIFY(child.waitForFinished(60000));
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    QVERIFY2(child.exitCode() == 0 && out.contains(QLatin1String("PASS   : TestVxStudio::labelsFollowTheLocale()")),
             qPrintable(out));
}

void TestVxStudio::fitsALaptopScreen()
{
    // The window used to need 1454 x 1005: the production panel and the log
    // lay past a laptop's screen.
    MainWindow window(m_factory);
    window.resize(1366, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(1366, 768));
    const QRect inside = window.rect();
    for (QDockWidget *dock : window.findChildren<QDockWidget *>()) {
        // Behind a tab (parked off the window) is reachable; shown is
        // inside the window, with room.
        const bool tabbed = !window.tabifiedDockWidgets(dock).isEmpty();
        if (tabbed && !inside.intersects(dock->geometry()))
            continue;
        QVERIFY2(dock->isVisible() && inside.contains(dock->geometry()), qPrintable(dock->objectName()));
        QVERIFY2(dock->width() >= 200 && dock->height() >= 60, qPrintable(dock->objectName()));
    }
    for (const char *name : {"startJob", "stopJob", "jobProgress", "activityLog", "plotPreview"}) {
        auto *w = window.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(w && w->isVisible() && !w->visibleRegion().isEmpty(), name);
        QVERIFY2(inside.contains(QRect(w->mapTo(&window, QPoint()), w->size())), name);
    }
    // The design is the middle of the window, not a box beside the options.
    QVERIFY(window.jobPanel()->designView()->width() >= 500);
}

void TestVxStudio::designsFollowTheOptions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("paths");
    // A 100 x 60 mm rectangle holding a 20 mm circle (tests/data/plot).
    QTest::newRow("SVG") << QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg") << 2;
    QTest::newRow("DXF") << QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.ezdxf.dxf") << 2;
}

void TestVxStudio::designsFollowTheOptions()
{
    QFETCH(QString, file);
    QFETCH(int, paths);
    JobPanel *job = m_window->jobPanel();
    PlotOptionsPanel *options = job->optionsPanel();
    // One field per option vxcut takes, but the tool rules: the tools panel
    // offers the design's own sources.
    int count = 0;
    const PlotOptionTable::Row *rows = PlotOptionTable::rows(&count);
    for (int i = 0; i < count; ++i)
        QVERIFY2(!options->findChild<QWidget *>(QStringLiteral("option-") + QLatin1String(rows[i].flag))
                         == !qstrcmp(rows[i].flag, "tool"), rows[i].flag);

    QString error;
    QVERIFY2(job->loadPlot(file, &error), qPrintable(error));
    const PlotDocument &shown = job->designView()->design();
    QCOMPARE(shown.pathCount(), paths);
    // Inside first: the circle is cut before the rectangle that holds it.
    QVERIFY(shown.pathLength(0) < shown.pathLength(1));
    QVERIFY(std::abs(job->plotWidth() - 100) < 0.05 && std::abs(job->plotHeight() - 60) < 0.05);
    // The machine's work area, as its records say, frames the design.
    VXDeviceProperty *areaX = m_window->device()->property_ptr("WORKAREA_X");
    VXDeviceProperty *areaY = m_window->device()->property_ptr("WORKAREA_Y");
    QVERIFY(areaX && areaY);
    // Stored in the editor's units (half millimetres on some models).
    areaX->setValue(qRound(80 / EditorSpec::of(areaX).factor));
    areaY->setValue(qRound(500 / EditorSpec::of(areaY).factor));
    QCOMPARE(job->designView()->workArea(), QSizeF(80, 500));
    QVERIFY(job->designView()->exceedsWorkArea());
    // Start waits, and says why in the library's words.
    auto *start = job->findChild<QPushButton *>(QStringLiteral("startJob"));
    const QString why = WorkArea{80, 500}.check(job->plot().report, 0).message;
    QVERIFY(!why.isEmpty());
    QVERIFY(!start->isEnabled());
    QCOMPARE(start->toolTip(), why);
    QVERIFY(job->findChild<QLabel *>(QStringLiteral("startBlocked"))->text().contains(why));

    // A turn, a margin and a refused value: the view and the facts follow
    // the valid options only.
    auto *rotate = options->findChild<QLineEdit *>(QStringLiteral("option-rotate"));
    auto *margin = options->findChild<QLineEdit *>(QStringLiteral("option-margin"));
    auto *passes = options->findChild<QLineEdit *>(QStringLiteral("option-passes"));
    rotate->setText(QStringLiteral("90"));
    emit rotate->editingFinished();
    margin->setText(QStringLiteral("10"));
    emit margin->editingFinished();
    QTRY_VERIFY(std::abs(job->plotWidth() - 60) < 0.05 && std::abs(job->plotHeight() - 100) < 0.05);
    const QRectF box = job->designView()->design().boundingBox();
    QVERIFY(std::abs(box.left() - 10) < 0.05 && std::abs(box.top() - 10) < 0.05);
    passes->setText(QStringLiteral("zero"));
    emit passes->editingFinished();
    QVERIFY(options->error().startsWith(QLatin1String("passes")));
    QCOMPARE(job->plot().report.paths, paths);
    QVERIFY(!job->designView()->exceedsWorkArea());   // turned, it fits
    QVERIFY(start->isEnabled());
    QVERIFY(!job->designView()->grab().isNull());

    for (QLineEdit *field : {rotate, margin, passes})
        field->setText(PlotOptionTable::find(field->objectName().mid(7))->current(PlotOptions()));
    emit passes->editingFinished();
    QVERIFY(options->error().isEmpty());
    QTRY_VERIFY(std::abs(job->plotWidth() - 100) < 0.05);
    areaX->setValue(0);
    areaY->setValue(0);
}

void TestVxStudio::toolChoicesReplan_data()
{
    QTest::addColumn<int>("pen1");
    QTest::addColumn<int>("pen2");
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("tools");   // tool:mm in cut order (tool 2 first by default)
    QTest::newRow("as read") << 1 << 2 << QString() << QStringLiteral("2:50 1:100");
    QTest::newRow("pen 2 on tool 1") << 1 << 1 << QStringLiteral("2=1") << QStringLiteral("1:150");
    QTest::newRow("swapped") << 2 << 1 << QStringLiteral("1=2 2=1") << QStringLiteral("2:100 1:50");
}

void TestVxStudio::toolChoicesReplan()
{
    QFETCH(int, pen1);
    QFETCH(int, pen2);
    QFETCH(QString, rules);
    QFETCH(QString, tools);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pens.plt"));
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("IN;SP1;PU0,0;PD4000,0;SP2;PU0,400;PD2000,400;SP0;");
    out.close();
    JobPanel *job = m_window->jobPanel();
    QString error;
    QVERIFY2(job->loadPlot(file, &error), qPrintable(error));
    QCOMPARE(job->toolsPanel()->sourceCount(), 2);
    job->toolsPanel()->findChild<QComboBox *>(QStringLiteral("toolFor-1"))->setCurrentIndex(pen1 - 1);
    job->toolsPanel()->findChild<QComboBox *>(QStringLiteral("toolFor-2"))->setCurrentIndex(pen2 - 1);
    QCOMPARE(job->toolsPanel()->toolMap().texts().join(QLatin1Char(' ')), rules);
    const auto planned = [job] {
        QStringList parts;
        for (const PlotReport::Tool &t : job->plot().report.tools)
            parts << QStringLiteral("%1:%2").arg(t.tool).arg(t.cutLength, 0, 'f', 0);
        return parts.join(QLatin1Char(' '));
    };
    QTRY_COMPARE(planned(), tools);
    // The view draws the same plan, tool by tool.
    for (const PlotReport::Tool &t : job->plot().report.tools)
        QCOMPARE(qRound(job->designView()->design().cutLength(t.tool)), qRound(t.cutLength));
}

void TestVxStudio::loadOffTheWindow_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("cancelled: the design shown stays") << true;
    // The superseded load must not land after the one that replaced it.
    QTest::newRow("another file opened meanwhile") << false;
}

void TestVxStudio::loadOffTheWindow()
{
    QFETCH(bool, cancel);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.plt"));
    QFile out(big);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("IN;SP1;");
    for (int i = 0; i < 150000; ++i)
        out.write(QStringLiteral("PU%1,0;PD%1,4000;").arg(i % 20000).toLatin1());
    out.close();
    const QString sample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
    JobPanel *job = m_window->jobPanel();
    QString error;
    QVERIFY2(job->loadPlot(sample, &error), qPrintable(error));
    const int paths = job->designView()->design().pathCount();
    QSignalSpy log(job, &JobPanel::logMessage);
    job->openPlotFile(big);
    QVERIFY(job->isLoading());
    QVERIFY(!job->findChild<QLabel *>(QStringLiteral("plotLoading"))->isHidden());
    const QString other = QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg");
    if (cancel)
        click(job, "cancelLoad");
    else
        job->openPlotFile(other);
    QTRY_VERIFY(!job->isLoading());
    QCOMPARE(job->plot().path, cancel ? sample : other);
    QCOMPARE(job->designView()->design().pathCount(), cancel ? paths : 2);
    QStringList said;
    for (const QList<QVariant> &message : log)
        said << message.value(0).toString();
    QCOMPARE(said.count(JobPanel::tr("%1: loading cancelled.").arg(QStringLiteral("big.plt"))), cancel ? 1 : 0);
    QCOMPARE(said.size(), 1);
}

void TestVxStudio::failedOpenIsShown()
{
    // A PNG named .svg: the view said "No plot loaded" and the log nothing.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("picture.svg"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(file, "PNG"));
    JobPanel *job = m_window->jobPanel();
    QSignalSpy log(job, &JobPanel::logMessage);
    job->openPlotFile(file);
    QTRY_VERIFY(!job->isLoading());
    QCOMPARE(log.size(), 1);
    const QString said = log.first().value(0).toString();
    QVERIFY2(said.contains(QLatin1String("picture.svg")), qPrintable(said));
    QCOMPARE(job->designView()->notice(), said);
    // The next design read clears it.
    QVERIFY(job->loadPlot(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt")));
    QVERIFY(job->designView()->notice().isEmpty());
}

void TestVxStudio::bigDesignStallProbe()
{
    // 35,000 circles of 64 points, about 25 MB of HP-GL. Prints the longest
    // gap between ticks of a 10 ms timer while the design is read, planned,
    // drawn and zoomed: what an operator would feel as a frozen window.
    // Under the sanitizers the figure means nothing and the full design
    // holds the machine's two cores for half a minute beside the other
    // tests: a tenth of it still walks every path of the code.
#if defined(__SANITIZE_ADDRESS__)
    const int circles = 3500;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    const int circles = 3500;
#else
    const int circles = 35000;
#endif
#else
    const int circles = 35000;
#endif
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("circles.plt"));
    QFile out(big);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write("IN;SP1;");
    for (int c = 0; c < circles; ++c) {
        const double cx = 400 + (c % 200) * 400, cy = 400 + (c / 200) * 400, r = 150;
        QByteArray line = "PU" + QByteArray::number(qRound(cx + r)) + ',' + QByteArray::number(qRound(cy)) + ";PD";
        for (int k = 1; k <= 64; ++k) {
            const double a = k * 2 * M_PI / 64;
            line += QByteArray::number(cx + r * std::cos(a), 'f', 1) + ',' + QByteArray::number(cy + r * std::sin(a), 'f', 1)
                    + (k < 64 ? "," : ";");
        }
        out.write(line);
    }
    const qint64 bytes = out.size();
    out.close();
    JobPanel *job = m_window->jobPanel();
    DesignView *view = job->designView();
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer probe;
    probe.setInterval(10);
    connect(&probe, &QTimer::timeout, this, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    probe.start();
    job->openPlotFile(big);
    QTRY_VERIFY_WITH_TIMEOUT(!job->isLoading(), 180000);
    const qint64 loaded = clock.elapsed();
    const qint64 loadStall = longest;
    QVERIFY2(job->hasPlot() && job->plot().path == big, qPrintable(job->plot().path));
    QTRY_VERIFY_WITH_TIMEOUT(!view->isDrawing(), 60000);
    for (int i = 0; i < 3; ++i) {
        view->zoomIn();
        QTRY_VERIFY_WITH_TIMEOUT(!view->isDrawing(), 60000);
    }
    view->fit();
    QTRY_VERIFY_WITH_TIMEOUT(!view->isDrawing(), 60000);
    qInfo("stall probe: %.1f MB, %d paths; loaded in %lld ms, all drawn in %lld ms; "
          "longest event-loop stall %lld ms while loading, %lld ms overall",
          bytes / 1e6, view->design().pathCount(), loaded, clock.elapsed(), loadStall, longest);
}

void TestVxStudio::jobEnds_data()
{
    QTest::addColumn<bool>("byMachine");
    // The machine's status 4 used to leave the panel "running" for ever.
    QTest::newRow("stopped on the machine") << true;
    QTest::newRow("stop button") << false;
}

void TestVxStudio::jobEnds()
{
    QFETCH(bool, byMachine);
    JobPanel *job = m_window->jobPanel();
    QString error;
    QVERIFY2(job->loadPlot(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"), &error),
             qPrintable(error));
    QVERIFY(job->plotWidth() > 0 && job->plotHeight() > 0 && job->pathLength() > 0);
    // Sizes in the reader's numbers: a decimal comma where the locale has one.
    auto *size = job->findChild<QLabel *>(QStringLiteral("plotSize"));
    QVERIFY2(size->text().startsWith(QLocale().toString(job->plotWidth(), 'f', 1)), qPrintable(size->text()));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY2(job->loadPlot(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"), &error), qPrintable(error));
    QLocale::setDefault(before);
    QVERIFY2(size->text().startsWith(QLocale(QLocale::German).toString(job->plotWidth(), 'f', 1))
             && size->text().contains(QLatin1Char(',')), qPrintable(size->text()));
    QVERIFY(job->loadPlot(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"), &error));

    auto *bar = job->findChild<QProgressBar *>(QStringLiteral("jobProgress"));
    QList<int> seen;
    auto watch = connect(bar, &QProgressBar::valueChanged, this, [&seen](int v) { seen << v; });
    m_sim->setSpeedup(2);
    job->setCopies(2);
    QVERIFY2(m_window->session()->linkUp(), qPrintable(m_window->session()->linkFailure().message));
    click(job, "startJob");
    QVERIFY(job->isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 5, 20000);
    QVERIFY(!job->findChild<QLabel *>(QStringLiteral("timeLeft"))->text().isEmpty());
    QSignalSpy log(job, &JobPanel::logMessage);
    if (byMachine) {
        // As the machine's own panel would: the window did not ask.
        VXDeviceProperty *stop = m_window->device()->property_ptr("TASK_STOP");
        stop->setValue(2);
        m_window->session()->send(stop);
    } else {
        click(job, "stopJob");
    }
    QTRY_VERIFY_WITH_TIMEOUT(!job->isRunning(), 5000);
    disconnect(watch);
    // The log says what the journal says: a Stop was logged "interrupted".
    const JobRecord ended = JobJournal(job->journalPath()).last(1).value(0);
    QCOMPARE(ended.outcome, JobRecord::Outcome::Stopped);
    const QString said = log.last().value(0).toString();
    QVERIFY2(said.contains(JobRecord::outcomeText(ended.outcome))
             && !said.contains(JobRecord::outcomeText(JobRecord::Outcome::Interrupted)), qPrintable(said));
    QVERIFY(job->findChild<QPushButton *>(QStringLiteral("startJob"))->isEnabled());
    QCOMPARE(m_sim->jobs().last().status, VXSimJobStatus::Stopped);
    QVERIFY(m_sim->jobs().last().finished < 2);
    for (int i = 1; i < seen.size(); ++i)
        QVERIFY2(seen.at(i) >= seen.at(i - 1), "the bar went backwards");

    // The file facts and the preview went to the records the cloud report reads.
    const QJsonObject facts = m_window->device()->property_ptr("TASK_FILE_INFO")->value().toJsonObject();
    QCOMPARE(facts.value(QStringLiteral("width")).toInt(), qRound(job->plotWidth()));
    QCOMPARE(m_window->device()->property_ptr("FILE_PREVIEW")->value().toByteArray(), job->plot().preview);

    // The README's pictures: docs/vxstudio.png in the README's language,
    // docs/vxstudio-<lang>.png in the others. They land in the build tree;
    // VX_SCREENSHOT_DIR=docs refreshes the committed ones, so a test run
    // never dirties the sources.
    const QString lang = QLocale::system().name();
    const QStringList shown{QStringLiteral("en_US"), QStringLiteral("zh_CN"), QStringLiteral("ja_JP")};
    if (!byMachine && shown.contains(lang)) {
        const QString dir = qEnvironmentVariableIsSet("VX_SCREENSHOT_DIR")
                                ? qEnvironmentVariable("VX_SCREENSHOT_DIR")
                                : QStringLiteral(VX_BIN_DIR "/../docs");
        const QString shot = dir + (lang == shown.first() ? QStringLiteral("/vxstudio.png")
                                                          : QStringLiteral("/vxstudio-%1.png").arg(lang));
        QDir().mkpath(QFileInfo(shot).path());
        QVERIFY(m_window->grab().save(shot));
    }
}

void TestVxStudio::production()
{
    ProductionPanel *panel = m_window->production();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir().mkpath(dir.filePath(QStringLiteral("d")));
    QVERIFY(QFile::copy(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg"), dir.filePath(QStringLiteral("d/A.svg"))));
    QFile map(dir.filePath(QStringLiteral("codes.txt")));
    QVERIFY(map.open(QIODevice::WriteOnly));
    map.write("A = d/A.svg\nB = d/B.svg\n");
    map.close();
    QStringList errors;
    QVERIFY(!panel->setSource(map.fileName(), &errors));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QLatin1String("codes.txt:2:")), qPrintable(errors.first()));
    QVERIFY(!panel->findChild<QPushButton *>(QStringLiteral("startProduction"))->isEnabled());

    QVERIFY(panel->setSource(dir.filePath(QStringLiteral("d"))));
    // vxcut's journal unless told otherwise, and the options panel's options.
    QCOMPARE(panel->journalPath(), m_tmp.filePath(QStringLiteral("jobs.jsonl")));
    panel->setJournalPath(dir.filePath(QStringLiteral("jobs.jsonl")));
    auto *rotate = m_window->jobPanel()->optionsPanel()->findChild<QLineEdit *>(QStringLiteral("option-rotate"));
    rotate->setText(QStringLiteral("90"));
    emit rotate->editingFinished();
    m_sim->setSpeedup(100);
    QVERIFY(m_sim->setSheets({"ZZ", "A"}));
    click(panel, "startProduction");
    QVERIFY(panel->isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!panel->isRunning(), 20000);
    m_sim->setSheets({});
    auto *list = panel->findChild<QTableWidget *>(QStringLiteral("sheetList"));
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->item(0, 1)->text(), QStringLiteral("ZZ"));
    QVERIFY(list->item(0, 3)->text().startsWith(SheetRun::outcomeText(SheetRun::Outcome::Skipped)));
    QCOMPARE(list->item(1, 2)->text(), QStringLiteral("A.svg"));
    QCOMPARE(list->item(1, 3)->text(), SheetRun::outcomeText(SheetRun::Outcome::Finished));
    // A, 100 x 60 mm, turned: 60 mm wide on the sheet.
    QVERIFY2(std::abs(m_sim->sheets().value(1).width / 40 - 60) < 0.1, qPrintable(QString::number(m_sim->sheets().value(1).width)));
    rotate->setText(QStringLiteral("0"));
    emit rotate->editingFinished();
    // The sheet last under the knife, A, is the one previewed.
    QVERIFY(panel->findChild<QLabel *>(QStringLiteral("sheetPreview"))->pixmap(Qt::ReturnByValue).width() > 0);
    QVERIFY(panel->findChild<QPushButton *>(QStringLiteral("startProduction"))->isEnabled());
}

void TestVxStudio::dropThenResume()
{
    // The resume itself is ResumeRun's (tst_vxcut drives it through a drop);
    // here the window hands it the journal and shows what it does.
    JobPanel *job = m_window->jobPanel();
    const QString file = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
    PlotOptions options;
    options.placement.rotation = 90;
    PlotJob first;
    QString error;
    QVERIFY2(first.load(file, options, error), qPrintable(error));
    JobRecord dropped;
    dropped.start = dropped.end = QDateTime::currentDateTimeUtc();
    dropped.file = file;
    dropped.sha256 = JobJournal::fileSha256(file);
    dropped.copies = 2;
    dropped.percent = 40;
    dropped.outcome = JobRecord::Outcome::Interrupted;
    dropped.options = RecordedOptions::of(options);
    dropped.plotSha256 = first.textSha256;
    const JobJournal journal(job->journalPath());
    QVERIFY(journal.append(dropped));

    QString offer;
    QVERIFY2(job->resumeOffer(ResumePlan::Continue, &offer), qPrintable(offer));
    QVERIFY2(offer.contains(ResumeJob::tr("the rest of copy %1 (from %2%) and 1 whole copy")
                                .arg(QLocale().toString(1), QLocale().toString(40))), qPrintable(offer));
    const int before = m_sim->jobs().size();
    m_sim->setSpeedup(50);
    QVERIFY2(job->startResume(ResumePlan::Continue, &error), qPrintable(error));
    QVERIFY(job->isRunning() && !job->findChild<QPushButton *>(QStringLiteral("resumeInterrupted"))->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!job->isResuming() && !job->isRunning(), 30000);
    QVERIFY2(!job->resumeRun()->failure(), qPrintable(job->resumeRun()->failure().message));
    // The rest, then the whole copy, each as the recorded options plan it.
    const QList<VXSimJob> jobs = m_sim->jobs().mid(before);
    QCOMPARE(jobs.size(), 2);
    QCOMPARE(m_sim->lastJobData(), first.text.toLatin1());
    const JobRecord resumed = journal.last(1).value(0);
    QCOMPARE(resumed.resumes, dropped.id);
    QCOMPARE(resumed.finished, 2);
    QVERIFY(!journal.lastInterrupted());
}

NestPanel *TestVxStudio::nestPanel() const
{
    auto *panel = m_window->findChild<NestPanel *>(QStringLiteral("nestPanel"));
    if (panel && panel->partCount() == 0) {
        panel->addPart(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg"), 3);
        panel->addPart(QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/letters.pstoedit.hpgl"), 2, QStringLiteral("0,180"));
    }
    return panel;
}

void TestVxStudio::nestShown_data()
{
    QTest::addColumn<int>("material");   // 0: strip, 1: sheets
    QTest::addColumn<double>("width");   // 0: the work area's
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("seconds");
    QTest::newRow("strip, first layout") << 0 << 300.0 << 0.0 << 0.0;
    QTest::newRow("strip as wide as the work area") << 0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("sheets, first layout") << 1 << 200.0 << 150.0 << 0.0;
    QTest::newRow("strip, 1 s search") << 0 << 300.0 << 0.0 << 1.0;
}

// What the panel shows is what the library makes of the same parts and material.
void TestVxStudio::nestShown()
{
    QFETCH(int, material);
    QFETCH(double, width);
    QFETCH(double, length);
    QFETCH(double, seconds);
    NestPanel *panel = nestPanel();
    QVERIFY(panel);
    panel->findChild<QComboBox *>(QStringLiteral("nestMaterial"))->setCurrentIndex(material);
    panel->findChild<QDoubleSpinBox *>(QStringLiteral("nestWidth"))->setValue(width);
    panel->findChild<QDoubleSpinBox *>(QStringLiteral("nestSheetLength"))->setValue(length);
    panel->findChild<QDoubleSpinBox *>(QStringLiteral("nestTime"))->setValue(seconds);
    click(panel, "runNest");
    QTRY_VERIFY_WITH_TIMEOUT(!panel->isSearching(), 30000);
    QVERIFY(panel->hasNest());

    NestSearchJob job;
    job.files = {{QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/shapes.plotutils.svg"), 3, {}, {}},
                 {QStringLiteral(VX_SOURCE_DIR "/tests/data/plot/letters.pstoedit.hpgl"), 2, QStringLiteral("0,180"), {}}};
    job.plot = m_window->jobPanel()->optionsPanel()->options();
    job.request.width = width > 0 ? width : WorkArea::of(m_window->device()).width - job.plot.placement.margin;
    job.request.sheetLength = length;
    job.request.seconds = 0;
    const NestSearchResult first = NestSearchRun::runNow(job);
    QVERIFY2(first.ok, qPrintable(first.error));
    const NestLayout &shown = panel->layout();
    QCOMPARE(shown.width, job.request.width);
    if (seconds > 0)   // the search keeps nothing worse than its first layout
        QVERIFY(shown.utilisation() >= first.layout.utilisation() - 1e-9);
    else
        QCOMPARE(shown.utilisation(), first.layout.utilisation());
    QCOMPARE(shown.placed.size(), first.layout.placed.size());
    const QString text = panel->findChild<QLabel *>(QStringLiteral("nestResult"))->text();
    QVERIFY2(text.contains(QLocale().toString(int(shown.placed.size())) + QLatin1Char(' '))
                 && text.contains(QLocale().toString(shown.utilisation() * 100, 'f', 1) + QLatin1Char('%')),
             qPrintable(text));
    QCOMPARE(panel->view()->workArea(), QSizeF(shown.width, length > 0 ? length : shown.length));
    QVERIFY(!panel->view()->isEmpty() && !panel->view()->exceedsWorkArea());
}

void TestVxStudio::nestStopThenCut()
{
    NestPanel *panel = nestPanel();
    panel->findChild<QComboBox *>(QStringLiteral("nestMaterial"))->setCurrentIndex(0);
    panel->findChild<QDoubleSpinBox *>(QStringLiteral("nestWidth"))->setValue(150);
    panel->findChild<QDoubleSpinBox *>(QStringLiteral("nestTime"))->setValue(600);
    // Enough pieces that the search is still looking when Stop comes.
    static_cast<QSpinBox *>(panel->findChild<QTableWidget *>(QStringLiteral("nestParts"))->cellWidget(0, 1))->setValue(12);
    QSignalSpy progress(panel->findChild<NestSearchRun *>(), &NestSearchRun::progress);
    click(panel, "runNest");
    QVERIFY(progress.wait(10000));
    click(panel, "stopNest");
    QTRY_VERIFY_WITH_TIMEOUT(!panel->isSearching(), 5000);
    // The best so far is kept, and the panel takes the next search or cut.
    QVERIFY(panel->hasNest() && panel->layout().cancelled);
    QVERIFY(panel->findChild<QPushButton *>(QStringLiteral("runNest"))->isEnabled());

    // A short work area: the strip goes out in windows, the belt feeding between them.
    const QString workLength = m_sim->setting(VXSimulator::Cmd, 29);
    m_sim->setSetting(VXSimulator::Cmd, 29, QStringLiteral("150"));
    m_sim->setSpeedup(400);
    const int before = m_sim->jobs().size();
    click(panel, "cutNest");
    QTRY_VERIFY_WITH_TIMEOUT(panel->cutRun() && !panel->isCutting(), 30000);
    m_sim->setSetting(VXSimulator::Cmd, 29, workLength);
    QVERIFY2(!panel->cutRun()->failure(), qPrintable(panel->cutRun()->failure().message));
    const int windows = int(panel->cutRun()->cut().windows.size());
    QVERIFY(windows >= 2);
    QCOMPARE(panel->cutRun()->windowsCut(), windows);
    QCOMPARE(m_sim->jobs().size() - before, windows);
}

int main(int argc, char **argv)
{
    // As vxstudio's main: --lang reaches the plugin's labels.
    ToolTranslator::steerSystemLocale(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QStringList args = app.arguments();
    const int lang = args.indexOf(QStringLiteral("--lang"));
    if (lang > 0)
        args.erase(args.begin() + lang, args.begin() + std::min(lang + 2, int(args.size())));
    TestVxStudio test;
    return QTest::qExec(&test, args);
}
#include "tst_vxstudio.moc"
