// The check that the zones of a geometry do not cross or overlap, made on the borders as read.
//
// The borders are checked as read rather than after the border stage cuts them: the cut only
// puts nodes on the straight edges between the points read, so borders cross after it exactly
// when they crossed before; before it there are fewer edges, nothing was spent on meshing, and
// the report can name the points the user wrote.
//
// One sweep of a line across the plane, in the lexicographic order of the points (x, then y:
// the order of a line turned by an infinitesimal angle, so that no edge is parallel to it),
// finds both faults in O(n log n) for n edges. The edges meeting the line are kept bottom to
// top in a balanced tree; as in Shamos and Hoey's test, two edges that meet where they should
// not are next to each other in it before the sweep passes the place where they meet, so each
// edge is compared only with the edges it becomes next to:
//
//        \   /             at a point p of the sweep: the edges ending at p leave the tree
//    -----\-/------        (the two edges they separated become neighbours), p itself must
//          X   <- p        lie inside no edge of the tree, and the edges starting at p enter
//    -----/-\------        it. Every decision is an exact orientation, or an order of points.
//
// Each edge of the tree also carries the zone covering the area just above it. A zone covers
// a point when the point lies inside an odd number of the zone's border loops (so that a hole
// of the zone is outside it, as the exterior removal makes it); crossing an edge from below
// changes the covering of exactly the zones the edge bounds. The area above a new edge is the
// area above its lower neighbour with those zones changed: when that makes two zones, two
// zones cover the same area and the geometry is refused.
//
// An open line of a zone (a crack, or a line hanging from a border) bounds nothing: the lines
// of each zone are first stripped of their free ends, repeatedly, and only what remains counts.
// A zone whose remaining lines still meet an odd number of times at some point has no clear
// inside (a line across it, from border to border); its covering is not followed.
//
// In space the zones are grouped by plane, and each plane is swept in two of the coordinates
// (the two that its normal leaves the largest share to), which keeps every decision exact.
#include "driver/border_crossings.hpp"

#include "geometry/cg_plan.hpp"
#include "geometry/cg_predicat.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace tesmo {

namespace {

/// Distance from a plane, relative to the largest coordinate magnitude, below which a point of
/// space lies in it: far above the rounding of single-precision points of one plane.
constexpr double kPlaneTolerance = 0x1p-16;
/// Smallest |cosine| between the normals of two zones of one plane (a quick sieve).
constexpr double kParallelNormals = 0.99;
/// Reals of a plane: unit normal and offset.
constexpr int32_t kPlaneReals = 4;
/// The two ends of an edge, as the second index of an end code (2 × item + end).
constexpr int32_t kLowEnd = 0;
constexpr int32_t kHighEnd = 1;

/// Consecutive tables from a work area; a mark hands a stretch back.
template <class T>
class Scratch {
public:
    explicit Scratch(Vec<T> area) : area_(area) {}
    /// The next `length` entries; false, with nothing taken, when they do not fit.
    bool take(int64_t length, Vec<T>& table)
    {
        if (length < 0 || length > int64_t(area_.count()) - used_) {
            return false;
        }
        table = Vec<T>(area_.data() + used_, int32_t(length));
        used_ += int32_t(length);
        return true;
    }
    int32_t mark() const { return used_; }
    void release(int32_t mark) { used_ = mark; }

private:
    Vec<T> area_;
    int32_t used_ = 0;
};

/// Zone numbers by code: a table over the range of the codes when it is small (codes numbered
/// from 1 as usual), else the zone indices sorted by their codes.
class ZoneLookup {
public:
    bool build(Vec<const int32_t> codes, Scratch<int32_t>& work)
    {
        codes_ = codes;
        if (codes.count() == 0) {
            return true;
        }
        const auto [least, most] = std::minmax_element(codes.data(), codes.data() + codes.count());
        const int64_t range = int64_t(*most) - *least + 1;
        if (range <= kDirectRange * int64_t(codes.count()) + kDirectRange) {
            least_ = *least;
            if (!work.take(range, direct_)) {
                return false;
            }
            std::fill(direct_.data(), direct_.data() + direct_.count(), 0);
            for (int32_t k = codes.count(); k >= 1; --k) {
                direct_(codes(k) - least_ + 1) = k;
            }
            return true;
        }
        if (!work.take(codes.count(), order_)) {
            return false;
        }
        for (int32_t k = 1; k <= codes.count(); ++k) {
            order_(k) = k;
        }
        std::sort(order_.data(), order_.data() + order_.count(),
                  [&](int32_t a, int32_t b) { return codes(a) < codes(b) || (codes(a) == codes(b) && a < b); });
        return true;
    }
    /// The index of the zone of `code` in the zone code list, 0 for none.
    int32_t indexOf(int32_t code) const
    {
        if (code == 0) {
            return 0;
        }
        if (direct_.count() > 0) {
            const int64_t at = int64_t(code) - least_ + 1;
            return at >= 1 && at <= direct_.count() ? direct_(int32_t(at)) : 0;
        }
        const int32_t* first = order_.data();
        const int32_t* last = first + order_.count();
        const int32_t* at = std::lower_bound(first, last, code, [&](int32_t k, int32_t c) { return codes_(k) < c; });
        return at != last && codes_(*at) == code ? *at : 0;
    }

private:
    /// Codes spread over at most this many times the number of zones get a direct table.
    static constexpr int64_t kDirectRange = 4;
    Vec<const int32_t> codes_;
    Vec<int32_t> order_;
    Vec<int32_t> direct_;
    int32_t least_ = 0;
};

/// Splitmix-style hash of a segment number: the priority of the segment in the tree.
uint32_t hashed(int32_t s)
{
    uint32_t h = uint32_t(s) * 0x9E3779B1u;
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    return h;
}

/// Orders the numbers 1..n by their keys (1..keys), keeping their order within a key: `order`
/// receives them key after key, `start` (keys + 1 entries) the first position of each key and,
/// last, n + 1.
template <class Key>
void orderByKey(int32_t n, int32_t keys, Key key, Vec<int32_t> start, Vec<int32_t> order)
{
    std::fill(start.data(), start.data() + keys + 1, 0);
    for (int32_t i = 1; i <= n; ++i) {
        ++start(key(i));
    }
    int32_t placed = 1;
    for (int32_t k = 1; k <= keys + 1; ++k) {
        const int32_t count = k <= keys ? start(k) : 0;
        start(k) = placed;
        placed += count;
    }
    // each number goes to the first free place of its key, which then moves on
    for (int32_t i = 1; i <= n; ++i) {
        order(start(key(i))++) = i;
    }
    for (int32_t k = keys; k >= 2; --k) {
        start(k) = start(k - 1);
    }
    start(1) = 1;
}

/// The edges meeting the sweep line, bottom to top: a treap of segment numbers (1..S, 0 for
/// none) whose priorities are hashed from the numbers, so that every run builds the same tree,
/// with each segment's neighbours below and above kept as a list. A segment's row holds what a
/// walk down the tree reads of it, side by side: its links (left, right, parent, below, above),
/// its priority, its low vertex and the places of its two ends (the bits of 4 reals).
class SweepTree {
public:
    static constexpr int32_t kWidth = 11;

