// The zone pipeline.
//
// Each zone is meshed apart in local numbers, then merged back:
//
//     border description --select--> zone nodes (sorted global numbers) and edges
//       global node g  --INEWNU-->  local node k (k-th zone node)
//       zone stages create local nodes nz+1, nz+2, ... and the zone's triangles
//       local node l   --merge-->   nodeList(l) when l <= nz, else the next global number
//
// so a node on a border keeps its global number and two zones sharing a border share its
// nodes. The zone's tables are carved anew for every zone from the same free areas.
#include "driver/api_mesh.hpp"

#include "driver/border_splits.hpp"
#include "driver/st_memoire.hpp"
#include "files/es_densite.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "topology/topology.hpp"

#include <algorithm>

namespace tesmo {

namespace {

/// Every trace of the zone pipeline names this routine.
constexpr const char* kRoutine = " RGRAFT";

/// Element kind passed to the zone sizing: triangles with their neighbours.
constexpr int32_t kTriangleKind = 1;

/// True when `zoneCode` stands among the `width` codes of an edge.
bool listsZone(const int32_t* codes, int32_t width, int32_t zoneCode)
{
    return std::find(codes, codes + width, zoneCode) != codes + width;
}

/// Step 3: `INEWNU`(nodeList(k)) = k.
void renumber(Vec<const int32_t> nodeList, Vec<int32_t> INEWNU)
{
    for (int32_t k = 1; k <= nodeList.count(); ++k) {
        INEWNU(nodeList(k)) = k;
    }
}

/// Steps 4 to 6: `ICOOM`, `IRADEC` and `IGRDMX` reserved (each shortage with its own trace)
/// and filled from the global tables for the zone nodes.
int localReals(ZoneLayout& layout, const GlobalMesh& mesh, const SizeSpecification& sizes, Vec<const int32_t> nodes)
{
    const bool atNodes = sizes.refinementMode == kSizesAtPoints;
    const bool nodal = mesh.GRDNOE.count() > 0;
    const int32_t D = mesh.COORD.width();
    int64_t left = layout.freeRealCount();
    const int64_t coordinates = int64_t(mesh.noemax) * D;
    if (coordinates > left) {
        return traced(kCapacityError, kRoutine, "REELS POUR ICOOM");
    }
    left -= coordinates;
    if (atNodes && mesh.noemax > left) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR IRADEC");
    }
    left -= atNodes ? mesh.noemax : 0;
    if (nodal && mesh.noemax > left) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR IGRDMX");
    }
    if (layout.localReals(mesh.noemax, D, atNodes, nodal) != kOk) {
        return traced(kCapacityError, kRoutine, "REELS POUR ICOOM");
    }
    const ZoneTables& local = layout.tables();
    for (int32_t k = 1; k <= nodes.count(); ++k) {
        const int32_t g = nodes(k);
        std::copy(mesh.COORD.row(g), mesh.COORD.row(g) + D, local.ICOOM.row(k));
        if (atNodes) {
            local.IRADEC(k) = sizes.reals(g);
        }
        if (nodal) {
            local.IGRDMX(k) = mesh.GRDNOE(g);
        }
    }
    return kOk;
}

/// Step 8: the zone maxima from the memory left, bounded by the run's maximum of nodes. The
/// memory alone may leave fewer nodes than the zone's border nodes and the margin the
/// triangulation needs beyond them (a zone of many border nodes in a large run): the run's
/// maximum, which the zone never exceeds, then sizes the zone as well. `binding` tells which
/// work array bounds the element maximum: the zone's tables too small for its stages are a
/// shortage of that array.
int zoneMaxima(const ZoneLayout& layout, int32_t dimension, int32_t nz, int32_t ez, int32_t noemax, int32_t& noemaxz,
               int32_t& nbemaxz, WorkShortage& binding, const RunExtensions* extensions)
{
    const int32_t twiceEdges = 2 * ez;
    int code = mg4max(dimension, kTriangleKind, nz, twiceEdges, -1, layout.freeIntegerCount(), layout.freeRealCount(),
                      noemaxz, nbemaxz);
    if (code != kOk) {
        return traced(code, kRoutine, "1 APPEL A MG4MAX");
    }
    if (noemax < noemaxz || int64_t(noemaxz) < int64_t(nz) + kZoneNodeMargin) {
        const int32_t byMemory[2] = {noemaxz, nbemaxz};
        code = mg4max(dimension, kTriangleKind, nz, twiceEdges, noemax, layout.freeIntegerCount(),
                      layout.freeRealCount(), noemaxz, nbemaxz);
        if (code != kOk) {
            return traced(code, kRoutine, "2 APPEL A MG4MAX");
        }
        // on arrays as long as memory allows, a run maximum they cannot hold leaves the zone
        // the maxima of its memory: the zone then stops at its full tables, and says so
        const bool memoryLimited = extensions != nullptr && extensions->capacity.memoryLimited;
        if (memoryLimited && nbemaxz < twiceEdges && byMemory[1] >= twiceEdges) {
            noemaxz = byMemory[0];
            nbemaxz = byMemory[1];
        }
    }
    // the elements each array leaves room for once the nodes have theirs (zone costs)
    const int64_t byReals =
        (int64_t(layout.freeRealCount()) - (2 * int64_t(dimension) + 1) * noemaxz) / kRealsPerElement;
    const int64_t byIntegers =
        (int64_t(layout.freeIntegerCount()) - kIntegersPerNode * int64_t(noemaxz)) / kZoneIntegersPerElement;
    binding = byReals < byIntegers ? WorkShortage::reals : WorkShortage::integers;
    return kOk;
}

