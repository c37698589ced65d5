// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "../link/VXCommonInterface.h"

// The conveyor-belt flatbed model. The plugin's root object is one; it serves
// only as a factory for device objects (initInstance()).
class VXDEVICE_EXPORT VXKTR450PROCam : public VXCommonInterface
{
    Q_OBJECT
    Q_INTERFACES(VXDeviceInterface)
public:
    static constexpr const char *ModelString = "VX-KTR450PROCam";

    explicit VXKTR450PROCam(QObject *parent = nullptr);
    ~VXKTR450PROCam() override;

    VXDeviceInterface *initInstance() override;
    QStringList userProperty() override;
    QStringList sysProperty() override;
    int icon() override;
    void decode_cmd(QString frame) override;
    using VXCommonInterface::decode_cmd;

    // The translation file this object looks for. Computed, not kept: the
    // class adds no data members to its base.
    QString translationFile() const;
};
