// Lines of the plane.
#include "geometry/cg_droite.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "support/codes.hpp"

#include <cmath>

namespace tesmo {

namespace {

/// True when x lies within the absolute tolerance of 0.
bool isNegligible(float x) { return std::fabs(x) <= epsRelative(); }

/// Value of the line's equation at p: negative on one side, positive on the other.
float side(const float* line, const float* p) { return line[0] * p[0] + line[1] * p[1] + line[2]; }

/// True when f and g lie strictly on either side of 0, beyond the tolerance.
bool oppositeSides(float f, float g)
{
    const float eps = epsRelative();
    return (f <= -eps && g >= eps) || (f >= eps && g <= -eps);
}

} // namespace

int dr2po(const float* p1, const float* p2, float* line)
{
    const float dx = p2[0] - p1[0];
    if (isNegligible(dx)) {
        if (isNegligible(p2[1] - p1[1])) {
            return kDataError;
        }
        line[0] = 1.0f;
        line[1] = 0.0f;
        line[2] = -p1[0];
        return kOk;
    }
    const float slope = (p1[1] - p2[1]) / dx;
    line[0] = slope;
    line[1] = 1.0f;
    line[2] = -p1[1] - slope * p1[0];
    return kOk;
}

int pvdroi(const float* line, float* point, float* direction)
{
    const float a = line[0];
    const float b = line[1];
    const float c = line[2];
    const float limit = epsRelative() * std::fabs(c);
    if (std::fabs(a) > limit) {
        point[0] = -c / a;
        point[1] = 0.0f;
    } else if (std::fabs(b) > limit) {
        point[0] = 0.0f;
        point[1] = -c / b;
    } else {
        return kDataError;
    }
    direction[0] = -b;
    direction[1] = a;
    return kOk;
}

int indrse(const float* p, const float* q, const float* line, int32_t mode, int32_t& crossing, float* point)
{
    if (mode != kCrossingPoint && mode != kCrossingOnly) {
        return kDataError;
    }
    crossing = 0;
    const float fp = side(line, p);
    const float fq = side(line, q);
    if (!oppositeSides(fp, fq)) {
        return kOk;
    }
    crossing = 1;
    if (mode == kCrossingOnly) {
        return kOk;
    }
    // The crossing point is M - lambda e, M and e a point and the direction of the line.
    float m[2];
    float e[2];
    if (const int code = pvdroi(line, m, e); code != kOk) {
        return code;
    }
    float toP[2];
    float fromQ[2];
    diffve(p, m, 2, toP);
    diffve(m, q, 2, fromQ);
    float cross;
    vectve(toP, fromQ, 2, &cross);
    const float lambda = cross / (fp - fq);
    if (isNegligible(lambda)) {
        copive(m, 2, point);
        return kOk;
    }
    point[0] = m[0] - lambda * e[0];
    point[1] = m[1] - lambda * e[1];
    return kOk;
}

int indrdr(const float* p1, const float* p2, const float* q1, const float* q2, int32_t ndim, int32_t& found,
           float* point)
{
    if (ndim != 2) {
        return kNotAvailable;
    }
    float d1[2];
    float d2[2];
    diffve(p2, p1, 2, d1);
    diffve(q2, q1, 2, d2);
    float det;
    vectve(d2, d1, 2, &det);
    if (std::fabs(det) < epsRelative()) {
        found = 0;
        return kOk;
    }
    // Each line is d x X = d x (its first point); Cramer's rule on the two equations.
    float k1;
    float k2;
    vectve(d1, p1, 2, &k1);
    vectve(d2, q1, 2, &k2);
    found = 1;
    point[0] = (d1[0] * k2 - k1 * d2[0]) / det;
    point[1] = (d1[1] * k2 - d2[1] * k1) / det;
    return kOk;
}

} // namespace tesmo
