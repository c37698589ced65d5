// SPDX-License-Identifier: LGPL-2.1-or-later
#include "property/VXDeviceProperty.h"
#include "property/VXFrame.h"
#include "link/FrameStream.h"

#include <QtTest>

using D = VXDeviceInterface;

namespace {
// The text between STX and ETX, checking both control bytes are there.
QByteArray inner(const QByteArray &frame)
{
    if (frame.size() < 2 || frame.front() != '\x02' || frame.back() != '\x03')
        return QByteArray("<not a frame: ") + frame.toHex() + '>';
    return frame.mid(1, frame.size() - 2);
}

struct Rec
{
    VXDeviceProperty p;
    Rec(QVariant v, int g, int s, int n, D::VXDeviceCMDType t, QStringList param = {})
    {
        p.init(v, QStringLiteral("l"), QString(), g, s, n, t, param);
    }
};
} // namespace

class tst_Codec : public QObject
{
    Q_OBJECT
private slots:
    void lengthRule_data();
    void lengthRule();
    void frames_data();
    void frames();
    void streamedFrames_data();
    void streamedFrames();
    void decodeText_data();
    void decodeText();
    void decodeList_data();
    void decodeList();
    void compound();
    void compoundShortReply();
    void packDoesNotTouchFields();
};

void tst_Codec::lengthRule_data()
{
    QTest::addColumn<int>("payload");
    QTest::addColumn<int>("length");
    QTest::newRow("10") << 10 << 15;
    QTest::newRow("94") << 94 << 99;
    QTest::newRow("95") << 95 << 101;
    QTest::newRow("96") << 96 << 102;
    QTest::newRow("97") << 97 << 103;
    QTest::newRow("993") << 993 << 999;
    QTest::newRow("994") << 994 << 1001;
    QTest::newRow("995") << 995 << 1002;
    QTest::newRow("0") << 0 << 4;
    QTest::newRow("5") << 5 << 9;
    QTest::newRow("6") << 6 << 11;
}

void tst_Codec::lengthRule()
{
    QFETCH(int, payload);
    QFETCH(int, length);
    QCOMPARE(VXFrame::length(payload), qint64(length));
    // The frame built around such a payload really is that long and says so.
    const QByteArray body(payload > 4 ? payload - 4 : 0, 'x');
    const QByteArray kind = payload > 4 ? QByteArray("CMD") : QByteArray(qMax(0, payload - 1), 'K');
    const QByteArray frame = VXFrame::build(kind, body);
    if (kind.size() + 1 + body.size() == payload) {
        QCOMPARE(frame.size(), length);
        QVERIFY(frame.mid(1).startsWith(QByteArray::number(length) + ';'));
    }
}

