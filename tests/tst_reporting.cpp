// SPDX-License-Identifier: LGPL-2.1-or-later
// Work records and Runtime messages, as the local stand-in service receives them.
#include "CloudTestSupport.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QtTest>

#include <ctime>

class TestReporting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
        // Eight hours off UTC: a local end time cannot pass for UTC.
        qputenv("TZ", "Asia/Shanghai");
        tzset();
        QVERIFY(QDateTime::currentDateTime().offsetFromUtc() == 8 * 3600);
        QVERIFY(m_server.start());
    }
    void init() { m_server.reset(); }
    void workRecordOnStop();
    void workRecordConditions_data();
    void workRecordConditions();
    void runtimeMessage_data();
    void runtimeMessage();
    void runtimeNeedsAnOpenChannel();

private:
    CloudServer m_server;
};

void TestReporting::workRecordOnStop()
{
    m_server.addDevice("AB01Z9", 17);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice device;
    device.init157(&device);
    device.setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(m_server.count("PUT", "device"), 1, 5000);

    put(&device, "TASK", QJsonObject{{"Status", 2}, {"FileName", "job.plt"}, {"TaskCopies", 2}, {"Finished", 2}});
    put(&device, "TASK_FILE_INFO", QJsonObject{{"path_length", 120}, {"heigth", 30}, {"width", 20}});
    put(&device, "TASK_MODE", 0);
    put(&device, "WORK_MODE", 1u);
    put(&device, "TASK_START_TIME", QDateTime::currentDateTime().addSecs(-95));
    const QDateTime before = QDateTime::currentDateTimeUtc();
    device.stopTask();
    const QDateTime after = QDateTime::currentDateTimeUtc();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.workRecords().size(), 1, 5000);

    // The whole text, as the pattern writes some UTC instant of the stop.
    QJsonObject record = m_server.workRecords().first();
    const QJsonValue endTime = record.take("end_time");
    QVERIFY(endTime.isString());
    QStringList candidates;
    for (QDateTime t = before; t <= after; t = t.addMSecs(1))
        candidates << t.toString("yyyy-MM-dd hh:mm:ss.zzzz");
    QVERIFY2(candidates.contains(endTime.toString()), qPrintable(endTime.toString() + " not in " + candidates.join(' ')));
    const QJsonObject expected{
        {"task_time", 95}, {"softwareType", 3}, {"task_copies", 2}, {"finish_copies", 2}, {"device", 17},
        {"page_area", 600}, {"page_size", "30x20"}, {"path_length", 120}, {"task_model", 0}, {"work_model", 1}};
    QCOMPARE(record, expected);

    // The stop reset the job: a second stop has nothing to report. The server
    // counts the record before the client has finished with its reply, so let
    // that reply go first or the check below races it.
    QTRY_VERIFY_WITH_TIMEOUT(cloud.findChildren<QNetworkReply *>().isEmpty(), 5000);
    device.stopTask();
    QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
}

void TestReporting::workRecordConditions_data()
{
    QTest::addColumn<bool>("deviceCloud");
    QTest::addColumn<QVariant>("id");          // invalid: no "id" in the record
    QTest::addColumn<QVariant>("task");        // invalid: no "TASK"
    QTest::addColumn<QVariant>("fileInfo");    // invalid: no "TASK_FILE_INFO"
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("posts");

    const QVariant id(17), none;
    const QVariant task(QJsonObject{{"TaskCopies", 2}, {"Finished", 1}});
    const QVariant file(QJsonObject{{"path_length", 5}, {"heigth", 3}, {"width", 4}});
    auto obj = [](const QJsonObject &o) { return QVariant(o); };

    QTest::newRow("all inputs") << true << id << task << file << true << true;
    QTest::newRow("id 0 counts as registered") << true << QVariant(0) << task << file << true << true;
    QTest::newRow("no DEVICE_CLOUD") << false << id << task << file << true << false;
    QTest::newRow("never registered") << true << none << task << file << true << false;
    QTest::newRow("no TASK") << true << id << none << file << true << false;
    QTest::newRow("nothing finished") << true << id << obj({{"TaskCopies", 2}, {"Finished", 0}}) << file << true << false;
    QTest::newRow("no copies asked") << true << id << obj({{"TaskCopies", 0}, {"Finished", 1}}) << file << true << false;
    QTest::newRow("no TASK_FILE_INFO") << true << id << task << none << true << false;
    QTest::newRow("no path length") << true << id << task << obj({{"heigth", 3}, {"width", 4}}) << true << false;
    QTest::newRow("never started") << true << id << task << file << false << false;
}

