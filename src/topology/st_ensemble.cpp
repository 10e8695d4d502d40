// Frontier faces and connected sets of elements.
#include "topology/st_ensemble.hpp"

#include "topology/st_struct.hpp"
#include "topology/st_tableau.hpp"

#include <algorithm>

namespace tesmo {

int tmafrt(int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t n, Rows<int32_t> frontier,
           int32_t& count)
{
    count = 0;
    if (n < 0 || n > ITRNOE.count() || n > ITRTRI.count()) {
        return kDataError;
    }
    if (frontier.width() < 2) {
        return kCapacityError;
    }
    for (int32_t e = 1; e <= n; ++e) {
        int32_t faces = 0;
        const int code = strnbc(strnbn(ITRNOE.row(e), ITRNOE.width()), d, faces);
        if (code != kOk) {
            return code;
        }
        if (faces > ITRTRI.width()) {
            return kCapacityError;
        }
        for (int32_t k = 1; k <= faces; ++k) {
            const int32_t entry = ITRTRI(e, k);
            if (entry > 0 && entry <= n) {
                continue;
            }
            if (count >= frontier.count()) {
                return kCapacityError;
            }
            ++count;
            frontier(count, 1) = e;
            frontier(count, 2) = entry < 0 ? -k : k;
        }
    }
    return kOk;
}

int tma1cc(Rows<const int32_t> table, int32_t threshold, int32_t seed, Vec<int32_t> stack, Vec<int32_t> marks,
           Vec<int32_t> output, int32_t& count)
{
    const int32_t last = std::min(table.count(), marks.count());
    if (threshold < 1 || seed < 1 || seed > last || count < 0) {
        return kDataError;
    }
    if (stack.count() < 1) {
        return kCapacityError;
    }
    int32_t top = 1;
    stack(1) = seed;
    marks(seed) = 1;
    while (top > 0) {
        const int32_t x = stack(top--);
        if (count >= output.count()) {
            return kCapacityError;
        }
        output(++count) = x;
        for (int32_t k = 1; k <= table.width(); ++k) {
            const int32_t j = table(x, k);
            if (j < threshold) {
                continue;
            }
            if (j > last) {
                return kDataError;
            }
            if (marks(j) != 0) {
                continue;
            }
            if (top >= stack.count()) {
                return kCapacityError;
            }
            marks(j) = 1;
            stack(++top) = j;
        }
    }
    return kOk;
}

int tmapar(Rows<const int32_t> table, int32_t NBE, Vec<int32_t> stack, Vec<int32_t> marks, Vec<int32_t> output,
           Vec<int32_t> sizes, int32_t& setCount)
{
    setCount = 0;
    if (NBE < 0 || NBE > table.count()) {
        return kDataError;
    }
    if (marks.count() < NBE || output.count() < NBE) {
        return kCapacityError;
    }
    Vec<int32_t> elementMarks = marks.slice(1, NBE);
    for (int32_t e = 1; e <= NBE; ++e) {
        elementMarks(e) = 0;
    }
    int32_t count = 0;
    for (int32_t seed = 1; seed <= NBE; ++seed) {
        if (elementMarks(seed) != 0) {
            continue;
        }
        if (setCount >= sizes.count()) {
            return kCapacityError;
        }
        const int32_t before = count;
        const int code = tma1cc(table, 1, seed, stack, elementMarks, output, count);
        if (code != kOk) {
            return code;
        }
        sizes(++setCount) = count - before;
    }
    return kOk;
}

void enstri(Vec<int32_t> list) { knuta(list); }

} // namespace tesmo