/// Checks every capacity the merge of a zone needs, before anything is written.
int checkMerge(int32_t nz, const ZoneElements& zone, Rows<const float> ICOOM, Vec<const float> IRADEC,
               Vec<const float> IGRDMX, Vec<int32_t> newNumbers, const GlobalMesh& mesh, Vec<float> RADEC)
{
    const int32_t nn = zone.nodes;
    const int32_t nt = zone.NBE;
    if (nn < nz || nt < 0 || nt > zone.ITRNOE.count() || zone.ITRNOE.width() != mesh.ITRNOE.width() ||
        ICOOM.width() != mesh.COORD.width()) {
        return traced(kDataError, kRoutine, " ZONE INCORRECTE");
    }
    // 12. the global numbers of the new nodes
    const int32_t added = nn - nz;
    if (added > newNumbers.count()) {
        return traced(kCapacityError, kRoutine, "POUR LES NOUVEAUX NOEUDS");
    }
    // 13. their coordinates
    const int64_t total = int64_t(mesh.nodes) + added;
    if (total > mesh.noemax || total > mesh.COORD.count() || nn > ICOOM.count()) {
        return traced(kCapacityError, kRoutine, "COORD POUR LES NOUVEAUX NOEUDS");
    }
    // 14. their sizes
    if (mesh.GRDNOE.count() > 0 && (mesh.GRDNOE.count() < total || IGRDMX.count() < nn)) {
        return traced(kCapacityError, kRoutine, "GRDNOE POUR LES NOUVEAUX NOEUDS");
    }
    if (RADEC.count() > 0 && (mesh.noemax < total || RADEC.count() < total || IRADEC.count() < nn)) {
        return traced(kCapacityError, kRoutine, "RADEC POUR LES NOUVEAUX NOEUDS");
    }
    // 15. the triangles: room after the mesh's, and only nodes of the zone
    if (int64_t(mesh.triangles) + nt > mesh.ITRNOE.count()) {
        return traced(kCapacityError, kRoutine, "ITRNOE POUR LES NOUVEAUX TRIANGLES");
    }
    for (int32_t t = 1; t <= nt; ++t) {
        for (int32_t j = 1; j <= zone.ITRNOE.width(); ++j) {
            if (zone.ITRNOE(t, j) < 1 || zone.ITRNOE(t, j) > nn) {
                return traced(kDataError, kRoutine, "NOEUD DE TRIANGLE HORS DE LA ZONE");
            }
        }
    }
    return kOk;
}

/// The zones listed on edge e, each once: calls `visit(k)` for every zone k of `sorted`
/// (zone numbers ordered by code) whose code stands in the edge's row.
template <class Visit>
void zonesOfEdge(const BorderDescription& border, Vec<const int32_t> zoneCodes, Vec<const int32_t> sorted, int32_t e,
                 Visit visit)
{
    const int32_t* codes = border.edgeCodes.row(e);
    const int32_t L = border.edgeCodes.width();
    for (int32_t j = 0; j < L; ++j) {
        if (std::find(codes, codes + j, codes[j]) != codes + j) {
            continue; // the code stands earlier in the row
        }
        const int32_t* found = std::lower_bound(sorted.data(), sorted.data() + sorted.count(), codes[j],
                                                [&](int32_t k, int32_t code) { return zoneCodes(k) < code; });
        if (found != sorted.data() + sorted.count() && zoneCodes(*found) == codes[j]) {
            visit(*found);
        }
    }
}

} // namespace

