// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DxfReader.h"

#include "DxfEntities.h"
#include "DxfWalk.h"

#include <dime/Input.h>
#include <dime/Model.h>
#include <dime/sections/HeaderSection.h>
#include <dime/sections/TablesSection.h>
#include <dime/tables/LayerTable.h>
#include <dime/tables/Table.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

double unitScale(dimeModel &model)
{
    // $INSUNITS codes 0..20; 0 (unitless) is taken as millimetres.
    static const double mm[] = {1, 25.4, 304.8, 1609344, 1, 10, 1000, 1e6, 2.54e-5, 0.0254, 914.4,
                                1e-7, 1e-6, 1e-3, 100, 1e4, 1e5, 1e12, 1.495978707e14, 9.4607e18, 3.0857e19};
    auto *header = static_cast<dimeHeaderSection *>(model.findSection("HEADER"));
    if (!header)
        return 1;
    int codes[1];
    dimeParam params[1];
    if (header->getVariable("$INSUNITS", codes, params, 1) != 1)
        return 1;
    const int u = params[0].int16_data;
    return u >= 0 && u <= 20 ? mm[u] : 1;
}

// libdime sizes a SPLINE's arrays from its count records (72 knots, 73
// control points, 74 fit points) and then trusts them: a count with fewer
// values, or values before their count, leaves it reading a null or short
// array. Text DXF is checked here first; "line" is the file's line.
QString checkSplineCounts(const QByteArray &data)
{
    struct Count {
        int declared = -1, seen = 0;
        bool early = false;
    };
    const int valueCode[3] = {40, 10, 11}, countCode[3] = {72, 73, 74};
    static const char *const mismatch[3] = {
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: knots do not match their count"),
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: control points do not match their count"),
        QT_TRANSLATE_NOOP("DxfReader", "SPLINE at line %1: fit points do not match their count")};
    Count counts[3];
    // LWPOLYLINE likewise: its arrays are sized from 90, filled from 10/20.
    Count vertices;
    bool inPolyline = false;
    bool inSpline = false;
    int splineLine = 0;
    const auto finish = [&]() -> QString {
        for (int k = 0; k < 3; ++k) {
            const Count &c = counts[k];
            if (c.early || (c.declared >= 0 && c.declared != c.seen) || (c.declared < 0 && c.seen > 0))
                return DxfReader::tr(mismatch[k]).arg(splineLine);
        }
        return QString();
    };
    int line = 0;
    qsizetype at = 0;
    while (at < data.size()) {
        qsizetype end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        const QByteArray codeText = data.mid(at, end - at).trimmed();
        ++line;
        at = end + 1;
        end = data.indexOf('\n', at);
        if (end < 0)
            end = data.size();
        const QByteArray value = data.mid(at, end - at).trimmed();
        ++line;
        at = end + 1;
        bool ok = false;
        const int code = codeText.toInt(&ok);
        // libdime reads "7-1" as 7 and goes on out of step; stop here.
        if (!ok && !(codeText.isEmpty() && at >= data.size()))
            return DxfReader::tr("line %1: group code \"%2\" is not a number")
                .arg(line - 1).arg(QString::fromLatin1(codeText.left(20)));
        // A group 0 names what follows; libdime reads an empty or missing
        // name as a null string inside an unknown section and crashes on it.
        if (code == 0 && value.isEmpty() && ok)
            return DxfReader::tr("line %1: group code 0 without the name of what follows").arg(line - 1);
        if (code == 0) {
            if (inSpline)
                if (const QString e = finish(); !e.isEmpty())
                    return e;
            if (inPolyline && (vertices.early || vertices.declared != vertices.seen))
                return DxfReader::tr("LWPOLYLINE at line %1: vertices do not match their count").arg(splineLine);
            inPolyline = value == "LWPOLYLINE";
            vertices = Count();
            inSpline = value == "SPLINE";
            splineLine = line;
            for (Count &c : counts)
                c = Count();
            continue;
        }
        if (inPolyline && code == 90) {
            // libdime sizes the arrays from one count and fills them by
            // another's: a second count is no drawing anyone made.
            if (vertices.declared >= 0)
                return DxfReader::tr("LWPOLYLINE at line %1: vertices do not match their count").arg(splineLine);
            bool whole = false;
            vertices.declared = value.toInt(&whole);
            if (!whole)
                return DxfReader::tr("line %1: LWPOLYLINE count \"%2\" is not a whole number")
                    .arg(line).arg(QString::fromLatin1(value.left(20)));
        } else if (inPolyline && code == 10) {
            vertices.early = vertices.early || vertices.declared < 0;
            ++vertices.seen;
        }
        if (!inSpline)
            continue;
        for (int k = 0; k < 3; ++k) {
            if (code == countCode[k]) {
                if (counts[k].declared >= 0)
                    return DxfReader::tr(mismatch[k]).arg(splineLine);
                // libdime reads "8" out of "8\x1a" and sizes nothing for it.
                bool whole = false;
                counts[k].declared = value.toInt(&whole);
                if (!whole)
                    return DxfReader::tr("line %1: SPLINE count \"%2\" is not a whole number")
                        .arg(line).arg(QString::fromLatin1(value.left(20)));
            }
            if (code == valueCode[k]) {
                if (counts[k].declared < 0)
                    counts[k].early = true;
                ++counts[k].seen;
            }
        }
    }
    if (inPolyline && (vertices.early || vertices.declared != vertices.seen))
        return DxfReader::tr("LWPOLYLINE at line %1: vertices do not match their count").arg(splineLine);
    return inSpline ? finish() : QString();
}

