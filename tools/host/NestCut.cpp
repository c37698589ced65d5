// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestRun.h"

#include "JobJournal.h"
#include "NestLayout.h"
#include "PlotPreview.h"
#include "RecordValue.h"
#include "WorkArea.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QSaveFile>

#include <cmath>

namespace {

QString mm(double v)
{
    return QLocale().toString(v, 'f', 1);
}

QByteArray previewOf(const PlotDocument &doc)
{
    const QRectF box = doc.boundingBox();
    const double side = qMax(box.width(), box.height());
    if (side <= 0)
        return QByteArray();
    const double scale = PlotJob::PreviewSide / side;
    const QSize size(qMax(1, qRound(box.width() * scale)), qMax(1, qRound(box.height() * scale)));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    PlotPreview::render(doc, size).save(&buffer, "PNG");
    return png;
}

PlotJob windowJob(const PlotDocument &doc, const PlotOptions &options)
{
    PlotJob job;
    PlotReport report;
    const QByteArray text = NestPlot::text(doc, options, &report);
    job.format = QStringLiteral("HP-GL");
    job.text = QString::fromLatin1(text);
    job.textSha256 = QCryptographicHash::hash(text, QCryptographicHash::Sha256).toHex();
    job.report = report;
    job.widthMm = report.width;
    job.heightMm = report.height;
    job.pathMm = report.cutLength;
    job.travelMm = report.travelAfter;
    job.options = options;
    job.preview = previewOf(doc);
    return job;
}

// Whole steps of the feed at or below v (a hair of rounding is no step).
double stepsBelow(double v, double step)
{
    return std::floor(v / step + 1e-9) * step;
}

void nameWindows(NestCut &cut)
{
    cut.sha256 = NestCut::digest(cut.windows);
    cut.name = QStringLiteral("nest-") + QString::fromLatin1(cut.sha256.left(8));
    const int n = int(cut.windows.size());
    for (int k = 0; k < n; ++k)
        cut.windows[std::size_t(k)].job.fileName = QStringLiteral("%1 %2/%3").arg(cut.name).arg(k + 1).arg(n);
}

} // namespace

QByteArray NestCut::digest(const std::vector<NestWindow> &windows)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const NestWindow &w : windows) {
        hash.addData(QByteArray::number(w.offset, 'f', 3) + ' ' + QByteArray::number(w.feed, 'f', 3) + '\n');
        hash.addData(w.job.text.toLatin1());
    }
    return hash.result().toHex();
}

Failure NestCut::make(const NestLayout &layout, const std::vector<NestPart> &parts, const PlotOptions &given,
                      const WorkArea &area, const EditorSpec &feed, NestCut *out)
{
    if (layout.sheetLength > 0)
        return {Failure::Usage, tr("the machine cuts a nest on a strip, not on sheets: give --strip-width")};
    if (given.weedBorder > 0)
        return {Failure::Usage, tr("--weed-border does not go with a nest cut in windows")};
    if (!area.known())
        return {Failure::PlotFile, tr("the machine did not tell its work area: the windows of the nest cannot be sized")};
    if (layout.placed.empty())
        return {Failure::PlotFile, tr("the nest holds no piece")};
    PlotOptions options = given;
    // Parts were scaled when read; the pipeline keeps only the margin.
    options.placement = PlotPlacement();
    options.placement.margin = qMax(0.0, given.placement.margin);
    const double margin = options.placement.margin;
    const double step = feed.factor > 0 ? feed.factor : 1;
    double low = layout.placed.front().box.top();
    for (const NestLayout::Placed &p : layout.placed)
        low = qMin(low, p.box.top());
    // The first window is drawn from the material's start; the others from
    // up to one step below their own start.
    const double maxLength = area.height - margin - step - qMax(0.0, low);
    if (maxLength <= 0)
        return {Failure::PlotFile, tr("the work area (%1) leaves no room for a window").arg(area.text())};
    std::vector<NestLayout::Window> spans;
    QString why;
    if (!layout.windows(maxLength, spans, why))
        return {Failure::PlotFile, why};

    NestCut cut;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        NestLayout::Window shifted = spans[k];
        NestWindow w;
        w.from = spans[k].from;
        w.to = spans[k].to;
        w.offset = k == 0 ? 0 : stepsBelow(w.from, step);
        w.pieces = int(shifted.placed.size());
        shifted.from = w.offset;
        const PlotDocument doc = layout.document(parts, shifted);
        const QRectF box = doc.boundingBox();
        if (Failure f = area.check(box.right(), box.bottom(), margin))
            return {Failure::PlotFile, tr("window %1: %2").arg(k + 1).arg(f.message), f.facts};
        w.job = windowJob(doc, options);
        // The last window leaves the work area whole.
        w.feed = k + 1 < spans.size() ? stepsBelow(spans[k + 1].from, step) - w.offset
                                      : std::ceil((box.bottom() + margin) / step - 1e-9) * step;
        if (feed.spin() && w.feed > feed.max)
            return {Failure::PlotFile, tr("window %1 needs a feed of %2 mm; the feed length goes to %3 mm")
                                           .arg(k + 1).arg(mm(w.feed), mm(feed.max))};
        cut.windows.push_back(std::move(w));
    }
    nameWindows(cut);
    *out = std::move(cut);
    return Failure();
}

