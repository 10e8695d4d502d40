// Triangulation of a polygon with the best smallest triangle quality.
//
// What is kept. A record is a sub-polygon w1..wm of the polygon (positions in its order). Its
// triangle stands on the first side (w1, w2) with an apex wj, j = 3..m, and leaves the left
// piece w2..wj and the right piece wj..wm, w1 (nothing when a piece has two vertices). The
// value of apex j is the smallest of q(w1, w2, wj), the quality computed with the corners in
// that order, and of the values of both pieces; the value V of a record is the largest apex
// value (a two-vertex piece counts +infinity; a quality that is not a number counts
// -infinity: it never beats anything). The triangulation kept is the triangle of the first
// apex whose value is V, then the list of its right piece, then the list of its left piece.
//
// This is what the depth-first branch and bound returns (apexes in order, each piece searched
// with its parent's best value as bound, a strictly larger value replacing the best value and
// list). By induction on m, a record searched with bound b returns V and the list above when
// V > b, and nothing otherwise: its best value only ever takes an apex value larger than all
// the earlier ones, so it ends at V, on the first apex reaching it; an apex whose value does
// not exceed the best value is refused whether its pieces answer or not (a piece whose value
// does not exceed its bound answers nothing, which refuses the apex too); and a piece's list
// does not depend on its bound once its value exceeds it. The whole polygon has bound -1:
// V <= -1 is an error.
//
// How it is found. V of a record depends on its vertices and its first vertex only, not on the
// order in which it is searched, so:
//  1. test(Z, t) answers "V(Z) >= t ?": an apex passes when q(w1, w2, wj) >= t and both pieces
//     pass; apexes are tried by decreasing upper bound (below), the first one passing ends the
//     test. A pass leaves a witness w, t <= w <= V (the smallest quality met); a failure leaves
//     u < t with V <= u: the largest, over the apexes, of the apex's upper bound, lowered to
//     the u of its failing piece (once an apex's bound is below t, so are the later ones').
//  2. V(Z) lies between a lower bound L and an upper bound U (the table, the interval bounds,
//     the largest apex bound). A test at t in (L, U] raises L to its witness or lowers U to
//     its u: the first test is at U, the next ones halve the run of reals between L and U,
//     until they meet.
//  3. The list is rebuilt from the whole polygon down: at a record of value V the apexes are
//     tried in order, and the first whose quality and both pieces reach V (tests at V) is the
//     apex the branch and bound keeps (every apex value is at most V, so the earlier apexes
//     are below V). Its pieces are valued and rebuilt alike, each writing its triangles at
//     their place in the list.
//
// What prunes. Only the amount of searching depends on it, never an answer:
//  - The table keeps the bounds found for a sub-polygon (its vertex set and its first vertex:
//    the same vertices from another first vertex can have another value), so that a test
//    answered, or a value found, is not searched again. Four entries per bucket; a new one
//    takes an empty entry, else that of the smallest sub-polygon.
//  - The interval bounds. A quality depends on the order of its corners (rounding), and a
//    triangle takes the order of the record where it is chosen, which can change from one
//    triangulation to another. Lemma: the sides of a record other than the whole polygon,
//    read from its first side to its closing side (wm, w1), are sides of the polygon first,
//    then chords only, the closing side being a chord. (The left piece keeps the sides
//    w2..wj of its parent in order and closes with the chord (wj, w2); the right piece keeps
//    the sides wj..wm, then its parent's closing side, and closes with the chord (w1, wj);
//    the whole polygon has polygon sides only.) So a triangle (w1, w2, wj) with a polygon
//    side is always computed from one: if (w2, wj) is one, j = 3 and the side (w1, w2) before
//    it is one too; if (wj, w1) is one, it closes the record, which is then the whole polygon,
//    whose first side (1, 2) is a polygon side. With two polygon sides, (x, x + 1, x + 2) is
//    computed from (x, x + 1), except (n, 1, 2), from (1, 2): only the whole polygon holds
//    both 1 and 2. Such a triangle has one quality; any other lies between the smallest and
//    the largest quality of its three orders. Over all triangulations of a sub-polygon, the
//    largest smallest low bound is a lower bound of its value and the largest smallest high
//    bound an upper bound (a programme over the intervals wa..wb of its vertices).
//    A bounded record of no bounded parent builds the table of all its intervals (one
//    triangle per triple of vertices); its pieces read theirs from it: the left piece's
//    intervals are its parent's shifted by one place; the right piece's are its parent's,
//    plus those that end at the appended w1, its parent's family S(x) = wx..wm, w1 (x = 2..m),
//    found from the parent's intervals in one pass over the chords (w1, wx). So a bounded
//    record keeps, for each last vertex b of an interval, where that column is read (the
//    table or an ancestor's family) and the shift of the first vertex.
//  - The search first runs without interval bounds for a number of searching tests: long thin
//    polygons (as along a border) finish sooner so; otherwise it starts again with them,
//    keeping the table.
//
// Work. A record of m vertices holds its positions and apexes on the integer stack (2 m, and
// 2 m more for its columns when bounded), its apex qualities and bounds on the real stack (2 m,
// and 2 m more for its family). The records in use are nested, each strictly smaller than the
// one before, hence the stacks of n (n + 1) + K (K + 1). One record at a time owns the
// interval table: the pieces of a bounded record are bounded and read its table, and a new
// owner is only opened under an unbounded record, once the previous owner is closed.
#include "triangulation/m3_tripo.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace tesmo {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();

