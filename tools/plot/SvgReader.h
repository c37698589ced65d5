// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"
#include "ReadBudget.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// SVG 1.1 and gzip-compressed SVG, read into cut paths in millimetres,
// y up as on the machine.
//
// Our own walk over the XML (SvgTree, SvgWalk), with path data and
// transform lists parsed by SVG++ (Boost Software License 1.0; see
// SvgGeometry.h). Chosen by measuring against tests/data/corpus (32 files
// with references from svgelements and Inkscape): painting through Qt SVG
// read 13 right, Qt SVG behind a pre-pass that rewrote units to 96 per inch
// and fitted the root viewBox by preserveAspectRatio 19, this walk all 32.
// Qt SVG is SVG Tiny 1.2: besides the 90 px per inch it sizes nested
// viewports and used symbols wrongly, draws what unused clip paths hold
// and knows no CSS sheet, none of which a rewrite of the text can mend.
//
// Page: the root's width and height with their units (px at 96 per inch),
// the viewBox fitted into them by preserveAspectRatio; a missing side
// follows the viewBox's proportions, a missing size the viewBox in px.
// A document with neither is refused: nothing says how big it is.
class SvgReader
{
    Q_DECLARE_TR_FUNCTIONS(SvgReader)

public:
    static bool looksLikeSvg(const QByteArray &data);
    static bool isGzip(const QByteArray &data);

    // Appends to doc; false with error() naming the element and its line
    // when the document cannot be read right, or when the budget runs out.
    bool read(const QByteArray &data, PlotDocument &doc, ReadBudget &budget);
    bool read(const QByteArray &data, PlotDocument &doc);
    QString error() const { return m_error; }

    // Elements that would draw in a viewer but yield no cut path here
    // (an <image>, a degenerate shape, a marker), and their kinds.
    int skipped() const { return m_skipped; }
    QStringList skippedKinds() const { return m_kinds; }

    // Inflates gzip data; empty with an error on corrupt input. Bounded
    // by maxOutput so a small bomb cannot take the memory.
    static QByteArray gunzip(const QByteArray &data, QString *error, qint64 maxOutput = 512 << 20);

private:
    QString m_error;
    int m_skipped = 0;
    QStringList m_kinds;
};
