// SPDX-License-Identifier: LGPL-2.1-or-later
#include "JobJournal.h"
#include "ReconnectSchedule.h"
#include "ResumePlan.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

JobRecord record(const QString &file, JobRecord::Outcome outcome, const QString &resumes = QString())
{
    JobRecord r;
    r.start = QDateTime::currentDateTimeUtc();
    r.end = r.start.addSecs(60);
    r.file = file;
    r.sha256 = QByteArray(64, 'a');
    r.copies = 2;
    r.finished = outcome == JobRecord::Outcome::Finished ? 2 : 0;
    r.percent = 40;
    r.outcome = outcome;
    r.deviceId = QStringLiteral("VXS-000001");
    r.uniqueId = QStringLiteral("5658534D00000001");
    r.reconnects = 1;
    r.linkDownMs = 2300;
    r.resumes = resumes;
    return r;
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::Append));
    f.write(bytes);
}

// Child mode: append `count` records tagged `tag`, with a design text long
// enough that a line spans several pages.
int appendChild(const QString &path, int count, const QString &tag)
{
    JobJournal journal(path);
    for (int i = 0; i < count; ++i) {
        JobRecord r = record(tag, JobRecord::Outcome::Finished);
        r.code = QString::number(i);
        r.design = QString(9000, tag.at(0));
        if (!journal.append(r))
            return 1;
    }
    return 0;
}

} // namespace

class TestJobJournal : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("sub/jobs.jsonl")); }

private slots:
    void init() { QFile::remove(path()); }
    void roundTrip();
    void damagedLines_data();
    void damagedLines();
    void resumeTarget();
    void concurrentProcesses();
    void schedule_data();
    void schedule();
    void resumePlan_data();
    void resumePlan();
};

