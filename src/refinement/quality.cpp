// Well-shaped triangles on request.
//
// Delaunay refinement after Ruppert, with the choices of Shewchuk's Triangle: every triangle
// carries a key, the smallest of its size ratio (the size function of the refinement mode),
// its area against the largest area asked for, and its smallest angle against the bound
// (2/3 sin(angle) / sin(bound)); a triangle is refined while its key is at most 2/3, the worst
// first. Its new node is the off-centre of Üngör: on the bisector of its shortest edge, at the
// distance where that edge would see the bound, when this lies nearer the edge than the
// circumcentre; else the circumcentre.
//
//              c                  the off-centre O of the shortest edge p q lies on its
//             /|\                 bisector, 0.475 cot(bound/2) |pq| from its middle M,
//            / | \                inside the triangle, nearer M than the circumcentre Z:
//           /  Z  \               the triangle p q O it makes has about the bound at O
//          /   O   \          O (here nearer M than Z) is the new node
//         p----M----q
//
// A candidate that lies beyond a border edge of its cavity, or inside the circle on a border
// edge as diameter (it encroaches that edge), is not inserted: the edge is split instead, at
// its middle, or, when its triangle holds another border edge at one end only (the two meet
// at a small angle), at the power of two from that end that splits it most evenly (concentric
// shells about the corner, which keep the splits of the two edges from encroaching each
// other). The node on the border takes the place of the edge in its one or two triangles, and
// the edges about it that are not borders are exchanged until they are Delaunay:
//
//          c                    c
//         / \                  /|\          t = a b c becomes t = a m c and u = m b c;
//        /   \                / | \         across a border inside the zone, s = b a d
//       a-----b      ->      a--m--b        becomes s = b m d and w = m a d
//        \   /                \ | /
//         \ /                  \|/
//          d                    d
//
// Small angles the borders impose stay: a triangle whose smallest angle lies between two
// border edges, or whose shortest edge joins two nodes on two straight borders, at the same
// distance from the corner below 60 degrees where they meet (Miller, Pav and Walkington), is
// not refined for its shape; no border edge shorter than a floor is split. With the node cap and the element
// rows, this ends every refinement.
//
// Nodes are of three kinds: free (inserted inside), on a straight border (between two border
// edges in line: the nodes of the border stage and of the splits) and corners (every other
// border node, and the isolated points of the geometry); a flag tells the border nodes that
// another zone shares. A split of an edge between two shared nodes is recorded for the other
// zones, or refused when the caller allows none.
//
// The smoothing moves each free node toward the mean of its neighbours when that does not
// lower the smallest angle of its triangles, then makes every edge that is not a border
// Delaunay again by exchanges (which raise the smallest angle of the pairs they change).
#include "refinement/quality.hpp"

#include "boundary/boundary.hpp"
#include "files/es_densite.hpp"
#include "geometry/cg_predicat.hpp"
#include "messages/es_erreur.hpp"
#include "refinement/rf_worst.hpp"
#include "refinement/sp_sph.hpp"
#include "size/m1_densdef.hpp"
#include "triangulation/m2_recherche.hpp"
#include "triangulation/m2_triangule.hpp"
#include "triangulation/m3_diagonale.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <string_view>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "RFQUAL";

/// Node kinds, with the flag of the nodes on a border another zone shares.
constexpr int32_t kFreeNode = 0;
constexpr int32_t kOnStraightBorder = 1;
constexpr int32_t kCornerNode = 2;
constexpr int32_t kKindMask = 3;
constexpr int32_t kSharedFlag = 4;

/// |sin| of the turn of a border through a node below which the border goes straight on.
constexpr double kStraightTurn = 1.0e-3;
/// Share of cot(bound / 2) |pq| at which the off-centre lies from the middle of p q; below
/// one half, so that the new triangle's angle is a little above the bound (Triangle's 0.475).
constexpr double kOffCentreShare = 0.475;
/// Two squared distances from a corner within this ratio of each other are equal (the
/// concentric shells of the splits near a corner).
constexpr double kEqualShells = 1.001;
/// Corners below this angle (radians) are small input angles: the triangles whose shortest
/// edge they subtend, its ends on their concentric shells, keep their shape (above it, the
/// refinement ends without that rule).
constexpr double kAcuteCorner = std::numbers::pi / 3.0;
/// A border edge is not split below the shortest border edge of the zone over 2^12, nor below
/// 2^-21 of the zone's extent, where single-precision coordinates keep a few digits.
constexpr double kSplitDepth = 0x1p-12;
constexpr double kPrecisionFloor = 0x1p-21;
/// Integer work set aside: the stack of the exchanges about a new node, the border edges
/// waiting for a split, the border edges a candidate encroaches.
constexpr int32_t kFlipStack = 1024;
constexpr int32_t kPendingEdges = 4096;
constexpr int32_t kCavityEdges = 64;
/// Integer work the insertion needs at least.
constexpr int32_t kInsertionWork = 310;
/// Reals per element row: the circle vector and the key, then the heap's three.
constexpr int32_t kCircleWidth = 3;
constexpr int32_t kRealsPerRow = kCircleWidth + 3;
/// The progress hook is told every this many new nodes.
constexpr int32_t kProgressStride = 1024;
/// Neighbours of a node at most for the angle-based smoothing to move it.
constexpr int32_t kLargestRing = 64;
/// The shares of the way to each place a smoothing move aims at (the mean of the circumcentres,
/// the mean of the neighbours, the mean of the bisected places) that it tries.
constexpr double kSmoothingSteps[] = {0.25, 0.5, 0.75, 1.0, 1.25};
/// A smoothing move is kept when it raises the smallest angle of its triangles by more than
/// this (degrees).
constexpr double kAngleGain = 1.0e-6;

constexpr double kDegree = std::numbers::pi / 180.0;

int32_t magnitude(int32_t value) { return value < 0 ? -value : value; }

/// Corner (1..3) of element e holding node v; 0 when none.
int32_t cornerOf(Rows<const int32_t> N, int32_t e, int32_t v)
{
    for (int32_t i = 1; i <= 3; ++i) {
        if (N(e, i) == v) {
            return i;
        }
    }
    return 0;
}

/// The element across face f of e (0 on the outside), its mark dropped.
int32_t across(Rows<const int32_t> T, int32_t e, int32_t f) { return magnitude(T(e, f)); }

