// The wanted size at every mesh node, the shortest and longest edges of an element, and the
// size function of sizes given at the points.
#include "size/rf_densdef.hpp"

#include "files/es_densite.hpp"
#include "geometry/cg_distance.hpp"
#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/cg_suite.hpp"
#include "topology/st_struct.hpp"

#include <algorithm>
#include <cmath>

namespace tesmo {

bool nullSize(float size) { return !(size > epsTiny()); }

namespace {

constexpr const char* kRoutine = "DNCCTB";

/// The edges of element kind k as pairs of positions in its node row: 1 edge, 3 for a
/// triangle, 6 for a tetrahedron.
constexpr int32_t kEdgePairs[6][2] = {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 3}, {2, 3}};
constexpr int32_t kEdgesOfKind[4] = {0, 1, 3, 6};

/// Lengths of the edges of element kind k, each passed to `keep`; -1 for a kind out of range
/// or a node outside the coordinates.
template <class Keep>
int edgeLengths(int32_t kind, const int32_t* nodes, Rows<const float> coordinates, Keep keep)
{
    if (kind < 1 || kind > 3) {
        return kDataError;
    }
    for (int32_t k = 0; k <= kind; ++k) {
        if (nodes[k] < 1 || nodes[k] > coordinates.count()) {
            return kDataError;
        }
    }
    const int32_t ndim = coordinates.width();
    if (kind == 2 && ndim == 2) {
        // a triangle of the plane, the refinement's every call: the same sums as below, inline
        for (int32_t e = 0; e < 3; ++e) {
            const float* a = coordinates.row(nodes[kEdgePairs[e][1]]);
            const float* b = coordinates.row(nodes[kEdgePairs[e][0]]);
            const float dx = a[0] - b[0];
            const float dy = a[1] - b[1];
            keep(std::sqrt(dx * dx + dy * dy));
        }
        return kOk;
    }
    for (int32_t e = 0; e < kEdgesOfKind[kind]; ++e) {
        float v[3] = {0.0f, 0.0f, 0.0f};
        diffve(coordinates.row(nodes[kEdgePairs[e][1]]), coordinates.row(nodes[kEdgePairs[e][0]]), ndim, v);
        keep(xnorve(v, ndim));
    }
    return kOk;
}

/// Mode 2: the smallest size of all concentrations at each node.
int concentrationSizes(const DensityRecords& density, Rows<const float> coordinates, Vec<float> sizes)
{
    const int32_t ndim = coordinates.width();
    if (ndim == 3) {
        return traced(kNotAvailable, kRoutine, "N EXISTE PAS EN 3D");
    }
    for (int32_t node = 1; node <= coordinates.count(); ++node) {
        sizes(node) = kNoSize;
    }
    for (int32_t k = 1; k <= density.records; ++k) {
        const Vec<const int32_t> integers = density.integerRecord(k);
        const Vec<const float> reals = density.realRecord(k);
        if (integers.count() < 2 || reals.count() < 2) {
            return traced(kDataError, kRoutine, "CONCENTRATION INCORRECTE");
        }
        const int32_t objectPoints = integers(2) == kObjectPoint ? 1 : 2;
        if (reals.count() < 2 + objectPoints * ndim) {
            return traced(kDataError, kRoutine, "CONCENTRATION INCORRECTE");
        }
        for (int32_t node = 1; node <= coordinates.count(); ++node) {
            float distance = 0.0f;
            const int code = dipoob(ndim, coordinates.row(node), integers(2), reals.data() + 2, distance);
            if (code != kOk) {
                return traced(code, kRoutine, "APPEL DIPOOB");
            }
            sizes(node) = std::min(sizes(node), scsupo(integers(1), reals(2), reals(1), distance));
        }
    }
    return kOk;
}

/// Mode 1: at each node the shortest edge of the elements about it.
int defaultSizes(int32_t elementDimension, Rows<const int32_t> elements, Rows<const float> coordinates,
                 Vec<float> sizes)
{
    if (elementDimension < 1 || elementDimension > 3 ||
        (elements.count() > 0 && elements.width() < elementDimension + 1)) {
        return traced(kDataError, kRoutine, "ELEMENTS INCORRECTS");
    }
    for (int32_t node = 1; node <= coordinates.count(); ++node) {
        sizes(node) = kNoSize;
    }
    for (int32_t e = 1; e <= elements.count(); ++e) {
        const int32_t* nodes = elements.row(e);
        if (elementDimension == 1 && nodes[1] == 0) {
            continue; // an isolated point
        }
        float shortest = 0.0f;
        if (dnarmn(elementDimension, nodes, coordinates, shortest) != kOk) {
            return traced(kDataError, kRoutine, "ELEMENTS INCORRECTS");
        }
        if (nullSize(shortest)) {
            return traced(kDataError, kRoutine, "DENSITE NEGATIVE OU NULLE !");
        }
        for (int32_t k = 0; k <= elementDimension; ++k) {
            sizes(nodes[k]) = std::min(sizes(nodes[k]), shortest);
        }
    }
    return kOk;
}

} // namespace

