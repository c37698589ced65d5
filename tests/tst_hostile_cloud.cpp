// SPDX-License-Identifier: LGPL-2.1-or-later
// A full model device against a cloud service that misbehaves: down, slow,
// error statuses, HTML, empty and huge bodies, and a remote channel closed
// while texts are flowing.
#include "plugin/VXKTR450PROCam.h"
#include "property/VXFrame.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QtTest>

#include "MemoryProbe.h"

#include <memory>

namespace {

using Fault = CloudServer::Fault;

struct Host {
    VXKTR450PROCam root;
    std::unique_ptr<VXDeviceInterface> device{root.initInstance()};
    QStringList status;

    Host()
    {
        QObject::connect(device.get(), &VXDeviceInterface::message,
                         [this](VXDeviceInterface::VXDeviceMessage kind, const QString &text) {
            if (kind == VXDeviceInterface::DevStatus)
                status << text;
        });
    }
    VXCommonInterface *common() const { return static_cast<VXCommonInterface *>(device.get()); }
    QJsonObject cloudRecord() const { return device->property_ptr("DEVICE_CLOUD")->value().toJsonObject(); }
    // A job report from the machine, as if it had arrived on the link.
    void report(int percent)
    {
        common()->slot_usb_read(VXFrame::build("CCMD", "66,1,job.plt,1,0," + QByteArray::number(percent) + ",0,0,0;"));
    }
};

// Requests of this client that have finished, completions run.
int finished(const QSignalSpy &spy) { return spy.count(); }

} // namespace

class TestHostileCloud : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void badAnswers_data();
    void badAnswers();
    void downThenUp();
    void slowThenFast();
    void channelClosedMidStream();

private:
    CloudServer m_server;
};

void TestHostileCloud::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    qRegisterMetaType<QNetworkReply *>();
    QVERIFY(m_server.start());
}

void TestHostileCloud::init()
{
    m_server.reset();
}

void TestHostileCloud::badAnswers_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("retried");   // no whole answer: asked again, then answered
    QTest::addColumn<bool>("bounded");   // this process grows far less than the body

    // An answer is never retried; a 200 without an id registers nothing.
    QTest::newRow("500") << int(Fault::Status) << 500 << false << true;
    QTest::newRow("503") << int(Fault::Status) << 503 << false << true;
    QTest::newRow("html") << int(Fault::Html) << 200 << false << true;
    QTest::newRow("empty body") << int(Fault::Empty) << 200 << false << true;
    // Asked for no compression, the client takes the gzip bytes as they are:
    // not JSON, never inflated to their 64 MiB.
    QTest::newRow("gzip bomb") << int(Fault::Gzip) << 200 << false << true;
    // Cut off at the client's limit, with or without a length up front.
    // The stand-in in this process builds the 8 MiB body whole, so only the
    // chunked flood (64 MiB streamed in small pieces) measures the client.
    QTest::newRow("huge body") << int(Fault::Oversized) << 200 << true << false;
    QTest::newRow("huge chunked body") << int(Fault::Chunked) << 200 << true << true;
}

void TestHostileCloud::badAnswers()
{
    QFETCH(int, fault);
    QFETCH(int, status);
    QFETCH(bool, retried);
    QFETCH(bool, bounded);

    m_server.addDevice("HC0001", 31);
    m_server.setFault(QString(), Fault(fault), status);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    QSignalSpy done(&cloud, &NimbraCloud::finished);
    Host host;
    host.common()->setLookupRetryInterval(50);

    const qint64 before = rssBytes();
    host.device->setNimbraCloud(&cloud, "HC0001");
    QTRY_VERIFY_WITH_TIMEOUT(finished(done) >= (retried ? 4 : 2), 10000);
    // A body over the client's cap is cut off, not buffered nor inflated.
    if (bounded && !Sanitized)
        QVERIFY2(rssBytes() - before < 32 * 1024 * 1024, qPrintable(QString::number(rssBytes() - before)));
    QCOMPARE(m_server.count("PUT", "device"), 0);
    QCOMPARE(m_server.count("POST", "device_model"), 0);
    QVERIFY(!host.cloudRecord().contains("id"));
    QCOMPARE(host.cloudRecord().value("code").toString(), QStringLiteral("HC0001"));
    if (!retried) {
        // Nothing followed the answers: no update, no creation, no retry.
        int inFlight = 0;
        for (QNetworkReply *reply : cloud.findChildren<QNetworkReply *>())
            inFlight += !reply->isFinished();
        QCOMPARE(inFlight, 0);
        QCOMPARE(m_server.count("GET", "device"), 1);
        return;
    }
    QVERIFY(m_server.count("GET", "device") >= 2);
    m_server.clearFaults();
    QTRY_COMPARE_WITH_TIMEOUT(host.cloudRecord().value("id"), QJsonValue(31), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.count("PUT", "device"), 1, 5000);
}