    explicit SweepTree(Rows<int32_t> links) : links_(links)
    {
        std::fill(links.data(), links.data() + std::ptrdiff_t(links.width()) * links.count(), 0);
    }
    /// Keeps the low vertex of segment s and the places of its ends (x, y low, then high).
    void keep(int32_t s, int32_t low, const float* ends)
    {
        links_(s, kPriority) = int32_t(hashed(s) >> 1);
        links_(s, kLow) = low;
        for (int32_t i = 0; i < 4; ++i) {
            links_(s, kEnds + i) = std::bit_cast<int32_t>(ends[i]);
        }
    }
    int32_t root() const { return root_; }
    int32_t left(int32_t t) const { return links_(t, kLeft); }
    int32_t right(int32_t t) const { return links_(t, kRight); }
    int32_t low(int32_t t) const { return links_(t, kLow); }
    /// The edge just below s, and just above (0 for none).
    int32_t below(int32_t s) const { return links_(s, kBelow); }
    int32_t above(int32_t s) const { return links_(s, kAbove); }
    /// The places of the ends of segment t into `ends` (4 reals).
    void ends(int32_t t, float* ends) const
    {
        for (int32_t i = 0; i < 4; ++i) {
            ends[i] = std::bit_cast<float>(links_(t, kEnds + i));
        }
    }

    /// Puts s in the tree; `side(s, t)` answers +1 when s lies above t, -1 below, 0 to stop
    /// (nothing is then inserted). False when stopped.
    template <class Side>
    bool insert(int32_t s, Side side)
    {
        int32_t t = root_;
        int32_t under = 0; // the last segment the way down passed above, and below
        int32_t over = 0;
        int32_t* slot = &root_;
        while (t != 0) {
            const int o = side(s, t);
            if (o == 0) {
                return false;
            }
            (o > 0 ? under : over) = t;
            slot = &links_(t, o > 0 ? kRight : kLeft);
            links_(s, kParent) = t;
            t = *slot;
        }
        *slot = s;
        settle(s, under, over);
        return true;
    }

    /// Puts s just above segment u (`upward`), or just below it: for a segment known to come
    /// next to u. The in-order neighbour's free child takes it.
    void insertNextTo(int32_t s, int32_t u, bool upward)
    {
        const int32_t near = upward ? kRight : kLeft;
        const int32_t far = upward ? kLeft : kRight;
        const int32_t beyond = links_(u, upward ? kAbove : kBelow);
        const int32_t holder = links_(u, near) == 0 ? u : beyond;
        links_(holder, holder == u ? near : far) = s;
        links_(s, kParent) = holder;
        settle(s, upward ? u : beyond, upward ? beyond : u);
    }

    /// Puts s where `old` is, in its place and with its priority, and takes `old` out: for a
    /// segment that goes on from the vertex where `old` ends, between the same neighbours.
    void replace(int32_t old, int32_t s)
    {
        for (const int32_t column : {kLeft, kRight, kParent, kBelow, kAbove, kPriority}) {
            links_(s, column) = links_(old, column);
        }
        for (const int32_t column : {kLeft, kRight}) {
            if (links_(s, column) != 0) {
                links_(links_(s, column), kParent) = s;
            }
        }
        replaceChild(parent(s), old, s);
        relink(below(s), s, above(s));
        clear(old);
    }

    /// Takes s out of the tree: turned down below its children until it has one at most.
    void remove(int32_t s)
    {
        while (left(s) != 0 && right(s) != 0) {
            rotateUp(priority(left(s)) > priority(right(s)) ? left(s) : right(s));
        }
        const int32_t child = left(s) != 0 ? left(s) : right(s);
        replaceChild(parent(s), s, child);
        relink(below(s), 0, above(s));
        clear(s);
    }

private:
    static constexpr int32_t kLeft = 1;
    static constexpr int32_t kRight = 2;
    static constexpr int32_t kParent = 3;
    static constexpr int32_t kBelow = 4;
    static constexpr int32_t kAbove = 5;
    static constexpr int32_t kPriority = 6;
    static constexpr int32_t kLow = 7;
    static constexpr int32_t kEnds = 8;

    int32_t parent(int32_t t) const { return links_(t, kParent); }
    int32_t priority(int32_t t) const { return links_(t, kPriority); }

    /// A segment just put in as a leaf between `under` and `over`: linked to them, then turned
    /// up while its priority beats its parent's.
    void settle(int32_t s, int32_t under, int32_t over)
    {
        links_(s, kBelow) = under;
        links_(s, kAbove) = over;
        relink(under, s, over);
        while (parent(s) != 0 && priority(s) > priority(parent(s))) {
            rotateUp(s);
        }
    }

    /// Makes `middle` (or, when 0, `over`) the neighbour above `under`, and the mirror.
    void relink(int32_t under, int32_t middle, int32_t over)
    {
        if (under != 0) {
            links_(under, kAbove) = middle != 0 ? middle : over;
        }
        if (over != 0) {
            links_(over, kBelow) = middle != 0 ? middle : under;
        }
    }

    void clear(int32_t s)
    {
        for (const int32_t column : {kLeft, kRight, kParent, kBelow, kAbove}) {
            links_(s, column) = 0;
        }
    }

    /// Puts `child` where `old` was under `parent` (the root when parent is 0).
    void replaceChild(int32_t parentNode, int32_t old, int32_t child)
    {
        if (child != 0) {
            links_(child, kParent) = parentNode;
        }
        if (parentNode == 0) {
            root_ = child;
        } else {
            links_(parentNode, left(parentNode) == old ? kLeft : kRight) = child;
        }
    }

    /// Turns x above its parent p (x on the left of p; the mirror image when x is on the right):
    ///
    ///         p              x
    ///        / \            / \     a, b and c are subtrees;
    ///       x   c   -->    a   p
    ///      / \                / \   the order a x b p c is kept
    ///     a   b              b   c
    void rotateUp(int32_t x)
    {
        const int32_t p = parent(x);
        const int32_t g = parent(p);
        const int32_t near = left(p) == x ? kLeft : kRight;
        const int32_t far = near == kLeft ? kRight : kLeft;
        const int32_t b = links_(x, far);
        links_(p, near) = b;
        if (b != 0) {
            links_(b, kParent) = p;
        }
        links_(x, far) = p;
        links_(p, kParent) = x;
        replaceChild(g, p, x);
    }

    Rows<int32_t> links_;
    int32_t root_ = 0;
};

/// The elements of one plane and the tables of its sweep.
class PlaneCheck {
public:
    /// `vertexOf` holds one 0 per node, and is left so after a check that passes.
    PlaneCheck(const BorderLayout& layout, const ZoneLookup& zones, Vec<const int32_t> zoneGroup, int32_t group,
               Rows<const float> xy, Vec<int32_t> vertexOf, GeometryFault& fault)
        : layout_(layout), zones_(zones), zoneGroup_(zoneGroup), group_(group), xy_(xy), fault_(fault),
          vertexOf_(vertexOf)
    {
    }