/// Calls visit(e, i) for every element e about node v (v its corner i): counter-clockwise from
/// NOETRI(v) round to it, or up to the outside and then clockwise from NOETRI(v) up to the
/// outside. Faces marked as borders are crossed. Gives false for a structure that does not
/// close or open about v (the visits may then be partial); `closed` tells a fan all round v.
template <class Visit>
bool walkFan(Rows<const int32_t> N, Rows<const int32_t> T, Vec<const int32_t> NOETRI, int32_t NBE, int32_t v,
             bool& closed, Visit visit)
{
    closed = false;
    if (v < 1 || v > NOETRI.count()) {
        return false;
    }
    const int32_t start = NOETRI(v);
    if (start < 1 || start > NBE || cornerOf(N, start, v) == 0) {
        return false;
    }
    // counter-clockwise: across the face that ends at v
    int32_t e = start;
    for (int32_t steps = 0; steps <= NBE; ++steps) {
        const int32_t i = cornerOf(N, e, v);
        if (i == 0) {
            return false;
        }
        visit(e, i);
        const int32_t next = across(T, e, (i + 1) % 3 + 1);
        if (next == start) {
            closed = true;
            return true;
        }
        if (next == 0) {
            break;
        }
        e = next;
    }
    // clockwise from the start: across the face that leaves v
    e = start;
    for (int32_t steps = 0; steps <= NBE; ++steps) {
        const int32_t i = cornerOf(N, e, v);
        const int32_t next = across(T, e, i);
        if (next == 0) {
            return true;
        }
        e = next;
        const int32_t j = cornerOf(N, e, v);
        if (j == 0) {
            return false;
        }
        visit(e, j);
    }
    return false;
}

/// The three angles of a triangle in radians, in double precision.
void anglesOf(const float* a, const float* b, const float* c, double* angles)
{
    const double ab = std::hypot(double(b[0]) - double(a[0]), double(b[1]) - double(a[1]));
    const double bc = std::hypot(double(c[0]) - double(b[0]), double(c[1]) - double(b[1]));
    const double ca = std::hypot(double(a[0]) - double(c[0]), double(a[1]) - double(c[1]));
    const double twiceArea = std::fabs(exactTurn(a, b, c));
    // each angle from its sine and cosine, so that thin triangles keep their small angles
    angles[0] = std::atan2(twiceArea, (ab * ab + ca * ca - bc * bc) / 2.0);
    angles[1] = std::atan2(twiceArea, (ab * ab + bc * bc - ca * ca) / 2.0);
    angles[2] = std::atan2(twiceArea, (bc * bc + ca * ca - ab * ab) / 2.0);
}

/// The smallest angle (radians) of the triangle a b c.
double smallestOf(const float* a, const float* b, const float* c)
{
    double angles[3];
    anglesOf(a, b, c, angles);
    return std::min({angles[0], angles[1], angles[2]});
}

/// Squared distance between two points, in double.
double squared(const double* p, const float* q)
{
    const double dx = p[0] - double(q[0]);
    const double dy = p[1] - double(q[1]);
    return dx * dx + dy * dy;
}

/// The circumcentre of the triangle a b c into `centre`, in double; gives its area (0, with
/// the centre at a, for a flat triangle, which has none).
double circumcentre(const float* a, const float* b, const float* c, double* centre)
{
    const double bx = double(b[0]) - double(a[0]), by = double(b[1]) - double(a[1]);
    const double cx = double(c[0]) - double(a[0]), cy = double(c[1]) - double(a[1]);
    const double d = 2.0 * exactTurn(a, b, c);
    if (d == 0.0) {
        centre[0] = double(a[0]);
        centre[1] = double(a[1]);
        return 0.0;
    }
    const double bb = bx * bx + by * by, cc = cx * cx + cy * cy;
    centre[0] = double(a[0]) + (cy * bb - by * cc) / d;
    centre[1] = double(a[1]) + (bx * cc - cx * bb) / d;
    return d / 4.0;
}

/// True when x lies strictly inside the circle on p q as diameter (in double: the sign of a
/// sum of two products of differences of single-precision values).
bool encroaches(const float* p, const float* q, const float* x)
{
    const double dot = (double(p[0]) - double(x[0])) * (double(q[0]) - double(x[0])) +
                       (double(p[1]) - double(x[1])) * (double(q[1]) - double(x[1]));
    return dot < 0.0;
}

/// One refinement with the shape test: the tables, the tests and the heap of the worst.
class QualityPass {
public:
    QualityPass(int32_t refinementMode, RefinementMesh& refined, SizeFunction function, const DensityRecords& records,
                const QualityRequest& asked, QualityBorders& zoneBorders, const ProgressHook& hook)
        : mode(refinementMode), mesh(refined), sizeFunction(function), density(records), request(asked),
          borders(zoneBorders), progress(hook)
    {
    }

    /// Carves the tables from the work areas. Returns 0 or -2.
    [[nodiscard]] int layOut(Vec<int32_t> work, Vec<float> realWork);
    /// Node kinds, circles, keys and the heap. Returns 0 or the code of a failing step.
    [[nodiscard]] int start();
    /// Refines until no triangle is to be refined. Returns 0, +1, +2 or an error.
    [[nodiscard]] int refine();

private:
    Rows<const int32_t> nodes() const { return mesh.ITRNOE; }
    Rows<const int32_t> faces() const { return mesh.ITRTRI; }
    const float* at(int32_t v) const { return mesh.COORD.row(v); }
    int32_t kind(int32_t v) const { return kinds(v) & kKindMask; }
    bool shared(int32_t v) const { return (kinds(v) & kSharedFlag) != 0; }

    /// The kinds of the zone's first nodes and the floor of the splits.
    [[nodiscard]] int classify();
    /// The other ends of the border edges at v (at most `capacity`), each once.
    int32_t borderNeighbours(int32_t v, int32_t* ends, int32_t capacity) const;
    /// The node where the straight border through v ends, walking away from `from`.
    int32_t straightEnd(int32_t v, int32_t from) const;
    /// True when the small angle of element e, opposite its shortest edge, is the borders'.
    bool imposedAngle(int32_t e, int32_t apexCorner) const;
    /// The size test of element e: the smallest ratio of the size functions, its wanted size.
    [[nodiscard]] int sizeRatio(int32_t e, float& ratio, float& wanted) const;
    /// The key of element e (its circle must be current).
    [[nodiscard]] int keyOf(int32_t e, float& key) const;
    /// Writes the circle and key of element e, and tells the heap.
    [[nodiscard]] int refresh(int32_t e);
    void setKey(int32_t e, float key);
    /// The new node for element e: its off-centre or circumcentre. False for a flat element
    /// or a place out of single-precision range.
    bool candidate(int32_t e, float* point) const;
    /// The border edges of the cavity of `point` (grown from e) that the point lies beyond or
    /// encroaches, into `edges`; their count.
    [[nodiscard]] int encroached(const float* point, int32_t e, int32_t& count);
    /// The element t whose border face f runs a -> b (a and b exchanged when it runs the other
    /// way), and across a border inside the zone the element s whose face g runs b -> a; t is
    /// 0 when a b is no border edge. Returns 0, or -1 when s does not face t.
    [[nodiscard]] int borderSides(int32_t& a, int32_t& b, int32_t& t, int32_t& f, int32_t& s, int32_t& g) const;
    /// Splits the border edge a b when it may be; `split` tells whether it was.
    [[nodiscard]] int splitBorder(int32_t a, int32_t b, bool& split);
    /// Halves element e at the node m of its face f (x -> y, z its third node): e becomes
    /// x m z and row `half` m y z; the faces x m and m y take `beforeM` and `afterM`.
    void halve(int32_t e, int32_t f, int32_t m, int32_t half, int32_t beforeM, int32_t afterM);
    /// The split point of the border edge a b whose triangle on the inside is t (its face f).
    void splitPoint(int32_t t, int32_t f, float* point) const;
    /// Exchanges the edges about the new node m until they are Delaunay.
    [[nodiscard]] int exchangeAbout(int32_t m);
    /// Fresh circles and keys for the elements about node m; the border edges about it that a
    /// node encroaches wait for their split.
    [[nodiscard]] int refreshAbout(int32_t m);
    void waitForSplit(int32_t a, int32_t b);
    /// Inserts the candidate of element e inside the zone. `inserted` tells whether it was.
    [[nodiscard]] int insert(int32_t e, const float* point, bool& inserted);
    /// The size at the new node `node` (sizes at the nodes), from its neighbours.
    [[nodiscard]] int sizeOfNewNode(int32_t node, int32_t created);
    /// The room for one more node and two more rows: 0, or the status that stops.
    int room() const;

