// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ProductionPanel.h"

#include "DeviceSession.h"
#include "PlotOptionsPanel.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int PreviewSide = 200;
}

ProductionPanel::ProductionPanel(DeviceSession *session, QWidget *parent)
    : QWidget(parent), m_session(session)
{
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("productionSource"));
    m_path->setReadOnly(true);
    m_path->setPlaceholderText(tr("Folder of designs named by code, or a map file"));
    m_folder = new QPushButton(tr("Folder…"), this);
    m_folder->setObjectName(QStringLiteral("chooseFolder"));
    m_map = new QPushButton(tr("Map file…"), this);
    m_map->setObjectName(QStringLiteral("chooseMap"));
    auto *sourceRow = new QHBoxLayout;
    sourceRow->addWidget(m_path, 1);
    sourceRow->addWidget(m_folder);
    sourceRow->addWidget(m_map);

    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("sheetCount"));
    m_count->setRange(0, 1000000);
    m_count->setSpecialValueText(tr("until the stack ends"));
    m_count->setPrefix(tr("Sheets: "));
    m_start = new QPushButton(tr("Start production"), this);
    m_start->setObjectName(QStringLiteral("startProduction"));
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName(QStringLiteral("stopProduction"));
    auto *controlRow = new QHBoxLayout;
    controlRow->addWidget(m_count);
    controlRow->addStretch(1);
    controlRow->addWidget(m_start);
    controlRow->addWidget(m_stop);

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("sheetPreview"));
    m_preview->setFixedSize(PreviewSide, PreviewSide);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::StyledPanel);
    m_current = new QLabel(tr("No sheet yet"), this);
    m_current->setObjectName(QStringLiteral("currentSheet"));
    m_current->setWordWrap(true);
    m_percent = new QProgressBar(this);
    m_percent->setObjectName(QStringLiteral("sheetPercent"));
    m_percent->setRange(0, 100);
    m_tally = new QLabel(this);
    m_tally->setObjectName(QStringLiteral("sheetTally"));
    auto *currentBox = new QVBoxLayout;
    currentBox->addWidget(m_current);
    currentBox->addWidget(m_percent);
    currentBox->addWidget(m_tally);
    currentBox->addStretch(1);
    auto *currentRow = new QHBoxLayout;
    currentRow->addWidget(m_preview);
    currentRow->addLayout(currentBox, 1);

    m_sheets = new QTableWidget(0, 4, this);
    m_sheets->setObjectName(QStringLiteral("sheetList"));
    m_sheets->setHorizontalHeaderLabels({tr("Sheet"), tr("Code"), tr("Design"), tr("Outcome")});
    // The dock is narrow: the columns share its width rather than scroll
    // the outcome out of sight.
    m_sheets->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_sheets->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_sheets->verticalHeader()->hide();
    m_sheets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sheets->setSelectionBehavior(QAbstractItemView::SelectRows);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addLayout(controlRow);
    layout->addLayout(currentRow);
    layout->addWidget(m_sheets, 1);

    connect(m_folder, &QPushButton::clicked, this, &ProductionPanel::chooseFolder);
    connect(m_map, &QPushButton::clicked, this, &ProductionPanel::chooseMap);
    connect(m_start, &QPushButton::clicked, this, &ProductionPanel::start);
    connect(m_stop, &QPushButton::clicked, this, &ProductionPanel::stop);
    if (m_session)
        connect(m_session, &DeviceSession::linkUpChanged, this, &ProductionPanel::updateButtons);
    updateButtons();
}

ProductionPanel::~ProductionPanel()
{
    // A run still going is stopped on the machine, if the session is still there.
    if (m_session && m_run && m_run->isRunning())
        m_run->stop();
}

bool ProductionPanel::setSource(const QString &path, QStringList *errors)
{
    DesignSource source;
    if (!source.open(path)) {
        if (errors)
            *errors = source.errors();
        for (const QString &e : source.errors())
            emit logMessage(e);
        m_path->clear();
        m_source = DesignSource();
        updateButtons();
        return false;
    }
    m_source = source;
    m_path->setText(source.describe());
    emit logMessage(tr("Production designs: %1").arg(source.describe()));
    updateButtons();
    return true;
}

void ProductionPanel::setCount(int count)
{
    m_count->setValue(count);
}

void ProductionPanel::chooseFolder()
{
    const QString dir = QFileDialog::getExistingDirectory(this, tr("Folder of designs named by code"));
    if (!dir.isEmpty())
        setSource(dir);
}

void ProductionPanel::chooseMap()
{
    const QString file = QFileDialog::getOpenFileName(this, tr("Map file (CODE = path lines)"));
    if (!file.isEmpty())
        setSource(file);
}