/// Internal: the plain search used up its tests and starts again with interval bounds.
constexpr int kRestartWithBounds = 1;

/// Entries of a bucket of the table (a power of two), the smallest table that is worth its
/// clearing, and the largest one trpls2 takes.
constexpr int32_t kBucket = 4;
constexpr int32_t kSmallestTable = 16;
constexpr int32_t kLargestTable = 1 << 16;

/// A quality as the search compares it: not a number counts as -infinity.
float ranked(float q) { return q == q ? q : -kInfinity; }

/// Squared distance between two points of the plane.
float squaredLength(const float* p, const float* q)
{
    const float dx = q[0] - p[0];
    const float dy = q[1] - p[1];
    return dx * dx + dy * dy;
}

/// Reals in increasing order as integers (both zeros give 0), for halving a run of reals.
int64_t realRank(float x)
{
    const int32_t bits = std::bit_cast<int32_t>(x);
    return bits >= 0 ? int64_t(bits) : -int64_t(bits & 0x7fffffff);
}

float rankedReal(int64_t rank)
{
    const uint32_t bits = rank >= 0 ? uint32_t(rank) : (uint32_t(-rank) | 0x80000000u);
    return std::bit_cast<float>(bits);
}

/// A real in (low, high], about halfway in rank; low < high.
float halfway(float low, float high)
{
    const int64_t a = realRank(low);
    const int64_t b = realRank(high);
    return rankedReal(a + (b - a + 1) / 2);
}

/// Lower and upper bound of a value.
struct Bounds {
    float low = -kInfinity;
    float high = kInfinity;
};

Bounds smallestOf(Bounds a, Bounds b, Bounds c)
{
    return {std::min({a.low, b.low, c.low}), std::min({a.high, b.high, c.high})};
}

void keepLarger(Bounds& best, Bounds value)
{
    best.low = std::max(best.low, value.low);
    best.high = std::max(best.high, value.high);
}

/// A sub-polygon being searched, its arrays on the stacks (see the top of the file).
struct Record {
    int32_t* w = nullptr;         ///< positions w1..wm in w[0..m - 1]
    int32_t m = 0;
    int32_t* order = nullptr;     ///< apexes 3..m by decreasing bound, in order[0..m - 3]
    float* apexQuality = nullptr; ///< q(w1, w2, wj) in entry j - 1
    float* apexBound = nullptr;   ///< upper bound of the value of apex j in entry j - 1
    bool ordered = false;
    bool bounded = false;
    bool ownsTable = false;     ///< bounded with an interval table of its own
    int64_t owner = 0;          ///< serial of the sub-polygon whose interval table it reads
    int32_t* column = nullptr;  ///< per last vertex b: -1 the table, else a family's stack index
    int32_t* shift = nullptr;   ///< per last vertex b: added to the first vertex of an interval
    int32_t family = -1;        ///< real stack index of its family (2 m values), -1 until built
    int32_t integerMark = 0;
    int32_t realMark = 0;
};

