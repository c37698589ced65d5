// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestPanel.h"

#include "DesignView.h"
#include "DeviceSession.h"
#include "NestRun.h"
#include "RecordValue.h"
#include "WorkArea.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Column { FileColumn, QuantityColumn, RotationsColumn };
constexpr int ProgressSteps = 1000;

QDoubleSpinBox *millimetres(QWidget *parent, const char *name, double high, double value)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(0, high);
    box->setDecimals(1);
    box->setValue(value);
    box->setSuffix(NestPanel::tr(" mm"));
    return box;
}

QString percent(double fraction)
{
    return QLocale().toString(fraction * 100, 'f', 1);
}
} // namespace

NestPanel::NestPanel(DeviceSession *session, QWidget *parent)
    : QWidget(parent), m_session(session), m_search(new NestSearchRun(this))
{
    m_run = new QPushButton(tr("Run"), this);
    m_run->setObjectName(QStringLiteral("runNest"));
    m_stop = new QPushButton(tr("Stop"), this);
    m_stop->setObjectName(QStringLiteral("stopNest"));
    m_cutButton = new QPushButton(tr("Cut"), this);
    m_cutButton->setObjectName(QStringLiteral("cutNest"));
    auto *controlRow = new QHBoxLayout;
    controlRow->addWidget(m_run);
    controlRow->addWidget(m_stop);
    controlRow->addStretch(1);
    controlRow->addWidget(m_cutButton);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("nestProgress"));
    m_progress->setRange(0, ProgressSteps);
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("nestStatus"));
    m_status->setWordWrap(true);
    m_result = new QLabel(tr("No nest yet"), this);
    m_result->setObjectName(QStringLiteral("nestResult"));
    m_result->setWordWrap(true);
    m_sheet = new QSpinBox(this);
    m_sheet->setObjectName(QStringLiteral("nestSheet"));
    m_sheet->setPrefix(tr("Sheet "));
    m_sheet->setVisible(false);
    m_view = new DesignView(this);
    m_view->setObjectName(QStringLiteral("nestView"));
    m_view->setMinimumHeight(240);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(buildParts(), 1);
    layout->addWidget(buildMaterial());
    layout->addLayout(controlRow);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addWidget(m_result);
    layout->addWidget(m_sheet);
    layout->addWidget(m_view, 2);

    connect(m_run, &QPushButton::clicked, this, &NestPanel::run);
    connect(m_stop, &QPushButton::clicked, this, &NestPanel::stop);
    connect(m_cutButton, &QPushButton::clicked, this, &NestPanel::cut);
    connect(m_search, &NestSearchRun::progress, this, &NestPanel::onProgress);
    connect(m_search, &NestSearchRun::finished, this, &NestPanel::onSearched);
    connect(m_sheet, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int k) { showSheet(k - 1); });
    if (m_session)
        connect(m_session, &DeviceSession::linkUpChanged, this, &NestPanel::updateButtons);
    updateButtons();
}

NestPanel::~NestPanel()
{
    // A nest still cutting is stopped on the machine, if the session is still there.
    if (m_session && isCutting())
        m_cut->stop();
}