ZoneEdges ZoneEdgeIndex::of(int32_t k) const
{
    if (starts.count() == 0) {
        return ZoneEdges{};
    }
    return ZoneEdges{false, edges.slice(starts(k) + 1, starts(k + 1) - starts(k))};
}

void indexZoneEdges(const BorderDescription& border, Vec<const int32_t> zoneCodes, Vec<int32_t> area,
                    ZoneEdgeIndex& index, int32_t& used)
{
    //   area:  [ ... free ... | edges (M) | starts (Z + 1) | zones by code (Z) ]
    index = ZoneEdgeIndex{};
    used = 0;
    const int32_t Z = zoneCodes.count();
    const int32_t W = area.count();
    if (Z < 1 || int64_t(2) * Z + 1 > W || border.edges > border.edgeCodes.count()) {
        return;
    }
    // 1. the zone numbers ordered by code, to find a code's zone by bisection
    const Vec<int32_t> sorted = area.slice(W - Z + 1, Z);
    for (int32_t k = 1; k <= Z; ++k) {
        sorted(k) = k;
    }
    std::sort(sorted.data(), sorted.data() + Z, [&](int32_t a, int32_t b) { return zoneCodes(a) < zoneCodes(b); });
    // 2. the edges of each zone counted, then turned into starting positions
    const Vec<int32_t> starts = area.slice(W - 2 * Z, Z + 1);
    std::fill(starts.data(), starts.data() + Z + 1, 0);
    int64_t total = 0;
    for (int32_t e = 1; e <= border.edges; ++e) {
        zonesOfEdge(border, zoneCodes, sorted, e, [&](int32_t k) {
            ++starts(k + 1);
            ++total;
        });
    }
    if (total > W - 2 * int64_t(Z) - 1) {
        return;
    }
    for (int32_t k = 1; k <= Z; ++k) {
        starts(k + 1) += starts(k);
    }
    // 3. the edges of each zone, in edge order
    const Vec<int32_t> edges = area.slice(W - 2 * Z - int32_t(total), int32_t(total));
    for (int32_t e = 1; e <= border.edges; ++e) {
        zonesOfEdge(border, zoneCodes, sorted, e, [&](int32_t k) { edges(++starts(k)) = e; });
    }
    for (int32_t k = Z; k >= 1; --k) {
        starts(k + 1) = starts(k);
    }
    starts(1) = 0;
    index = ZoneEdgeIndex{starts, edges};
    used = 2 * Z + 1 + int32_t(total);
}

int rgaret(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates, Vec<int32_t> nodeList,
           Rows<int32_t> edgeList, int32_t& nz, int32_t& ez)
{
    nz = 0;
    ez = 0;
    const int32_t P = border.edgeNodes.width();
    const int32_t L = border.edgeCodes.width();
    if (P < 1 || border.edges < 0 || border.edges > border.edgeNodes.count() ||
        border.edges > border.edgeCodes.count()) {
        return traced(kDataError, "RGARET", " DESCRIPTION DES BORDS INCORRECTE");
    }
    int32_t count = 0;
    const int32_t examined = candidates.every ? border.edges : candidates.edges.count();
    for (int32_t i = 1; i <= examined; ++i) {
        const int32_t e = candidates.every ? i : candidates.edges(i);
        if (e < 1 || e > border.edges) {
            return traced(kDataError, "RGARET", " ARETE HORS DES BORDS");
        }
        // 1. the edge belongs to the zone when the code stands among its codes
        if (!listsZone(border.edgeCodes.row(e), L, zoneCode)) {
            continue;
        }
        // 2. its first node; its second node and the pair, unless it is a lone point
        const int32_t a = border.edgeNodes(e, 1);
        const int32_t b = P == 1 ? 0 : border.edgeNodes(e, 2);
        if (a < 1 || a > border.nodes || b < 0 || b > border.nodes) {
            return traced(kDataError, "RGARET", " NOEUD HORS DES BORDS");
        }
        if (count + (b != 0 ? 2 : 1) > nodeList.count() || (b != 0 && ez >= edgeList.count())) {
            return kCapacityError;
        }
        nodeList(++count) = a;
        if (b != 0) {
            nodeList(++count) = b;
            ++ez;
            edgeList(ez, 1) = a;
            edgeList(ez, 2) = b;
        }
    }
    // 3. the nodes sorted, each once
    if (count == 0) {
        return kOk;
    }
    const Vec<int32_t> selected = nodeList.slice(1, count);
    const int code = tbvtab(selected, selected, nodeList, nz);
    if (code != kOk) {
        return traced(code, "RGARET", "APPEL TBVTAB");
    }
    return kOk;
}

