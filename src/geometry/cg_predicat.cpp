// Orientation and in-circle predicates. They are evaluated in double precision on the
// single-precision coordinates: a difference of two coordinates of similar size and a product
// of two such differences lose nothing there, so the orientation has the right sign unless its
// two products nearly cancel; the in-circle determinant sums products of three such terms and
// is trusted only beyond a relative margin of the sum of their magnitudes.
#include "geometry/cg_predicat.hpp"

#include <cmath>

namespace tesmo {

double turn(const float* p, const float* q, const float* x)
{
    return (double(q[0]) - double(p[0])) * (double(x[1]) - double(p[1])) -
           (double(q[1]) - double(p[1])) * (double(x[0]) - double(p[0]));
}

bool insideCircle(const float* a, const float* b, const float* c, const float* d)
{
    const double ax = double(a[0]) - double(d[0]), ay = double(a[1]) - double(d[1]);
    const double bx = double(b[0]) - double(d[0]), by = double(b[1]) - double(d[1]);
    const double cx = double(c[0]) - double(d[0]), cy = double(c[1]) - double(d[1]);
    const double al = ax * ax + ay * ay, bl = bx * bx + by * by, cl = cx * cx + cy * cy;
    const double ab = ax * by - bx * ay, bc = bx * cy - cx * by, ca = cx * ay - ax * cy;
    const double determinant = al * bc + bl * ca + cl * ab;
    const double scale = al * std::fabs(bc) + bl * std::fabs(ca) + cl * std::fabs(ab);
    return determinant > kCircleTolerance * scale;
}

bool crossing(const float* p, const float* q, const float* a, const float* b)
{
    return turn(a, b, p) * turn(a, b, q) < 0.0 && turn(p, q, a) * turn(p, q, b) < 0.0;
}

} // namespace tesmo
