// SPDX-License-Identifier: LGPL-2.1-or-later
#include "VXSimulator_p.h"

#include <QCryptographicHash>

using namespace SimNumbers;

// The QR-code job: a CCMD 54 write starts it; the conveyor feeds one sheet,
// the camera reads its code, the code goes out as "11,<code>" and the sheet
// waits for its QR_PLT; the plot is cut, the next sheet comes. The job is
// one job on the wire: its copies are the sheets asked, its finished count
// the sheets cut. tools/vxsim/README.md has the reports.

namespace {
constexpr int MaxKeptSheets = 100000;
// Feed speeds below this would make a feed last for ever.
constexpr double MinFeedMmPerS = 10;
} // namespace

QString VXSimulator::sheetCodeError(const QString &code)
{
    if (code.isEmpty())
        return QStringLiteral("empty code");
    // The host sees only the last ','-field of the reply, and ';' ends it.
    for (const QChar c : code) {
        if (c == QLatin1Char(',') || c == QLatin1Char(';'))
            return QStringLiteral("'%1' cannot travel in a code reply").arg(c);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("control character in code");
    }
    return QString();
}

bool VXSimulator::setSheets(const QStringList &codes, QString *error)
{
    for (int i = 0; i < codes.size(); ++i) {
        const QString why = sheetCodeError(codes.at(i));
        if (!why.isEmpty()) {
            if (error)
                *error = QStringLiteral("sheet %1: %2").arg(i + 1).arg(why);
            return false;
        }
    }
    d->stack = codes;
    d->stackPos = 0;
    return true;
}

int VXSimulator::sheetsLeft() const
{
    return d->stack.size() - d->stackPos;
}

void VXSimulator::setAnswerWait(int ms)
{
    d->answerWaitMs = ms < 0 ? -1 : ms;
}

QList<VXSimSheet> VXSimulator::sheets() const
{
    return d->sheets;
}

int VXSimulator::ignoredQrPlots() const
{
    return d->ignoredQrPlots;
}

VXSimSheet *VXSimulator::Private::currentSheet()
{
    if (sheets.isEmpty() || sheets.last().jobId != job.info.id)
        return nullptr;
    return &sheets.last();
}

void VXSimulator::Private::startQrJob()
{
    // A second write of the count while a QR-code job runs or waits in the
    // queue only changes the setting.
    if (running && job.qr)
        return;
    for (const SimRunningJob &j : queue)
        if (j.qr)
            return;
    SimRunningJob j;
    j.qr = true;
    j.info.id = nextJobId++;
    j.info.kind = "QR_PLT";
    j.info.fileName = QStringLiteral("job%1.plt").arg(j.info.id);
    j.info.copies = qMax(1, settings.ccmd.value(QrCopies).toInt());
    enqueue(j);
}

void VXSimulator::Private::feedSheet(bool afterLateSkip)
{
    qrPhase = SimQrPhase::Feeding;
    job.info.status = VXSimJobStatus::Cutting;
    job.down = false;
    feedClock = 0;
    feedSeconds = settings.cmd.value(135).toDouble()
                  / qMax(MinFeedMmPerS, settings.cmd.value(138).toDouble());
    if (afterLateSkip)
        gapTimer.start();
    else
        gapTimer.invalidate();
    wall.restart();
    rearm();
}

void VXSimulator::Private::readSheet()
{
    if (stackPos >= stack.size()) {
        finishJob(VXSimJobStatus::Finished);
        return;
    }
    VXSimSheet sheet;
    sheet.index = stackPos + 1;
    sheet.jobId = job.info.id;
    const QString printed = stack.at(stackPos++);
    if (printed != QLatin1String("?"))
        sheet.code = printed;
    if (sheets.size() >= MaxKeptSheets)
        sheets.removeFirst();
    sheets.append(sheet);
    // An unreadable code is reported empty: the host learns a sheet came
    // and went, and never gets a code it could mistake for a design.
    broadcast("CCMD", "11," + sheet.code.toUtf8() + ';');
    emit q->sheetRead(sheet.index, sheet.code);
    if (sheet.code.isEmpty()) {
        skipSheet(VXSimSheet::Unreadable, QStringLiteral("code unreadable"));
        return;
    }
    qrPhase = SimQrPhase::Waiting;
    job.info.status = VXSimJobStatus::WaitingPlot;
    job.info.copyPercent = 0;
    updateJobRecord();
    report();
    answerTimer.start();
}

