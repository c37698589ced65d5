// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignView.h"

#include "WorkArea.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <vector>

DesignView::DesignView(QWidget *parent)
    : QWidget(parent), m_design(std::make_shared<const PlotDocument>())
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setToolTip(tr("Tool 1's paths run from blue (cut first) to red (cut last). "
                  "Wheel or +/- zooms, dragging pans, a double-click fits."));
    m_redraw.setSingleShot(true);
    m_redraw.setInterval(40);
    connect(&m_redraw, &QTimer::timeout, this, &DesignView::startDrawing);
}

DesignView::~DesignView()
{
    if (m_cancel)
        m_cancel->store(true);
    // Every drawing still refers to its design and flag: let them end.
    for (QThread *thread : findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly))
        thread->wait();
}

void DesignView::setDesign(PlotDocument design)
{
    m_box = design.boundingBox();
    m_cuts = 0;
    for (int i = 0; i < design.pathCount(); ++i)
        m_cuts += design.toolOf(i) == 1;
    m_design = std::make_shared<const PlotDocument>(std::move(design));
    // The last image shows another design: nothing of it may stand in.
    m_image = QImage();
    if (!m_design->isEmpty())
        m_notice.clear();
    m_fitted = true;
    startDrawing();
}

void DesignView::setWorkArea(const QSizeF &mm)
{
    m_area = mm.isValid() && mm.width() > 0 && mm.height() > 0 ? mm : QSizeF();
    redraw();
}

void DesignView::setNotice(const QString &text)
{
    m_notice = text;
    update();
}

bool DesignView::exceedsWorkArea() const
{
    if (m_design->isEmpty())
        return false;
    // Placed, the design starts at its margin: the far corner is what it needs.
    return WorkArea{m_area.width(), m_area.height()}.check(m_box.right(), m_box.bottom(), 0).failed();
}

QRectF DesignView::world() const
{
    // The work area and the design, whichever reaches further.
    const QRectF area(QPointF(0, 0), m_area.isEmpty() ? QSizeF(1e-6, 1e-6) : m_area);
    return m_design->isEmpty() ? area : m_box.united(area);
}

DesignFrame DesignView::frame() const
{
    DesignFrame f;
    f.size = size();
    f.ratio = devicePixelRatioF();
    const QRectF w = world();
    const double fitScale = std::max(1e-9, std::min((width() - 16) / std::max(w.width(), 1e-6),
                                                    (height() - 16) / std::max(w.height(), 1e-6)));
    f.scale = m_fitted ? fitScale : fitScale * m_zoom;
    f.centre = m_fitted ? w.center() : m_centre;
    return f;
}

void DesignView::fit()
{
    m_fitted = true;
    m_zoom = 1;
    redraw();
}

// Zoomed or panned, the view stays where the operator put it.
void DesignView::freeze()
{
    if (!m_fitted)
        return;
    m_centre = frame().centre;
    m_zoom = 1;
    m_fitted = false;
}

void DesignView::zoomBy(double factor, const QPointF &at)
{
    const QPointF held = frame().toMm(at);
    freeze();
    m_zoom = qBound(0.05, m_zoom * factor, 20000.0);
    // The point under the cursor stays under it.
    const DesignFrame f = frame();
    m_centre += held - f.toMm(at);
    redraw();
    tellPosition(at);
}

void DesignView::redraw()
{
    update();
    if (m_design->pointCount() <= DrawAtOncePoints) {
        startDrawing();
    } else {
        m_drawing = true;
        m_redraw.start();
    }
}

void DesignView::startDrawing()
{
    m_redraw.stop();
    if (m_cancel)
        m_cancel->store(true);
    m_cancel.reset();
    const DesignFrame f = frame();
    const quint64 serial = ++m_serial;
    if (m_design->isEmpty() || m_design->pointCount() <= DrawAtOncePoints) {
        m_image = m_design->isEmpty() ? QImage() : DesignRender::draw(*m_design, f);
        m_imageFrame = f;
        m_drawing = false;
        update();
        emit drawn();
        return;
    }
    auto flag = std::make_shared<std::atomic<bool>>(false);
    auto out = std::make_shared<QImage>();
    std::shared_ptr<const PlotDocument> design = m_design;
    m_cancel = flag;
    m_drawing = true;
    QThread *thread = QThread::create([flag, out, design, f] { *out = DesignRender::draw(*design, f, flag.get()); });
    thread->setParent(this);
    // Emitted on the worker, delivered here: the image is read once the thread is done.
    connect(thread, &QThread::finished, this, [this, thread, out, serial, f] {
        thread->deleteLater();
        if (serial != m_serial)
            return;
        m_image = std::move(*out);
        m_imageFrame = f;
        m_drawing = false;
        m_cancel.reset();
        update();
        emit drawn();
    });
    thread->start(QThread::LowPriority);
    update();
}

