// Border refinement by size.
//
// Direct method: edge e = (a, b) is cut at once, its positions ordered from a, each new node
// cutting the piece that runs on to b, so the border stays ordered:
//
//     a ------------------------ b    =>    a --e-- x1 --l1-- x2 --l2-- b
//
// Iterative method: the edge of smallest ratio (wanted size over length) is halved, the
// selected edge keeping the half next to its first node, until every ratio is above 2/3:
//
//     a ------- e ------- b           =>    a --- e --- x --- l --- b
//
// The worst edge is the smallest ratio strictly below 1, the lowest edge number on ties. The
// plain search scans every edge for every new node; an indexed binary heap of the edges keyed
// by (ratio, edge number), updated for the two edges each cut changes, gives the same edge in
// logarithmic time.
#include "boundary/rf_raf1d.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/size.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tesmo {

namespace {

/// The midpoint of edge e into `midpoint` (ndim reals).
void midpointOf(Rows<const int32_t> edges, Rows<const float> coordinates, int32_t e, float* midpoint)
{
    const float* A = coordinates.row(edges(e, 1));
    const float* B = coordinates.row(edges(e, 2));
    for (int32_t k = 0; k < coordinates.width(); ++k) {
        midpoint[k] = 0.5f * (A[k] + B[k]);
    }
}

/// An indexed binary min-heap of edges keyed by (ratio, edge number), in two integer tables:
/// the heap of edge numbers and, for each edge, its place in the heap. A ratio that is not a
/// number ranks last, as the scan never selects it.
class RatioHeap {
public:
    RatioHeap(Vec<int32_t> heap, Vec<int32_t> place, Vec<const float> ratios)
        : heap_(heap), place_(place), ratios_(ratios)
    {
    }
    /// Adds edge e with its current ratio.
    void insert(int32_t e)
    {
        heap_(++size_) = e;
        place_(e) = size_;
        up(size_);
    }
    /// Edge e's ratio has changed.
    void changed(int32_t e)
    {
        up(place_(e));
        down(place_(e));
    }
    /// The edge of smallest (ratio, number), 0 when empty.
    int32_t top() const { return size_ > 0 ? heap_(1) : 0; }

private:
    float key(int32_t e) const
    {
        const float r = ratios_(e);
        return std::isnan(r) ? std::numeric_limits<float>::infinity() : r;
    }
    bool before(int32_t e, int32_t f) const { return key(e) < key(f) || (key(e) == key(f) && e < f); }
    void swap(int32_t i, int32_t j)
    {
        std::swap(heap_(i), heap_(j));
        place_(heap_(i)) = i;
        place_(heap_(j)) = j;
    }
    void up(int32_t i)
    {
        while (i > 1 && before(heap_(i), heap_(i / 2))) {
            swap(i, i / 2);
            i /= 2;
        }
    }
    void down(int32_t i)
    {
        for (;;) {
            int32_t least = i;
            for (int32_t child = 2 * i; child <= 2 * i + 1 && child <= size_; ++child) {
                if (before(heap_(child), heap_(least))) {
                    least = child;
                }
            }
            if (least == i) {
                return;
            }
            swap(i, least);
            i = least;
        }
    }
    Vec<int32_t> heap_;
    Vec<int32_t> place_;
    Vec<const float> ratios_;
    int32_t size_ = 0;
};

/// Nodes and edges the capacities still allow, at most `wanted`.
int32_t fitting(const BorderMesh& border, int32_t wanted)
{
    const int64_t room = std::min<int64_t>(border.coordinates.count() - border.nodeCount,
                                           border.edges.count() - border.edgeCount);
    return int32_t(std::clamp<int64_t>(room, 0, wanted));
}

/// The smoothing of the nodes first .. n: sweeps of `r1lis` until no node moves, or until a
/// sweep gains little over the one before.
int smooth(int32_t first, BorderMesh& border)
{
    float previous = 0.0f;
    for (int32_t sweep = 1; sweep <= kMostSmoothingSweeps; ++sweep) {
        float largest = 0.0f;
        for (int32_t k = first; k <= border.nodeCount; ++k) {
            float moved = 0.0f;
            const int code = r1lis(k, kGeometricProgression, kSmoothingRatio, border, moved);
            if (code != kOk) {
                return traced(code, "R1RAFF", "APPEL R1LIS");
            }
            largest = std::max(largest, moved);
        }
        if (largest < kSmoothingSettled || largest + previous - previous / largest <= kSmoothingGain) {
            return kOk;
        }
        previous = largest;
    }
    return kOk;
}

} // namespace

