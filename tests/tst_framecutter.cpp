// SPDX-License-Identifier: LGPL-2.1-or-later
#include "link/FrameCutter.h"

#include <QTest>

namespace {

const char STX = 0x02;
const char ETX = 0x03;

QByteArray f(const QByteArray &text)
{
    return STX + text + ETX;
}

QList<QByteArray> cut(FrameCutter &cutter, const QList<QByteArray> &chunks)
{
    QList<QByteArray> frames;
    QByteArray frame;
    for (const QByteArray &chunk : chunks) {
        cutter.append(chunk);
        while (cutter.next(frame))
            frames << frame;
    }
    return frames;
}

} // namespace

class tst_FrameCutter : public QObject
{
    Q_OBJECT
private slots:
    void cutting_data();
    void cutting();
    void oneByteChunks();
    void boundedWithoutEtx_data();
    void boundedWithoutEtx();
    void lastStxKeepsFrameAcrossLimit();
    void oversizedFrameDropped();
    void manyFramesInOneChunk();
};

void tst_FrameCutter::cutting_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("frames");
    QTest::addColumn<int>("pending");

    const QByteArray a = f("15;CCMD;1010;");
    const QByteArray b = f("16;CMD;SET26:5;");

    QTest::newRow("two frames, one chunk") << QList<QByteArray>{ a + b } << QList<QByteArray>{ a, b } << 0;
    QTest::newRow("split over two chunks")
        << QList<QByteArray>{ a.left(5), a.mid(5) } << QList<QByteArray>{ a } << 0;
    QTest::newRow("split at ETX") << QList<QByteArray>{ a.chopped(1), a.right(1) } << QList<QByteArray>{ a } << 0;
    QTest::newRow("stray bytes then unfinished STX")
        << QList<QByteArray>{ QByteArray("xy") + STX + "9;A;B" + a } << QList<QByteArray>{ a } << 0;
    QTest::newRow("candidate without STX") << QList<QByteArray>{ QByteArray("junk") + ETX + b }
                                           << QList<QByteArray>{ b } << 0;
    QTest::newRow("lone ETX") << QList<QByteArray>{ QByteArray(1, ETX) } << QList<QByteArray>{} << 0;
    QTest::newRow("tail kept") << QList<QByteArray>{ a + b.left(4) } << QList<QByteArray>{ a } << 4;
    QTest::newRow("tail completed later")
        << QList<QByteArray>{ a + b.left(4), b.mid(4, 3), b.mid(7) } << QList<QByteArray>{ a, b } << 0;
    QTest::newRow("empty frame") << QList<QByteArray>{ QByteArray() + STX + ETX }
                                 << QList<QByteArray>{ QByteArray() + STX + ETX } << 0;
}

void tst_FrameCutter::cutting()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, frames);
    QFETCH(int, pending);

    FrameCutter cutter;
    QCOMPARE(cut(cutter, chunks), frames);
    QCOMPARE(cutter.pending(), qsizetype(pending));
}

void tst_FrameCutter::oneByteChunks()
{
    const QByteArray stream = QByteArray("\x7f\x02zz") + f("15;CCMD;1010;") + "noise" + f("16;CMD;SET26:5;")
                              + QByteArray(1, ETX) + f("20;CMD;SET82:1000;") + STX + "12";
    QList<QByteArray> chunks;
    for (char c : stream)
        chunks << QByteArray(1, c);

    FrameCutter whole, bytewise;
    QCOMPARE(cut(bytewise, chunks), cut(whole, { stream }));
    QCOMPARE(bytewise.pending(), qsizetype(3));
    QCOMPARE(whole.pending(), qsizetype(3));
}

void tst_FrameCutter::boundedWithoutEtx_data()
{
    QTest::addColumn<int>("chunkSize");
    QTest::addColumn<bool>("withStx");
    QTest::newRow("64 KiB chunks") << 64 * 1024 << false;
    QTest::newRow("64 KiB chunks, STX sprinkled") << 64 * 1024 << true;
    QTest::newRow("one 64 MiB chunk") << 64 * 1024 * 1024 << true;
}

void tst_FrameCutter::boundedWithoutEtx()
{
    QFETCH(int, chunkSize);
    QFETCH(bool, withStx);

    const qsizetype total = 64 * 1024 * 1024;
    QByteArray chunk(chunkSize, 'x');
    if (withStx) {
        for (int i = 0; i < chunk.size(); i += 4096)
            chunk[i] = STX;
    }

    FrameCutter cutter;
    QByteArray frame;
    for (qsizetype sent = 0; sent < total; sent += chunk.size()) {
        cutter.append(chunk);
        QVERIFY(!cutter.next(frame));
        QVERIFY2(cutter.pending() <= cutter.limit(), qPrintable(QString::number(cutter.pending())));
        QVERIFY2(cutter.footprint() <= 4 * cutter.limit(), qPrintable(QString::number(cutter.footprint())));
    }

    // The stream recovers with the next real frame.
    const QByteArray good = f("15;CCMD;1010;");
    cutter.append(good);
    QVERIFY(cutter.next(frame));
    QCOMPARE(frame, good);
    QCOMPARE(cutter.pending(), qsizetype(0));
}

void tst_FrameCutter::lastStxKeepsFrameAcrossLimit()
{
    // The garbage ahead of the last STX pushes the tail over the limit; the
    // frame that follows the STX must come out whole.
    FrameCutter cutter(1024);
    const QByteArray good = f("20;CMD;SET82:1000;");
    QByteArray frame;
    cutter.append(QByteArray(3000, 'g') + good.left(6));
    QVERIFY(!cutter.next(frame));
    QCOMPARE(cutter.pending(), qsizetype(6));
    cutter.append(QByteArray(500, 'h'));
    cutter.append(QByteArray(1000, 'h') + STX);   // now the last STX is here
    QCOMPARE(cutter.pending(), qsizetype(1));
    cutter.append(good.mid(1));
    QVERIFY(cutter.next(frame));
    QCOMPARE(frame, good);
}

void tst_FrameCutter::oversizedFrameDropped()
{
    FrameCutter cutter(1024);
    QByteArray frame;
    cutter.append(STX + QByteArray(2000, 'p'));
    QCOMPARE(cutter.pending(), qsizetype(0));
    // Its remainder has no STX and must not surface as a frame.
    const QByteArray good = f("15;CCMD;1010;");
    cutter.append(QByteArray(10, 'p') + ETX + good);
    QVERIFY(cutter.next(frame));
    QCOMPARE(frame, good);
    QVERIFY(!cutter.next(frame));
}

void tst_FrameCutter::manyFramesInOneChunk()
{
    // Front removal per frame made this quadratic; it has to stay quick.
    const QByteArray one = f("16;CMD;SET26:5;");
    const int count = 200000;
    QByteArray chunk;
    chunk.reserve(one.size() * count + 3);
    for (int i = 0; i < count; ++i)
        chunk += one;
    chunk += STX + QByteArray("12");

    FrameCutter cutter;
    QElapsedTimer clock;
    clock.start();
    cutter.append(chunk);
    QByteArray frame;
    int n = 0;
    while (cutter.next(frame))
        ++n;
    QCOMPARE(n, count);
    QCOMPARE(cutter.pending(), qsizetype(3));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(tst_FrameCutter)
#include "tst_framecutter.moc"
