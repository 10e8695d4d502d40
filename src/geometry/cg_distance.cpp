// Distances to the objects of a concentration, and the break points of those distances along
// an edge.
//
// Along an edge PQ, X(s) = P + s (Q - P), the distance to a point decreases then increases,
// with its minimum at the foot of the perpendicular. The distance to a segment S1S2 follows
// three laws: distance to S1, distance to the supporting line, distance to S2; the law changes
// at the ends of the band of PQ whose points project inside S1S2 (the perpendiculars to S1S2
// through S1 and S2), and the minimum is at the foot of S1 or S2 outside the band, or where
// the lines cross inside it. A progression laid piecewise between those points stays monotone.
//
//        S1 +-------------+ S2
//           |             |
//   P ------+-------------+------ Q
//          u1    band     u2
#include "geometry/cg_distance.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "geometry/cg_droite.hpp"
#include "support/codes.hpp"

#include <cassert>
#include <cmath>
#include <initializer_list>

namespace tesmo {

namespace {

/// The largest magnitude of the first ndim coordinates of the points: the rounding of the
/// distances computed from them is relative to it.
float magnitude(int32_t ndim, std::initializer_list<const float*> points)
{
    float largest = 0.0f;
    for (const float* point : points) {
        largest = std::fmax(largest, xmaxve(point, ndim));
    }
    return largest;
}

/// A distance within the rounding of the coordinates it comes from (eps times their largest
/// magnitude, `scale`) is exactly 0, so that a point on the object gets the progression's origin
/// size at every scale.
float flushed(float distance, float scale) { return distance < epsRelative() * scale ? 0.0f : distance; }

/// True when a parameter along the edge lies strictly inside it (both ends excluded).
bool strictlyInside(float s) { return s > epsRelative() && s < 1.0f - epsRelative(); }

/// True when a parameter lies inside the edge, its far end included up to the tolerance.
bool insideUpToQ(float s) { return s > epsRelative() && s < 1.0f + epsRelative(); }

/// Appends the point P + s (Q - P) to `breaks`; -2 when the table is full.
[[nodiscard]] int appendPoint(const float* p, const float* q, int32_t ndim, float s, Rows<float> breaks, int32_t& count)
{
    if (count >= breaks.count()) {
        return kCapacityError;
    }
    ++count;
    float* row = breaks.row(count);
    for (int32_t k = 0; k < ndim; ++k) {
        row[k] = p[k] + s * (q[k] - p[k]);
    }
    return kOk;
}

/// Appends a point given by its coordinates to `breaks`; -2 when the table is full.
[[nodiscard]] int appendCopy(const float* x, int32_t ndim, Rows<float> breaks, int32_t& count)
{
    if (count >= breaks.count()) {
        return kCapacityError;
    }
    ++count;
    copive(x, ndim, breaks.row(count));
    return kOk;
}

/// Foot of the perpendicular from the point o on the edge pq, when strictly inside the edge.
[[nodiscard]] int pointBreak(const float* p, const float* q, int32_t ndim, const float* o, Rows<float> breaks,
                             int32_t& count)
{
    float w[3];
    float d[3];
    diffve(p, o, ndim, w);
    diffve(q, p, ndim, d);
    const float length2 = scalve(d, d, ndim);
    if (std::fabs(length2) <= epsTiny()) {
        return kDataError;
    }
    const float s = -scalve(w, d, ndim) / length2;
    if (!strictlyInside(s)) {
        return kOk;
    }
    return appendPoint(p, q, ndim, s, breaks, count);
}

/// Crossing of the edge pq with the axis through o1 and o2 (2D).
[[nodiscard]] int axisBreak(const float* p, const float* q, const float* o1, const float* o2, Rows<float> breaks,
                            int32_t& count)
{
    float line[3];
    if (const int code = dr2po(o1, o2, line); code != kOk) {
        return code;
    }
    int32_t crossing = 0;
    float point[2];
    if (const int code = indrse(p, q, line, kCrossingPoint, crossing, point); code != kOk) {
        return code;
    }
    if (crossing == 0) {
        return kOk;
    }
    return appendCopy(point, 2, breaks, count);
}

/// The answer of `dimosg2` for a segment seen end-on: its mid-projection, when on the edge.
void endOn(float s1, float s2, float& s0, int32_t& situation)
{
    s0 = (s1 + s2) / 2.0f;
    const float eps = epsRelative();
    situation = (s0 >= eps && s0 <= 1.0f + eps) ? kSegmentEndOn : kSegmentNoMinimum;
}

/// The squared distance from p to the segment s1s2: to the nearer end when p projects within
/// a fraction eps of it or beyond, else to the line. The differences are brought near 1 by a
/// power of two when products of two or four of them could underflow or overflow; the scaling
/// is exact, so that the distance is the single-precision one wherever that one did not underflow.
float squaredSegmentDistance(int32_t ndim, const float* p, const float* s1, const float* s2)
{
    assert(ndim == 2 || ndim == 3);
    const float eps = epsRelative();
    float u[3];
    float w[3];
    diffve(p, s1, ndim, u);
    diffve(s2, s1, ndim, w);
    const float largest = std::fmax(xmaxve(u, ndim), xmaxve(w, ndim));
    if (largest == 0.0f) {
        return 0.0f;
    }
    const int32_t exponent = scalingExponent(largest);
    for (int32_t k = 0; exponent != 0 && k < ndim; ++k) {
        u[k] = std::ldexp(u[k], -exponent);
        w[k] = std::ldexp(w[k], -exponent);
    }
    const float a = scalve(u, w, ndim);
    const float b = scalve(w, w, ndim);
    float distance2;
    if (eps * b >= a) {
        distance2 = scalve(u, u, ndim); // S1 is nearest
    } else if (a >= b * (1.0f - eps)) {
        float v[3];
        diffve(p, s2, ndim, v);
        for (int32_t k = 0; exponent != 0 && k < ndim; ++k) {
            v[k] = std::ldexp(v[k], -exponent);
        }
        distance2 = scalve(v, v, ndim); // S2 is nearest
    } else {
        // Here eps b < a < b, so b > 0.
        float cross[3];
        vectve(u, w, ndim, cross);
        const float cross2 = ndim == 3 ? scalve(cross, cross, 3) : cross[0] * cross[0];
        distance2 = cross2 / b;
    }
    return exponent == 0 ? distance2 : std::ldexp(distance2, 2 * exponent);
}

/// Intersection of the edge pq with the perpendicular to s1s2 through `end` (2D).
[[nodiscard]] int perpendicularFoot(const float* p, const float* q, const float* end, const float* w, int32_t& found,
                                    float* foot)
{
    const float other[2] = {end[0] + w[1], end[1] - w[0]};
    return indrdr(end, other, p, q, 2, found, foot);
}

} // namespace

float dispp(int32_t ndim, const float* p, const float* q)
{
    float d[3] = {0.0f, 0.0f, 0.0f};
    diffve(q, p, ndim, d);
    return flushed(xnorve(d, ndim), magnitude(ndim, {p, q}));
}

float dispax(int32_t ndim, const float* p, const float* a, const float* t)
{
    assert(ndim == 2 || ndim == 3);
    float u[3];
    diffve(p, a, ndim, u);
    float cross[3];
    vectve(u, t, ndim, cross);
    const float distance = ndim == 3 ? xnorve(cross, 3) : std::fabs(cross[0]);
    return flushed(distance, magnitude(ndim, {p, a}));
}

float dispsg(int32_t ndim, const float* p, const float* s1, const float* s2)
{
    const float tolerance = epsRelative() * magnitude(ndim, {p, s1, s2});
    const float distance2 = squaredSegmentDistance(ndim, p, s1, s2);
    return distance2 < tolerance * tolerance ? 0.0f : std::sqrt(distance2);
}

float segmentDistance(int32_t ndim, const float* p, const float* s1, const float* s2)
{
    return std::sqrt(squaredSegmentDistance(ndim, p, s1, s2));
}

int prjseg(const float* x, const float* p, const float* q, int32_t ndim, float& s)
{
    float along = 0.0f;
    float length2 = 0.0f;
    for (int32_t k = 0; k < ndim; ++k) {
        const float d = q[k] - p[k];
        along += (x[k] - p[k]) * d;
        length2 += d * d;
    }
    if (!(length2 > epsTiny())) {
        return kDataError;
    }
    s = along / length2;
    return kOk;
}

int dipoob(int32_t ndim, const float* p, int32_t type, const float* object, float& distance)
{
    const bool lineDimension = ndim == 2 || ndim == 3;
    if (type == kObjectPoint && ndim >= 1) {
        distance = dispp(ndim, p, object);
        return kOk;
    }
    if (type == kObjectAxis && lineDimension) {
        float t[3];
        diffve(object + ndim, object, ndim, t);
        const float length = xnorve(t, ndim);
        if (length > epsTiny()) {
            for (int32_t k = 0; k < ndim; ++k) {
                t[k] = t[k] / length;
            }
            distance = dispax(ndim, p, object, t);
            return kOk;
        }
    }
    if (type == kObjectSegment && lineDimension) {
        distance = dispsg(ndim, p, object, object + ndim);
        return kOk;
    }
    if (type == kObjectPlane && ndim == 3) {
        return kNotAvailable; // the caller reports it
    }
    return traced(kDataError, "CG", "DANS DIPOOB");
}

int dimono(const float* p, const float* q, int32_t ndim, int32_t type, const float* object, Rows<float> breaks,
           int32_t& count)
{
    count = 0;
    if (breaks.width() != ndim) {
        return traced(kDataError, "CG", "DANS DIMONO");
    }
    int code = kDataError; // type out of range or unsupported dimension
    if (type == kObjectPoint && ndim >= 1 && ndim <= 3) {
        code = pointBreak(p, q, ndim, object, breaks, count);
    } else if ((type == kObjectAxis || type == kObjectSegment) && ndim == 3) {
        code = kNotAvailable;
    } else if (type == kObjectAxis && ndim == 2) {
        code = axisBreak(p, q, object, object + 2, breaks, count);
    } else if (type == kObjectSegment && ndim == 2) {
        code = dimosg(p, q, ndim, object, object + 2, breaks, count);
    } else if (type == kObjectPlane) {
        code = kNotAvailable;
    }
    if (code != kOk) {
        return traced(code, "CG", "DANS DIMONO");
    }
    return kOk;
}

int dimosg(const float* p, const float* q, int32_t ndim, const float* s1, const float* s2, Rows<float> breaks,
           int32_t& count)
{
    count = 0;
    float s0 = 0.0f;
    float bands[2];
    int32_t bandCount = 0;
    int32_t situation = kSegmentNoMinimum;
    if (const int code = dimosg2(p, q, ndim, s1, s2, s0, bands, bandCount, situation); code != kOk) {
        return traced(code, "DIMOSG", "APPEL DIMOSG2");
    }
    if (situation == kSegmentNoMinimum) {
        return kOk;
    }
    if (situation != kSegmentParallel) {
        if (const int code = appendPoint(p, q, ndim, s0, breaks, count); code != kOk) {
            return traced(code, "DIMOSG", " TABLEAU DES POINTS TROP PETIT");
        }
    }
    for (int32_t i = 0; i < bandCount; ++i) {
        if (const int code = appendPoint(p, q, ndim, bands[i], breaks, count); code != kOk) {
            return traced(code, "DIMOSG", " TABLEAU DES POINTS TROP PETIT");
        }
    }
    return kOk;
}

int dimosg2(const float* p, const float* q, int32_t ndim, const float* s1, const float* s2, float& s0, float* bands,
            int32_t& bandCount, int32_t& situation)
{
    s0 = 0.0f;
    bandCount = 0;
    situation = kSegmentNoMinimum;
    if (ndim != 2) {
        return kNotAvailable;
    }
    // 1. projections of the segment's ends; a segment seen end-on has one
    float t1 = 0.0f;
    float t2 = 0.0f;
    if (prjseg(s1, p, q, 2, t1) != kOk || prjseg(s2, p, q, 2, t2) != kOk) {
        return kDataError;
    }
    if (std::fabs(t1 - t2) < kEndOnTolerance) {
        endOn(t1, t2, s0, situation);
        return kOk;
    }
    // 2. the band: where the perpendiculars to S1S2 at its ends meet PQ
    float w[2];
    diffve(s2, s1, 2, w);
    int32_t found1 = 0;
    int32_t found2 = 0;
    float foot1[2];
    float foot2[2];
    if (perpendicularFoot(p, q, s1, w, found1, foot1) != kOk || perpendicularFoot(p, q, s2, w, found2, foot2) != kOk) {
        return kDataError;
    }
    if (found1 == 0 || found2 == 0) {
        endOn(t1, t2, s0, situation);
        return kOk;
    }
    // 3. band ends on the edge
    float u1 = 0.0f;
    float u2 = 0.0f;
    if (prjseg(foot1, p, q, 2, u1) != kOk || prjseg(foot2, p, q, 2, u2) != kOk) {
        return kDataError;
    }
    for (const float u : {u1, u2}) {
        if (insideUpToQ(u)) {
            bands[bandCount++] = u;
        }
    }
    // 4. a parallel segment: the distance is constant along the band
    const float eps = epsRelative();
    if (std::fabs(u1 - t1) < eps && std::fabs(u2 - t2) < eps) {
        situation = kSegmentParallel;
        return kOk;
    }
    // 5. the foot of an end of the segment, outside the band
    const float lo = std::fmin(u1, u2);
    const float hi = std::fmax(u1, u2);
    auto outsideBand = [lo, hi](float s) { return s < lo || s > hi; };
    if (outsideBand(t1) && insideUpToQ(t1)) {
        s0 = t1;
        situation = kSegmentFootS1;
    }
    if (outsideBand(t2) && insideUpToQ(t2)) {
        s0 = t2;
        situation = kSegmentFootS2;
    }
    // 6. the crossing of the two lines, inside the band (none when they are parallel)
    int32_t found = 0;
    float crossing[2];
    if (indrdr(s1, s2, p, q, 2, found, crossing) != kOk) {
        return kDataError;
    }
    float sx = 0.0f;
    if (found == 1 && prjseg(crossing, p, q, 2, sx) == kOk && sx > lo && sx < hi && insideUpToQ(sx)) {
        s0 = sx;
        situation = kSegmentCrossing;
    }
    return kOk;
}

} // namespace tesmo
