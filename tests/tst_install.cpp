// SPDX-License-Identifier: LGPL-2.1-or-later
// Installs the current build into a scratch prefix and uses it the way a
// host developer would: the layout, the installed programs started through
// their bin/ symlinks, and the example host built with find_package()
// against the installed tree, cutting the sample on an installed vxsim.

#include "InstallRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void programsStartFromBin_data();
    void programsStartFromBin();
    void headersStandAlone();
    void exampleHost();
    void cleanupTestCase();

private:
    QString prefix(const QString &rel = QString()) const { return m_scratch.filePath(QStringLiteral("prefix/") + rel); }
    QString lib(const QString &rel) const { return prefix(QStringLiteral(VX_INSTALL_LIBDIR "/") + rel); }
    QString bin(const QString &rel) const { return prefix(QStringLiteral(VX_INSTALL_BINDIR "/") + rel); }
    bool configure(const QString &source, const QString &build, InstallRun &run);

    QTemporaryDir m_scratch;
    QStringList m_tools;
    QProcess m_sim;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    m_tools = QStringLiteral(VX_INSTALLED_TOOLS).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const InstallRun run = InstallRun::exec(QStringLiteral(VX_CMAKE_COMMAND),
        {QStringLiteral("--install"), QStringLiteral(VX_BUILD_DIR), QStringLiteral("--prefix"), prefix()},
        120000);
    QVERIFY2(run.ok(), run.why());
}

void TestInstall::layout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("present");

    auto row = [](const QString &path, bool present = true) {
        QTest::newRow(qPrintable(path)) << path << present;
    };
    const QString libdir = QStringLiteral(VX_INSTALL_LIBDIR "/");
    row(libdir + "libvxdevice.so.1");
    row(libdir + "libvxdevice.so");
    row(libdir + "vxdevice/plugins/libVX-KTR450PROCam.so");
    row(libdir + "vxdevice/translations/VX-KTR450PROCam_ja_JP.qm");
    row(libdir + "vxdevice/translations/VX-KTR450PROCam_en_US.qm");
    row(libdir + "cmake/vxdevice/vxdeviceConfig.cmake");
    row(libdir + "cmake/vxdevice/vxdeviceConfigVersion.cmake");
    row(libdir + "cmake/vxdevice/vxdeviceTargets.cmake");
    for (const char *h : {"interface/VXDeviceInterface.h", "interface/vxdevice_global.h",
                          "property/VXDeviceProperty.h", "property/VXFrame.h",
                          "link/VXCommonInterface.h", "link/FrameCutter.h", "cloud/NimbraCloud.h"})
        row(QStringLiteral("include/vxdevice/") + h);
    row(QStringLiteral("share/vxdevice/samples/sample.plt"));
    row(QStringLiteral("share/doc/libvxdevice-dev/examples/CMakeLists.txt"));
    for (const char *page : {"vxcut", "vxsim", "vxcloud", "vxstudio"})
        row(QStringLiteral("share/man/man1/%1.1.gz").arg(QLatin1String(page)));
    // Internals stay out of the public tree, and the translations exist once.
    row(QStringLiteral("include/vxdevice/link/UsbOperate.h"), false);
    row(QStringLiteral("include/vxdevice/catalogue"), false);
    row(QStringLiteral("include/vxdevice/plugin"), false);
    row(QStringLiteral(VX_INSTALL_BINDIR "/translations"), false);
    row(QStringLiteral(VX_INSTALL_BINDIR "/plugins"), false);
}

void TestInstall::layout()
{
    QFETCH(QString, path);
    QFETCH(bool, present);
    QCOMPARE(QFileInfo::exists(prefix(path)), present);
}

void TestInstall::programsStartFromBin_data()
{
    QTest::addColumn<QString>("tool");
    for (const QString &tool : qAsConst(m_tools))
        QTest::newRow(qPrintable(tool)) << tool;
}

void TestInstall::programsStartFromBin()
{
    QFETCH(QString, tool);
    // A relative link, so the tree can move (DESTDIR, cpack's staging).
    const QFileInfo link(bin(tool));
    QVERIFY2(link.isSymLink(), qPrintable(link.filePath()));
    char target[4096] = {};
    const ssize_t n = ::readlink(QFile::encodeName(link.filePath()).constData(), target, sizeof target - 1);
    QVERIFY(n > 0);
    QVERIFY2(target[0] != '/', target);
    QCOMPARE(QFileInfo(link.symLinkTarget()).canonicalFilePath(),
             QFileInfo(lib(QStringLiteral("vxdevice/") + tool)).canonicalFilePath());

    // Started through the link with no library path: the RPATH has to find
    // libvxdevice from the real program's folder.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const InstallRun run = InstallRun::exec(link.filePath(), {QStringLiteral("--help")}, 30000, env);
    QVERIFY2(run.ok(), run.why());
    QVERIFY2(run.output.contains(QLatin1String("Usage"), Qt::CaseInsensitive), run.why());
}

