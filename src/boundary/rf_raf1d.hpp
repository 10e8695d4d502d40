#pragma once
// Border refinement by size (refinement modes 2 and 3): every border edge cut so that its
// length follows the wanted size, by one of three methods: 1 direct (each edge cut at once at
// the positions its progression gives), 2 iterative (the worst edge halved again and again),
// 3 iterative with smoothing (then the new nodes moved so that neighbouring edges differ by at
// most a ratio of 1.25).
#include "boundary/st_1dstruct.hpp"
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Border methods.
inline constexpr int32_t kDirectCutting = 1;
inline constexpr int32_t kIterativeCutting = 2;
inline constexpr int32_t kSmoothedCutting = 3;
/// An edge is cut while its ratio (wanted size over length) is at most this: while it is at
/// least 1.5 times as long as wanted.
inline constexpr float kCutRatio = 0.6666667f;
/// Ratio of neighbouring edges that the smoothing keeps to.
inline constexpr float kSmoothingRatio = 1.25f;
/// The smoothing stops when no node moved by more than this part of its intervals...
inline constexpr float kSmoothingSettled = 1e-6f;
/// ... or when a sweep gains at most this over the one before.
inline constexpr float kSmoothingGain = 0.1f;
/// Sweeps of the smoothing, at most: a guard against a smoothing that would never settle.
inline constexpr int32_t kMostSmoothingSweeps = 1000;

/// Cuts the border edges for each concentration in order (`density.records` of them; one list
/// of sizes at the nodes in mode 3, which every new node extends) with `sizeFunction` (`d1isui`
/// in mode 2, `dnchpo` in mode 3) by `method`. `scratch` receives the positions of one edge
/// (direct method); `realWork` holds one ratio per edge and `integerWork` the index of the
/// worst edge (iterative methods; without room for it every edge is scanned instead, with the
/// same result). Returns 0; +1 when the node or edge capacity stopped the cutting (the border is
/// coarser but valid); -1 for a method out of 1..3 or bad data; -2 when a work table is short.
[[nodiscard]] int r1raff(int32_t mode, int32_t method, BorderMesh& border, SizeFunction sizeFunction,
                         const DensityRecords& density, Vec<float> scratch, Vec<float> realWork,
                         Vec<int32_t> integerWork);

/// Direct method on edge e with concentration `record` (mode 2) or the sizes at the nodes
/// (mode 3, where new node i of the edge gets the term u0 q^i of its progression). `placed`
/// tells the nodes added. Returns 0; +1 when the capacities allowed only the first `placed`
/// positions from the edge's first node; -1 for a bad mode, edge or record; the codes of the
/// placement (-2 when `scratch` cannot hold the positions).
[[nodiscard]] int r1dir(int32_t mode, int32_t e, const DensityRecords& density, int32_t record, BorderMesh& border,
                        Vec<float> scratch, int32_t& placed);

/// Iterative method with concentration `record` (mode 2) or the sizes at the nodes (mode 3,
/// where each new node gets the size wanted at the edge it cuts). Returns as `r1raff`.
[[nodiscard]] int r1iter(SizeFunction sizeFunction, const DensityRecords& density, int32_t record, int32_t mode,
                         BorderMesh& border, Vec<float> realWork, Vec<int32_t> integerWork);

/// The edge of smallest ratio strictly below 1 among `ratios` (one per edge of `edges`), the
/// lowest edge number on ties, with its midpoint; 0 and a ratio of 1 when none is below 1.
int32_t r1rech(Rows<const int32_t> edges, Rows<const float> coordinates, Vec<const float> ratios, float* midpoint,
               float& ratio);

/// Moves new node k, between its two edges, so that they respect the progression (type,
/// ratio); `moved` is its move relative to the mean of the two edges. A node without edge is
/// left where it is. Returns 0; -1 without neighbour links or for a bad end or step.
[[nodiscard]] int r1lis(int32_t k, int32_t type, float ratio, BorderMesh& border, float& moved);

} // namespace tesmo
