// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>

// What `vxcut serve` runs: its machines, where it keeps its queue, and how
// it listens. From the command line (--machine NAME@HOST:PORT or
// NAME@/dev/PATH, repeatable) and/or a JSON file (--config):
//
//   {"listen": "127.0.0.1:8600", "data": "/var/lib/vxshop",
//    "token_file": "/etc/vxshop/token", "max_upload_mb": 64, "max_db_mb": 0,
//    "machines": [{"name": "left", "target": "10.0.0.7:9100",
//                  "watch": "/srv/hot/left", "copies": 1,
//                  "options": {"rotate": "90", "tool": ["#ff0000=2"]},
//                  "cloud": {"url": "...", "ws": "...", "code": "...",
//                            "token_file": "..."}}]}
//
// Machines named on the command line come after the file's; a name twice
// is refused. Names are what URLs and folders use, so only letters, digits,
// '-' and '_' (at most 32): nothing from a name can leave its folder.
struct MachineConfig
{
    QString name;
    QString target;             // "host:port" (port 9100 by default) or a serial path "/dev/..."
    QString watch;              // watch folder; empty: none
    int copies = 1;             // the watch folder's copies per file
    QJsonObject options;        // the watch folder's design options (RecordedOptions form)
    QString cloudUrl, cloudWs, cloudCode, cloudTokenFile;   // empty url: no cloud

    bool usb() const { return target.startsWith(QLatin1Char('/')); }
};

struct ShopConfig
{
    Q_DECLARE_TR_FUNCTIONS(ShopConfig)

public:
    QString listen = QStringLiteral("127.0.0.1:8600");
    QString dataDir;            // empty: QStandardPaths' AppDataLocation + "/shop"
    QString tokenFile;          // required when listen is not loopback
    qint64 maxUploadBytes = qint64(64) << 20;
    qint64 maxDbBytes = 0;      // 0: no bound
    int reconnectBudgetMs = 120000;
    QList<MachineConfig> machines;

    // "NAME@HOST:PORT" or "NAME@/dev/PATH"; false with why.
    static bool parseMachine(const QString &text, MachineConfig *out, QString *error);
    // Reads a config file over the defaults; false with why (naming the file
    // and the member).
    bool readFile(const QString &path, QString *error);
    // Adds a machine; false when the name is taken or not allowed.
    bool addMachine(const MachineConfig &machine, QString *error);
    static bool validName(const QString &name);
    // Whether the listen address is a loopback one (127.0.0.0/8, ::1, "localhost").
    bool listensOnLoopback() const;
    // Everything that must hold before serving: at least one machine, a
    // token file when not on loopback; false with why.
    bool check(QString *error) const;
};
