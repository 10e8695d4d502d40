#pragma once
// Small vector routines on runs of n single-precision reals.
#include <cstdint>

namespace tesmo {

/// b = a; nothing when n <= 0.
void copive(const float* a, int32_t n, float* b);
/// The dot product of a and b; 0 when n <= 0.
float scalve(const float* a, const float* b, int32_t n);
/// The Euclidean norm, counting only components above word 5 of the tolerance block in
/// absolute value; 0 when the sum of squares is below that word or n <= 0.
float xnorve(const float* a, int32_t n);
/// c = a - b.
void diffve(const float* a, const float* b, int32_t n, float* c);
/// c = a + b.
void sommve(const float* a, const float* b, int32_t n, float* c);
/// b = s a.
void muscve(const float* a, float s, int32_t n, float* b);
/// n = 3: c = a x b; n = 2: c1 = a1 b2 - a2 b1; n = 1: c1 = a1 b1; other n: nothing.
void vectve(const float* a, const float* b, int32_t n, float* c);
/// True when n >= 1 and every component lies within +- word 3 of the tolerance block.
bool nullve(const float* a, int32_t n);

} // namespace tesmo
