// Cutting borders by the wanted size: one straight border cut into about n edges by the
// iterative method (the worst edge halved again and again) and by the direct method; and the
// default sizes along a chain of n edges whose one short edge at the end makes the sizes
// travel back over the whole chain, one edge per sweep.
#include "boundary/boundary.hpp"
#include "files/es_densite.hpp"
#include "size/size.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

using tesmo::BorderMesh;
using tesmo::Rows;
using tesmo::Vec;

/// A border of `points` points along the x axis (edges between consecutive points), with room
/// for `capacity` nodes and edges, and the work tables of the refinement.
struct Line {
    Line(const std::vector<float>& x, int32_t capacity)
        : coordinates(std::size_t(2) * std::size_t(capacity), 0.0f), edges(std::size_t(2) * std::size_t(capacity), 0),
          codes(std::size_t(2) * std::size_t(capacity), 0), sizes(std::size_t(capacity), 1.0f),
          reals(std::size_t(2) * std::size_t(capacity), 0.0f), integers(std::size_t(8) * std::size_t(capacity), 0)
    {
        const int32_t n = int32_t(x.size());
        for (int32_t k = 0; k < n; ++k) {
            coordinates[std::size_t(2 * k)] = x[std::size_t(k)];
        }
        for (int32_t e = 1; e < n; ++e) {
            edges[std::size_t(2 * e - 2)] = e;
            edges[std::size_t(2 * e - 1)] = e + 1;
        }
        mesh.edges = Rows<int32_t>(edges.data(), 2, capacity);
        mesh.edgeCount = n - 1;
        mesh.attributes = Rows<int32_t>(codes.data(), 2, capacity);
        mesh.coordinates = Rows<float>(coordinates.data(), 2, capacity);
        mesh.nodeCount = n;
        density = tesmo::DensityRecords{{}, 0, Vec<float>(sizes.data(), capacity), n, 1};
    }
    std::vector<float> coordinates;
    std::vector<int32_t> edges;
    std::vector<int32_t> codes;
    std::vector<float> sizes;
    std::vector<float> reals;
    std::vector<int32_t> integers;
    BorderMesh mesh;
    tesmo::DensityRecords density;
};

/// One edge of length 0.76 n with size 1 at both ends: halved down to edges of 0.76, about n
/// edges in all (a power of 2).
void BM_IterativeCutting(benchmark::State& state)
{
    const int32_t n = int32_t(state.range(0));
    const std::vector<float> ends{0.0f, 0.76f * float(n)};
    int32_t edges = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Line line(ends, 2 * n + 2);
        state.ResumeTiming();
        const int code = tesmo::r1raff(tesmo::kSizesAtPoints, tesmo::kIterativeCutting, line.mesh, tesmo::dnchpo,
                                       line.density, {}, Vec<float>(line.reals.data(), int32_t(line.reals.size())),
                                       Vec<int32_t>(line.integers.data(), int32_t(line.integers.size())));
        if (code != tesmo::kOk) {
            state.SkipWithError("r1raff failed");
            break;
        }
        edges = line.mesh.edgeCount;
    }
    state.SetItemsProcessed(state.iterations() * edges);
    state.counters["edges"] = double(edges);
}

/// The same edge of length n cut at once into n edges of size 1.
void BM_DirectCutting(benchmark::State& state)
{
    const int32_t n = int32_t(state.range(0));
    const std::vector<float> ends{0.0f, float(n)};
    int32_t edges = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Line line(ends, n + 2);
        state.ResumeTiming();
        const int code = tesmo::r1raff(tesmo::kSizesAtPoints, tesmo::kDirectCutting, line.mesh, tesmo::dnchpo,
                                       line.density, Vec<float>(line.reals.data(), int32_t(line.reals.size())), {}, {});
        if (code != tesmo::kOk) {
            state.SkipWithError("r1raff failed");
            break;
        }
        edges = line.mesh.edgeCount;
    }
    state.SetItemsProcessed(state.iterations() * edges);
    state.counters["edges"] = double(edges);
}

/// Default sizes on a chain of n edges of length 1 with one of 0.01 next to its end, with a
/// ratio of 1: the small size travels back over the whole chain, one edge per sweep (n sweeps).
void BM_DefaultSizesOfAChain(benchmark::State& state)
{
    const int32_t n = int32_t(state.range(0));
    std::vector<float> x;
    for (int32_t k = 0; k < n; ++k) {
        x.push_back(float(k));
    }
    x.push_back(float(n - 1) + 0.01f);
    x.push_back(float(n) + 0.01f);
    Line line(x, n + 2);
    float first = 0.0f;
    for (auto _ : state) {
        const int code = tesmo::d1dsln(tesmo::kGeometricProgression, 1.0f, line.mesh.edgeRows(), line.mesh.nodeRows(),
                                       Vec<float>(line.sizes.data(), line.mesh.nodeCount),
                                       Vec<int32_t>(line.integers.data(), int32_t(line.integers.size())));
        if (code != tesmo::kOk) {
            state.SkipWithError("d1dsln failed");
            break;
        }
        first = line.sizes[0];
    }
    state.SetItemsProcessed(state.iterations() * n);
    state.counters["edges"] = double(n);
    state.counters["size at 1"] = double(first);
}

} // namespace

BENCHMARK(BM_IterativeCutting)->Arg(1 << 14)->Arg(1 << 17)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectCutting)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefaultSizesOfAChain)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
