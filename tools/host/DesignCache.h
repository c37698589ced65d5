// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotPipeline.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <memory>

// One code's design, read and put through the plot pipeline once: the plot
// text that goes to the machine as the sheet's QR plot, the facts shown and
// journalled, and (when asked for) a small preview.
struct PreparedDesign
{
    QString code;
    QString path;            // absolute
    QString name;            // file name, as shown and journalled
    QString plot;            // what "QR_PLT" carries
    QByteArray sha256;       // of the design file as read (hex)
    PlotReport report;
    QImage preview;          // null unless a preview size was set
    QString error;           // non-empty: the design cannot be cut
    // The file as it was read; a changed file is read again.
    QDateTime modified;
    qint64 size = -1;

    bool ok() const { return error.isEmpty(); }
    qint64 footprint() const { return qint64(plot.size()) * 2 + preview.sizeInBytes() + 512; }
};

// Prepared designs by code. A production run repeats a few designs many
// times, so each is read once; the cache is bounded by entries and by bytes
// (least recently used go first) so memory stays flat however many sheets
// and codes pass. A design whose file changed (time or size) is read again,
// so an operator may fix a design while the run goes on. Failures are kept
// too, so a broken design is not re-read for every sheet that names it.
class DesignCache
{
    Q_DECLARE_TR_FUNCTIONS(DesignCache)

public:
    static constexpr int MaxEntries = 64;
    static constexpr qint64 MaxBytes = qint64(256) << 20;

    void setOptions(const PlotOptions &options);
    const PlotOptions &options() const { return m_options; }
    // Null size: no previews.
    void setPreviewSize(const QSize &size) { m_previewSize = size; }

    std::shared_ptr<const PreparedDesign> get(const QString &code, const QString &path);
    void clear();

    int entries() const { return m_order.size(); }
    qint64 bytes() const { return m_bytes; }
    int reads() const { return m_reads; }   // designs read from disk so far

    static std::shared_ptr<PreparedDesign> prepare(const QString &code, const QString &path,
                                                   const PlotOptions &options, const QSize &preview);

private:
    void trim();

    PlotOptions m_options;
    QSize m_previewSize;
    QHash<QString, std::shared_ptr<const PreparedDesign>> m_byCode;
    QList<QString> m_order;   // least recently used first
    qint64 m_bytes = 0;
    int m_reads = 0;
};
