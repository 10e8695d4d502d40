// Progressions: node counts, first and last terms, node positions, the size at a distance from
// the origin, and the move of a node that makes two neighbouring intervals respect a ratio.
//
// Geometric series with n interior nodes on a segment of length L, ratio q:
//
//     A |--u0 q--|---u0 q^2---|-- ... --|------u0 q^(n+1)------| B
//          x1          x2                xn
//
//   L = u0 q (q^(n+1) - 1)/(q - 1),   position of x_i = u0 q (q^i - 1)/(q - 1).
//
// When q is within a few units of the last place of 1, single precision loses every digit of
// q - 1 and of ln q: the count, the first term and the positions are then computed in double
// from the exact differences (log1p, expm1), and only their results are stored in single
// precision.
#include "size/cg_suite.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"

#include <cmath>
#include <limits>

namespace tesmo {

namespace {

constexpr const char* kModule = "CG";

/// Counts are kept below this so that n + 2 and the products of counts stay exact.
constexpr double kCountLimit = 1.0e9;

/// NINT: rounding half away from zero. A quotient that is not a number gives -1 (no node);
/// counts beyond 32 bits are held at a limit that every capacity refuses.
int32_t nint(double x)
{
    if (std::isnan(x)) {
        return -1;
    }
    if (x >= kCountLimit) {
        return int32_t(kCountLimit);
    }
    if (x <= -kCountLimit) {
        return -int32_t(kCountLimit);
    }
    return int32_t(x >= 0.0 ? x + 0.5 : x - 0.5);
}

/// q^k by repeated squaring; (1/q)^|k| for negative k.
double power(double q, int64_t k)
{
    double base = k < 0 ? 1.0 / q : q;
    uint64_t e = k < 0 ? uint64_t(-k) : uint64_t(k);
    double result = 1.0;
    while (e != 0) {
        if ((e & 1u) != 0) {
            result *= base;
        }
        base *= base;
        e >>= 1;
    }
    return result;
}

/// |q - 1| within the relative precision: the series is taken as constant.
bool ratioIsOne(float q) { return std::fabs(1.0f - q) <= epsRelative(); }

/// Row i of X gets a + s t (in double, stored in single precision).
void place(const float* a, const float* t, double s, int32_t i, Rows<float> X)
{
    float* row = X.row(i);
    for (int32_t k = 0; k < X.width(); ++k) {
        row[k] = float(double(a[k]) + s * double(t[k]));
    }
}

/// |b - a| with the norm of the vector routines.
float distance(const float* a, const float* b, int32_t ndim)
{
    float v[3] = {0.0f, 0.0f, 0.0f};
    diffve(b, a, ndim, v);
    return xnorve(v, ndim);
}

/// The rows of X from row `from` on, as a table of their own.
Rows<float> rowsFrom(Rows<float> X, int32_t from)
{
    const int32_t left = X.count() - (from - 1);
    return Rows<float>(left > 0 ? X.row(from) : X.data(), X.width(), left > 0 ? left : 0);
}

} // namespace

int sug2po(float length, float h1, float h2, int32_t& n, float& ratio)
{
    // 1. sizes
    if (h2 <= epsTiny() || h1 <= epsTiny()) {
        return traced(kDataError, kModule, "DANS SUG2PO : TAILLE SOUHAITEE NEGATIVE OU NULLE");
    }
    // 2. a segment of no length, or exactly the last size
    if (length < epsTiny() || h2 == length) {
        n = 0;
        ratio = 1.0f;
        return kOk;
    }
    // 3. the ratio
    ratio = (length - h1) / (length - h2);
    // 4. equal sizes: equal intervals
    if (ratioIsOne(ratio) || std::fabs(h1 - h2) <= epsRelative() * (h1 + h2)) {
        n = nint(2.0 * double(length) / (double(h1) + double(h2)) - 1.0);
        return kOk;
    }
    // 5. n = ln(h2/h1) / ln q, both logarithms taken from the exact differences in double:
    //    from single-precision logarithms the count is far off when q is near 1.
    const double difference = double(h2) - double(h1);
    n = nint(std::log1p(difference / double(h1)) / std::log1p(difference / (double(length) - double(h2))));
    return kOk;
}

int sua2po(float length, float h1, float h2, int32_t& n, float& difference)
{
    // sizes and lengths are lengths: null below the smallest real, whatever the units
    if (h2 <= epsTiny() || h1 <= epsTiny()) {
        return traced(kDataError, kModule, "DANS SUG2PO : TAILLE SOUHAITEE NEGATIVE OU NULLE");
    }
    if (length < epsTiny()) {
        n = 0;
        difference = 1.0f;
        return kOk;
    }
    n = nint(2.0 * double(length) / (double(h1) + double(h2)) - 1.0);
    // (n + 1)(n + 2) is 0 for n = -1 and -2: no node is placed, and no difference is needed.
    const int64_t intervals = (int64_t(n) + 1) * (int64_t(n) + 2);
    difference = intervals == 0 ? 0.0f
                                : float(2.0 * double(length) * (double(h2) - double(h1)) /
                                        ((double(h1) + double(h2)) * double(intervals)));
    return kOk;
}

int su2po(int32_t type, float length, float h1, float h2, int32_t& n, float& step)
{
    if (type == kGeometricProgression) {
        return sug2po(length, h1, h2, n, step);
    }
    if (type == kArithmeticProgression) {
        return sua2po(length, h1, h2, n, step);
    }
    return type == kUnavailableProgression ? kProgressionNotAvailable : kDataError;
}

int scsugs(float length, int32_t n, float ratio, float& first, float& last)
{
    if (ratio <= epsRelative()) {
        return traced(kDataError, kModule, "DANS SCSUGS : RAISON NEGATIVE OU NULLE");
    }
    if (length <= epsTiny()) {
        return traced(kDataError, kModule, "DANS SCSUGS : LONGUEUR DU SEGMENT NEGATIVE OU NULLE");
    }
    if (n <= 0) {
        return traced(kDataError, kModule, "DANS SCSUGS : NOMBRE DE NOEUDS NEGATIF OU NUL");
    }
    if (ratioIsOne(ratio)) {
        first = float(double(length) / (double(n) + 1.0));
        last = first;
        return kOk;
    }
    // u0 = L (q - 1) / (q (q^(n+1) - 1)), with q^(n+1) - 1 = expm1((n+1) ln q) in double: in
    // single precision 1 - q^(n+1) keeps few digits when q is near 1.
    const double q = ratio;
    const double lnq = std::log1p(q - 1.0);
    const double u0 = double(length) * (q - 1.0) / (q * std::expm1((double(n) + 1.0) * lnq));
    first = float(u0);
    last = float(u0 * std::exp((double(n) + 2.0) * lnq));
    return kOk;
}

int scsuas(float length, int32_t n, float difference, float& first, float& last)
{
    if (n <= 0) {
        return kDataError;
    }
    const double u0 = double(length) / (double(n) + 1.0) - (double(n) + 2.0) * double(difference) / 2.0;
    first = float(u0);
    last = float(u0 + (double(n) + 2.0) * double(difference));
    return kOk;
}

int scsuse(int32_t type, float length, int32_t n, float step, float& first, float& last)
{
    if (type == kGeometricProgression) {
        return scsugs(length, n, step, first, last);
    }
    if (type == kArithmeticProgression) {
        return scsuas(length, n, step, first, last);
    }
    return type == kUnavailableProgression ? kProgressionNotAvailable : kDataError;
}

int posug(const float* a, const float* t, float first, int32_t n, float ratio, Rows<float> X)
{
    if (n < 1) {
        return traced(kDataError, kModule, "DANS POSUG : NOMBRE DE NOEUDS NEGATIF OU NUL");
    }
    if (n > X.count()) {
        return traced(kCapacityError, kModule, "DANS POSUG : TROP DE POINTS");
    }
    if (ratioIsOne(ratio)) {
        for (int32_t i = 1; i <= n; ++i) {
            place(a, t, double(i) * double(first), i, X);
        }
        return kOk;
    }
    // x_i = u0 q (q^i - 1)/(q - 1), q^i by one multiplication per node, in double (see the top)
    const double q = ratio;
    const double scale = q * double(first) / (q - 1.0);
    double qi = 1.0;
    for (int32_t i = 1; i <= n; ++i) {
        qi *= q;
        place(a, t, scale * (qi - 1.0), i, X);
    }
    return kOk;
}

int posua(const float* a, const float* t, float first, int32_t n, float difference, Rows<float> X)
{
    if (n < 1) {
        return kDataError;
    }
    if (n > X.count()) {
        return traced(kCapacityError, kModule, "DANS POSUA : TROP DE POINTS");
    }
    for (int32_t i = 1; i <= n; ++i) {
        place(a, t, double(i) * (double(first) + double(difference) * (double(i) + 1.0) / 2.0), i, X);
    }
    return kOk;
}

int suptsu(const float* a, const float* t, int32_t type, float first, int32_t n, float step, Rows<float> X)
{
    if (type == kGeometricProgression) {
        return posug(a, t, first, n, step, X);
    }
    if (type == kArithmeticProgression) {
        return posua(a, t, first, n, step, X);
    }
    return type == kUnavailableProgression ? kProgressionNotAvailable : kDataError;
}

float scsupo(int32_t type, float h, float step, float d)
{
    if (type == kGeometricProgression) {
        const float q = step;
        if (q == 1.0f) {
            return h;
        }
        if (!(h > 0.0f) || !(q > 0.0f)) {
            return 0.0f; // no progression: every caller refuses a size of 0
        }
        const float argument = 1.0f + (d / h) * (q - 1.0f);
        if (!(argument > 0.0f)) {
            return std::numeric_limits<float>::infinity(); // beyond what a decreasing series covers
        }
        // k = ln(argument)/ln(q) - eps, truncated; the logarithms in single precision, the quotient
        // and the subtraction in double: in single precision eps is lost once the quotient reaches 2.
        const float lnArgument = std::log(argument);
        const float lnRatio = std::log(q);
        double k = std::trunc(double(lnArgument) / double(lnRatio) - double(epsRelative()));
        if (std::isnan(k)) {
            return 0.0f;
        }
        k = std::fmax(-kCountLimit, std::fmin(kCountLimit, k));
        return float(double(h) * power(double(q), int64_t(k)));
    }
    if (type == kArithmeticProgression) {
        const double delta = step;
        const double discriminant =
            delta * delta + delta * (8.0 * double(d) + 4.0 * double(h)) + 4.0 * double(h) * double(h);
        if (discriminant < 0.0) {
            return float(discriminant);
        }
        return float((delta + std::sqrt(discriminant)) / 2.0);
    }
    return 0.0f;
}

int posum(const float* a, const float* b, float& h1, float& h2, int32_t type, Rows<float> X, int32_t& n)
{
    n = 0;
    const int32_t ndim = X.width();
    if (ndim < 1 || ndim > 3) {
        return traced(kDataError, kModule, "DANS POSUM");
    }
    // 1. the segment
    float v[3] = {0.0f, 0.0f, 0.0f};
    diffve(b, a, ndim, v);
    const float length = xnorve(v, ndim);
    // 2. the count
    int32_t count = 0;
    float step = 0.0f;
    int code = su2po(type, length, h1, h2, count, step);
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUM");
    }
    if (count <= 0) {
        return kOk;
    }
    // 3. first and last terms, handed back through the sizes
    float first = 0.0f;
    float last = 0.0f;
    code = scsuse(type, length, count, step, first, last);
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUM");
    }
    h1 = first;
    h2 = last;
    // 4. room
    if (count > X.count()) {
        return traced(kCapacityError, kModule, "DANS POSUM : TROP DE POINTS");
    }
    // 5. the positions from A toward B
    float t[3] = {0.0f, 0.0f, 0.0f};
    muscve(v, 1.0f / length, ndim, t);
    code = suptsu(a, t, type, first, count, step, X);
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUM");
    }
    n = count;
    return kOk;
}