int zoneTriangleBound(const BorderDescription& border, Vec<const int32_t> zoneCodes, Vec<int32_t> stamps,
                      int64_t& bound)
{
    bound = 0;
    if (stamps.count() < border.nodes) {
        return kCapacityError;
    }
    std::fill(stamps.data(), stamps.data() + border.nodes, 0);
    const int32_t P = border.edgeNodes.width();
    for (int32_t k = 1; k <= zoneCodes.count(); ++k) {
        int64_t nodes = 0;
        for (int32_t e = 1; e <= border.edges; ++e) {
            if (!listsZone(border.edgeCodes.row(e), border.edgeCodes.width(), zoneCodes(k))) {
                continue;
            }
            for (int32_t j = 1; j <= P; ++j) {
                const int32_t node = border.edgeNodes(e, j);
                if (node < 0 || node > border.nodes) {
                    return kDataError;
                }
                if (node > 0 && stamps(node) != k) {
                    stamps(node) = k;
                    ++nodes;
                }
            }
        }
        bound += std::max<int64_t>(0, 2 * nodes - 5);
    }
    return kOk;
}

int mergeZone(Vec<const int32_t> nodeList, const ZoneElements& zone, Rows<const float> ICOOM, Vec<const float> IRADEC,
              Vec<const float> IGRDMX, Vec<int32_t> newNumbers, GlobalMesh& mesh, Vec<float> RADEC)
{
    const int32_t nz = nodeList.count();
    const int code = checkMerge(nz, zone, ICOOM, IRADEC, IGRDMX, newNumbers, mesh, RADEC);
    if (code != kOk) {
        return code;
    }
    // 12.-14. the new nodes, numbered after the mesh's, with their coordinates and sizes
    const int32_t np = mesh.nodes;
    const int32_t added = zone.nodes - nz;
    const int32_t D = ICOOM.width();
    for (int32_t i = 1; i <= added; ++i) {
        newNumbers(i) = np + i;
        std::copy(ICOOM.row(nz + i), ICOOM.row(nz + i) + D, mesh.COORD.row(np + i));
        if (mesh.GRDNOE.count() > 0) {
            mesh.GRDNOE(np + i) = IGRDMX(nz + i);
        }
        if (RADEC.count() > 0) {
            RADEC(np + i) = IRADEC(nz + i);
        }
    }
    mesh.nodes = np + added;
    // 15. the triangles in global numbers, after the mesh's
    for (int32_t t = 1; t <= zone.NBE; ++t) {
        for (int32_t j = 1; j <= zone.ITRNOE.width(); ++j) {
            const int32_t l = zone.ITRNOE(t, j);
            mesh.ITRNOE(mesh.triangles + t, j) = l <= nz ? nodeList(l) : newNumbers(l - nz);
        }
    }
    mesh.triangles += zone.NBE;
    return kOk;
}

