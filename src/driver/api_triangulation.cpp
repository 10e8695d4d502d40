// The zone stages.
//
// A zone arrives as its border nodes (local numbers 1..nz, coordinates in ICOOM) and its border
// edges (IARMA, local node pairs). A zone given in space is first mapped into the plane that
// fits its border nodes; everything after works in 2D:
//
//     border nodes --Delaunay--> triangulation of their convex hull
//                  --recovery--> every border edge is an edge of the triangulation
//                  --removal---> only the triangles inside the borders remain
//                  --marking---> border edges marked in ITRTRI
//                  --refinement> interior nodes where the size specification asks for them
//
// and the nodes the refinement created are mapped back into space (border nodes keep the
// coordinates they were read with).
#include "driver/api_triangulation.hpp"

#include "driver/api_raffine.hpp"

#include "geometry/cg_predicat.hpp"
#include "geometry/cg_repere.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "driver/st_memoire.hpp"
#include "messages/es_erreur.hpp"
#include "topology/topology.hpp"
#include "triangulation/triangulation.hpp"

namespace tesmo {

namespace {

/// The triangulation works in the plane.
constexpr int32_t kPlaneDimension = 2;

/// `mgtria`, then the refinement, on plane coordinates. `triangulated` receives the node
/// count left by `mgtria` (the nodes after it are the refinement's).
int stagesInPlane(Rows<int32_t> IARMA, int32_t nz, ZoneElements& zone, Rows<float> plane, Vec<float> IGRDMX,
                  SizeSpecification& sizes, int32_t room, Vec<int32_t> freeIntegers, Vec<float> freeReals,
                  int32_t& triangulated, WorkShortage* shortage, RunExtensions* extensions)
{
    // 1. triangulation with the borders restored, the outside removed and the borders marked
    int code = mgtria(IARMA, 1, IARMA.count(), plane, nz, zone, freeIntegers, freeReals, shortage);
    if (code != kOk) {
        return traced(code, "MGTRAF", "APPEL MGTRIA");
    }
    triangulated = zone.nodes;
    // 2. interior nodes, and the sizes at the zone's nodes
    code = mgraft(zone, room, plane, IGRDMX, sizes, freeIntegers, freeReals, extensions);
    if (code < kOk) {
        return traced(code, "MGTRAF", "APPEL MGRAFT");
    }
    return code;
}

/// True when every triangle of the zone turns counter-clockwise in its coordinates (exact).
bool counterClockwise(const ZoneElements& zone, Rows<const float> coordinates)
{
    for (int32_t e = 1; e <= zone.NBE; ++e) {
        const float* p1 = coordinates.row(zone.ITRNOE(e, 1));
        const float* p2 = coordinates.row(zone.ITRNOE(e, 2));
        const float* p3 = coordinates.row(zone.ITRNOE(e, 3));
        if (orientation(p1, p2, p3) <= 0) {
            return false;
        }
    }
    return true;
}

/// Steps 2 to 6 of the triangulation stage, with the written Delaunay triangulation (trnupo)
/// or the exact one (trnupx). `exactAgain` tells that a failure may not come from the data:
/// a clockwise triangle left in the zone by the written triangulation, or a border edge not
/// restored or an outside not removed after a written triangulation that had a triangle
/// clockwise or flat in the zone's coordinates. Returns 0 or the code of the failing step.
int triangulateZone(bool exact, Rows<int32_t> edges, int32_t first, int32_t last, Rows<float> coordinates,
                    ZoneElements& zone, Vec<int32_t> freeIntegers, Vec<float> freeReals, WorkShortage* shortage,
                    bool& exactAgain)
{
    exactAgain = false;
    zone.NBE = 0;
    const int32_t nz = zone.nodes;
    // 2. Delaunay triangulation of the border nodes
    int code = (exact ? trnupx : trnupo)(coordinates, nz, zone.ITRNOE, zone.ITRTRI, zone.NOETRI, zone.NBE,
                                         freeIntegers, freeReals, shortage);
    if (code != kOk) {
        (void)traced(code, "MGTRIA", " APPEL TRNUPO");
        return traced(code, "LA TRIANGULATION ", " POINTS CONFONDUS PROBABLEMENT");
    }
    // 3. no border edge: the convex hull of the nodes is the zone
    const bool turnsRight = !counterClockwise(zone, coordinates);
    if (last < first) {
        exactAgain = !exact;
        return turnsRight ? traced(kDataError, "MGTRIA", " TRIANGLE RETOURNE") : kOk;
    }
    // 4. every border edge restored; a failure is remembered and the next edge tried
    int failed = kOk;
    for (int32_t e = first; e <= last; ++e) {
        int32_t crossed = 0;
        code = rf2rar(Vec<const int32_t>(edges.row(e), edges.width()), zone.ITRNOE, zone.ITRTRI, zone.NOETRI, zone.NBE,
                      coordinates, freeIntegers, freeReals, crossed, shortage);
        if (code != kOk) {
            failed = traced(code, "MGTRIA", " APPEL RF2RAR");
        }
    }
    if (failed != kOk) {
        exactAgain = !exact && turnsRight && failed != kCapacityError;
        return traced(failed, "MGTRIA", " APPEL RF2RAR");
    }
    // 5. the triangles outside the borders removed
    int32_t regions = 0;
    const Rows<int32_t> records(edges.row(first), edges.width(), last - first + 1);
    code = sculpt(records, kPlaneDimension, zone.ITRNOE, zone.ITRTRI, zone.NOETRI, zone.NBE, freeIntegers, regions);
    if (code != kOk) {
        exactAgain = !exact && turnsRight && code != kCapacityError;
        (void)traced(code, "MGTRIA", " APPEL SCULPT");
        return traced(code, " LE DOMAINE", " FRONTIERE INCORRECTE");
    }
    if (!counterClockwise(zone, coordinates)) {
        exactAgain = !exact;
        return traced(kDataError, "MGTRIA", " TRIANGLE RETOURNE");
    }
    // 6. the border edges marked; a failure is only traced
    for (int32_t e = first; e <= last; ++e) {
        EdgeSides sides;
        code = sfricr(Vec<int32_t>(edges.row(e), edges.width()), kPlaneDimension, zone.ITRNOE, zone.ITRTRI, zone.NOETRI,
                      zone.NBE, sides);
        if (code != kOk) {
            (void)traced(code, "MGTRIA", " APPEL SFRICR");
        }
    }
    return kOk;
}

} // namespace

int mgtria(Rows<int32_t> edges, int32_t first, int32_t last, Rows<float> coordinates, int32_t nz, ZoneElements& zone,
           Vec<int32_t> freeIntegers, Vec<float> freeReals, WorkShortage* shortage)
{
    // 1. triangles of the working dimension; the nodes are the border nodes
    if (coordinates.width() != kPlaneDimension) {
        return traced(kDataError, "MGTRIA", " EN 2D SEULEMENT");
    }
    if (last >= first && (first < 1 || last > edges.count() || edges.width() < 2)) {
        return traced(kDataError, "MGTRIA", " ARETES HORS DE LA TABLE");
    }
    zone.elementDimension = kPlaneDimension;
    zone.nodes = nz;
    // 2.-6. the stage with the Delaunay triangulation as written; when it cannot restore a
    //    border or leaves a triangle that turns clockwise in the zone's coordinates (its
    //    normalised copy is rounded), once more with the exact triangulation
    bool exactAgain = false;
    int code =
        triangulateZone(false, edges, first, last, coordinates, zone, freeIntegers, freeReals, shortage, exactAgain);
    if (code != kOk && exactAgain) {
        code = triangulateZone(true, edges, first, last, coordinates, zone, freeIntegers, freeReals, shortage,
                               exactAgain);
    }
    return code;
}

int mgtraf(Rows<int32_t> IARMA, int32_t nz, ZoneElements& zone, Rows<float> ICOOM, Vec<float> IGRDMX,
           SizeSpecification& sizes, int32_t room, Vec<int32_t> freeIntegers, Vec<float> freeReals,
           int32_t /*mode*/, WorkShortage* shortage, RunExtensions* extensions)
{
    int32_t triangulated = 0;
    // 1. a zone of the plane: the stages work on its coordinates
    if (ICOOM.width() == kPlaneDimension) {
        return stagesInPlane(IARMA, nz, zone, ICOOM, IGRDMX, sizes, room, freeIntegers, freeReals, triangulated,
                             shortage, extensions);
    }
    if (ICOOM.width() != 3) {
        return traced(kDataError, "MGTRAF", " DIMENSION D ESPACE INCORRECTE");
    }
    // 2. a zone in space: plane coordinates, origin and frame at the start of the free reals
    ZoneLayout frame(Vec<int32_t>(), freeReals);
    if (frame.planeFrame(zone.noemax) != kOk) {
        if (shortage != nullptr) {
            *shortage = WorkShortage::reals;
        }
        return traced(kCapacityError, "MGTRAF", "REELS POUR LE REPERE");
    }
    const ZoneTables& local = frame.tables();
    float* origin = local.frameOrigin.data();
    float* matrix = local.frameMatrix.data();
    int code = rppncr(Vec<const int32_t>(), 0, 1, nz, ICOOM, origin, matrix, local.planeCoordinates);
    if (code != kOk) {
        return traced(code, "MGTRAF", "APPEL RPPNCR");
    }
    // 3. the stages in the plane
    const int status = stagesInPlane(IARMA, nz, zone, local.planeCoordinates, IGRDMX, sizes, room, freeIntegers,
                                     local.freeReals, triangulated, shortage, extensions);
    if (status < kOk || triangulated == 0) {
        return status;
    }
    // 4. the refinement's nodes back into space
    code = m33inv(matrix, matrix);
    if (code != kOk) {
        return traced(code, "GNRAFT", "APPEL M33INV");
    }
    code = mapToSpace(matrix, origin, local.planeCoordinates, triangulated + 1, zone.nodes, ICOOM);
    if (code != kOk) {
        return traced(code, "MGTRAF", "APPEL M33APP");
    }
    return status;
}

int mapToSpace(const float* inverse, const float* origin, Rows<const float> plane, int32_t first, int32_t last,
               Rows<float> space)
{
    if (plane.width() != kPlaneDimension || space.width() != 3) {
        return kDataError;
    }
    if (last >= first && (first < 1 || last > plane.count() || last > space.count())) {
        return kCapacityError;
    }
    for (int32_t i = first; i <= last; ++i) {
        float point[3] = {plane(i, 1), plane(i, 2), 0.0f};
        const int code = m33app(inverse, point, 3, 1, point);
        if (code != kOk) {
            return code;
        }
        sommve(point, origin, 3, space.row(i));
    }
    return kOk;
}

} // namespace tesmo
