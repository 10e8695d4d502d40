// Size concentrations over triangles.
#include "size/m4_densite2d.hpp"

#include "geometry/cg_distance.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/cg_suite.hpp"
#include "size/m1_densite1d.hpp"
#include "topology/st_struct.hpp"

namespace tesmo {

int d2isui(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> /*neighbours*/,
           Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
           Vec<const float> densityReals, float& ratio, float& wanted)
{
    constexpr const char* kRoutine = "D2ISUI";
    const int32_t ndim = coordinates.width();
    if (element < 1 || element > elementNodes.count() || element > perElement.count() || ndim < 2 || ndim > 3 ||
        perElement.width() < ndim || densityIntegers.count() < 2 ||
        densityReals.count() < concentrationReals(densityIntegers(2), ndim)) {
        return traced(kDataError, kRoutine, "ELEMENT INCORRECT");
    }
    const int32_t* nodes = elementNodes.row(element);
    const int32_t count = strnbn(nodes, elementNodes.width());
    if (count < 1 || nodes[count - 1] < 1 || nodes[count - 1] > coordinates.count()) {
        return traced(kDataError, kRoutine, "ELEMENT INCORRECT");
    }
    // the circumcentre: the last node plus half the circle vector
    const float* last = coordinates.row(nodes[count - 1]);
    const float* circle = perElement.row(element);
    float centre[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t k = 0; k < ndim; ++k) {
        centre[k] = last[k] + 0.5f * circle[k];
    }
    float distance = 0.0f;
    if (dipoob(ndim, centre, densityIntegers(2), densityReals.data() + kConcentrationHead, distance) != kOk) {
        return traced(kDataError, kRoutine, "APPEL DIPOOB");
    }
    const float h = scsupo(densityIntegers(1), densityReals(2), densityReals(1), distance);
    if (!(h > 0.0f)) {
        return traced(kDataError, kRoutine, "TAILLE SOUHAITEE NEGATIVE");
    }
    const float radius = 0.5f * xnorve(circle, ndim);
    if (nullSize(radius)) {
        return traced(kDataError, kRoutine, "DIAMETRE NUL");
    }
    ratio = h * kEquilateralRadius / radius;
    wanted = h;
    return kOk;
}

} // namespace tesmo
