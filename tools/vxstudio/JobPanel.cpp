#include "JobPanel.h"

#include "LinkState.h"
#include "PlotPreview.h"
#include "PlotReader.h"
#include "interface/VXDeviceInterface.h"
#include "property/VXDeviceProperty.h"

#include <QBuffer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Beyond this the preview's polylines would cost more memory than they are
// worth; the facts are still computed.
constexpr qint64 PreviewLimitBytes = 16 * 1024 * 1024;

} // namespace

JobPanel::JobPanel(QWidget *parent)
    : QWidget(parent)
{
    auto *box = new QGroupBox(tr("Job"), this);
    m_preview = new PlotPreview(box);
    m_preview->setObjectName(QStringLiteral("plotPreview"));

    m_file = new QLabel(tr("No plot loaded"), box);
    m_file->setObjectName(QStringLiteral("plotFile"));
    m_size = new QLabel(QStringLiteral("–"), box);
    m_size->setObjectName(QStringLiteral("plotSize"));
    m_length = new QLabel(QStringLiteral("–"), box);
    m_length->setObjectName(QStringLiteral("plotLength"));
    auto *facts = new QGridLayout;
    facts->addWidget(new QLabel(tr("File"), box), 0, 0);
    facts->addWidget(m_file, 0, 1);
    facts->addWidget(new QLabel(tr("Size"), box), 1, 0);
    facts->addWidget(m_size, 1, 1);
    facts->addWidget(new QLabel(tr("Cut length"), box), 2, 0);
    facts->addWidget(m_length, 2, 1);
    facts->setColumnStretch(1, 1);

    m_open = new QPushButton(tr("Open plot…"), box);
    m_open->setObjectName(QStringLiteral("openPlot"));
    m_copies = new QSpinBox(box);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 9999);
    m_copies->setPrefix(tr("Copies: "));
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_open);
    fileRow->addWidget(m_copies);
    fileRow->addStretch(1);

    m_start = new QPushButton(tr("Start"), box);
    m_start->setObjectName(QStringLiteral("startJob"));
    m_pause = new QPushButton(tr("Pause"), box);
    m_pause->setObjectName(QStringLiteral("pauseJob"));
    m_resume = new QPushButton(tr("Resume"), box);
    m_resume->setObjectName(QStringLiteral("resumeJob"));
    m_stop = new QPushButton(tr("Stop"), box);
    m_stop->setObjectName(QStringLiteral("stopJob"));
    auto *controlRow = new QHBoxLayout;
    controlRow->addWidget(m_start);
    controlRow->addWidget(m_pause);
    controlRow->addWidget(m_resume);
    controlRow->addWidget(m_stop);

    m_progress = new QProgressBar(box);
    m_progress->setObjectName(QStringLiteral("jobProgress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_done = new QLabel(box);
    m_done->setObjectName(QStringLiteral("copiesDone"));
    auto *progressRow = new QHBoxLayout;
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_done);

    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_preview, 1);
    boxLayout->addLayout(facts);
    boxLayout->addLayout(fileRow);
    boxLayout->addLayout(controlRow);
    boxLayout->addLayout(progressRow);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box);

    connect(m_open, &QPushButton::clicked, this, &JobPanel::openPlot);
    connect(m_start, &QPushButton::clicked, this, &JobPanel::start);
    connect(m_pause, &QPushButton::clicked, this, &JobPanel::pause);
    connect(m_resume, &QPushButton::clicked, this, &JobPanel::resume);
    connect(m_stop, &QPushButton::clicked, this, &JobPanel::stop);
    setDevice(nullptr);
}

void JobPanel::setDevice(VXDeviceInterface *device)
{
    m_device = device;
    setRunning(false);
}

void JobPanel::setRunning(bool running)
{
    m_running = running;
    const bool device = m_device;
    m_start->setEnabled(device && hasPlot() && !running);
    m_open->setEnabled(!running);
    m_copies->setEnabled(!running);
    // Pause, resume and stop stay offered whenever there is a machine: a job
    // may be running that this window did not start.
    m_pause->setEnabled(device);
    m_resume->setEnabled(device);
    m_stop->setEnabled(device);
}

void JobPanel::setCopies(int copies)
{
    m_copies->setValue(copies);
}

int JobPanel::copies() const
{
    return m_copies->value();
}

