// SPDX-License-Identifier: LGPL-2.1-or-later
// Nests checked from the outside: pieces mapped into place and compared
// pairwise with a polygon test written here (vertex in polygon, segment
// distance and crossing), not with the placer's own Clipper geometry.
#include "NestSearch.h"
#include "PartList.h"

#include <QtTest>

#include <cmath>

namespace {

using Rings = QVector<QPolygonF>;

NestPart partOf(const Rings &closed, int quantity = 1, const QString &turns = QStringLiteral("0,90,180,270"), bool mirror = false)
{
    PlotDocument doc;
    for (QPolygonF ring : closed) {
        ring << ring.first();
        doc.addPath(ring);
    }
    std::vector<NestPart> parts;
    QString why;
    if (!NestParts::fromDocument(doc, QStringLiteral("p"), false, parts, why))
        qFatal("%s", qPrintable(why));
    parts[0].quantity = quantity;
    Orientations::parse(turns, parts[0].orientations, why);
    parts[0].orientations.setMirror(mirror);
    return parts[0];
}

QPolygonF rect(double x, double y, double w, double h)
{
    return QPolygonF({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

// A W x H rectangle cut into cols x rows pieces; jagged: the column cuts zigzag.
std::vector<NestPart> cutRectangle(double w, double h, int cols, int rows, bool jagged)
{
    const double step = h / rows / 4, tooth = jagged ? w / cols / 6 : 0;
    const auto cut = [&](int c, double y) {
        const double x = w * c / cols;
        return (c == 0 || c == cols) ? x : x + (std::lround(y / step) % 2 ? tooth : -tooth);
    };
    std::vector<NestPart> parts;
    for (int c = 0; c < cols; ++c) {
        for (int r = 0; r < rows; ++r) {
            QPolygonF p;
            for (int k = 0; k <= 4; ++k)
                p << QPointF(cut(c + 1, (r * 4 + k) * step), (r * 4 + k) * step);
            for (int k = 4; k >= 0; --k)
                p << QPointF(cut(c, (r * 4 + k) * step), (r * 4 + k) * step);
            parts.push_back(partOf({p}));
        }
    }
    return parts;
}

double segmentDistance(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const auto cross = [](QPointF o, QPointF p, QPointF q) { return (p.x() - o.x()) * (q.y() - o.y()) - (p.y() - o.y()) * (q.x() - o.x()); };
    if (cross(a, b, c) * cross(a, b, d) < 0 && cross(c, d, a) * cross(c, d, b) < 0)
        return 0;
    const auto toSegment = [](QPointF p, QPointF s, QPointF e) {
        const QPointF v = e - s;
        const double len = QPointF::dotProduct(v, v);
        const double t = len > 0 ? qBound(0.0, QPointF::dotProduct(p - s, v) / len, 1.0) : 0;
        const QPointF q = s + t * v - p;
        return std::hypot(q.x(), q.y());
    };
    return std::min({toSegment(a, c, d), toSegment(b, c, d), toSegment(c, a, b), toSegment(d, a, b)});
}

bool inside(const QPolygonF &poly, QPointF p)
{
    bool in = false;
    for (int i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if ((poly[i].y() > p.y()) != (poly[j].y() > p.y())
            && p.x() < (poly[j].x() - poly[i].x()) * (p.y() - poly[i].y()) / (poly[j].y() - poly[i].y()) + poly[i].x())
            in = !in;
    }
    return in;
}

struct Placed {
    Rings outers, holes;
    QRectF box;
};

Placed placedOf(const NestLayout::Placed &piece, const NestPart &part)
{
    Placed out;
    for (const Rings *from : {&part.outers, &part.holes}) {
        for (const QPolygonF &ring : *from) {
            QPolygonF mapped;
            for (QPointF p : ring)
                mapped << piece.map(p);
            (from == &part.outers ? out.outers : out.holes) << mapped;
            out.box |= mapped.boundingRect();
        }
    }
    return out;
}

bool inMaterial(const Placed &a, QPointF p)
{
    return std::any_of(a.outers.begin(), a.outers.end(), [&](const QPolygonF &o) { return inside(o, p); })
        && std::none_of(a.holes.begin(), a.holes.end(), [&](const QPolygonF &h) { return inside(h, p); });
}

// Closest approach of two placed pieces; -1 when one's outline lies in the other's material.
double clearance(const Placed &a, const Placed &b)
{
    const Rings ra = a.outers + a.holes, rb = b.outers + b.holes;
    double best = 1e300;
    for (const QPolygonF &p : ra) {
        for (const QPolygonF &q : rb) {
            for (int i = 0; i < p.size(); ++i)
                for (int j = 0; j < q.size(); ++j)
                    best = std::min(best, segmentDistance(p[i], p[(i + 1) % p.size()], q[j], q[(j + 1) % q.size()]));
        }
    }
    // Vertex midpoints of edges test containment away from touching corners.
    const auto deepIn = [](const Placed &x, const Placed &y) {
        for (const QPolygonF &o : y.outers)
            for (int i = 0; i < o.size(); ++i)
                if (inMaterial(x, (o[i] + o[(i + 1) % o.size()]) / 2) && inMaterial(x, o[i]))
                    return true;
        return false;
    };
    return (best > 0.01 && (deepIn(a, b) || deepIn(b, a))) ? -1 : best;
}

// Pieces that may touch (gap 0): a grid of points over the shared box, each
// counted only when it and its neighbours 10 µm away lie in both pieces, so
// touching edges never count and any real overlap wider than a cell does.
bool overlap(const Placed &a, const Placed &b)
{
    const QRectF shared = a.box.intersected(b.box);
    constexpr int N = 64;
    const QPointF d[] = {{0, 0}, {0.01, 0}, {-0.01, 0}, {0, 0.01}, {0, -0.01}};
    for (int i = 0; i < N * N && !shared.isEmpty(); ++i) {
        const QPointF p = shared.topLeft() + QPointF(shared.width() * (i % N + 0.5) / N, shared.height() * (i / N + 0.5) / N);
        if (std::all_of(std::begin(d), std::end(d), [&](QPointF e) { return inMaterial(a, p + e) && inMaterial(b, p + e); }))
            return true;
    }
    return false;
}

NestLayout nest(NestRequest r, int evaluations = 60)
{
    r.evaluations = evaluations;
    r.seconds = 600; // bounded by evaluations: a slow machine gets the same layout
    QString why;
    if (!NestSearch::check(r, why))
        qFatal("%s", qPrintable(why));
    return NestSearch::run(r);
}

} // namespace

Q_DECLARE_METATYPE(std::vector<NestPart>)

class TestNest : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
    void knownOptimum_data();
    void knownOptimum();
    void refused_data();
    void refused();
    void deterministicAndCancellable();
    void windows();
};

void TestNest::placement_data()
{
    QTest::addColumn<std::vector<NestPart>>("parts");
    QTest::addColumn<double>("sheet");
    QTest::addColumn<double>("gap");
    const Rings frame{rect(0, 0, 100, 60), rect(20, 15, 40, 30)};
    const Rings ell{QPolygonF({{0, 0}, {60, 0}, {60, 20}, {20, 20}, {20, 50}, {0, 50}})};
    const Rings triangle{QPolygonF({{0, 0}, {50, 0}, {10, 30}})};
    QTest::newRow("frames, squares in holes, gap 2") << std::vector<NestPart>{partOf(frame, 3), partOf({rect(0, 0, 15, 15)}, 12)} << 0.0 << 2.0;
    QTest::newRow("frames gap 0") << std::vector<NestPart>{partOf(frame, 4), partOf({rect(0, 0, 18, 12)}, 6)} << 0.0 << 0.0;
    QTest::newRow("ells any:30 mirrored") << std::vector<NestPart>{partOf(ell, 10, QStringLiteral("any:30"), true)} << 0.0 << 1.5;
    QTest::newRow("triangles 0,180 no mirror") << std::vector<NestPart>{partOf(triangle, 14, QStringLiteral("0,180"))} << 0.0 << 3.0;
    QTest::newRow("sheets") << std::vector<NestPart>{partOf(frame, 4), partOf(ell, 6)} << 130.0 << 2.0;
}

void TestNest::placement()
{
    QFETCH(std::vector<NestPart>, parts);
    QFETCH(double, sheet);
    QFETCH(double, gap);
    NestRequest r;
    r.parts = parts;
    r.width = 170;
    r.sheetLength = sheet;
    r.gap = gap;
    const NestLayout l = nest(r);
    int placed = 0;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        QCOMPARE(l.requested[p], parts[p].quantity);
        placed += l.placedCount[p];
    }
    QCOMPARE(int(l.placed.size()), placed);
    QCOMPARE(l.unplaced(), 0);
    std::vector<Placed> pieces;
    for (const NestLayout::Placed &q : l.placed) {
        QVERIFY(parts[std::size_t(q.part)].orientations.allows(q.degrees, q.mirror));
        pieces.push_back(placedOf(q, parts[std::size_t(q.part)]));
        const QRectF material(0, 0, r.width, sheet > 0 ? sheet : 1e9);
        QVERIFY2(material.adjusted(-0.002, -0.002, 0.002, 0.002).contains(pieces.back().box), "piece off the material");
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            if (l.placed[i].sheet != l.placed[j].sheet)
                continue;
            const double c = clearance(pieces[i], pieces[j]);
            QVERIFY2(c >= gap - 0.003, qPrintable(QStringLiteral("pieces %1 and %2 %3 mm apart").arg(i).arg(j).arg(c)));
            QVERIFY2(!overlap(pieces[i], pieces[j]), qPrintable(QStringLiteral("pieces %1 and %2 overlap").arg(i).arg(j)));
        }
    }
}

