// Exchanges of sphere records, the companion of the element exchanges of nuperm/nucomp.
#include "triangulation/st_sph.hpp"

#include <utility>

namespace tesmo {

int spperm(Rows<float> spheres, int32_t count, int32_t a, int32_t b)
{
    if (count > spheres.count() || spheres.width() < 1 || spheres.width() > kMaxSphereRecord) {
        return kCapacityError;
    }
    if (a < 1 || a > count || b < 1 || b > count) {
        return kDataError;
    }
    if (a == b) {
        return kOk;
    }
    for (int32_t j = 1; j <= spheres.width(); ++j) {
        std::swap(spheres(a, j), spheres(b, j));
    }
    return kOk;
}

int spcomp(Rows<float> spheres, int32_t count, Vec<const int32_t> list)
{
    for (int32_t i = 1; i <= list.count(); ++i) {
        const int code = spperm(spheres, count, list(i), i);
        if (code != kOk) {
            return code;
        }
    }
    return kOk;
}

} // namespace tesmo
