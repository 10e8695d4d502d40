#pragma once
// The tolerance block shared by the geometric routines, filled once at start by `icgeps`.
#include <cstdint>

namespace tesmo {

/// Five single-precision tolerances: 1 the largest real, 2 the smallest positive real (zero
/// test of the frame routines and progressions), 3 the relative precision 2^-23, 4 a large
/// value 1e19, 5 a small value 1e-19 (no routine compares with it: norms hold at every scale).
extern float cgepsi[5];

/// Fills `cgepsi`; runs once before any geometry is read.
void icgeps();

/// Word 2 of the tolerance block: the smallest positive normal real.
inline float epsTiny() { return cgepsi[1]; }
/// Word 3 of the tolerance block: the relative precision of single precision.
inline float epsRelative() { return cgepsi[2]; }

} // namespace tesmo
