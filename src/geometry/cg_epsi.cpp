// The tolerance block, stored by bit pattern so that every build holds the same values.
#include "geometry/cg_epsi.hpp"

#include <bit>

namespace tesmo {

namespace {

constexpr uint32_t kPatterns[5] = {
    0x7F7FFFFDu, // 3.4028231e38
    0x00800005u, // 1.1754951e-38
    0x34000000u, // 1.1920929e-7 = 2^-23
    0x5F0AC723u, // 1.0e19
    0x1FEC1E4Au, // 1.0e-19
};

} // namespace

// Constant-initialised with the same values that icgeps stores, so that a geometric routine
// never runs against a zero tolerance even before the run sequence has called icgeps.
float cgepsi[5] = {
    std::bit_cast<float>(kPatterns[0]), std::bit_cast<float>(kPatterns[1]), std::bit_cast<float>(kPatterns[2]),
    std::bit_cast<float>(kPatterns[3]), std::bit_cast<float>(kPatterns[4]),
};

void icgeps()
{
    for (int32_t i = 0; i < 5; ++i) {
        cgepsi[i] = std::bit_cast<float>(kPatterns[i]);
    }
}

} // namespace tesmo
