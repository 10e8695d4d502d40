#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "geometry/geometry.hpp"
#include "support/codes.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include <string>

namespace tesmo {
namespace {

/// Runs `call` in debug mode and gives what it printed.
template <class Call>
std::string debugOutput(Call call)
{
    const int32_t saved = modini;
    modini = 2;
    ConsoleCapture capture;
    call();
    modini = saved;
    return capture.text();
}

TEST(Distances, ToPointsAxesAndSegments)
{
    const float pq[6] = {1.0f, 2.0f, 3.0f, 4.0f, 6.0f, 3.0f};
    EXPECT_EQ(dispp(3, pq, pq + 3), 5.0f);
    // within the rounding of the coordinates a distance is 0, at every scale
    for (const int k : {0, -40, 40}) {
        const float near[4] = {std::ldexp(1.0f, k), 0.0f, std::ldexp(1.0000001f, k), 0.0f};
        EXPECT_EQ(dispp(2, near, near + 2), 0.0f) << k;
        const float apart[4] = {0.0f, 0.0f, std::ldexp(5e-8f, k), 0.0f};
        EXPECT_EQ(dispp(2, apart, apart + 2), std::ldexp(5e-8f, k)) << k;
    }
    const float axis[6] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}; // point, unit direction
    const float side[3] = {4.0f, 5.0f, -9.0f};
    EXPECT_EQ(dispax(3, side, axis, axis + 3), 5.0f);

    // Segment (0, 0) - (2, 0): beyond S2 the distance is to S2 (5), not to the line (4).
    const float s[4] = {0.0f, 0.0f, 2.0f, 0.0f};
    const float places[4][2] = {{1.0f, 3.0f}, {5.0f, 4.0f}, {-3.0f, -4.0f}, {1.5f, 0.0f}};
    const float expected[4] = {3.0f, 5.0f, 5.0f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(dispsg(2, places[i], s, s + 2), expected[i]) << "place " << i + 1;
    }
    EXPECT_EQ(dispsg(2, places[2], s, s), 5.0f); // a segment reduced to a point
    // scaled by 2^k, every distance to the segment is scaled exactly, far beyond where its
    // squares would underflow or overflow
    for (const int k : {-60, -30, 30, 60}) {
        const float t2[4] = {0.0f, 0.0f, std::ldexp(2.0f, k), 0.0f};
        for (int i = 0; i < 4; ++i) {
            const float at[2] = {std::ldexp(places[i][0], k), std::ldexp(places[i][1], k)};
            EXPECT_EQ(segmentDistance(2, at, t2, t2 + 2), std::ldexp(expected[i], k)) << k << " place " << i + 1;
        }
    }
    const float t[6] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2.0f};
    const float past[3] = {0.0f, 3.0f, 6.0f};
    EXPECT_EQ(dispsg(3, past, t, t + 3), 5.0f);

    float param = 42.0f;
    ASSERT_EQ(prjseg(places[0], s, s + 2, 2, param), kOk);
    EXPECT_EQ(param, 0.5f);
    EXPECT_EQ(prjseg(places[0], s, s, 2, param), kDataError);
}

TEST(Dipoob, DistanceToEachKindOfObject)
{
    float distance = -1.0f;
    // Point (0, 5), axis and segment through (0, 0) and (0, 5): their points need not be a unit apart.
    const float object[4] = {0.0f, 0.0f, 0.0f, 5.0f};
    const float p[2] = {3.0f, 9.0f};
    const float expected[3] = {5.0f, 3.0f, 5.0f};
    for (const int32_t type : {kObjectPoint, kObjectAxis, kObjectSegment}) {
        const float* defining = type == kObjectPoint ? object + 2 : object;
        ASSERT_EQ(dipoob(2, p, type, defining, distance), kOk);
        EXPECT_EQ(distance, expected[type - 1]) << "type " << type;
        // A point on the object is at distance exactly 0.
        ASSERT_EQ(dipoob(2, object + 2, type, defining, distance), kOk);
        EXPECT_EQ(distance, 0.0f) << "type " << type;
    }
}