void TestNest::knownOptimum_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("jagged");
    QTest::addColumn<double>("utilisation");
    // A 300 x 200 rectangle cut up, nested back on a 300 mm strip without a gap.
    QTest::newRow("straight 2x5") << 2 << 5 << false << 0.999;
    QTest::newRow("straight 5x4") << 5 << 4 << false << 0.999;
    QTest::newRow("jagged 3x3") << 3 << 3 << true << 0.75;
}

void TestNest::knownOptimum()
{
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(bool, jagged);
    QFETCH(double, utilisation);
    NestRequest r;
    r.parts = cutRectangle(300, 200, cols, rows, jagged);
    r.width = 300;
    r.gap = 0;
    const NestLayout l = nest(r, 300);
    QCOMPARE(l.unplaced(), 0);
    QVERIFY2(l.utilisation() >= utilisation, qPrintable(QString::number(l.utilisation())));
}

void TestNest::refused_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("rotations");
    QTest::addColumn<QString>("error");
    QTest::newRow("quantity 0") << "a.plt=0" << "0" << "quantity '0'";
    QTest::newRow("quantity text") << "a.plt=two" << "0" << "quantity 'two'";
    QTest::newRow("missing file") << "/nonexistent/a.plt=2" << "0" << "/nonexistent/a.plt";
    QTest::newRow("too wide in every turn") << "wide" << "0,90" << "wide";
    QTest::newRow("too wide unturned") << "long" << "0" << "long";
    QTest::newRow("rotation step") << "" << "any:1" << "any:STEP";
    QTest::newRow("rotation word") << "" << "0,ninety" << "ninety";
}

