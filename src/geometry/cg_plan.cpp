// Plane fit through points in space.
//
// The points are centred on their centroid and scaled by their largest deviation, so that the
// covariance matrix has entries of order 1 whatever the size of the geometry. The plane's
// normal is the direction the covariance does not spread in: for points of a plane the
// covariance has rank 2 and its adjugate has rank 1, every non-zero row of which spans that
// direction. `pronul` takes the row with the largest diagonal entry (the largest principal
// minor), which is also the best conditioned one.
#include "geometry/cg_plan.hpp"

#include "geometry/cg_epsi.hpp"
#include "geometry/cg_vectoriel.hpp"
#include "messages/es_erreur.hpp"
#include "support/codes.hpp"

#include <cmath>
#include <limits>

namespace tesmo {

namespace {

/// Cyclic successor of an axis index: 1 -> 2 -> 3 -> 1.
constexpr int32_t successor(int32_t i) { return i % 3 + 1; }

/// True when every selected node is a row of a table of `rows` rows.
bool selectionInside(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t last, int32_t rows)
{
    if (m < 1) {
        return first >= 1 && last <= rows;
    }
    if (m > nodes.count()) {
        return false;
    }
    for (int32_t i = 1; i <= m; ++i) {
        if (nodes(i) < 1 || nodes(i) > rows) {
            return false;
        }
    }
    return true;
}

/// Mean of the selected points, coordinate by coordinate.
void centroid(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t count, Rows<const float> points, float* centre)
{
    float sum[3] = {0.0f, 0.0f, 0.0f};
    for (int32_t i = 1; i <= count; ++i) {
        sommve(sum, points.row(selectedNode(nodes, m, first, i)), 3, sum);
    }
    const float size = float(count);
    for (int32_t k = 0; k < 3; ++k) {
        centre[k] = sum[k] / size;
    }
}

/// Largest absolute deviation of a coordinate of a selected point from the centroid.
float spread(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t count, Rows<const float> points,
             const float* centre)
{
    float scale = 0.0f;
    for (int32_t i = 1; i <= count; ++i) {
        const float* p = points.row(selectedNode(nodes, m, first, i));
        for (int32_t k = 0; k < 3; ++k) {
            scale = std::fmax(scale, std::fabs(centre[k] - p[k]));
        }
    }
    return scale;
}

/// Covariance of the centred points divided by `scale`, a symmetric matrix stored by columns.
void covariance(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t count, Rows<const float> points,
                const float* centre, float scale, float* matrix)
{
    float sum[9] = {};
    for (int32_t i = 1; i <= count; ++i) {
        const float* p = points.row(selectedNode(nodes, m, first, i));
        float x[3];
        for (int32_t k = 0; k < 3; ++k) {
            x[k] = (p[k] - centre[k]) / scale;
        }
        for (int32_t j = 1; j <= 3; ++j) {
            for (int32_t k = 1; k <= j; ++k) {
                sum[m33at(j, k)] += x[k - 1] * x[j - 1];
            }
        }
    }
    const float inverse = 1.0f / float(count);
    for (int32_t j = 1; j <= 3; ++j) {
        for (int32_t k = 1; k <= j; ++k) {
            matrix[m33at(j, k)] = inverse * sum[m33at(j, k)];
            matrix[m33at(k, j)] = matrix[m33at(j, k)];
        }
    }
}

/// Divides v by its Euclidean length, when that length is not 0.
void normalise(float* v)
{
    const float largest = std::fmax(std::fabs(v[0]), std::fmax(std::fabs(v[1]), std::fabs(v[2])));
    if (largest > 0.0f && largest < kTinyComponent) {
        for (int32_t k = 0; k < 3; ++k) {
            v[k] = v[k] / largest;
        }
    }
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length != 0.0f) {
        for (int32_t k = 0; k < 3; ++k) {
            v[k] = v[k] / length;
        }
    }
}

} // namespace

int32_t selectionCount(int32_t m, int32_t first, int32_t last)
{
    if (m >= 1) {
        return m;
    }
    const int64_t count = int64_t(last) - int64_t(first) + 1;
    if (count < 0) {
        return 0;
    }
    return count > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : int32_t(count);
}