QWidget *NestPanel::buildParts()
{
    auto *box = new QWidget(this);
    m_table = new QTableWidget(0, 3, box);
    m_table->setObjectName(QStringLiteral("nestParts"));
    m_table->setHorizontalHeaderLabels({tr("File"), tr("Quantity"), tr("Rotations")});
    m_table->horizontalHeaderItem(RotationsColumn)
        ->setToolTip(tr("Allowed turns: 0,90,180,270 when empty; any:STEP for every STEP degrees"));
    m_table->horizontalHeader()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setMinimumHeight(100);
    m_add = new QPushButton(tr("Add parts…"), box);
    m_add->setObjectName(QStringLiteral("addNestParts"));
    m_remove = new QPushButton(tr("Remove"), box);
    m_remove->setObjectName(QStringLiteral("removeNestPart"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &NestPanel::chooseParts);
    connect(m_remove, &QPushButton::clicked, this, &NestPanel::removePart);
    return box;
}

QWidget *NestPanel::buildMaterial()
{
    auto *box = new QWidget(this);
    m_material = new QComboBox(box);
    m_material->setObjectName(QStringLiteral("nestMaterial"));
    m_material->addItems({tr("Strip (the belt)"), tr("Sheets")});
    // 0: the work area's width, read when Run is pressed, so a machine
    // connected after the panel was filled still gives it.
    m_width = millimetres(box, "nestWidth", 1e5, 0);
    m_width->setSpecialValueText(tr("work-area width"));
    m_length = millimetres(box, "nestSheetLength", 1e5, 0);
    m_length->setEnabled(false);
    m_gap = millimetres(box, "nestGap", 1000, 2);
    m_time = new QDoubleSpinBox(box);
    m_time->setObjectName(QStringLiteral("nestTime"));
    m_time->setRange(0, 86400);
    m_time->setDecimals(1);
    m_time->setValue(10);
    m_time->setSuffix(tr(" s"));
    m_mirror = new QCheckBox(tr("Parts may be mirrored"), box);
    m_mirror->setObjectName(QStringLiteral("nestMirror"));
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("Material"), m_material);
    form->addRow(tr("Width"), m_width);
    form->addRow(tr("Sheet length"), m_length);
    form->addRow(tr("Gap"), m_gap);
    form->addRow(tr("Search time"), m_time);
    form->addRow(m_mirror);
    connect(m_material, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int k) { m_length->setEnabled(k == 1); });
    return box;
}

void NestPanel::addPart(const QString &file, int quantity, const QString &rotations)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    auto *name = new QTableWidgetItem(QFileInfo(file).fileName());
    name->setData(Qt::UserRole, file);
    name->setToolTip(file);
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    m_table->setItem(row, FileColumn, name);
    auto *count = new QSpinBox(m_table);
    count->setRange(1, PartList::MaxQuantity);
    count->setValue(qBound(1, quantity, PartList::MaxQuantity));
    m_table->setCellWidget(row, QuantityColumn, count);
    m_table->setItem(row, RotationsColumn, new QTableWidgetItem(rotations));
    updateButtons();
}

int NestPanel::partCount() const
{
    return m_table->rowCount();
}

void NestPanel::chooseParts()
{
    const QStringList files = QFileDialog::getOpenFileNames(this, tr("Part files"), QString(),
                                                            tr("Designs (*.plt *.hpgl *.svg *.svgz *.dxf);;All files (*)"));
    for (const QString &file : files)
        addPart(file);
}

void NestPanel::removePart()
{
    if (m_table->currentRow() >= 0)
        m_table->removeRow(m_table->currentRow());
    updateButtons();
}

bool NestPanel::isSearching() const
{
    return m_areaRead || m_search->isBusy();
}

bool NestPanel::isCutting() const
{
    return m_read || (m_cut && m_cut->isRunning());
}

bool NestPanel::makeJob(NestSearchJob &job, QString &why) const
{
    for (int row = 0; row < m_table->rowCount(); ++row) {
        PartRequest part;
        part.file = m_table->item(row, FileColumn)->data(Qt::UserRole).toString();
        part.quantity = static_cast<QSpinBox *>(m_table->cellWidget(row, QuantityColumn))->value();
        part.rotations = m_table->item(row, RotationsColumn)->text().trimmed();
        part.where = m_table->item(row, FileColumn)->text();
        job.files.push_back(part);
    }
    job.plot = m_options ? m_options->options() : PlotOptions();
    job.defaults.orientations.setMirror(m_mirror->isChecked());
    NestRequest &request = job.request;
    const bool sheets = m_material->currentIndex() == 1;
    request.width = m_width->value();
    request.sheetLength = sheets ? m_length->value() : 0;
    request.gap = m_gap->value();
    request.seconds = m_time->value();
    if (sheets && (request.width <= 0 || request.sheetLength <= 0)) {
        why = tr("Give the sheet's width and length.");
        return false;
    }
    if (request.width <= 0) {
        const WorkArea area = WorkArea::of(m_session ? m_session->device() : nullptr);
        // The pieces start at the margin, so the strip is what lies beyond it.
        request.width = area.width - qMax(0.0, job.plot.placement.margin);
        if (!area.known() || request.width <= 0) {
            why = tr("Give the strip width: the machine's work area is not known.");
            return false;
        }
    }
    return true;
}

