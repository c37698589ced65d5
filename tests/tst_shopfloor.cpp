// SPDX-License-Identifier: LGPL-2.1-or-later
// The shop floor against simulated machines in this process: queues cut in
// order, a dropped link, a service restarted mid-job, a watch folder, a nest.
#include "PluginHost.h"
#include "Shop.h"
#include "VXSimulator.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {
const QString kSample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
const QString kCorpus = QStringLiteral(VX_SOURCE_DIR "/tests/data/corpus/");

enum class Restart { StillCutting, EndedMeanwhile, SwitchedOff };
}
Q_DECLARE_METATYPE(Restart)

class TestShopFloor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void queuesInOrder();
    void cancel();
    void linkDrops_data();
    void linkDrops();
    void restart_data();
    void restart();
    void watchFolder();
    void nest_data();
    void nest();

private:
    // One service over `machines` simulators on 127.0.0.1, data in m_dir;
    // workLength: the machines' work area along the belt in their half
    // millimetres (0: their own).
    void open(int machines, bool watch = false, int workLength = 0);
    std::unique_ptr<Shop> makeShop();
    qint64 queue(const QString &machine, int copies = 1);
    QString state(qint64 id) const { return m_shop->job(id).body.value(QStringLiteral("state")).toString(); }

    PluginHost m_plugin;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::vector<std::unique_ptr<VXSimulator>> m_sims;
    ShopConfig m_config;
    std::unique_ptr<Shop> m_shop;
};

void TestShopFloor::initTestCase()
{
    QVERIFY2(m_plugin.load(QStringLiteral(VX_PLUGIN_FILE)), qPrintable(m_plugin.error()));
}

void TestShopFloor::open(int machines, bool watch, int workLength)
{
    m_shop.reset();
    m_sims.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    m_config = ShopConfig();
    m_config.dataDir = m_dir->filePath(QStringLiteral("data"));
    for (int i = 0; i < machines; ++i) {
        m_sims.push_back(std::make_unique<VXSimulator>());
        VXSimulator &sim = *m_sims.back();
        sim.setSpeedup(50);
        if (workLength > 0)
            sim.setSetting(VXSimulator::Cmd, 29, QString::number(workLength));
        QVERIFY(sim.start(0));
        MachineConfig mc;
        mc.name = QStringLiteral("m%1").arg(i);
        mc.target = QStringLiteral("127.0.0.1:%1").arg(sim.serverPort());
        if (watch)
            mc.watch = m_dir->filePath(QStringLiteral("hot"));
        m_config.machines << mc;
    }
    m_shop = makeShop();
}

std::unique_ptr<Shop> TestShopFloor::makeShop()
{
    auto shop = std::make_unique<Shop>(m_config, m_plugin.root());
    QString error;
    if (!shop->start(&error))
        qWarning("%s", qPrintable(error));
    return shop;
}

qint64 TestShopFloor::queue(const QString &machine, int copies)
{
    QString path;
    if (!m_shop->storagePath(machine, QStringLiteral("../sample one.plt"), &path) || !QFile::copy(kSample, path))
        return 0;
    const ShopResult r = m_shop->add(machine, path, QStringLiteral("sample one.plt"), QJsonObject(), copies,
                                     QStringLiteral("test"));
    return qint64(r.body.value(QStringLiteral("job")).toObject().value(QStringLiteral("id")).toDouble());
}

