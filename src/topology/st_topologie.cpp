// Building, orienting and deleting elements of the element-face structure.
//
// Neighbour building. Two elements are neighbours when `sfaide` finds a common face; each
// element is compared with the elements that share one of its nodes. The elements through
// a node are kept in a bucket of B - 1 slots, B = min(NBE, work / largest node); a node
// through more elements than that has an incomplete bucket, and an element left with an
// open face at such a node is compared with every later element. The neighbours, the order
// in which they are found (a later match overwrites an earlier one) and the 0 / -1
// conventions are those of this bucket scheme.
//
// When the work array can hold the complete list of elements of every node, the buckets are
// read as the first B - 1 entries of those lists and the scan of the later elements as a
// merge of the lists of the element's nodes: the same comparisons in the same order, with
// no pass over all elements, so that building stays linear in the number of elements.
#include "topology/st_topologie.hpp"

#include "messages/es_erreur.hpp"
#include "topology/st_1struct.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_3dstruct.hpp"
#include "topology/st_ensemble.hpp"
#include "topology/st_geometrie.hpp"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tesmo {

namespace {

constexpr int32_t kOpen = -1; ///< neighbour entry not yet examined

/// The tables and counts shared by the steps of neighbour building.
struct Build {
    int32_t d;
    Rows<const int32_t> source;
    int32_t NBE;
    Rows<int32_t> ITRTRI;

    const int32_t* row(int32_t e) const { return source.row(e); }
    int32_t nodes(int32_t e) const { return strnbn(source.row(e), source.width()); }
};

/// Compares e with s and, when they share a face, stores each in the other's row.
[[nodiscard]] int compare(const Build& build, int32_t e, int32_t s)
{
    FaceMatch match;
    const int code = sfaide(build.row(e), build.nodes(e), build.row(s), build.nodes(s), build.d, match);
    if (code != kOk) {
        return code;
    }
    if (match.result != 0) {
        build.ITRTRI(e, match.faceA) = s;
        build.ITRTRI(s, match.faceB) = e;
    }
    return kOk;
}

/// True when one of the faces through local node i of e is still open.
[[nodiscard]] int openAtNode(const Build& build, int32_t e, int32_t i, int32_t n, bool& open)
{
    LocalSet faces;
    const int code = strkfs(build.d, i, n, faces);
    open = false;
    for (int32_t f = 1; f <= faces.count; ++f) {
        open = open || build.ITRTRI(e, faces(f)) == kOpen;
    }
    return code;
}

bool rowOpen(const Build& build, int32_t e)
{
    for (int32_t k = 1; k <= build.ITRTRI.width(); ++k) {
        if (build.ITRTRI(e, k) == kOpen) {
            return true;
        }
    }
    return false;
}

void closeRow(const Build& build, int32_t e)
{
    for (int32_t k = 1; k <= build.ITRTRI.width(); ++k) {
        if (build.ITRTRI(e, k) == kOpen) {
            build.ITRTRI(e, k) = 0;
        }
    }
}

/// Node buckets as stated: bucket of node v at slots (v - 1) B + 1 .. v B, its first slot
/// counting the elements recorded; later elements are found by scanning them all.
class BucketNodes {
public:
    BucketNodes(const Build& build, Vec<int32_t> work, int32_t largest, int32_t B)
        : build_(build), work_(work), B_(B)
    {
        if (B_ <= 1) {
            return;
        }
        for (int32_t v = 1; v <= largest; ++v) {
            count(v) = 0;
        }
        for (int32_t e = 1; e <= build_.NBE; ++e) {
            const int32_t n = build_.nodes(e);
            for (int32_t i = 0; i < n; ++i) {
                const int32_t v = build_.row(e)[i];
                if (count(v) < B_ - 1) {
                    ++count(v);
                    work_(base(v) + count(v)) = e;
                }
            }
        }
    }
    int32_t bucketSize(int32_t v) const { return B_ > 1 ? work_(base(v)) : 0; }
    int32_t bucketEntry(int32_t v, int32_t j) const { return work_(base(v) + j); }
    bool complete(int32_t v) const { return B_ > 2 && work_(base(v)) < B_ - 1; }
    template <class Visit>
    int laterElements(int32_t e, Visit visit) const
    {
        for (int32_t s = e + 1; s <= build_.NBE; ++s) {
            const int code = visit(s);
            if (code != kOk) {
                return code;
            }
        }
        return kOk;
    }

private:
    int32_t base(int32_t v) const { return (v - 1) * B_ + 1; }
    int32_t& count(int32_t v) { return work_(base(v)); }

