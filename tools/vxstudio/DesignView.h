// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QSizeF>
#include <QWidget>

class QPainter;

// The design as it will be cut, on the machine's work area: millimetres, y
// up, the work area's corner at the origin (where the placed design starts).
// Tool 1's paths are coloured along the cut order (PlotPreview's ramp, blue
// first), tool 2's in one magenta, dashed, and the pen-up moves dashed grey,
// so a bad order, a crease on the wrong tool or a design past the edge shows
// before the knife does. A legend names what is drawn.
class DesignView : public QWidget
{
    Q_OBJECT
public:
    explicit DesignView(QWidget *parent = nullptr);

    void setDesign(PlotDocument design);
    void clear() { setDesign(PlotDocument()); }
    const PlotDocument &design() const { return m_design; }
    bool isEmpty() const { return m_design.isEmpty(); }
    // Millimetres; an empty size when the machine has not told it.
    void setWorkArea(const QSizeF &mm);
    QSizeF workArea() const { return m_area; }
    bool exceedsWorkArea() const;

    QSize sizeHint() const override { return QSize(320, 240); }
    QSize minimumSizeHint() const override { return QSize(120, 90); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintLegend(QPainter &p, bool tool1, bool tool2);

private:
    PlotDocument m_design;
    QSizeF m_area;
};
