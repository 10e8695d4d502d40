#pragma once
// Where a geometry was found at fault when a run refused it: what is wrong, the borders and
// the geometry points concerned, and a place, so that the console and a front end can point
// the user at it.
#include <array>
#include <cstdint>
#include <string_view>

namespace tesmo {

/// What is wrong with a refused geometry.
enum class FaultKind : int32_t {
    none,         ///< nothing located
    crossing,     ///< two borders cross
    selfCrossing, ///< a border crosses itself
    touching,     ///< a border touches another (or itself) at a place that is not a point of both
    zeroLength,   ///< an edge whose two points lie at the same place
    overlap,      ///< two zones cover the same area (one inside the other without a hole for it)
    noRegion,     ///< a zone whose borders bound no region
    samePlace,    ///< two points of one zone lie at the same place
    zone,         ///< a zone that could not be meshed, for a reason not located further
};

/// A located fault of the geometry. Numbers are those of the geometry file; 0 where there is
/// none (or, for a border, where it could not be found again).
struct GeometryFault {
    FaultKind kind = FaultKind::none;
    std::array<int32_t, 2> borders{};  ///< border numbers (the second 0 when one border is at fault)
    std::array<int32_t, 2> edges{};    ///< edge numbers in the order read, from which the borders are found
    std::array<int32_t, 4> points{};   ///< geometry point numbers (the ends of the edges at fault)
    std::array<int32_t, 2> zones{};    ///< zone numbers, for overlapping zones and faulty zones
    int32_t dimension = 0;             ///< coordinates of the place: 2 or 3
    std::array<float, 3> place{};      ///< where the fault is
};

/// The geometry as the driver read it, kept for the reports that name its borders and points
/// once the border stage has cut the borders (it adds nodes after the points read, and edges
/// after the edges read, each edge read keeping its first point).
struct GeometryAsRead {
    std::string_view name; ///< the geometry file
    int32_t points = 0;    ///< points read
    int32_t edges = 0;     ///< elements read (edges and lone points)
};

} // namespace tesmo
