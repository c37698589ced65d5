// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ShopConfig.h"
#include "ShopQueue.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

ShopEntry job(const QString &machine, const QString &file)
{
    ShopEntry e;
    e.machine = machine;
    e.fileName = file;
    e.options = QJsonObject{{QStringLiteral("rotate"), QStringLiteral("90")}};
    return e;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs statements on a file through a connection of the test's own.
void raw(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &s : statements)
            QVERIFY2(q.exec(s), qPrintable(s));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

// The machine's queued files in order; fails unless positions are 0..n-1.
QString queued(const ShopQueue &queue, const QString &machine)
{
    QStringList names;
    for (const ShopEntry &e : queue.entries(machine)) {
        if (e.state != ShopEntry::State::Queued)
            continue;
        if (e.position != names.size())
            return QStringLiteral("gap at %1").arg(e.fileName);
        names << e.fileName;
    }
    return names.join(QLatin1Char(' '));
}

} // namespace

class TestShopQueue : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_serial = 0;
    QString freshPath() { return m_dir.filePath(QStringLiteral("q%1.sqlite").arg(++m_serial)); }

private slots:
    void persists()
    {
        const QString path = freshPath();
        QString error;
        {
            ShopQueue q;
            QVERIFY2(q.open(path, &error), qPrintable(error));
            ShopEntry a = job("left", "a.svg"), b = job("left", "b.svg"), c = job("left", "c.svg");
            QVERIFY(q.add(a, &error) && q.add(b, &error) && q.add(c, &error));
            QVERIFY(q.move(c.id, 0, &error));
            a.state = ShopEntry::State::Cutting;
            a.startedAt = QDateTime::fromString(QStringLiteral("2024-05-01T10:00:00.123Z"), Qt::ISODateWithMs);
            a.record = QJsonObject{{QStringLiteral("code"), QStringLiteral("J1")}};
            QVERIFY(q.update(a, &error));
            b.state = ShopEntry::State::Done;
            b.endedAt = a.startedAt.addSecs(60);
            b.journalId = QStringLiteral("j-1");
            QVERIFY(q.update(b, &error));
        }
        ShopQueue q;
        QVERIFY2(q.open(path, &error), qPrintable(error));
        const QList<ShopEntry> left = q.entries("left", 5);
        QCOMPARE(left.size(), 3);
        QCOMPARE(left.at(0).record.value("code").toString(), QStringLiteral("J1"));
        QCOMPARE(left.at(1).fileName + left.at(1).options.value("rotate").toString(), QStringLiteral("c.svg90"));
        QCOMPARE(left.at(1).position, 0);
        QCOMPARE(left.at(2).journalId, QStringLiteral("j-1"));
        QCOMPARE(q.entries("left").size(), 2);
        QCOMPARE(q.next("left")->fileName, QStringLiteral("c.svg"));

        const QJsonObject json = left.at(0).toJson();
        QCOMPARE(json.value("state").toString(), QStringLiteral("cutting"));
        QCOMPARE(json.value("started_at").toString(), QStringLiteral("2024-05-01T10:00:00.123Z"));
        QVERIFY(!json.contains("ended_at") && !json.contains("journal_id") && !json.contains("record"));
    }

    void positions_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("order");
        QTest::newRow("to front") << QStringList{"move c 0"} << "c a b d";
        QTest::newRow("past the end clamps") << QStringList{"move a 99"} << "b c d a";
        QTest::newRow("negative clamps") << QStringList{"move d -5"} << "d a b c";
        QTest::newRow("cutting closes up") << QStringList{"cutting b"} << "a c d";
        QTest::newRow("ended closes up") << QStringList{"move d 0", "done d"} << "a b c";
        QTest::newRow("held back to queued goes first") << QStringList{"held c", "queued c"} << "c a b d";
        QTest::newRow("ended stays ended") << QStringList{"done a", "!queued a"} << "b c d";
        QTest::newRow("only queued moves") << QStringList{"cutting a", "!move a 2"} << "b c d";
    }
    void positions()
    {
        QFETCH(QStringList, steps);
        ShopQueue q;
        QString error;
        QVERIFY(q.open(freshPath(), &error));
        QHash<QString, qint64> ids;
        ShopEntry other = job("right", "z");
        QVERIFY(q.add(other, &error));
        for (const char *n : {"a", "b", "c", "d"}) {
            ShopEntry e = job("left", n);
            QVERIFY(q.add(e, &error));
            ids.insert(n, e.id);
        }
        for (QString step : steps) {
            const bool refused = step.startsWith('!');
            const QStringList w = step.remove('!').split(' ');
            ShopEntry e = *q.get(ids.value(w.at(1)));
            const bool ok = w.at(0) == "move" ? q.move(e.id, w.at(2).toInt(), &error)
                                              : ShopEntry::stateFromName(w.at(0), &e.state) && q.update(e, &error);
            QVERIFY2(ok != refused, qPrintable(step + ": " + error));
        }
        QTEST(queued(q, "left"), "order");
        QCOMPARE(queued(q, "right"), QStringLiteral("z"));
    }

    // An unreadable queue answers empty and says why: taken for "nothing
    // under way", a station would send a new job on top of one still cut.
    void unreadable_data()
    {
        QTest::addColumn<QString>("read");
        for (const char *r : {"unfinished", "next", "entries", "get"})
            QTest::newRow(r) << QString::fromLatin1(r);
    }
    void unreadable()
    {
        QFETCH(QString, read);
        const QString path = freshPath();
        ShopQueue q;
        QString error;
        QVERIFY(q.open(path, &error));
        ShopEntry cut = job("left", "a.svg"), waits = job("left", "b.svg");
        QVERIFY(q.add(cut, &error) && q.add(waits, &error));
        cut.state = ShopEntry::State::Cutting;
        QVERIFY(q.update(cut, &error));
        const auto answered = [&] {
            if (read == "unfinished")
                return !q.unfinished("left").isEmpty();
            if (read == "next")
                return bool(q.next("left"));
            if (read == "entries")
                return !q.entries("left", 5).isEmpty();
            return bool(q.get(cut.id));
        };
        raw(path, {"ALTER TABLE jobs RENAME TO elsewhere"});
        QVERIFY(!answered());
        QVERIFY2(q.lastError().contains("could not be read"), qPrintable(q.lastError()));
        raw(path, {"ALTER TABLE elsewhere RENAME TO jobs"});
        QVERIFY(answered());
        QCOMPARE(q.lastError(), QString());
    }

    void refusesForeign_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("says");
        QTest::newRow("text file") << "text" << "not an SQLite database";
        QTest::newRow("another program's database") << "other" << "another program's data";
        QTest::newRow("a newer queue") << "newer" << "newer version";
    }
    void refusesForeign()
    {
        QFETCH(QString, kind);
        QFETCH(QString, says);
        const QString path = freshPath();
        if (kind == "text") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("listen = 127.0.0.1\n");
        } else if (kind == "other") {
            raw(path, {"CREATE TABLE customers (name TEXT)", "INSERT INTO customers VALUES ('x')"});
        } else {
            ShopQueue q;
            QVERIFY(q.open(path, nullptr));
            q.close();
            raw(path, {"PRAGMA user_version = 2"});
        }
        const QByteArray before = contents(path);
        ShopQueue q;
        QString error;
        QVERIFY(!q.open(path, &error));
        QVERIFY2(error.contains(says), qPrintable(error));
        QVERIFY(!q.isOpen());
        QCOMPARE(contents(path), before);
    }

    // A database at its size limit refuses whole adds: what it holds after
    // reopening is exactly what was reported added.
    void fullDatabase()
    {
        const QString path = freshPath();
        ShopQueue q;
        QString error;
        QVERIFY(q.open(path, &error));
        QVERIFY(q.setMaxBytes(40 * 1024, &error));
        int added = 0;
        for (; added < 1000; ++added) {
            ShopEntry e = job("left", QString::number(added));
            e.message = QString(3000, QLatin1Char('m'));
            if (!q.add(e, &error))
                break;
            QCOMPARE(e.position, added);
        }
        QVERIFY(added > 0 && added < 1000);
        QVERIFY2(error.contains("full"), qPrintable(error));
        q.close();
        QVERIFY2(q.open(path, &error), qPrintable(error));
        QCOMPARE(q.entries("left").size(), added);
        QCOMPARE(queued(q, "left").count(' '), added - 1);
    }

    void parseMachine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("target");   // or a word of the refusal
        QTest::newRow("host:port") << "left@10.0.0.7:9101" << "10.0.0.7:9101";
        QTest::newRow("default port") << "left@plotter.lan" << "plotter.lan:9100";
        QTest::newRow("serial") << "usb_1@/dev/ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("ipv6 with port") << "v6@[::1]:9200" << "[::1]:9200";
        QTest::newRow("bare ipv6") << "v6@fe80::1" << "[fe80::1]:9100";
        QTest::newRow("no @") << "plotter.lan" << "NAME@HOST";
        QTest::newRow("path in name") << "../x@h" << "machine name";
        QTest::newRow("long name") << QString(33, 'x') + "@h" << "machine name";
        QTest::newRow("port 0") << "left@h:0" << "port";
        QTest::newRow("nothing after @") << "left@" << "names no machine";
        QTest::newRow("unclosed bracket") << "left@[::1:9100" << "IPv6";
    }
    void parseMachine()
    {
        QFETCH(QString, text);
        QFETCH(QString, target);
        MachineConfig m;
        QString error;
        if (ShopConfig::parseMachine(text, &m, &error))
            QCOMPARE(m.target, target);
        else
            QVERIFY2(error.contains(target), qPrintable(error));
    }

    // A file read over a command-line machine "cli", then checked as the
    // service does before it serves.
    void config_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("relative paths") << QByteArray(R"({"data": "state", "token_file": "tok", "max_db_mb": 2,
            "machines": [{"name": "left", "target": "h", "watch": "hot/left", "cloud": {"token_file": "/abs"}}]})") << "";
        QTest::newRow("unknown member") << QByteArray(R"({"machines": [{"name": "a", "target": "h", "wach": "x"}]})")
                                        << "unknown member \"machines[0].wach\"";
        QTest::newRow("string for number") << QByteArray(R"({"max_upload_mb": "64"})") << "\"max_upload_mb\" must be";
        QTest::newRow("no target") << QByteArray(R"({"machines": [{"name": "a"}]})") << "\"machines[0].target\" is missing";
        QTest::newRow("name twice") << QByteArray(R"({"machines": [{"name": "a", "target": "h"}, {"name": "a", "target": "k"}]})")
                                    << "given twice";
        QTest::newRow("command line's name") << QByteArray(R"({"machines": [{"name": "CLI", "target": "h"}]})") << "given twice";
        QTest::newRow("not json") << QByteArray("{") << "not JSON";
        QTest::newRow("no machines") << QByteArray("{}") << "no machine";
        QTest::newRow("127/8") << QByteArray(R"({"listen": "127.1.2.3:0"})") << "";
        QTest::newRow("ipv6 loopback") << QByteArray(R"({"listen": "[::1]:8600"})") << "";
        QTest::newRow("open without token") << QByteArray(R"({"listen": "0.0.0.0:8600"})") << "token file";
        QTest::newRow("lan with token") << QByteArray(R"({"listen": "10.1.2.3:8600", "token_file": "t"})") << "";
        QTest::newRow("no port") << QByteArray(R"({"listen": "127.0.0.1"})") << "ADDRESS:PORT";
    }
    void config()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, refusal);
        const QString etc = m_dir.filePath("etc/"), path = etc + "shop.json";
        QFile f(path);
        QVERIFY(QDir().mkpath(etc) && f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json);
        f.close();
        ShopConfig config;
        MachineConfig cli;
        if (refusal != "no machine")
            QVERIFY(ShopConfig::parseMachine("cli@h", &cli, nullptr) && config.addMachine(cli, nullptr));
        const int before = config.machines.size();
        QString error;
        const bool read = config.readFile(path, &error);
        QVERIFY(read || (error.startsWith(path) && config.machines.size() == before));
        QCOMPARE(read && config.check(&error), refusal.isEmpty());
        QVERIFY2(error.contains(refusal), qPrintable(error));
        if (QTest::currentDataTag() != QLatin1String("relative paths"))
            return;
        QCOMPARE(config.dataDir + config.tokenFile, etc + "state" + etc + "tok");
        QCOMPARE(config.maxDbBytes, qint64(2) << 20);
        QCOMPARE(config.machines.size(), 2);
        QCOMPARE(config.machines.at(0).watch, etc + "hot/left");
        QCOMPARE(config.machines.at(0).target, QStringLiteral("h:9100"));
        QCOMPARE(config.machines.at(0).cloudTokenFile, QStringLiteral("/abs"));
        QCOMPARE(config.machines.at(1).name, QStringLiteral("cli"));
    }
};

QTEST_GUILESS_MAIN(TestShopQueue)
#include "tst_shopqueue.moc"
