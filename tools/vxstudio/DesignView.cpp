// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignView.h"

#include "PlotPreview.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

DesignView::DesignView(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
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
    if (m_area.isEmpty() || m_design.isEmpty())
        return false;
    const QRectF box = m_design.boundingBox();
    // The writer rounds to 1/40 mm.
    return box.left() < -0.025 || box.top() < -0.025 || box.right() > m_area.width() + 0.025
        || box.bottom() > m_area.height() + 0.025;
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
    if (!m_area.isEmpty()) {
        p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
        p.drawRect(QRectF(map(QPointF(0, m_area.height())), map(QPointF(m_area.width(), 0))));
    }
    // The design drawn by the library's renderer into its own box, so the
    // view and the job's preview order colours and travel the same way.
    const QRectF where(map(QPointF(box.left(), box.bottom())), map(QPointF(box.right(), box.top())));
    PlotPreview::Style style;
    style.travel = true;
    style.border = 0;
    style.background = Qt::transparent;
    const QSize pixels(std::max(1, int(std::ceil(where.width()))), std::max(1, int(std::ceil(where.height()))));
    p.drawImage(where.topLeft(), PlotPreview::render(m_design, pixels, style));
    if (exceedsWorkArea()) {
        p.setPen(QColor(200, 0, 0));
        p.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap,
                   tr("The design is larger than the work area."));
    }
}
