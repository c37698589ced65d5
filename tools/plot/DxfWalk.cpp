// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DxfWalk.h"

#include "DxfEntities.h"
#include "DxfReader.h"

#include <dime/Model.h>
#include <dime/entities/Block.h>
#include <dime/entities/Insert.h>
#include <dime/sections/EntitiesSection.h>

#include <cmath>
#include <cstring>
#include <strings.h>

namespace {

enum Reason { Frozen, Off, Paper, Missing, Degenerate };

int int16Record(const dimeEntity *e, int code, int fallback)
{
    dimeParam p;
    return e->getRecord(code, p) ? int(p.int16_data) : fallback;
}

double record(const dimeEntity *e, int code, double fallback)
{
    dimeParam p;
    return e->getRecord(code, p) ? double(p.double_data) : fallback;
}

} // namespace

DxfWalk::DxfWalk(PlotDocument &doc, ReadBudget &budget, double toleranceMm, const QHash<QString, Layer> &layers)
    : m_doc(doc), m_budget(budget), m_pen(doc, budget, toleranceMm), m_layers(layers)
{
}

bool DxfWalk::run(dimeModel &model, const DxfAffine &toMm)
{
    auto *section = static_cast<dimeEntitiesSection *>(model.findSection("ENTITIES"));
    if (!section)
        return true;
    const Frame top{toMm, &m_modelLayer, QStringLiteral("#ffffff"), 0};
    for (int i = 0; i < section->getNumEntities(); ++i)
        if (!entity(section->getEntity(i), top))
            return false;
    return true;
}

bool DxfWalk::outOfBudget()
{
    switch (m_budget.stopped()) {
    case ReadBudget::Stop::None:
        return false;
    case ReadBudget::Stop::Cancelled:
        m_error = DxfReader::tr("cancelled");
        break;
    case ReadBudget::Stop::Steps:
        m_error = DxfReader::tr("the drawing takes more than %1 steps of work; not a drawing to cut")
                      .arg(m_budget.stepLimit());
        break;
    case ReadBudget::Stop::Points:
        m_error = DxfReader::tr("the drawing expands beyond %1 points; not a drawing to cut")
                      .arg(m_budget.pointLimit());
        break;
    }
    return true;
}

QString DxfWalk::colourOf(const dimeEntity *e, const Layer &layer, const Frame &frame) const
{
    QString colour;
    if (dxfTrueColour(e, &colour))
        return colour;
    const int index = std::abs(int(e->getColorNumber()));
    if (index == 0) // BYBLOCK
        return frame.colour;
    if (index >= 1 && index <= 255)
        return dxfIndexColour(index);
    return layer.colour; // BYLAYER (256) or absent
}

void DxfWalk::skip(int reason, const QString &name)
{
    const QPair<int, QString> key(reason, name);
    auto it = m_skipIndex.find(key);
    if (it == m_skipIndex.end()) {
        it = m_skipIndex.insert(key, m_skips.size());
        m_skips.push_back(Skipped{reason, name, 0});
    }
    ++m_skips[it.value()].count;
    ++m_skipped;
}

QStringList DxfWalk::skippedSummary() const
{
    QStringList out;
    for (const Skipped &s : m_skips) {
        const int n = s.count;
        switch (s.reason) {
        case Frozen: out << DxfReader::tr("%n on frozen layer %1", nullptr, n).arg(s.name); break;
        case Off: out << DxfReader::tr("%n on switched-off layer %1", nullptr, n).arg(s.name); break;
        case Paper: out << DxfReader::tr("%n in paper space", nullptr, n); break;
        case Missing: out << DxfReader::tr("%n inserting undefined block %1", nullptr, n).arg(s.name); break;
        default: out << DxfReader::tr("%n degenerate, nothing to cut", nullptr, n); break;
        }
    }
    return out;
}

const DxfWalk::Named &DxfWalk::named(const char *layer)
{
    auto it = m_named.find(layer);
    if (it == m_named.end()) {
        const QString name = QString::fromUtf8(layer ? layer : "0");
        it = m_named.emplace(layer, Named{name, m_layers.value(name.toUpper())}).first;
    }
    return it->second;
}

