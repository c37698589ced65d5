// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// SVG and gzip-compressed SVG through Qt SVG: the renderer paints the
// document onto a recording paint device, and every path, shape and text
// outline it paints becomes cut paths, flattened by Qt at 1/40 mm (well
// inside the chord tolerance). Qt resolves transforms, `use` and styles;
// this class only sizes the page and records.
//
// Size: the root's width and height with their units (mm, cm, in, pt, pc,
// px at 96 per inch, none = px), mapped onto the viewBox; without them the
// viewBox in px. Y grows upwards in the result, as on the machine.
// Shapes painted with neither stroke nor a visible fill, and unstroked
// shapes filled white (page backgrounds), draw nothing and are skipped.
class SvgReader
{
    Q_DECLARE_TR_FUNCTIONS(SvgReader)

public:
    static bool looksLikeSvg(const QByteArray &data);
    static bool isGzip(const QByteArray &data);

    // Appends to doc; false with error() when Qt SVG cannot read it.
    bool read(const QByteArray &data, PlotDocument &doc);
    QString error() const { return m_error; }

    // Inflates gzip data; empty with an error on corrupt input. Bounded
    // by maxOutput so a small bomb cannot take the memory.
    static QByteArray gunzip(const QByteArray &data, QString *error, qint64 maxOutput = 512 << 20);

private:
    QString m_error;
};