    const Build& build_;
    Vec<int32_t> work_;
    int32_t B_;
};

/// Complete element lists of every node. Slot v of the work array gives, negated, the slot
/// holding the length of node v's list, followed by its elements in increasing order (an
/// element listed once per slot holding the node, as the buckets record it).
class IndexedNodes {
public:
    IndexedNodes(const Build& build, Vec<int32_t> work, int32_t largest, int32_t B)
        : build_(build), work_(work), B_(B)
    {
        fits_ = fill(largest);
    }
    bool fits() const { return fits_; }
    int32_t bucketSize(int32_t v) const { return B_ > 1 ? std::min(length(v), B_ - 1) : 0; }
    int32_t bucketEntry(int32_t v, int32_t j) const { return work_(head(v) + j); }
    bool complete(int32_t v) const { return B_ > 2 && length(v) < B_ - 1; }
    /// Visits, in increasing order and once each, the elements after e sharing a node with
    /// it: the only later elements with which a comparison can find a face.
    template <class Visit>
    int laterElements(int32_t e, Visit visit) const
    {
        const int32_t n = build_.nodes(e);
        int32_t last = e;
        for (;;) {
            int32_t next = std::numeric_limits<int32_t>::max();
            for (int32_t i = 0; i < n; ++i) {
                const int32_t v = build_.row(e)[i];
                const int32_t* first = work_.data() + head(v);
                const int32_t* end = first + length(v);
                const int32_t* after = std::upper_bound(first, end, last);
                if (after != end && *after < next) {
                    next = *after;
                }
            }
            if (next == std::numeric_limits<int32_t>::max()) {
                return kOk;
            }
            const int code = visit(next);
            if (code != kOk) {
                return code;
            }
            last = next;
        }
    }

private:
    int32_t head(int32_t v) const { return -work_(v); }
    int32_t length(int32_t v) const { return work_(head(v)); }

    bool fill(int32_t largest)
    {
        if (largest > work_.count()) {
            return false;
        }
        const int32_t NBE = build_.NBE;
        // 1. degree of each node present
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t i = 0, n = build_.nodes(e); i < n; ++i) {
                work_(build_.row(e)[i]) = 0;
            }
        }
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t i = 0, n = build_.nodes(e); i < n; ++i) {
                ++work_(build_.row(e)[i]);
            }
        }
        // 2. a segment per node, in order of first appearance: length slot, then elements
        int64_t next = int64_t(largest) + 1;
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t i = 0, n = build_.nodes(e); i < n; ++i) {
                const int32_t v = build_.row(e)[i];
                const int32_t degree = work_(v);
                if (degree <= 0) {
                    continue; // segment already placed
                }
                if (next + degree > work_.count()) {
                    return false;
                }
                work_(v) = -int32_t(next);
                work_(int32_t(next)) = 0;
                next += 1 + degree;
            }
        }
        // 3. the elements, in increasing order
        for (int32_t e = 1; e <= NBE; ++e) {
            for (int32_t i = 0, n = build_.nodes(e); i < n; ++i) {
                const int32_t h = head(build_.row(e)[i]);
                const int32_t filled = ++work_(h);
                work_(h + filled) = e;
            }
        }
        return true;
    }

    const Build& build_;
    Vec<int32_t> work_;
    int32_t B_;
    bool fits_ = false;
};

/// Steps 4 and 5 of neighbour building over either kind of node lists.
template <class Nodes>
[[nodiscard]] int findNeighbours(const Build& build, const Nodes& nodes)
{
    const int32_t NBE = build.NBE;
    // 4. each element against the buckets of its nodes with an open face
    for (int32_t e = 1; e <= NBE; ++e) {
        const int32_t n = build.nodes(e);
        for (int32_t i = 1; i <= n; ++i) {
            bool open = false;
            int code = openAtNode(build, e, i, n, open);
            if (code != kOk) {
                return code;
            }
            if (!open) {
                continue;
            }
            const int32_t v = build.row(e)[i - 1];
            for (int32_t j = 1, size = nodes.bucketSize(v); j <= size; ++j) {
                const int32_t s = nodes.bucketEntry(v, j);
                if (s != e && (code = compare(build, e, s)) != kOk) {
                    return code;
                }
            }
        }
    }
    // 5. completion: faces at complete buckets are outer faces; the others are compared
    //    with the later elements
    for (int32_t e = 1; e < NBE; ++e) {
        const int32_t n = build.nodes(e);
        for (int32_t i = 1; i <= n; ++i) {
            if (!nodes.complete(build.row(e)[i - 1])) {
                continue;
            }
            LocalSet faces;
            const int code = strkfs(build.d, i, n, faces);
            if (code != kOk) {
                return code;
            }
            for (int32_t f = 1; f <= faces.count; ++f) {
                if (build.ITRTRI(e, faces(f)) == kOpen) {
                    build.ITRTRI(e, faces(f)) = 0;
                }
            }
        }
        if (rowOpen(build, e)) {
            const int code = nodes.laterElements(e, [&](int32_t s) { return compare(build, e, s); });
            if (code != kOk) {
                return code;
            }
            closeRow(build, e);
        }
    }
    closeRow(build, NBE);
    return kOk;
}

