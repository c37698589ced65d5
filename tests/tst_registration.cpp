// Device registration against the local stand-in service on loopback.
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <memory>

namespace {
QMutex logMutex;
QStringList debugLines;
QtMessageHandler previousHandler = nullptr;

void captureDebug(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text.startsWith(QLatin1String("VXCommonInterface::"))) {
        QMutexLocker lock(&logMutex);
        debugLines << text;
        return;
    }
    if (type != QtDebugMsg)
        previousHandler(type, context, text);
}

// Lookups the device asked for with this code so far.
int lookups(const QString &code)
{
    QMutexLocker lock(&logMutex);
    const QString needle = QStringLiteral("\"code\":\"%1\"").arg(code);
    int n = 0;
    for (const QString &line : qAsConst(debugLines))
        n += line.startsWith(QLatin1String("VXCommonInterface::cloud_device_get")) && line.contains(needle);
    return n;
}

struct Device : VXCommonInterface {
    using VXCommonInterface::m_cloudRecord;
};

std::unique_ptr<Device> makeDevice(bool withCloudRecord = true)
{
    auto device = std::make_unique<Device>();
    if (withCloudRecord)
        device->init157(device.get());
    return device;
}

void attach(VXDeviceInterface *device, const char *key, const QVariant &value)
{
    auto record = new VXDeviceProperty;
    record->init(value, QString(), QString(), 0, 0, 0, VXDeviceInterface::UnCMD, QStringList());
    device->attachRecord(key, record);
}

QJsonObject deviceCloud(VXCommonInterface *device)
{
    return device->property_ptr("DEVICE_CLOUD")->value().toJsonObject();
}

// Every request of this client that has finished, completions included.
struct Finished {
    explicit Finished(NimbraCloud &cloud)
        : spy(cloud.findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished) {}
    QSignalSpy spy;
};

// A loopback port nobody listens on: connections are refused at once.
QUrl deadAddress()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
}
}

class TestRegistration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void modelNumber_data();
    void modelNumber();
    void foundDeviceIsUpdated();
    void unknownDeviceIsCreated();
    void creationIgnoredWithoutCleanAnswer();
    void otherStatusesEndTheAttempt_data();
    void otherStatusesEndTheAttempt();
    void bodiesThatAreNotJsonReadAsZero_data();
    void bodiesThatAreNotJsonReadAsZero();
    void modelFailureIsIndependent();
    void unreachableRetriesWithTheRecordCode();
    void registrationsKeepOneRetryChain();
    void secondRegistrationDropsIds();
    void staleAnswersAreIgnored();
    void withoutDeviceCloudNothingIsSent();
    void withoutClientNothingIsSent();
    void destroyedDuringRequest();
    void destroyedDuringRetryWait();

private:
    CloudServer m_server;
};

void TestRegistration::initTestCase()
{
    qRegisterMetaType<QNetworkReply *>();
    previousHandler = qInstallMessageHandler(captureDebug);
    QVERIFY(m_server.start());
}

void TestRegistration::cleanupTestCase()
{
    m_server.stop();
    qInstallMessageHandler(previousHandler);
}

void TestRegistration::init()
{
    m_server.reset();
    QMutexLocker lock(&logMutex);
    debugLines.clear();
}

void TestRegistration::modelNumber_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint32>("number");

    QTest::newRow("0 1 Z 9") << "AB01Z9XX" << 2565;
    QTest::newRow("0 0 A 1") << "XY00A1" << 361;
    QTest::newRow("lower case equals upper") << "xy00a1" << 361;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("two characters") << "AB" << 0;
    QTest::newRow("one digit") << "AB7" << 7;
    QTest::newRow("three digits") << "AB123" << 1 * 1296 + 2 * 36 + 3;
    QTest::newRow("zzzz") << "ABzzzz" << 35 * (46656 + 1296 + 36 + 1);
    QTest::newRow("only four count") << "AB0001FFFF" << 1;
    QTest::newRow("minus sign") << "AB-0" << -3 * 36;
    QTest::newRow("space") << "AB 1" << -16 * 36 + 1;
    QTest::newRow("brace above z") << "AB{" << 123 - 87;
    QTest::newRow("latin-1 byte is signed") << QString("AB") + QChar(0xE9) << -23 - 48;
    QTest::newRow("beyond latin-1 is ?") << QString("AB") + QChar(0x4E2D) << 63 - 48;
}

