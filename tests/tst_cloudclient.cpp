// The cloud client against the local stand-in service on loopback.
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {
struct Outcome {
    int calls = 0;
    bool ok = false;
    QVariant status;
    QByteArray body;
    QPointer<QNetworkReply> reply;
};

NimbraCloud::Completion recorder(Outcome &out)
{
    return [&out](QNetworkReply *reply, bool ok) {
        ++out.calls;
        out.ok = ok;
        out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        out.body = reply->isOpen() ? reply->readAll() : QByteArray();
        out.reply = reply;
    };
}
}

class TestCloudClient : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void bodyTravelsWithEveryVerb_data();
    void bodyTravelsWithEveryVerb();
    void answers_data();
    void answers();
    void unreachableGivesNoStatus();
    void timeoutAbortsOnce();
    void oversizedBodyIsCutOff();
    void tokenIsSentAsBearer();
    void basePathIsKept();
    void emptyCompletionIsAllowed();
    void destroyedClientDropsCompletions();
    void completionMayDestroyClient();

private:
    CloudServer *m_server = nullptr;
};

// One server for all: stopping one waits for its threads.
void TestCloudClient::initTestCase()
{
    m_server = new CloudServer;
    QVERIFY(m_server->start());
}

void TestCloudClient::cleanupTestCase()
{
    delete m_server;
}

void TestCloudClient::init()
{
    m_server->reset();
}

void TestCloudClient::bodyTravelsWithEveryVerb_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonObject>("body");
    QTest::addColumn<int>("status");

    QTest::newRow("GET device") << QByteArray("GET") << "device" << QJsonObject{{"code", "AB01Z9"}} << 200;
    QTest::newRow("PUT device") << QByteArray("PUT") << "device" << QJsonObject{{"code", "AB01Z9"}, {"id", 17}} << 200;
    QTest::newRow("PATCH device_model") << QByteArray("PATCH") << "device_model" << QJsonObject{{"code", 2565}} << 200;
    QTest::newRow("POST device_model") << QByteArray("POST") << "device_model" << QJsonObject{{"code", "NEW1"}} << 200;
    QTest::newRow("POST work record") << QByteArray("POST") << "device_work_records" << QJsonObject{{"device", 17}} << 200;
}

void TestCloudClient::bodyTravelsWithEveryVerb()
{
    QFETCH(QByteArray, verb);
    QFETCH(QString, path);
    QFETCH(QJsonObject, body);
    QFETCH(int, status);

    m_server->addDevice("AB01Z9", 17);
    NimbraCloud cloud(m_server->httpBase(), m_server->ws());
    Outcome out;
    cloud.customRequest(path, verb, body, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 5000);

    QVERIFY(out.ok);
    QCOMPARE(out.status.toInt(), status);
    const QList<CloudServer::Request> log = m_server->requests();
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].verb, verb);
    QCOMPARE(log[0].path, path);
    QCOMPARE(log[0].json(), body);
    QVERIFY(QJsonDocument::fromJson(out.body).isObject());
    // The client disposes of the reply after the completion.
    QTRY_VERIFY(out.reply.isNull());
    QCOMPARE(out.calls, 1);
}

void TestCloudClient::answers_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("faultStatus");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    using F = CloudServer::Fault;
    QTest::newRow("unknown device") << int(F::None) << 0 << 404 << QByteArray(R"({"error":"unknown device"})");
    QTest::newRow("500") << int(F::Status) << 500 << 500 << QByteArray(R"({"error":"injected failure"})");
    QTest::newRow("403") << int(F::Status) << 403 << 403 << QByteArray(R"({"error":"injected failure"})");
    QTest::newRow("html") << int(F::Html) << 0 << 200
                          << QByteArray("<!DOCTYPE html><html><body><h1>Maintenance</h1></body></html>");
    QTest::newRow("empty") << int(F::Empty) << 0 << 200 << QByteArray();
}

