// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

#include <memory>

// One frame as the simulated machine received it.
struct VXSimFrame
{
    QByteArray kind;       // "CMD", "CCMD", "PLT", "PPLT", "QR_PLT"
    QByteArray body;       // between kind ';' and ETX
    bool lengthOk = false; // the length field matched the frame size
};

// Job status, field 1 of every job report.
enum class VXSimJobStatus {
    Cutting = 1,
    Paused = 2,
    Finished = 3, // every copy cut
    Stopped = 4,  // job control "stop", or abandoned when the link dropped
    Failed = 5,   // the plot could not be read; nothing was cut
    SheetSkipped = 6, // QR-code job: the sheet under the camera leaves uncut
    WaitingPlot = 7,  // QR-code job: a code was reported, its plot is awaited
};

// One plot job as received and cut so far.
struct VXSimJob
{
    int id = 0;
    QByteArray kind;        // "PLT", "PPLT" or "QR_PLT"
    QString fileName;       // field 2 of the reports ("job<id>.plt")
    qint64 bytes = 0;
    int copies = 1;
    int finished = 0;       // copies completed
    int percent = 0;        // of all copies together
    int copyPercent = 0;    // of the copy (or sheet) being cut
    VXSimJobStatus status = VXSimJobStatus::Cutting;
    double pathLength = 0;  // pen-down, plotter units (40 per mm)
    double travelLength = 0;
    double width = 0;
    double height = 0;
    double seconds = 0;     // simulated duration of all copies
    QString error;          // plot reader error for a failed job
    // Each tool selection (SPn) that cut something, in plot order, with the
    // pen-down length it cut (plotter units, one copy): the machine swaps
    // tools there, so a host that drops an SP2 shows here.
    struct ToolRun {
        int tool = 1;
        double pathLength = 0;
    };
    QVector<ToolRun> tools;
    // Along the conveyor, in mm: the material fed before the job started
    // (where its origin lies on the material), and the automatic feed that
    // followed it (0 when none). See tools/vxsim/README.md.
    double materialOffset = 0;
    double feedAfter = 0;
};

// One sheet of the stack fed in a QR-code job, and what became of it.
struct VXSimSheet
{
    enum Outcome { Pending, Cut, Unreadable, NoAnswer, BadPlot, Stopped };
    int index = 0;          // 1-based place in the stack
    QString code;           // as reported; empty when it could not be read
    Outcome outcome = Pending;
    int jobId = 0;          // the QR-code job the sheet belongs to
    // The plot received for it.
    qint64 plotBytes = 0;
    QByteArray plotSha256;  // hex
    double width = 0;       // plotter units
    double height = 0;
    double pathLength = 0;
    QString note;           // why it was skipped
};

// The simulated cutting plotter: answers the wire protocol over TCP or a
// pseudo-terminal, keeps its settings by command number, cuts plot jobs in
// simulated time and reports them. Runs on the thread that owns it; tests
// and hosts embed it in-process. The replies it chooses are described in
// tools/vxsim/README.md.
class VXSimulator : public QObject
{
    Q_OBJECT

public:
    // Command numbers live in three spaces: "CMD" items, "CCMD" fields and
    // the copies count "NUM" (number 1).
    enum Space { Cmd, Ccmd, Num };
    Q_ENUM(Space)

    explicit VXSimulator(QObject *parent = nullptr);
    ~VXSimulator() override;

    // TCP server; port 0 picks a free one (see serverPort()).
    bool start(quint16 port = 9100, const QHostAddress &address = QHostAddress::LocalHost);
    // Pseudo-terminal in raw mode; give ptyPath() to the USB transport.
    bool startPty();
    // A symbolic link kept pointing at the pseudo-terminal (set before
    // startPty). With a down time the pseudo-terminal comes back after a
    // drop under a new name; the link follows, so hosts reconnect by it.
    void setPtyLink(const QString &path);
    // Closes the server, the pseudo-terminal and every link.
    void stop();
    quint16 serverPort() const;
    QString ptyPath() const;
    QString errorString() const;
    int linkCount() const;

    // Simulated seconds per real second (default 1).
    void setSpeedup(double factor);
    double speedup() const;

    // Settings by command number; every number of the model's catalogue has
    // a default. Values are kept as the text that travels on the wire.
    QString setting(Space space, int number) const;
    bool hasSetting(Space space, int number) const;
    void setSetting(Space space, int number, const QString &value);
    QList<int> settingNumbers(Space space) const;
    // Factory defaults, as CCMD 67 does.
    void resetSettings();

