// SPDX-License-Identifier: LGPL-2.1-or-later
// The cloud client against the local stand-in service on loopback.
#include "CloudTestSupport.h"
#include "cloud/HttpResponseReader.h"

#include <QNetworkReply>
#include <QPointer>
#include <QProcess>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QWebSocketServer>
#include <QtTest>

namespace {
struct Outcome {
    int calls = 0;
    bool ok = false;
    QVariant status;
    QPointer<QNetworkReply> reply;
};

// HTTPS with a certificate made for the test: one answer to every request.
struct TlsEndpoint : QTcpServer {
    QSslConfiguration config;
    int requests = 0;
    void incomingConnection(qintptr fd) override
    {
        auto socket = new QSslSocket(this);
        socket->setSocketDescriptor(fd);
        socket->setSslConfiguration(config);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;   // the test's bodies come with the headers
            ++requests;
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 8\r\nConnection: close\r\n\r\n{\"id\":1}");
            socket->disconnectFromHost();
        });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        socket->startServerEncryption();
    }
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
    void initTestCase()
    {
        qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
        QVERIFY(m_server.start());
    }
    void init() { m_server.reset(); }
    void exchanges_data();
    void exchanges();
    void responseFraming_data();
    void responseFraming();
    void tokenGoesOnlyToTheService();
    void selfSignedTls_data();
    void selfSignedTls();
    void destroyedClientDropsCompletions();

private:
    CloudServer m_server;   // one for all: a restart waits for its threads
    QTemporaryDir m_dir;
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
    QTest::newRow("chunked, no length") << QByteArray("GET") << "device" << int(F::Chunked) << 0 << false << 200;
    // Asked for identity, the client keeps the compressed bytes: well
    // under the bound that the 64 MiB they inflate to would break.
    QTest::newRow("gzip not inflated") << QByteArray("GET") << "device" << int(F::Gzip) << 0 << true << 200;
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

// Each response read whole and a byte at a time, with a 16-byte body limit.
void TestCloudClient::responseFraming_data()
{
    using S = HttpResponseReader::State;
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<bool>("closed");     // the peer hangs up after the bytes
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    const QByteArray ok = "HTTP/1.1 200 OK\r\n";
    QTest::newRow("length") << ok + "Content-Length: 8\r\n\r\n{\"id\":1}tail" << false << int(S::Done) << 200 << QByteArray("{\"id\":1}");
    QTest::newRow("chunked, extension, trailer")
        << ok + "Transfer-Encoding: chunked\r\n\r\n3;x=y\r\n{\"i\r\n5\r\nd\":1}\r\n0\r\nT: 1\r\n\r\n" << false
        << int(S::Done) << 200 << QByteArray("{\"id\":1}");
    QTest::newRow("interim 100 skipped") << "HTTP/1.1 100 Continue\r\n\r\n" + ok + "Content-Length: 2\r\n\r\n{}" << false
                                         << int(S::Done) << 200 << QByteArray("{}");
    QTest::newRow("until close") << ok + "\r\n{}" << true << int(S::Done) << 200 << QByteArray("{}");
    QTest::newRow("no content") << QByteArray("HTTP/1.1 204 No Content\r\n\r\n") << false << int(S::Done) << 204 << QByteArray();
    // Cut off: the peer went before the body was whole.
    QTest::newRow("length cut short") << ok + "Content-Length: 8\r\n\r\n{\"id\"" << true << int(S::Malformed) << 200 << QByteArray();
    QTest::newRow("chunks cut short") << ok + "Transfer-Encoding: chunked\r\n\r\n2\r\n{}\r\n" << true << int(S::Malformed) << 200 << QByteArray();
    // Over the limit: refused on what is announced, before the body comes.
    QTest::newRow("length over limit") << ok + "Content-Length: 17\r\n\r\n" << false << int(S::TooLarge) << 200 << QByteArray();
    QTest::newRow("chunk over limit") << ok + "Transfer-Encoding: chunked\r\n\r\n11\r\n" << false << int(S::TooLarge) << 200 << QByteArray();
    QTest::newRow("chunks over limit") << ok + "Transfer-Encoding: chunked\r\n\r\n9\r\n123456789\r\n9\r\n" << false << int(S::TooLarge) << 200 << QByteArray();
    QTest::newRow("flood until close") << ok + "\r\n" + QByteArray(17, ' ') << false << int(S::TooLarge) << 200 << QByteArray();
    QTest::newRow("head over limit") << ok + "X: " + QByteArray(HttpResponseReader::MaxHeadBytes, 'x') << false << int(S::TooLarge) << 0 << QByteArray();
    // Where one reader and another would disagree on the length.
    QTest::newRow("lengths disagree") << ok + "Content-Length: 2\r\nContent-Length: 3\r\n\r\n{}" << false << int(S::Malformed) << 200 << QByteArray();
    QTest::newRow("signed length") << ok + "Content-Length: +2\r\n\r\n{}" << false << int(S::Malformed) << 200 << QByteArray();
    QTest::newRow("bad chunk size") << ok + "Transfer-Encoding: chunked\r\n\r\nzz\r\n" << false << int(S::Malformed) << 200 << QByteArray();
    QTest::newRow("folded header") << ok + "X: a\r\n b\r\n\r\n" << false << int(S::Malformed) << 0 << QByteArray();
    QTest::newRow("not HTTP") << QByteArray("SSH-2.0-x\r\n\r\n") << false << int(S::Malformed) << 0 << QByteArray();
}

