// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotJob.h"

#include "PlotReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

QByteArray renderPreview(const QRectF &box, const QVector<PlotReader::Polyline> &paths, int side)
{
    if (box.isEmpty() && box.width() <= 0 && box.height() <= 0)
        return QByteArray();
    const double margin = 4;
    const double span = qMax(box.width(), box.height());
    const double scale = span > 0 ? (side - 2 * margin) / span : 1.0;
    const int w = qMax(1, int(std::ceil(box.width() * scale + 2 * margin)));
    const int h = qMax(1, int(std::ceil(box.height() * scale + 2 * margin)));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 1.2));
        // The table's Y axis points up; the image's down.
        QTransform t;
        t.translate(margin, h - margin);
        t.scale(scale, -scale);
        t.translate(-box.left(), -box.top());
        painter.setTransform(t);
        QPainterPath path;
        for (const PlotReader::Polyline &line : paths) {
            path.moveTo(line.first());
            for (int i = 1; i < line.size(); ++i)
                path.lineTo(line.at(i));
        }
        QPen pen = painter.pen();
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawPath(path);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

}

bool PlotJob::load(const QString &path, QString &error)
{
    // A FIFO or a device would never end; an absurd size would exhaust memory.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = QStringLiteral("plot file %1 is not a regular file").arg(path);
        return false;
    }
    if (info.size() > MaxBytes) {
        error = QStringLiteral("plot file %1 is larger than %2 MiB").arg(path).arg(MaxBytes >> 20);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read plot file %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read plot file %1: %2").arg(path, file.errorString());
        return false;
    }
    // The frame builder encodes the job text with toLocal8Bit(): decoding the
    // same way puts the file's own bytes on the wire. A byte sequence the
    // locale cannot carry would reach the machine altered, so it is refused.
    const QString decoded = QString::fromLocal8Bit(data);
    if (decoded.toLocal8Bit() != data) {
        error = QStringLiteral("plot file %1 holds bytes that are not text in this locale's encoding")
                    .arg(path);
        return false;
    }
    PlotReader reader;
    if (!reader.read(data)) {
        error = QStringLiteral("plot file %1: %2").arg(path, reader.errorString());
        return false;
    }
    if (reader.pathLength() <= 0) {
        error = QStringLiteral("plot file %1 cuts nothing (no pen-down stroke)").arg(path);
        return false;
    }
    fileName = QFileInfo(path).fileName();
    this->path = path;
    text = decoded;
    widthMm = reader.width() / PlotReader::UnitsPerMm;
    heightMm = reader.height() / PlotReader::UnitsPerMm;
    pathMm = reader.pathLength() / PlotReader::UnitsPerMm;
    travelMm = reader.travelLength() / PlotReader::UnitsPerMm;
    paths.clear();
    if (data.size() <= PathsLimit) {
        paths.reserve(reader.polylines().size());
        for (const PlotReader::Polyline &line : reader.polylines())
            paths.append(QPolygonF(line));
    }
    preview = renderPreview(reader.boundingBox(), reader.polylines(), PreviewSide);
    return true;
}

QJsonObject PlotJob::fileInfo() const
{
    return {{QStringLiteral("path_length"), qRound64(pathMm)},
            {QStringLiteral("heigth"), qRound64(heightMm)},
            {QStringLiteral("width"), qRound64(widthMm)}};
}

int PlotJob::estimateSeconds(double cutSpeed, double travelSpeed, int copies) const
{
    if (cutSpeed <= 0 || travelSpeed <= 0 || copies <= 0)
        return -1;
    return int(std::ceil((pathMm / cutSpeed + travelMm / travelSpeed) * copies));
}