void tst_Codec::frames_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("get");
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("len");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("param");
    QTest::addColumn<QByteArray>("read");
    QTest::addColumn<QByteArray>("write");

    const QStringList none;
    QTest::newRow("SCALE_X read") << QVariant(0u) << 24 << 24 << 1 << int(D::CMD) << none
                                  << QByteArray("15;CMD;GET24;") << QByteArray("17;CMD;SET24:0;");
    QTest::newRow("MOVE_X 1000") << QVariant(1000) << 82 << 82 << 1 << int(D::CMD) << none
                                 << QByteArray("15;CMD;GET82;") << QByteArray("20;CMD;SET82:1000;");
    QTest::newRow("TOOL_SPACE_X -200") << QVariant(-200) << 5 << 5 << 3 << int(D::CMD) << none
                                       << QByteArray("18;CMD;GET5;6;7;")
                                       << QByteArray("32;CMD;SET5:65336;6:65535;7:0;");
    QTest::newRow("double -200 two's complement") << QVariant(-200.0) << 5 << 5 << 3 << int(D::CMD) << none
                                                  << QByteArray("18;CMD;GET5;6;7;")
                                                  << QByteArray("32;CMD;SET5:65336;6:65535;7:0;");
    QTest::newRow("low word first") << QVariant(65538) << 40 << 40 << 2 << int(D::CMD) << none
                                    << QByteArray("18;CMD;GET40;41;") << QByteArray("22;CMD;SET40:2;41:1;");
    QTest::newRow("FACTORY_SET") << QVariant(0) << 0 << 67 << 1 << int(D::CCMD) << none
                                 << QByteArray() << QByteArray("15;CCMD;67,0;");
    QTest::newRow("heartbeat") << QVariant(2) << 1010 << 1010 << 1 << int(D::CCMD) << none
                               << QByteArray("15;CCMD;1010;") << QByteArray("17;CCMD;1010,2;");
    QTest::newRow("CCMD params") << QVariant(7) << 12 << 13 << 1 << int(D::CCMD) << QStringList{"A", "B"}
                                 << QByteArray("17;CCMD;12,A,B;") << QByteArray("19;CCMD;13,A,B,7;");
    QTest::newRow("NUM") << QVariant(3) << 1 << 1 << 1 << int(D::NUM) << none
                         << QByteArray() << QByteArray("15;CMD;NUM:3;");
    QTest::newRow("PLT") << QVariant("IN;PU0,0;") << 1 << 1 << 1 << int(D::PLT) << none
                         << QByteArray() << QByteArray("18;PLT;IN;PU0,0;");
    QTest::newRow("PPLT") << QVariant("IN;") << 0 << 1 << 1 << int(D::PPLT) << none
                          << QByteArray() << QByteArray("13;PPLT;IN;");
    QTest::newRow("QRPLT") << QVariant("X") << 1 << 1 << 1 << int(D::QRPLT) << none
                           << QByteArray() << QByteArray("13;QR_PLT;X");
    QTest::newRow("UnCMD") << QVariant(1) << 5 << 5 << 1 << int(D::UnCMD) << none
                           << QByteArray() << QByteArray();
    QTest::newRow("set number 0") << QVariant(1) << 5 << 0 << 1 << int(D::CMD) << none
                                  << QByteArray("14;CMD;GET5;") << QByteArray();
    QTest::newRow("cmd_len 0 not readable") << QVariant(1) << 5 << 5 << 0 << int(D::CMD) << none
                                            << QByteArray() << QByteArray("16;CMD;SET5:1;");
    QTest::newRow("seven words undefined") << QVariant(1) << 5 << 5 << 7 << int(D::CMD) << none
                                           << QByteArray("28;CMD;GET5;6;7;8;9;10;11;") << QByteArray();
    // Item bodies have no quoting: a separator or frame byte in a value or a
    // parameter would add items or cut the frame, so no write is built.
    QTest::newRow("CCMD value with ; and ,") << QVariant("AB;12,3") << 0 << 44 << 1 << int(D::CCMD) << none
                                             << QByteArray() << QByteArray();
    QTest::newRow("CCMD param with ,") << QVariant(1) << 0 << 44 << 1 << int(D::CCMD) << QStringList{"A,B"}
                                       << QByteArray() << QByteArray();
    QTest::newRow("CMD value with ;") << QVariant("1;2") << 9 << 9 << 1 << int(D::CMD) << none
                                      << QByteArray("14;CMD;GET9;") << QByteArray();
    QTest::newRow("NUM value with ETX") << QVariant(QString("3\x03")) << 0 << 1 << 1 << int(D::NUM) << none
                                        << QByteArray() << QByteArray();
    QTest::newRow("PLT body as given") << QVariant("PU1,2;") << 0 << 1 << 1 << int(D::PLT) << none
                                       << QByteArray() << QByteArray("15;PLT;PU1,2;");
}

void tst_Codec::frames()
{
    QFETCH(QVariant, value);
    QFETCH(int, get);
    QFETCH(int, set);
    QFETCH(int, len);
    QFETCH(int, type);
    QFETCH(QStringList, param);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, write);
    Rec r(value, get, set, len, D::VXDeviceCMDType(type), param);
    const QByteArray g = r.p.get_cmd_bytes();
    const QByteArray s = r.p.set_cmd_bytes();
    QCOMPARE(g.isEmpty() ? QByteArray() : inner(g), read);
    QCOMPARE(s.isEmpty() ? QByteArray() : inner(s), write);
    if (!s.isEmpty())
        QCOMPARE(s.size(), s.mid(1).split(';').first().toInt());
}

