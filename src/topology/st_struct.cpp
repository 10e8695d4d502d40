// Face conventions of edges and polygons, and the generic queries that dispatch solids to
// the element-type tables.
#include "topology/st_struct.hpp"

#include "messages/es_erreur.hpp"
#include "topology/st_3dstruct.hpp"
#include "topology/st_generic.hpp"

#include <utility>

namespace tesmo {

namespace {

/// Polygons: the first face shared with B, tested at each pair (i, m) first in the same
/// direction, then in the opposite one.
void polygonMatch(const int32_t* rowA, int32_t nA, const int32_t* rowB, int32_t nB, FaceMatch& match)
{
    for (int32_t i = 0; i < nA; ++i) {
        const int32_t a = rowA[i];
        const int32_t aNext = rowA[i + 1 == nA ? 0 : i + 1];
        for (int32_t m = 0; m < nB; ++m) {
            const int32_t b = rowB[m];
            const int32_t bNext = rowB[m + 1 == nB ? 0 : m + 1];
            if (a == b && aNext == bNext) {
                match = FaceMatch{-1, i + 1, m + 1};
                return;
            }
            if (a == bNext && aNext == b) {
                match = FaceMatch{1, i + 1, m + 1};
                return;
            }
        }
    }
}

/// Edges: the first common node; the orientations agree when it is not at the same end.
void edgeMatch(const int32_t* rowA, int32_t nA, const int32_t* rowB, int32_t nB, FaceMatch& match)
{
    for (int32_t i = 0; i < nA; ++i) {
        for (int32_t m = 0; m < nB; ++m) {
            if (rowA[i] == rowB[m]) {
                match = FaceMatch{i != m ? 1 : -1, i + 1, m + 1};
                return;
            }
        }
    }
}

} // namespace

int32_t strnbn(const int32_t* row, int32_t NNE)
{
    int32_t n = 0;
    while (n < NNE && row[n] != 0) {
        ++n;
    }
    return n;
}

int32_t strnbn(int32_t e, Rows<const int32_t> ITRNOE)
{
    if (e < 1 || e > ITRNOE.count()) {
        return -1;
    }
    return strnbn(ITRNOE.row(e), ITRNOE.width());
}

int strnbc(int32_t n, int32_t d, int32_t& faceCount)
{
    faceCount = 0;
    if (n < 0 || d < 1 || d > 3) {
        return traced(kDataError, "STRNBC", " DIMENSION INCORRECTE");
    }
    if (n == 0) {
        return kOk;
    }
    if (d == 3) {
        return s3nbco(n, faceCount);
    }
    faceCount = n;
    return kOk;
}

int strksf(int32_t d, int32_t n, int32_t k, LocalSet& nodes)
{
    nodes = LocalSet{};
    if (d == 3) {
        return s3sofa(n, k, nodes);
    }
    if ((d != 1 && d != 2) || k < 1 || k > n) {
        return traced(kDataError, "STRKSF", " NUMERO DE FACE INCORRECT");
    }
    nodes.item[nodes.count++] = k;
    if (d == 2) {
        nodes.item[nodes.count++] = k % n + 1;
    }
    return kOk;
}

int strkfs(int32_t d, int32_t k, int32_t n, LocalSet& faces)
{
    faces = LocalSet{};
    if (d == 3) {
        return s3faso(n, k, faces);
    }
    if ((d != 1 && d != 2) || k < 1 || k > n) {
        return traced(kDataError, "STRKFS", " NUMERO DE NOEUD INCORRECT");
    }
    if (d == 2) {
        faces.item[faces.count++] = k == 1 ? n : k - 1;
    }
    faces.item[faces.count++] = k;
    return kOk;
}

int32_t stfasu(int32_t d, int32_t n, int32_t k, int32_t l)
{
    if (d == 2 && n >= 1 && k >= 1 && k <= n) {
        return (n + k - 2) % n + 1;
    }
    if (d == 3 && n == 4 && k >= 1 && k <= 4 && l >= 1 && l <= 4) {
        return tetEdgeFace(k, l);
    }
    return -1;
}

int tnofrt(int32_t d, Rows<const int32_t> ITRNOE, int32_t e, int32_t k, LocalSet& nodes)
{
    nodes = LocalSet{};
    const int32_t n = strnbn(e, ITRNOE);
    if (n < 0) {
        return traced(kDataError, "TNOFRT", " NUMERO D ELEMENT INCORRECT");
    }
    LocalSet local;
    const int code = strksf(d, n, k < 0 ? -k : k, local);
    if (code != kOk) {
        return traced(code, "TNOFRT", " APPEL STRKSF");
    }
    for (int32_t i = 1; i <= local.count; ++i) {
        nodes.item[nodes.count++] = ITRNOE(e, local(i));
    }
    return kOk;
}

int sfaide(const int32_t* rowA, int32_t nA, const int32_t* rowB, int32_t nB, int32_t d, FaceMatch& match)
{
    match = FaceMatch{};
    switch (d) {
    case 1:
        edgeMatch(rowA, nA, rowB, nB, match);
        return kOk;
    case 2:
        polygonMatch(rowA, nA, rowB, nB, match);
        return kOk;
    case 3:
        return s3faid(rowA, nA, rowB, nB, match);
    default:
        return traced(kDataError, "SFAIDE", " DIMENSION INCORRECTE");
    }
}

int sinvor(int32_t n, int32_t d, int32_t* nodes, int32_t* neighbours)
{
    switch (d) {
    case 1:
        // an edge of one node has no direction to reverse
        if (n >= 2) {
            std::swap(nodes[0], nodes[1]);
            if (neighbours != nullptr) {
                std::swap(neighbours[0], neighbours[1]);
            }
        }
        return kOk;
    case 2:
        // node 1 stays first; face k becomes face n + 1 - k
        if (n >= 2) {
            std::swap(nodes[1], nodes[n - 1]);
        }
        if (neighbours != nullptr) {
            for (int32_t i = 0, j = n - 1; i < j; ++i, --j) {
                std::swap(neighbours[i], neighbours[j]);
            }
        }
        return kOk;
    case 3:
        if (n != 4) {
            return traced(kNotAvailable, "SINVOR", " TETRAEDRE SEULEMENT");
        }
        std::swap(nodes[1], nodes[2]);
        if (neighbours != nullptr) {
            std::swap(neighbours[1], neighbours[2]);
        }
        return kOk;
    default:
        return traced(kDataError, "SINVOR", " DIMENSION INCORRECTE");
    }
}

int32_t positionOf(Rows<const int32_t> ITRNOE, int32_t e, int32_t v)
{
    for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
        if (ITRNOE(e, i) == v) {
            return i;
        }
    }
    return 0;
}

} // namespace tesmo
