// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotPipeline.h"

#include "CutShaping.h"
#include "OverlapMerge.h"
#include "PathOrdering.h"

#include <numeric>

namespace PlotPipeline {

PlotPlan run(PlotDocument design, const PlotOptions &o)
{
    PlotPlan plan;
    PlotReport &r = plan.report;
    o.placement.shape(design);
    shaping::addWeedBorder(design, o.weedBorder);
    r.mergedLength = overlaps::merge(design, o.mergeOverlaps).removedLength;
    o.placement.moveToOrigin(design);
    r.travelBefore = design.travelLength();
    if (o.order) {
        PathOrdering::Result ordered = PathOrdering::order(design);
        design = PlotDocument();
        plan.design = std::move(ordered.document);
        plan.source = std::move(ordered.source);
    } else {
        plan.design = std::move(design);
        plan.source.resize(std::size_t(plan.design.pathCount()));
        std::iota(plan.source.begin(), plan.source.end(), 0);
    }
    const QRectF box = plan.design.boundingBox();
    r.width = box.width();
    r.height = box.height();
    r.designLength = plan.design.cutLength();
    r.designPaths = plan.design.pathCount();

    if (o.overcut > 0 || o.bladeOffset > 0 || o.passes > 1) {
        plan.cut = plan.design;
        shaping::addOvercut(plan.cut, o.overcut);
        shaping::compensateBlade(plan.cut, o.bladeOffset, o.bladeAngle, o.chordTolerance);
        shaping::repeat(plan.cut, o.passes);
    }
    const PlotDocument &sent = plan.sent();
    r.cutLength = sent.cutLength();
    r.travelAfter = sent.travelLength();
    r.paths = sent.pathCount();
    r.estimateSeconds = sent.estimateSeconds(o.cutSpeed, o.travelSpeed);
    return plan;
}

} // namespace PlotPipeline
