// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

#include <unistd.h>

// Qt's GUI platforms (offscreen included) look up XDG_RUNTIME_DIR and,
// where it is unset (a root shell, CI, a service without a login session),
// print "QStandardPaths: XDG_RUNTIME_DIR not set" on every start: noise in
// output that scripts and operators read. Qt then uses a private folder in
// the temporary directory; we name that folder ourselves, before the
// application object exists, so Qt has nothing to warn about.
inline void ensureRuntimeDir()
{
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        return;
    const QString dir = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(::getuid());
    if (!QDir().mkpath(dir))
        return;
    // Qt accepts the folder only when it is ours and closed to others.
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir));
}