    /// Checks the elements listed (each once). Returns 0, -1 with the fault, -2 for short work.
    int run(Vec<const int32_t> elements, Scratch<int32_t>& work, Scratch<float>& reals)
    {
        const int code = check(elements, work, reals);
        for (int32_t i = 1; i <= usedNodes_.count(); ++i) {
            vertexOf_(usedNodes_(i)) = 0;
        }
        return code;
    }

private:
    int check(Vec<const int32_t> elements, Scratch<int32_t>& work, Scratch<float>& reals)
    {
        // 1. the elements of the plane's zones: edges first, lone points last
        int code = select(elements, work);
        if (code != kOk || edges_.count() == 0) {
            return code;
        }
        // 2. one vertex per place, numbered in the order of the sweep
        code = places(work);
        if (code != kOk) {
            return code;
        }
        // 3. no edge of length zero; edges through the same two places made one segment
        code = segments(work, reals);
        if (code != kOk) {
            return code;
        }
        // 4. the zones each segment bounds, open lines stripped
        code = bounds(work);
        if (code != kOk) {
            return code;
        }
        // 5. the sweep
        return sweep(work);
    }

    const float* at(int32_t v) const { return xy_.row(vertexNode_(v)); }
    /// The places of the low and high ends of segment s, kept with the segment.
    const float* lowAt(int32_t s) const { return ends_.row(s); }
    const float* highAt(int32_t s) const { return ends_.row(s) + 2; }
    int32_t nodes() const { return layout_.edgeNodes.width(); }
    int32_t firstNode(int32_t j) const { return layout_.edgeNodes(j, 1); }
    int32_t secondNode(int32_t j) const { return nodes() >= 2 ? layout_.edgeNodes(j, 2) : 0; }
    int32_t firstEdge(int32_t s) const { return segmentEdges_(segmentStart_(s)); }

    /// True when element j lists a zone of this plane.
    bool inPlane(int32_t j) const
    {
        for (int32_t c = 1; c <= layout_.edgeCodes.width(); ++c) {
            const int32_t k = zones_.indexOf(layout_.edgeCodes(j, c));
            if (k != 0 && zoneGroup_(k) == group_) {
                return true;
            }
        }
        return false;
    }

    /// The edges and lone points among `elements` that list a zone of this plane. Returns 0,
    /// -1 for a point number outside the coordinates, -2 for short work.
    int select(Vec<const int32_t> elements, Scratch<int32_t>& work)
    {
        const int32_t n = layout_.coordinates.count();
        int32_t edgeCount = 0;
        int32_t pointCount = 0;
        for (int32_t i = 1; i <= elements.count(); ++i) {
            const int32_t j = elements(i);
            if (!inPlane(j)) {
                continue;
            }
            const int32_t a = firstNode(j);
            const int32_t b = secondNode(j);
            if (a < 1 || a > n || b < 0 || b > n) {
                return kDataError;
            }
            ++(b == 0 ? pointCount : edgeCount);
        }
        Vec<int32_t> list;
        if (!work.take(int64_t(edgeCount) + pointCount, list)) {
            return kCapacityError;
        }
        edges_ = list.slice(1, edgeCount);
        points_ = list.slice(edgeCount + 1, pointCount);
        int32_t e = 0;
        int32_t p = 0;
        for (int32_t i = 1; i <= elements.count(); ++i) {
            const int32_t j = elements(i);
            if (inPlane(j)) {
                (secondNode(j) == 0 ? points_(++p) : edges_(++e)) = j;
            }
        }
        return kOk;
    }

    /// True when place a comes before place b in the sweep (x, then y).
    bool before(const float* a, const float* b) const { return a[0] < b[0] || (a[0] == b[0] && a[1] < b[1]); }
    bool samePlace(const float* a, const float* b) const { return a[0] == b[0] && a[1] == b[1]; }

    /// The vertices: the nodes used, sorted by place; nodes at one place make one vertex,
    /// numbered in the order of the sweep. Returns 0, or -2 for short work.
    int places(Scratch<int32_t>& work)
    {
        // the nodes used, each listed once (marked -1 meanwhile), in the order of their places
        Vec<int32_t> list;
        if (!work.take(2 * int64_t(edges_.count()) + points_.count(), list)) {
            return kCapacityError;
        }
        int32_t used = 0;
        const auto mark = [&](int32_t node) {
            if (node != 0 && vertexOf_(node) == 0) {
                vertexOf_(node) = -1;
                list(++used) = node;
            }
        };
        for (int32_t i = 1; i <= edges_.count(); ++i) {
            mark(firstNode(edges_(i)));
            mark(secondNode(edges_(i)));
        }
        for (int32_t i = 1; i <= points_.count(); ++i) {
            mark(firstNode(points_(i)));
        }
        usedNodes_ = list.slice(1, used);
        std::sort(usedNodes_.data(), usedNodes_.data() + used, [&](int32_t a, int32_t b) {
            const float* pa = xy_.row(a);
            const float* pb = xy_.row(b);
            return before(pa, pb) || (samePlace(pa, pb) && a < b);
        });
        // one vertex per place, represented by its lowest node
        if (!work.take(used, vertexNode_)) {
            return kCapacityError;
        }
        int32_t vertices = 0;
        for (int32_t i = 1; i <= used; ++i) {
            const int32_t node = usedNodes_(i);
            if (vertices == 0 || !samePlace(xy_.row(vertexNode_(vertices)), xy_.row(node))) {
                vertexNode_(++vertices) = node;
            }
            vertexOf_(node) = vertices;
        }
        vertexNode_ = vertexNode_.slice(1, vertices);
        return kOk;
    }

    int32_t lowEnd(int32_t j) const { return std::min(vertexOf_(firstNode(j)), vertexOf_(secondNode(j))); }
    int32_t highEnd(int32_t j) const { return std::max(vertexOf_(firstNode(j)), vertexOf_(secondNode(j))); }