    // Fields of the device-information reply that no command writes
    // (defaults "VX-KTR450PROCam", "1.0.0-sim", "1").
    void setIdentity(const QString &model, const QString &firmware, const QString &configNo);

    // What the camera reads, answered to CCMD 11.
    QString qrCode() const;
    void setQrCode(const QString &code);

    // The machine's identity as CCMD 2 (device id) and 57 (unique id)
    // report it; survives a factory reset, so a test can swap machines.
    void setDeviceId(const QString &id);
    void setUniqueId(const QString &id);

    // A stack of sheets for QR-code jobs: a CCMD 54 write starts a job that
    // feeds them one at a time (see README). A code "?" is a sheet whose
    // code the camera cannot read. Returns false, with the reason, for a
    // code that cannot travel in a reply (empty, ',', ';', control bytes).
    bool setSheets(const QStringList &codes, QString *error = nullptr);
    static QString sheetCodeError(const QString &code);
    int sheetsLeft() const;
    // Real milliseconds the machine waits for a sheet's plot before it
    // skips the sheet; -1 waits for ever.
    void setAnswerWait(int ms);
    // Every sheet fed so far, oldest first (the last 100000).
    QList<VXSimSheet> sheets() const;
    // QR plots that came when no sheet was waiting for one.
    int ignoredQrPlots() const;

    // Material the conveyor fed after plot jobs (AUTO_FEED), in mm.
    double materialFed() const;

    // Head position in plotter units, relative to the origin (87 sets it).
    QPointF headPosition() const;

    // Everything received, oldest first (bounded to the last 10000 frames;
    // plot bodies cut to 64 KiB, see lastJobData()).
    QList<VXSimFrame> receivedFrames() const;
    void clearReceivedFrames();
    // Every job received, the running one included.
    QList<VXSimJob> jobs() const;
    // Body of the last plot job, as received.
    QByteArray lastJobData() const;
    bool busy() const;
    int heartbeatCount() const;
    // Bytes the receive side dropped (garbage, frames without STX, overflow).
    qint64 discardedBytes() const;

    // Fault modes, for the tests of hosts.
    // Every reply byte goes out in a write of its own, 1 ms apart.
    void setOneByteChunks(bool on);
    // Stray bytes (a lone ETX, an unfinished STX) before every frame sent.
    void setGarbageBetweenFrames(bool on);
    // Heartbeat queries (CCMD 1010) are counted but never answered.
    void setIgnoreHeartbeat(bool on);
    // Close a link once it has received / sent this many bytes; -1 is off.
    void setDropAfterReceived(qint64 bytes);
    void setDropAfterSent(qint64 bytes);
    // Close every link when the running job reaches this percentage; -1 off.
    void setDropMidJob(int percent);
    // The next reply starts a frame that never ends: STX, a length, then
    // filler without ETX for as long as the link lives or the mode is on.
    void setEndlessFrame(bool on);
    // Close every link now, as a pulled cable would. With a down time the
    // TCP server then refuses connections for that long.
    void dropLinks();
    // Abandon the running job (and the queued ones) once no link is left.
    void setAbortOnDrop(bool on);
    // How long the link stays down after dropLinks(); 0 is not at all.
    void setDownFor(int ms);
    bool isDown() const;

signals:
    void linkOpened();
    void linkClosed();
    void frameReceived(const VXSimFrame &frame);
    void settingChanged(VXSimulator::Space space, int number, const QString &value);
    void jobStarted(int id);
    // Emitted with every job report sent; item is the CCMD item text.
    void jobReport(int id, const QString &item);
    void jobFinished(int id);
    void jobStopped(int id);
    void jobFailed(int id, const QString &error);
    // The TCP server accepts connections again after a down time.
    void linkBack();
    // QR-code job: a sheet's code was reported (empty when unreadable) and
    // its outcome was settled (see sheets()).
    void sheetRead(int index, const QString &code);
    void sheetDone(int index);
    void qrPlotIgnored(const QString &reason);

private:
    class Private;
    friend class Private;
    std::unique_ptr<Private> d;
};

Q_DECLARE_METATYPE(VXSimFrame)
Q_DECLARE_METATYPE(VXSimSheet)