void ProductionPanel::start()
{
    if (!m_session || isRunning() || m_source.path().isEmpty())
        return;
    // A map may have changed on disk since it was chosen: checked whole again.
    if (!m_source.isFolder() && !setSource(m_source.path()))
        return;
    delete m_run;
    m_run = new SheetRun(*m_session, this);
    m_run->setSource(m_source);
    m_run->setCount(m_count->value());
    m_run->setJournal(&m_journal);
    if (m_options)
        m_run->setOptions(m_options->options());
    m_run->setPreviewSize(QSize(PreviewSide, PreviewSide));
    m_run->setReconnect(true);
    connect(m_run, &SheetRun::reconnecting, this, [this](int attempt) {
        m_current->setText(tr("Link lost: reconnecting (attempt %1)").arg(QLocale().toString(attempt)));
    });
    connect(m_run, &SheetRun::reconnected, this, [this] { emit logMessage(tr("Link back: production goes on")); });
    connect(m_run, &SheetRun::sheetStarted, this, &ProductionPanel::showCurrent);
    connect(m_run, &SheetRun::sheetProgress, this, [this](const SheetRun::Sheet &s) { m_percent->setValue(s.percent); });
    connect(m_run, &SheetRun::sheetDone, this, [this](const SheetRun::Sheet &s) {
        addRow(s);
        if (s.outcome == SheetRun::Outcome::Finished)
            m_percent->setValue(100);
    });
    connect(m_run, &SheetRun::warning, this, &ProductionPanel::logMessage);
    connect(m_run, &SheetRun::ended, this, [this](SheetRun::End end) {
        const Failure f = m_run->failure();
        emit logMessage(f ? f.message
                          : tr("Production ended: %1 sheets cut, %2 skipped, %3 failed")
                                .arg(QLocale().toString(m_run->finished()), QLocale().toString(m_run->skipped()),
                                     QLocale().toString(m_run->failed())));
        updateButtons();
        emit runEnded(end);
    });
    m_sheets->setRowCount(0);
    m_preview->clear();
    m_percent->setValue(0);
    m_current->setText(tr("Waiting for the first sheet"));
    if (!m_run->start()) {
        emit logMessage(tr("The production could not start: the machine is not connected."));
        return;
    }
    emit logMessage(tr("Production started: %1").arg(m_source.describe()));
    updateButtons();
}

void ProductionPanel::stop()
{
    if (isRunning())
        m_run->stop();
}

void ProductionPanel::showCurrent(const SheetRun::Sheet &sheet)
{
    const QString code = sheet.code.isEmpty() ? tr("(unreadable)") : sheet.code;
    const QString index = QLocale().toString(sheet.index);
    m_current->setText(sheet.design.isEmpty() ? tr("Sheet %1: %2").arg(index, code)
                                              : tr("Sheet %1: %2 — %3").arg(index, code, sheet.design));
    m_percent->setValue(0);
    const auto design = m_run ? m_run->currentDesign() : nullptr;
    if (design && !design->preview.isNull())
        m_preview->setPixmap(QPixmap::fromImage(design->preview));
    else
        m_preview->setText(sheet.reason.isEmpty() ? QString() : tr("not cut"));
}

void ProductionPanel::addRow(const SheetRun::Sheet &sheet)
{
    if (m_sheets->rowCount() >= MaxRows)
        m_sheets->removeRow(0);
    const int row = m_sheets->rowCount();
    m_sheets->insertRow(row);
    const QStringList cells{QLocale().toString(sheet.index), sheet.code.isEmpty() ? tr("(unreadable)") : sheet.code,
                            sheet.design.isEmpty() ? QStringLiteral("–") : sheet.design, outcomeText(sheet)};
    for (int c = 0; c < cells.size(); ++c)
        m_sheets->setItem(row, c, new QTableWidgetItem(cells.at(c)));
    m_sheets->scrollToBottom();
    if (m_run)
        m_tally->setText(tr("%1 cut, %2 skipped, %3 failed")
                             .arg(QLocale().toString(m_run->finished()), QLocale().toString(m_run->skipped()),
                                  QLocale().toString(m_run->failed())));
}

QString ProductionPanel::outcomeText(const SheetRun::Sheet &sheet)
{
    const QString word = SheetRun::outcomeText(sheet.outcome);
    return sheet.reason.isEmpty() ? word : tr("%1: %2").arg(word, sheet.reason);
}

void ProductionPanel::updateButtons()
{
    const bool running = isRunning();
    const bool up = m_session && m_session->linkUp();
    m_start->setEnabled(!running && up && !m_source.path().isEmpty());
    m_stop->setEnabled(running);
    m_folder->setEnabled(!running);
    m_map->setEnabled(!running);
    m_count->setEnabled(!running);
}
