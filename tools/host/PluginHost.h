// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QPluginLoader>
#include <QString>
#include <QStringList>

class VXDeviceInterface;

// Finds the device plugin, loads it and casts its root object by the
// interface id. The root object is only a factory; it stays with the loader.
class PluginHost
{
    Q_DECLARE_TR_FUNCTIONS(PluginHost)

public:
    PluginHost() = default;
    ~PluginHost();
    PluginHost(const PluginHost &) = delete;
    PluginHost &operator=(const PluginHost &) = delete;

    // explicitPath empty: search the default folders. False on failure, with error().
    bool load(const QString &explicitPath);
    VXDeviceInterface *root() const { return m_root; }
    QString fileName() const { return m_loader.fileName(); }
    QString error() const { return m_error; }

    // <appdir>/plugins, <appdir>/../lib/vxdevice/plugins, then the build tree.
    static QStringList searchFolders();

private:
    bool tryFile(const QString &file);

    QPluginLoader m_loader;
    VXDeviceInterface *m_root = nullptr;
    QString m_error;
};
