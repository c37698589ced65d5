// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotWriter.h"

#include <QIODevice>

#include <cmath>

namespace {

inline qint64 units(double mm) { return std::llround(mm * PlotWriter::UnitsPerMm); }

template <typename Sink>
bool writePlot(const PlotDocument &doc, Sink &&sink)
{
    QByteArray line;
    // The tool is selected once before its paths (the pipeline keeps each
    // tool's paths together): a change costs the machine a tool swap.
    int tool = doc.isEmpty() ? 1 : doc.toolOf(0);
    if (!sink("IN;SP" + QByteArray::number(tool) + ";\n"))
        return false;
    for (int i = 0; i < doc.pathCount(); ++i) {
        if (doc.toolOf(i) != tool) {
            tool = doc.toolOf(i);
            if (!sink("SP" + QByteArray::number(tool) + ";\n"))
                return false;
        }
        const QPointF *p = doc.points(i);
        const int n = int(doc.path(i).count);
        qint64 lastX = units(p[0].x()), lastY = units(p[0].y());
        line = "PU" + QByteArray::number(lastX) + ',' + QByteArray::number(lastY) + ";PD";
        bool any = false;
        for (int k = 1; k < n; ++k) {
            const qint64 x = units(p[k].x()), y = units(p[k].y());
            if (x == lastX && y == lastY)
                continue;
            if (any)
                line += ',';
            line += QByteArray::number(x) + ',' + QByteArray::number(y);
            lastX = x;
            lastY = y;
            any = true;
        }
        if (!any)
            continue;
        line += ";\n";
        if (!sink(line))
            return false;
    }
    return sink(QByteArrayLiteral("PU;SP0;\n"));
}

} // namespace

QByteArray PlotWriter::toByteArray(const PlotDocument &doc)
{
    QByteArray out;
    // Room for the widest coordinates: pages never written stay virtual,
    // while growing by doubling would hold the text twice for a moment.
    out.reserve(int(std::min<std::size_t>(doc.pointCount() * 24 + 64, (1u << 31) - 4096)));
    writePlot(doc, [&](const QByteArray &chunk) {
        out += chunk;
        return true;
    });
    return out;
}

bool PlotWriter::write(const PlotDocument &doc, QIODevice *device)
{
    QByteArray buffer;
    const auto flush = [&] {
        const bool ok = device->write(buffer) == buffer.size();
        buffer.clear();
        return ok;
    };
    return writePlot(doc, [&](const QByteArray &chunk) {
        buffer += chunk;
        return buffer.size() < (1 << 16) || flush();
    }) && flush();
}
