// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestSvg.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace {

constexpr double SheetSpacing = 20; // mm between sheets in the picture

QString number(double v)
{
    return QString::number(v, 'f', 3);
}

// One polygon as path data, flipped into the picture's y-down frame.
QString pathData(const QPolygonF &polygon, const NestLayout::Placed &piece, double dx, double height, bool close)
{
    QString d;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF q = piece.map(polygon[i]);
        d += (i == 0 ? QStringLiteral("M") : QStringLiteral(" L")) + number(q.x() + dx) + QLatin1Char(',') + number(height - q.y());
    }
    return close ? d + QStringLiteral(" Z") : d;
}

} // namespace

namespace NestSvg {

QByteArray write(const NestLayout &layout, const std::vector<NestPart> &parts)
{
    const int sheets = std::max(1, layout.sheets);
    const double length = layout.sheetLength > 0 ? layout.sheetLength : std::max(layout.length, 1.0);
    const double pictureWidth = layout.width * sheets + SheetSpacing * (sheets - 1);
    const double caption = std::max(4.0, layout.width / 32);
    const double height = length;
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1mm\" height=\"%2mm\" viewBox=\"0 0 %1 %2\">\n")
                      .arg(number(pictureWidth), number(height + caption * 2));
    for (int s = 0; s < sheets; ++s) {
        svg += QStringLiteral("<rect x=\"%1\" y=\"0\" width=\"%2\" height=\"%3\" fill=\"none\" stroke=\"#444\" stroke-width=\"0.5\"/>\n")
                   .arg(number(s * (layout.width + SheetSpacing)), number(layout.width), number(length));
    }
    for (const NestLayout::Placed &piece : layout.placed) {
        const NestPart &part = parts[std::size_t(piece.part)];
        const double dx = piece.sheet * (layout.width + SheetSpacing);
        QString fill;
        for (const QPolygonF &p : part.outers)
            fill += pathData(p, piece, dx, height, true) + QLatin1Char(' ');
        for (const QPolygonF &p : part.holes)
            fill += pathData(p, piece, dx, height, true) + QLatin1Char(' ');
        svg += QStringLiteral("<path d=\"%1\" fill=\"#9cc3e6\" fill-rule=\"evenodd\" stroke=\"none\"/>\n").arg(fill.trimmed());
        QString lines;
        for (int i = 0; i < part.drawing.pathCount(); ++i)
            lines += pathData(QPolygonF(part.drawing.polyline(i)), piece, dx, height, false) + QLatin1Char(' ');
        svg += QStringLiteral("<path d=\"%1\" fill=\"none\" stroke=\"#1f4e79\" stroke-width=\"0.3\"/>\n").arg(lines.trimmed());
    }
    const QLocale locale;
    const QString text = layout.sheetLength > 0
            ? QCoreApplication::translate("NestSvg", "%1 sheet(s), last %2 mm used, utilisation %3%", nullptr, layout.sheets)
                  .arg(locale.toString(layout.sheets)).arg(locale.toString(layout.length, 'f', 1)).arg(locale.toString(layout.utilisation() * 100, 'f', 1))
            : QCoreApplication::translate("NestSvg", "length %1 mm, utilisation %2%")
                  .arg(locale.toString(layout.length, 'f', 1)).arg(locale.toString(layout.utilisation() * 100, 'f', 1));
    svg += QStringLiteral("<text x=\"0\" y=\"%1\" font-family=\"sans-serif\" font-size=\"%2\">%3</text>\n</svg>\n")
               .arg(number(height + caption * 1.5), number(caption), text.toHtmlEscaped());
    return svg.toUtf8();
}

} // namespace NestSvg
