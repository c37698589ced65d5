// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

// Reads the HPGL subset that cutting plots use: IN, SP, PU, PD, PA, PR with
// or without coordinate lists; separators may be commas, blanks or nothing
// but a sign, and a command ends at ';', a line break or the next command.
//
// Commands that do not move the tool (PW, LT, VS, FS, ...) are skipped.
// Coordinate-system commands are applied when the result is certain (SC with
// explicit IP points, their resets, RO 0, IW without window) and refused
// otherwise, so a reported size is never silently wrong.
//
// All lengths are plotter units (UnitsPerMm per millimetre). One pass,
// linear in the input size. No QObject: safe to use from any thread.
class PlotReader
{
public:
    static constexpr double UnitsPerMm = 40.0;
    using Polyline = QVector<QPointF>;

    PlotReader() = default;

    // Polylines cost memory on big files; the totals do not need them.
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
    double pathLength() const { return m_pathLength; }
    double travelLength() const { return m_travelLength; }
    // Extent of what is cut (pen-down strokes); empty when nothing is cut.
    QRectF boundingBox() const;
    double width() const { return boundingBox().width(); }
    double height() const { return boundingBox().height(); }

    // Pen-down strokes of at least two points, in plot order.
    const QVector<Polyline> &polylines() const { return m_polylines; }
    qint64 strokeCount() const { return m_strokeCount; }
    qint64 pointCount() const { return m_pointCount; }

private:
    void reset();
    void fail(const char *data, qint64 size, qint64 offset, const QByteArray &cmd,
              const QString &message);
    void penDown(bool down);
    void moveTo(double x, double y);
    void endStroke();

    bool m_keepPolylines = true;

    QString m_error;
    qint64 m_errorOffset = -1;
    QByteArray m_errorCommand;

    double m_pathLength = 0;
    double m_travelLength = 0;
    double m_minX = 0, m_minY = 0, m_maxX = 0, m_maxY = 0;
    bool m_hasBox = false;
    QVector<Polyline> m_polylines;
    Polyline m_stroke;
    qint64 m_strokeCount = 0;
    qint64 m_pointCount = 0;
    qint64 m_strokePoints = 0;

    // Plotter state.
    QPointF m_pos;
    bool m_down = false;
    bool m_relative = false;

    // Scaling: user units -> plotter units, only with known P1/P2.
    bool m_scaled = false;
    bool m_pointsKnown = false;
    double m_p1x = 0, m_p1y = 0, m_p2x = 0, m_p2y = 0;
    double m_sx = 1, m_sy = 1, m_ux = 0, m_uy = 0;
};
