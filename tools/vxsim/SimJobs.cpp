// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXSimulator_p.h"

#include <cmath>

using namespace SimNumbers;

namespace {
// Head paths of bigger plots are not kept; their reports show the origin.
constexpr qsizetype MaxWalkedPlot = 16 << 20;
constexpr int MaxQueuedJobs = 8;
// Editors never allow slower; a zero speed must not make a job endless.
constexpr double MinSpeedMmPerS = 10;
// The feed group (CMD): automatic feed on/off, feed distance in mm.
constexpr int AutoFeed = 134;
constexpr int FeedLength = 135;
} // namespace

bool VXSimulator::Private::readPlot(const QByteArray &body, SimRunningJob &j)
{
    PlotReader reader;
    reader.setKeepPolylines(body.size() <= MaxWalkedPlot);
    const bool ok = reader.read(body);
    if (!ok)
        j.info.error = reader.errorString();
    j.info.pathLength = reader.pathLength();
    j.info.travelLength = reader.travelLength();
    const PlotDocument &doc = reader.document();
    for (int i = 0; i < doc.pathCount(); ++i) {
        if (j.info.tools.isEmpty() || j.info.tools.last().tool != doc.toolOf(i))
            j.info.tools.append(VXSimJob::ToolRun{doc.toolOf(i), 0});
        j.info.tools.last().pathLength += doc.pathLength(i) * PlotReader::UnitsPerMm;
    }
    j.info.width = reader.width();
    j.info.height = reader.height();
    j.strokes = ok ? reader.polylines() : QVector<PlotReader::Polyline>();
    j.cutSpeed = qMax(MinSpeedMmPerS, settings.cmd.value(Sp2Speed).toDouble()) * PlotReader::UnitsPerMm;
    j.travelSpeed = qMax(MinSpeedMmPerS, settings.cmd.value(PenUpSpeed).toDouble()) * PlotReader::UnitsPerMm;
    j.perCopy = j.info.pathLength / j.cutSpeed + j.info.travelLength / j.travelSpeed;
    return ok;
}

bool VXSimulator::Private::enqueue(SimRunningJob &j)
{
    VXSimJob &info = j.info;
    if (info.error.isEmpty() && queue.size() >= MaxQueuedJobs)
        info.error = QStringLiteral("job queue full");
    if (!info.error.isEmpty()) {
        info.status = VXSimJobStatus::Failed;
        jobs.append(info);
        const QString item = QStringLiteral("66,%1,%2,%3,0,0,0,0,0,0")
                                 .arg(QString::number(int(info.status)), info.fileName, QString::number(info.copies));
        broadcast("CCMD", item.toUtf8() + ';');
        emit q->jobReport(info.id, item);
        emit q->jobFailed(info.id, info.error);
        return false;
    }
    queue.append(j);
    if (!running)
        startNext();
    return true;
}

void VXSimulator::Private::acceptPlot(const QByteArray &kind, const QByteArray &body)
{
    SimRunningJob j;
    VXSimJob &info = j.info;
    info.id = nextJobId++;
    info.kind = kind;
    info.fileName = QStringLiteral("job%1.plt").arg(info.id);
    info.bytes = body.size();
    info.copies = kind == "QR_PLT" ? settings.ccmd.value(QrCopies).toInt()
                                   : settings.num.value(Copies).toInt();
    info.copies = qMax(1, info.copies);
    lastJobData = body;
    readPlot(body, j);
    info.seconds = j.perCopy * info.copies;
    enqueue(j);
}

void VXSimulator::Private::startNext()
{
    if (running || queue.isEmpty())
        return;
    job = queue.takeFirst();
    running = true;
    job.info.status = VXSimJobStatus::Cutting;
    if (!job.qr)
        job.info.materialOffset = materialFed;
    jobs.append(job.info);
    wall.restart();
    emit q->jobStarted(job.info.id);
    report();
    if (job.qr) {
        feedSheet(false);
        return;
    }
    if (job.info.seconds <= 0)
        finishJob(VXSimJobStatus::Finished);
}

