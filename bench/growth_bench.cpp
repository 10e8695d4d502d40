// What lengthening the work arrays costs: the same whole job (the unit square at a uniform size,
// sizes given at its corners, the mesh written) started on the program's own lengths, which it
// outgrows, and started on arrays long enough from the start. Sizes: just past what the
// program's own lengths hold (the worst case: a whole run abandoned), and 2.2 million triangles.
#include "driver/driver.hpp"
#include "messages/es_chaine.hpp"
#include "shell/shell.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

/// Writes the square and its sizes into the temporary directory; the two file names.
void writeJob(double h, std::string& geometry, std::string& sizes)
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder = tmp != nullptr ? tmp : "/tmp";
    geometry = folder + "/tesmo_growth_square.geo";
    sizes = folder + "/tesmo_growth_square.grd";
    std::ofstream(geometry) << "DEBXYZ\n4 2\n0. 0.\n1. 0.\n1. 1.\n0. 1.\nFINXYZ\nDEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n";
    std::ofstream(sizes) << "DEBGRD\n4 1\n1 " << h << "\n2 " << h << "\n3 " << h << "\n4 " << h << "\nFINGRD\n";
}

/// One job of size h, on arrays from `scale` times the program's lengths.
void BM_Job(benchmark::State& state, double h, double scale)
{
    std::string geometry;
    std::string sizes;
    writeJob(h, geometry, sizes);
    const std::string mesh = geometry + ".msh";
    tesmo::mginit2(0);
    tesmo::ArraySizing sizing;
    sizing.baseIntegers = int32_t(double(sizing.baseIntegers) * scale);
    sizing.baseReals = int32_t(double(sizing.baseReals) * scale);
    if (tesmo::memoryLimit(nullptr, sizing) != tesmo::kOk) {
        state.SkipWithError("memory limit");
        return;
    }
    for (auto _ : state) {
        if (tesmo::generateGrowing(geometry, sizes, mesh, "", -1, sizing, 0) != tesmo::kOk) {
            state.SkipWithError("the run failed");
        }
    }
    std::remove(mesh.c_str());
}

} // namespace

// just past the program's own lengths (about 380 000 triangles)
BENCHMARK_CAPTURE(BM_Job, outgrown_380k, 0.00243, 1.0)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Job, long_enough_380k, 0.00243, 4.0)->Unit(benchmark::kMillisecond)->Iterations(3);
// 2.2 million triangles
BENCHMARK_CAPTURE(BM_Job, outgrown_2200k, 0.001, 1.0)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Job, long_enough_2200k, 0.001, 20.0)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
