// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ToolTranslator.h"

#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace {
// Made on first use, not at load: the system locale must not be read
// before systemLanguage() had its say.
QLocale &chosen()
{
    static QLocale locale = QLocale::system();
    return locale;
}

// "--lang X" or "--lang=X"; the last one wins, as with the parser.
QString langArgument(const QStringList &args)
{
    QString lang;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--"))
            break;
        if (a == QLatin1String("--lang") && i + 1 < args.size())
            lang = args.at(++i);
        else if (a.startsWith(QLatin1String("--lang=")))
            lang = a.mid(7);
    }
    return lang;
}
}

void ToolTranslator::install(const QString &tool)
{
    install(tool, QCoreApplication::arguments());
}

void ToolTranslator::install(const QString &tool, const QStringList &arguments)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    const QString lang = langArgument(arguments);
    if (!lang.isEmpty()) {
        // "ja" and "ja_JP" and "ja-JP" alike; an unknown code gives the C
        // locale, whose texts are the English sources.
        chosen() = QLocale(lang);
        QLocale::setDefault(chosen());
    } else {
        chosen() = QLocale::system();
    }
    // Qt's own texts first (the parser's --help line and the like; Debian's
    // qttranslations5-l10n), then the tool's. Tries ja_JP, then ja, over the
    // locale's UI languages; English has no file.
    const QString dirs[][2] = {
        {QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
        {tool, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}};
    for (const auto &[name, dir] : dirs) {
        auto *translator = new QTranslator(app);
        if (translator->load(chosen(), name, QStringLiteral("_"), dir))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
}

QCommandLineOption ToolTranslator::option()
{
    return QCommandLineOption(QStringLiteral("lang"),
                              tr("Language of the messages, e.g. zh_CN, ja_JP or en (default: the system's)."),
                              QStringLiteral("CODE"));
}

QLocale ToolTranslator::locale()
{
    return chosen();
}

void ToolTranslator::steerSystemLocale(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString lang = langArgument(args);
    if (lang.isEmpty())
        return;
    // Qt reads the locale variables once, at the first question, and keeps
    // the answer: ask it now under the chosen language, then put the
    // variables back so the C library (character set, collation) still
    // runs under the locale the system has installed.
    const bool had = qEnvironmentVariableIsSet("LC_ALL");
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", QLocale(lang).name().toLatin1());
    const QString took = QLocale::system().name();
    Q_UNUSED(took)
    if (had)
        qputenv("LC_ALL", saved);
    else
        qunsetenv("LC_ALL");
}