int posunm(const float* p1, const float* p2, const float* p3, float& t1, float& t2, float& t3, int32_t type,
           Rows<float> X, int32_t& n)
{
    n = 0;
    const int32_t ndim = X.width();
    if (ndim < 1 || ndim > 3) {
        return traced(kDataError, kModule, "DANS POSUNM");
    }
    // 1. the counts of the two legs
    const float l1 = distance(p1, p2, ndim);
    const float l2 = distance(p2, p3, ndim);
    int32_t n1 = 0;
    int32_t n2 = 0;
    float step = 0.0f;
    int code = su2po(type, l1, t1, t2, n1, step);
    if (code == kOk) {
        code = su2po(type, l2, t2, t3, n2, step);
    }
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUNM");
    }
    // 2. a leg that takes no progression: the straight segment P1P3
    if (n1 < 0 && n2 < 0) {
        return kOk;
    }
    if (n1 < 0 || n2 < 0) {
        code = posum(p1, p3, t1, t3, type, X, n);
        return code == kOk ? kOk : traced(code, kModule, "DANS POSUNM");
    }
    // 3. room
    if (int64_t(n1) + n2 + 1 > X.count()) {
        return traced(kCapacityError, kModule, "DANS POSUNM : TROP DE POINTS");
    }
    // 4. first leg, P2 when both legs hold its size, second leg
    float middle = t2;
    int32_t placed = 0;
    code = posum(p1, p2, t1, middle, type, X, placed);
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUNM");
    }
    if (l1 >= t2 && l2 >= t2) {
        ++placed;
        copive(p2, ndim, X.row(placed));
    }
    int32_t second = 0;
    code = posum(p2, p3, t2, t3, type, rowsFrom(X, placed + 1), second);
    if (code != kOk) {
        return traced(code, kModule, "DANS POSUNM");
    }
    n = placed + second;
    return kOk;
}

