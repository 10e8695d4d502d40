#pragma once
// Work memory: the node and element maxima derived from the free space (or from a requested
// maximum), and the carving of the two work arrays `itvl` and `rtvl` into named tables.
//
// Maxima come from the memory costs of one node (a integers, b reals) and one element
// (k integers, d reals): the largest n and e with a·n + k·e = I and b·n + d·e = R.
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Memory cost of one node and one element in the global sizing (integers per node, reals per element).
inline constexpr int32_t kIntegersPerNode = 2;
inline constexpr int32_t kRealsPerElement = 4;
/// Integers per element in the global sizing, before the codes per edge and the neighbour tables.
inline constexpr int32_t kGlobalIntegersPerElement = 7;
/// Integers per element in the zone sizing: kind 1, any other kind.
inline constexpr int32_t kZoneIntegersPerElement = 7;
inline constexpr int32_t kZoneIntegersPerElementOther = 12;
/// Nodes a zone may hold beyond a requested maximum.
inline constexpr int32_t kZoneNodeMargin = 50;
/// Reals of the plane frame of a zone in space: origin and 3×3 matrix.
inline constexpr int32_t kFrameOriginReals = 3;
inline constexpr int32_t kFrameMatrixReals = 9;

/// Solves a·n + k·e = I, b·n + d·e = R for the largest node and element counts (integer
/// division toward zero; -1 where a count is not determined). Returns 0; -1 when the two
/// equations are proportional or a cost is negative; -2 when a count does not fit 32 bits.
[[nodiscard]] int memomx(int32_t availableIntegers, int32_t availableReals, int32_t a, int32_t b, int32_t k, int32_t d,
                         int32_t& n, int32_t& e);

/// What the global maxima depend on.
struct GlobalSizing {
    int32_t dimension = 2;       ///< D, the space dimension
    int32_t zones = 0;           ///< Z
    int32_t points = 0;          ///< N, the geometry points
    int32_t edges = 0;           ///< E, the border edges
    int32_t nbn = -1;            ///< requested maximum of nodes: -1 (any negative) none, 0 no node added
    int32_t neighbourTables = 0; ///< f: 1 when the generation mode is 3
    int32_t codesPerEdge = 2;    ///< L
    int32_t sizesAtPoints = 0;   ///< k3: 1 for refinement mode 3
    int32_t nodalSizes = 0;      ///< g: 1 when a nodal-size file is named
};

/// Reals per node in the global sizing: nodal sizes, coordinates, sizes at the points, and one
/// more in space and with several zones.
int64_t globalRealsPerNode(const GlobalSizing& sizing);

/// The run maxima `NOEMAX` and `NBEMAX` from the free integers and reals. Returns 0; -1 when
/// 0 < nbn < N or a count is negative; -2 when a maximum does not fit 32 bits; memomx's code.
[[nodiscard]] int mggmax(const GlobalSizing& sizing, int32_t freeIntegers, int32_t freeReals, int32_t& noemax,
                         int32_t& nbemax);

/// The zone maxima from the zone's node count, twice its edge count and the requested maximum
/// (-1 none, 0 no node added, m: m + 50 nodes). Returns 0; -1 when 0 < requested < nodes or a
/// count is negative; -2 when a maximum does not fit 32 bits; memomx's code.
[[nodiscard]] int mg4max(int32_t dimension, int32_t kind, int32_t nodes, int32_t twiceEdges, int32_t requested,
                         int32_t freeIntegers, int32_t freeReals, int32_t& noemax, int32_t& nbemax);

/// Hands out consecutive tables from the start of a work area.
template <class T>
class WorkCarver {
public:
    explicit WorkCarver(Vec<T> area) : area_(area) {}
    /// The next `length` entries; false, with nothing handed out, when they do not fit.
    bool take(int64_t length, Vec<T>& table)
    {
        if (length < 0 || length > left()) {
            return false;
        }
        table = Vec<T>(area_.data() + used_, int32_t(length));
        used_ += int32_t(length);
        return true;
    }
    /// The next `count` rows of `width` entries.
    bool takeRows(int32_t width, int32_t count, Rows<T>& table)
    {
        Vec<T> entries;
        if (width < 0 || !take(int64_t(width) * count, entries)) {
            return false;
        }
        table = Rows<T>(entries.data(), width, count);
        return true;
    }
    /// Entries not handed out yet.
    int64_t left() const { return int64_t(area_.count()) - used_; }
    /// The entries not handed out yet.
    Vec<T> rest() const { return Vec<T>(area_.data() + used_, int32_t(left())); }
    /// Entries handed out so far.
    int32_t used() const { return used_; }

private:
    Vec<T> area_;
    int32_t used_ = 0;
};

/// All entries of a table of rows, as one run (a reader's view with its capacity).
template <class T>
Vec<T> entriesOf(Rows<T> rows)
{
    return Vec<T>(rows.data(), rows.width() * rows.count());
}

/// Counts that size the global tables after the counting reads.
struct GlobalCounts {
    int32_t zones = 0;             ///< Z
    int32_t records = 0;           ///< rows reserved for the size records (the closing record included)
    int32_t integersPerRecord = 0; ///< I
    int32_t realsPerRecord = 0;    ///< Q
    bool sizesAtPoints = false;    ///< refinement mode 3: the size reals are `RADEC`, one per node
    int32_t nodesPerElement = 0;   ///< P
    int32_t codesPerEdge = 0;      ///< L
    int32_t dimension = 0;         ///< D
    bool neighbourTables = false;  ///< f: generation mode 3 keeps `ITRTRI` and `NOETRI` of the edges
    bool nodalSizes = false;       ///< g: a nodal-size file is named
    int32_t noemax = 0;
    int32_t nbemax = 0;
};

