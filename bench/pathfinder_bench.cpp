// A* on the 480 x 480 grid: our Tastar against Boost.Graph's astar_search on
// the same 8-connected grid (steps of 5 and 7, heuristic 5 x Manhattan, the
// same leading-edge rule for a one-cell walker), the same 1000 long queries,
// on an open map like Welcome and on a map of walls and buildings.
// Each reports the median and the worst query (best of the runs per query):
// compare BM_AStarTastar/N with BM_BaselineBoostAStar/N (0 open, 1 walls).
#include "game/pathfinder.h"

#include <benchmark/benchmark.h>
#include <boost/graph/astar_search.hpp>
#include <boost/iterator/counting_iterator.hpp>
#include <boost/iterator/iterator_facade.hpp>
#include <boost/property_map/function_property_map.hpp>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>
#include <random>
#include <utility>
#include <vector>

namespace bench_grid {

constexpr int Side = GridCells;
constexpr int Queries = 1000;

struct Query {
    TCell start;
    TCell goal;
};

// Occupancy counts, x-major like the map grid, and what the walkers may do on them.
struct BenchMap : TOccupancy {
    std::vector<int> counts = std::vector<int>(Side * Side, 0);
    std::vector<Query> queries;

    bool cellFree(int x, int y) const override { return counts[x * Side + y] == 0; }
    bool onGridFree(int x, int y) const { return x >= 0 && y >= 0 && x < Side && y < Side && cellFree(x, y); }
    void block(int x0, int y0, int x1, int y1)
    {
        for (int x = std::max(x0, 0); x <= std::min(x1, Side - 1); ++x)
            for (int y = std::max(y0, 0); y <= std::min(y1, Side - 1); ++y)
                ++counts[x * Side + y];
    }
    void building(int x, int y, int size) { block(x - size / 2, y - size / 2, x - size / 2 + size - 1, y - size / 2 + size - 1); }
    // A one-cell walker's step, as CanStep rules it for size 1.
    bool canStep(int x, int y, int dx, int dy) const
    {
        const int tx = x + dx;
        const int ty = y + dy;
        if (tx < 0 || ty < 0 || tx >= Side || ty >= Side)
            return false;
        return (dx == 0 || onGridFree(tx, y)) && (dy == 0 || onGridFree(x, ty)) &&
               (dx == 0 || dy == 0 || onGridFree(tx, ty));
    }

    std::vector<TCell> reachableFrom(TCell seed) const
    {
        std::vector<char> seen(Side * Side, 0);
        std::vector<TCell> reachable{seed};
        seen[seed.x * Side + seed.y] = 1;
        for (std::size_t next = 0; next < reachable.size(); ++next) {
            const TCell c = reachable[next];
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    if ((dx || dy) && canStep(c.x, c.y, dx, dy) && !seen[(c.x + dx) * Side + c.y + dy]) {
                        seen[(c.x + dx) * Side + c.y + dy] = 1;
                        reachable.push_back({c.x + dx, c.y + dy});
                    }
        }
        return reachable;
    }

