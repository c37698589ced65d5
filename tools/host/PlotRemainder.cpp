// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotRemainder.h"

#include "PlotJob.h"
#include "PlotReader.h"

#include <QCoreApplication>
#include <QLineF>
#include <QLocale>

namespace {

double length(const PlotReader::Polyline &line)
{
    double sum = 0;
    for (int i = 1; i < line.size(); ++i)
        sum += QLineF(line.at(i - 1), line.at(i)).length();
    return sum;
}

}

bool PlotRemainder::make(const PlotJob &whole, int fromPercent, double cutSpeed, double travelSpeed,
                         PlotJob *rest, QString *error, int *firstStroke)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (fromPercent < 0 || fromPercent >= 100)
        return fail(QCoreApplication::translate("PlotRemainder", "no part of the copy is left to cut at %1%")
                        .arg(QLocale().toString(fromPercent)));
    PlotReader reader;
    if (!reader.read(whole.text.toLocal8Bit()))
        return fail(reader.errorString());
    const double cut = qMax(10.0, cutSpeed) * PlotReader::UnitsPerMm;      // units per second
    const double travel = qMax(10.0, travelSpeed) * PlotReader::UnitsPerMm;
    const QVector<PlotReader::Polyline> &strokes = reader.polylines();

    QVector<double> ends;       // time at which each stroke is cut through
    ends.reserve(strokes.size());
    double clock = 0;
    QPointF at(0, 0);
    for (const PlotReader::Polyline &s : strokes) {
        clock += QLineF(at, s.first()).length() / travel + length(s) / cut;
        ends << clock;
        at = s.last();
    }
    const double machineTotal = reader.pathLength() / cut + reader.travelLength() / travel;
    const double unplaced = qMax(0.0, machineTotal - clock);
    const double mark = fromPercent / 100.0 * machineTotal - unplaced;
    int first = 0;
    while (first < ends.size() && ends.at(first) <= mark)
        ++first;
    if (first >= strokes.size())
        return fail(QCoreApplication::translate("PlotRemainder", "nothing of the copy is left to cut at %1%")
                        .arg(QLocale().toString(fromPercent)));

    // The rest keeps each stroke's tool: a crease resumed on the knife
    // would cut the sheet through.
    const PlotDocument &doc = reader.document();
    int tool = doc.toolOf(first);
    QByteArray text = "IN;SP" + QByteArray::number(tool) + ";PA;";
    for (int i = first; i < strokes.size(); ++i) {
        const PlotReader::Polyline &s = strokes.at(i);
        if (doc.toolOf(i) != tool) {
            tool = doc.toolOf(i);
            text += "SP" + QByteArray::number(tool) + ';';
        }
        text += "PU" + QByteArray::number(qRound64(s.first().x())) + ',' + QByteArray::number(qRound64(s.first().y()))
                + ";PD";
        for (int p = 1; p < s.size(); ++p) {
            if (p > 1)
                text += ',';
            text += QByteArray::number(qRound64(s.at(p).x())) + ',' + QByteArray::number(qRound64(s.at(p).y()));
        }
        text += ';';
    }
    text += "PU0,0;\n";

    PlotReader check;
    if (!check.read(text))
        return fail(check.errorString());
    PlotJob out;
    out.fileName = whole.fileName;
    out.path = whole.path;
    out.text = QString::fromLatin1(text);
    out.widthMm = check.width() / PlotReader::UnitsPerMm;
    out.heightMm = check.height() / PlotReader::UnitsPerMm;
    out.pathMm = check.pathLength() / PlotReader::UnitsPerMm;
    out.travelMm = check.travelLength() / PlotReader::UnitsPerMm;
    out.format = whole.format;
    out.report = whole.report;
    out.preview = whole.preview;
    *rest = out;
    if (firstStroke)
        *firstStroke = first;
    return true;
}
