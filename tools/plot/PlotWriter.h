// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>

class QIODevice;

// The plot text the machine takes: 40 plotter units per millimetre and only
// IN, SP, PU and PD with absolute integer coordinates, so every machine of
// the family reads it. SPn selects tool position n before that tool's
// paths. One path per line ("PUx,y;PDx,y,...;"); points that
// round onto the previous one are dropped, and a path that rounds to a
// single point is not written (it would only stab the material).
class PlotWriter
{
public:
    static constexpr double UnitsPerMm = 40.0;

    static QByteArray toByteArray(const PlotDocument &doc);
    // Streams in chunks; false when the device refuses a write.
    static bool write(const PlotDocument &doc, QIODevice *device);
};
