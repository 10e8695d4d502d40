#include "topology/st_geometrie.hpp"

#include "driver/cg_epsi.hpp"
#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

class Points {
public:
    Points(int32_t ndim, std::vector<float> values) : ndim_(ndim), values_(std::move(values)) {}
    Rows<const float> COORD() const { return Rows<const float>(values_.data(), ndim_, int32_t(values_.size()) / ndim_); }

private:
    int32_t ndim_;
    std::vector<float> values_;
};

const Points kUnitSquare(2, {0, 0, 1, 0, 1, 1, 0, 1});

TEST(G2sfpl, UnitSquareGivesPlusOrMinusOne)
{
    const int32_t counterClockwise[] = {1, 2, 3, 4};
    const int32_t clockwise[] = {1, 4, 3, 2};
    float area = 0.0f;
    ASSERT_EQ(g2sfpl(counterClockwise, 4, kUnitSquare.COORD(), area), kOk);
    EXPECT_EQ(area, 1.0f);
    ASSERT_EQ(g2sfpl(clockwise, 4, kUnitSquare.COORD(), area), kOk);
    EXPECT_EQ(area, -1.0f);
}

TEST(G2sfpl, TakesTheLowestNodeAsOriginSoFarCoordinatesKeepTheirDigits)
{
    // a small triangle far from the origin: relative coordinates keep the area exact
    const Points far(2, {10000.0f, 10000.5f, 10001.0f, 10000.5f, 10000.0f, 10001.5f});
    const int32_t triangle[] = {1, 2, 3};
    float area = 0.0f;
    ASSERT_EQ(g2sfpl(triangle, 3, far.COORD(), area), kOk);
    EXPECT_EQ(area, 0.5f);
}

TEST(G2sfpl, FewerThanTwoNodesOrBadNodes)
{
    const int32_t one[] = {1};
    const int32_t beyond[] = {1, 2, 5};
    float area = 7.0f;
    EXPECT_EQ(g2sfpl(one, 1, kUnitSquare.COORD(), area), kOk);
    EXPECT_EQ(area, 0.0f);
    EXPECT_EQ(g2sfpl(beyond, 3, kUnitSquare.COORD(), area), kDataError);
}

TEST(Gtaill, MeasuresByElementDimension)
{
    const Points plane(2, {0, 0, 3, 4});
    const int32_t edge[] = {1, 2};
    float measure = 0.0f;
    ASSERT_EQ(gtaill(edge, 2, 1, plane.COORD(), measure), kOk);
    EXPECT_EQ(measure, 5.0f);

    const int32_t square[] = {1, 2, 3, 4};
    ASSERT_EQ(gtaill(square, 4, 2, kUnitSquare.COORD(), measure), kOk);
    EXPECT_EQ(measure, 1.0f);

    const Points space(3, {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0, 1, 1, 5});
    const int32_t triangle[] = {1, 2, 3};
    ASSERT_EQ(gtaill(triangle, 3, 2, space.COORD(), measure), kOk);
    EXPECT_EQ(measure, 2.0f);
    const int32_t quadrilateral[] = {4, 3, 2, 1}; // clockwise seen from above: unsigned area
    ASSERT_EQ(gtaill(quadrilateral, 4, 2, space.COORD(), measure), kOk);
    EXPECT_EQ(measure, 4.0f);

    measure = 3.0f;
    ASSERT_EQ(gtaill(edge, 2, 0, plane.COORD(), measure), kOk);
    EXPECT_EQ(measure, 0.0f);
}

TEST(Gtaill, PentagonInSpaceFailsWithItsTrace)
{
    const Points space(3, {0, 0, 0, 1, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0});
    const int32_t pentagon[] = {1, 2, 3, 4, 5};
    float measure = 9.0f;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(gtaill(pentagon, 5, 2, space.COORD(), measure), kDataError);
    modini = 0;
    EXPECT_EQ(measure, 0.0f);
    EXPECT_NE(capture.text().find("UN POLYGONE DANS L ESPACE"), std::string::npos);
    EXPECT_NE(capture.text().find("GTAILL"), std::string::npos);
}

