// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestRun.h"

#include "DeviceSession.h"
#include "JobJournal.h"
#include "RecordValue.h"
#include "property/VXDeviceProperty.h"

#include <QJsonValue>
#include <QLocale>
#include <QTimer>

namespace {
const QString kAutoFeed = QStringLiteral("AUTO_FEED");
const QString kFeedLength = QStringLiteral("FEED_LENGTH");
}

NestRun::NestRun(DeviceSession &session, QObject *parent)
    : NestRun(session, *new JobRunner(session), parent)
{
    m_own.reset(m_runner);
}

NestRun::NestRun(DeviceSession &session, JobRunner &runner, QObject *parent)
    : QObject(parent), m_session(session), m_runner(&runner), m_settings(session)
{
    connect(m_runner, &JobRunner::finished, this, &NestRun::onWindowEnded);
    connect(&m_settings, &SettingsRun::finished, this, &NestRun::onSettings);
}

NestRun::~NestRun() = default;

void NestRun::setReconnect(bool on, const ReconnectSchedule &schedule)
{
    m_runner->setReconnect(on, schedule);
    m_settings.setReconnect(on, schedule);
}

void NestRun::setResume(const QString &resumes, const QJsonObject &feedBefore)
{
    m_resumes = resumes;
    m_feedBefore = feedBefore;
    m_feedGiven = !feedBefore.isEmpty();
}

void NestRun::setFirstPlot(const PlotJob &rest)
{
    m_firstPlot = rest;
    m_hasFirstPlot = true;
}

bool NestRun::start(int first)
{
    const int n = int(m_cut.windows.size());
    if (isRunning() || !m_session.linkUp() || first < 1 || first > n)
        return false;
    m_first = m_next = first - 1;
    m_cutCount = 0;
    m_stopping = m_wrote = false;
    m_failure = Failure();
    m_restoreError.clear();
    m_journalError.clear();
    m_last = JobRecord();
    m_windowJournaled = false;
    if (m_feedGiven) {
        feedNext();
        return true;
    }
    m_stage = Stage::Reading;
    m_settings.read({kAutoFeed, kFeedLength});
    return true;
}

void NestRun::stop()
{
    m_stopping = true;
    switch (m_stage) {
    case Stage::Reading:
    case Stage::Feeding:
        return m_settings.cancel();
    case Stage::Cutting:
        return m_runner->stop();
    case Stage::Idle:
    case Stage::Restoring:
    case Stage::Ended:
        return;
    }
}

void NestRun::onSettings()
{
    const Failure f = m_settings.failure();
    switch (m_stage) {
    case Stage::Reading:
        if (f)
            return end(f);
        if (!m_settings.missing().isEmpty())
            return end({Failure::Other, tr("the machine did not report %1: the automatic feed cannot be set")
                                            .arg(m_settings.missing().join(QStringLiteral(", ")))});
        for (const QString &key : {kAutoFeed, kFeedLength})
            m_feedBefore.insert(key, QJsonValue::fromVariant(m_session.record(key)->value()));
        return feedNext();
    case Stage::Feeding:
        if (f)
            return end(f);
        return cutWindow();
    case Stage::Restoring:
        if (f)
            m_restoreError = tr("the feed settings were not put back (%1): %2").arg(feedText(), f.message);
        return done();
    case Stage::Idle:
    case Stage::Cutting:
    case Stage::Ended:
        return;
    }
}

// New values are typed as a person would (shown, in the editor's unit): the
// records' own parsing applies the factor and the bounds. Values read from
// the machine go back as they were stored.
QList<Profile::Entry> NestRun::entries(const QJsonObject &values, bool stored, Failure *failure) const
{
    QList<Profile::Entry> list;
    for (const QString &key : {kAutoFeed, kFeedLength}) {
        VXDeviceProperty *record = m_session.record(key);
        if (!record || !values.contains(key)) {
            *failure = {Failure::UnknownKey, tr("the machine has no %1 setting").arg(key)};
            return {};
        }
        Profile::Entry e;
        e.key = key;
        e.record = record;
        e.text = values.value(key).toVariant().toString();
        QString error;
        if (stored) {
            e.stored = values.value(key).toVariant();
            if (!e.stored.convert(record->value().userType()))
                e.stored = values.value(key).toVariant();
        } else if (!RecordValue::parse(record, e.text, e.stored, error)) {
            *failure = {Failure::BadValue, QStringLiteral("%1: %2").arg(key, error)};
            return {};
        }
        list << e;
    }
    return list;
}

void NestRun::feedNext()
{
    m_stage = Stage::Feeding;
    const NestWindow &w = m_cut.windows[std::size_t(m_next)];
    // The combo's index ("on"), the length in millimetres.
    const QJsonObject shown{{kAutoFeed, QStringLiteral("1")}, {kFeedLength, QString::number(w.feed, 'g', 12)}};
    Failure f;
    const QList<Profile::Entry> list = entries(shown, false, &f);
    if (f)
        return end(f);
    m_wrote = true;
    m_settings.write(list);
}

