// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QPolygonF>
#include <QRectF>
#include <QVector>
#include <QWidget>

// Draws a plot's pen-down polylines fitted into the widget, Y pointing up as
// on the machine's table.
class PlotPreview : public QWidget
{
    Q_OBJECT
public:
    explicit PlotPreview(QWidget *parent = nullptr);

    void setPaths(const QVector<QPolygonF> &paths);
    void clear();
    bool isEmpty() const { return m_paths.isEmpty(); }
    QRectF bounds() const { return m_bounds; }

    QSize sizeHint() const override { return QSize(320, 240); }
    QSize minimumSizeHint() const override { return QSize(120, 90); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static void draw(QPainter &p, const QVector<QPolygonF> &paths, const QRectF &bounds,
                     const QRectF &target, const QColor &ink);

    QVector<QPolygonF> m_paths;
    QRectF m_bounds;
};
