// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ToolsPanel.h"

#include "PlotDocument.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSet>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// What sources are told apart by: the finest the file names. A file with
// layers is drawn by layer whatever its colours; HP-GL has only pens.
enum class By { Layer, Colour, Pen };

// A window of thousands of choosers helps no one (a DXF may carry 4096
// layers); the rest keep the reader's tool and vxcut --tool can name them.
constexpr int MaxRows = 64;

By groupBy(const PlotDocument &design)
{
    bool colour = false;
    for (int i = 0; i < design.sourceCount(); ++i) {
        if (!design.source(i).layer.isEmpty())
            return By::Layer;
        colour = colour || !design.source(i).colour.isEmpty();
    }
    return colour ? By::Colour : By::Pen;
}

QString keyOf(const PathSource &s, By by)
{
    switch (by) {
    case By::Layer: return s.layer;
    case By::Colour: return s.colour;
    case By::Pen: break;
    }
    return QString::number(s.pen);
}

// A layer called "0" (every DXF has one) or "#ff0000" reads as a pen or a
// colour in a rule, and "0" would take every pen-less path with it: such a
// source cannot be given a tool by name.
bool nameable(const QString &key, By by)
{
    ToolMap probe;
    if (key.isEmpty() || !probe.add(key + QStringLiteral("=1"), nullptr))
        return false;
    const ToolMap::Rule::Kind kind = probe.rules().front().kind;
    return by == By::Layer ? kind == ToolMap::Rule::Layer
                           : kind == (by == By::Colour ? ToolMap::Rule::Colour : ToolMap::Rule::Pen);
}

QString labelOf(const QString &key, By by)
{
    switch (by) {
    case By::Layer: return key.isEmpty() ? ToolsPanel::tr("(no layer)") : key;
    case By::Colour: return key.isEmpty() ? ToolsPanel::tr("(no colour)") : key;
    case By::Pen: break;
    }
    // Pen 0: a file of another format with neither layers nor colours.
    return key == QLatin1String("0") ? ToolsPanel::tr("(no pen)") : ToolsPanel::tr("Pen %1").arg(key);
}

} // namespace

ToolsPanel::ToolsPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QGroupBox(tr("Tools"), this);
    m_form = new QFormLayout(box);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);
    setDesign(PlotDocument());
}

void ToolsPanel::setDesign(const PlotDocument &design)
{
    while (m_form->rowCount() > 0)
        m_form->removeRow(0);
    m_sources.clear();

    const By by = groupBy(design);
    // The tool of a source's first path is the reader's choice for it: the
    // design comes before any rule.
    QSet<QString> seen;
    for (int i = 0; i < design.pathCount(); ++i) {
        const QString key = keyOf(design.sourceOf(i), by);
        if (!seen.contains(key)) {
            seen.insert(key);
            m_sources.push_back(Source{key, design.toolOf(i), nameable(key, by), nullptr});
        }
    }
    std::sort(m_sources.begin(), m_sources.end(), [by](const Source &a, const Source &b) {
        return by == By::Pen ? a.selector.toInt() < b.selector.toInt() : a.selector < b.selector;
    });
    if (m_sources.size() > std::size_t(MaxRows)) {
        const int more = int(m_sources.size()) - MaxRows;
        m_sources.resize(std::size_t(MaxRows));
        m_form->addRow(new QLabel(tr("%n more sources keep the reader's tool.", nullptr, more), this));
    }
    for (Source &s : m_sources) {
        s.chooser = new QComboBox(this);
        s.chooser->setObjectName(QStringLiteral("toolFor-") + s.selector);
        s.chooser->addItems({tr("Tool 1"), tr("Tool 2")});
        s.chooser->setCurrentIndex(s.defaultTool - 1);
        if (!s.nameable) {
            s.chooser->setEnabled(false);
            s.chooser->setToolTip(tr("A rule cannot name this source: it keeps the reader's tool."));
        }
        connect(s.chooser, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ToolsPanel::toolsChanged);
        auto *label = new QLabel(labelOf(s.selector, by), this);
        label->setTextFormat(Qt::PlainText);
        if (by == By::Colour && s.nameable) {
            // The colour itself beside its code: "#c00000" is not how people see it.
            label->setTextFormat(Qt::RichText);
            label->setText(QStringLiteral("<span style=\"background:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> %1").arg(s.selector));
        }
        m_form->addRow(label, s.chooser);
    }
    if (m_sources.empty()) {
        auto *none = new QLabel(tr("No design"), this);
        none->setEnabled(false);
        m_form->addRow(none);
    }
}

ToolMap ToolsPanel::toolMap() const
{
    ToolMap map;
    for (const Source &s : m_sources) {
        const int tool = s.chooser->currentIndex() + 1;
        if (tool != s.defaultTool && s.nameable)
            map.add(s.selector + QLatin1Char('=') + QString::number(tool), nullptr);
    }
    return map;
}
