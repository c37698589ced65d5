// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestSearchRun.h"

#include <QThread>

NestSearchRun::NestSearchRun(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<NestProgress>();
}

NestSearchRun::~NestSearchRun()
{
    stop();
    // Abandoned searches were stopped when they were replaced; all end soon,
    // and none may outlive the object its progress is posted to.
    for (QThread *thread : findChildren<QThread *>(QString(), Qt::FindDirectChildrenOnly))
        thread->wait();
}

NestSearchResult NestSearchRun::runNow(const NestSearchJob &job, const std::atomic<bool> *cancel,
                                       const std::function<void(const NestProgress &)> &progress)
{
    NestSearchResult out;
    NestRequest request = job.request;
    if (!PartList::load(job.files, job.plot, job.defaults, request.parts, out.error, cancel)) {
        out.cancelled = cancel && cancel->load();
        return out;
    }
    if (!NestSearch::check(request, out.error))
        return out;
    out.layout = NestSearch::run(request, cancel, progress);
    out.cancelled = out.layout.cancelled && out.layout.placed.empty();
    out.ok = !out.cancelled;
    out.parts = std::move(request.parts);
    return out;
}

void NestSearchRun::start(const NestSearchJob &job)
{
    stop();
    auto flag = std::make_shared<std::atomic<bool>>(false);
    auto out = std::make_shared<NestSearchResult>();
    const quint64 serial = ++m_serial;
    m_cancel = flag;
    m_busy = true;
    // Progress is posted from the worker; the runner outlives every worker
    // (its destructor waits), and a superseded search's posts are dropped.
    const auto post = [this, serial](const NestProgress &p) {
        QMetaObject::invokeMethod(this, [this, serial, p] {
            if (serial == m_serial)
                emit progress(p);
        }, Qt::QueuedConnection);
    };
    QThread *thread = QThread::create([job, flag, out, post] { *out = runNow(job, flag.get(), post); });
    thread->setParent(this);
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

void NestSearchRun::stop()
{
    if (m_cancel)
        m_cancel->store(true);
}
