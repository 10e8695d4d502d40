// The storing read of the generation.
//
// The tables were carved from the counting read; this read fills them: the size records
// first, then the points, the edges and their zone codes. A file that passed the counting
// read as a geometry but cannot be stored as one is read as a mesh file instead: its elements
// become the edges, and the zone of each element becomes the first code of its row.
#include "driver/MGg_lecture.hpp"

#include "driver/fault_reports.hpp"
#include "files/files.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"
#include "topology/topology.hpp"

#include <algorithm>

namespace tesmo {

namespace {

using namespace pgmsg;

/// Generation mode that cuts borders iteratively with smoothing and needs the border structure.
constexpr int32_t kSmoothedBorders = 3;

void progress(int32_t mode, int32_t entry, int32_t value)
{
    if (mode >= 1) {
        pgReportInt(kInfoMessage, entry, pgmsg::kNone, value);
    }
}

/// Steps 1 to 4: the size records.
int storeSizes(const RunNames& names, RunQuantities& run, const GlobalTables& tables, int32_t mode)
{
    if (mode >= 1 && !names.sizes.empty()) {
        pgReport(kInfoMessage, kInfoReadingSizes, pgmsg::kNone, names.sizes);
    }
    const int code = litraf(1, names.sizes, run.sizes, tables.sizeIntegers, tables.sizeReals, tables.freeIntegers,
                            tables.freeReals, 0);
    if (code != kOk) {
        reportSizeFile(code, names.sizes, run.sizes.fault);
        return code;
    }
    progress(mode, kInfoConcentrations, run.sizes.records);
    if (run.sizes.refinementMode == kSizesAtPoints) {
        run.sizes.generationMode = 1;
    }
    return kOk;
}

/// Step 7: the file read as a mesh. Element j becomes edge j, and the code of its zone the
/// first slot of its row of the edge code table (the other slots 0). The zone end table is
/// only needed here, so it is read into the free integers.
int readAsMesh(std::string_view name, RunQuantities& run, const GlobalTables& tables)
{
    const int32_t capacity = std::min(tables.zoneCodes.count(), tables.freeIntegers.count());
    const Vec<int32_t> zoneEnds = tables.freeIntegers.slice(1, capacity);
    MeshSizes sizes;
    sizes.dimension = run.dimension;
    sizes.rowLength = run.nodesPerElement;
    const MeshTables mesh{entriesOf(tables.coordinates), entriesOf(tables.edgeNodes), tables.zoneCodes, zoneEnds};
    const int code = litvip(1, name, mesh, sizes);
    if (code != kOk) {
        return code;
    }
    const Rows<int32_t> codes = tables.edgeCodeRows;
    if (sizes.zones > capacity || sizes.ne > codes.count() || sizes.npts > tables.coordinates.count()) {
        return kCapacityError;
    }
    std::fill(codes.data(), codes.data() + int64_t(sizes.ne) * codes.width(), 0);
    int32_t first = 1;
    for (int32_t g = 1; g <= sizes.zones; ++g) {
        const int32_t last = zoneEnds(g);
        if (last < first - 1 || last > sizes.ne) {
            return kDataError;
        }
        for (int32_t j = first; j <= last; ++j) {
            codes(j, 1) = tables.zoneCodes(g);
        }
        first = last + 1;
    }
    run.points = sizes.npts;
    run.elements = sizes.ne;
    run.zones = sizes.zones;
    run.elementDimension = sizes.elementDimension;
    return kOk;
}

/// Steps 5 to 8: the points, the edges and their zone codes.
int storeGeometry(const RunNames& names, RunQuantities& run, const GlobalTables& tables, int32_t mode)
{
    if (mode >= 1) {
        pgReport(kInfoMessage, kInfoReadingGeometry, pgmsg::kNone, names.geometry);
    }
    GeometrySizes sizes;
    sizes.dimension = run.dimension;
    sizes.nodesPerElement = run.nodesPerElement;
    sizes.codesPerEdge = run.codesPerEdge;
    const GeometryTables geometry{entriesOf(tables.coordinates), entriesOf(tables.edgeNodes), tables.zoneCodes,
                                  entriesOf(tables.edgeCodeRows)};
    int code = litfrt(1, names.geometry, geometry, sizes);
    if (code == kOk) {
        run.points = sizes.npts;
        run.elements = sizes.ne;
        run.zones = sizes.zones;
        run.elementDimension = sizes.elementDimension;
    } else {
        code = readAsMesh(names.geometry, run, tables);
    }
    // The readers leave a table unwritten when its capacity is 0: what was read must lie in the tables.
    if (code == kOk && (run.points > run.noemax || run.elements > run.nbemax || run.zones > tables.zoneCodes.count())) {
        code = kCapacityError;
    }
    if (code != kOk) {
        pgReport(reportType(code), kWhileReading, pgmsg::kNone, names.geometry);
        return code;
    }
    progress(mode, kInfoPoints, run.points);
    progress(mode, kInfoEdges, run.elements);
    progress(mode, kInfoZones, run.zones);
    return kOk;
}

/// Steps 9 and 10: for smoothed borders, the structure of the border edges and their
/// connected components.
int borderStructure(RunQuantities& run, const GlobalTables& tables, int32_t mode)
{
    run.components = 0;
    if (run.sizes.generationMode != kSmoothedBorders) {
        return kOk;
    }
    const Rows<int32_t> edges = tables.edgeNodes;
    const int code = smaocr(run.elementDimension, edges, run.elements, run.points, edges, tables.edgeNeighbours,
                            tables.nodeEdge, tables.coordinates, tables.freeIntegers, run.components);
    if (code != kOk) {
        (void)traced(code, "MGGESF", "APPEL SMAOCR");
        pgReport(reportType(code), kGeometryNotValid, pgmsg::kNone, " ");
        return code;
    }
    progress(mode, kInfoPolygons, run.components);
    if (run.components >= 2 && tables.freeIntegers.count() < run.noemax) {
        pgReport(kCapacityError, kTooManyPolygons, pgmsg::kNone, " ");
        return kCapacityError;
    }
    return kOk;
}

} // namespace

int32_t reportType(int code)
{
    return code >= kNotAvailable && code <= kDataError ? code : kDataError;
}

int mggesf(const RunNames& names, RunQuantities& run, const GlobalTables& tables, int32_t mode)
{
    int code = storeSizes(names, run, tables, mode);
    if (code != kOk) {
        return code;
    }
    code = storeGeometry(names, run, tables, mode);
    if (code != kOk) {
        return code;
    }
    return borderStructure(run, tables, mode);
}

} // namespace tesmo
