// Shared border splits of the shape refinement.
//
// A zone's refinement splits a border edge where a candidate node comes too close to it. When
// another zone uses the same edge, the split node must be one of its nodes too. Each zone's
// splits of shared edges are logged in global numbers once the zone is merged; after the pass,
// the logged nodes join the border description as border nodes, and every zone is meshed again
// from the new borders:
//
//     pass 1:  zone 1 splits a b (shared with zone 2) at m      border  a ----- b
//     after:   a m b in the border description                  border  a --m-- b
//     pass 2:  both zones start from a, m and b
//
// until a pass logs no split; the last pass allowed splits no shared edge (a candidate that
// would need one is refused), so the zone loop always ends with a conforming mesh. A split
// node keeps the coordinates, the nodal size and (sizes at the nodes) the size its zone gave it.
#include "driver/border_splits.hpp"

#include "messages/es_erreur.hpp"

#include <algorithm>

namespace tesmo {

namespace {

constexpr const char* kRoutine = "PARTAGE";

/// Share of the free integers a table of splits may take: the log of the run, and a zone's.
constexpr int32_t kSplitShare = 16;
/// Rows of a table of splits at most.
constexpr int32_t kLogRows = 1 << 18;
constexpr int32_t kZoneSplitRows = 1 << 16;
constexpr int32_t kSplitWidth = 3;

/// The rows of splits that a share of `free` integers holds, at most `largest`.
int32_t splitRows(int32_t free, int32_t largest)
{
    return std::min(largest, std::max(0, free / kSplitShare / kSplitWidth));
}

/// Takes `count` entries from the end of `area`.
Vec<int32_t> takeFromEnd(Vec<int32_t>& area, int32_t count)
{
    const Vec<int32_t> taken = area.slice(area.count() - count + 1, count);
    area = area.slice(1, area.count() - count);
    return taken;
}

/// True when the codes of an edge name a zone other than `zoneCode`.
bool namesAnotherZone(const int32_t* codes, int32_t width, int32_t zoneCode)
{
    return std::any_of(codes, codes + width, [&](int32_t code) { return code != 0 && code != zoneCode; });
}

/// The edges of the description found by their two nodes: the edges at the start of a pass
/// sorted by their nodes (smaller first), searched by bisection, and the edges a split changed
/// or appended, searched one by one; without work enough for both, every edge one by one.
class EdgeSearch {
public:
    EdgeSearch(Rows<const int32_t> edgeNodes, int32_t edges, int32_t splits, Vec<int32_t> work)
        : nodes_(edgeNodes), sortedCount_(edges)
    {
        if (edgeNodes.width() < 2 || work.count() < 4 * int64_t(edges) + 2 * int64_t(splits)) {
            sortedCount_ = -1;
            return;
        }
        // the edges ordered by their nodes, then their nodes as they are now beside them
        const Vec<int32_t> order = work.slice(1, edges);
        for (int32_t e = 1; e <= edges; ++e) {
            order(e) = e;
        }
        std::sort(order.data(), order.data() + edges, [&](int32_t l, int32_t r) { return key(l) < key(r); });
        sorted_ = Rows<int32_t>(work.data() + edges, 3, edges);
        for (int32_t i = 1; i <= edges; ++i) {
            const Key k = key(order(i));
            sorted_(i, 1) = k.low;
            sorted_(i, 2) = k.high;
            sorted_(i, 3) = order(i);
        }
        tail_ = work.slice(4 * edges + 1, 2 * splits);
    }
    /// The edge joining a and b among edges 1..`edges`, 0 when none.
    int32_t find(int32_t a, int32_t b, int32_t edges)
    {
        const Key wanted{std::min(a, b), std::max(a, b)};
        found_ = 0;
        if (sortedCount_ < 0) {
            for (int32_t e = 1; e <= edges; ++e) {
                if (key(e) == wanted) {
                    return e;
                }
            }
            return 0;
        }
        int32_t low = 1, high = sortedCount_;
        while (low <= high) {
            const int32_t middle = (low + high) / 2;
            const Key k{sorted_(middle, 1), sorted_(middle, 2)};
            if (k == wanted) {
                found_ = sorted_(middle, 3) != 0 ? middle : 0;
                break;
            }
            if (k < wanted) {
                low = middle + 1;
            } else {
                high = middle - 1;
            }
        }
        if (found_ != 0) {
            return sorted_(found_, 3);
        }
        for (int32_t i = 1; i <= tailCount_; ++i) {
            if (key(tail_(i)) == wanted) {
                return tail_(i);
            }
        }
        return 0;
    }
    /// The edge last found was split: it changed, and `appended` follows the edges.
    void split(int32_t changed, int32_t appended)
    {
        if (sortedCount_ < 0) {
            return;
        }
        if (found_ != 0) {
            sorted_(found_, 3) = 0;        // its two nodes no longer make an edge,
            tail_(++tailCount_) = changed; // and the row as it is now is searched one by one
        }
        tail_(++tailCount_) = appended;
    }

private:
    struct Key {
        int32_t low, high;
        bool operator<(const Key& o) const { return low != o.low ? low < o.low : high < o.high; }
        bool operator==(const Key& o) const { return low == o.low && high == o.high; }
    };
    Key key(int32_t e) const
    {
        const int32_t a = nodes_(e, 1), b = nodes_(e, 2);
        return b == 0 ? Key{0, 0} : Key{std::min(a, b), std::max(a, b)};
    }
    Rows<const int32_t> nodes_;
    Rows<int32_t> sorted_;
    Vec<int32_t> tail_;
    int32_t sortedCount_;
    int32_t tailCount_ = 0;
    int32_t found_ = 0;
};

} // namespace

int startSharedSplits(RunExtensions* extensions, Vec<int32_t>& freeIntegers)
{
    if (extensions == nullptr || !extensions->quality.wanted()) {
        return kOk;
    }
    const int32_t rows = splitRows(freeIntegers.count(), kLogRows);
    if (rows < 1) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR LES COUPURES");
    }
    extensions->splits = BorderSplitLog{Rows<int32_t>(takeFromEnd(freeIntegers, kSplitWidth * rows).data(),
                                                      kSplitWidth, rows),
                                        0};
    extensions->splitShared = true;
    extensions->stoppedEarly = 0;
    return kOk;
}

