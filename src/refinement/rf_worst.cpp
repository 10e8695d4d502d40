// The indexed heap of the worst elements, eight children to a position: position i has its
// children at 8i - 6 .. 8i + 1 and its parent at (i + 6) / 8, so that the heap is a third as
// deep as a binary one and the keys of the eight children fill one cache line. An entry's key
// is (its ratio, its element number) in one word, a strict order since numbers differ.
#include "refinement/rf_worst.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

namespace tesmo {

namespace {

/// Reals skipped before the keys so that the eight children of every position fill one cache
/// line: the keys of position i start 8 (i - 1) bytes after the first, the children of p at
/// 8 p - 6, that is 64 p - 56 bytes after it.
int32_t keyPadding(const float* keys)
{
    const auto address = reinterpret_cast<std::uintptr_t>(keys);
    return int32_t(((56 + 64 - address % 64) % 64) / sizeof(float));
}

} // namespace

WorstElements::WorstElements(Rows<const float> circles, int32_t ratioColumn, Vec<float> storage)
    : circles_(circles), ratioColumn_(ratioColumn), slots_(storage.data(), circles.count()),
      keys_(storage.data() + circles.count() + keyPadding(storage.data() + circles.count()), 2, circles.count())
{
}

int32_t WorstElements::position(int32_t e) const
{
    int32_t i = 0;
    std::memcpy(&i, &slots_(e), sizeof i);
    return i;
}

void WorstElements::setPosition(int32_t e, int32_t i) const { std::memcpy(&slots_(e), &i, sizeof i); }

uint64_t WorstElements::key(int32_t i) const
{
    uint64_t k = 0;
    std::memcpy(&k, &keys_(i, 1), sizeof k);
    return k;
}

uint64_t WorstElements::keyOf(float ratio, int32_t e)
{
    // the bits of a real sort as the real once the sign bit is turned (negatives: all bits)
    const uint32_t bits = std::bit_cast<uint32_t>(ratio == 0.0f ? 0.0f : ratio);
    const uint32_t sorted = (bits & 0x80000000u) != 0 ? ~bits : bits | 0x80000000u;
    return (uint64_t(sorted) << 32) | uint32_t(e);
}

void WorstElements::place(int32_t i, uint64_t k)
{
    std::memcpy(&keys_(i, 1), &k, sizeof k);
    setPosition(int32_t(uint32_t(k)), i);
}

void WorstElements::siftUp(int32_t i)
{
    const uint64_t k = key(i);
    while (i > 1 && key(parent(i)) > k) {
        place(i, key(parent(i)));
        i = parent(i);
    }
    place(i, k);
}

void WorstElements::siftDown(int32_t i)
{
    const uint64_t k = key(i);
    for (;;) {
        const int32_t first = firstChild(i);
        if (first > size_) {
            break;
        }
        int32_t child = first;
        uint64_t least = key(first);
        for (int32_t c = first + 1; c <= first + 7 && c <= size_; ++c) {
            const uint64_t other = key(c);
            if (other < least) {
                least = other;
                child = c;
            }
        }
        if (least >= k) {
            break;
        }
        place(i, least);
        i = child;
    }
    place(i, k);
}

void WorstElements::restore(int32_t i)
{
    if (i > 1 && key(parent(i)) > key(i)) {
        siftUp(i);
    } else {
        siftDown(i);
    }
}

void WorstElements::remove(int32_t i)
{
    setPosition(element(i), 0);
    const int32_t last = size_--;
    if (i <= size_) {
        place(i, key(last));
        restore(i);
    }
}

void WorstElements::build(int32_t NBE)
{
    size_ = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        setPosition(e, 0);
        const float ratio = circles_(e, ratioColumn_);
        if (wantsRefining(ratio)) {
            place(++size_, keyOf(ratio, e));
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
        place(++size_, keyOf(ratio, e));
        siftUp(size_);
        return;
    }
    place(i, keyOf(ratio, e));
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
    // each entry follows its row to its new number: its key changes in the number only, which
    // orders it among entries of the same ratio
    const uint64_t number = 0xFFFFFFFFu;
    if (i != 0 && j != 0) {
        place(i, (key(i) & ~number) | uint32_t(b));
        place(j, (key(j) & ~number) | uint32_t(a));
        restore(i);
        restore(position(a));
        return;
    }
    const int32_t from = i != 0 ? a : b;
    const int32_t to = i != 0 ? b : a;
    const int32_t at = i != 0 ? i : j;
    setPosition(from, 0);
    place(at, (key(at) & ~number) | uint32_t(to));
    restore(at);
}

} // namespace tesmo