    // Long queries between cells of the largest region that reach each other.
    void makeQueries(unsigned randomSeed)
    {
        const auto freeCells = static_cast<std::size_t>(std::count(counts.begin(), counts.end(), 0));
        std::vector<TCell> reachable;
        for (int x = 8; x < Side && reachable.size() * 2 < freeCells; x += 16)
            for (int y = 8; y < Side && reachable.size() * 2 < freeCells; y += 16)
                if (onGridFree(x, y))
                    reachable = reachableFrom({x, y});
        std::mt19937 random(randomSeed);
        std::uniform_int_distribution<std::size_t> pick(0, reachable.size() - 1);
        while (queries.size() < Queries) {
            const Query q{reachable[pick(random)], reachable[pick(random)]};
            if (CellDistanceSquared(q.start, q.goal) >= 300 * 300)
                queries.push_back(q);
        }
    }
};

// Welcome: open grass, eight Standing Stones (size 8) away from the two starts.
const BenchMap& welcomeMap()
{
    static const BenchMap map = [] {
        BenchMap m;
        for (TCell stone : {TCell{60, 300}, {100, 420}, {200, 40}, {240, 240}, {260, 170}, {300, 330}, {420, 80}, {440, 250}})
            m.building(stone.x, stone.y, 8);
        m.makeQueries(1);
        return m;
    }();
    return map;
}

// Walls every 80 cells both ways make 36 rooms, each wall with a door of
// eight cells into every room it bounds; 150 buildings of sizes 8 to 16 lie
// about, some in the doors.
const BenchMap& wallsMap()
{
    static const BenchMap map = [] {
        BenchMap m;
        std::mt19937 random(2);
        std::uniform_int_distribution<int> door(4, 64);
        for (int at = 80; at < Side; at += 80)
            for (bool northSouth : {true, false}) {
                std::vector<char> open(Side, 0);
                for (int room = 0; room < Side; room += 80)
                    std::fill_n(open.begin() + room + door(random), 8, 1);
                for (int c = 0; c < Side; ++c)
                    if (!open[c]) {
                        if (northSouth)
                            m.block(at, c, at + 1, c);
                        else
                            m.block(c, at, c, at + 1);
                    }
            }
        std::uniform_int_distribution<int> cell(0, Side - 1);
        std::uniform_int_distribution<int> size(0, 2);
        for (int b = 0; b < 150; ++b)
            m.building(cell(random), cell(random), 8 + 4 * size(random));
        m.makeQueries(3);
        return m;
    }();
    return map;
}

const BenchMap& mapOf(const benchmark::State& state) { return state.range(0) == 0 ? welcomeMap() : wallsMap(); }

// Per query, the best time over the runs; then the median and the worst
// query. Times are this thread's processor time, so that other work on a
// shared machine does not count as ours.
struct QueryTimes {
    std::vector<double> best = std::vector<double>(Queries, std::numeric_limits<double>::infinity());
    static double nowMicroseconds()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
    }
    template <typename F>
    void time(int i, F&& run)
    {
        const double t0 = nowMicroseconds();
        run();
        best[i] = std::min(best[i], nowMicroseconds() - t0);
    }
    void report(benchmark::State& state)
    {
        std::vector<double> sorted = best;
        std::sort(sorted.begin(), sorted.end());
        state.counters["median_us"] = sorted[sorted.size() / 2];
        state.counters["worst_us"] = sorted.back();
    }
};

// Boost.Graph's view of the same grid: vertex x * 480 + y, an edge wherever
// a one-cell walker can step.
struct Grid8 {
    const BenchMap* map;
};
using Vertex = int;
using Edge = std::pair<int, int>;
constexpr int Dx[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
constexpr int Dy[8] = {-1, 0, 1, -1, 1, -1, 0, 1};

class OutEdgeIterator : public boost::iterator_facade<OutEdgeIterator, Edge, boost::forward_traversal_tag, Edge> {
public:
    OutEdgeIterator() = default;
    OutEdgeIterator(const BenchMap* map, Vertex v, int dir) : map_(map), v_(v), dir_(dir) { skipBlocked(); }

private:
    friend class boost::iterator_core_access;
    void increment()
    {
        ++dir_;
        skipBlocked();
    }
    bool equal(const OutEdgeIterator& other) const { return v_ == other.v_ && dir_ == other.dir_; }
    Edge dereference() const { return {v_, v_ + Dx[dir_] * Side + Dy[dir_]}; }
    void skipBlocked()
    {
        while (dir_ < 8 && !map_->canStep(v_ / Side, v_ % Side, Dx[dir_], Dy[dir_]))
            ++dir_;
    }
    const BenchMap* map_ = nullptr;
    Vertex v_ = 0;
    int dir_ = 8;
};

std::pair<OutEdgeIterator, OutEdgeIterator> out_edges(Vertex v, const Grid8& g)
{
    return {OutEdgeIterator(g.map, v, 0), OutEdgeIterator(g.map, v, 8)};
}
int out_degree(Vertex v, const Grid8& g)
{
    auto [first, last] = out_edges(v, g);
    return static_cast<int>(std::distance(first, last));
}
Vertex source(const Edge& e, const Grid8&) { return e.first; }
Vertex target(const Edge& e, const Grid8&) { return e.second; }
std::pair<boost::counting_iterator<int>, boost::counting_iterator<int>> vertices(const Grid8&)
{
    return {boost::counting_iterator<int>(0), boost::counting_iterator<int>(Side * Side)};
}
int num_vertices(const Grid8&) { return Side * Side; }

}  // namespace bench_grid

