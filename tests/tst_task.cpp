// SPDX-License-Identifier: LGPL-2.1-or-later
#include "linkharness.h"

#include <QJsonObject>

#include <limits>

using Dev = VXDeviceInterface;

class tst_Task : public QObject
{
    Q_OBJECT
private slots:
    void startTask_data();
    void startTask();
    void startTaskWithoutPlot();
    void reports_data();
    void reports();
    void shortReportCreatesTask();
    void repeatedReportOverTheWire();
    void sameRefusalForTheNextJob();
    void stopTask();
    void moveWords_data();
    void moveWords();
};

void tst_Task::startTask_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("plot");
    QTest::addColumn<QByteArray>("expected");
    const QString plt = QStringLiteral("IN;PU0,0;PD400,0;");
    QTest::newRow("plot job: copies, then plot")
        << 0 << plt << frame("CMD", "NUM:3;") + frame("PLT", plt.toLatin1());
    // Streamed as the socket drains; the next frame still comes after it whole.
    QString big = QStringLiteral("IN;SP1;\n");
    for (int i = 0; big.size() < 3 << 20; ++i)
        big += QStringLiteral("PU%1,%2;PD%3,%2;\n").arg(i).arg(i % 977).arg(i + 40);
    QTest::newRow("plot of megabytes: copies, then plot")
        << 0 << big << frame("CMD", "NUM:3;") + frame("PLT", big.toLatin1());
    QTest::newRow("QR job: QR copies only") << 1 << plt << frame("CCMD", "54,2;");
    QTest::newRow("other mode: nothing") << 2 << plt << QByteArray();
}

void tst_Task::startTask()
{
    QFETCH(int, mode);
    QFETCH(QString, plot);
    QFETCH(QByteArray, expected);

    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    device.heartbeat_switch(false);
    device.record("TASK_MODE")->setValue(mode);
    device.record("TASK_COPIES")->setValue(3);
    device.record("QRCODE_COPIES")->setValue(2);
    device.record("QR_PLT")->setValue(QStringLiteral("QRDATA"));
    device.setPlt(plot);

    const QDateTime before = QDateTime::currentDateTime();
    device.startTask();
    const QByteArray marker = frame("CMD", "GET26;");
    device.sendCMD(marker);
    QCOMPARE(machine.receive(expected.size() + marker.size()), expected + marker);

    const QDateTime started = device.value("TASK_START_TIME").toDateTime();
    QVERIFY(started.isValid());
    QVERIFY(started >= before.addMSecs(-1000) && started <= QDateTime::currentDateTime());
}

void tst_Task::startTaskWithoutPlot()
{
    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    device.heartbeat_switch(false);
    delete device.record("TASK_PLT");
    device.setProperty("TASK_PLT", QVariant());

    device.startTask();
    const QByteArray copies = frame("CMD", "NUM:1;");
    QCOMPARE(machine.receive(copies.size()), copies);
    QVERIFY(!device.record("TASK_START_TIME"));
}

void tst_Task::reports_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("finished");
    QTest::addColumn<int>("percent");

    QTest::newRow("9 fields") << "66,1,a.plt,3,1,57.9,x,y,z" << true << 1 << "a.plt" << 3 << 1 << 57;
    QTest::newRow("10 fields") << "66,2,b.plt,1,1,100,0,0,0,0" << true << 2 << "b.plt" << 1 << 1 << 100;
    QTest::newRow("8 fields") << "66,1,a.plt,3,1,57,x,y" << false << 0 << "" << 0 << 0 << 0;
    QTest::newRow("comma in name shifts") << "66,2,a,b.plt,3,1,50,x,y" << true << 2 << "a" << 0 << 3 << 1;
    QTest::newRow("non-numeric") << "66,s,f,c,d,p,x,y,z" << true << 0 << "f" << 0 << 0 << 0;
    QTest::newRow("negative percent") << "66,1,f,1,0,-2.7,x,y,z" << true << 1 << "f" << 1 << 0 << -2;
    QTest::newRow("nan percent") << "66,1,f,1,0,nan,x,y,z" << true << 1 << "f" << 1 << 0 << 0;
    QTest::newRow("huge percent") << "66,1,f,1,0,1e30,x,y,z" << true << 1 << "f" << 1 << 0
                                  << std::numeric_limits<int>::max();
}

void tst_Task::reports()
{
    QFETCH(QString, item);
    QFETCH(bool, applied);

    LinkProbe device;
    QSignalSpy spy(&device, &Dev::message);
    device.decode_task(item);

    const QJsonObject task = device.value("TASK").toJsonObject();
    QCOMPARE(messages(spy, Dev::DevTasK), applied ? QStringList{ item } : QStringList{});
    QCOMPARE(task.isEmpty(), !applied);
    if (!applied)
        return;
    QTEST(task.value("Status").toInt(), "status");
    QTEST(task.value("FileName").toString(), "fileName");
    QTEST(task.value("TaskCopies").toInt(), "copies");
    QTEST(task.value("Finished").toInt(), "finished");
    QTEST(task.value("Percent").toInt(), "percent");
}