    const int32_t mode;
    RefinementMesh& mesh;
    SizeFunction sizeFunction;
    const DensityRecords& density;
    const QualityRequest& request;
    QualityBorders& borders;
    const ProgressHook& progress;

    Rows<float> circles;   ///< per element row: circle vector, key
    WorstElements heap{Rows<const float>(), 1, Vec<float>()};
    Vec<int32_t> kinds;    ///< per node: kind and shared flag
    Vec<int32_t> flips;    ///< stack of the exchanges about a new node
    Rows<int32_t> pending; ///< border edges waiting for a split
    int32_t pendingCount = 0;
    Rows<int32_t> cavityEdges; ///< border edges a candidate encroaches
    Vec<int32_t> work;     ///< the insertion's work

    bool sizeTest = true;
    bool shapeTest = false;
    double bound = 0.0;      ///< radians
    double sinBound = 0.0;
    double offCentre = 0.0;  ///< kOffCentreShare cot(bound / 2)
    double floorLength = 0.0;
    float areaTolerance = kAreaTolerance;
    float coincident = kCoincidentNodes; ///< a new node this close to a neighbour takes its size
};

int QualityPass::layOut(Vec<int32_t> integerWork, Vec<float> realWork)
{
    // reals: the circle table, then the heap after it
    const int32_t elementRows = std::min({mesh.ITRNOE.count(), mesh.ITRTRI.count(), kMaxHeapElements - 1});
    const int32_t rows = int32_t(std::min<int64_t>(elementRows, realWork.count() / kRealsPerRow));
    if (rows < mesh.NBE + 2) {
        return traced(kCapacityError, kRoutine, " TABLEAU DES REELS ");
    }
    circles = Rows<float>(realWork.data(), kCircleWidth, rows);
    heap = WorstElements(circles, kCircleWidth,
                         Vec<float>(realWork.data() + int64_t(kCircleWidth) * rows,
                                    int32_t(WorstElements::storageNeeded(rows))));
    // integers: the node kinds, the three lists, then the insertion's work
    const int64_t needed = int64_t(mesh.NMAX) + kFlipStack + 2 * (kPendingEdges + kCavityEdges) + kInsertionWork;
    if (integerWork.count() < needed) {
        return traced(kCapacityError, kRoutine, " TABLEAU DES ENTIERS ");
    }
    int32_t used = 0;
    kinds = integerWork.slice(1, mesh.NMAX);
    used += mesh.NMAX;
    flips = integerWork.slice(used + 1, kFlipStack);
    used += kFlipStack;
    pending = Rows<int32_t>(integerWork.data() + used, 2, kPendingEdges);
    used += 2 * kPendingEdges;
    cavityEdges = Rows<int32_t>(integerWork.data() + used, 2, kCavityEdges);
    used += 2 * kCavityEdges;
    work = integerWork.slice(used + 1, integerWork.count() - used);
    return kOk;
}

int32_t QualityPass::borderNeighbours(int32_t v, int32_t* ends, int32_t capacity) const
{
    int32_t count = 0;
    auto add = [&](int32_t w) {
        if (std::find(ends, ends + count, w) == ends + count && count < capacity) {
            ends[count++] = w;
        }
    };
    bool closed = false;
    (void)walkFan(nodes(), faces(), mesh.NOETRI, mesh.NBE, v, closed, [&](int32_t e, int32_t i) {
        if (faces()(e, i) <= 0) {
            add(nodes()(e, i % 3 + 1));
        }
        const int32_t back = (i + 1) % 3 + 1;
        if (faces()(e, back) <= 0) {
            add(nodes()(e, back));
        }
    });
    return count;
}

int QualityPass::classify()
{
    // 1. the shared border nodes, then the kind of each of the zone's nodes from its border edges
    double shortest = 0.0;
    float low[2] = {at(1)[0], at(1)[1]};
    float high[2] = {low[0], low[1]};
    for (int32_t v = 1; v <= mesh.nodes; ++v) {
        int32_t value = v <= borders.shared.count() && borders.shared(v) != 0 ? kSharedFlag : 0;
        int32_t ends[4];
        const int32_t count = borderNeighbours(v, ends, 4);
        if (count == 2) {
            const float* p = at(ends[0]);
            const float* q = at(ends[1]);
            const double ux = double(p[0]) - double(at(v)[0]), uy = double(p[1]) - double(at(v)[1]);
            const double wx = double(q[0]) - double(at(v)[0]), wy = double(q[1]) - double(at(v)[1]);
            const double cross = ux * wy - uy * wx;
            const double dot = ux * wx + uy * wy;
            const bool straight = dot < 0.0 && std::fabs(cross) <= kStraightTurn * std::hypot(ux, uy) * std::hypot(wx, wy);
            value |= straight ? kOnStraightBorder : kCornerNode;
        } else {
            value |= kCornerNode;
        }
        kinds(v) = value;
        for (int32_t j = 0; j < count; ++j) {
            const double length = std::hypot(double(at(ends[j])[0]) - double(at(v)[0]),
                                             double(at(ends[j])[1]) - double(at(v)[1]));
            shortest = shortest == 0.0 ? length : std::min(shortest, length);
        }
        for (int32_t k = 0; k < 2; ++k) {
            low[k] = std::min(low[k], at(v)[k]);
            high[k] = std::max(high[k], at(v)[k]);
        }
    }
    // 2. the floor of the splits; the insertion's area tolerance in the units of the zone
    const double extent = std::max(double(high[0]) - double(low[0]), double(high[1]) - double(low[1]));
    floorLength = std::max(shortest * kSplitDepth, extent * kPrecisionFloor);
    const float halfExtent = float(extent / 2.0);
    areaTolerance = kAreaTolerance * (halfExtent * halfExtent);
    coincident = kCoincidentNodes * halfExtent;
    return kOk;
}