void VXSimulator::Private::tick()
{
    const double dt = wall.nsecsElapsed() / 1e9 * speedup;
    wall.restart();
    if (running) {
        if (job.qr && (job.info.status == VXSimJobStatus::Cutting
                       || job.info.status == VXSimJobStatus::WaitingPlot))
            advanceQr(dt);
        else if (job.info.status == VXSimJobStatus::Cutting)
            advance(dt);
        rearm();
        return;
    }
    // Jog word: bit 15 is the positive direction, the low bits the speed.
    const double areaX = settings.cmd.value(WorkAreaX).toDouble() * 0.5 * PlotReader::UnitsPerMm;
    const double areaY = settings.cmd.value(WorkAreaY).toDouble() * 0.5 * PlotReader::UnitsPerMm;
    auto jog = [dt](uint word, double v, double max) {
        if (!(word & 0x7fff))
            return v;
        const double step = (word & 0x7fff) * PlotReader::UnitsPerMm * dt;
        return qBound(0.0, v + ((word & 0x8000) ? step : -step), max);
    };
    head.setX(jog(settings.cmd.value(JogX).toUInt(), head.x(), areaX));
    head.setY(jog(settings.cmd.value(JogY).toUInt(), head.y(), areaY));
    rearm();
}

void VXSimulator::Private::rearm()
{
    // At a high speed-up a copy, a sheet or a feed ends well within one
    // tick; waking at its end rather than on the next tick is what makes
    // a thousand sheets take seconds, not minutes.
    if (!clock.isActive())
        return;
    double ms = SimTickMs;
    if (running && job.info.status == VXSimJobStatus::Cutting) {
        double left = 0;
        if (!job.qr)
            left = (job.info.seconds - job.clock) / speedup * 1000;
        else if (qrPhase == SimQrPhase::Cutting)
            left = (job.perCopy - job.clock) / speedup * 1000;
        else if (qrPhase == SimQrPhase::Feeding)
            left = qMax((feedSeconds - feedClock) / speedup * 1000,
                        gapTimer.isValid() ? double(LateGapMs - gapTimer.elapsed()) : 0.0);
        ms = qMin(ms, std::ceil(qMax(0.0, left)));
    }
    if (clock.interval() != int(ms))
        clock.start(int(ms));
}

void VXSimulator::Private::dropCheck(int percent)
{
    if (faults.dropMidJobPercent >= 0 && !midJobDropped && percent >= faults.dropMidJobPercent) {
        midJobDropped = true;
        q->dropLinks();
    }
}

void VXSimulator::Private::advance(double seconds)
{
    job.clock += seconds;
    if (job.clock >= job.info.seconds) {
        finishJob(VXSimJobStatus::Finished);
        return;
    }
    const int finished = qMin(job.info.copies, int(job.clock / job.perCopy));
    const int percent = qMin(99, int(100 * job.clock / job.info.seconds));
    const int copyPercent = qBound(0, int(100 * (job.clock - finished * job.perCopy) / job.perCopy), 99);
    walkHead();
    if (finished == job.info.finished && percent == job.info.percent
        && copyPercent == job.info.copyPercent)
        return;
    job.info.finished = finished;
    job.info.percent = percent;
    job.info.copyPercent = copyPercent;
    updateJobRecord();
    report();
    dropCheck(percent);
}

void VXSimulator::Private::walkHead()
{
    if (job.strokes.isEmpty())
        return;
    const int copy = int(job.clock / job.perCopy);
    if (copy != job.walkCopy) {
        job.walkCopy = copy;
        job.stroke = job.point = 0;
        job.walkTime = 0;
        job.pos = QPointF();
        job.down = false;
    }
    const double t = job.clock - copy * job.perCopy;
    // Resumes where the last report left off: linear over a whole copy.
    while (job.stroke < job.strokes.size()) {
        const PlotReader::Polyline &s = job.strokes.at(job.stroke);
        if (job.down && job.point >= s.size()) {
            job.down = false;
            ++job.stroke;
            continue;
        }
        const QPointF target = job.down ? s.at(job.point) : s.first();
        const double speed = job.down ? job.cutSpeed : job.travelSpeed;
        const double dist = std::hypot(target.x() - job.pos.x(), target.y() - job.pos.y());
        const double need = dist / speed;
        if (job.walkTime + need > t) {
            const double f = need > 0 ? (t - job.walkTime) / need : 1;
            job.pos += (target - job.pos) * f;
            job.walkTime = t;
            break;
        }
        job.walkTime += need;
        job.pos = target;
        if (job.down) {
            ++job.point;
        } else {
            job.down = true;
            job.point = 1;
        }
    }
    head = origin + job.pos;
}

