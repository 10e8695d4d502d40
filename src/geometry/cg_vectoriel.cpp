// Vector routines and 3x3 matrix routines, in single precision.
#include "geometry/cg_vectoriel.hpp"

#include "geometry/cg_epsi.hpp"
#include "support/codes.hpp"

#include <cmath>

namespace tesmo {

void copive(const float* a, int32_t n, float* b)
{
    for (int32_t i = 0; i < n; ++i) {
        b[i] = a[i];
    }
}

float scalve(const float* a, const float* b, int32_t n)
{
    float sum = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        sum += a[i] * b[i];
    }
    return sum;
}

float xmaxve(const float* a, int32_t n)
{
    float largest = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        const float magnitude = std::fabs(a[i]);
        largest = magnitude > largest ? magnitude : largest;
    }
    return largest;
}

int32_t scalingExponent(float largest)
{
    constexpr float kLow = 1.0f / float(1 << kPlainExponent);
    constexpr float kHigh = float(1 << kPlainExponent);
    if (largest >= kLow && largest <= kHigh) {
        return 0;
    }
    int32_t exponent = 0;
    (void)std::frexp(largest, &exponent);
    return exponent;
}

float xnorve(const float* a, int32_t n)
{
    // 1. the largest component: the zero vector has norm 0
    const float largest = xmaxve(a, n);
    if (largest == 0.0f) {
        return 0.0f;
    }
    // 2. the squares of the components, brought near 1 by a power of two when they could
    //    underflow or overflow; the scaling is exact, so that the norm is the single-precision
    //    one wherever that one underflowed nowhere, and 2^k a has the norm 2^k |a|
    const int32_t exponent = scalingExponent(largest);
    float sum = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        const float c = exponent == 0 ? a[i] : std::ldexp(a[i], -exponent);
        sum += c * c;
    }
    return exponent == 0 ? std::sqrt(sum) : std::ldexp(std::sqrt(sum), exponent);
}

void diffve(const float* a, const float* b, int32_t n, float* c)
{
    for (int32_t i = 0; i < n; ++i) {
        c[i] = a[i] - b[i];
    }
}

void sommve(const float* a, const float* b, int32_t n, float* c)
{
    for (int32_t i = 0; i < n; ++i) {
        c[i] = a[i] + b[i];
    }
}

void muscve(const float* a, float s, int32_t n, float* b)
{
    for (int32_t i = 0; i < n; ++i) {
        b[i] = s * a[i];
    }
}

void vectve(const float* a, const float* b, int32_t n, float* c)
{
    if (n == 3) {
        const float x = a[1] * b[2] - a[2] * b[1];
        const float y = a[2] * b[0] - a[0] * b[2];
        const float z = a[0] * b[1] - a[1] * b[0];
        c[0] = x;
        c[1] = y;
        c[2] = z;
    } else if (n == 2) {
        c[0] = a[0] * b[1] - a[1] * b[0];
    } else if (n == 1) {
        c[0] = a[0] * b[0];
    }
}

bool nullve(const float* a, int32_t n)
{
    if (n <= 0) {
        return false;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (std::fabs(a[i]) > epsRelative()) {
            return false;
        }
    }
    return true;
}


float m33det(const float* matrix)
{
    auto m = [matrix](int32_t i, int32_t j) { return matrix[m33at(i, j)]; };
    const float first = m(1, 1) * (m(2, 2) * m(3, 3) - m(3, 2) * m(2, 3));
    const float second = m(1, 2) * (m(2, 3) * m(3, 1) - m(3, 3) * m(2, 1));
    const float third = m(1, 3) * (m(2, 1) * m(3, 2) - m(3, 1) * m(2, 2));
    return first + second + third;
}

int m33inv(const float* matrix, float* result)
{
    const float det = m33det(matrix);
    if (!(det >= kSingularDeterminant)) {
        return kDataError;
    }
    float transposed[9];
    for (int32_t i = 1; i <= 3; ++i) {
        for (int32_t j = 1; j <= 3; ++j) {
            transposed[m33at(i, j)] = matrix[m33at(j, i)] / det;
        }
    }
    copive(transposed, 9, result);
    return kOk;
}

int m33app(const float* matrix, const float* points, int32_t k, int32_t count, float* result)
{
    if (k < 1 || k > 3 || count < 0) {
        return kDataError;
    }
    for (int32_t p = 0; p < count; ++p) {
        const float* x = points + 3 * p;
        float y[3];
        for (int32_t i = 1; i <= k; ++i) {
            float sum = 0.0f;
            for (int32_t j = 1; j <= k; ++j) {
                sum += matrix[m33at(i, j)] * x[j - 1];
            }
            y[i - 1] = sum;
        }
        copive(y, k, result + 3 * p);
    }
    return kOk;
}

} // namespace tesmo
