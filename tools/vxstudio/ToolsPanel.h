// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ToolMap.h"

#include <QWidget>

#include <vector>

class PlotDocument;
class QComboBox;
class QFormLayout;

// The open design's sources, each with the tool that cuts it: its layers,
// else its colours, else its HP-GL pens (what a file marks a crease or a
// kiss-cut by). Each chooser starts at the reader's choice, and a source
// set otherwise becomes one ToolMap rule, spelled as `vxcut --tool` takes
// it. Choosers are named "toolFor-<selector>".
class ToolsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ToolsPanel(QWidget *parent = nullptr);

    // A design as read, before any rule: its tools are the defaults.
    void setDesign(const PlotDocument &design);
    int sourceCount() const { return int(m_sources.size()); }
    ToolMap toolMap() const;

signals:
    void toolsChanged();

private:
    struct Source {
        QString selector;   // as a rule names it
        int defaultTool = 1;
        bool nameable = false;
        QComboBox *chooser = nullptr;
    };

    QFormLayout *m_form = nullptr;
    std::vector<Source> m_sources;
};