bool DxfWalk::entity(dimeEntity *e, const Frame &frame)
{
    if (!m_budget.step() && outOfBudget())
        return false;
    if (e->getEntityFlags() & FLAG_PAPERSPACE) {
        skip(Paper);
        return true;
    }
    const Named *own = &named(e->getLayerName());
    const Named &layer = frame.depth > 0 && own->name == QLatin1String("0") ? *frame.layer : *own;
    const bool isInsert = std::strcmp(e->getEntityName(), "INSERT") == 0;
    // A switched-off layer hides the insert's layer-0 entities, not the
    // ones on layers of their own; a frozen one hides the whole insert.
    if (layer.layer.frozen || (layer.layer.off && !isInsert)) {
        skip(layer.layer.frozen ? Frozen : Off, layer.name);
        return true;
    }
    const QString colour = colourOf(e, layer.layer, frame);
    if (isInsert)
        return insert(static_cast<dimeInsert *>(e), frame, layer, colour);

    const PathSource source{0, colour, layer.name};
    if (source != m_source)
        m_doc.setSource(m_source = source);
    m_pen.setBlockMap(frame.map);
    const int before = m_doc.pathCount();
    QString why;
    const DxfDrawn drawn = dxfDrawEntity(m_pen, e, &why);
    if (outOfBudget())
        return false;
    if (drawn == DxfDrawn::Refused) {
        m_error = why;
        return false;
    }
    if (drawn == DxfDrawn::Cut && m_doc.pathCount() == before)
        skip(Degenerate);
    return true;
}

bool DxfWalk::insert(dimeInsert *ins, const Frame &frame, const Named &layer, const QString &colour)
{
    const dimeBlock *block = ins->getBlock();
    if (!block) {
        dimeParam p;
        const char *missing = ins->getRecord(2, p) && p.string_data ? p.string_data : "";
        skip(Missing, named(missing).name); // the name cache spares a string per cell
        return true;
    }
    const char *blockName = block->getName() ? block->getName() : "";
    if (strncasecmp(blockName, "*Paper_Space", 12) == 0) {
        skip(Paper);
        return true;
    }
    for (std::size_t i = 0; i < m_stack.size(); ++i) {
        if (m_stack[i] != block)
            continue;
        QStringList through;
        for (std::size_t j = i + 1; j < m_stack.size(); ++j)
            through << QString::fromUtf8(m_stack[j]->getName());
        const QString name = QString::fromUtf8(blockName);
        m_error = through.isEmpty() ? DxfReader::tr("block %1 inserts itself").arg(name)
                                    : DxfReader::tr("block %1 inserts itself through %2")
                                          .arg(name, through.join(QStringLiteral(", ")));
        return false;
    }
    if (frame.depth >= MaxDepth) {
        m_error = DxfReader::tr("blocks nest more than %1 deep (block %2)")
                      .arg(MaxDepth).arg(QString::fromUtf8(blockName));
        return false;
    }
    const int columns = std::max(1, int16Record(ins, 70, 1)), rows = std::max(1, int16Record(ins, 71, 1));
    // Every cell costs a step before any is drawn.
    if (!m_budget.step(qint64(columns) * rows) && outOfBudget())
        return false;
    DxfAffine ocs;
    const double nx = record(ins, 210, 0), ny = record(ins, 220, 0), nz = record(ins, 230, 1);
    if (!dxfObjectSystem(nx, ny, nz, ocs)) {
        m_error = DxfReader::tr("entity INSERT (handle %1) lies in a plane tilted out of the drawing "
                                "(extrusion %2, %3, %4)").arg(dxfHandle(ins)).arg(nx).arg(ny).arg(nz);
        return false;
    }
    const dimeVec3f &at = ins->getInsertionPoint(), &scale = ins->getScale(), &base = block->getBasePoint();
    const DxfAffine placed = frame.map * ocs * DxfAffine::translate(at[0], at[1])
                             * DxfAffine::rotate(double(ins->getRotAngle()) * M_PI / 180);
    const DxfAffine shaped = DxfAffine::scale(scale[0], scale[1]) * DxfAffine::translate(-base[0], -base[1]);
    const double columnStep = record(ins, 44, 0), rowStep = record(ins, 45, 0);
    m_stack.push_back(block);
    auto *b = const_cast<dimeBlock *>(block);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Frame inner{placed * DxfAffine::translate(c * columnStep, r * rowStep) * shaped, &layer, colour,
                              frame.depth + 1};
            for (int i = 0; i < b->getNumEntities(); ++i) {
                if (!entity(b->getEntity(i), inner)) {
                    m_stack.pop_back();
                    return false;
                }
            }
        }
    }
    m_stack.pop_back();
    return true;
}
