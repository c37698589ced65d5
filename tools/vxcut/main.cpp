#include "Commands.h"
#include "ExitCodes.h"
#include "Interrupt.h"
#include "Options.h"
#include "Output.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vxcut"));

    Options options;
    QString error;
    const bool parsed = options.parse(QCoreApplication::arguments(), error);
    Output out(options.json);
    if (options.help) {
        const QByteArray text = Options::usage(options.command).toLocal8Bit();
        fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return ExitCode::Ok;
    }
    if (!parsed) {
        out.result(ExitCode::Usage, error);
        if (!options.json)
            fputs("Try 'vxcut --help'.\n", stderr);
        return ExitCode::Usage;
    }
    Interrupt interrupt;
    return Commands::run(options, out, &interrupt);
}
