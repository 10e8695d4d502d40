#pragma once
// Well-shaped triangles on request: the interior refinement with a shape test beside the size
// test, off-centre insertion points, border edges split where a candidate comes too close to
// them, and an optional smoothing of the interior nodes. Reached only through a request that
// the console program never makes.
#include "refinement/rf_raf3d.hpp"
#include "size/rf_densdef.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Largest bound (degrees) on the smallest angle that the shape test accepts: up to it the
/// off-centre refinement is known to end on the domains it is meant for.
inline constexpr float kLargestAngleBound = 33.5f;
/// The smallest angle (degrees) that the default size already asks for: a shortest edge over
/// circumradius of 2/3 is 2 sin(angle).
inline constexpr float kDefaultSizeAngle = 19.4712206f;

/// What the caller asks of the refinement beyond the size specification. With nothing asked,
/// the zones are refined by the size specification alone (rfraff).
struct QualityRequest {
    float minAngle = 0.0f;  ///< bound on the smallest angle of every triangle, degrees; 0: none
    float maxArea = 0.0f;   ///< largest area of a triangle, in the units of the zone; 0: none
    int32_t smoothing = 0;  ///< passes of smoothing of the interior nodes; 0: none
    /// True when anything is asked.
    bool wanted() const { return minAngle > 0.0f || maxArea > 0.0f || smoothing > 0; }
};

/// The borders of one zone that other zones share, and the splits the refinement makes on
/// them, so that the other zones can take the same nodes.
struct QualityBorders {
    Vec<const int32_t> shared; ///< one entry per border node of the zone: non-zero on a border another zone shares
    bool splitShared = true;   ///< false: the shared border edges are never split
    Rows<int32_t> splits;      ///< rows (a, b, m): the shared border edge a b split at the new node m
    int32_t splitCount = 0;    ///< rows of `splits` written
};

/// Told now and then how many nodes a refinement has reached, for a progress line.
struct ProgressHook {
    void (*tell)(void* context, int32_t nodes) = nullptr;
    void* context = nullptr;
    void operator()(int32_t nodes) const
    {
        if (tell != nullptr) {
            tell(context, nodes);
        }
    }
};

/// Refines `mesh` (a zone in the plane: its first nodes are its border nodes, its border edges
/// marked in ITRTRI) until no triangle fails the size test of the refinement mode (as rfraff:
/// 1 default size, 2 the concentrations of `density` with `sizeFunction`, 3 the sizes at the
/// nodes, `density.reals`, NMAX entries), the largest area, or the shape test (smallest angle
/// at least `request.minAngle`, at least 19.47 degrees in mode 1). Triangles whose small angle
/// the borders impose are left. Then `request.smoothing` passes of smoothing. `work` and
/// `realWork` are the free areas. Returns 0; +1 node cap reached; +2 element tables full (the
/// mesh is valid in both cases); -1 bad data or a failing size function; -2 a work area or the
/// split table of `borders` too small; -3 in space.
[[nodiscard]] int rfqual(int32_t mode, RefinementMesh& mesh, SizeFunction sizeFunction, const DensityRecords& density,
                         const QualityRequest& request, QualityBorders& borders, Vec<int32_t> work, Vec<float> realWork,
                         const ProgressHook& progress = ProgressHook{});

/// Moves each node after the first `fixed` whose triangles close around it with no border
/// edge at it, `passes` times, toward the mean of its neighbours, wherever the move keeps every
/// triangle about it counter-clockwise and does not lower the smallest angle among them; after
/// each pass the edges that are not borders are exchanged until every pair of triangles is
/// Delaunay. `moved` counts the moves. Returns 0; -1 for an inconsistent structure.
[[nodiscard]] int smoothNodes(RefinementMesh& mesh, int32_t fixed, int32_t passes, int32_t& moved);

/// The smallest angle of element e, in degrees (double precision: the angle of a thin
/// triangle is decided by a difference that single precision loses).
double smallestAngle(Rows<const int32_t> ITRNOE, int32_t e, Rows<const float> COORD);

} // namespace tesmo
