// SPDX-License-Identifier: LGPL-2.1-or-later
// Builds the Debian packages with cpack from the current build and checks
// them as Debian would: the control data and file lists, lintian, the
// unpacked programs with their manual pages and completion, the example
// built against libvxdevice-dev alone, and apt resolving the dependencies.

#include "InstallRun.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestPackage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void control_data();
    void control();
    void files_data();
    void files();
    void lintian();
    void programs_data();
    void programs();
    void completion_data();
    void completion();
    void exampleAgainstDevOnly();
    void aptResolves();

private:
    QString deb(const QString &package) const { return m_debs.value(package); }
    QString unpack(const QString &dir, const QStringList &packages);
    static QProcessEnvironment toolEnv();

    QTemporaryDir m_scratch;
    QMap<QString, QString> m_debs;      // package name -> .deb file
    QMap<QString, QString> m_listing;   // package name -> dpkg-deb -c
    QStringList m_tools;
    QString m_root;                     // every package unpacked
};

namespace {
const QString kLib = QStringLiteral("libvxdevice1");
const QString kDev = QStringLiteral("libvxdevice-dev");
const QString kTools = QStringLiteral("vxdevice-tools");
const QString kStudio = QStringLiteral("vxstudio");

QString packageOf(const QString &tool)
{
    return tool == QLatin1String("vxstudio") ? kStudio : kTools;
}
}

// The folders under /usr/share/man of the translated pages this build made.
static QStringList manLanguageDirs()
{
    return QString::fromLatin1(VX_MAN_LANGUAGE_DIRS).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QProcessEnvironment TestPackage::toolEnv()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return env;
}

void TestPackage::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("dpkg-deb")).isEmpty())
        QSKIP("dpkg-deb is not installed");
    m_tools = QStringLiteral(VX_INSTALLED_TOOLS).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const InstallRun run = InstallRun::exec(QStringLiteral(VX_CPACK_COMMAND),
        {QStringLiteral("-G"), QStringLiteral("DEB"),
         QStringLiteral("--config"), QStringLiteral(VX_BUILD_DIR "/CPackConfig.cmake"),
         QStringLiteral("-B"), m_scratch.path()},
        200000);
    QVERIFY2(run.ok(), run.why());
    for (const QString &file : QDir(m_scratch.path()).entryList({QStringLiteral("*.deb")}, QDir::Files)) {
        const QString path = m_scratch.filePath(file);
        const InstallRun name = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), path, QStringLiteral("Package")}, 30000);
        const InstallRun list = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), path}, 30000);
        QVERIFY2(name.ok() && list.ok(), list.why());
        m_debs.insert(name.output.trimmed(), path);
        m_listing.insert(name.output.trimmed(), list.output);
    }
    QStringList expected{kLib, kDev};
    for (const QString &tool : qAsConst(m_tools)) {
        if (!expected.contains(packageOf(tool)))
            expected << packageOf(tool);
    }
    expected.sort();
    QCOMPARE(m_debs.keys(), expected);
    m_root = unpack(QStringLiteral("root"), m_debs.keys());
    QVERIFY(!m_root.isEmpty());
}

QString TestPackage::unpack(const QString &dir, const QStringList &packages)
{
    const QString root = m_scratch.filePath(dir);
    for (const QString &p : packages) {
        const InstallRun run = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb(p), root}, 60000);
        if (!run.ok()) {
            qWarning("%s", run.why().constData());
            return QString();
        }
    }
    return root;
}