int32_t r1rech(Rows<const int32_t> edges, Rows<const float> coordinates, Vec<const float> ratios, float* midpoint,
               float& ratio)
{
    float best = 1.0f;
    int32_t selected = 0;
    for (int32_t e = 1; e <= ratios.count(); ++e) {
        if (ratios(e) < best) {
            best = ratios(e);
            selected = e;
        }
    }
    if (selected != 0) {
        midpointOf(edges, coordinates, selected, midpoint);
    }
    ratio = best;
    return selected;
}

int r1dir(int32_t mode, int32_t e, const DensityRecords& density, int32_t record, BorderMesh& border,
          Vec<float> scratch, int32_t& placed)
{
    constexpr const char* kRoutine = "R1DIR";
    placed = 0;
    // 1. the edge
    if (e < 1 || e > border.edgeCount || border.edges.width() < 2) {
        return traced(kDataError, kRoutine, "ARETE INCORRECTE");
    }
    const int32_t a = border.edges(e, 1);
    const int32_t b = border.edges(e, 2);
    if (a == b || b == 0) {
        return kOk;
    }
    if (a < 1 || b < 1 || a > border.nodeCount || b > border.nodeCount) {
        return traced(kDataError, kRoutine, "ARETE INCORRECTE");
    }
    const int32_t ndim = border.coordinates.width();
    const float* A = border.coordinates.row(a);
    const float* B = border.coordinates.row(b);
    const Rows<float> X(scratch.data(), ndim, ndim > 0 ? scratch.count() / ndim : 0);
    int32_t count = 0;
    int32_t fit = 0;
    double first = 0.0;
    double ratio = 1.0;
    if (mode == kDensityConcentrations) {
        // 2. the positions one concentration gives, through its break points
        const Vec<const int32_t> integers = density.integerRecord(record);
        const Vec<const float> reals = density.realRecord(record);
        if (integers.count() < 2 || reals.count() < concentrationReals(integers(2), ndim)) {
            return traced(kDataError, kRoutine, "CONCENTRATION INCORRECTE");
        }
        const int code = d1su2(A, B, integers(1), reals(2), reals(1), integers(2), reals.data() + kConcentrationHead,
                               X, count);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL POSUM OU D1SU");
        }
        fit = fitting(border, count);
    } else if (mode == kSizesAtPoints) {
        // 3. the geometric progression between the sizes at both ends
        const Vec<float> sizes = density.reals;
        if (a > sizes.count() || b > sizes.count()) {
            return traced(kDataError, kRoutine, "TAILLES AUX POINTS TROP COURTES");
        }
        float v[3] = {0.0f, 0.0f, 0.0f};
        diffve(B, A, ndim, v);
        const float length = xnorve(v, ndim);
        float q = 1.0f;
        int code = su2po(kGeometricProgression, length, sizes(a), sizes(b), count, q);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL POSUM OU D1SU");
        }
        if (count <= 0) {
            return kOk;
        }
        float u0 = 0.0f;
        float last = 0.0f;
        code = scsuse(kGeometricProgression, length, count, q, u0, last);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL POSUM OU D1SU");
        }
        // only the positions that the capacities allow, which the scratch table must hold
        fit = fitting(border, count);
        if (fit > X.count()) {
            return traced(kCapacityError, kRoutine, "TROP DE POINTS");
        }
        float t[3] = {0.0f, 0.0f, 0.0f};
        muscve(v, 1.0f / length, ndim, t);
        if (fit > 0) {
            code = suptsu(A, t, kGeometricProgression, u0, fit, q, X);
            if (code != kOk) {
                return traced(code, kRoutine, "APPEL POSUM OU D1SU");
            }
        }
        first = u0;
        ratio = std::fabs(1.0f - q) <= epsRelative() ? 1.0 : double(q);
    } else {
        return kDataError;
    }
    // 5. the nodes in order from A; in mode 3 node i gets the term u0 q^i
    int32_t current = e;
    double term = first;
    for (int32_t i = 1; i <= fit; ++i) {
        int32_t node = 0;
        bool nodeFailed = false;
        const int code = cutAtNewNode(border, current, X.row(i), node, current, nodeFailed);
        if (code != kOk) {
            return traced(code, kRoutine, "ERREUR EN SORTIE");
        }
        if (mode == kSizesAtPoints) {
            term *= ratio;
            if (node > density.reals.count()) {
                return traced(kCapacityError, kRoutine, "TAILLES AUX POINTS TROP COURTES");
            }
            density.reals(node) = float(term);
        }
        ++placed;
    }
    // 6. a capacity reached
    return fit < count ? kMaxNodesReached : kOk;
}

