// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <atomic>

// What a host hands the machine for one design file, loaded one way for
// every tool: the file read in whatever format its content says, placed,
// ordered and shaped by the pipeline, and written as plot text. The text is
// the writer's (ASCII digits and IN/SP/PU/PD only), never the file's own
// bytes, so it reaches the wire unchanged in any locale.
//
// Memory: the file's bytes are dropped once read, the document once the
// text is written, and the 8-bit text while it becomes the QString (from
// the back, cut short behind the conversion), so the peaks are the file with
// the document, then the document with the 8-bit text. The QString is twice
// the plot (UTF-16), and setPlt takes nothing else; it is shared, not
// copied, by the device's record, and the plugin frames it for the wire a
// piece at a time, so a cut holds it once.
struct PlotJob
{
    QString fileName;        // without folders, as shown to the user
    QString path;            // as given
    QString format;          // "HP-GL", "SVG" or "DXF", as read from the content
    QString text;            // as handed to setPlt
    PlotReport report;
    double widthMm = 0;      // placed design, weed border included
    double heightMm = 0;
    double pathMm = 0;       // pen down, as sent (passes and overcut included)
    double travelMm = 0;     // pen up, as sent
    QByteArray preview;      // PNG of the processed paths, at most PreviewSide on its longer side
    // What the reader read but does not cut (hidden layers, paper space,
    // unsupported kinds), counted and named: nothing vanishes unsaid.
    QStringList skipped;
    // What it was loaded with, and the text's SHA-256 (hex): a resume plans
    // the file again with the options and knows by the checksum whether it
    // got the drawing that was cut.
    PlotOptions options;
    QByteArray textSha256;

    // False with error naming the file and, for unreadable content, the
    // format and position. Only a regular file is read (a FIFO or a device
    // would never end), and only up to MaxBytes. With view, the plan (the
    // placed and ordered design) is kept there for drawing; without, it is
    // freed before the text is made.
    bool load(const QString &path, QString &error) { return load(path, PlotOptions(), error); }
    // cancel: set by another thread or a signal handler to stop reading and
    // planning part way; the load then fails with "interrupted".
    bool load(const QString &path, const PlotOptions &options, QString &error, PlotPlan *view = nullptr,
              const std::atomic<bool> *cancel = nullptr);

    // The "TASK_FILE_INFO" object (whole millimetres; "heigth" as the record spells it).
    QJsonObject fileInfo() const;
    // The dry run's facts in millimetres (and seconds at the options' speeds).
    QJsonObject planFacts() const;
    // Per tool in cut order: [{"tool", "cut_length", "paths"}].
    QJsonArray toolFacts() const;
    // "tool 2: 12.5 mm in 3 paths, then tool 1: ..." in the reader's language.
    QString toolSummary() const;
    // Seconds for all copies at the given speeds (mm/s); -1 when a speed is unknown.
    int estimateSeconds(double cutSpeed, double travelSpeed, int copies) const;

    static constexpr int PreviewSide = 256;

private:
    bool loadBounded(const QString &path, const PlotOptions &options, QString &error, PlotPlan *view,
                     const std::atomic<bool> *cancel);

public:
    static constexpr qint64 MaxBytes = qint64(512) << 20;
};
