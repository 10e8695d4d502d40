// Normalisation of the points: x becomes 2 (x - m) / E, m the centre of the bounding box
// and E its largest extent, so that every point lies in [-1, 1] x [-1, 1].
#include "triangulation/m2_point.hpp"

#include "geometry/cg_vectoriel.hpp"

namespace tesmo {

int pobten(Rows<const float> COORD, int32_t J, float* low, float* high)
{
    if (J < 1 || J > COORD.count() || COORD.width() < 2) {
        return kDataError;
    }
    for (int32_t axis = 1; axis <= 2; ++axis) {
        low[axis - 1] = COORD(1, axis);
        high[axis - 1] = COORD(1, axis);
    }
    for (int32_t p = 2; p <= J; ++p) {
        for (int32_t axis = 1; axis <= 2; ++axis) {
            const float x = COORD(p, axis);
            if (x < low[axis - 1]) {
                low[axis - 1] = x;
            }
            if (x > high[axis - 1]) {
                high[axis - 1] = x;
            }
        }
    }
    return kOk;
}

int ptnorm(Rows<const float> COORD, int32_t J, const float* centre, float extent, Rows<float> normalised)
{
    if (!(extent > 0.0f) || J < 0 || J > COORD.count() || COORD.width() < 2) {
        return kDataError;
    }
    if (J > normalised.count() || normalised.width() < 2) {
        return kCapacityError;
    }
    for (int32_t p = 1; p <= J; ++p) {
        for (int32_t axis = 1; axis <= 2; ++axis) {
            normalised(p, axis) = 2.0f * (COORD(p, axis) - centre[axis - 1]) / extent;
        }
    }
    return kOk;
}

int ptinit(Rows<const float> COORD, int32_t J, Rows<float> normalised)
{
    // 1. bounding box and largest extent
    float low[2];
    float high[2];
    int code = pobten(COORD, J, low, high);
    if (code != kOk) {
        return code;
    }
    const float extent[2] = {high[0] - low[0], high[1] - low[1]};
    const float E = extent[0] > extent[1] ? extent[0] : extent[1];
    const float corners[4] = {low[0], low[1], high[0], high[1]};
    if (E <= kNoExtent * xmaxve(corners, 4)) {
        return kDataError;
    }
    // 2. a point set on one line parallel to an axis has no area
    for (int axis = 0; axis < 2; ++axis) {
        if (2.0f * extent[axis] / E <= kNoExtent) {
            return kDataError;
        }
    }
    // 3. the normalised copy
    const float centre[2] = {(low[0] + high[0]) / 2.0f, (low[1] + high[1]) / 2.0f};
    return ptnorm(COORD, J, centre, E, normalised);
}

} // namespace tesmo
