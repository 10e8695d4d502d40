#pragma once
// Small vector routines on runs of n single-precision reals, and the 3x3 matrix routines.
//
// A 3x3 matrix is 9 reals stored by columns: entry (i, j), i and j from 1 to 3, is at
// position m33at(i, j) of the run.
#include <cstdint>

namespace tesmo {

/// Below this determinant `m33inv` refuses a matrix (negative determinants included).
inline constexpr float kSingularDeterminant = 1e-6f;

/// Position in the 9-real run of entry (i, j) of a 3x3 matrix stored by columns.
constexpr int32_t m33at(int32_t i, int32_t j) { return (i - 1) + 3 * (j - 1); }

/// b = a; nothing when n <= 0.
void copive(const float* a, int32_t n, float* b);
/// The dot product of a and b; 0 when n <= 0.
float scalve(const float* a, const float* b, int32_t n);
/// The largest absolute value of the n components of a; 0 when n <= 0.
float xmaxve(const float* a, int32_t n);
/// Components whose largest magnitude lies within 2^-kPlainExponent .. 2^kPlainExponent have
/// products of two to four of them in the normal range of single precision.
inline constexpr int32_t kPlainExponent = 14;
/// The exponent e of the power of two that brings `largest` into [0.5, 1), so that products
/// of components divided by 2^e neither underflow nor overflow; 0 when `largest` lies within
/// 2^-kPlainExponent .. 2^kPlainExponent, where the products are computed as they are (the
/// division, exact, would change nothing).
int32_t scalingExponent(float largest);
/// The Euclidean norm, in single precision at every scale (2^k a has the norm 2^k |a|); 0 for
/// the zero vector or n <= 0.
float xnorve(const float* a, int32_t n);
/// c = a - b.
void diffve(const float* a, const float* b, int32_t n, float* c);
/// c = a + b.
void sommve(const float* a, const float* b, int32_t n, float* c);
/// b = s a.
void muscve(const float* a, float s, int32_t n, float* b);
/// n = 3: c = a x b; n = 2: c1 = a1 b2 - a2 b1; n = 1: c1 = a1 b1; other n: nothing.
/// c may be the storage of a or b.
void vectve(const float* a, const float* b, int32_t n, float* c);
/// True when n >= 1 and every component lies within +- word 3 of the tolerance block.
bool nullve(const float* a, int32_t n);

/// The determinant of a 3x3 matrix, expanded along its first row.
float m33det(const float* matrix);
/// Writes the transpose of `matrix` divided by its determinant into `result` (which may be
/// `matrix` itself): the inverse of the orthonormal frames it is used on.
/// Returns 0, or -1 (result untouched) when the determinant is below kSingularDeterminant.
[[nodiscard]] int m33inv(const float* matrix, float* result);
/// Applies the leading k x k block of `matrix` to `count` points stored as rows of 3 reals,
/// y_i = sum over j <= k of M(i, j) x_j for i = 1 ... k; `result` (rows of 3) may be `points`.
/// Returns 0, or -1 when k is not 1, 2 or 3 or count is negative.
[[nodiscard]] int m33app(const float* matrix, const float* points, int32_t k, int32_t count, float* result);

} // namespace tesmo
