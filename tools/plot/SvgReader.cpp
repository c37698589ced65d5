// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SvgReader.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <zlib.h>

#include <cmath>

namespace {

constexpr double UnitsPerMm = 40.0; // recording resolution

// Qt paints onto this; everything it would draw arrives as outlines.
class RecordingEngine : public QPaintEngine
{
public:
    RecordingEngine(PlotDocument &doc, double heightUnits, qint64 budget)
        : QPaintEngine(QPaintEngine::AllFeatures), m_doc(doc), m_height(heightUnits), m_budget(budget) {}
    bool overBudget() const { return qint64(m_doc.pointCount()) > m_budget; }

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & DirtyTransform)
            m_transform = state.transform();
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
    }
    void drawPath(const QPainterPath &path) override
    {
        const bool stroked = m_pen.style() != Qt::NoPen;
        const bool filled = m_brush.style() != Qt::NoBrush;
        if (!stroked && (!filled || m_brush.color() == Qt::white))
            return;
        if (overBudget())
            return;
        for (const QPolygonF &poly : path.toSubpathPolygons(m_transform)) {
            if (poly.size() < 2)
                continue;
            m_doc.beginPath(map(poly.first()));
            for (int i = 1; i < poly.size(); ++i)
                m_doc.lineTo(map(poly.at(i)));
            m_doc.endPath();
        }
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        path.addPolygon(QPolygonF(QVector<QPointF>(points, points + count)));
        if (mode != PolylineMode)
            path.closeSubpath();
        drawPath(path);
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}

private:
    QPointF map(const QPointF &p) const { return QPointF(p.x(), m_height - p.y()) / UnitsPerMm; }

    PlotDocument &m_doc;
    double m_height;
    qint64 m_budget;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
};

class RecordingDevice : public QPaintDevice
{
public:
    RecordingDevice(PlotDocument &doc, const QSizeF &size, qint64 budget)
        : m_engine(doc, size.height(), budget), m_size(size) {}
    QPaintEngine *paintEngine() const override { return &m_engine; }
    bool overBudget() const { return m_engine.overBudget(); }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return int(std::ceil(m_size.width()));
        case PdmHeight: return int(std::ceil(m_size.height()));
        case PdmWidthMM: return int(std::ceil(m_size.width() / UnitsPerMm));
        case PdmHeightMM: return int(std::ceil(m_size.height() / UnitsPerMm));
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY:
            return int(UnitsPerMm * 25.4);
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        }
        return 0;
    }

private:
    mutable RecordingEngine m_engine;
    QSizeF m_size;
};

// A length attribute in mm; < 0 when absent, relative or unknown.
double lengthMm(const QStringRef &text)
{
    static const struct { const char *unit; double mm; } units[] = {
        {"mm", 1}, {"cm", 10}, {"in", 25.4}, {"pt", 25.4 / 72}, {"pc", 25.4 / 6}, {"px", 25.4 / 96},
    };
    QString t = text.trimmed().toString();
    if (t.isEmpty() || t.endsWith(QLatin1Char('%')))
        return -1;
    double factor = 25.4 / 96;
    for (const auto &u : units) {
        if (t.endsWith(QLatin1String(u.unit))) {
            factor = u.mm;
            t.chop(2);
            break;
        }
    }
    bool ok = false;
    const double v = t.trimmed().toDouble(&ok);
    return ok && v > 0 && std::isfinite(v) ? v * factor : -1;
}

} // namespace

bool SvgReader::isGzip(const QByteArray &data)
{
    return data.size() >= 2 && quint8(data[0]) == 0x1f && quint8(data[1]) == 0x8b;
}

bool SvgReader::looksLikeSvg(const QByteArray &data)
{
    const QByteArray head = data.left(4096);
    return head.contains("<svg") || (head.contains("<?xml") && head.contains("svg"));
}

