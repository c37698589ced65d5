// SPDX-License-Identifier: LGPL-2.1-or-later
#include "property/VXDeviceProperty.h"

#include <QtTest>

using D = VXDeviceInterface;

// A device with only the interface defaults: the registry and ownership.
class BareDevice : public VXDeviceInterface
{
public:
    using VXDeviceInterface::VXDeviceInterface;
};

class tst_Property : public QObject
{
    Q_OBJECT
private slots:
    void construction();
    void setValueRule_data();
    void setValueRule();
    void retStatus();
    void copy();
    void lookupRule_data();
    void lookupRule();
    void membersSkipNonRecords();
    void destructionDeletesOnce();
    void replacedRecordOutlivesRegistration();
    void interfaceDefaults();
    void setPltPrefersPplt();
    void buildDate_data();
    void buildDate();
    void interfaceCastOnBareDevice();
    void enumsRegistered();
};

void tst_Property::construction()
{
    VXDeviceProperty p;
    QVERIFY(!p.value().isValid());
    QVERIFY(!p.label().isNull() && p.label().isEmpty());
    QVERIFY(!p.uint().isNull() && p.uint().isEmpty());
    QCOMPARE(p.cmd_type(), D::UnCMD);
    QSignalSpy spy(&p, &VXDeviceProperty::valueChanged);
    QVERIFY(p.init(5, "L", "U", 1, 2, 3, D::CMD, {"a"}));
    QCOMPARE(spy.count(), 0);
    QCOMPARE(p.value(), QVariant(5));
    QCOMPARE(p.previousValue(), QVariant(5));
    // The Qt property is the record's value.
    QCOMPARE(p.property("value"), QVariant(5));
    QVERIFY(p.setProperty("value", 6));
    QCOMPARE(spy.count(), 1);
}

// Steps are "set:<int>"; expected emits after each and the final value/previous.
void tst_Property::setValueRule_data()
{
    QTest::addColumn<QVariantList>("sets");
    QTest::addColumn<QList<int>>("emits");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("previous");
    QTest::newRow("same as initial") << QVariantList{5} << QList<int>{0} << QVariant(5) << QVariant(5);
    QTest::newRow("change once") << QVariantList{7, 7} << QList<int>{1, 1} << QVariant(7) << QVariant(5);
    // 45 -> 50 -> 45: the edit back is an edit, or the machine keeps 50.
    QTest::newRow("back to previous notifies") << QVariantList{7, 5} << QList<int>{1, 2} << QVariant(5) << QVariant(7);
    QTest::newRow("chain") << QVariantList{7, 8, 9} << QList<int>{1, 2, 3} << QVariant(9) << QVariant(8);
    QTest::newRow("converting equality") << QVariantList{QString("5")} << QList<int>{0} << QVariant(QString("5")) << QVariant(5);
}

void tst_Property::setValueRule()
{
    QFETCH(QVariantList, sets);
    QFETCH(QList<int>, emits);
    QFETCH(QVariant, value);
    QFETCH(QVariant, previous);
    VXDeviceProperty p;
    p.init(5, "", "", 0, 0, 0, D::UnCMD, {});
    QSignalSpy spy(&p, &VXDeviceProperty::valueChanged);
    for (int i = 0; i < sets.size(); ++i) {
        p.setValue(sets.at(i));
        QCOMPARE(spy.count(), emits.at(i));
    }
    QCOMPARE(p.value(), value);
    QCOMPARE(p.value().userType(), value.userType());
    QCOMPARE(p.previousValue(), previous);
}

void tst_Property::retStatus()
{
    VXDeviceProperty p;
    p.init(1, "a", "b", 1, 2, 1, D::CMD, {});
    QSignalSpy spy(&p, &VXDeviceProperty::retStatus);
    p.ret_Status(3);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 3);
    QCOMPARE(p.value(), QVariant(1));
}

