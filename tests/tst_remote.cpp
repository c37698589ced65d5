// SPDX-License-Identifier: LGPL-2.1-or-later
// The remote channel against the local stand-in service's WebSocket endpoint.
#include "CloudTestSupport.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QWebSocket>
#include <QtTest>

#include <memory>
#include <thread>

namespace {
const QString Connected = QStringLiteral("WEB SOCKET CONNECTED.");
const QString Disconnected = QStringLiteral("WEB SOCKET DISCONNECTED.");
const QString Error = QStringLiteral("WEB SOCKET ERROR.");

// A device with a job record whose channel is the code under wsBase.
struct Channel {
    Channel(CloudServer &server, const QString &code, const QString &wsBase = QString())
        : cloud(server.httpBase(), wsBase.isNull() ? server.ws() : wsBase)
        , device(new CloudDevice)
        , messages(device.get(), &VXDeviceInterface::message)
    {
        device->setNimbraCloud(&cloud, code);   // before "DEVICE_CLOUD": no registration
        put(device.get(), "DEVICE_CLOUD", QJsonObject{{"code", code}});
        put(device.get(), "TASK", QJsonObject{{"FileName", "start"}});
    }
    int count(const QString &text) const { return statusCount(messages, text); }
    NimbraCloud cloud;
    std::unique_ptr<CloudDevice> device;
    QSignalSpy messages;
};
}

namespace {
int droppedRuntimes = 0;
QtMessageHandler previousHandler = nullptr;
void countDrops(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("VXCommonInterface::device_task_to_cloud Runtime dropped")))
        ++droppedRuntimes;
    else if (type != QtDebugMsg)
        previousHandler(type, context, text);
}

// Completes the channel's handshake, then never reads again: what the device
// sends piles up in the kernel and then in the device's own socket.
struct DeafPeer : QTcpServer {
    void incomingConnection(qintptr fd) override
    {
        auto socket = new QTcpSocket(this);
        socket->setSocketDescriptor(fd);
        connect(socket, &QTcpSocket::readyRead, socket, [socket] {
            const QByteArray request = socket->peek(8192);
            if (!request.contains("\r\n\r\n"))
                return;
            socket->read(request.indexOf("\r\n\r\n") + 4);
            const QByteArray key = QRegularExpression("Sec-WebSocket-Key: *([^\r]+)")
                .match(QString::fromLatin1(request)).captured(1).toLatin1();
            const QByteArray accept = QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11",
                                                               QCryptographicHash::Sha1).toBase64();
            socket->write("HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                          "Sec-WebSocket-Accept: " + accept + "\r\n\r\n");
            socket->disconnect();
            socket->setReadBufferSize(1);
        });
    }
};
}

class TestRemote : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_server.reset(); }
    void address_data();
    void address();
    void statusMessages();
    void notOpenedWithoutRecordOrClient();
    void newTextsTriggerRuntime_data();
    void newTextsTriggerRuntime();
    void oversizedMessageClosesChannel();
    void runtimeBacklogBounded();
    void secondConnectKeepsOneConnection();
    void destroyingDeviceClosesChannel();

private:
    CloudServer m_server;
};

void TestRemote::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    QVERIFY(m_server.start());
}

void TestRemote::address_data()
{
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QString>("channel");
    QTest::newRow("root") << "/" << "AB01Z9";
    QTest::newRow("folder") << "/svc/" << "svc/AB01Z9";
    QTest::newRow("no separator added") << "/pre" << "preAB01Z9";
}

void TestRemote::address()
{
    QFETCH(QString, basePath);
    QFETCH(QString, channel);
    const QString base = QStringLiteral("ws://127.0.0.1:%1%2").arg(m_server.wsPort()).arg(basePath);
    Channel c(m_server, "AB01Z9", base);
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);
    QCOMPARE(c.device->m_webSocket->requestUrl().toString(), base + "AB01Z9/Device/");
    QVERIFY(m_server.channels().contains(channel));
}

void TestRemote::statusMessages()
{
    Channel c(m_server, "ST0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);
    QVERIFY(m_server.closeChannel("ST0001"));
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Disconnected), 1, 5000);
    QCOMPARE(c.count(Error), 0);

    Channel refused(m_server, "ER0001", QStringLiteral("ws://127.0.0.1:%1/").arg(deadPort()));
    refused.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(refused.count(Error), 1, 5000);   // doubled would jump to 2
    QCOMPARE(refused.count(Connected), 0);
}

void TestRemote::notOpenedWithoutRecordOrClient()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice noRecord;
    noRecord.setNimbraCloud(&cloud, "NR0001");
    CloudDevice noClient;
    put(&noClient, "DEVICE_CLOUD", QJsonObject{{"code", "NC0001"}});
    for (CloudDevice *device : {&noRecord, &noClient}) {
        device->connect_websocket();
        QVERIFY(device->m_webSocket);
        QVERIFY(device->m_webSocket->requestUrl().isEmpty());
        QCOMPARE(device->m_webSocket->state(), QAbstractSocket::UnconnectedState);
    }
}