void TestJobJournal::roundTrip()
{
    JobJournal journal(path());
    JobRecord a = record(QStringLiteral("/d/a.svg"), JobRecord::Outcome::Interrupted);
    JobRecord b = record(QStringLiteral("/d/b.plt"), JobRecord::Outcome::Skipped);
    b.code = QStringLiteral("ABC123");
    b.design = QStringLiteral("/d/ABC123.dxf");
    // What a resume plans and checks with; "tool" keeps its rules' order.
    a.options = QJsonObject{{"rotate", "90"}, {"tool", QJsonArray{"crease=2", "1=1"}}};
    a.plotSha256 = QByteArray(64, 'e');
    a.jobName = QStringLiteral("job3.plt");
    a.jobFirst = 1;
    a.jobRest = true;
    QString error;
    QVERIFY2(journal.append(a, &error), qPrintable(error));
    QVERIFY(journal.append(b));
    QVERIFY(!a.id.isEmpty() && a.id != b.id);

    int skipped = -1;
    const QList<JobRecord> got = journal.last(5, &skipped);
    QCOMPARE(skipped, 0);
    QCOMPARE(got.size(), 2);
    QCOMPARE(got.at(0).toJson(), a.toJson());
    QCOMPARE(got.at(1).toJson(), b.toJson());
    QCOMPARE(got.at(0).start, a.start); // milliseconds survive
    QCOMPARE(journal.last(1).value(0).id, b.id);
    QCOMPARE(QFile(path()).permissions() & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    QCOMPARE(got.at(0).options, a.options);
    QCOMPARE(got.at(0).jobName, a.jobName);
    // A line from before these members reads, with none of them.
    writeRaw(path(), "{\"v\":1,\"id\":\"old\",\"file\":\"/d/c.plt\",\"sha256\":\"ab\",\"copies\":2,"
                     "\"finished\":0,\"percent\":40,\"outcome\":\"interrupted\"}\n");
    const JobRecord old = journal.last(1).value(0);
    QCOMPARE(old.id, QStringLiteral("old"));
    QVERIFY(old.options.isEmpty() && old.plotSha256.isEmpty() && old.jobName.isEmpty() && old.jobFirst == 0
            && !old.jobRest);
    // No journal yet is no error, just nothing.
    QVERIFY(JobJournal(dir.filePath("none.jsonl")).last(3).isEmpty());
}

void TestJobJournal::damagedLines_data()
{
    QTest::addColumn<QByteArray>("tail"); // written after one good record
    QTest::addColumn<int>("skipped");
    QTest::addColumn<bool>("closedByAppend"); // the tail becomes a whole record

    QTest::newRow("torn last line") << QByteArray("{\"v\":1,\"id\":\"x\",\"start\":\"2026-") << 1 << false;
    QTest::newRow("whole object, newline not yet written")
        << QByteArray("{\"outcome\":\"finished\",\"copies\":1,\"finished\":1}") << 1 << true;
    QTest::newRow("blank lines") << QByteArray("\n\n  \n") << 0 << false;
    QTest::newRow("foreign lines") << QByteArray("[1,2]\n{\"outcome\":\"exploded\",\"copies\":1,\"finished\":0}\n"
                                                 "{\"outcome\":\"finished\",\"copies\":\"2\",\"finished\":0}\n")
                                   << 3 << false;
    QTest::newRow("binary junk") << QByteArray("\x00\xff\x02garbage", 11) << 1 << false;
}

void TestJobJournal::damagedLines()
{
    // Reading skips what is no record; the next append still lands on a
    // line of its own, even after a tail without newline.
    QFETCH(QByteArray, tail);
    QFETCH(int, skipped);
    QFETCH(bool, closedByAppend);
    JobJournal journal(path());
    JobRecord first = record(QStringLiteral("a"), JobRecord::Outcome::Finished);
    QVERIFY(journal.append(first));
    writeRaw(path(), tail);
    int bad = -1;
    QCOMPARE(journal.last(10, &bad).size(), 1);
    QCOMPARE(bad, skipped);

    JobRecord next = record(QStringLiteral("b"), JobRecord::Outcome::Stopped);
    QVERIFY(journal.append(next));
    const QList<JobRecord> got = journal.last(10, &bad);
    QCOMPARE(got.size(), closedByAppend ? 3 : 2);
    QCOMPARE(got.last().id, next.id);
    QCOMPARE(bad, closedByAppend ? 0 : skipped);
}

void TestJobJournal::resumeTarget()
{
    // A resumed job is not offered again; an older one still open is.
    JobJournal journal(path());
    JobRecord a = record(QStringLiteral("a"), JobRecord::Outcome::Interrupted);
    JobRecord c = record(QStringLiteral("c"), JobRecord::Outcome::Interrupted);
    JobRecord sheet = record(QStringLiteral("s"), JobRecord::Outcome::Interrupted);
    sheet.code = QStringLiteral("A");
    for (JobRecord *r : {&a, &c, &sheet})
        QVERIFY(journal.append(*r));
    QCOMPARE(journal.lastInterrupted()->id, c.id);

    JobRecord resumeC = record(QStringLiteral("c"), JobRecord::Outcome::Finished, c.id);
    QVERIFY(journal.append(resumeC));
    QCOMPARE(journal.lastInterrupted()->id, a.id);
    // A resume cut short is itself the job to resume next.
    JobRecord resumeA = record(QStringLiteral("a"), JobRecord::Outcome::Interrupted, a.id);
    QVERIFY(journal.append(resumeA));
    QCOMPARE(journal.lastInterrupted()->id, resumeA.id);
    JobRecord done = record(QStringLiteral("a"), JobRecord::Outcome::Finished, resumeA.id);
    QVERIFY(journal.append(done));
    QVERIFY(!journal.lastInterrupted());
}

void TestJobJournal::concurrentProcesses()
{
    // Two real processes append 9 KiB lines at the same time: every line
    // comes back whole.
    const int count = 300;
    QProcess one, two;
    for (auto [p, tag] : {std::make_pair(&one, "A"), std::make_pair(&two, "B")})
        p->start(QCoreApplication::applicationFilePath(),
                 {"--append-child", path(), QString::number(count), tag});
    for (QProcess *p : {&one, &two}) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
    }
    int bad = -1;
    const QList<JobRecord> all = JobJournal(path()).last(10 * count, &bad);
    QCOMPARE(bad, 0);
    QCOMPARE(all.size(), 2 * count);
    QHash<QString, int> perTag;
    for (const JobRecord &r : all) {
        QCOMPARE(r.design, QString(9000, r.file.at(0)));
        ++perTag[r.file];
    }
    QCOMPARE(perTag.value("A"), count);
    QCOMPARE(perTag.value("B"), count);
}

