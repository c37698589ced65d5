// The remote channel against the local stand-in service's WebSocket endpoint.
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QWebSocket>
#include <QtTest>

#include <memory>
#include <thread>

namespace {
struct Device : VXCommonInterface {
    using VXCommonInterface::m_lastRemoteText;
    using VXCommonInterface::m_webSocket;
};

void put(VXDeviceInterface *device, const char *key, const QVariant &value)
{
    if (VXDeviceProperty *p = device->property_ptr(key)) {
        p->setValue(value);
        return;
    }
    auto record = new VXDeviceProperty;
    record->init(value, QString(), QString(), 0, 0, 0, VXDeviceInterface::UnCMD, QStringList());
    device->attachRecord(key, record);
}

int count(const QSignalSpy &spy, const QString &text)
{
    int n = 0;
    for (const QList<QVariant> &args : spy) {
        n += args.at(0).value<VXDeviceInterface::VXDeviceMessage>() == VXDeviceInterface::DevStatus
             && args.at(1).toString() == text;
    }
    return n;
}

const QString Connected = QStringLiteral("WEB SOCKET CONNECTED.");
const QString Disconnected = QStringLiteral("WEB SOCKET DISCONNECTED.");
const QString Error = QStringLiteral("WEB SOCKET ERROR.");

// A device on the remote channel of code, with a job record to report.
struct Channel {
    Channel(CloudServer &server, const QString &code, const QString &wsBase = QString())
        : cloud(server.httpBase(), wsBase.isNull() ? server.ws() : wsBase)
        , device(new Device)
        , messages(device.get(), &VXDeviceInterface::message)
    {
        device->setNimbraCloud(&cloud, code);   // before "DEVICE_CLOUD": no registration traffic
        put(device.get(), "DEVICE_CLOUD", QJsonObject{{"code", code}});
        put(device.get(), "TASK", QJsonObject{{"FileName", "start"}});
    }
    NimbraCloud cloud;
    std::unique_ptr<Device> device;
    QSignalSpy messages;
};
}

class TestRemote : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void address_data();
    void address();
    void statusMessages();
    void refusedChannelReportsOneError();
    void notOpenedWithoutRecordOrClient();
    void newTextsTriggerRuntime_data();
    void newTextsTriggerRuntime();
    void lastTextSurvivesReconnection();
    void oversizedMessageClosesChannel();
    void secondConnectKeepsOneConnection();
    void destroyingDeviceClosesChannel();
    void destroyedWhileOpening();

private:
    CloudServer m_server;
};

void TestRemote::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    QVERIFY(m_server.start());
}

void TestRemote::init()
{
    m_server.reset();
}

void TestRemote::address_data()
{
    QTest::addColumn<QString>("basePath");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("channel");

    QTest::newRow("root") << "/" << "AB01Z9" << "AB01Z9";
    QTest::newRow("base with folder") << "/svc/" << "AB01Z9" << "svc/AB01Z9";
    // No separator is put between base and code.
    QTest::newRow("base without slash") << "/pre" << "AB01Z9" << "preAB01Z9";
}

void TestRemote::address()
{
    QFETCH(QString, basePath);
    QFETCH(QString, code);
    QFETCH(QString, channel);

    const QString base = QStringLiteral("ws://127.0.0.1:%1%2").arg(m_server.wsPort()).arg(basePath);
    Channel c(m_server, code, base);
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    QCOMPARE(c.device->m_webSocket->requestUrl().toString(), base + code + "/Device/");
    QVERIFY(m_server.channels().contains(channel));
}

void TestRemote::statusMessages()
{
    Channel c(m_server, "ST0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    QVERIFY(m_server.closeChannel("ST0001"));
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Disconnected), 1, 5000);
    QCOMPARE(count(c.messages, Connected), 1);
    QCOMPARE(count(c.messages, Error), 0);
}

void TestRemote::refusedChannelReportsOneError()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const QString dead = QStringLiteral("ws://127.0.0.1:%1/").arg(probe.serverPort());
    probe.close();

    Channel c(m_server, "ER0001", dead);
    c.device->connect_websocket();
    // A doubled connection would jump straight to 2.
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Error), 1, 5000);
    QCOMPARE(count(c.messages, Connected), 0);
}

void TestRemote::notOpenedWithoutRecordOrClient()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Device noRecord;
    noRecord.setNimbraCloud(&cloud, "NR0001");
    noRecord.connect_websocket();
    QVERIFY(noRecord.m_webSocket);
    QVERIFY(noRecord.m_webSocket->requestUrl().isEmpty());
    QCOMPARE(noRecord.m_webSocket->state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(noRecord.m_webSocket->maxAllowedIncomingMessageSize(), quint64(VXCommonInterface::WebSocketMaxMessage));

    Device noClient;
    put(&noClient, "DEVICE_CLOUD", QJsonObject{{"code", "NC0001"}});
    noClient.connect_websocket();
    QVERIFY(noClient.m_webSocket);
    QVERIFY(noClient.m_webSocket->requestUrl().isEmpty());
}