    /// The segments: the edges sorted by their vertices, those through the same two vertices
    /// made one, with the places of their ends. Returns 0, -1 for an edge of length zero (the
    /// fault), -2 for short work.
    int segments(Scratch<int32_t>& work, Scratch<float>& reals)
    {
        for (int32_t i = 1; i <= edges_.count(); ++i) {
            const int32_t j = edges_(i);
            if (lowEnd(j) == highEnd(j)) {
                fault_.kind = FaultKind::zeroLength;
                edgeFault(0, j);
                placeAtNode(firstNode(j));
                return kDataError;
            }
        }
        // the edges by low end (counted into place), then by high end and number
        const int32_t e = edges_.count();
        const int32_t vertices = vertexNode_.count();
        Vec<int32_t> start;
        if (!work.take(e, segmentEdges_) || !work.take(int64_t(std::max(e, vertices)) + 2, start) ||
            !work.take(e, low_) || !work.take(e, high_)) {
            return kCapacityError;
        }
        orderByKey(e, vertices, [&](int32_t i) { return lowEnd(edges_(i)); }, start, segmentEdges_);
        for (int32_t i = 1; i <= e; ++i) {
            segmentEdges_(i) = edges_(segmentEdges_(i));
        }
        for (int32_t v = 1; v <= vertices; ++v) {
            std::sort(segmentEdges_.data() + (start(v) - 1), segmentEdges_.data() + (start(v + 1) - 1),
                      [&](int32_t a, int32_t b) { return highEnd(a) < highEnd(b) || (highEnd(a) == highEnd(b) && a < b); });
        }
        int32_t s = 0;
        for (int32_t i = 1; i <= e; ++i) {
            const int32_t j = segmentEdges_(i);
            if (s == 0 || lowEnd(j) != low_(s) || highEnd(j) != high_(s)) {
                ++s;
                start(s) = i;
                low_(s) = lowEnd(j);
                high_(s) = highEnd(j);
            }
        }
        start(s + 1) = e + 1;
        segmentStart_ = start.slice(1, s + 1);
        low_ = low_.slice(1, s);
        high_ = high_.slice(1, s);
        // the places of each segment's ends, beside each other for the sweep
        Vec<float> ends;
        if (!reals.take(4 * int64_t(s), ends)) {
            return kCapacityError;
        }
        ends_ = Rows<float>(ends.data(), 4, s);
        for (int32_t k = 1; k <= s; ++k) {
            std::copy(at(low_(k)), at(low_(k)) + 2, ends_.row(k));
            std::copy(at(high_(k)), at(high_(k)) + 2, ends_.row(k) + 2);
        }
        return kOk;
    }

    int32_t segmentCount() const { return low_.count(); }

    /// Index of the zone in this plane named by the code, 0 otherwise.
    int32_t planeZone(int32_t code) const
    {
        const int32_t k = zones_.indexOf(code);
        return k != 0 && zoneGroup_(k) == group_ ? k : 0;
    }

    /// The items: the zones of the plane each segment bounds, once each, then open lines
    /// stripped zone by zone. Returns 0, or -2 for short work.
    int bounds(Scratch<int32_t>& work)
    {
        // the zones of each segment, once each (items; an item's zone turns negative when the
        // segment does not bound it)
        const int32_t segmentsCount = segmentCount();
        int64_t most = 0;
        for (int32_t i = 1; i <= segmentEdges_.count(); ++i) {
            for (int32_t c = 1; c <= layout_.edgeCodes.width(); ++c) {
                most += planeZone(layout_.edgeCodes(segmentEdges_(i), c)) != 0 ? 1 : 0;
            }
        }
        if (!work.take(int64_t(segmentsCount) + 1, itemStart_) || !work.take(most, itemZone_) ||
            !work.take(most, itemSegment_)) {
            return kCapacityError;
        }
        int32_t m = 0;
        for (int32_t s = 1; s <= segmentsCount; ++s) {
            itemStart_(s) = m + 1;
            for (int32_t i = segmentStart_(s); i < segmentStart_(s + 1); ++i) {
                for (int32_t c = 1; c <= layout_.edgeCodes.width(); ++c) {
                    const int32_t k = planeZone(layout_.edgeCodes(segmentEdges_(i), c));
                    const int32_t* first = itemZone_.data() + (itemStart_(s) - 1);
                    const int32_t* last = itemZone_.data() + m;
                    if (k != 0 && std::find(first, last, k) == last) {
                        ++m;
                        itemZone_(m) = k;
                        itemSegment_(m) = s;
                    }
                }
            }
        }
        itemStart_(segmentsCount + 1) = m + 1;
        items_ = m;
        return stripOpenLines(work);
    }

    /// The vertex at one end of an item: code 2 × item + end.
    int32_t endVertex(int32_t code) const
    {
        const int32_t s = itemSegment_(code / 2);
        return code % 2 == kLowEnd ? low_(s) : high_(s);
    }

    /// The items zone by zone, each zone stripped of its open lines. Returns 0, or -2.
    int stripOpenLines(Scratch<int32_t>& work)
    {
        const int32_t mark = work.mark();
        // the items zone by zone
        const int32_t zoneCount = zoneGroup_.count();
        Vec<int32_t> start;
        Vec<int32_t> byZone;
        if (!work.take(int64_t(zoneCount) + 1, start) || !work.take(items_, byZone)) {
            return kCapacityError;
        }
        orderByKey(items_, zoneCount, [&](int32_t i) { return itemZone_(i); }, start, byZone);
        int32_t most = 0;
        for (int32_t k = 1; k <= zoneCount; ++k) {
            most = std::max(most, start(k + 1) - start(k));
        }
        // the ends of one zone's items, their degrees and a stack of free ends
        Vec<int32_t> ends;
        Vec<int32_t> stack;
        Vec<int32_t> degree;
        if (!work.take(2 * int64_t(most), ends) || !work.take(2 * int64_t(most), stack) ||
            !work.take(vertexNode_.count(), degree)) {
            return kCapacityError;
        }
        std::fill(degree.data(), degree.data() + degree.count(), 0);
        for (int32_t k = 1; k <= zoneCount; ++k) {
            if (start(k + 1) > start(k)) {
                stripZone(k, byZone.slice(start(k), start(k + 1) - start(k)), ends, stack, degree);
            }
        }
        work.release(mark);
        return kOk;
    }

    /// Strips the free ends of zone k's lines (a line of the zone ending at a vertex no other of
    /// its lines reaches), again and again; when some vertex is still met an odd number of times,
    /// the zone is not followed at all.
    void stripZone(int32_t k, Vec<const int32_t> zoneItems, Vec<int32_t> ends, Vec<int32_t> stack,
                   Vec<int32_t> degree)
    {
        const int32_t count = 2 * zoneItems.count();
        for (int32_t i = 1; i <= zoneItems.count(); ++i) {
            ends(2 * i - 1) = 2 * zoneItems(i) + kLowEnd;
            ends(2 * i) = 2 * zoneItems(i) + kHighEnd;
        }
        int32_t* first = ends.data();
        int32_t* last = first + count;
        for (int32_t* e = first; e != last; ++e) {
            ++degree(endVertex(*e));
        }
        // lines without a free end (most zones) are kept whole, without sorting their ends
        if (std::none_of(first, last, [&](int32_t code) { return degree(endVertex(code)) == 1; })) {
            finishZone(k, first, last, degree);
            return;
        }
        std::sort(first, last, [&](int32_t a, int32_t b) {
            return endVertex(a) < endVertex(b) || (endVertex(a) == endVertex(b) && a < b);
        });
        int32_t top = 0;
        for (int32_t* e = first; e != last; ++e) {
            if (degree(endVertex(*e)) == 1) {
                stack(++top) = endVertex(*e);
            }
        }
        while (top > 0) {
            const int32_t v = stack(top--);
            if (degree(v) != 1) {
                continue;
            }
            // the one line of the zone still reaching v
            int32_t* e = std::lower_bound(first, last, v, [&](int32_t code, int32_t w) { return endVertex(code) < w; });
            while (itemZone_(*e / 2) < 0) {
                ++e;
            }
            const int32_t item = *e / 2;
            itemZone_(item) = -k;
            const int32_t other = endVertex(*e) == low_(itemSegment_(item)) ? high_(itemSegment_(item))
                                                                             : low_(itemSegment_(item));
            --degree(v);
            if (--degree(other) == 1) {
                stack(++top) = other;
            }
        }
        finishZone(k, first, last, degree);
    }