/// One search over a polygon with the work of a PolygonSearch.
class BestSearch {
public:
    BestSearch(Vec<const int32_t> polygon, Rows<const float> COORD, TriangleQuality measure,
               const PolygonSearch& work, int32_t boundLimit)
        : polygon_(polygon), COORD_(COORD), quality_(measure), work_(work), n_(polygon.count()),
          words_((polygon.count() + 31) / 32), K_(boundLimit)
    {
    }

    /// The kept triangulation into `triangles` and its value into `best`: first without interval
    /// bounds for at most work.plainTests searching tests, then with them when those ran out
    /// (the table keeps what the first round found).
    int run(Vec<int32_t> triangles, float& best)
    {
        triangles_ = triangles;
        if (!takeIntegers(words_, scratch_)) {
            return kCapacityError;
        }
        for (int32_t e = 0; e < work_.entries; ++e) {
            work_.tableKeys(e * (words_ + 2) + 1) = 0;
        }
        const int32_t bottom = integerTop_;
        plainTests_ = K_ > 0 && work_.plainTests > 0 ? work_.plainTests : -1;
        limit_ = plainTests_ > 0 ? 0 : K_;
        int code = round(best);
        if (code == kRestartWithBounds) {
            integerTop_ = bottom;
            realTop_ = 0;
            limit_ = K_;
            plainTests_ = -1;
            code = round(best);
        }
        return code;
    }

private:
    int round(float& best)
    {
        Record whole;
        int code = openWhole(whole);
        float value = 0.0f;
        if (code == kOk) {
            code = evaluate(whole, kWholePolygonBound, value);
        }
        if (code == kOk && !(value > kWholePolygonBound)) {
            code = kDataError;
        }
        if (code == kOk) {
            code = solve(whole, value, 1);
        }
        if (code == kOk) {
            best = value;
        }
        return code;
    }

    // --- qualities -------------------------------------------------------------------------

    float quality(int32_t a, int32_t b, int32_t c) const
    {
        return ranked(quality_(COORD_.row(polygon_(a)), COORD_.row(polygon_(b)), COORD_.row(polygon_(c))));
    }

    /// Bounds of the quality of the triangle on positions p, q, r wherever it is chosen.
    Bounds triangleBounds(int32_t p, int32_t q, int32_t r) const
    {
        const int32_t i = std::min({p, q, r});
        const int32_t k = std::max({p, q, r});
        const int32_t j = p + q + r - i - k;
        float one = 0.0f;
        if (j == i + 1) {
            one = quality(i, j, k); // from the polygon side (i, i + 1)
        } else if (k == j + 1) {
            one = quality(j, k, i); // from (j, j + 1)
        } else if (i == 1 && k == n_) {
            one = quality(k, i, j); // from (n, 1)
        } else {
            const float a = quality(i, j, k);
            const float b = quality(j, k, i);
            const float c = quality(k, i, j);
            return {std::min({a, b, c}), std::max({a, b, c})};
        }
        return {one, one};
    }

    // --- stacks and records ----------------------------------------------------------------

    bool takeIntegers(int32_t count, int32_t*& area)
    {
        if (count > work_.integers.count() - integerTop_) {
            return false;
        }
        area = work_.integers.data() + integerTop_;
        integerTop_ += count;
        return true;
    }

    bool takeReals(int32_t count, int32_t& index)
    {
        if (count > work_.reals.count() - realTop_) {
            return false;
        }
        index = realTop_;
        realTop_ += count;
        return true;
    }

    float* realAt(int32_t index) const { return work_.reals.data() + index; }

    int open(Record& r, int32_t m, bool bounded)
    {
        r = Record();
        r.m = m;
        r.bounded = bounded;
        r.integerMark = integerTop_;
        r.realMark = realTop_;
        int32_t qualities = 0;
        int32_t apexBounds = 0;
        bool room = takeIntegers(m, r.w) && takeIntegers(m, r.order) && takeReals(m, qualities) &&
                    takeReals(m, apexBounds);
        if (room && bounded) {
            room = takeIntegers(m, r.column) && takeIntegers(m, r.shift);
        }
        if (!room) {
            close(r);
            return kCapacityError;
        }
        r.apexQuality = realAt(qualities);
        r.apexBound = realAt(apexBounds);
        return kOk;
    }

