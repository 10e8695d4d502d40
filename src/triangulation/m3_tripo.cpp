// Triangulation of a polygon with the best smallest triangle quality.
//
// A record is a sub-polygon w1..wm whose triangle on the first side (w1, w2) is chosen among
// the apexes w3, ..., wm in that order. Its best value starts at its bound (-1 for the whole
// polygon, the parent's best value when it is created). An apex whose triangle does not beat
// the best value is passed over; otherwise the two sub-polygons left over are searched, the
// left one w2..wj first (beyond the side w2 wj), then the right one wj..wm, w1 (beyond the
// side wj w1), and the apex's value is the smallest of the triangle's quality and the
// children's best values. A strictly larger value replaces the best value and the best list (the triangle,
// then the right child's list, then the left child's), so ties keep the earlier apex.
//
// The search runs on an explicit stack of records: the children of a record are always the
// records just above it, so a record's children are released by lowering the top back to it
// once their lists are read. The chain of records in use has at most two per level and the
// levels have strictly fewer vertices, hence at most 2 n - 5 records.
#include "triangulation/m3_tripo.hpp"

#include <algorithm>
#include <cmath>

namespace tesmo {

namespace {

// Stages of a record.
constexpr int32_t kChooseApex = 0;   ///< looking for the next apex that beats the best value
constexpr int32_t kLeftRunning = 1;  ///< the left child (if any) is being searched
constexpr int32_t kRightRunning = 2; ///< the right child (if any) is being searched

/// Squared distance between two points of the plane.
float squaredLength(const float* p, const float* q)
{
    const float dx = q[0] - p[0];
    const float dy = q[1] - p[1];
    return dx * dx + dy * dy;
}

/// The records of one search with the helpers that read and open them.
class Search {
public:
    Search(const PolygonSearch& records, Rows<const float> COORD, TriangleQuality quality, int32_t n)
        : fields(records), COORD_(COORD), quality_(quality), n_(n)
    {
    }
    int32_t* vertices(int32_t r) const { return fields.storage.data() + std::ptrdiff_t(r - 1) * fields.slot; }
    int32_t* list(int32_t r) const { return vertices(r) + n_; }
    float qualityOf(int32_t a, int32_t b, int32_t c) const
    {
        return quality_(COORD_.row(a), COORD_.row(b), COORD_.row(c));
    }
    /// Opens record r on the given vertices (first run, then an optional closing vertex).
    void open(int32_t r, int32_t parent, const int32_t* run, int32_t runLength, int32_t closing, float bound) const
    {
        fields.parent(r) = parent;
        fields.vertexCount(r) = runLength + (closing != 0 ? 1 : 0);
        fields.apex(r) = 2;
        fields.stage(r) = kChooseApex;
        fields.leftChild(r) = 0;
        fields.rightChild(r) = 0;
        fields.listed(r) = 0;
        fields.bestValue(r) = bound;
        std::copy(run, run + runLength, vertices(r));
        if (closing != 0) {
            vertices(r)[runLength] = closing;
        }
    }
    /// The apex of record r is finished: its value against the best value, and the new best
    /// list when it wins.
    void compose(int32_t r) const
    {
        const int32_t left = fields.leftChild(r);
        const int32_t right = fields.rightChild(r);
        float value = fields.triangleQuality(r);
        bool complete = true;
        for (const int32_t child : {left, right}) {
            if (child != 0) {
                complete = complete && fields.listed(child) != 0;
                value = std::min(value, fields.bestValue(child));
            }
        }
        if (!complete || !(value > fields.bestValue(r))) {
            return;
        }
        fields.bestValue(r) = value;
        fields.listed(r) = 1;
        const int32_t* w = vertices(r);
        int32_t* out = list(r);
        *out++ = w[0];
        *out++ = w[1];
        *out++ = w[fields.apex(r) - 1];
        for (const int32_t child : {right, left}) {
            if (child != 0) {
                out = std::copy(list(child), list(child) + 3 * (fields.vertexCount(child) - 2), out);
            }
        }
    }
    const PolygonSearch& fields;

private:
    Rows<const float> COORD_;
    TriangleQuality quality_;
    int32_t n_;
};

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

int32_t PolygonSearch::records() const
{
    int32_t H = std::min({parent.count(), vertexCount.count(), apex.count(), stage.count(), leftChild.count(),
                          rightChild.count(), listed.count(), bestValue.count(), triangleQuality.count()});
    if (slot > 0) {
        H = std::min(H, storage.count() / slot);
    }
    return H;
}

int trplsi(Vec<const int32_t> polygon, Rows<const float> COORD, TriangleQuality quality,
           const PolygonSearch& search, Vec<int32_t> triangles, float& best)
{
    best = kWholePolygonBound;
    const int32_t n = polygon.count();
    if (n < 3 || COORD.width() < 2) {
        return kDataError;
    }
    for (int32_t i = 1; i <= n; ++i) {
        if (polygon(i) < 1 || polygon(i) > COORD.count()) {
            return kDataError;
        }
    }
    const int32_t H = search.records();
    if (H < 1 || int64_t(search.slot) < 4 * int64_t(n) - 6 || triangles.count() < 3 * (n - 2)) {
        return kCapacityError;
    }
    const Search records(search, COORD, quality, n);
    const PolygonSearch& s = records.fields;
    // 1. the whole polygon
    records.open(1, 0, polygon.data(), n, 0, kWholePolygonBound);
    int32_t top = 1;
    int32_t r = 1;
    for (;;) {
        const int32_t m = s.vertexCount(r);
        const int32_t* w = records.vertices(r);
        if (s.stage(r) == kChooseApex) {
            // 2. the next apex whose triangle beats the best value
            int32_t j = s.apex(r) + 1;
            float q = 0.0f;
            for (; j <= m; ++j) {
                q = records.qualityOf(w[0], w[1], w[j - 1]);
                if (q > s.bestValue(r)) {
                    break;
                }
            }
            if (j > m) {
                if (r == 1) {
                    break;
                }
                r = s.parent(r); // record done: its parent goes on
                continue;
            }
            s.apex(r) = j;
            s.triangleQuality(r) = q;
            s.leftChild(r) = 0;
            s.rightChild(r) = 0;
            s.stage(r) = kLeftRunning;
            // 3. the left sub-polygon w2..wj
            if (j >= 4) {
                if (top >= H) {
                    return kCapacityError;
                }
                const int32_t child = ++top;
                records.open(child, r, w + 1, j - 1, 0, s.bestValue(r));
                s.leftChild(r) = child;
                r = child;
                continue;
            }
        }
        if (s.stage(r) == kLeftRunning) {
            // 3. the right sub-polygon wj..wm, w1
            const int32_t j = s.apex(r);
            s.stage(r) = kRightRunning;
            if (j <= m - 1) {
                if (top >= H) {
                    return kCapacityError;
                }
                const int32_t child = ++top;
                records.open(child, r, w + (j - 1), m - j + 1, w[0], s.bestValue(r));
                s.rightChild(r) = child;
                r = child;
                continue;
            }
        }
        // 4. both children done: the apex's value, then release the children
        records.compose(r);
        top = r;
        s.stage(r) = kChooseApex;
    }
    // 5. the best list of the whole polygon
    if (s.listed(1) == 0) {
        return kDataError;
    }
    std::copy(records.list(1), records.list(1) + 3 * (n - 2), triangles.data());
    best = s.bestValue(1);
    return kOk;
}

int trpls2(Vec<const int32_t> polygon, Rows<const float> COORD, Vec<int32_t> iwork, Vec<float> rwork, float& best,
           TriangleQuality quality)
{
    best = kWholePolygonBound;
    const int32_t n = polygon.count();
    if (n < 3) {
        return kDataError;
    }
    // 1. sizes: the result, then H records of 4 n + 2 integers and 2 reals
    const int64_t result = 3 * (int64_t(n) - 2);
    const int64_t perRecord = 4 * int64_t(n) + 2;
    const int64_t H = std::min((int64_t(iwork.count()) - result) / perRecord, int64_t(rwork.count()) / 2);
    if (H <= 0 || int64_t(rwork.count()) < 2 * int64_t(n)) {
        return kCapacityError;
    }
    const int32_t records = int32_t(H);
    PolygonSearch search;
    int32_t next = int32_t(result) + 1;
    for (Vec<int32_t>* field : {&search.parent, &search.vertexCount, &search.apex, &search.stage, &search.leftChild,
                                &search.rightChild, &search.listed}) {
        *field = iwork.slice(next, records);
        next += records;
    }
    search.slot = 4 * n - 6;
    search.storage = iwork.slice(next, records * search.slot);
    search.bestValue = rwork.slice(1, records);
    search.triangleQuality = rwork.slice(records + 1, records);
    // 2..5. the search
    return trplsi(polygon, COORD, quality, search, iwork.slice(1, int32_t(result)), best);
}

void trpls2Need(int32_t n, int64_t& integers, int64_t& reals)
{
    const int64_t records = std::max<int64_t>(1, 2 * int64_t(n) - 5);
    integers = 3 * (int64_t(n) - 2) + records * (4 * int64_t(n) + 2);
    reals = std::max(2 * records, 2 * int64_t(n));
}

} // namespace tesmo