int prepareZoneBorders(const BorderDescription& border, int32_t zoneCode, const ZoneEdges& candidates,
                       Vec<const int32_t> INEWNU, int32_t nz, Vec<int32_t>& stageIntegers, RunExtensions* extensions)
{
    if (extensions == nullptr || !extensions->quality.wanted()) {
        return kOk;
    }
    // 1. the flags and the split table, from the end of the stages' integers
    const int32_t rows = splitRows(stageIntegers.count() - nz, kZoneSplitRows);
    if (rows < 1 || int64_t(nz) + int64_t(kSplitWidth) * rows > stageIntegers.count()) {
        return traced(kCapacityError, kRoutine, "ENTIERS POUR LES BORDS PARTAGES");
    }
    const Vec<int32_t> flags = takeFromEnd(stageIntegers, nz);
    const Rows<int32_t> splits(takeFromEnd(stageIntegers, kSplitWidth * rows).data(), kSplitWidth, rows);
    std::fill(flags.data(), flags.data() + nz, 0);
    // 2. the nodes of every edge of the zone that lists another zone
    const int32_t P = border.edgeNodes.width();
    const int32_t L = border.edgeCodes.width();
    const int32_t examined = candidates.every ? border.edges : candidates.edges.count();
    for (int32_t i = 1; i <= examined && P >= 2; ++i) {
        const int32_t e = candidates.every ? i : candidates.edges(i);
        const int32_t* codes = border.edgeCodes.row(e);
        if (std::find(codes, codes + L, zoneCode) == codes + L || !namesAnotherZone(codes, L, zoneCode)) {
            continue;
        }
        for (int32_t j = 1; j <= 2; ++j) {
            const int32_t g = border.edgeNodes(e, j);
            if (g >= 1 && g <= INEWNU.count() && INEWNU(g) >= 1 && INEWNU(g) <= nz) {
                flags(INEWNU(g)) = 1;
            }
        }
    }
    extensions->zoneBorders = QualityBorders{flags, extensions->splitShared, splits, 0};
    return kOk;
}

