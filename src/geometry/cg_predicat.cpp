// Orientation and in-circle predicates, exact for single-precision coordinates.
//
// Each predicate is first evaluated in double from the coordinate differences. The rounding of
// that evaluation is bounded by a small multiple of the double epsilon times the sum of the
// magnitudes of its terms (the bounds of Shewchuk's adaptive predicates); when the value lies
// beyond the bound its sign is the exact sign. Otherwise the value is computed exactly as a
// floating-point expansion: a sum of doubles of increasing magnitude that do not overlap, built
// with error-free transformations (Knuth's two-sum, Dekker's splitting for two-product), whose
// sign is the sign of its largest term.
//
// Single-precision inputs keep the expansions short and safe: a product of two floats is exact
// in double, and no product of up to four coordinate differences comes near the overflow or
// underflow of double, so the transformations stay error-free for every float input.
#include "geometry/cg_predicat.hpp"

#include <cassert>
#include <cmath>

namespace tesmo {

namespace {

constexpr double kEpsilon = 0x1p-53;         ///< half the distance from 1 to the next double
constexpr double kSplitter = 0x1p27 + 1.0;   ///< splits a double into two halves of 26 bits
/// Rounding bound of the orientation in double, relative to |left product| + |right product|.
constexpr double kTurnBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
/// Relative margin of insideCircle (see its header).
constexpr double kCircleTolerance = 1e-12;
/// Rounding bound of the in-circle determinant in double, relative to its permanent.
constexpr double kCircleBound = (10.0 + 96.0 * kEpsilon) * kEpsilon;
/// Relative precision at which exactTurn takes the value computed in double.
constexpr double kTurnPrecision = 0x1p-44;

/// A sum of at most N doubles, the smallest first, none overlapping another, no zero term.
template <int N>
struct Expansion {
    double term[N];
    int count = 0;
};

/// sum + error = a + b exactly.
void twoSum(double a, double b, double& sum, double& error)
{
    sum = a + b;
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    error = (a - aPart) + (b - bPart);
}

/// sum + error = a + b exactly, for |a| >= |b|.
void fastTwoSum(double a, double b, double& sum, double& error)
{
    sum = a + b;
    error = b - (sum - a);
}

/// high + low = a, each of at most 26 significant bits.
void split(double a, double& high, double& low)
{
    const double c = kSplitter * a;
    high = c - (c - a);
    low = a - high;
}

/// product + error = a b exactly.
void twoProduct(double a, double b, double& product, double& error)
{
    product = a * b;
    double aHigh = 0.0;
    double aLow = 0.0;
    double bHigh = 0.0;
    double bLow = 0.0;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    const double err1 = product - aHigh * bHigh;
    const double err2 = err1 - aLow * bHigh;
    const double err3 = err2 - aHigh * bLow;
    error = aLow * bLow - err3;
}

/// h = h + b, in place (the expansion grows by at most one term).
template <int N>
void add(Expansion<N>& h, double b)
{
    double carry = b;
    int kept = 0;
    for (int i = 0; i < h.count; ++i) {
        double sum = 0.0;
        double error = 0.0;
        twoSum(carry, h.term[i], sum, error);
        carry = sum;
        if (error != 0.0) {
            h.term[kept++] = error;
        }
    }
    if (carry != 0.0) {
        assert(kept < N);
        h.term[kept++] = carry;
    }
    h.count = kept;
}

/// h = h + f.
template <int N, int M>
void addAll(Expansion<N>& h, const Expansion<M>& f)
{
    for (int j = 0; j < f.count; ++j) {
        add(h, f.term[j]);
    }
}

/// e b, exactly (at most twice as many terms as e).
template <int M>
Expansion<2 * M> scale(const Expansion<M>& e, double b)
{
    Expansion<2 * M> h;
    if (e.count == 0 || b == 0.0) {
        return h;
    }
    double carry = 0.0;
    double error = 0.0;
    twoProduct(e.term[0], b, carry, error);
    if (error != 0.0) {
        h.term[h.count++] = error;
    }
    for (int i = 1; i < e.count; ++i) {
        double high = 0.0;
        double low = 0.0;
        twoProduct(e.term[i], b, high, low);
        double sum = 0.0;
        twoSum(carry, low, sum, error);
        if (error != 0.0) {
            h.term[h.count++] = error;
        }
        fastTwoSum(high, sum, carry, error);
        if (error != 0.0) {
            h.term[h.count++] = error;
        }
    }
    if (carry != 0.0) {
        h.term[h.count++] = carry;
    }
    return h;
}

/// e f, exactly.
template <int M, int K>
Expansion<2 * M * K> multiply(const Expansion<M>& e, const Expansion<K>& f)
{
    Expansion<2 * M * K> h;
    for (int j = 0; j < f.count; ++j) {
        addAll(h, scale(e, f.term[j]));
    }
    return h;
}

template <int N>
Expansion<N> negated(Expansion<N> e)
{
    for (int i = 0; i < e.count; ++i) {
        e.term[i] = -e.term[i];
    }
    return e;
}

/// a - b exactly.
Expansion<2> difference(double a, double b)
{
    Expansion<2> h;
    add(h, a);
    add(h, -b);
    return h;
}

template <int N>
int signOf(const Expansion<N>& e)
{
    return e.count == 0 ? 0 : (e.term[e.count - 1] > 0.0 ? 1 : -1);
}

template <int N>
double valueOf(const Expansion<N>& e)
{
    double sum = 0.0;
    for (int i = 0; i < e.count; ++i) {
        sum += e.term[i];
    }
    return sum;
}

/// The orientation p q x exactly: with floats as input, the six products of its expansion
///   qx xy - qx py - px xy - qy xx + qy px + py xx
/// (the two px py cancel) are exact in double, and their sum is grown exactly.
Expansion<6> turnExpansion(const float* p, const float* q, const float* x)
{
    const double px = double(p[0]), py = double(p[1]), qx = double(q[0]), qy = double(q[1]);
    const double xx = double(x[0]), xy = double(x[1]);
    const double products[6] = {qx * xy, -(qx * py), -(px * xy), -(qy * xx), qy * px, py * xx};
    Expansion<6> h;
    for (const double product : products) {
        add(h, product);
    }
    return h;
}

/// The orientation in double with the bound of its rounding.
double fastTurn(const float* p, const float* q, const float* x, double& bound)
{
    const double left = (double(q[0]) - double(p[0])) * (double(x[1]) - double(p[1]));
    const double right = (double(q[1]) - double(p[1])) * (double(x[0]) - double(p[0]));
    bound = kTurnBound * (std::fabs(left) + std::fabs(right));
    return left - right;
}

/// The in-circle determinant exactly, from the differences of the coordinates with d.
int exactCircleSide(const float* a, const float* b, const float* c, const float* d)
{
    const auto from = [&](const float* x, int axis) { return difference(double(x[axis]), double(d[axis])); };
    const Expansion<2> adx = from(a, 0), ady = from(a, 1);
    const Expansion<2> bdx = from(b, 0), bdy = from(b, 1);
    const Expansion<2> cdx = from(c, 0), cdy = from(c, 1);
    const auto lift = [](const Expansion<2>& x, const Expansion<2>& y) {
        Expansion<16> h;
        addAll(h, multiply(x, x));
        addAll(h, multiply(y, y));
        return h;
    };
    const auto cross = [](const Expansion<2>& x1, const Expansion<2>& y2, const Expansion<2>& x2,
                          const Expansion<2>& y1) {
        Expansion<16> h;
        addAll(h, multiply(x1, y2));
        addAll(h, negated(multiply(x2, y1)));
        return h;
    };
    Expansion<1536> determinant;
    addAll(determinant, multiply(lift(adx, ady), cross(bdx, cdy, cdx, bdy)));
    addAll(determinant, multiply(lift(bdx, bdy), cross(cdx, ady, adx, cdy)));
    addAll(determinant, multiply(lift(cdx, cdy), cross(adx, bdy, bdx, ady)));
    return signOf(determinant);
}

} // namespace

double turn(const float* p, const float* q, const float* x)
{
    double bound = 0.0;
    return fastTurn(p, q, x, bound);
}

int orientation(const float* p, const float* q, const float* x)
{
    double bound = 0.0;
    const double value = fastTurn(p, q, x, bound);
    if (value > bound) {
        return 1;
    }
    if (-value > bound) {
        return -1;
    }
    return signOf(turnExpansion(p, q, x));
}

double exactTurn(const float* p, const float* q, const float* x)
{
    double bound = 0.0;
    const double value = fastTurn(p, q, x, bound);
    if (bound <= std::fabs(value) * kTurnPrecision) {
        return value;
    }
    return valueOf(turnExpansion(p, q, x));
}

int sideOfLine(const float* p, const float* q, const float* x, double relativeWidth)
{
    if (!(relativeWidth > 0.0)) {
        return orientation(p, q, x);
    }
    const double dx = double(q[0]) - double(p[0]);
    const double dy = double(q[1]) - double(p[1]);
    const double band = relativeWidth * (dx * dx + dy * dy);
    const double value = exactTurn(p, q, x);
    return value >= band ? 1 : (value <= -band ? -1 : 0);
}

int circleSide(const float* a, const float* b, const float* c, const float* d)
{
    const double adx = double(a[0]) - double(d[0]), ady = double(a[1]) - double(d[1]);
    const double bdx = double(b[0]) - double(d[0]), bdy = double(b[1]) - double(d[1]);
    const double cdx = double(c[0]) - double(d[0]), cdy = double(c[1]) - double(d[1]);
    const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy;
    const double cdxady = cdx * ady, adxcdy = adx * cdy;
    const double adxbdy = adx * bdy, bdxady = bdx * ady;
    const double alift = adx * adx + ady * ady;
    const double blift = bdx * bdx + bdy * bdy;
    const double clift = cdx * cdx + cdy * cdy;
    const double determinant = alift * (bdxcdy - cdxbdy) + blift * (cdxady - adxcdy) + clift * (adxbdy - bdxady);
    const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift +
                             (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                             (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
    const double bound = kCircleBound * permanent;
    if (determinant > bound) {
        return 1;
    }
    if (-determinant > bound) {
        return -1;
    }
    return exactCircleSide(a, b, c, d);
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
    return orientation(a, b, p) * orientation(a, b, q) < 0 && orientation(p, q, a) * orientation(p, q, b) < 0;
}

} // namespace tesmo
