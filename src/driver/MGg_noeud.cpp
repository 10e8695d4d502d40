// The generation driver.
//
// One run, in nine steps:
//   1. counting read of the geometry, and the checks that it can be meshed;
//   2. counting read of the size specification, and its checks;
//   3. the node and element maxima, and the global tables carved from the work arrays;
//   4. storing read of both files (mggesf), then the check that no borders of the zones cross
//      and no zones overlap;
//   5. border stage: every border edge cut by the size specification, once for all zones;
//   6. switch to triangles: the optional edge tables give way to the triangle table;
//   7. zone loop: each zone meshed and appended, in the order of its first appearance;
//   8. mesh file;  9. nodal-size file.
// Every failure up to step 7 stops the run before anything is written. The borders are cut
// once, globally, so that zones sharing a border share its nodes and node numbers are global.
#include "driver/MGg_noeud.hpp"

#include "driver/MGg_lecture.hpp"
#include "driver/api_mesh.hpp"
#include "driver/border_splits.hpp"
#include "driver/api_raf1d.hpp"
#include "driver/fault_reports.hpp"
#include "driver/st_memoire.hpp"
#include "files/files.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "messages/mg_messages.hpp"

#include <algorithm>
#include <limits>
#include <string>

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

/// True when the caller can run the job again with longer work arrays: a capacity stop then
/// ends the run quietly, before anything about it is printed or written.
bool stopsAtCapacity(const RunExtensions* extensions)
{
    return extensions != nullptr && extensions->capacity.stopAtCapacity;
}

/// A capacity stop of a run whose caller can lengthen its arrays: the nodes held and wanted
/// where it stopped, for the caller to size the next arrays. Returns the code to end the run with.
int capacityStop(RunExtensions* extensions, int64_t nodesHeld, int64_t nodesWanted)
{
    extensions->capacity.stopped = true;
    extensions->capacity.nodesHeld = nodesHeld;
    extensions->capacity.nodesWanted = nodesWanted;
    return kCapacityError;
}

/// With arrays as long as memory allows, a capacity stop is told once in the run (in verbose
/// and debug runs, as the full tables are), after the report of the full table.
void memoryLimitLine(RunExtensions* extensions, int32_t mode)
{
    if (extensions == nullptr || !extensions->capacity.memoryLimited || extensions->capacity.stopped) {
        return;
    }
    extensions->capacity.stopped = true;
    if (mode < 1) {
        return;
    }
    std::string megabytes = " ";
    megabytes += std::to_string(extensions->capacity.limitMegabytes);
    megabytes += " MB";
    esecha(kConsoleDevice, "WARNING  memory limit reached, the mesh is not complete :", megabytes);
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
        reportSizeFile(code, names.sizes, run.sizes.fault);
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
                GlobalTables& tables, int32_t mode, RunExtensions* extensions)
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
            // the requested maximum of nodes leaves no room for the elements: memory is short
            if (stopsAtCapacity(extensions)) {
                return capacityStop(extensions, 0, nbn);
            }
            const int64_t realsLeft = int64_t(freeReals) - int64_t(globalRealsPerNode(sizing)) * std::max(nbn, 0);
            pgReport(kCapacityError, realsLeft < 0 ? entry::kNoReals : entry::kNoIntegers, pgmsg::kNone, " ");
            memoryLimitLine(extensions, mode);
            return traced(kCapacityError, kRoutine, "NBEMAX INDETERMINE");
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
        if (stopsAtCapacity(extensions)) {
            return capacityStop(extensions, 0, std::max(nbn, run.noemax));
        }
        code = reportShortage(shortage, false);
        memoryLimitLine(extensions, mode);
    }
    return code;
}