    /// After the stripping of zone k: when some vertex is still met an odd number of times, the
    /// zone is not followed; the degrees are cleared.
    void finishZone(int32_t k, const int32_t* first, const int32_t* last, Vec<int32_t> degree)
    {
        const bool odd = std::any_of(first, last, [&](int32_t code) { return degree(endVertex(code)) % 2 != 0; });
        for (const int32_t* e = first; e != last; ++e) {
            degree(endVertex(*e)) = 0;
            if (odd) {
                itemZone_(*e / 2) = -k;
            }
        }
    }

    // ----- the sweep -----

    /// The sweep over the vertices in order (see the top of this file). Returns 0, -1 with the
    /// fault (a crossing or a touch at once; two zones over one area when nothing else is
    /// wrong), -2 for short work.
    int sweep(Scratch<int32_t>& work)
    {
        const int32_t segmentsCount = segmentCount();
        const int32_t vertices = vertexNode_.count();
        Vec<int32_t> endStart;
        Vec<int32_t> endOrder;
        Vec<int32_t> links;
        if (!work.take(int64_t(vertices) + 1, endStart) || !work.take(segmentsCount, endOrder) ||
            !work.take(SweepTree::kWidth * int64_t(segmentsCount), links) || !work.take(segmentsCount, cover_)) {
            return kCapacityError;
        }
        // the segments by their high end
        orderByKey(segmentsCount, vertices, [&](int32_t s) { return high_(s); }, endStart, endOrder);
        // the lone points by vertex, to name a point found inside an edge
        std::sort(points_.data(), points_.data() + points_.count(),
                  [&](int32_t a, int32_t b) { return vertexOf_(firstNode(a)) < vertexOf_(firstNode(b)); });
        SweepTree tree(Rows<int32_t>(links.data(), SweepTree::kWidth, segmentsCount));
        for (int32_t s = 1; s <= segmentsCount; ++s) {
            tree.keep(s, low_(s), ends_.row(s));
        }
        int32_t next = 1;
        for (int32_t v = 1; v <= vertices; ++v) {
            // 0. a line going on through v (one segment ends there, one starts): the second
            //    takes the place of the first, between the same neighbours (no edge contains v:
            //    the first was compared with its neighbours as they came next to it)
            const bool single = next <= segmentsCount && low_(next) == v &&
                                (next == segmentsCount || low_(next + 1) != v);
            if (single && endStart(v + 1) - endStart(v) == 1) {
                const int32_t ended = endOrder(endStart(v));
                const int32_t below = tree.below(ended);
                const int32_t above = tree.above(ended);
                tree.replace(ended, next);
                coverAbove(next, below);
                if ((below != 0 && meet(below, next)) || (above != 0 && meet(next, above))) {
                    return kDataError;
                }
                ++next;
                continue;
            }
            // 1. the segments ending at v leave
            for (int32_t i = endStart(v); i < endStart(v + 1); ++i) {
                const int32_t s = endOrder(i);
                const int32_t below = tree.below(s);
                const int32_t above = tree.above(s);
                tree.remove(s);
                if (below != 0 && above != 0 && meet(below, above)) {
                    return kDataError;
                }
            }
            // 2. v lies inside no segment: found by the first segment entering at v, whose way
            //    down the tree is that of v; for a segment ending at v, by the comparison of the
            //    two when they became neighbours (as for crossings); for a lone point, here
            const bool starts = next <= segmentsCount && low_(next) == v;
            const int32_t inside = starts || endStart(v) < endStart(v + 1) ? 0 : locate(tree, v);
            if (inside != 0) {
                touchingAt(v, next, inside);
                return kDataError;
            }
            // 3. the segments starting at v enter, each with its covering zone; of two (a line
            //    turning back at v), the second goes next to the first
            const int32_t first = next;
            const auto enters = [&](int32_t s, int32_t t) { return side(tree, v, s, t); };
            while (next <= segmentsCount && low_(next) == v) {
                const bool second = next == first + 1 && (next == segmentsCount || low_(next + 1) != v);
                const int o = second ? enters(next, first) : 0;
                if (second && o != 0) {
                    tree.insertNextTo(next, first, o > 0);
                } else if (second || !tree.insert(next, enters)) {
                    return kDataError;
                }
                ++next;
            }
            if (first < next && enter(tree, v, first) != kOk) {
                return kDataError;
            }
        }
        // zones that overlap without borders that cross
        if (overlapping_.kind != FaultKind::none) {
            fault_ = overlapping_;
            return kDataError;
        }
        return kOk;
    }

    /// The segment of the tree that vertex v lies inside, 0 for none.
    int32_t locate(const SweepTree& tree, int32_t v) const
    {
        int32_t t = tree.root();
        float ends[4];
        while (t != 0) {
            tree.ends(t, ends);
            const int o = orientation(ends, ends + 2, at(v));
            if (o == 0) {
                return t;
            }
            t = o > 0 ? tree.right(t) : tree.left(t);
        }
        return 0;
    }

    /// +1 when s (starting at v) lies above t, -1 below; 0, with the fault, when they overlap.
    int side(const SweepTree& tree, int32_t v, int32_t s, int32_t t)
    {
        float ends[4];
        tree.ends(t, ends);
        if (tree.low(t) == v) {
            const int o = orientation(ends, ends + 2, highAt(s));
            if (o == 0) {
                overlapFrom(s, t);
            }
            return o;
        }
        const int o = orientation(ends, ends + 2, lowAt(s));
        if (o == 0) {
            touchingAt(v, s, t);
        }
        return o;
    }

    /// The segments starting at v (among them `any`) get their covering zones from below, and
    /// each is compared with its neighbours. Returns 0, or -1 with the fault.
    int enter(const SweepTree& tree, int32_t v, int32_t any)
    {
        int32_t s = any;
        while (tree.below(s) != 0 && low_(tree.below(s)) == v) {
            s = tree.below(s);
        }
        int32_t below = tree.below(s);
        if (below != 0 && meet(below, s)) {
            return kDataError;
        }
        while (true) {
            coverAbove(s, below);
            const int32_t above = tree.above(s);
            if (above != 0 && meet(s, above)) {
                return kDataError;
            }
            if (above == 0 || low_(above) != v) {
                return kOk;
            }
            below = s;
            s = above;
        }
    }

