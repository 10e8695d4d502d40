#pragma once
// The size function: one calling convention shared by the four ways of stating the wanted
// size (default size, concentrations on edges, concentrations on triangles, sizes at the
// points). The border and interior refinement loops receive one as a plain function pointer
// and call it with one concentration's records at a time.
//
// Also here: the density records as the stages hand them on, the size at every mesh node
// (`dncctb`), the shortest and longest edge of an element, and the size function of sizes
// given at the points (`dnchpo`), which serves edges and triangles alike.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// A size at no constraint yet.
inline constexpr float kNoSize = 1e38f;
/// True when a size or an edge length is null: not above the smallest positive real. Sizes and
/// lengths carry the units of the geometry, so no larger threshold holds at every scale (a
/// part drawn 1e-4 times smaller has its sizes 1e-4 times smaller).
bool nullSize(float size);

/// Refinement mode of the random generation, which is not available.
inline constexpr int32_t kRandomSizes = 4;

/// Evaluates element `element` (an edge in 1D, a triangle in 2D) of `elementNodes` against the
/// wanted size. `neighbours` is handed through unread. `coordinates` has one row of ndim reals
/// per node. `perElement` is the per-element real table: the edge length in 1D (an entry of 0
/// or less is computed and stored back), the circle vector in 2D; a width of 0 means there is
/// none. `densityIntegers` and `densityReals` are one concentration's records, or in mode 3
/// the sizes at the nodes (one real per node). Gives `ratio` (wanted size over the element's
/// own measure) and `wanted` (the wanted size). Returns 0 or -1.
using SizeFunction = int (*)(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                             Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                             Vec<const float> densityReals, float& ratio, float& wanted);

/// The size specification as the stages read it: `records` concentrations, each an integer row
/// (progression type, object type) and a real row (ratio or difference, size, the object's
/// points); for sizes at the points, `reals` is the list of sizes indexed by node number, with
/// room for the nodes the stages add (`realsPerRecord` of them are given).
struct DensityRecords {
    Vec<const int32_t> integers;
    int32_t integersPerRecord = 0;
    Vec<float> reals;
    int32_t realsPerRecord = 0;
    int32_t records = 0;
    /// The integer row of record k (empty when the table does not hold it).
    Vec<const int32_t> integerRecord(int32_t k) const;
    /// The real row of record k (empty when the table does not hold it).
    Vec<const float> realRecord(int32_t k) const;
};

/// Shortest edge of element kind k (1 edge, 2 triangle, 3 tetrahedron) of nodes `nodes`.
/// Returns 0, or -1 for a kind out of range or a node outside the coordinates.
[[nodiscard]] int dnarmn(int32_t kind, const int32_t* nodes, Rows<const float> coordinates, float& length);
/// Longest edge of the element, as `dnarmn`.
[[nodiscard]] int dnarmx(int32_t kind, const int32_t* nodes, Rows<const float> coordinates, float& length);

/// Size function of sizes given at the points (mode 3), for edges and triangles: the mean of
/// the sizes at the element's nodes over its longest edge. Returns 0; -1 for an element or node
/// out of range, an element of fewer than 2 nodes, a null longest edge ("ARETE DE LONGUEUR
/// NULLE") or a mean size at or below zero.
[[nodiscard]] int dnchpo(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> neighbours,
                         Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
                         Vec<const float> densityReals, float& ratio, float& wanted);

/// The wanted size at each of the nodes of `coordinates` (its row count) into `sizes`, by
/// refinement mode: 1 the shortest edge of the elements about each node (rows of
/// `elementDimension` + 1 nodes; edges without second node are skipped), 2 the smallest size of
/// the concentrations, 3 the given sizes. Returns 0; -1 for a size or edge below 1e-5
/// ("DENSITE NEGATIVE OU NULLE !"), a bad node or record; -2 when `sizes` or the given sizes are
/// shorter than the nodes; -3 for concentrations in 3D or random sizes (mode 4).
[[nodiscard]] int dncctb(int32_t mode, int32_t elementDimension, Rows<const int32_t> elements,
                         const DensityRecords& density, Rows<const float> coordinates, Vec<float> sizes);

} // namespace tesmo
