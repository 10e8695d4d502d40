#include "files/es_geometrie.hpp"

#include "files/es_util.hpp"
#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace tesmo {
namespace {

using testfiles::dataError;
using testfiles::report;

/// Storage for the tables of a filling pass, sized from a counting pass.
struct Geometry {
    GeometrySizes sizes;
    std::vector<float> coordinates;
    std::vector<int32_t> edgeNodes;
    std::vector<int32_t> zoneCodes;
    std::vector<int32_t> edgeCodes;
    GeometryTables tables()
    {
        return {Vec<float>(coordinates.data(), int32_t(coordinates.size())),
                Vec<int32_t>(edgeNodes.data(), int32_t(edgeNodes.size())),
                Vec<int32_t>(zoneCodes.data(), int32_t(zoneCodes.size())),
                Vec<int32_t>(edgeCodes.data(), int32_t(edgeCodes.size()))};
    }
};

/// Counts the file, then stores it in tables of exactly the counted sizes.
int readBoth(const std::string& name, Geometry& g)
{
    std::vector<int32_t> zones(100);
    GeometryTables counting{Vec<float>(), Vec<int32_t>(), Vec<int32_t>(zones.data(), 100), Vec<int32_t>()};
    int code = litfrt(0, name, counting, g.sizes);
    if (code != kOk) {
        return code;
    }
    g.coordinates.assign(std::size_t(g.sizes.npts * g.sizes.dimension), -7.0f);
    g.edgeNodes.assign(std::size_t(g.sizes.ne * g.sizes.nodesPerElement), -7);
    g.zoneCodes.assign(std::size_t(g.sizes.zones), -7);
    g.edgeCodes.assign(std::size_t(g.sizes.ne * std::max(g.sizes.codesPerEdge, 2)), -7);
    return litfrt(1, name, g.tables(), g.sizes);
}

std::string square(std::string_view borders)
{
    return "DEBXYZ\n4 2\n0 0\n1 0\n1 1\n0 1\nFINXYZ\n" + std::string(borders);
}

class Litfrt : public testfiles::FileTest {};

TEST_F(Litfrt, PolylineGivesOneEdgePerPairWithTheBorderCodes)
{
    write("a.geo", square("DEBILM\n1\n4 1 2 3 4 100 2 1 2\nFINILM\n"));
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    EXPECT_EQ(g.sizes.dimension, 2);
    EXPECT_EQ(g.sizes.npts, 4);
    EXPECT_EQ(g.sizes.ne, 3);
    EXPECT_EQ(g.sizes.nodesPerElement, 2);
    EXPECT_EQ(g.sizes.codesPerEdge, 2);
    EXPECT_EQ(g.sizes.elementDimension, 1);
    EXPECT_EQ(g.sizes.zones, 2);
    EXPECT_EQ(g.edgeNodes, (std::vector<int32_t>{1, 2, 2, 3, 3, 4}));
    EXPECT_EQ(g.edgeCodes, (std::vector<int32_t>{1, 2, 1, 2, 1, 2}));
    EXPECT_EQ(g.zoneCodes, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(g.coordinates, (std::vector<float>{0, 0, 1, 0, 1, 1, 0, 1}));
}

TEST_F(Litfrt, IntervalsExpandInBothDirections)
{
    // The blank line before the points is ignored by the free-format reads.
    write("b.geo", "DEBXYZ\n9 2\n\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\n0 0\nFINXYZ\n"
                   "DEBILM\n2\n-3 1 7 3 100 1 1\n-3 9 1 -2 100 1 1\nFINILM\n");
    Geometry g;
    ASSERT_EQ(readBoth("b.geo", g), kOk);
    EXPECT_EQ(g.sizes.ne, 6);
    EXPECT_EQ(g.edgeNodes, (std::vector<int32_t>{1, 4, 4, 7, 9, 7, 7, 5, 5, 3, 3, 1}));
}

TEST_F(Litfrt, IsolatedPointsHoldTheirPointAndZero)
{
    write("a.geo", square("DEBILM\n1\n3 2 3 4 99 1 3\nFINILM\n"));
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    EXPECT_EQ(g.sizes.ne, 3);
    EXPECT_EQ(g.sizes.nodesPerElement, 1);
    EXPECT_EQ(g.sizes.elementDimension, 0);
    // The driver's row lengths: 2 nodes and 2 codes per element.
    g.sizes.nodesPerElement = 2;
    g.sizes.codesPerEdge = 2;
    g.edgeNodes.assign(6, -7);
    g.edgeCodes.assign(6, -7);
    ASSERT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kOk);
    EXPECT_EQ(g.edgeNodes, (std::vector<int32_t>{2, 0, 3, 0, 4, 0}));
    EXPECT_EQ(g.edgeCodes, (std::vector<int32_t>{3, 0, 3, 0, 3, 0}));
}

TEST_F(Litfrt, ZoneCodesInOrderOfFirstAppearance)
{
    write("a.geo", square("DEBILM\n3\n2 1 2 100 2 7 0\n2 2 3 100 2 5 7\n2 3 4 100 1 2\nFINILM\n"));
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    EXPECT_EQ(g.sizes.zones, 3);
    EXPECT_EQ(g.zoneCodes, (std::vector<int32_t>{7, 5, 2}));
    EXPECT_EQ(g.edgeCodes, (std::vector<int32_t>{7, 0, 5, 7, 2, 0}));
    // The count goes on beyond the capacity of the list; only what fits is written.
    std::vector<int32_t> two(2, 0);
    GeometrySizes sizes;
    ASSERT_EQ(litfrt(0, "a.geo", {Vec<float>(), Vec<int32_t>(), Vec<int32_t>(two.data(), 2), Vec<int32_t>()}, sizes),
              kOk);
    EXPECT_EQ(sizes.zones, 3);
    EXPECT_EQ(two, (std::vector<int32_t>{7, 5}));
}

TEST_F(Litfrt, PointsOnlyGiveNoBorders)
{
    write("a.geo", "* a comment outside the block\ndebxyz trailing words\n2 3\n0 0 0\n*x comment between points\n"
                   "1 2\n 3\nfinxyz\n");
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    EXPECT_EQ(g.sizes.ne, 0);
    EXPECT_EQ(g.sizes.nodesPerElement, 0);
    EXPECT_EQ(g.sizes.codesPerEdge, 0);
    EXPECT_EQ(g.coordinates, (std::vector<float>{0, 0, 0, 1, 2, 3}));
}

TEST_F(Litfrt, IlmIsPreferredToAre)
{
    write("a.geo", square("DEBARE\n1\n2 1 3 100 1 9\nFINARE\nDEBILM\n1\n2 2 4 100 1 8\nFINILM\n"));
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    EXPECT_EQ(g.edgeNodes, (std::vector<int32_t>{2, 4}));
    write("b.geo", square("DEBARE\n1\n2 1 3 100 1 9\nFINARE\n"));
    ASSERT_EQ(readBoth("b.geo", g), kOk);
    EXPECT_EQ(g.edgeNodes, (std::vector<int32_t>{1, 3}));
}

TEST_F(Litfrt, ThreePointBorderIsCountedThenNotYetPossible)
{
    write("a.geo", square("DEBILM\n1\n3 1 2 3 101 1 1\nFINILM\n"));
    Geometry g;
    std::vector<int32_t> zones(4);
    ASSERT_EQ(litfrt(0, "a.geo", {Vec<float>(), Vec<int32_t>(), Vec<int32_t>(zones.data(), 4), Vec<int32_t>()}, g.sizes),
              kOk);
    EXPECT_EQ(g.sizes.nodesPerElement, 3);
    EXPECT_EQ(g.sizes.ne, 0);
    ConsoleCapture console;
    EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kNotAvailable);
    EXPECT_EQ(console.text(), "");
}

