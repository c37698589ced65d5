// SPDX-License-Identifier: LGPL-2.1-or-later
// The cloud client against the local stand-in service on loopback.
#include "CloudTestSupport.h"

#include <QNetworkReply>
#include <QPointer>
#include <QtTest>

namespace {
struct Outcome {
    int calls = 0;
    bool ok = false;
    QVariant status;
    QPointer<QNetworkReply> reply;
};

NimbraCloud::Completion recorder(Outcome &out)
{
    return [&out](QNetworkReply *reply, bool ok) {
        ++out.calls;
        out.ok = ok;
        out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        out.reply = reply;
    };
}
}

class TestCloudClient : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_server.start()); }
    void init() { m_server.reset(); }
    void exchanges_data();
    void exchanges();
    void tokenAndBasePath();
    void destroyedClientDropsCompletions();

private:
    CloudServer m_server;   // one for all: a restart waits for its threads
};

void TestCloudClient::exchanges_data()
{
    using F = CloudServer::Fault;
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("delay");       // -1: nobody listens
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("status");      // 0: no status at all

    QTest::newRow("GET with body") << QByteArray("GET") << "device" << int(F::None) << 0 << true << 200;
    QTest::newRow("PUT") << QByteArray("PUT") << "device" << int(F::None) << 0 << true << 200;
    QTest::newRow("PATCH, 400 is an answer") << QByteArray("PATCH") << "device_model" << int(F::None) << 0 << true << 400;
    QTest::newRow("POST") << QByteArray("POST") << "device_work_records" << int(F::None) << 0 << true << 200;
    // An HTTP error status is still an answer.
    QTest::newRow("500") << QByteArray("GET") << "device" << int(F::Status) << 0 << true << 500;
    QTest::newRow("html") << QByteArray("GET") << "device" << int(F::Html) << 0 << true << 200;
    QTest::newRow("refused") << QByteArray("GET") << "device" << int(F::None) << -1 << false << 0;
    QTest::newRow("timed out") << QByteArray("GET") << "device" << int(F::None) << 3000 << false << 0;
    // Status and headers came, the body was cut off at the client's bound.
    QTest::newRow("oversized") << QByteArray("POST") << "device_model" << int(F::Oversized) << 0 << false << 200;
}

void TestCloudClient::exchanges()
{
    QFETCH(QByteArray, verb);
    QFETCH(QString, path);
    QFETCH(int, fault);
    QFETCH(int, delay);
    QFETCH(bool, ok);
    QFETCH(int, status);

    m_server.addDevice("AB01Z9", 17);
    m_server.setFault(path, CloudServer::Fault(fault), 500);
    m_server.setDelay(qMax(delay, 0));
    QUrl base = m_server.httpBase();
    if (delay < 0)
        base.setPort(deadPort());
    NimbraCloud cloud(base, m_server.ws());
    QCOMPARE(cloud.timeout(), NimbraCloud::DefaultTimeoutMs);
    cloud.setTimeout(500);

    const QJsonObject body{{"code", "AB01Z9"}, {"id", 17}};
    Outcome out;
    cloud.customRequest(path, verb, body, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 10000);
    QCOMPARE(out.ok, ok);
    QCOMPARE(out.status.isValid(), status != 0);
    QCOMPARE(out.status.toInt(), status);
    QTRY_VERIFY(out.reply.isNull());   // disposed of after the completion
    QCOMPARE(out.calls, 1);
    if (delay >= 0) {
        const CloudServer::Request sent = m_server.requests().value(0);
        QCOMPARE(sent.verb, verb);
        QCOMPARE(sent.path, path);
        QCOMPARE(sent.json(), body);
    }
}

void TestCloudClient::tokenAndBasePath()
{
    QUrl base = m_server.httpBase();
    base.setPath("/api");   // resolving against it must keep "api"
    NimbraCloud withToken(base, m_server.ws(), "s3cret");
    NimbraCloud without(m_server.httpBase(), m_server.ws());
    withToken.customRequest("device_work_records", "POST", QJsonObject(), NimbraCloud::Completion());
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().size(), 1, 5000);
    without.customRequest("device_work_records", "POST", QJsonObject(), NimbraCloud::Completion());
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().size(), 2, 5000);

    const QList<CloudServer::Request> sent = m_server.requests();
    QCOMPARE(sent[0].path, QString("api/device_work_records"));
    QCOMPARE(sent[0].authorization, QByteArray("Bearer s3cret"));
    QCOMPARE(sent[1].authorization, QByteArray());
}

void TestCloudClient::destroyedClientDropsCompletions()
{
    m_server.setDelay(300);
    Outcome dropped, sentinel;
    auto cloud = new NimbraCloud(m_server.httpBase(), m_server.ws());
    cloud->customRequest("device", "GET", QJsonObject(), recorder(dropped));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.requests().size(), 1, 5000);
    delete cloud;

    // A completion may also drop its client.
    auto second = new NimbraCloud(m_server.httpBase(), m_server.ws());
    second->customRequest("device", "GET", QJsonObject(), [&](QNetworkReply *reply, bool ok) {
        recorder(sentinel)(reply, ok);
        delete second;
    });
    QTRY_COMPARE_WITH_TIMEOUT(sentinel.calls, 1, 5000);
    QCOMPARE(dropped.calls, 0);
}

QTEST_MAIN(TestCloudClient)
#include "tst_cloudclient.moc"