bool JobPanel::loadPlot(const QString &fileName, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    PlotReader reader;
    reader.setKeepPolylines(data.size() <= PreviewLimitBytes);
    if (!reader.read(data)) {
        if (error)
            *error = tr("%1: %2").arg(fileName, reader.errorString());
        return false;
    }

    // The frame builder encodes the job text back with toLocal8Bit(), so this
    // round trip puts the file's own bytes on the wire.
    m_plot = QString::fromLocal8Bit(data);
    m_fileName = fileName;
    m_width = reader.width() / PlotReader::UnitsPerMm;
    m_height = reader.height() / PlotReader::UnitsPerMm;
    m_pathLength = reader.pathLength() / PlotReader::UnitsPerMm;
    m_paths.clear();
    m_paths.reserve(reader.polylines().size());
    for (const PlotReader::Polyline &line : reader.polylines())
        m_paths.append(QPolygonF(line));
    m_preview->setPaths(m_paths);

    m_file->setText(QFileInfo(fileName).fileName());
    m_file->setToolTip(fileName);
    m_size->setText(tr("%1 × %2 mm").arg(m_width, 0, 'f', 1).arg(m_height, 0, 'f', 1));
    m_length->setText(tr("%1 mm").arg(m_pathLength, 0, 'f', 1));
    m_progress->setValue(0);
    m_done->clear();
    setRunning(m_running);
    emit logMessage(tr("Plot %1 loaded: %2, cut length %3.")
                    .arg(QFileInfo(fileName).fileName(), m_size->text(), m_length->text()));
    return true;
}

void JobPanel::openPlot()
{
    const QString fileName = QFileDialog::getOpenFileName(
            this, tr("Open plot"), QString(), tr("Plot files (*.plt *.hpgl *.hpg);;All files (*)"));
    if (fileName.isEmpty())
        return;
    QString error;
    if (!loadPlot(fileName, &error))
        emit logMessage(tr("Cannot open the plot: %1").arg(error));
}

void JobPanel::publishFileFacts()
{
    // The job reporting reads these; whole millimetres, as the work record
    // carries integers ("heigth" is the record's own spelling).
    if (VXDeviceProperty *info = m_device->property_ptr("TASK_FILE_INFO")) {
        QJsonObject facts;
        facts.insert(QStringLiteral("path_length"), qRound64(m_pathLength));
        facts.insert(QStringLiteral("heigth"), qRound64(m_height));
        facts.insert(QStringLiteral("width"), qRound64(m_width));
        info->setValue(facts);
    }
    if (VXDeviceProperty *preview = m_device->property_ptr("FILE_PREVIEW")) {
        QByteArray png;
        if (!m_paths.isEmpty()) {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            PlotPreview::render(m_paths, QSize(240, 160)).save(&buffer, "PNG");
        }
        preview->setValue(png);
    }
}

void JobPanel::start()
{
    if (!m_device || !hasPlot() || m_running)
        return;
    if (!linkIsUp(m_device)) {
        emit logMessage(tr("Not connected: the job was not started."));
        return;
    }
    publishFileFacts();
    m_device->setPlt(m_plot);
    if (VXDeviceProperty *copies = m_device->property_ptr("TASK_COPIES"))
        copies->setValue(m_copies->value());
    m_device->startTask();
    m_progress->setValue(0);
    m_done->setText(tr("%1 / %2").arg(0).arg(m_copies->value()));
    setRunning(true);
    emit logMessage(tr("Job started: %1, %n copies.", nullptr, m_copies->value())
                    .arg(QFileInfo(m_fileName).fileName()));
}

void JobPanel::sendWrite(const char *key)
{
    VXDeviceProperty *record = m_device ? m_device->property_ptr(key) : nullptr;
    if (record)
        m_device->sendCMD(record->set_cmd_bytes());
}

void JobPanel::pause()
{
    sendWrite("TASK_PAUSE");
    emit logMessage(tr("Job paused."));
}

void JobPanel::resume()
{
    sendWrite("TASK_RESUME");
    emit logMessage(tr("Job resumed."));
}

void JobPanel::stop()
{
    if (!m_device)
        return;
    sendWrite("TASK_STOP");
    m_device->stopTask();
    setRunning(false);
    emit logMessage(tr("Job stopped."));
}

void JobPanel::handleReport(const QString &text)
{
    JobReport report;
    if (!JobReport::parse(text, &report))
        return;
    m_progress->setValue(report.percent);
    m_done->setText(tr("%1 / %2").arg(report.finished).arg(report.copies));
    if (report.isComplete() && m_running) {
        // Closing the job is the host's call: it posts the work record. Not
        // from inside the report's delivery, whose remote-channel snapshot
        // follows and must still see the final report, not the reset job.
        QPointer<VXDeviceInterface> device = m_device;
        QMetaObject::invokeMethod(this, [device] {
            if (device)
                device->stopTask();
        }, Qt::QueuedConnection);
        setRunning(false);
        emit logMessage(tr("Job finished: %1 of %2 copies.").arg(report.finished).arg(report.copies));
        emit jobFinished();
    }
}