// Each machine works through its own queue, one job at a time, in order;
// every job has its line in the journal, naming its machine.
void TestShopFloor::queuesInOrder()
{
    open(2);
    QList<qint64> ids;
    for (const QString &m : {QStringLiteral("m0"), QStringLiteral("m1"), QStringLiteral("m0"), QStringLiteral("m1")})
        ids << queue(m, 2);
    QVERIFY(!ids.contains(0));
    // The stored copy stays inside the machine's folder, whatever the name.
    QString path;
    QVERIFY(m_shop->storagePath(QStringLiteral("m0"), QStringLiteral("../../.x é.plt"), &path));
    QVERIFY2(path.startsWith(m_config.dataDir + QStringLiteral("/machines/m0/files/")) && path.endsWith(QStringLiteral("-x__.plt")),
             qPrintable(path));
    for (qint64 id : ids)
        QTRY_COMPARE_WITH_TIMEOUT(state(id), QStringLiteral("done"), 30000);
    const QJsonObject card = m_shop->machine(QStringLiteral("m1")).body;
    QCOMPARE(card.value(QStringLiteral("link")).toString(), QStringLiteral("up"));
    QCOMPARE(card.value(QStringLiteral("work_area")).toObject().value(QStringLiteral("width")).toDouble(), 450.0);
    QByteArray png;
    QVERIFY(m_shop->preview(ids[0], &png));
    QVERIFY(png.startsWith("\x89PNG"));
    for (const auto &sim : m_sims) {
        QCOMPARE(sim->jobs().size(), 2);
        QCOMPARE(sim->jobs().at(1).status, VXSimJobStatus::Finished);
    }
    const QDateTime firstEnd = QDateTime::fromString(m_shop->job(ids[0]).body.value(QStringLiteral("ended_at")).toString(), Qt::ISODateWithMs);
    const QDateTime thirdStart = QDateTime::fromString(m_shop->job(ids[2]).body.value(QStringLiteral("started_at")).toString(), Qt::ISODateWithMs);
    QVERIFY(firstEnd <= thirdStart);
    const QJsonArray records = m_shop->journal(QString(), QStringLiteral("finished"), QStringLiteral("sample"), 10)
                                   .body.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.size(), 4);
    QStringList machines;
    for (const QJsonValue &r : records) {
        machines << r.toObject().value(QStringLiteral("machine")).toString();
        QCOMPARE(r.toObject().value(QStringLiteral("finished")).toInt(), 2);
    }
    QCOMPARE(machines.count(QStringLiteral("m0")), 2);
    QCOMPARE(m_shop->journal(QStringLiteral("m9"), QString(), QString(), 10).kind, ShopResult::NotFound);
}

// A queued entry never reaches the machine; the cutting one is stopped there.
void TestShopFloor::cancel()
{
    open(1);
    m_sims[0]->setSpeedup(0.5);
    const qint64 first = queue(QStringLiteral("m0"));
    const qint64 second = queue(QStringLiteral("m0"));
    const qint64 third = queue(QStringLiteral("m0"));
    QVERIFY(m_shop->cancel(second));
    QCOMPARE(state(second), QStringLiteral("cancelled"));
    QCOMPARE(m_shop->cancel(second).kind, ShopResult::Conflict);
    QTRY_COMPARE_WITH_TIMEOUT(state(first), QStringLiteral("cutting"), 10000);
    // Cancelling another entry leaves the station on the one it cuts.
    QVERIFY(m_shop->cancel(third));
    QCOMPARE(state(third), QStringLiteral("cancelled"));
    const QJsonObject job = m_shop->machine(QStringLiteral("m0")).body.value(QStringLiteral("job")).toObject();
    QCOMPARE(qint64(job.value(QStringLiteral("id")).toDouble()), first);
    QVERIFY(m_shop->control(QStringLiteral("m0"), QStringLiteral("stop")));
    QTRY_COMPARE_WITH_TIMEOUT(state(first), QStringLiteral("cancelled"), 10000);
    QCOMPARE(m_sims[0]->jobs().size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_sims[0]->jobs().at(0).status, VXSimJobStatus::Stopped, 5000);
    QCOMPARE(m_shop->control(QStringLiteral("m0"), QStringLiteral("stop")).kind, ShopResult::Conflict);

    // A queue that cannot be read is not shown as an empty one, and the
    // station takes nothing from it but says why on its card.
    const auto rename = [this](const char *sql) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(m_config.dataDir + QStringLiteral("/queue.sqlite"));
        const bool done = db.open() && QSqlQuery(db).exec(QLatin1String(sql));
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
        return done;
    };
    QVERIFY(rename("ALTER TABLE jobs RENAME TO elsewhere"));
    QCOMPARE(m_shop->queue(QStringLiteral("m0"), 5).kind, ShopResult::Unavailable);
    QCOMPARE(m_shop->job(first).kind, ShopResult::Unavailable);
    QVERIFY(m_shop->control(QStringLiteral("m0"), QStringLiteral("hold")));
    QVERIFY(m_shop->control(QStringLiteral("m0"), QStringLiteral("release")));
    QTRY_VERIFY_WITH_TIMEOUT(QJsonDocument(m_shop->machine(QStringLiteral("m0")).body).toJson().contains("could not be read"),
                             5000);
    QVERIFY(rename("ALTER TABLE elsewhere RENAME TO jobs"));
    QVERIFY(m_shop->queue(QStringLiteral("m0"), 5));
}