int QualityPass::start()
{
    // 1. which tests: the shape bound (at least the default size's angle in mode 1, whose size
    //    test it replaces), the area
    double degrees = request.minAngle;
    if (mode == kDefaultSize) {
        sizeTest = false;
        degrees = std::max(degrees, double(kDefaultSizeAngle));
    }
    shapeTest = degrees > 0.0;
    if (shapeTest) {
        bound = degrees * kDegree;
        sinBound = std::sin(bound);
        offCentre = kOffCentreShare / std::tan(bound / 2.0);
    }
    if (mode == kSizesAtPoints && density.reals.count() < mesh.NMAX) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS ");
    }
    // 2. the nodes
    int code = classify();
    if (code != kOk) {
        return code;
    }
    // 3. every element's circle and key, then the heap
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        if ((code = spcree(2, e, nodes(), mesh.COORD, circles)) != kOk) {
            return traced(code, kRoutine, " APPEL SPCREE");
        }
        if ((code = keyOf(e, circles(e, kCircleWidth))) != kOk) {
            return code;
        }
    }
    heap.build(mesh.NBE);
    return kOk;
}

int32_t QualityPass::straightEnd(int32_t v, int32_t from) const
{
    int32_t previous = v;
    int32_t current = from;
    for (int32_t steps = 0; steps < mesh.nodes && kind(current) == kOnStraightBorder; ++steps) {
        int32_t ends[4];
        const int32_t count = borderNeighbours(current, ends, 4);
        if (count != 2) {
            return current;
        }
        const int32_t next = ends[0] == previous ? ends[1] : ends[0];
        previous = current;
        current = next;
    }
    return kind(current) == kOnStraightBorder ? 0 : current;
}

bool QualityPass::imposedAngle(int32_t e, int32_t apexCorner) const
{
    // 1. the angle lies between two border edges
    const int32_t before = (apexCorner + 1) % 3 + 1; // the face that ends at the apex
    if (faces()(e, apexCorner) <= 0 && faces()(e, before) <= 0) {
        return true;
    }
    // 2. the shortest edge joins two nodes of two straight borders, at the same distance from
    //    the corner where those borders meet
    const int32_t p = nodes()(e, apexCorner % 3 + 1);
    const int32_t q = nodes()(e, before);
    if (kind(p) != kOnStraightBorder || kind(q) != kOnStraightBorder) {
        return false;
    }
    int32_t pEnds[4];
    int32_t qEnds[4];
    if (borderNeighbours(p, pEnds, 4) != 2 || borderNeighbours(q, qEnds, 4) != 2) {
        return false;
    }
    if (std::find(pEnds, pEnds + 2, q) != pEnds + 2) {
        return false; // one border edge: the same straight border
    }
    const int32_t p1 = straightEnd(p, pEnds[0]), p2 = straightEnd(p, pEnds[1]);
    const int32_t q1 = straightEnd(q, qEnds[0]), q2 = straightEnd(q, qEnds[1]);
    if ((p1 == q1 && p2 == q2) || (p1 == q2 && p2 == q1)) {
        return false;
    }
    const int32_t corner = (p1 != 0 && (p1 == q1 || p1 == q2)) ? p1 : (p2 != 0 && (p2 == q1 || p2 == q2)) ? p2 : 0;
    if (corner == 0) {
        return false;
    }
    const double c[2] = {double(at(corner)[0]), double(at(corner)[1])};
    const double dp = squared(c, at(p));
    const double dq = squared(c, at(q));
    const float* corners[3] = {at(corner), at(p), at(q)};
    double angles[3];
    anglesOf(corners[0], corners[1], corners[2], angles);
    return angles[0] < kAcuteCorner && dp < kEqualShells * dq && dq < kEqualShells * dp;
}

int QualityPass::sizeRatio(int32_t e, float& ratio, float& wanted) const
{
    ratio = kRefusedRatio;
    wanted = kNoSize;
    if (mode == kSizesAtPoints) {
        const Vec<const float> sizes(density.reals.data(), mesh.nodes);
        return sizeFunction(e, nodes(), faces(), mesh.COORD, circles, density.integerRecord(1), sizes, ratio, wanted);
    }
    for (int32_t k = 1; k <= density.records; ++k) {
        float r = 0.0f;
        float h = 0.0f;
        const int code = sizeFunction(e, nodes(), faces(), mesh.COORD, circles, density.integerRecord(k),
                                      density.realRecord(k), r, h);
        if (code != kOk) {
            return code;
        }
        if (k == 1 || r < ratio) {
            ratio = r;
            wanted = h;
        }
    }
    return kOk;
}

int QualityPass::keyOf(int32_t e, float& key) const
{
    key = kRefusedRatio;
    const float* a = at(nodes()(e, 1));
    const float* b = at(nodes()(e, 2));
    const float* c = at(nodes()(e, 3));
    // 1. the size
    if (sizeTest) {
        float wanted = 0.0f;
        const int code = sizeRatio(e, key, wanted);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
    }
    // 2. the area
    if (request.maxArea > 0.0f) {
        const double area = 0.5 * exactTurn(a, b, c);
        if (area > double(request.maxArea)) {
            key = std::min(key, float(double(kRefineRatio) * std::sqrt(double(request.maxArea) / area)));
        }
    }
    // 3. the shape: the smallest angle lies opposite the shortest edge
    if (shapeTest) {
        double angles[3];
        anglesOf(a, b, c, angles);
        const int32_t apex = angles[0] <= angles[1] && angles[0] <= angles[2] ? 1 : angles[1] <= angles[2] ? 2 : 3;
        const double smallest = angles[apex - 1];
        if (smallest < bound && !imposedAngle(e, apex)) {
            key = std::min(key, float(double(kRefineRatio) * std::sin(smallest) / sinBound));
        }
    }
    return kOk;
}

void QualityPass::setKey(int32_t e, float key)
{
    circles(e, kCircleWidth) = key;
    heap.update(e);
}

int QualityPass::refresh(int32_t e)
{
    int code = spcree(2, e, nodes(), mesh.COORD, circles);
    if (code != kOk) {
        return traced(code, kRoutine, " APPEL SPCREE");
    }
    float key = kRefusedRatio;
    if ((code = keyOf(e, key)) != kOk) {
        return code;
    }
    setKey(e, key);
    return kOk;
}

