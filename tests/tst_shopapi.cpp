// SPDX-License-Identifier: LGPL-2.1-or-later
// vxcut serve from the outside: the real program in its own process, two
// simulated machines in this one, every request over loopback HTTP and the
// live feed over a real WebSocket.
#include "VXSimulator.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>

#include <csignal>

namespace {

const QString kVxcut = QStringLiteral(VX_BIN_DIR "/vxcut");
const QString kSample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
const QByteArray kBoundary = "vxshop-test-form";
const QByteArray kPart = "<svg xmlns='http://www.w3.org/2000/svg' width='40mm' height='30mm' viewBox='0 0 40 30'>"
                         "<rect width='40' height='30' fill='none' stroke='black'/></svg>";

using Headers = QList<QPair<QByteArray, QByteArray>>;

// A multipart form of files (name, bytes), every field named "part"; call()
// sends a body made here as multipart/form-data.
QByteArray form(const QList<QPair<QByteArray, QByteArray>> &files)
{
    QByteArray out;
    for (const auto &f : files)
        out += "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"part\"; filename=\"" + f.first
               + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + f.second + "\r\n";
    return out + "--" + kBoundary + "--\r\n";
}

struct Answer
{
    int status = 0;
    QJsonObject json;
    QByteArray raw;
    QMap<QByteArray, QByteArray> headers;
};

// One `vxcut serve` run, up once it printed its address.
struct Service
{
    QProcess process;
    QUrl base;
    QByteArray out;

    bool start(const QStringList &args)
    {
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(kVxcut, QStringList{QStringLiteral("serve"), QStringLiteral("--plugin"),
                                          QStringLiteral(VX_PLUGIN_FILE)} + args);
        QSignalSpy output(&process, &QProcess::readyReadStandardOutput);
        for (int i = 0; i < 100 && !out.contains('\n') && process.state() != QProcess::NotRunning; ++i) {
            output.wait(200);
            out += process.readAllStandardOutput();
        }
        const int at = out.indexOf("serving on ");
        if (at < 0)
            return false;
        base = QUrl(QString::fromLatin1(out.mid(at + 11, out.indexOf('\n', at) - at - 11).trimmed()));
        return base.port() > 0;
    }
    // SIGTERM is the way a service ends: exit 0, every thread wound down.
    int stop()
    {
        ::kill(pid_t(process.processId()), SIGTERM);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
};

}

class TestShopApi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void hostile_data();
    void hostile();
    void token_data();
    void token();
    void upToDone();

private:
    Answer call(const QByteArray &method, const QString &path, const QByteArray &body = QByteArray(),
                const Headers &headers = {}, const QUrl &base = QUrl());

    QTemporaryDir m_tmp;
    VXSimulator m_simA, m_simB;
    Service m_serve;
    Service m_guarded;      // with a token
    QNetworkAccessManager m_net;
    QByteArray m_design;
};

void TestShopApi::initTestCase()
{
    QVERIFY2(QFile::exists(kVxcut), "build the vxcut target first");
    for (VXSimulator *sim : {&m_simA, &m_simB}) {
        sim->setSpeedup(500);
        QVERIFY(sim->start(0));
    }
    QFile sample(kSample);
    QVERIFY(sample.open(QIODevice::ReadOnly));
    m_design = sample.readAll();
    QVERIFY2(m_serve.start({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                            QStringLiteral("--machine"), QStringLiteral("A@127.0.0.1:%1").arg(m_simA.serverPort()),
                            QStringLiteral("--machine"), QStringLiteral("B@127.0.0.1:%1").arg(m_simB.serverPort()),
                            QStringLiteral("--data"), m_tmp.filePath(QStringLiteral("data")),
                            QStringLiteral("--max-upload-mb"), QStringLiteral("1")}),
             m_serve.out + m_serve.process.readAllStandardError());

    // The same with a token; its machine is not there, the pages are served all the same.
    const QString token = m_tmp.filePath(QStringLiteral("token"));
    QFile f(token);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("s3cret-token\n") > 0);
    f.close();
    QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(m_guarded.start({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                             QStringLiteral("--token-file"), token,
                             QStringLiteral("--machine"), QStringLiteral("A@127.0.0.1:9"),
                             QStringLiteral("--data"), m_tmp.filePath(QStringLiteral("guarded"))}));
}

void TestShopApi::cleanupTestCase()
{
    QCOMPARE(m_serve.stop(), 0);
    QCOMPARE(m_guarded.stop(), 0);
}

