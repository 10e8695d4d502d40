#pragma once
// Progressions: the interval lengths along a line form a geometric series (constant ratio q,
// type 1) or an arithmetic series (constant difference delta, type 2), starting from a size h.
//
// A segment of length L with n interior nodes is cut into n + 1 intervals k = 1 ... n + 1 of
// lengths u0 q^k (geometric) or u0 + k delta (arithmetic): u0 is the first term, the term
// before the first interval; the last term is the one after the last interval, u0 q^(n+2) or
// u0 + (n+2) delta. Both are handed to the next segment. A negative node count means that no
// node is placed. Points are runs of ndim reals; point lists are rows of ndim reals.
#include "files/es_densite.hpp"
#include "support/codes.hpp"
#include "support/tables.hpp"

#include <cstdint>

namespace tesmo {

/// Progression type known to the files but not available here.
inline constexpr int32_t kUnavailableProgression = 3;
/// Code of the dispatchers for that type (no message).
inline constexpr int kProgressionNotAvailable = -4;
/// `lisupo`: a ratio at or below this is null, and a difference at or below this times the mean
/// of the two intervals.
inline constexpr float kNullProgressionStep = 1e-10f;
/// Vertices of the polyline of `posunm2`: both ends and at most 6 intermediate points.
inline constexpr int32_t kPolylineVertices = 8;

/// Node count n and ratio (type 1) or difference (type 2) of a segment of length L with size
/// h1 at its start and h2 at its end. Returns 0; -1 for a size at or below zero (message) or
/// an unknown type; -4 for type 3 (outputs untouched).
[[nodiscard]] int su2po(int32_t type, float length, float h1, float h2, int32_t& n, float& step);
/// The geometric case of `su2po`.
[[nodiscard]] int sug2po(float length, float h1, float h2, int32_t& n, float& ratio);
/// The arithmetic case of `su2po`.
[[nodiscard]] int sua2po(float length, float h1, float h2, int32_t& n, float& difference);

/// First and last terms of n interior nodes on a segment of length L. Returns 0; -1 for a
/// non-positive ratio, length or count (message for the geometric case) or an unknown type; -4
/// for type 3.
[[nodiscard]] int scsuse(int32_t type, float length, int32_t n, float step, float& first, float& last);
/// The geometric case of `scsuse`.
[[nodiscard]] int scsugs(float length, int32_t n, float ratio, float& first, float& last);
/// The arithmetic case of `scsuse`.
[[nodiscard]] int scsuas(float length, int32_t n, float difference, float& first, float& last);

/// Writes the n node positions from `a` along the unit direction `t` into rows 1..n of `X`
/// (width ndim). Returns 0; -1 for n < 1 or an unknown type; -2 when X has fewer than n rows;
/// -4 for type 3.
[[nodiscard]] int suptsu(const float* a, const float* t, int32_t type, float first, int32_t n, float step,
                         Rows<float> X);
/// The geometric case of `suptsu`.
[[nodiscard]] int posug(const float* a, const float* t, float first, int32_t n, float ratio, Rows<float> X);
/// The arithmetic case of `suptsu`.
[[nodiscard]] int posua(const float* a, const float* t, float first, int32_t n, float difference, Rows<float> X);

/// Size at distance d from the origin of a progression of size h. Geometric: constant on each
/// interval of h, hq, hq^2, ... laid from the origin; +infinity where a decreasing series
/// never reaches; 0 for a ratio or size at or below zero. Arithmetic: (delta + sqrt(D))/2, or
/// D itself when negative. Any other type: 0.
float scsupo(int32_t type, float h, float step, float d);

/// Interior nodes of segment AB into X (width ndim, capacity its row count), ordered from A;
/// A and B are not written. h1 and h2 become the first and last terms when nodes are placed.
/// Returns 0; -1 for bad sizes or type; -2 for more nodes than X holds; -4 for type 3.
[[nodiscard]] int posum(const float* a, const float* b, float& h1, float& h2, int32_t type, Rows<float> X,
                        int32_t& n);

/// Interior nodes of the broken line P1-P2-P3 (sizes t1, t2, t3), P2 included when both legs
/// are at least t2 long. The sizes may be overwritten as by `posum`. Returns 0, or the codes of
/// `posum` (-2 when X cannot hold the nodes).
[[nodiscard]] int posunm(const float* p1, const float* p2, const float* p3, float& t1, float& t2, float& t3,
                         int32_t type, Rows<float> X, int32_t& n);

/// Interior nodes of segment P1P2 (sizes s1, s2) made to pass through the given points Y
/// (rows of ndim, sizes sY): a point becomes a vertex when both pieces it makes get nodes; a
/// point projecting outside the segment is dropped. Returns 0; -1 for a wrong dimension or a
/// failing count or placement; -2 for more than 6 points or more nodes than X holds.
[[nodiscard]] int posunm2(const float* p1, Rows<const float> Y, const float* p2, float s1, const float* sY,
                          float s2, int32_t type, Rows<float> X, int32_t& n);

/// Moves P2 along P2P3 so that the intervals P1P2 and P2P3 respect the progression (ratio at
/// most q, or difference at most delta); `mu` is the move relative to the mean interval (0 when
/// nothing moves). Returns 0; -1 for a null step, a null P2P3 or an unknown type.
[[nodiscard]] int lisupo(const float* p1, const float* p2, const float* p3, int32_t ndim, int32_t type, float step,
                         float* moved, float& mu);

} // namespace tesmo
