// Interior refinement by size.
//
// Every element carries, in the refinement's own circle table, its circle vector v (twice the
// vector from its last node to its circumcentre) and its ratio: the wanted size over its own
// measure, from the size function. An element is refined while its ratio is at most 2/3: the
// worst one (smallest ratio, lowest number on ties) gets a new node at its circumcentre,
// inserted by the Delaunay insertion starting from that element:
//
//      D_________C            D_________C
//      |        /|            |\       /|      the circumcentre X of the worst triangle
//      |      /  |            |  \   /  |      A B C becomes a node: the triangles whose
//      |    X    |    -->     |    X    |      circles hold it (A B C and A C D) give way
//      |  /      |            |  /   \  |      to the fan of X over the frontier of their
//      |/________|            |/_______\|      union
//      A         B            A         B
//
// The new elements are elements 1..W after the insertion; they get fresh circles (from the
// insertion) and fresh ratios (here). The insertion exchanges element rows on its way, each
// circle row (ratio included) travelling with its element. A candidate the insertion refuses
// (too close to a border, a flat new triangle) leaves its element marked with the ratio 1, set
// before the insertion so that the mark travels with the element whatever the exchanges; the
// mark lasts until an insertion replaces that row.
//
// The worst element is found by an indexed heap kept in step with every ratio written and
// every exchange (rf_worst), or by the plain scan rfrech; both choose the same element.
#include "refinement/rf_raf3d.hpp"

#include "boundary/boundary.hpp"
#include "files/es_densite.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "refinement/capacity_watch.hpp"
#include "refinement/rf_worst.hpp"
#include "refinement/sp_sph.hpp"
#include "size/m1_densdef.hpp"
#include "topology/st_struct.hpp"
#include "topology/st_tableau.hpp"
#include "triangulation/m2_triangule.hpp"

#include <algorithm>
#include <string_view>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "RFITER";

/// The circumcentre of element e: its last node + 0.5 v. False when that node is not one of
/// the nodes of `COORD`.
bool circumcentre(int32_t ndim, Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD,
                  Rows<const float> circles, float* point)
{
    const int32_t last = ITRNOE(e, ndim + 1);
    if (last < 1 || last > COORD.count()) {
        return false;
    }
    for (int32_t k = 1; k <= ndim; ++k) {
        point[k - 1] = COORD(last, k) + 0.5f * circles(e, k);
    }
    return true;
}

/// One refinement pass: the tables, the size function and the worst-element heap.
class Pass {
public:
    Pass(SizeFunction function, Vec<const int32_t> integers, Vec<const float> reals, int32_t refinementMode,
         RefinementMesh& refined, Vec<float> sizesAtNodes, Vec<int32_t> integerWork, CapacityWatch* capacityWatch)
        : sizeFunction(function), densityIntegers(integers), densityReals(reals), mode(refinementMode),
          mesh(refined), ndim(refined.COORD.width()), width(ndim + 1), nodeSizes(sizesAtNodes), work(integerWork),
          watch(capacityWatch != nullptr && capacityWatch->active ? capacityWatch : nullptr)
    {
    }

    /// Lays out the coordinates, the circle table and (when asked and room allows) the heap.
    void layOut(Vec<float> realWork, WorstSearch search);
    /// Copies the coordinates in, and gives every element its circle and ratio.
    [[nodiscard]] int start();
    /// Inserts nodes until no element is to be refined, or the cap or the tables stop it.
    [[nodiscard]] int refine();
    /// Copies the coordinates of the n nodes back.
    void finish();
    /// A watched refinement at its cap, or a stop for the tables: the estimate of the zone's
    /// need; hands `status` back.
    [[nodiscard]] int stopped(int status);

private:
    /// The size function on element e of the refinement's tables.
    [[nodiscard]] int evaluate(int32_t e, float& ratio, float& wanted) const;
    /// The worst element and its ratio, 0 when none.
    int32_t select(float& ratio) const;
    /// Writes the ratio of element e and tells the heap.
    void setRatio(int32_t e, float ratio);
    /// Inserts node `node` from element e; its code, and the new element count W.
    [[nodiscard]] int insert(int32_t node, int32_t e, float clearance, int32_t& created);
    /// After an insertion: the size of the new node (mode 3) and the ratios of elements 1..W.
    [[nodiscard]] int inserted(int32_t node, int32_t created);
    /// The watched estimate of the zone's need, over the elements as they stand.
    [[nodiscard]] int estimate(int64_t& nodes);
    /// A watched refinement at a checkpoint: true when its estimate is far beyond the cap, so
    /// that the refinement stops at once (the caller runs the job again with longer arrays).
    [[nodiscard]] int lookAhead(bool& abandon);

