// SPDX-License-Identifier: LGPL-2.1-or-later
// JobPanel: the design, from a file to the view, the facts and the tools.
#include "JobPanel.h"

#include "DesignLoader.h"
#include "DesignView.h"
#include "DeviceSession.h"
#include "PlotOptionsPanel.h"
#include "ToolsPanel.h"
#include "WorkArea.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>

bool JobPanel::loadPlot(const QString &fileName, QString *error)
{
    if (m_running) {
        if (error)
            *error = tr("A job is under way.");
        return false;
    }
    // A load under way would replace this one when it ends.
    m_loader->abandon();
    showLoading();
    DesignLoad load = DesignLoader::loadNow(fileName, m_options->options());
    if (!load.ok) {
        if (error)
            *error = load.error;
        return false;
    }
    showPlot(load, true);
    return true;
}

void JobPanel::openPlotFile(const QString &fileName)
{
    startLoad(fileName, true);
}

bool JobPanel::isLoading() const
{
    return m_loader->isBusy();
}

void JobPanel::cancelLoad()
{
    if (!isLoading())
        return;
    // The reader stops within a budget step; planning stops between its
    // stages, which on a design of millions of paths takes seconds.
    m_loader->cancel();
    m_loading->setText(tr("Cancelling…"));
    m_cancelLoad->setEnabled(false);
}

void JobPanel::startLoad(const QString &path, bool fresh)
{
    if (m_running) {
        emit logMessage(tr("Cannot open the plot: %1").arg(tr("A job is under way.")));
        return;
    }
    PlotOptions options = m_options->options();
    // A new file is read with the reader's tools: they are the defaults
    // the tools panel offers.
    if (!fresh)
        options.tools = m_tools->toolMap();
    m_loadFresh = fresh;
    m_loader->start(path, options);
    showLoading();
}

void JobPanel::replan()
{
    // A file still being read is read again with the new options, not
    // replaced by the one shown.
    if (isLoading())
        startLoad(m_loader->path(), m_loadFresh);
    else if (hasPlot())
        startLoad(m_job.path, false);
}

void JobPanel::onLoaded()
{
    showLoading();
    DesignLoad &load = m_loader->result();
    if (load.cancelled) {
        emit logMessage(tr("%1: loading cancelled.").arg(QFileInfo(load.path).fileName()));
    } else if (!load.ok) {
        // Shown where the operator looks, not only in the log: the view
        // would otherwise go on saying nothing is loaded, or show the last
        // design as if the new file were it.
        const QString text = (m_loadFresh ? tr("Cannot open the plot: %1") : tr("Cannot plan the plot: %1")).arg(load.error);
        m_preview->setNotice(text);
        emit logMessage(text);
    } else {
        showPlot(load, m_loadFresh);
    }
    load = DesignLoad();
}

void JobPanel::showLoading()
{
    const bool busy = isLoading();
    m_loading->setText(busy ? tr("Loading %1…").arg(QFileInfo(m_loader->path()).fileName()) : QString());
    m_loading->setVisible(busy);
    m_cancelLoad->setVisible(busy);
    m_cancelLoad->setEnabled(busy);
    setRunning(m_running);
}

void JobPanel::showPlot(DesignLoad &load, bool fresh)
{
    m_job = std::move(load.job);
    if (fresh)
        m_tools->setDesign(load.plan.design);
    m_preview->setDesign(std::move(load.plan.design));
    m_file->setText(m_job.fileName);
    m_file->setToolTip(m_job.path);
    const QLocale locale;
    m_size->setText(tr("%1 × %2 mm").arg(locale.toString(m_job.widthMm, 'f', 1), locale.toString(m_job.heightMm, 'f', 1)));
    m_length->setText(tr("%1 mm").arg(locale.toString(m_job.pathMm, 'f', 1)));
    m_length->setToolTip(m_job.toolSummary());
    m_progress->setValue(0);
    m_done->clear();
    setRunning(m_running);
    emit logMessage(tr("Plot %1 loaded: %2, cut length %3.")
                    .arg(m_job.fileName, m_size->text(), m_length->text()));
}

void JobPanel::showWorkArea()
{
    // The machine reports it once its settings are read; Start follows.
    const WorkArea area = WorkArea::of(m_session ? m_session->device() : nullptr);
    m_preview->setWorkArea(QSizeF(area.width, area.height));
    setRunning(m_running);
}

void JobPanel::openPlot()
{
    const QString fileName = QFileDialog::getOpenFileName(
            this, tr("Open plot"), QString(), tr("Designs (*.plt *.hpgl *.hpg *.hgl *.svg *.svgz *.dxf);;HP-GL (*.plt *.hpgl *.hpg *.hgl);;"
               "SVG (*.svg *.svgz);;DXF (*.dxf);;All files (*)"));
    if (!fileName.isEmpty())
        openPlotFile(fileName);
}