void TestCloudClient::responseFraming()
{
    QFETCH(QByteArray, wire);
    QFETCH(bool, closed);
    QFETCH(int, state);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    for (const int step : {int(wire.size()), 1}) {
        HttpResponseReader reader(16);
        for (int at = 0; at < wire.size(); at += step)
            reader.feed(wire.constData() + at, qMin(step, int(wire.size()) - at));
        if (closed)
            reader.finishAtEof();
        QCOMPARE(int(reader.state()), state);
        QCOMPARE(reader.status(), status);
        if (state == int(HttpResponseReader::State::Done))
            QCOMPARE(reader.body(), body);
        QVERIFY(reader.body().size() <= 16);
    }
}

void TestCloudClient::tokenGoesOnlyToTheService()
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

    // A redirect is an answer, not an address to carry the token to.
    CloudServer elsewhere;
    QVERIFY(elsewhere.start());
    m_server.setRedirectBase(elsewhere.httpBase());
    m_server.setFault("api/device", CloudServer::Fault::Redirect, 307);
    Outcome redirected;
    withToken.customRequest("device", "GET", QJsonObject(), recorder(redirected));
    QTRY_COMPARE_WITH_TIMEOUT(redirected.calls, 1, 5000);
    QCOMPARE(redirected.status.toInt(), 307);
    QVERIFY(elsewhere.requests().isEmpty());

    // In clear to another host: nothing leaves, nothing completes.
    NimbraCloud plain(QUrl("http://192.0.2.1/"), QString(), "s3cret");
    Outcome refused;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^NimbraCloud::customRequest refused"));
    plain.customRequest("device", "GET", QJsonObject(), recorder(refused));
    QVERIFY(plain.findChildren<QNetworkReply *>().isEmpty());
    QCOMPARE(refused.calls, 0);
}

// A certificate nobody vouches for is refused on both the requests and the
// remote channel, until the host trusts it through the client.
void TestCloudClient::selfSignedTls_data()
{
    QTest::addColumn<bool>("trusted");
    QTest::newRow("untrusted") << false;
    QTest::newRow("trusted") << true;
}

void TestCloudClient::selfSignedTls()
{
    QFETCH(bool, trusted);
    const QString keyFile = m_dir.filePath("key.pem"), certFile = m_dir.filePath("cert.pem");
    if (!QFile::exists(certFile)) {
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                  "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1",
                                  "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", keyFile, "-out", certFile});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            QSKIP("openssl cannot make a certificate here");
    }
    QFile keyPem(keyFile);
    QVERIFY(keyPem.open(QIODevice::ReadOnly));
    const QList<QSslCertificate> cert = QSslCertificate::fromPath(certFile);
    QCOMPARE(cert.size(), 1);
    QSslConfiguration serverConfig = QSslConfiguration::defaultConfiguration();
    serverConfig.setLocalCertificate(cert.first());
    serverConfig.setPrivateKey(QSslKey(keyPem.readAll(), QSsl::Ec));
    serverConfig.setPeerVerifyMode(QSslSocket::VerifyNone);

    TlsEndpoint https;
    https.config = serverConfig;
    QVERIFY(https.listen(QHostAddress::LocalHost));
    QWebSocketServer wss("service", QWebSocketServer::SecureMode);
    wss.setSslConfiguration(serverConfig);
    QVERIFY(wss.listen(QHostAddress::LocalHost));

    NimbraCloud cloud(QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(https.serverPort())),
                      QStringLiteral("wss://127.0.0.1:%1/").arg(wss.serverPort()), "s3cret");
    if (trusted) {
        QSslConfiguration config = cloud.sslConfiguration();
        config.setCaCertificates(cert);
        cloud.setSslConfiguration(config);
    }
    Outcome out;
    cloud.customRequest("device_model", "PATCH", QJsonObject{{"code", 1}}, recorder(out));
    QTRY_COMPARE_WITH_TIMEOUT(out.calls, 1, 10000);
    QCOMPARE(out.ok, trusted);
    QCOMPARE(out.status.toInt(), trusted ? 200 : 0);
    QCOMPARE(https.requests, trusted ? 1 : 0);

    CloudDevice device;
    device.setNimbraCloud(&cloud, "TLS0001");   // before "DEVICE_CLOUD": no registration
    put(&device, "DEVICE_CLOUD", QJsonObject{{"code", "TLS0001"}});
    QSignalSpy messages(&device, &VXDeviceInterface::message);
    QSignalSpy accepted(&wss, &QWebSocketServer::newConnection);
    device.connect_websocket();
    const QString expected = trusted ? "WEB SOCKET CONNECTED." : "WEB SOCKET ERROR.";
    QTRY_COMPARE_WITH_TIMEOUT(statusCount(messages, expected), 1, 10000);
    QCOMPARE(accepted.count(), trusted ? 1 : 0);
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