    /// The zone covering the area just above s: that above `below` (none without it), with
    /// the zones s bounds changed. When two zones would cover it, the first such place is kept
    /// and the sweep goes on without the zones: borders that cross, which make zones overlap
    /// further on, are the fault to report first.
    void coverAbove(int32_t s, int32_t below)
    {
        if (overlapping_.kind != FaultKind::none) {
            return;
        }
        const int32_t under = below != 0 ? cover_(below) : 0;
        bool leaves = false;
        std::array<int32_t, 2> found{};
        int32_t count = 0;
        const auto add = [&](int32_t k) {
            if (count < 2) {
                found[std::size_t(count)] = k;
            }
            ++count;
        };
        for (int32_t i = itemStart_(s); i < itemStart_(s + 1); ++i) {
            if (itemZone_(i) > 0 && itemZone_(i) == under) {
                leaves = true;
            }
        }
        if (under != 0 && !leaves) {
            add(under);
        }
        for (int32_t i = itemStart_(s); i < itemStart_(s + 1); ++i) {
            if (itemZone_(i) > 0 && itemZone_(i) != under) {
                add(itemZone_(i));
            }
        }
        if (count >= 2) {
            overlapAbove(s, below, found);
            return;
        }
        cover_(s) = count == 1 ? found[0] : 0;
    }

    /// True, with the fault, when segments s and t share a point that is not an end of both.
    bool meet(int32_t s, int32_t t)
    {
        const int32_t a = low_(s);
        const int32_t b = high_(s);
        const int32_t c = low_(t);
        const int32_t d = high_(t);
        // sharing an end: only running on together from it is a fault
        if (a == c || b == d || a == d || b == c) {
            const int32_t shared = a == c || a == d ? a : b;
            const int32_t x = shared == a ? b : a;
            const int32_t y = shared == c ? d : c;
            const float* px = x == a ? lowAt(s) : highAt(s);
            const float* py = y == c ? lowAt(t) : highAt(t);
            if ((x > shared) != (y > shared) || orientation(shared == a ? lowAt(s) : highAt(s), px, py) != 0) {
                return false;
            }
            // the nearer of the two other ends lies inside the longer segment
            const int32_t inner = x > shared ? std::min(x, y) : std::max(x, y);
            touchingAt(inner, inner == x ? s : t, inner == x ? t : s);
            return true;
        }
        const int o1 = orientation(lowAt(s), highAt(s), lowAt(t));
        const int o2 = orientation(lowAt(s), highAt(s), highAt(t));
        const int o3 = orientation(lowAt(t), highAt(t), lowAt(s));
        const int o4 = orientation(lowAt(t), highAt(t), highAt(s));
        // an end of one inside the other (the points of one line are ordered as the sweep)
        if (o1 == 0 && a < c && c < b) {
            touchingAt(c, t, s);
            return true;
        }
        if (o2 == 0 && a < d && d < b) {
            touchingAt(d, t, s);
            return true;
        }
        if (o3 == 0 && c < a && a < d) {
            touchingAt(a, s, t);
            return true;
        }
        if (o4 == 0 && c < b && b < d) {
            touchingAt(b, s, t);
            return true;
        }
        if (o1 * o2 < 0 && o3 * o4 < 0) {
            crossing(s, t);
            return true;
        }
        return false;
    }

    // ----- the faults -----

    /// Edge j as the edge `which` (0 or 1) of the fault, with its points.
    void edgeFault(int32_t which, int32_t j)
    {
        fault_.edges[std::size_t(which)] = j;
        fault_.points[std::size_t(2 * which)] = firstNode(j);
        fault_.points[std::size_t(2 * which + 1)] = secondNode(j);
    }

    /// The place of the fault at a node.
    void placeAtNode(int32_t node)
    {
        placeOnEdge(node, node, 0.0);
    }

    /// The place of the fault at `t` of the way from node a to node b, in the coordinates read.
    void placeOnEdge(int32_t a, int32_t b, double t)
    {
        const Rows<const float>& xyz = layout_.coordinates;
        fault_.dimension = std::min<int32_t>(xyz.width(), int32_t(fault_.place.size()));
        for (int32_t i = 1; i <= fault_.dimension; ++i) {
            const double pa = xyz(a, i);
            const double pb = xyz(b, i);
            fault_.place[std::size_t(i - 1)] = float(pa + t * (pb - pa));
        }
    }

    /// Vertex v lies inside segment t: the element that reaches v (segment s when given, else
    /// one found at v), and t.
    void touchingAt(int32_t v, int32_t s, int32_t t)
    {
        fault_ = GeometryFault{};
        fault_.kind = FaultKind::touching;
        int32_t j = 0;
        if (s != 0 && s <= segmentCount() && (low_(s) == v || high_(s) == v)) {
            j = firstEdge(s);
        } else {
            j = elementAt(v);
        }
        fault_.edges[0] = j;
        fault_.points[0] = vertexOf_(firstNode(j)) == v ? firstNode(j) : secondNode(j);
        edgeFault(1, firstEdge(t));
        fault_.points[1] = 0;
        placeAtNode(fault_.points[0]);
    }

    /// An element with an end at vertex v: a segment starting or ending there, or a lone point.
    int32_t elementAt(int32_t v) const
    {
        for (int32_t s = 1; s <= segmentCount(); ++s) {
            if (low_(s) == v || high_(s) == v) {
                return firstEdge(s);
            }
        }
        const int32_t* first = points_.data();
        const int32_t* last = first + points_.count();
        const int32_t* at = std::lower_bound(first, last, v, [&](int32_t j, int32_t w) {
            return vertexOf_(firstNode(j)) < w;
        });
        return at != last ? *at : 0;
    }

    /// Segments s and t both start at one vertex and run on along one line.
    void overlapFrom(int32_t s, int32_t t)
    {
        const int32_t inner = std::min(high_(s), high_(t));
        touchingAt(inner, inner == high_(s) ? s : t, inner == high_(s) ? t : s);
    }

    /// Segments s and t cross at a point inside both.
    void crossing(int32_t s, int32_t t)
    {
        fault_ = GeometryFault{};
        fault_.kind = FaultKind::crossing;
        edgeFault(0, firstEdge(s));
        edgeFault(1, firstEdge(t));
        // where s meets the line of t, from the two exact areas at the ends of s
        const double from = exactTurn(lowAt(t), highAt(t), lowAt(s));
        const double to = exactTurn(lowAt(t), highAt(t), highAt(s));
        placeOnEdge(vertexNode_(low_(s)), vertexNode_(high_(s)), from / (from - to));
    }

