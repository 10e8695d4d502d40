// Vector routines in single precision.
#include "driver/cg_vectoriel.hpp"

#include "driver/cg_epsi.hpp"

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

float xnorve(const float* a, int32_t n)
{
    if (n <= 0) {
        return 0.0f;
    }
    float sum = 0.0f;
    for (int32_t i = 0; i < n; ++i) {
        if (std::fabs(a[i]) > epsNorm()) {
            sum += a[i] * a[i];
        }
    }
    if (sum < epsNorm()) {
        return 0.0f;
    }
    return std::sqrt(sum);
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

} // namespace tesmo