void TestJobJournal::schedule_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("budget");
    QTest::addColumn<QList<int>>("elapsed"); // before each call
    QTest::addColumn<QList<int>>("delays");

    QTest::newRow("defaults double to 8 s") << 500 << 8000 << 120000 << QList<int>{0, 500, 1500, 3500, 7500, 15500, 23500}
                                            << QList<int>{500, 1000, 2000, 4000, 8000, 8000, 8000};
    QTest::newRow("last wait cut to the budget") << 500 << 8000 << 3000 << QList<int>{0, 500, 1500, 3000}
                                                 << QList<int>{500, 1000, 1500, -1};
    QTest::newRow("slow attempts eat the budget") << 500 << 8000 << 2000 << QList<int>{0, 2500}
                                                  << QList<int>{500, -1};
    QTest::newRow("ceiling below first") << 1000 << 300 << 10000 << QList<int>{0, 300} << QList<int>{300, 300};
    QTest::newRow("no budget") << 500 << 8000 << 0 << QList<int>{0} << QList<int>{-1};
}

void TestJobJournal::schedule()
{
    QFETCH(int, first);
    QFETCH(int, max);
    QFETCH(int, budget);
    QFETCH(QList<int>, elapsed);
    QFETCH(QList<int>, delays);
    ReconnectSchedule s(first, max, budget);
    QList<int> got;
    for (int e : elapsed)
        got << s.nextDelay(e);
    QCOMPARE(got, delays);
    QCOMPARE(s.attempts(), int(delays.size() - delays.count(-1)));
    s.reset();
    QCOMPARE(s.nextDelay(0), budget > 0 ? qMin(first, max) : -1);
}

void TestJobJournal::resumePlan_data()
{
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("finished");
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("plan"); // remaining/whole/+from, or "!" when refused

    const int C = ResumePlan::Continue, R = ResumePlan::RecutWhole, L = ResumePlan::Leave;
    QTest::newRow("copy 1 of 2 at 40 %") << 2 << 0 << 40 << C << "2/1/+40";
    QTest::newRow("copy 2 of 2 at 40 %") << 2 << 1 << 40 << C << "1/0/+40";
    QTest::newRow("re-cut it whole") << 2 << 0 << 40 << R << "2/2";
    QTest::newRow("leave it out") << 2 << 0 << 40 << L << "2/1";
    QTest::newRow("next copy not begun") << 3 << 1 << 0 << C << "2/2";
    QTest::newRow("cut through, not yet counted") << 2 << 1 << 100 << C << "0/0";
    QTest::newRow("all finished") << 2 << 2 << 0 << C << "0/0";
    QTest::newRow("percent unknown") << 2 << 0 << -1 << C << "!";
    QTest::newRow("percent unknown, re-cut") << 2 << 0 << -1 << R << "2/2";
    QTest::newRow("more finished than asked") << 2 << 5 << 0 << C << "0/0";
    QTest::newRow("nothing asked") << 0 << 0 << 0 << C << "!";
    QTest::newRow("percent over 100") << 2 << 0 << 250 << C << "!";
}

void TestJobJournal::resumePlan()
{
    QFETCH(int, asked);
    QFETCH(int, finished);
    QFETCH(int, percent);
    QFETCH(int, mode);
    QFETCH(QString, plan);
    const ResumePlan p = ResumePlan::make(asked, finished, percent, ResumePlan::Interrupted(mode));
    QString got = p.ok() ? QStringLiteral("%1/%2").arg(p.remaining).arg(p.whole) : QStringLiteral("!");
    if (p.partial)
        got += QStringLiteral("/+%1").arg(p.fromPercent);
    QCOMPARE(got, plan);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == QLatin1String("--append-child"))
        return appendChild(args.value(2), args.value(3).toInt(), args.value(4));
    TestJobJournal test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_jobjournal.moc"