bool QualityPass::candidate(int32_t e, float* point) const
{
    // 1. the circumcentre, in double from the nodes (the stored circle is single precision)
    const float* a = at(nodes()(e, 1));
    const float* b = at(nodes()(e, 2));
    const float* c = at(nodes()(e, 3));
    double centre[2];
    if (!(circumcentre(a, b, c, centre) > 0.0)) {
        return false;
    }
    // 2. the off-centre of the shortest edge p -> q (counter-clockwise: the inside on its left)
    if (shapeTest) {
        const float* corners[3] = {a, b, c};
        int32_t shortest = 0;
        double length = 0.0;
        for (int32_t i = 0; i < 3; ++i) {
            const float* p = corners[i];
            const float* q = corners[(i + 1) % 3];
            const double l = (double(q[0]) - double(p[0])) * (double(q[0]) - double(p[0])) +
                             (double(q[1]) - double(p[1])) * (double(q[1]) - double(p[1]));
            if (i == 0 || l < length) {
                shortest = i;
                length = l;
            }
        }
        const float* p = corners[shortest];
        const float* q = corners[(shortest + 1) % 3];
        const double middle[2] = {(double(p[0]) + double(q[0])) / 2.0, (double(p[1]) + double(q[1])) / 2.0};
        const double off[2] = {middle[0] - offCentre * (double(q[1]) - double(p[1])),
                               middle[1] + offCentre * (double(q[0]) - double(p[0]))};
        const double toCentre = (centre[0] - middle[0]) * (centre[0] - middle[0]) +
                                (centre[1] - middle[1]) * (centre[1] - middle[1]);
        if (offCentre * offCentre * length < toCentre) {
            centre[0] = off[0];
            centre[1] = off[1];
        }
    }
    constexpr double largest = std::numeric_limits<float>::max();
    if (!(std::fabs(centre[0]) < largest && std::fabs(centre[1]) < largest)) {
        return false;
    }
    point[0] = float(centre[0]);
    point[1] = float(centre[1]);
    return true;
}

int QualityPass::encroached(const float* point, int32_t e, int32_t& count)
{
    count = 0;
    int32_t k = 0;
    int code = rtconn(point, e, mesh.ITRNOE, mesh.ITRTRI, mesh.NBE, mesh.COORD, circles, work, k);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL RTCONN");
    }
    for (int32_t n = 1; n <= k; ++n) {
        const int32_t x = work(n);
        for (int32_t f = 1; f <= 3; ++f) {
            if (faces()(x, f) > 0) {
                continue;
            }
            const int32_t p = nodes()(x, f);
            const int32_t q = nodes()(x, f % 3 + 1);
            if (orientation(at(p), at(q), point) > 0 && !encroaches(at(p), at(q), point)) {
                continue;
            }
            bool listed = false;
            for (int32_t j = 1; j <= count; ++j) {
                listed = listed || (cavityEdges(j, 1) == p && cavityEdges(j, 2) == q);
            }
            if (!listed && count < cavityEdges.count()) {
                ++count;
                cavityEdges(count, 1) = p;
                cavityEdges(count, 2) = q;
            }
        }
    }
    return kOk;
}

void QualityPass::splitPoint(int32_t t, int32_t f, float* point) const
{
    const int32_t a = nodes()(t, f);
    const int32_t b = nodes()(t, f % 3 + 1);
    const double length = std::hypot(double(at(b)[0]) - double(at(a)[0]), double(at(b)[1]) - double(at(a)[1]));
    // another border edge at one end only, in the same triangle: the two meet at a small
    // angle, and the split follows the concentric shells about that end
    const bool atA = faces()(t, (f + 1) % 3 + 1) <= 0;
    const bool atB = faces()(t, f % 3 + 1) <= 0;
    double share = 0.5;
    if (atA != atB && length > 0.0) {
        double power = 1.0;
        while (length > 3.0 * power) {
            power *= 2.0;
        }
        while (length < 1.5 * power) {
            power *= 0.5;
        }
        share = atA ? power / length : 1.0 - power / length;
    }
    for (int32_t k = 0; k < 2; ++k) {
        point[k] = float(double(at(a)[k]) + share * (double(at(b)[k]) - double(at(a)[k])));
    }
}

int QualityPass::room() const
{
    if (mesh.nodes + 1 > mesh.NMAX) {
        return kMaxNodesReached;
    }
    if (int64_t(mesh.NBE) + 2 > circles.count()) {
        return kMaxElementsReached;
    }
    return kOk;
}

void QualityPass::halve(int32_t e, int32_t f, int32_t m, int32_t half, int32_t beforeM, int32_t afterM)
{
    const int32_t far = f % 3 + 1;
    const int32_t y = nodes()(e, far);
    const int32_t z = nodes()(e, (f + 1) % 3 + 1);
    const int32_t acrossYZ = faces()(e, far);
    mesh.ITRNOE(e, far) = m;
    mesh.ITRTRI(e, far) = half;
    mesh.ITRTRI(e, f) = beforeM;
    const int32_t row[6] = {m, y, z, afterM, acrossYZ, e};
    for (int32_t j = 1; j <= 3; ++j) {
        mesh.ITRNOE(half, j) = row[j - 1];
        mesh.ITRTRI(half, j) = row[j + 2];
    }
    heap.clear(half);
    // the element across y z now meets `half`, its border mark kept
    const int32_t across = magnitude(acrossYZ);
    for (int32_t j = 1; across != 0 && j <= 3; ++j) {
        if (magnitude(mesh.ITRTRI(across, j)) == e) {
            mesh.ITRTRI(across, j) = mesh.ITRTRI(across, j) < 0 ? -half : half;
        }
    }
}

int QualityPass::borderSides(int32_t& a, int32_t& b, int32_t& t, int32_t& f, int32_t& s, int32_t& g) const
{
    // 1. about a, then about b, the element with the border face from one to the other
    t = f = s = g = 0;
    bool closed = false;
    for (int32_t from : {a, b}) {
        const int32_t to = from == a ? b : a;
        (void)walkFan(nodes(), faces(), mesh.NOETRI, mesh.NBE, from, closed, [&](int32_t e, int32_t i) {
            if (nodes()(e, i % 3 + 1) == to && faces()(e, i) <= 0) {
                t = e;
                f = i;
            }
        });
        if (t != 0) {
            a = from;
            b = to;
            break;
        }
    }
    // 2. across a border inside the zone, the element on its other side
    if (t == 0 || faces()(t, f) == 0) {
        return kOk;
    }
    s = -faces()(t, f);
    for (int32_t j = 1; j <= 3; ++j) {
        g = magnitude(faces()(s, j)) == t ? j : g;
    }
    if (g == 0 || nodes()(s, g) != b || nodes()(s, g % 3 + 1) != a) {
        return traced(kDataError, kRoutine, " BORD SANS VIS-A-VIS");
    }
    return kOk;
}

