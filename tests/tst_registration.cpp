// SPDX-License-Identifier: LGPL-2.1-or-later
// Device registration against the local stand-in service on loopback.
#include "CloudTestSupport.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
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
    } else if (type != QtDebugMsg) {
        previousHandler(type, context, text);
    }
}

// Lookups the device asked for with this code so far (from its debug lines).
int lookups(const QString &code)
{
    QMutexLocker lock(&logMutex);
    return debugLines.filter(QRegularExpression(
        QStringLiteral("^VXCommonInterface::cloud_device_get.*\"code\":\"%1\"").arg(code))).size();
}

std::unique_ptr<CloudDevice> makeDevice()
{
    auto device = std::make_unique<CloudDevice>();
    device->init157(device.get());
    return device;
}

QJsonObject mirrored(VXCommonInterface *device)
{
    return device->property_ptr("DEVICE_CLOUD")->value().toJsonObject();
}

// Requests of this client that have finished, completions included.
struct Finished : QSignalSpy {
    explicit Finished(NimbraCloud &cloud)
        : QSignalSpy(&cloud, &NimbraCloud::finished) {}
};
}

class TestRegistration : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void modelNumber_data();
    void modelNumber();
    void answers_data();
    void answers();
    void retryChain_data();
    void retryChain();
    void laterRegistrationReplacesEarlier();
    void withoutDeviceCloudNothingIsSent();
    void destroyedDuringRequestOrRetryWait();

private:
    CloudServer m_server;
};

void TestRegistration::initTestCase()
{
    qRegisterMetaType<QNetworkReply *>();
    previousHandler = qInstallMessageHandler(captureDebug);
    QVERIFY(m_server.start());
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
    QTest::newRow("0 0 a 1") << "xy00a1" << 361;
    QTest::newRow("two characters") << "AB" << 0;
    QTest::newRow("three digits") << "AB123" << 1 * 1296 + 2 * 36 + 3;
    QTest::newRow("only four count") << "AB0001FFFF" << 1;
    QTest::newRow("minus sign") << "AB-0" << -3 * 36;
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

void TestRegistration::answers_data()
{
    using F = CloudServer::Fault;
    QTest::addColumn<int>("known");         // the service's id for AB01Z9XX; -1: unknown
    QTest::addColumn<QString>("resource");  // where the fault goes
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<QVariant>("id");       // invalid: no "id"
    QTest::addColumn<QVariant>("model");    // invalid: no "device_model"
    QTest::addColumn<int>("updates");
    QTest::addColumn<int>("creations");

    const QVariant none;
    QTest::newRow("found") << 17 << "" << int(F::None) << 0 << QVariant(17) << QVariant(8) << 1 << 0;
    QTest::newRow("found as 0") << 0 << "" << int(F::None) << 0 << QVariant(0) << QVariant(8) << 1 << 0;
    QTest::newRow("created") << -1 << "" << int(F::None) << 0 << QVariant(5) << QVariant(8) << 0 << 1;
    QTest::newRow("lookup 500") << 17 << "device" << int(F::Status) << 500 << none << QVariant(8) << 0 << 0;
    QTest::newRow("lookup 403") << 17 << "device" << int(F::Status) << 403 << none << QVariant(8) << 0 << 0;
    QTest::newRow("lookup 201") << 17 << "device" << int(F::Status) << 201 << none << QVariant(8) << 0 << 0;
    // Redirects are not followed: the token stays with the service.
    QTest::newRow("lookup 307") << 17 << "device" << int(F::Redirect) << 307 << none << QVariant(8) << 0 << 0;
    // A 200 without a whole-number id is no registration: no id 0, no update.
    QTest::newRow("lookup html") << 17 << "device" << int(F::Html) << 0 << none << QVariant(8) << 0 << 0;
    QTest::newRow("lookup empty") << 17 << "device" << int(F::Empty) << 0 << none << QVariant(8) << 0 << 0;
    QTest::newRow("model html") << 17 << "device_model" << int(F::Html) << 0 << QVariant(17) << none << 1 << 0;
    QTest::newRow("model 500") << 17 << "device_model" << int(F::Status) << 500 << QVariant(17) << none << 1 << 0;
    // 200 with an id, but cut off: the creation's flag is false.
    QTest::newRow("creation cut off") << -1 << "device_model" << int(F::Oversized) << 0 << none << none << 0 << 1;
}

void TestRegistration::answers()
{
    QFETCH(int, known);
    QFETCH(QString, resource);
    QFETCH(int, fault);
    QFETCH(int, status);
    QFETCH(QVariant, id);
    QFETCH(QVariant, model);
    QFETCH(int, updates);
    QFETCH(int, creations);

    if (known >= 0)
        m_server.addDevice("AB01Z9XX", known);
    m_server.addModel(2565, 8);
    m_server.setNextDeviceId(5);
    m_server.setFault(resource, CloudServer::Fault(fault), status);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    put(device.get(), "PCB_ID", "PCB-7");
    put(device.get(), "FIRMWARE", "V2.3");
    put(device.get(), "DEVICE_ID", 42);

    device->setNimbraCloud(&cloud, "AB01Z9XX");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2 + updates + creations, 10000);

    const QJsonObject record = device->cloudRecord();
    // Every key with its JSON type: ids are numbers, the identity texts.
    QJsonObject expected{{"code", "AB01Z9XX"}, {"pcb", "PCB-7"}, {"version", "V2.3"},
                         {"device_id", "42"}, {"online", true}};
    if (model.isValid())
        expected["device_model"] = model.toInt();
    QJsonObject withId = expected;
    if (id.isValid())
        withId["id"] = id.toInt();
    QCOMPARE(record, withId);
    QCOMPARE(mirrored(device.get()), record);

    QCOMPARE(m_server.count("PUT", "device"), updates);
    QCOMPARE(m_server.count("POST", "device_model"), creations);
    for (const CloudServer::Request &r : m_server.requests()) {
        if (r.verb != "PUT" && r.verb != "POST")
            continue;
        // The record as the lookup answer found it: with "device_model"
        // only if the model answer came first, with "id" only on the update.
        QJsonObject sent = r.json();
        if (sent.contains("device_model"))
            QCOMPARE(sent.take("device_model"), QJsonValue(model.toInt()));
        QJsonObject want = r.verb == "PUT" ? withId : expected;
        want.remove("device_model");
        QCOMPARE(sent, want);
    }

    // The model request goes first.
    QMutexLocker lock(&logMutex);
    const int modelLine = debugLines.indexOf(QRegularExpression(R"(^VXCommonInterface::setNimbraCloud.*"code":2565.*)"));
    const int lookupLine = debugLines.indexOf(QRegularExpression(R"(^VXCommonInterface::setNimbraCloud.*"code":"AB01Z9XX".*)"));
    QVERIFY(modelLine >= 0 && lookupLine > modelLine);
}