void tst_Codec::streamedFrames_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<int>("piece");
    const QString pair = QString::fromUtf8("\xF0\x9F\x94\xAA");   // one character, two UTF-16 units
    QTest::newRow("empty") << QString() << 4;
    QTest::newRow("one piece") << QStringLiteral("IN;PU0,0;PD400,0;") << (1 << 20);
    QTest::newRow("pieces of three") << QStringLiteral("IN;PU0,0;PD400,0;PU;") << 3;
    QTest::newRow("length gains a digit") << QString(91, QLatin1Char('x')) << 8;
    QTest::newRow("pair across a cut") << QStringLiteral("PU") + pair + QStringLiteral(";PD1,2;") << 3;
    QTest::newRow("non-ASCII longer than a piece") << QString::fromUtf8("IN;\xE5\x88\x80\xE5\x88\x80\xE5\x88\x80\xE5\x88\x80;") << 2;
    QTest::newRow("non-ASCII at the end") << QString::fromUtf8("IN;\xC3\xA9\xC3\xA9") << 1;
}

void tst_Codec::streamedFrames()
{
    QFETCH(QString, body);
    QFETCH(int, piece);
    // The streamed plot must be the very frame a plot record writes.
    const QByteArray whole = Rec(body, 0, 1, 1, D::PLT).p.set_cmd_bytes();
    FrameStream stream("PLT", body, piece);
    QCOMPARE(stream.size(), qint64(whole.size()));
    QByteArray joined;
    while (!stream.atEnd())
        joined += stream.next();
    QCOMPARE(joined, whole);
    QVERIFY(stream.next().isEmpty());
}

void tst_Codec::decodeText_data()
{
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("string") << QVariant(QString("a")) << "b,c" << QVariant(QString("b,c"));
    QTest::newRow("uint") << QVariant(1u) << "42" << QVariant(42u);
    QTest::newRow("uint negative") << QVariant(1u) << "-3" << QVariant(0u);
    QTest::newRow("uint garbage") << QVariant(1u) << "x1" << QVariant(0u);
    QTest::newRow("uint huge") << QVariant(1u) << "99999999999999999999" << QVariant(0u);
    QTest::newRow("int") << QVariant(1) << "-200" << QVariant(-200);
    QTest::newRow("int garbage") << QVariant(5) << "" << QVariant(0);
    QTest::newRow("int hex is not read") << QVariant(5) << "0x10" << QVariant(0);
    QTest::newRow("double") << QVariant(1.0) << "12.5" << QVariant(12.5);
    QTest::newRow("double garbage") << QVariant(1.0) << "abc" << QVariant(0.0);
    QTest::newRow("invalid stays") << QVariant() << "7" << QVariant();
    QTest::newRow("bool stays") << QVariant(true) << "0" << QVariant(true);
    QTest::newRow("list stays") << QVariant(QStringList{"A", "B"}) << "7" << QVariant(QStringList{"A", "B"});
    QTest::newRow("bytes stay") << QVariant(QByteArray("q")) << "7" << QVariant(QByteArray("q"));
    QTest::newRow("invalid utf8 text") << QVariant(QString()) << QString::fromUtf8("\xff\xfe") << QVariant(QString::fromUtf8("\xff\xfe"));
}

void tst_Codec::decodeText()
{
    QFETCH(QVariant, start);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);
    Rec r(start, 9, 9, 1, D::CMD);
    QSignalSpy changed(&r.p, &VXDeviceProperty::valueChanged);
    r.p.set_decode(text);
    QCOMPARE(r.p.value().userType(), expected.userType());
    QCOMPARE(r.p.value(), expected);
    QCOMPARE(r.p.previousValue(), start);     // decoding bypasses the setValue rule
    QCOMPARE(changed.count(), 0);
    // The user putting back what stood before the reply is an edit to send.
    if (expected != start) {
        r.p.setValue(start);
        QCOMPARE(changed.count(), 1);
    }
}

