// The tolerance block, stored by bit pattern so that every build holds the same values.
#include "driver/cg_epsi.hpp"

#include <bit>

namespace tesmo {

float cgepsi[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};

void icgeps()
{
    cgepsi[0] = std::bit_cast<float>(uint32_t(0x7F7FFFFDu)); // 3.4028231e38
    cgepsi[1] = std::bit_cast<float>(uint32_t(0x00800005u)); // 1.1754951e-38
    cgepsi[2] = std::bit_cast<float>(uint32_t(0x34000000u)); // 1.1920929e-7
    cgepsi[3] = std::bit_cast<float>(uint32_t(0x5F0AC723u)); // 1.0e19
    cgepsi[4] = std::bit_cast<float>(uint32_t(0x1FEC1E4Au)); // 1.0e-19
}

} // namespace tesmo