/// Step 3 on arrays as long as the memory limit allows: when their memory gives fewer nodes than
/// a requested maximum `nbn`, memory bounds the nodes before that maximum does, so the tables
/// are carved for the memory alone (nbn becomes -1; the mesh still holds at most the maximum).
int carveWithinMemory(const RunNames& names, int32_t& nbn, Vec<int32_t> itvl, Vec<float> rtvl, RunQuantities& run,
                      GlobalTables& tables, int32_t mode, RunExtensions* extensions)
{
    if (nbn > 0 && extensions != nullptr && extensions->capacity.memoryLimited) {
        // the tables memory alone gives, carved quietly
        const CapacityOutcome asked = extensions->capacity;
        extensions->capacity.stopAtCapacity = true;
        int32_t byMemory = -1;
        const int code = carveTables(names, byMemory, itvl, rtvl, run, tables, mode, extensions);
        const bool carved = code == kOk && !extensions->capacity.stopped;
        extensions->capacity = asked;
        if (carved && run.noemax < nbn) {
            nbn = -1;
            return kOk;
        }
    }
    return carveTables(names, nbn, itvl, rtvl, run, tables, mode, extensions);
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
int zoneLoop(const BorderDescription& border, GlobalMesh& mesh, const SizeSpecification& sizes, int32_t nbn,
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
        const int32_t nodesBefore = mesh.nodes;
        if (extensions != nullptr) {
            extensions->watch = CapacityWatch{}; // what the last zone's refinement found
        }
        const int code = rgraft(border, tables.zoneCodes(k), index.of(k), mesh, sizes, room, freeIntegers,
                                tables.freeReals, mode, shortage, extensions);
        // a table full before the job is done: memory, not the requested maximum, stopped it
        const bool capacity = code == kCapacityError || code == kMaxElementsReached ||
                              (code == kMaxNodesReached && (nbn < 0 || mesh.nodes < nbn));
        if (capacity && stopsAtCapacity(extensions)) {
            const CapacityWatch& watch = extensions->watch;
            const int64_t held = watch.cap > 0 ? nodesBefore + watch.cap : mesh.nodes;
            // the nodes wanted, within the requested maximum
            int64_t wanted = watch.estimate > 0 ? nodesBefore + watch.estimate : 0;
            if (nbn > 0 && wanted > nbn) {
                wanted = nbn;
            }
            return capacityStop(extensions, std::max<int64_t>(held, nodesBefore + 1), wanted);
        }
        if (code < kOk) {
            // A zone that cannot be meshed is told to the user, not only in the trace.
            if (code == kCapacityError) {
                pgReport(kCapacityError, shortage == WorkShortage::reals ? entry::kNoReals : entry::kNoIntegers, pgmsg::kNone,
                         " ");
            } else {
                pgReport(reportType(code), entry::kGeometryNotValid, pgmsg::kNone, " ");
                locateZoneRefusal(border, tables.zoneCodes(k), run, tables.coordinates, freeIntegers, mode, extensions);
            }
            return traced(code, "MG4MEM", " APPEL RGRAFT");
        }
        if (mode >= 1) {
            if (code == kMaxElementsReached) {
                (void)traced(code, "MG4MEM", " APPEL RGRAFT");
                warnElementsFull(k);
            } else if (code == kMaxNodesReached) {
                // the count the mesh holds, which is the maximum unless a table stopped first
                pgReportInt(kWarning, entry::kMaximumReached, pgmsg::kNone, mesh.nodes);
            }
        }
        if (capacity) {
            memoryLimitLine(extensions, mode);
        }
        // the status is only reported: the next zone starts afresh
        if (several) {
            progress(mode, entry::kInfoTriangles, mesh.triangles - before);
        }
        noteZoneTriangles(mode, k, run.zones, tables.zoneCodes(k), mesh.triangles - before, mesh.triangles);
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
int borderStage(int32_t nbn, RunQuantities& run, const GlobalTables& tables, bool& nodalSizesReady, int32_t mode,
                RunExtensions* extensions)
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
    // the border nodes fill the node tables before the requested maximum: memory stopped them
    const bool capacity = status == kCapacityError || (status == kMaxNodesReached && nbn < 0);
    if (capacity && stopsAtCapacity(extensions)) {
        return capacityStop(extensions, run.noemax, 0);
    }
    if (status < kOk) {
        reportBorderFailure(status);
        memoryLimitLine(extensions, mode);
        return traced(status, kRoutine, " APPEL MG1FCT");
    }
    run.points = border.nodeCount;
    run.elements = border.edgeCount;
    if (run.sizes.refinementMode == kSizesAtPoints) {
        run.sizes.realsPerRecord = run.points; // the size list now holds every border node
    }
    nodalSizesReady = tables.nodalSizes.count() > 0;
    if (mode >= 1 && (nbn == run.points || status == kMaxNodesReached)) {
        // the count the borders hold, which is the maximum unless a table stopped first
        pgReportInt(kWarning, entry::kMaximumReached, pgmsg::kNone, run.points);
        pgReportInt(kInfoMessage, entry::kInfoEdges, pgmsg::kNone, run.elements);
    }
    if (capacity) {
        memoryLimitLine(extensions, mode);
    }
    return kOk;
}

/// Steps 5 to 7: the border stage, the switch to triangles and the zone loop.
int meshZones(int32_t nbn, Vec<int32_t> itvl, RunQuantities& run, GlobalTables& tables, TriangleTables& triangles,
              bool& nodalSizesReady, int32_t mode, RunExtensions* extensions)
{
    // 5. border stage
    int code = borderStage(nbn, run, tables, nodalSizesReady, mode, extensions);
    if (code != kOk) {
        if (code == kDataError) {
            locateBorderRefusal(run, tables, mode, extensions);
        }
        return code;
    }
    // 6. switch to triangles (each zone's room for new nodes is what is left when it starts)
    BorderDescription border{run.elementDimension, tables.edgeNodes, tables.edgeCodeRows, run.points, run.elements};
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
        if (stopsAtCapacity(extensions)) {
            return capacityStop(extensions, run.noemax, 0);
        }
        code = reportShortage(shortage, true);
        memoryLimitLine(extensions, mode);
        return code;
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
    // with a shape refinement, again while a pass splits borders that zones share
    TriangleTables zoneTables = triangles;
    code = startSharedSplits(extensions, zoneTables.freeIntegers);
    for (int32_t pass = 1; code == kOk;) {
        code = zoneLoop(border, mesh, sizeSpecification(run, tables), nbn, run, tables, zoneTables, mode, extensions);
        bool again = false;
        if (code == kOk) {
            code = applySharedSplits(extensions, pass, border, tables.edgeNodes, tables.edgeCodeRows, mesh,
                                     run.sizes.refinementMode == kSizesAtPoints ? tables.sizeReals : Vec<float>(),
                                     zoneTables.freeIntegers, again);
        }
        if (!again) {
            break;
        }
        if (run.sizes.refinementMode == kSizesAtPoints) {
            run.sizes.realsPerRecord = border.nodes; // the split nodes have their sizes too
        }
    }
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
           int32_t requested, Vec<int32_t> itvl, Vec<float> rtvl, int32_t mode, RunExtensions* extensions)
{
    int32_t nbn = requested;
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
    code = carveWithinMemory(names, nbn, itvl, rtvl, run, tables, mode, extensions);
    if (code != kOk) {
        return code;
    }
    // 4. storing read
    code = mggesf(names, run, tables, mode);
    if (code != kOk) {
        return traced(code, kRoutine, " APPEL MGGESF");
    }
    // 4b. zones whose borders cross or overlap refused before any is meshed
    code = checkZonesApart(names, run, tables, mode, extensions);
    if (code != kOk) {
        return code;
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
