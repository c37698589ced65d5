// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "ShopConfig.h"
#include "ShopEntry.h"
#include "WorkArea.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>

class DesignLoader;
class DeviceSession;
class JobJournal;
class JobRunner;
class ResumeRun;
class ShopQueue;
class VXDeviceInterface;

// One machine of the service: its link kept up with the same reconnect
// rules as `vxcut cut`, and its queue worked through one entry at a time.
//
// The link: connect at start(); a link lost while idle is brought back on
// the reconnect schedule, again and again (the service never gives a
// machine up); a job's own drop is the job runner's (it follows the job to
// its end, as `cut` does).
//
// Taking a job: when the link is up, nothing is cutting or held and the
// queue is not paused, the first queued entry is loaded off this thread
// with its options, checked against the work area, and handed over; its
// journal record goes into the entry before the machine gets the plot.
//
// After a restart or a lost job (an entry found cutting): the machine is
// asked for its job. Still at it: followed to its end. Ended: the journal
// gets the job's line from the entry's record and the machine's report,
// then what is left is resumed exactly as `vxcut resume` decides
// (ResumeRun); whatever it refuses (the file changed, another machine, the
// machine cannot tell) holds the entry for a person, with the reason.
//
// A nest entry is searched off this thread (the card's phase "nesting"),
// made into windows as long as the work area, saved beside the journal and
// cut window by window as `vxcut cut --nest` does; one whose link is lost
// is resumed as `vxcut resume` decides, or held when that is unclear.
//
// Each machine has its own journal (<data>/machines/<name>/jobs.jsonl), so
// "the last interrupted job" is always this machine's.
class MachineStation : public QObject
{
    Q_OBJECT
public:
    // factory: the plugin's root object, outliving the station. queue:
    // shared by every station of the service, on this thread.
    MachineStation(const MachineConfig &config, VXDeviceInterface *factory, ShopQueue &queue,
                   const QString &dataDir, int reconnectBudgetMs, QObject *parent = nullptr);
    ~MachineStation() override;

    void start();
    QString name() const { return m_config.name; }
    const MachineConfig &config() const { return m_config; }
    // The card: {"name","target","link":"connecting|up|reconnecting|down",
    // "device_id","work_area":{"width","height"} (mm, absent when unknown),
    // "paused" (the queue), "job": {entry, "copies","finished","percent",
    // "remaining_s" (null: unknown), for a nest "window" and "windows",
    // "phase":"nesting|cutting|paused|reconnecting|stopping"} or null,
    // "last_report" (the machine's last job report, as sent),
    // "events":[{"time","text"}] (the last 20, oldest first)}.
    QJsonObject state() const;
    WorkArea workArea() const;
    JobJournal &journal() { return *m_journal; }
    QString filesDir() const;     // where this machine's stored designs live

    // The running job (false when none, with why).
    bool pauseJob(QString *error);
    bool continueJob(QString *error);
    bool stopJob(QString *error);
    // The queue: paused takes no new job (the one cutting goes on).
    void setQueuePaused(bool paused);
    bool queuePaused() const { return m_queuePaused; }
    // A queued entry: cancelled at once; the cutting one: stopped on the
    // machine, then cancelled; a held one: cancelled.
    bool cancel(qint64 id, QString *error);
    // A held entry: "continue" (resume the interrupted copy where it
    // stopped), "recut" (that copy whole again), "skip" (leave it out).
    bool settle(qint64 id, const QString &how, QString *error);
    // A new entry was queued: take it when free.
    void kick();

signals:
    // state() changed (link, job progress, events).
    void changed();
    // An entry changed state or progress in the queue.
    void entryChanged(qint64 id);
    // An entry ended (done, failed, cancelled): the watch folder moves its file.
    void entryEnded(qint64 id);

private:
    struct Private;
    std::unique_ptr<Private> d;
    MachineConfig m_config;
    std::unique_ptr<JobJournal> m_journal;
    bool m_queuePaused = false;
};
