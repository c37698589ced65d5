// SPDX-License-Identifier: LGPL-2.1-or-later
// The tools' own texts in every language they are translated to: lupdate
// over the current sources finds no text without a finished translation,
// and the programs, run in that language (system locale or --lang), print
// the .ts file's translations with the same exit codes as in English.
// The tools and languages come from translations/CMakeLists.txt.

#include "InstallRun.h"

#include <algorithm>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString source;
    QString translation;
    QString type;   // "unfinished", "vanished", ... or empty when done
};

QList<Message> readTs(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return messages;
    }
    QXmlStreamReader xml(&file);
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("message")) {
            m = Message();
        } else if (xml.name() == QLatin1String("source")) {
            m.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            // A plural text keeps its forms in <numerusform> children.
            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages << m;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QString squeeze(QString s)
{
    return s.remove(QRegularExpression(QStringLiteral("\\s")));
}

// Whether the output shows the text, whitespace aside (the help wraps long
// lines anywhere). A text with %1..%9 must be a whole line, after the
// program's "name:" if any (or a translation's full-width "："), its
// placeholders standing for anything.
bool shows(const QString &output, const QString &text)
{
    QStringList parts;
    for (const QString &part : squeeze(text).split(QRegularExpression(QStringLiteral("%\\d"))))
        parts << QRegularExpression::escape(part);
    if (parts.size() == 1)
        return squeeze(output).contains(squeeze(text));
    const QRegularExpression line(QStringLiteral("^(?:[^:\uFF1A]*[:\uFF1A])?") + parts.join(QStringLiteral(".+?"))
                                  + QLatin1Char('$'));
    for (const QString &l : output.split(QLatin1Char('\n'))) {
        if (line.match(squeeze(l)).hasMatch())
            return true;
    }
    return false;
}

QString tsFile(const QString &tool, const QString &lang)
{
    return QStringLiteral(VX_SOURCE_DIR "/translations/tools/%1_%2.ts").arg(tool, lang);
}

QStringList list(const char *commaSeparated)
{
    return QString::fromLatin1(commaSeparated).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

// A program's texts: its own catalogue and those of the libraries it links.
QStringList cataloguesOf(const QString &tool)
{
    QStringList catalogues{tool};
    for (const QString &entry : list(VX_TOOL_USES)) {
        if (entry.section(QLatin1Char('='), 0, 0) == tool)
            catalogues += entry.section(QLatin1Char('='), 1).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    }
    return catalogues;
}

} // namespace

class TestToolTranslations : public QObject
{
    Q_OBJECT

private slots:
    void allFinished_data();
    void allFinished();
    void programSpeaks_data();
    void programSpeaks();
    void jsonIsTheSame_data();
    void jsonIsTheSame();
};

void TestToolTranslations::allFinished_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("lang");
    for (const QString &tool : list(VX_TRANSLATED_CATALOGUES))
        for (const QString &lang : list(VX_TOOL_LANGUAGES))
            QTest::newRow(qPrintable(tool + QLatin1Char(' ') + lang)) << tool << lang;
}

void TestToolTranslations::allFinished()
{
    QFETCH(QString, tool);
    QFETCH(QString, lang);
    // lupdate into a copy, so the check sees today's sources without
    // touching the committed file.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString copy = dir.filePath(QFileInfo(tsFile(tool, lang)).fileName());
    QVERIFY2(QFile::copy(tsFile(tool, lang), copy), qPrintable(tsFile(tool, lang)));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray sources = QByteArrayLiteral(VX_TOOL_TR_SOURCES);
    QStringList args{QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                     QStringLiteral("none")};
    for (const QString &entry : QString::fromUtf8(sources).split(QLatin1Char(','))) {
        // "tool=dir|dir"
        if (entry.section(QLatin1Char('='), 0, 0) == tool)
            args += entry.section(QLatin1Char('='), 1).split(QLatin1Char('|'));
    }
    QVERIFY2(args.size() > 4, "no source folders for the tool");
    args << QStringLiteral("-ts") << copy;
    const InstallRun run = InstallRun::exec(QStringLiteral(VX_LUPDATE), args, 60000);
    QVERIFY2(run.ok(), run.why());

    QString error;
    const QList<Message> messages = readTs(copy, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!messages.isEmpty());
    QStringList untranslated;
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    for (const Message &m : messages) {
        QStringList inSource, inTranslation;
        for (auto it = placeholder.globalMatch(m.source); it.hasNext();)
            inSource << it.next().captured();
        for (auto it = placeholder.globalMatch(m.translation); it.hasNext();)
            inTranslation << it.next().captured();
        inSource.sort();
        inTranslation.sort();
        // A lost %2 drops a value from the line; an unfinished text shows English.
        if (!m.type.isEmpty() || m.translation.trimmed().isEmpty() || inSource != inTranslation)
            untranslated << m.source;
    }
    QVERIFY2(untranslated.isEmpty(),
             qPrintable(QStringLiteral("%1 %2: no finished translation for:\n  ").arg(tool, lang)
                        + untranslated.join(QStringLiteral("\n  "))
                        + QStringLiteral("\n(ninja vx_lupdate, then translate them in the .ts files)")));
}