void NestRun::cutWindow()
{
    if (m_stopping)
        return end({Failure::Interrupted, tr("interrupted before window %1 of %2")
                                              .arg(m_next + 1).arg(m_cut.windows.size())});
    m_stage = Stage::Cutting;
    m_windowJournaled = false;
    const NestWindow &w = m_cut.windows[std::size_t(m_next)];
    const PlotJob &job = (m_next == m_first && m_hasFirstPlot) ? m_firstPlot : w.job;
    m_runner->setJournal(nullptr);
    m_runner->setRecordOrigin(m_cut.path, m_cut.path.isEmpty() ? QByteArray() : JobJournal::fileSha256(m_cut.path),
                              m_next == m_first ? m_resumes : QString());
    if (!m_runner->start(job, 1))
        return end({Failure::DeviceLost, tr("the link is down; window %1 of %2 was not cut")
                                             .arg(m_next + 1).arg(m_cut.windows.size())});
    emit windowStarted(m_next + 1, int(m_cut.windows.size()));
}

void NestRun::onWindowEnded(JobRunner::State state)
{
    if (m_stage != Stage::Cutting)
        return;
    JobRecord record = m_runner->record();
    m_windowJournaled = record.start.isValid();
    if (m_windowJournaled) {
        // The record names the whole window, not the rest that was cut.
        record.plotSha256 = m_cut.windows[std::size_t(m_next)].job.textSha256;
        journal(record);
    }
    if (state != JobRunner::State::Finished)
        return end(m_runner->failure());
    ++m_cutCount;
    emit windowDone(m_next + 1);
    m_windowJournaled = false;
    if (++m_next >= int(m_cut.windows.size()))
        return end(Failure());
    if (m_stopping)
        return end({Failure::Interrupted, tr("interrupted after window %1 of %2").arg(m_next).arg(m_cut.windows.size())});
    // After the ended job's own deferred close.
    m_stage = Stage::Feeding;
    QTimer::singleShot(0, this, [this] {
        if (m_stage == Stage::Feeding && !m_stopping)
            feedNext();
        else if (m_stage == Stage::Feeding)
            end({Failure::Interrupted, tr("interrupted after window %1 of %2").arg(m_next).arg(m_cut.windows.size())});
    });
}

void NestRun::end(const Failure &failure)
{
    m_failure = failure;
    if (failure && !m_windowJournaled && m_next < int(m_cut.windows.size())) {
        // Nothing of this window reached the machine: a resume starts here.
        JobRecord untouched;
        untouched.start = untouched.end = QDateTime::currentDateTimeUtc();
        untouched.copies = 1;
        untouched.percent = 0;
        untouched.outcome = failure.kind == Failure::Interrupted ? JobRecord::Outcome::Stopped
                                                                 : JobRecord::Outcome::Interrupted;
        untouched.file = m_cut.path;
        untouched.sha256 = m_cut.path.isEmpty() ? QByteArray() : JobJournal::fileSha256(m_cut.path);
        untouched.plotSha256 = m_cut.windows[std::size_t(m_next)].job.textSha256;
        untouched.deviceId = m_runner->identity().deviceId;
        untouched.uniqueId = m_runner->identity().uniqueId;
        untouched.resumes = m_next == m_first ? m_resumes : QString();
        journal(untouched);
    }
    restore();
}

void NestRun::restore()
{
    if (!m_wrote || m_feedBefore.isEmpty())
        return done();
    if (!m_session.linkUp()) {
        m_restoreError = tr("the link is down: the feed settings were not put back (%1); a resume puts them back")
                             .arg(feedText());
        return done();
    }
    Failure f;
    const QList<Profile::Entry> list = entries(m_feedBefore, true, &f);
    if (f) {
        m_restoreError = tr("the feed settings were not put back (%1): %2").arg(feedText(), f.message);
        return done();
    }
    m_stage = Stage::Restoring;
    m_settings.write(list);
}

void NestRun::done()
{
    m_stage = Stage::Ended;
    if (!m_restoreError.isEmpty())
        emit warning(m_restoreError);
    emit finished();
}

void NestRun::journal(JobRecord record)
{
    record.nestSha256 = m_cut.sha256;
    record.nestWindow = m_next + 1;
    record.nestWindows = int(m_cut.windows.size());
    record.feedBefore = m_feedBefore;
    m_last = record;
    if (!m_journal)
        return;
    QString error;
    if (!m_journal->append(record, &error))
        m_journalError = error;
    m_last = record;
}

QString NestRun::feedText() const
{
    QStringList parts;
    for (auto it = m_feedBefore.begin(); it != m_feedBefore.end(); ++it)
        parts << QStringLiteral("%1 %2").arg(it.key(), it.value().toVariant().toString());
    return parts.join(QStringLiteral(", "));
}

QJsonObject NestRun::summary() const
{
    QJsonObject s = m_runner->summary();
    s.insert(QStringLiteral("nest"), m_cut.name);
    s.insert(QStringLiteral("nest_sha256"), QString::fromLatin1(m_cut.sha256));
    s.insert(QStringLiteral("windows"), int(m_cut.windows.size()));
    s.insert(QStringLiteral("windows_cut"), m_cutCount);
    s.insert(QStringLiteral("feed_restored"), m_restoreError.isEmpty());
    return s;
}
