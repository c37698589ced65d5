// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QColor>
#include <QRegularExpression>
#include <QString>

// SVG paint values: none, a colour (#rgb, #rrggbb, rgb() in numbers or
// percentages, the SVG colour keywords QColor knows), currentColor, or a
// paint server url(#id) with an optional fallback colour. A paint server
// paints, but its colour is unknown here: the path keeps no colour.
namespace svg {

struct Paint
{
    bool visible = false;
    QString colour; // "#rrggbb", lower case; empty when unknown
};

inline QString colourName(const QString &input)
{
    const QString text = input.trimmed();
    static const QRegularExpression rgb(QStringLiteral(
        "^rgb\\(\\s*([\\d.]+)(%?)\\s*,\\s*([\\d.]+)(%?)\\s*,\\s*([\\d.]+)(%?)\\s*\\)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = rgb.match(text);
    if (m.hasMatch()) {
        int c[3];
        for (int i = 0; i < 3; ++i) {
            const double v = m.captured(1 + 2 * i).toDouble();
            c[i] = qBound(0, int(std::lround(m.captured(2 + 2 * i).isEmpty() ? v : v * 2.55)), 255);
        }
        return QColor(c[0], c[1], c[2]).name();
    }
    const QColor colour(text.toLower());
    return colour.isValid() ? colour.name() : QString();
}

inline Paint paint(const QString &value, const QString &currentColour, const QString &opacity)
{
    Paint p;
    bool ok = false;
    const double alpha = opacity.trimmed().toDouble(&ok);
    if (ok && alpha <= 0)
        return p;
    QString v = value.trimmed();
    if (v.startsWith(QLatin1String("url("))) {
        v = v.mid(v.indexOf(QLatin1Char(')')) + 1).trimmed();
        if (v.isEmpty()) {
            p.visible = true;
            return p;
        }
    }
    if (v == QLatin1String("none") || v.isEmpty())
        return p;
    p.colour = colourName(v == QLatin1String("currentColor") ? currentColour : v);
    p.visible = !p.colour.isEmpty() && v != QLatin1String("transparent");
    return p;
}

} // namespace svg