struct Malformed {
    const char* what;
    std::string file;
    int code;
    std::string console;
};

class LitfrtMalformed : public testfiles::FileTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(LitfrtMalformed, ReportsItsMessageAndCode)
{
    const Malformed& m = GetParam();
    write("bad.geo", m.file);
    std::vector<int32_t> zones(10);
    GeometrySizes sizes;
    ConsoleCapture console;
    EXPECT_EQ(litfrt(0, "bad.geo", {Vec<float>(), Vec<int32_t>(), Vec<int32_t>(zones.data(), 10), Vec<int32_t>()}, sizes),
              m.code)
        << m.what;
    EXPECT_EQ(console.text(), m.console) << m.what;
}

const std::string kAtBorder1 = dataError("at the border :", 1);

INSTANTIATE_TEST_SUITE_P(
    Geometry, LitfrtMalformed,
    ::testing::Values(
        Malformed{"no XYZ block", "DEBILM\n0\nFINILM\n", kDataError,
                  dataError("in Block XYZ : starting or ending tag is missing")},
        Malformed{"no end tag", "DEBXYZ\n1 2\n0 0\n", kDataError,
                  dataError("in Block XYZ : starting or ending tag is missing")},
        Malformed{"letters in the header", "DEBXYZ\nfour 2\nFINXYZ\n", kDataError,
                  dataError("in Block XYZ : number of points or dimension is wrong")},
        Malformed{"no point", "DEBXYZ\n0 2\nFINXYZ\n", kDataError,
                  dataError("in Block XYZ : number of points or dimension is wrong")},
        Malformed{"dimension 11", "DEBXYZ\n1 11\n0 0 0 0 0 0 0 0 0 0 0\nFINXYZ\n", kCapacityError,
                  report("COMPUTER ERROR", "in Block XYZ : dimension is too hight, must be less than :", 10)},
        Malformed{"truncated points", "DEBXYZ\n3 2\n0 0\n1 0\nFINXYZ\n", kDataError, dataError("at the point :", 3)},
        Malformed{"a letter in a point", "DEBXYZ\n2 2\n0 0\n1 x\nFINXYZ\n", kDataError,
                  dataError("at the point :", 2)},
        Malformed{"a huge point count", "DEBXYZ\n2000000000 2\n0 0\n1 0\nFINXYZ\n", kDataError,
                  dataError("at the point :", 3)},
        Malformed{"letters for the border count", square("DEBILM\nx\nFINILM\n"), kDataError,
                  dataError("in Block ARE ou ILM : number of borders or dimension is wrong")},
        Malformed{"point 0", square("DEBILM\n1\n2 0 1 100 1 1\nFINILM\n"), kDataError,
                  dataError("a point is wrong in the border :", 1)},
        Malformed{"point above npts", square("DEBILM\n2\n2 1 2 100 1 1\n2 4 5 100 1 1\nFINILM\n"), kDataError,
                  dataError("a point is wrong in the border :", 2)},
        Malformed{"empty interval", square("DEBILM\n1\n-3 5 1 1 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border : the interval is empty", 0) + kAtBorder1},
        Malformed{"interval step 0", square("DEBILM\n1\n-3 1 4 0 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border : the interval is empty", 0) + kAtBorder1},
        Malformed{"interval longer than a border", square("DEBILM\n1\n-3 1 2000000000 1 100 1 1\nFINILM\n"),
                  kDataError, dataError("too many nodes on a border, must be less than", 10000) + kAtBorder1},
        Malformed{"interval whose ends overflow 32 bits",
                  square("DEBILM\n1\n-3 -2000000000 2000000000 2000000000 100 1 1\nFINILM\n"), kDataError,
                  dataError("a point is wrong in the border :", 1)},
        Malformed{"negative count other than -3", square("DEBILM\n1\n-2 1 2 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border definition : interval must begin with -3", -2) + kAtBorder1},
        Malformed{"too many points", square("DEBILM\n1\n10001 1 2\nFINILM\n"), kDataError,
                  dataError("too many nodes on a border, must be less than", 10000) + kAtBorder1},
        Malformed{"too many zones", square("DEBILM\n1\n2 1 2 100 11 1 2 3 4 5 6 7 8 9 10 11\nFINILM\n"), kDataError,
                  report("COMPUTER ERROR", "too many zones on a border, must be less than", 10) + kAtBorder1},
        Malformed{"negative zone count", square("DEBILM\n1\n2 1 2 100 -1\nFINILM\n"), kDataError,
                  dataError("in a border definition : number of zones is not correct", -1) + kAtBorder1},
        Malformed{"unknown code", square("DEBILM\n1\n2 1 2 98 1 1\nFINILM\n"), kDataError,
                  dataError("unknown code for border :", 98) + kAtBorder1},
        Malformed{"isolated points with two zones", square("DEBILM\n1\n2 1 2 99 2 1 2\nFINILM\n"), kDataError,
                  dataError("in a border definition : number of nodes is not correct", 2) + kAtBorder1},
        Malformed{"polyline of one point", square("DEBILM\n1\n1 1 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border definition : number of nodes is not correct", 1) + kAtBorder1},
        Malformed{"three-point border of four points", square("DEBILM\n1\n4 1 2 3 4 101 1 1\nFINILM\n"), kDataError,
                  dataError("in a border definition : number of nodes is not correct", 4) + kAtBorder1},
        Malformed{"truncated record", square("DEBILM\n1\n4 1 2 3\nFINILM\n"), kDataError,
                  dataError("in a border : incomplete definition") + kAtBorder1},
        Malformed{"a letter in a record", square("DEBILM\n1\n2 1 b 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border definition") + kAtBorder1},
        Malformed{"a real for a point number", square("DEBILM\n1\n2 1 2.0 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border definition") + kAtBorder1},
        Malformed{"fewer borders than announced", square("DEBILM\n2\n2 1 2 100 1 1\nFINILM\n"), kDataError,
                  dataError("in a border : incomplete definition") + dataError("at the border :", 2)}),
    [](const ::testing::TestParamInfo<Malformed>& param) { return "case" + std::to_string(param.index); });