    void close(const Record& r)
    {
        integerTop_ = r.integerMark;
        realTop_ = r.realMark;
    }

    /// A bounded record that reads its intervals from a table of its own.
    void ownTable(Record& r)
    {
        r.ownsTable = true;
        r.owner = ++serial_;
        std::fill(r.column, r.column + r.m, -1);
        std::fill(r.shift, r.shift + r.m, 0);
    }

    int openWhole(Record& r)
    {
        const int code = open(r, n_, n_ <= limit_);
        if (code != kOk) {
            return code;
        }
        for (int32_t i = 0; i < n_; ++i) {
            r.w[i] = i + 1;
        }
        if (r.bounded) {
            ownTable(r);
        }
        return kOk;
    }

    /// Opens the left (w2..wj) or right (wj..wm, w1) piece of apex j of `parent`.
    int openPiece(Record& parent, int32_t j, bool left, Record& piece)
    {
        const int32_t m = parent.m;
        const int32_t size = left ? j - 1 : m - j + 2;
        if (parent.bounded) {
            // the piece reads its parent's intervals, the right one also its parent's family
            int code = intervalTable(parent);
            if (code == kOk && !left) {
                code = family(parent);
            }
            if (code != kOk) {
                return code;
            }
        }
        const int code = open(piece, size, size <= limit_);
        if (code != kOk) {
            return code;
        }
        const int32_t from = left ? 2 : j; // parent position of the piece's first vertex
        std::copy(parent.w + (from - 1), parent.w + (from - 1) + (left ? size : size - 1), piece.w);
        if (!left) {
            piece.w[size - 1] = parent.w[0];
        }
        if (!piece.bounded) {
            return kOk;
        }
        if (!parent.bounded) {
            ownTable(piece);
            return kOk;
        }
        piece.owner = parent.owner;
        const int32_t inherited = left ? size : size - 1;
        for (int32_t b = 1; b <= inherited; ++b) {
            piece.column[b - 1] = parent.column[b + from - 2];
            piece.shift[b - 1] = parent.shift[b + from - 2] + from - 1;
        }
        if (!left) {
            piece.column[size - 1] = parent.family;
            piece.shift[size - 1] = j - 1;
        }
        return kOk;
    }

    // --- interval bounds -------------------------------------------------------------------

    /// Bounds of the interval wa..wb (a < b) of the table's owner: row a holds b = a + 1..K.
    float* tableCell(int32_t a, int32_t b) const
    {
        const std::ptrdiff_t row = std::ptrdiff_t(a - 1) * K_ - std::ptrdiff_t(a - 1) * a / 2;
        return work_.intervals.data() + 2 * (row + (b - a - 1));
    }

    /// Bounds of the value of the interval wa..wb (a < b) of a bounded record.
    Bounds interval(const Record& r, int32_t a, int32_t b) const
    {
        if (b == a + 1) {
            return Bounds{kInfinity, kInfinity};
        }
        const int32_t column = r.column[b - 1];
        const int32_t s = r.shift[b - 1];
        const float* cell = column < 0 ? tableCell(a + s, b + s) : realAt(column + 2 * (a + s - 1));
        return {cell[0], cell[1]};
    }

    /// Makes sure the interval table is that of the record's owner (built by the owner).
    int intervalTable(const Record& r)
    {
        if (tableOwner_ == r.owner) {
            return kOk;
        }
        if (!r.ownsTable) {
            return kDataError; // a piece reads the table its owner built: cannot happen
        }
        for (int32_t span = 1; span < r.m; ++span) {
            for (int32_t a = 1; a + span <= r.m; ++a) {
                const int32_t b = a + span;
                Bounds best{-kInfinity, -kInfinity};
                if (span == 1) {
                    best = Bounds{kInfinity, kInfinity};
                }
                for (int32_t c = a + 1; c < b; ++c) {
                    const Bounds left{tableCell(a, c)[0], tableCell(a, c)[1]};
                    const Bounds right{tableCell(c, b)[0], tableCell(c, b)[1]};
                    keepLarger(best, smallestOf(triangleBounds(r.w[a - 1], r.w[c - 1], r.w[b - 1]), left, right));
                }
                tableCell(a, b)[0] = best.low;
                tableCell(a, b)[1] = best.high;
            }
        }
        tableOwner_ = r.owner;
        return kOk;
    }