void TestRegistration::modelNumber()
{
    QFETCH(QString, code);
    QFETCH(qint32, number);
    QCOMPARE(VXCommonInterface::modelNumber(code), number);
}

void TestRegistration::foundDeviceIsUpdated()
{
    m_server.addDevice("AB01Z9", 17);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    attach(device.get(), "PCB_ID", "PCB-7");
    attach(device.get(), "FIRMWARE", "V2.3");
    attach(device.get(), "DEVICE_ID", 42);

    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 3, 5000);   // model, lookup, update

    const QJsonObject record = device->cloudRecord();
    QCOMPARE(record.value("id"), QJsonValue(17));
    QCOMPARE(record.value("code"), QJsonValue("AB01Z9"));
    QCOMPARE(record.value("pcb"), QJsonValue("PCB-7"));
    QCOMPARE(record.value("version"), QJsonValue("V2.3"));
    QCOMPARE(record.value("device_id"), QJsonValue("42"));
    QCOMPARE(record.value("online"), QJsonValue(true));
    QVERIFY(record.value("device_model").isDouble());
    QCOMPARE(deviceCloud(device.get()), record);
    QCOMPARE(m_server.models().keys(), QList<int>{2565});

    QCOMPARE(m_server.count("PUT", "device"), 1);
    QCOMPARE(m_server.count("POST", "device_model"), 0);
    QJsonObject update;
    for (const CloudServer::Request &r : m_server.requests()) {
        if (r.verb == "PUT")
            update = r.json();
    }
    for (const char *key : {"code", "pcb", "version", "device_id", "online", "id"})
        QCOMPARE(update.value(key), record.value(key));

    // The model request is issued first.
    QMutexLocker lock(&logMutex);
    const int model = debugLines.indexOf(QRegularExpression(R"(^VXCommonInterface::setNimbraCloud.*"code":2565.*)"));
    const int lookup = debugLines.indexOf(QRegularExpression(R"(^VXCommonInterface::setNimbraCloud.*"code":"AB01Z9".*)"));
    QVERIFY(model >= 0);
    QVERIFY(lookup > model);
}

void TestRegistration::unknownDeviceIsCreated()
{
    m_server.setNextDeviceId(5);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "NEW0001");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 3, 5000);   // model, lookup, creation

    QCOMPARE(device->cloudRecord().value("id"), QJsonValue(5));
    QCOMPARE(deviceCloud(device.get()).value("id"), QJsonValue(5));
    QCOMPARE(m_server.count("POST", "device_model"), 1);
    QCOMPARE(m_server.count("PUT", "device"), 0);
    for (const CloudServer::Request &r : m_server.requests()) {
        if (r.verb == "POST") {
            QCOMPARE(r.json().value("code"), QJsonValue("NEW0001"));
            QVERIFY(!r.json().contains("id"));
        }
    }
}

void TestRegistration::creationIgnoredWithoutCleanAnswer()
{
    // Status 200 and an id arrive, but the body is cut off: the flag is false.
    m_server.setFault("device_model", CloudServer::Fault::Oversized);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "NEW0002");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 3, 10000);

    QCOMPARE(m_server.devices().size(), 1);
    QVERIFY(!device->cloudRecord().contains("id"));
    QVERIFY(!deviceCloud(device.get()).contains("id"));
}

void TestRegistration::otherStatusesEndTheAttempt_data()
{
    QTest::addColumn<int>("status");
    QTest::newRow("201") << 201;
    QTest::newRow("400") << 400;
    QTest::newRow("403") << 403;
    QTest::newRow("500") << 500;
    QTest::newRow("503") << 503;
}

