// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Reads a design in any supported format into millimetres. The format is
// taken from the content (gzip or XML with <svg: SVG; group code 0 and a
// SECTION, or the binary sentinel: DXF; anything else is HP-GL, whose
// reader names the first byte it cannot take), so a misnamed file still
// reads and a renamed one cannot fool it.
class PlotFile
{
    Q_DECLARE_TR_FUNCTIONS(PlotFile)

public:
    enum class Format { Unknown, Hpgl, Svg, Dxf };
    static Format detect(const QByteArray &data);
    static QString formatName(Format f);

    // Largest design file read; bigger ones are refused before reading.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;

    // Replaces doc's content; false with error() naming what and where.
    bool read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm = 0.05);
    bool readFile(const QString &fileName, PlotDocument &doc, double chordToleranceMm = 0.05);
    QString error() const { return m_error; }
    Format format() const { return m_format; }

private:
    QString m_error;
    Format m_format = Format::Unknown;
};
