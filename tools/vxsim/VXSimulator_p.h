// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "PlotReader.h"
#include "SimDefaults.h"
#include "SimFrameReader.h"
#include "SimLink.h"
#include "VXSimulator.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTimer>

class QTcpServer;

// A job being cut: the public record plus what the cutting clock needs.
struct SimRunningJob
{
    VXSimJob info;
    QVector<PlotReader::Polyline> strokes; // empty for big plots: no head path
    double perCopy = 0;                    // simulated seconds per copy
    double cutSpeed = 0;                   // plotter units per second
    double travelSpeed = 0;
    double clock = 0;                      // simulated seconds spent cutting
    // Walk along the strokes, for the head position of the reports.
    int walkCopy = -1;
    int stroke = 0;
    int point = 0;
    double walkTime = 0;
    QPointF pos;
    bool down = false;
    // A QR-code job: its copies are sheets, clock runs within one sheet.
    bool qr = false;
};

// The cutting clock's period; see rearm() for the ends within one.
constexpr int SimTickMs = 20;

// After a sheet is skipped for want of a plot, the next code is reported no
// sooner than this (real time), and a plot arriving meanwhile is ignored: a
// late answer already on the wire must not be cut on the next sheet.
constexpr int LateGapMs = 300;

// Where a QR-code job stands with the sheet under the camera.
enum class SimQrPhase { Feeding, Waiting, Cutting };

class VXSimulator::Private
{
public:
    explicit Private(VXSimulator *q);

    VXSimulator *q;
    SimFaults faults;
    double speedup = 1;
    SimDefaults settings = SimDefaults::factory();
    QString model = QStringLiteral("VX-KTR450PROCam");
    QString firmware = QStringLiteral("1.0.0-sim");
    QString configNo = QStringLiteral("1");
    QString qrCode = QStringLiteral("VXSIM-QR-0001");
    QString deviceId = QStringLiteral("VXS-000001");
    QString uniqueId = QStringLiteral("5658534D00000001");

    // Link drops (issue of hosts that must reconnect).
    bool abortOnDrop = false;
    int downForMs = 0;
    bool down = false;
    quint16 port = 0;
    QHostAddress address;
    QTimer downTimer;
    QString ptyLink;
    bool ptyBack = false;

    // QR-code job: the stack and the sheet under the camera.
    QStringList stack;
    int stackPos = 0;
    QList<VXSimSheet> sheets;
    int answerWaitMs = -1;
    int ignoredQrPlots = 0;
    SimQrPhase qrPhase = SimQrPhase::Feeding;
    double feedClock = 0;
    double feedSeconds = 0;
    QElapsedTimer answerTimer;
    QElapsedTimer gapTimer; // after a late skip, see feedSheet()
    VXSimJobStatus pausedFrom = VXSimJobStatus::Cutting;

    QTcpServer *server = nullptr;
    QPointer<SimPtyLink> pty;
    QList<QPointer<SimLink>> links;
    QHash<SimLink *, SimFrameReader *> readers;
    QString error;

    QList<VXSimFrame> frames;
    QList<VXSimJob> jobs; // finished ones and the running one
    QList<SimRunningJob> queue;
    bool running = false;
    SimRunningJob job;
    QByteArray lastJobData;
    int nextJobId = 1;
    double materialFed = 0; // mm, see feedAfterJob()
    int heartbeats = 0;
    qint64 discarded = 0;
    bool midJobDropped = false;

    // Head in machine coordinates (plotter units) and the origin.
    QPointF head;
    QPointF origin;
    QTimer clock;
    QElapsedTimer wall;

    SimDefaults factory() const;
    void addLink(SimLink *link);
    void onReceived(SimLink *link, const QByteArray &bytes);
    void onClosed(SimLink *link);
    void dispatch(SimLink *link, const SimFrameReader::Frame &frame);
    void reply(SimLink *link, const QByteArray &kind, const QByteArray &body);
    void broadcast(const QByteArray &kind, const QByteArray &body);

    // Commands (SimCommands.cpp).
    void handleCmd(SimLink *link, const QByteArray &body);
    void handleCcmd(SimLink *link, const QByteArray &body);
    void applyCmd(int number, const QString &value);
    QString deviceInfo() const;
    void store(VXSimulator::Space space, int number, const QString &value);

    // Jobs (SimJobs.cpp).
    void acceptPlot(const QByteArray &kind, const QByteArray &body);
    bool readPlot(const QByteArray &body, SimRunningJob &j);
    bool enqueue(SimRunningJob &j);
    void startNext();
    void tick();
    void advance(double seconds);
    void control(int action);
    void report();
    QString reportItem() const;
    void walkHead();
    void updateJobRecord();
    void finishJob(VXSimJobStatus status);
    void feedAfterJob();
    void dropCheck(int percent);
    void rearm();

    // Sheets (SimSheets.cpp).
    void startQrJob();
    void feedSheet(bool afterLateSkip);
    void readSheet();
    void advanceQr(double seconds);
    void acceptQrPlot(const QByteArray &body);
    void skipSheet(VXSimSheet::Outcome outcome, const QString &note);
    void sheetCut();
    VXSimSheet *currentSheet();
};