    /// The family S(x) = bounds of wx..wm, w1 for x = 2..m, found over the chords (w1, wx).
    int family(Record& r)
    {
        if (r.family >= 0) {
            return kOk;
        }
        const int code = intervalTable(r);
        if (code != kOk) {
            return code;
        }
        int32_t index = 0;
        if (!takeReals(2 * r.m, index)) {
            return kCapacityError;
        }
        float* S = realAt(index);
        std::fill(S, S + 2 * r.m, kInfinity);
        for (int32_t x = r.m - 1; x >= 2; --x) {
            Bounds best{-kInfinity, -kInfinity};
            for (int32_t y = x + 1; y <= r.m; ++y) {
                const Bounds rest{S[2 * (y - 1)], S[2 * (y - 1) + 1]};
                keepLarger(best, smallestOf(triangleBounds(r.w[0], r.w[x - 1], r.w[y - 1]), interval(r, x, y), rest));
            }
            S[2 * (x - 1)] = best.low;
            S[2 * (x - 1) + 1] = best.high;
        }
        r.family = index;
        return kOk;
    }

    /// Bounds of V of the record (none when unbounded).
    int ownBounds(const Record& r, Bounds& bounds)
    {
        bounds = Bounds();
        if (!r.bounded) {
            return kOk;
        }
        const int code = intervalTable(r);
        if (code == kOk) {
            bounds = interval(r, 1, r.m);
        }
        return code;
    }

    /// Apex qualities, apex upper bounds and the apexes by decreasing bound.
    int orderApexes(Record& r)
    {
        if (r.ordered) {
            return kOk;
        }
        if (r.bounded) {
            const int code = family(r);
            if (code != kOk) {
                return code;
            }
        }
        for (int32_t j = 3; j <= r.m; ++j) {
            const float q = quality(r.w[0], r.w[1], r.w[j - 1]);
            float bound = q;
            if (r.bounded) {
                const float* S = realAt(r.family);
                bound = std::min({q, interval(r, 2, j).high, S[2 * (j - 1) + 1]});
            }
            r.apexQuality[j - 1] = q;
            r.apexBound[j - 1] = bound;
            r.order[j - 3] = j;
        }
        const float* bound = r.apexBound;
        std::sort(r.order, r.order + (r.m - 2), [bound](int32_t a, int32_t b) {
            return bound[a - 1] > bound[b - 1] || (bound[a - 1] == bound[b - 1] && a < b);
        });
        r.ordered = true;
        return kOk;
    }

    // --- table of bounds per sub-polygon ---------------------------------------------------

    /// The key of a record (its vertex set) in the scratch area; its first vertex apart.
    uint32_t makeKey(const Record& r) const
    {
        std::fill(scratch_, scratch_ + words_, 0);
        for (int32_t i = 0; i < r.m; ++i) {
            const int32_t bit = r.w[i] - 1;
            scratch_[bit / 32] = int32_t(uint32_t(scratch_[bit / 32]) | (1u << (bit % 32)));
        }
        uint32_t hash = uint32_t(r.w[0]) * 0x9E3779B1u;
        for (int32_t k = 0; k < words_; ++k) {
            hash = (hash ^ uint32_t(scratch_[k])) * 0x01000193u;
            hash ^= hash >> 15;
        }
        return hash;
    }

    int32_t* keyOf(int32_t e) const { return work_.tableKeys.data() + std::ptrdiff_t(e) * (words_ + 2); }

    /// Entry of the record in the table; otherwise, with `place`, the entry it takes: an
    /// empty one of its bucket, else the one of the smallest sub-polygon. -1 without table.
    int32_t findEntry(const Record& r, bool place) const
    {
        if (work_.entries == 0) {
            return -1;
        }
        const int32_t first = int32_t(makeKey(r) & uint32_t(work_.entries - 1)) & ~(kBucket - 1);
        int32_t spare = -1;
        for (int32_t e = first; e < first + kBucket; ++e) {
            const int32_t* key = keyOf(e);
            if (key[0] == r.w[0] && std::equal(scratch_, scratch_ + words_, key + 2)) {
                return e;
            }
            const bool haveEmpty = spare >= 0 && keyOf(spare)[0] == 0;
            if (!haveEmpty && (spare < 0 || key[0] == 0 || key[1] < keyOf(spare)[1])) {
                spare = e;
            }
        }
        return place ? spare : -1;
    }