void TestToolTranslations::programSpeaks_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");

    for (const QString &tool : list(VX_TRANSLATED_TOOLS))
        QTest::newRow(qPrintable(tool + QStringLiteral(" --help"))) << tool << QStringList{"--help"} << 0;
    if (list(VX_TRANSLATED_TOOLS).contains(QLatin1String("vxsim"))) {
        // Not 1, which means "cannot listen".
        QTest::newRow("vxsim unknown option") << "vxsim" << QStringList{"--no-such-option"} << 2;
        QTest::newRow("vxsim bad port") << "vxsim" << QStringList{"--port", "70000"} << 2;
        QTest::newRow("vxsim bad option value") << "vxsim" << QStringList{"--drop-mid-job", "101"} << 2;
        QTest::newRow("vxsim nothing to serve") << "vxsim" << QStringList{"--no-tcp"} << 2;
        QTest::newRow("vxsim unreadable sheets")
            << "vxsim" << QStringList{"--sheets-file", "/nonexistent/sheets"} << 2;
    }
    if (list(VX_TRANSLATED_TOOLS).contains(QLatin1String("vxcloud"))) {
        // Its help promises 2 for a bad command line; 1 means "cannot listen".
        QTest::newRow("vxcloud unknown option") << "vxcloud" << QStringList{"--bogus"} << 2;
        QTest::newRow("vxcloud bad port") << "vxcloud" << QStringList{"--port", "70000"} << 2;
        QTest::newRow("vxcloud bad device") << "vxcloud" << QStringList{"--device", "X"} << 2;
        QTest::newRow("vxcloud bad channel limit") << "vxcloud" << QStringList{"--max-channels", "0"} << 2;
    }
    if (list(VX_TRANSLATED_TOOLS).contains(QLatin1String("vxstudio")))
        QTest::newRow("vxstudio unknown option") << "vxstudio" << QStringList{"--bogus"} << 1;
    if (list(VX_TRANSLATED_TOOLS).contains(QLatin1String("vxcut"))) {
        QTest::newRow("vxcut cut --help") << "vxcut" << QStringList{"cut", "--help"} << 0;
        QTest::newRow("vxcut unknown command") << "vxcut" << QStringList{"frobnicate"} << 2;
        QTest::newRow("vxcut bad copies") << "vxcut" << QStringList{"demo", "--copies", "0"} << 2;
        QTest::newRow("vxcut token and token file")
            << "vxcut" << QStringList{"info", "--token", "t", "--token-file", "f"} << 2;
        // The plot library's refusals, one per reader, inside vxcut's lines.
        static QTemporaryDir designs;
        const auto design = [](const char *name, const QByteArray &content) {
            QFile file(designs.filePath(QLatin1String(name)));
            file.open(QIODevice::WriteOnly);
            file.write(content);
            return file.fileName();
        };
        QTest::newRow("vxcut HP-GL label")
            << "vxcut" << QStringList{"plan", design("label.plt", "IN;PU0,0;PD400,0;LBHello\x03;")} << 9;
        QTest::newRow("vxcut SVG without size")
            << "vxcut" << QStringList{"plan", design("nosize.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>")} << 9;
        QTest::newRow("vxcut binary DXF")
            << "vxcut" << QStringList{"plan", design("binary.dxf", QByteArray("AutoCAD Binary DXF\r\n\x1a\0", 22))} << 9;
        QTest::newRow("vxcut history")
            << "vxcut" << QStringList{"history", "--journal", VX_SOURCE_DIR "/tests/data/journal/history.jsonl"} << 0;
        // The host library's texts, merged from its own catalogue; none needs a machine.
        QTest::newRow("vxcut bad port") << "vxcut" << QStringList{"info", "--tcp", "127.0.0.1:0"} << 2;
        QTest::newRow("vxcut no plugin file")
            << "vxcut" << QStringList{"info", "--plugin", "/nonexistent/libVX.so", "--tcp", "127.0.0.1"} << 3;
        QTest::newRow("vxcut nothing to resume")
            << "vxcut" << QStringList{"resume", "--journal", "/nonexistent/jobs.jsonl", "--tcp", "127.0.0.1:0"} << 1;
        // An interrupted copy of unknown progress: the plan's question with vxcut's options.
        const QString sample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
        QFile plot(sample);
        QVERIFY(plot.open(QIODevice::ReadOnly));
        const QString journal = design("jobs.jsonl",
            QStringLiteral("{\"v\":1,\"id\":\"j1\",\"file\":\"%1\",\"sha256\":\"%2\",\"copies\":2,"
                           "\"finished\":0,\"percent\":-1,\"outcome\":\"interrupted\"}\n")
                .arg(sample, QCryptographicHash::hash(plot.readAll(), QCryptographicHash::Sha256).toHex())
                .toUtf8());
        QTest::newRow("vxcut resume needs a choice")
            << "vxcut" << QStringList{"resume", "--journal", journal, "--tcp", "127.0.0.1:0"} << 2;
    }
}