/// Step 1 checks: table sizes, node numbers, face counts; gives the largest node.
[[nodiscard]] int checkElements(const Build& build, Rows<int32_t> ITRNOE, int32_t& largest)
{
    const int32_t NBE = build.NBE;
    if (build.source.count() < NBE || ITRNOE.count() < NBE || build.ITRTRI.count() < NBE) {
        return kCapacityError;
    }
    if (ITRNOE.width() != build.source.width()) {
        return kDataError;
    }
    largest = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t k = 1; k <= build.source.width(); ++k) {
            const int32_t v = build.source(e, k);
            if (v < 0) {
                return kDataError;
            }
            largest = std::max(largest, v);
        }
        int32_t faces = 0;
        const int code = strnbc(build.nodes(e), build.d, faces);
        if (code != kOk) {
            return code;
        }
        if (faces > build.ITRTRI.width()) {
            return kCapacityError;
        }
    }
    return kOk;
}

/// Step 6: the node rows to the destination, then NOETRI.
void copyAndLink(const Build& build, Rows<int32_t> ITRNOE, Vec<int32_t> NOETRI, int32_t cleared)
{
    const std::size_t values = std::size_t(build.NBE) * std::size_t(ITRNOE.width());
    if (ITRNOE.data() != build.source.data() && values > 0) {
        std::memmove(ITRNOE.data(), build.source.data(), values * sizeof(int32_t));
    }
    if (NOETRI.count() < 1) {
        return;
    }
    for (int32_t v = 1; v <= cleared; ++v) {
        NOETRI(v) = 0;
    }
    for (int32_t e = 1; e <= build.NBE; ++e) {
        for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
            NOETRI(ITRNOE(e, i)) = e;
        }
    }
}

} // namespace

int smacreUsing(NeighbourSearch search, int32_t d, Rows<const int32_t> source, int32_t NBE, int32_t nodeCount,
                Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, Vec<int32_t> work)
{
    if (NBE == 0) {
        return kOk;
    }
    if (NBE < 0) {
        return kDataError;
    }
    // 1. every entry open; the largest node
    const Build build{d, source, NBE, ITRTRI};
    int32_t largest = 0;
    int code = checkElements(build, ITRNOE, largest);
    if (code != kOk) {
        return code;
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t k = 1; k <= ITRTRI.width(); ++k) {
            ITRTRI(e, k) = kOpen;
        }
    }
    // 2. room in NOETRI
    const int32_t S = NOETRI.count();
    if (S >= 1 && (S < largest || S < nodeCount)) {
        return kCapacityError;
    }
    // 3. bucket size; slots past an element's faces hold 0
    const int32_t B = largest > 0 ? std::min(NBE, work.count() / largest) : 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        int32_t faces = 0;
        code = strnbc(build.nodes(e), d, faces);
        if (code != kOk) {
            return code;
        }
        for (int32_t k = faces + 1; k <= ITRTRI.width(); ++k) {
            ITRTRI(e, k) = 0;
        }
    }
    // 4, 5. neighbours
    bool done = false;
    if (search == NeighbourSearch::kIndexed) {
        const IndexedNodes indexed(build, work, largest, B);
        if (indexed.fits()) {
            code = findNeighbours(build, indexed);
            done = true;
        }
    }
    if (!done) {
        const BucketNodes buckets(build, work, largest, B);
        code = findNeighbours(build, buckets);
    }
    if (code != kOk) {
        return code;
    }
    // 6. node rows and NOETRI
    copyAndLink(build, ITRNOE, NOETRI, std::max(largest, nodeCount));
    return kOk;
}

