#include "topology/st_struct.hpp"

#include "topology/st_3dstruct.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using V = std::vector<int32_t>;

V items(const LocalSet& set) { return {set.item, set.item + set.count}; }

/// Local numbers from strksf (faceNodes) or strkfs, -1 on failure.
V query(bool faceNodes, int32_t d, int32_t n, int32_t k)
{
    LocalSet set;
    const int code = faceNodes ? strksf(d, n, k, set) : strkfs(d, k, n, set);
    return code == kOk ? items(set) : V{-1};
}

TEST(FaceQueries, CountsAndConventions)
{
    stinit();
    const int32_t rows[] = {4, 5, 6, 0, 0, 7, 0, 0};
    EXPECT_EQ(strnbn(1, Rows<const int32_t>(rows, 4, 2)), 3);
    EXPECT_EQ(strnbn(2, Rows<const int32_t>(rows, 4, 2)), 0);
    EXPECT_EQ(strnbn(3, Rows<const int32_t>(rows, 4, 2)), -1);
    // (node count, dimension) -> face count; -1 for unknown solids and dimensions
    const int32_t cases[][3] = {{2, 1, 2}, {4, 2, 4}, {0, 3, 0}, {4, 3, 4}, {5, 3, 5}, {6, 3, 6}, {8, 3, 6},
                                {1, 3, -1}, {3, 3, -1}, {7, 3, -1}, {3, 4, -1}, {-1, 2, -1}};
    for (const auto& c : cases) {
        int32_t faces = 0;
        EXPECT_EQ(strnbc(c[0], c[1], faces) == kOk ? faces : -1, c[2]) << c[0] << " " << c[1];
    }
    EXPECT_EQ(query(true, 2, 3, 3), (V{3, 1}));
    EXPECT_EQ(query(true, 1, 2, 2), (V{2}));
    EXPECT_EQ(query(false, 2, 4, 1), (V{4, 1}));
    EXPECT_EQ(query(false, 2, 4, 3), (V{2, 3}));
    EXPECT_EQ(query(true, 3, 4, 1), (V{2, 4, 3}));
    EXPECT_EQ(query(false, 3, 4, 1), (V{2, 4, 3}));
    EXPECT_EQ(query(true, 3, 8, 6), (V{5, 8, 7, 6}));
    EXPECT_EQ(query(false, 3, 8, 7), (V{4, 6, 3}));
    for (const auto& bad : {V{1, 2, 3, 4}, V{0, 2, 3, 0}, V{1, 5, 3, 1}, V{1, 3, 6, 1}, V{0, 3, 5, 1}, V{1, 3, 4, 5}}) {
        EXPECT_EQ(query(bad[0] == 1, bad[1], bad[2], bad[3]), V{-1});
    }
    EXPECT_EQ(V({stfasu(2, 3, 1), stfasu(2, 3, 3), stfasu(2, 4, 1), stfasu(3, 4, 1, 2), stfasu(3, 4, 3, 4)}), (V{3, 2, 4, 3, 1}));
    EXPECT_EQ(V({stfasu(1, 2, 1), stfasu(2, 3, 4), stfasu(3, 8, 1, 2)}), V(3, -1));
    LocalSet nodes;
    const int32_t triangle[] = {7, 8, 9};
    ASSERT_EQ(tnofrt(2, Rows<const int32_t>(triangle, 3, 1), 1, -3, nodes), kOk);
    EXPECT_EQ(items(nodes), (V{9, 7}));
    EXPECT_EQ(tnofrt(2, Rows<const int32_t>(triangle, 3, 1), 2, 1, nodes), kDataError);
}

/// sfaide of two rows: (result, face of A, face of B), or {-9} on failure.
V match(const V& a, const V& b, int32_t d)
{
    FaceMatch m;
    return sfaide(a.data(), int32_t(a.size()), b.data(), int32_t(b.size()), d, m) == kOk ? V{m.result, m.faceA, m.faceB} : V{-9};
}

TEST(Sfaide, CommonFacesAndTheirDirection)
{
    stinit();
    EXPECT_EQ(match({1, 2, 3}, {3, 2, 4}, 2), (V{1, 2, 1}));
    EXPECT_EQ(match({1, 2, 3}, {2, 3, 4}, 2), (V{-1, 2, 1}));
    EXPECT_EQ(match({1, 2, 3}, {1, 3, 8, 9}, 2), (V{1, 3, 1})); // the wrapping face 3 -> 1
    EXPECT_EQ(match({1, 2, 3}, {5, 6, 7}, 2), (V{0, 0, 0}));
    EXPECT_EQ(match({1, 2}, {2, 3}, 1), (V{1, 2, 1}));
    EXPECT_EQ(match({1, 2}, {3, 2}, 1), (V{-1, 2, 2}));
    EXPECT_EQ(match({1, 2, 3, 4}, {1, 3, 2, 5}, 3), (V{1, 4, 4}));
    EXPECT_EQ(match({1, 2, 3, 4}, {1, 2, 3, 5}, 3), (V{-1, 4, 4}));
    EXPECT_EQ(match({1, 2, 3, 4}, {1, 2, 3, 4, 5, 6, 7, 8}, 3), (V{0, 0, 0}));
    EXPECT_EQ(match({1, 2, 3, 4}, {1, 2, 3, 4, 5, 6}, 3), V{-9});
    EXPECT_EQ(match({1, 2}, {1, 2}, 0), V{-9});
}

TEST(Sinvor, ReversesNodesAndNeighboursFaceByFace)
{
    const auto reversed = [](V nodes, V across, int32_t d) {
        const int code = sinvor(int32_t(nodes.size()), d, nodes.data(), across.data());
        nodes.insert(nodes.end(), across.begin(), across.end());
        return code == kOk ? nodes : V{code};
    };
    EXPECT_EQ(reversed({1, 2, 3}, {10, 20, 30}, 2), (V{1, 3, 2, 30, 20, 10}));
    EXPECT_EQ(reversed({1, 2, 3, 4}, {10, 20, 30, 40}, 2), (V{1, 4, 3, 2, 40, 30, 20, 10}));
    EXPECT_EQ(reversed({5, 6}, {-7, 8}, 1), (V{6, 5, 8, -7}));
    EXPECT_EQ(reversed({5}, {3}, 1), (V{5, 3})); // an edge of one node keeps its node
    EXPECT_EQ(reversed({1, 2, 3, 4}, {1, 2, 3, 4}, 3), (V{1, 3, 2, 4, 1, 3, 2, 4}));
    EXPECT_EQ(reversed({1, 2, 3, 4, 5, 6, 7, 8}, V(6), 3), V{kNotAvailable});
    EXPECT_EQ(reversed({1, 2, 3}, V(3), 0), V{kDataError});
}

} // namespace
} // namespace tesmo
