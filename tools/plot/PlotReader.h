// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// HP-GL plots in plotter units (UnitsPerMm per millimetre), for callers that
// want totals and strokes in the machine's own units: a thin face over
// HpglInterpreter and PlotDocument. Totals come from the document, so they
// are the same numbers the job pipeline reports (times UnitsPerMm).
// No QObject: safe to use from any thread.
class PlotReader
{
    Q_DECLARE_TR_FUNCTIONS(PlotReader)

public:
    static constexpr double UnitsPerMm = 40.0;
    using Polyline = QVector<QPointF>;

    PlotReader() = default;

    // The plotter-unit copy of the strokes costs memory on big files; the
    // totals do not need it.
    void setKeepPolylines(bool keep) { m_keepPolylines = keep; }

    // Parse a whole plot; false with errorString() on the first bad command.
    // Results of a failed read stay as far as the file was read.
    bool read(const QByteArray &data);
    bool readFile(const QString &fileName);

    bool hasError() const { return !m_error.isEmpty(); }
    // "byte 120 (line 4, column 7), command PD: odd number of coordinates"
    QString errorString() const { return m_error; }
    qint64 errorOffset() const { return m_errorOffset; }
    QByteArray errorCommand() const { return m_errorCommand; }

    // Pen-down distance and pen-up travel (starting from the origin).
    double pathLength() const { return m_document.cutLength() * UnitsPerMm; }
    // Travel is the file's own pen-up moves (what a machine cutting the text
    // as written does), not the straight hops between strokes.
    double travelLength() const { return m_travel; }
    // Extent of what is cut (pen-down strokes); empty when nothing is cut.
    QRectF boundingBox() const;
    double width() const { return boundingBox().width(); }
    double height() const { return boundingBox().height(); }

    // Pen-down strokes of at least two points, in plot order.
    const QVector<Polyline> &polylines() const { return m_polylines; }
    qint64 strokeCount() const { return m_document.pathCount(); }
    // Pen-down moves.
    qint64 pointCount() const { return qint64(m_document.pointCount()) - m_document.pathCount(); }

    // The strokes in millimetres, for the job pipeline.
    const PlotDocument &document() const { return m_document; }

private:
    void reset();

    bool m_keepPolylines = true;
    QString m_error;
    qint64 m_errorOffset = -1;
    QByteArray m_errorCommand;
    PlotDocument m_document;
    double m_travel = 0;
    QVector<Polyline> m_polylines;
};