    SizeFunction sizeFunction;
    Vec<const int32_t> densityIntegers;
    Vec<const float> densityReals;
    int32_t mode;
    RefinementMesh& mesh;
    int32_t ndim;
    int32_t width; ///< circle row: ndim reals of the circle vector, then the ratio
    Vec<float> nodeSizes;
    Vec<int32_t> work;
    Rows<float> coordinates;
    Rows<float> circles;
    /// Area below which a new triangle is refused: the insertion's tolerance in units of half
    /// the largest extent of the zone, as the triangulation's normalised points have it.
    float areaTolerance = kAreaTolerance;
    /// Distance within which a new node takes the size of its neighbour (mode 3), in the same
    /// units.
    float coincident = kCoincidentNodes;
    bool indexed = false;
    WorstElements heap{Rows<const float>(), 1, Vec<float>()};
    CapacityWatch* watch; ///< null unless the caller can lengthen the work arrays
    Checkpoint checkpoint;
    int64_t nodeCap = 0; ///< the nodes the tables allow: the cap, or the circle rows left
    int64_t startNodes = 0; ///< the nodes at the start of the pass
};

void Pass::layOut(Vec<float> realWork, WorstSearch search)
{
    const int64_t coordinateReals = int64_t(ndim) * mesh.NMAX;
    coordinates = Rows<float>(realWork.data(), ndim, mesh.NMAX);
    // the circle table after the coordinates and one real; as many rows as the element tables
    // when the reals allow, the heap after it
    const int64_t left = realWork.count() - coordinateReals - 1;
    const int32_t elementRows = std::min(mesh.ITRNOE.count(), mesh.ITRTRI.count());
    indexed = search == WorstSearch::indexed && elementRows < kMaxHeapElements &&
              left >= int64_t(width) * elementRows + WorstElements::storageNeeded(elementRows);
    const int32_t circleRows = indexed ? elementRows : int32_t(std::min<int64_t>(elementRows, left / width));
    float* const circleStart = realWork.data() + coordinateReals + 1;
    circles = Rows<float>(circleStart, width, circleRows);
    if (indexed) {
        heap = WorstElements(circles, width,
                             Vec<float>(circleStart + int64_t(width) * circleRows,
                                        int32_t(WorstElements::storageNeeded(circleRows))));
    }
}

int Pass::evaluate(int32_t e, float& ratio, float& wanted) const
{
    const Vec<const float> reals = mode == kSizesAtPoints ? Vec<const float>(nodeSizes.data(), mesh.nodes)
                                                             : densityReals;
    return sizeFunction(e, mesh.ITRNOE, mesh.ITRTRI, coordinates, circles, densityIntegers, reals, ratio, wanted);
}

