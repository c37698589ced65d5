// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ResumeRun.h"

#include "DeviceSession.h"
#include "JobJournal.h"
#include "Reconnector.h"
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
    const Failure f = ResumeJob::find(m_journal, mode, &m_job, given, flags);
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
    if (Failure f = settle())
        return end(f);
    if (m_stage == Stage::Asking)
        startPart(m_job.plan.partial);
}

// What the machine says of the job, then what is left: a failure, Ended
// when the machine cut it all, or ready to cut.
Failure ResumeRun::settle()
{
    const MachineIdentity here = MachineIdentity::fromRecords(m_session);
    if (Failure f = ResumeJob::machineBusy(m_heard))
        return f;
    JobRecord fixed;
    if (m_job.corrected(m_heard, here, &fixed)) {
        append(fixed);
        m_correction = fixed;
        emit corrected(fixed);
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
        const auto speed = [this](const char *key) {
            VXDeviceProperty *p = m_session.record(QLatin1String(key));
            return p ? p->value().toDouble() : 0.0;
        };
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
    if (m_stage != Stage::Rest && m_stage != Stage::Whole)
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
    if (m_record.start.isValid())
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