void TestRemote::newTextsTriggerRuntime_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("runtimes");

    QTest::newRow("A A") << QStringList{"A", "A"} << 1;
    QTest::newRow("A B A") << QStringList{"A", "B", "A"} << 3;
    QTest::newRow("A A B B A") << QStringList{"A", "A", "B", "B", "A"} << 3;
    QTest::newRow("JSON or not") << QStringList{"{\"actions\":[\"Runtime\"]}", "plain"} << 2;
    QTest::newRow("case matters") << QStringList{"a", "A"} << 2;
    // The last text starts empty, so an empty first text is a repeat.
    QTest::newRow("empty first") << QStringList{""} << 0;
}

void TestRemote::newTextsTriggerRuntime()
{
    QFETCH(QStringList, texts);
    QFETCH(int, runtimes);

    Channel c(m_server, "DU0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    // Runs after the device's own slot: each Runtime names the text before it.
    int received = 0;
    Device *device = c.device.get();
    connect(device->m_webSocket, &QWebSocket::textMessageReceived, device, [device, &received] {
        put(device, "TASK", QJsonObject{{"FileName", QStringLiteral("after#%1").arg(++received)}});
    });

    for (const QString &text : texts)
        QVERIFY(m_server.push("DU0001", text));
    QVERIFY(m_server.push("DU0001", "sentinel"));
    const QString last = QStringLiteral("\"FileName\":\"after#%1\"").arg(texts.size());
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channelTexts().isEmpty()
                             && m_server.channelTexts().constLast().text.contains(last), 5000);
    QCOMPARE(m_server.channelTexts().size(), runtimes + 1);
    QCOMPARE(c.device->m_lastRemoteText, QString("sentinel"));
}

void TestRemote::lastTextSurvivesReconnection()
{
    Channel c(m_server, "RC0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    QVERIFY(m_server.push("RC0001", "A"));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 1, 5000);

    QVERIFY(m_server.closeChannel("RC0001"));
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Disconnected), 1, 5000);
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 2, 5000);

    put(c.device.get(), "TASK", QJsonObject{{"FileName", "second"}});
    QVERIFY(m_server.push("RC0001", "A"));
    QVERIFY(m_server.push("RC0001", "B"));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 2, 5000);
    QVERIFY(m_server.channelTexts().at(1).text.contains("\"FileName\":\"second\""));
    QCOMPARE(c.device->m_lastRemoteText, QString("B"));
}

void TestRemote::oversizedMessageClosesChannel()
{
    Channel c(m_server, "OV0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);

    // From another thread: the writer blocks until this thread reads.
    const QString huge(int(VXCommonInterface::WebSocketMaxMessage) + 1024, QLatin1Char('x'));
    std::thread pusher([this, &huge] { m_server.push("OV0001", huge); });
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("OV0001"), 10000);
    pusher.join();
    QTRY_VERIFY_WITH_TIMEOUT(count(c.messages, Disconnected) + count(c.messages, Error) >= 1, 5000);
    QVERIFY(m_server.channelTexts().isEmpty());
    QVERIFY(c.device->m_lastRemoteText.isEmpty());
}

void TestRemote::secondConnectKeepsOneConnection()
{
    Channel c(m_server, "TW0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    c.device->connect_websocket();
    // Doubled connections would report the second opening twice (1 -> 3).
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 2, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channels().count("TW0001"), 1, 5000);

    QVERIFY(m_server.closeChannel("TW0001"));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("TW0001"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(count(c.messages, Disconnected) >= 1, 5000);
    QVERIFY(count(c.messages, Disconnected) <= 2);
    QCOMPARE(count(c.messages, Error), 0);
}

void TestRemote::destroyingDeviceClosesChannel()
{
    Channel c(m_server, "DS0001");
    c.device->connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(count(c.messages, Connected), 1, 5000);
    QVERIFY(m_server.channels().contains("DS0001"));
    c.device.reset();
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("DS0001"), 5000);
}

void TestRemote::destroyedWhileOpening()
{
    Channel doomed(m_server, "DW0001");
    Channel witness(m_server, "DW0002");
    doomed.device->connect_websocket();
    witness.device->connect_websocket();
    doomed.device.reset();
    QTRY_COMPARE_WITH_TIMEOUT(count(witness.messages, Connected), 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.channels().contains("DW0001"), 5000);
}

QTEST_MAIN(TestRemote)
#include "tst_remote.moc"
