// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "DesignCache.h"
#include "WorkArea.h"
#include "DesignSource.h"
#include "Failure.h"
#include "JobLifecycle.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <memory>

class DeviceSession;
class JobJournal;

// One QR-code production run: the machine feeds printed sheets, its camera
// reads each sheet's code, and the host answers with that sheet's plot.
//
// On the wire: "TASK_MODE" 1 and "QRCODE_COPIES" make startTask send the
// QR copies write (CCMD 54), which starts the machine's QR-code job. For
// each sheet the machine reports the code it read as a Qrcode message (the
// reply form of CCMD 11; an empty code when the camera could not read it)
// and then waits (job status 7). The host answers with a "QR_PLT" frame;
// the sheet is cut with job reports whose tenth field is the sheet's
// percent, and "Finished" goes up by one. A sheet the machine gives up on
// (unreadable code, no plot in time, a plot it cannot read) gets one
// report of status 6.
//
// A code with no design is answered with a plot that holds no stroke: the
// sheet passes the knife uncut on any machine that reads plots, and the
// machine, which waits for an answer, is not left waiting. Sending nothing
// would hang a machine that waits for ever; sending the last design would
// be a wrong cut. The machine counts such a sheet among its finished ones,
// so QRCODE_COPIES is set high and the host counts the sheets it cut
// itself; it stops the machine's job once the count asked for is reached.
//
// The QR file record (55) is left alone: the machine echoes its writes
// under 55, which the device object reports as a QR code as well.
//
// After a reconnect the machine's finished count says how many sheets went
// through while the host could not hear: each one beyond the sheet that was
// open is kept as passed unseen (no code, no design).
//
// The run ends when the machine ends its job (the stack is empty), when the
// count is reached, on stop() (which stops the machine's job first) or when
// the link is lost. Nothing here blocks; outcomes come as signals.
class SheetRun : public QObject
{
    Q_OBJECT
public:
    // Unseen: counted finished by the machine while the link was down.
    enum class Outcome { Pending, Finished, Skipped, Failed, Unseen };
    Q_ENUM(Outcome)
    using State = JobLifecycle::Phase;
    enum class End { None, StackEnded, CountReached, Stopped, MachineStopped, Refused, Lost };
    Q_ENUM(End)

    struct Sheet {
        int index = 0;          // 1-based, in the order the machine fed them
        QString code;           // empty: unreadable
        QString design;         // file name; empty when none was found
        QString path;
        Outcome outcome = Outcome::Pending;
        QString reason;         // why it was skipped or failed
        int percent = 0;        // of this sheet
        QDateTime start;
        qint64 ms = 0;          // code read to outcome
        bool interrupted = false; // ended by a stop or a lost link
        QJsonObject toJson() const;
    };

    // Sheets asked of the machine per QR-code job: copies fields hold four
    // digits. A stack longer than that ends the machine's job with status 3
    // and sheets still on the conveyor; the run then starts the next job.
    static constexpr int OpenEndedCopies = 9999;

    explicit SheetRun(DeviceSession &session, QObject *parent = nullptr);
    ~SheetRun() override;

