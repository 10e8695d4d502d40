// The worst-element heap against the plain scan right after it is built, and against a sorted
// reference through updates, row exchanges and departures.
#include "refinement/rf_raf3d.hpp"
#include "refinement/rf_worst.hpp"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

namespace tesmo {
namespace {

/// A circle table of n element rows (circle vector, ratio) and the heap over it.
struct Ratios {
    explicit Ratios(int32_t n)
        : count(n), table(std::size_t(3 * n), 0.0f), nodes(std::size_t(3 * n), 0),
          storage(std::size_t(WorstElements::storageNeeded(n)), 0.0f),
          heap(circles(), 3, Vec<float>(storage.data(), int32_t(storage.size())))
    {
    }
    Rows<const float> circles() const { return Rows<const float>(table.data(), 3, count); }
    float& ratio(int32_t e) { return table[std::size_t(3 * e - 1)]; }
    /// The element the plain scan selects, 0 when its ratio is above 2/3.
    int32_t scanned() const
    {
        float candidate[2] = {};
        float ratio = 0.0f;
        const int32_t e = rfrech(2, Rows<const int32_t>(nodes.data(), 3, count), count, Rows<const float>(),
                                 circles(), candidate, ratio);
        return wantsRefining(ratio) ? e : 0;
    }

    int32_t count;
    std::vector<float> table;
    std::vector<int32_t> nodes; ///< no node: the scan leaves the candidate alone
    std::vector<float> storage;
    WorstElements heap;
};

TEST(WorstElements, RightAfterItsBuildTheHeapChoosesAsTheScan)
{
    // every heap size up to 40 (every filling of the last parent's four children), with elements
    // left out above 2/3 and ties: the smallest key is the last entry, under the last parent,
    // which only a build starting from that parent raises to the top
    std::mt19937 random(17);
    std::uniform_int_distribution<int> level(1, 12);
    for (int32_t n = 1; n <= 40; ++n) {
        for (int trial = 0; trial < 4; ++trial) {
            Ratios ratios(n);
            int32_t last = 0;
            for (int32_t e = 1; e <= n; ++e) {
                ratios.ratio(e) = trial > 1 && level(random) > 10 ? 0.9f : 0.05f * float(level(random));
                last = wantsRefining(ratios.ratio(e)) ? e : last;
            }
            if (last != 0) {
                ratios.ratio(last) = trial % 2 == 0 ? 0.01f : 0.05f; // the smallest, or tied with others
            }
            ratios.heap.build(n);
            EXPECT_EQ(ratios.heap.worst(), ratios.scanned()) << n << " elements, trial " << trial;
        }
    }
}

TEST(WorstElements, FollowsUpdatesExchangesAndDeparturesAsASortedReference)
{
    // keys (ratio, element) from a few ratios, so that ties are common; each row's membership
    // travels with it when rows are exchanged
    std::mt19937 random(29);
    const int32_t n = 200;
    std::uniform_int_distribution<int32_t> any(1, n);
    std::uniform_int_distribution<int> level(1, 16);
    Ratios ratios(n);
    std::set<std::pair<float, int32_t>> reference;
    std::vector<bool> member(std::size_t(n + 1), false);
    const auto draw = [&] { return 0.05f * float(level(random)); }; // up to 0.8: some left out
    const auto enter = [&](int32_t e) {
        member[std::size_t(e)] = wantsRefining(ratios.ratio(e));
        if (member[std::size_t(e)]) {
            reference.insert({ratios.ratio(e), e});
        }
    };
    const auto quit = [&](int32_t e) {
        reference.erase({ratios.ratio(e), e});
        member[std::size_t(e)] = false;
    };
    for (int32_t e = 1; e <= n; ++e) {
        ratios.ratio(e) = draw();
        enter(e);
    }
    ratios.heap.build(n);
    for (int step = 0; step < 4000; ++step) {
        const int32_t a = any(random);
        const int32_t b = any(random);
        const int kind = step % 3;
        if (kind == 0) {
            quit(a);
            ratios.ratio(a) = draw();
            ratios.heap.update(a);
            enter(a);
        } else if (kind == 1 && a != b) {
            const bool inA = member[std::size_t(a)];
            const bool inB = member[std::size_t(b)];
            quit(a);
            quit(b);
            std::swap(ratios.ratio(a), ratios.ratio(b));
            ratios.heap.exchanged(a, b);
            if (inB) {
                enter(a);
            }
            if (inA) {
                enter(b);
            }
        } else if (kind == 2) {
            quit(a);
            ratios.heap.leave(a);
        }
        const int32_t expected = reference.empty() ? 0 : reference.begin()->second;
        ASSERT_EQ(ratios.heap.worst(), expected) << "step " << step;
        ASSERT_EQ(ratios.heap.size(), int32_t(reference.size())) << "step " << step;
    }
    // emptied from the top, in the reference's order
    for (const auto& [ratio, e] : std::vector<std::pair<float, int32_t>>(reference.begin(), reference.end())) {
        ASSERT_EQ(ratios.heap.worst(), e) << ratio;
        ratios.heap.leave(e);
    }
    EXPECT_EQ(ratios.heap.worst(), 0);
}

} // namespace
} // namespace tesmo