int Pass::start()
{
    // 3. the coordinates copied in; every element's circle and ratio
    for (int32_t i = 1; i <= mesh.nodes; ++i) {
        std::copy(mesh.COORD.row(i), mesh.COORD.row(i) + ndim, coordinates.row(i));
    }
    // the area tolerance relative to the zone: the nodes added later lie inside the hull
    float halfExtent = 0.0f;
    for (int32_t k = 1; k <= ndim; ++k) {
        float low = coordinates(1, k);
        float high = low;
        for (int32_t i = 2; i <= mesh.nodes; ++i) {
            low = std::min(low, coordinates(i, k));
            high = std::max(high, coordinates(i, k));
        }
        halfExtent = std::max(halfExtent, (high - low) / 2.0f);
    }
    areaTolerance = kAreaTolerance * (halfExtent * halfExtent);
    coincident = kCoincidentNodes * halfExtent;
    for (int32_t e = 1; e <= mesh.NBE; ++e) {
        int code = spcree(ndim, e, mesh.ITRNOE, coordinates, circles);
        if (code != kOk) {
            return traced(code, kRoutine, " APPEL SPCREE");
        }
        float wanted = 0.0f;
        if ((code = evaluate(e, circles(e, width), wanted)) != kOk) {
            return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
    }
    if (indexed) {
        heap.build(mesh.NBE);
    }
    if (watch != nullptr) {
        // two new elements per node in the plane
        nodeCap = std::min<int64_t>(mesh.NMAX, mesh.nodes + (int64_t(circles.count()) - mesh.NBE) / 2);
        watch->cap = nodeCap;
        startNodes = mesh.nodes;
        // no checkpoint when the room the run allows is reached before the tables fill, nor after
        // the zone's first pass: its estimates took every concentration already
        const bool roomFirst = watch->allowed > 0 && watch->allowed <= nodeCap;
        checkpoint = roomFirst || watch->passes > 0 ? Checkpoint{} : nextCheckpoint(mesh.nodes, startNodes, nodeCap);
        ++watch->passes;
    }
    return kOk;
}

int Pass::estimate(int64_t& nodes)
{
    const Vec<const float> sizes = mode == kSizesAtPoints ? Vec<const float>(nodeSizes.data(), mesh.nodes)
                                                             : Vec<const float>();
    return estimateNodes(mode, sizeFunction, watch->density, sizes, mesh.ITRNOE, mesh.NBE, coordinates, circles,
                         nodes);
}

int Pass::stopped(int status)
{
    if (watch != nullptr && !watch->abandoned && (status == kMaxNodesReached || status == kMaxElementsReached)) {
        const int code = estimate(watch->estimate);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
    }
    return status;
}

int Pass::lookAhead(bool& abandon)
{
    abandon = false;
    int64_t nodes = 0;
    const int code = estimate(nodes);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
    }
    // what the zone may reach: the estimate, within the room the run allows
    const int64_t reach = watch->allowed > 0 ? std::min(nodes, watch->allowed) : nodes;
    if (nodes > 0 && double(reach) > checkpoint.factor * double(nodeCap)) {
        watch->estimate = nodes;
        watch->abandoned = true;
        abandon = true;
    }
    checkpoint = nextCheckpoint(mesh.nodes, startNodes, nodeCap);
    return kOk;
}

int32_t Pass::select(float& ratio) const
{
    if (!indexed) {
        float candidate[3] = {};
        return rfrech(ndim, mesh.ITRNOE, mesh.NBE, coordinates, circles, candidate, ratio);
    }
    const int32_t e = heap.worst();
    ratio = e == 0 ? kRefusedRatio : circles(e, width);
    return e;
}

void Pass::setRatio(int32_t e, float ratio)
{
    circles(e, width) = ratio;
    if (indexed) {
        heap.update(e);
    }
}

int Pass::insert(int32_t node, int32_t e, float clearance, int32_t& created)
{
    created = 0;
    if (ndim != 2) {
        return ttajpo();
    }
    const RowExchanges listener{indexed ? &WorstElements::onExchange : nullptr, &heap};
    return trajpo(node, e, mesh.ITRNOE, mesh.ITRTRI, mesh.NOETRI, mesh.NBE, coordinates, circles, work,
                  areaTolerance, clearance, created, listener);
}

int Pass::inserted(int32_t node, int32_t created)
{
    // 8. mode 3: the new node's size from its neighbours, before any ratio needs it
    if (mode == kSizesAtPoints) {
        float size = 0.0f;
        const int code = rfnots(node, created, mesh.ITRNOE, coordinates, Vec<const float>(nodeSizes.data(), node - 1),
                                work, coincident, size);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL RFNOTS");
        }
        nodeSizes(node) = size;
    }
    // the new elements' ratios
    for (int32_t t = 1; t <= created; ++t) {
        float ratio = 0.0f;
        float wanted = 0.0f;
        const int code = evaluate(t, ratio, wanted);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
        setRatio(t, ratio);
    }
    return kOk;
}