int smacre(int32_t d, Rows<const int32_t> source, int32_t NBE, int32_t nodeCount, Rows<int32_t> ITRNOE,
           Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, Vec<int32_t> work)
{
    return smacreUsing(NeighbourSearch::kIndexed, d, source, NBE, nodeCount, ITRNOE, ITRTRI, NOETRI, work);
}

int sorien(int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, int32_t NBE, Vec<int32_t> work, Vec<int32_t> marks,
           int32_t& groups)
{
    groups = 0;
    if (NBE == 0) {
        return kOk;
    }
    if (NBE < 0) {
        return kDataError;
    }
    const int32_t NFE = ITRTRI.width();
    const int32_t record = NFE + 1;
    if (work.count() < record || marks.count() < NBE) {
        return kCapacityError;
    }
    if (ITRNOE.count() < NBE || ITRTRI.count() < NBE) {
        return kCapacityError;
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        marks(e) = 0;
    }
    int32_t top = 0; // values on the stack
    auto push = [&](int32_t e) {
        if (work.count() - top < record) {
            return kCapacityError;
        }
        work(top + 1) = e;
        for (int32_t k = 1; k <= NFE; ++k) {
            work(top + 1 + k) = ITRTRI(e, k);
        }
        top += record;
        marks(e) = 1;
        return kOk;
    };
    for (int32_t s = 1; s <= NBE; ++s) {
        if (marks(s) != 0) {
            continue;
        }
        ++groups;
        int code = push(s);
        if (code != kOk) {
            return code;
        }
        while (top > 0) {
            // the record of x is taken off; its row is x's row, which no longer changes
            // once x is marked
            const int32_t x = work(top - record + 1);
            top -= record;
            for (int32_t k = NFE; k >= 1; --k) {
                const int32_t j = ITRTRI(x, k) < 0 ? -ITRTRI(x, k) : ITRTRI(x, k);
                if (j == 0) {
                    continue;
                }
                if (j > NBE) {
                    return kDataError;
                }
                if (marks(j) != 0) {
                    continue;
                }
                FaceMatch match;
                const int32_t nx = strnbn(ITRNOE.row(x), ITRNOE.width());
                const int32_t nj = strnbn(ITRNOE.row(j), ITRNOE.width());
                code = sfaide(ITRNOE.row(x), nx, ITRNOE.row(j), nj, d, match);
                if (code != kOk) {
                    return code;
                }
                if (match.result == 0) {
                    return kDataError;
                }
                if (match.result < 0 && (code = sinvor(nj, d, ITRNOE.row(j), ITRTRI.row(j))) != kOk) {
                    return code;
                }
                if ((code = push(j)) != kOk) {
                    return code;
                }
            }
        }
    }
    return kOk;
}

namespace {

/// True when every node of element e is a row of the coordinate table.
bool nodesHaveCoordinates(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD)
{
    for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
        if (ITRNOE(e, i) > COORD.count()) {
            return false;
        }
    }
    return true;
}

/// Reverses the listed elements when the first one has a negative measure.
[[nodiscard]] int orientGroup(int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Rows<const float> COORD,
                              const int32_t* elements, int32_t count)
{
    const int32_t first = elements[0];
    if (!nodesHaveCoordinates(ITRNOE, first, COORD)) {
        return traced(kDataError, "SMAOCR", " NOEUD SANS COORDONNEES");
    }
    const int32_t n = strnbn(ITRNOE.row(first), ITRNOE.width());
    if (gorien(ITRNOE.row(first), n, d, COORD, 0.0f) >= 0) {
        return kOk;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t e = elements[i];
        const int code = sinvor(strnbn(ITRNOE.row(e), ITRNOE.width()), d, ITRNOE.row(e), ITRTRI.row(e));
        if (code != kOk) {
            return traced(code, "SMAOCR", " APPEL SINVOR");
        }
    }
    return kOk;
}

} // namespace

