#pragma once
// The zone pipeline: one zone of the border description is selected, renumbered locally,
// meshed by the zone stages, and its new nodes and triangles are appended to the mesh.
#include "driver/api_triangulation.hpp"
#include "driver/run_extensions.hpp"
#include "driver/st_memoire.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// The borders of every zone, as the border stage leaves them.
struct BorderDescription {
    int32_t elementDimension = 1;  ///< 1 for edges
    Rows<const int32_t> edgeNodes; ///< P nodes per edge; a second node 0 stands for a lone point
    Rows<const int32_t> edgeCodes; ///< L zone codes per edge, 0 past the edge's own codes
    int32_t nodes = 0;             ///< Nb, the node count after the border stage
    int32_t edges = 0;             ///< Eb, the edge count after the border stage
};

/// The edges that may belong to one zone, increasing: every edge of the border description,
/// or the zone's list from `indexZoneEdges`.
struct ZoneEdges {
    bool every = true;
    Vec<const int32_t> edges; ///< used when `every` is false
};

/// For each zone of `zoneCodes`, the edges that list its code, so that a zone's selection need
/// not scan every edge: `starts` (zone count + 1 entries) and `edges`, in edge order per zone.
struct ZoneEdgeIndex {
    Vec<const int32_t> starts;
    Vec<const int32_t> edges;
    /// The candidate edges of zone k.
    ZoneEdges of(int32_t k) const;
};

/// The mesh the zones are appended to.
struct GlobalMesh {
    Rows<int32_t> ITRNOE;  ///< triangles, NBEMAX rows of 3 global node numbers
    int32_t nodes = 0;     ///< node count, grows with each zone
    int32_t triangles = 0; ///< triangle count, grows with each zone
    int32_t noemax = 0;    ///< NOEMAX
    Rows<float> COORD;     ///< NOEMAX rows of D coordinates
    Vec<float> GRDNOE;     ///< nodal sizes, NOEMAX entries; empty without a nodal-size file
};

/// Selects the zone `zoneCode` among the `candidates`: its distinct border nodes ascending into
/// `nodeList` (capacity 2 Nb) and its edges as global node pairs into `edgeList` (capacity Eb
/// rows of 2). Returns 0; -2 when a list would overflow; -1 for a node outside 1..Nb, a
/// candidate outside 1..Eb or a bad description.
[[nodiscard]] int rgaret(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates,
                         Vec<int32_t> nodeList, Rows<int32_t> edgeList, int32_t& nz, int32_t& ez);

/// Builds the index of the zones' edges at the end of `area`; `used` is the number of entries
/// it takes there (0 when the area is too small: the zones then scan every edge).
void indexZoneEdges(const BorderDescription& border, Vec<const int32_t> zoneCodes, Vec<int32_t> area,
                    ZoneEdgeIndex& index, int32_t& used);

/// The most triangles the zones can make without adding a node: a zone of n nodes (n >= 3)
/// triangulates into at most 2 n - 5 triangles, whatever the other zones. This holds for zones
/// about a closed surface in space, whose triangles exceed the 2 N - 5 of one plane
/// triangulation of the N points (a cube of six faces with a point in each: 24 > 23).
/// `stamps` (Nb entries of work) marks the nodes counted for a zone. Returns 0, -2 when
/// `stamps` is short, -1 for a node outside 1..Nb.
[[nodiscard]] int zoneTriangleBound(const BorderDescription& border, Vec<const int32_t> zoneCodes,
                                    Vec<int32_t> stamps, int64_t& bound);

/// Appends a meshed zone to the mesh: local nodes after the nz of `nodeList` get the global
/// numbers after `mesh.nodes` (written to `newNumbers`), with their coordinates, nodal sizes
/// and (when `RADEC` is not empty) sizes at the nodes; the zone's triangles follow the mesh's.
/// Returns 0; -2 when a table of the mesh or `newNumbers` is too small (nothing is written);
/// -1 when a triangle names a node outside the zone.
[[nodiscard]] int mergeZone(Vec<const int32_t> nodeList, const ZoneElements& zone, Rows<const float> ICOOM,
                            Vec<const float> IRADEC, Vec<const float> IGRDMX, Vec<int32_t> newNumbers, GlobalMesh& mesh,
                            Vec<float> RADEC);

/// Meshes the zone `zoneCode` in the free areas and appends it to `mesh`; every border node
/// keeps its global number. `room` bounds the nodes the zone may add. Returns 0, the zone
/// stages' positive status (1 maximum nodes reached), or the negative code of the failing step
/// (-2 for every table that does not fit; `shortage` then tells which work array ran short).
[[nodiscard]] int rgraft(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates,
                         GlobalMesh& mesh, const SizeSpecification& sizes, int32_t room, Vec<int32_t> freeIntegers,
                         Vec<float> freeReals, int32_t mode, WorkShortage& shortage,
                         RunExtensions* extensions = nullptr);

} // namespace tesmo