void DesignView::resizeEvent(QResizeEvent *)
{
    redraw();
}

void DesignView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const DesignFrame f = frame();
    const bool over = exceedsWorkArea();
    paintWorkArea(p, f, over);
    if (!m_image.isNull())
        p.drawImage(f.placeOf(m_imageFrame), m_image);
    const QRect inner = rect().adjusted(10, 10, -10, -10);
    if (m_design->isEmpty()) {
        p.setPen(m_notice.isEmpty() ? palette().color(QPalette::PlaceholderText) : QColor(200, 0, 0));
        p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, m_notice.isEmpty() ? tr("No plot loaded") : m_notice);
        return;
    }
    paintLegend(p, m_cuts > 0, m_cuts < m_design->pathCount());
    QStringList lines;
    if (!m_notice.isEmpty())
        lines << m_notice;
    if (over)
        lines << tr("The design is larger than the work area.");
    p.setPen(QColor(200, 0, 0));
    p.drawText(inner, Qt::AlignTop | Qt::AlignLeft | Qt::TextWordWrap, lines.join(QLatin1Char('\n')));
    if (m_drawing) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(inner, Qt::AlignTop | Qt::AlignRight, tr("Drawing…"));
    }
}

void DesignView::paintWorkArea(QPainter &p, const DesignFrame &f, bool over)
{
    if (m_area.isEmpty())
        return;
    p.setPen(over ? QPen(QColor(200, 0, 0), 2) : QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    p.drawRect(QRectF(f.toPixel(QPointF(0, m_area.height())), f.toPixel(QPointF(m_area.width(), 0))));
}

void DesignView::paintLegend(QPainter &p, bool tool1, bool tool2)
{
    struct Entry {
        QString text;
        QPen pen;
    };
    std::vector<Entry> entries;
    if (tool1)
        entries.push_back({tr("Tool 1"), QPen()});
    if (tool2)
        entries.push_back({tr("Tool 2"), QPen(DesignRender::tool2(), 1.5, Qt::DashLine)});
    entries.push_back({tr("Travel"), QPen(DesignRender::travel(), 1, Qt::DashLine)});
    // Bottom right: the work area's corner, where designs start, is bottom left.
    const QFontMetrics fm(font());
    const int line = fm.height();
    int textWidth = 0;
    for (const Entry &e : entries)
        textWidth = std::max(textWidth, fm.horizontalAdvance(e.text));
    const int x = std::max(0, width() - textWidth - 44);
    if (tool1) {
        QLinearGradient ramp(x + 10, 0, x + 28, 0);
        ramp.setColorAt(0, DesignRender::ramp(0, 2));
        ramp.setColorAt(0.5, DesignRender::ramp(1, 3));
        ramp.setColorAt(1, DesignRender::ramp(1, 2));
        entries.front().pen = QPen(QBrush(ramp), 2);
    }
    int y = height() - 8 - line * int(entries.size());
    for (const Entry &e : entries) {
        p.setPen(e.pen);
        p.drawLine(QPointF(x + 10, y + line / 2.0), QPointF(x + 28, y + line / 2.0));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(QRect(x + 34, y, textWidth + 6, line), Qt::AlignLeft | Qt::AlignVCenter, e.text);
        y += line;
    }
}

void DesignView::tellPosition(const QPointF &px)
{
    const QPointF mm = frame().toMm(px);
    const QLocale locale;
    emit positionText(tr("X %1 mm, Y %2 mm · zoom %3%")
                      .arg(locale.toString(mm.x(), 'f', 1), locale.toString(mm.y(), 'f', 1),
                           locale.toString(qRound(zoom() * 100))));
}

void DesignView::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0)
        zoomBy(std::pow(1.25, steps), event->position());
    event->accept();
}

void DesignView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    m_dragFrom = event->pos();
    setCursor(Qt::ClosedHandCursor);
}

void DesignView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        freeze();
        const QPoint by = event->pos() - m_dragFrom;
        m_dragFrom = event->pos();
        const double scale = frame().scale;
        m_centre -= QPointF(by.x() / scale, -by.y() / scale);
        redraw();
    }
    tellPosition(event->pos());
}

void DesignView::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    unsetCursor();
    QWidget::mouseReleaseEvent(event);
}

void DesignView::mouseDoubleClickEvent(QMouseEvent *)
{
    fit();
}

void DesignView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal: zoomIn(); break;
    case Qt::Key_Minus: zoomOut(); break;
    case Qt::Key_0:
    case Qt::Key_Home: fit(); break;
    default: QWidget::keyPressEvent(event);
    }
}

void DesignView::leaveEvent(QEvent *)
{
    emit positionText(QString());
}
