// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NestGeometry.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

// No-fit polygons by pair of shapes (a part in one orientation), made on
// first use: a search places the same pairs thousands of times, and a
// Minkowski sum of two outlines of n and m points costs n·m quadrilaterals
// united. One cache per search thread, so no locks and no order effects.
//
// Bound: MaxPoints points held (about 16 bytes each); past it the cache
// starts over. Sixty thousand distinct pairs (two hundred pieces in four
// orientations) would otherwise hold gigabytes.
class NfpCache
{
public:
    static constexpr std::size_t MaxPoints = std::size_t(4) << 20;

    explicit NfpCache(const std::vector<nestgeo::Shape> &shapes) : m_shapes(shapes) {}

    const nestgeo::cl::Paths &get(int fixed, int moving);
    std::size_t points() const { return m_points; }
    std::size_t made() const { return m_made; }

private:
    const std::vector<nestgeo::Shape> &m_shapes;
    std::unordered_map<std::uint64_t, nestgeo::cl::Paths> m_map;
    std::size_t m_points = 0;
    std::size_t m_made = 0;
};