int Pass::refine()
{
    for (;;) {
        // 1.-2. the worst element; none at most 2/3: done
        float ratio = kRefusedRatio;
        const int32_t e = select(ratio);
        if (e == 0 || ratio > kRefineRatio) {
            return kOk;
        }
        // 3. its circumcentre is the candidate (a last node outside the nodes: bad data)
        float candidate[3] = {};
        if (!circumcentre(ndim, mesh.ITRNOE, e, coordinates, circles, candidate)) {
            return traced(kDataError, kRoutine, " DONNEES INCORRECTES ");
        }
        // 4. the wanted size there, 5. the border clearance
        float again = 0.0f;
        float wanted = 0.0f;
        int code = evaluate(e, again, wanted);
        if (code != kOk) {
            return traced(code, kRoutine, "APPEL FADEC (CALCUL DE LA TAILLE SOUHAITE)");
        }
        if (1.0f - again < kRatioMargin) {
            return traced(kDataError, kRoutine, "TAILLE DES NOUVEAUX ELEMENTS");
        }
        const float clearance = (ndim == 2 ? kPlaneClearance : kSpaceClearance) * wanted;
        // 6. the node cap; the element tables and the circle table need two more rows
        if (mesh.nodes + 1 > mesh.NMAX) {
            return kMaxNodesReached;
        }
        if (int64_t(mesh.NBE) + 2 > circles.count()) {
            return kMaxElementsReached;
        }
        // 7. the element marked before the insertion, so that a refusal leaves the mark on it
        //    wherever the insertion moves it; the two spare rows start as no candidates
        setRatio(e, kRefusedRatio);
        for (int32_t spare = mesh.NBE + 1; spare <= mesh.NBE + 2; ++spare) {
            circles(spare, width) = kRefusedRatio;
            if (indexed) {
                heap.clear(spare);
            }
        }
        int32_t node = 0;
        if ((code = s0ajno(candidate, coordinates, mesh.nodes, mesh.NOETRI, node)) != kOk) {
            return traced(code, kRoutine, "APPEL S0AJNO");
        }
        int32_t created = 0;
        code = insert(node, e, clearance, created);
        if (code == kOk) {
            // 8. inserted
            if ((code = inserted(node, created)) != kOk) {
                return code;
            }
        } else if (code == kPointRejected) {
            // 9. refused: the node goes again, the element keeps its mark
            if ((code = s0dtno(node, coordinates, mesh.nodes, mesh.NOETRI)) != kOk) {
                return traced(code, kRoutine, "APPEL S0DTNO");
            }
            continue;
        } else {
            // 10. any other code ends the refinement; a positive one is a memory problem
            return traced(code > 0 ? kCapacityError : code, kRoutine, "APPEL TTAJPO ");
        }
        // 11. the cap reached
        if (node >= mesh.NMAX) {
            return kMaxNodesReached;
        }
        // a watched refinement looks ahead at its checkpoints
        if (watch != nullptr && checkpoint.nodes > 0 && node >= checkpoint.nodes) {
            bool abandon = false;
            if ((code = lookAhead(abandon)) != kOk) {
                return code;
            }
            if (abandon) {
                return kMaxNodesReached;
            }
        }
    }
}

void Pass::finish()
{
    for (int32_t i = 1; i <= mesh.nodes; ++i) {
        std::copy(coordinates.row(i), coordinates.row(i) + ndim, mesh.COORD.row(i));
    }
}

} // namespace

int rfiter(SizeFunction sizeFunction, Vec<const int32_t> densityIntegers, Vec<const float> densityReals, int32_t mode,
           RefinementMesh& mesh, Vec<float> nodeSizes, Vec<int32_t> work, Vec<float> realWork, WorstSearch search,
           CapacityWatch* watch)
{
    // 1. no room for a node
    if (mesh.nodes == mesh.NMAX) {
        return kMaxNodesReached;
    }
    // 2. the data and the tables
    const int32_t ndim = mesh.COORD.width();
    if (mesh.nodes <= 0 || mesh.nodes > mesh.NMAX || (ndim != 2 && ndim != 3) || mesh.NBE < 0 ||
        mesh.NBE > mesh.ITRNOE.count() || mesh.NBE > mesh.ITRTRI.count() || sizeFunction == nullptr) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES ");
    }
    if (mesh.ITRNOE.width() < ndim || mesh.ITRTRI.width() < ndim) {
        return traced(kDataError, kRoutine, " DONNEES INCOMPATIBLES ");
    }
    if (mesh.NMAX > mesh.COORD.count() || mesh.NMAX > mesh.NOETRI.count() ||
        (mode == kSizesAtPoints && mesh.NMAX > nodeSizes.count())) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS ");
    }
    if (realWork.count() < int64_t(ndim) * mesh.NMAX + 1 + int64_t(ndim + 1) * mesh.NBE) {
        return traced(kCapacityError, kRoutine, " TABLEAU DES REELS ");
    }
    Pass pass(sizeFunction, densityIntegers, densityReals, mode, mesh, nodeSizes, work, watch);
    pass.layOut(realWork, search);
    // 3. circles and ratios, then the loop; the coordinates go back on every end
    int code = pass.start();
    if (code == kOk) {
        code = pass.stopped(pass.refine());
    }
    pass.finish();
    return code;
}

