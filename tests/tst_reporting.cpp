// Work records and Runtime messages, received by the local stand-in service.
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"
#include "cloud/NimbraCloud.h"
#include "CloudServer.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {
struct Device : VXCommonInterface {
    using VXCommonInterface::m_cloudRecord;
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

const QJsonObject runningTask{
    {"Status", 1}, {"FileName", "a.plt"}, {"TaskCopies", 3}, {"Finished", 1}, {"Percent", 40}};

int statusMessages(const QSignalSpy &spy, const QString &text)
{
    int n = 0;
    for (const QList<QVariant> &args : spy)
        n += args.at(1).toString() == text;
    return n;
}
}

class TestReporting : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void workRecordOnStop();
    void workRecordConditions_data();
    void workRecordConditions();
    void runtimeMessage_data();
    void runtimeMessage();
    void runtimeNeedsAnOpenChannel();

private:
    CloudServer m_server;
};

void TestReporting::initTestCase()
{
    qRegisterMetaType<VXDeviceInterface::VXDeviceMessage>();
    QVERIFY(m_server.start());
}

void TestReporting::init()
{
    m_server.reset();
}

void TestReporting::workRecordOnStop()
{
    m_server.addDevice("AB01Z9", 17);
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    auto device = std::make_unique<Device>();
    device->init157(device.get());
    device->setNimbraCloud(&cloud, "AB01Z9");
    QTRY_COMPARE_WITH_TIMEOUT(m_server.count("PUT", "device"), 1, 5000);

    put(device.get(), "TASK", QJsonObject{{"Status", 2}, {"FileName", "job.plt"}, {"TaskCopies", 2},
                                          {"Finished", 2}, {"Percent", 100}});
    put(device.get(), "TASK_FILE_INFO", QJsonObject{{"path_length", 120}, {"heigth", 30}, {"width", 20}});
    put(device.get(), "TASK_MODE", 0);
    put(device.get(), "WORK_MODE", 1u);
    put(device.get(), "TASK_START_TIME", QDateTime::currentDateTime().addSecs(-95));

    device->stopTask();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.workRecords().size(), 1, 5000);
    QJsonObject record = m_server.workRecords().first();

    const QString endTime = record.take("end_time").toString();
    QVERIFY2(QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d+$)").match(endTime).hasMatch(),
             qPrintable(endTime));
    QDateTime end = QDateTime::fromString(endTime.left(19), "yyyy-MM-dd hh:mm:ss");
    end.setTimeSpec(Qt::UTC);
    QVERIFY(qAbs(end.secsTo(QDateTime::currentDateTimeUtc())) <= 5);

    const QJsonObject expected{
        {"task_time", 95}, {"softwareType", 3}, {"task_copies", 2}, {"finish_copies", 2},
        {"device", 17}, {"page_area", 600}, {"page_size", "30x20"}, {"path_length", 120},
        {"task_model", 0}, {"work_model", 1}};
    QCOMPARE(record, expected);

    // The stop reset the job: a second stop has nothing to report.
    device->stopTask();
    QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
}

void TestReporting::workRecordConditions_data()
{
    QTest::addColumn<bool>("deviceCloud");
    QTest::addColumn<QVariant>("id");          // invalid: no "id" in the record
    QTest::addColumn<QVariant>("task");        // invalid: no "TASK"
    QTest::addColumn<QVariant>("fileInfo");    // invalid: no "TASK_FILE_INFO"
    QTest::addColumn<bool>("startTime");
    QTest::addColumn<bool>("posts");

    const QVariant id(17);
    const QVariant task(QJsonObject{{"TaskCopies", 2}, {"Finished", 1}});
    const QVariant file(QJsonObject{{"path_length", 5}, {"heigth", 3}, {"width", 4}});
    auto job = [](const QJsonObject &o) { return QVariant(o); };

    QTest::newRow("all inputs") << true << id << task << file << true << true;
    QTest::newRow("id 0 is registered") << true << QVariant(0) << task << file << true << true;
    QTest::newRow("no DEVICE_CLOUD") << false << id << task << file << true << false;
    QTest::newRow("never registered") << true << QVariant() << task << file << true << false;
    QTest::newRow("id -1") << true << QVariant(-1) << task << file << true << false;
    QTest::newRow("no TASK") << true << id << QVariant() << file << true << false;
    QTest::newRow("nothing finished") << true << id << job({{"TaskCopies", 2}, {"Finished", 0}}) << file << true << false;
    QTest::newRow("no copies asked") << true << id << job({{"TaskCopies", 0}, {"Finished", 1}}) << file << true << false;
    QTest::newRow("empty TASK") << true << id << job({}) << file << true << false;
    QTest::newRow("no TASK_FILE_INFO") << true << id << task << QVariant() << true << false;
    QTest::newRow("path length 0") << true << id << task << job({{"path_length", 0}, {"heigth", 3}}) << true << false;
    QTest::newRow("path length absent") << true << id << task << job({{"heigth", 3}, {"width", 4}}) << true << false;
    QTest::newRow("never started") << true << id << task << file << false << false;
}