void NestPanel::run()
{
    if (isSearching() || isCutting() || m_table->rowCount() == 0)
        return;
    // A device object made since the settings were read (a reconnect) does
    // not know its work area yet: asked for, not refused.
    const bool onWorkArea = m_material->currentIndex() == 0 && m_width->value() <= 0;
    if (onWorkArea && m_session && m_session->linkUp() && !WorkArea::of(m_session->device()).known()) {
        m_areaRead = m_session->query(WorkArea::keys());
        connect(m_areaRead, &DeviceQuery::done, this, &NestPanel::startSearch);
        say(tr("Reading the work area…"));
        updateButtons();
        return;
    }
    startSearch();
}

void NestPanel::startSearch()
{
    m_areaRead = nullptr;
    NestSearchJob job;
    QString why;
    if (!makeJob(job, why)) {
        say(why);
        updateButtons();
        return;
    }
    m_seconds = job.request.seconds;
    m_progress->setValue(0);
    say(tr("Reading the parts…"));
    m_search->start(job);
    updateButtons();
}

void NestPanel::stop()
{
    // A read under way is left to end on its own, unheeded.
    for (QPointer<DeviceQuery> *read : {&m_areaRead, &m_read}) {
        if (*read) {
            (*read)->disconnect(this);
            *read = nullptr;
            say(tr("Stopped."));
        }
    }
    if (m_search->isBusy())
        m_search->stop();
    else if (m_cut && m_cut->isRunning())
        m_cut->stop();
    updateButtons();
}

void NestPanel::onProgress(const NestProgress &p)
{
    const QLocale locale;
    if (m_seconds > 0)
        m_progress->setValue(qBound(0, int(p.seconds / m_seconds * ProgressSteps), ProgressSteps));
    m_status->setText(tr("Searching: %1 layouts, best %2 mm, %3% used")
                          .arg(locale.toString(p.evaluations), locale.toString(p.length, 'f', 1), percent(p.utilisation)));
}

void NestPanel::onSearched()
{
    NestSearchResult &r = m_search->result();
    m_progress->setValue(ProgressSteps);
    if (!r.ok) {
        // What was shown stays: a refused or stopped search replaces nothing.
        say(r.cancelled ? tr("Stopped before the first layout.") : r.error);
        updateButtons();
        return;
    }
    m_parts = std::move(r.parts);
    m_layout = std::move(r.layout);
    const QLocale locale;
    int pieces = 0;
    for (int n : m_layout.requested)
        pieces += n;
    const QString where = m_layout.sheetLength > 0
            ? tr("%1 sheet(s) of %2 x %3 mm").arg(locale.toString(m_layout.sheets), locale.toString(m_layout.width),
                                                 locale.toString(m_layout.sheetLength))
            : tr("%1 mm along a %2 mm wide strip").arg(locale.toString(m_layout.length, 'f', 1), locale.toString(m_layout.width));
    m_result->setText(tr("%1 of %2 pieces placed on %3; utilisation %4%")
                          .arg(locale.toString(pieces - m_layout.unplaced()), locale.toString(pieces), where,
                               percent(m_layout.utilisation())));
    say(m_layout.cancelled ? tr("Stopped: the best layout found so far is kept.")
                           : tr("%1 layouts in %2 s").arg(locale.toString(m_layout.evaluations),
                                                          locale.toString(m_layout.seconds, 'f', 1)));
    const bool sheets = m_layout.sheetLength > 0 && m_layout.sheets > 1;
    m_sheet->setVisible(sheets);
    m_sheet->setRange(1, qMax(1, m_layout.sheets));
    m_sheet->setSuffix(tr(" of %1").arg(locale.toString(m_layout.sheets)));
    m_sheet->setValue(1);
    showSheet(0);
    updateButtons();
}

