// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NfpCache.h"

const nestgeo::cl::Paths &NfpCache::get(int fixed, int moving)
{
    const std::uint64_t key = (std::uint64_t(std::uint32_t(fixed)) << 32) | std::uint32_t(moving);
    auto it = m_map.find(key);
    if (it != m_map.end())
        return it->second;
    nestgeo::cl::Paths nfp = nestgeo::noFit(m_shapes[std::size_t(fixed)], m_shapes[std::size_t(moving)]);
    std::size_t n = 0;
    for (const nestgeo::cl::Path &p : nfp)
        n += p.size();
    if (m_points + n > MaxPoints) {
        m_map.clear();
        m_points = 0;
    }
    m_points += n;
    ++m_made;
    return m_map.emplace(key, std::move(nfp)).first->second;
}
