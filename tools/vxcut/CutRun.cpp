#include "CutRun.h"

#include "ExitCodes.h"
#include "Output.h"
#include "PlotJob.h"
#include "Session.h"
#include "property/VXDeviceProperty.h"

#include <QStringList>

CutRun::CutRun(Session &session, Output &out, QObject *parent)
    : QObject(parent), m_session(session), m_out(out)
{
    connect(&m_session, &Session::taskReport, this, &CutRun::onReport);
}

void CutRun::onReport(const QString &)
{
    // The device object has already decoded the report into "TASK" (the
    // fields the Runtime snapshot carries); read it there rather than parse twice.
    VXDeviceProperty *task = m_session.record(QStringLiteral("TASK"));
    // A report from before startTask describes some earlier job.
    if (!task || !m_clock.isValid())
        return;
    const QJsonObject all = task->value().toJsonObject();
    for (const char *key : {"Status", "FileName", "TaskCopies", "Finished", "Percent"})
        m_task.insert(QLatin1String(key), all.value(QLatin1String(key)));
    m_started = true;
    ++m_reports;
    m_lastReport.restart();
    m_out.progress(m_task, remainingSeconds());
}

bool CutRun::jobDone() const
{
    const int copies = m_task.value(QStringLiteral("TaskCopies")).toInt();
    const int finished = m_task.value(QStringLiteral("Finished")).toInt();
    return m_started && ((copies > 0 && finished >= copies) || endedEarly());
}

bool CutRun::endedEarly() const
{
    // The simulator's job states; a machine that never sends them ends by copies.
    const int status = m_task.value(QStringLiteral("Status")).toInt();
    return m_started && (status == StatusStopped || status == StatusFailed);
}

int CutRun::remainingSeconds() const
{
    const int copies = qMax(1, m_task.value(QStringLiteral("TaskCopies")).toInt(m_copies));
    const int finished = m_task.value(QStringLiteral("Finished")).toInt();
    const int percent = qBound(0, m_task.value(QStringLiteral("Percent")).toInt(), 100);
    if (finished >= copies)
        return 0;
    // Machines differ on whether Percent covers the whole job or the copy
    // under the knife; the larger reading is right for both. The pace so far,
    // as the machine itself reports it, predicts the rest.
    const double done = qMax(percent / 100.0, double(finished) / copies);
    const double elapsed = m_clock.isValid() ? m_clock.elapsed() / 1000.0 : 0;
    if (done <= 0.01 || elapsed <= 0)
        return m_estimate;
    return int(elapsed * (1 - done) / done + 0.5);
}

QJsonObject CutRun::summary() const
{
    QJsonObject s = m_task;
    s.insert(QStringLiteral("elapsed_ms"), m_clock.isValid() ? m_clock.elapsed() : 0);
    return s;
}

int CutRun::run(const PlotJob &job, int copies)
{
    VXDeviceInterface *device = m_session.device();
    m_copies = copies;

    double cutSpeed = 0, travelSpeed = 0;
    m_session.query({QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("SP2_SPEED")))
        cutSpeed = p->value().toDouble();
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("PU_SPEED")))
        travelSpeed = p->value().toDouble();
    if (m_session.lost() || m_session.interrupted())
        return m_out.result(m_session.lost() ? ExitCode::DeviceLost : ExitCode::Interrupted,
                            m_session.lost() ? m_session.lostReason() : QStringLiteral("interrupted"));
    m_estimate = job.estimateSeconds(cutSpeed, travelSpeed, copies);

    QJsonObject plot = job.fileInfo();
    plot.insert(QStringLiteral("FileName"), job.fileName);
    plot.insert(QStringLiteral("TaskCopies"), copies);
    plot.insert(QStringLiteral("travel_length"), qRound64(job.travelMm));
    plot.insert(QStringLiteral("estimate"), m_estimate);
    m_out.event(QStringLiteral("plot"), plot,
                QStringLiteral("plot %1: %2 x %3 mm, cut length %4 mm (+%5 mm travel), %6 cop%7, estimated %8")
                    .arg(job.fileName)
                    .arg(job.widthMm, 0, 'f', 1).arg(job.heightMm, 0, 'f', 1)
                    .arg(job.pathMm, 0, 'f', 0).arg(job.travelMm, 0, 'f', 0)
                    .arg(copies).arg(copies == 1 ? QStringLiteral("y") : QStringLiteral("ies"))
                    .arg(m_estimate < 0 ? QStringLiteral("unknown (machine speeds not read)")
                                        : Output::duration(m_estimate)));

    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_MODE")))
        p->setValue(0);
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_COPIES")))
        p->setValue(copies);
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("TASK_FILE_INFO")))
        p->setValue(job.fileInfo());
    if (VXDeviceProperty *p = m_session.record(QStringLiteral("FILE_PREVIEW")))
        p->setValue(job.preview);
    device->setPlt(job.text);
    m_clock.start();
    m_lastReport.start();
    device->startTask();

    // Silence is caught by the session's liveness watch; this bound only
    // catches a machine that answers but never moves on.
    const qint64 stall = qMax<qint64>(60000, 2000LL * qMax(0, m_estimate));
    while (!jobDone()) {
        if (m_session.wait([this] { return jobDone(); }, 500))
            break;
        if (m_session.interrupted()) {
            m_out.text(QStringLiteral("stopping the job on the machine..."));
            if (VXDeviceProperty *stop = m_session.record(QStringLiteral("TASK_STOP"))) {
                stop->setValue(2);
                m_session.send(stop);
            }
            // The machine's next report confirms the stop; do not hang on it.
            const int seen = m_reports;
            m_session.wait([&] { return m_reports > seen; }, 1500, false);
            device->stopTask();
            m_session.flush();
            return m_out.result(ExitCode::Interrupted,
                                QStringLiteral("interrupted; job stopped on the machine with %1 of %2 copies finished, at %3%")
                                    .arg(m_task.value(QStringLiteral("Finished")).toInt())
                                    .arg(copies)
                                    .arg(m_task.value(QStringLiteral("Percent")).toInt()),
                                summary());
        }
        if (m_session.lost()) {
            device->stopTask();
            return m_out.result(ExitCode::DeviceLost,
                                QStringLiteral("%1 during the job; cut so far: %2 of %3 copies finished, the machine last reported %4%")
                                    .arg(m_session.lostReason())
                                    .arg(m_task.value(QStringLiteral("Finished")).toInt())
                                    .arg(copies)
                                    .arg(m_task.value(QStringLiteral("Percent")).toInt()),
                                summary());
        }
        if (m_lastReport.elapsed() > stall) {
            device->stopTask();
            return m_out.result(ExitCode::TimedOut,
                                QStringLiteral("the machine reported no progress for %1 s").arg(stall / 1000),
                                summary());
        }
    }
    device->stopTask();
    if (!endedEarly())
        m_out.text(QStringLiteral("done: %1 of %2 copies in %3")
                       .arg(m_task.value(QStringLiteral("Finished")).toInt()).arg(copies)
                       .arg(Output::duration(int(m_clock.elapsed() / 1000))));
    if (endedEarly()) {
        const int status = m_task.value(QStringLiteral("Status")).toInt();
        return m_out.result(ExitCode::Failure,
                            status == StatusFailed
                                ? QStringLiteral("the machine could not cut the plot (job status %1)").arg(status)
                                : QStringLiteral("the job was stopped on the machine after %1 of %2 copies")
                                      .arg(m_task.value(QStringLiteral("Finished")).toInt()).arg(copies),
                            summary());
    }
    return ExitCode::Ok;
}