int QualityPass::splitBorder(int32_t a, int32_t b, bool& split)
{
    split = false;
    // 1. the triangles on its sides
    int32_t t = 0, f = 0, s = 0, g = 0;
    int code = borderSides(a, b, t, f, s, g);
    if (code != kOk || t == 0) {
        return code;
    }
    // 2. may it be split: long enough, and not shared when no shared edge may be split
    const bool sharedEdge = shared(a) && shared(b);
    const double length = std::hypot(double(at(b)[0]) - double(at(a)[0]), double(at(b)[1]) - double(at(a)[1]));
    if (length <= floorLength || (sharedEdge && !borders.splitShared) || room() != kOk) {
        return kOk;
    }
    if (sharedEdge && borders.splitCount >= borders.splits.count()) {
        return traced(kCapacityError, kRoutine, " TABLE DES COUPURES PLEINE");
    }
    // 3. the new node, refused when a triangle it makes would not turn counter-clockwise
    float point[2];
    splitPoint(t, f, point);
    const int32_t c = nodes()(t, (f + 1) % 3 + 1);
    const int32_t d = s == 0 ? 0 : nodes()(s, (g + 1) % 3 + 1);
    if (orientation(at(a), point, at(c)) <= 0 || orientation(point, at(b), at(c)) <= 0 ||
        (s != 0 && (orientation(at(b), point, at(d)) <= 0 || orientation(point, at(a), at(d)) <= 0))) {
        return kOk;
    }
    int32_t m = 0;
    if ((code = s0ajno(point, mesh.COORD, mesh.nodes, mesh.NOETRI, m)) != kOk) {
        return traced(code, kRoutine, "APPEL S0AJNO");
    }
    kinds(m) = kOnStraightBorder | (sharedEdge ? kSharedFlag : 0);
    if (mode == kSizesAtPoints) {
        const double share = std::hypot(double(point[0]) - double(at(a)[0]), double(point[1]) - double(at(a)[1])) /
                             length;
        density.reals(m) = float((1.0 - share) * double(density.reals(a)) + share * double(density.reals(b)));
    }
    // 4. t = a b c becomes t = a m c and u = m b c; s = b a d becomes s = b m d and w = m a d
    const int32_t u = mesh.NBE + 1;
    const int32_t w = s == 0 ? 0 : mesh.NBE + 2;
    halve(t, f, m, u, s == 0 ? 0 : -w, s == 0 ? 0 : -s);
    if (s != 0) {
        halve(s, g, m, w, -u, -t);
        mesh.NOETRI(d) = s;
    }
    mesh.NBE += s == 0 ? 1 : 2;
    mesh.NOETRI(a) = t;
    mesh.NOETRI(b) = u;
    mesh.NOETRI(c) = t;
    mesh.NOETRI(m) = t;
    // 5. the split told to the other zones; the edges about m made Delaunay, then refreshed
    if (sharedEdge) {
        ++borders.splitCount;
        borders.splits(borders.splitCount, 1) = a;
        borders.splits(borders.splitCount, 2) = b;
        borders.splits(borders.splitCount, 3) = m;
    }
    split = true;
    if ((code = exchangeAbout(m)) != kOk) {
        return code;
    }
    return refreshAbout(m);
}

int QualityPass::exchangeAbout(int32_t m)
{
    EdgeTables tables{mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, mesh.COORD, kRoutine};
    int32_t count = 0;
    bool closed = false;
    (void)walkFan(nodes(), faces(), mesh.NOETRI, mesh.NBE, m, closed, [&](int32_t e, int32_t) {
        if (count < flips.count()) {
            flips(++count) = e;
        }
    });
    while (count > 0) {
        const int32_t x = flips(count--);
        const int32_t i = cornerOf(nodes(), x, m);
        if (i == 0) {
            continue;
        }
        // the face of x opposite m, p -> q, and the node z across it
        const int32_t face = i % 3 + 1;
        const int32_t y = faces()(x, face);
        if (y <= 0) {
            continue;
        }
        const int32_t p = nodes()(x, face);
        const int32_t q = nodes()(x, face % 3 + 1);
        const int32_t back = tables.faceToward(y, x);
        if (back == 0) {
            return traced(kDataError, kRoutine, " STRUCTURE INCORRECTE");
        }
        const int32_t z = tables.opposite(y, back);
        if (circleSide(at(p), at(q), at(m), at(z)) <= 0 || !convexPair(tables, p, q, m, z)) {
            continue;
        }
        const int code = exchangeDiagonal(tables, x, face);
        if (code != kOk) {
            return code;
        }
        if (count + 2 > flips.count()) {
            return traced(kCapacityError, kRoutine, " PILE DES ECHANGES PLEINE");
        }
        flips(++count) = x;
        flips(++count) = y;
    }
    return kOk;
}

void QualityPass::waitForSplit(int32_t a, int32_t b)
{
    for (int32_t j = 1; j <= pendingCount; ++j) {
        if ((pending(j, 1) == a && pending(j, 2) == b) || (pending(j, 1) == b && pending(j, 2) == a)) {
            return;
        }
    }
    if (pendingCount < pending.count()) {
        ++pendingCount;
        pending(pendingCount, 1) = a;
        pending(pendingCount, 2) = b;
    }
}

int QualityPass::refreshAbout(int32_t m)
{
    int code = kOk;
    bool closed = false;
    const bool whole = walkFan(nodes(), faces(), mesh.NOETRI, mesh.NBE, m, closed, [&](int32_t e, int32_t) {
        if (code != kOk) {
            return;
        }
        code = refresh(e);
        // every border edge of e that its third node encroaches waits for a split
        for (int32_t f = 1; f <= 3; ++f) {
            if (faces()(e, f) > 0) {
                continue;
            }
            const int32_t p = nodes()(e, f);
            const int32_t q = nodes()(e, f % 3 + 1);
            const int32_t r = nodes()(e, (f + 1) % 3 + 1);
            if (encroaches(at(p), at(q), at(r))) {
                waitForSplit(p, q);
            }
        }
    });
    if (code == kOk && !whole) {
        return traced(kDataError, kRoutine, " STRUCTURE INCORRECTE");
    }
    return code;
}

int QualityPass::sizeOfNewNode(int32_t node, int32_t created)
{
    float size = 0.0f;
    const int code = rfnots(node, created, nodes(), mesh.COORD, Vec<const float>(density.reals.data(), node - 1), work,
                            coincident, size);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL RFNOTS");
    }
    density.reals(node) = size;
    return kOk;
}