TEST_F(Litfrt, MissingFileIsReportedWithItsName)
{
    ConsoleCapture console;
    GeometrySizes sizes;
    EXPECT_EQ(litfrt(0, "none.geo", {}, sizes), kDataError);
    EXPECT_EQ(console.text(), dataError("can t open the file :", "none.geo"));
}

TEST_F(Litfrt, FillingPassRefusesTablesThatCannotHoldTheGeometry)
{
    write("a.geo", square("DEBILM\n1\n4 1 2 3 4 100 2 1 2\nFINILM\n"));
    Geometry g;
    ASSERT_EQ(readBoth("a.geo", g), kOk);
    const GeometrySizes counted = g.sizes;
    const std::string memory = report("COMPUTER ERROR", "Unknown : memory allocation?!");
    {
        // A coordinate table one real short.
        ConsoleCapture console;
        g.coordinates.resize(7);
        EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kCapacityError);
        EXPECT_EQ(console.text(), memory);
        g.coordinates.resize(8);
    }
    {
        // A row length below the file's dimension.
        ConsoleCapture console;
        g.sizes.dimension = 1;
        EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kDataError);
        EXPECT_EQ(console.text(), dataError("in Block XYZ, wrong dimension"));
        g.sizes = counted;
    }
    {
        // Three codes per edge: the code table must hold 3 per element, not only 2.
        ConsoleCapture console;
        g.sizes.codesPerEdge = 3;
        EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kCapacityError);
        EXPECT_EQ(console.text(), memory);
        g.sizes = counted;
    }
    {
        // Edges do not fit rows of one node.
        ConsoleCapture console;
        g.sizes.nodesPerElement = 1;
        g.edgeNodes.resize(6);
        EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kCapacityError);
        EXPECT_EQ(console.text(), memory);
        g.sizes = counted;
    }
    {
        // An edge is of dimension 1: a coordinate row length of 0 cannot hold it.
        ConsoleCapture console;
        std::vector<int32_t> zones(2);
        GeometrySizes sizes = counted;
        sizes.dimension = 0;
        EXPECT_EQ(litfrt(1, "a.geo", {Vec<float>(), Vec<int32_t>(), Vec<int32_t>(zones.data(), 2), Vec<int32_t>()}, sizes),
                  kDataError);
        EXPECT_EQ(console.text(), dataError("dimension of the space must be > than the dimension of elements"));
    }
    {
        ConsoleCapture console;
        g.zoneCodes.resize(1);
        EXPECT_EQ(litfrt(1, "a.geo", g.tables(), g.sizes), kCapacityError);
        EXPECT_EQ(console.text(), memory);
    }
}