void TestRegistration::otherStatusesEndTheAttempt()
{
    QFETCH(int, status);
    m_server.addDevice("AB01Z9", 17);
    m_server.setFault("device", CloudServer::Fault::Status, status);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setLookupRetryInterval(1);
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 2, 5000);
    QTRY_VERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());

    QVERIFY(!device->cloudRecord().contains("id"));
    QVERIFY(device->cloudRecord().contains("device_model"));
    QCOMPARE(m_server.requests().size(), 2);
    QCOMPARE(lookups("AB01Z9"), 1);
}

void TestRegistration::bodiesThatAreNotJsonReadAsZero_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("key");

    QTest::newRow("lookup html") << "device" << int(CloudServer::Fault::Html) << "id";
    QTest::newRow("lookup empty") << "device" << int(CloudServer::Fault::Empty) << "id";
    QTest::newRow("model html") << "device_model" << int(CloudServer::Fault::Html) << "device_model";
    QTest::newRow("model empty") << "device_model" << int(CloudServer::Fault::Empty) << "device_model";
}

void TestRegistration::bodiesThatAreNotJsonReadAsZero()
{
    QFETCH(QString, resource);
    QFETCH(int, fault);
    QFETCH(QString, key);

    m_server.addDevice("AB01Z9", 17);
    m_server.addModel(2565, 8);
    m_server.setFault(resource, CloudServer::Fault(fault));
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 3, 5000);

    QCOMPARE(device->cloudRecord().value(key), QJsonValue(0));
    QCOMPARE(deviceCloud(device.get()).value(key), QJsonValue(0));
}

void TestRegistration::modelFailureIsIndependent()
{
    m_server.addDevice("AB01Z9", 17);
    m_server.setFault("device_model", CloudServer::Fault::Status, 500);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 3, 5000);

    QCOMPARE(device->cloudRecord().value("id"), QJsonValue(17));
    QVERIFY(!device->cloudRecord().contains("device_model"));
    QCOMPARE(m_server.count("PATCH", "device_model"), 1);
    QCOMPARE(m_server.count("PUT", "device"), 1);
}

void TestRegistration::unreachableRetriesWithTheRecordCode()
{
    QCOMPARE(VXCommonInterface().lookupRetryInterval(), 10000);

    // Answers come too late for the client: no response, as when unreachable.
    m_server.setDelay(1000);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    cloud.setTimeout(150);
    auto device = makeDevice();
    device->setLookupRetryInterval(100);
    device->setNimbraCloud(&cloud, "AB01Z9");

    QTRY_VERIFY_WITH_TIMEOUT(m_server.count("GET", "device") >= 2, 5000);
    for (const CloudServer::Request &r : m_server.requests()) {
        QVERIFY(r.verb == "GET" || r.verb == "PATCH");
        if (r.verb == "GET")
            QCOMPARE(r.json(), (QJsonObject{{"code", "AB01Z9"}}));
    }
    QCOMPARE(m_server.count("PATCH", "device_model"), 1);   // not retried

    // The retry reads the code the record holds when it fires.
    device->m_cloudRecord["code"] = "CHANGED1";
    QTRY_VERIFY_WITH_TIMEOUT(lookups("CHANGED1") >= 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(m_server.requests().constLast().json().value("code") == "CHANGED1", 5000);
    QCOMPARE(m_server.count("PUT", "device"), 0);
    QCOMPARE(m_server.count("POST", "device_model"), 0);
}

void TestRegistration::registrationsKeepOneRetryChain()
{
    NimbraCloud cloud(deadAddress(), QString());
    auto device = makeDevice();
    const int interval = 150;
    device->setLookupRetryInterval(interval);
    for (int i = 0; i < 4; ++i)
        device->setNimbraCloud(&cloud, "AB01Z9");
    QElapsedTimer clock;
    clock.start();

    // Six retries of one chain take six intervals; four chains would need 1.5.
    QTRY_VERIFY_WITH_TIMEOUT(lookups("AB01Z9") >= 4 + 6, 10000);
    QVERIFY2(clock.elapsed() >= 5 * interval, qPrintable(QString::number(clock.elapsed())));
}

void TestRegistration::secondRegistrationDropsIds()
{
    m_server.addDevice("AB01Z9", 17);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_VERIFY_WITH_TIMEOUT(device->cloudRecord().contains("id") && device->cloudRecord().contains("device_model"), 5000);

    m_server.setDelay(200);
    device->setNimbraCloud(&cloud, "AB01Z9");
    QVERIFY(!device->cloudRecord().contains("id"));
    QVERIFY(!device->cloudRecord().contains("device_model"));
    QVERIFY(!deviceCloud(device.get()).contains("id"));
    QTRY_COMPARE_WITH_TIMEOUT(deviceCloud(device.get()).value("id"), QJsonValue(17), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.count("PUT", "device"), 2, 5000);
}

// An answer to an earlier registration must not land in the current record.
void TestRegistration::staleAnswersAreIgnored()
{
    m_server.addDevice("OLD0001", 17);
    m_server.setNextDeviceId(30);
    m_server.setDelay(200);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "OLD0001");
    device->setNimbraCloud(&cloud, "NEW0003");
    // two models, two lookups, one creation
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 5, 5000);

    QCOMPARE(device->cloudRecord().value("code"), QJsonValue("NEW0003"));
    QCOMPARE(device->cloudRecord().value("id"), QJsonValue(30));
    QCOMPARE(m_server.count("PUT", "device"), 0);
}

