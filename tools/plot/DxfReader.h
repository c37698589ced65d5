// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"
#include "ReadBudget.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// DXF through libdime (BSD-3-Clause, Debian libdime-dev), which parses the
// sections, tables and entities. The walk over them is ours (DxfWalk): the
// model space, each INSERT and MINSERT cell expanded into its block with
// the insert's transform, at most DxfWalk::MaxDepth blocks deep, a block
// that inserts itself refused by name. libdime's own traversal recurses
// without a bound and expands arrays of arrays without counting.
//
// Each entity kind is one row of the table in DxfEntities.cpp. Curves are
// flattened in the block's own coordinates and the points transformed, so
// a circle under a non-uniform scale comes out as the ellipse it is.
//
// Units from $INSUNITS (millimetres when absent or unitless). Only model
// space is cut: entities in paper space, or on a frozen or switched-off
// layer, are left out and counted (skippedSummary()). Entities that draw
// but are not modelled (TEXT, MTEXT, HATCH, DIMENSION, SOLID, ...) are
// refused with their kind and handle, never dropped in silence.
//
// Every path carries its entity's layer (layer 0 inside a block takes the
// insert's, as CAD shows it) and colour as "#rrggbb" (true colour 420, else
// the index colour 62, BYLAYER and BYBLOCK resolved).
//
// Debian builds libdime with single-precision coordinates: about 0.001 mm
// at 10 m from the origin, far below what a knife resolves; angles and
// ellipse parameters are compared within that precision.
class DxfReader
{
    Q_DECLARE_TR_FUNCTIONS(DxfReader)

public:
    static bool looksLikeDxf(const QByteArray &data);

    bool read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm, ReadBudget &budget);
    bool read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm = 0.05);
    QString error() const { return m_error; }

    // Entities the last read left out, and why ("3 on frozen layer HIDDEN").
    int skipped() const { return m_skipped; }
    QStringList skippedSummary() const { return m_summary; }

private:
    QString m_error;
    int m_skipped = 0;
    QStringList m_summary;
};
