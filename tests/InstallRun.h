// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

// Shared by the install and package tests: run a program to completion and
// keep what it printed, so a failure shows the tool's own words.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct InstallRun
{
    int exitCode = -1;
    bool finished = false;
    QString output;   // stdout and stderr merged

    static InstallRun exec(const QString &program, const QStringList &args, int timeoutMs,
                           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        InstallRun r;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForStarted(10000)) {
            r.output = QStringLiteral("cannot start %1: %2").arg(program, p.errorString());
            return r;
        }
        r.finished = p.waitForFinished(timeoutMs);
        if (!r.finished) {
            p.kill();
            p.waitForFinished(5000);
        }
        r.output = QString::fromLocal8Bit(p.readAll());
        r.exitCode = r.finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }

    bool ok() const { return finished && exitCode == 0; }
    // The tail is what matters in a long build log.
    QByteArray why() const { return output.right(4000).toLocal8Bit(); }
};
