// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumeRun.h"

#include "DeviceSession.h"
#include "JobJournal.h"
#include "Reconnector.h"
#include "RecordedOptions.h"
#include "property/VXDeviceProperty.h"

#include <QTimer>

ResumeRun::ResumeRun(DeviceSession &session, const JobJournal &journal, QObject *parent)
    : QObject(parent), m_session(session), m_journal(journal), m_runner(session)
{
    connect(&m_runner, &JobRunner::finished, this, &ResumeRun::onPartEnded);
    connect(&m_session, &DeviceSession::jobReport, this, [this] {
        if (m_stage == Stage::Asking)
            m_heard = m_session.report();
    });
}

Failure ResumeRun::prepare(ResumePlan::Interrupted mode, const PlotOptions &given, const QStringList &flags)
{
    if (isRunning())
        return {Failure::Other, tr("a resume is under way")};
    m_nestCut = NestCut();
    m_nest.reset();
    const Failure f = find(m_journal, mode, &m_job, &m_nestCut, given, flags);
    m_prepared = !f;
    return f;
}

bool ResumeRun::start()
{
    if (!m_prepared || isRunning() || !m_session.linkUp())
        return false;
    m_prepared = false;
    m_stage = Stage::Asking;
    m_heard = JobReport();
    m_record = m_correction = JobRecord();
    m_failure = Failure();
    m_journalError.clear();
    m_stopping = false;
    // The job answer comes before the records': replies keep their order.
    m_session.queryJob();
    DeviceQuery *q = m_session.query(MachineIdentity::identityKeys()
                                     + QStringList{QStringLiteral("SP2_SPEED"), QStringLiteral("PU_SPEED")});
    connect(q, &DeviceQuery::done, this, [this, q] {
        q->deleteLater();
        onAsked();
    });
    return true;
}

void ResumeRun::stop()
{
    m_stopping = true;
    if (m_stage == Stage::Asking)
        end({Failure::Interrupted, tr("interrupted before anything was cut")});
    else if (m_nest && m_nest->isRunning())
        m_nest->stop();
    else if (m_runner.isRunning())
        m_runner.stop();
}

void ResumeRun::onAsked()
{
    if (m_stage != Stage::Asking)
        return;
    if (!m_session.linkUp())
        return end({Failure::DeviceLost, tr("the link dropped before anything was cut")});
    // No fresh report: the machine repeated the last one, which the device
    // object does not pass on twice.
    if (!m_heard.isValid())
        m_heard = m_session.report();
    if (!m_nestCut.windows.empty()) {
        if (Failure f = settleNest())
            return end(f);
        return startNest();
    }
    if (Failure f = settle())
        return end(f);
    if (m_stage == Stage::Asking)
        startPart(m_job.plan.partial);
}

// The machine's answer to the job query: refused while it cuts a job, and
// the journal corrected to what it reports of ours (*corrected then).
Failure ResumeRun::heardFromMachine(const MachineIdentity &here, JobRecord *fixed, bool *corrected)
{
    if (Failure f = ResumeJob::machineBusy(m_heard))
        return f;
    *corrected = m_job.corrected(m_heard, here, fixed);
    if (*corrected) {
        append(*fixed);
        m_correction = *fixed;
        emit this->corrected(*fixed);
    }
    return Failure();
}

// mm/s as the machine holds it; 0 (the slowest) when the record is missing.
double ResumeRun::speed(const char *key) const
{
    VXDeviceProperty *p = m_session.record(QLatin1String(key));
    return p ? p->value().toDouble() : 0.0;
}

// What the machine says of the job, then what is left: a failure, Ended
// when the machine cut it all, or ready to cut.
Failure ResumeRun::settle()
{
    const MachineIdentity here = MachineIdentity::fromRecords(m_session);
    JobRecord fixed;
    bool corrected = false;
    if (Failure f = heardFromMachine(here, &fixed, &corrected))
        return f;
    if (corrected) {
        if (fixed.outcome == JobRecord::Outcome::Finished) {
            end(Failure());
            return Failure();
        }
        if (Failure f = m_job.adopt(fixed))
            return f;
    }
    QString warning;
    if (Failure f = m_job.checkMachine(here, &warning))
        return f;
    if (!warning.isEmpty())
        emit this->warning(warning);
    if (m_job.plan.partial) {
        if (Failure f = m_job.rest(speed("SP2_SPEED"), speed("PU_SPEED"), &m_rest, &m_restStroke))
            return f;
    }
    m_record = m_job.begin(here);
    return Failure();
}

void ResumeRun::startPart(bool rest)
{
    m_stage = rest ? Stage::Rest : Stage::Whole;
    const int copies = rest ? 1 : m_job.plan.whole;
    // One record for the resume, written here: the parts write none.
    m_runner.setJournal(nullptr);
    m_runner.setRecordOrigin(m_job.from.file, m_job.from.sha256, m_job.from.id);
    if (!m_runner.start(rest ? m_rest : m_job.job, copies)) {
        // Nothing went to the machine: the record resumed stays open. After
        // the rest, the whole copies are still to cut.
        if (!m_record.end.isValid()) {
            m_record = JobRecord();
        } else {
            m_record.outcome = JobRecord::Outcome::Interrupted;
            m_record.percent = 0;
        }
        return end({Failure::DeviceLost, tr("the link is down; the resume stopped before %1")
                                             .arg(rest ? m_job.planText() : tr("the whole copies"))});
    }
    emit partStarted(rest, copies, m_restStroke);
}

