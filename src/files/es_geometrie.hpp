#pragma once
// The geometry file: block XYZ (points) and block ILM, or ARE when there is no ILM (borders).
//
// A border record is `n p1 .. pn code nz z1 .. znz`; `n = -3` announces the interval
// `first last step`. Code 99 gives one point element per point, code 100 one edge per pair of
// consecutive points, code 101 (three points) is not yet possible.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kMaxGeometryDimension = 10; ///< largest space dimension of a geometry file
inline constexpr int32_t kMaxBorderPoints = 10000;   ///< largest number of points of one border
inline constexpr int32_t kMaxBorderZones = 10;       ///< largest number of zones of one border
inline constexpr int32_t kIntervalMark = -3;         ///< a point count announcing `first last step`

/// Border codes of the geometry file.
inline constexpr int32_t kBorderPoints = 99;    ///< isolated points, one point element each
inline constexpr int32_t kBorderPolyline = 100; ///< a polyline, one edge per pair of points
inline constexpr int32_t kBorderTriple = 101;   ///< a border of exactly three points (not yet possible)

/// Counts of a geometry file. `dimension`, `nodesPerElement` and `codesPerEdge` are outputs
/// of the counting pass and the caller's row lengths in the filling pass.
struct GeometrySizes {
    int32_t dimension = 0;        ///< row length of the coordinate table (space dimension)
    int32_t npts = 0;             ///< number of points
    int32_t elementDimension = 0; ///< largest element dimension (0 or 1)
    int32_t nodesPerElement = 0;  ///< row length of the edge node table
    int32_t ne = 0;               ///< number of elements
    int32_t zones = 0;            ///< number of distinct non-zero zone numbers
    int32_t codesPerEdge = 0;     ///< row length of the edge code table (largest zone count)
};

/// Tables filled by `litfrt`; the count of each view is its capacity in entries.
struct GeometryTables {
    Vec<float> coordinates;  ///< `dimension` reals per point; empty: points are read, not stored
    Vec<int32_t> edgeNodes;  ///< `nodesPerElement` point numbers per element
    Vec<int32_t> zoneCodes;  ///< distinct non-zero zone numbers in order of first appearance
    Vec<int32_t> edgeCodes;  ///< `codesPerEdge` zone numbers per element, then zeros
};

/// Reads the geometry file: pass 0 counts (the zone code list is still filled within its
/// capacity), pass 1 stores the points and cuts every border into elements.
/// Returns 0; -1 bad data; -2 a dimension above 10 or a table too small; -3 a code 101 border
/// in the filling pass. Every failure prints its message; both files are closed on every path.
[[nodiscard]] int litfrt(int32_t pass, std::string_view name, const GeometryTables& tables, GeometrySizes& sizes);

/// The elements a checked border of n points gives: one per point (99), one per pair (100),
/// none (101).
int32_t borderElements(int32_t code, int32_t n);

/// Reads one border record from the unit and checks it; an interval is expanded into `points`
/// (its count is the point capacity) and `n` becomes the number of points.
/// Returns 0; -1 bad record; -2 more zones than `zones` holds. Prints the message of the case.
[[nodiscard]] int litgeo(int32_t unit, int32_t& elementDimension, Vec<int32_t> points, int32_t& n, Vec<int32_t> zones,
                         int32_t& nz, int32_t& code);

} // namespace tesmo