QByteArray SvgReader::gunzip(const QByteArray &data, QString *error, qint64 maxOutput)
{
    z_stream s{};
    if (inflateInit2(&s, 16 + MAX_WBITS) != Z_OK) {
        *error = tr("cannot start decompression");
        return {};
    }
    QByteArray out;
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    s.avail_in = uInt(data.size());
    char chunk[1 << 15];
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        s.next_out = reinterpret_cast<Bytef *>(chunk);
        s.avail_out = sizeof chunk;
        rc = inflate(&s, Z_NO_FLUSH);
        if (rc != Z_OK && rc != Z_STREAM_END) {
            *error = tr("compressed data is corrupt at byte %1").arg(s.total_in);
            inflateEnd(&s);
            return {};
        }
        out.append(chunk, int(sizeof chunk - s.avail_out));
        if (out.size() > maxOutput) {
            *error = tr("expands beyond %1 MB").arg(maxOutput >> 20);
            inflateEnd(&s);
            return {};
        }
        if (rc == Z_OK && s.avail_in == 0 && s.avail_out != 0) {
            *error = tr("compressed data ends early");
            inflateEnd(&s);
            return {};
        }
    }
    inflateEnd(&s);
    return out;
}

bool SvgReader::read(const QByteArray &input, PlotDocument &doc)
{
    m_error.clear();
    QByteArray data = input;
    if (isGzip(input)) {
        data = gunzip(input, &m_error);
        if (data.isEmpty())
            return false;
    }
    // Only the root element's size is read here; Qt parses the rest.
    // Qt SVG says only that it failed; a plain XML pass first says where.
    double widthMm = -1, heightMm = -1;
    bool hasViewBox = false;
    {
        QXmlStreamReader xml(data);
        bool root = true;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!root || !xml.isStartElement())
                continue;
            root = false;
            if (xml.name() != QLatin1String("svg")) {
                m_error = tr("line %1: the root element is not <svg>").arg(xml.lineNumber());
                return false;
            }
            widthMm = lengthMm(xml.attributes().value(QLatin1String("width")));
            heightMm = lengthMm(xml.attributes().value(QLatin1String("height")));
            hasViewBox = xml.attributes().hasAttribute(QLatin1String("viewBox"));
        }
        if (xml.hasError()) {
            m_error = tr("line %1, column %2: %3")
                          .arg(xml.lineNumber()).arg(xml.columnNumber()).arg(xml.errorString());
            return false;
        }
    }
    if (widthMm < 0 && heightMm < 0 && !hasViewBox) {
        m_error = tr("the document has no usable size (width, height or viewBox)");
        return false;
    }
    QSvgRenderer renderer;
    if (!renderer.load(data) || !renderer.isValid()) {
        m_error = tr("Qt SVG cannot read this document");
        return false;
    }
    const QRectF box = renderer.viewBoxF();
    const double pxMm = 25.4 / 96;
    if (widthMm < 0 && heightMm < 0) {
        widthMm = box.width() * pxMm;
        heightMm = box.height() * pxMm;
    } else if (widthMm < 0) {
        widthMm = box.height() > 0 ? heightMm * box.width() / box.height() : heightMm;
    } else if (heightMm < 0) {
        heightMm = box.width() > 0 ? widthMm * box.height() / box.width() : widthMm;
    }
    if (!(widthMm > 0 && heightMm > 0 && widthMm < 1e6 && heightMm < 1e6)) {
        m_error = tr("the document has no usable size");
        return false;
    }
    const QSizeF size(widthMm * UnitsPerMm, heightMm * UnitsPerMm);
    // Bounded by the input size, as in HpglInterpreter.
    const qint64 budget = qint64(doc.pointCount()) + (2 << 20) + 128 * qint64(data.size());
    RecordingDevice device(doc, size, budget);
    QPainter painter(&device);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    if (device.overBudget()) {
        m_error = tr("the drawing expands beyond %1 points; not a drawing to cut").arg(budget);
        return false;
    }
    return true;
}