namespace boost {
template <>
struct graph_traits<bench_grid::Grid8> {
    using vertex_descriptor = int;
    using edge_descriptor = bench_grid::Edge;
    using directed_category = directed_tag;
    using edge_parallel_category = disallow_parallel_edge_tag;
    struct traversal_category : incidence_graph_tag, vertex_list_graph_tag {};
    using out_edge_iterator = bench_grid::OutEdgeIterator;
    using vertex_iterator = counting_iterator<int>;
    using degree_size_type = int;
    using vertices_size_type = int;
    using edges_size_type = int;
    static vertex_descriptor null_vertex() { return -1; }
};
}  // namespace boost

namespace bench_grid {
namespace {

void BM_AStarTastar(benchmark::State& state)
{
    const BenchMap& map = mapOf(state);
    Tastar finder;
    QueryTimes times;
    long reached = 0;
    long expanded = 0;
    for (auto _ : state)
        for (int i = 0; i < Queries; ++i) {
            const Query& q = map.queries[i];
            TMyQueue path(0);
            times.time(i, [&] { path = finder.PlanPath(map, 1, q.start, q.goal, 0); });
            expanded += finder.lastSearch().expanded;
            std::optional<TCell> last;
            while (auto cell = path.pop())
                last = cell;
            reached += last == q.goal;
        }
    times.report(state);
    state.counters["reached"] = static_cast<double>(reached) / state.iterations();
    state.counters["expanded"] = static_cast<double>(expanded) / (state.iterations() * Queries);
    state.SetLabel(state.range(0) == 0 ? "welcome" : "walls");
}
BENCHMARK(BM_AStarTastar)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

struct FoundGoal {};

struct StopAtGoal : boost::default_astar_visitor {
    Vertex goal;
    explicit StopAtGoal(Vertex g) : goal(g) {}
    void examine_vertex(Vertex v, const Grid8&)
    {
        if (v == goal)
            throw FoundGoal{};
    }
};

struct ManhattanTimesFive : boost::astar_heuristic<Grid8, int> {
    Vertex goal;
    explicit ManhattanTimesFive(Vertex g) : goal(g) {}
    int operator()(Vertex v) const { return 5 * (std::abs(v / Side - goal / Side) + std::abs(v % Side - goal % Side)); }
};

void BM_BaselineBoostAStar(benchmark::State& state)
{
    const BenchMap& map = mapOf(state);
    const Grid8 graph{&map};
    std::vector<Vertex> predecessor(Side * Side);
    std::vector<int> cost(Side * Side);
    std::vector<int> distance(Side * Side);
    std::vector<boost::default_color_type> color(Side * Side);
    const auto weight = boost::make_function_property_map<Edge, int>(
        [](const Edge& e) { return (e.first / Side != e.second / Side && e.first % Side != e.second % Side) ? 7 : 5; });
    QueryTimes times;
    long reached = 0;
    for (auto _ : state)
        for (int i = 0; i < Queries; ++i) {
            const Query& q = map.queries[i];
            const Vertex start = q.start.x * Side + q.start.y;
            const Vertex goal = q.goal.x * Side + q.goal.y;
            times.time(i, [&] {
                try {
                    boost::astar_search(graph, start, ManhattanTimesFive(goal), StopAtGoal(goal), predecessor.data(),
                                        cost.data(), distance.data(), weight, boost::typed_identity_property_map<int>(),
                                        color.data(), std::less<int>(), boost::closed_plus<int>(),
                                        std::numeric_limits<int>::max(), 0);
                } catch (const FoundGoal&) {
                    ++reached;
                }
            });
        }
    times.report(state);
    state.counters["reached"] = static_cast<double>(reached) / state.iterations();
    state.SetLabel(state.range(0) == 0 ? "welcome" : "walls");
}
BENCHMARK(BM_BaselineBoostAStar)->Arg(0)->Arg(1)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench_grid
