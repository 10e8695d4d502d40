#pragma once
// The zone stages: the plane frame of a zone given in space, the triangulation of the zone's
// border nodes (Delaunay insertion, border recovery, exterior removal, border marking), the
// interior refinement, and the mapping of the new nodes back into space.
#include "driver/run_extensions.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// The size specification as the stages read it.
struct SizeSpecification {
    int32_t refinementMode = 1; ///< 1 default size, 2 concentrations, 3 sizes at the nodes
    int32_t generationMode = 1; ///< how borders are cut: 1 direct, 2 iterative, 3 smoothed
    Vec<int32_t> integers;      ///< `records` rows of `integersPerRecord`
    int32_t integersPerRecord = 0;
    Vec<float> reals; ///< `records` rows of `realsPerRecord`; sizes at the nodes: one per node
    int32_t realsPerRecord = 0;
    int32_t records = 0;
};

/// The element tables of one zone with their counts and maxima.
struct ZoneElements {
    int32_t elementDimension = 2;
    Rows<int32_t> ITRNOE; ///< NBEMAXz rows of 3 local node numbers
    Rows<int32_t> ITRTRI; ///< NBEMAXz rows of 3 neighbours
    Vec<int32_t> NOETRI;  ///< NOEMAXz entries: one triangle per node
    int32_t nodes = 0;    ///< the zone's node count
    int32_t NBE = 0;      ///< the zone's triangle count
    int32_t noemax = 0;   ///< NOEMAXz
    int32_t nbemax = 0;   ///< NBEMAXz, lowered to the room left in the mesh's triangle table
};

/// Triangulates nodes 1..nz of `coordinates` (width 2) into the zone tables, restores the
/// edges `first`..`last` of `edges` (rows of 2 local nodes), removes the triangles outside
/// them and marks them as borders. Returns 0; the code of the Delaunay insertion, of the last
/// edge that could not be restored, or of the exterior removal (`shortage`, when given, tells
/// which work array a -2 ran short of); -1 for a width other than 2.
[[nodiscard]] int mgtria(Rows<int32_t> edges, int32_t first, int32_t last, Rows<float> coordinates, int32_t nz,
                         ZoneElements& zone, Vec<int32_t> freeIntegers, Vec<float> freeReals,
                         WorkShortage* shortage = nullptr);

/// The stages of one zone of nz border nodes and the edges `IARMA`: in space the plane frame
/// of the border nodes, then `mgtria` and the refinement (`mgraft`, at most `room` new nodes,
/// the sizes at the nodes into `IGRDMX`) on the plane coordinates, and the new nodes mapped
/// back into `ICOOM`. With sizes at the nodes, `sizes` leaves with the zone's new nodes' sizes
/// and its true count. Returns 0, a positive status (1 maximum nodes reached, 2 maximum
/// elements reached, or the positive code of `mgtria`), or the negative code of the failing
/// stage; -1 for a space dimension other than 2 and 3; -2 when the free reals cannot hold the
/// plane frame (`shortage`, when given, tells which work array a -2 ran short of).
[[nodiscard]] int mgtraf(Rows<int32_t> IARMA, int32_t nz, ZoneElements& zone, Rows<float> ICOOM, Vec<float> IGRDMX,
                         SizeSpecification& sizes, int32_t room, Vec<int32_t> freeIntegers, Vec<float> freeReals,
                         int32_t mode, WorkShortage* shortage = nullptr, RunExtensions* extensions = nullptr);

/// Maps plane points `first`..`last` of `plane` (width 2) back into space: row i of `space`
/// (width 3) becomes inverse · (x, y, 0) + origin, `inverse` the 9 reals of the inverse frame.
/// Returns 0; -2 when a row lies beyond either table; -1 for a width other than 2 and 3.
[[nodiscard]] int mapToSpace(const float* inverse, const float* origin, Rows<const float> plane, int32_t first,
                             int32_t last, Rows<float> space);

} // namespace tesmo
