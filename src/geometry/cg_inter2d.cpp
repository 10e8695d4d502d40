// Crossing of a polygon by a line.
//
// Each vertex gets the value v = a x + b y + c of the line equation and a strict sign: +1
// when v >= eps, -1 when v <= -eps, none in between (the vertex is on the line). Going round
// from vertex 1, a side is crossed when its end vertex changes the strict sign last met.
#include "geometry/cg_inter2d.hpp"

namespace tesmo {

namespace {

/// Strict sign of a line value: 0 inside the band of half-width eps.
int32_t strictSign(float value, float eps)
{
    if (value < eps && value > -eps) {
        return 0;
    }
    return value > 0.0f ? 1 : -1;
}

} // namespace

int indrpo(const float* x, const float* y, int32_t n, const float* line, float eps, Vec<int32_t> sides,
           int32_t& sideCount, Vec<int32_t> onLine, int32_t& onLineCount)
{
    sideCount = 0;
    onLineCount = 0;
    if (n < 1) {
        return kDataError;
    }
    auto value = [&](int32_t i) { return line[0] * x[i - 1] + line[1] * y[i - 1] + line[2]; };
    // 1. vertices on the line
    for (int32_t i = 1; i <= n; ++i) {
        if (strictSign(value(i), eps) == 0) {
            if (onLineCount >= onLine.count()) {
                return kCapacityError;
            }
            onLine(++onLineCount) = i;
        }
    }
    // 2. sides whose end vertex changes the last strict sign
    int32_t last = strictSign(value(1), eps);
    for (int32_t l = 1; l <= n; ++l) {
        const int32_t sign = strictSign(value(l % n + 1), eps);
        if (sign == 0) {
            continue;
        }
        if (last != 0 && sign != last) {
            if (sideCount >= sides.count()) {
                return kCapacityError;
            }
            sides(++sideCount) = l;
        }
        last = sign;
    }
    return kOk;
}

} // namespace tesmo
