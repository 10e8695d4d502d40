// The check that zones neither cross nor overlap: random rectangles against a plain count of
// every pair of edges and every unit cell, then the cases the geometry files meet.
#include "driver/border_crossings.hpp"

#include "support/stress_geometry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace tesmo {
namespace {

using Place = std::array<float, 3>;

/// A layout in the making: borders through places (a place used twice is one point), each
/// element with up to two zones.
struct Layout {
    int32_t dimension = 2;
    std::vector<Place> places;
    std::vector<int32_t> nodes;
    std::vector<int32_t> codes;
    std::vector<int32_t> zones;
    std::map<Place, int32_t> numbers;

    int32_t point(Place p)
    {
        const auto [at, added] = numbers.emplace(p, int32_t(places.size()) + 1);
        if (added) {
            places.push_back(p);
        }
        return at->second;
    }
    void element(int32_t a, int32_t b, std::array<int32_t, 2> z)
    {
        nodes.insert(nodes.end(), {a, b});
        codes.insert(codes.end(), z.begin(), z.end());
        for (const int32_t code : z) {
            if (code != 0 && std::find(zones.begin(), zones.end(), code) == zones.end()) {
                zones.push_back(code);
            }
        }
    }
    /// A border through the places, closed when `closed`.
    void border(const std::vector<Place>& at, bool closed, std::array<int32_t, 2> z)
    {
        std::vector<int32_t> ids;
        for (const Place& p : at) {
            ids.push_back(point(p));
        }
        for (std::size_t i = 0; i + 1 < ids.size(); ++i) {
            element(ids[i], ids[i + 1], z);
        }
        if (closed) {
            element(ids.back(), ids.front(), z);
        }
    }
    void lone(Place p, int32_t zone) { element(point(p), 0, {zone, 0}); }
    /// A rectangle, counter-clockwise from its lower left corner.
    void rectangle(float x0, float y0, float x1, float y1, std::array<int32_t, 2> z)
    {
        border({{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}}, true, z);
    }

