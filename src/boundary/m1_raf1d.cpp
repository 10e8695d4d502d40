// Border nodes from default sizes.
//
//     a ---- x1 -- x2 - x3 -- M -- x5 - x6 -- x7 ---- b      sizes grow from sA at a and sB at b
//                                                            to sM at the midpoint M
#include "boundary/m1_raf1d.hpp"

#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "size/size.hpp"
#include "topology/st_geometrie.hpp"

#include <algorithm>

namespace tesmo {

namespace {

constexpr const char* kRoutine = " R1ARNO";

float lengthBetween(const float* p, const float* q, int32_t ndim)
{
    float v[3] = {0.0f, 0.0f, 0.0f};
    diffve(q, p, ndim, v);
    return xnorve(v, ndim);
}

} // namespace

int r1arno(int32_t k, int32_t type, float sA, float sB, float ratio, BorderMesh& border, Rows<float> scratch,
           int32_t& placed)
{
    placed = 0;
    // 1. the edge
    if (border.edges.width() < 2) {
        return kOk;
    }
    if (k < 1 || k > border.edgeCount) {
        return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTS R1ARNO ");
    }
    const int32_t a = border.edges(k, 1);
    const int32_t b = border.edges(k, 2);
    if (b == 0) {
        return kOk;
    }
    if (a <= 0 || b < 0 || a > border.nodeCount || b > border.nodeCount) {
        return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTS R1ARNO ");
    }
    const Rows<const float> nodes = border.nodeRows();
    const int32_t ndim = nodes.width();
    const int32_t ends[2] = {a, b};
    // 2. midpoint and half length
    float middle[3] = {0.0f, 0.0f, 0.0f};
    float length = 0.0f;
    if (gbaryc(ends, 2, nodes, Vec<float>(middle, 3)) != kOk || gtaill(ends, 2, 1, nodes, length) != kOk) {
        return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTS R1ARNO ");
    }
    const float* A = nodes.row(a);
    const float* B = nodes.row(b);
    // 3. the size reached at the midpoint from either end, no larger than either half: a larger
    //    one would leave the halves without any node even where the ends want several.
    const float half = 0.5f * length;
    const float shorterHalf = std::min(lengthBetween(A, middle, ndim), lengthBetween(middle, B, ndim));
    const float sM = std::min({scsupo(type, sA, ratio, half), scsupo(type, sB, ratio, half), shorterHalf});
    // 4. the positions
    float s1 = sA;
    float s2 = sM;
    float s3 = sB;
    int32_t count = 0;
    const int code = sM > sA && sM > sB ? posunm(A, middle, B, s1, s2, s3, type, scratch, count)
                                        : posum(A, B, s1, s3, type, scratch, count);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL POSUNM OU POSUM");
    }
    // 5. what the node and edge capacities allow
    const int64_t room = std::min<int64_t>(border.coordinates.count() - border.nodeCount,
                                           border.edges.count() - border.edgeCount);
    const int32_t fit = int32_t(std::clamp<int64_t>(room, 0, count));
    // 6. the nodes from A, each cutting the edge that runs on to B
    int32_t current = k;
    for (int32_t i = 1; i <= fit; ++i) {
        int32_t node = 0;
        bool nodeFailed = false;
        const int cut = cutAtNewNode(border, current, scratch.row(i), node, current, nodeFailed);
        if (cut != kOk) {
            return traced(cut, kRoutine, nodeFailed ? "APPEL S0AJNO" : "APPEL S1AJNO");
        }
        ++placed;
    }
    return fit < count ? kMaxNodesReached : kOk;
}

int r1no(int32_t type, float ratio, BorderMesh& border, Vec<const float> sizes, Rows<float> scratch)
{
    const int32_t m = border.edgeCount;
    if (border.edges.width() < 2) {
        return kOk;
    }
    for (int32_t k = 1; k <= m; ++k) {
        const int32_t a = border.edges(k, 1);
        const int32_t b = border.edges(k, 2);
        if (b == 0) {
            continue;
        }
        if (a < 1 || b < 1 || a > sizes.count() || b > sizes.count()) {
            return traced(kDataError, kRoutine, "EXTREMITES D ARETE INCORRECTS R1ARNO ");
        }
        int32_t placed = 0;
        const int code = r1arno(k, type, sizes(a), sizes(b), ratio, border, scratch, placed);
        if (code != kOk) {
            return code;
        }
    }
    return kOk;
}

int r1raf(int32_t type, float ratio, BorderMesh& border, Vec<float> sizeTable, Vec<int32_t> work)
{
    // 1. the sizes at the points, then room for the positions of one edge
    if (border.edges.width() < 2 || border.edgeCount == 0) {
        return kOk;
    }
    const int32_t n = border.nodeCount;
    const int32_t ndim = border.coordinates.width();
    const Vec<float> sizes = sizeTable.slice(1, std::min(n, sizeTable.count()));
    int code = d1dsln(type, ratio, border.edgeRows(), border.nodeRows(), sizes, work);
    if (code != kOk) {
        return traced(code, "R1RAF", "APPEL D1DSLN");
    }
    const int32_t left = sizeTable.count() - sizes.count();
    const Rows<float> scratch(sizeTable.data() + sizes.count(), ndim, ndim > 0 ? left / ndim : 0);
    // 2. every edge filled
    code = r1no(type, ratio, border, sizes, scratch);
    if (code < kOk) {
        return traced(code, "R1RAF", "APPEL R1NO");
    }
    return code;
}

} // namespace tesmo