int32_t selectedNode(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t i)
{
    return m >= 1 ? nodes(i) : first + i - 1;
}

int plmcar(Vec<const int32_t> nodes, int32_t m, int32_t first, int32_t last, Rows<const float> points, float* plane)
{
    const int32_t count = selectionCount(m, first, last);
    if (count < 3) {
        return traced(kDataError, "PLMCAR", " IL FAUT 3 POINTS OU +");
    }
    if (points.width() != 3) {
        return traced(kDataError, "PLMCAR", " 3D SEULEMENT");
    }
    if (!selectionInside(nodes, m, first, last, points.count())) {
        return traced(kDataError, "PLMCAR", " NOEUD HORS DU TABLEAU");
    }
    // 1. centroid and scale
    float centre[3];
    centroid(nodes, m, first, count, points, centre);
    const float scale = spread(nodes, m, first, count, points, centre);
    if (!(scale > 0.0f)) {
        return traced(kDataError, "PLMCAR", " POINTS CONFONDUS");
    }
    // 2. scaled covariance
    float matrix[9];
    covariance(nodes, m, first, count, points, centre, scale, matrix);
    // 3. normal, and the plane through the centroid
    pronul(matrix, plane);
    plane[3] = -scalve(plane, centre, 3);
    return kOk;
}

void pronul(const float* matrix, float* vector)
{
    auto c = [matrix](int32_t i, int32_t j) { return matrix[m33at(i, j)]; };
    auto minor = [&c](int32_t i) {
        const int32_t h = successor(i);
        const int32_t l = successor(h);
        return c(l, l) * c(h, h) - c(h, l) * c(h, l);
    };
    // 1. the largest principal minor
    int32_t g = 1;
    float e = minor(1);
    for (int32_t i = 2; i <= 3; ++i) {
        const float candidate = minor(i);
        if (std::fabs(candidate) > std::fabs(e)) {
            g = i;
            e = candidate;
        }
    }
    auto v = [vector](int32_t i) -> float& { return vector[i - 1]; };
    if (std::fabs(e) > 0.0f) {
        // 2. the g-th row of the adjugate
        const int32_t l = successor(g);
        const int32_t m = successor(l);
        v(g) = e;
        v(l) = c(g, m) * c(l, m) - c(g, l) * c(m, m);
        v(m) = c(l, m) * c(g, l) - c(g, m) * c(l, l);
    } else {
        // 3. rank 1 or 0: a vector orthogonal to the dominant axis, built from the diagonal
        g = 1;
        for (int32_t i = 2; i <= 3; ++i) {
            if (std::fabs(c(i, i)) > std::fabs(c(g, g))) {
                g = i;
            }
        }
        if (!(std::fabs(c(g, g)) > 0.0f)) {
            v(1) = 1.0f;
            v(2) = 0.0f;
            v(3) = 0.0f;
            return;
        }
        if (g == 1) {
            v(1) = -c(1, 3) / c(1, 1);
            v(2) = 0.0f;
            v(3) = 1.0f;
        } else if (g == 3) {
            v(1) = 1.0f;
            v(2) = 0.0f;
            v(3) = -c(1, 3) / c(3, 3);
        } else {
            v(1) = 1.0f;
            v(2) = (-c(1, 2) - c(3, 2)) / c(2, 2);
            v(3) = 1.0f;
        }
    }
    // 4. unit length
    normalise(vector);
}

int podupn(const float* plane, float* origin)
{
    origin[0] = 0.0f;
    origin[1] = 0.0f;
    origin[2] = 0.0f;
    const float d = plane[3];
    if (!(std::fabs(d) > epsTiny())) {
        return kOk;
    }
    int32_t axis = 0;
    for (int32_t i = 1; i < 3; ++i) {
        if (std::fabs(plane[i]) > std::fabs(plane[axis])) {
            axis = i;
        }
    }
    if (plane[axis] == 0.0f) {
        return traced(kDataError, "PODUPN", " PLAN NUL ");
    }
    origin[axis] = -d / plane[axis];
    return kOk;
}

} // namespace tesmo