void NestPanel::showSheet(int sheet)
{
    // The material is the view's outline: the strip as long as the nest, or a sheet.
    const bool sheets = m_layout.sheetLength > 0;
    m_view->setDesign(m_layout.document(m_parts, sheets ? sheet : -1));
    m_view->setWorkArea(QSizeF(m_layout.width, sheets ? m_layout.sheetLength : m_layout.length));
    m_view->fit();
}

void NestPanel::cut()
{
    if (!m_session || !m_session->linkUp() || !hasNest() || isSearching() || isCutting())
        return;
    // The windows are sized by what the machine says now, not what it said at connecting.
    m_read = m_session->query(WorkArea::keys() << QStringLiteral("FEED_LENGTH"));
    connect(m_read, &DeviceQuery::done, this, &NestPanel::startCut);
    say(tr("Reading the work area and the feed…"));
    updateButtons();
}

void NestPanel::startCut()
{
    m_read = nullptr;
    VXDeviceProperty *feed = m_session ? m_session->record(QStringLiteral("FEED_LENGTH")) : nullptr;
    NestCut nest;
    Failure made = feed ? NestCut::make(m_layout, m_parts, m_options ? m_options->options() : PlotOptions(),
                                        WorkArea::of(m_session->device()), EditorSpec::of(feed), &nest)
                        : Failure{Failure::Other, tr("The machine has no automatic feed (FEED_LENGTH).")};
    // Saved next to the journal, so a resume can cut the windows not cut.
    if (!made)
        made = nest.save(NestCut::savePath(m_journal.path(), nest.sha256));
    if (made) {
        say(made.message);
        updateButtons();
        return;
    }
    delete m_cut;
    m_cut = new NestRun(*m_session, this);
    m_cut->setReconnect(true);
    m_cut->setJournal(&m_journal);
    m_cut->setCut(nest);
    connect(m_cut, &NestRun::windowStarted, this, [this](int k, int n) {
        say(tr("Cutting window %1 of %2").arg(QLocale().toString(k), QLocale().toString(n)));
        m_progress->setValue((k - 1) * ProgressSteps / qMax(1, n));
    });
    connect(m_cut, &NestRun::warning, this, &NestPanel::logMessage);
    connect(m_cut, &NestRun::finished, this, &NestPanel::onCutEnded);
    if (!m_cut->start()) {
        say(tr("The nest could not start: the machine is not connected."));
        updateButtons();
        return;
    }
    emit logMessage(tr("Nest %1 started: %2 windows").arg(nest.name, QLocale().toString(int(nest.windows.size()))));
    updateButtons();
}

void NestPanel::onCutEnded()
{
    const Failure f = m_cut->failure();
    if (!m_cut->journalError().isEmpty())
        emit logMessage(tr("Job journal not written: %1").arg(m_cut->journalError()));
    if (!m_cut->restoreError().isEmpty())
        emit logMessage(m_cut->restoreError());
    if (!f)
        m_progress->setValue(ProgressSteps);
    say(f ? f.message
          : tr("Done: %1 windows of %2 cut").arg(QLocale().toString(m_cut->windowsCut()), m_cut->cut().name));
    updateButtons();
}

void NestPanel::say(const QString &text)
{
    m_status->setText(text);
    emit logMessage(text);
}

void NestPanel::updateButtons()
{
    const bool searching = isSearching(), cutting = isCutting(), busy = searching || cutting;
    const bool up = m_session && m_session->linkUp();
    m_run->setEnabled(!busy && m_table->rowCount() > 0);
    m_stop->setEnabled(busy);
    m_cutButton->setEnabled(!busy && up && hasNest() && m_layout.sheetLength <= 0);
    m_add->setEnabled(!busy);
    m_remove->setEnabled(!busy);
    m_table->setEnabled(!busy);
    m_material->setEnabled(!busy);
}
