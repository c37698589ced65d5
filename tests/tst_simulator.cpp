// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PlotReader.h"
#include "SimFrameReader.h"
#include "VXSimulator.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTcpSocket>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// Built here by hand, not with the simulator's builder, so a wrong length
// rule on either side shows.
QByteArray frame(const QByteArray &kind, const QByteArray &body)
{
    const QByteArray payload = kind + ';' + body;
    int l = payload.size() + 3;
    while (l != payload.size() + 3 + QByteArray::number(l).size())
        ++l;
    return '\x02' + QByteArray::number(l) + ';' + payload + '\x03';
}

// Host end of a link: raw bytes in, frame texts (between STX and ETX) out,
// cut the way the plugin cuts them.
class Host : public QObject
{
public:
    QTcpSocket socket;
    QByteArray raw;
    QByteArray pending;
    QStringList frames;
    int chunks = 0;
    bool lengthsOk = true;

    explicit Host(quint16 port)
    {
        connect(&socket, &QTcpSocket::readyRead, this, [this] {
            const QByteArray bytes = socket.readAll();
            ++chunks;
            raw += bytes;
            pending += bytes;
            int etx;
            while ((etx = pending.indexOf('\x03')) >= 0) {
                const QByteArray candidate = pending.left(etx + 1);
                pending.remove(0, etx + 1);
                const int stx = candidate.lastIndexOf('\x02');
                if (stx < 0)
                    continue;
                const QByteArray f = candidate.mid(stx);
                lengthsOk = lengthsOk && f.left(f.indexOf(';')).mid(1).toInt() == f.size();
                frames << QString::fromUtf8(f.mid(1, f.size() - 2));
            }
        });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    bool ready() { return socket.waitForConnected(5000); }
    void send(const QByteArray &kind, const QByteArray &body) { socket.write(frame(kind, body)); }
    // Next frame text without the length prefix: "CCMD;1010,2;".
    QString next(int timeout = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (frames.isEmpty() && t.elapsed() < timeout && socket.state() == QAbstractSocket::ConnectedState)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (frames.isEmpty())
            return QString();
        const QString f = frames.takeFirst();
        return f.mid(f.indexOf(';') + 1);
    }
    QString ask(const QByteArray &kind, const QByteArray &body)
    {
        send(kind, body);
        return next();
    }
};

QByteArray samplePlot()
{
    QFile f(QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList reportFields(const QString &frameText)
{
    // "CCMD;66,...;"
    return frameText.mid(5, frameText.size() - 6).split(',');
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

    VXSimulator *sim = nullptr;

private slots:
    void init();
    void cleanup();
    void frameReader_data();
    void frameReader();
    void frameReaderBounded();
    void replies_data();
    void replies();
    void roundTrips();
    void catalogueCovered();
    void jobToCompletion();
    void pauseResumeStop();
    void badPlotIsRefused();
    void bigPlotJob();
    void oneByteChunks();
    void garbageBetweenFrames();
    void heartbeatIgnored();
    void dropAfterBytes();
    void linkDrops_data();
    void linkDrops();
    void sheets_data();
    void sheets();
    void sheetJobEnds_data();
    void sheetJobEnds();
    void sheetCodes();
    void endlessFrame();
    void pseudoTerminal();
};

void TestSimulator::init()
{
    sim = new VXSimulator;
    QVERIFY2(sim->start(0), qPrintable(sim->errorString()));
    QVERIFY(sim->serverPort() != 0);
}

void TestSimulator::cleanup()
{
    delete sim;
    sim = nullptr;
}

void TestSimulator::frameReader_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<QStringList>("expected"); // kind;body, '!' when the length is wrong

    const QByteArray hb = frame("CCMD", "1010;");
    const QByteArray two = hb + frame("CMD", "GET26;");
    QTest::newRow("whole") << hb << 0 << QStringList{"CCMD;1010;"};
    QTest::newRow("one byte at a time") << two << 1 << QStringList{"CCMD;1010;", "CMD;GET26;"};
    QTest::newRow("odd chunks") << two << 7 << QStringList{"CCMD;1010;", "CMD;GET26;"};
    QTest::newRow("stray bytes and an unfinished STX")
        << QByteArray("xx\x02" "9;A;B") + hb << 0 << QStringList{"CCMD;1010;"};
    QTest::newRow("ETX without STX") << QByteArray("junk\x03") + hb << 3 << QStringList{"CCMD;1010;"};
    QTest::newRow("wrong length still cut") << QByteArray("\x02" "99;CMD;GET1;\x03") << 0
                                            << QStringList{"!CMD;GET1;"};
    QTest::newRow("no kind separator dropped") << QByteArray("\x02" "7;CMD\x03") + hb << 0
                                               << QStringList{"CCMD;1010;"};
    QTest::newRow("body keeps semicolons") << frame("PLT", "IN;PU0,0;PD1,1;") << 2
                                           << QStringList{"PLT;IN;PU0,0;PD1,1;"};
}

void TestSimulator::frameReader()
{
    QFETCH(QByteArray, stream);
    QFETCH(int, chunk);
    QFETCH(QStringList, expected);
    SimFrameReader reader;
    QStringList got;
    SimFrameReader::Frame f;
    const int step = chunk > 0 ? chunk : stream.size();
    for (int i = 0; i < stream.size(); i += step) {
        reader.append(stream.mid(i, step));
        while (reader.next(f))
            got << QString::fromLatin1((f.lengthOk ? "" : "!") + f.kind + ';' + f.body);
    }
    QCOMPARE(got, expected);
    QCOMPARE(reader.pending(), 0);
}

void TestSimulator::frameReaderBounded()
{
    // A tail beyond the limit is thrown away; the stream recovers at the
    // next whole frame.
    SimFrameReader reader(64);
    reader.append("\x02" "200;PLT;" + QByteArray(100, 'x'));
    QCOMPARE(reader.pending(), 0);
    QVERIFY(reader.discarded() >= 100);
    reader.append(QByteArray(20, 'x') + "\x03" + frame("CCMD", "2;"));
    SimFrameReader::Frame f;
    QVERIFY(reader.next(f));
    QCOMPARE(f.body, QByteArray("2;"));
    QVERIFY(!reader.next(f));

    // One-byte chunks of a big frame stay linear.
    SimFrameReader big;
    const QByteArray plt = frame("PLT", QByteArray(4 << 20, 'P'));
    QElapsedTimer t;
    t.start();
    for (char c : plt)
        big.append(QByteArray(1, c));
    QVERIFY(big.next(f));
    QCOMPARE(f.body.size(), 4 << 20);
    QVERIFY2(t.elapsed() < 5000, "one-byte chunks are not linear");
}

void TestSimulator::replies_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("reply");

    QTest::newRow("heartbeat") << QByteArray("CCMD") << QByteArray("1010;") << "CCMD;1010,2;";
    QTest::newRow("device info") << QByteArray("CCMD") << QByteArray("2;")
                                 << "CCMD;2,0,VX-KTR450PROCam,VXS-000001,PCB-450-0001,V2.1,1.0.0-sim,1;";
    QTest::newRow("unique id") << QByteArray("CCMD") << QByteArray("57;") << "CCMD;57,5658534D00000001;";
    QTest::newRow("QR from camera") << QByteArray("CCMD") << QByteArray("11;") << "CCMD;11,VXSIM-QR-0001;";
    QTest::newRow("QR file query") << QByteArray("CCMD") << QByteArray("55;") << "CCMD;55,;";
    QTest::newRow("QR copies write echoes") << QByteArray("CCMD") << QByteArray("54,3;") << "CCMD;54,3;";
    QTest::newRow("QR copies 0 refused, old value") << QByteArray("CCMD") << QByteArray("54,0;") << "CCMD;54,1;";
    QTest::newRow("heartbeat write") << QByteArray("CCMD") << QByteArray("1010,5;") << "CCMD;1010,5;";
    QTest::newRow("heartbeat bad value") << QByteArray("CCMD") << QByteArray("1010,x;") << "CCMD;1010,2;";
    QTest::newRow("write-only acknowledged") << QByteArray("CCMD") << QByteArray("44,M-7;") << "CCMD;44,0;";
    QTest::newRow("write-only not readable") << QByteArray("CCMD") << QByteArray("46;") << "CCMD;46,1;";
    QTest::newRow("unknown number") << QByteArray("CCMD") << QByteArray("999;") << "CCMD;999,1;";
    QTest::newRow("factory reset") << QByteArray("CCMD") << QByteArray("67,0;") << "CCMD;67,0;";
    QTest::newRow("no job yet") << QByteArray("CCMD") << QByteArray("66;") << "CCMD;66,0,,0,0,0,0,0,0,0;";
    QTest::newRow("CMD read") << QByteArray("CMD") << QByteArray("GET26;") << "CMD;GET26:400;";
    QTest::newRow("CMD write") << QByteArray("CMD") << QByteArray("SET26:350;") << "CMD;SET26:350;";
    QTest::newRow("CMD three words") << QByteArray("CMD") << QByteArray("SET5:65336;6:65535;7:0;")
                                     << "CMD;SET5:65336;SET6:65535;SET7:0;";
    QTest::newRow("CMD read three") << QByteArray("CMD") << QByteArray("GET11;12;13;")
                                    << "CMD;GET11:0;GET12:0;GET13:0;";
    QTest::newRow("CMD text value") << QByteArray("CMD") << QByteArray("SET28:1200.6;") << "CMD;SET28:1200.6;";
    QTest::newRow("job control without job") << QByteArray("CMD") << QByteArray("SET125:0;") << "CMD;SET125:0;";
    QTest::newRow("jog") << QByteArray("CMD") << QByteArray("SET82:32868;") << "CMD;SET82:32868;";
    QTest::newRow("copies count: no reply") << QByteArray("CMD") << QByteArray("NUM:3;") << QString();
    QTest::newRow("reading an unknown number: no reply") << QByteArray("CMD") << QByteArray("GET4242;") << QString();
}

void TestSimulator::replies()
{
    QFETCH(QByteArray, kind);
    QFETCH(QByteArray, body);
    QFETCH(QString, reply);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    host.send(kind, body);
    // Where none is due, the next reply on the link answers the heartbeat after it.
    if (reply.isEmpty()) {
        host.send("CCMD", "1010;");
        reply = QStringLiteral("CCMD;1010,2;");
    }
    QCOMPARE(host.next(), reply);
    QVERIFY(host.lengthsOk);
    QVERIFY(sim->receivedFrames().first().lengthOk);
}

void TestSimulator::roundTrips()
{
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy changed(sim, &VXSimulator::settingChanged);

    QCOMPARE(host.ask("CMD", "SET3:350;"), QString("CMD;SET3:350;"));
    QCOMPARE(host.ask("CMD", "GET3;"), QString("CMD;GET3:350;"));
    QCOMPARE(sim->setting(VXSimulator::Cmd, 3), QString("350"));
    QCOMPARE(changed.size(), 1);
    // A copies count of 0 is not taken (neither count is answered).
    host.send("CMD", "NUM:3;");
    host.send("CMD", "NUM:0;");
    QCOMPARE(host.ask("CCMD", "1010;"), QString("CCMD;1010,2;"));
    QCOMPARE(sim->setting(VXSimulator::Num, 1), QString("3"));

    QCOMPARE(host.ask("CCMD", "44,M-42;"), QString("CCMD;44,0;"));
    QCOMPARE(host.ask("CCMD", "48,V9;"), QString("CCMD;48,0;"));
    QCOMPARE(host.ask("CCMD", "2;"),
             QString("CCMD;2,0,VX-KTR450PROCam,M-42,PCB-450-0001,V9,1.0.0-sim,1;"));

    // The API writes what the wire reads; text that would break a frame
    // does not reach it.
    sim->setQrCode(QStringLiteral("A;B"));
    QCOMPARE(host.ask("CCMD", "11;"), QString("CCMD;11,A B;"));

    QCOMPARE(host.ask("CCMD", "67,0;"), QString("CCMD;67,0;"));
    QCOMPARE(host.ask("CMD", "GET3;"), QString("CMD;GET3:200;"));
    QCOMPARE(sim->setting(VXSimulator::Ccmd, 44), QString("VXS-000001"));
    // Another machine behind the same address keeps its ids through a reset.
    sim->setDeviceId(QStringLiteral("M-2"));
    sim->setUniqueId(QStringLiteral("U-2"));
    QCOMPARE(host.ask("CCMD", "67,0;"), QString("CCMD;67,0;"));
    QVERIFY(host.ask("CCMD", "2;").startsWith("CCMD;2,0,VX-KTR450PROCam,M-2,"));
    QCOMPARE(host.ask("CCMD", "57;"), QString("CCMD;57,U-2;"));

    // Origin: jog away, set the origin there, jog back, return to it.
    sim->setSpeedup(100);
    QCOMPARE(host.ask("CMD", "SET82:32868;"), QString("CMD;SET82:32868;"));
    QTRY_VERIFY_WITH_TIMEOUT(sim->headPosition().x() > 4000, 5000);
    QCOMPARE(host.ask("CMD", "SET82:0;"), QString("CMD;SET82:0;"));
    QCOMPARE(host.ask("CMD", "SET87:1;"), QString("CMD;SET87:1;"));
    QCOMPARE(sim->headPosition(), QPointF());
    host.ask("CMD", "SET82:100;");
    QTRY_VERIFY_WITH_TIMEOUT(sim->headPosition().x() < -2000, 5000);
    host.ask("CMD", "SET82:0;");
    QCOMPARE(host.ask("CMD", "SET93:1;"), QString("CMD;SET93:1;"));
    QCOMPARE(sim->headPosition(), QPointF());
}

void TestSimulator::catalogueCovered()
{
    const QList<int> cmd{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 24, 25, 26, 27, 28, 29,
                         43, 82, 83, 87, 93, 125, 129, 132, 133, 134, 135, 136, 137, 138};
    for (int n : cmd)
        QVERIFY2(sim->hasSetting(VXSimulator::Cmd, n), qPrintable(QString::number(n)));
    for (int n : {44, 46, 48, 54, 55, 57, 1010})
        QVERIFY2(sim->hasSetting(VXSimulator::Ccmd, n), qPrintable(QString::number(n)));
    QVERIFY(sim->hasSetting(VXSimulator::Num, 1));
}

void TestSimulator::jobToCompletion()
{
    // Slow enough that a stalled tick cannot skip the first copy's reports.
    sim->setSpeedup(20);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy finished(sim, &VXSimulator::jobFinished);
    host.send("CMD", "NUM:2;");
    const QByteArray plot = samplePlot();
    QVERIFY(!plot.isEmpty());
    host.send("PLT", plot);
    QVERIFY(finished.wait(10000));

    int lastPercent = -1;
    bool sawFirstCopy = false;
    QStringList last;
    for (QString f; !(f = host.next(2000)).isEmpty();) {
        QVERIFY2(f.startsWith("CCMD;66,"), qPrintable(f));
        last = reportFields(f);
        QVERIFY(last.size() >= 9);
        QVERIFY(last[5].toInt() >= lastPercent);
        lastPercent = last[5].toInt();
        sawFirstCopy = sawFirstCopy || (last[4] == "1" && lastPercent < 100);
        if (last[1] == "3")
            break;
    }
    QCOMPARE(last.mid(0, 6), (QStringList{"66", "3", "job1.plt", "2", "2", "100"}));
    QVERIFY(sawFirstCopy);
    QVERIFY(host.lengthsOk);

    PlotReader reader;
    QVERIFY(reader.read(plot));
    const VXSimJob job = sim->jobs().value(0);
    QCOMPARE(job.pathLength, reader.pathLength());
    QCOMPARE(job.width, reader.width());
    QCOMPARE(job.status, VXSimJobStatus::Finished);
    QCOMPARE(sim->lastJobData(), plot);
    // Two copies at the default 200 mm/s cut and 400 mm/s travel.
    const double perCopy = reader.pathLength() / (200 * 40) + reader.travelLength() / (400 * 40);
    QCOMPARE(job.seconds, 2 * perCopy);
    // The report query repeats the last report.
    QCOMPARE(reportFields(host.ask("CCMD", "66;")).mid(0, 6), last.mid(0, 6));
}

void TestSimulator::pauseResumeStop()
{
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy reports(sim, &VXSimulator::jobReport);
    host.send("PLT", samplePlot());
    QCOMPARE(reportFields(host.next()).value(1), QString("1"));

    QCOMPARE(host.ask("CMD", "SET125:0;"), QString("CMD;SET125:0;"));
    QCOMPARE(reportFields(host.next()).value(1), QString("2"));
    // Paused at a speed-up that would end the job within one tick.
    sim->setSpeedup(1e6);
    reports.clear();
    QVERIFY(!reports.wait(200));
    QVERIFY(sim->busy());

    QSignalSpy finished(sim, &VXSimulator::jobFinished);
    host.send("CMD", "SET125:1;");
    QVERIFY(finished.wait(5000));
    QCOMPARE(sim->jobs().value(0).status, VXSimJobStatus::Finished);

    // Stop: a last report with status 4, and queued jobs go too.
    sim->setSpeedup(1);
    host.frames.clear();
    QSignalSpy stopped(sim, &VXSimulator::jobStopped);
    host.send("PLT", samplePlot());
    host.send("PLT", samplePlot());
    QTRY_COMPARE(sim->jobs().size(), 2);
    host.send("CMD", "SET125:2;");
    QVERIFY(stopped.wait(5000));
    QTRY_VERIFY(!host.frames.filter(",4,job2.plt,").isEmpty());
    QVERIFY(!sim->busy());
    QCOMPARE(sim->jobs().size(), 2);
    QCOMPARE(sim->jobs().last().status, VXSimJobStatus::Stopped);
}

void TestSimulator::badPlotIsRefused()
{
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy failed(sim, &VXSimulator::jobFailed);
    host.send("PLT", "IN;PU0,0;WG100,0,90;");
    QCOMPARE(host.next(), QString("CCMD;66,5,job1.plt,1,0,0,0,0,0,0;"));
    QCOMPARE(failed.size(), 1);
    QVERIFY(failed.first().at(1).toString().contains("command WG"));
    QVERIFY(!sim->busy());
}

void TestSimulator::bigPlotJob()
{
    // 16 MiB in one frame, hundreds of reads and an eight-digit length:
    // received whole, read, and its size reported.
    QByteArray plot("IN;SP1;");
    plot.reserve(16 << 20);
    const QByteArray stroke("PU0,0;PD4000,0,4000,4000,0,4000,0,0;\n");
    while (plot.size() + stroke.size() <= (16 << 20))
        plot += stroke;
    plot += QByteArray((16 << 20) - plot.size(), ' ');
    sim->setSpeedup(1e9);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy finished(sim, &VXSimulator::jobFinished);
    QElapsedTimer t;
    t.start();
    host.send("PLT", plot);
    QVERIFY(finished.wait(30000));
    qInfo("16 MiB job received and cut in %lld ms", t.elapsed());
    const VXSimJob job = sim->jobs().value(0);
    QCOMPARE(job.bytes, qint64(16 << 20));
    QCOMPARE(job.width, 4000.0);
    QCOMPARE(job.pathLength, 16000.0 * ((plot.size() - 7) / stroke.size()));
}

void TestSimulator::oneByteChunks()
{
    sim->setOneByteChunks(true);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    const QString info = host.ask("CCMD", "2;");
    QVERIFY(info.startsWith("CCMD;2,0,VX-KTR450PROCam,"));
    // Chunks may merge in the kernel, but not into one.
    QVERIFY2(host.chunks > 5, qPrintable(QString::number(host.chunks)));
    // The simulator's own receive side takes one-byte chunks too.
    const QByteArray f = frame("CCMD", "1010;");
    for (char c : f) {
        host.socket.write(&c, 1);
        host.socket.flush();
    }
    QCOMPARE(host.next(), QString("CCMD;1010,2;"));
}

void TestSimulator::garbageBetweenFrames()
{
    sim->setGarbageBetweenFrames(true);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    // Garbage from the host side too.
    host.socket.write("\x03zz\x02" "5;");
    QCOMPARE(host.ask("CCMD", "1010;"), QString("CCMD;1010,2;"));
    QCOMPARE(host.ask("CMD", "GET26;"), QString("CMD;GET26:400;"));
    QVERIFY(host.raw.count('\x03') > 2);
    QVERIFY(!host.raw.startsWith('\x02'));
    QVERIFY(sim->discardedBytes() > 0);
}

void TestSimulator::heartbeatIgnored()
{
    sim->setIgnoreHeartbeat(true);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    host.send("CCMD", "1010;");
    QCOMPARE(host.ask("CCMD", "57;"), QString("CCMD;57,5658534D00000001;"));
    QCOMPARE(sim->heartbeatCount(), 1);
    // Writes of the period are still acknowledged.
    QCOMPARE(host.ask("CCMD", "1010,3;"), QString("CCMD;1010,3;"));
}

void TestSimulator::dropAfterBytes()
{
    const QByteArray hb = frame("CCMD", "1010;"); // 17 bytes
    {
        sim->setDropAfterReceived(hb.size() + 5);
        Host host(sim->serverPort());
        QVERIFY(host.ready());
        QSignalSpy closed(&host.socket, &QTcpSocket::disconnected);
        QCOMPARE(host.ask("CCMD", "1010;"), QString("CCMD;1010,2;"));
        host.send("CCMD", "1010;");
        QVERIFY(closed.wait(5000));
        QVERIFY(host.frames.isEmpty());
    }
    sim->setDropAfterReceived(-1);
    sim->setDropAfterSent(10);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QSignalSpy closed(&host.socket, &QTcpSocket::disconnected);
    host.send("CCMD", "1010;");
    QVERIFY(closed.wait(5000));
    QCOMPARE(host.raw, frame("CCMD", "1010,2;").left(10));
    QVERIFY(host.frames.isEmpty());
    QTRY_COMPARE(sim->linkCount(), 0);
}

void TestSimulator::linkDrops_data()
{
    QTest::addColumn<bool>("abortOnDrop");
    QTest::newRow("machine goes on") << false;
    QTest::newRow("machine abandons the job") << true;
}

void TestSimulator::linkDrops()
{
    // Cable pulled at 40 % of copy 1 of 2, link down for a while; the host
    // that comes back asks for the job report and learns how far it got.
    QFETCH(bool, abortOnDrop);
    sim->setSpeedup(4);
    sim->setDropMidJob(20);
    sim->setDownFor(1000);
    sim->setAbortOnDrop(abortOnDrop);
    QSignalSpy back(sim, &VXSimulator::linkBack);
    QSignalSpy finished(sim, &VXSimulator::jobFinished);
    QStringList last;
    {
        Host host(sim->serverPort());
        QVERIFY(host.ready());
        QSignalSpy closed(&host.socket, &QTcpSocket::disconnected);
        host.send("CMD", "NUM:2;");
        host.send("PLT", samplePlot());
        QVERIFY(closed.wait(10000));
        for (const QString &f : host.frames)
            last = reportFields(f.mid(f.indexOf(';') + 1));
    }
    // Field 9 is the copy being cut; field 5 all copies together.
    QCOMPARE(last.size(), 10);
    QCOMPARE(last.value(4), QString("0"));
    QVERIFY(last.value(5).toInt() >= 20);
    QVERIFY(qAbs(last.value(9).toInt() - 2 * last.value(5).toInt()) <= 2);

    QVERIFY(sim->isDown());
    QTcpSocket refused;
    QSignalSpy error(&refused, &QTcpSocket::errorOccurred);
    refused.connectToHost(QHostAddress::LocalHost, sim->serverPort());
    QVERIFY(error.wait(5000) || !error.isEmpty());
    QCOMPARE(refused.error(), QAbstractSocket::ConnectionRefusedError);
    QVERIFY(back.wait(5000));

    Host again(sim->serverPort());
    QVERIFY(again.ready());
    const QStringList now = reportFields(again.ask("CCMD", "66;"));
    if (abortOnDrop) {
        QCOMPARE(now.mid(0, 5), (QStringList{"66", "4", "job1.plt", "2", "0"}));
        QCOMPARE(now.value(9), last.value(9));
        QCOMPARE(sim->jobs().value(0).status, VXSimJobStatus::Stopped);
        QVERIFY(!sim->busy());
    } else {
        // The job ran on without a host; the end report (broadcast, or
        // the reply to the query if it ended before the host came back).
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        again.send("CCMD", "66;");
        QTRY_VERIFY(!again.frames.filter(";66,3,").isEmpty());
        const QString f = again.frames.filter(";66,3,").first();
        QCOMPARE(reportFields(f.mid(f.indexOf(';') + 1)).mid(0, 6),
                 (QStringList{"66", "3", "job1.plt", "2", "2", "100"}));
    }
}

void TestSimulator::sheets_data()
{
    QTest::addColumn<QStringList>("stack");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QString>("unanswered"); // the host never answers this code
    QTest::addColumn<QStringList>("outcomes");

    QTest::newRow("repeated designs") << QStringList{"A", "B", "A"} << 99 << QString()
                                      << QStringList{"A cut", "B cut", "A cut"};
    QTest::newRow("unreadable code") << QStringList{"A", "?", "B"} << 99 << QString()
                                     << QStringList{"A cut", " unreadable", "B cut"};
    QTest::newRow("late answer") << QStringList{"A", "LATE", "B"} << 99 << "LATE"
                                 << QStringList{"A cut", "LATE no answer", "B cut"};
    QTest::newRow("count reached first") << QStringList{"A", "B", "A"} << 2 << QString()
                                         << QStringList{"A cut", "B cut"};
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << (i % 3 ? "B" : "A");
    QStringList cut;
    for (const QString &c : many)
        cut << c + " cut";
    QTest::newRow("300 sheets at speed") << many << 1000 << QString() << cut;
}

void TestSimulator::sheets()
{
    QFETCH(QStringList, stack);
    QFETCH(int, copies);
    QFETCH(QString, unanswered);
    QFETCH(QStringList, outcomes);
    QVERIFY(sim->setSheets(stack));
    sim->setSpeedup(1e5);
    // Only where a sheet is meant to go unanswered: a loaded machine must
    // not turn a slow answer into a skip.
    sim->setAnswerWait(unanswered.isEmpty() ? -1 : 1000);
    // A square of its own size for each code: the record shows which plot
    // went on which sheet.
    const auto plot = [](const QString &code) {
        const QByteArray w = QByteArray::number(400 * (code.at(0).unicode() - 'A' + 1));
        return "IN;PU0,0;PD" + w + ",0," + w + ',' + w + ",0," + w + ",0,0;";
    };
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    QCOMPARE(host.ask("CCMD", "54," + QByteArray::number(copies) + ';'), QString("CCMD;54,%1;").arg(copies));

    QStringList report;
    QString lateCode;
    for (QString f; report.value(1) != "3";) {
        f = host.next();
        QVERIFY2(!f.isEmpty(), "the QR-code job stalled");
        if (f.startsWith("CCMD;11,")) {
            const QString code = f.mid(8, f.size() - 9);
            if (code == unanswered)
                lateCode = code;
            else if (!code.isEmpty())
                host.send("QR_PLT", plot(code));
            continue;
        }
        report = reportFields(f);
        // The answer that comes after the machine gave up is not cut.
        if (report.value(1) == "6" && !lateCode.isEmpty()) {
            host.send("QR_PLT", plot(lateCode));
            lateCode.clear();
        }
    }
    QStringList got;
    const QList<VXSimSheet> sheets = sim->sheets();
    const QHash<int, QString> names{{VXSimSheet::Cut, "cut"}, {VXSimSheet::Unreadable, "unreadable"},
                                    {VXSimSheet::NoAnswer, "no answer"}};
    for (const VXSimSheet &s : sheets) {
        got << s.code + ' ' + names.value(s.outcome, "?");
        if (s.outcome == VXSimSheet::Cut)
            QCOMPARE(s.width, 400.0 * (s.code.at(0).unicode() - 'A' + 1));
    }
    QCOMPARE(got, outcomes);
    QCOMPARE(report.value(4).toInt(), int(outcomes.filter(" cut").size()));
    QCOMPARE(sim->ignoredQrPlots(), unanswered.isEmpty() ? 0 : 1);
    QCOMPARE(sim->sheetsLeft(), stack.size() - outcomes.size());
    QVERIFY(!sim->busy());
}

void TestSimulator::sheetJobEnds_data()
{
    QTest::addColumn<bool>("dropLink");
    QTest::newRow("host stops the job") << false;
    QTest::newRow("link drops, machine abandons") << true;
}

void TestSimulator::sheetJobEnds()
{
    // A job ended while a sheet waits: that sheet is stopped, the rest of
    // the stack stays for the next job, and a host coming back reads it.
    QFETCH(bool, dropLink);
    QVERIFY(sim->setSheets({"A", "B"}));
    sim->setSpeedup(1e5);
    sim->setAbortOnDrop(true);
    QSignalSpy stopped(sim, &VXSimulator::jobStopped);
    {
        Host host(sim->serverPort());
        QVERIFY(host.ready());
        host.send("CCMD", "54,5;");
        QTRY_VERIFY(!host.frames.filter(";66,7,").isEmpty());
        if (dropLink)
            sim->dropLinks();
        else
            host.send("CMD", "SET125:2;");
        QVERIFY(stopped.count() == 1 || stopped.wait(5000));
    }
    QCOMPARE(sim->sheets().size(), 1);
    QCOMPARE(sim->sheets().first().outcome, VXSimSheet::Stopped);
    QCOMPARE(sim->sheetsLeft(), 1);
    Host again(sim->serverPort());
    QVERIFY(again.ready());
    QCOMPARE(reportFields(again.ask("CCMD", "66;")).mid(0, 5), (QStringList{"66", "4", "job1.plt", "5", "0"}));
}

void TestSimulator::sheetCodes()
{
    // The host gets only the last ','-field of a code reply; such codes are
    // refused before they could be read as another design.
    QString why;
    QVERIFY(sim->setSheets({"A-1", "?", "ÄÖ 2"}, &why));
    for (const char *bad : {"", "A,B", "A;B", "A\x03"}) {
        QVERIFY2(!sim->setSheets({"ok", bad}, &why), qPrintable(bad));
        QVERIFY(why.startsWith("sheet 2: "));
    }
    QCOMPARE(sim->sheetsLeft(), 3);
}

void TestSimulator::endlessFrame()
{
    sim->setEndlessFrame(true);
    Host host(sim->serverPort());
    QVERIFY(host.ready());
    host.send("CCMD", "1010;");
    QTRY_VERIFY_WITH_TIMEOUT(host.raw.size() > (2 << 20), 10000);
    QVERIFY(host.raw.startsWith('\x02'));
    QVERIFY(!host.raw.contains('\x03'));
    QVERIFY(host.frames.isEmpty());
    sim->setEndlessFrame(false);
}

// Writes the query to the device side of the pseudo-terminal and reads
// until `frames` whole frames came back.
static QByteArray ptyAsk(int fd, const QByteArray &query, int frames)
{
    if (::write(fd, query.constData(), size_t(query.size())) != ssize_t(query.size()))
        return QByteArray();
    QByteArray got;
    QElapsedTimer t;
    t.start();
    // The simulator lives on this thread: let it run between polls.
    while (got.count('\x03') < frames && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) > 0) {
            char buf[512];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                got.append(buf, int(n));
        }
    }
    return got;
}