    int check(GeometryFault& fault) const
    {
        std::vector<float> xyz;
        for (const Place& p : places) {
            xyz.insert(xyz.end(), p.begin(), p.begin() + dimension);
        }
        std::vector<int32_t> work(20000 + 40 * nodes.size());
        std::vector<float> reals(2000 + 10 * xyz.size());
        const BorderLayout layout{Rows<const int32_t>(nodes.data(), 2, int32_t(nodes.size() / 2)),
                                  Rows<const int32_t>(codes.data(), 2, int32_t(codes.size() / 2)),
                                  Rows<const float>(xyz.data(), dimension, int32_t(places.size())),
                                  Vec<const int32_t>(zones.data(), int32_t(zones.size()))};
        return checkBorderCrossings(layout, Vec<int32_t>(work.data(), int32_t(work.size())),
                                    Vec<float>(reals.data(), int32_t(reals.size())), fault);
    }
    FaultKind verdict() const
    {
        GeometryFault fault;
        const int code = check(fault);
        EXPECT_EQ(code == kOk, fault.kind == FaultKind::none);
        return fault.kind;
    }
};

/// Rectangles of a random draw on a small grid, with their zones.
struct Rectangle {
    int x0, y0, x1, y1, zone;
};

/// The plain verdict: any two sides that share a place other than a corner of both (sides on
/// one line count once); else two zones over one unit cell, a zone covering a cell inside an
/// odd number of its rectangles. `counted` is false when two rectangles of one zone share a
/// side: the zone's borders are then a set of lines, not loops to count.
FaultKind plainVerdict(const std::vector<Rectangle>& rectangles, int grid, bool& counted)
{
    counted = true;
    struct Side {
        int x0, y0, x1, y1;
    };
    std::vector<Side> sides;
    for (const Rectangle& r : rectangles) {
        const Side four[] = {{r.x0, r.y0, r.x1, r.y0}, {r.x1, r.y0, r.x1, r.y1}, {r.x0, r.y1, r.x1, r.y1},
                             {r.x0, r.y0, r.x0, r.y1}};
        sides.insert(sides.end(), four, four + 4);
    }
    const auto corner = [](const Side& s, int x, int y) { return (x == s.x0 && y == s.y0) || (x == s.x1 && y == s.y1); };
    for (std::size_t i = 0; i < sides.size(); ++i) {
        for (std::size_t j = i + 1; j < sides.size(); ++j) {
            const Side& a = sides[i];
            const Side& b = sides[j];
            const int x0 = std::max(a.x0, b.x0), x1 = std::min(a.x1, b.x1);
            const int y0 = std::max(a.y0, b.y0), y1 = std::min(a.y1, b.y1);
            const bool same = a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1;
            if (same && rectangles[i / 4].zone == rectangles[j / 4].zone) {
                counted = false;
            }
            if (x0 > x1 || y0 > y1 || same) {
                continue;
            }
            if (x0 != x1 || y0 != y1 || !corner(a, x0, y0) || !corner(b, x0, y0)) {
                return FaultKind::crossing;
            }
        }
    }
    for (int x = 0; x < grid; ++x) {
        for (int y = 0; y < grid; ++y) {
            std::map<int, int> inside;
            for (const Rectangle& r : rectangles) {
                inside[r.zone] += x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1 ? 1 : 0;
            }
            const auto covering = std::count_if(inside.begin(), inside.end(), [](auto& z) { return z.second % 2 == 1; });
            if (covering >= 2) {
                return FaultKind::overlap;
            }
        }
    }
    return FaultKind::none;
}

TEST(BorderCrossings, RandomRectanglesAgreeWithEveryPairAndCell)
{
    constexpr int kGrid = 7;
    int seen[3] = {};
    for (uint64_t seed = 1; seed <= 4000; ++seed) {
        testing::Random random(seed);
        std::vector<Rectangle> rectangles(std::size_t(random.integer(1, 3)));
        for (std::size_t i = 0; i < rectangles.size(); ++i) {
            Rectangle& r = rectangles[i];
            // every other rectangle, when there is room, drawn inside the one before
            const Rectangle outer = i > 0 && random.integer(0, 2) > 0 ? rectangles[i - 1] : Rectangle{-1, -1, kGrid + 1, kGrid + 1, 0};
            const bool room = outer.x1 - outer.x0 >= 3 && outer.y1 - outer.y0 >= 3;
            const int low = room ? outer.x0 + 1 : 0;
            const int high = room ? outer.x1 - 1 : kGrid;
            const int bottom = room ? outer.y0 + 1 : 0;
            const int top = room ? outer.y1 - 1 : kGrid;
            // the first rectangle, half of the time, large enough to hold another
            const int least = i == 0 && random.integer(0, 1) == 1 ? 3 : 1;
            r.x0 = random.integer(low, high - least);
            r.y0 = random.integer(bottom, top - least);
            r.x1 = random.integer(r.x0 + least, high);
            r.y1 = random.integer(r.y0 + least, top);
            r.zone = random.integer(1, 3);
        }
        // the same rectangles in the plane, and in space on the plane z = x + 2 y
        Layout flat;
        Layout tilted;
        tilted.dimension = 3;
        for (const Rectangle& r : rectangles) {
            flat.rectangle(float(r.x0), float(r.y0), float(r.x1), float(r.y1), {r.zone, 0});
            const auto at = [](int x, int y) { return Place{float(x), float(y), float(x + 2 * y)}; };
            tilted.border({at(r.x0, r.y0), at(r.x1, r.y0), at(r.x1, r.y1), at(r.x0, r.y1)}, true, {r.zone, 0});
        }
        bool counted = true;
        const FaultKind expected = plainVerdict(rectangles, kGrid, counted);
        if (!counted && expected != FaultKind::crossing) {
            continue;
        }
        FaultKind found = flat.verdict();
        if (found == FaultKind::touching) {
            found = FaultKind::crossing; // the plain count does not tell a touch from a crossing
        }
        ASSERT_EQ(found, expected) << "seed " << seed;
        FaultKind inSpace = tilted.verdict();
        ASSERT_EQ(inSpace == FaultKind::touching ? FaultKind::crossing : inSpace, expected) << "seed " << seed;
        ++seen[expected == FaultKind::none ? 0 : expected == FaultKind::overlap ? 1 : 2];
    }
    // every verdict drawn often enough to count
    EXPECT_GT(seen[0], 1000);
    EXPECT_GT(seen[1], 300);
    EXPECT_GT(seen[2], 1000);
}

struct Case {
    const char* what;
    void (*draw)(Layout&);
    FaultKind expected;
};

class BorderCases : public ::testing::TestWithParam<Case> {};

TEST_P(BorderCases, Verdict)
{
    Layout layout;
    GetParam().draw(layout);
    EXPECT_EQ(layout.verdict(), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Geometries, BorderCases,
    ::testing::Values(
        Case{"two squares whose borders cross",
             [](Layout& g) {
                 g.rectangle(0, 0, 2, 2, {1, 0});
                 g.rectangle(1, 1, 3, 3, {2, 0});
             },
             FaultKind::crossing},
        Case{"a zone inside another that has no hole for it",
             [](Layout& g) {
                 g.rectangle(0, 0, 4, 4, {1, 0});
                 g.rectangle(1, 1, 2, 2, {2, 0});
             },
             FaultKind::overlap},
        Case{"a border that runs along another, then crosses it",
             [](Layout& g) {
                 g.border({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, true, {1, 0});
                 g.border({{1, 0, 0}, {2, 0, 0}, {3, 1, 0}, {3, -1, 0}, {1, -1, 0}}, true, {2, 0});
             },
             FaultKind::crossing},
        Case{"a border that crosses itself",
             [](Layout& g) { g.border({{0, 0, 0}, {2, 0, 0}, {0, 2, 0}, {2, 2, 0}}, true, {1, 0}); },
             FaultKind::crossing},
        Case{"a border ending on another between its points",
             [](Layout& g) {
                 g.rectangle(0, 0, 2, 2, {1, 0});
                 g.border({{2, 0, 0}, {4, 0, 0}, {4, 2, 0}, {2, 2, 0}, {2, 1, 0}}, true, {2, 0});
             },
             FaultKind::touching},
        Case{"a lone point on an edge",
             [](Layout& g) {
                 g.rectangle(0, 0, 2, 2, {1, 0});
                 g.lone({1, 0, 0}, 1);
             },
             FaultKind::touching},
        Case{"an edge of length zero",
             [](Layout& g) {
                 g.border({{0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}}, true, {1, 0});
             },
             FaultKind::zeroLength},
        Case{"a grid of squares, each shared side listed once with both zones",
             [](Layout& g) {
                 const auto side = [&](float x0, float y0, float x1, float y1, std::array<int32_t, 2> z) {
                     g.border({{x0, y0, 0}, {x1, y1, 0}}, false, z);
                 };
                 side(0, 0, 2, 0, {1, 0});
                 side(2, 0, 4, 0, {2, 0});
                 side(4, 0, 4, 2, {2, 0});
                 side(4, 2, 4, 4, {4, 0});
                 side(4, 4, 2, 4, {4, 0});
                 side(2, 4, 0, 4, {3, 0});
                 side(0, 4, 0, 2, {3, 0});
                 side(0, 2, 0, 0, {1, 0});
                 side(2, 0, 2, 2, {1, 2});
                 side(2, 2, 2, 4, {3, 4});
                 side(0, 2, 2, 2, {1, 3});
                 side(2, 2, 4, 2, {2, 4});
             },
             FaultKind::none},
        Case{"two squares side by side, each with a closed border of its own",
             [](Layout& g) {
                 g.rectangle(0, 0, 1, 1, {1, 0});
                 g.rectangle(1, 0, 2, 1, {2, 0});
             },
             FaultKind::none},
        Case{"a hole filled by another zone",
             [](Layout& g) {
                 g.rectangle(0, 0, 3, 3, {1, 0});
                 g.rectangle(1, 1, 2, 2, {1, 2});
             },
             FaultKind::none},
        Case{"a zone in a corner of another, whose border goes round it",
             [](Layout& g) {
                 g.border({{1, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 1, 0}}, false, {1, 0});
                 g.border({{0, 1, 0}, {0, 0, 0}, {1, 0, 0}}, false, {2, 0});
                 g.border({{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, false, {1, 2});
             },
             FaultKind::none},
        Case{"open lines inside a zone that shares its top with another",
             [](Layout& g) {
                 g.border({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, false, {1, 0});
                 g.border({{2, 2, 0}, {0, 2, 0}}, false, {1, 2});
                 g.border({{0, 2, 0}, {0, 0, 0}}, false, {1, 0});
                 g.border({{2, 2, 0}, {2, 3, 0}, {0, 3, 0}, {0, 2, 0}}, false, {2, 0});
                 g.border({{0, 0, 0}, {0.5f, 0.5f, 0}, {1, 0.5f, 0}}, false, {1, 0}); // from a corner
                 g.border({{1, 1, 0}, {1.5f, 1.5f, 0}}, false, {1, 0});                // free
                 g.lone({0.5f, 1.5f, 0}, 1);
             },
             FaultKind::none},
        Case{"a line across a zone, from border to border, beside another zone",
             [](Layout& g) {
                 g.rectangle(0, 0, 2, 2, {1, 0});
                 g.border({{0, 0, 0}, {2, 2, 0}}, false, {1, 0});
                 g.rectangle(2, 0, 3, 2, {2, 0});
             },
             FaultKind::none},
        Case{"a line of no zone across a zone is not meshed",
             [](Layout& g) {
                 g.rectangle(0, 0, 2, 2, {1, 0});
                 g.border({{-1, 1, 0}, {3, 1, 0}}, false, {0, 0});
                 g.lone({1, 0, 0}, 0);
             },
             FaultKind::none}),
    [](const ::testing::TestParamInfo<Case>& param) { return "case" + std::to_string(param.index); });

TEST(BorderCrossings, FaultNamesTheEdgesThePointsAndThePlace)
{
    // the squares (0,0)-(2,2) and (1,1)-(3,3): their first crossing in the order of x is (1, 2)
    Layout g;
    g.rectangle(0, 0, 2, 2, {1, 0});
    g.rectangle(1, 1, 3, 3, {2, 0});
    GeometryFault fault;
    ASSERT_EQ(g.check(fault), kDataError);
    EXPECT_EQ(fault.kind, FaultKind::crossing);
    EXPECT_EQ(fault.dimension, 2);
    EXPECT_EQ(fault.place[0], 1.0f);
    EXPECT_EQ(fault.place[1], 2.0f);
    // edge 8 (1,3)-(1,1) of the second square, edge 3 (2,2)-(0,2) of the first
    EXPECT_EQ(fault.edges, (std::array<int32_t, 2>{8, 3}));
    EXPECT_EQ(fault.points, (std::array<int32_t, 4>{8, 5, 3, 4}));
    // a zone inside another: the zones, and the middle of the inner zone's lowest edge
    Layout inner;
    inner.rectangle(0, 0, 4, 4, {7, 0});
    inner.rectangle(1, 1, 2, 2, {9, 0});
    ASSERT_EQ(inner.check(fault), kDataError);
    EXPECT_EQ(fault.kind, FaultKind::overlap);
    EXPECT_EQ(fault.zones, (std::array<int32_t, 2>{7, 9}));
    EXPECT_EQ(fault.edges, (std::array<int32_t, 2>{5, 1}));
    EXPECT_EQ(fault.place[0], 1.5f);
    EXPECT_EQ(fault.place[1], 1.0f);
}

TEST(BorderCrossings, ZonesOfOtherPlanesAreNotComparedAndShortWorkChecksNothing)
{
    // two faces of a cube meeting along an edge: each is a zone of its own plane
    Layout cube;
    cube.dimension = 3;
    cube.border({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, true, {1, 0});
    cube.border({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}, true, {2, 0});
    cube.border({{0.2f, 0, 0.2f}, {0.8f, 0, 0.2f}, {0.8f, 0, 0.8f}, {0.2f, 0, 0.8f}}, true, {3, 0});
    EXPECT_EQ(cube.verdict(), FaultKind::overlap); // zone 3 lies inside zone 2, in its plane
    cube.nodes.resize(cube.nodes.size() - 8);
    cube.codes.resize(cube.codes.size() - 8);
    cube.zones.pop_back();
    EXPECT_EQ(cube.verdict(), FaultKind::none);

    Layout g;
    g.rectangle(0, 0, 2, 2, {1, 0});
    g.rectangle(1, 1, 3, 3, {2, 0});
    std::vector<float> xyz;
    for (const Place& p : g.places) {
        xyz.insert(xyz.end(), p.begin(), p.begin() + 2);
    }
    std::vector<int32_t> work(20);
    const BorderLayout layout{Rows<const int32_t>(g.nodes.data(), 2, int32_t(g.nodes.size() / 2)),
                              Rows<const int32_t>(g.codes.data(), 2, int32_t(g.codes.size() / 2)),
                              Rows<const float>(xyz.data(), 2, int32_t(g.places.size())),
                              Vec<const int32_t>(g.zones.data(), int32_t(g.zones.size()))};
    GeometryFault fault;
    EXPECT_EQ(checkBorderCrossings(layout, Vec<int32_t>(work.data(), 20), Vec<float>(), fault), kCapacityError);
    EXPECT_EQ(fault.kind, FaultKind::none);
}

} // namespace
} // namespace tesmo
