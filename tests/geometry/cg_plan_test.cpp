#include "geometry/cg_plan.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

namespace tesmo {
namespace {

using Plane = std::array<float, 4>;

/// The plane through all rows of a table of points, or the code of the failure and the trace.
struct Fit {
    Plane plane{9.0f, 9.0f, 9.0f, 9.0f};
    int code = kOk;
    std::string trace;
};

Fit fit(float* coordinates, int32_t count, int32_t width = 3, Vec<const int32_t> list = {}, int32_t m = 0)
{
    Fit result;
    const int32_t saved = modini;
    modini = 2;
    ConsoleCapture capture;
    result.code = plmcar(list, m, 1, count, Rows<const float>(coordinates, width, count), result.plane.data());
    result.trace = capture.text();
    modini = saved;
    return result;
}

TEST(Plmcar, FitsAxisPlanesExactlyAndTiltedOnesToUnitNormals)
{
    float triangle[9] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    EXPECT_EQ(fit(triangle, 3).plane, (Plane{0.0f, 0.0f, 1.0f, 0.0f}));
    float wall[9] = {5.0f, 0.0f, 0.0f, 5.0f, 1.0f, 0.0f, 5.0f, 0.0f, 1.0f};
    EXPECT_EQ(fit(wall, 3).plane, (Plane{1.0f, 0.0f, 0.0f, -5.0f}));

    float tilted[15] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.5f, 0.5f, 0.0f, 2.0f, -3.0f, 2.0f};
    const Plane plane = fit(tilted, 5).plane;
    const float third = std::copysign(1.0f / std::sqrt(3.0f), plane[0]);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(plane[k], third, 2e-7f);
    }
    EXPECT_NEAR(plane[3], -third, 4e-7f);

    // Nearly collinear tiny points: the squares of the null vector underflow, its length must not.
    float thin[9] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.5f, 1e-20f, 0.0f};
    EXPECT_EQ(std::fabs(fit(thin, 3).plane[2]), 1.0f);
}

TEST(Plmcar, RefusesSelectionsWithoutAPlane)
{
    // Rows 2, 4 and 5 lie in z = 2; a list beyond its count or the table is refused.
    float points[15] = {0.0f, 0.0f, 7.0f, 0.0f, 0.0f, 2.0f, 3.0f, 1.0f, -4.0f, 1.0f, 0.0f, 2.0f, 0.0f, 1.0f, 2.0f};
    int32_t list[3] = {2, 4, 5};
    const Plane plane = fit(points, 5, 3, Vec<const int32_t>(list, 3), 3).plane;
    EXPECT_EQ(plane[3], -2.0f * plane[2]);
    EXPECT_EQ(fit(points, 5, 3, Vec<const int32_t>(list, 2), 3).code, kDataError);
    EXPECT_EQ(fit(points, 4, 3, Vec<const int32_t>(list, 3), 3).code, kDataError);

    const Fit two = fit(points, 2);
    EXPECT_EQ(two.code, kDataError);
    EXPECT_EQ(two.trace, " ERR -1  DONNEES INCORRECTES DANS :PLMCAR\n  IL FAUT 3 POINTS OU +\n");
    EXPECT_EQ(fit(points, 4, 2).trace, " ERR -1  DONNEES INCORRECTES DANS :PLMCAR\n  3D SEULEMENT\n");
    float same[9] = {1.0f, 2.0f, 3.0f, 1.0f, 2.0f, 3.0f, 1.0f, 2.0f, 3.0f};
    const Fit coincident = fit(same, 3);
    EXPECT_EQ(coincident.code, kDataError);
    EXPECT_EQ(coincident.trace, " ERR -1  DONNEES INCORRECTES DANS :PLMCAR\n  POINTS CONFONDUS\n");
    EXPECT_EQ(coincident.plane[0], 9.0f);
}

TEST(Pronul, NullDirectionOfSymmetricMatrices)
{
    // I - J/3 annihilates (1, 1, 1); its three minors tie.
    const float a = 2.0f / 3.0f;
    const float b = -1.0f / 3.0f;
    const float projector[9] = {a, b, b, b, a, b, b, b, a};
    std::array<float, 3> v{};
    pronul(projector, v.data());
    for (const float component : v) {
        EXPECT_FLOAT_EQ(component, 1.0f / std::sqrt(3.0f));
    }
    // Rank 1, spread along (1, 0, 2): a vector built from the diagonal; rank 0: the x axis.
    const float alongZ[9] = {1.0f, 0.0f, 2.0f, 0.0f, 0.0f, 0.0f, 2.0f, 0.0f, 4.0f};
    pronul(alongZ, v.data());
    EXPECT_EQ(v, (std::array<float, 3>{1.0f / std::sqrt(1.25f), 0.0f, -0.5f / std::sqrt(1.25f)}));
    const float zero[9] = {};
    pronul(zero, v.data());
    EXPECT_EQ(v, (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
}

TEST(Podupn, OriginOnTheAxisOfTheLargestNormalComponent)
{
    std::array<float, 3> origin{};
    const float slope[4] = {0.6f, -0.8f, 0.0f, 2.0f};
    ASSERT_EQ(podupn(slope, origin.data()), kOk);
    EXPECT_EQ(origin, (std::array<float, 3>{0.0f, 2.5f, 0.0f}));
    const float null[4] = {0.0f, 0.0f, 0.0f, 3.0f};
    EXPECT_EQ(podupn(null, origin.data()), kDataError);
}

} // namespace
} // namespace tesmo
