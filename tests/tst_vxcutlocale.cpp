// SPDX-License-Identifier: LGPL-2.1-or-later
// vxcut where a person reads it: the resume question asked at a terminal in
// the operator's language and answered in it, and the history's numbers in
// the reader's form. What scripts read is tst_tooltranslations' business.

#include "JobJournal.h"

#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class TestVxcutLocale : public QObject
{
    Q_OBJECT

private slots:
    void resumeQuestion_data();
    void resumeQuestion();
    void historyNumbers_data();
    void historyNumbers();
};

namespace {

// vxcut under the system locale lang; what it printed, both channels.
QString run(QProcess &vxcut, const QString &lang, const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), lang + QStringLiteral(".UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), lang + QStringLiteral(".UTF-8"));
    env.remove(QStringLiteral("LANGUAGE"));
    vxcut.setProcessEnvironment(env);
    vxcut.setProcessChannelMode(QProcess::MergedChannels);
    vxcut.start(QStringLiteral(VX_BIN_DIR "/vxcut"), args);
    if (!vxcut.waitForFinished(30000)) {
        vxcut.kill();
        vxcut.waitForFinished();
    }
    return QString::fromUtf8(vxcut.readAll());
}

} // namespace

void TestVxcutLocale::resumeQuestion_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("English no") << "C" << QByteArray("n\n") << false;
    QTest::newRow("Chinese yes") << "zh_CN" << QByteArray("是\n") << true;
    QTest::newRow("Japanese yes") << "ja_JP" << QByteArray("はい\n") << true;
    QTest::newRow("Japanese full-width Y") << "ja_JP" << QByteArray("Ｙ\n") << true;
    QTest::newRow("Japanese no") << "ja_JP" << QByteArray("いいえ\n") << false;
    QTest::newRow("Chinese yes on an English system") << "C" << QByteArray("是\n") << false;
}

void TestVxcutLocale::resumeQuestion()
{
    QFETCH(QString, lang);
    QFETCH(QByteArray, typed);
    QFETCH(bool, accepted);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString plot = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
    JobRecord interrupted;
    interrupted.start = interrupted.end = QDateTime::currentDateTimeUtc();
    interrupted.file = plot;
    interrupted.sha256 = JobJournal::fileSha256(plot);
    interrupted.copies = 2;
    interrupted.percent = 40;
    interrupted.outcome = JobRecord::Outcome::Interrupted;
    const JobJournal journal(dir.filePath(QStringLiteral("jobs.jsonl")));
    QString error;
    QVERIFY2(journal.append(interrupted, &error), qPrintable(error));
    // Nobody listens there: a confirmed resume goes on to connect and is
    // refused (4); a declined one ends before (130).
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const quint16 port = gone.serverPort();
    gone.close();

    // The question wants a terminal; a pseudo-terminal is the operator's.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
    const QString terminal = QString::fromLocal8Bit(ptsname(master));
    const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
    QVERIFY(slave >= 0);
    QCOMPARE(::write(master, typed.constData(), size_t(typed.size())), ssize_t(typed.size()));

    QProcess vxcut;
    vxcut.setStandardInputFile(terminal);
    const QString said = run(vxcut, lang, {QStringLiteral("resume"), QStringLiteral("--journal"), journal.path(),
                                           QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port)});
    ::close(slave);
    ::close(master);
    QCOMPARE(vxcut.exitCode(), accepted ? 4 : 130);
    // Asked in the language, with the answers it takes.
    QTranslator catalogue;
    QVERIFY(lang == QLatin1String("C")
            || catalogue.load(QStringLiteral(VX_BIN_DIR "/translations/vxcut_%1.qm").arg(lang)));
    const QString prompt = catalogue.isEmpty() ? QStringLiteral("[y/N]") : catalogue.translate("Resume", "[y/N]");
    QVERIFY2(!prompt.isEmpty() && said.contains(prompt), qPrintable(said));
}

void TestVxcutLocale::historyNumbers_data()
{
    QTest::addColumn<QString>("lang");
    QTest::newRow("English") << "en";
    QTest::newRow("German numbers, English words") << "de_DE";
    QTest::newRow("Japanese") << "ja_JP";
}

void TestVxcutLocale::historyNumbers()
{
    QFETCH(QString, lang);
    // 1200 copies and 12.3 s of link down, in the reader's digits.
    QProcess vxcut;
    const QString said = run(vxcut, QStringLiteral("C"),
                             {QStringLiteral("history"), QStringLiteral("--journal"),
                              QStringLiteral(VX_SOURCE_DIR "/tests/data/journal/history.jsonl"), QStringLiteral("--lang"), lang});
    QCOMPARE(vxcut.exitCode(), 0);
    const QLocale locale(lang);
    for (const QString &number : {locale.toString(1200) + QLatin1Char('/') + locale.toString(1200),
                                  locale.toString(12.3, 'f', 1), locale.toString(1.5, 'f', 1)})
        QVERIFY2(said.contains(number), qPrintable(number + QStringLiteral(" missing from:\n") + said));
}

QTEST_GUILESS_MAIN(TestVxcutLocale)
#include "tst_vxcutlocale.moc"
