// Neighbour building of grid triangulations: n by n squares, each cut by a diagonal that
// alternates from square to square, so that node degrees are those of a real mesh.
#include "topology/topology.hpp"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace {

struct GridMesh {
    explicit GridMesh(int32_t n)
    {
        nodeCount = (n + 1) * (n + 1);
        triangleCount = 2 * n * n;
        nodes.reserve(std::size_t(3) * std::size_t(triangleCount));
        auto node = [n](int32_t i, int32_t j) { return j * (n + 1) + i + 1; };
        for (int32_t j = 0; j < n; ++j) {
            for (int32_t i = 0; i < n; ++i) {
                const int32_t a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
                const bool rising = (i + j) % 2 == 0;
                const int32_t first[] = {a, b, rising ? c : d};
                const int32_t second[] = {rising ? a : b, c, d};
                nodes.insert(nodes.end(), first, first + 3);
                nodes.insert(nodes.end(), second, second + 3);
            }
        }
        neighbours.assign(nodes.size(), 0);
        noetri.assign(std::size_t(nodeCount), 0);
        // the planned work of a zone: a few integers per element and per node
        work.assign(std::size_t(4) * std::size_t(triangleCount) + std::size_t(2) * std::size_t(nodeCount), 0);
    }
    int32_t nodeCount = 0;
    int32_t triangleCount = 0;
    std::vector<int32_t> nodes;
    std::vector<int32_t> neighbours;
    std::vector<int32_t> noetri;
    std::vector<int32_t> work;
};

void BM_SmacreGrid(benchmark::State& state)
{
    GridMesh mesh(int32_t(state.range(0)));
    const tesmo::Rows<int32_t> ITRNOE(mesh.nodes.data(), 3, mesh.triangleCount);
    const tesmo::Rows<int32_t> ITRTRI(mesh.neighbours.data(), 3, mesh.triangleCount);
    const tesmo::Vec<int32_t> NOETRI(mesh.noetri.data(), mesh.nodeCount);
    const tesmo::Vec<int32_t> work(mesh.work.data(), int32_t(mesh.work.size()));
    for (auto _ : state) {
        const int code = tesmo::smacre(2, ITRNOE, mesh.triangleCount, mesh.nodeCount, ITRNOE, ITRTRI, NOETRI, work);
        if (code != tesmo::kOk) {
            state.SkipWithError("smacre failed");
            break;
        }
        benchmark::DoNotOptimize(mesh.neighbours.data());
    }
    state.SetItemsProcessed(state.iterations() * mesh.triangleCount);
    state.counters["triangles"] = double(mesh.triangleCount);
}

} // namespace

// 2 n^2 triangles: 20 000, 200 000 and about one million
BENCHMARK(BM_SmacreGrid)->Arg(100)->Arg(316)->Arg(708)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
