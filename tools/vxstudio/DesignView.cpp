// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignView.h"

#include "WorkArea.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Magenta is the one hue the order ramp (blue to red through green) never takes.
const QColor Tool2Colour(190, 0, 190);

// As PlotPreview's ramp: blue for the first path, red for the last.
QColor rampColour(int i, int n)
{
    return QColor::fromHsvF(0.66 * (1.0 - (n > 1 ? double(i) / (n - 1) : 0.0)), 0.9, 0.85);
}
} // namespace

DesignView::DesignView(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setToolTip(tr("Tool 1's paths run from blue (cut first) to red (cut last)."));
}

void DesignView::setDesign(PlotDocument design)
{
    m_design = std::move(design);
    update();
}

void DesignView::setWorkArea(const QSizeF &mm)
{
    m_area = mm.isValid() && mm.width() > 0 && mm.height() > 0 ? mm : QSizeF();
    update();
}

bool DesignView::exceedsWorkArea() const
{
    if (m_design.isEmpty())
        return false;
    // Placed, the design starts at its margin: the far corner is what it needs.
    const QRectF box = m_design.boundingBox();
    return WorkArea{m_area.width(), m_area.height()}.check(box.right(), box.bottom(), 0).failed();
}

void DesignView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (m_design.isEmpty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(rect(), Qt::AlignCenter, tr("No plot loaded"));
        return;
    }
    const QRectF box = m_design.boundingBox();
    // What is shown: the work area and the design, whichever reaches further.
    QRectF world = box.united(QRectF(QPointF(0, 0), m_area.isEmpty() ? QSizeF(1e-6, 1e-6) : m_area));
    const QRectF target = QRectF(rect()).adjusted(8, 8, -8, -8);
    if (target.width() <= 0 || target.height() <= 0)
        return;
    const double scale = std::min(target.width() / std::max(world.width(), 1e-6),
                                  target.height() / std::max(world.height(), 1e-6));
    const double ox = target.left() + (target.width() - world.width() * scale) / 2;
    const double oy = target.top() + (target.height() + world.height() * scale) / 2;
    const auto map = [&](const QPointF &mm) {
        return QPointF(ox + (mm.x() - world.left()) * scale, oy - (mm.y() - world.top()) * scale);
    };
    const bool over = exceedsWorkArea();
    if (!m_area.isEmpty()) {
        p.setPen(over ? QPen(QColor(200, 0, 0), 2) : QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
        p.drawRect(QRectF(map(QPointF(0, m_area.height())), map(QPointF(m_area.width(), 0))));
    }
    p.setRenderHint(QPainter::Antialiasing);
    QPen travel(QColor(150, 150, 150), 1, Qt::DashLine);
    travel.setCosmetic(true);
    p.setPen(travel);
    for (const QLineF &move : m_design.travelMoves(box.topLeft()))
        p.drawLine(map(move.p1()), map(move.p2()));
    // The ramp counts tool 1's paths only: tool 2's in between would bend
    // it, and tool 2 is one colour so its paths read as one set.
    const int n = m_design.pathCount();
    int cuts = 0;
    for (int i = 0; i < n; ++i)
        cuts += m_design.toolOf(i) == 1;
    QPen crease(Tool2Colour, 1.5, Qt::DashLine);
    crease.setCosmetic(true);
    QPolygonF poly;
    for (int i = 0, rank = 0; i < n; ++i) {
        if (m_design.toolOf(i) == 1) {
            QPen pen(rampColour(rank++, cuts), 1);
            pen.setCosmetic(true);
            p.setPen(pen);
        } else {
            p.setPen(crease);
        }
        poly.clear();
        const QPointF *pt = m_design.points(i);
        for (std::uint32_t k = 0; k < m_design.path(i).count; ++k)
            poly.append(map(pt[k]));
        p.drawPolyline(poly);
    }
    paintLegend(p, cuts > 0, cuts < n);
    if (over) {
        p.setPen(QColor(200, 0, 0));
        p.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                   tr("The design is larger than the work area."));
    }
}

void DesignView::paintLegend(QPainter &p, bool tool1, bool tool2)
{
    struct Entry {
        QString text;
        QPen pen;
    };
    std::vector<Entry> entries;
    if (tool1) {
        QLinearGradient ramp(10, 0, 28, 0);
        ramp.setColorAt(0, rampColour(0, 2));
        ramp.setColorAt(0.5, rampColour(1, 3));
        ramp.setColorAt(1, rampColour(1, 2));
        entries.push_back({tr("Tool 1"), QPen(QBrush(ramp), 2)});
    }
    if (tool2)
        entries.push_back({tr("Tool 2"), QPen(Tool2Colour, 1.5, Qt::DashLine)});
    entries.push_back({tr("Travel"), QPen(QColor(150, 150, 150), 1, Qt::DashLine)});
    const QFontMetrics fm(font());
    const int line = fm.height();
    int y = height() - 8 - line * int(entries.size());
    for (const Entry &e : entries) {
        p.setPen(e.pen);
        p.drawLine(QPointF(10, y + line / 2.0), QPointF(28, y + line / 2.0));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRect(34, y, width() - 40, line), Qt::AlignLeft | Qt::AlignVCenter, e.text);
        y += line;
    }
}
