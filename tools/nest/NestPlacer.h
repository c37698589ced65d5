// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "NfpCache.h"

#include <functional>
#include <vector>

// Places pieces one after another by the bottom-left rule: each goes to
// the lowest feasible position (then the leftmost), where feasible means
// inside the material and outside every placed piece's no-fit polygon. On
// sheets a piece goes to the first sheet it fits on, a new one if none.
//
// The strip is searched in bands of a few piece heights, each band seeing
// only the pieces whose no-fit polygons reach it; and every shape keeps the
// height below which no position is left for it, since placing only ever
// takes space away. So a piece costs a few polygon differences over its
// neighbours, not one over the whole layout: time per piece stays flat from
// a hundred pieces to thousands. Pieces of many different shapes share no
// floors; for them each row of the material keeps its free area, and a band
// whose rows hold less free area than the piece covers is passed over
// without a single no-fit polygon.
class NestPlacer
{
public:
    using cInt = nestgeo::cl::cInt;

    struct Material {
        cInt width = 0;
        cInt length = 0; // a sheet's; 0: one endless strip
    };
    struct Step {
        int item = 0;
        int part = 0;
        int orient = -1; // index into the part's orientations; -1: whichever lands lowest
    };
    struct Placement {
        int item = 0, part = 0, orient = 0, sheet = 0;
        nestgeo::cl::IntPoint at;
    };
    struct Result {
        std::vector<Placement> placed; // in placing order
        std::vector<int> unplaced;     // items
        int sheets = 0;
        cInt length = 0;   // top of the highest piece (on the last sheet)
        double tops = 0;   // sum of piece tops in mm: among equal lengths, lower is denser
    };

    // shapes: every part's orientations one after another, part p's from base[p].
    NestPlacer(const std::vector<nestgeo::Shape> &shapes, const std::vector<int> &base, Material material,
               NfpCache &cache);

    // False when stop() said so part way (result then incomplete).
    bool run(const std::vector<Step> &steps, Result &result, const std::function<bool()> &stop);

private:
    struct Sheet {
        std::vector<std::vector<int>> rows; // placed pieces by band of rowHeight
        std::vector<double> room;           // per row: area left free (units²); < 0: to be measured
        std::vector<cInt> floor;            // per shape: nothing free below
    };
    double roomIn(Sheet &sheet, int row);
    bool fit(Sheet &sheet, int shape, nestgeo::cl::IntPoint &at);
    void gather(const Sheet &sheet, int shape, cInt lo, cInt hi, cInt xMax, nestgeo::cl::Paths &clip);
    void add(Sheet &sheet, int placedIndex);
    int row(cInt y) const;
    const nestgeo::Shape &shapeOf(const Placement &p) const;

    const std::vector<nestgeo::Shape> &m_shapes;
    const std::vector<int> &m_base;
    Material m_material;
    NfpCache &m_cache;
    cInt m_rowHeight = 1;
    cInt m_margin = 0; // how far grown shapes reach past the material's sides
    std::vector<Sheet> m_sheets;
    std::vector<Placement> *m_placed = nullptr;
    std::vector<unsigned> m_seen;
    unsigned m_tick = 0;
};
