#pragma once
// The mesh file: block XYZ (nodes) and block ILM (elements, each with its node numbers, an
// element type code and a reference, the zone it belongs to).
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

inline constexpr int32_t kMaxMeshDimension = 10;  ///< largest space dimension of a mesh file
inline constexpr int32_t kMaxElementNodes = 527;  ///< largest node count of an element read
inline constexpr int32_t kGeometryNotMesh = -4;   ///< litvip: the file holds borders (ARE), not elements
inline constexpr int32_t kElementFieldWidth = 10; ///< width of an integer field of an element record
inline constexpr int32_t kElementFieldsPerLine = 11; ///< integer fields per line of an element record

/// Open modes of `ecrvip`.
inline constexpr int32_t kWriteReplace = 2;      ///< an existing file is replaced
inline constexpr int32_t kWriteNotAvailable = 3; ///< not yet possible

/// Counts of a mesh file. `dimension` and `rowLength` are outputs of the counting pass and
/// the caller's row lengths in the filling pass.
struct MeshSizes {
    int32_t dimension = 0;        ///< row length of the coordinate table
    int32_t npts = 0;             ///< number of nodes
    int32_t elementDimension = 0; ///< largest element dimension
    int32_t rowLength = 0;        ///< row length of the element table (largest node count)
    int32_t ne = 0;               ///< number of elements
    int32_t zones = 0;            ///< number of distinct references (element groups)
};

/// Tables filled by `litvip`; the count of each view is its capacity in entries.
struct MeshTables {
    Vec<float> coordinates; ///< `dimension` reals per node; empty: the nodes are not read
    Vec<int32_t> elements;  ///< `rowLength` node numbers per element, grouped by reference
    Vec<int32_t> zoneCodes; ///< reference of each group, in order of first appearance
    Vec<int32_t> zoneEnds;  ///< number of the last element of each group
};

/// Writes a mesh file: the nodes (`coordinates`: one row per node), then the elements (one row
/// of node numbers each) with their type code and the zone code of the group covering them
/// (every element gets reference 1 when `ng` < 1). Mode 2 replaces a file, 3 is not yet
/// possible, any other mode requires a new file. Returns 0; -3 for mode 3; the file manager's
/// code (-1 for a name already open) when the open is refused; -1 when `codvip` refuses an
/// element, an element lies outside every group, or the file cannot be written when closed.
[[nodiscard]] int ecrvip(int32_t mode, std::string_view name, Rows<const float> coordinates, int32_t elementDimension,
                         Rows<const int32_t> elements, int32_t ng, Vec<const int32_t> zoneCodes,
                         Vec<const int32_t> zoneEnds);

/// Reads a mesh file: pass 0 counts, pass 1 stores the nodes and the elements grouped by
/// reference (references in order of first appearance, elements of one reference in file order).
/// Returns 0; -1 bad data; -2 a dimension above 10, an element above 527 nodes or a table too
/// small; -4 (no message) when the file holds a border block ARE instead of elements.
[[nodiscard]] int litvip(int32_t pass, std::string_view name, const MeshTables& tables, MeshSizes& sizes);

/// Decodes an element type code (22 to 42 are first reduced by 21, in place) into its element
/// dimension and node count (-1: any). Returns 0, or -1 for an unknown code.
[[nodiscard]] int vipcod(int32_t& code, int32_t& elementDimension, int32_t& nodes);

/// Codes an element from its dimension and its row of node numbers (the row's count is the
/// row length); `code` is -1 when the element has no code. Returns 0, or -1 when the
/// dimension is outside 0..3 or the row is all zero.
[[nodiscard]] int codvip(int32_t elementDimension, Vec<const int32_t> row, int32_t& code, int32_t& nodes);

} // namespace tesmo