    Bounds known(const Record& r) const
    {
        const int32_t e = findEntry(r, false);
        if (e < 0) {
            return Bounds();
        }
        return {work_.tableBounds(2 * e + 1), work_.tableBounds(2 * e + 2)};
    }

    /// Narrows the bounds kept for the record, taking an entry when it has none.
    void learn(const Record& r, Bounds found)
    {
        const int32_t e = findEntry(r, true);
        if (e < 0) {
            return;
        }
        int32_t* key = keyOf(e);
        float* kept = work_.tableBounds.data() + 2 * e;
        if (key[0] != r.w[0] || !std::equal(scratch_, scratch_ + words_, key + 2)) {
            key[0] = r.w[0];
            key[1] = r.m;
            std::copy(scratch_, scratch_ + words_, key + 2);
            kept[0] = -kInfinity;
            kept[1] = kInfinity;
        }
        kept[0] = std::max(kept[0], found.low);
        kept[1] = std::min(kept[1], found.high);
    }

    /// The table's bounds of V of the record narrowed by its interval bounds.
    int narrow(const Record& r, Bounds& b)
    {
        Bounds relaxed;
        const int code = ownBounds(r, relaxed);
        b.low = std::max(b.low, relaxed.low);
        b.high = std::min(b.high, relaxed.high);
        return code;
    }

    // --- the three steps -------------------------------------------------------------------

    /// 1. passed = V(r) >= t; found = a witness value in [t, V] or an upper bound of V below t.
    int test(Record& r, float t, bool& passed, float& found)
    {
        if (r.m == 3) {
            found = quality(r.w[0], r.w[1], r.w[2]);
            passed = found >= t;
            return kOk;
        }
        Bounds b = known(r);
        int code = kOk;
        for (const bool relaxed : {false, true}) {
            if (relaxed && (code = narrow(r, b)) != kOk) {
                return code;
            }
            passed = b.low >= t;
            found = passed ? b.low : b.high;
            if (passed || b.high < t) {
                return kOk;
            }
        }
        if (plainTests_ >= 0 && plainTests_-- == 0) {
            return kRestartWithBounds;
        }
        if ((code = orderApexes(r)) != kOk) {
            return code;
        }
        float below = -kInfinity;
        for (int32_t i = 0; i < r.m - 2; ++i) {
            const int32_t j = r.order[i];
            const float apexBound = r.apexBound[j - 1];
            if (!(apexBound >= t)) {
                below = std::max(below, apexBound); // so are all the apexes after it
                break;
            }
            float witness = r.apexQuality[j - 1];
            bool apexPassed = true;
            for (const bool left : {true, false}) {
                if ((left && j < 4) || (!left && j == r.m)) {
                    continue; // a two-vertex piece
                }
                Record piece;
                if ((code = openPiece(r, j, left, piece)) != kOk) {
                    return code;
                }
                bool piecePassed = false;
                float pieceFound = 0.0f;
                code = test(piece, t, piecePassed, pieceFound);
                close(piece);
                if (code != kOk) {
                    return code;
                }
                if (!piecePassed) {
                    below = std::max(below, std::min(apexBound, pieceFound));
                    apexPassed = false;
                    break;
                }
                witness = std::min(witness, pieceFound);
            }
            if (apexPassed) {
                learn(r, Bounds{witness, kInfinity});
                passed = true;
                found = witness;
                return kOk;
            }
        }
        learn(r, Bounds{-kInfinity, below});
        passed = false;
        found = below;
        return kOk;
    }