void VXSimulator::Private::advanceQr(double seconds)
{
    switch (qrPhase) {
    case SimQrPhase::Feeding:
        feedClock += seconds;
        if (feedClock >= feedSeconds && (!gapTimer.isValid() || gapTimer.elapsed() >= LateGapMs))
            readSheet();
        return;
    case SimQrPhase::Waiting:
        if (job.info.status == VXSimJobStatus::WaitingPlot && answerWaitMs >= 0
            && answerTimer.elapsed() >= answerWaitMs)
            skipSheet(VXSimSheet::NoAnswer, QStringLiteral("no plot within %1 ms").arg(answerWaitMs));
        return;
    case SimQrPhase::Cutting:
        break;
    }
    job.clock += seconds;
    if (job.clock >= job.perCopy) {
        sheetCut();
        return;
    }
    const double sheet = job.clock / job.perCopy;
    const int copyPercent = qMin(99, int(100 * sheet));
    const int percent = qMin(99, int(100 * (job.info.finished + sheet) / job.info.copies));
    walkHead();
    if (copyPercent == job.info.copyPercent && percent == job.info.percent)
        return;
    job.info.copyPercent = copyPercent;
    job.info.percent = percent;
    updateJobRecord();
    report();
    dropCheck(percent);
}

void VXSimulator::Private::acceptQrPlot(const QByteArray &body)
{
    VXSimSheet *sheet = currentSheet();
    // A plot for a sheet waiting under a paused machine is taken; the cut
    // starts on resume.
    const bool paused = job.info.status == VXSimJobStatus::Paused && pausedFrom == VXSimJobStatus::WaitingPlot;
    if (qrPhase != SimQrPhase::Waiting || !sheet
        || (job.info.status != VXSimJobStatus::WaitingPlot && !paused)) {
        // A plot for a sheet that has gone (or none has come): cutting it
        // on whatever lies under the knife would be a wrong cut.
        ++ignoredQrPlots;
        emit q->qrPlotIgnored(QStringLiteral("no sheet is waiting for a plot"));
        return;
    }
    lastJobData = body;
    sheet->plotBytes = body.size();
    sheet->plotSha256 = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    SimRunningJob cut;
    const bool ok = readPlot(body, cut);
    sheet->width = cut.info.width;
    sheet->height = cut.info.height;
    sheet->pathLength = cut.info.pathLength;
    if (!ok) {
        skipSheet(VXSimSheet::BadPlot, QStringLiteral("plot unreadable: ") + cut.info.error);
        return;
    }
    job.strokes = cut.strokes;
    job.perCopy = cut.perCopy;
    job.cutSpeed = cut.cutSpeed;
    job.travelSpeed = cut.travelSpeed;
    job.clock = 0;
    job.walkCopy = -1;
    job.info.bytes += body.size();
    job.info.pathLength += cut.info.pathLength;
    job.info.travelLength += cut.info.travelLength;
    job.info.seconds += cut.perCopy;
    qrPhase = SimQrPhase::Cutting;
    job.info.copyPercent = 0;
    if (paused) {
        pausedFrom = VXSimJobStatus::Cutting;
        updateJobRecord();
        return;
    }
    job.info.status = VXSimJobStatus::Cutting;
    updateJobRecord();
    report();
    wall.restart();
    if (job.perCopy <= 0)
        sheetCut();
    else
        rearm();
}

void VXSimulator::Private::skipSheet(VXSimSheet::Outcome outcome, const QString &note)
{
    VXSimSheet *sheet = currentSheet();
    const int index = sheet ? sheet->index : 0;
    if (sheet) {
        sheet->outcome = outcome;
        sheet->note = note;
    }
    job.info.status = VXSimJobStatus::SheetSkipped;
    job.info.copyPercent = 0;
    updateJobRecord();
    report();
    emit q->sheetDone(index);
    if (!running)
        return;
    job.info.status = VXSimJobStatus::Cutting;
    if (stackPos >= stack.size())
        finishJob(VXSimJobStatus::Finished);
    else
        feedSheet(outcome == VXSimSheet::NoAnswer);
}

void VXSimulator::Private::sheetCut()
{
    VXSimSheet *sheet = currentSheet();
    if (sheet)
        sheet->outcome = VXSimSheet::Cut;
    const int index = sheet ? sheet->index : 0;
    ++job.info.finished;
    job.down = false;
    if (job.info.finished >= job.info.copies || stackPos >= stack.size()) {
        emit q->sheetDone(index);
        finishJob(VXSimJobStatus::Finished);
        return;
    }
    job.info.copyPercent = 100;
    job.info.percent = qMin(99, 100 * job.info.finished / job.info.copies);
    updateJobRecord();
    report();
    emit q->sheetDone(index);
    if (running && job.qr)
        feedSheet(false);
}
