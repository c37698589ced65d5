// SPDX-License-Identifier: LGPL-2.1-or-later
#include "NestSearch.h"

#include "NestPlacer.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <thread>
#include <tuple>

using namespace nestgeo;

namespace {

using cInt = cl::cInt;
using Clock = std::chrono::steady_clock;
using Steps = std::vector<NestPlacer::Step>;

struct Problem {
    std::vector<Shape> shapes;
    std::vector<int> base;                        // part -> first shape; one past the end for the last part
    std::vector<std::vector<Orientation>> poses;  // per part
    std::vector<int> itemPart;
    NestPlacer::Material material;
    cInt bound = 0;                               // strip: nothing shorter exists
};

Problem prepare(const NestRequest &r)
{
    Problem pb;
    pb.material = NestPlacer::Material{units(r.width), units(r.sheetLength)};
    double area = 0;
    cInt tallest = 0;
    for (std::size_t p = 0; p < r.parts.size(); ++p) {
        const NestPart &part = r.parts[p];
        pb.base.push_back(int(pb.shapes.size()));
        pb.poses.push_back(part.orientations.list());
        cInt lowest = std::numeric_limits<cInt>::max();
        for (const Orientation &o : pb.poses.back()) {
            pb.shapes.push_back(makeShape(part, o, r.gap));
            if (pb.shapes.back().box.x1 <= pb.material.width + Slack)
                lowest = std::min(lowest, pb.shapes.back().box.y1);
        }
        for (int q = 0; q < part.quantity; ++q)
            pb.itemPart.push_back(int(p));
        area += part.area * part.quantity;
        if (part.quantity > 0 && lowest != std::numeric_limits<cInt>::max())
            tallest = std::max(tallest, lowest);
    }
    pb.base.push_back(int(pb.shapes.size()));
    pb.bound = std::max(tallest, r.width > 0 ? units(area / r.width) : 0);
    return pb;
}

struct Fitness {
    int unplaced = 0, sheets = 0;
    cInt length = 0;
    double tops = 0;

    bool operator<(const Fitness &o) const
    {
        return std::tie(unplaced, sheets, length, tops) < std::tie(o.unplaced, o.sheets, o.length, o.tops);
    }
};

Fitness fitnessOf(const NestPlacer::Result &r)
{
    return Fitness{int(r.unplaced.size()), r.sheets, r.length, r.tops};
}

// splitmix64: the same numbers on every platform, unlike std's distributions.
class Rng
{
public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int(next() % std::uint64_t(n)); }

private:
    std::uint64_t m_state;
};

struct Board {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Fitness> best;
    std::vector<int> evaluations;
    int running = 0;
};

Steps firstOrder(const Problem &pb, const NestRequest &r, int search, Rng &rng)
{
    Steps steps;
    for (std::size_t i = 0; i < pb.itemPart.size(); ++i)
        steps.push_back(NestPlacer::Step{int(i), pb.itemPart[i], -1});
    const auto longest = [&](int part) {
        const Box &b = pb.shapes[std::size_t(pb.base[std::size_t(part)])].box;
        return std::max(b.width(), b.height());
    };
    if (search == 0) {
        std::stable_sort(steps.begin(), steps.end(), [&](const NestPlacer::Step &a, const NestPlacer::Step &b) {
            return r.parts[std::size_t(a.part)].area > r.parts[std::size_t(b.part)].area;
        });
    } else if (search == 1) {
        std::stable_sort(steps.begin(), steps.end(), [&](const NestPlacer::Step &a, const NestPlacer::Step &b) {
            return longest(a.part) > longest(b.part);
        });
    } else {
        for (int i = int(steps.size()) - 1; i > 0; --i)
            std::swap(steps[std::size_t(i)], steps[std::size_t(rng.below(i + 1))]);
    }
    return steps;
}

void mutate(Steps &g, const Problem &pb, Rng &rng)
{
    const int n = int(g.size());
    const int moves = 1 + rng.below(2);
    for (int m = 0; m < moves && n > 0; ++m) {
        const int i = rng.below(n);
        const int kind = rng.below(3);
        const int turns = int(pb.poses[std::size_t(g[std::size_t(i)].part)].size());
        if (kind == 2 && turns > 1) {
            // A piece's turn is the placer's choice (the lowest landing) until
            // a move pins it; pinned, it may be freed again.
            NestPlacer::Step &s = g[std::size_t(i)];
            s.orient = (s.orient >= 0 && rng.below(2)) ? -1 : (std::max(0, s.orient) + 1 + rng.below(turns - 1)) % turns;
            continue;
        }
        if (n < 2)
            continue;
        // Half the moves stay near: neighbours in the order are neighbours on the strip.
        int j = rng.below(2) ? rng.below(n) : std::clamp(i + rng.below(7) - 3, 0, n - 1);
        if (j == i)
            j = (i + 1) % n;
        if (kind == 0) {
            std::swap(g[std::size_t(i)], g[std::size_t(j)]);
        } else {
            const NestPlacer::Step s = g[std::size_t(i)];
            g.erase(g.begin() + i);
            g.insert(g.begin() + j, s);
        }
    }
}

