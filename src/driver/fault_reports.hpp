#pragma once
// Reports that point at the fault of a refused run, and what the run says of an empty result:
// the record of a size file that holds a wrong value; before any zone is meshed, the check that
// the zones neither cross nor overlap; after a refusal by the border stage or by a zone, the
// line that locates the fault (verbose mode), also handed to a front end in the run's
// extension record; the zones that end with no triangle.
#include "driver/MGg_lecture.hpp"
#include "driver/api_mesh.hpp"
#include "driver/geometry_fault.hpp"
#include "driver/run_extensions.hpp"
#include "files/es_densite.hpp"

#include <cstdint>
#include <string_view>

namespace tesmo {

/// Reports a size file that could not be read: "error in the file :" with its name and the
/// line naming the record and the value at fault when the reader refused a value, else
/// "while reading the file :" with its name under the heading of the code.
void reportSizeFile(int code, std::string_view name, const SizeFileFault& fault);

/// Keeps the geometry as stored in `run.geometry`, then checks that its borders neither cross
/// nor make zones overlap (`checkBorderCrossings`), in the free areas of `tables`. A geometry
/// at fault is refused with "geometry is not valid", followed in verbose mode by the line that
/// locates the fault; the fault also goes to `extensions`. Without room for the check the
/// geometry goes on unchecked (traced in debug mode). Returns 0, or -1 when refused.
[[nodiscard]] int checkZonesApart(const RunNames& names, RunQuantities& run, const GlobalTables& tables,
                                  int32_t mode, RunExtensions* extensions);

/// After the border stage refused the geometry (code -1): an edge read whose two points lie at
/// one place, printed in verbose mode and handed to `extensions`. Nothing when there is none.
void locateBorderRefusal(const RunQuantities& run, const GlobalTables& tables, int32_t mode,
                         RunExtensions* extensions);

/// After zone `zoneCode` was refused for its data: two of its points at one place, or borders
/// that bound no region (no closed line, or all its points on one line), or else the zone
/// itself, with its first border and a place; printed in verbose mode and handed to
/// `extensions`. `work` is free integer space (a short one only makes the line less precise).
void locateZoneRefusal(const BorderDescription& border, int32_t zoneCode, const RunQuantities& run,
                       Rows<const float> coordinates, Vec<int32_t> work, int32_t mode, RunExtensions* extensions);

/// After zone k of `zones` (code `zoneCode`) made `made` triangles, `total` so far: a warning
/// naming the zone when it made none (verbose mode); after the last zone, a warning in any mode
/// when no zone made a triangle.
void noteZoneTriangles(int32_t mode, int32_t k, int32_t zones, int32_t zoneCode, int32_t made, int32_t total);

/// Prints the line that locates a fault of the geometry.
void printGeometryFault(const GeometryFault& fault);

} // namespace tesmo
