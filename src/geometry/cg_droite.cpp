// Lines of the plane.
#include "geometry/cg_droite.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "support/codes.hpp"

#include <cmath>

namespace tesmo {

namespace {

/// Value of the line's equation at p: negative on one side, positive on the other.
float side(const float* line, const float* p) { return line[0] * p[0] + line[1] * p[1] + line[2]; }

/// The rounding of that value: eps times the magnitude of its terms, so that a point within
/// it lies on the line at every scale.
float sideTolerance(const float* line, const float* p)
{
    return epsRelative() * (std::fabs(line[0] * p[0]) + std::fabs(line[1] * p[1]) + std::fabs(line[2]));
}

/// True when p and q lie strictly on either side of the line, beyond the rounding of their values.
bool oppositeSides(const float* line, const float* p, const float* q)
{
    const float f = side(line, p);
    const float g = side(line, q);
    const float tf = sideTolerance(line, p);
    const float tg = sideTolerance(line, q);
    return (f < -tf && g > tg) || (f > tf && g < -tg);
}

/// The largest magnitude of the coordinates of two points of the plane.
float magnitude(const float* p, const float* q) { return std::fmax(xmaxve(p, 2), xmaxve(q, 2)); }

} // namespace

int dr2po(const float* p1, const float* p2, float* line)
{
    // within the rounding of the coordinates, the points coincide or share their abscissa
    const float rounding = epsRelative() * magnitude(p1, p2);
    const float dx = p2[0] - p1[0];
    if (std::fabs(dx) <= rounding) {
        if (std::fabs(p2[1] - p1[1]) <= rounding) {
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
    // a and b carry no unit: the point on the x axis unless the line lies along it
    const float a = line[0];
    const float b = line[1];
    const float c = line[2];
    if (std::fabs(a) > epsRelative() * std::fabs(b)) {
        point[0] = -c / a;
        point[1] = 0.0f;
    } else if (b != 0.0f) {
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
    if (!oppositeSides(line, p, q)) {
        return kOk;
    }
    const float fp = side(line, p);
    const float fq = side(line, q);
    crossing = 1;
    if (mode == kCrossingOnly) {
        return kOk;
    }
    // The crossing point is where the values of the line vanish along pq: taken from p and q,
    // it lies on the segment whatever the rounding of the values (a point of the line on an
    // axis, far from pq when the line nearly runs along that axis, would lose that).
    const float t = fp / (fp - fq);
    point[0] = p[0] + t * (q[0] - p[0]);
    point[1] = p[1] + t * (q[1] - p[1]);
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
    // parallel within the rounding of the coordinates: eps times the square of their magnitude
    const float scale = std::fmax(magnitude(p1, p2), magnitude(q1, q2));
    if (std::fabs(det) < epsRelative() * scale * scale) {
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