    /// 2. value = V(r), or a value not above `floor` when V(r) <= floor.
    int evaluate(Record& r, float floor, float& value)
    {
        if (r.m == 3) {
            value = quality(r.w[0], r.w[1], r.w[2]);
            return kOk;
        }
        Bounds b = known(r);
        int code = narrow(r, b);
        if (code == kOk && b.low < b.high && (code = orderApexes(r)) == kOk) {
            b.high = std::min(b.high, r.apexBound[r.order[0] - 1]);
        }
        if (code != kOk) {
            return code;
        }
        for (bool first = true; b.low < b.high; first = false) {
            if (!(b.high > floor)) {
                value = b.high;
                return kOk;
            }
            const float t = first ? b.high : halfway(b.low, b.high);
            bool passed = false;
            float found = 0.0f;
            if ((code = test(r, t, passed, found)) != kOk) {
                return code;
            }
            if (passed ? !(found >= t) : !(found < t)) {
                return kDataError; // a test that does not narrow the bounds: cannot happen
            }
            (passed ? b.low : b.high) = found;
        }
        learn(r, Bounds{b.low, b.low});
        value = b.low;
        return kOk;
    }

    /// 3. The kept list of a record of value V, written from triangles(at).
    int solve(Record& r, float V, int32_t at)
    {
        int code = kOk;
        int32_t apex = 0;
        for (int32_t j = 3; j <= r.m && apex == 0; ++j) {
            if (!(quality(r.w[0], r.w[1], r.w[j - 1]) >= V)) {
                continue;
            }
            bool passed = true;
            for (const bool left : {true, false}) {
                if (!passed || (left && j < 4) || (!left && j == r.m)) {
                    continue;
                }
                Record piece;
                if ((code = openPiece(r, j, left, piece)) != kOk) {
                    return code;
                }
                float found = 0.0f;
                code = test(piece, V, passed, found);
                close(piece);
                if (code != kOk) {
                    return code;
                }
            }
            apex = passed ? j : 0;
        }
        if (apex == 0 || at + 3 * (r.m - 2) - 1 > triangles_.count()) {
            return kDataError; // no apex reaches V: cannot happen
        }
        triangles_(at) = polygon_(r.w[0]);
        triangles_(at + 1) = polygon_(r.w[1]);
        triangles_(at + 2) = polygon_(r.w[apex - 1]);
        // the right piece's m - apex triangles, then the left piece's
        for (const bool left : {false, true}) {
            if ((left && apex < 4) || (!left && apex == r.m)) {
                continue;
            }
            Record piece;
            if ((code = openPiece(r, apex, left, piece)) != kOk) {
                return code;
            }
            float value = 0.0f;
            code = evaluate(piece, -kInfinity, value);
            if (code == kOk) {
                code = solve(piece, value, at + 3 + (left ? 3 * (r.m - apex) : 0));
            }
            close(piece);
            if (code != kOk) {
                return code;
            }
        }
        return kOk;
    }

    Vec<const int32_t> polygon_;
    Rows<const float> COORD_;
    TriangleQuality quality_;
    const PolygonSearch& work_;
    Vec<int32_t> triangles_;
    int32_t n_;
    int32_t words_;
    int32_t K_;
    int32_t limit_ = 0;       ///< records of at most limit_ vertices are bounded: 0 or K_
    int64_t plainTests_ = -1; ///< searching tests left before bounds are used; -1 no limit
    int32_t integerTop_ = 0;
    int32_t realTop_ = 0;
    int32_t* scratch_ = nullptr;
    int64_t serial_ = 0;
    int64_t tableOwner_ = 0;
};

/// n (n + 1) + K (K + 1) + W integers and n (n + 1) + K (K + 1) reals for the stacks.
int64_t stackSize(int32_t n, int32_t K) { return int64_t(n) * (n + 1) + int64_t(K) * (K + 1); }

int32_t keyWords(int32_t n) { return (n + 31) / 32; }

} // namespace

float trrilf(const float* p1, const float* p2, const float* p3)
{
    const float s = (p2[0] - p1[0]) * (p3[1] - p2[1]) - (p2[1] - p1[1]) * (p3[0] - p2[0]);
    if (!(s > 0.0f)) {
        return 0.0f; // clockwise, flat, or not a number
    }
    const float longest = std::max({squaredLength(p1, p2), squaredLength(p2, p3), squaredLength(p3, p1)});
    if (!(longest > 0.0f)) {
        return 0.0f;
    }
    const float q = s / longest;
    return std::isfinite(q) ? q : 0.0f;
}

