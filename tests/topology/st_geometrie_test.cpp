#include "topology/st_geometrie.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

const std::vector<float> kSquare = {0, 0, 1, 0, 1, 1, 0, 1};
const std::vector<float> kSpace = {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0, 1, 1, 5};

/// gtaill of the listed nodes, or the error code as a measure.
float measure(const std::vector<int32_t>& nodes, int32_t elementDim, const std::vector<float>& coord, int32_t ndim)
{
    float value = -99.0f;
    const int code = gtaill(nodes.data(), int32_t(nodes.size()), elementDim,
                            Rows<const float>(coord.data(), ndim, int32_t(coord.size()) / ndim), value);
    return code == kOk ? value : float(code);
}

TEST(Gtaill, MeasuresByElementDimension)
{
    EXPECT_EQ(measure({1, 3}, 1, {0, 0, 9, 9, 3, 4}, 2), 5.0f);
    EXPECT_EQ(measure({1, 2, 3, 4}, 2, kSquare, 2), 1.0f);
    EXPECT_EQ(measure({1, 4, 3, 2}, 2, kSquare, 2), -1.0f);
    EXPECT_EQ(measure({1, 2, 3}, 2, kSpace, 3), 2.0f);
    EXPECT_EQ(measure({4, 3, 2, 1}, 2, kSpace, 3), 4.0f); // unsigned in space
    EXPECT_EQ(measure({1, 2, 3, 5}, 3, kSpace, 3), 20.0f * kSixth);
    EXPECT_EQ(measure({1, 2}, 0, kSquare, 2), 0.0f);
    // far from the origin the lowest node is taken as origin, so the digits are kept
    EXPECT_EQ(measure({1, 2, 3}, 2, {10000.0f, 10000.5f, 10001.0f, 10000.5f, 10000.0f, 10001.5f}, 2), 0.5f);
}

TEST(Gtaill, RefusesWhatItCannotMeasure)
{
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(measure({1, 2, 3, 4, 5}, 2, kSpace, 3), float(kDataError));
    modini = 0;
    EXPECT_NE(capture.text().find("UN POLYGONE DANS L ESPACE"), std::string::npos);
    EXPECT_EQ(measure({1, 2, 3, 4, 5}, 3, kSpace, 3), float(kNotAvailable));
    EXPECT_EQ(measure({1, 9}, 1, kSquare, 2), float(kDataError));
    EXPECT_EQ(measure({1}, 1, kSquare, 2), float(kDataError));
    EXPECT_EQ(measure({1, 2, 3, 4}, 3, kSquare, 2), float(kDataError));
}

TEST(ElementaryMeasures, TrianglesQuadrilateralsTetrahedra)
{
    const float p[] = {0, 0, 0}, q[] = {1, 0, 0}, r[] = {1, 1, 0}, s[] = {1, 1, 1};
    EXPECT_EQ(ttvo(p, q, r, s), kSixth);
    EXPECT_EQ(ttvo(q, p, r, s), -kSixth);
    const float a[] = {0, 0}, b[] = {4, 0}, c[] = {0, 3}, d[] = {-1, -1};
    EXPECT_EQ(trsurf(a, c, b, 2), 6.0f);
    EXPECT_EQ(q4surf(a, b, c, d, 2), 6.0f + 1.5f);
    float area = 5.0f;
    const int32_t one[] = {1};
    ASSERT_EQ(g2sfpl(one, 1, Rows<const float>(kSquare.data(), 2, 4), area), kOk);
    EXPECT_EQ(area, 0.0f);
}

TEST(Gbaryc, MeanOfTheNodesOrZerosForNone)
{
    const int32_t square[] = {1, 2, 3, 4};
    float centre[3] = {9, 9, 9};
    ASSERT_EQ(gbaryc(square, 4, Rows<const float>(kSquare.data(), 2, 4), Vec<float>(centre, 3)), kOk);
    EXPECT_EQ(std::vector<float>(centre, centre + 3), (std::vector<float>{0.5f, 0.5f, 9.0f}));
    EXPECT_EQ(gbaryc(square, 0, Rows<const float>(kSquare.data(), 2, 4), Vec<float>(centre, 3)), kDataError);
    EXPECT_EQ(std::vector<float>(centre, centre + 2), (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(gbaryc(square, 4, Rows<const float>(kSquare.data(), 2, 4), Vec<float>(centre, 1)), kCapacityError);
}

TEST(Gorien, OrientationOrZeroOnFailure)
{
    const Rows<const float> COORD(kSquare.data(), 2, 4);
    const int32_t ccw[] = {1, 2, 3}, cw[] = {1, 3, 2}, flat[] = {1, 2, 2};
    EXPECT_EQ(gorien(ccw, 3, 2, COORD, 0.0f), 1);
    EXPECT_EQ(gorien(cw, 3, 2, COORD, 0.0f), -1);
    EXPECT_EQ(gorien(flat, 3, 2, COORD, 0.0f), 0);
    EXPECT_EQ(gorien(ccw, 3, 2, COORD, 0.75f), -1);
    const int32_t pentagon[] = {1, 2, 3, 4, 5};
    EXPECT_EQ(gorien(pentagon, 5, 2, Rows<const float>(kSpace.data(), 3, 5), -100.0f), 0);
}

} // namespace
} // namespace tesmo
