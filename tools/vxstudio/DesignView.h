// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QSizeF>
#include <QWidget>

// The design as it will be cut, on the machine's work area: millimetres, y
// up, the work area's corner at the origin (where the placed design starts).
// The paths are coloured along the cut order and the pen-up moves dashed
// (PlotPreview::render), so a bad order or a design past the edge shows
// before the knife does.
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
    PlotDocument m_design;
    QSizeF m_area;
};