void VXSimulator::Private::control(int action)
{
    if (!running)
        return;
    switch (action) {
    case 0:
        if (job.info.status != VXSimJobStatus::Cutting && job.info.status != VXSimJobStatus::WaitingPlot)
            return;
        pausedFrom = job.info.status;
        job.info.status = VXSimJobStatus::Paused;
        break;
    case 1:
        if (job.info.status != VXSimJobStatus::Paused)
            return;
        job.info.status = pausedFrom;
        wall.restart();
        answerTimer.restart(); // a pause restarts a sheet's answer wait
        break;
    case 2:
        queue.clear();
        finishJob(VXSimJobStatus::Stopped);
        return;
    default:
        return;
    }
    updateJobRecord();
    report();
}

QString VXSimulator::Private::reportItem() const
{
    if (jobs.isEmpty())
        return QStringLiteral("66,0,,0,0,0,0,0,0,0");
    const VXSimJob &info = job.info;
    const QPointF at = head - origin;
    const bool down = running && info.status == VXSimJobStatus::Cutting && job.down;
    return QStringLiteral("66,%1,%2,%3,%4,%5,%6,%7,%8,%9")
        .arg(int(info.status))
        .arg(info.fileName)
        .arg(info.copies)
        .arg(info.finished)
        .arg(info.percent)
        .arg(qRound64(at.x()))
        .arg(qRound64(at.y()))
        .arg(down ? 1 : 0)
        .arg(info.copyPercent);
}

void VXSimulator::Private::report()
{
    const QString item = reportItem();
    broadcast("CCMD", item.toUtf8() + ';');
    emit q->jobReport(job.info.id, item);
}

void VXSimulator::Private::updateJobRecord()
{
    for (VXSimJob &j : jobs)
        if (j.id == job.info.id)
            j = job.info;
}

void VXSimulator::Private::finishJob(VXSimJobStatus status)
{
    job.info.status = status;
    if (job.qr && status != VXSimJobStatus::Finished) {
        VXSimSheet *sheet = currentSheet();
        if (sheet && sheet->outcome == VXSimSheet::Pending) {
            sheet->outcome = VXSimSheet::Stopped;
            sheet->note = QStringLiteral("job stopped");
            emit q->sheetDone(sheet->index);
        }
    }
    if (status == VXSimJobStatus::Finished) {
        // A QR-code job may end on an empty stack before its count.
        if (!job.qr)
            job.info.finished = job.info.copies;
        job.info.percent = 100;
        job.info.copyPercent = 100;
        job.down = false;
        if (!job.strokes.isEmpty()) {
            job.pos = job.strokes.last().last();
            head = origin + job.pos;
        }
        feedAfterJob();
    }
    job.clock = qMin(job.clock, job.info.seconds);
    updateJobRecord();
    report();
    running = false;
    const int id = job.info.id;
    if (status == VXSimJobStatus::Finished)
        emit q->jobFinished(id);
    else
        emit q->jobStopped(id);
    startNext();
}

// A plot job cut through, with the automatic feed on, moves the material on
// by the feed distance: the next job lands that much further along it. A
// stopped or refused job leaves the material where it is, so what was cut of
// it stays under the knife. The feed itself takes no simulated time.
void VXSimulator::Private::feedAfterJob()
{
    if (job.qr || settings.cmd.value(AutoFeed).toInt() != 1)
        return;
    const double feed = qMax(0.0, settings.cmd.value(FeedLength).toDouble());
    job.info.feedAfter = feed;
    materialFed += feed;
}