TEST(Dipoob, RefusesWhatItCannotMeasure)
{
    float distance = -1.0f;
    const float same[8] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    int code = kOk;
    std::string trace = debugOutput([&] { code = dipoob(2, same, kObjectAxis, same, distance); });
    EXPECT_EQ(code, kDataError);
    EXPECT_EQ(trace, " ERR -1  DONNEES INCORRECTES DANS :CG\n DANS DIPOOB\n");
    // A plane in 3D is refused silently: its caller reports it.
    trace = debugOutput([&] { code = dipoob(3, same, kObjectPlane, same, distance); });
    EXPECT_EQ(code, kNotAvailable);
    EXPECT_EQ(trace, "");
    EXPECT_EQ(dipoob(2, same, kObjectPlane, same, distance), kDataError);
    EXPECT_EQ(dipoob(2, same, 5, same, distance), kDataError);
    EXPECT_EQ(dipoob(1, same, kObjectSegment, same, distance), kDataError);
    EXPECT_EQ(dipoob(4, same, kObjectSegment, same, distance), kDataError);
    EXPECT_EQ(distance, -1.0f);
}

/// Break points of an object along the edge (0, 0, 0) - (4, 0, 0), with room for 3 points.
struct Breaks {
    float rows[9] = {};
    int32_t count = -1;
    int code = kOk;
};

Breaks breaksAlong(int32_t ndim, int32_t type, const float* object, int32_t rows = 3)
{
    const float p[3] = {0.0f, 0.0f, 0.0f};
    const float q[3] = {4.0f, 0.0f, 0.0f};
    Breaks breaks;
    breaks.code = dimono(p, q, ndim, type, object, Rows<float>(breaks.rows, ndim, rows), breaks.count);
    return breaks;
}

TEST(Dimono, BreaksAtAFootOrACrossingInsideTheEdge)
{
    const float o[3] = {1.0f, 3.0f, -2.0f};
    for (const int32_t ndim : {1, 2, 3}) {
        const Breaks breaks = breaksAlong(ndim, kObjectPoint, o);
        ASSERT_EQ(breaks.count, 1) << ndim << "D";
        EXPECT_EQ(breaks.rows[0], 1.0f);
    }
    // A foot at an end of the edge, or beyond it, is no break point.
    for (const float x : {0.0f, 4.0f, 6.0f}) {
        const float end[2] = {x, 5.0f};
        EXPECT_EQ(breaksAlong(2, kObjectPoint, end).count, 0) << "x = " << x;
    }
    const float crossing[4] = {1.0f, -1.0f, 2.0f, 1.0f};
    const Breaks breaks = breaksAlong(2, kObjectAxis, crossing);
    ASSERT_EQ(breaks.count, 1);
    EXPECT_FLOAT_EQ(breaks.rows[0], 1.5f);
    // An axis through an end of the edge is no crossing.
    const float throughP[4] = {0.0f, -1.0f, 0.0f, 1.0f};
    EXPECT_EQ(breaksAlong(2, kObjectAxis, throughP).count, 0);
}

TEST(Dimono, RefusesObjectsDimensionsAndTablesItCannotUse)
{
    const float object[6] = {1.0f, 1.0f, 1.0f, 1.0f, 3.0f, 1.0f};
    int code = kOk;
    const std::string trace = debugOutput([&] { code = breaksAlong(2, kObjectAxis, object).code; });
    EXPECT_EQ(code, kDataError);
    EXPECT_EQ(trace, " ERR -1  DONNEES INCORRECTES DANS :CG\n DANS DIMONO\n");
    EXPECT_EQ(breaksAlong(3, kObjectAxis, object).code, kNotAvailable);
    EXPECT_EQ(breaksAlong(3, kObjectSegment, object).code, kNotAvailable);
    EXPECT_EQ(breaksAlong(2, kObjectPlane, object).code, kNotAvailable);
    EXPECT_EQ(breaksAlong(1, kObjectSegment, object).code, kDataError);
    EXPECT_EQ(breaksAlong(2, 7, object).code, kDataError);
    EXPECT_EQ(breaksAlong(2, kObjectPoint, object, 0).code, kCapacityError);
    int32_t count = 0;
    float rows[9];
    EXPECT_EQ(dimono(object, object, 2, kObjectPoint, object + 2, Rows<float>(rows, 2, 3), count), kDataError);
    EXPECT_EQ(dimono(object, object + 2, 2, kObjectPoint, object, Rows<float>(rows, 3, 3), count), kDataError);
}