void TestPackage::control_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");

    const auto dep = [](const char *name) { return QStringLiteral("(^|, )%1( |,|$)").arg(QLatin1String(name)); };
    QTest::newRow("version") << kLib << "Version" << "^1\\.0\\.0$" << true;
    QTest::newRow("maintainer") << kLib << "Maintainer" << "^[^<]+ <[^@ ]+@[^> ]+>$" << true;
    QTest::newRow("lib multi-arch") << kLib << "Multi-Arch" << "^same$" << true;
    QTest::newRow("lib section") << kLib << "Section" << "^libs$" << true;
    // Resolved by dpkg-shlibdeps from the files, not written by hand.
    for (const char *lib : {"libc6", "libstdc\\+\\+6", "libqt5core5a", "libqt5network5", "libqt5widgets5",
                            "libqt5websockets5", "libqt5serialport5"})
        QTest::newRow(lib) << kLib << "Depends" << dep(lib) << true;
    // The library must not turn into a dependency on itself.
    QTest::newRow("no self dependency") << kLib << "Depends" << "vxdevice" << false;
    QTest::newRow("dev needs the exact library") << kDev << "Depends" << "(^|, )libvxdevice1 \\(= 1\\.0\\.0\\)" << true;
    QTest::newRow("dev needs Qt's CMake files") << kDev << "Depends" << dep("qtbase5-dev") << true;
    if (m_tools.contains(QLatin1String("vxcut"))) {
        QTest::newRow("tools need the library") << kTools << "Depends" << "(^|, )libvxdevice1 \\(= 1\\.0\\.0\\)" << true;
        QTest::newRow("tools need no widgets") << kTools << "Depends" << "libqt5widgets5" << false;
        QTest::newRow("tools Qt translations") << kTools << "Recommends" << dep("qttranslations5-l10n") << true;
    }
    if (m_tools.contains(QLatin1String("vxcloud")))
        QTest::newRow("civetweb") << kTools << "Depends" << dep("libcivetweb1") << true;
    if (m_tools.contains(QLatin1String("vxstudio"))) {
        QTest::newRow("studio widgets") << kStudio << "Depends" << dep("libqt5widgets5") << true;
        QTest::newRow("studio CJK font") << kStudio << "Recommends" << dep("fonts-noto-cjk") << true;
        QTest::newRow("studio no civetweb") << kStudio << "Depends" << "civetweb" << false;
    }
}

void TestPackage::control()
{
    QFETCH(QString, package);
    QFETCH(QString, field);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    const QString value = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb(package), field}, 30000)
                              .output.trimmed();
    QVERIFY2(QRegularExpression(pattern).match(value).hasMatch() == matches,
             qPrintable(package + QLatin1Char(' ') + field + QStringLiteral(": ") + value));
}

void TestPackage::files_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("present");

    const QString lib = QStringLiteral("./usr/" VX_INSTALL_LIBDIR "/");
    const auto row = [](const QString &package, const QString &entry, bool present = true) {
        QTest::newRow(qPrintable(package + QLatin1Char(' ') + entry + (present ? "" : " absent")))
            << package << entry << present;
    };
    row(kLib, lib + "libvxdevice.so.1.0.0");
    row(kLib, lib + "libvxdevice.so.1 -> libvxdevice.so.1.0.0");
    row(kLib, lib + "vxdevice/plugins/libVX-KTR450PROCam.so");
    row(kLib, lib + "vxdevice/translations/VX-KTR450PROCam_ja_JP.qm");
    row(kLib, lib + "libvxdevice.so -> libvxdevice.so.1", false);
    row(kLib, QStringLiteral("./usr/include"), false);
    row(kDev, lib + "libvxdevice.so -> libvxdevice.so.1");
    row(kDev, lib + "cmake/vxdevice/vxdeviceConfig.cmake");
    row(kDev, QStringLiteral("./usr/include/vxdevice/interface/VXDeviceInterface.h"));
    row(kDev, QStringLiteral("./usr/share/doc/libvxdevice-dev/examples/vxexample.cpp"));
    row(kDev, QStringLiteral("./usr/share/vxdevice/samples/sample.plt"));
    row(kDev, lib + "libvxdevice.so.1.0.0", false);
    for (const QString &p : m_debs.keys()) {
        row(p, QStringLiteral("./usr/share/doc/%1/copyright").arg(p));
        row(p, QStringLiteral("./usr/share/doc/%1/changelog.gz").arg(p));
        // Nothing from the build machine's prefix or build tree.
        row(p, QStringLiteral("./usr/local"), false);
        row(p, QStringLiteral(VX_BUILD_DIR), false);
    }
    // Relative from the bin folder up to /usr.
    const QString up = QStringLiteral("../").repeated(QStringLiteral(VX_INSTALL_BINDIR).count(QLatin1Char('/')) + 1);
    for (const QString &tool : qAsConst(m_tools)) {
        const QString p = packageOf(tool);
        row(p, lib + "vxdevice/" + tool);
        row(p, QStringLiteral("./usr/" VX_INSTALL_BINDIR "/%1 -> %2" VX_INSTALL_LIBDIR "/vxdevice/%1").arg(tool, up));
        row(p, QStringLiteral("./usr/share/man/man1/%1.1.gz").arg(tool));
        for (const QString &dir : manLanguageDirs())
            row(p, QStringLiteral("./usr/share/man/%1/man1/%2.1.gz").arg(dir, tool));
        row(p == kTools ? kStudio : kTools, lib + "vxdevice/" + tool, false);
    }
    if (m_tools.contains(QLatin1String("vxcut")))
        row(kTools, QStringLiteral("./usr/share/bash-completion/completions/vxcut"));
    // A tool's own translations travel with the tool, beside the plugin's.
    if (m_tools.contains(QLatin1String("vxsim"))) {
        row(kTools, lib + "vxdevice/translations/vxsim_zh_CN.qm");
        row(kLib, lib + "vxdevice/translations/vxsim_zh_CN.qm", false);
    }
    if (m_tools.contains(QLatin1String("vxstudio"))) {
        row(kStudio, QStringLiteral("./usr/share/applications/vxstudio.desktop"));
        row(kStudio, QStringLiteral("./usr/share/icons/hicolor/scalable/apps/vxstudio.svg"));
    }
}