void tst_Property::copy()
{
    VXDeviceProperty p;
    p.init(QString("v"), "L", "U", 4, 5, 2, D::CCMD, {"x", "y"});
    p.setValue(QString("w"));
    p.setProperty("WIDGET", QJsonObject{{"widget", "QLabel"}});
    VXDeviceProperty c(p);
    QCOMPARE(c.value(), QVariant(QString("w")));
    QCOMPARE(c.previousValue(), QVariant(QString("v")));
    QCOMPARE(c.get_cmd_int(), 4);
    QCOMPARE(c.set_cmd_int(), 5);
    QCOMPARE(c.cmd_len(), 2);
    QCOMPARE(c.label(), QString("L"));
    QCOMPARE(c.uint(), QString("U"));
    QCOMPARE(c.cmd_type(), D::CCMD);
    QCOMPARE(c.param(), (QStringList{"x", "y"}));
    QVERIFY(c.dynamicPropertyNames().isEmpty());
    QVERIFY(!c.parent());
}

void tst_Property::lookupRule_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("found");
    QTest::newRow("invalid") << QVariant() << false;
    QTest::newRow("json") << QVariant(QJsonObject{{"widget", "x"}}) << false;
    QTest::newRow("int") << QVariant(42) << false;
    QTest::newRow("string") << QVariant(QString("abc")) << false;
    QTest::newRow("null pointer") << QVariant::fromValue<void *>(nullptr) << false;
}

void tst_Property::lookupRule()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, found);
    VXDeviceProperty holder;
    holder.setProperty("K", stored);
    QCOMPARE(holder.property_ptr("K") != nullptr, found);
    QVERIFY(!holder.property_ptr("NEVER"));
}

void tst_Property::membersSkipNonRecords()
{
    VXDeviceProperty group, a, b;
    QWidget *fakeEditor = reinterpret_cast<QWidget *>(&a);   // never dereferenced
    group.setProperty("WIDGET", QJsonObject{{"widget", "QTabWidget"}});
    VXDeviceProperty::attach(&group, "B", &b);
    group.setProperty("UI_CTRL", QVariant::fromValue(static_cast<void *>(fakeEditor)));
    VXDeviceProperty::attach(&group, "A", &a);
    QCOMPARE(group.members(), (QList<VXDeviceProperty *>{&b, &a}));
    QVERIFY(!group.property_ptr("WIDGET"));
    QVERIFY(!group.property_ptr("UI_CTRL"));
}

void tst_Property::destructionDeletesOnce()
{
    auto *device = new BareDevice;
    auto *member = new VXDeviceProperty;
    auto *group = new VXDeviceProperty;
    VXDeviceProperty::attach(group, "M", member);
    VXDeviceProperty::attach(device, "M", member);
    VXDeviceProperty::attach(device, "G", group);
    VXDeviceProperty::attach(device, "ALIAS", member);   // same record twice
    device->setProperty("OTHER", 7);
    QSignalSpy memberGone(member, &QObject::destroyed);
    QSignalSpy groupGone(group, &QObject::destroyed);
    delete device;
    QCOMPARE(memberGone.count(), 1);
    QCOMPARE(groupGone.count(), 1);
}

void tst_Property::replacedRecordOutlivesRegistration()
{
    BareDevice device;
    device.setUSBPath("/dev/a");
    auto *first = VXDeviceProperty::lookup(&device, "USB");
    QVERIFY(first);
    QSignalSpy gone(first, &QObject::destroyed);
    device.setUSBPath("/dev/b");
    auto *second = VXDeviceProperty::lookup(&device, "USB");
    QVERIFY(second && second != first);
    QCOMPARE(gone.count(), 0);            // a host may still hold it
    QCOMPARE(first->label(), QString("/dev/a"));
    QCOMPARE(device.dynamicPropertyNames().count("USB"), 1);
}

