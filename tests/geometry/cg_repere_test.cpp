#include "geometry/cg_epsi.hpp"
#include "geometry/cg_plan.hpp"
#include "geometry/cg_repere.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace tesmo {
namespace {

/// A frame (the matrix by columns: the rows of A are u, v, n) and the plane coordinates of the
/// selected rows of a point table, with the code and the debug trace of `rppncr`.
struct Frame {
    std::array<float, 3> origin{};
    std::array<float, 9> matrix{};
    std::array<float, 12> plane2d{};
    int code = kOk;
    std::string trace;
};

Frame frameOf(float* coordinates, int32_t count, int32_t first, int32_t last, Vec<const int32_t> list = {},
              int32_t m = 0, int32_t width = 2)
{
    Frame frame;
    frame.plane2d.fill(99.0f);
    const int32_t saved = modini;
    modini = 2;
    ConsoleCapture capture;
    frame.code = rppncr(list, m, first, last, Rows<const float>(coordinates, 3, count), frame.origin.data(),
                        frame.matrix.data(), Rows<float>(frame.plane2d.data(), width, 12 / std::max(width, 1)));
    frame.trace = capture.text();
    modini = saved;
    return frame;
}

TEST(Rppncr, FramesOfAxisPlanes)
{
    // z = 0: u = (-1, 0, 0), v = (0, -1, 0), n = (0, 0, 1), plane coordinates (-x, -y).
    float floor[12] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 2.0f, 3.0f, 0.0f};
    Frame frame = frameOf(floor, 4, 1, 4);
    EXPECT_EQ(frame.matrix, (std::array<float, 9>{-1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(frame.origin, (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(frame.plane2d, (std::array<float, 12>{0, 0, -1, 0, 0, -1, -2, -3, 99, 99, 99, 99}));

    // x = 5: u = (0, -1, 0), v = (0, 0, -1), n = (1, 0, 0), origin (5, 0, 0).
    float wall[9] = {5.0f, 0.0f, 0.0f, 5.0f, 1.0f, 0.0f, 5.0f, 0.0f, 1.0f};
    frame = frameOf(wall, 3, 1, 3);
    EXPECT_EQ(frame.matrix, (std::array<float, 9>{0.0f, 0.0f, 1.0f, -1.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0.0f}));
    EXPECT_EQ(frame.origin, (std::array<float, 3>{5.0f, 0.0f, 0.0f}));
    EXPECT_EQ(frame.plane2d, (std::array<float, 12>{0, 0, -1, 0, 0, -1, 99, 99, 99, 99, 99, 99}));

    // The fitted normal has an x component of about -5e-8, below the noise level: same frame as z = 0.
    float slanted[9] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 5e-8f, 0.0f, 1.0f, 0.0f};
    float plane[4];
    ASSERT_EQ(plmcar(Vec<const int32_t>{}, 0, 1, 3, Rows<const float>(slanted, 3, 3), plane), kOk);
    ASSERT_GT(std::fabs(plane[0]), 1e-8f);
    EXPECT_EQ(frameOf(slanted, 3, 1, 3).matrix, frameOf(floor, 4, 1, 4).matrix);
}

TEST(Rppncr, TiltedPlaneMapsBackToItsPoints)
{
    // Points of x + y + z = 1, mapped back by m33inv(A) (x, y, 0) + O.
    float points[18] = {1.0f,  0.0f, 0.0f,  0.0f, 1.0f,  0.0f,  0.0f,  0.0f, 1.0f,
                        0.25f, 0.5f, 0.25f, 3.0f, -1.5f, -0.5f, -2.0f, 1.0f, 2.0f};
    const Frame frame = frameOf(points, 6, 1, 6);
    ASSERT_EQ(frame.code, kOk);
    float inverse[9];
    ASSERT_EQ(m33inv(frame.matrix.data(), inverse), kOk);
    for (int i = 0; i < 6; ++i) {
        float p[3] = {frame.plane2d[2 * i], frame.plane2d[2 * i + 1], 0.0f};
        ASSERT_EQ(m33app(inverse, p, 3, 1, p), kOk);
        sommve(p, frame.origin.data(), 3, p);
        for (int k = 0; k < 3; ++k) {
            const float scale = std::max(1.0f, std::fabs(points[3 * i + k]));
            EXPECT_NEAR(p[k], points[3 * i + k], 8 * epsRelative() * scale) << "point " << i + 1;
        }
    }
}

TEST(Rppncr, WritesOnlyTheSelectedRowsAndChecksItsTable)
{
    float points[15] = {0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 4.0f, 4.0f, 0.0f, 7.0f, 7.0f, 7.0f};
    int32_t list[3] = {4, 2, 3};
    // With a list, the range 1 ... 5 plays no part.
    Frame frame = frameOf(points, 5, 1, 5, Vec<const int32_t>(list, 3), 3);
    EXPECT_EQ(frame.plane2d, (std::array<float, 12>{-4, -4, -1, 0, 0, -1, 99, 99, 99, 99, 99, 99}));
    frame = frameOf(points, 5, 0, 0, Vec<const int32_t>(list, 3), 3, 1);
    EXPECT_EQ(frame.plane2d, (std::array<float, 12>{-4, -1, 0, 99, 99, 99, 99, 99, 99, 99, 99, 99}));
    EXPECT_EQ(frameOf(points, 5, 0, 0, Vec<const int32_t>(list, 3), 3, 0).code, kOk);
    EXPECT_EQ(frameOf(points, 5, 1, 5, {}, 0, 3).code, kCapacityError);
    EXPECT_EQ(frameOf(points, 5, 1, 3, {}, 0, 4).code, kDataError);
    frame = frameOf(points, 5, 1, 2);
    EXPECT_EQ(frame.code, kDataError);
    EXPECT_EQ(frame.trace, " ERR -1  DONNEES INCORRECTES DANS :PLMCAR\n  IL FAUT 3 POINTS OU +\n"
                           " ERR -1  DONNEES INCORRECTES DANS :RPPNCR\n APPEL PLMCAR\n");
}

TEST(M33dpn, CompletesTheNormalIntoARightHandedBasis)
{
    std::array<float, 9> basis{};
    const float slope[4] = {0.6f, 0.0f, 0.8f, 1.0f};
    ASSERT_EQ(m33dpn(slope, basis.data(), basis.data() + 3, basis.data() + 6), kOk);
    EXPECT_EQ(basis, (std::array<float, 9>{-0.8f, 0.0f, 0.6f, 0.0f, -1.0f, 0.0f, 0.6f, 0.0f, 0.8f}));

    const float null[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const int32_t saved = modini;
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(m33dpn(null, basis.data(), basis.data() + 3, basis.data() + 6), kDataError);
    modini = saved;
    EXPECT_EQ(capture.text(), " ERR -1  DONNEES INCORRECTES DANS :M33DPN\n PLAN NUL !!!\n");
}

} // namespace
} // namespace tesmo
