#pragma once
// The worst element of a refinement without a scan of every element: an indexed heap of
// the elements whose stored ratio is at most 2/3, ordered by (ratio, element number), so that
// its top is the element the scan `rfrech` selects (smallest ratio, lowest number on ties).
// Each heap entry keeps its key (ratio, element), so that the heap reads nothing else while it
// sifts; it follows every change of the rows it indexes: an element's ratio rewritten
// (`update`) and two rows exchanged (`exchanged`, the ratio travelling with its row).
//
// The integer work of a zone is spent on its element tables, while its reals have room: the
// heap lives in the reals. Each entry's key is one 64-bit word, the ratio's bits made to sort as
// the ratio does above the element number, stored over two reals; each row's heap position is
// an integer stored in one real; neither is ever read as a real.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Element rows the heap can index: every row number of a 32-bit table.
inline constexpr int32_t kMaxHeapElements = 2147483647;
/// Reals the heap may skip so that the keys of each group of children share a cache line.
inline constexpr int64_t kKeyAlignment = 16;
/// An element is a candidate while its ratio is at most this (the refinement's threshold).
inline constexpr float kRefineRatio = 0.6666667f;

/// True when an element of this ratio is to be refined (never for NaN).
constexpr bool wantsRefining(float ratio) { return ratio <= kRefineRatio; }

class WorstElements {
public:
    /// A heap over the element rows of `circles` (ratio in column `ratioColumn`), kept in
    /// `storage`, which must hold storageNeeded(rows of `circles`) reals.
    WorstElements(Rows<const float> circles, int32_t ratioColumn, Vec<float> storage);
    /// Reals the heap needs for `rows` element rows: a position per row, a key per entry.
    static int64_t storageNeeded(int32_t rows) { return 3 * int64_t(rows) + kKeyAlignment; }
    /// Indexes elements 1..NBE afresh.
    void build(int32_t NBE);
    /// Row e, beyond the elements indexed so far, starts out of the heap.
    void clear(int32_t e) { setPosition(e, 0); }
    /// Follows the ratio of element e: enters, moves or leaves the heap.
    void update(int32_t e);
    /// Rows a and b were exchanged, each ratio travelling with its row.
    void exchanged(int32_t a, int32_t b);
    /// Element e leaves the heap (when in it).
    void leave(int32_t e);
    /// The element of smallest (ratio, number) whose ratio is at most 2/3; 0 when none.
    int32_t worst() const { return size_ == 0 ? 0 : element(1); }
    /// Elements in the heap.
    int32_t size() const { return size_; }
    /// The listener trajpo tells its row exchanges to.
    static void onExchange(void* heap, int32_t a, int32_t b) { static_cast<WorstElements*>(heap)->exchanged(a, b); }

private:
    int32_t position(int32_t e) const;
    void setPosition(int32_t e, int32_t i) const;
    uint64_t key(int32_t i) const;
    int32_t element(int32_t i) const { return int32_t(uint32_t(key(i))); }
    /// The key of (ratio, e): ratios first, numbers on ties.
    static uint64_t keyOf(float ratio, int32_t e);
    static int32_t parent(int32_t i) { return (i + 6) / 8; }
    static int32_t firstChild(int32_t i) { return 8 * i - 6; }
    /// Writes `key` at heap position i and tells its element where it stands.
    void place(int32_t i, uint64_t key);
    void siftUp(int32_t i);
    void siftDown(int32_t i);
    void remove(int32_t i);
    /// Moves the entry at heap position i up or down to where its key belongs.
    void restore(int32_t i);

    Rows<const float> circles_;
    int32_t ratioColumn_;
    Vec<float> slots_; ///< heap position of each element row (an integer), 0 when out of the heap
    Rows<float> keys_; ///< heap entries: one 64-bit key over two reals each, heap-ordered
    int32_t size_ = 0;
};

} // namespace tesmo