void tst_Property::interfaceDefaults()
{
    BareDevice d;
    QVERIFY(!d.initInstance());
    QVERIFY(!d.connectDevice());
    QVERIFY(d.userProperty().isEmpty());
    QVERIFY(d.sysProperty().isEmpty());
    QCOMPARE(d.icon(), 0);
    d.setUSBPath("/dev/ttyACM0");
    d.setIPAddress("127.0.0.1");
    QVERIFY(!d.property_ptr("USB"));         // the default lookup finds nothing
    auto *usb = VXDeviceProperty::lookup(&d, "USB");
    QVERIFY(usb);
    QCOMPARE(usb->value().toString(), QString("USB"));
    QCOMPARE(usb->label(), QString("/dev/ttyACM0"));
    QVERIFY(usb->uint().isNull());
    QCOMPARE(usb->cmd_type(), D::UnCMD);
    auto *tcp = VXDeviceProperty::lookup(&d, "TCP");
    QVERIFY(tcp);
    QCOMPARE(tcp->value().toString(), QString("TCP"));
    QCOMPARE(tcp->label(), QString("127.0.0.1"));
    d.setPlt("IN;");                          // no record reachable: nothing happens
}

class LookupDevice : public BareDevice
{
public:
    VXDeviceProperty *property_ptr(const char *key) override { return VXDeviceProperty::lookup(this, key); }
};

void tst_Property::setPltPrefersPplt()
{
    LookupDevice d;
    auto *plt = new VXDeviceProperty;
    plt->init(QString(), "", "", 1, 1, 1, D::PLT, {});
    d.attachRecord("TASK_PLT", plt);
    d.setPlt("A");
    QCOMPARE(plt->value().toString(), QString("A"));
    auto *pplt = new VXDeviceProperty;
    pplt->init(QString(), "", "", 0, 1, 1, D::PPLT, {});
    d.attachRecord("TASK_PPLT", pplt);
    d.setPlt("B");
    QCOMPARE(pplt->value().toString(), QString("B"));
    QCOMPARE(plt->value().toString(), QString("A"));
}

void tst_Property::buildDate_data()
{
    QTest::addColumn<QString>("compiler");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two-digit day") << "Jun 27 2025" << "2025 - 06 - 27";
    QTest::newRow("padded day") << "Jun  7 2025" << "2025 - 06 - 07";
    QTest::newRow("december") << "Dec 31 1999" << "1999 - 12 - 31";
}

void tst_Property::buildDate()
{
    QFETCH(QString, compiler);
    QFETCH(QString, expected);
    QCOMPARE(VXDeviceInterface::formatBuildDate(compiler), expected);
    QVERIFY(QRegularExpression("^\\d{4} - \\d\\d - \\d\\d$").match(VXDeviceInterface::buildDate()).hasMatch());
}

void tst_Property::interfaceCastOnBareDevice()
{
    BareDevice d;
    QObject *o = &d;
    QVERIFY(!qobject_cast<VXDeviceInterface *>(o));
    QVERIFY(o->inherits("VXDeviceInterface"));
}

void tst_Property::enumsRegistered()
{
    const QMetaObject &mo = VXDeviceInterface::staticMetaObject;
    const QMetaEnum status = mo.enumerator(mo.indexOfEnumerator("VXDeviceStatus"));
    QCOMPARE(status.keyCount(), 6);
    QCOMPARE(status.value(5), 5);
    QVERIFY(!status.isFlag());
    QCOMPARE(QMetaType::type("VXDeviceInterface::VXDeviceStatus"),
             qMetaTypeId<VXDeviceInterface::VXDeviceStatus>());
    QCOMPARE(QMetaType::sizeOf(qMetaTypeId<VXDeviceInterface::VXDeviceStatus>()), 4);
    // A stored integer and the enumeration read back as the same state.
    QCOMPARE(VXDeviceInterface::VXDeviceStatus(QVariant(3).toInt()), VXDeviceInterface::Pause);
    QCOMPARE(QVariant::fromValue(VXDeviceInterface::Pause).toInt(), 3);
    QCOMPARE(mo.enumerator(mo.indexOfEnumerator("VXDeviceCMDType")).keyCount(), 7);
    QCOMPARE(mo.enumerator(mo.indexOfEnumerator("VXDeviceMessage")).keyCount(), 3);
}

QTEST_GUILESS_MAIN(tst_Property)
#include "tst_property.moc"
