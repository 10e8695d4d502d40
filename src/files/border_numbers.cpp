// The border record of an element of a geometry file: the border block read once more,
// counting the elements each record gives as the geometry reader does.
#include "files/border_numbers.hpp"

#include "files/es_bloc.hpp"
#include "files/es_geometrie.hpp"
#include "files/es_lecture.hpp"

#include <algorithm>
#include <array>

namespace tesmo {

int borderNumbers(std::string_view name, int32_t count, Vec<const int32_t> elements, Vec<int32_t> borders)
{
    std::fill(borders.data(), borders.data() + borders.count(), 0);
    // 1. the border block, ILM or else ARE, and its number of borders
    BlockReading files;
    if (files.open(name) != kOk) {
        return kDataError;
    }
    if (files.extract("DEBILM", "FINILM") != kOk && files.extract("DEBARE", "FINARE") != kOk) {
        return kDataError;
    }
    int32_t nb = 0;
    {
        FreeRead read(files.block());
        if (read.integer(nb) != kReadOk) {
            return kDataError;
        }
    }
    // 2. border after border, the range of elements it gives
    std::array<int32_t, kMaxBorderPoints> points{};
    std::array<int32_t, kMaxBorderZones> zones{};
    int32_t last = 0;
    for (int32_t k = 1; k <= nb; ++k) {
        int32_t elementDimension = 0;
        int32_t n = 0;
        int32_t nz = 0;
        int32_t code = 0;
        if (litgeo(files.blockUnit(), elementDimension, Vec<int32_t>(points.data(), kMaxBorderPoints), n,
                   Vec<int32_t>(zones.data(), kMaxBorderZones), nz, code) != kOk) {
            std::fill(borders.data(), borders.data() + borders.count(), 0);
            return kDataError;
        }
        const int32_t first = last + 1;
        last += borderElements(code, n);
        for (int32_t i = 1; i <= elements.count(); ++i) {
            if (elements(i) >= first && elements(i) <= last) {
                borders(i) = k;
            }
        }
    }
    // 3. the same elements as before, or none of the numbers holds
    if (last != count) {
        std::fill(borders.data(), borders.data() + borders.count(), 0);
        return kDataError;
    }
    return kOk;
}

} // namespace tesmo
