// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotFile.h"

#include "DxfReader.h"
#include "HpglInterpreter.h"
#include "ReadBudget.h"
#include "SvgReader.h"

#include <QFile>
#include <QFileInfo>

#include <zlib.h>

namespace {

// Files people pick by mistake, told by their first bytes: named, rather
// than read as HP-GL (the fallback) and refused at some odd byte. None of
// these starts can begin a design this reader takes.
struct Signature {
    const char *magic;
    int size;
    const char *kind;
};
const Signature Signatures[] = {
    {"\x89PNG\r\n\x1a\n", 8, QT_TRANSLATE_NOOP("PlotFile", "PNG image")},
    {"\xff\xd8\xff", 3, QT_TRANSLATE_NOOP("PlotFile", "JPEG image")},
    {"GIF87a", 6, QT_TRANSLATE_NOOP("PlotFile", "GIF image")},
    {"GIF89a", 6, QT_TRANSLATE_NOOP("PlotFile", "GIF image")},
    {"BM", 2, QT_TRANSLATE_NOOP("PlotFile", "BMP image")},
    {"II*\0", 4, QT_TRANSLATE_NOOP("PlotFile", "TIFF image")},
    {"MM\0*", 4, QT_TRANSLATE_NOOP("PlotFile", "TIFF image")},
    {"RIFF", 4, QT_TRANSLATE_NOOP("PlotFile", "RIFF media file")},
    {"%PDF-", 5, QT_TRANSLATE_NOOP("PlotFile", "PDF document")},
    {"%!", 2, QT_TRANSLATE_NOOP("PlotFile", "PostScript document")},
    {"\xc5\xd0\xd3\xc6", 4, QT_TRANSLATE_NOOP("PlotFile", "PostScript document")},
    {"{\\rtf", 5, QT_TRANSLATE_NOOP("PlotFile", "RTF document")},
    {"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8, QT_TRANSLATE_NOOP("PlotFile", "OLE compound document")},
    {"PK\x03\x04", 4, QT_TRANSLATE_NOOP("PlotFile", "ZIP archive")},
    {"PK\x05\x06", 4, QT_TRANSLATE_NOOP("PlotFile", "ZIP archive")},
    {"Rar!\x1a\x07", 6, QT_TRANSLATE_NOOP("PlotFile", "RAR archive")},
    {"7z\xbc\xaf\x27\x1c", 6, QT_TRANSLATE_NOOP("PlotFile", "7z archive")},
    {"BZh", 3, QT_TRANSLATE_NOOP("PlotFile", "bzip2 data")},
    {"\xfd" "7zXZ", 5, QT_TRANSLATE_NOOP("PlotFile", "xz data")},
    {"\x28\xb5\x2f\xfd", 4, QT_TRANSLATE_NOOP("PlotFile", "zstd data")},
    {"\x7f" "ELF", 4, QT_TRANSLATE_NOOP("PlotFile", "ELF program")},
    {"MZ", 2, QT_TRANSLATE_NOOP("PlotFile", "PE program")},
    {"AC10", 4, QT_TRANSLATE_NOOP("PlotFile", "DWG drawing; save it as DXF")},
};

// Whether gzip data is compressed SVG, from its first 4 KiB (all the SVG
// sniffing looks at). Undecided (true) when the head does not inflate: the
// SVG reader then names the damage.
bool gzipHoldsSvg(const QByteArray &data)
{
    z_stream s{};
    if (inflateInit2(&s, 16 + MAX_WBITS) != Z_OK)
        return true;
    char head[4096];
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    s.avail_in = uInt(data.size());
    s.next_out = reinterpret_cast<Bytef *>(head);
    s.avail_out = sizeof head;
    const int rc = inflate(&s, Z_SYNC_FLUSH);
    const int got = int(sizeof head - s.avail_out);
    inflateEnd(&s);
    if ((rc != Z_OK && rc != Z_STREAM_END) || (rc == Z_OK && got < int(sizeof head)))
        return true;
    return SvgReader::looksLikeSvg(QByteArray::fromRawData(head, got));
}

} // namespace

QString PlotFile::foreignKind(const QByteArray &data)
{
    for (const Signature &sig : Signatures)
        if (data.startsWith(QByteArray::fromRawData(sig.magic, sig.size)))
            return tr(sig.kind);
    if (SvgReader::isGzip(data) && !gzipHoldsSvg(data))
        return tr("gzip data that is not SVG");
    return QString();
}

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
    m_skipped.clear();
    m_cancelled = false;
    doc.clear();
    const QString foreign = foreignKind(data);
    if (!foreign.isEmpty()) {
        m_format = Format::Unknown;
        m_error = tr("not a design file: %1").arg(foreign);
        return false;
    }
    m_format = detect(data);
    ReadBudget budget(data.size(), m_cancel);
    bool ok = false;
    switch (m_format) {
    case Format::Svg: {
        SvgReader svg;
        ok = svg.read(data, doc, budget);
        m_error = svg.error();
        if (svg.skipped() > 0)
            m_skipped << tr("%1 element(s) that draw nothing to cut: %2", nullptr, svg.skipped())
                             .arg(svg.skipped())
                             .arg(svg.skippedKinds().join(QStringLiteral(", ")));
        break;
    }
    case Format::Dxf: {
        DxfReader dxf;
        ok = dxf.read(data, doc, tolerance, budget);
        m_error = dxf.error();
        m_skipped = dxf.skippedSummary();
        break;
    }
    default: {
        HpglInterpreter hpgl(doc, tolerance);
        hpgl.setBudget(&budget);
        ok = hpgl.run(data);
        m_error = hpgl.error();
        break;
    }
    }
    m_cancelled = budget.cancelled();
    if (m_cancelled) {
        m_error = tr("cancelled");
        return false;
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
