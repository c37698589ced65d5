// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QCoreApplication>
#include <QLocale>
#include <QString>

// A count with its noun that agrees with it: "1 copy", "2 copies". English
// is the source language and has no catalogue of its own, so its singular
// must be a text of its own; other languages translate both.
struct Counted
{
    Q_DECLARE_TR_FUNCTIONS(Counted)

public:
    static QString copies(int n) { return n == 1 ? tr("1 copy") : tr("%1 copies").arg(QLocale().toString(n)); }
    static QString sheets(int n) { return n == 1 ? tr("1 sheet") : tr("%1 sheets").arg(QLocale().toString(n)); }
};
