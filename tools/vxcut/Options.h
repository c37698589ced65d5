// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"
#include "WorkArea.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// The command line, parsed once. Which options a subcommand reads is in
// its help text (Options::usage).
struct Options
{
    QString command;
    QStringList args;
    bool json = false;
    bool help = false;
    bool verbose = false;
    QString quality;        // cutting quality for the job; empty: leave it
    QString plugin;
    int timeoutMs = 5000;
    QString tcp;
    QString usb;
    int copies = 1;
    QString cloud;
    QString ws;
    QString code;
    QString token;          // --token-file, --token or VX_CLOUD_TOKEN
    bool tokenOnCommandLine = false;   // other users see it in the process list
    int jogMs = 500;
    double heartbeatSec = 0;   // 0: keep the device object's period
    double speedup = 50;
    int count = 0;          // qr: sheets to cut; 0 until the stack ends
    // A dropped link during a job: reconnect within this budget, or not at all.
    bool reconnect = true;
    int reconnectBudgetMs = 120000;
    QString journal;        // --journal, VX_JOURNAL, or the user's data folder; empty: none
    bool yes = false;       // resume without asking
    bool recutInterrupted = false;
    bool skipInterrupted = false;
    int last = 20;          // history
    PlotOptions plot;       // cut and plan: placing, ordering, shaping
    QStringList plotFlags;  // the design options given (resume compares these)
    QString output;         // plan --output: where the plot text goes
    WorkArea workArea;      // plan --work-area; unknown: not checked
    QStringList nest;       // nest's own options as given, "name=value"; the command reads them
    // serve: empty or 0 leaves the value to --config or the service's default.
    QString listen;         // --listen ADDR:PORT
    QStringList machines;   // --machine NAME@TARGET, as given, in order
    QString shopConfig;     // --config FILE
    QString dataDir;        // --data DIR
    QString tokenFile;      // serve's --token-file: the service's own token, read by serve
    int maxUploadMb = 0;    // --max-upload-mb

    // False with error on a malformed command line.
    bool parse(const QStringList &argv, QString &error);

    static QString usage(const QString &command);
    // A token from a file only its owner can read (a regular file, one line);
    // the cloud's and the shop service's alike. False with why.
    static bool readTokenFile(const QString &path, QString &token, QString &error);

    Q_DECLARE_TR_FUNCTIONS(Options)

private:
    bool readServe(const QCommandLineParser &parser, QString &error);
};
