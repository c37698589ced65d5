// SPDX-License-Identifier: LGPL-2.1-or-later
// JobPanel: its widgets, arranged to share a laptop screen with the design.
#include "JobPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

void JobPanel::buildLayout()
{
    m_file = new QLabel(tr("No plot loaded"), this);
    m_file->setObjectName(QStringLiteral("plotFile"));
    m_file->setWordWrap(true);
    m_size = new QLabel(QStringLiteral("–"), this);
    m_size->setObjectName(QStringLiteral("plotSize"));
    m_length = new QLabel(QStringLiteral("–"), this);
    m_length->setObjectName(QStringLiteral("plotLength"));
    auto *facts = new QGridLayout;
    facts->addWidget(new QLabel(tr("File"), this), 0, 0);
    facts->addWidget(m_file, 0, 1);
    facts->addWidget(new QLabel(tr("Size"), this), 1, 0);
    facts->addWidget(m_size, 1, 1);
    facts->addWidget(new QLabel(tr("Cut length"), this), 2, 0);
    facts->addWidget(m_length, 2, 1);
    facts->setColumnStretch(1, 1);

    m_open = new QPushButton(tr("Open plot…"), this);
    m_open->setObjectName(QStringLiteral("openPlot"));
    m_copies = new QSpinBox(this);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 9999);
    m_copies->setPrefix(tr("Copies: "));
    m_loading = new QLabel(this);
    m_loading->setObjectName(QStringLiteral("plotLoading"));
    m_cancelLoad = new QPushButton(tr("Cancel"), this);
    m_cancelLoad->setObjectName(QStringLiteral("cancelLoad"));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_open);
    fileRow->addWidget(m_copies);
    fileRow->addStretch(1);
    auto *loadRow = new QHBoxLayout;
    loadRow->addWidget(m_loading, 1);
    loadRow->addWidget(m_cancelLoad);

    m_start = new QPushButton(tr("Start"), this);
    m_start->setObjectName(QStringLiteral("startJob"));
    m_pause = new QPushButton(tr("Pause"), this);
    m_pause->setObjectName(QStringLiteral("pauseJob"));
    m_resume = new QPushButton(tr("Resume"), this);
    m_resume->setObjectName(QStringLiteral("resumeJob"));
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName(QStringLiteral("stopJob"));
    m_resumeLast = new QPushButton(tr("Resume interrupted…"), this);
    m_resumeLast->setObjectName(QStringLiteral("resumeInterrupted"));
    m_resumeLast->setToolTip(tr("Cut what is left of the last job whose link dropped"));
    m_fit = new QLabel(this);
    m_fit->setObjectName(QStringLiteral("startBlocked"));
    m_fit->setWordWrap(true);
    m_fit->setStyleSheet(QStringLiteral("color: #c00000"));
    // Two rows: the panel shares a laptop screen with the design.
    auto *controls = new QGridLayout;
    controls->addWidget(m_start, 0, 0);
    controls->addWidget(m_stop, 0, 1);
    controls->addWidget(m_pause, 1, 0);
    controls->addWidget(m_resume, 1, 1);
    controls->addWidget(m_resumeLast, 2, 0, 1, 2);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("jobProgress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_done = new QLabel(this);
    m_done->setObjectName(QStringLiteral("copiesDone"));
    m_remaining = new QLabel(this);
    m_remaining->setObjectName(QStringLiteral("timeLeft"));
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_done);
    progressRow->addWidget(m_remaining);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(facts);
    layout->addLayout(fileRow);
    layout->addLayout(loadRow);
    layout->addLayout(controls);
    layout->addWidget(m_fit);
    layout->addLayout(progressRow);
    layout->addStretch(1);
}
