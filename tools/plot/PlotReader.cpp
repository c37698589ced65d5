// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotReader.h"

#include "HpglInterpreter.h"

#include <QFile>

void PlotReader::reset()
{
    m_error.clear();
    m_errorOffset = -1;
    m_errorCommand.clear();
    m_document.clear();
    m_travel = 0;
    m_polylines.clear();
}

QRectF PlotReader::boundingBox() const
{
    const QRectF box = m_document.boundingBox();
    if (box.isNull() && m_document.isEmpty())
        return QRectF();
    return QRectF(box.topLeft() * UnitsPerMm, box.bottomRight() * UnitsPerMm);
}

bool PlotReader::readFile(const QString &fileName)
{
    reset();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = tr("cannot open %1: %2").arg(fileName, file.errorString());
        return false;
    }
    return read(file.readAll());
}

bool PlotReader::read(const QByteArray &data)
{
    reset();
    HpglInterpreter interpreter(m_document);
    const bool ok = interpreter.run(data);
    m_travel = interpreter.penUpTravel();
    if (!ok) {
        m_error = interpreter.error();
        m_errorOffset = interpreter.errorOffset();
        m_errorCommand = interpreter.errorCommand();
    }
    if (m_keepPolylines) {
        m_polylines.reserve(m_document.pathCount());
        for (int i = 0; i < m_document.pathCount(); ++i) {
            const QPointF *p = m_document.points(i);
            Polyline line(int(m_document.path(i).count));
            for (int k = 0; k < line.size(); ++k)
                line[k] = p[k] * UnitsPerMm;
            m_polylines.append(line);
        }
    }
    return ok;
}
