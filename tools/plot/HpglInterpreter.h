// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "HpglTokenizer.h"
#include "PlotDocument.h"
#include "ReadBudget.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cmath>
#include <cstdint>
#include <vector>

// Runs HP-GL and HP-GL/2 vector commands into a PlotDocument (millimetres,
// 40 plotter units per mm). What each command does is one row of the
// handler table (HpglCommandTable.cpp): how its parameters are read and the
// member that applies them, or why it is refused.
//
// Arcs and circles are flattened to the chord tolerance, whatever chord
// angle the file asks for. Polygon mode (PM) collects edges; EP or FP emits
// them once as cut paths (FP closes each, EP only where the pen was down
// as PM1 or PM2 closed it). IW clips to its window, RO rotates in 90°
// steps. Scaling is applied only when its result is certain: SC needs IP
// points given in the file (the default ones depend on the machine), and
// IR with parameters is refused for the same reason. Labels and anything
// else that draws but is not modelled are refused with the command and its
// position, so a size reported for a file is never silently wrong.
//
// SPn starts paths of pen n (PathSource::pen as written); pen 2 is the
// machine's second tool, every other pen the first.
class HpglInterpreter
{
    Q_DECLARE_TR_FUNCTIONS(HpglInterpreter)

public:
    static constexpr double UnitsPerMm = 40.0;

    explicit HpglInterpreter(PlotDocument &out, double chordToleranceMm = 0.05);

    // A few bytes may ask for a huge flattened circle ("CI99999999;" is
    // 65536 points): the read's budget (the caller's, or one sized to the
    // input) refuses the file rather than let it take the memory, and is
    // checked before an arc is flattened, not after.
    void setBudget(ReadBudget *budget) { m_budget = budget; }
    // A sweep beyond this many degrees is refused: the pen would go round
    // the same circle again and again, cutting one line many times.
    static constexpr double MaxSweepDegrees = 3600;
    static constexpr int MaxPen = 32767;
    // SC can stretch small numbers into points no sheet holds (kilometres);
    // the plot text written from them would no longer read back. Past this
    // many plotter units (25 km) from the origin a drawn point is refused.
    static constexpr double MaxCoordinate = 1e9;
    // Placed for cutting, the drawing is moved next to the origin and
    // written again; a drawing at most half that wide leaves the other half
    // for margins and borders, so the text written reads back here.
    static constexpr double MaxSpan = MaxCoordinate / 2;

    // Appends the plot's strokes to the document; false with error() on
    // the first bad command (what was read so far stays in the document).
    bool run(const QByteArray &data);

    // "byte 120 (line 4, column 7), command PD: odd number of coordinates"
    QString error() const { return m_error; }
    qint64 errorOffset() const { return m_errorOffset; }
    QByteArray errorCommand() const { return m_errorCommand; }
    // Pen-up travel as the file moves (plotter units, from the origin),
    // detours included: the document keeps only the strokes, but a machine
    // cutting this text in file order also makes the moves between them.
    double penUpTravel() const { return m_upTravel; }

    using Args = std::vector<double>;
    using Handler = bool (HpglInterpreter::*)(const Args &);
    enum class Params { Numbers, Encoded, Ignored, Refused };
    struct Row {
        char name[3];
        Params params;
        Handler handler;     // Numbers only
        const char *refusal; // Refused only; translated where it is reported
    };
    static const Row *find(std::uint16_t op);

private:
    friend struct HpglTable;

    bool fail(const QString &message);
    bool failAt(qint64 offset, const QString &message);

    // Coordinate mapping: current (user) units -> plotter units.
    QPointF toPlotter(double x, double y) const;
    QPointF deltaToPlotter(double dx, double dy) const;
    QString rescale();
    QPointF out(const QPointF &plotter) const;

    // Drawing in plotter units.
    void setPen(bool down);
    void penMove(const QPointF &to, bool down);
    void segment(QPointF a, QPointF b);
    void endStroke();
    void polyline(const std::vector<QPointF> &points, bool close);
    void closeSubpolygon();
    bool arc(const QPointF &center, double sweepRadians);
    // False (and the error set) once the read would pass its budget.
    bool withinBudget(qint64 morePoints, qint64 steps);
    bool sweepInRange(double degrees);
    bool clip(QPointF &a, QPointF &b) const;

    bool moveList(const Args &a, bool relative);
    // Table handlers.
    bool penUp(const Args &a);
    bool penDown(const Args &a);
    bool plotAbsolute(const Args &a);
    bool plotRelative(const Args &a);
    bool init(const Args &a);
    bool defaults(const Args &a);
    bool inputP1P2(const Args &a);
    bool inputRelative(const Args &a);
    bool scale(const Args &a);
    bool rotate(const Args &a);
    bool inputWindow(const Args &a);
    bool circle(const Args &a);
    bool arcAbsolute(const Args &a);
    bool arcRelative(const Args &a);
    bool arcThreePointAbsolute(const Args &a);
    bool arcThreePointRelative(const Args &a);
    bool rectAbsolute(const Args &a);
    bool rectRelative(const Args &a);
    bool polygonMode(const Args &a);
    bool polygonEmit(const Args &a);
    bool polygonFill(const Args &a);
    bool selectPen(const Args &a);
    bool usePen(double pen);
    bool arcThreePoint(const QPointF &inter, const QPointF &end);
    bool rectangle(const QPointF &corner);
    bool encoded(const char *begin, const char *end);

    PlotDocument &m_doc;
    double m_tolerance; // plotter units
    ReadBudget *m_budget = nullptr;
    qint64 m_polygonPoints = 0;
    HpglTokenizer *m_tok = nullptr;

    QString m_error;
    qint64 m_errorOffset = -1;
    QByteArray m_errorCommand;

    QPointF m_pos;          // plotter units, before rotation
    double m_upTravel = 0;
    QString m_outOfRange; // why the last segment was not drawn
    double m_drawn[4] = {HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL}; // extent drawn: x0 y0 x1 y1
    bool withinSpan(const QPointF &p);
    bool m_down = false;
    bool m_relative = false;
    bool m_stroking = false;
    QPointF m_strokeAt;

    bool m_scaled = false;
    bool m_p1Known = false, m_p2Known = false;
    QPointF m_p1, m_p2;
    double m_sc[4] = {0, 0, 0, 0};
    int m_scType = 0;
    double m_scLeft = 50, m_scBottom = 50;
    double m_sx = 1, m_sy = 1, m_ox = 0, m_oy = 0; // plotter = o + user * s

    int m_rotation = 0; // degrees, multiple of 90
    bool m_windowed = false;
    QRectF m_window;

    bool m_polygon = false;
    bool m_polygonEmitted = false;
    std::vector<std::vector<QPointF>> m_polygons; // pieces: a pen-up move starts one
    size_t m_subpolygon = 0;                       // first piece of the open subpolygon
};
