// Delaunay triangulation of points in the plane by insertion. The points are normalised into
// [-1, 1] x [-1, 1]; a regular polygon of 50 vertices and radius 4 encloses them, fanned
// about point 1:
//
//            J+2 ____ J+1
//              /\    /\              element i = (1, J+i, J+i+1):
//             /  \ 2/  \             face 1 on element i-1, face 2 on the polygon side
//        J+3 /_3__\/_1__\ J+50       (outer), face 3 on element i+1
//            \    /1\   /
//             \  /   \ /
//              ...
//
// Points 2..J are inserted one by one (trajpo); a point refused is tried again in later
// passes, since the mesh changes meanwhile. Finally every element holding a polygon vertex
// is deleted, walking about each vertex from the outer boundary inwards, which leaves the
// triangulation of the points alone.
#include "triangulation/d2_delaunay.hpp"

#include "shell/es_erreur.hpp"
#include "topology/st_2dstruct.hpp"
#include "topology/st_numero.hpp"
#include "topology/st_topologie.hpp"
#include "triangulation/d2_sph2d.hpp"
#include "triangulation/m2_point.hpp"
#include "triangulation/m2_triangule.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

namespace tesmo {

namespace {

constexpr std::string_view kRoutine = "TRNUPO";

/// Step 5: inserts the points listed in work(1..pending), pass after pass. `stuck` tells
/// that points were left out after the fruitless passes. Returns 0 or a negative code of the
/// insertion.
[[nodiscard]] int insertPoints(int32_t pending, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
                               int32_t& NBE, Rows<const float> normalised, Rows<float> spheres, Vec<int32_t> list,
                               Vec<int32_t> insertionWork, bool& stuck)
{
    stuck = false;
    int32_t fruitless = 0;
    while (pending > 0) {
        int32_t rejected = 0;
        for (int32_t i = 1; i <= pending; ++i) {
            const int32_t point = list(i);
            int32_t created = 0;
            const int code = trajpo(point, 0, ITRNOE, ITRTRI, NOETRI, NBE, normalised, spheres, insertionWork,
                                    kAreaTolerance, 0.0f, created);
            if (code < 0) {
                return traced(code, kRoutine, "APPEL TRAJPO");
            }
            if (code != kOk) {
                list(++rejected) = point; // refused points keep their order
            }
        }
        fruitless = rejected < pending ? 0 : fruitless + 1;
        pending = rejected;
        if (pending > 0 && fruitless >= kFruitlessPasses) {
            (void)traced(kDataError, kRoutine, "BOUCLE REJET");
            stuck = true;
            return kOk;
        }
    }
    return kOk;
}

/// Step 6: deletes every element holding a polygon vertex J+1..J+n, each found by a walk
/// about the vertex to the outer boundary and exchanged with the last element first.
[[nodiscard]] int removePolygon(int32_t J, int32_t vertexCount, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI,
                                Vec<int32_t> NOETRI, int32_t& NBE)
{
    for (int32_t vertex = J + 1; vertex <= J + vertexCount; ++vertex) {
        int32_t lostCount = 0;
        while (lostCount == 0) {
            int32_t element = 0;
            int32_t face = 0;
            int code = sesfr2(vertex, 2, ITRNOE, ITRTRI, NOETRI, NBE, element, face);
            if (code != kOk) {
                return traced(code, kRoutine, "DESTRUCTION FINALE");
            }
            if (element == 0) {
                break; // no element left about this vertex
            }
            if (ITRTRI(element, face) != 0) {
                return traced(kDataError, kRoutine, "DESTRUCTION FINALE");
            }
            if ((code = nuperm(ITRNOE, ITRTRI, NOETRI, 1, NBE, element, NBE)) != kOk) {
                return traced(code, kRoutine, "APPEL NUPERM");
            }
            int32_t lost[3] = {};
            if ((code = smadet(2, ITRNOE, ITRTRI, NBE, NOETRI, 1, NBE, Vec<int32_t>(lost, 3), lostCount)) != kOk) {
                return traced(code, kRoutine, "APPEL SMADET");
            }
            --NBE;
        }
    }
    return kOk;
}

/// Step 7: NOETRI rebuilt from the elements in order (the last element wins); every node
/// must be one of the points 1..J.
[[nodiscard]] int rebuildNodeElements(int32_t J, int32_t nodeCount, Rows<const int32_t> ITRNOE, Vec<int32_t> NOETRI,
                                      int32_t NBE)
{
    for (int32_t v = 1; v <= nodeCount; ++v) {
        NOETRI(v) = 0;
    }
    for (int32_t e = 1; e <= NBE; ++e) {
        for (int32_t i = 1, n = strnbn(ITRNOE.row(e), ITRNOE.width()); i <= n; ++i) {
            const int32_t v = ITRNOE(e, i);
            if (v < 1 || v > J) {
                return traced(kDataError, kRoutine, "STRUCTURE NON CORRECTE");
            }
            NOETRI(v) = e;
        }
    }
    return kOk;
}

} // namespace

int t2isp(int32_t J, int32_t vertexCount, float radius, Rows<float> normalised, Rows<int32_t> ITRNOE,
          Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI, int32_t& NBE)
{
    NBE = 0;
    if (vertexCount < 3) {
        return traced(kDataError, "T2ISP", "IL FAUT 3 POINTS");
    }
    if (J < 1 || ITRNOE.width() < 3 || ITRTRI.width() < 3 || normalised.width() < 2) {
        return kDataError;
    }
    if (int64_t(J) + vertexCount > normalised.count() || int64_t(J) + vertexCount > NOETRI.count() ||
        vertexCount > ITRNOE.count() || vertexCount > ITRTRI.count()) {
        return kCapacityError;
    }
    // the vertices, counter-clockwise
    const float step = kFullTurn / float(vertexCount);
    for (int32_t i = 0; i < vertexCount; ++i) {
        const float angle = float(i) * step;
        normalised(J + 1 + i, 1) = radius * std::cos(angle);
        normalised(J + 1 + i, 2) = radius * std::sin(angle);
    }
    // the fan about point 1
    for (int32_t i = 1; i <= vertexCount; ++i) {
        const int32_t next = i == vertexCount ? 1 : i + 1;
        const int32_t row[3] = {1, J + i, J + next};
        const int32_t across[3] = {i == 1 ? vertexCount : i - 1, 0, next};
        for (int32_t j = 1; j <= ITRNOE.width(); ++j) {
            ITRNOE(i, j) = j <= 3 ? row[j - 1] : 0;
        }
        for (int32_t j = 1; j <= ITRTRI.width(); ++j) {
            ITRTRI(i, j) = j <= 3 ? across[j - 1] : 0;
        }
        NOETRI(J + i) = i;
    }
    NOETRI(1) = 1;
    NBE = vertexCount;
    return kOk;
}

int trnupo(Rows<const float> COORD, int32_t J, Rows<int32_t> ITRNOE, Rows<int32_t> ITRTRI, Vec<int32_t> NOETRI,
           int32_t& NBE, Vec<int32_t> work, Vec<float> realWork)
{
    NBE = 0;
    if (ITRNOE.width() <= 2 || ITRTRI.width() <= 2) {
        return traced(kDataError, kRoutine, "EN 2D SEULEMENT");
    }
    if (work.count() < kMinimumIntegerWork) {
        return traced(kCapacityError, kRoutine, "ITVL TROP PETIT");
    }
    if (J == 0) {
        return kOk;
    }
    if (J < 0 || J > COORD.count() || COORD.width() < 2) {
        return traced(kDataError, kRoutine, " DONNEES INCORRECTES");
    }
    // room: the point list and the insertion lists, the element tables, NOETRI, the reals
    if (J >= work.count() || J > (std::numeric_limits<int32_t>::max() - 2 * kPolygonVertices) / 2) {
        return traced(kCapacityError, kRoutine, "ITVL TROP PETIT");
    }
    const int32_t nodeCount = J + kPolygonVertices;
    const int32_t elementCount = int32_t(trnupoElements(J));
    if (ITRNOE.count() < elementCount || ITRTRI.count() < elementCount) {
        return traced(kCapacityError, kRoutine, " TABLEAUX TROP PETITS");
    }
    if (NOETRI.count() < nodeCount) {
        return traced(kCapacityError, kRoutine, " NOETRI TROP PETIT");
    }
    if (realWork.count() < trnupoReals(J)) {
        return traced(kCapacityError, kRoutine, " RTVL TROP PETIT");
    }
    const Rows<float> normalised(realWork.data(), 2, nodeCount);
    const Rows<float> spheres(realWork.data() + 2 * nodeCount, kSphereRecord, elementCount);
    // 1.-2. normalised points
    int code = ptinit(COORD, J, normalised);
    if (code != kOk) {
        return traced(code, kRoutine, "APPEL PTINIT");
    }
    // 3. the polygon and its fan; the points not yet inserted are in no element
    for (int32_t v = 1; v <= nodeCount; ++v) {
        NOETRI(v) = 0;
    }
    if ((code = t2isp(J, kPolygonVertices, kPolygonRadius, normalised, ITRNOE, ITRTRI, NOETRI, NBE)) != kOk) {
        return traced(code, kRoutine, "APPEL T2ISP");
    }
    // 4. their circles
    for (int32_t e = 1; e <= NBE; ++e) {
        if ((code = spcerc(ITRNOE, e, normalised, spheres)) != kOk) {
            return traced(code, kRoutine, "APPEL SPCERC");
        }
    }
    // 5. points 2..J
    Vec<int32_t> list = work.slice(1, J);
    for (int32_t i = 1; i < J; ++i) {
        list(i) = i + 1;
    }
    bool stuck = false;
    if ((code = insertPoints(J - 1, ITRNOE, ITRTRI, NOETRI, NBE, normalised, spheres, list,
                             work.slice(J + 1, work.count() - J), stuck)) != kOk) {
        return code;
    }
    // 6. the polygon goes, 7. NOETRI of the points alone
    if ((code = removePolygon(J, kPolygonVertices, ITRNOE, ITRTRI, NOETRI, NBE)) != kOk ||
        (code = rebuildNodeElements(J, nodeCount, ITRNOE, NOETRI, NBE)) != kOk) {
        return code;
    }
    // 8. points left out make the triangulation fail
    return stuck ? kDataError : kOk;
}

} // namespace tesmo
