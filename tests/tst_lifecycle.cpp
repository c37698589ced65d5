// SPDX-License-Identifier: LGPL-2.1-or-later
// Plugin load/unload and device create/destroy, repeated, leave memory flat;
// a device destroyed with cloud work pending gets no late callback.
#include "plugin/VXKTR450PROCam.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QFile>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPluginLoader>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "MemoryProbe.h"

#include <atomic>
#include <memory>

// QtCore's object hooks (qhooks_p.h): exported, stable since Qt 5.4.
extern Q_CORE_EXPORT quintptr qtHookData[];

namespace {

enum { AddQObjectHook = 3, RemoveQObjectHook = 4 };
std::atomic<long> g_liveObjects{0};
void onAdd(QObject *) { ++g_liveObjects; }
void onRemove(QObject *) { --g_liveObjects; }

QMutex g_logMutex;
QStringList g_lookups;
QtMessageHandler g_previous = nullptr;
void captureLookups(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("VXCommonInterface::cloud_device_get"))) {
        QMutexLocker lock(&g_logMutex);
        g_lookups << text;
        return;
    }
    if (type != QtDebugMsg)
        g_previous(type, context, text);
}
int lookups(const QString &code)
{
    QMutexLocker lock(&g_logMutex);
    return int(std::count_if(g_lookups.cbegin(), g_lookups.cend(),
                             [&](const QString &l) { return l.contains(QLatin1Char('"') + code + QLatin1Char('"')); }));
}

QUrl deadAddress()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pluginLoadUnload();
    void deviceCreateDestroy();
    void destroyedWithWorkPending_data();
    void destroyedWithWorkPending();

private:
    CloudServer m_server;
};

void TestLifecycle::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    qRegisterMetaType<QNetworkReply *>();
    QVERIFY(qtHookData[AddQObjectHook] == 0 && qtHookData[RemoveQObjectHook] == 0);
    qtHookData[AddQObjectHook] = reinterpret_cast<quintptr>(&onAdd);
    qtHookData[RemoveQObjectHook] = reinterpret_cast<quintptr>(&onRemove);
    g_previous = qInstallMessageHandler(captureLookups);
    QVERIFY(m_server.start());
}

void TestLifecycle::cleanupTestCase()
{
    qtHookData[AddQObjectHook] = 0;
    qtHookData[RemoveQObjectHook] = 0;
    qInstallMessageHandler(g_previous);
    m_server.stop();
}

void TestLifecycle::pluginLoadUnload()
{
    auto cycle = [] {
        QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
        auto *root = qobject_cast<VXDeviceInterface *>(loader.instance());
        QVERIFY2(root, qPrintable(loader.errorString()));
        std::unique_ptr<VXDeviceInterface> device(root->initInstance());
        QVERIFY(device->property_ptr("STATUS"));
        device.reset();
        QVERIFY(loader.unload());
    };
    for (int i = 0; i < 50; ++i)   // warm-up: caches, first translations
        cycle();
    const long objects = g_liveObjects;
    const qint64 rss = rssBytes();
    for (int i = 0; i < 1000; ++i)
        cycle();
    QCOMPARE(g_liveObjects.load(), objects);
    const qint64 growth = rssBytes() - rss;
    if (!Sanitized)
        QVERIFY2(growth < 2 * 1024 * 1024, qPrintable(QStringLiteral("RSS grew by %1 bytes").arg(growth)));
}

void TestLifecycle::deviceCreateDestroy()
{
    VXKTR450PROCam root;
    for (int i = 0; i < 50; ++i)
        delete root.initInstance();
    const long objects = g_liveObjects;
    const qint64 rss = rssBytes();
    for (int i = 0; i < 1000; ++i) {
        std::unique_ptr<VXDeviceInterface> device(root.initInstance());
        device->setIPAddress(QStringLiteral("127.0.0.1"));
        device->setUSBPath(QStringLiteral("/dev/null"));
    }
    QCOMPARE(g_liveObjects.load(), objects);
    const qint64 growth = rssBytes() - rss;
    if (!Sanitized)
        QVERIFY2(growth < 2 * 1024 * 1024, qPrintable(QStringLiteral("RSS grew by %1 bytes").arg(growth)));
}

void TestLifecycle::destroyedWithWorkPending_data()
{
    QTest::addColumn<QString>("pending");
    QTest::newRow("cloud request") << "request";
    QTest::newRow("lookup retry wait") << "retry";
    QTest::newRow("websocket opening") << "opening";
    QTest::newRow("websocket open") << "open";
}

void TestLifecycle::destroyedWithWorkPending()
{
    QFETCH(QString, pending);
    m_server.reset();
    m_server.addDevice("LC0001", 3);

    // The remote channel of "opening" goes to a peer that never answers the
    // handshake.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost, 0));
    const QString ws = pending == "opening" ? QStringLiteral("ws://127.0.0.1:%1/").arg(silent.serverPort())
                                            : m_server.ws();
    const QUrl http = pending == "retry" ? deadAddress() : m_server.httpBase();
    NimbraCloud cloud(http, ws);
    QSignalSpy done(&cloud, &NimbraCloud::finished);

    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device(root.initInstance());
    auto *common = static_cast<VXCommonInterface *>(device.get());
    common->setLookupRetryInterval(50);
    bool destroyed = false;
    int late = 0;
    QObject::connect(device.get(), &VXDeviceInterface::message, [&] { late += destroyed; });
    std::unique_ptr<VXDeviceInterface> witness(root.initInstance());
    static_cast<VXCommonInterface *>(witness.get())->setLookupRetryInterval(50);

    if (pending == "request") {
        m_server.setDelay(300);
        device->setNimbraCloud(&cloud, "LC0001");
    } else if (pending == "retry") {
        device->setNimbraCloud(&cloud, "LC0001");
        QTRY_VERIFY_WITH_TIMEOUT(lookups("LC0001") >= 2, 5000);   // in the wait now
        witness->setNimbraCloud(&cloud, "WT0001");
    } else {
        device->setNimbraCloud(&cloud, "LC0001");
        if (pending == "open")
            QTRY_COMPARE_WITH_TIMEOUT(common->cloudRecord().value("id").toInt(), 3, 5000);
        common->connect_websocket();
        if (pending == "open")
            QTRY_COMPARE_WITH_TIMEOUT(m_server.channels(), QStringList{"LC0001"}, 5000);
        else
            QVERIFY(silent.waitForNewConnection(5000));
    }

    const int lookupsAtDeath = lookups("LC0001");
    device.reset();
    destroyed = true;

    // Wait for the event that would have reached the dead object.
    if (pending == "request") {
        QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 5000);
        QCOMPARE(m_server.count("PUT", "device"), 0);
    } else if (pending == "retry") {
        const int w = lookups("WT0001");
        QTRY_VERIFY_WITH_TIMEOUT(lookups("WT0001") >= w + 3, 5000);
        QCOMPARE(lookups("LC0001"), lookupsAtDeath);
    } else if (pending == "open") {
        QTRY_VERIFY_WITH_TIMEOUT(m_server.channels().isEmpty(), 5000);
    } else {
        QTcpSocket *peer = silent.nextPendingConnection();
        QVERIFY(peer);
        QTRY_COMPARE_WITH_TIMEOUT(peer->state(), QAbstractSocket::UnconnectedState, 5000);
    }
    QCOMPARE(late, 0);
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
