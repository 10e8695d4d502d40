// The indexed heap of the worst elements, four children to a position: position i has its
// children at 4i - 2 .. 4i + 1 and its parent at (i + 2) / 4, so that the heap is half as deep
// as a binary one and the keys of the four children lie side by side. An entry's key is (its
// ratio, its element number), a strict order since numbers differ.
#include "refinement/rf_worst.hpp"

namespace tesmo {

WorstElements::WorstElements(Rows<const float> circles, int32_t ratioColumn, Vec<float> storage)
    : circles_(circles), ratioColumn_(ratioColumn), slots_(storage.data(), circles.count()),
      keys_(storage.data() + circles.count(), 2, circles.count())
{
}

bool WorstElements::before(int32_t i, float ratio, int32_t e) const
{
    const float r = keys_(i, 1);
    return r < ratio || (r == ratio && element(i) < e);
}

void WorstElements::place(int32_t i, float ratio, int32_t e)
{
    keys_(i, 1) = ratio;
    keys_(i, 2) = float(e);
    slot(e) = float(i);
}

void WorstElements::siftUp(int32_t i)
{
    const float ratio = keys_(i, 1);
    const int32_t e = element(i);
    while (i > 1 && !before(parent(i), ratio, e)) {
        place(i, keys_(parent(i), 1), element(parent(i)));
        i = parent(i);
    }
    place(i, ratio, e);
}

void WorstElements::siftDown(int32_t i)
{
    const float ratio = keys_(i, 1);
    const int32_t e = element(i);
    for (;;) {
        const int32_t first = firstChild(i);
        if (first > size_) {
            break;
        }
        int32_t child = first;
        for (int32_t c = first + 1; c <= first + 3 && c <= size_; ++c) {
            child = before(c, keys_(child, 1), element(child)) ? c : child;
        }
        if (!before(child, ratio, e)) {
            break;
        }
        place(i, keys_(child, 1), element(child));
        i = child;
    }
    place(i, ratio, e);
}

void WorstElements::restore(int32_t i)
{
    if (i > 1 && !before(parent(i), keys_(i, 1), element(i))) {
        siftUp(i);
    } else {
        siftDown(i);
    }
}

void WorstElements::remove(int32_t i)
{
    slot(element(i)) = 0.0f;
    const int32_t last = size_--;
    if (i <= size_) {
        place(i, keys_(last, 1), element(last));
        restore(i);
    }
}

void WorstElements::build(int32_t NBE)
{
    size_ = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        slot(e) = 0.0f;
        const float ratio = circles_(e, ratioColumn_);
        if (wantsRefining(ratio)) {
            place(++size_, ratio, e);
        }
    }
    for (int32_t i = size_ < 2 ? 0 : parent(size_); i >= 1; --i) {
        siftDown(i);
    }
}

void WorstElements::update(int32_t e)
{
    const int32_t i = position(e);
    const float ratio = circles_(e, ratioColumn_);
    if (!wantsRefining(ratio)) {
        if (i != 0) {
            remove(i);
        }
        return;
    }
    if (i == 0) {
        place(++size_, ratio, e);
        siftUp(size_);
        return;
    }
    keys_(i, 1) = ratio;
    restore(i);
}

void WorstElements::leave(int32_t e)
{
    const int32_t i = position(e);
    if (i != 0) {
        remove(i);
    }
}

void WorstElements::exchanged(int32_t a, int32_t b)
{
    const int32_t i = position(a);
    const int32_t j = position(b);
    if (i == 0 && j == 0) {
        return;
    }
    if (i == 0 || j == 0) {
        // one entry follows its row to its new number: its key changes in the number only
        const int32_t from = i != 0 ? a : b;
        const int32_t to = i != 0 ? b : a;
        const int32_t at = i != 0 ? i : j;
        slot(from) = 0.0f;
        place(at, keys_(at, 1), to);
        restore(at);
        return;
    }
    // both in the heap: both leave under their keys, and come back under their new numbers
    remove(j);
    remove(position(a));
    update(a);
    update(b);
}

} // namespace tesmo