int smaocr(int32_t d, Rows<const int32_t> source, int32_t NBE, int32_t nodeCount, Rows<int32_t> ITRNOE,
           Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, Rows<const float> COORD, Vec<int32_t> work, int32_t& groups)
{
    groups = 0;
    // 1. neighbours
    int code = smacre(d, source, NBE, nodeCount, ITRNOE, ITRTRI, NOETRI, work);
    if (code != kOk) {
        return traced(code, "SMAOCR", " APPEL SMACRE");
    }
    if (NBE == 0) {
        return kOk;
    }
    // 2. one orientation per group: marks, then the stack of records
    if (work.count() < NBE) {
        return traced(kCapacityError, "SMAOCR", " APPEL SORIEN");
    }
    code = sorien(d, ITRNOE, ITRTRI, NBE, work.slice(NBE + 1, work.count() - NBE), work.slice(1, NBE), groups);
    if (code != kOk) {
        return traced(code, "SMAOCR", " APPEL SORIEN");
    }
    if (d < COORD.width()) {
        return kOk;
    }
    // 3. the orientation of the space: the lowest element of each group decides
    if (groups == 1) {
        int32_t* all = work.data();
        for (int32_t e = 1; e <= NBE; ++e) {
            work(e) = e;
        }
        return orientGroup(d, ITRNOE, ITRTRI, COORD, all, NBE);
    }
    // several groups: marks, elements by group, group sizes, then the stack
    const int64_t fixed = 2 * int64_t(NBE) + groups;
    if (work.count() <= fixed) {
        return traced(kCapacityError, "SMAOCR", " APPEL TMAPAR");
    }
    Vec<int32_t> marks = work.slice(1, NBE);
    Vec<int32_t> elements = work.slice(NBE + 1, NBE);
    Vec<int32_t> sizes = work.slice(2 * NBE + 1, groups);
    Vec<int32_t> stack = work.slice(int32_t(fixed) + 1, work.count() - int32_t(fixed));
    int32_t sets = 0;
    code = tmapar(ITRTRI, NBE, stack, marks, elements, sizes, sets);
    if (code != kOk) {
        return traced(code, "SMAOCR", " APPEL TMAPAR");
    }
    int32_t first = 1;
    for (int32_t g = 1; g <= sets; ++g) {
        code = orientGroup(d, ITRNOE, ITRTRI, COORD, elements.data() + (first - 1), sizes(g));
        if (code != kOk) {
            return code;
        }
        first += sizes(g);
    }
    return kOk;
}

int sfrcre(int32_t d, Rows<const int32_t> faces, int32_t count, Rows<const int32_t> ITRNOE, int32_t NBE,
           Rows<int32_t> faceNodes, Rows<int32_t> faceNeighbours, Vec<int32_t> work)
{
    if ((d != 2 && d != 3) || count < 0 || count > faces.count() || faces.width() < 2 || NBE > ITRNOE.count()) {
        return traced(kDataError, "SFRCRE", " ARGUMENTS INCORRECTS");
    }
    if (faceNodes.count() < count || faceNeighbours.count() < count) {
        return traced(kCapacityError, "SFRCRE", " TABLEAU DES FACES TROP PETIT");
    }
    // 1. one element of dimension d - 1 per listed face
    for (int32_t i = 1; i <= count; ++i) {
        const int32_t e = faces(i, 1);
        if (e < 1 || e > NBE) {
            return traced(kDataError, "SFRCRE", " NUMERO D ELEMENT INCORRECT");
        }
        LocalSet nodes;
        const int code = tnofrt(d, ITRNOE, e, faces(i, 2), nodes);
        if (code != kOk) {
            return traced(code, "SFRCRE", " APPEL TNOFRT");
        }
        if (nodes.count > faceNodes.width()) {
            return traced(kCapacityError, "SFRCRE", " TABLEAU DES FACES TROP PETIT");
        }
        for (int32_t k = 1; k <= faceNodes.width(); ++k) {
            faceNodes(i, k) = k <= nodes.count ? nodes(k) : 0;
        }
    }
    // 2. their neighbours
    int code = smacre(d - 1, faceNodes, count, 0, faceNodes, faceNeighbours, Vec<int32_t>(), work);
    if (code != kOk) {
        return traced(code, "SFRCRE", " APPEL SMACRE");
    }
    // 3. one orientation
    if (work.count() < count) {
        return traced(kCapacityError, "SFRCRE", " APPEL SORIEN");
    }
    int32_t groups = 0;
    code = sorien(d - 1, faceNodes, faceNeighbours, count, work.slice(count + 1, work.count() - count),
                  work.slice(1, count), groups);
    if (code != kOk) {
        return traced(code, "SFRCRE", " APPEL SORIEN");
    }
    return kOk;
}

