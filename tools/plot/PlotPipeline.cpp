// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotPipeline.h"

#include "CutShaping.h"
#include "OverlapMerge.h"
#include "PathOrdering.h"

#include <numeric>

namespace PlotPipeline {

namespace {

void appendPath(PlotDocument &out, const PlotDocument &in, int i)
{
    const QPointF *p = in.points(i);
    out.carry(in, i);
    out.beginPath(p[0]);
    for (std::uint32_t k = 1; k < in.path(i).count; ++k)
        out.lineTo(p[k]);
    out.endPath();
}

bool oneTool(const PlotDocument &doc)
{
    for (int i = 1; i < doc.pathCount(); ++i)
        if (doc.toolOf(i) != doc.toolOf(0))
            return false;
    return true;
}

// Each tool's paths together, the tools in the given order, so the writer
// changes tool once. Within a tool: ordered (holes first, short travel)
// or in the file's order.
void orderByTool(PlotDocument design, const PlotOptions &o, PlotPlan &plan, const std::atomic<bool> *cancel)
{
    if (oneTool(design)) {
        if (o.order) {
            PathOrdering::Result ordered = PathOrdering::order(design, PathOrdering::DefaultWindow, cancel);
            design = PlotDocument();
            plan.design = std::move(ordered.document);
            plan.source = std::move(ordered.source);
        } else {
            plan.design = std::move(design);
            plan.source.resize(std::size_t(plan.design.pathCount()));
            std::iota(plan.source.begin(), plan.source.end(), 0);
        }
        return;
    }
    plan.design.adoptSources(design);
    plan.design.reserve(std::size_t(design.pathCount()), design.pointCount());
    for (const int tool : {o.toolOrder.first, o.toolOrder.second()}) {
        std::vector<int> picked;
        for (int i = 0; i < design.pathCount(); ++i)
            if (design.toolOf(i) == tool)
                picked.push_back(i);
        if (!o.order) {
            for (int i : picked) {
                appendPath(plan.design, design, i);
                plan.source.push_back(i);
            }
            continue;
        }
        PlotDocument part;
        part.adoptSources(design);
        for (int i : picked)
            appendPath(part, design, i);
        const PathOrdering::Result ordered = PathOrdering::order(part, PathOrdering::DefaultWindow, cancel);
        for (int k = 0; k < ordered.document.pathCount(); ++k) {
            appendPath(plan.design, ordered.document, k);
            plan.source.push_back(picked[std::size_t(ordered.source[std::size_t(k)])]);
        }
    }
}

} // namespace

PlotPlan run(PlotDocument design, const PlotOptions &o, const std::atomic<bool> *cancel)
{
    PlotPlan plan;
    PlotReport &r = plan.report;
    o.tools.apply(design);
    o.placement.shape(design);
    shaping::addWeedBorder(design, o.weedBorder);
    r.mergedLength = overlaps::merge(design, o.mergeOverlaps, cancel).removedLength;
    o.placement.moveToOrigin(design);
    r.travelBefore = design.travelLength();
    orderByTool(std::move(design), o, plan, cancel);
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
    for (int i = 0; i < sent.pathCount(); ++i) {
        if (r.tools.empty() || r.tools.back().tool != sent.toolOf(i))
            r.tools.push_back(PlotReport::Tool{sent.toolOf(i), 0, 0});
        r.tools.back().cutLength += sent.pathLength(i);
        ++r.tools.back().paths;
    }
    return plan;
}

} // namespace PlotPipeline