void TestShopFloor::linkDrops_data()
{
    QTest::addColumn<bool>("givesUp");
    QTest::addColumn<int>("machineJobs");
    // The runner follows the job it started; the rest is resumed as `vxcut resume` would.
    QTest::newRow("the machine cuts on") << false << 1;
    QTest::newRow("the machine gives the job up") << true << 2;
}

void TestShopFloor::linkDrops()
{
    QFETCH(bool, givesUp);
    QFETCH(int, machineJobs);
    open(1);
    VXSimulator &sim = *m_sims[0];
    sim.setSpeedup(5);
    sim.setDropMidJob(40);
    sim.setAbortOnDrop(givesUp);
    sim.setDownFor(1000);
    QStringList links;
    connect(m_shop.get(), &Shop::update, this, [&](const QJsonObject &m) {
        links << m.value(QStringLiteral("machine")).toObject().value(QStringLiteral("link")).toString();
    });
    const qint64 id = queue(QStringLiteral("m0"));
    QTRY_COMPARE_WITH_TIMEOUT(state(id), QStringLiteral("done"), 30000);
    QVERIFY2(links.contains(QStringLiteral("reconnecting")), qPrintable(links.join(QLatin1Char(' '))));
    QCOMPARE(sim.jobs().size(), machineJobs);
    QCOMPARE(sim.jobs().last().status, VXSimJobStatus::Finished);
    const QJsonArray records = m_shop->journal(QStringLiteral("m0"), QString(), QString(), 10)
                                   .body.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.first().toObject().value(QStringLiteral("outcome")).toString(), QStringLiteral("finished"));
}

void TestShopFloor::restart_data()
{
    QTest::addColumn<Restart>("restart");
    QTest::newRow("the machine is still cutting") << Restart::StillCutting;
    QTest::newRow("the machine ended while the service was down") << Restart::EndedMeanwhile;
    // No report of the job: held for a person, who chooses how to go on.
    QTest::newRow("the machine was switched off") << Restart::SwitchedOff;
}

