// SPDX-License-Identifier: LGPL-2.1-or-later
#include "DesignLoader.h"

#include <QThread>

DesignLoader::DesignLoader(QObject *parent)
    : QObject(parent)
{
}

DesignLoader::~DesignLoader()
{
    cancel();
    // Superseded loads were cancelled when they were replaced; all end soon.
    for (QThread *thread : findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly))
        thread->wait();
}

DesignLoad DesignLoader::loadNow(const QString &path, const PlotOptions &options, const std::atomic<bool> *cancel)
{
    DesignLoad load;
    load.path = path;
    load.ok = load.job.load(path, options, load.error, &load.plan, cancel);
    // A load that ended just as the flag was set is cancelled all the same:
    // the operator was told it would not replace what is shown.
    if (cancel && cancel->load()) {
        load.ok = false;
        load.cancelled = true;
    }
    load.plan.cut = PlotDocument();
    return load;
}

void DesignLoader::start(const QString &path, const PlotOptions &options)
{
    abandon();
    auto flag = std::make_shared<std::atomic<bool>>(false);
    auto out = std::make_shared<DesignLoad>();
    const quint64 serial = ++m_serial;
    m_cancel = flag;
    m_path = path;
    m_busy = true;
    QThread *thread = QThread::create([flag, out, path, options] { *out = loadNow(path, options, flag.get()); });
    thread->setParent(this);
    // finished is emitted on the worker; the loader lives here, so the
    // result crosses back queued and is read only once the thread is done.
    connect(thread, &QThread::finished, this, [this, thread, out, serial] {
        thread->deleteLater();
        if (serial != m_serial)
            return;
        m_busy = false;
        m_cancel.reset();
        m_result = std::move(*out);
        emit finished();
    });
    thread->start();
}

void DesignLoader::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void DesignLoader::abandon()
{
    cancel();
    m_cancel.reset();
    m_busy = false;
    ++m_serial;
}