void tst_Codec::decodeList_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("param");
    QTest::addColumn<QVariant>("start");
    QTest::addColumn<QStringList>("reply");
    QTest::addColumn<QVariant>("expected");
    const QStringList none;
    QTest::newRow("words -200") << int(D::CMD) << none << QVariant(0u) << QStringList{"65336", "65535", "0"} << QVariant(-200);
    QTest::newRow("words 1 2") << int(D::CMD) << none << QVariant(0u) << QStringList{"1", "2"} << QVariant(131073);
    QTest::newRow("words garbage") << int(D::CMD) << none << QVariant(9) << QStringList{"x", "70000"} << QVariant(0);
    QTest::newRow("single") << int(D::CMD) << none << QVariant(0u) << QStringList{"5"} << QVariant(5u);
    QTest::newRow("empty list") << int(D::CMD) << none << QVariant(4) << QStringList{} << QVariant(4);
    QTest::newRow("params match") << int(D::CCMD) << QStringList{"A", "B"} << QVariant(0) << QStringList{"A", "B", "7"} << QVariant(7);
    QTest::newRow("params differ") << int(D::CCMD) << QStringList{"A", "B"} << QVariant(0) << QStringList{"A", "C", "7"} << QVariant(0);
    QTest::newRow("params too short") << int(D::CCMD) << QStringList{"A", "B"} << QVariant(3) << QStringList{"A", "B"} << QVariant(3);
    QTest::newRow("no params") << int(D::CCMD) << none << QVariant(0) << QStringList{"8", "9"} << QVariant(8);
    QTest::newRow("NUM ignores lists") << int(D::NUM) << none << QVariant(1) << QStringList{"8", "9"} << QVariant(1);
}

void tst_Codec::decodeList()
{
    QFETCH(int, type);
    QFETCH(QStringList, param);
    QFETCH(QVariant, start);
    QFETCH(QStringList, reply);
    QFETCH(QVariant, expected);
    Rec r(start, 5, 5, 3, D::VXDeviceCMDType(type), param);
    r.p.set_decode(reply);
    QCOMPARE(r.p.value(), expected);
}

void tst_Codec::compound()
{
    VXDeviceProperty x, y, group;
    x.init(0.0, "x", "", 0, 0, 0, D::UnCMD, {});
    y.init(0.0, "y", "", 0, 0, 0, D::UnCMD, {});
    group.init(QStringList{"WORKAREA_X", "MISSING", "WORKAREA_Y"}, "g", "", 63, 22, 1, D::CCMD, {});
    VXDeviceProperty::attach(&group, "WORKAREA_X", &x);
    VXDeviceProperty::attach(&group, "WORKAREA_Y", &y);
    group.setProperty("WIDGET", QJsonObject{{"widget", "QGroupBox"}});

    QCOMPARE(inner(group.get_cmd_bytes()), QByteArray("13;CCMD;63;"));
    group.set_decode(QStringList{"1250.5", "zz", "800"});
    QCOMPARE(x.value(), QVariant(1250.5));
    QCOMPARE(y.value(), QVariant(800.0));
    x.setValue(1200);
    y.setValue(900);
    QCOMPARE(inner(group.set_cmd_bytes()), QByteArray("22;CCMD;22,1200,900;"));
    y.setValue(QString("9,1"));   // would write three members' worth
    QVERIFY(group.set_cmd_bytes().isEmpty());
    y.setValue(900);
    QCOMPARE(group.members(), (QList<VXDeviceProperty *>{&x, &y}));
}

void tst_Codec::compoundShortReply()
{
    VXDeviceProperty a, b, group;
    a.init(QString("a"), "", "", 0, 0, 0, D::UnCMD, {});
    b.init(QString("b"), "", "", 0, 0, 0, D::UnCMD, {});
    group.init(QStringList{"A", "B"}, "", "", 2, 0, 1, D::CCMD, {});
    VXDeviceProperty::attach(&group, "A", &a);
    VXDeviceProperty::attach(&group, "B", &b);
    group.set_decode(QStringList{"only"});     // one value: decoded into the group itself, a list stays
    QCOMPARE(a.value(), QVariant(QString("a")));
    group.set_decode(QStringList{"m", "n", "extra"});
    QCOMPARE(a.value(), QVariant(QString("m")));
    QCOMPARE(b.value(), QVariant(QString("n")));
}

void tst_Codec::packDoesNotTouchFields()
{
    Rec r(5, 1, 1, 1, D::CMD);
    const QByteArray f = r.p.pack(QStringLiteral("1;"), QStringLiteral("CCMD"));
    QCOMPARE(inner(f), QByteArray("12;CCMD;1;"));
    QCOMPARE(r.p.value(), QVariant(5));
}

QTEST_GUILESS_MAIN(tst_Codec)
#include "tst_codec.moc"
