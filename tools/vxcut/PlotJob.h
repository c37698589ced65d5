#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

// What the host learns from a plot file before a cut: its text, its size and
// cut length in millimetres, the pen-up travel, and a PNG preview.
struct PlotJob
{
    QString fileName;        // without folders, as shown to the user
    QString text;
    double widthMm = 0;
    double heightMm = 0;
    double pathMm = 0;       // pen down
    double travelMm = 0;     // pen up
    QByteArray preview;      // PNG

    // False with error naming the file and the reader's position.
    bool load(const QString &path, QString &error);

    // The "TASK_FILE_INFO" object (whole millimetres; "heigth" as the record spells it).
    QJsonObject fileInfo() const;
    // Seconds for all copies at the given speeds (mm/s); -1 when a speed is unknown.
    int estimateSeconds(double cutSpeed, double travelSpeed, int copies) const;

    static constexpr int PreviewSide = 256;
    static constexpr qint64 MaxBytes = qint64(512) << 20;
};
