// Reading a large geometry file: one million points in the plane and a hundred borders of
// ten thousand points each (intervals), in the counting pass and in the filling pass.
#include "files/es_geometrie.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int32_t kPoints = 1000000;
constexpr int32_t kBorderLength = 10000;

/// Writes the geometry once into a temporary directory and answers its name.
const std::string& largeGeometry()
{
    static const std::string name = [] {
        const auto path = std::filesystem::temp_directory_path() / "tesmo_litfrt_bench.geo";
        std::FILE* f = std::fopen(path.c_str(), "w");
        std::fprintf(f, "* a million points on a 1000 x 1000 grid\nDEBXYZ\n%d 2\n", kPoints);
        for (int32_t k = 0; k < kPoints; ++k) {
            std::fprintf(f, " %.9G %.9G\n", double(float(k % 1000) * 0.125f), double(float(k / 1000) * 0.125f));
        }
        std::fprintf(f, "FINXYZ\nDEBILM\n%d\n", kPoints / kBorderLength);
        for (int32_t first = 1; first <= kPoints; first += kBorderLength) {
            std::fprintf(f, "-3 %d %d 1 100 2 %d 0\n", first, first + kBorderLength - 1, 1 + first / 300000);
        }
        std::fprintf(f, "FINILM\n");
        std::fclose(f);
        return path.string();
    }();
    return name;
}

void countingPass(benchmark::State& state)
{
    const std::string& name = largeGeometry();
    std::vector<int32_t> zones(16);
    for (auto _ : state) {
        tesmo::GeometrySizes sizes;
        const tesmo::GeometryTables tables{tesmo::Vec<float>(), tesmo::Vec<int32_t>(),
                                           tesmo::Vec<int32_t>(zones.data(), 16), tesmo::Vec<int32_t>()};
        if (tesmo::litfrt(0, name, tables, sizes) != tesmo::kOk || sizes.npts != kPoints) {
            state.SkipWithError("counting pass failed");
        }
        benchmark::DoNotOptimize(sizes);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void fillingPass(benchmark::State& state)
{
    const std::string& name = largeGeometry();
    const int32_t edges = kPoints - kPoints / kBorderLength;
    std::vector<float> coordinates(std::size_t(2) * kPoints);
    std::vector<int32_t> edgeNodes(std::size_t(2) * std::size_t(edges));
    std::vector<int32_t> zones(16);
    std::vector<int32_t> edgeCodes(std::size_t(2) * std::size_t(edges));
    for (auto _ : state) {
        tesmo::GeometrySizes sizes;
        sizes.dimension = 2;
        sizes.nodesPerElement = 2;
        sizes.codesPerEdge = 2;
        const tesmo::GeometryTables tables{
            tesmo::Vec<float>(coordinates.data(), int32_t(coordinates.size())),
            tesmo::Vec<int32_t>(edgeNodes.data(), int32_t(edgeNodes.size())), tesmo::Vec<int32_t>(zones.data(), 16),
            tesmo::Vec<int32_t>(edgeCodes.data(), int32_t(edgeCodes.size()))};
        if (tesmo::litfrt(1, name, tables, sizes) != tesmo::kOk || sizes.ne != edges) {
            state.SkipWithError("filling pass failed");
        }
        benchmark::DoNotOptimize(edgeNodes.data());
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

BENCHMARK(countingPass)->Unit(benchmark::kMillisecond);
BENCHMARK(fillingPass)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