void TestRegistration::withoutDeviceCloudNothingIsSent()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    auto device = makeDevice(false);
    device->setNimbraCloud(&cloud, "AB01Z9");
    QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
    const QJsonObject expected{{"code", "AB01Z9"}, {"pcb", ""}, {"version", ""}, {"device_id", ""}, {"online", true}};
    QCOMPARE(device->cloudRecord(), expected);
}

void TestRegistration::withoutClientNothingIsSent()
{
    auto device = makeDevice();
    device->setNimbraCloud(nullptr, "AB01Z9");
    QCOMPARE(deviceCloud(device.get()).value("code"), QJsonValue("AB01Z9"));
    device->cloud_device_get(QJsonObject{{"code", "AB01Z9"}});
    device->cloud_device_update(device->cloudRecord());
    device->cloud_device_new(device->cloudRecord());
    device->cloud_device_model_get(QJsonObject{{"code", 1}});
    // The lookup logs even without a client.
    QCOMPARE(lookups("AB01Z9"), 2);
}

void TestRegistration::destroyedDuringRequest()
{
    m_server.addDevice("AB01Z9", 17);
    m_server.setDelay(200);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().size(), 2, 5000);
    device.reset();
    QTRY_COMPARE_WITH_TIMEOUT(finished.spy.count(), 2, 5000);
    QCOMPARE(m_server.count("PUT", "device"), 0);
}

void TestRegistration::destroyedDuringRetryWait()
{
    NimbraCloud cloud(deadAddress(), QString());
    auto doomed = makeDevice();
    auto witness = makeDevice();
    doomed->setLookupRetryInterval(50);
    witness->setLookupRetryInterval(50);
    doomed->setNimbraCloud(&cloud, "DOOM001");
    witness->setNimbraCloud(&cloud, "WIT0001");
    QTRY_VERIFY_WITH_TIMEOUT(lookups("DOOM001") >= 2, 5000);

    doomed.reset();
    const int doomedLookups = lookups("DOOM001");
    const int witnessLookups = lookups("WIT0001");
    QTRY_VERIFY_WITH_TIMEOUT(lookups("WIT0001") >= witnessLookups + 3, 5000);
    QCOMPARE(lookups("DOOM001"), doomedLookups);
}

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
