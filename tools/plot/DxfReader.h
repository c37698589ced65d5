// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// DXF through libdime (BSD-3-Clause, Debian libdime-dev), which parses the
// sections and explodes INSERTs into their blocks' entities with the
// insert's transform. Each entity kind is one row of the table in
// DxfReader.cpp: LINE, LWPOLYLINE and POLYLINE (bulges as arcs), CIRCLE,
// ARC, ELLIPSE, SPLINE (rational or not; fit points only when there are no
// control points). Curves are flattened to the chord tolerance.
//
// Units from $INSUNITS (millimetres when absent or unitless). Entities that
// draw but are not modelled (TEXT, MTEXT, HATCH, DIMENSION, SOLID, ...)
// are refused with their kind and handle, never dropped in silence.
// Debian builds libdime with single-precision coordinates: about 0.001 mm
// at 10 m from the origin, far below what a knife resolves.
class DxfReader
{
    Q_DECLARE_TR_FUNCTIONS(DxfReader)

public:
    static bool looksLikeDxf(const QByteArray &data);

    bool read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm = 0.05);
    QString error() const { return m_error; }

private:
    QString m_error;
};