Answer TestShopApi::call(const QByteArray &method, const QString &path, const QByteArray &body,
                         const Headers &headers, const QUrl &base)
{
    QNetworkRequest request((base.isEmpty() ? m_serve.base : base).resolved(QUrl(path)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setHeader(QNetworkRequest::ContentTypeHeader, body.startsWith("--" + kBoundary)
                                                              ? "multipart/form-data; boundary=" + kBoundary
                                                              : QByteArray("application/octet-stream"));
    for (const auto &h : headers)
        request.setRawHeader(h.first, h.second);
    QNetworkReply *reply = m_net.sendCustomRequest(request, method, body);
    QSignalSpy done(reply, &QNetworkReply::finished);
    Answer a;
    if (!reply->isFinished() && !done.wait(30000))
        return a;
    a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    a.raw = reply->readAll();
    a.json = QJsonDocument::fromJson(a.raw).object();
    for (const auto &pair : reply->rawHeaderPairs())
        a.headers.insert(pair.first, pair.second);
    reply->deleteLater();
    return a;
}

void TestShopApi::hostile_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("origin");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");     // a part of {"error"}

    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    const QString upload = QStringLiteral("api/machines/A/jobs?name=");
    QTest::newRow("upload over the limit: refused on its length") << QByteArray("POST") << upload + "big.plt"
        << QByteArray(2 << 20, 'x') << QByteArray() << 413 << QStringLiteral("at most");
    QTest::newRow("a picture is no design") << QByteArray("POST") << upload + "photo.plt" << png.data()
        << QByteArray() << 400 << QStringLiteral("not a design");
    QList<QPair<QByteArray, QByteArray>> parts;
    for (int i = 0; i < 201; ++i)
        parts.append({"p" + QByteArray::number(i) + ".svg", kPart});
    QTest::newRow("a nest of 201 parts: none kept") << QByteArray("POST") << QStringLiteral("api/machines/A/nests")
        << form(parts) << QByteArray() << 400 << QStringLiteral("at most 200");
    QTest::newRow("bad JSON") << QByteArray("POST") << QStringLiteral("api/jobs/1/move") << QByteArray("{\"position\":")
        << QByteArray() << 400 << QStringLiteral("not JSON");
    // 2 KB of brackets overflowed a server thread's 100 KiB stack in the parser.
    QTest::newRow("JSON nested 1000 deep") << QByteArray("POST") << QStringLiteral("api/machines/A/control")
        << QByteArray(1000, '[') + QByteArray(1000, ']') << QByteArray() << 400 << QStringLiteral("deeper");
    QTest::newRow("copies out of range") << QByteArray("POST") << upload + "a.plt&copies=0" << QByteArray("IN;")
        << QByteArray() << 400 << QStringLiteral("copies");
    QTest::newRow("unknown machine") << QByteArray("GET") << QStringLiteral("api/machines/nosuch") << QByteArray()
        << QByteArray() << 404 << QString();
    QTest::newRow("upload to an unknown machine") << QByteArray("POST") << QStringLiteral("api/machines/nosuch/jobs")
        << QByteArray("IN;") << QByteArray() << 404 << QString();
    QTest::newRow("no such job") << QByteArray("POST") << QStringLiteral("api/jobs/999999/cancel") << QByteArray()
        << QByteArray() << 404 << QString();
    QTest::newRow("wrong method") << QByteArray("GET") << QStringLiteral("api/jobs/1/cancel") << QByteArray()
        << QByteArray() << 405 << QString();
    QTest::newRow("another site's page") << QByteArray("POST") << QStringLiteral("api/machines/A/control")
        << QByteArray("{\"action\":\"hold\"}") << QByteArray("http://elsewhere.example") << 403 << QString();
    QTest::newRow("a sandboxed frame on any site") << QByteArray("POST") << QStringLiteral("api/machines/A/control")
        << QByteArray("{\"action\":\"hold\"}") << QByteArray("null") << 403 << QString();
}

void TestShopApi::hostile()
{
    QFETCH(QByteArray, method);
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, origin);
    QFETCH(int, status);
    QFETCH(QString, error);
    Headers headers;
    if (!origin.isEmpty())
        headers.append({"Origin", origin});
    const Answer a = call(method, path, body, headers);
    QVERIFY2(a.status == status, a.raw);
    QVERIFY2(a.json.value(QStringLiteral("error")).toString().contains(error), a.raw);
    // Nothing refused was kept.
    QCOMPARE(QDir(m_tmp.filePath(QStringLiteral("data/machines/A/files"))).entryList(QDir::Files).size(), 0);
}

void TestShopApi::token_data()
{
    QTest::addColumn<Headers>("headers");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    const QString api = QStringLiteral("api/machines");
    QTest::newRow("no token") << Headers{} << api << 401;
    QTest::newRow("wrong token") << Headers{{"Authorization", "Bearer nope"}} << api << 401;
    QTest::newRow("the token and more") << Headers{{"Authorization", "Bearer s3cret-tokenX"}} << api << 401;
    QTest::newRow("right token") << Headers{{"Authorization", "Bearer s3cret-token"}} << api << 200;
    QTest::newRow("right cookie") << Headers{{"Cookie", "vxshop_token=s3cret-token"}} << QStringLiteral("shop.js") << 200;
    QTest::newRow("the page opened with it sets the cookie") << Headers{} << QStringLiteral("?token=s3cret-token") << 303;
}

