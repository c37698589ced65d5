// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DesignRender.h"
#include "PlotDocument.h"

#include <QImage>
#include <QSizeF>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class QPainter;

// The design as it will be cut, on the machine's work area: millimetres, y
// up, the work area's corner at the origin (where the placed design starts).
// Tool 1's paths are coloured along the cut order (blue first, red last),
// tool 2's in one magenta, dashed, and the pen-up moves dashed grey, so a
// bad order, a crease on the wrong tool or a design past the edge shows
// before the knife does. A legend names what is drawn.
//
// The view zooms (wheel, +/-, double-click or 0 to fit) and pans (drag).
// The paths are drawn into an image off the window's thread (DesignRender);
// until it lands, the last image stands in, stretched to the new view, so
// a design of any size never holds up the window. Small designs are drawn
// at once.
class DesignView : public QWidget
{
    Q_OBJECT
public:
    // Up to this many points are drawn on the window's thread at once.
    static constexpr std::size_t DrawAtOncePoints = 40000;

    explicit DesignView(QWidget *parent = nullptr);
    ~DesignView() override;

    void setDesign(PlotDocument design);
    void clear() { setDesign(PlotDocument()); }
    const PlotDocument &design() const { return *m_design; }
    bool isEmpty() const { return m_design->isEmpty(); }
    // Millimetres; an empty size when the machine has not told it.
    void setWorkArea(const QSizeF &mm);
    QSizeF workArea() const { return m_area; }
    bool exceedsWorkArea() const;
    // A line in red over the view (why the last open failed); empty: none.
    void setNotice(const QString &text);
    QString notice() const { return m_notice; }

    // 1 when the whole of the design and the work area fits the view.
    double zoom() const { return m_fitted ? 1.0 : m_zoom; }
    bool isDrawing() const { return m_drawing; }
    DesignFrame frame() const;

    QSize sizeHint() const override { return QSize(640, 480); }
    QSize minimumSizeHint() const override { return QSize(160, 120); }

public slots:
    void zoomIn() { zoomBy(1.25, rect().center()); }
    void zoomOut() { zoomBy(0.8, rect().center()); }
    void fit();

signals:
    // The position under the cursor and the zoom, for a status bar.
    void positionText(const QString &text);
    // The image of the paths caught up with the view.
    void drawn();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QRectF world() const;
    void zoomBy(double factor, const QPointF &at);
    void freeze();
    void redraw();
    void startDrawing();
    void paintWorkArea(QPainter &p, const DesignFrame &f, bool over);
    void paintLegend(QPainter &p, bool tool1, bool tool2);
    void tellPosition(const QPointF &px);

    std::shared_ptr<const PlotDocument> m_design;
    QRectF m_box;              // the design's extent, kept: it costs a pass over every point
    int m_cuts = 0;            // tool 1's paths
    QSizeF m_area;
    QString m_notice;

    bool m_fitted = true;
    double m_zoom = 1;         // relative to the fit, once the operator zoomed
    QPointF m_centre;          // millimetres, once the operator zoomed or panned
    QPoint m_dragFrom;
    bool m_dragging = false;

    QImage m_image;            // the paths as drawn for m_imageFrame
    DesignFrame m_imageFrame;
    bool m_drawing = false;
    quint64 m_serial = 0;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QTimer m_redraw;           // gathers a burst of wheel steps into one drawing
};
