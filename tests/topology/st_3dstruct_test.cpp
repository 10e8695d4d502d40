#include "topology/st_3dstruct.hpp"

#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

TEST(S3faid, HexahedraSharingAFace)
{
    stinit();
    // two cubes stacked: the top face (5, 8, 7, 6) of the lower one is the bottom face of the upper
    const int32_t lower[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const int32_t upper[] = {5, 6, 7, 8, 9, 10, 11, 12};
    FaceMatch match;
    ASSERT_EQ(s3faid(lower, 8, upper, 8, match), kOk);
    EXPECT_EQ(match.result, 1);
    EXPECT_EQ(match.faceA, 6);
    EXPECT_EQ(match.faceB, 1);
    const int32_t apart[] = {9, 10, 11, 12, 13, 14, 15, 16};
    ASSERT_EQ(s3faid(lower, 8, apart, 8, match), kOk);
    EXPECT_EQ(match.result, 0);
}

TEST(S3queries, OutOfRangeIsRefused)
{
    stinit();
    LocalSet set;
    int32_t faces = 0;
    EXPECT_EQ(s3sofa(8, 7, set), kDataError);
    EXPECT_EQ(s3faso(4, 5, set), kDataError);
    EXPECT_EQ(s3faso(5, 1, set), kDataError);
    EXPECT_EQ(s3nbco(7, faces), kDataError);
    EdgeSides sides{1, 1, 1, 1};
    EXPECT_EQ(sfri3d(1, 2, 3, Rows<const int32_t>(), Rows<const int32_t>(), Vec<const int32_t>(), 0, sides),
              kNotAvailable);
    EXPECT_EQ(sides.E1, 0);
}

} // namespace
} // namespace tesmo
