#include "topology/st_1struct.hpp"

#include "support/mesh_fixture.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using V = std::vector<int32_t>;

TEST(Sfri1d, NodeBetweenTwoEdges)
{
    testing::Tables t(2, 2, {{1, 2}, {2, 3}}, 3); // the open chain 1 - 2 - 3
    ASSERT_EQ(t.smacre(1), kOk);
    const auto locate = [&](int32_t a, int32_t d = 1) {
        EdgeSides s;
        const int code = sfri1d(a, d, t.ITRNOE(), t.ITRTRI(), t.NOETRI(), t.NBE, s);
        return code == kOk ? V{s.E1, s.F1, s.E2, s.F2} : V{code};
    };
    EXPECT_EQ(locate(2), (V{2, 1, 1, 2}));
    EXPECT_EQ(locate(1), (V{1, 1, 0, 0}));
    EXPECT_EQ(locate(2, 2), V{kNotAvailable});
    EXPECT_EQ(locate(4), V{kDataError});
    t.ITRNOE()(1, 2) = 5; // edge 2 names edge 1 across node 2, which edge 1 lost
    EXPECT_EQ(locate(2), V{kDataError});
    t.noetri[0] = 2; // node 1 is not in edge 2
    EXPECT_EQ(locate(1), V{kDataError});
    t.noetri[0] = 0;
    EXPECT_EQ(locate(1), (V{0, 0, 0, 0}));
}

} // namespace
} // namespace tesmo
