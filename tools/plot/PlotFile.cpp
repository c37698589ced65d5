// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotFile.h"

#include "DxfReader.h"
#include "HpglInterpreter.h"
#include "SvgReader.h"

#include <QFile>
#include <QFileInfo>

PlotFile::Format PlotFile::detect(const QByteArray &data)
{
    if (SvgReader::isGzip(data) || SvgReader::looksLikeSvg(data))
        return Format::Svg;
    if (DxfReader::looksLikeDxf(data))
        return Format::Dxf;
    return Format::Hpgl;
}

QString PlotFile::formatName(Format f)
{
    switch (f) {
    case Format::Hpgl: return QStringLiteral("HP-GL");
    case Format::Svg: return QStringLiteral("SVG");
    case Format::Dxf: return QStringLiteral("DXF");
    case Format::Unknown: break;
    }
    return QStringLiteral("unknown");
}

bool PlotFile::read(const QByteArray &data, PlotDocument &doc, double tolerance)
{
    m_error.clear();
    doc.clear();
    m_format = detect(data);
    bool ok = false;
    switch (m_format) {
    case Format::Svg: {
        SvgReader svg;
        ok = svg.read(data, doc);
        m_error = svg.error();
        break;
    }
    case Format::Dxf: {
        DxfReader dxf;
        ok = dxf.read(data, doc, tolerance);
        m_error = dxf.error();
        break;
    }
    default: {
        HpglInterpreter hpgl(doc, tolerance);
        ok = hpgl.run(data);
        m_error = hpgl.error();
        break;
    }
    }
    if (!ok)
        m_error = formatName(m_format) + QStringLiteral(": ") + m_error;
    return ok;
}

bool PlotFile::readFile(const QString &fileName, PlotDocument &doc, double tolerance)
{
    doc.clear();
    m_format = Format::Unknown;
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        m_error = tr("%1 is not a regular file").arg(fileName);
        return false;
    }
    if (info.size() > MaxFileSize) {
        m_error = tr("%1 is larger than %2 MB").arg(fileName, QString::number(MaxFileSize >> 20));
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = tr("cannot open %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return read(file.readAll(), doc, tolerance);
}