void TestNest::refused()
{
    QFETCH(QString, argument);
    QFETCH(QString, rotations);
    QFETCH(QString, error);
    QString why;
    Orientations turns;
    std::vector<NestPart> parts;
    PartRequest q;
    if (!Orientations::parse(rotations, turns, why)) {
        QVERIFY(argument.isEmpty());
    } else if (argument == QLatin1String("wide") || argument == QLatin1String("long")) {
        // 120 x 300 on a 100 mm strip: too wide either way; 80 x 300 fits only turned.
        NestRequest r;
        r.width = 100;
        r.parts = {partOf({rect(0, 0, argument == QLatin1String("wide") ? 120 : 300, argument == QLatin1String("wide") ? 300 : 80)}, 1, rotations)};
        r.parts[0].name = argument;
        QVERIFY(!NestSearch::check(r, why));
    } else if (PartList::parseArgument(argument, q, why)) {
        QVERIFY(!PartList::load({q}, PlotOptions(), PartDefaults(), parts, why));
    }
    QVERIFY2(why.contains(error), qPrintable(why));
}

void TestNest::deterministicAndCancellable()
{
    NestRequest r;
    r.parts = {partOf({QPolygonF({{0, 0}, {40, 0}, {40, 10}, {10, 25}, {0, 25}})}, 15, QStringLiteral("any:45")),
               partOf({rect(0, 0, 12, 30)}, 6)};
    r.width = 120;
    r.seed = 7;
    const NestLayout a = nest(r, 40), b = nest(r, 40);
    QCOMPARE(a.placed.size(), b.placed.size());
    for (std::size_t i = 0; i < a.placed.size(); ++i) {
        QCOMPARE(a.placed[i].at, b.placed[i].at);
        QCOMPARE(a.placed[i].degrees, b.placed[i].degrees);
    }
    const std::atomic<bool> cancel{true};
    const NestLayout c = NestSearch::run(r, &cancel);
    QVERIFY(c.cancelled);
    QVERIFY(c.placed.empty());
    QCOMPARE(c.unplaced(), 21);
}

void TestNest::windows()
{
    NestRequest r;
    r.parts = {partOf({rect(0, 0, 30, 45)}, 20, QStringLiteral("0"))};
    r.width = 100;
    const NestLayout l = nest(r, 5);
    std::vector<NestLayout::Window> w;
    QString why;
    QVERIFY(!l.windows(40, w, why));
    QVERIFY(why.contains(QStringLiteral("45.0")));
    QVERIFY(l.windows(100, w, why));
    std::vector<int> seen(l.placed.size(), 0);
    for (const NestLayout::Window &win : w) {
        const QRectF box = l.document(r.parts, win).boundingBox();
        QVERIFY(box.top() >= -1e-9 && box.bottom() <= 100 + 1e-9);
        for (int i : win.placed)
            ++seen[std::size_t(i)];
    }
    QVERIFY(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
    QVERIFY(!NestPlot::text(l.document(r.parts, w.front()), PlotOptions()).isEmpty());
}

QTEST_GUILESS_MAIN(TestNest)
#include "tst_nest.moc"