    /// Two zones cover the area just above segment s: the fault kept while the sweep goes on.
    void overlapAbove(int32_t s, int32_t below, const std::array<int32_t, 2>& found)
    {
        const GeometryFault kept = fault_;
        fault_ = GeometryFault{};
        fault_.kind = FaultKind::overlap;
        edgeFault(0, firstEdge(s));
        if (below != 0) {
            edgeFault(1, firstEdge(below));
        }
        fault_.zones = {layout_.zoneCodes(found[0]), layout_.zoneCodes(found[1])};
        placeOnEdge(vertexNode_(low_(s)), vertexNode_(high_(s)), 0.5);
        overlapping_ = fault_;
        fault_ = kept;
    }

    const BorderLayout& layout_;
    const ZoneLookup& zones_;
    Vec<const int32_t> zoneGroup_;
    int32_t group_;
    Rows<const float> xy_;
    GeometryFault& fault_;
    Vec<int32_t> edges_;         ///< edges of the plane's zones
    Vec<int32_t> points_;        ///< lone points of the plane's zones
    Vec<int32_t> vertexOf_;      ///< vertex of each node (0 for a node not used)
    Vec<int32_t> usedNodes_;     ///< the nodes used, in the sweep's order
    Vec<int32_t> vertexNode_;    ///< the lowest node at each vertex, vertices in the sweep's order
    Vec<int32_t> segmentEdges_;  ///< the edges sorted by their ends, segment after segment
    Vec<int32_t> segmentStart_;  ///< first position of each segment in segmentEdges_ (S + 1)
    Vec<int32_t> low_;           ///< first vertex of each segment in the sweep's order
    Vec<int32_t> high_;          ///< last vertex of each segment
    Rows<float> ends_;           ///< the places of each segment's low and high ends (4 reals)
    Vec<int32_t> itemStart_;     ///< first item of each segment (S + 1)
    Vec<int32_t> itemZone_;      ///< zone of each item; negative when the segment does not bound it
    Vec<int32_t> itemSegment_;   ///< segment of each item
    int32_t items_ = 0;
    Vec<int32_t> cover_;         ///< zone covering the area just above each segment in the tree
    GeometryFault overlapping_;  ///< the first place two zones cover, reported when nothing crosses
};

/// True when every coordinate the layout's elements use is a finite number.
bool finitePlaces(const BorderLayout& layout)
{
    const Rows<const float>& xyz = layout.coordinates;
    for (int32_t i = 1; i <= xyz.count(); ++i) {
        for (int32_t c = 1; c <= xyz.width(); ++c) {
            if (!std::isfinite(xyz(i, c))) {
                return false;
            }
        }
    }
    return true;
}

/// The zones of a layout in space, grouped by plane (0 for a zone without a plane), with the
/// plane of each group and the elements of each zone.
class Planes {
public:
    int build(const BorderLayout& layout, const ZoneLookup& zones, Scratch<int32_t>& work, Scratch<float>& reals)
    {
        const int32_t zoneCount = layout.zoneCodes.count();
        if (!work.take(zoneCount, group_) || !work.take(int64_t(zoneCount) + 2, zoneStart_) ||
            !reals.take(int64_t(kPlaneReals) * zoneCount, planes_)) {
            return kCapacityError;
        }
        // 1. the elements of each zone
        std::fill(zoneStart_.data(), zoneStart_.data() + zoneStart_.count(), 0);
        forEachZone(layout, zones, [&](int32_t, int32_t k) { ++zoneStart_(k + 1); });
        zoneStart_(1) = 1;
        int32_t most = 0;
        for (int32_t k = 1; k <= zoneCount; ++k) {
            most = std::max(most, zoneStart_(k + 1));
            zoneStart_(k + 1) += zoneStart_(k);
        }
        if (!work.take(int64_t(zoneStart_(zoneCount + 1)) - 1, zoneElements_)) {
            return kCapacityError;
        }
        forEachZone(layout, zones, [&](int32_t j, int32_t k) { zoneElements_(zoneStart_(k)++) = j; });
        for (int32_t k = zoneCount; k >= 1; --k) {
            zoneStart_(k + 1) = zoneStart_(k);
        }
        zoneStart_(1) = 1;
        // 2. the plane of each zone, then the zones grouped by plane
        const int32_t mark = work.mark();
        Vec<int32_t> nodes;
        Vec<int32_t> representative;
        if (!work.take(2 * int64_t(most), nodes) || !work.take(zoneCount, representative)) {
            return kCapacityError;
        }
        tolerance_ = kPlaneTolerance * largestMagnitude(layout.coordinates);
        groups_ = 0;
        for (int32_t k = 1; k <= zoneCount; ++k) {
            group_(k) = 0;
            const int32_t m = zoneNodes(layout, k, nodes);
            if (plmcar(nodes, m, 0, 0, layout.coordinates, plane(k)) != kOk) {
                continue;
            }
            for (int32_t g = 1; g <= groups_ && group_(k) == 0; ++g) {
                if (samePlane(layout, k, representative(g))) {
                    group_(k) = g;
                }
            }
            if (group_(k) == 0) {
                representative(++groups_) = k;
                group_(k) = groups_;
            }
        }
        // the plane of each group is that of its first zone
        for (int32_t g = 1; g <= groups_; ++g) {
            std::copy(plane(representative(g)), plane(representative(g)) + kPlaneReals, plane(g));
        }
        work.release(mark);
        // 3. the zones group by group
        if (!work.take(int64_t(groups_) + 2, groupStart_) || !work.take(zoneCount, groupZones_)) {
            return kCapacityError;
        }
        // group g's zones start at groupStart_(g + 1): group 0 holds the zones without a plane
        orderByKey(zoneCount, groups_ + 1, [&](int32_t k) { return group_(k) + 1; }, groupStart_, groupZones_);
        return kOk;
    }

    int32_t groups() const { return groups_; }
    Vec<const int32_t> zoneGroup() const { return group_; }
    const float* groupPlane(int32_t g) const { return planes_.data() + std::ptrdiff_t(g - 1) * kPlaneReals; }

    /// The elements of group g, each once, into `list` (stamps: one entry per element, 0 at first).
    Vec<const int32_t> elementsOf(int32_t g, Vec<int32_t> list, Vec<int32_t> stamps) const
    {
        int32_t n = 0;
        for (int32_t i = groupStart_(g + 1); i < groupStart_(g + 2); ++i) {
            const int32_t k = groupZones_(i);
            for (int32_t e = zoneStart_(k); e < zoneStart_(k + 1); ++e) {
                const int32_t j = zoneElements_(e);
                if (stamps(j) != g) {
                    stamps(j) = g;
                    list(++n) = j;
                }
            }
        }
        std::sort(list.data(), list.data() + n);
        return list.slice(1, n);
    }

private:
    float* plane(int32_t k) const { return planes_.data() + std::ptrdiff_t(k - 1) * kPlaneReals; }

    /// Calls `f(j, k)` for each element j and each distinct zone k it lists.
    template <class F>
    static void forEachZone(const BorderLayout& layout, const ZoneLookup& zones, F f)
    {
        const Rows<const int32_t>& codes = layout.edgeCodes;
        for (int32_t j = 1; j <= codes.count(); ++j) {
            for (int32_t c = 1; c <= codes.width(); ++c) {
                const int32_t k = zones.indexOf(codes(j, c));
                bool again = false;
                for (int32_t b = 1; b < c; ++b) {
                    again = again || codes(j, b) == codes(j, c);
                }
                if (k != 0 && !again) {
                    f(j, k);
                }
            }
        }
    }

