#pragma once
// Circumscribed circles of triangles in the plane, stored as sphere records, and the
// in-circle test that the Delaunay insertion makes with them.
//
// The record of a triangle (P1, P2, P3) holds S = 2 (Z - P3), Z its circumscribed centre and
// P3 its third node; the third real of a record is not used in the plane. With S the test
// "is X inside the circle" needs no square root: v = (X - P3).(S - (X - P3)) = R^2 - |X - Z|^2.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// |D| at or below this (D twice the signed area of the triangle, its sides taken in units of
/// a power of two near the longest) makes a triangle flat: it has no circle.
inline constexpr float kFlatTriangle = 1.0e-30f;
/// Reals of a sphere record in the plane: the two components of S and one unused real.
inline constexpr int32_t kSphereRecord = 3;

/// True when |D| is small enough for the triangle to be taken as flat.
constexpr bool isFlat(float D) { return D <= kFlatTriangle && -D <= kFlatTriangle; }

/// S = 2 (Z - P3) of the triangle (p1, p2, p3), in single precision: with a = p1 - p3,
/// b = p2 - p3 and D = a_y b_x - a_x b_y, S_x = (a_y |b|^2 - b_y |a|^2) / D and
/// S_y = (b_x |a|^2 - a_x |b|^2) / D, a and b first scaled by the power of two that brings their
/// largest component near 1 (exact), S scaled back. Returns false (S untouched) for a flat
/// triangle.
bool circleVector(const float* p1, const float* p2, const float* p3, float* S);

/// Sphere record of element e (its first three nodes) into row e of `spheres`.
/// Returns 0, or -1 for a flat triangle, an element that is not a row of both tables, or a
/// node outside the coordinates.
[[nodiscard]] int spcerc(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD, Rows<float> spheres);

/// In-circle test of the point x against the triangle whose third node is at p3 and whose
/// record is `sphere`: v = sum over the two axes of (x - p3)(1.0 S - (x - p3)), inside when
/// v > 0 (a point on the circle is outside). The sign of v does not depend on the units.
inline bool sppoin(const float* x, const float* p3, const float* sphere)
{
    float v = 0.0f;
    for (int axis = 0; axis < 2; ++axis) {
        const float d = x[axis] - p3[axis];
        v = v + d * (1.0f * sphere[axis] - d);
    }
    return v > 0.0f;
}

} // namespace tesmo
