// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignCache.h"

#include "JobJournal.h"
#include "PlotJob.h"

#include <QFileInfo>

void DesignCache::setOptions(const PlotOptions &options)
{
    m_options = options;
    clear();
}

void DesignCache::clear()
{
    m_byCode.clear();
    m_order.clear();
    m_bytes = 0;
}

std::shared_ptr<PreparedDesign> DesignCache::prepare(const QString &code, const QString &path,
                                                     const PlotOptions &options, const QSize &previewSize)
{
    auto d = std::make_shared<PreparedDesign>();
    d->code = code;
    const QFileInfo info(path);
    d->path = info.absoluteFilePath();
    d->name = info.fileName();
    d->modified = info.lastModified();
    d->size = info.size();
    if (!info.isFile()) {
        d->error = info.exists() ? tr("%1 is not a regular file").arg(d->name)
                                 : tr("%1 has gone").arg(d->name);
        return d;
    }
    // The one loader cut uses: the format from the content, the pipeline
    // with the run's options, the writer's text.
    PlotJob job;
    QString error;
    if (!job.load(path, options, error)) {
        d->error = error;
        return d;
    }
    d->sha256 = JobJournal::fileSha256(path);
    d->report = job.report;
    d->plot = job.text;
    if (!previewSize.isEmpty())
        d->preview = QImage::fromData(job.preview).scaled(previewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return d;
}

std::shared_ptr<const PreparedDesign> DesignCache::get(const QString &code, const QString &path)
{
    const auto it = m_byCode.constFind(code);
    if (it != m_byCode.constEnd()) {
        const std::shared_ptr<const PreparedDesign> &d = *it;
        const QFileInfo info(path);
        if (d->path == info.absoluteFilePath() && d->modified == info.lastModified() && d->size == info.size()) {
            m_order.removeOne(code);
            m_order.append(code);
            return d;
        }
        m_bytes -= d->footprint();
        m_byCode.remove(code);
        m_order.removeOne(code);
    }
    std::shared_ptr<const PreparedDesign> d = prepare(code, path, m_options, m_previewSize);
    ++m_reads;
    m_byCode.insert(code, d);
    m_order.append(code);
    m_bytes += d->footprint();
    trim();
    return d;
}

void DesignCache::trim()
{
    // The newest entry stays even when it alone is over the bound: it is
    // the one the sheet under the camera needs.
    while (m_order.size() > 1 && (m_order.size() > MaxEntries || m_bytes > MaxBytes)) {
        const QString oldest = m_order.takeFirst();
        m_bytes -= m_byCode.value(oldest)->footprint();
        m_byCode.remove(oldest);
    }
}
