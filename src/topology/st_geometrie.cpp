// Element measures in single precision.
//
// The area of a planar polygon is taken with the trapezoid rule relative to its lowest node,
// which keeps the terms small; areas in space and volumes come from cross products.
#include "topology/st_geometrie.hpp"

#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"

#include <cmath>

namespace tesmo {

namespace {

/// True when every node of the row is a row of the coordinate table.
bool nodesInTable(const int32_t* nodes, int32_t nodeCount, Rows<const float> COORD)
{
    for (int32_t i = 0; i < nodeCount; ++i) {
        if (nodes[i] < 1 || nodes[i] > COORD.count()) {
            return false;
        }
    }
    return true;
}

/// Euclidean length of a vector of n reals.
float length(const float* v, int32_t n)
{
    float sum = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        sum += v[i] * v[i];
    }
    return std::sqrt(sum);
}

/// Half the length of the cross product of (Q - P) and (R - Q).
float halfCross(const float* p, const float* q, const float* r, int32_t ndim)
{
    float pq[3];
    float qr[3];
    float cross[3];
    diffve(q, p, ndim, pq);
    diffve(r, q, ndim, qr);
    vectve(pq, qr, ndim, cross);
    if (ndim == 3) {
        return 0.5f * length(cross, 3);
    }
    return 0.5f * std::fabs(cross[0]);
}

} // namespace

float trsurf(const float* p, const float* q, const float* r, int32_t ndim)
{
    if (ndim != 2 && ndim != 3) {
        return 0.0f;
    }
    return halfCross(p, q, r, ndim);
}

float q4surf(const float* p, const float* q, const float* r, const float* s, int32_t ndim)
{
    if (ndim != 2 && ndim != 3) {
        return 0.0f;
    }
    return halfCross(p, q, r, ndim) + halfCross(r, s, p, ndim);
}

float ttvo(const float* p, const float* q, const float* r, const float* s)
{
    float pq[3];
    float qr[3];
    float rs[3];
    float cross[3];
    diffve(q, p, 3, pq);
    diffve(r, q, 3, qr);
    diffve(s, r, 3, rs);
    vectve(pq, qr, 3, cross);
    return scalve(cross, rs, 3) * kSixth;
}

int g2sfpl(const int32_t* nodes, int32_t nodeCount, Rows<const float> COORD, float& area)
{
    area = 0.0f;
    if (nodeCount <= 1) {
        return kOk;
    }
    if (COORD.width() < 2 || !nodesInTable(nodes, nodeCount, COORD)) {
        return traced(kDataError, "G2SFPL", "NUMERO DE NOEUD INCORRECT");
    }
    // 1. reference vertex: the lowest node, the first one on ties
    int32_t lowest = 0;
    for (int32_t i = 1; i < nodeCount; ++i) {
        if (COORD(nodes[i], 2) < COORD(nodes[lowest], 2)) {
            lowest = i;
        }
    }
    const float x0 = COORD(nodes[lowest], 1);
    const float y0 = COORD(nodes[lowest], 2);
    // 2. trapezoids under each side of the closed polygon, from the first node on
    float sum = 0.0f;
    for (int32_t i = 0; i < nodeCount; ++i) {
        const int32_t here = nodes[i];
        const int32_t next = nodes[(i + 1) % nodeCount];
        const float x = COORD(here, 1) - x0;
        const float y = COORD(here, 2) - y0;
        const float xNext = COORD(next, 1) - x0;
        const float yNext = COORD(next, 2) - y0;
        sum += (xNext - x) * (yNext + y);
    }
    area = -0.5f * sum;
    return kOk;
}

int gtaill(const int32_t* nodes, int32_t nodeCount, int32_t elementDim, Rows<const float> COORD, float& measure)
{
    measure = 0.0f;
    const int32_t ndim = COORD.width();
    if (elementDim < 1 || elementDim > 3) {
        return kOk;
    }
    if (nodeCount < 0 || !nodesInTable(nodes, nodeCount, COORD)) {
        return traced(kDataError, "GTAILL", "NUMERO DE NOEUD INCORRECT");
    }
    if (elementDim == 1) {
        if (nodeCount < 2) {
            return traced(kDataError, "GTAILL", "ARETE SANS SECOND NOEUD");
        }
        float sum = 0.0f;
        for (int32_t k = 1; k <= ndim; ++k) {
            const float delta = COORD(nodes[1], k) - COORD(nodes[0], k);
            sum += delta * delta;
        }
        measure = std::sqrt(sum);
        return kOk;
    }
    if (elementDim == 2) {
        if (ndim == 2) {
            return g2sfpl(nodes, nodeCount, COORD, measure);
        }
        if (ndim == 3 && nodeCount == 3) {
            measure = trsurf(COORD.row(nodes[0]), COORD.row(nodes[1]), COORD.row(nodes[2]), 3);
            return kOk;
        }
        if (ndim == 3 && nodeCount == 4) {
            measure = q4surf(COORD.row(nodes[0]), COORD.row(nodes[1]), COORD.row(nodes[2]), COORD.row(nodes[3]), 3);
            return kOk;
        }
        return traced(kDataError, "GTAILL", "UN POLYGONE DANS L ESPACE");
    }
    if (nodeCount != 4) {
        return traced(kNotAvailable, "GTAILL", "VOLUME DE L HEXA, DU PRISME? ");
    }
    if (ndim != 3) {
        return traced(kDataError, "GTAILL", "UN VOLUME HORS DE L ESPACE");
    }
    measure = ttvo(COORD.row(nodes[0]), COORD.row(nodes[1]), COORD.row(nodes[2]), COORD.row(nodes[3]));
    return kOk;
}

int gbaryc(const int32_t* nodes, int32_t nodeCount, Rows<const float> COORD, Vec<float> centre)
{
    const int32_t ndim = COORD.width();
    if (centre.count() < ndim) {
        return traced(kCapacityError, "GBARYC", "CENTRE TROP PETIT");
    }
    for (int32_t k = 1; k <= ndim; ++k) {
        centre(k) = 0.0f;
    }
    if (nodeCount <= 0) {
        return kDataError;
    }
    if (!nodesInTable(nodes, nodeCount, COORD)) {
        return traced(kDataError, "GBARYC", "NUMERO DE NOEUD INCORRECT");
    }
    for (int32_t i = 0; i < nodeCount; ++i) {
        for (int32_t k = 1; k <= ndim; ++k) {
            centre(k) += COORD(nodes[i], k);
        }
    }
    const float count = static_cast<float>(nodeCount);
    for (int32_t k = 1; k <= ndim; ++k) {
        centre(k) /= count;
    }
    return kOk;
}

int32_t gorien(const int32_t* nodes, int32_t nodeCount, int32_t elementDim, Rows<const float> COORD, float reference)
{
    float measure = 0.0f;
    const int code = gtaill(nodes, nodeCount, elementDim, COORD, measure);
    if (code != kOk) {
        mgerre(kConsoleDevice, code, "GORIEN", "APPEL GTAILL");
        return 0;
    }
    if (measure < reference) {
        return -1;
    }
    if (measure > reference) {
        return 1;
    }
    return 0;
}

} // namespace tesmo