void TestShopApi::token()
{
    QFETCH(Headers, headers);
    QFETCH(QString, path);
    QFETCH(int, status);
    const Answer a = call("GET", path, QByteArray(), headers, m_guarded.base);
    QVERIFY2(a.status == status, a.raw);
    if (status == 401)
        QVERIFY(!a.json.value(QStringLiteral("error")).toString().isEmpty());
    if (status == 303) {
        const QByteArray cookie = a.headers.value("Set-Cookie");
        QVERIFY2(cookie.contains("vxshop_token=") && cookie.contains("HttpOnly") && cookie.contains("SameSite=Strict"),
                 cookie);
    }
}

void TestShopApi::upToDone()
{
    QWebSocket live;
    QSignalSpy heard(&live, &QWebSocket::textMessageReceived);
    QUrl ws = m_serve.base.resolved(QUrl(QStringLiteral("api/live")));
    ws.setScheme(QStringLiteral("ws"));
    live.open(ws);
    QTRY_VERIFY_WITH_TIMEOUT(heard.size() >= 1, 10000);
    const QJsonObject hello = QJsonDocument::fromJson(heard.at(0).at(0).toString().toUtf8()).object();
    QCOMPARE(hello.value(QStringLiteral("type")).toString(), QStringLiteral("hello"));
    QCOMPARE(hello.value(QStringLiteral("machines")).toArray().size(), 2);

    Answer a = call("GET", QStringLiteral("api/machines"));
    QCOMPARE(a.status, 200);
    QStringList names;
    for (const QJsonValue &card : a.json.value(QStringLiteral("machines")).toArray())
        names << card.toObject().value(QStringLiteral("name")).toString();
    QCOMPARE(names, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    // A name that climbs out: stored inside B's files folder all the same.
    a = call("POST", QStringLiteral("api/machines/B/jobs?name=..%2F..%2Fetc%2Fpasswd&copies=1"), m_design);
    QVERIFY2(a.status == 201, a.raw);
    for (QDirIterator it(m_tmp.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.contains(QLatin1String("passwd")))
            QVERIFY2(path.startsWith(m_tmp.filePath(QStringLiteral("data/machines/B/files/"))), qPrintable(path));
    }

    a = call("POST", QStringLiteral("api/machines/A/jobs?name=sample.plt&copies=2&by=tester"), m_design);
    QVERIFY2(a.status == 201, a.raw);
    const QJsonObject entry = a.json.value(QStringLiteral("job")).toObject();
    const qint64 id = entry.value(QStringLiteral("id")).toVariant().toLongLong();
    QVERIFY(id > 0);
    QCOMPARE(entry.value(QStringLiteral("copies")).toInt(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(call("GET", QStringLiteral("api/jobs/%1").arg(id)).json.value(QStringLiteral("state"))
                                 == QStringLiteral("done"), 60000);
    a = call("GET", QStringLiteral("api/machines/A/queue?ended=5"));
    bool listed = false;
    for (const QJsonValue &job : a.json.value(QStringLiteral("jobs")).toArray())
        listed |= job.toObject().value(QStringLiteral("id")).toVariant().toLongLong() == id;
    QVERIFY(listed);

    // The feed tells of A's queue too (updates are gathered a moment first).
    const auto queueHeard = [&] {
        for (const QList<QVariant> &message : heard) {
            const QJsonObject m = QJsonDocument::fromJson(message.at(0).toString().toUtf8()).object();
            if (m.value(QStringLiteral("type")) == QStringLiteral("queue")
                && m.value(QStringLiteral("machine")) == QStringLiteral("A"))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(queueHeard(), 10000);

    // A nest: its parts stored inside B's folder whatever their names, their
    // quantities by file name (the last part of it), nested and cut.
    const QByteArray nest = QUrl::toPercentEncoding(QStringLiteral("{\"quantities\":{\"x.svg\":3},\"time_s\":0.5}"));
    a = call("POST", QStringLiteral("api/machines/B/nests?by=tester&nest=") + QString::fromLatin1(nest),
             form({{"../../x.svg", kPart}, {"y.svg", kPart}}));
    QVERIFY2(a.status == 201, a.raw);
    const QJsonObject nested = a.json.value(QStringLiteral("job")).toObject();
    QCOMPARE(nested.value(QStringLiteral("kind")).toString(), QStringLiteral("nest"));
    QCOMPARE(nested.value(QStringLiteral("nest")).toObject().value(QStringLiteral("parts")).toArray().at(0),
             QJsonValue(QJsonObject{{QStringLiteral("name"), QStringLiteral("x.svg")}, {QStringLiteral("quantity"), 3}}));
    for (QDirIterator it(m_tmp.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("x.svg")))
            QVERIFY2(path.startsWith(m_tmp.filePath(QStringLiteral("data/machines/B/files/"))), qPrintable(path));
    }
    const QString nestJob = QStringLiteral("api/jobs/%1").arg(nested.value(QStringLiteral("id")).toVariant().toLongLong());
    QTRY_VERIFY_WITH_TIMEOUT(call("GET", nestJob).json.value(QStringLiteral("state")) == QStringLiteral("done"), 60000);
}

QTEST_MAIN(TestShopApi)
#include "tst_shopapi.moc"