int posunm2(const float* p1, Rows<const float> Y, const float* p2, float s1, const float* sY, float s2, int32_t type,
            Rows<float> X, int32_t& n)
{
    constexpr const char* kRoutine = "POSUNM2";
    n = 0;
    const int32_t ndim = X.width();
    const int32_t m = Y.count();
    if (ndim < 1 || ndim > 3 || (m > 0 && Y.width() != ndim)) {
        return traced(kDataError, kRoutine, "POINT XPNUL HORS SEGMENT");
    }
    if (m > kPolylineVertices - 2) {
        return traced(kCapacityError, kRoutine, "TROP DE POINTS INTERMEDIAIRES");
    }
    // The polyline: P1, the points kept, P2; a size at each vertex.
    float V[kPolylineVertices][3] = {};
    float S[kPolylineVertices] = {};
    int32_t vertices = 2;
    copive(p1, ndim, V[0]);
    copive(p2, ndim, V[1]);
    S[0] = s1;
    S[1] = s2;
    const float eps = epsRelative();
    // 1.-2. each point on the first edge that holds it; kept when both pieces get nodes. A point
    //    outside the polyline, which the rounding of a far crossing can give, splits nothing
    //    and is dropped.
    for (int32_t j = 1; j <= m; ++j) {
        const float* y = Y.row(j);
        int32_t edge = -1;
        bool outside = false;
        for (int32_t e = 0; e + 1 < vertices && edge < 0 && !outside; ++e) {
            float u[3] = {0.0f, 0.0f, 0.0f};
            float w[3] = {0.0f, 0.0f, 0.0f};
            diffve(y, V[e], ndim, u);
            diffve(V[e + 1], V[e], ndim, w);
            const float a = scalve(u, w, ndim);
            const float b = scalve(w, w, ndim);
            outside = a < -eps * b;
            if (!outside && a <= (1.0f + eps) * b) {
                edge = e;
            }
        }
        if (edge < 0) {
            continue;
        }
        int32_t before = 0;
        int32_t after = 0;
        float step = 0.0f;
        int code = su2po(type, distance(V[edge], y, ndim), sY[j - 1], S[edge], before, step);
        if (code == kOk) {
            code = su2po(type, distance(y, V[edge + 1], ndim), S[edge + 1], sY[j - 1], after, step);
        }
        if (code != kOk) {
            return traced(kDataError, kRoutine, "APPEL SU2PO ?");
        }
        if (before > 0 && after > 0) {
            for (int32_t v = vertices; v > edge + 1; --v) {
                copive(V[v - 1], ndim, V[v]);
                S[v] = S[v - 1];
            }
            copive(y, ndim, V[edge + 1]);
            S[edge + 1] = sY[j - 1];
            ++vertices;
        }
    }
    // 3. the nodes of each piece, and the inner vertices between them
    for (int32_t e = 0; e + 1 < vertices; ++e) {
        int32_t placed = 0;
        const int code = posum(V[e], V[e + 1], S[e], S[e + 1], type, rowsFrom(X, n + 1), placed);
        if (code != kOk) {
            return traced(kDataError, kRoutine, "APPEL POSUM");
        }
        n += placed;
        if (e + 2 < vertices) {
            if (n >= X.count()) {
                return traced(kCapacityError, kRoutine, "TROP DE POINTS");
            }
            ++n;
            copive(V[e + 1], ndim, X.row(n));
        }
    }
    return kOk;
}