void ResumeRun::onPartEnded(JobRunner::State state)
{
    // A nest's windows are its run's to follow.
    if ((m_stage != Stage::Rest && m_stage != Stage::Whole) || m_nest)
        return;
    const bool rest = m_stage == Stage::Rest;
    m_job.addPart(m_record, m_runner, rest ? 1 : m_job.plan.whole, rest);
    if (state == JobRunner::State::Finished && rest && m_job.plan.whole > 0 && !m_stopping) {
        // After the ended part's own deferred close.
        QTimer::singleShot(0, this, [this] {
            if (m_stage == Stage::Rest && !m_stopping)
                startPart(false);
            else if (m_stage == Stage::Rest)
                end({Failure::Interrupted, tr("interrupted after the rest of copy %1")
                                               .arg(m_job.from.finished + 1)});
        });
        return;
    }
    end(m_runner.failure());
}

void ResumeRun::end(const Failure &failure)
{
    m_failure = failure;
    if (m_record.start.isValid() && m_nestCut.windows.empty())
        append(m_record);
    m_stage = Stage::Ended;
    emit finished();
}

bool ResumeRun::append(JobRecord &record)
{
    QString error;
    if (m_journal.append(record, &error))
        return true;
    m_journalError = error;
    return false;
}

Failure ResumeRun::find(const JobJournal &journal, ResumePlan::Interrupted mode, ResumeJob *out, NestCut *nest,
                        const PlotOptions &given, const QStringList &flags)
{
    const std::optional<JobRecord> last = journal.lastInterrupted();
    if (last && last->nestWindows > 0)
        return findNest(*last, mode, out, nest);
    return ResumeJob::find(journal, mode, out, given, flags);
}

// The window's record against the saved nest: the file it names, the nest's
// checksum and the window's plot. The window counts as one copy.
Failure ResumeRun::findNest(const JobRecord &record, ResumePlan::Interrupted mode, ResumeJob *out, NestCut *nest)
{
    NestCut cut;
    if (Failure f = NestCut::load(record.file, &cut))
        return {f.kind, tr("%1; nothing was cut").arg(f.message)};
    const int k = record.nestWindow;
    if (JobJournal::fileSha256(record.file) != record.sha256 || cut.sha256 != record.nestSha256
        || k < 1 || k > int(cut.windows.size()) || int(cut.windows.size()) != record.nestWindows
        || (!record.plotSha256.isEmpty() && cut.windows[std::size_t(k - 1)].job.textSha256 != record.plotSha256))
        return {Failure::PlotFile, tr("the saved nest %1 is not the nest that was cut (SHA-256 differs); nothing was cut")
                                       .arg(record.file)};
    ResumeJob r;
    r.from = record;
    r.mode = mode;
    r.job = cut.windows[std::size_t(k - 1)].job;
    QString error;
    RecordedOptions::read(record.options, &r.options, &error);
    const Failure f = r.adopt(record);
    *out = r;
    *nest = cut;
    // Nothing left of this window is no end: the later windows are.
    if (f.kind == Failure::Other && k < int(cut.windows.size()))
        return Failure();
    return f;
}

// What the machine says of the window, then where the nest goes on.
Failure ResumeRun::settleNest()
{
    const MachineIdentity here = MachineIdentity::fromRecords(m_session);
    const MachineIdentity there{m_job.from.deviceId, m_job.from.uniqueId};
    // The nest's material lies on the machine that cut its first windows.
    if (there.known() && !here.matches(there))
        return {Failure::Other, tr("the nest was cut on %1, this is %2: its material is not here; nothing was cut")
                                    .arg(there.text(), here.text())};
    JobRecord fixed;
    bool corrected = false;
    if (Failure f = heardFromMachine(here, &fixed, &corrected))
        return f;
    if (corrected) {
        m_job.from = fixed;
        m_job.plan = ResumePlan::make(1, fixed.finished, fixed.percent, m_job.mode);
    }
    const int k = m_job.from.nestWindow;
    const ResumePlan &plan = m_job.plan;
    m_nestFirst = k;
    m_rest = PlotJob();
    if (m_job.from.finished >= 1) {
        // Cut through, and fed on by the machine's automatic feed.
        m_nestFirst = k + 1;
    } else if (plan.partial) {
        if (Failure f = m_job.rest(speed("SP2_SPEED"), speed("PU_SPEED"), &m_rest, &m_restStroke))
            return f;
    } else if (plan.whole == 0) {
        // Left out: its feed still moves the material on to the next window.
        m_rest = m_job.job;
        m_rest.text = QStringLiteral("IN;");
        m_rest.pathMm = m_rest.travelMm = 0;
    }
    if (m_nestFirst > int(m_nestCut.windows.size()))
        return {Failure::Other, tr("nothing is left to cut of %1").arg(m_nestCut.name)};
    return Failure();
}

void ResumeRun::startNest()
{
    m_stage = Stage::Whole;
    m_nest.reset(new NestRun(m_session, m_runner));
    m_nest->setCut(m_nestCut);
    m_nest->setJournal(&m_journal);
    m_nest->setResume(m_job.from.id, m_job.from.feedBefore);
    const bool rest = !m_rest.text.isEmpty() && m_nestFirst == m_job.from.nestWindow;
    if (rest)
        m_nest->setFirstPlot(m_rest);
    connect(m_nest.get(), &NestRun::warning, this, &ResumeRun::warning);
    connect(m_nest.get(), &NestRun::finished, this, [this] {
        m_record = m_nest->lastRecord();
        end(m_nest->failure());
    });
    if (!m_nest->start(m_nestFirst))
        return end({Failure::DeviceLost, tr("the link is down; the resume stopped before window %1").arg(m_nestFirst)});
    emit partStarted(rest && m_job.plan.partial, 1, m_restStroke);
}