    /// The nodes of zone k's elements into `nodes`; returns their count.
    int32_t zoneNodes(const BorderLayout& layout, int32_t k, Vec<int32_t> nodes) const
    {
        int32_t m = 0;
        for (int32_t i = zoneStart_(k); i < zoneStart_(k + 1); ++i) {
            const int32_t j = zoneElements_(i);
            for (int32_t c = 1; c <= std::min(2, layout.edgeNodes.width()); ++c) {
                if (layout.edgeNodes(j, c) != 0) {
                    nodes(++m) = layout.edgeNodes(j, c);
                }
            }
        }
        return m;
    }

    static double largestMagnitude(Rows<const float> xyz)
    {
        double largest = 0.0;
        for (int32_t i = 1; i <= xyz.count(); ++i) {
            for (int32_t c = 1; c <= xyz.width(); ++c) {
                largest = std::max(largest, std::fabs(double(xyz(i, c))));
            }
        }
        return largest;
    }

    /// Distance of a node from a plane, in double.
    static double distance(const float* plane, const float* p)
    {
        return std::fabs(double(plane[0]) * double(p[0]) + double(plane[1]) * double(p[1]) +
                         double(plane[2]) * double(p[2]) + double(plane[3]));
    }

    /// True when every node of zone k lies in the plane of zone r.
    bool samePlane(const BorderLayout& layout, int32_t k, int32_t r) const
    {
        const float* pk = plane(k);
        const float* pr = plane(r);
        const double cosine =
            double(pk[0]) * double(pr[0]) + double(pk[1]) * double(pr[1]) + double(pk[2]) * double(pr[2]);
        if (std::fabs(cosine) < kParallelNormals) {
            return false;
        }
        for (int32_t i = zoneStart_(k); i < zoneStart_(k + 1); ++i) {
            const int32_t j = zoneElements_(i);
            for (int32_t c = 1; c <= std::min(2, layout.edgeNodes.width()); ++c) {
                const int32_t node = layout.edgeNodes(j, c);
                if (node != 0 && distance(pr, layout.coordinates.row(node)) > tolerance_) {
                    return false;
                }
            }
        }
        return true;
    }

    Vec<int32_t> group_;
    Vec<int32_t> groupStart_;   ///< zones of group g from groupStart_(g + 1) in groupZones_ (g + 2 ends them)
    Vec<int32_t> groupZones_;   ///< the zones without a plane first, then group after group
    Vec<int32_t> zoneStart_;
    Vec<int32_t> zoneElements_;
    Vec<float> planes_;
    int32_t groups_ = 0;
    double tolerance_ = 0.0;
};

/// The checks of a layout in space: one plane after the other, in the two coordinates its
/// normal leaves the largest share to.
int checkInSpace(const BorderLayout& layout, const ZoneLookup& zones, Vec<int32_t> vertexOf, Scratch<int32_t>& work,
                 Scratch<float>& reals, GeometryFault& fault)
{
    Planes planes;
    int code = planes.build(layout, zones, work, reals);
    if (code != kOk) {
        return code;
    }
    const int32_t n = layout.coordinates.count();
    const int32_t e = layout.edgeNodes.count();
    Vec<float> flat;
    Vec<int32_t> list;
    Vec<int32_t> stamps;
    if (!reals.take(2 * int64_t(n), flat) || !work.take(e, list) || !work.take(e, stamps)) {
        return kCapacityError;
    }
    std::fill(stamps.data(), stamps.data() + e, 0);
    const Rows<float> xy(flat.data(), 2, n);
    for (int32_t g = 1; g <= planes.groups(); ++g) {
        const float* plane = planes.groupPlane(g);
        int32_t dropped = 0;
        for (int32_t c = 1; c < 3; ++c) {
            if (std::fabs(plane[c]) > std::fabs(plane[dropped])) {
                dropped = c;
            }
        }
        const int32_t u = dropped == 0 ? 1 : 0;
        const int32_t v = dropped == 2 ? 1 : 2;
        const Vec<const int32_t> elements = planes.elementsOf(g, list, stamps);
        for (int32_t i = 1; i <= elements.count(); ++i) {
            for (int32_t c = 1; c <= std::min(2, layout.edgeNodes.width()); ++c) {
                const int32_t node = layout.edgeNodes(elements(i), c);
                if (node >= 1 && node <= n) {
                    xy(node, 1) = layout.coordinates.row(node)[u];
                    xy(node, 2) = layout.coordinates.row(node)[v];
                }
            }
        }
        const int32_t mark = work.mark();
        const int32_t realMark = reals.mark();
        PlaneCheck check(layout, zones, planes.zoneGroup(), g, xy, vertexOf, fault);
        code = check.run(elements, work, reals);
        if (code != kOk) {
            return code;
        }
        work.release(mark);
        reals.release(realMark);
    }
    return kOk;
}

} // namespace

int checkBorderCrossings(const BorderLayout& layout, Vec<int32_t> work, Vec<float> realWork, GeometryFault& fault)
{
    fault = GeometryFault{};
    const int32_t dimension = layout.coordinates.width();
    if (layout.zoneCodes.count() == 0 || layout.edgeNodes.count() == 0 || layout.edgeNodes.width() < 2 ||
        (dimension != 2 && dimension != 3)) {
        return kOk;
    }
    // A place that is not a number cannot be ordered: the zone stages judge such data.
    if (!finitePlaces(layout)) {
        return kOk;
    }
    Scratch<int32_t> integers(work);
    Scratch<float> reals(realWork);
    ZoneLookup zones;
    Vec<int32_t> vertexOf;
    if (!zones.build(layout.zoneCodes, integers) || !integers.take(layout.coordinates.count(), vertexOf)) {
        return kCapacityError;
    }
    std::fill(vertexOf.data(), vertexOf.data() + vertexOf.count(), 0);
    int code = kOk;
    if (dimension == 3) {
        code = checkInSpace(layout, zones, vertexOf, integers, reals, fault);
    } else {
        // in the plane every zone is checked with every other, over all the elements
        Vec<int32_t> group;
        Vec<int32_t> elements;
        const int32_t e = layout.edgeNodes.count();
        if (!integers.take(layout.zoneCodes.count(), group) || !integers.take(e, elements)) {
            return kCapacityError;
        }
        std::fill(group.data(), group.data() + group.count(), 1);
        for (int32_t j = 1; j <= e; ++j) {
            elements(j) = j;
        }
        PlaneCheck check(layout, zones, group, 1, layout.coordinates, vertexOf, fault);
        code = check.run(elements, integers, reals);
    }
    if (code == kCapacityError) {
        fault = GeometryFault{};
    }
    return code;
}

} // namespace tesmo
