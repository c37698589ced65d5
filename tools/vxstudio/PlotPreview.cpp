// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotPreview.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QRectF boundsOf(const QVector<QPolygonF> &paths)
{
    // By hand: QRectF::united() drops the null rect of a lone point.
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const QPolygonF &poly : paths) {
        for (const QPointF &pt : poly) {
            if (!any) {
                x0 = x1 = pt.x();
                y0 = y1 = pt.y();
                any = true;
                continue;
            }
            x0 = qMin(x0, pt.x());
            x1 = qMax(x1, pt.x());
            y0 = qMin(y0, pt.y());
            y1 = qMax(y1, pt.y());
        }
    }
    return any ? QRectF(QPointF(x0, y0), QPointF(x1, y1)) : QRectF();
}

} // namespace

PlotPreview::PlotPreview(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void PlotPreview::setPaths(const QVector<QPolygonF> &paths)
{
    m_paths = paths;
    m_bounds = boundsOf(paths);
    update();
}

void PlotPreview::clear()
{
    setPaths({});
}

void PlotPreview::draw(QPainter &p, const QVector<QPolygonF> &paths, const QRectF &bounds,
                       const QRectF &target, const QColor &ink)
{
    if (paths.isEmpty() || target.width() <= 0 || target.height() <= 0)
        return;
    const double w = qMax(bounds.width(), 1e-9);
    const double h = qMax(bounds.height(), 1e-9);
    const double scale = qMin(target.width() / w, target.height() / h);
    // Centre the drawing and flip Y: plot units grow upwards.
    const double ox = target.left() + (target.width() - w * scale) / 2;
    const double oy = target.top() + (target.height() + h * scale) / 2;
    QTransform t(scale, 0, 0, -scale, ox - bounds.left() * scale, oy + bounds.top() * scale);

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 1.2));
    p.setBrush(Qt::NoBrush);
    for (const QPolygonF &poly : paths)
        p.drawPolyline(t.map(poly));
    p.restore();
}

void PlotPreview::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRectF area = QRectF(rect()).adjusted(8, 8, -8, -8);
    if (m_paths.isEmpty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(rect(), Qt::AlignCenter, tr("No plot loaded"));
        return;
    }
    p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    p.drawRect(area);
    draw(p, m_paths, m_bounds, area, palette().color(QPalette::Text));
}