// Unreachable: the lookup alone is retried, with the same code, in one chain
// per device however often the host registers, and never faster than 100 ms
// nor stopped by a negative interval.
void TestRegistration::retryChain_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("effective");
    QTest::newRow("150") << 150 << 150;
    QTest::newRow("0 clamped") << 0 << 100;
    QTest::newRow("-1 clamped") << -1 << 100;
}

void TestRegistration::retryChain()
{
    QFETCH(int, interval);
    QFETCH(int, effective);
    QCOMPARE(VXCommonInterface().lookupRetryInterval(), 10000);
    NimbraCloud cloud(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(deadPort())), QString());
    auto device = makeDevice();
    device->setLookupRetryInterval(interval);
    for (int i = 0; i < 4; ++i)
        device->setNimbraCloud(&cloud, "AB01Z9");
    QElapsedTimer clock;
    clock.start();
    // Six retries of one chain take six intervals; four chains, or a hot
    // loop, take far less.
    QTRY_VERIFY_WITH_TIMEOUT(lookups("AB01Z9") >= 4 + 6, 10000);
    QVERIFY2(clock.elapsed() >= 5 * effective, qPrintable(QString::number(clock.elapsed())));
}

void TestRegistration::laterRegistrationReplacesEarlier()
{
    m_server.addDevice("OLD0001", 17);
    m_server.setNextDeviceId(30);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Finished finished(cloud);
    auto device = makeDevice();
    device->setNimbraCloud(&cloud, "OLD0001");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3, 5000);
    QVERIFY(device->cloudRecord().contains("id") && device->cloudRecord().contains("device_model"));

    // Both in flight at once; the earlier answers must not land in the new record.
    m_server.setDelay(200);
    device->setNimbraCloud(&cloud, "OLD0001");
    QVERIFY(!device->cloudRecord().contains("id") && !device->cloudRecord().contains("device_model"));
    QVERIFY(!mirrored(device.get()).contains("id"));
    device->setNimbraCloud(&cloud, "NEW0003");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 3 + 5, 5000);   // 2 models, 2 lookups, 1 creation
    QCOMPARE(device->cloudRecord().value("code"), QJsonValue("NEW0003"));
    QCOMPARE(device->cloudRecord().value("id"), QJsonValue(30));
    QCOMPARE(m_server.count("PUT", "device"), 1);
}

void TestRegistration::withoutDeviceCloudNothingIsSent()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice bare;
    bare.setNimbraCloud(&cloud, "AB01Z9");
    QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
    const QJsonObject expected{{"code", "AB01Z9"}, {"pcb", ""}, {"version", ""}, {"device_id", ""}, {"online", true}};
    QCOMPARE(bare.cloudRecord(), expected);

    auto noClient = makeDevice();
    noClient->setNimbraCloud(nullptr, "AB01Z9");
    QCOMPARE(lookups("AB01Z9"), 1);   // logged, not sent
}

void TestRegistration::destroyedDuringRequestOrRetryWait()
{
    m_server.setDelay(200);
    NimbraCloud slow(m_server.httpBase(), m_server.ws());
    Finished finished(slow);
    auto pending = makeDevice();
    pending->setNimbraCloud(&slow, "PEND001");
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().size(), 2, 5000);
    pending.reset();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 5000);

    NimbraCloud dead(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(deadPort())), QString());
    auto doomed = makeDevice();
    auto witness = makeDevice();
    doomed->setLookupRetryInterval(50);
    witness->setLookupRetryInterval(50);
    doomed->setNimbraCloud(&dead, "DOOM001");
    witness->setNimbraCloud(&dead, "WIT0001");
    QTRY_VERIFY_WITH_TIMEOUT(lookups("DOOM001") >= 2, 5000);
    doomed.reset();
    const int doomedLookups = lookups("DOOM001");
    const int witnessLookups = lookups("WIT0001");
    QTRY_VERIFY_WITH_TIMEOUT(lookups("WIT0001") >= witnessLookups + 3, 5000);
    QCOMPARE(lookups("DOOM001"), doomedLookups);
}

QTEST_MAIN(TestRegistration)
#include "tst_registration.moc"