int rgraft(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates, GlobalMesh& mesh,
           const SizeSpecification& sizes, int32_t room, Vec<int32_t> freeIntegers, Vec<float> freeReals, int32_t mode,
           WorkShortage& shortage, RunExtensions* extensions)
{
    shortage = WorkShortage::none;
    // 1. the border nodes must lie in every global table they are copied from
    const int32_t Nb = border.nodes;
    const bool atNodes = sizes.refinementMode == kSizesAtPoints;
    if (Nb < 0 || Nb > mesh.COORD.count() || (atNodes && Nb > sizes.reals.count()) ||
        (mesh.GRDNOE.count() > 0 && Nb > mesh.GRDNOE.count())) {
        return traced(kDataError, kRoutine, " NOEUDS DES BORDS HORS DES TABLES");
    }
    // 2. the zone's nodes and edges
    ZoneLayout layout(freeIntegers, freeReals);
    // Whatever the layout or the stages run short of is handed back to the caller, who reports
    // it.
    WorkShortage stages = WorkShortage::none;
    struct ShortageOnExit {
        const ZoneLayout& layout;
        const WorkShortage& stages;
        WorkShortage& shortage;
        ~ShortageOnExit() { shortage = layout.shortage() != WorkShortage::none ? layout.shortage() : stages; }
    } onExit{layout, stages, shortage};
    if (layout.selection(Nb, border.edges) != kOk) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR LA SELECTION");
    }
    int32_t nz = 0;
    int32_t ez = 0;
    int code = rgaret(border, zoneCode, candidates, layout.tables().nodeList, layout.tables().edgeList, nz, ez);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL A RGARET");
    }
    const Vec<const int32_t> nodes = layout.tables().nodeList.slice(1, nz);
    // 3. local numbers
    if (layout.renumbering(Nb) != kOk) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR INEWNU");
    }
    renumber(nodes, layout.tables().INEWNU);
    // 4.-6. local coordinates and sizes: every table there is of reals
    code = localReals(layout, mesh, sizes, nodes);
    if (code != kOk) {
        stages = code == kCapacityError ? WorkShortage::reals : stages;
        return code;
    }
    // 7. the zone's edges in local numbers
    if (layout.zoneEdges(ez) != kOk) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR IARMA");
    }
    const ZoneTables& local = layout.tables();
    for (int32_t e = 1; e <= ez; ++e) {
        local.IARMA(e, 1) = local.INEWNU(local.edgeList(e, 1));
        local.IARMA(e, 2) = local.INEWNU(local.edgeList(e, 2));
    }
    // 8.-9. the zone maxima
    ZoneElements zone;
    WorkShortage binding = WorkShortage::none;
    code = zoneMaxima(layout, mesh.COORD.width(), nz, ez, mesh.noemax, zone.noemax, zone.nbemax, binding, extensions);
    if (code != kOk) {
        return code;
    }
    if (mode >= 2) {
        eseint(kConsoleDevice, "NOMBRE MAXIMUM DE NOEUDS  : ", &zone.noemax, 1);
        eseint(kConsoleDevice, "NOMBRE MAXIMUM D ELEMENTS : ", &zone.nbemax, 1);
    }
    // 10. the zone's element tables; the rest goes to the stages
    if (zone.nbemax < 0) {
        stages = binding;
        return traced(kCapacityError, kRoutine, "ENTIERS POUR LES ETAPES");
    }
    if (layout.elements(zone.noemax, zone.nbemax) != kOk) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR LES ETAPES");
    }
    zone.ITRNOE = local.ITRNOE;
    zone.ITRTRI = local.ITRTRI;
    zone.NOETRI = local.NOETRI;
    zone.nodes = nz;
    // the refinement keeps within the triangles the mesh's table has left
    zone.nbemax = int32_t(std::min<int64_t>(zone.nbemax, int64_t(mesh.ITRNOE.count()) - mesh.triangles));
    // 11. the zone stages; sizes at the nodes come from the zone's copy
    SizeSpecification zoneSizes = sizes;
    if (atNodes) {
        zoneSizes.reals = local.IRADEC;
        zoneSizes.realsPerRecord = nz;
    }
    // with a shape refinement, the zone's nodes on shared borders and the table of its splits
    Vec<int32_t> stageIntegers = local.freeIntegers;
    code = prepareZoneBorders(border, zoneCode, candidates, local.INEWNU, nz, stageIntegers, extensions);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL PREPAREZONEBORDERS");
    }
    code = mgtraf(local.IARMA, nz, zone, local.ICOOM, local.IGRDMX, zoneSizes, room, stageIntegers,
                  local.freeReals, mode, &stages, extensions);
    if (code < kOk) {
        // tables the stages found too small were sized by the array that bounds the maxima
        stages = code == kCapacityError && stages == WorkShortage::none ? binding : stages;
        return traced(code, kRoutine, "APPEL A MGTRAF");
    }
    const int status = code;
    // 12.-15. the new nodes and the triangles appended to the mesh
    code = mergeZone(nodes, zone, local.ICOOM, local.IRADEC, local.IGRDMX, stageIntegers, mesh,
                     atNodes ? sizes.reals : Vec<float>());
    if (code != kOk) {
        return code;
    }
    code = logZoneSplits(nodes, stageIntegers, zone.nodes, extensions);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL LOGZONESPLITS");
    }
    // 16. the stages' status
    return status;
}

} // namespace tesmo
