// SPDX-License-Identifier: LGPL-2.1-or-later
// Every design in tests/data/corpus, made by another program, read by our
// readers and held against what an independent reader reports for it (the
// NAME.ref beside each file; tests/data/corpus/README.md says which program
// made each file and which one measured it). One row per file: a file added
// there is tested without touching this code.
#include "PlotFile.h"

#include <QtTest>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class TestPlotCorpus : public QObject
{
    Q_OBJECT

private slots:
    void corpus_data();
    void corpus();
};

void TestPlotCorpus::corpus_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QJsonObject>("ref");
    const QDir dir(QStringLiteral(VX_SOURCE_DIR "/tests/data/corpus"));
    const QStringList refs = dir.entryList({QStringLiteral("*.ref")}, QDir::Files, QDir::Name);
    QVERIFY2(!refs.isEmpty(), "no references in tests/data/corpus");
    for (const QString &name : refs) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QJsonParseError e;
        const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &e);
        QVERIFY2(doc.isObject(), qPrintable(name + QStringLiteral(": ") + e.errorString()));
        const QString design = name.chopped(4);
        QTest::newRow(qPrintable(design)) << dir.filePath(design) << doc.object();
    }
}

// A reference holds "width", "height" and "length" in mm (any may be
// missing when the measuring program does not report it), "tolerance" in
// mm for the box (default 0.05) and "length_tolerance" as a fraction
// (default 0.005: chords run inside curves), "paths" when the count is
// exact, "tools" as {"1": mm, "2": mm} for the default tool of each path,
// or "error" with a text the refusal must contain.
void TestPlotCorpus::corpus()
{
    QFETCH(QString, file);
    QFETCH(QJsonObject, ref);
    PlotDocument doc;
    PlotFile reader;
    const bool ok = reader.readFile(file, doc);
    if (ref.contains(QStringLiteral("error"))) {
        QVERIFY2(!ok, "read, but the reference says it is refused");
        QVERIFY2(reader.error().contains(ref.value(QStringLiteral("error")).toString()), qPrintable(reader.error()));
        return;
    }
    QVERIFY2(ok, qPrintable(reader.error()));
    const QRectF box = doc.boundingBox();
    // Ours beside theirs, for whoever reads the log.
    qInfo("%s: ours %.3f x %.3f mm, %.3f mm; reference %s x %s mm, %s mm", qPrintable(QFileInfo(file).fileName()),
          box.width(), box.height(), doc.cutLength(),
          qPrintable(ref.value(QStringLiteral("width")).toVariant().toString()),
          qPrintable(ref.value(QStringLiteral("height")).toVariant().toString()),
          qPrintable(ref.value(QStringLiteral("length")).toVariant().toString()));
    const double tol = ref.value(QStringLiteral("tolerance")).toDouble(0.05);
    const double lengthTol = ref.value(QStringLiteral("length_tolerance")).toDouble(0.005);
    const auto near = [&](const char *what, double ours, double theirs, double within) {
        if (std::abs(ours - theirs) > within)
            QFAIL(qPrintable(QStringLiteral("%1: ours %2, reference %3 (within %4)")
                                 .arg(QLatin1String(what)).arg(ours, 0, 'f', 4).arg(theirs, 0, 'f', 4).arg(within)));
    };
    if (ref.contains(QStringLiteral("width")))
        near("width", box.width(), ref.value(QStringLiteral("width")).toDouble(), tol);
    if (ref.contains(QStringLiteral("height")))
        near("height", box.height(), ref.value(QStringLiteral("height")).toDouble(), tol);
    if (ref.contains(QStringLiteral("length"))) {
        const double length = ref.value(QStringLiteral("length")).toDouble();
        near("length", doc.cutLength(), length, std::max(tol, length * lengthTol));
    }
    if (ref.contains(QStringLiteral("paths")))
        QCOMPARE(doc.pathCount(), ref.value(QStringLiteral("paths")).toInt());
    const QJsonObject tools = ref.value(QStringLiteral("tools")).toObject();
    for (auto it = tools.begin(); it != tools.end(); ++it) {
        const double length = it.value().toDouble();
        near(qPrintable(QStringLiteral("tool ") + it.key()), doc.cutLength(it.key().toInt()), length,
             std::max(tol, length * lengthTol));
    }
}

QTEST_MAIN(TestPlotCorpus)
#include "tst_plotcorpus.moc"
