// The indexed heap of the worst elements. Position i has its children at 2i and 2i + 1; an
// element's key is (its stored ratio, its number), a strict order since numbers differ.
#include "refinement/rf_worst.hpp"

#include <utility>

namespace tesmo {

WorstElements::WorstElements(Rows<float> circles, int32_t ratioColumn, Vec<float> storage)
    : circles_(circles), ratioColumn_(ratioColumn), slots_(storage.data(), circles.count()),
      heap_(storage.data() + circles.count(), circles.count())
{
}

bool WorstElements::before(int32_t a, int32_t b) const
{
    const float ra = ratio(a);
    const float rb = ratio(b);
    return ra < rb || (ra == rb && a < b);
}

void WorstElements::place(int32_t i, int32_t e)
{
    heap_(i) = float(e);
    slot(e) = float(i);
}

void WorstElements::siftUp(int32_t i)
{
    const int32_t e = at(i);
    while (i > 1 && before(e, at(i / 2))) {
        place(i, at(i / 2));
        i /= 2;
    }
    place(i, e);
}

void WorstElements::siftDown(int32_t i)
{
    const int32_t e = at(i);
    for (;;) {
        int32_t child = 2 * i;
        if (child > size_) {
            break;
        }
        if (child < size_ && before(at(child + 1), at(child))) {
            ++child;
        }
        if (!before(at(child), e)) {
            break;
        }
        place(i, at(child));
        i = child;
    }
    place(i, e);
}

void WorstElements::restore(int32_t i)
{
    if (i > 1 && before(at(i), at(i / 2))) {
        siftUp(i);
    } else {
        siftDown(i);
    }
}

void WorstElements::remove(int32_t i)
{
    slot(at(i)) = 0.0f;
    const int32_t last = at(size_--);
    if (i <= size_) {
        place(i, last);
        restore(i);
    }
}

void WorstElements::build(int32_t NBE)
{
    size_ = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        slot(e) = 0.0f;
        if (wantsRefining(ratio(e))) {
            place(++size_, e);
        }
    }
    for (int32_t i = size_ / 2; i >= 1; --i) {
        siftDown(i);
    }
}

void WorstElements::update(int32_t e)
{
    const int32_t i = int32_t(slot(e));
    const bool wanted = wantsRefining(ratio(e));
    if (i == 0) {
        if (wanted) {
            place(++size_, e);
            siftUp(size_);
        }
    } else if (wanted) {
        restore(i);
    } else {
        remove(i);
    }
}

void WorstElements::leave(int32_t e)
{
    const int32_t i = int32_t(slot(e));
    if (i != 0) {
        remove(i);
    }
}

void WorstElements::exchanged(int32_t a, int32_t b)
{
    // The rows and their ratios are exchanged already, but the heap still knows them by their
    // old numbers: both leave under their old keys (the ratios looked at in their old rows for
    // a moment), then come back under the new ones.
    std::swap(ratio(a), ratio(b));
    leave(a);
    leave(b);
    std::swap(ratio(a), ratio(b));
    update(a);
    update(b);
}

} // namespace tesmo
