// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotJob.h"

#include "HpglInterpreter.h"
#include "PlotFile.h"
#include "PlotPreview.h"
#include "PlotWriter.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

QByteArray renderPreview(const PlotDocument &design, int side)
{
    const QRectF box = design.boundingBox();
    if (design.isEmpty())
        return QByteArray();
    // The image keeps the design's proportions; the border is PlotPreview's.
    // One ink: the machine's panel and the cloud show it, not the cut order.
    PlotPreview::Style style;
    style.orderRamp = false;
    const double span = std::max(box.width(), box.height());
    const double scale = span > 0 ? (side - 2.0 * style.border) / span : 1.0;
    const QSize size(std::max(1, int(std::ceil(box.width() * scale + 2 * style.border))),
                     std::max(1, int(std::ceil(box.height() * scale + 2 * style.border))));
    const QImage image = PlotPreview::render(design, size, style).convertToFormat(QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

double hundredth(double mm) { return std::round(mm * 100) / 100; }

// The 8-bit text as the QString setPlt takes, converted from the back while
// the 8-bit text is cut short behind the conversion: the QString's pages
// are touched only as they are filled, and a large block handed back
// shrinks in place, so the two together stay near the QString alone rather
// than at one and a half times it.
QString widen(QByteArray &bytes)
{
    constexpr int Piece = 1 << 20;
    QString text(bytes.size(), Qt::Uninitialized);
    ushort *out = reinterpret_cast<ushort *>(text.data());
    for (int end = bytes.size(); end > 0;) {
        const int begin = std::max(0, end - Piece);
        const uchar *in = reinterpret_cast<const uchar *>(bytes.constData());
        for (int i = begin; i < end; ++i)
            out[i] = in[i];
        bytes.truncate(begin);
        bytes.squeeze();
        end = begin;
    }
    bytes = QByteArray();
    return text;
}

} // namespace

bool PlotJob::load(const QString &path, const PlotOptions &options, QString &error, PlotPlan *view,
                   const std::atomic<bool> *cancel)
{
    // A design that exhausts memory despite the readers' budgets fails this
    // file, not the host: a production run goes on with the next sheet.
    try {
        return loadBounded(path, options, error, view, cancel);
    } catch (const std::bad_alloc &) {
        error = QCoreApplication::translate("PlotJob", "plot file %1 needs more memory than there is").arg(path);
    }
    return false;
}

bool PlotJob::loadBounded(const QString &path, const PlotOptions &options, QString &error, PlotPlan *view,
                          const std::atomic<bool> *cancel)
{
    const auto interrupted = [&] {
        if (!cancel || !cancel->load(std::memory_order_relaxed))
            return false;
        error = QCoreApplication::translate("PlotJob", "interrupted while reading %1").arg(path);
        return true;
    };
    // A FIFO or a device would never end; an absurd size would exhaust memory.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QCoreApplication::translate("PlotJob", "plot file %1 is not a regular file").arg(path);
        return false;
    }
    if (info.size() > MaxBytes) {
        error = QCoreApplication::translate("PlotJob", "plot file %1 is larger than %2 MiB")
                    .arg(path, QString::number(MaxBytes >> 20));
        return false;
    }
    PlotDocument read;
    PlotFile reader;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = QCoreApplication::translate("PlotJob", "cannot read plot file %1: %2")
                        .arg(path, file.errorString());
            return false;
        }
        const QByteArray data = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            error = QCoreApplication::translate("PlotJob", "cannot read plot file %1: %2")
                        .arg(path, file.errorString());
            return false;
        }
        reader.setCancelFlag(cancel);
        if (!reader.read(data, read, options.chordTolerance)) {
            if (interrupted())
                return false;
            error = QCoreApplication::translate("PlotJob", "plot file %1: %2").arg(path, reader.error());
            return false;
        }
    } // the file's bytes go here, before the pipeline holds its copies
    skipped = reader.skipped();
    if (interrupted())
        return false;
    PlotPlan plan = PlotPipeline::run(std::move(read), options, cancel);
    if (interrupted())
        return false;
    if (plan.report.designLength <= 0) {
        // Say what was there but left out: a drawing all on a frozen
        // layer or in paper space is not an empty file to its author.
        error = skipped.isEmpty()
                    ? QCoreApplication::translate("PlotJob", "plot file %1 cuts nothing (no pen-down stroke)").arg(path)
                    : QCoreApplication::translate("PlotJob", "plot file %1 cuts nothing; not cut: %2")
                          .arg(path, skipped.join(QStringLiteral("; ")));
        return false;
    }
    // The machine reads the text as HP-GL: a design scaled past what a plot
    // reader takes would be refused there, or cut wrong by a lesser one.
    const QRectF placed = plan.sent().boundingBox();
    const double reach = HpglInterpreter::MaxSpan / PlotWriter::UnitsPerMm;
    if (std::max({placed.width(), placed.height(), std::abs(placed.left()), std::abs(placed.right()),
                  std::abs(placed.top()), std::abs(placed.bottom())}) > reach) {
        error = QCoreApplication::translate("PlotJob", "plot file %1: placed, the design is %2 x %3 mm, beyond the %4 mm a plot can hold")
                    .arg(path)
                    .arg(placed.width(), 0, 'f', 0)
                    .arg(placed.height(), 0, 'f', 0)
                    .arg(reach, 0, 'f', 0);
        return false;
    }
    fileName = info.fileName();
    this->path = path;
    format = PlotFile::formatName(reader.format());
    report = plan.report;
    widthMm = report.width;
    heightMm = report.height;
    pathMm = report.cutLength;
    travelMm = report.travelAfter;
    preview = renderPreview(plan.design, PreviewSide);
    if (!view && !plan.cut.isEmpty())
        plan.design = PlotDocument();   // drawn; the text is written from the cut alone
    QByteArray bytes = PlotWriter::toByteArray(plan.sent());
    if (interrupted())
        return false;
    this->options = options;
    textSha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    if (view)
        *view = std::move(plan);
    else
        plan = PlotPlan();
    // The document is gone before the UTF-16 copy is made, and the bytes go
    // as it is made: the peak here is the QString, twice the plot.
    text = QString();
    text = widen(bytes);
    return true;
}

