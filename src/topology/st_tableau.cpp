// Shell sort and distinct values of integer lists.
#include "topology/st_tableau.hpp"

#include <cstring>

namespace tesmo {

void knuta(Vec<int32_t> list)
{
    const int32_t n = list.count();
    for (int32_t gap = n / 2; gap >= 1; gap /= 2) {
        for (int32_t i = gap + 1; i <= n; ++i) {
            const int32_t value = list(i);
            int32_t j = i;
            while (j > gap && list(j - gap) > value) {
                list(j) = list(j - gap);
                j -= gap;
            }
            list(j) = value;
        }
    }
}

int tbvtab(Vec<const int32_t> values, Vec<int32_t> work, Vec<int32_t> output, int32_t& distinct)
{
    distinct = 0;
    const int32_t n = values.count();
    if (output.count() <= 0 || work.count() < n) {
        return kCapacityError;
    }
    // 1. the sorted copy
    if (n > 0 && work.data() != values.data()) {
        std::memmove(work.data(), values.data(), std::size_t(n) * sizeof(int32_t));
    }
    Vec<int32_t> sorted = work.slice(1, n);
    knuta(sorted);
    // 2. distinct values; the output may overwrite the copy behind the value being read
    int32_t previous = 0;
    for (int32_t i = 1; i <= n; ++i) {
        const int32_t value = sorted(i);
        if (i > 1 && value == previous) {
            continue;
        }
        previous = value;
        ++distinct;
        if (distinct <= output.count()) {
            output(distinct) = value;
        }
    }
    return distinct > output.count() ? kCapacityError : kOk;
}

} // namespace tesmo