void TestReporting::workRecordConditions()
{
    QFETCH(bool, deviceCloud);
    QFETCH(QVariant, id);
    QFETCH(QVariant, task);
    QFETCH(QVariant, fileInfo);
    QFETCH(bool, startTime);
    QFETCH(bool, posts);

    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Device device;
    // Handed over before "DEVICE_CLOUD" exists, so no registration goes out.
    device.setNimbraCloud(&cloud, "COND001");
    if (deviceCloud)
        put(&device, "DEVICE_CLOUD", QJsonObject());
    if (id.isValid())
        device.m_cloudRecord["id"] = id.toInt();
    if (task.isValid())
        put(&device, "TASK", task);
    if (fileInfo.isValid())
        put(&device, "TASK_FILE_INFO", fileInfo);
    if (startTime)
        put(&device, "TASK_START_TIME", QDateTime::currentDateTime());

    device.device_task_record_to_cloud();
    if (!posts) {
        QVERIFY(cloud.findChildren<QNetworkReply *>().isEmpty());
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_server.workRecords().size(), 1, 5000);
    const QJsonObject record = m_server.workRecords().first();
    QCOMPARE(record.value("device"), QJsonValue(id.toInt()));
    QCOMPARE(record.value("page_area"), QJsonValue(12));
    QCOMPARE(record.value("page_size"), QJsonValue("3x4"));
    QCOMPARE(record.value("task_model"), QJsonValue(0));   // no TASK_MODE record
    QCOMPARE(record.value("work_model"), QJsonValue(0));
}

void TestReporting::runtimeMessage_data()
{
    QTest::addColumn<QVariant>("preview");   // invalid: no "FILE_PREVIEW"
    QTest::addColumn<QString>("expected");

    QTest::newRow("no preview record") << QVariant()
        << R"({"actions":["Runtime"],"message":{"Runtime":{"FileName":"a.plt","Finished":1,"Percent":40,"Status":1,"TaskCopies":3}},"sender":"Device"})";
    QTest::newRow("empty preview") << QVariant(QByteArray())
        << R"({"actions":["Runtime"],"message":{"Runtime":{"FileName":"a.plt","FilePreview":null,"Finished":1,"Percent":40,"Status":1,"TaskCopies":3}},"sender":"Device"})";
    QTest::newRow("text preview") << QVariant(QByteArray("abc"))
        << R"({"actions":["Runtime"],"message":{"Runtime":{"FileName":"a.plt","FilePreview":"YWJj","Finished":1,"Percent":40,"Status":1,"TaskCopies":3}},"sender":"Device"})";
    QTest::newRow("binary preview, standard alphabet") << QVariant(QByteArray("\xfb\xff\x00", 3))
        << R"({"actions":["Runtime"],"message":{"Runtime":{"FileName":"a.plt","FilePreview":"+/8A","Finished":1,"Percent":40,"Status":1,"TaskCopies":3}},"sender":"Device"})";
}

void TestReporting::runtimeMessage()
{
    QFETCH(QVariant, preview);
    QFETCH(QString, expected);

    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Device device;
    device.setNimbraCloud(&cloud, "RT0001");
    put(&device, "DEVICE_CLOUD", QJsonObject{{"code", "RT0001"}});
    put(&device, "TASK", runningTask);
    if (preview.isValid())
        put(&device, "FILE_PREVIEW", preview);
    QSignalSpy messages(&device, &VXDeviceInterface::message);
    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusMessages(messages, "WEB SOCKET CONNECTED."), 1, 5000);

    device.device_task_to_cloud();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 1, 5000);
    QCOMPARE(m_server.channelTexts().first().code, QString("RT0001"));
    QCOMPARE(m_server.channelTexts().first().text, expected);
    QCOMPARE(device.property_ptr("TASK")->value().toJsonObject(), runningTask);
}

void TestReporting::runtimeNeedsAnOpenChannel()
{
    NimbraCloud cloud(m_server.httpBase(), m_server.ws());
    Device device;
    device.setNimbraCloud(&cloud, "RT0002");
    put(&device, "DEVICE_CLOUD", QJsonObject{{"code", "RT0002"}});
    put(&device, "TASK", QJsonObject{{"FileName", "no socket"}});
    device.device_task_to_cloud();   // no socket yet

    QSignalSpy messages(&device, &VXDeviceInterface::message);
    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusMessages(messages, "WEB SOCKET CONNECTED."), 1, 5000);
    QVERIFY(m_server.closeChannel("RT0002"));
    QTRY_COMPARE_WITH_TIMEOUT(statusMessages(messages, "WEB SOCKET DISCONNECTED."), 1, 5000);
    put(&device, "TASK", QJsonObject{{"FileName", "closed"}});
    device.device_task_to_cloud();   // closed: dropped, not queued

    device.connect_websocket();
    QTRY_COMPARE_WITH_TIMEOUT(statusMessages(messages, "WEB SOCKET CONNECTED."), 2, 5000);
    put(&device, "TASK", QJsonObject{{"FileName", "open"}});
    device.device_task_to_cloud();
    QTRY_COMPARE_WITH_TIMEOUT(m_server.channelTexts().size(), 1, 5000);
    QVERIFY(m_server.channelTexts().first().text.contains(R"("FileName":"open")"));
}

QTEST_MAIN(TestReporting)
#include "tst_reporting.moc"
