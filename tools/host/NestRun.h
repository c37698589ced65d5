// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "Failure.h"
#include "JobRecord.h"
#include "JobRunner.h"
#include "PlotJob.h"
#include "SettingsRun.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QObject>

#include <vector>

class DeviceSession;
class JobJournal;
struct EditorSpec;
struct NestLayout;
struct NestPart;
struct WorkArea;

// One window of a nest as the machine cuts it: its plot starts at y = 0
// where the material stood when the window began.
struct NestWindow
{
    double from = 0, to = 0;   // mm along the strip, in the nest's own coordinates
    double offset = 0;         // mm of material fed before this window
    double feed = 0;           // mm the belt moves on once the window is cut
    int pieces = 0;
    PlotJob job;
};

// A strip nest cut in windows no longer than the work area, each a job of
// its own, the belt feeding the material on between them.
//
// The belt moves by whole steps of the feed record ("FEED_LENGTH" times its
// editor's factor), while windows start wherever their lowest piece lies.
// So each window's plot is drawn from the last whole step at or below its
// start, not from the start itself: the pieces land where the nest put them
// on the material, and a window needs up to one step more than its pieces,
// which the window length leaves room for. After the last window the belt
// feeds it out whole.
struct NestCut
{
    Q_DECLARE_TR_FUNCTIONS(NestCut)

public:
    QString name;                      // "nest-1a2b3c4d"
    std::vector<NestWindow> windows;
    QByteArray sha256;                 // hex, of every window's offset, feed and plot text
    QString path;                      // where it was saved; empty: not saved

    // Usage for what a windowed cut cannot take (sheets, a weed border);
    // PlotFile when a piece or a window does not fit, or a feed is beyond
    // what the feed record takes.
    static Failure make(const NestLayout &layout, const std::vector<NestPart> &parts, const PlotOptions &options,
                        const WorkArea &area, const EditorSpec &feed, NestCut *out);
    // The file a resume cuts the later windows from: next to the journal.
    static QString savePath(const QString &journalPath, const QByteArray &sha256);
    Failure save(const QString &file);
    // PlotFile when the file is unreadable or does not hold the nest it says.
    static Failure load(const QString &file, NestCut *out);

    static QByteArray digest(const std::vector<NestWindow> &windows);
};

// Cuts a NestCut window by window on the machine: reads the operator's feed
// settings, then for each window turns the automatic feed on with the
// window's feed and hands its plot to the runner; once the nest is over (cut,
// failed, stopped) the operator's feed settings are put back. A link that
// stays down leaves them to the journal: every window's record keeps them
// ("feed_before"), and a resume puts them back when it ends.
//
// Every window is journaled as it ends. A nest that ends before a window
// went to the machine journals that window as interrupted and untouched, so
// a resume starts there.
class NestRun : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Idle, Reading, Feeding, Cutting, Restoring, Ended };
    Q_ENUM(Stage)

    explicit NestRun(DeviceSession &session, QObject *parent = nullptr);
    // Windows run on runner (a resume's, whose progress a host already shows).
    NestRun(DeviceSession &session, JobRunner &runner, QObject *parent = nullptr);
    ~NestRun() override;

    void setCut(const NestCut &cut) { m_cut = cut; }
    const NestCut &cut() const { return m_cut; }
    void setReconnect(bool on, const ReconnectSchedule &schedule = ReconnectSchedule());
    // Null: nothing journaled. Must outlive the run.
    void setJournal(const JobJournal *journal) { m_journal = journal; }
    // A resume: the first window's record names the record it continues,
    // and the operator's feed settings come from that record, not the machine.
    void setResume(const QString &resumes, const QJsonObject &feedBefore);
    // The first window's plot replaced (the rest of a window cut part way).
    void setFirstPlot(const PlotJob &rest);

    // From window `first` (1-based). False when under way, the link is down
    // or there is no such window.
    bool start(int first = 1);
    void stop();

    Stage stage() const { return m_stage; }
    bool isRunning() const { return m_stage != Stage::Idle && m_stage != Stage::Ended; }
    JobRunner &runner() { return *m_runner; }
    int window() const { return m_next + 1; }    // under way, or where it ended
    int windowsCut() const { return m_cutCount; }
    // Set once ended; None when every window was cut.
    Failure failure() const { return m_failure; }
    // Empty when the operator's feed settings are back on the machine.
    QString restoreError() const { return m_restoreError; }
    QJsonObject feedBefore() const { return m_feedBefore; }
    JobRecord lastRecord() const { return m_last; }
    QString journalError() const { return m_journalError; }
    QJsonObject summary() const;

signals:
    void windowStarted(int window, int windows);
    void windowDone(int window);
    void warning(const QString &text);
    void finished();

private:
    void onSettings();
    void feedNext();
    void cutWindow();
    void onWindowEnded(JobRunner::State state);
    void end(const Failure &failure);
    void restore();
    void done();
    QList<Profile::Entry> entries(const QJsonObject &values, bool stored, Failure *failure) const;
    void journal(JobRecord record);
    QString feedText() const;

    DeviceSession &m_session;
    std::unique_ptr<JobRunner> m_own;
    JobRunner *m_runner = nullptr;
    SettingsRun m_settings;
    NestCut m_cut;
    const JobJournal *m_journal = nullptr;
    QString m_resumes;
    QJsonObject m_feedBefore;
    bool m_feedGiven = false;
    bool m_wrote = false;       // the nest's feed went to the machine
    PlotJob m_firstPlot;
    bool m_hasFirstPlot = false;
    Stage m_stage = Stage::Idle;
    int m_first = 0;            // 0-based
    int m_next = 0;             // 0-based: the window under way
    int m_cutCount = 0;
    bool m_stopping = false;
    bool m_windowJournaled = false; // the window under way has its record
    Failure m_failure;
    QString m_restoreError;
    JobRecord m_last;
    QString m_journalError;
};
