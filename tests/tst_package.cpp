// SPDX-License-Identifier: LGPL-2.1-or-later
// Builds the Debian package with cpack from the current build and checks
// what apt would see: the control data, the file list, that the unpacked
// programs start, and that apt can resolve the dependencies.

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
    void unpackedProgramsStart();
    void aptResolves();

private:
    QString field(const QString &name);

    QTemporaryDir m_scratch;
    QString m_deb;
    QString m_listing;
    QStringList m_tools;
};

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
    const QStringList debs = QDir(m_scratch.path()).entryList({QStringLiteral("vxdevice_*.deb")}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_deb = m_scratch.filePath(debs.first());
    const InstallRun list = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_deb}, 30000);
    QVERIFY2(list.ok(), list.why());
    m_listing = list.output;
}

QString TestPackage::field(const QString &name)
{
    return InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb, name}, 30000)
        .output.trimmed();
}

void TestPackage::control_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matches");

    QTest::newRow("name") << "Package" << "^vxdevice$" << true;
    QTest::newRow("version") << "Version" << "^1\\.0\\.0" << true;
    QTest::newRow("maintainer") << "Maintainer" << "\\S+" << true;
    QTest::newRow("summary") << "Description" << "cutting plotter" << true;
    // Resolved by dpkg-shlibdeps from the files, not written by hand.
    for (const char *lib : {"libc6", "libstdc\\+\\+6", "libqt5core5a", "libqt5network5", "libqt5widgets5",
                            "libqt5websockets5", "libqt5serialport5"})
        QTest::newRow(lib) << "Depends" << QStringLiteral("(^|, )%1( |,|$)").arg(QLatin1String(lib)) << true;
    if (QStringLiteral(VX_INSTALLED_TOOLS).contains(QLatin1String("vxcloud")))
        QTest::newRow("civetweb") << "Depends" << "(^|, )libcivetweb1( |,|$)" << true;
    // The package's own library must not turn into a dependency on itself.
    QTest::newRow("no self dependency") << "Depends" << "vxdevice" << false;
}

void TestPackage::control()
{
    QFETCH(QString, field);
    QFETCH(QString, pattern);
    QFETCH(bool, matches);
    const QString value = this->field(field);
    QVERIFY2(QRegularExpression(pattern).match(value).hasMatch() == matches,
             qPrintable(field + QStringLiteral(": ") + value));
}

void TestPackage::files_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("present");

    const QString lib = QStringLiteral("./usr/" VX_INSTALL_LIBDIR "/");
    QTest::newRow("library") << lib + "libvxdevice.so.1.0.0" << true;
    QTest::newRow("plugin") << lib + "vxdevice/plugins/libVX-KTR450PROCam.so" << true;
    QTest::newRow("translation") << lib + "vxdevice/translations/VX-KTR450PROCam_ja_JP.qm" << true;
    QTest::newRow("cmake package") << lib + "cmake/vxdevice/vxdeviceConfig.cmake" << true;
    QTest::newRow("header") << QStringLiteral("./usr/include/vxdevice/interface/VXDeviceInterface.h") << true;
    QTest::newRow("sample") << QStringLiteral("./usr/share/vxdevice/samples/sample.plt") << true;
    for (const QString &tool : QStringLiteral(VX_INSTALLED_TOOLS).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QTest::newRow(qPrintable(tool)) << lib + "vxdevice/" + tool << true;
        // Relative from the bin folder up to /usr.
        const QString up = QStringLiteral("../").repeated(QStringLiteral(VX_INSTALL_BINDIR).count(QLatin1Char('/')) + 1);
        QTest::newRow(qPrintable(tool + " link"))
            << QStringLiteral("./usr/" VX_INSTALL_BINDIR "/%1 -> %2" VX_INSTALL_LIBDIR "/vxdevice/%1").arg(tool, up)
            << true;
    }
    // Nothing from the build machine's prefix or build tree.
    QTest::newRow("no /usr/local") << QStringLiteral("./usr/local") << false;
    QTest::newRow("no build path") << QStringLiteral(VX_BUILD_DIR) << false;
}

void TestPackage::files()
{
    QFETCH(QString, entry);
    QFETCH(bool, present);
    // dpkg-deb -c lines end with the path (and " -> target" for links).
    const QRegularExpression line(QStringLiteral("\\s%1(/|$)").arg(QRegularExpression::escape(entry)),
                                  QRegularExpression::MultilineOption);
    QVERIFY2(line.match(m_listing).hasMatch() == present, qPrintable(entry));
}

void TestPackage::unpackedProgramsStart()
{
    // Stripped and moved under /usr by cpack: the RPATHs and links must
    // still hold in the unpacked tree.
    const QString root = m_scratch.filePath(QStringLiteral("root"));
    const InstallRun unpack = InstallRun::exec(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, root}, 60000);
    QVERIFY2(unpack.ok(), unpack.why());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &tool : qAsConst(m_tools)) {
        const InstallRun run = InstallRun::exec(root + QStringLiteral("/usr/" VX_INSTALL_BINDIR "/") + tool,
                                                {QStringLiteral("--help")}, 30000, env);
        QVERIFY2(run.ok(), qPrintable(tool + QStringLiteral(": ") + run.output.right(2000)));
    }
}

void TestPackage::aptResolves()
{
    if (QStandardPaths::findExecutable(QStringLiteral("apt-get")).isEmpty())
        QSKIP("apt-get is not installed");
    // Simulated install: only names apt knows can satisfy Depends.
    const InstallRun run = InstallRun::exec(QStringLiteral("apt-get"),
        {QStringLiteral("install"), QStringLiteral("-s"), QStringLiteral("-q"),
         QStringLiteral("-o"), QStringLiteral("Debug::NoLocking=1"), m_deb},
        120000);
    QVERIFY2(run.ok(), run.why());
    QVERIFY2(run.output.contains(QLatin1String("Inst vxdevice")), run.why());
}

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
