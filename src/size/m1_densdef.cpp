// The default size: the size function of triangles, and the sizes at the geometry points
// smoothed along the borders.
//
// The smoothing sweeps the border edges in their order. Each sweep depends on the one before
// (the size at a distance is a step function, not monotone in the size it starts from), so the
// order of the sweeps and of the edges within each is kept. An edge whose two end sizes did not
// change since it was last visited, and whose visit changed nothing, changes nothing when
// visited again: instead of visiting every edge in every sweep, only the edges about a changed
// point are listed, in edge order, for the current sweep (edges after the one that made the
// change) or for the next (the edge itself and those before it). A change that travels one edge
// per sweep along a long border then costs a few operations per sweep instead of a full sweep.
#include "size/m1_densdef.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/cg_suite.hpp"

#include <algorithm>
#include <functional>

namespace tesmo {

namespace {

constexpr const char* kRoutine = "D1DSLN";

float edgeLength(Rows<const float> coordinates, int32_t a, int32_t b)
{
    const int32_t ndim = coordinates.width();
    float v[3] = {0.0f, 0.0f, 0.0f};
    diffve(coordinates.row(b), coordinates.row(a), ndim, v);
    return xnorve(v, ndim);
}

/// One visit of an edge of length L: each end no larger than L, and no larger than the size the
/// progression reaches from the other end. Tells which ends changed, and sets `lowered` when
/// the progression lowered one.
void visit(int32_t type, float ratio, float length, float& sizeA, float& sizeB, bool& changedA, bool& changedB,
           bool& lowered)
{
    const float oldA = sizeA;
    const float oldB = sizeB;
    sizeB = std::min(sizeB, length);
    float grown = scsupo(type, sizeA, ratio, length);
    if (grown < sizeB) {
        sizeB = grown;
        lowered = true;
    }
    sizeA = std::min(sizeA, length);
    grown = scsupo(type, sizeB, ratio, length);
    if (grown < sizeA) {
        sizeA = grown;
        lowered = true;
    }
    changedA = sizeA != oldA;
    changedB = sizeB != oldB;
}

/// True for a row that is an isolated point (no second node).
bool isolated(Rows<const int32_t> edges, int32_t e) { return edges(e, 2) == 0; }

/// Sweeps over every edge until a sweep lowers nothing through the progression.
void sweepAll(int32_t type, float ratio, Rows<const int32_t> edges, Rows<const float> coordinates, Vec<float> sizes)
{
    bool lowered = true;
    while (lowered) {
        lowered = false;
        for (int32_t e = 1; e <= edges.count(); ++e) {
            if (isolated(edges, e)) {
                continue;
            }
            const int32_t a = edges(e, 1);
            const int32_t b = edges(e, 2);
            bool changedA = false;
            bool changedB = false;
            visit(type, ratio, edgeLength(coordinates, a, b), sizes(a), sizes(b), changedA, changedB, lowered);
        }
    }
}

/// The same sweeps, visiting only the edges listed (see the top of this file). `work` holds,
/// for N points and m edges: where each point's edges start (N + 2), the edges of each point
/// (2 m), the edges of the current sweep as a min-heap (m), those of the next sweep (m), and for
/// each edge the last sweep it is listed for (m).
void sweepListed(int32_t type, float ratio, Rows<const int32_t> edges, Rows<const float> coordinates,
                 Vec<float> sizes, Vec<int32_t> work)
{
    const int32_t N = coordinates.count();
    const int32_t m = edges.count();
    int32_t* start = work.data();     // the edges of point x: about[start[x]] ... about[start[x + 1] - 1]
    int32_t* about = start + (N + 2); // the edges about each point
    int32_t* heap = about + 2 * m;    // current sweep, smallest edge first
    int32_t* next = heap + m;         // next sweep, unordered
    int32_t* listedFor = next + m;    // listedFor[e - 1]: last sweep edge e is listed for
    // 1. the edges about each point
    std::fill(start, start + N + 2, 0);
    for (int32_t e = 1; e <= m; ++e) {
        if (!isolated(edges, e)) {
            ++start[edges(e, 1)];
            ++start[edges(e, 2)];
        }
    }
    for (int32_t x = 1; x <= N; ++x) {
        start[x] += start[x - 1];
    }
    start[N + 1] = start[N];
    for (int32_t e = m; e >= 1; --e) {
        if (!isolated(edges, e)) {
            about[--start[edges(e, 1)]] = e;
            about[--start[edges(e, 2)]] = e;
        }
    }
    // 2. the first sweep visits every edge
    int32_t listed = 0;
    for (int32_t e = 1; e <= m; ++e) {
        if (!isolated(edges, e)) {
            heap[listed++] = e; // increasing: already a min-heap
            listedFor[e - 1] = 1;
        } else {
            listedFor[e - 1] = 0;
        }
    }
    const auto later = std::greater<int32_t>();
    for (int32_t sweep = 1;; ++sweep) {
        bool lowered = false;
        int32_t waiting = 0;
        while (listed > 0) {
            std::pop_heap(heap, heap + listed, later);
            const int32_t e = heap[--listed];
            const int32_t a = edges(e, 1);
            const int32_t b = edges(e, 2);
            bool changed[2] = {false, false};
            visit(type, ratio, edgeLength(coordinates, a, b), sizes(a), sizes(b), changed[0], changed[1], lowered);
            // 3. the edges about a changed end: after e in this sweep, up to e in the next
            for (int32_t side = 0; side < 2; ++side) {
                if (!changed[side]) {
                    continue;
                }
                const int32_t x = side == 0 ? a : b;
                for (int32_t i = start[x]; i < start[x + 1]; ++i) {
                    const int32_t f = about[i];
                    if (f > e && listedFor[f - 1] < sweep) {
                        listedFor[f - 1] = sweep;
                        heap[listed++] = f;
                        std::push_heap(heap, heap + listed, later);
                    } else if (f <= e && listedFor[f - 1] <= sweep) {
                        listedFor[f - 1] = sweep + 1;
                        next[waiting++] = f;
                    }
                }
            }
        }
        if (!lowered) {
            return;
        }
        // 4. the next sweep
        std::copy(next, next + waiting, heap);
        listed = waiting;
        std::make_heap(heap, heap + listed, later);
    }
}

} // namespace

int dntsdf(const int32_t* nodes, const float* circle, Rows<const float> coordinates, float& ratio, float& wanted)
{
    const int32_t ndim = coordinates.width();
    float shortest = 0.0f;
    if (dnarmn(ndim, nodes, coordinates, shortest) != kOk) {
        return kDataError;
    }
    const float radius = 0.5f * xnorve(circle, ndim);
    if (nullSize(radius)) {
        return kDataError;
    }
    ratio = shortest / radius;
    wanted = shortest;
    return kOk;
}

int dnidef(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> /*neighbours*/,
           Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> /*densityIntegers*/,
           Vec<const float> /*densityReals*/, float& ratio, float& wanted)
{
    const int32_t ndim = coordinates.width();
    if (element < 1 || element > elementNodes.count() || element > perElement.count() || ndim < 2 || ndim > 3 ||
        elementNodes.width() < ndim + 1 || perElement.width() < ndim) {
        return traced(kDataError, "DNIDEF", "ELEMENT INCORRECT");
    }
    return dntsdf(elementNodes.row(element), perElement.row(element), coordinates, ratio, wanted);
}

int d1dsln(int32_t type, float ratio, Rows<const int32_t> edges, Rows<const float> coordinates, Vec<float> sizes,
           Vec<int32_t> work)
{
    const int32_t m = edges.count();
    if (m > 0 && edges.width() < 2) {
        return traced(kDataError, kRoutine, "ARETES INCORRECTES");
    }
    // 1. every end of an edge in the size table, with no size yet; no edge of no length
    for (int32_t e = 1; e <= m; ++e) {
        const int32_t a = edges(e, 1);
        const int32_t b = edges(e, 2);
        if (b == 0) {
            continue; // an isolated point
        }
        if (a < 1 || b < 1) {
            return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTES");
        }
        if (a > sizes.count() || b > sizes.count()) {
            return traced(kCapacityError, kRoutine, "TABLEAU TSN TROP PETIT");
        }
        if (a > coordinates.count() || b > coordinates.count()) {
            return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTES");
        }
        if (!(edgeLength(coordinates, a, b) > epsTiny())) {
            return traced(kDataError, kRoutine, "ARETE DE LONGUEUR NULLE");
        }
    }
    for (int32_t e = 1; e <= m; ++e) {
        if (edges(e, 2) != 0) {
            sizes(edges(e, 1)) = kNoSize;
            sizes(edges(e, 2)) = kNoSize;
        }
    }
    // 2. the sweeps
    const int64_t needed = int64_t(coordinates.count()) + 2 + 5 * int64_t(m);
    if (work.count() >= needed) {
        sweepListed(type, ratio, edges, coordinates, sizes, work);
    } else {
        sweepAll(type, ratio, edges, coordinates, sizes);
    }
    return kOk;
}

} // namespace tesmo