// An HTTP error status is an answer: the flag stays true.
void TestCloudClient::answers()
{
    QFETCH(int, fault);
    QFETCH(int, faultStatus);
    QFETCH(int, status);
    QFETCH(QByteArray, body);

    m_server->setFault("device", CloudServer::Fault(fault), faultStatus);
    NimbraCloud cloud(m_server->httpBase(), m_server->ws());
    Outcome out;
    cloud.customRequest("device", "GET", QJsonObject{{"code", "NOPE"}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 5000);
    QVERIFY(out.ok);
    QCOMPARE(out.status.toInt(), status);
    QCOMPARE(out.body, body);
}

void TestCloudClient::unreachableGivesNoStatus()
{
    CloudServer gone;
    QVERIFY(gone.start());
    const QUrl base = gone.httpBase();
    gone.stop();
    NimbraCloud cloud(base, QString());
    Outcome out;
    cloud.customRequest("device", "GET", QJsonObject{{"code", "X"}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 5000);
    QVERIFY(!out.ok);
    QVERIFY(!out.status.isValid());
    QCOMPARE(out.status.toInt(), 0);
}

void TestCloudClient::timeoutAbortsOnce()
{
    m_server->setDelay(3000);
    NimbraCloud cloud(m_server->httpBase(), m_server->ws());
    QCOMPARE(cloud.timeout(), NimbraCloud::DefaultTimeoutMs);
    cloud.setTimeout(200);
    Outcome out;
    QElapsedTimer clock;
    clock.start();
    cloud.customRequest("device", "GET", QJsonObject{{"code", "X"}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 5000);
    QVERIFY(clock.elapsed() < 2500);
    QVERIFY(!out.ok);
    QVERIFY(!out.status.isValid());
    QTRY_VERIFY(out.reply.isNull());
    QCOMPARE(out.calls, 1);
}

// A body beyond the client's bound is not read to the end: the answer counts
// as broken although its status arrived.
void TestCloudClient::oversizedBodyIsCutOff()
{
    m_server->setFault("device_model", CloudServer::Fault::Oversized);
    NimbraCloud cloud(m_server->httpBase(), m_server->ws());
    Outcome out;
    cloud.customRequest("device_model", "POST", QJsonObject{{"code", "BIG1"}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 10000);
    QVERIFY(!out.ok);
    QCOMPARE(out.status.toInt(), 200);
    QVERIFY(out.body.size() < CloudServer::OversizedBytes);
}

void TestCloudClient::tokenIsSentAsBearer()
{
    NimbraCloud withToken(m_server->httpBase(), m_server->ws(), "s3cret-token");
    NimbraCloud without(m_server->httpBase(), m_server->ws());
    Outcome a, b;
    withToken.customRequest("device_work_records", "POST", QJsonObject{{"n", 1}}, recorder(a));
    without.customRequest("device_work_records", "POST", QJsonObject{{"n", 2}}, recorder(b));
    QTRY_VERIFY_WITH_TIMEOUT(a.calls == 1 && b.calls == 1, 5000);

    for (const CloudServer::Request &r : m_server->requests()) {
        const QByteArray expected = r.json().value("n").toInt() == 1 ? "Bearer s3cret-token" : "";
        QCOMPARE(r.authorization, expected);
    }
}

void TestCloudClient::basePathIsKept()
{
    // Without the trailing '/', URL resolution would drop "api".
    QUrl base = m_server->httpBase();
    base.setPath("/api");
    NimbraCloud cloud(base, m_server->ws());
    QCOMPARE(cloud.httpBase().path(), QString("/api/"));
    Outcome out;
    cloud.customRequest("device", "GET", QJsonObject(), recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 5000);
    QCOMPARE(m_server->requests().value(0).path, QString("api/device"));
    QCOMPARE(cloud.ws(), m_server->ws());
}

void TestCloudClient::emptyCompletionIsAllowed()
{
    NimbraCloud cloud(m_server->httpBase(), m_server->ws());
    cloud.customRequest("device_work_records", "POST", QJsonObject{{"device", 1}}, NimbraCloud::Completion());
    QTRY_COMPARE_WITH_TIMEOUT(m_server->workRecords().size(), 1, 5000);
    QTRY_VERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
}

void TestCloudClient::destroyedClientDropsCompletions()
{
    m_server->setDelay(300);
    Outcome out;
    auto cloud = new NimbraCloud(m_server->httpBase(), m_server->ws());
    cloud->customRequest("device", "GET", QJsonObject{{"code", "X"}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requests().size(), 1, 5000);
    delete cloud;
    // A second client's answer arrives after the first one's would have.
    NimbraCloud later(m_server->httpBase(), m_server->ws());
    Outcome sentinel;
    later.customRequest("device", "GET", QJsonObject{{"code", "Y"}}, recorder(sentinel));
    QTRY_COMPARE_WITH_TIMEOUT(sentinel.calls, 1, 5000);
    QCOMPARE(out.calls, 0);
}

void TestCloudClient::completionMayDestroyClient()
{
    auto cloud = new NimbraCloud(m_server->httpBase(), m_server->ws());
    QPointer<NimbraCloud> guard(cloud);
    int calls = 0;
    cloud->customRequest("device", "GET", QJsonObject(), [&](QNetworkReply *, bool) {
        ++calls;
        delete cloud;
    });
    QTRY_VERIFY_WITH_TIMEOUT(guard.isNull(), 5000);
    QCOMPARE(calls, 1);
}

QTEST_MAIN(TestCloudClient)
#include "tst_cloudclient.moc"
