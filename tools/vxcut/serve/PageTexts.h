// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The shop page's own words, by key, in the languages vxcut is translated
// to. Each language's answer is made once, when the service starts, from
// that language's vxcut_<lang>.qm read into a translator of its own: the
// process's installed translator speaks the operator's language, the page
// speaks the reader's.
class PageTexts
{
public:
    PageTexts();

    // "zh_CN", "ja_JP" or "en" for a ?lang value ("ja", "ja-JP", "zh-Hans"...),
    // else the first language of an Accept-Language header that is one.
    static QString pick(const QString &lang, const QByteArray &acceptLanguage);
    // {"lang":"ja_JP","texts":{"key":"translated",...}} as JSON bytes.
    QByteArray answer(const QString &language) const;
    static QStringList languages();

private:
    QMap<QString, QByteArray> m_answers;
};