int32_t trpls2PlainTests(int32_t n) { return int32_t(std::min<int64_t>(16 * int64_t(n), 1 << 24)); }

int32_t trpls2TableEntries(int32_t n)
{
    int32_t entries = 64;
    while (entries < kLargestTable && int64_t(entries) < 2 * int64_t(n) * n) {
        entries *= 2;
    }
    return entries;
}

int trplsi(Vec<const int32_t> polygon, Rows<const float> COORD, TriangleQuality quality,
           const PolygonSearch& search, Vec<int32_t> triangles, float& best)
{
    best = kWholePolygonBound;
    const int32_t n = polygon.count();
    if (n < 3 || COORD.width() < 2 || quality == nullptr) {
        return kDataError;
    }
    for (int32_t i = 1; i <= n; ++i) {
        if (polygon(i) < 1 || polygon(i) > COORD.count()) {
            return kDataError;
        }
    }
    const int32_t K = std::clamp(search.boundLimit, 0, n);
    const int64_t E = search.entries;
    const bool tableShape = E == 0 || (E > 0 && (E & (E - 1)) == 0);
    if (int64_t(search.integers.count()) < stackSize(n, K) + keyWords(n) ||
        int64_t(search.reals.count()) < stackSize(n, K) || int64_t(search.intervals.count()) < int64_t(K) * (K - 1) ||
        !tableShape || int64_t(search.tableKeys.count()) < E * (keyWords(n) + 2) || (E > 0 && E < kBucket) ||
        int64_t(search.tableBounds.count()) < 2 * E || triangles.count() < 3 * (n - 2)) {
        return kCapacityError;
    }
    BestSearch searching(polygon, COORD, quality, search, K);
    return searching.run(triangles, best);
}

int trpls2(Vec<const int32_t> polygon, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork, float& best,
           TriangleQuality quality, WorkShortage* shortage)
{
    best = kWholePolygonBound;
    const int32_t n = polygon.count();
    if (n < 3) {
        return kDataError;
    }
    // 1. sizes: the result, the stacks and the interval table, then the table of bounds
    const int32_t K = std::min(n, kBoundLimit);
    const int32_t words = keyWords(n);
    const int64_t result = 3 * (int64_t(n) - 2);
    const int64_t integers = stackSize(n, K) + words;
    const int64_t intervals = int64_t(K) * (K - 1);
    const int64_t reals = stackSize(n, K);
    const int64_t integersLeft = int64_t(iwork.count()) - result - integers;
    const int64_t realsLeft = int64_t(rwork.count()) - intervals - reals;
    if (integersLeft < 0 || realsLeft < 0) {
        if (shortage != nullptr) {
            *shortage = integersLeft < 0 ? WorkShortage::integers : WorkShortage::reals;
        }
        return kCapacityError;
    }
    int64_t entries = trpls2TableEntries(n);
    while (entries >= kSmallestTable && (entries * (words + 2) > integersLeft || 2 * entries > realsLeft)) {
        entries /= 2;
    }
    PolygonSearch search;
    search.plainTests = trpls2PlainTests(n);
    search.entries = entries >= kSmallestTable ? int32_t(entries) : 0;
    search.integers = iwork.slice(int32_t(result) + 1, int32_t(integers));
    search.tableKeys = iwork.slice(int32_t(result + integers) + 1, search.entries * (words + 2));
    search.intervals = rwork.slice(1, int32_t(intervals));
    search.reals = rwork.slice(int32_t(intervals) + 1, int32_t(reals));
    search.tableBounds = rwork.slice(int32_t(intervals + reals) + 1, 2 * search.entries);
    // 2..5. the search
    return trplsi(polygon, COORD, quality, search, iwork.slice(1, int32_t(result)), best);
}

void trpls2Need(int32_t n, int64_t& integers, int64_t& reals)
{
    n = std::max(n, 3);
    const int32_t K = std::min(n, kBoundLimit);
    const int64_t entries = trpls2TableEntries(n);
    integers = 3 * (int64_t(n) - 2) + stackSize(n, K) + keyWords(n) + entries * (keyWords(n) + 2);
    reals = int64_t(K) * (K - 1) + stackSize(n, K) + 2 * entries;
}

} // namespace tesmo
