// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QLocale>
#include <QString>

// The language of a tool's own texts. `--lang CODE` (zh_CN, ja_JP, en, ...)
// wins over the system locale; the translations are
// <program dir>/translations/<tool>_<language>.qm, beside the plugin's.
// Machine-read output (--json, exit codes, the lines scripts parse) must not
// go through tr(): it reads the same in every language.
class ToolTranslator
{
    Q_DECLARE_TR_FUNCTIONS(ToolTranslator)

public:
    // Call once the application object exists and before any text is built:
    // the help texts are translated when the options are made. Reads --lang
    // from the application's arguments itself, ahead of the parser; with
    // --lang the default locale (numbers, dates) follows it too.
    static void install(const QString &tool);
    // The same, for a program whose application object does not see its
    // own arguments.
    static void install(const QString &tool, const QStringList &arguments);

    // The option to add to the tool's parser, so --lang is accepted and
    // listed in --help.
    static QCommandLineOption option();

    // A device plugin picks its labels' language from the system locale
    // when its device object is made. Call before the application object
    // and before anything asks for the system locale: with --lang, the
    // system locale the process sees is that language (the C library's is
    // left alone).
    static void steerSystemLocale(int argc, char **argv);

    // The locale the texts were picked for.
    static QLocale locale();
};
