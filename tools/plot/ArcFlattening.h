// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QPointF>

#include <algorithm>
#include <cmath>

// Chords for an arc of the given radius so that no chord strays more than
// tolerance from the arc: each chord spans at most 2 acos(1 - t / r). A
// full circle gets at least 8 chords so a tiny one stays round-ish. The
// count is capped per turn (a hostile radius) and absolutely (a hostile
// sweep: "AA0,0,36000000000" is a hundred million turns); the arithmetic
// stays in double until the cap, so no sweep can overflow the int.
// Callers that read sweeps from a file refuse those beyond MaxSweepTurns
// first; the cap only keeps the others from allocating without end.
namespace arcs {

constexpr int MaxChordsPerTurn = 1 << 16;
constexpr int MaxSweepTurns = 10;
constexpr int MaxChords = MaxChordsPerTurn * MaxSweepTurns;

inline int chordCount(double radius, double sweepRadians, double tolerance)
{
    const double sweep = std::abs(sweepRadians);
    const double r = std::abs(radius);
    double step = (tolerance > 0 && tolerance < r) ? 2 * std::acos(1 - tolerance / r) : M_PI / 4;
    step = std::min(step, M_PI / 4);
    const double n = std::ceil(sweep / step);
    const double cap = std::min(double(MaxChords), std::ceil(sweep / (2 * M_PI) * MaxChordsPerTurn));
    const double count = std::min(n, cap);
    // NaN (an infinite radius or sweep) falls through to one chord.
    return count >= 1 ? int(count) : 1;
}

// Points along the arc, excluding the start, including the end; fn(point).
template <typename F>
void flatten(const QPointF &center, double radius, double startAngle, double sweep, double tolerance, F &&fn)
{
    const int n = chordCount(radius, sweep, tolerance);
    for (int i = 1; i <= n; ++i) {
        const double a = startAngle + sweep * i / n;
        fn(QPointF(center.x() + radius * std::cos(a), center.y() + radius * std::sin(a)));
    }
}

} // namespace arcs