void TestSimulator::pseudoTerminal()
{
    // The device comes back from a down time under a new name; the link a
    // host opens follows it.
    QTemporaryDir dir;
    const QString link = dir.filePath("vxsim-tty");
    sim->setPtyLink(link);
    sim->setDownFor(100);
    QVERIFY2(sim->startPty(), qPrintable(sim->errorString()));
    const QString first = sim->ptyPath();
    QVERIFY(first.startsWith("/dev/pts/"));
    QCOMPARE(QFileInfo(link).symLinkTarget(), first);
    int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(ptyAsk(fd, frame("CCMD", "2;") + frame("CCMD", "1010;"), 2),
             frame("CCMD", "2,0,VX-KTR450PROCam,VXS-000001,PCB-450-0001,V2.1,1.0.0-sim,1;")
                 + frame("CCMD", "1010,2;"));

    // A dropped link is a hang-up on the device side.
    QSignalSpy back(sim, &VXSimulator::linkBack);
    sim->dropLinks();
    QVERIFY(sim->isDown());
    QVERIFY(sim->ptyPath().isEmpty());
    pollfd p{fd, POLLIN, 0};
    QCOMPARE(::poll(&p, 1, 2000), 1);
    QVERIFY(p.revents & (POLLHUP | POLLERR));
    ::close(fd);

    QVERIFY(back.wait(5000));
    QVERIFY(!sim->ptyPath().isEmpty());
    QCOMPARE(QFileInfo(link).symLinkTarget(), sim->ptyPath());
    fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QCOMPARE(ptyAsk(fd, frame("CCMD", "1010;"), 1), frame("CCMD", "1010,2;"));
    ::close(fd);
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