void TestPackage::files()
{
    QFETCH(QString, package);
    QFETCH(QString, entry);
    QFETCH(bool, present);
    QVERIFY2(m_listing.contains(package), qPrintable(package));
    // dpkg-deb -c lines end with the path (and " -> target" for links).
    const QRegularExpression line(QStringLiteral("\\s%1(/|$)").arg(QRegularExpression::escape(entry)),
                                  QRegularExpression::MultilineOption);
    QVERIFY2(line.match(m_listing.value(package)).hasMatch() == present, qPrintable(entry));
}

void TestPackage::lintian()
{
    if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
        QSKIP("lintian is not installed (scripts/deps.sh installs it)");
    const InstallRun run = InstallRun::exec(QStringLiteral("lintian"),
        QStringList{QStringLiteral("--tag-display-limit"), QStringLiteral("0")} + m_debs.values(), 180000);
    QVERIFY2(run.finished, run.why());
    // Warnings are reported in the output but only errors fail.
    const QRegularExpression error(QStringLiteral("^E: .*$"), QRegularExpression::MultilineOption);
    QStringList errors;
    for (auto it = error.globalMatch(run.output); it.hasNext();)
        errors << it.next().captured();
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
    if (!run.output.trimmed().isEmpty())
        qInfo("lintian:\n%s", qPrintable(run.output.trimmed()));
}

void TestPackage::programs_data()
{
    QTest::addColumn<QString>("tool");
    for (const QString &tool : qAsConst(m_tools))
        QTest::newRow(qPrintable(tool)) << tool;
}

void TestPackage::programs()
{
    QFETCH(QString, tool);
    // Stripped and moved under /usr by cpack: the RPATHs and links must
    // still hold in the unpacked tree.
    const InstallRun help = InstallRun::exec(m_root + QStringLiteral("/usr/" VX_INSTALL_BINDIR "/") + tool,
                                             {QStringLiteral("--help")}, 30000, toolEnv());
    QVERIFY2(help.ok(), help.why());
    if (QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
        QSKIP("man is not installed");
    QProcessEnvironment env = toolEnv();
    env.insert(QStringLiteral("MANPAGER"), QStringLiteral("cat"));
    env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("200"));
    const auto page = [&](const QString &dir) {
        return InstallRun::exec(QStringLiteral("man"),
            {QStringLiteral("-l"), m_root + QStringLiteral("/usr/share/man/%1man1/%2.1.gz").arg(dir, tool)}, 30000, env);
    };
    const InstallRun man = page(QString());
    QVERIFY2(man.ok(), man.why());
    QVERIFY2(man.output.contains(QRegularExpression(QStringLiteral("^NAME\\s+%1 [-\u2010] \\S").arg(tool),
                                                    QRegularExpression::MultilineOption)),
             man.why());
    // Every page says what --help says: every option --help lists is on it;
    // a translated page is not the English one over again.
    const QRegularExpression option(QStringLiteral("--[a-z][a-z0-9-]+"));
    for (const QString &dir : QStringList{QString()} + manLanguageDirs()) {
        const InstallRun translated = dir.isEmpty() ? man : page(dir + QLatin1Char('/'));
        QVERIFY2(translated.ok(), translated.why());
        QVERIFY2(dir.isEmpty() || translated.output != man.output, qPrintable(dir));
        QStringList missing;
        for (auto it = option.globalMatch(help.output); it.hasNext();) {
            const QString o = it.next().captured();
            if (!translated.output.contains(o))
                missing << o;
        }
        QVERIFY2(missing.isEmpty(), qPrintable(dir + QLatin1Char(':') + missing.join(QLatin1Char(' '))));
    }
}