struct Search {
    const Problem &pb;
    const NestRequest &request;
    int index;
    NfpCache cache;
    NestPlacer placer;
    Rng rng;
    NestPlacer::Result best;
    Fitness bestFit;
    int evaluations = 0;
    bool done = false; // a first layout exists

    Search(const Problem &p, const NestRequest &r, int i)
        : pb(p), request(r), index(i), cache(p.shapes), placer(p.shapes, p.base, p.material, cache),
          rng(r.seed * 0x9e3779b97f4a7c15ULL + std::uint64_t(i) * 0xd1b54a32d192ed03ULL + 1)
    {
    }

    void publish(Board &board)
    {
        std::lock_guard<std::mutex> lock(board.mutex);
        board.best[std::size_t(index)] = bestFit;
        board.evaluations[std::size_t(index)] = evaluations;
        board.changed.notify_all();
    }

    void run(Board &board, const std::atomic<bool> *cancel, Clock::time_point deadline)
    {
        const auto cancelled = [cancel] { return cancel && cancel->load(std::memory_order_relaxed); };
        const auto late = [&] { return cancelled() || Clock::now() >= deadline; };
        Steps genome = firstOrder(pb, request, index, rng);
        if (!placer.run(genome, best, cancelled))
            return;
        done = true;
        bestFit = fitnessOf(best);
        evaluations = 1;
        publish(board);
        const int patience = request.patience > 0 ? request.patience : 500 + 20 * int(genome.size());
        Fitness current = bestFit;
        Steps bestGenome = genome;
        // Late acceptance: a change may also be kept when it is no worse than
        // the layout kept History steps ago, so the walk can leave a local
        // optimum without a temperature to tune. When it stalls for patience
        // layouts, it restarts from the best, shaken; Restarts stalls in a
        // row end the search.
        constexpr int History = 50, Restarts = 4;
        std::vector<Fitness> history(History, bestFit);
        NestPlacer::Result trial;
        int stalls = 0;
        for (int since = 0;; ++since) {
            if ((request.evaluations > 0 && evaluations >= request.evaluations) || late())
                break;
            if (request.sheetLength <= 0 && bestFit.unplaced == 0 && bestFit.length <= pb.bound + units(0.001))
                break;
            Steps candidate = since < patience ? genome : bestGenome;
            if (since >= patience && ++stalls > Restarts)
                break;
            for (int k = since < patience ? 1 : 3 + int(genome.size()) / 10; k > 0; --k)
                mutate(candidate, pb, rng);
            if (!placer.run(candidate, trial, late))
                break;
            ++evaluations;
            const Fitness f = fitnessOf(trial);
            Fitness &past = history[std::size_t(evaluations % History)];
            if (since >= patience) {
                since = 0;
                history.assign(History, f);
                genome = std::move(candidate);
                current = f;
            } else if (!(current < f) || !(past < f)) {
                genome = std::move(candidate);
                current = f;
            }
            past = current;
            if (current < bestFit) {
                bestFit = current;
                bestGenome = genome;
                std::swap(best, trial);
                since = -1;
                stalls = 0;
                publish(board);
            } else if (evaluations % 16 == 0) {
                publish(board);
            }
        }
        publish(board);
    }
};

NestLayout layoutOf(const Problem &pb, const NestRequest &r, const NestPlacer::Result &result)
{
    NestLayout layout;
    layout.width = r.width;
    layout.sheetLength = r.sheetLength;
    layout.requested.assign(r.parts.size(), 0);
    layout.placedCount.assign(r.parts.size(), 0);
    for (std::size_t p = 0; p < r.parts.size(); ++p)
        layout.requested[p] = r.parts[p].quantity;
    for (const NestPlacer::Placement &p : result.placed) {
        const Shape &s = pb.shapes[std::size_t(pb.base[std::size_t(p.part)] + p.orient)];
        const Orientation &o = pb.poses[std::size_t(p.part)][std::size_t(p.orient)];
        NestLayout::Placed q;
        q.part = p.part;
        q.sheet = p.sheet;
        q.degrees = o.degrees;
        q.mirror = o.mirror;
        q.pose = s.pose;
        q.at = QPointF(mm(p.at.X), mm(p.at.Y));
        q.box = QRectF(q.at, QSizeF(mm(s.box.x1), mm(s.box.y1)));
        layout.placed.push_back(q);
        ++layout.placedCount[std::size_t(p.part)];
        layout.partArea += r.parts[std::size_t(p.part)].area;
    }
    layout.sheets = result.sheets;
    layout.length = mm(result.length);
    return layout;
}

