// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXDeviceInterface.h"

#include "../property/VXDeviceProperty.h"

#include <QDate>
#include <QLocale>
#include <QSet>

VXDeviceInterface::VXDeviceInterface(QObject *parent)
    : QObject(parent)
{
    // Hosts look the status type up by name (QMetaType::type) without ever
    // naming it in code, and queued or spied message() arguments are resolved
    // by the name in the signal's signature; both must exist up front.
    qRegisterMetaType<VXDeviceStatus>("VXDeviceInterface::VXDeviceStatus");
    qRegisterMetaType<VXDeviceMessage>("VXDeviceInterface::VXDeviceMessage");
    qRegisterMetaType<VXDeviceMessage>("VXDeviceMessage");
}

VXDeviceInterface::~VXDeviceInterface()
{
    releaseRecords();
}

void VXDeviceInterface::releaseRecords()
{
    // A record registered under two keys must still be deleted once.
    QSet<VXDeviceProperty *> deleted;
    const QList<QByteArray> names = dynamicPropertyNames();
    for (const QByteArray &name : names) {
        VXDeviceProperty *record = VXDeviceProperty::lookup(this, name.constData());
        if (record && !deleted.contains(record)) {
            deleted.insert(record);
            delete record;
        }
        setProperty(name.constData(), QVariant());
    }
}

void VXDeviceInterface::attachRecord(const char *key, VXDeviceProperty *record)
{
    VXDeviceProperty *earlier = VXDeviceProperty::lookup(this, key);
    if (earlier && earlier != record)
        earlier->setParent(this);
    VXDeviceProperty::attach(this, key, record);
}

VXDeviceInterface *VXDeviceInterface::initInstance()
{
    return nullptr;
}

void VXDeviceInterface::setUSBPath(QString path)
{
    auto *record = new VXDeviceProperty;
    record->init(tr("USB"), path, QString(), 0, 0, 0, UnCMD, QStringList());
    attachRecord("USB", record);
}

void VXDeviceInterface::setIPAddress(QString address)
{
    auto *record = new VXDeviceProperty;
    record->init(tr("TCP"), address, QString(), 0, 0, 0, UnCMD, QStringList());
    attachRecord("TCP", record);
}

bool VXDeviceInterface::connectDevice()
{
    return false;
}

VXDeviceProperty *VXDeviceInterface::property_ptr(const char *)
{
    return nullptr;
}

QStringList VXDeviceInterface::userProperty()
{
    return QStringList();
}

QStringList VXDeviceInterface::sysProperty()
{
    return QStringList();
}

void VXDeviceInterface::sendCMD(QByteArray)
{
}

void VXDeviceInterface::setNimbraCloud(NimbraCloud *, QString)
{
}

void VXDeviceInterface::startTask()
{
}

void VXDeviceInterface::stopTask()
{
}

void VXDeviceInterface::move(int, int)
{
}

int VXDeviceInterface::icon()
{
    return 0;
}

void VXDeviceInterface::setPlt(QString plt)
{
    VXDeviceProperty *record = property_ptr("TASK_PPLT");
    if (!record)
        record = property_ptr("TASK_PLT");
    if (record)
        record->setValue(plt);
}

QString VXDeviceInterface::buildDate()
{
    return formatBuildDate(QStringLiteral(__DATE__));
}

QString VXDeviceInterface::formatBuildDate(const QString &compilerDate)
{
    // __DATE__ pads a one-digit day with a space: "Jun  7 2025".
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString result = english.toDate(compilerDate, QStringLiteral("MMM dd yyyy"))
                         .toString(QStringLiteral("yyyy - MM - dd"));
    if (result.isEmpty())
        result = english.toDate(compilerDate, QStringLiteral("MMM  d yyyy"))
                     .toString(QStringLiteral("yyyy - MM - dd"));
    return result;
}
