// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotDocument.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <atomic>

// Reads a design in any supported format into millimetres. The format is
// taken from the content (gzip or XML with <svg: SVG; group code 0 and a
// SECTION, or the binary sentinel: DXF; anything else is HP-GL, whose
// reader names the first byte it cannot take), so a misnamed file still
// reads and a renamed one cannot fool it. Images, documents, archives and
// programs are told from their signatures and named, not parsed.
class PlotFile
{
    Q_DECLARE_TR_FUNCTIONS(PlotFile)

public:
    enum class Format { Unknown, Hpgl, Svg, Dxf };
    static Format detect(const QByteArray &data);
    static QString formatName(Format f);
    // "PNG image" for a known file that is no design (from its first
    // bytes; gzip data whose content is not SVG), else empty.
    static QString foreignKind(const QByteArray &data);

    // Largest design file read; bigger ones are refused before reading.
    static constexpr qint64 MaxFileSize = qint64(1) << 30;

    // Replaces doc's content; false with error() naming what and where.
    bool read(const QByteArray &data, PlotDocument &doc, double chordToleranceMm = 0.05);
    bool readFile(const QString &fileName, PlotDocument &doc, double chordToleranceMm = 0.05);
    QString error() const { return m_error; }
    Format format() const { return m_format; }
    // Another thread sets it to stop a read part way (vxcut's Ctrl-C,
    // vxstudio's Stop); the read then fails with cancelled() true.
    void setCancelFlag(const std::atomic<bool> *cancel) { m_cancel = cancel; }
    bool cancelled() const { return m_cancelled; }
    // What the last read left out and why ("2 in paper space"), for plan.
    QStringList skipped() const { return m_skipped; }

private:
    const std::atomic<bool> *m_cancel = nullptr;
    bool m_cancelled = false;
    QStringList m_skipped;
    QString m_error;
    Format m_format = Format::Unknown;
};
