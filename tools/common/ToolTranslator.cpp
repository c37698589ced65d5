// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ToolTranslator.h"

#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

namespace {
QLocale g_locale = QLocale::system();

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
        g_locale = QLocale(lang);
        QLocale::setDefault(g_locale);
    } else {
        g_locale = QLocale::system();
    }
    // Qt's own texts first (the parser's --help line and the like; Debian's
    // qttranslations5-l10n), then the tool's. Tries ja_JP, then ja, over the
    // locale's UI languages; English has no file.
    const QString dirs[][2] = {
        {QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath)},
        {tool, QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}};
    for (const auto &[name, dir] : dirs) {
        auto *translator = new QTranslator(app);
        if (translator->load(g_locale, name, QStringLiteral("_"), dir))
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
    return g_locale;
}
