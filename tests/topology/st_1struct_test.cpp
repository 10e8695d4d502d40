#include "topology/st_1struct.hpp"

#include "mesh_fixture.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::Tables;

/// The open chain 1 - 2 - 3 of edges (1, 2), (2, 3).
Tables chain()
{
    Tables tables(2, 2, 2, 3, 64);
    tables.element(1, {1, 2});
    tables.element(2, {2, 3});
    EXPECT_EQ(smacre(1, tables.ITRNOE(), 2, 3, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), tables.WORK()), kOk);
    return tables;
}

TEST(Sfri1d, NodeBetweenTwoEdges)
{
    Tables tables = chain();
    EdgeSides sides;
    ASSERT_EQ(sfri1d(2, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
    EXPECT_EQ(sides.E1, 2);
    EXPECT_EQ(sides.F1, 1);
    EXPECT_EQ(sides.E2, 1);
    EXPECT_EQ(sides.F2, 2);
    ASSERT_EQ(sfri1d(1, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
    EXPECT_EQ(sides.E1, 1);
    EXPECT_EQ(sides.F1, 1);
    EXPECT_EQ(sides.E2, 0);
    EXPECT_EQ(sides.F2, 0);
    tables.noetri[0] = 0;
    ASSERT_EQ(sfri1d(1, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kOk);
    EXPECT_EQ(sides.E1, 0);
}

TEST(Sfri1d, FailureCodes)
{
    Tables tables = chain();
    EdgeSides sides;
    EXPECT_EQ(sfri1d(2, 2, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kNotAvailable);
    EXPECT_EQ(sfri1d(4, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kDataError);
    tables.noetri[0] = 2; // node 1 is not in edge 2
    EXPECT_EQ(sfri1d(1, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kDataError);
    tables = chain();
    tables.ITRNOE()(1, 2) = 5; // edge 2 names edge 1 across node 2, which edge 1 lost
    EXPECT_EQ(sfri1d(2, 1, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), 2, sides), kDataError);
    EXPECT_EQ(sides.E1, 0);
}

} // namespace
} // namespace tesmo