void TestToolTranslations::programSpeaks()
{
    QFETCH(QString, tool);
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);

    const QString program = QStringLiteral(VX_BIN_DIR "/") + tool;
    const auto run = [&](const QString &locale, const QStringList &extra) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), locale);
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.remove(QStringLiteral("LANGUAGE"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return InstallRun::exec(program, args + extra, 30000, env);
    };
    const InstallRun english = run(QStringLiteral("C.UTF-8"), {});
    QVERIFY2(english.finished, english.why());
    QCOMPARE(english.exitCode, exitCode);

    for (const QString &lang : list(VX_TOOL_LANGUAGES)) {
        QList<Message> messages;
        for (const QString &catalogue : cataloguesOf(tool)) {
            QString error;
            messages += readTs(tsFile(catalogue, lang), &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        // The same run picked by the system locale, and by --lang over an
        // English system.
        const InstallRun byLocale = run(lang + QStringLiteral(".UTF-8"), {});
        const InstallRun byOption = run(QStringLiteral("C.UTF-8"), {QStringLiteral("--lang"), lang});
        for (const InstallRun *r : {&byLocale, &byOption}) {
            QVERIFY2(r->finished, r->why());
            QCOMPARE(r->exitCode, exitCode);
            int shown = 0;
            for (const Message &m : messages) {
                // "%1: %2" carries no words: it shows in any line with a colon.
                if (!m.source.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2}")))
                    || !shows(english.output, m.source))
                    continue;
                // A short text ("Start") found inside a longer one that is
                // shown ("Start a simulated machine…") was not shown itself.
                const auto within = [&](const Message &o) {
                    return o.source.size() > m.source.size() && squeeze(o.source).contains(squeeze(m.source))
                           && shows(english.output, o.source);
                };
                if (std::any_of(messages.begin(), messages.end(), within))
                    continue;
                ++shown;
                QVERIFY2(shows(r->output, m.translation),
                         qPrintable(lang + QStringLiteral(": \"") + m.translation
                                    + QStringLiteral("\" missing from:\n") + r->output));
            }
            QVERIFY2(shown > 0, qPrintable(QStringLiteral("no translated text in English output:\n") + english.output));
        }
    }
}

void TestToolTranslations::jsonIsTheSame_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");

    if (!list(VX_TRANSLATED_TOOLS).contains(QLatin1String("vxcut")))
        QSKIP("vxcut is not translated");
    const QString sample = QStringLiteral(VX_SOURCE_DIR "/tools/samples/sample.plt");
    QTest::newRow("plan") << QStringList{"plan", sample, "--json"} << 0;
    QTest::newRow("plan with options") << QStringList{"plan", sample, "--scale", "50", "--rotate", "90", "--json"} << 0;
    QTest::newRow("unreadable plot") << QStringList{"plan", "/nonexistent/plot.plt", "--json"} << 9;
    QTest::newRow("bad option value") << QStringList{"plan", sample, "--rotate", "45", "--json"} << 2;
    QTest::newRow("unknown command") << QStringList{"frobnicate", "--json"} << 2;
    QTest::newRow("bad copies") << QStringList{"demo", "--copies", "0", "--json"} << 2;
    QTest::newRow("history") << QStringList{"history", "--journal", "/nonexistent/jobs.jsonl", "--json"} << 0;
    QTest::newRow("history with jobs")
        << QStringList{"history", "--journal", VX_SOURCE_DIR "/tests/data/journal/history.jsonl", "--json"} << 0;
}

// What scripts read: the same bytes and exit code whatever the language.
void TestToolTranslations::jsonIsTheSame()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);

    const QString program = QStringLiteral(VX_BIN_DIR "/vxcut");
    // Without one Qt warns on stderr, which is merged into what is compared.
    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    const auto run = [&](const QString &locale, const QStringList &extra) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("LANG"), locale);
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.remove(QStringLiteral("LANGUAGE"));
        return InstallRun::exec(program, args + extra, 30000, env);
    };
    const InstallRun english = run(QStringLiteral("C.UTF-8"), {});
    QVERIFY2(english.finished, english.why());
    QCOMPARE(english.exitCode, exitCode);
    QVERIFY2(english.output.contains(QLatin1String("\"event\":\"result\"")), english.why());
    for (const QString &lang : list(VX_TOOL_LANGUAGES)) {
        for (const InstallRun &r : {run(lang + QStringLiteral(".UTF-8"), {}),
                                    run(QStringLiteral("C.UTF-8"), {QStringLiteral("--lang"), lang})}) {
            QVERIFY2(r.finished, r.why());
            QCOMPARE(r.exitCode, exitCode);
            QCOMPARE(r.output, english.output);
        }
    }
}

QTEST_GUILESS_MAIN(TestToolTranslations)
#include "tst_tooltranslations.moc"