/// The global tables, in their order in the work arrays.
struct GlobalTables {
    Vec<int32_t> zoneCodes;        ///< zone code list, Z
    Vec<int32_t> sizeIntegers;     ///< size records, R × I
    Rows<int32_t> edgeNodes;       ///< edge node table, NBEMAX rows of P
    Vec<int32_t> edgeCodes;        ///< edge code table, NBEMAX × L + 1
    Rows<int32_t> edgeCodeRows;    ///< the same table as NBEMAX rows of L
    Rows<int32_t> edgeNeighbours;  ///< `ITRTRI` of the edges, NBEMAX rows of P (f only)
    Vec<int32_t> nodeEdge;         ///< `NOETRI` of the edges, NOEMAX (f only)
    Vec<int32_t> freeIntegers;     ///< the rest, less the last position of `itvl`
    Vec<float> sizeReals;          ///< size records R × Q, or `RADEC` (NOEMAX) for sizes at points
    Rows<float> coordinates;       ///< `COORD`, NOEMAX rows of D
    Vec<float> nodalSizes;         ///< `GRDNOE`, NOEMAX (g only)
    Vec<float> freeReals;          ///< the rest, less the last position of `rtvl`
    int32_t optionalStart = 0;     ///< position in `itvl` where `ITRTRI` begins
};

/// Carves the global tables. Returns 0; -1 for a negative count; -2 when an array runs short
/// (`shortage` tells which; the tables are then not to be used).
[[nodiscard]] int carveGlobal(Vec<int32_t> itvl, Vec<float> rtvl, const GlobalCounts& counts, GlobalTables& tables,
                              WorkShortage& shortage);

/// The integer tables after the border stage, from where `ITRTRI` began.
struct TriangleTables {
    Vec<int32_t> zoneEnds;     ///< zone end table, Z
    Rows<int32_t> triangles;   ///< mesh `ITRNOE`, NBEMAX rows of 3
    Vec<int32_t> freeIntegers; ///< the rest, less the last position of `itvl`
};

/// Replaces the optional edge tables by the zone end table and the triangle table.
/// Returns 0; -1 for a negative count; -2 (integers short).
[[nodiscard]] int carveTriangles(Vec<int32_t> itvl, const GlobalTables& global, int32_t zones, int32_t nbemax,
                                 TriangleTables& tables, WorkShortage& shortage);

/// The local tables of one zone, carved from the driver's free areas.
struct ZoneTables {
    Vec<int32_t> nodeList;      ///< the zone's border nodes, room for 2 Nb
    Rows<int32_t> edgeList;     ///< the zone's edges as global node pairs, room for Eb
    Vec<int32_t> INEWNU;        ///< global-to-local node numbers, Nb
    Rows<int32_t> IARMA;        ///< zone edges in local numbers, Ez rows of 2
    Rows<int32_t> ITRNOE;       ///< zone triangles, NBEMAXz rows of 3
    Rows<int32_t> ITRTRI;       ///< zone neighbours, NBEMAXz rows of 3
    Vec<int32_t> NOETRI;        ///< one triangle per node, NOEMAXz
    Vec<int32_t> freeIntegers;  ///< what the stages may use
    Rows<float> ICOOM;          ///< local coordinates, NOEMAX rows of D
    Vec<float> IRADEC;          ///< local sizes at nodes (sizes at points only), NOEMAX
    Vec<float> IGRDMX;          ///< local nodal sizes (nodal-size file only), NOEMAX
    Rows<float> planeCoordinates; ///< 2D coordinates of a zone in space, NOEMAXz rows of 2
    Vec<float> frameOrigin;     ///< origin of the plane frame, 3
    Rows<float> frameMatrix;    ///< plane frame, 3 rows of 3
    Vec<float> freeReals;       ///< what the stages may use
};

/// Carves the tables of one zone step by step, in the order the zone pipeline needs them.
/// Each step returns 0, or -2 when its array runs short (integers for the integer tables,
/// reals for the real ones; `shortage()` tells which); the zone then goes no further.
class ZoneLayout {
public:
    ZoneLayout(Vec<int32_t> freeIntegers, Vec<float> freeReals);
    /// The node list (2 Nb) and the edge list (Eb pairs).
    [[nodiscard]] int selection(int32_t nb, int32_t eb);
    /// `INEWNU` (Nb).
    [[nodiscard]] int renumbering(int32_t nb);
    /// `ICOOM` (NOEMAX rows of D), then `IRADEC` and `IGRDMX` (NOEMAX each) when asked for.
    [[nodiscard]] int localReals(int32_t noemax, int32_t dimension, bool sizesAtPoints, bool nodalSizes);
    /// `IARMA` (Ez pairs).
    [[nodiscard]] int zoneEdges(int32_t ez);
    /// `ITRNOE`, `ITRTRI` (NBEMAXz rows of 3) and `NOETRI` (NOEMAXz); the rest goes to the stages.
    [[nodiscard]] int elements(int32_t noemaxz, int32_t nbemaxz);
    /// For a zone in space: 2D coordinates (NOEMAXz rows of 2), frame origin and matrix.
    [[nodiscard]] int planeFrame(int32_t noemaxz);
    const ZoneTables& tables() const { return tables_; }
    /// Integers and reals not carved yet (the free counts handed to `mg4max`).
    int32_t freeIntegerCount() const { return int32_t(integers_.left()); }
    int32_t freeRealCount() const { return int32_t(reals_.left()); }
    WorkShortage shortage() const { return shortage_; }

private:
    int shortOf(WorkShortage which);
    WorkCarver<int32_t> integers_;
    WorkCarver<float> reals_;
    ZoneTables tables_;
    WorkShortage shortage_ = WorkShortage::none;
};

} // namespace tesmo
