// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QPolygonF>
#include <QString>
#include <QVector>

// What a host learns from a plot file before a cut, loaded one way for every
// tool: its text, its size and cut length in millimetres, the pen-up travel,
// the pen-down paths and a PNG preview for the job's preview record.
struct PlotJob
{
    QString fileName;        // without folders, as shown to the user
    QString path;            // as given
    QString text;            // as handed to setPlt
    double widthMm = 0;
    double heightMm = 0;
    double pathMm = 0;       // pen down
    double travelMm = 0;     // pen up
    QVector<QPolygonF> paths;   // pen-down polylines in plot units; empty past PathsLimit
    QByteArray preview;      // PNG, at most PreviewSide on its longer side

    // False with error naming the file and the reader's position. Only a
    // regular file is read (a FIFO or a device would never end), and only up
    // to MaxBytes.
    bool load(const QString &path, QString &error);

    // The "TASK_FILE_INFO" object (whole millimetres; "heigth" as the record spells it).
    QJsonObject fileInfo() const;
    // Seconds for all copies at the given speeds (mm/s); -1 when a speed is unknown.
    int estimateSeconds(double cutSpeed, double travelSpeed, int copies) const;

    static constexpr int PreviewSide = 256;
    static constexpr qint64 MaxBytes = qint64(512) << 20;
    // Past this the polylines would cost more memory than a preview is worth;
    // the facts are still computed.
    static constexpr qint64 PathsLimit = qint64(16) << 20;
};