void TestReporting::workRecordConditions()
{
    QFETCH(bool, deviceCloud);
    QFETCH(QVariant, id);
    QFETCH(QVariant, task);
    QFETCH(QVariant, fileInfo);
    QFETCH(bool, started);
    QFETCH(bool, posts);

    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice device;
    device.setNimbraCloud(&cloud, "COND001");   // before "DEVICE_CLOUD": no registration
    if (deviceCloud)
        put(&device, "DEVICE_CLOUD", QJsonObject());
    if (id.isValid())
        device.m_cloudRecord["id"] = id.toInt();
    if (task.isValid())
        put(&device, "TASK", task);
    if (fileInfo.isValid())
        put(&device, "TASK_FILE_INFO", fileInfo);
    if (started)
        put(&device, "TASK_START_TIME", QDateTime::currentDateTime());

    device.device_task_record_to_cloud();
    if (!posts) {
        QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server.workRecords().size(), 1, 5000);
    const QJsonObject record = m_server.workRecords().first();
    QCOMPARE(record.value("device"), QJsonValue(id.toInt()));
    QCOMPARE(record.value("page_size"), QJsonValue("3x4"));
    QCOMPARE(record.value("task_model"), QJsonValue(0));   // no TASK_MODE record
}

void TestReporting::runtimeMessage_data()
{
    QTest::addColumn<QVariant>("preview");   // invalid: no "FILE_PREVIEW"
    QTest::addColumn<QString>("expected");

    const QString head = R"({"actions":["Runtime"],"message":{"Runtime":{"FileName":"a.plt",)";
    const QString tail = R"("Finished":1,"Percent":40,"Status":1,"TaskCopies":3}},"sender":"Device"})";
    QTest::newRow("no preview record") << QVariant() << head + tail;
    QTest::newRow("empty preview") << QVariant(QByteArray()) << head + R"("FilePreview":null,)" + tail;
    QTest::newRow("standard base64") << QVariant(QByteArray("\xfb\xff\x00", 3)) << head + R"("FilePreview":"+/8A",)" + tail;
}

void TestReporting::runtimeMessage()
{
    QFETCH(QVariant, preview);
    QFETCH(QString, expected);

    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice device;
    device.setNimbraCloud(&cloud, "RT0001");
    const QJsonObject task{{"Status", 1}, {"FileName", "a.plt"}, {"TaskCopies", 3}, {"Finished", 1}, {"Percent", 40}};
    put(&device, "DEVICE_CLOUD", QJsonObject{{"code", "RT0001"}});
    put(&device, "TASK", task);
    if (preview.isValid())
        put(&device, "FILE_PREVIEW", preview);
    QSignalSpy messages(&device, &VXDeviceInterface::message);
    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusCount(messages, "WEB SOCKET CONNECTED."), 1, 5000);

    device.device_task_to_cloud();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 1, 5000);
    QCOMPARE(m_server.channelTexts().first().text, expected);
    QCOMPARE(device.property_ptr("TASK")->value().toJsonObject(), task);
}

void TestReporting::runtimeNeedsAnOpenChannel()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    CloudDevice device;
    device.setNimbraCloud(&cloud, "RT0002");
    put(&device, "DEVICE_CLOUD", QJsonObject{{"code", "RT0002"}});
    put(&device, "TASK", QJsonObject{{"FileName", "no socket"}});
    device.device_task_to_cloud();

    QSignalSpy messages(&device, &VXDeviceInterface::message);
    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusCount(messages, "WEB SOCKET CONNECTED."), 1, 5000);
    QVERIFY(m_server.closeChannel("RT0002"));
    QTRY_COMPARE_WITH_TIMEOUT(statusCount(messages, "WEB SOCKET DISCONNECTED."), 1, 5000);
    put(&device, "TASK", QJsonObject{{"FileName", "closed"}});
    device.device_task_to_cloud();   // dropped, not queued

    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusCount(messages, "WEB SOCKET CONNECTED."), 2, 5000);
    put(&device, "TASK", QJsonObject{{"FileName", "open"}});
    device.device_task_to_cloud();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 1, 5000);
    QVERIFY(m_server.channelTexts().first().text.contains("\"FileName\":\"open\""));
}

QTEST_MAIN(TestReporting)
#include "tst_reporting.moc"
