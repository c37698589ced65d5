// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QWidget>

class QFormLayout;

// The design options as a form, one field per row of PlotOptionTable (a
// check box for a switch, a text field for a value), so vxstudio offers
// exactly what `vxcut cut` takes. A value the row refuses is marked on its
// field with the row's reason and changes nothing: the options stay the
// last valid ones. Fields are named "option-<flag>". The tool rules are
// not here (ToolsPanel): options() never has any.
class PlotOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit PlotOptionsPanel(QWidget *parent = nullptr);

    const PlotOptions &options() const { return m_options; }
    // Why the fields do not add up to options, empty when they do.
    QString error() const { return m_error; }

signals:
    void optionsChanged(const PlotOptions &options);

private:
    void rebuild();

    PlotOptions m_options;
    QString m_error;
};
