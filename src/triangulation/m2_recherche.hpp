#pragma once
// The cavity of a point to insert: the connected set of triangles whose circumscribed
// circles contain it, found by a search over all elements (rtadet) or grown from a known
// element (rtconn).
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Grows the cavity of the point x from element `start`, taken without test: breadth first
/// through positive neighbour entries only (never across a border-marked or outer face), a
/// reached element joining when its circle contains x (sppoin). The cavity is written to
/// work(1..cavityCount) (the rest of `work` holds the queue and the elements left out).
/// While it runs, the elements listed are marked by a negative first node in ITRNOE; the
/// marks are undone before it returns, whatever the outcome.
/// Returns 0, -1 for `start` or a neighbour outside 1..NBE, a cavity element that is not a
/// triangle or has a node outside the coordinates, -2 when `work` is exhausted or a table
/// holds fewer than NBE rows.
[[nodiscard]] int rtconn(const float* x, int32_t start, Rows<int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
                         int32_t NBE, Rows<const float> COORD, Rows<const float> spheres, Vec<int32_t> work,
                         int32_t& cavityCount);

/// Finds the first element (lowest number, deleted rows skipped) whose circle contains x,
/// then grows the cavity from it (rtconn). cavityCount is 0 when no circle contains x.
/// Returns 0 or the codes of rtconn; -1 also for an element whose third node is outside the
/// coordinates.
[[nodiscard]] int rtadet(const float* x, Rows<int32_t> ITRNOE, Rows<const int32_t> ITRTRI, int32_t NBE,
                         Rows<const float> COORD, Rows<const float> spheres, Vec<int32_t> work, int32_t& cavityCount);

} // namespace tesmo
