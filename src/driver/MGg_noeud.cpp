// The generation driver.
//
// One run, in nine steps:
//   1. counting read of the geometry, and the checks that it can be meshed;
//   2. counting read of the size specification, and its checks;
//   3. the node and element maxima, and the global tables carved from the work arrays;
//   4. storing read of both files (mggesf);
//   5. border stage: every border edge cut by the size specification, once for all zones;
//   6. switch to triangles: the optional edge tables give way to the triangle table;
//   7. zone loop: each zone meshed and appended, in the order of its first appearance;
//   8. mesh file;  9. nodal-size file.
// Every failure up to step 7 stops the run before anything is written. The borders are cut
// once, globally, so that zones sharing a border share its nodes and node numbers are global.
#include "driver/MGg_noeud.hpp"

#include "driver/MGg_lecture.hpp"
#include "driver/api_mesh.hpp"
#include "driver/api_raf1d.hpp"
#include "driver/st_memoire.hpp"
#include "files/files.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"

#include <algorithm>
#include <limits>

namespace tesmo {

namespace {

constexpr const char* kRoutine = "MGGMEM";

namespace entry = pgmsg;

constexpr int32_t kWarning = kWarningMessage;
constexpr int32_t kSmoothedBorders = 3;    ///< generation mode asking for the border structure
constexpr int32_t kZoneGenerationMode = 2; ///< generation mode of the zone stages
constexpr int32_t kTriangleDimension = 2;
constexpr int32_t kTriangleNodes = 3;
constexpr int32_t kScannedZones = 16; ///< up to this many zones, each zone scans every edge

void progress(int32_t mode, int32_t message, int32_t value)
{
    if (mode >= 1) {
        pgReportInt(kInfoMessage, message, pgmsg::kNone, value);
    }
}

void progressText(int32_t mode, int32_t message, std::string_view text)
{
    if (mode >= 1) {
        pgReport(kInfoMessage, message, pgmsg::kNone, text);
    }
}

/// A zone whose refinement stopped at full element tables is coarser than its sizes ask: the
/// user is warned, with the zone's number, in the form of the node maximum's warning.
void warnElementsFull(int32_t zone)
{
    pgWarningInt("Maximum number of elements reached in the zone :", zone);
}

/// A data error of the geometry: the reason with a blank, then "error in the file :" and its name.
int geometryError(int32_t first, int32_t second, std::string_view name)
{
    pgReport(kDataError, first, second, " ");
    pgReport(kDataError, entry::kErrorInFile, pgmsg::kNone, name);
    return kDataError;
}

/// A shortage of one work array while carving: its report, and its trace unless `quiet`.
int reportShortage(WorkShortage shortage, bool quietReals)
{
    if (shortage == WorkShortage::reals) {
        pgReport(kCapacityError, entry::kNoReals, pgmsg::kNone, " ");
        return quietReals ? kCapacityError : traced(kCapacityError, kRoutine, "TABLEAUX DE REELS TROP PETIT");
    }
    pgReport(kCapacityError, entry::kNoIntegers, pgmsg::kNone, " ");
    return traced(kCapacityError, kRoutine, "TABLEAUX D ENTIERS TROP PETIT");
}

int32_t clampToInt32(int64_t value)
{
    return int32_t(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

/// Step 1: counting read of the geometry, and the checks that it can be meshed. The zone code
/// list is left at the start of `itvl`.
int countGeometry(const RunNames& names, Vec<int32_t> itvl, RunQuantities& run)
{
    GeometrySizes sizes;
    const GeometryTables counting{Vec<float>(), Vec<int32_t>(), itvl.slice(1, itvl.count() - 1), Vec<int32_t>()};
    const int code = litfrt(0, names.geometry, counting, sizes);
    if (code != kOk) {
        pgReport(reportType(code), entry::kWhileReading, pgmsg::kNone, names.geometry);
        return code;
    }
    run.dimension = sizes.dimension;
    run.points = sizes.npts;
    run.elementDimension = sizes.elementDimension;
    run.nodesPerElement = sizes.nodesPerElement;
    run.elements = sizes.ne;
    run.zones = sizes.zones;
    run.codesPerEdge = std::max(sizes.codesPerEdge, 2);
    if (run.dimension != 2 && run.dimension != 3) {
        return geometryError(entry::kPointDefinition, entry::kIllegalDimension, names.geometry);
    }
    if (run.dimension == 2 && sizes.codesPerEdge > 2) {
        return geometryError(entry::kPointDefinition, entry::kThreeZones, names.geometry);
    }
    if (run.elementDimension == 0 && run.elements == 0) {
        if (run.points == 0) {
            pgReport(kDataError, entry::kNothingInFile, pgmsg::kNone, names.geometry);
            return kDataError;
        }
        pgReport(kWarning, entry::kNoEdge, pgmsg::kNone, names.geometry);
    }
    if (run.elementDimension > 1) {
        return geometryError(entry::kNotEdges, pgmsg::kNone, names.geometry);
    }
    return kOk;
}

/// Step 2: counting read of the size specification (quiet), and its checks. Its work tables
/// lie after the zone code list.
int countSizes(const RunNames& names, int32_t nbn, Vec<int32_t> itvl, Vec<float> rtvl, RunQuantities& run, int32_t mode)
{
    const int32_t listed = std::min(run.zones, itvl.count() - 1);
    const Vec<int32_t> integerWork = itvl.slice(listed + 1, itvl.count() - 1 - listed);
    const Vec<float> realWork = rtvl.slice(1, rtvl.count() - 1);
    const int code = litraf(0, names.sizes, run.sizes, Vec<int32_t>(), Vec<float>(), integerWork, realWork, 0);
    if (run.sizes.refinementMode == kSizesAtPoints) {
        run.sizes.generationMode = 1;
    }
    if (code != kOk) {
        pgReport(reportType(code), entry::kWhileReading, pgmsg::kNone, names.sizes);
        return code;
    }
    if (run.sizes.refinementMode == kDensityConcentrations && run.dimension == 3) {
        pgReport(kDataError, entry::kDensityIn3D, pgmsg::kNone, " ");
        return kDataError;
    }
    if (mode >= 1 && run.sizes.generationMode == 1 && nbn > 0) {
        pgReport(kWarning, entry::kCareful, entry::kMaximumSet, " ");
    }
    if (run.sizes.refinementMode == kSizesAtPoints && run.sizes.realsPerRecord != run.points) {
        pgReport(kDataError, entry::kSizeAtEachNode, pgmsg::kNone, " ");
        return kDataError;
    }
    if (nbn > 0 && nbn < run.points) {
        (void)traced(kCapacityError, kRoutine, " NBRE NOEUDS DEJA ATTEINT ");
        pgReportInt(kCapacityError, entry::kAlreadyReached, pgmsg::kNone, run.points);
        return kCapacityError;
    }
    return kOk;
}

/// Step 3: the maxima NOEMAX and NBEMAX, then the global tables.
int carveTables(const RunNames& names, int32_t nbn, Vec<int32_t> itvl, Vec<float> rtvl, RunQuantities& run,
                GlobalTables& tables)
{
    const SizeRecordCounts& shape = run.sizes;
    GlobalSizing sizing;
    sizing.dimension = run.dimension;
    sizing.zones = run.zones;
    sizing.points = run.points;
    sizing.edges = run.elements;
    sizing.nbn = nbn;
    sizing.neighbourTables = shape.generationMode == kSmoothedBorders ? 1 : 0;
    sizing.codesPerEdge = run.codesPerEdge;
    sizing.sizesAtPoints = shape.refinementMode == kSizesAtPoints ? 1 : 0;
    sizing.nodalSizes = names.nodalSizes.empty() ? 0 : 1;
    const int32_t freeIntegers =
        clampToInt32(int64_t(itvl.count()) - int64_t(shape.reservedRecords) * shape.integersPerRecord);
    const int32_t freeReals =
        clampToInt32(int64_t(rtvl.count()) - int64_t(shape.reservedRecords) * shape.realsPerRecord);
    int code = mggmax(sizing, freeIntegers, freeReals, run.noemax, run.nbemax);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL MGGMAX");
    }
    if (run.nbemax < 0) {
        if (run.elements > 0) {
            return traced(kDataError, kRoutine, "NBEMAX INDETERMINE");
        }
        run.nbemax = 0;
    }
    // The edges are stored in rows of the element maximum before the triangles are: NBEMAX
    // holds them all (2 N - 5 rows alone would refuse a square without any node to add).
    run.nbemax = std::max(run.nbemax, run.elements);
    GlobalCounts counts;
    counts.zones = run.zones;
    counts.records = shape.reservedRecords;
    counts.integersPerRecord = shape.integersPerRecord;
    counts.realsPerRecord = shape.realsPerRecord;
    counts.sizesAtPoints = sizing.sizesAtPoints == 1;
    counts.nodesPerElement = run.nodesPerElement;
    counts.codesPerEdge = run.codesPerEdge;
    counts.dimension = run.dimension;
    counts.neighbourTables = sizing.neighbourTables == 1;
    counts.nodalSizes = sizing.nodalSizes == 1;
    counts.noemax = run.noemax;
    counts.nbemax = run.nbemax;
    WorkShortage shortage = WorkShortage::none;
    code = carveGlobal(itvl, rtvl, counts, tables, shortage);
    if (code == kCapacityError) {
        return reportShortage(shortage, false);
    }
    return code;
}

/// The size specification as the zone stages read it.
SizeSpecification sizeSpecification(const RunQuantities& run, const GlobalTables& tables)
{
    SizeSpecification sizes;
    sizes.refinementMode = run.sizes.refinementMode;
    sizes.generationMode = run.sizes.generationMode;
    sizes.integers = tables.sizeIntegers;
    sizes.integersPerRecord = run.sizes.integersPerRecord;
    sizes.reals = tables.sizeReals;
    sizes.realsPerRecord = run.sizes.realsPerRecord;
    sizes.records = run.sizes.records;
    return sizes;
}

/// Step 7: every zone meshed and appended; the zone end table records where each ends.
/// With many zones, each zone's edges are indexed once at the end of the free integers, so
/// that a zone's selection does not scan every edge; with a few the scan is cheaper.
int zoneLoop(const BorderDescription& border, GlobalMesh& mesh, const SizeSpecification& sizes,
             const RunQuantities& run, const GlobalTables& tables, const TriangleTables& triangles, int32_t mode,
             RunExtensions* extensions)
{
    ZoneEdgeIndex index;
    int32_t indexed = 0;
    if (run.zones > kScannedZones) {
        indexZoneEdges(border, tables.zoneCodes, triangles.freeIntegers, index, indexed);
    }
    const Vec<int32_t> freeIntegers = triangles.freeIntegers.slice(1, triangles.freeIntegers.count() - indexed);
    const bool several = run.zones >= 2;
    for (int32_t k = 1; k <= run.zones; ++k) {
        if (several) {
            progress(mode, entry::kInfoMeshingZone, k);
        }
        const int32_t before = mesh.triangles;
        // each zone may add the nodes the zones before it have left
        const int32_t room = std::max(0, mesh.noemax - mesh.nodes);
        WorkShortage shortage = WorkShortage::none;
        const int code = rgraft(border, tables.zoneCodes(k), index.of(k), mesh, sizes, room, freeIntegers,
                                tables.freeReals, mode, shortage, extensions);
        if (code < kOk) {
            // A zone that cannot be meshed is told to the user, not only in the trace.
            if (code == kCapacityError) {
                pgReport(kCapacityError, shortage == WorkShortage::reals ? entry::kNoReals : entry::kNoIntegers, pgmsg::kNone,
                         " ");
            } else {
                pgReport(reportType(code), entry::kGeometryNotValid, pgmsg::kNone, " ");
            }
            return traced(code, "MG4MEM", " APPEL RGRAFT");
        }
        if (mode >= 1) {
            if (code == kMaxElementsReached) {
                (void)traced(code, "MG4MEM", " APPEL RGRAFT");
                warnElementsFull(k);
            } else if (code == kMaxNodesReached) {
                pgReportInt(kWarning, entry::kMaximumReached, pgmsg::kNone, mesh.noemax);
            }
        }
        // the status is only reported: the next zone starts afresh
        if (several) {
            progress(mode, entry::kInfoTriangles, mesh.triangles - before);
        }
        triangles.zoneEnds(k) = mesh.triangles;
    }
    return kOk;
}

/// A failed border stage told to the user: memory, or the data it could not cut.
void reportBorderFailure(int code)
{
    if (code == kCapacityError) {
        pgReport(kCapacityError, entry::kNoReals, pgmsg::kNone, " ");
    } else {
        pgReport(reportType(code), entry::kGeometryNotValid, pgmsg::kNone, " ");
    }
}

/// Step 5: every border edge cut by the size specification, once for all zones (the node and
/// edge counts grow), and the nodal sizes when a nodal-size file is named. Then the warning
/// when the maximum number of nodes is reached, with the edge count.
int borderStage(int32_t nbn, RunQuantities& run, const GlobalTables& tables, bool& nodalSizesReady, int32_t mode)
{
    BorderMesh border;
    border.edges = tables.edgeNodes;
    border.edgeCount = run.elements;
    if (tables.edgeNeighbours.count() > 0) {
        border.neighbours = tables.edgeNeighbours;
        border.nodeEdge = tables.nodeEdge;
    }
    border.attributes = tables.edgeCodeRows;
    border.coordinates = tables.coordinates;
    border.nodeCount = run.points;
    const int32_t room = run.noemax - run.points;
    const int status =
        mg1fct(border, sizeSpecification(run, tables), room, tables.nodalSizes, tables.freeIntegers, tables.freeReals);
    if (status < kOk) {
        reportBorderFailure(status);
        return traced(status, kRoutine, " APPEL MG1FCT");
    }
    run.points = border.nodeCount;
    run.elements = border.edgeCount;
    if (run.sizes.refinementMode == kSizesAtPoints) {
        run.sizes.realsPerRecord = run.points; // the size list now holds every border node
    }
    nodalSizesReady = tables.nodalSizes.count() > 0;
    if (mode >= 1 && (nbn == run.points || status == kMaxNodesReached)) {
        pgReportInt(kWarning, entry::kMaximumReached, pgmsg::kNone, run.noemax);
        pgReportInt(kInfoMessage, entry::kInfoEdges, pgmsg::kNone, run.elements);
    }
    return kOk;
}

/// Steps 5 to 7: the border stage, the switch to triangles and the zone loop.
int meshZones(int32_t nbn, Vec<int32_t> itvl, RunQuantities& run, GlobalTables& tables, TriangleTables& triangles,
              bool& nodalSizesReady, int32_t mode, RunExtensions* extensions)
{
    // 5. border stage
    int code = borderStage(nbn, run, tables, nodalSizesReady, mode);
    if (code != kOk) {
        return code;
    }
    // 6. switch to triangles (each zone's room for new nodes is what is left when it starts)
    const BorderDescription border{run.elementDimension, tables.edgeNodes, tables.edgeCodeRows, run.points,
                                   run.elements};
    // Without nodes to add, 2 N - 5 triangles bound one plane triangulation; zones in space
    // (about a closed surface) make more: each zone of n nodes makes at most 2 n - 5.
    if (nbn == 0 && run.dimension == 3) {
        int64_t bound = 0;
        code = zoneTriangleBound(border, tables.zoneCodes, tables.freeIntegers, bound);
        if (code == kCapacityError) {
            return reportShortage(WorkShortage::integers, false);
        }
        if (code != kOk) {
            return traced(code, kRoutine, " APPEL ZONETRIANGLEBOUND");
        }
        run.nbemax = std::max(run.nbemax, clampToInt32(bound));
    }
    run.elementDimension = kTriangleDimension;
    run.nodesPerElement = kTriangleNodes;
    run.elements = 0;
    run.sizes.generationMode = kZoneGenerationMode;
    WorkShortage shortage = WorkShortage::none;
    code = carveTriangles(itvl, tables, run.zones, run.nbemax, triangles, shortage);
    if (code == kCapacityError) {
        return reportShortage(shortage, true);
    }
    if (code != kOk) {
        return code;
    }
    // 7. zone loop
    GlobalMesh mesh;
    mesh.ITRNOE = triangles.triangles;
    mesh.nodes = run.points;
    mesh.noemax = run.noemax;
    mesh.COORD = tables.coordinates;
    mesh.GRDNOE = tables.nodalSizes;
    code = zoneLoop(border, mesh, sizeSpecification(run, tables), run, tables, triangles, mode, extensions);
    run.points = mesh.nodes;
    run.elements = mesh.triangles;
    return code;
}

/// Steps 8 and 9: the mesh file, then the nodal-size file even when the mesh file failed.
/// Returns the code of the first writer that failed.
int writeResults(const RunNames& names, const RunQuantities& run, const GlobalTables& tables,
                 const TriangleTables& triangles, bool nodalSizesReady, int32_t mode)
{
    int result = kOk;
    // 8. mesh file
    if (!names.mesh.empty()) {
        progressText(mode, entry::kInfoWritingMesh, names.mesh);
        const Rows<const float> nodes(tables.coordinates.data(), run.dimension, run.points);
        const Rows<const int32_t> elements(triangles.triangles.data(), kTriangleNodes, run.elements);
        const int code = ecrvip(kWriteReplace, names.mesh, nodes, run.elementDimension, elements, run.zones,
                                tables.zoneCodes, triangles.zoneEnds);
        if (code != kOk) {
            pgReport(reportType(code), entry::kWhileWriting, pgmsg::kNone, names.mesh);
            result = code;
        } else {
            progress(mode, entry::kInfoNodes, run.points);
            progress(mode, entry::kInfoTriangles, run.elements);
            progress(mode, entry::kInfoZones, run.zones);
        }
    }
    // 9. nodal-size file
    if (run.sizes.records < 1 || names.nodalSizes.empty()) {
        return result;
    }
    if (!nodalSizesReady) {
        (void)traced(kOk, kRoutine, " PAS DE TAILLES NODALES : FICHIER NON ECRIT");
        return result;
    }
    progressText(mode, entry::kInfoWritingSizes, names.nodalSizes);
    const int code = ecrgrd(names.nodalSizes, names.mesh, Rows<const float>(tables.nodalSizes.data(), 1, run.points));
    if (code != kOk) {
        pgReport(reportType(code), entry::kWhileWriting, pgmsg::kNone, names.nodalSizes);
        return result != kOk ? result : code;
    }
    progress(mode, entry::kInfoValues, run.points);
    return result;
}

} // namespace

int mggmem(std::string_view geometry, std::string_view sizes, std::string_view mesh, std::string_view nodalSizes,
           int32_t nbn, Vec<int32_t> itvl, Vec<float> rtvl, int32_t mode, RunExtensions* extensions)
{
    const RunNames names{cutText(geometry), cutText(sizes), cutText(mesh), cutText(nodalSizes)};
    if (itvl.count() < 2 || rtvl.count() < 2) {
        return traced(kCapacityError, kRoutine, "TABLEAUX DE TRAVAIL TROP PETITS");
    }
    RunQuantities run;
    // 1.-2. counting reads and checks
    int code = countGeometry(names, itvl, run);
    if (code != kOk) {
        return code;
    }
    code = countSizes(names, nbn, itvl, rtvl, run, mode);
    if (code != kOk) {
        return code;
    }
    // 3. maxima and tables
    GlobalTables tables;
    code = carveTables(names, nbn, itvl, rtvl, run, tables);
    if (code != kOk) {
        return code;
    }
    // 4. storing read
    code = mggesf(names, run, tables, mode);
    if (code != kOk) {
        return traced(code, kRoutine, " APPEL MGGESF");
    }
    // 5.-7. borders and zones
    TriangleTables triangles;
    bool nodalSizesReady = false;
    code = meshZones(nbn, itvl, run, tables, triangles, nodalSizesReady, mode, extensions);
    if (code != kOk) {
        return code;
    }
    // 8.-9. results
    return writeResults(names, run, tables, triangles, nodalSizesReady, mode);
}

} // namespace tesmo