int QualityPass::insert(int32_t e, const float* point, bool& inserted)
{
    inserted = false;
    // 1. marked before the insertion, so that a refusal leaves the mark on e wherever it goes;
    //    the two spare rows start out of the heap
    setKey(e, kRefusedRatio);
    for (int32_t spare = mesh.NBE + 1; spare <= mesh.NBE + 2; ++spare) {
        circles(spare, kCircleWidth) = kRefusedRatio;
        heap.clear(spare);
    }
    int32_t node = 0;
    int code = s0ajno(point, mesh.COORD, mesh.nodes, mesh.NOETRI, node);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL S0AJNO");
    }
    // 2. the Delaunay insertion from e, with no clearance: the borders were checked before
    int32_t created = 0;
    const RowExchanges listener{&WorstElements::onExchange, &heap};
    code = trajpo(node, e, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, mesh.COORD, circles, work, areaTolerance,
                  0.0f, created, listener);
    if (code == kPointRejected) {
        if ((code = s0dtno(node, mesh.COORD, mesh.nodes, mesh.NOETRI)) != kOk) {
            return traced(code, kRoutine, "APPEL S0DTNO");
        }
        return kOk;
    }
    if (code != kOk) {
        return traced(code > 0 ? kCapacityError : code, kRoutine, "APPEL TRAJPO");
    }
    // 3. the new node's kind and size, the keys of the new elements
    kinds(node) = kFreeNode;
    if (mode == kSizesAtPoints && (code = sizeOfNewNode(node, created)) != kOk) {
        return code;
    }
    for (int32_t t = 1; t <= created; ++t) {
        float key = kRefusedRatio;
        if ((code = keyOf(t, key)) != kOk) {
            return code;
        }
        setKey(t, key);
    }
    inserted = true;
    return kOk;
}

int QualityPass::refine()
{
    int32_t told = mesh.nodes;
    for (;;) {
        if (mesh.nodes - told >= kProgressStride) {
            told = mesh.nodes;
            progress(told);
        }
        // 1. the border edges waiting for a split go first
        if (pendingCount > 0) {
            const int32_t a = pending(pendingCount, 1);
            const int32_t b = pending(pendingCount, 2);
            --pendingCount;
            bool split = false;
            const int code = splitBorder(a, b, split);
            if (code != kOk) {
                return code;
            }
            if (!split && room() != kOk) {
                return room();
            }
            continue;
        }
        // 2. the worst element; none to refine: done
        const int32_t e = heap.worst();
        if (e == 0) {
            return kOk;
        }
        int status = room();
        if (status != kOk) {
            return status;
        }
        // 3. its new node; the border edges it lies beyond or encroaches are split instead
        float point[2];
        if (!candidate(e, point)) {
            setKey(e, kRefusedRatio); // no place for a node: it stays as it is
            continue;
        }
        int32_t count = 0;
        int code = encroached(point, e, count);
        if (code != kOk) {
            return code;
        }
        if (count > 0) {
            bool any = false;
            int32_t edges[2 * kCavityEdges];
            for (int32_t j = 1; j <= count; ++j) {
                edges[2 * (j - 1)] = cavityEdges(j, 1);
                edges[2 * (j - 1) + 1] = cavityEdges(j, 2);
            }
            for (int32_t j = 0; j < count; ++j) {
                bool split = false;
                if ((code = splitBorder(edges[2 * j], edges[2 * j + 1], split)) != kOk) {
                    return code;
                }
                any = any || split;
            }
            if (!any) {
                if ((status = room()) != kOk) {
                    return status;
                }
                setKey(e, kRefusedRatio); // nothing can be done for it: it stays as it is
            }
            continue;
        }
        // 4. inserted inside; a refused point leaves e marked
        bool inserted = false;
        if ((code = insert(e, point, inserted)) != kOk) {
            return code;
        }
    }
}

/// The smallest angle (radians) of the elements about v, with v at `place` (its own
/// coordinates when null), and the sum of their smallest angles; -1 when one of them would
/// not turn counter-clockwise.
double smallestAbout(const RefinementMesh& mesh, int32_t v, const float* place, double& sum)
{
    double smallest = std::numbers::pi;
    sum = 0.0;
    bool valid = true;
    bool closed = false;
    (void)walkFan(mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, v, closed, [&](int32_t e, int32_t i) {
        const float* corners[3];
        for (int32_t j = 1; j <= 3; ++j) {
            corners[j - 1] = j == i && place != nullptr ? place : mesh.COORD.row(mesh.ITRNOE(e, j));
        }
        if (orientation(corners[0], corners[1], corners[2]) <= 0) {
            valid = false;
            return;
        }
        const double angle = smallestOf(corners[0], corners[1], corners[2]);
        smallest = std::min(smallest, angle);
        sum += angle;
    });
    return valid ? smallest : -1.0;
}

/// The mean of the places of x that the angles at its ring of neighbours (counter-clockwise,
/// `count` of them) would bisect, each at the distance x has from that neighbour (angle-based
/// smoothing).
void angleBisectors(Rows<const float> COORD, const float* x, const int32_t* ring, int32_t count, double* place)
{
    place[0] = double(x[0]);
    place[1] = double(x[1]);
    double sum[2] = {0.0, 0.0};
    for (int32_t j = 0; j < count; ++j) {
        const float* p = COORD.row(ring[j]);
        const float* after = COORD.row(ring[(j + 1) % count]);
        const float* before = COORD.row(ring[(j + count - 1) % count]);
        double u[2] = {double(after[0]) - double(p[0]), double(after[1]) - double(p[1])};
        double w[2] = {double(before[0]) - double(p[0]), double(before[1]) - double(p[1])};
        const double toX[2] = {double(x[0]) - double(p[0]), double(x[1]) - double(p[1])};
        const double lu = std::hypot(u[0], u[1]), lw = std::hypot(w[0], w[1]), lx = std::hypot(toX[0], toX[1]);
        double b[2] = {u[0] / lu + w[0] / lw, u[1] / lu + w[1] / lw};
        const double lb = std::hypot(b[0], b[1]);
        if (!(lb > 0.0) || !(lx > 0.0)) {
            return; // a straight angle at a neighbour: no bisector to follow
        }
        // the bisector on the side of x (the angle inside the ring may exceed 180 degrees)
        const double side = b[0] * toX[0] + b[1] * toX[1] < 0.0 ? -1.0 : 1.0;
        sum[0] += double(p[0]) + side * lx * b[0] / lb;
        sum[1] += double(p[1]) + side * lx * b[1] / lb;
    }
    place[0] = sum[0] / count;
    place[1] = sum[1] / count;
}

