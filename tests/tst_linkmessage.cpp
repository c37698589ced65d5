// SPDX-License-Identifier: LGPL-2.1-or-later
// The one reading of the device's message texts, for both hosts.
#include "LinkMessage.h"

#include <QTest>

class TestLinkMessage : public QObject
{
    Q_OBJECT
private slots:
    void classify_data();
    void classify();
};

void TestLinkMessage::classify_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("event");
    const int status = VXDeviceInterface::DevStatus;
    QTest::newRow("usb up") << status << "USB CONNECTED." << int(LinkMessage::LinkUp);
    QTest::newRow("tcp up") << status << "TCP CONNECTED." << int(LinkMessage::LinkUp);
    QTest::newRow("usb error") << status << "USB ERROR." << int(LinkMessage::LinkError);
    QTest::newRow("usb down") << status << "USB DISCONNECTED." << int(LinkMessage::LinkDown);
    QTest::newRow("tcp down") << status << "TCP DISCONNECTED." << int(LinkMessage::LinkDown);
    // The two hosts used to disagree here: the stem decides, not the period.
    QTest::newRow("heartbeat lost") << status << "HEARTBEAT TIMEOUT 30S." << int(LinkMessage::HeartbeatLost);
    QTest::newRow("heartbeat lost, other period") << status << "HEARTBEAT TIMEOUT 6S." << int(LinkMessage::HeartbeatLost);
    // The remote channel shares the kind but is not the machine's link.
    QTest::newRow("web socket up") << status << "WEB SOCKET CONNECTED." << int(LinkMessage::RemoteUp);
    QTest::newRow("web socket down") << status << "WEB SOCKET DISCONNECTED." << int(LinkMessage::RemoteDown);
    QTest::newRow("web socket error") << status << "WEB SOCKET ERROR." << int(LinkMessage::RemoteDown);
    QTest::newRow("job report") << int(VXDeviceInterface::DevTasK) << "66,1,a.plt,1,0,5" << int(LinkMessage::JobReport);
    QTest::newRow("qr code") << int(VXDeviceInterface::Qrcode) << "TCP DISCONNECTED." << int(LinkMessage::QrCode);
    QTest::newRow("anything else") << status << "TCP CONNECTED" << int(LinkMessage::Other);
}

void TestLinkMessage::classify()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, event);
    QCOMPARE(int(LinkMessage::classify(VXDeviceInterface::VXDeviceMessage(kind), text)), event);
}

QTEST_GUILESS_MAIN(TestLinkMessage)
#include "tst_linkmessage.moc"
