// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QHash>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTransform>

// The geometry of SVG 1.1 as the walk needs it, in user units.
//
// Lengths: CSS units at 96 px per inch (px or none = 1 user unit, in = 96,
// cm = 96 / 2.54, mm = 96 / 25.4, pt = 96 / 72, pc = 16), em and ex from the
// font size, percentages of the viewport side (of its normalised diagonal
// for radii). Qt SVG took 90 per inch, which put every physical size 6.7 %
// off as soon as a file mixed physical and plain units.
//
// Path data and transform lists are parsed by SVG++ (Debian libsvgpp-dev,
// header-only, Boost Software License 1.0, compatible with LGPL-2.1+): its
// grammar covers the number syntax traps ("M1.5.5", "1e2-3", flags without
// separators) and reduces arcs and quadratics to cubic curves.
namespace svg {

struct Viewport
{
    double width = 0, height = 0; // user units, for percentages
};

enum class Axis { X, Y, Other };

// A length in user units; false when the text is not a length.
bool length(const QString &text, Axis axis, const Viewport &vp, double fontSize, double *out);

// A list of numbers (viewBox, points): separated by spaces and/or commas.
QVector<double> numbers(const QString &text, bool *ok);

// The viewBox-to-viewport map of preserveAspectRatio (align and
// meet/slice; "none" stretches); an empty viewBox means identity.
bool viewBoxTransform(const QString &viewBox, const QString &preserve, double width, double height,
                      QTransform *out, QRectF *box);

// transform="..." as one matrix; false on a syntax error.
bool transformList(const QString &text, QTransform *out);

// d="..."; false on a syntax error (the path is not drawn half).
bool pathData(const QString &text, QPainterPath *out);

// Polylines from a path already mapped to millimetres: cubic curves cut
// into chords straying at most tolerance from the curve. fn(polyline,
// closed); false when fn says stop or more than room points would be made.
template <typename F> bool flatten(const QPainterPath &path, double tolerance, qint64 room, F &&fn);

} // namespace svg

#include "SvgGeometry.inc"