TEST(Gtaill, RefusesWhatItCannotMeasure)
{
    const Points space(3, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 1});
    const int32_t pyramid[] = {1, 2, 3, 4, 5};
    const int32_t beyond[] = {1, 9};
    const int32_t lonely[] = {1};
    float measure = 0.0f;
    EXPECT_EQ(gtaill(pyramid, 5, 3, space.COORD(), measure), kNotAvailable);
    EXPECT_EQ(gtaill(beyond, 2, 1, space.COORD(), measure), kDataError);
    EXPECT_EQ(gtaill(lonely, 1, 1, space.COORD(), measure), kDataError);
    const int32_t tetrahedron[] = {1, 2, 3, 4};
    EXPECT_EQ(gtaill(tetrahedron, 4, 3, kUnitSquare.COORD(), measure), kDataError);
}

TEST(Ttvo, UnitCornerGivesOneSixthSignedByOrder)
{
    const float p[] = {0, 0, 0}, q[] = {1, 0, 0}, r[] = {1, 1, 0}, s[] = {1, 1, 1};
    EXPECT_EQ(ttvo(p, q, r, s), kSixth);
    EXPECT_EQ(ttvo(q, p, r, s), -kSixth);
    const Points space(3, {0, 0, 0, 1, 0, 0, 1, 1, 0, 1, 1, 1});
    const int32_t tetrahedron[] = {1, 2, 3, 4};
    float measure = 0.0f;
    ASSERT_EQ(gtaill(tetrahedron, 4, 3, space.COORD(), measure), kOk);
    EXPECT_EQ(measure, kSixth);
}

TEST(Trsurf, AreasInThePlaneAndInSpace)
{
    const float p[] = {0, 0}, q[] = {4, 0}, r[] = {0, 3}, s[] = {-1, -1};
    EXPECT_EQ(trsurf(p, q, r, 2), 6.0f);
    EXPECT_EQ(trsurf(p, r, q, 2), 6.0f);
    EXPECT_EQ(q4surf(p, q, r, s, 2), 6.0f + 1.5f);
    const float a[] = {0, 0, 1}, b[] = {0, 2, 1}, c[] = {0, 0, 3};
    EXPECT_EQ(trsurf(a, b, c, 3), 2.0f);
}

TEST(Gbaryc, MeanOfTheNodes)
{
    const int32_t square[] = {1, 2, 3, 4};
    float values[3] = {9, 9, 9};
    ASSERT_EQ(gbaryc(square, 4, kUnitSquare.COORD(), Vec<float>(values, 3)), kOk);
    EXPECT_EQ(values[0], 0.5f);
    EXPECT_EQ(values[1], 0.5f);
    EXPECT_EQ(values[2], 9.0f);
}

TEST(Gbaryc, NoNodeLeavesZerosAndFails)
{
    const int32_t none[] = {0};
    float values[2] = {9, 9};
    EXPECT_EQ(gbaryc(none, 0, kUnitSquare.COORD(), Vec<float>(values, 2)), kDataError);
    EXPECT_EQ(values[0], 0.0f);
    EXPECT_EQ(values[1], 0.0f);
    EXPECT_EQ(gbaryc(none, 1, kUnitSquare.COORD(), Vec<float>(values, 1)), kCapacityError);
}

TEST(Gorien, TellsTheOrientationOfAPolygon)
{
    const int32_t counterClockwise[] = {1, 2, 3};
    const int32_t clockwise[] = {1, 3, 2};
    const int32_t flat[] = {1, 2, 2};
    EXPECT_EQ(gorien(counterClockwise, 3, 2, kUnitSquare.COORD(), 0.0f), 1);
    EXPECT_EQ(gorien(clockwise, 3, 2, kUnitSquare.COORD(), 0.0f), -1);
    EXPECT_EQ(gorien(flat, 3, 2, kUnitSquare.COORD(), 0.0f), 0);
    EXPECT_EQ(gorien(counterClockwise, 3, 2, kUnitSquare.COORD(), 0.75f), -1);
}

TEST(Gorien, FailureAnswersZero)
{
    const Points space(3, {0, 0, 0, 1, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0});
    const int32_t pentagon[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(gorien(pentagon, 5, 2, space.COORD(), -100.0f), 0);
}

} // namespace
} // namespace tesmo