int smadet(int32_t d, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, int32_t NBE, Vec<int32_t> NOETRI, int32_t update,
           int32_t e, Vec<int32_t> lostNodes, int32_t& lostCount)
{
    if (ITRNOE.count() < NBE || ITRTRI.count() < NBE) {
        return kCapacityError;
    }
    if (e < 1 || e > NBE) {
        return kDataError;
    }
    const int32_t n = strnbn(ITRNOE.row(e), ITRNOE.width());
    int32_t faceCount = 0;
    int code = strnbc(n, d, faceCount);
    if (code != kOk) {
        return code;
    }
    if (faceCount > ITRTRI.width()) {
        return kCapacityError;
    }
    // 1. nodes that named e take a neighbour through them, or are lost
    if (update != 0) {
        for (int32_t i = 1; i <= n; ++i) {
            const int32_t v = ITRNOE(e, i);
            if (v > NOETRI.count()) {
                return kCapacityError;
            }
            if (NOETRI(v) != e) {
                continue;
            }
            LocalSet faces;
            if ((code = strkfs(d, i, n, faces)) != kOk) {
                return code;
            }
            int32_t other = 0;
            for (int32_t f = 1; f <= faces.count && other == 0; ++f) {
                other = ITRTRI(e, faces(f)) < 0 ? -ITRTRI(e, faces(f)) : ITRTRI(e, faces(f));
            }
            if (other > NBE) {
                return kDataError;
            }
            if (other == 0) {
                if (lostCount < 0 || lostCount >= lostNodes.count()) {
                    return kCapacityError;
                }
                lostNodes(++lostCount) = v;
            }
            NOETRI(v) = other;
        }
    }
    // 2. the neighbours forget e
    for (int32_t k = 1; k <= faceCount; ++k) {
        const int32_t j = ITRTRI(e, k) < 0 ? -ITRTRI(e, k) : ITRTRI(e, k);
        if (j == 0) {
            continue;
        }
        if (j > NBE) {
            return kDataError;
        }
        int32_t back = 0;
        for (int32_t m = 1; m <= ITRTRI.width() && back == 0; ++m) {
            if (ITRTRI(j, m) == e || ITRTRI(j, m) == -e) {
                back = m;
            }
        }
        if (back == 0) {
            return kCapacityError;
        }
        ITRTRI(j, back) = 0;
    }
    // 3. the rows of e
    for (int32_t k = 1; k <= ITRTRI.width(); ++k) {
        ITRTRI(e, k) = 0;
    }
    for (int32_t k = 1; k <= ITRNOE.width(); ++k) {
        ITRNOE(e, k) = 0;
    }
    return kOk;
}

int sfride(Vec<const int32_t> record, int32_t d, Rows<const int32_t> ITRNOE, Rows<const int32_t> ITRTRI,
           Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides)
{
    sides = EdgeSides{};
    if (record.count() < 2) {
        return traced(kDataError, "SFRIDE", " ARETE INCOMPLETE");
    }
    switch (d) {
    case 1:
        return sfri1d(record(1), d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
    case 2:
        return sfri2d(record(1), record(2), d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
    case 3:
        return sfri3d(record(1), record(2), d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
    default:
        return traced(kDataError, "SFRIDE", " DIMENSION INCORRECTE");
    }
}

int sfricr(Vec<int32_t> record, int32_t d, Rows<const int32_t> ITRNOE, Rows<int32_t> ITRTRI,
           Vec<const int32_t> NOETRI, int32_t NBE, EdgeSides& sides)
{
    // 1. locate, 2. again with the nodes exchanged when the record holds just them
    int code = sfride(record, d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
    if (code != kOk) {
        return code;
    }
    if (sides.E1 == 0 && sides.E2 == 0) {
        if (record.count() != 2) {
            return kDataError;
        }
        std::swap(record(1), record(2));
        code = sfride(record, d, ITRNOE, ITRTRI, NOETRI, NBE, sides);
        if (code != kOk) {
            return code;
        }
        if (sides.E1 == 0 && sides.E2 == 0) {
            return kDataError;
        }
    }
    // 3. both sides marked; an edge of the outer boundary stays as it is
    if (sides.E1 != 0 && sides.E2 != 0) {
        if (ITRTRI(sides.E1, sides.F1) > 0) {
            ITRTRI(sides.E1, sides.F1) = -ITRTRI(sides.E1, sides.F1);
        }
        if (ITRTRI(sides.E2, sides.F2) > 0) {
            ITRTRI(sides.E2, sides.F2) = -ITRTRI(sides.E2, sides.F2);
        }
    }
    return kOk;
}

} // namespace tesmo