void tst_Task::shortReportCreatesTask()
{
    LinkProbe device;
    QVERIFY(!device.record("TASK"));
    device.decode_task(QStringLiteral("66,1,a.plt,3,1,57,x,y"));
    VXDeviceProperty *task = device.record("TASK");
    QVERIFY(task);
    QCOMPARE(task->value().toJsonObject(), QJsonObject());
    QCOMPARE(task->cmd_type(), Dev::UnCMD);

    // Members the reports do not own survive an update.
    QJsonObject seeded{ { "Extra", "kept" } };
    task->setValue(seeded);
    device.decode_task(QStringLiteral("66,1,a.plt,3,1,57,x,y,z"));
    QCOMPARE(task->value().toJsonObject().value("Extra").toString(), QString("kept"));
}

void tst_Task::repeatedReportOverTheWire()
{
    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    QSignalSpy spy(&device, &Dev::message);

    const QByteArray a = frame("CCMD", "66,1,a.plt,2,0,30,0,0,0;");
    const QByteArray b = frame("CCMD", "66,1,a.plt,2,1,60,0,0,0;");
    machine.reply(a + a);
    QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), 1);
    machine.reply(a + b + b + a);
    QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), 3);
    QCOMPARE(messages(spy, Dev::DevTasK),
             (QStringList{ "66,1,a.plt,2,0,30,0,0,0", "66,1,a.plt,2,1,60,0,0,0", "66,1,a.plt,2,0,30,0,0,0" }));
    QCOMPARE(device.value("TASK").toJsonObject().value("Percent").toInt(), 30);
}

void tst_Task::sameRefusalForTheNextJob()
{
    // The machine refuses the next job (and, after a reconnect, the one after)
    // with the very same report; each must reach "TASK", not leave stopTask's
    // {Status 0, Percent 100} looking like a finished job.
    LinkProbe device;
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    QSignalSpy spy(&device, &Dev::message);
    const QByteArray refused = frame("CCMD", "66,5,a.plt,1,0,0,0,0,0;");
    auto status = [&device] { return device.value("TASK").toJsonObject().value("Status").toInt(); };
    for (int job = 1; job <= 2; ++job) {
        device.startTask();
        machine.reply(refused);
        QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), job);
        QCOMPARE(status(), 5);
        device.stopTask();
        QCOMPARE(status(), 0);
    }
    machine.peer()->close();
    QTRY_COMPARE(device.value("STATUS").toInt(), int(Dev::DisConnected));
    LoopbackMachine again;
    QVERIFY(again.attach(device));
    again.reply(refused);
    QTRY_COMPARE(messages(spy, Dev::DevTasK).size(), 3);
    QCOMPARE(status(), 5);
}

void tst_Task::stopTask()
{
    LinkProbe device;
    device.startTask();
    device.decode_task(QStringLiteral("66,3,a.plt,2,1,60,0,0,0"));
    QVERIFY(device.value("TASK_START_TIME").toDateTime().isValid());

    device.stopTask();
    QVERIFY(!device.value("TASK_START_TIME").toDateTime().isValid());
    const QJsonObject task = device.value("TASK").toJsonObject();
    QCOMPARE(task, (QJsonObject{ { "Status", 0 }, { "FileName", "" }, { "TaskCopies", 0 },
                                 { "Finished", 0 }, { "Percent", 100 } }));

    LinkProbe idle;   // no job, no "TASK": nothing to reset, nothing breaks
    idle.stopTask();
    QVERIFY(!idle.record("TASK"));
}

void tst_Task::moveWords_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("x");
    QTest::newRow("-5, 0") << -5 << 0 << 100 << 0;
    QTest::newRow("0, 7") << 0 << 7 << 0 << 32868;
    QTest::newRow("extremes") << std::numeric_limits<int>::max() << std::numeric_limits<int>::min() << 32868 << 100;
}

void tst_Task::moveWords()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, y);
    QFETCH(int, x);

    LinkProbe device;
    device.addRecord("MOVE_X", 1, 82, 82, 1, Dev::CMD);
    device.addRecord("MOVE_Y", 1, 83, 83, 1, Dev::CMD);
    LoopbackMachine machine;
    QVERIFY(machine.attach(device));
    device.heartbeat_switch(false);

    device.move(a, b);
    QCOMPARE(device.value("MOVE_Y").toInt(), y);
    QCOMPARE(device.value("MOVE_X").toInt(), x);
    const QByteArray expected = frame("CMD", "SET83:" + QByteArray::number(y) + ";")
                                + frame("CMD", "SET82:" + QByteArray::number(x) + ";");
    QCOMPARE(machine.receive(expected.size()), expected);
}

QTEST_GUILESS_MAIN(tst_Task)
#include "tst_task.moc"