int r1iter(SizeFunction sizeFunction, const DensityRecords& density, int32_t record, int32_t mode, BorderMesh& border,
           Vec<float> realWork, Vec<int32_t> integerWork)
{
    constexpr const char* kRoutine = "R1ITER";
    const int32_t NMAX = border.coordinates.count();
    // 1. no room
    if (border.nodeCount >= NMAX) {
        return kMaxNodesReached;
    }
    // 2. the data and the work tables
    const int32_t ndim = border.coordinates.width();
    if (border.nodeCount == 0 || ndim < 1 || ndim > 3 || sizeFunction == nullptr) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES ");
    }
    if (border.edges.width() < 2) {
        return traced(kDataError, kRoutine, " DONNEES INCOMPATIBLES ");
    }
    const int32_t mostEdges =
        int32_t(std::min<int64_t>(border.edges.count(), int64_t(border.edgeCount) + (NMAX - border.nodeCount)));
    if (realWork.count() < mostEdges) {
        return traced(kCapacityError, kRoutine, " TABLEAU DES REELS ");
    }
    const Vec<float> ratios = realWork.slice(1, mostEdges);
    const bool sizesAtNodes = mode == kSizesAtPoints;
    const Vec<const int32_t> integers = sizesAtNodes ? Vec<const int32_t>() : density.integerRecord(record);
    const Vec<const float> reals = sizesAtNodes ? Vec<const float>(density.reals) : density.realRecord(record);
    const auto evaluate = [&](int32_t e, float& ratio, float& wanted) {
        if (border.edges(e, 2) == 0) {
            ratio = 1.0f; // an isolated point: nothing to cut
            wanted = 0.0f;
            return kOk;
        }
        return sizeFunction(e, border.edgeRows(), Rows<const int32_t>(border.neighbours), border.nodeRows(),
                            Rows<float>(), integers, reals, ratio, wanted);
    };
    // 3. the ratio of every edge
    float wanted = 0.0f;
    for (int32_t e = 1; e <= border.edgeCount; ++e) {
        if (evaluate(e, ratios(e), wanted) != kOk) {
            return traced(kDataError, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
    }
    const bool indexed = integerWork.count() >= 2 * int64_t(mostEdges);
    RatioHeap heap(indexed ? integerWork.slice(1, mostEdges) : Vec<int32_t>(),
                   indexed ? integerWork.slice(mostEdges + 1, mostEdges) : Vec<int32_t>(), ratios);
    if (indexed) {
        for (int32_t e = 1; e <= border.edgeCount; ++e) {
            heap.insert(e);
        }
    }
    // 4. the worst edge halved until every edge is fine enough
    for (;;) {
        float middle[3] = {0.0f, 0.0f, 0.0f};
        float best = 1.0f;
        int32_t e = 0;
        if (indexed) {
            e = heap.top();
            best = e != 0 ? ratios(e) : 1.0f;
            if (best < 1.0f) {
                midpointOf(border.edgeRows(), border.nodeRows(), e, middle);
            } else {
                e = 0;
            }
        } else {
            e = r1rech(border.edgeRows(), border.nodeRows(), ratios.slice(1, border.edgeCount), middle, best);
        }
        if (e == 0 || best > kCutRatio) {
            return kOk;
        }
        float ratio = 0.0f;
        if (evaluate(e, ratio, wanted) != kOk) {
            return traced(kDataError, kRoutine, "APPEL FADEC ");
        }
        if (border.nodeCount + 1 > NMAX || border.edgeCount + 1 > border.edges.count()) {
            return kMaxNodesReached;
        }
        int32_t node = 0;
        int32_t added = 0;
        bool nodeFailed = false;
        const int code = cutAtNewNode(border, e, middle, node, added, nodeFailed);
        if (code != kOk) {
            return traced(code, kRoutine, nodeFailed ? "APPEL S0AJNO" : "APPEL ARAJPO");
        }
        if (sizesAtNodes) {
            if (node > density.reals.count()) {
                return traced(kCapacityError, kRoutine, "TAILLES AUX POINTS TROP COURTES");
            }
            density.reals(node) = wanted;
        }
        if (evaluate(added, ratios(added), wanted) != kOk || evaluate(e, ratios(e), wanted) != kOk) {
            return traced(kDataError, kRoutine, "APPEL FADEC ");
        }
        if (indexed) {
            heap.changed(e); // first: the heap holds everywhere but at e
            heap.insert(added);
        }
        if (border.nodeCount >= NMAX) {
            return kMaxNodesReached;
        }
    }
}

int r1lis(int32_t k, int32_t type, float ratio, BorderMesh& border, float& moved)
{
    constexpr const char* kRoutine = "R1LIS";
    moved = 0.0f;
    // 1. no edge rows
    if (border.edges.width() < 2) {
        return kOk;
    }
    if (k < 1 || k > border.nodeCount) {
        return traced(kDataError, " R1LIS ", "EXTREMITES D ARETE INCORRECTS R1ARNO ");
    }
    // 2. the edge of the node
    const int32_t e = k <= border.nodeEdge.count() ? border.nodeEdge(k) : 0;
    if (e < 1 || e > border.edgeCount) {
        (void)traced(kOk, kRoutine, " STRUCTURE NOETRI INEXISTANTE");
        (void)traced(kOk, kRoutine, " SOMMET ISOLE");
        return kOk;
    }
    // 3. its other edge and the three points
    if (border.neighbours.width() < 2 || e > border.neighbours.count()) {
        return traced(kDataError, kRoutine, " STRUCTURE ITRTRI INEXISTANTE");
    }
    const bool first = border.edges(e, 1) == k;
    const int32_t other = first ? border.neighbours(e, 1) : border.neighbours(e, 2);
    if (other <= 0 || other > border.edgeCount) {
        return traced(kDataError, kRoutine, " STRUCTURE ITRTRI INEXISTANTE");
    }
    const int32_t before = first ? border.edges(other, 1) : border.edges(e, 1);
    const int32_t after = first ? border.edges(e, 2) : border.edges(other, 2);
    if (before <= 0 || after <= 0 || before > border.nodeCount || after > border.nodeCount) {
        return traced(kDataError, " R1LIS ", "EXTREMITES D ARETE INCORRECTS R1ARNO ");
    }
    // 4. the move
    const int32_t ndim = border.coordinates.width();
    float position[3] = {0.0f, 0.0f, 0.0f};
    const int code = lisupo(border.coordinates.row(before), border.coordinates.row(k), border.coordinates.row(after),
                            ndim, type, ratio, position, moved);
    if (code != kOk) {
        return traced(code, kRoutine, " APPEL LISUPO");
    }
    if (moved > 0.0f) {
        copive(position, ndim, border.coordinates.row(k));
    }
    return kOk;
}

int r1raff(int32_t mode, int32_t method, BorderMesh& border, SizeFunction sizeFunction, const DensityRecords& density,
           Vec<float> scratch, Vec<float> realWork, Vec<int32_t> integerWork)
{
    constexpr const char* kRoutine = "R1RAFF";
    if (method != kDirectCutting) {
        (void)traced(kOk, kRoutine, " ATTENTION MODE 2 ou 3 ");
    }
    if (method < kDirectCutting || method > kSmoothedCutting) {
        return kDataError;
    }
    if (border.edgeCount == 0) {
        return kOk;
    }
    const int32_t firstNew = border.nodeCount + 1;
    const int32_t records = mode == kSizesAtPoints ? 1 : density.records;
    for (int32_t k = 1; k <= records; ++k) {
        if (method == kDirectCutting) {
            // 1. every edge present at the start of the pass, cut at once
            const int32_t m0 = border.edgeCount;
            for (int32_t e = 1; e <= m0; ++e) {
                int32_t placed = 0;
                const int code = r1dir(mode, e, density, k, border, scratch, placed);
                if (code != kOk) {
                    return code < kOk ? traced(code, kRoutine, "APPEL R1DIR") : code;
                }
            }
        } else {
            // 2. the worst edge halved, again and again
            const int code = r1iter(sizeFunction, density, k, mode, border, realWork, integerWork);
            if (code != kOk) {
                return code < kOk ? traced(code, kRoutine, "APPEL R1ITER") : code;
            }
        }
    }
    // 3. the new nodes smoothed
    return method == kSmoothedCutting ? smooth(firstNew, border) : kOk;
}

} // namespace tesmo