void TestPackage::completion_data()
{
    QTest::addColumn<QString>("line");      // what was typed, the cursor at its end
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("notOffered");
    if (!m_tools.contains(QLatin1String("vxcut")))
        return;
    QTest::newRow("command") << "vxcut " << QStringList{"cut", "demo", "settings", "ports"} << QStringList{"--json"};
    QTest::newRow("command prefix") << "vxcut se" << QStringList{"set", "settings"} << QStringList{"cut"};
    QTest::newRow("option") << "vxcut cut --ti" << QStringList{"--timeout"} << QStringList{"--tcp"};
    // An option's value is not the command: "--tcp HOST" then the command.
    QTest::newRow("after a valued option") << "vxcut --tcp 10.0.0.5 jo" << QStringList{"jog"} << QStringList{};
    QTest::newRow("no command after one") << "vxcut info " << QStringList{} << QStringList{"cut"};
}

void TestPackage::completion()
{
    QFETCH(QString, line);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, notOffered);
    if (QStandardPaths::findExecutable(QStringLiteral("bash")).isEmpty())
        QSKIP("bash is not installed");
    // The completion reads the unpacked vxcut's own --help, found on PATH.
    QProcessEnvironment env = toolEnv();
    env.insert(QStringLiteral("PATH"), m_root + QStringLiteral("/usr/" VX_INSTALL_BINDIR ":") + env.value(QStringLiteral("PATH")));
    const QString script = QStringLiteral(
        "source '%1/usr/share/bash-completion/completions/vxcut'\n"
        "read -ra COMP_WORDS <<<\"$LINE\"\n"
        "[[ $LINE == *' ' ]] && COMP_WORDS+=('')\n"
        "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
        "_vxcut vxcut\n"
        "printf '%s\\n' \"${COMPREPLY[@]}\"\n").arg(m_root);
    env.insert(QStringLiteral("LINE"), line);
    const InstallRun run = InstallRun::exec(QStringLiteral("bash"), {QStringLiteral("-c"), script}, 30000, env);
    QVERIFY2(run.ok(), run.why());
    const QStringList words = run.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &w : offered)
        QVERIFY2(words.contains(w), qPrintable(w + QStringLiteral(" not in: ") + words.join(QLatin1Char(' '))));
    for (const QString &w : notOffered)
        QVERIFY2(!words.contains(w), qPrintable(w + QStringLiteral(" in: ") + words.join(QLatin1Char(' '))));
}

void TestPackage::exampleAgainstDevOnly()
{
    // The library and its -dev package, nothing else of ours: the example
    // shipped with the headers must build from them.
    const QString root = unpack(QStringLiteral("devroot"), {kLib, kDev});
    QVERIFY(!root.isEmpty());
    const QString build = m_scratch.filePath(QStringLiteral("example-build"));
    InstallRun run = InstallRun::exec(QStringLiteral(VX_CMAKE_COMMAND),
        {QStringLiteral("-S"), root + QStringLiteral("/usr/share/doc/libvxdevice-dev/examples"),
         QStringLiteral("-B"), build, QStringLiteral("-G"), QStringLiteral(VX_GENERATOR),
         QStringLiteral("-DCMAKE_PREFIX_PATH=") + root + QStringLiteral("/usr"),
         QStringLiteral("-DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF"), QStringLiteral("-DCMAKE_BUILD_TYPE=Release"),
         QStringLiteral("-DCMAKE_CXX_FLAGS=" VX_CONSUMER_FLAGS)},
        120000);
    QVERIFY2(run.ok(), run.why());
    QFile cache(build + QStringLiteral("/CMakeCache.txt"));
    QVERIFY(cache.open(QIODevice::ReadOnly));
    QVERIFY(cache.readAll().contains(("vxdevice_DIR:PATH=" + root + "/usr/").toUtf8()));
    run = InstallRun::exec(QStringLiteral(VX_CMAKE_COMMAND), {QStringLiteral("--build"), build, QStringLiteral("-j2")}, 150000);
    QVERIFY2(run.ok(), run.why());
    QVERIFY(QFileInfo(build + QStringLiteral("/vxexample")).isExecutable());
}

void TestPackage::aptResolves()
{
    if (QStandardPaths::findExecutable(QStringLiteral("apt-get")).isEmpty())
        QSKIP("apt-get is not installed");
    // Simulated install: only names apt knows can satisfy Depends.
    const InstallRun run = InstallRun::exec(QStringLiteral("apt-get"),
        QStringList{QStringLiteral("install"), QStringLiteral("-s"), QStringLiteral("-q"),
                    QStringLiteral("-o"), QStringLiteral("Debug::NoLocking=1")} + m_debs.values(),
        120000);
    QVERIFY2(run.ok(), run.why());
    for (const QString &p : m_debs.keys())
        QVERIFY2(run.output.contains(QStringLiteral("Inst ") + p + QLatin1Char(' ')), run.why());
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