// The service goes away mid-job (the machine cuts on) and comes back on the
// same data: the entry is followed to its end from the machine's reports,
// and the machine never gets the job twice.
void TestShopFloor::restart()
{
    QFETCH(Restart, restart);
    open(1);
    VXSimulator &sim = *m_sims[0];
    sim.setSpeedup(0.5);
    const qint64 id = queue(QStringLiteral("m0"), 2);
    QTRY_VERIFY_WITH_TIMEOUT(m_shop->machine(QStringLiteral("m0")).body.value(QStringLiteral("job")).toObject()
                                 .value(QStringLiteral("percent")).toInt() >= 10, 20000);
    m_shop.reset();
    QCOMPARE(sim.jobs().value(0).status, VXSimJobStatus::Cutting);
    if (restart == Restart::EndedMeanwhile) {
        sim.setSpeedup(200);
        QTRY_COMPARE_WITH_TIMEOUT(sim.jobs().value(0).status, VXSimJobStatus::Finished, 20000);
    }
    if (restart == Restart::SwitchedOff) {
        const quint16 port = sim.serverPort();
        m_sims[0] = std::make_unique<VXSimulator>();
        m_sims[0]->setSpeedup(50);
        QVERIFY(m_sims[0]->start(port));
    }
    m_shop = makeShop();
    if (restart == Restart::SwitchedOff) {
        QTRY_COMPARE_WITH_TIMEOUT(state(id), QStringLiteral("held"), 20000);
        // How far copy 1 got died with the machine: only a whole re-cut or a skip.
        QCOMPARE(m_shop->settle(id, QStringLiteral("continue")).kind, ShopResult::Conflict);
        QVERIFY(m_shop->settle(id, QStringLiteral("recut")));
        QTRY_COMPARE_WITH_TIMEOUT(state(id), QStringLiteral("done"), 20000);
        QCOMPARE(m_sims[0]->jobs().size(), 1);
        QCOMPARE(m_sims[0]->jobs().at(0).copies, 2);
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(state(id), QStringLiteral("done"), 30000);
    QCOMPARE(sim.jobs().size(), 1);
    QCOMPARE(m_shop->job(id).body.value(QStringLiteral("finished")).toInt(), 2);
    const QJsonArray records = m_shop->journal(QStringLiteral("m0"), QString(), QString(), 10)
                                   .body.value(QStringLiteral("records")).toArray();
    QCOMPARE(records.size(), 1);
    const QJsonObject line = records.first().toObject();
    QCOMPARE(line.value(QStringLiteral("outcome")).toString(), QStringLiteral("finished"));
    QCOMPARE(line.value(QStringLiteral("job_name")).toString(), sim.jobs().value(0).fileName);
}

// A good file is queued and, cut, moves to done/ with its report; one that
// is no design goes to failed/ with the reason and never reaches the machine.
void TestShopFloor::watchFolder()
{
    open(1, true);
    const QDir hot(m_config.machines.first().watch);
    QTRY_VERIFY(hot.exists(QStringLiteral("failed")));
    QFile bad(hot.filePath(QStringLiteral("broken.dxf")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    bad.close();
    QVERIFY(QFile::copy(kSample, hot.filePath(QStringLiteral("good.plt"))));
    QVERIFY(QFile::copy(kSample, hot.filePath(QStringLiteral("skip.plt.part"))));
    // Same name again later: a suffix, never an overwrite.
    QTRY_VERIFY_WITH_TIMEOUT(hot.exists(QStringLiteral("done/good.plt.report.txt")), 30000);
    QVERIFY(QFile::copy(kSample, hot.filePath(QStringLiteral("good.plt"))));
    QTRY_VERIFY_WITH_TIMEOUT(hot.exists(QStringLiteral("done/good-1.plt.report.txt")), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(hot.exists(QStringLiteral("failed/broken.dxf.report.txt")), 10000);
    QVERIFY(hot.exists(QStringLiteral("failed/broken.dxf")));
    QVERIFY(!hot.exists(QStringLiteral("broken.dxf")) && !hot.exists(QStringLiteral("good.plt")));
    QVERIFY(hot.exists(QStringLiteral("skip.plt.part")));

    QFile report(hot.filePath(QStringLiteral("done/good.plt.report.txt")));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(report.readAll());
    QVERIFY2(text.contains(QStringLiteral("outcome: done")) && text.contains(QStringLiteral("1 of 1")), qPrintable(text));
    QFile refused(hot.filePath(QStringLiteral("failed/broken.dxf.report.txt")));
    QVERIFY(refused.open(QIODevice::ReadOnly));
    const QString why = QString::fromUtf8(refused.readAll()).section(QStringLiteral("not queued: "), 1).trimmed();
    QVERIFY2(why.size() > 10, qPrintable(why));
    QCOMPARE(m_sims[0]->jobs().size(), 2);
}

void TestShopFloor::nest_data()
{
    QTest::addColumn<QString>("second");     // the second part, beside two arcs
    QTest::addColumn<double>("stripWidth");  // 0: the work area's
    QTest::addColumn<int>("workLength");     // half millimetres
    QTest::addColumn<QString>("refused");    // a part of the reason; empty: cut
    QTest::newRow("nested and cut in windows") << QStringLiteral("dxf_bulges.dxf") << 100.0 << 300 << QString();
    QTest::newRow("a part longer than the work area") << QStringLiteral("svg_paths.svg") << 0.0 << 200
                                                      << QStringLiteral("larger than the work area");
}

// A nest entry is searched, cut in windows as long as the work area (one
// machine job each, each window in the journal), and done once.
void TestShopFloor::nest()
{
    QFETCH(QString, second);
    QFETCH(double, stripWidth);
    QFETCH(int, workLength);
    QFETCH(QString, refused);
    open(1, false, workLength);
    QTRY_VERIFY_WITH_TIMEOUT(m_shop->machine(QStringLiteral("m0")).body.contains(QStringLiteral("work_area")), 10000);
    QJsonArray parts;
    for (const auto &[file, quantity] : {std::pair{QStringLiteral("dxf_circles_arcs.dxf"), 4}, std::pair{second, 3}}) {
        QString path;
        QVERIFY(m_shop->storagePath(QStringLiteral("m0"), file, &path) && QFile::copy(kCorpus + file, path));
        parts.append(QJsonObject{{QStringLiteral("file"), path}, {QStringLiteral("name"), file},
                                 {QStringLiteral("quantity"), quantity}});
    }
    QJsonObject settings{{QStringLiteral("time_s"), 0.5}};
    if (stripWidth > 0)
        settings.insert(QStringLiteral("strip_width"), stripWidth);
    const ShopResult r = m_shop->addNest(QStringLiteral("m0"), parts, settings, QJsonObject(), QStringLiteral("test"));
    if (!refused.isEmpty()) {
        QVERIFY2(r.kind == ShopResult::Invalid && r.message.contains(refused), qPrintable(r.message));
        QVERIFY2(!r.message.contains(m_config.dataDir), qPrintable(r.message));
        QCOMPARE(m_shop->queue(QStringLiteral("m0"), 10).body.value(QStringLiteral("jobs")).toArray().size(), 0);
        return;
    }
    const QJsonObject entry = r.body.value(QStringLiteral("job")).toObject();
    QVERIFY2(r, qPrintable(r.message));
    QCOMPARE(entry.value(QStringLiteral("kind")).toString(), QStringLiteral("nest"));
    QCOMPARE(entry.value(QStringLiteral("nest")).toObject().value(QStringLiteral("parts")).toArray().at(1),
             QJsonValue(QJsonObject{{QStringLiteral("name"), second}, {QStringLiteral("quantity"), 3}}));
    const qint64 id = qint64(entry.value(QStringLiteral("id")).toDouble());
    QTRY_VERIFY_WITH_TIMEOUT(m_shop->job(id).body.contains(QStringLiteral("ended_at")), 30000);
    QVERIFY2(state(id) == QStringLiteral("done"), qPrintable(m_shop->job(id).body.value(QStringLiteral("message")).toString()));
    const QJsonArray records = m_shop->journal(QStringLiteral("m0"), QString(), QString(), 50)
                                   .body.value(QStringLiteral("records")).toArray();
    QVERIFY(records.size() >= 2);
    QCOMPARE(m_sims[0]->jobs().size(), records.size());
    for (int k = 0; k < records.size(); ++k) {   // newest first
        const QJsonObject line = records.at(k).toObject();
        QCOMPARE(line.value(QStringLiteral("outcome")).toString(), QStringLiteral("finished"));
        QCOMPARE(line.value(QStringLiteral("nest_window")).toInt(), records.size() - k);
        QCOMPARE(line.value(QStringLiteral("nest_windows")).toInt(), records.size());
    }
    QCOMPARE(m_shop->job(id).body.value(QStringLiteral("finished")).toInt(), 1);
}

QTEST_GUILESS_MAIN(TestShopFloor)
#include "tst_shopfloor.moc"