TEST(Dimosg2, SituationsOfASegmentAgainstTheEdge)
{
    struct Case {
        float s[4];
        int32_t code;
        float s0;
        int32_t bandCount;
        float bands[2];
    };
    // Against the edge (0, 0) - (10, 0): parallel (band ends inside the edge only), end-on,
    // crossing at x = 3 inside the band [1, 5], rising away from the edge (minimum at the foot
    // of the low end, left of the band [2.5, 7.5]), and beyond the far end.
    const Case cases[] = {
        {{2.0f, 1.0f, 5.0f, 1.0f}, kSegmentParallel, 0.0f, 2, {0.2f, 0.5f}},
        {{-5.0f, 1.0f, 5.0f, 1.0f}, kSegmentParallel, 0.0f, 1, {0.5f, 0.0f}},
        {{3.0f, 1.0f, 3.0f, 2.0f}, kSegmentEndOn, 0.3f, 0, {}},
        {{20.0f, 1.0f, 20.0f, 2.0f}, kSegmentNoMinimum, 2.0f, 0, {}},
        {{2.0f, -1.0f, 4.0f, 1.0f}, kSegmentCrossing, 0.3f, 2, {0.1f, 0.5f}},
        {{2.0f, 1.0f, 6.0f, 3.0f}, kSegmentFootS1, 0.2f, 2, {0.25f, 0.75f}},
        {{6.0f, 3.0f, 2.0f, 1.0f}, kSegmentFootS2, 0.2f, 2, {0.75f, 0.25f}},
        {{14.0f, 1.0f, 18.0f, 3.0f}, kSegmentNoMinimum, 0.0f, 0, {}},
    };
    const float pq[4] = {0.0f, 0.0f, 10.0f, 0.0f};
    for (const Case& c : cases) {
        float s0 = 0.0f;
        float bands[2] = {};
        int32_t bandCount = -1;
        int32_t code = -1;
        ASSERT_EQ(dimosg2(pq, pq + 2, 2, c.s, c.s + 2, s0, bands, bandCount, code), kOk);
        EXPECT_EQ(code, c.code) << "S1 = (" << c.s[0] << ", " << c.s[1] << ")";
        EXPECT_FLOAT_EQ(s0, c.s0) << "S1 = (" << c.s[0] << ", " << c.s[1] << ")";
        ASSERT_EQ(bandCount, c.bandCount) << "S1 = (" << c.s[0] << ", " << c.s[1] << ")";
        for (int32_t i = 0; i < bandCount; ++i) {
            EXPECT_FLOAT_EQ(bands[i], c.bands[i]);
        }
    }
}

TEST(Dimosg, MinimumThenBandEnds)
{
    const float pq[4] = {0.0f, 0.0f, 10.0f, 0.0f};
    float rows[6] = {};
    int32_t count = 0;
    const float crossing[4] = {2.0f, -1.0f, 4.0f, 1.0f};
    ASSERT_EQ(dimosg(pq, pq + 2, 2, crossing, crossing + 2, Rows<float>(rows, 2, 3), count), kOk);
    ASSERT_EQ(count, 3);
    EXPECT_FLOAT_EQ(rows[0], 3.0f);
    EXPECT_FLOAT_EQ(rows[2], 1.0f);
    EXPECT_FLOAT_EQ(rows[4], 5.0f);
    const float parallel[4] = {2.0f, 1.0f, 5.0f, 1.0f};
    ASSERT_EQ(dimosg(pq, pq + 2, 2, parallel, parallel + 2, Rows<float>(rows, 2, 3), count), kOk);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(rows[0], 2.0f);
    EXPECT_EQ(rows[2], 5.0f);
    int code = kOk;
    const std::string trace = debugOutput([&] { code = dimosg(pq, pq, 2, parallel, parallel + 2, Rows<float>(rows, 2, 3), count); });
    EXPECT_EQ(code, kDataError);
    EXPECT_EQ(trace, " ERR -1  DONNEES INCORRECTES DANS :DIMOSG\n APPEL DIMOSG2\n");
}

} // namespace
} // namespace tesmo