int logZoneSplits(Vec<const int32_t> nodeList, Vec<const int32_t> newNumbers, int32_t zoneNodes,
                  RunExtensions* extensions)
{
    if (extensions == nullptr || !extensions->quality.wanted()) {
        return kOk;
    }
    const int32_t nz = nodeList.count();
    QualityBorders& zone = extensions->zoneBorders;
    BorderSplitLog& log = extensions->splits;
    for (int32_t i = 1; i <= zone.splitCount; ++i) {
        if (log.count >= log.rows.count()) {
            return traced(kCapacityError, kRoutine, " TABLE DES COUPURES PLEINE");
        }
        ++log.count;
        for (int32_t j = 1; j <= kSplitWidth; ++j) {
            const int32_t l = zone.splits(i, j);
            if (l < 1 || l > zoneNodes || (l > nz && l - nz > newNumbers.count())) {
                return traced(kDataError, kRoutine, " NOEUD HORS DE LA ZONE");
            }
            log.rows(log.count, j) = l <= nz ? nodeList(l) : newNumbers(l - nz);
        }
    }
    zone = QualityBorders{};
    return kOk;
}

int applySharedSplits(RunExtensions* extensions, int32_t& pass, BorderDescription& border, Rows<int32_t> edgeNodes,
                      Rows<int32_t> edgeCodes, GlobalMesh& mesh, Vec<float> RADEC, Vec<int32_t> work, bool& again)
{
    again = false;
    if (extensions == nullptr || !extensions->quality.wanted() || extensions->splits.count == 0) {
        return kOk;
    }
    BorderSplitLog& log = extensions->splits;
    const int32_t nb = border.nodes;
    EdgeSearch search(edgeNodes, border.edges, log.count, work);
    // 1. each logged split in order: its ends in border numbers (a node split earlier in the
    //    pass has one already), its edge, then the new node after the border's
    int32_t added = 0;
    for (int32_t i = 1; i <= log.count; ++i) {
        int32_t ends[2] = {log.rows(i, 1), log.rows(i, 2)};
        for (int32_t& g : ends) {
            int32_t found = 0;
            for (int32_t j = i - 1; g > nb && j >= 1 && found == 0; --j) {
                found = log.rows(j, 2) < 0 && -log.rows(j, 2) == g ? j : 0;
            }
            g = g <= nb ? g : found == 0 ? 0 : log.rows(found, 3);
        }
        // an edge another zone split first in this pass (or a split of its node) waits for
        // the next pass, which starts from the first split
        const int32_t e = ends[0] == 0 || ends[1] == 0 ? 0 : search.find(ends[0], ends[1], border.edges);
        if (e == 0) {
            continue;
        }
        if (border.edges + 1 > edgeNodes.count() || border.edges + 1 > edgeCodes.count() ||
            int64_t(nb) + added + 1 > mesh.COORD.count()) {
            return traced(kCapacityError, kRoutine, " TABLE DES ARETES PLEINE");
        }
        // the node: its coordinates and sizes move to the next border number (its number in
        // the pass is larger, and the numbers of the log grow, so nothing is overwritten early)
        const int32_t from = log.rows(i, 3);
        const int32_t to = nb + ++added;
        std::copy(mesh.COORD.row(from), mesh.COORD.row(from) + mesh.COORD.width(), mesh.COORD.row(to));
        if (mesh.GRDNOE.count() >= from) {
            mesh.GRDNOE(to) = mesh.GRDNOE(from);
        }
        if (RADEC.count() >= from) {
            RADEC(to) = RADEC(from);
        }
        // the edge x y becomes x m, and m y follows the last edge with the same codes
        const int32_t last = ++border.edges;
        edgeNodes(last, 1) = to;
        edgeNodes(last, 2) = edgeNodes(e, 2);
        edgeNodes(e, 2) = to;
        std::copy(edgeCodes.row(e), edgeCodes.row(e) + edgeCodes.width(), edgeCodes.row(last));
        search.split(e, last);
        // row i remembers its node: its pass number (negated) and its border number
        log.rows(i, 2) = -from;
        log.rows(i, 3) = to;
    }
    // 2. the next pass starts from the borders; the last one splits no shared border
    border.nodes = nb + added;
    mesh.nodes = border.nodes;
    mesh.triangles = 0;
    log.count = 0;
    extensions->stoppedEarly = 0;
    ++pass;
    extensions->splitShared = pass + 1 < kSharedSplitPasses;
    again = added > 0;
    return kOk;
}

} // namespace tesmo