TEST_F(Litfrt, FailedReadsGiveTheirUnitsBack)
{
    write("bad.geo", square("DEBILM\n1\n2 1 9 100 1 1\nFINILM\n"));
    write("good.geo", square(""));
    ConsoleCapture console;
    GeometrySizes sizes;
    for (int i = 0; i < 2 * kMaxOpenFiles; ++i) {
        ASSERT_EQ(litfrt(0, "bad.geo", {}, sizes), kDataError);
    }
    EXPECT_EQ(openFileCount(), 0);
    EXPECT_EQ(litfrt(0, "good.geo", {}, sizes), kOk);
}

TEST_F(Litfrt, DataFileIsClosedWhenNoScratchUnitIsLeft)
{
    write("good.geo", square(""));
    std::vector<int32_t> units;
    for (int i = 0; i < kMaxOpenFiles - 1; ++i) {
        int32_t unit = 0;
        ASSERT_EQ(gesfic("O", " ", kOpenScratch, 0, unit), kOk);
        units.push_back(unit);
    }
    ConsoleCapture console;
    GeometrySizes sizes;
    EXPECT_EQ(litfrt(0, "good.geo", {}, sizes), kDataError);
    EXPECT_EQ(console.text(), dataError("can t open the file :", "good.geo"));
    EXPECT_EQ(openFileCount(), kMaxOpenFiles - 1);
    for (int32_t unit : units) {
        ASSERT_EQ(gesfic("F", " ", 0, 0, unit), kOk);
    }
}

TEST(Examples, PlateGeometryReads)
{
    const auto name = std::filesystem::path(TESMO_TEST_DATA).parent_path().parent_path() / "examples" / "plate.geo";
    Geometry g;
    ASSERT_EQ(readBoth(name.string(), g), kOk);
    EXPECT_EQ(g.sizes.npts, 22);
    EXPECT_EQ(g.sizes.ne, 3 + 3 + 1 + 15 + 1);
    EXPECT_EQ(g.zoneCodes, (std::vector<int32_t>{1, 2}));
    // The middle border bounds both zones.
    EXPECT_EQ(g.edgeNodes[12], 2);
    EXPECT_EQ(g.edgeNodes[13], 5);
    EXPECT_EQ(g.edgeCodes[12], 1);
    EXPECT_EQ(g.edgeCodes[13], 2);
}

} // namespace
} // namespace tesmo
