// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QPointF>

#include <algorithm>
#include <cmath>

// Chords for an arc of the given radius so that no chord strays more than
// tolerance from the arc: each chord spans at most 2 acos(1 - t / r). A
// full circle gets at least 8 chords so a tiny one stays round-ish; the
// count is capped so a hostile radius cannot exhaust memory.
namespace arcs {

constexpr int MaxChordsPerTurn = 1 << 16;

inline int chordCount(double radius, double sweepRadians, double tolerance)
{
    const double turn = std::abs(sweepRadians) / (2 * M_PI);
    const double r = std::abs(radius);
    double step = (tolerance > 0 && tolerance < r) ? 2 * std::acos(1 - tolerance / r) : M_PI / 4;
    step = std::min(step, M_PI / 4);
    const double n = std::ceil(std::abs(sweepRadians) / step);
    const double cap = std::max(1.0, std::ceil(turn * MaxChordsPerTurn));
    return int(std::max(1.0, std::min(n, cap)));
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