void TestHostileCloud::downThenUp()
{
    m_server.addDevice("DN0001", 12);
    const quint16 port = m_server.httpPort();
    m_server.stop();
    NimbraCloud cloud(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)), QString());
    QSignalSpy done(&cloud, &NimbraCloud::finished);
    Host host;
    host.common()->setLookupRetryInterval(50);

    host.device->setNimbraCloud(&cloud, "DN0001");
    // Refused again and again; only the lookup is retried.
    QTRY_VERIFY_WITH_TIMEOUT(finished(done) >= 5, 10000);
    QVERIFY(!host.cloudRecord().contains("id"));

    QVERIFY(m_server.start(port));
    m_server.addDevice("DN0001", 12);
    QTRY_COMPARE_WITH_TIMEOUT(host.cloudRecord().value("id").toInt(), 12, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.count("PUT", "device"), 1, 5000);
}

void TestHostileCloud::slowThenFast()
{
    m_server.addDevice("SL0001", 44);
    m_server.setDelay(1000);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    cloud.setTimeout(200);
    QSignalSpy done(&cloud, &NimbraCloud::finished);
    Host host;
    host.common()->setLookupRetryInterval(50);

    // The device keeps serving the machine while the service stalls.
    host.device->setNimbraCloud(&cloud, "SL0001");
    host.report(10);
    QCOMPARE(host.device->property_ptr("TASK")->value().toJsonObject().value("Percent").toInt(), 10);
    QTRY_VERIFY_WITH_TIMEOUT(finished(done) >= 3, 10000);   // model + lookups timed out
    QVERIFY(!host.cloudRecord().contains("id"));

    m_server.setDelay(0);
    QTRY_COMPARE_WITH_TIMEOUT(host.cloudRecord().value("id").toInt(), 44, 10000);
}

void TestHostileCloud::channelClosedMidStream()
{
    m_server.addDevice("WS0001", 8);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Host host;
    host.device->setNimbraCloud(&cloud, "WS0001");
    QTRY_COMPARE_WITH_TIMEOUT(host.cloudRecord().value("id").toInt(), 8, 10000);

    host.common()->connect_websocket();
    QTRY_VERIFY_WITH_TIMEOUT(host.status.contains("WEB SOCKET CONNECTED."), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channels(), QStringList{"WS0001"}, 5000);

    // Texts both ways, then the service hangs up in the middle of them.
    for (int i = 0; i < 50; ++i) {
        host.report(i);
        // Once the service has said goodbye, the channel takes no more.
        QCOMPARE(m_server.push("WS0001", QStringLiteral("cmd %1").arg(i)), i <= 25);
        if (i == 25)
            QVERIFY(m_server.closeChannel("WS0001"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(host.status.contains("WEB SOCKET DISCONNECTED."), 5000);
    for (int i = 50; i < 60; ++i)
        host.report(i);   // nowhere to go: dropped quietly

    // Reopened by the host, the channel carries Runtime texts again.
    const int before = m_server.channelTexts().size();
    host.status.clear();
    host.common()->connect_websocket();
    QTRY_VERIFY_WITH_TIMEOUT(host.status.contains("WEB SOCKET CONNECTED."), 5000);
    host.report(99);
    // Texts of the old connection may still be landing on the service's
    // side, so look for the new one among all that came after the count.
    auto arrived = [&] {
        const auto texts = m_server.channelTexts();
        for (int i = before; i < texts.size(); ++i) {
            if (texts.at(i).text.contains("\"Percent\":99"))
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(arrived(), 5000);
}

QTEST_MAIN(TestHostileCloud)
#include "tst_hostile_cloud.moc"
