// Node and element maxima, and the carving of the work arrays.
//
// Every product of counts is formed in 64 bits; a maximum that does not fit 32 bits is
// refused with -2 rather than wrapped. Every division is by a cost that was checked to be
// positive, or by the non-zero determinant of the two cost equations.
#include "driver/st_memoire.hpp"

#include "messages/es_erreur.hpp"

#include <algorithm>
#include <limits>

namespace tesmo {

namespace {

constexpr int64_t kInt32Low = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32High = std::numeric_limits<int32_t>::max();

bool fits(int64_t value) { return value >= kInt32Low && value <= kInt32High; }

/// Stores two 64-bit maxima, or refuses them when either does not fit 32 bits.
int storeMaxima(int64_t nodes, int64_t elements, int32_t& noemax, int32_t& nbemax, const char* routine)
{
    if (!fits(nodes) || !fits(elements)) {
        return traced(kCapacityError, routine, "MAXIMA AU-DELA DES ENTIERS 32 BITS");
    }
    noemax = int32_t(nodes);
    nbemax = int32_t(elements);
    return kOk;
}

/// Memory-limited maxima: memomx, then at most 2 n − 2 elements and at most
/// nodes + (elements − edges) div 2 nodes.
int memoryMaxima(int64_t integers, int64_t reals, int32_t b, int32_t k, int32_t nodes, int32_t edges,
                 int32_t& noemax, int32_t& nbemax, const char* routine)
{
    if (!fits(integers) || !fits(reals)) {
        return traced(kCapacityError, routine, "MEMOIRE LIBRE AU-DELA DES ENTIERS 32 BITS");
    }
    int32_t n = -1;
    int32_t e = -1;
    const int code = memomx(int32_t(integers), int32_t(reals), kIntegersPerNode, b, k, kRealsPerElement, n, e);
    if (code != kOk) {
        return traced(code, routine, " APPEL MEMOMX ");
    }
    const int64_t elements = std::min<int64_t>(e, 2 * int64_t(n) - 2);
    const int64_t maxNodes = std::min<int64_t>(n, nodes + (elements - edges) / 2);
    return storeMaxima(maxNodes, elements, noemax, nbemax, routine);
}

/// Maxima for a given node maximum m: the elements that the free reals, the free integers
/// and 2 m − 2 all allow.
int requestedMaxima(int64_t integers, int64_t reals, int64_t b, int64_t k, int64_t m, int32_t& noemax,
                    int32_t& nbemax, const char* routine)
{
    const int64_t byReals = (reals - b * m) / kRealsPerElement;
    const int64_t byIntegers = (integers - kIntegersPerNode * m) / k;
    const int64_t elements = std::min({byReals, byIntegers, 2 * m - 2});
    return storeMaxima(m, elements, noemax, nbemax, routine);
}

} // namespace

int memomx(int32_t availableIntegers, int32_t availableReals, int32_t a, int32_t b, int32_t k, int32_t d, int32_t& n,
           int32_t& e)
{
    n = -1;
    e = -1;
    if (a < 0 || b < 0 || k < 0 || d < 0) {
        return traced(kDataError, "MMTRMX", " COUT MEMOIRE NEGATIF ");
    }
    const int64_t I = availableIntegers;
    const int64_t R = availableReals;
    // 1. elements cost nothing: the nodes fill whichever array allows fewer.
    if (k == 0 && d == 0) {
        if (a > 0 && b > 0) {
            n = int32_t(std::min(I / a, R / b));
        } else if (a > 0) {
            n = int32_t(I / a);
        } else if (b > 0) {
            n = int32_t(R / b);
        }
        return kOk;
    }
    // 2. nodes cost nothing: the elements likewise.
    if (a == 0 && b == 0) {
        if (k > 0 && d > 0) {
            e = int32_t(std::min(I / k, R / d));
        }
        return kOk;
    }
    // 3. the 2×2 system by Cramer's rule.
    const int64_t det = int64_t(a) * d - int64_t(k) * b;
    if (det == 0) {
        return traced(kDataError, "MMTRMX", " LES EQUATIONS SONT LIEES ");
    }
    const int64_t nodes = (d * I - k * R) / det;
    const int64_t elements = (a * R - b * I) / det;
    return storeMaxima(nodes, elements, n, e, "MMTRMX");
}

int64_t globalRealsPerNode(const GlobalSizing& s)
{
    return int64_t(s.nodalSizes) + 2 * int64_t(s.dimension) + s.sizesAtPoints + (s.dimension == 3 ? 1 : 0) +
           (s.zones >= 2 ? 1 : 0);
}

int mggmax(const GlobalSizing& s, int32_t freeIntegers, int32_t freeReals, int32_t& noemax, int32_t& nbemax)
{
    if (s.dimension < 0 || s.zones < 0 || s.points < 0 || s.edges < 0 || s.neighbourTables < 0 ||
        s.codesPerEdge < 0 || s.sizesAtPoints < 0 || s.nodalSizes < 0) {
        return traced(kDataError, "MGGMAX", "NOMBRES NEGATIFS");
    }
    // Costs: b reals and 2 integers per node, k integers and 4 reals per element.
    const int64_t b = globalRealsPerNode(s);
    const int64_t k = int64_t(s.codesPerEdge) + 3 * int64_t(s.neighbourTables) + kGlobalIntegersPerElement;
    if (!fits(b) || !fits(k)) {
        return traced(kCapacityError, "MGGMAX", "COUTS AU-DELA DES ENTIERS 32 BITS");
    }
    const int64_t N = s.points;
    if (s.nbn < 0) {
        // 1. no maximum: the memory decides.
        return memoryMaxima(int64_t(freeIntegers) - 2 * int64_t(s.zones), freeReals, int32_t(b), int32_t(k), s.points,
                            s.edges, noemax, nbemax, "MGGMAX");
    }
    if (s.nbn == 0) {
        // 2. no node added.
        return storeMaxima(N, 2 * N - 5, noemax, nbemax, "MGGMAX");
    }
    if (s.nbn < N) {
        // 3. the geometry already holds more nodes than asked for.
        return traced(kDataError, "MGGMAX", "MAXIMUM DEJA ATTEINT");
    }
    // 4. the requested maximum.
    return requestedMaxima(freeIntegers, freeReals, b, k, s.nbn, noemax, nbemax, "MGGMAX");
}

int mg4max(int32_t dimension, int32_t kind, int32_t nodes, int32_t twiceEdges, int32_t requested,
           int32_t freeIntegers, int32_t freeReals, int32_t& noemax, int32_t& nbemax)
{
    if (dimension < 0 || nodes < 0 || twiceEdges < 0) {
        return traced(kDataError, "MG4ESF", "NOMBRES NEGATIFS");
    }
    const int64_t b = 2 * int64_t(dimension) + 1;
    const int32_t k = kind == 1 ? kZoneIntegersPerElement : kZoneIntegersPerElementOther;
    if (!fits(b)) {
        return traced(kCapacityError, "MG4ESF", "COUTS AU-DELA DES ENTIERS 32 BITS");
    }
    const int64_t Nz = nodes;
    if (requested < 0) {
        // 1. no maximum: the memory decides.
        return memoryMaxima(int64_t(freeIntegers) - 2 * int64_t(kind), freeReals, int32_t(b), k, nodes, twiceEdges,
                            noemax, nbemax, "MG4ESF");
    }
    if (requested == 0) {
        // 2. no node added.
        return storeMaxima(Nz, 2 * Nz - 5, noemax, nbemax, "MG4ESF");
    }
    if (requested < Nz) {
        // 3. the zone already holds more nodes than asked for.
        return traced(kDataError, "MG4ESF", "MAXIMUM DEJA ATTEINT");
    }
    // 4. the requested maximum and a margin.
    return requestedMaxima(freeIntegers, freeReals, b, k, int64_t(requested) + kZoneNodeMargin, noemax, nbemax,
                           "MG4ESF");
}

int carveGlobal(Vec<int32_t> itvl, Vec<float> rtvl, const GlobalCounts& c, GlobalTables& t, WorkShortage& shortage)
{
    shortage = WorkShortage::none;
    if (c.zones < 0 || c.records < 0 || c.integersPerRecord < 0 || c.realsPerRecord < 0 || c.nodesPerElement < 0 ||
        c.codesPerEdge < 0 || c.dimension < 0 || c.noemax < 0 || c.nbemax < 0 || itvl.count() < 1 ||
        rtvl.count() < 1) {
        return traced(kDataError, "MGGMEM", "DIMENSIONS DES TABLEAUX NEGATIVES");
    }
    const int64_t f = c.neighbourTables ? 1 : 0;
    const int64_t g = c.nodalSizes ? 1 : 0;
    // 1. the integers, the last position of `itvl` kept back.
    WorkCarver<int32_t> integers(itvl.slice(1, itvl.count() - 1));
    Vec<int32_t> edgeNodes;
    bool fitted = integers.take(c.zones, t.zoneCodes) &&
                  integers.take(int64_t(c.records) * c.integersPerRecord, t.sizeIntegers) &&
                  integers.take(int64_t(c.nbemax) * c.nodesPerElement, edgeNodes) &&
                  integers.take(int64_t(c.nbemax) * c.codesPerEdge + 1, t.edgeCodes);
    const int32_t optionalStart = integers.used() + 1;
    Vec<int32_t> neighbours;
    fitted = fitted && integers.take(int64_t(c.nbemax) * c.nodesPerElement * f, neighbours) &&
             integers.take(int64_t(c.noemax) * f, t.nodeEdge);
    if (!fitted) {
        shortage = WorkShortage::integers;
        return kCapacityError;
    }
    t.edgeNodes = Rows<int32_t>(edgeNodes.data(), c.nodesPerElement, c.nbemax);
    t.edgeCodeRows = Rows<int32_t>(t.edgeCodes.data(), c.codesPerEdge, c.nbemax);
    t.edgeNeighbours = Rows<int32_t>(neighbours.data(), c.nodesPerElement, int32_t(f) * c.nbemax);
    t.freeIntegers = integers.rest();
    t.optionalStart = optionalStart;
    // 2. the reals, the last position of `rtvl` kept back.
    WorkCarver<float> reals(rtvl.slice(1, rtvl.count() - 1));
    const int64_t sizeReals = c.sizesAtPoints ? int64_t(c.noemax) : int64_t(c.records) * c.realsPerRecord;
    fitted = reals.take(sizeReals, t.sizeReals) && reals.takeRows(c.dimension, c.noemax, t.coordinates) &&
             reals.take(int64_t(c.noemax) * g, t.nodalSizes);
    if (!fitted) {
        shortage = WorkShortage::reals;
        return kCapacityError;
    }
    t.freeReals = reals.rest();
    return kOk;
}

int carveTriangles(Vec<int32_t> itvl, const GlobalTables& global, int32_t zones, int32_t nbemax,
                   TriangleTables& tables, WorkShortage& shortage)
{
    shortage = WorkShortage::none;
    if (zones < 0 || nbemax < 0 || global.optionalStart < 1 || global.optionalStart > itvl.count()) {
        return traced(kDataError, "MGGMEM", "DIMENSIONS DES TABLEAUX NEGATIVES");
    }
    // From where `ITRTRI` began up to the last position of `itvl`, kept back.
    WorkCarver<int32_t> integers(itvl.slice(global.optionalStart, itvl.count() - global.optionalStart));
    if (!integers.take(zones, tables.zoneEnds) || !integers.takeRows(3, nbemax, tables.triangles)) {
        shortage = WorkShortage::integers;
        return kCapacityError;
    }
    tables.freeIntegers = integers.rest();
    return kOk;
}

ZoneLayout::ZoneLayout(Vec<int32_t> freeIntegers, Vec<float> freeReals) : integers_(freeIntegers), reals_(freeReals)
{
    tables_.freeIntegers = integers_.rest();
    tables_.freeReals = reals_.rest();
}

int ZoneLayout::shortOf(WorkShortage which)
{
    shortage_ = which;
    return kCapacityError;
}

int ZoneLayout::selection(int32_t nb, int32_t eb)
{
    // Each selected edge lists both its nodes before the list is sorted and made distinct,
    // so the list needs two entries per node or per edge, whichever is more.
    if (nb < 0 || eb < 0 || !integers_.take(2 * int64_t(std::max(nb, eb)), tables_.nodeList) ||
        !integers_.takeRows(2, eb, tables_.edgeList)) {
        return shortOf(WorkShortage::integers);
    }
    tables_.freeIntegers = integers_.rest();
    return kOk;
}

int ZoneLayout::renumbering(int32_t nb)
{
    if (!integers_.take(nb, tables_.INEWNU)) {
        return shortOf(WorkShortage::integers);
    }
    tables_.freeIntegers = integers_.rest();
    return kOk;
}

int ZoneLayout::localReals(int32_t noemax, int32_t dimension, bool sizesAtPoints, bool nodalSizes)
{
    if (!reals_.takeRows(dimension, noemax, tables_.ICOOM) ||
        !reals_.take(sizesAtPoints ? int64_t(noemax) : 0, tables_.IRADEC) ||
        !reals_.take(nodalSizes ? int64_t(noemax) : 0, tables_.IGRDMX)) {
        return shortOf(WorkShortage::reals);
    }
    tables_.freeReals = reals_.rest();
    return kOk;
}

int ZoneLayout::zoneEdges(int32_t ez)
{
    if (!integers_.takeRows(2, ez, tables_.IARMA)) {
        return shortOf(WorkShortage::integers);
    }
    tables_.freeIntegers = integers_.rest();
    return kOk;
}

int ZoneLayout::elements(int32_t noemaxz, int32_t nbemaxz)
{
    if (!integers_.takeRows(3, nbemaxz, tables_.ITRNOE) || !integers_.takeRows(3, nbemaxz, tables_.ITRTRI) ||
        !integers_.take(noemaxz, tables_.NOETRI)) {
        return shortOf(WorkShortage::integers);
    }
    tables_.freeIntegers = integers_.rest();
    return kOk;
}

int ZoneLayout::planeFrame(int32_t noemaxz)
{
    if (!reals_.takeRows(2, noemaxz, tables_.planeCoordinates) || !reals_.take(kFrameOriginReals, tables_.frameOrigin)) {
        return shortOf(WorkShortage::reals);
    }
    Vec<float> matrix;
    if (!reals_.take(kFrameMatrixReals, matrix)) {
        return shortOf(WorkShortage::reals);
    }
    tables_.frameMatrix = Rows<float>(matrix.data(), 3, 3);
    tables_.freeReals = reals_.rest();
    return kOk;
}

} // namespace tesmo