QString NestCut::savePath(const QString &journalPath, const QByteArray &sha256)
{
    return QFileInfo(journalPath).absoluteDir().filePath(QStringLiteral("nests/%1.json").arg(QString::fromLatin1(sha256)));
}

Failure NestCut::save(const QString &file)
{
    QJsonArray list;
    for (const NestWindow &w : windows) {
        list.append(QJsonObject{{"from", w.from}, {"to", w.to}, {"offset", w.offset}, {"feed", w.feed},
                                {"pieces", w.pieces}, {"width", w.job.widthMm}, {"height", w.job.heightMm},
                                {"cut_length", w.job.pathMm}, {"travel", w.job.travelMm}, {"plot", w.job.text}});
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{"v", 1}, {"sha256", QString::fromLatin1(sha256)},
                                                       {"windows", list}}).toJson(QJsonDocument::Compact);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return {Failure::Other, tr("cannot save the nest to %1: %2").arg(file, out.errorString())};
    path = QFileInfo(file).absoluteFilePath();
    for (NestWindow &w : windows)
        w.job.path = path;
    return Failure();
}

Failure NestCut::load(const QString &file, NestCut *out)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {Failure::PlotFile, tr("cannot read the saved nest %1: %2").arg(file, in.errorString())};
    const QJsonObject o = QJsonDocument::fromJson(in.read(64 << 20)).object();
    NestCut cut;
    for (const QJsonValue &v : o.value("windows").toArray()) {
        const QJsonObject w = v.toObject();
        NestWindow win;
        win.from = w.value("from").toDouble();
        win.to = w.value("to").toDouble();
        win.offset = w.value("offset").toDouble();
        win.feed = w.value("feed").toDouble();
        win.pieces = w.value("pieces").toInt();
        PlotJob &job = win.job;
        job.format = QStringLiteral("HP-GL");
        job.text = w.value("plot").toString();
        job.textSha256 = JobJournal::sha256(job.text.toLatin1());
        job.widthMm = w.value("width").toDouble();
        job.heightMm = w.value("height").toDouble();
        job.pathMm = w.value("cut_length").toDouble();
        job.travelMm = w.value("travel").toDouble();
        job.path = QFileInfo(file).absoluteFilePath();
        cut.windows.push_back(std::move(win));
    }
    nameWindows(cut);
    if (cut.windows.empty() || cut.sha256 != o.value("sha256").toString().toLatin1())
        return {Failure::PlotFile, tr("the saved nest %1 does not hold the nest it names (SHA-256 differs)").arg(file)};
    cut.path = QFileInfo(file).absoluteFilePath();
    *out = std::move(cut);
    return Failure();
}
