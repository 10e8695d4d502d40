// Circumscribed circles in the plane. With a = P1 - P3 and b = P2 - P3, the centre Z of the
// circle through P1, P2, P3 satisfies 2 (Z - P3).a = |a|^2 and 2 (Z - P3).b = |b|^2; solved
// by Cramer's rule for S = 2 (Z - P3), the record needs neither a square root nor the
// radius, and the in-circle test compares (X - P3).(S - (X - P3)) with 0.
#include "triangulation/d2_sph2d.hpp"

#include "geometry/cg_vectoriel.hpp"
#include "topology/st_struct.hpp"

#include <cmath>

namespace tesmo {

bool circleVector(const float* p1, const float* p2, const float* p3, float* S)
{
    // the two sides from P3, brought near 1 by a power of two when their products could
    // underflow or overflow: the scaling is exact, so that S is the single-precision one wherever
    // that one did not underflow and a triangle 2^k times larger has a vector 2^k times larger
    float sides[4] = {p1[0] - p3[0], p1[1] - p3[1], p2[0] - p3[0], p2[1] - p3[1]};
    const float largest = xmaxve(sides, 4);
    if (largest == 0.0f) {
        return false;
    }
    const int32_t exponent = scalingExponent(largest);
    if (exponent != 0) {
        for (float& side : sides) {
            side = std::ldexp(side, -exponent);
        }
    }
    const float ax = sides[0];
    const float ay = sides[1];
    const float bx = sides[2];
    const float by = sides[3];
    const float D = ay * bx - ax * by;
    if (isFlat(D)) {
        return false;
    }
    const float aa = ax * ax + ay * ay;
    const float bb = bx * bx + by * by;
    S[0] = (ay * bb - by * aa) / D;
    S[1] = (bx * aa - ax * bb) / D;
    if (exponent != 0) {
        S[0] = std::ldexp(S[0], exponent);
        S[1] = std::ldexp(S[1], exponent);
    }
    return true;
}

int spcerc(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD, Rows<float> spheres)
{
    if (e < 1 || e > ITRNOE.count() || e > spheres.count() || ITRNOE.width() < 3 || COORD.width() < 2 ||
        spheres.width() < 2) {
        return kDataError;
    }
    for (int32_t i = 1; i <= 3; ++i) {
        if (ITRNOE(e, i) < 1 || ITRNOE(e, i) > COORD.count()) {
            return kDataError;
        }
    }
    float S[2];
    if (!circleVector(COORD.row(ITRNOE(e, 1)), COORD.row(ITRNOE(e, 2)), COORD.row(ITRNOE(e, 3)), S)) {
        return kDataError;
    }
    spheres(e, 1) = S[0];
    spheres(e, 2) = S[1];
    return kOk;
}

} // namespace tesmo
