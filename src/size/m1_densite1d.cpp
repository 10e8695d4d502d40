// Size concentrations along border edges.
#include "size/m1_densite1d.hpp"

#include "geometry/cg_distance.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/cg_suite.hpp"

namespace tesmo {

namespace {

constexpr const char* kModule = "M1";
/// Break points of the distance along one edge, at most.
constexpr int32_t kMostBreaks = 3;

/// The progression size at point p: the distance to the object, then `scsupo`.
int sizeAt(const float* p, int32_t ndim, int32_t type, float size, float step, int32_t objectType,
           const float* object, float& wanted)
{
    float distance = 0.0f;
    const int code = dipoob(ndim, p, objectType, object, distance);
    if (code != kOk) {
        return code;
    }
    wanted = scsupo(type, size, step, distance);
    return kOk;
}

} // namespace

int32_t concentrationReals(int32_t objectType, int32_t ndim)
{
    return kConcentrationHead + (objectType == kObjectPoint ? 1 : 2) * ndim;
}

int d1isui(int32_t element, Rows<const int32_t> elementNodes, Rows<const int32_t> /*neighbours*/,
           Rows<const float> coordinates, Rows<float> perElement, Vec<const int32_t> densityIntegers,
           Vec<const float> densityReals, float& ratio, float& wanted)
{
    constexpr const char* kRoutine = "D1ISUI";
    const int32_t ndim = coordinates.width();
    if (element < 1 || element > elementNodes.count() || elementNodes.width() < 2 || ndim < 1 || ndim > 3 ||
        densityIntegers.count() < 2 || densityReals.count() < concentrationReals(densityIntegers(2), ndim)) {
        return traced(kDataError, kRoutine, "APPEL D1SUI");
    }
    const int32_t a = elementNodes(element, 1);
    const int32_t b = elementNodes(element, 2);
    if (a < 1 || b < 1 || a > coordinates.count() || b > coordinates.count()) {
        return traced(kDataError, kRoutine, "APPEL D1SUI");
    }
    // the size wanted at the midpoint
    const float* A = coordinates.row(a);
    const float* B = coordinates.row(b);
    float middle[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t k = 0; k < ndim; ++k) {
        middle[k] = 0.5f * (A[k] + B[k]);
    }
    float h = 0.0f;
    if (sizeAt(middle, ndim, densityIntegers(1), densityReals(2), densityReals(1), densityIntegers(2),
               densityReals.data() + kConcentrationHead, h) != kOk) {
        (void)traced(kDataError, kModule, "DANS D1SUI");
        return traced(kDataError, kRoutine, "APPEL D1SUI");
    }
    if (!(h > 0.0f)) {
        return traced(kDataError, kRoutine, "TAILLE SOUHAITEE NEGATIVE");
    }
    // the edge's length, from the table when it holds one
    const bool table = perElement.width() > 0 && element <= perElement.count();
    float length = table ? perElement(element, 1) : 0.0f;
    if (length <= 0.0f) {
        float v[3] = {0.0f, 0.0f, 0.0f};
        diffve(B, A, ndim, v);
        length = xnorve(v, ndim);
        if (table) {
            perElement(element, 1) = length;
        }
    }
    if (nullSize(length)) {
        (void)traced(kDataError, "D1SUI", "SEGMENT NUL");
        return traced(kDataError, kRoutine, "APPEL D1SUI");
    }
    ratio = h / length;
    wanted = h;
    return kOk;
}

int d1sum(const float* a, const float* b, int32_t type, float size, float step, int32_t objectType,
          const float* object, Rows<float> X, int32_t& n)
{
    n = 0;
    const int32_t ndim = X.width();
    float sizeA = 0.0f;
    float sizeB = 0.0f;
    int code = sizeAt(a, ndim, type, size, step, objectType, object, sizeA);
    if (code == kOk) {
        code = sizeAt(b, ndim, type, size, step, objectType, object, sizeB);
    }
    if (code != kOk) {
        return traced(code, kModule, "DANS D1SUM");
    }
    if (!(sizeB > 0.0f) || !(sizeA > 0.0f)) {
        return traced(kDataError, kModule, "DANS D1SUM : TAILLE SOUHAITE NEGATIVE OU NULLE");
    }
    code = posum(a, b, sizeA, sizeB, type, X, n);
    if (code != kOk) {
        return traced(code, kModule, "DANS D1SUM");
    }
    return kOk;
}

int d1su2(const float* a, const float* b, int32_t type, float size, float step, int32_t objectType,
          const float* object, Rows<float> X, int32_t& n)
{
    n = 0;
    const int32_t ndim = X.width();
    // 1. the break points
    float points[kMostBreaks * 3] = {};
    const Rows<float> breaks(points, ndim, kMostBreaks);
    int32_t count = 0;
    int code = dimono(a, b, ndim, objectType, object, breaks, count);
    if (code != kOk) {
        return traced(code, "D1SU", "DANS D1SU");
    }
    if (count == 0) {
        return d1sum(a, b, type, size, step, objectType, object, X, n);
    }
    // 2. the sizes at the break points and at both ends
    float sizes[kMostBreaks] = {};
    float sizeA = 0.0f;
    float sizeB = 0.0f;
    for (int32_t j = 1; j <= count && code == kOk; ++j) {
        code = sizeAt(breaks.row(j), ndim, type, size, step, objectType, object, sizes[j - 1]);
    }
    if (code == kOk) {
        code = sizeAt(a, ndim, type, size, step, objectType, object, sizeA);
    }
    if (code == kOk) {
        code = sizeAt(b, ndim, type, size, step, objectType, object, sizeB);
    }
    if (code != kOk) {
        return traced(code, "D1SU", "DANS D1SU");
    }
    if (!(sizeA > 0.0f) || !(sizeB > 0.0f)) {
        return traced(kDataError, "D1SU2", "TAILLE SOUHAITE NEGATIVE OU NULLE");
    }
    // 3. the pieces between them
    code = posunm2(a, Rows<const float>(points, ndim, count), b, sizeA, sizes, sizeB, type, X, n);
    if (code != kOk) {
        return traced(code, "D1SU", "DANS D1SU");
    }
    return kOk;
}

} // namespace tesmo
