// The plane frame of a zone in space.
//
// The plane comes from `plmcar`; its coefficients are cleaned of rounding noise; `m33dpn`
// completes the normal n into a right-handed orthonormal basis [u v n]; its inverse (the
// transpose, since the basis is orthonormal) is the frame matrix A, whose rows are u, v, n.
#include "geometry/cg_repere.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_plan.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "support/codes.hpp"

#include <cmath>

namespace tesmo {

namespace {

/// Largest number of plane coordinates a frame gives (the rows of A).
constexpr int32_t kFrameRows = 3;

/// True when a plane coefficient is rounding noise beside `unit` (1 for the normal, the largest
/// coordinate for the last coefficient).
bool isNoise(float coefficient, float unit) { return std::fabs(coefficient) < kPlaneCoefficientZero * unit; }

/// Row i of plane2d = the first w entries of A (p - O).
void project(const float* frame, const float* origin, const float* p, float* row, int32_t w)
{
    float x[3];
    diffve(p, origin, 3, x);
    for (int32_t j = 1; j <= w; ++j) {
        float sum = 0.0f;
        for (int32_t k = 1; k <= 3; ++k) {
            sum += frame[m33at(j, k)] * x[k - 1];
        }
        row[j - 1] = sum;
    }
}

/// a = a / s, component by component.
void divide(float* a, float s)
{
    for (int32_t k = 0; k < 3; ++k) {
        a[k] = a[k] / s;
    }
}

} // namespace

int rppncr(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t last, Rows<const float> points,
           float* origin, float* frame, Rows<float> plane2d)
{
    // 1. plane through the points
    float plane[4];
    if (const int code = plmcar(nodes, m, first, last, points, plane); code != kOk) {
        return traced(code, "RPPNCR", "APPEL PLMCAR");
    }
    const int32_t count = selectionCount(m, first, last);
    const int32_t w = plane2d.width();
    if (w > kFrameRows) {
        return traced(kDataError, "RPPNCR", " DIMENSION DE SORTIE > 3");
    }
    if (w >= 1 && plane2d.count() < count) {
        return traced(kCapacityError, "RPPNCR", " TABLEAU DES COORDONNEES 2D TROP PETIT");
    }
    float largest = 0.0f;
    for (int32_t i = 1; i <= count; ++i) {
        largest = std::fmax(largest, xmaxve(points.row(selectedNode(nodes, m, first, i)), 3));
    }
    for (int32_t k = 0; k < 4; ++k) {
        if (isNoise(plane[k], k < 3 ? 1.0f : largest)) {
            plane[k] = 0.0f;
        }
    }
    // 2. orthonormal basis [u v n] and its inverse
    float basis[9];
    if (const int code = m33dpn(plane, basis + m33at(1, 1), basis + m33at(1, 2), basis + m33at(1, 3)); code != kOk) {
        return traced(code, "RPPNCR", "APPEL M33DPN");
    }
    if (const int code = m33inv(basis, frame); code != kOk) {
        return traced(code, "RPPNCR", "APPEL M33INV");
    }
    // 3. origin on the plane
    if (const int code = podupn(plane, origin); code != kOk) {
        return traced(code, "RPPNCR", "APPEL PODUPN");
    }
    // 4. plane coordinates of the selected points
    if (w >= 1) {
        for (int32_t i = 1; i <= count; ++i) {
            project(frame, origin, points.row(selectedNode(nodes, m, first, i)), plane2d.row(i), w);
        }
    }
    return kOk;
}

int m33dpn(const float* plane, float* u, float* v, float* n)
{
    const float tiny = epsTiny();
    // 1. u in the plane
    vedupn(plane, u);
    const float lengthU = xnorve(u, 3);
    if (lengthU < tiny) {
        return traced(kDataError, "M33DPN ", "PLAN NUL !!!");
    }
    divide(u, lengthU);
    // 2. v = n x u
    vectve(plane, u, 3, v);
    const float lengthV = xnorve(v, 3);
    if (lengthV < tiny) {
        return traced(kDataError, "M33DPN ", "BUG !!!");
    }
    divide(v, lengthV);
    // 3. the normal itself
    copive(plane, 3, n);
    return kOk;
}

void vedupn(const float* normal, float* u)
{
    const float tiny = epsTiny();
    int32_t zero = 1;
    for (int32_t i = 1; i <= 3; ++i) {
        if (std::fabs(normal[i - 1]) <= tiny) {
            zero = i;
        }
    }
    const float a = normal[0];
    const float b = normal[1];
    const float c = normal[2];
    if (zero == 2) {
        u[0] = -c;
        u[1] = 0.0f;
        u[2] = a;
    } else if (zero == 3) {
        u[0] = b;
        u[1] = -a;
        u[2] = 0.0f;
    } else {
        u[0] = 0.0f;
        u[1] = c;
        u[2] = -b;
    }
}

} // namespace tesmo
