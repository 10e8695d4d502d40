// Delaunay triangulation of point sets of growing size: points on a circle and on the border
// of a 100 x 60 rectangle, both in border order (as the border nodes of a zone arrive), and
// random points in a square. Each case reports its time and the points per second.
//
// The rectangle is the hard case of insertion in border order: each node of the last sides
// replaces a fan of long slivers reaching back to the first side, so cavities grow with the
// number of nodes and the time grows as its square.
#include "triangulation/d2_delaunay.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

enum class Layout { kCircleInOrder, kRectangleInOrder, kRandomSquare };

std::vector<float> points(Layout layout, int32_t J)
{
    std::vector<float> coord;
    coord.reserve(std::size_t(2) * std::size_t(J));
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> uniform(0.0f, 100.0f);
    for (int32_t i = 0; i < J; ++i) {
        const float t = float(i) / float(J);
        switch (layout) {
        case Layout::kCircleInOrder:
            coord.push_back(50.0f + 40.0f * std::cos(6.2831855f * t));
            coord.push_back(50.0f + 40.0f * std::sin(6.2831855f * t));
            break;
        case Layout::kRectangleInOrder: {
            // the border walked once, side after side
            const float s = 4.0f * t;
            const int side = int(s);
            const float u = s - float(side);
            const float xs[5] = {0.0f, 100.0f, 100.0f, 0.0f, 0.0f};
            const float ys[5] = {0.0f, 0.0f, 60.0f, 60.0f, 0.0f};
            coord.push_back(xs[side] + u * (xs[side + 1] - xs[side]));
            coord.push_back(ys[side] + u * (ys[side + 1] - ys[side]));
            break;
        }
        case Layout::kRandomSquare:
            coord.push_back(uniform(random));
            coord.push_back(uniform(random));
            break;
        }
    }
    return coord;
}

void triangulate(benchmark::State& state, Layout layout)
{
    const int32_t J = int32_t(state.range(0));
    const std::vector<float> coord = points(layout, J);
    const int64_t elements = tesmo::trnupoElements(J);
    std::vector<int32_t> nodes(std::size_t(3 * elements)), neighbours(std::size_t(3 * elements));
    std::vector<int32_t> noetri(std::size_t(J) + 50), work(std::size_t(9) * std::size_t(J) + 310);
    std::vector<float> reals(std::size_t(tesmo::trnupoReals(J)));
    int32_t NBE = 0;
    for (auto _ : state) {
        const int code = tesmo::trnupo(tesmo::Rows<const float>(coord.data(), 2, J), J,
                                       tesmo::Rows<int32_t>(nodes.data(), 3, int32_t(elements)),
                                       tesmo::Rows<int32_t>(neighbours.data(), 3, int32_t(elements)),
                                       tesmo::Vec<int32_t>(noetri.data(), int32_t(noetri.size())), NBE,
                                       tesmo::Vec<int32_t>(work.data(), int32_t(work.size())),
                                       tesmo::Vec<float>(reals.data(), int32_t(reals.size())));
        if (code != tesmo::kOk) {
            state.SkipWithError("trnupo failed");
            break;
        }
        benchmark::DoNotOptimize(nodes.data());
    }
    state.SetItemsProcessed(state.iterations() * J);
    state.counters["triangles"] = double(NBE);
}

void BM_TrnupoCircleInOrder(benchmark::State& state) { triangulate(state, Layout::kCircleInOrder); }
void BM_TrnupoRectangleInOrder(benchmark::State& state) { triangulate(state, Layout::kRectangleInOrder); }
void BM_TrnupoRandomSquare(benchmark::State& state) { triangulate(state, Layout::kRandomSquare); }

} // namespace

BENCHMARK(BM_TrnupoCircleInOrder)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrnupoRectangleInOrder)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrnupoRandomSquare)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