bool TestInstall::configure(const QString &source, const QString &build, InstallRun &run)
{
    // No package registry: only the scratch prefix may satisfy find_package.
    run = InstallRun::exec(QStringLiteral(VX_CMAKE_COMMAND),
        {QStringLiteral("-S"), source, QStringLiteral("-B"), build, QStringLiteral("-G"), QStringLiteral(VX_GENERATOR),
         QStringLiteral("-DCMAKE_PREFIX_PATH=") + prefix(), QStringLiteral("-DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF"),
         QStringLiteral("-DCMAKE_BUILD_TYPE=Release"), QStringLiteral("-DCMAKE_CXX_FLAGS=" VX_CONSUMER_FLAGS)},
        120000);
    if (!run.ok())
        return false;
    run = InstallRun::exec(QStringLiteral(VX_CMAKE_COMMAND),
                           {QStringLiteral("--build"), build, QStringLiteral("-j2")}, 150000);
    return run.ok();
}

void TestInstall::headersStandAlone()
{
    // Every installed header must compile on its own with only the package's
    // include path: one that reaches for an uninstalled header fails here.
    const QDir src(m_scratch.filePath(QStringLiteral("headers")));
    QVERIFY(src.mkpath(QStringLiteral(".")));
    QStringList sources;
    QDirIterator it(prefix(QStringLiteral("include/vxdevice")), {QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString rel = QDir(prefix(QStringLiteral("include/vxdevice"))).relativeFilePath(it.next());
        const QString name = QStringLiteral("h%1.cpp").arg(sources.size());
        QFile f(src.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#include <" + rel.toUtf8() + ">\n");
        sources << name;
    }
    QVERIFY(sources.size() >= 7);
    QFile lists(src.filePath(QStringLiteral("CMakeLists.txt")));
    QVERIFY(lists.open(QIODevice::WriteOnly));
    lists.write("cmake_minimum_required(VERSION 3.16)\nproject(headers CXX)\nset(CMAKE_CXX_STANDARD 17)\n"
                "set(CMAKE_AUTOMOC ON)\nfind_package(vxdevice 1 REQUIRED)\n"
                "add_library(headers OBJECT " + sources.join(QLatin1Char(' ')).toUtf8() + ")\n"
                "target_link_libraries(headers PRIVATE vxdevice::vxdevice)\n");
    lists.close();
    InstallRun run;
    QVERIFY2(configure(src.path(), m_scratch.filePath(QStringLiteral("headers-build")), run), run.why());
}

void TestInstall::exampleHost()
{
    const QString build = m_scratch.filePath(QStringLiteral("example-build"));
    InstallRun run;
    QVERIFY2(configure(QStringLiteral(VX_SOURCE_DIR "/examples"), build, run), run.why());

    QFile cache(build + QStringLiteral("/CMakeCache.txt"));
    QVERIFY(cache.open(QIODevice::ReadOnly));
    const QRegularExpression dirLine(QStringLiteral("^vxdevice_DIR:PATH=(.*)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch found = dirLine.match(QString::fromUtf8(cache.readAll()));
    QVERIFY(found.hasMatch());
    QCOMPARE(QFileInfo(found.captured(1)).canonicalFilePath(),
             QFileInfo(lib(QStringLiteral("cmake/vxdevice"))).canonicalFilePath());
    // The helper put the installed translations beside the host.
    QCOMPARE(QFileInfo(build + QStringLiteral("/translations")).canonicalFilePath(),
             QFileInfo(lib(QStringLiteral("vxdevice/translations"))).canonicalFilePath());

    m_sim.setProcessChannelMode(QProcess::MergedChannels);
    m_sim.start(bin(QStringLiteral("vxsim")), {QStringLiteral("--port"), QStringLiteral("0"),
                                               QStringLiteral("--speedup"), QStringLiteral("200")});
    QVERIFY2(m_sim.waitForStarted(10000), qPrintable(m_sim.errorString()));
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QString simOut;
    QRegularExpressionMatch port;
    QTRY_VERIFY_WITH_TIMEOUT((simOut += QString::fromLocal8Bit(m_sim.readAll()),
                              port = listening.match(simOut), port.hasMatch()), 10000);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LD_LIBRARY_PATH"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    run = InstallRun::exec(build + QStringLiteral("/vxexample"),
                           {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:") + port.captured(1)}, 90000, env);
    QVERIFY2(run.ok(), run.why());
    // Translated label: the .qm files were found through the link beside the host.
    QVERIFY2(QRegularExpression(QStringLiteral("^PU_SPEED  [ -~]+$"), QRegularExpression::MultilineOption)
                 .match(run.output).hasMatch(), run.why());
    QVERIFY2(run.output.contains(QLatin1String("TCP CONNECTED.")), run.why());
    QVERIFY2(run.output.contains(QLatin1String("1 of 1 copies")), run.why());
}

void TestInstall::cleanupTestCase()
{
    if (m_sim.state() != QProcess::NotRunning) {
        m_sim.terminate();
        if (!m_sim.waitForFinished(5000))
            m_sim.kill();
        m_sim.waitForFinished(5000);
    }
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
