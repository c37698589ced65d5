// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DxfGeometry.h"

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>

#include <unordered_map>
#include <vector>

class dimeBlock;
class dimeEntity;
class dimeInsert;
class dimeModel;

// The walk over a DXF drawing's model space: each entity drawn with its
// source (layer, colour), each INSERT expanded into its block once per
// MINSERT cell (columns 70, rows 71, spacing 44/45, the grid turned with
// the insert but not scaled), blocks inside blocks with the transforms
// composed.
//
// Bounded: every entity visited in every insert instance is a step of the
// read's budget, and a MINSERT charges its cells before it expands any, so
// 538 bytes of 1000 x 1000 arrays nested three deep stop at once instead
// of running for hours. Blocks nest at most MaxDepth deep (CAD files use a
// handful); a block that inserts itself, directly or through others, is
// refused naming the blocks (libdime's own traversal recursed until the
// stack ran out).
//
// Left out and counted: paper space (group 67 = 1, *Paper_Space blocks),
// frozen layers (LAYER 70 bit 1), switched-off layers (negative colour),
// inserts of blocks the file does not define, and entities that come out
// degenerate (a circle of radius 0, a polyline of one point).
class DxfWalk
{
public:
    static constexpr int MaxDepth = 16;

    struct Layer {
        bool frozen = false;
        bool off = false;
        QString colour = QStringLiteral("#ffffff");
    };

    DxfWalk(PlotDocument &doc, ReadBudget &budget, double toleranceMm, const QHash<QString, Layer> &layers);

    // Draws the model space mapped by toMm (the unit scale); false with
    // error() on a refusal or when the budget runs out.
    bool run(dimeModel &model, const DxfAffine &toMm);
    QString error() const { return m_error; }
    int skipped() const { return m_skipped; }
    QStringList skippedSummary() const;

private:
    // What an entity inside an insert takes from it: its layer when the
    // entity is on layer 0, its colour when the entity's is BYBLOCK.
    struct Named {
        QString name;
        Layer layer;
    };
    struct Frame {
        DxfAffine map;
        const Named *layer;
        QString colour;
        int depth = 0;
    };
    struct Skipped {
        int reason;
        QString name;
        int count;
    };

    bool entity(dimeEntity *e, const Frame &frame);
    bool insert(dimeInsert *ins, const Frame &frame, const Named &layer, const QString &colour);
    const Named &named(const char *layer);
    QString colourOf(const dimeEntity *e, const Layer &layer, const Frame &frame) const;
    void skip(int reason, const QString &name = QString());
    bool outOfBudget();

    PlotDocument &m_doc;
    ReadBudget &m_budget;
    DxfPen m_pen;
    const QHash<QString, Layer> &m_layers;
    std::vector<const dimeBlock *> m_stack;
    // Inserts repeat entities millions of times: nothing per visit may
    // allocate, so layers are looked up once per libdime layer name (its
    // pointer; frames keep pointers to these, which unordered_map keeps
    // in place) and sources set only when they change.
    std::unordered_map<const char *, Named> m_named;
    Named m_modelLayer;
    PathSource m_source;
    QString m_error;
    int m_skipped = 0;
    std::vector<Skipped> m_skips; // first seen first
    QHash<QPair<int, QString>, std::size_t> m_skipIndex;
};
