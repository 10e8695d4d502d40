// Polygon triangulation of best smallest quality: convex polygons of growing size (points on a
// circle, where many triangulations come close to the best and the search has the most to
// prune), then the recovery of the edge across a strip of N squares in a row (N = 200, 400,
// 800: 2 N crossed triangles), whose two cavity polygons of N + 2 vertices hold a run of
// N + 1 collinear nodes each.
#include "topology/topology.hpp"
#include "triangulation/m3_respect.hpp"
#include "triangulation/m3_tripo.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

/// n points counter-clockwise on the unit circle: evenly spaced, or at sorted random angles.
std::vector<float> circlePoints(int32_t n, bool regular)
{
    std::mt19937 random(2024);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> angles(static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) {
        angles[std::size_t(i)] = 6.2831855f * (regular ? float(i) / float(n) : unit(random));
    }
    std::sort(angles.begin(), angles.end());
    std::vector<float> xy;
    for (const float angle : angles) {
        xy.push_back(std::cos(angle));
        xy.push_back(std::sin(angle));
    }
    return xy;
}

void convexPolygon(benchmark::State& state, bool regular)
{
    const int32_t n = int32_t(state.range(0));
    const std::vector<float> xy = circlePoints(n, regular);
    std::vector<int32_t> polygon(static_cast<std::size_t>(n));
    std::iota(polygon.begin(), polygon.end(), 1);
    int64_t integers = 0;
    int64_t reals = 0;
    tesmo::trpls2Need(n, integers, reals);
    std::vector<int32_t> iwork(static_cast<std::size_t>(integers), 0);
    std::vector<float> rwork(static_cast<std::size_t>(reals), 0.0f);
    float best = 0.0f;
    for (auto _ : state) {
        const int code = tesmo::trpls2(tesmo::Vec<const int32_t>(polygon.data(), n),
                                       tesmo::Rows<const float>(xy.data(), 2, n),
                                       tesmo::Vec<int32_t>(iwork.data(), int32_t(iwork.size())),
                                       tesmo::Vec<float>(rwork.data(), int32_t(rwork.size())), best);
        if (code != tesmo::kOk) {
            state.SkipWithError("trpls2 failed");
            break;
        }
        benchmark::DoNotOptimize(iwork.data());
    }
    state.counters["vertices"] = double(n);
    state.counters["best"] = double(best);
}

void BM_Trpls2RegularPolygon(benchmark::State& state) { convexPolygon(state, true); }
void BM_Trpls2RandomConvexPolygon(benchmark::State& state) { convexPolygon(state, false); }

/// The strip of N squares between y = 0 and y = 1, each cut by its falling diagonal; node
/// (i, j) is j (N + 1) + i + 1. The edge from (0, 0) to (N, 1) crosses all 2 N triangles.
struct Strip {
    explicit Strip(int32_t squares) : N(squares)
    {
        nodeCount = 2 * (N + 1);
        NBE = 2 * N;
        for (int32_t j = 0; j <= 1; ++j) {
            for (int32_t i = 0; i <= N; ++i) {
                coord.push_back(float(i));
                coord.push_back(float(j));
            }
        }
        for (int32_t i = 0; i < N; ++i) {
            const int32_t lowLeft = node(i, 0), lowRight = node(i + 1, 0);
            const int32_t highLeft = node(i, 1), highRight = node(i + 1, 1);
            nodes.insert(nodes.end(), {lowLeft, lowRight, highLeft, lowRight, highRight, highLeft});
        }
        neighbours.assign(nodes.size(), 0);
        noetri.assign(std::size_t(nodeCount), 0);
        std::vector<int32_t> work(std::size_t(4 * NBE + 2 * nodeCount), 0);
        const tesmo::Rows<int32_t> ITRNOE(nodes.data(), 3, NBE);
        if (tesmo::smacre(2, ITRNOE, NBE, nodeCount, ITRNOE, tesmo::Rows<int32_t>(neighbours.data(), 3, NBE),
                          tesmo::Vec<int32_t>(noetri.data(), nodeCount),
                          tesmo::Vec<int32_t>(work.data(), int32_t(work.size()))) != tesmo::kOk) {
            nodes.clear();
        }
        // rf2rar: the crossed list, rf2far's own 14 k + 19 and the polygon search of k + 1
        const int32_t k = NBE;
        int64_t integers = 0;
        int64_t reals = 0;
        tesmo::trpls2Need(k + 1, integers, reals);
        iwork.assign(std::size_t(int64_t(k) + 14 * int64_t(k) + 19 + integers), 0);
        rwork.assign(std::size_t(reals), 0.0f);
    }
    int32_t node(int32_t i, int32_t j) const { return j * (N + 1) + i + 1; }
    int32_t N;
    int32_t nodeCount = 0;
    int32_t NBE = 0;
    std::vector<float> coord;
    std::vector<int32_t> nodes;
    std::vector<int32_t> neighbours;
    std::vector<int32_t> noetri;
    std::vector<int32_t> iwork;
    std::vector<float> rwork;
};

void BM_Rf2rarStrip(benchmark::State& state)
{
    const Strip strip(int32_t(state.range(0)) / 2);
    if (strip.nodes.empty()) {
        state.SkipWithError("smacre failed");
        return;
    }
    Strip mesh = strip;
    const int32_t edge[2] = {strip.node(0, 0), strip.node(strip.N, 1)};
    int32_t crossed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        mesh.nodes = strip.nodes;
        mesh.neighbours = strip.neighbours;
        mesh.noetri = strip.noetri;
        state.ResumeTiming();
        const int code = tesmo::rf2rar(
            tesmo::Vec<const int32_t>(edge, 2), tesmo::Rows<int32_t>(mesh.nodes.data(), 3, mesh.NBE),
            tesmo::Rows<int32_t>(mesh.neighbours.data(), 3, mesh.NBE), tesmo::Vec<int32_t>(mesh.noetri.data(), mesh.nodeCount),
            mesh.NBE, tesmo::Rows<const float>(mesh.coord.data(), 2, mesh.nodeCount),
            tesmo::Vec<int32_t>(mesh.iwork.data(), int32_t(mesh.iwork.size())),
            tesmo::Vec<float>(mesh.rwork.data(), int32_t(mesh.rwork.size())), crossed);
        if (code != tesmo::kOk) {
            state.SkipWithError("rf2rar failed");
            break;
        }
        benchmark::DoNotOptimize(mesh.nodes.data());
    }
    state.counters["crossed"] = double(crossed);
}

} // namespace

BENCHMARK(BM_Trpls2RegularPolygon)->Arg(16)->Arg(24)->Arg(32)->Arg(48)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trpls2RandomConvexPolygon)->Arg(16)->Arg(24)->Arg(32)->Arg(48)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rf2rarStrip)->Arg(400)->Arg(800)->Arg(1600)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
