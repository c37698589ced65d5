// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestLayout.h"

#include "PlotWriter.h"

#include <QCoreApplication>
#include <QJsonArray>

#include <algorithm>

double NestLayout::usedArea() const
{
    if (sheetLength > 0)
        return width * (sheetLength * std::max(0, sheets - 1) + length);
    return width * length;
}

int NestLayout::unplaced() const
{
    int n = 0;
    for (std::size_t p = 0; p < requested.size(); ++p)
        n += requested[p] - placedCount[p];
    return n;
}

namespace {

void appendPiece(PlotDocument &doc, const NestPart &part, const NestLayout::Placed &piece, const QPointF &shift)
{
    const PlotDocument &d = part.drawing;
    for (int i = 0; i < d.pathCount(); ++i) {
        doc.setSource(d.sourceOf(i));
        doc.setCurrentTool(d.toolOf(i));
        const QPointF *pts = d.points(i);
        doc.beginPath(piece.map(pts[0]) - shift);
        for (std::uint32_t k = 1; k < d.path(i).count; ++k)
            doc.lineTo(piece.map(pts[k]) - shift);
        doc.endPath();
    }
}

} // namespace

PlotDocument NestLayout::document(const std::vector<NestPart> &parts, int sheet) const
{
    PlotDocument doc;
    for (const Placed &piece : placed) {
        if (sheet < 0 || piece.sheet == sheet)
            appendPiece(doc, parts[std::size_t(piece.part)], piece, QPointF());
    }
    return doc;
}

bool NestLayout::windows(double maxLength, std::vector<Window> &out, QString &why) const
{
    out.clear();
    std::vector<int> order(placed.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return placed[std::size_t(a)].box.top() < placed[std::size_t(b)].box.top(); });
    for (int i : order) {
        if (placed[std::size_t(i)].box.height() > maxLength) {
            why = QCoreApplication::translate("NestLayout", "a piece is %1 mm long, longer than a window of %2 mm")
                      .arg(placed[std::size_t(i)].box.height(), 0, 'f', 1).arg(maxLength, 0, 'f', 1);
            return false;
        }
    }
    // QRectF's top() is the smaller y: the piece's lower edge on the material.
    std::vector<bool> done(placed.size(), false);
    std::size_t next = 0;
    while (next < order.size()) {
        Window w;
        w.from = placed[std::size_t(order[next])].box.top();
        w.to = w.from + maxLength;
        for (std::size_t k = next; k < order.size(); ++k) {
            const int i = order[k];
            if (!done[std::size_t(i)] && placed[std::size_t(i)].box.bottom() <= w.to) {
                done[std::size_t(i)] = true;
                w.placed.push_back(i);
            }
        }
        while (next < order.size() && done[std::size_t(order[next])])
            ++next;
        out.push_back(std::move(w));
    }
    return true;
}

PlotDocument NestLayout::document(const std::vector<NestPart> &parts, const Window &window) const
{
    PlotDocument doc;
    for (int i : window.placed)
        appendPiece(doc, parts[std::size_t(placed[std::size_t(i)].part)], placed[std::size_t(i)], QPointF(0, window.from));
    return doc;
}

QJsonObject NestLayout::facts(const std::vector<NestPart> &parts) const
{
    QJsonArray perPart;
    int total = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        perPart.append(QJsonObject{{QStringLiteral("name"), parts[p].name},
                                   {QStringLiteral("requested"), requested[p]},
                                   {QStringLiteral("placed"), placedCount[p]},
                                   {QStringLiteral("unplaced"), requested[p] - placedCount[p]}});
        total += placedCount[p];
    }
    QJsonObject o{{QStringLiteral("width"), width},
                  {QStringLiteral("sheets"), sheets},
                  {QStringLiteral("utilisation"), utilisation()},
                  {QStringLiteral("placed"), total},
                  {QStringLiteral("unplaced"), unplaced()},
                  {QStringLiteral("parts"), perPart},
                  {QStringLiteral("evaluations"), evaluations},
                  {QStringLiteral("seconds"), seconds}};
    if (sheetLength > 0) {
        o.insert(QStringLiteral("sheet_length"), sheetLength);
        o.insert(QStringLiteral("last_sheet_length"), length);
    } else {
        o.insert(QStringLiteral("length"), length);
    }
    return o;
}

namespace NestPlot {

QByteArray text(const PlotDocument &document, const PlotOptions &options, PlotReport *report)
{
    const QRectF before = document.boundingBox();
    PlotPlan plan = PlotPipeline::run(document, options);
    if (options.weedBorder <= 0 && !before.isNull()) {
        const QPointF back = before.topLeft();
        const auto move = [back](const QPointF &p) { return p + back; };
        plan.design.transform(move);
        plan.cut.transform(move);
    }
    if (report)
        *report = plan.report;
    return PlotWriter::toByteArray(plan.sent());
}

} // namespace NestPlot