NestProgress progressOf(const NestRequest &r, Board &board, Clock::time_point start)
{
    NestProgress p;
    p.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const Fitness *best = nullptr;
    for (std::size_t k = 0; k < board.best.size(); ++k) {
        p.evaluations += board.evaluations[k];
        if (board.evaluations[k] > 0 && (!best || board.best[k] < *best))
            best = &board.best[k];
    }
    if (best) {
        p.length = mm(best->length);
        p.sheets = best->sheets;
        double area = 0;
        for (const NestPart &part : r.parts)
            area += part.area * part.quantity;
        const double used = r.width * (r.sheetLength > 0 ? r.sheetLength * (best->sheets - 1) + p.length : p.length);
        p.utilisation = used > 0 ? area / used : 0;
    }
    return p;
}

} // namespace

namespace NestSearch {

bool check(const NestRequest &r, QString &why)
{
    if (!(r.width > 0) || r.width > 1e5 || r.sheetLength < 0 || r.sheetLength > 1e5) {
        why = QCoreApplication::translate("NestSearch", "the material must be between 0 and 100000 mm on each side");
        return false;
    }
    if (!(r.gap >= 0) || r.gap > 1000) {
        why = QCoreApplication::translate("NestSearch", "the gap must be between 0 and 1000 mm");
        return false;
    }
    long long pieces = 0;
    for (const NestPart &part : r.parts)
        pieces += part.quantity;
    if (pieces < 1 || pieces > NestRequest::MaxPieces) {
        why = QCoreApplication::translate("NestSearch", "%1 pieces asked; a nest takes 1 to %2").arg(pieces).arg(NestRequest::MaxPieces);
        return false;
    }
    for (const NestPart &part : r.parts) {
        double narrowest = 1e300, shortest = 1e300;
        bool fits = false;
        for (const Orientation &o : part.orientations.list()) {
            const Shape s = makeShape(part, o, r.gap);
            const double w = mm(s.box.x1), h = mm(s.box.y1);
            narrowest = std::min(narrowest, w);
            shortest = std::min(shortest, h);
            if (!s.solid.empty() && s.box.x1 <= units(r.width) + Slack && (r.sheetLength <= 0 || s.box.y1 <= units(r.sheetLength) + Slack))
                fits = true;
        }
        if (!fits) {
            why = r.sheetLength > 0
                      ? QCoreApplication::translate("NestSearch", "%1 (%2 x %3 mm at its narrowest) fits a %4 x %5 mm sheet in no allowed rotation")
                            .arg(part.name).arg(narrowest, 0, 'f', 1).arg(shortest, 0, 'f', 1).arg(r.width).arg(r.sheetLength)
                      : QCoreApplication::translate("NestSearch", "%1 is %2 mm wide at its narrowest, wider than the %3 mm strip in every allowed rotation")
                            .arg(part.name).arg(narrowest, 0, 'f', 1).arg(r.width);
            return false;
        }
    }
    return true;
}

NestLayout run(const NestRequest &r, const std::atomic<bool> *cancel, const std::function<void(const NestProgress &)> &progress)
{
    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::microseconds(qint64(std::max(0.0, r.seconds) * 1e6));
    const Problem pb = prepare(r);
    const int count = std::clamp(r.searches, 1, 8);
    std::vector<std::unique_ptr<Search>> searches;
    for (int k = 0; k < count; ++k)
        searches.push_back(std::make_unique<Search>(pb, r, k));
    Board board;
    board.best.resize(std::size_t(count));
    board.evaluations.assign(std::size_t(count), 0);
    board.running = count;
    std::vector<std::thread> threads;
    for (int k = 0; k < count; ++k) {
        threads.emplace_back([&, k] {
            searches[std::size_t(k)]->run(board, cancel, deadline);
            std::lock_guard<std::mutex> lock(board.mutex);
            --board.running;
            board.changed.notify_all();
        });
    }
    {
        // Gains wake this loop at once; counts alone at most four times a second.
        std::unique_lock<std::mutex> lock(board.mutex);
        Clock::time_point shown = start;
        double shownLength = -1;
        while (board.running > 0) {
            board.changed.wait_for(lock, std::chrono::milliseconds(250));
            if (!progress)
                continue;
            const NestProgress p = progressOf(r, board, start);
            if (p.length == shownLength && Clock::now() - shown < std::chrono::milliseconds(250))
                continue;
            shown = Clock::now();
            shownLength = p.length;
            lock.unlock();
            progress(p);
            lock.lock();
        }
    }
    for (std::thread &t : threads)
        t.join();
    const Search *winner = nullptr;
    int evaluations = 0;
    for (const auto &s : searches) {
        evaluations += s->evaluations;
        if (s->done && (!winner || s->bestFit < winner->bestFit))
            winner = s.get();
    }
    NestLayout layout;
    if (winner) {
        layout = layoutOf(pb, r, winner->best);
    } else {
        layout.width = r.width;
        layout.sheetLength = r.sheetLength;
        for (const NestPart &part : r.parts)
            layout.requested.push_back(part.quantity), layout.placedCount.push_back(0);
    }
    layout.evaluations = evaluations;
    layout.cancelled = cancel && cancel->load();
    layout.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return layout;
}

} // namespace NestSearch
