// SPDX-License-Identifier: LGPL-2.1-or-later
// A host built from the declarations alone (declared/DeclaredInterface.h):
// it links against the library, loads the module and drives a device
// through the interface, the record accessors and string-based connections.
#include "declared/DeclaredInterface.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QMetaType>
#include <QPluginLoader>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWidget>
#include <QtTest>

#include <memory>

class TestDeclaredHost : public QObject
{
    Q_OBJECT
public slots:
    void countMessage() { ++m_messages; }

private slots:
    void initTestCase();
    void interfaceOperations();
    void recordAccessors_data();
    void recordAccessors();
    void hostCreatedRecords();
    void messageByStringSignature();
    void editorRoundTrip();

private:
    VXDeviceInterface *m_root = nullptr;
    std::unique_ptr<VXDeviceInterface> m_device;
    int m_messages = 0;
};

void TestDeclaredHost::initTestCase()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    QObject *root = loader.instance();
    QVERIFY2(root, qPrintable(loader.errorString()));
    m_root = qobject_cast<VXDeviceInterface *>(root);
    QVERIFY(m_root);
    m_device.reset(m_root->initInstance());
    QVERIFY(m_device);
    const int status = QMetaType::type("VXDeviceInterface::VXDeviceStatus");
    QVERIFY(status != 0);
    QCOMPARE(QMetaType::sizeOf(status), 4);
}

void TestDeclaredHost::interfaceOperations()
{
    VXDeviceInterface *d = m_device.get();
    QCOMPARE(d->icon(), 58916);
    QVERIFY(d->userProperty().contains("PU_SPEED"));
    QVERIFY(d->sysProperty().contains("FIRMWARE"));
    QVERIFY(!d->property_ptr("NO_SUCH_KEY"));
    d->setPlt(QStringLiteral("IN;PU0,0;"));
    QCOMPARE(d->property_ptr("TASK_PLT")->value(), QVariant(QStringLiteral("IN;PU0,0;")));
    d->sendCMD(QByteArray());   // not connected: dropped, no crash
    d->move(1, -1);
    QCOMPARE(VXDeviceInterface::buildDate().size(), 14);
}

void TestDeclaredHost::recordAccessors_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("get");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("len");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("read");
    QTest::newRow("SCALE_X") << QByteArray("SCALE_X") << 24 << 24 << 1 << int(VXDeviceInterface::CMD)
                             << QByteArray("\x02" "15;CMD;GET24;\x03");
    QTest::newRow("TOOL_SPACE_X") << QByteArray("TOOL_SPACE_X") << 5 << 5 << 3 << int(VXDeviceInterface::CMD)
                                  << QByteArray("\x02" "18;CMD;GET5;6;7;\x03");
}

void TestDeclaredHost::recordAccessors()
{
    QFETCH(QByteArray, key);
    VXDeviceProperty *r = m_device->property_ptr(key.constData());
    QVERIFY(r);
    QTEST(r->get_cmd_int(), "get");
    QTEST(r->set_cmd_int(), "set");
    QTEST(r->cmd_len(), "len");
    QTEST(int(r->cmd_type()), "kind");
    QVERIFY(!r->label().isEmpty());
    QVERIFY(r->param().isEmpty());
    QTEST(r->get_cmd_bytes(), "read");
    QVERIFY(r->value().isValid());
    QVERIFY(!r->property_ptr("WIDGET"));
    QVERIFY(!r->uint().isNull());
}

void TestDeclaredHost::hostCreatedRecords()
{
    // On the stack and on the heap, with the host's idea of the size.
    VXDeviceProperty local;
    QVERIFY(local.init(5, QStringLiteral("L"), QStringLiteral("(mm)"), 82, 82, 1,
                       VXDeviceInterface::CMD, QStringList()));
    QSignalSpy changed(&local, SIGNAL(valueChanged()));
    local.setValue(1000);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(local.set_cmd_bytes(), QByteArray("\x02" "20;CMD;SET82:1000;\x03"));
    QCOMPARE(local.uint(), QStringLiteral("(mm)"));

    std::unique_ptr<VXDeviceProperty> heap(new VXDeviceProperty);
    heap->init(QStringList(), QStringLiteral("P"), QString(), 7, 8, 1, VXDeviceInterface::CCMD,
               {QStringLiteral("A"), QStringLiteral("B")});
    heap->setValue(3);
    QCOMPARE(heap->set_cmd_bytes(), heap->pack(QStringLiteral("8,A,B,3;"), QStringLiteral("CCMD")));
    QSignalSpy ret(heap.get(), SIGNAL(retStatus(int)));
    heap->ret_Status(4);
    QCOMPARE(ret.value(0).value(0).toInt(), 4);
    const VXDeviceProperty copy(*heap);
    QCOMPARE(copy.value(), QVariant(3));
}

void TestDeclaredHost::messageByStringSignature()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    std::unique_ptr<VXDeviceInterface> device(m_root->initInstance());
    device->property_ptr("TCP_PORT")->setValue(int(server.serverPort()));
    QSignalSpy spy(device.get(), SIGNAL(message(VXDeviceMessage,QString)));
    QVERIFY(spy.isValid());
    QVERIFY(QObject::connect(device.get(), SIGNAL(message(VXDeviceMessage,QString)),
                             this, SLOT(countMessage())));
    device->setIPAddress(QStringLiteral("127.0.0.1"));
    QVERIFY(device->connectDevice());
    QTRY_VERIFY(!spy.isEmpty());
    QCOMPARE(spy.first().at(1).toString(), QStringLiteral("TCP CONNECTED."));
    QCOMPARE(spy.first().at(0).toInt(), int(VXDeviceInterface::DevStatus));
    QCOMPARE(m_messages, spy.count());
}

void TestDeclaredHost::editorRoundTrip()
{
    QWidget host;
    new QVBoxLayout(&host);
    VXDeviceProperty *scale = m_device->property_ptr("SCALE_X");
    scale->create_ui_ctrl(&host, QStringLiteral("SCALE_X"), true);
    scale->to_ui_ctrl();
    auto *edit = host.findChild<QLineEdit *>(QStringLiteral("SCALE_X"));
    QVERIFY(edit);
    const QString shown = edit->text();
    edit->setText(shown + QLatin1Char('5'));
    QSignalSpy changed(scale, SIGNAL(valueChanged()));
    scale->from_ui_ctrl();
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(TestDeclaredHost)
#include "tst_declaredhost.moc"
