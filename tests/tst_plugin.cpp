// SPDX-License-Identifier: LGPL-2.1-or-later
// The built plugin module, loaded the way a host loads it.
#include "interface/VXDeviceInterface.h"
#include "link/VXCommonInterface.h"
#include "property/VXDeviceProperty.h"

#include <QJsonArray>
#include <QPluginLoader>
#include <QPointer>
#include <QtTest>

#include <memory>

class TestPlugin : public QObject
{
    Q_OBJECT
private slots:
    void metaData();
    void rootObject();
    void rootIsRecreatedAfterDeletion();
    void castByInterfaceId();
    void deviceFromRoot();
};

void TestPlugin::metaData()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    const QJsonObject meta = loader.metaData();
    QCOMPARE(meta.value("IID").toString(), QString("org.qt-project.Qt.QGenericPluginFactoryInterface"));
    QCOMPARE(meta.value("className").toString(), QString("VXKTR450PROCam"));
    const QJsonObject data = meta.value("MetaData").toObject();
    QCOMPARE(data.keys(), QStringList{"Keys"});
    QVERIFY(data.value("Keys").isArray());
    QVERIFY(data.value("Keys").toArray().isEmpty());
}

void TestPlugin::rootObject()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    QObject *first = loader.instance();
    QVERIFY2(first, qPrintable(loader.errorString()));
    QCOMPARE(loader.instance(), first);
    QCOMPARE(QByteArray(first->metaObject()->className()), QByteArray("VXKTR450PROCam"));
    QVERIFY(first->dynamicPropertyNames().isEmpty());
}

void TestPlugin::rootIsRecreatedAfterDeletion()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    QPointer<QObject> old = loader.instance();
    QVERIFY(old);
    delete old.data();
    QVERIFY(old.isNull());
    QObject *again = loader.instance();
    QVERIFY(again);
    QCOMPARE(loader.instance(), again);
    auto *iface = qobject_cast<VXDeviceInterface *>(again);
    QVERIFY(iface);
    QCOMPARE(iface->icon(), 58916);
}

void TestPlugin::castByInterfaceId()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    QObject *root = loader.instance();
    QVERIFY(root);
    auto *iface = qobject_cast<VXDeviceInterface *>(root);
    QVERIFY(iface);
    QCOMPARE(iface->icon(), 58916);
    QCOMPARE(root->qt_metacast("Vexa.nimbra.vxdeviceinterface"), static_cast<void *>(iface));

    // The common class answers to its name but does not claim the interface id.
    VXCommonInterface bare;
    QVERIFY(!qobject_cast<VXDeviceInterface *>(&bare));
    QVERIFY(bare.qt_metacast("VXCommonInterface"));
    QCOMPARE(bare.icon(), 0);
}

void TestPlugin::deviceFromRoot()
{
    QPluginLoader loader(QStringLiteral(VX_PLUGIN_FILE));
    auto *root = qobject_cast<VXDeviceInterface *>(loader.instance());
    QVERIFY(root);
    std::unique_ptr<VXDeviceInterface> a(root->initInstance());
    std::unique_ptr<VXDeviceInterface> b(root->initInstance());
    QVERIFY(a && b && a != b);
    QCOMPARE(QByteArray(a->metaObject()->className()), QByteArray("VXKTR450PROCam"));
    QVERIFY(qobject_cast<VXDeviceInterface *>(a.get()));
    QCOMPARE(a->icon(), 58916);
    // Independent records per device object.
    QVERIFY(a->property_ptr("STATUS") != b->property_ptr("STATUS"));
    QCOMPARE(a->property_ptr("DEVICE_MODEL")->value().toString(), QString("VX-KTR450PROCam"));
    QVERIFY(root->dynamicPropertyNames().isEmpty());
}

QTEST_MAIN(TestPlugin)
#include "tst_plugin.moc"
