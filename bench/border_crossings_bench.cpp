// The check that zones neither cross nor overlap, on borders of growing size: a comb whose
// long teeth all stand side by side across the sweep, a grid of square zones whose sides are
// shared, and a star polygon of random radii. Time per edge should grow like log n.
#include "driver/border_crossings.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

/// Borders of a benchmark: points, edges (two points each) with two zone codes, the zones.
struct Borders {
    std::vector<float> xy;
    std::vector<int32_t> nodes;
    std::vector<int32_t> codes;
    std::vector<int32_t> zones;
    std::vector<int32_t> work;
    std::vector<float> reals;

    int32_t point(float x, float y)
    {
        xy.push_back(x);
        xy.push_back(y);
        return int32_t(xy.size() / 2);
    }
    void edge(int32_t a, int32_t b, int32_t z1, int32_t z2)
    {
        nodes.insert(nodes.end(), {a, b});
        codes.insert(codes.end(), {z1, z2});
    }
    /// A closed loop through the points of `ids`, bounding zone 1.
    void loop(const std::vector<int32_t>& ids)
    {
        for (std::size_t i = 0; i < ids.size(); ++i) {
            edge(ids[i], ids[(i + 1) % ids.size()], 1, 0);
        }
        zones = {1};
    }
    int32_t edges() const { return int32_t(nodes.size() / 2); }
    /// The work arrays, as long as the check needs for these borders.
    void prepare()
    {
        work.assign(std::size_t(24) * nodes.size() + 64, 0);
        reals.assign(std::size_t(4) * nodes.size() + 64, 0.0f);
    }
    int check()
    {
        const tesmo::BorderLayout layout{tesmo::Rows<const int32_t>(nodes.data(), 2, edges()),
                                         tesmo::Rows<const int32_t>(codes.data(), 2, edges()),
                                         tesmo::Rows<const float>(xy.data(), 2, int32_t(xy.size() / 2)),
                                         tesmo::Vec<const int32_t>(zones.data(), int32_t(zones.size()))};
        tesmo::GeometryFault fault;
        return tesmo::checkBorderCrossings(layout, tesmo::Vec<int32_t>(work.data(), int32_t(work.size())),
                                           tesmo::Vec<float>(reals.data(), int32_t(reals.size())), fault);
    }
};

/// A comb of about n / 4 teeth of height 1000 on a base, one zone.
Borders comb(int32_t n)
{
    Borders b;
    const int32_t teeth = n / 4;
    std::vector<int32_t> ids{b.point(0, 0), b.point(float(2 * teeth), 0)};
    for (int32_t t = teeth; t >= 1; --t) {
        const float right = float(2 * t);
        ids.push_back(b.point(right, 1000));
        ids.push_back(b.point(right - 1, 1000));
        ids.push_back(b.point(right - 1, 1));
        if (t > 1) {
            ids.push_back(b.point(right - 2, 1));
        }
    }
    b.loop(ids);
    return b;
}

/// A grid of about n / 2 square zones: each shared side listed once with both zones.
Borders grid(int32_t n)
{
    Borders b;
    const int32_t m = int32_t(std::sqrt(double(n) / 2.0));
    const auto id = [m](int32_t i, int32_t j) { return j * (m + 1) + i + 1; };
    for (int32_t j = 0; j <= m; ++j) {
        for (int32_t i = 0; i <= m; ++i) {
            b.point(float(i), float(j));
        }
    }
    const auto zone = [m](int32_t i, int32_t j) { return i < 0 || j < 0 || i >= m || j >= m ? 0 : j * m + i + 1; };
    for (int32_t j = 0; j <= m; ++j) {
        for (int32_t i = 0; i <= m; ++i) {
            if (i < m) {
                b.edge(id(i, j), id(i + 1, j), zone(i, j), zone(i, j - 1));
            }
            if (j < m) {
                b.edge(id(i, j), id(i, j + 1), zone(i, j), zone(i - 1, j));
            }
        }
    }
    for (int32_t z = 1; z <= m * m; ++z) {
        b.zones.push_back(z);
    }
    return b;
}

/// A star polygon of n points at random radii, one zone.
Borders star(int32_t n)
{
    Borders b;
    std::vector<int32_t> ids;
    uint64_t state = 12345;
    for (int32_t i = 0; i < n; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double radius = 100.0 + double(state >> 40) / double(1ULL << 24) * 100.0;
        const double angle = 2.0 * 3.14159265358979323846 * double(i) / double(n);
        ids.push_back(b.point(float(radius * std::cos(angle)), float(radius * std::sin(angle))));
    }
    b.loop(ids);
    return b;
}

template <Borders (*Draw)(int32_t)>
void BM_BorderCrossings(benchmark::State& state)
{
    Borders borders = Draw(int32_t(state.range(0)));
    borders.prepare();
    for (auto _ : state) {
        if (borders.check() != tesmo::kOk) {
            state.SkipWithError("valid borders refused");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * borders.edges());
    state.counters["edges"] = double(borders.edges());
    state.counters["ns_per_edge"] = benchmark::Counter(double(borders.edges()) * double(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK_TEMPLATE(BM_BorderCrossings, comb)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_BorderCrossings, grid)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_BorderCrossings, star)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