// The LAYER table as written: libdime's own layer list keeps neither the
// frozen flag (70 bit 1) nor the sign of the colour (negative: off). Keyed
// upper case: CAD takes layer names without regard to case.
QHash<QString, DxfWalk::Layer> layerTable(dimeModel &model)
{
    QHash<QString, DxfWalk::Layer> layers;
    auto *tables = static_cast<dimeTablesSection *>(model.findSection("TABLES"));
    for (int i = 0; tables && i < tables->getNumTables(); ++i) {
        dimeTable *table = tables->getTable(i);
        if (!table->tableName() || std::strcmp(table->tableName(), "LAYER") != 0)
            continue;
        for (int j = 0; j < table->getNumTableEntries(); ++j) {
            dimeTableEntry *entry = table->getTableEntry(j);
            if (entry->typeId() != dimeBase::dimeLayerTableType)
                continue;
            auto *l = static_cast<dimeLayerTable *>(entry);
            if (!l->getLayerName())
                continue;
            DxfWalk::Layer layer;
            dimeParam p;
            layer.frozen = entry->getRecord(70, p) && (p.int16_data & 1);
            layer.off = l->getColorNumber() < 0;
            const int index = std::abs(int(l->getColorNumber()));
            if (!dxfTrueColour(entry, &layer.colour) && index >= 1 && index <= 255)
                layer.colour = dxfIndexColour(index);
            layers.insert(QString::fromUtf8(l->getLayerName()).toUpper(), layer);
        }
    }
    return layers;
}

} // namespace

bool DxfReader::looksLikeDxf(const QByteArray &data)
{
    if (data.startsWith("AutoCAD Binary DXF"))
        return true;
    // Text DXF: group code 0, then SECTION (or a comment, code 999).
    const QByteArray head = data.left(512).trimmed();
    return (head.startsWith("0") || head.startsWith("999")) && data.left(4096).contains("SECTION");
}

bool DxfReader::read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm)
{
    ReadBudget budget(data.size());
    return read(data, doc, chordToleranceMm, budget);
}

bool DxfReader::read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm, ReadBudget &budget)
{
    m_error.clear();
    m_skipped = 0;
    m_summary.clear();
    if (data.startsWith("AutoCAD Binary DXF")) {
        m_error = tr("binary DXF is not supported; save the drawing as text DXF");
        return false;
    }
    // Text DXF never holds a NUL byte; libdime reads a string group cut
    // short by one as a null string and then dereferences it.
    const int nul = data.indexOf('\0');
    if (nul >= 0) {
        m_error = tr("a NUL byte at byte %1: not a text DXF file").arg(nul);
        return false;
    }
    m_error = checkSplineCounts(data);
    if (!m_error.isEmpty())
        return false;
    FILE *fp = fmemopen(const_cast<char *>(data.constData()), size_t(data.size()), "rb");
    if (!fp || data.isEmpty()) {
        if (fp)
            fclose(fp);
        m_error = tr("empty DXF file");
        return false;
    }
    dimeInput in;
    in.setFileHandle(fp);
    dimeModel model;
    const bool ok = model.read(&in);
    const int line = in.getFilePosition();
    fclose(fp);
    if (!ok) {
        m_error = tr("not a readable DXF file (libdime stopped near line %1)").arg(line);
        return false;
    }
    const double unit = unitScale(model);
    const QHash<QString, DxfWalk::Layer> layers = layerTable(model);
    DxfWalk walk(doc, budget, chordToleranceMm, layers);
    const int first = doc.pathCount();
    const bool drawn = walk.run(model, DxfAffine::scale(unit, unit));
    if (doc.building())
        doc.endPath();
    m_skipped = walk.skipped();
    m_summary = walk.skippedSummary();
    if (!drawn) {
        m_error = walk.error();
        return false;
    }
    // Exporters write contours as runs of LINE and SPLINE pieces.
    doc.joinConsecutive(first, 1e-4);
    return true;
}