void TestRemote::newTextsTriggerRuntime_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("runtimes");
    QTest::newRow("A A") << QStringList{"A", "A"} << 1;
    QTest::newRow("A B A") << QStringList{"A", "B", "A"} << 3;
    QTest::newRow("A A B B A") << QStringList{"A", "A", "B", "B", "A"} << 3;
    QTest::newRow("JSON or not, case matters") << QStringList{"{\"a\":1}", "x", "X"} << 3;
    // The last text starts empty, so an empty first text is a repeat.
    QTest::newRow("empty first") << QStringList{""} << 0;
}

void TestRemote::newTextsTriggerRuntime()
{
    QFETCH(QStringList, texts);
    QFETCH(int, runtimes);

    Channel c(m_server, "DU0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);
    // Runs after the device's own slot, so each Runtime names how many texts
    // came before it; the one answering the sentinel names them all.
    int received = 0;
    CloudDevice *device = c.device.get();
    connect(device->m_webSocket, &QWebSocket::textMessageReceived, device, [device, &received] {
        put(device, "TASK", QJsonObject{{"FileName", QStringLiteral("after#%1").arg(++received)}});
    });
    for (const QString &text : texts + QStringList{"sentinel"})
        QVERIFY(m_server.push("DU0001", text));
    const QString last = QStringLiteral("\"FileName\":\"after#%1\"").arg(texts.size());
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channelTexts().isEmpty()
                             && m_server.channelTexts().constLast().text.contains(last), 5000);
    QCOMPARE(m_server.channelTexts().size(), runtimes + 1);
}

void TestRemote::oversizedMessageClosesChannel()
{
    Channel c(m_server, "OV0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);
    // From another thread: the writer blocks until this thread reads.
    const QString huge(int(VXCommonInterface::WebSocketMaxMessage) + 1024, QLatin1Char('x'));
    std::thread pusher([this, &huge] { m_server.push("OV0001", huge); });
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("OV0001"), 10000);
    pusher.join();
    QTRY_VERIFY_WITH_TIMEOUT(c.count(Disconnected) + c.count(Error) >= 1, 5000);
    QVERIFY(m_server.channelTexts().isEmpty());
    QVERIFY(c.device->m_lastRemoteText.isEmpty());
}

void TestRemote::runtimeBacklogBounded()
{
    DeafPeer deaf;
    QVERIFY(deaf.listen(QHostAddress::LocalHost));
    Channel c(m_server, "BL0001", QStringLiteral("ws://127.0.0.1:%1/").arg(deaf.serverPort()));
    QByteArray preview(1 << 20, Qt::Uninitialized);   // each snapshot ~1.4 MB of Base64
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(preview.data()), preview.size() / 4);
    put(c.device.get(), "FILE_PREVIEW", preview);
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);

    droppedRuntimes = 0;
    previousHandler = qInstallMessageHandler(countDrops);
    qint64 most = 0;
    for (int i = 0; i < 200; ++i) {
        c.device->device_task_to_cloud();
        QCoreApplication::processEvents();   // lets the socket hand what it can to the kernel
        most = qMax(most, c.device->m_webSocket->bytesToWrite());
    }
    qInstallMessageHandler(previousHandler);
    qInfo("largest backlog %lld bytes, %d of 200 snapshots dropped", most, droppedRuntimes);
    // Unbounded, 200 snapshots would hold some 280 MB here.
    QVERIFY2(most < 6 * 1024 * 1024, qPrintable(QString::number(most)));
    QVERIFY2(droppedRuntimes >= 150, qPrintable(QString::number(droppedRuntimes)));
}

void TestRemote::secondConnectKeepsOneConnection()
{
    Channel c(m_server, "TW0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 1, 5000);
    c.device->connect_websocket();
    // Doubled connections would report the second opening twice (1 -> 3).
    QTRY_COMPARE_WITH_TIMEOUT(c.count(Connected), 2, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channels().count("TW0001"), 1, 5000);
}

void TestRemote::destroyingDeviceClosesChannel()
{
    Channel open(m_server, "DS0001");
    open.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(open.count(Connected), 1, 5000);
    open.device.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("DS0001"), 5000);

    // Destroyed while the channel opens, beside one that goes on opening.
    Channel doomed(m_server, "DW0001");
    Channel witness(m_server, "DW0002");
    doomed.device->connect_websocket();
    witness.device->connect_websocket();
    doomed.device.reset();
    QTRY_COMPARE_WITH_TIMEOUT(witness.count(Connected), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("DW0001"), 5000);
}

QTEST_MAIN(TestRemote)
#include "tst_remote.moc"