QJsonObject PlotJob::fileInfo() const
{
    return {{QStringLiteral("path_length"), qRound64(pathMm)},
            {QStringLiteral("heigth"), qRound64(heightMm)},
            {QStringLiteral("width"), qRound64(widthMm)}};
}

QJsonObject PlotJob::planFacts() const
{
    return {{QStringLiteral("FileName"), fileName},
            {QStringLiteral("format"), format},
            {QStringLiteral("width"), hundredth(report.width)},
            {QStringLiteral("height"), hundredth(report.height)},
            {QStringLiteral("cut_length"), hundredth(report.cutLength)},
            {QStringLiteral("travel_before"), hundredth(report.travelBefore)},
            {QStringLiteral("travel_after"), hundredth(report.travelAfter)},
            {QStringLiteral("paths"), report.paths},
            {QStringLiteral("merged_length"), hundredth(report.mergedLength)},
            {QStringLiteral("estimate"), qRound64(std::ceil(report.estimateSeconds))},
            {QStringLiteral("bytes"), text.size()},
            {QStringLiteral("tools"), toolFacts()},
            {QStringLiteral("skipped"), QJsonArray::fromStringList(skipped)}};
}

QJsonArray PlotJob::toolFacts() const
{
    QJsonArray tools;
    for (const PlotReport::Tool &t : report.tools)
        tools.append(QJsonObject{{QStringLiteral("tool"), t.tool},
                                 {QStringLiteral("cut_length"), hundredth(t.cutLength)},
                                 {QStringLiteral("paths"), t.paths}});
    return tools;
}

QString PlotJob::toolSummary() const
{
    QStringList parts;
    const QLocale locale;
    for (const PlotReport::Tool &t : report.tools)
        parts << (t.paths == 1 ? QCoreApplication::translate("PlotJob", "tool %1: %2 mm in 1 path")
                               : QCoreApplication::translate("PlotJob", "tool %1: %2 mm in %n paths", nullptr, t.paths))
                     .arg(t.tool)
                     .arg(locale.toString(t.cutLength, 'f', 1));
    return parts.join(QCoreApplication::translate("PlotJob", ", then "));
}

int PlotJob::estimateSeconds(double cutSpeed, double travelSpeed, int copies) const
{
    if (cutSpeed <= 0 || travelSpeed <= 0 || copies <= 0)
        return -1;
    return int(std::ceil((pathMm / cutSpeed + travelMm / travelSpeed) * copies));
}
