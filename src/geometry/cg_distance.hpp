#pragma once
// Distances from a point to the objects of a size concentration (point, axis, segment), and
// the break points of that distance along an edge: the places where it stops decreasing or
// changes its law, at which the edge is cut before nodes are laid by a progression.
//
// Points are runs of ndim reals; an object's reals are its defining points one after the
// other. eps = word 3 of the tolerance block (2^-23), tau = word 2 (the smallest positive
// real). A distance is 0 below eps times the largest magnitude of the coordinates it is
// computed from (their rounding), so that a geometry scaled by a power of two has its
// distances scaled and flushed alike.
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Object types of a concentration.
inline constexpr int32_t kObjectPoint = 1;   ///< a point O
inline constexpr int32_t kObjectAxis = 2;    ///< the infinite line through O1 and O2
inline constexpr int32_t kObjectSegment = 3; ///< the segment O1O2
inline constexpr int32_t kObjectPlane = 4;   ///< a plane (not available)

/// Situations of a segment object against an edge PQ, answered by `dimosg2`.
inline constexpr int32_t kSegmentNoMinimum = 0; ///< the distance has no minimum inside PQ
inline constexpr int32_t kSegmentCrossing = 1;  ///< the lines S1S2 and PQ cross inside the band
inline constexpr int32_t kSegmentFootS1 = 2;    ///< nearest to S1, at its projection
inline constexpr int32_t kSegmentFootS2 = 3;    ///< nearest to S2, at its projection
inline constexpr int32_t kSegmentParallel = 4;  ///< S1S2 parallel to PQ: only the band ends
inline constexpr int32_t kSegmentEndOn = 5;     ///< S1S2 seen end-on from PQ

/// Below this difference of the projection parameters of S1 and S2 on PQ, `dimosg2` takes the
/// segment as seen end-on (a fraction of the edge length).
inline constexpr float kEndOnTolerance = 1e-4f;

/// Distance between p and q; 0 within the rounding of p and q.
float dispp(int32_t ndim, const float* p, const float* q);
/// Distance from p to the axis through a with unit direction t (ndim 2 or 3); 0 within the
/// rounding of p and a.
float dispax(int32_t ndim, const float* p, const float* a, const float* t);
/// Distance from p to the segment s1s2 (ndim 2 or 3); 0 within the rounding of p, s1 and s2.
/// A degenerate segment gives the distance to s1.
float dispsg(int32_t ndim, const float* p, const float* s1, const float* s2);
/// The same distance with no threshold (dispsg counts a distance within the rounding of the
/// coordinates as 0).
float segmentDistance(int32_t ndim, const float* p, const float* s1, const float* s2);

/// Parameter s of the orthogonal projection of x on the line pq (0 at p, 1 at q).
/// Returns 0, or -1 (s untouched) when p and q coincide (|q - p|^2 at most tau).
[[nodiscard]] int prjseg(const float* x, const float* p, const float* q, int32_t ndim, float& s);

/// Distance from p to the object of `type` given by `object`.
/// Returns 0; -3 silently for a plane in 3D; -1, traced, for a type out of range, a
/// dimension the object does not support (axis, segment: 2 or 3) or an axis whose points coincide.
[[nodiscard]] int dipoob(int32_t ndim, const float* p, int32_t type, const float* object, float& distance);

/// Break points along the edge pq of the distance to an object, written to the rows of
/// `breaks` (width ndim, at most 3 rows used): a point's foot (ndim 1 to 3), an axis' crossing
/// (2D), a segment's points (2D, see dimosg). Returns 0; -1 for a degenerate edge, coincident
/// axis points, a type or dimension out of range; -2 when `breaks` is too small; -3 for a
/// plane or an axis or segment in 3D. Every error is traced.
[[nodiscard]] int dimono(const float* p, const float* q, int32_t ndim, int32_t type, const float* object,
                         Rows<float> breaks, int32_t& count);

/// Break points along the edge pq of the distance to the segment s1s2 (2D): the minimum
/// found by `dimosg2` (except for a parallel segment), then the band ends, in that order and
/// unsorted. Returns 0, the error of `dimosg2`, or -2 when `breaks` is too small.
[[nodiscard]] int dimosg(const float* p, const float* q, int32_t ndim, const float* s1, const float* s2,
                         Rows<float> breaks, int32_t& count);

/// Where along pq (parameters from 0 at p to 1 at q) the distance to the segment s1s2 has its
/// minimum (s0) and changes law (the ends of the band of pq projecting inside s1s2, up to 2
/// in `bands`), with the situation code kSegment... Returns 0; -1 when p and q coincide or an
/// intersection fails; -3 when ndim is not 2.
[[nodiscard]] int dimosg2(const float* p, const float* q, int32_t ndim, const float* s1, const float* s2, float& s0,
                          float* bands, int32_t& bandCount, int32_t& situation);

} // namespace tesmo