Vec<const int32_t> DensityRecords::integerRecord(int32_t k) const
{
    const int64_t end = int64_t(k) * integersPerRecord;
    if (k < 1 || integersPerRecord < 1 || end > integers.count()) {
        return {};
    }
    return integers.slice(int32_t(end) - integersPerRecord + 1, integersPerRecord);
}

Vec<const float> DensityRecords::realRecord(int32_t k) const
{
    const int64_t end = int64_t(k) * realsPerRecord;
    if (k < 1 || realsPerRecord < 1 || end > reals.count()) {
        return {};
    }
    return Vec<const float>(reals).slice(int32_t(end) - realsPerRecord + 1, realsPerRecord);
}

int dnarmn(int32_t kind, const int32_t* nodes, Rows<const float> coordinates, float& length)
{
    bool first = true;
    return edgeLengths(kind, nodes, coordinates, [&](float l) {
        length = first ? l : std::min(length, l);
        first = false;
    });
}

int dnarmx(int32_t kind, const int32_t* nodes, Rows<const float> coordinates, float& length)
{
    bool first = true;
    return edgeLengths(kind, nodes, coordinates, [&](float l) {
        length = first ? l : std::max(length, l);
        first = false;
    });
}

int dnchpo(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> /*neighbours*/,
           Rows<const float> coordinates, Rows<float> /*perElement*/, Vec<const int32_t> /*densityIntegers*/,
           Vec<const float> densityReals, float& ratio, float& wanted)
{
    constexpr const char* kOwn = "DNCHPO";
    if (element < 1 || element > elementNodes.count()) {
        return traced(kDataError, kOwn, "ELEMENT INCORRECT");
    }
    const int32_t* nodes = elementNodes.row(element);
    const int32_t count = strnbn(nodes, elementNodes.width());
    if (count < 2 || count > 4) {
        return traced(kDataError, kOwn, "ELEMENT INCORRECT");
    }
    // the mean of the sizes at the nodes
    float sum = 0.0f;
    for (int32_t k = 0; k < count; ++k) {
        if (nodes[k] < 1 || nodes[k] > densityReals.count()) {
            return traced(kDataError, kOwn, "ELEMENT INCORRECT");
        }
        sum += densityReals(nodes[k]);
    }
    const float mean = sum / float(count);
    // over the longest edge
    float longest = 0.0f;
    if (dnarmx(count - 1, nodes, coordinates, longest) != kOk) {
        return traced(kDataError, kOwn, "ELEMENT INCORRECT");
    }
    if (nullSize(longest)) {
        return traced(kDataError, kOwn, "ARETE DE LONGUEUR NULLE");
    }
    if (!(mean > 0.0f)) {
        return traced(kDataError, kOwn, "TAILLE SOUHAITEE NEGATIVE");
    }
    ratio = mean / longest;
    wanted = mean;
    return kOk;
}

int dncctb(int32_t mode, int32_t elementDimension, Rows<const int32_t> elements, const DensityRecords& density,
           Rows<const float> coordinates, Vec<float> sizes)
{
    const int32_t nodes = coordinates.count();
    if (sizes.count() < nodes) {
        return traced(kCapacityError, kRoutine, "TABLEAU DES TAILLES TROP PETIT");
    }
    int code = kOk;
    if (mode == kDensityConcentrations) {
        code = concentrationSizes(density, coordinates, sizes);
    } else if (mode == kSizesAtPoints) {
        if (density.reals.count() < nodes) {
            return traced(kCapacityError, kRoutine, "TAILLES AUX POINTS TROP COURTES");
        }
        for (int32_t node = 1; node <= nodes; ++node) {
            if (nullSize(density.reals(node))) {
                return traced(kDataError, kRoutine, "DENSITE NEGATIVE OU NULLE !");
            }
            sizes(node) = density.reals(node);
        }
    } else if (mode == kRandomSizes) {
        return traced(kNotAvailable, kRoutine, "DENSITE ALEATOIRE");
    } else {
        code = defaultSizes(elementDimension, elements, coordinates, sizes);
    }
    if (code != kOk) {
        return code;
    }
    for (int32_t node = 1; node <= nodes; ++node) {
        if (nullSize(sizes(node))) {
            return traced(kDataError, kRoutine, "DENSITE NEGATIVE OU NULLE !");
        }
    }
    return kOk;
}

} // namespace tesmo