int rfraff(int32_t mode, RefinementMesh& mesh, SizeFunction sizeFunction, const DensityRecords& density,
           Vec<int32_t> work, Vec<float> realWork, WorstSearch search, CapacityWatch* watch)
{
    if (mode < 1) {
        return traced(kDataError, "RFRAFF", " MODE DE RAFFINEMENT");
    }
    if (mode == kDefaultSize) {
        return rfiter(dnidef, {}, {}, mode, mesh, {}, work, realWork, search, watch);
    }
    if (mode == kSizesAtPoints) {
        return rfiter(sizeFunction, density.integerRecord(1), {}, mode, mesh, density.reals, work, realWork, search,
                      watch);
    }
    // one pass per concentration, in order; the first non-zero result ends them
    for (int32_t k = 1; k <= density.records; ++k) {
        const int code = rfiter(sizeFunction, density.integerRecord(k), density.realRecord(k), mode, mesh, {}, work,
                                realWork, search, watch);
        if (code != kOk) {
            return code;
        }
    }
    return kOk;
}

int32_t rfrech(int32_t ndim, Rows<const int32_t> ITRNOE, int32_t NBE, Rows<const float> COORD,
               Rows<const float> circles, float* candidate, float& ratio)
{
    ratio = kRefusedRatio;
    int32_t selected = 0;
    for (int32_t e = 1; e <= NBE; ++e) {
        if (circles(e, ndim + 1) < ratio) {
            ratio = circles(e, ndim + 1);
            selected = e;
        }
    }
    if (selected != 0) {
        (void)circumcentre(ndim, ITRNOE, selected, COORD, circles, candidate);
    }
    return selected;
}

int rfnots(int32_t node, int32_t created, Rows<const int32_t> ITRNOE, Rows<const float> COORD,
           Vec<const float> nodeSizes, Vec<int32_t> work, float coincident, float& size)
{
    size = 0.0f;
    // 1. the neighbours, the raw list in the first half of the work and the distinct ones in the second
    const int32_t half = work.count() / 2;
    int32_t count = 0;
    int code = sxnovo(node, created, ITRNOE, work.slice(1, half), work.slice(half + 1, half), count);
    if (code != kOk) {
        return traced(code, "R", "APPEL SXNOVO : CALCUL DES VOISINS");
    }
    // 2. none
    if (count == 0) {
        return traced(kDataError, "R", "PAS DE NOEUD VOISIN!");
    }
    // 3. the inverse-distance mean
    if ((code = sutsno(node, work.slice(half + 1, count), COORD, nodeSizes, coincident, size)) != kOk) {
        return traced(code, "R", "APPEL SUTSNO : CALCUL DE LA TS");
    }
    return kOk;
}

int sxnovo(int32_t node, int32_t created, Rows<const int32_t> ITRNOE, Vec<int32_t> raw, Vec<int32_t> neighbours,
           int32_t& count)
{
    count = 0;
    if (created < 0 || created > ITRNOE.count()) {
        return kDataError;
    }
    int32_t listed = 0;
    for (int32_t t = 1; t <= created; ++t) {
        for (int32_t j = 1, n = strnbn(ITRNOE.row(t), ITRNOE.width()); j <= n; ++j) {
            if (ITRNOE(t, j) == node) {
                continue;
            }
            if (listed >= raw.count()) {
                return kCapacityError;
            }
            raw(++listed) = ITRNOE(t, j);
        }
    }
    if (listed == 0) {
        return kOk;
    }
    return tbvtab(raw.slice(1, listed), raw.slice(1, listed), neighbours, count);
}

int sutsno(int32_t node, Vec<const int32_t> neighbours, Rows<const float> COORD, Vec<const float> nodeSizes,
           float coincident, float& size)
{
    size = 0.0f;
    const int32_t ndim = COORD.width();
    if (node < 1 || node > COORD.count()) {
        return kDataError;
    }
    float weighted = 0.0f;
    float weights = 0.0f;
    for (int32_t i = 1; i <= neighbours.count(); ++i) {
        const int32_t j = neighbours(i);
        if (j < 1 || j > COORD.count() || j > nodeSizes.count()) {
            return kDataError;
        }
        float between[3] = {0.0f, 0.0f, 0.0f};
        diffve(COORD.row(j), COORD.row(node), ndim, between);
        const float d = xnorve(between, ndim);
        if (d <= coincident) {
            size = nodeSizes(j);
            return kOk;
        }
        weighted += nodeSizes(j) / d;
        weights += 1.0f / d;
    }
    size = weights > 0.0f ? weighted / weights : 0.0f;
    return kOk;
}

int ttajpo()
{
    return traced(kNotAvailable, "TTAJPO", " INSERTION EN 3D");
}

} // namespace tesmo
