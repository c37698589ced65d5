// SPDX-License-Identifier: LGPL-2.1-or-later
#include "Command.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "Options.h"
#include "Output.h"
#include "Run.h"
#include "RuntimeDir.h"
#include "ToolTranslator.h"

#include <QGuiApplication>
#include <QLocale>

#include <csignal>
#include <cstdio>

namespace {
// The device object narrates its work on the debug log; users see it with --verbose.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    fprintf(stderr, "%s\n", qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}
}

int main(int argc, char *argv[])
{
    // SVG text becomes outlines through the font database, which aborts
    // without a QGuiApplication; a command-line tool needs no display.
    // QGuiApplication takes -plugin, -platform and the like for itself, so
    // it sees the program name only and vxcut's own --plugin stays vxcut's.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ensureRuntimeDir();
    int appArgc = 1;
    QGuiApplication app(appArgc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxcut"));
    // With --json every line is for scripts, the errors in the result line
    // too: they read the same bytes in every language, so the texts stay the
    // English sources, their numbers in C form (no "1,234" from the system's
    // locale). Everything else speaks the operator's language.
    if (!arguments.contains(QLatin1String("--json")) && !arguments.contains(QLatin1String("-json")))
        ToolTranslator::install(QStringLiteral("vxcut"), arguments);
    else
        QLocale::setDefault(QLocale::c());

    Options options;
    QString error;
    const bool parsed = options.parse(arguments, error);
    Output out(options.json);
    if (options.help) {
        const QByteArray text = Options::usage(options.command).toLocal8Bit();
        fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return ExitCode::Ok;
    }
    if (!parsed) {
        out.result(ExitCode::Usage, error);
        if (!options.json)
            fprintf(stderr, "%s\n", Options::tr("Try 'vxcut --help'.").toLocal8Bit().constData());
        return ExitCode::Usage;
    }
    if (!options.verbose)
        qInstallMessageHandler(quietHandler);
    if (options.tokenOnCommandLine)
        out.warning(Options::tr("--token shows the cloud token to every user of this computer "
                                "(process list); use --token-file FILE or VX_CLOUD_TOKEN"));

    Interrupt interrupt;
    Outcome outcome;
    {
        Run run(options, out, &interrupt);
        outcome = Command::execute(run, *Command::find(options.command));
        // Deferred calls (stopTask, the last frames) run before the device goes.
        if (run.session)
            run.await.settle(outcome.failure ? 150 : 50);
    }
    // The one result line of the run.
    const Failure &f = outcome.failure;
    // A service manager's SIGTERM reads as such (128 + 15), Ctrl-C as 130.
    const int code = f.kind == Failure::Interrupted && interrupt.signalNumber() == SIGTERM ? ExitCode::Terminated
                                                                                          : ExitCode::of(f.kind);
    return out.result(code, f.message, f ? f.facts : outcome.fields);
}