int lisupo(const float* p1, const float* p2, const float* p3, int32_t ndim, int32_t type, float step, float* moved,
           float& mu)
{
    constexpr const char* kRoutine = "LISUPO";
    // 1. the step: a ratio, or a difference, a length, null beside the two intervals
    if (step <= kNullProgressionStep && type != kArithmeticProgression) {
        return traced(kDataError, kRoutine, "RAISON NEGATIVE OU NULLE");
    }
    if (ndim < 1 || ndim > 3) {
        return traced(kDataError, kRoutine, "SEGMENT NUL");
    }
    // 2. the two intervals
    mu = 0.0f;
    copive(p2, ndim, moved);
    const float l1 = distance(p1, p2, ndim);
    const float l2 = distance(p2, p3, ndim);
    if (type == kArithmeticProgression && step <= kNullProgressionStep * 0.5f * (l1 + l2)) {
        return traced(kDataError, kRoutine, "RAISON NEGATIVE OU NULLE");
    }
    if (l2 <= epsTiny()) { // a length: null whatever the units
        return traced(kDataError, kRoutine, "SEGMENT NUL");
    }
    float g = 0.0f;
    if (type == kGeometricProgression) {
        // 3. ratio of the intervals at most q (a null first interval is always moved)
        const float q = step;
        if (q > l1 / l2 && l1 > 0.0f && q > l2 / l1) {
            return kOk;
        }
        g = l1 > l2 ? (q * l2 - l1) / (q + 1.0f) : (l2 - q * l1) / (q + 1.0f);
    } else if (type == kArithmeticProgression) {
        // 4. difference of the intervals at most delta
        const float delta = step;
        if (delta > l1 - l2 && delta > l2 - l1) {
            return kOk;
        }
        g = (delta + l2 - l1) / 2.0f;
    } else {
        return traced(kDataError, kRoutine, "TYPE DE SUITE INCONNU");
    }
    // 6. the move along P2P3
    for (int32_t k = 0; k < ndim; ++k) {
        moved[k] = p2[k] + g * (p3[k] - p2[k]) / l2;
    }
    mu = std::fabs(2.0f * g / (l1 + l2));
    return kOk;
}

} // namespace tesmo