/// One sweep of exchanges over every edge that is not a border: a pair whose far node lies
/// inside the circle of the near triangle becomes the other diagonal. `changed` counts them.
int makeDelaunay(RefinementMesh& mesh, int32_t& changed)
{
    changed = 0;
    EdgeTables tables{mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, mesh.COORD, kRoutine};
    for (int32_t x = 1; x <= mesh.NBE; ++x) {
        for (int32_t face = 1; face <= 3; ++face) {
            const int32_t y = mesh.ITRTRI(x, face);
            if (y <= 0 || y < x) {
                continue;
            }
            const int32_t back = tables.faceToward(y, x);
            if (back == 0) {
                return traced(kDataError, kRoutine, " STRUCTURE INCORRECTE");
            }
            const int32_t p = mesh.ITRNOE(x, face);
            const int32_t q = mesh.ITRNOE(x, face % 3 + 1);
            const int32_t r = tables.opposite(x, face);
            const int32_t z = tables.opposite(y, back);
            if (circleSide(mesh.COORD.row(p), mesh.COORD.row(q), mesh.COORD.row(r), mesh.COORD.row(z)) <= 0 ||
                !convexPair(tables, p, q, r, z)) {
                continue;
            }
            const int code = exchangeDiagonal(tables, x, face);
            if (code != kOk) {
                return code;
            }
            ++changed;
            break; // the rows of x changed: its other faces wait for the next sweep
        }
    }
    return kOk;
}

} // namespace

double smallestAngle(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD)
{
    return smallestOf(COORD.row(ITRNOE(e, 1)), COORD.row(ITRNOE(e, 2)), COORD.row(ITRNOE(e, 3))) / kDegree;
}

int smoothNodes(RefinementMesh& mesh, int32_t fixed, int32_t passes, int32_t& moved)
{
    moved = 0;
    for (int32_t pass = 1; pass <= passes; ++pass) {
        // 1. each free node toward the places that may raise the angles of its triangles: the
        //    mean of their circumcentres weighted by their areas, the mean of its neighbours,
        //    or half way to the first; of those that keep the smallest angle among them, the
        //    one that raises the sum of their smallest angles most
        for (int32_t v = fixed + 1; v <= mesh.nodes; ++v) {
            double mean[2] = {0.0, 0.0};
            double centres[2] = {0.0, 0.0};
            double areas = 0.0;
            int32_t ring[kLargestRing];
            int32_t count = 0;
            bool free = true;
            bool closed = false;
            const float* x = mesh.COORD.row(v);
            const bool whole = walkFan(mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, v, closed,
                                       [&](int32_t e, int32_t i) {
                                           free = free && mesh.ITRTRI(e, i) > 0 && count < kLargestRing;
                                           const float* p = mesh.COORD.row(mesh.ITRNOE(e, i % 3 + 1));
                                           const float* q = mesh.COORD.row(mesh.ITRNOE(e, (i + 1) % 3 + 1));
                                           mean[0] += double(p[0]);
                                           mean[1] += double(p[1]);
                                           double centre[2];
                                           const double area = circumcentre(x, p, q, centre);
                                           centres[0] += area * centre[0];
                                           centres[1] += area * centre[1];
                                           areas += area;
                                           if (count < kLargestRing) {
                                               ring[count] = mesh.ITRNOE(e, i % 3 + 1);
                                           }
                                           ++count;
                                       });
            if (!whole || !closed || !free || count < 3 || !(areas > 0.0)) {
                continue;
            }
            double bisected[2] = {0.0, 0.0};
            angleBisectors(mesh.COORD, x, ring, count, bisected);
            const double targets[3][2] = {{centres[0] / areas, centres[1] / areas},
                                          {mean[0] / count, mean[1] / count},
                                          {bisected[0], bisected[1]}};
            double best = 0.0;
            const double before = smallestAbout(mesh, v, nullptr, best);
            float chosen[2] = {x[0], x[1]};
            for (const auto& target : targets) {
                for (double share : kSmoothingSteps) {
                    const float place[2] = {float(double(x[0]) + share * (target[0] - double(x[0]))),
                                            float(double(x[1]) + share * (target[1] - double(x[1])))};
                    double sum = 0.0;
                    if (smallestAbout(mesh, v, place, sum) >= before && sum > best + kAngleGain * kDegree) {
                        best = sum;
                        chosen[0] = place[0];
                        chosen[1] = place[1];
                    }
                }
            }
            if (chosen[0] != x[0] || chosen[1] != x[1]) {
                mesh.COORD(v, 1) = chosen[0];
                mesh.COORD(v, 2) = chosen[1];
                ++moved;
            }
        }
        // 2. every edge that is not a border made Delaunay again
        for (int32_t sweep = 0; sweep < mesh.NBE; ++sweep) {
            int32_t changed = 0;
            const int code = makeDelaunay(mesh, changed);
            if (code != kOk) {
                return code;
            }
            if (changed == 0) {
                break;
            }
        }
    }
    return kOk;
}

int rfqual(int32_t mode, RefinementMesh& mesh, SizeFunction sizeFunction, const DensityRecords& density,
           const QualityRequest& request, QualityBorders& borders, Vec<int32_t> work, Vec<float> realWork,
           const ProgressHook& progress)
{
    // 1. the data and the tables
    if (mode < kDefaultSize || mode > kSizesAtPoints) {
        return traced(kDataError, kRoutine, " MODE DE RAFFINEMENT");
    }
    if (mesh.COORD.width() != 2) {
        return traced(kNotAvailable, kRoutine, " EN 2D SEULEMENT");
    }
    if (mesh.nodes <= 0 || mesh.nodes > mesh.NMAX || mesh.NBE < 0 || mesh.NBE > mesh.ITRNOE.count() ||
        mesh.NBE > mesh.ITRTRI.count() || mesh.ITRNOE.width() < 3 || mesh.ITRTRI.width() < 3 ||
        (mode != kDefaultSize && sizeFunction == nullptr) || !(request.minAngle >= 0.0f) ||
        request.minAngle > kLargestAngleBound || !(request.maxArea >= 0.0f) || request.smoothing < 0) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES ");
    }
    if (mesh.NMAX > mesh.COORD.count() || mesh.NMAX > mesh.NOETRI.count()) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS ");
    }
    const int32_t fixed = mesh.nodes;
    QualityPass pass(mode, mesh, mode == kDefaultSize ? dnidef : sizeFunction, density, request, borders, progress);
    int code = pass.layOut(work, realWork);
    // 2. the refinement, then the smoothing (also after a cap: the mesh is valid)
    if (code == kOk) {
        code = pass.start();
    }
    if (code == kOk && mesh.nodes < mesh.NMAX) {
        code = pass.refine();
    } else if (code == kOk) {
        code = kMaxNodesReached;
    }
    if (code >= kOk && request.smoothing > 0) {
        int32_t moved = 0;
        const int smoothing = smoothNodes(mesh, fixed, request.smoothing, moved);
        if (smoothing != kOk) {
            return smoothing;
        }
    }
    progress(mesh.nodes);
    return code;
}

} // namespace tesmo