    void setSource(const DesignSource &source) { m_source = source; }
    const DesignSource &source() const { return m_source; }
    void setOptions(const PlotOptions &options)
    {
        m_cache.setOptions(options);
        m_margin = options.placement.margin;
    }
    // A design that does not fit fails its sheet, which passes uncut; the
    // run goes on. Unknown (the default): nothing is checked.
    void setWorkArea(const WorkArea &area) { m_area = area; }
    void setPreviewSize(const QSize &size) { m_cache.setPreviewSize(size); }
    // Sheets to cut; 0 runs until the machine's stack ends.
    void setCount(int count) { m_count = qMax(0, count); }
    void setCopiesPerJob(int copies) { m_perJob = qBound(1, copies, OpenEndedCopies); }
    // Every sheet is appended; null: no journal. The journal must outlive the run.
    void setJournal(const JobJournal *journal) { m_journal = journal; }
    // With reconnecting on, a dropped link does not end the run: the machine
    // goes on cutting the sheet it has. Once the same machine answers again
    // the run asks for its job state and, when it waits for a plot, for the
    // code of the sheet under the camera, and answers it.
    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule())
    {
        m_life.setReconnect(on, schedule);
    }

    // Reads the machine's identity (what a reconnect compares against), sets
    // the QR-code job up and starts it. False when a run is under way or the
    // link is down.
    bool start();
    // Stops the machine's job; the run ends once it confirms (or after a
    // short grace, since a stopping machine need not report).
    void stop();

    State state() const { return m_life.phase(); }
    bool isRunning() const { return m_life.active(); }
    int reconnects() const { return m_life.reconnectCount(); }
    End end() const { return m_end; }
    int count() const { return m_count; }
    int sheetsSeen() const { return m_seen; }
    int finished() const { return m_finished; }
    int skipped() const { return m_skipped; }
    int failed() const { return m_failed; }
    int unseen() const { return m_unseen; }
    bool sheetOpen() const { return m_sheet.index > 0 && m_sheet.outcome == Outcome::Pending; }
    const Sheet &current() const { return m_sheet; }
    std::shared_ptr<const PreparedDesign> currentDesign() const { return m_design; }
    const DesignCache &cache() const { return m_cache; }
    qint64 elapsedMs() const { return m_clock.isValid() ? m_clock.elapsed() : 0; }
    // Counts and elapsed_ms: what a result carries.
    QJsonObject summary() const;
    // None when the stack ended or the count was reached.
    Failure failure() const;

    // The word in a sheet's JSON; the same in every language.
    static QString outcomeName(Outcome o);
    // The word a person reads, in their language.
    static QString outcomeText(Outcome o);

signals:
    void started();
    // A code came and the sheet was answered (or not, see the outcome).
    void sheetStarted(const SheetRun::Sheet &sheet);
    void sheetProgress(const SheetRun::Sheet &sheet);
    void sheetDone(const SheetRun::Sheet &sheet);
    void warning(const QString &text);
    // The link dropped; attempt n starts after waitMs. Then reconnected() or the end.
    void reconnecting(int attempt, int waitMs);
    void reconnected();
    void ended(SheetRun::End end);

private:
    // Where the run stands with the machine after a reconnect.
    enum class Sync { Live, AwaitReport, AwaitCode };

    void handOver();
    void onCode(const QString &code);
    bool resyncCode(const QString &code);
    void openSheet(const QString &code);
    void onReport();
    bool ownReport(const JobReport &r);
    void settleByCount(const JobReport &r);
    void passedUnseen(int sheets);
    void onWaiting();
    void onProgress(const JobReport &r);
    void onJobFinished();
    void onJobEnded(JobReport::Status status);
    void onLost();
    void onReconnected();
    void lose(const Failure &why);
    void announceAndAnswer(const QString &plot);
    void answer(const QString &plot);
    // Closes the open sheet as planned, or as fallback when it was to be cut.
    void settle(Outcome fallback, const QString &why, bool interrupted = false);
    void close(Outcome outcome, const QString &reason = QString(), bool interrupted = false);
    void finish(End end);
    void journal(const Sheet &sheet);

    DeviceSession &m_session;
    JobLifecycle m_life;
    DesignSource m_source;
    DesignCache m_cache;
    WorkArea m_area;
    double m_margin = 0;
    const JobJournal *m_journal = nullptr;
    bool m_journalWarned = false;
    int m_count = 0;
    int m_perJob = OpenEndedCopies;
    int m_jobs = 0;             // QR-code jobs the machine ran for this run
    End m_end = End::None;
    End m_stopAs = End::Stopped; // what a stop on its way ends as
    Sync m_sync = Sync::Live;
    Failure m_lost;

    QString m_jobFile;          // field 2 of this run's reports
    int m_machineFinished = -1; // the machine's finished count, -1 until its first report
    int m_seen = 0, m_finished = 0, m_skipped = 0, m_failed = 0, m_unseen = 0;
    Sheet m_sheet;              // open while its outcome is Pending
    Outcome m_plan = Outcome::Pending; // the open sheet's end when it is not to be cut
    QByteArray m_sheetSha;
    std::shared_ptr<const PreparedDesign> m_design;
    QElapsedTimer m_sheetClock;
    QElapsedTimer m_clock;
};

Q_DECLARE_METATYPE(SheetRun::Sheet)
