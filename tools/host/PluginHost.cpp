// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PluginHost.h"

#include "interface/VXDeviceInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

PluginHost::~PluginHost()
{
    // Unloading deletes the root object; device objects must be gone by now.
    if (m_loader.isLoaded())
        m_loader.unload();
}

QStringList PluginHost::searchFolders()
{
    const QString app = QCoreApplication::applicationDirPath();
    QStringList folders{app + QStringLiteral("/plugins"),
                        QDir::cleanPath(app + QStringLiteral("/../lib/vxdevice/plugins"))};
#ifdef VXHOST_BUILD_PLUGIN_DIR
    folders << QStringLiteral(VXHOST_BUILD_PLUGIN_DIR);
#endif
    folders.removeDuplicates();
    return folders;
}

bool PluginHost::tryFile(const QString &file)
{
    m_loader.setFileName(file);
    QObject *instance = m_loader.instance();
    if (!instance) {
        m_error = tr("cannot load plugin %1: %2").arg(file, m_loader.errorString());
        return false;
    }
    m_root = qobject_cast<VXDeviceInterface *>(instance);
    if (!m_root) {
        m_error = tr("%1 is not a device plugin (no %2 interface)")
                .arg(file, QLatin1String(qobject_interface_iid<VXDeviceInterface *>()));
        m_loader.unload();
        return false;
    }
    return true;
}

bool PluginHost::load(const QString &explicitPath)
{
    if (!explicitPath.isEmpty()) {
        if (!QFileInfo::exists(explicitPath)) {
            m_error = tr("plugin file %1 does not exist").arg(explicitPath);
            return false;
        }
        return tryFile(explicitPath);
    }
    const QStringList folders = searchFolders();
    QString firstError;
    for (const QString &folder : folders) {
        QDir dir(folder);
        if (!dir.exists())
            continue;
        // The model's own file first, then any other library that may be one.
        QStringList files = dir.entryList({QStringLiteral("libVX-*")}, QDir::Files, QDir::Name);
        for (const QString &other : dir.entryList(QDir::Files, QDir::Name)) {
            if (!files.contains(other))
                files << other;
        }
        for (const QString &name : files) {
            const QString path = dir.absoluteFilePath(name);
            if (!QLibrary::isLibrary(path))
                continue;
            if (tryFile(path))
                return true;
            if (firstError.isEmpty())
                firstError = m_error;
        }
    }
    m_error = firstError.isEmpty()
            ? tr("no device plugin found (looked in %1; use --plugin PATH)")
                  .arg(folders.join(QStringLiteral(", ")))
            : firstError;
    return false;
}
