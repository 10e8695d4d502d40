#pragma once
// The storing read of the generation: the size specification and the geometry read into the
// tables carved for them, with the border structure built when the borders are smoothed.
#include "driver/geometry_fault.hpp"
#include "driver/st_memoire.hpp"
#include "files/es_densite.hpp"
#include "support/codes.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// The four file names of a generation, cut after their last non-blank character (empty when absent).
struct RunNames {
    std::string_view geometry;   ///< geometry file (or a mesh file)
    std::string_view sizes;      ///< mesh-size specification file
    std::string_view mesh;       ///< resulting mesh file
    std::string_view nodalSizes; ///< resulting nodal-size file
};

/// The run quantities the driver keeps and hands to its stages.
struct RunQuantities {
    int32_t dimension = 0;        ///< space dimension, 2 or 3
    int32_t points = 0;           ///< geometry points; later the current node count
    int32_t elementDimension = 0; ///< 1 for edges; 2 once the zones are meshed
    int32_t nodesPerElement = 0;  ///< P; 3 once the zones are meshed
    int32_t elements = 0;         ///< border edges; later the triangles
    int32_t zones = 0;            ///< distinct non-zero zone codes
    int32_t codesPerEdge = 0;     ///< L, at least 2
    SizeRecordCounts sizes;       ///< refinement and generation modes, shape of the size records
    int32_t noemax = 0;           ///< NOEMAX
    int32_t nbemax = 0;           ///< NBEMAX
    int32_t components = 0;       ///< connected border components (generation mode 3 only)
    GeometryAsRead geometry;      ///< the geometry as read, for the reports of a fault
};

/// Reads the size specification and the geometry into `tables` (the geometry falls back to the
/// mesh reader when it cannot be stored as a geometry) and, for generation mode 3, builds the
/// border structure in the optional tables. Prints the progress lines when `mode` >= 1.
/// Returns 0, or the code of the failing reader or structure (reported); -2 when the file holds
/// more than the tables or several border components leave too little memory.
[[nodiscard]] int mggesf(const RunNames& names, RunQuantities& run, const GlobalTables& tables, int32_t mode);

/// Type of the report of a failure code: the code itself for -1, -2 and -3, else -1 (DATA
/// ERROR), so that every failure is printed under a heading the catalogue has.
int32_t reportType(int code);

} // namespace tesmo
