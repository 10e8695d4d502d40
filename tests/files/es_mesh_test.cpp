#include "files/es_mesh.hpp"

#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace tesmo {
namespace {

using testfiles::dataError;
using testfiles::report;

/// A mesh held in vectors, with views for the writer and the reader.
struct Mesh {
    MeshSizes sizes;
    std::vector<float> coordinates;
    std::vector<int32_t> elements;
    std::vector<int32_t> zoneCodes;
    std::vector<int32_t> zoneEnds;
    MeshTables tables()
    {
        return {Vec<float>(coordinates.data(), int32_t(coordinates.size())),
                Vec<int32_t>(elements.data(), int32_t(elements.size())),
                Vec<int32_t>(zoneCodes.data(), int32_t(zoneCodes.size())),
                Vec<int32_t>(zoneEnds.data(), int32_t(zoneEnds.size()))};
    }
};

/// Counts the file, then reads it into tables of the counted sizes.
int readBoth(const std::string& name, Mesh& m)
{
    int code = litvip(0, name, m.tables(), m.sizes);
    if (code != kOk) {
        return code;
    }
    m.coordinates.assign(std::size_t(m.sizes.npts * m.sizes.dimension), -7.0f);
    m.elements.assign(std::size_t(m.sizes.ne * m.sizes.rowLength), -7);
    m.zoneCodes.assign(std::size_t(m.sizes.zones), -7);
    m.zoneEnds.assign(std::size_t(m.sizes.zones), -7);
    return litvip(1, name, m.tables(), m.sizes);
}

int writeMesh(int32_t mode, const std::string& name, std::vector<float>& xy, std::vector<int32_t>& triangles,
          std::vector<int32_t> codes, std::vector<int32_t> ends)
{
    return ecrvip(mode, name, Rows<const float>(xy.data(), 2, int32_t(xy.size() / 2)), 2,
                  Rows<const int32_t>(triangles.data(), 3, int32_t(triangles.size() / 3)), int32_t(codes.size()),
                  Vec<const int32_t>(codes.data(), int32_t(codes.size())),
                  Vec<const int32_t>(ends.data(), int32_t(ends.size())));
}

TEST(Codvip, CodesFollowDimensionAndNodeCount)
{
    struct Case {
        int32_t dimension;
        std::vector<int32_t> row;
        int32_t code;
        int32_t nodes;
    };
    const Case cases[] = {
        {1, {4, 9}, 1, 2},        {1, {4, 9, 0}, 1, 2},       {1, {4, 9, 2}, 2, 3}, {1, {4, 0, 0}, -1, 1},
        {1, {1, 2, 3, 4}, 103, 4}, {2, {4, 9, 2}, 3, 3},       {2, {1, 2, 3, 4}, 5, 4}, {2, {1, 2, 3, 4, 5}, -1, 5},
        {3, {1, 2, 3, 4}, 9, 4},  {3, {1, 2, 3, 4, 5, 6}, 11, 6}, {3, {1, 2, 3, 4, 5, 6, 7, 8}, 16, 8},
        {3, {1, 2, 3, 4, 5}, -1, 5}, {0, {7}, -1, 1},
    };
    for (const Case& c : cases) {
        int32_t code = 0;
        int32_t nodes = 0;
        ASSERT_EQ(codvip(c.dimension, Vec<const int32_t>(c.row.data(), int32_t(c.row.size())), code, nodes), kOk);
        EXPECT_EQ(code, c.code) << c.dimension << " " << c.row.size();
        EXPECT_EQ(nodes, c.nodes) << c.dimension << " " << c.row.size();
    }
    const std::vector<int32_t> zero{0, 0, 0};
    const std::vector<int32_t> some{1, 2, 3};
    int32_t code = 0;
    int32_t nodes = 0;
    EXPECT_EQ(codvip(2, Vec<const int32_t>(zero.data(), 3), code, nodes), kDataError);
    EXPECT_EQ(code, -1);
    EXPECT_EQ(codvip(4, Vec<const int32_t>(some.data(), 3), code, nodes), kDataError);
    EXPECT_EQ(codvip(-1, Vec<const int32_t>(some.data(), 3), code, nodes), kDataError);
}

TEST(Vipcod, DecodesEveryRangeAndReducesHighCodes)
{
    struct Case {
        int32_t code;
        int32_t reduced;
        int32_t dimension;
        int32_t nodes;
    };
    const Case cases[] = {{1, 1, 1, 2},   {2, 2, 1, 2},   {3, 3, 2, 3},    {24, 3, 2, 3},   {8, 8, 2, 4},
                          {10, 10, 3, 4}, {15, 15, 3, 6}, {21, 21, 3, 8},  {42, 21, 3, 8},  {22, 1, 1, 2},
                          {100, 100, 1, 2}, {101, 101, 0, 1}, {102, 102, 2, -1}, {103, 103, 1, -1}};
    for (const Case& c : cases) {
        int32_t code = c.code;
        int32_t dimension = -5;
        int32_t nodes = -5;
        ASSERT_EQ(vipcod(code, dimension, nodes), kOk) << c.code;
        EXPECT_EQ(code, c.reduced);
        EXPECT_EQ(dimension, c.dimension) << c.code;
        EXPECT_EQ(nodes, c.nodes) << c.code;
    }
    for (int32_t refused : {0, -1, 43, 50, 99, 104}) {
        int32_t code = refused;
        int32_t dimension = 0;
        int32_t nodes = 0;
        EXPECT_EQ(vipcod(code, dimension, nodes), kDataError) << refused;
    }
}

class Ecrvip : public testfiles::FileTest {};

TEST_F(Ecrvip, WritesNodesAndTrianglesInTheirFormats)
{
    std::vector<float> xy{0.0f, 0.0f, 0.5f, -2.0f, 0.1f, 1e-20f};
    std::vector<int32_t> triangles{3, 1, 2};
    ASSERT_EQ(writeMesh(1, "a.msh", xy, triangles, {7}, {1}), kOk);
    EXPECT_EQ(read("a.msh"), "DEBXYZ\n"
                             " 3 2\n"
                             " 0. 0.\n"
                             " 0.5 -2.\n"
                             " 0.100000001 9.99999968E-21\n"
                             "FINXYZ\n"
                             "DEBILM\n"
                             " 1\n"
                             "         3         3         1         2         3         7\n"
                             "FINILM\n");
}

TEST_F(Ecrvip, LongRecordsContinueAndWideValuesStaySeparate)
{
    std::vector<float> xy(24, 0.0f);
    std::vector<int32_t> line{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    const std::vector<int32_t> codes{1000000000};
    const std::vector<int32_t> ends{1};
    ASSERT_EQ(ecrvip(1, "a.msh", Rows<const float>(xy.data(), 2, 12), 1, Rows<const int32_t>(line.data(), 12, 1), 1,
                     Vec<const int32_t>(codes.data(), 1), Vec<const int32_t>(ends.data(), 1)),
              kOk);
    const std::string text = read("a.msh");
    EXPECT_NE(text.find("\n        12         1         2         3         4         5         6         7"
                        "         8         9        10\n"
                        "        11        12       103 1000000000\nFINILM\n"),
              std::string::npos)
        << text;
    Mesh m;
    ASSERT_EQ(readBoth("a.msh", m), kOk);
    EXPECT_EQ(m.sizes.rowLength, 12);
    EXPECT_EQ(m.sizes.elementDimension, 1);
    EXPECT_EQ(m.zoneCodes, (std::vector<int32_t>{1000000000}));
    EXPECT_EQ(m.elements, line);
}

TEST_F(Ecrvip, OpenModesDecideWhetherAFileMayBeReplaced)
{
    std::vector<float> xy{1.0f, 2.0f};
    std::vector<int32_t> none;
    write("a.msh", "old\n");
    {
        ConsoleCapture console;
        EXPECT_EQ(writeMesh(1, "a.msh", xy, none, {}, {}), kDataError);
        EXPECT_EQ(console.text(), dataError("the file already exist :", "a.msh"));
        EXPECT_EQ(read("a.msh"), "old\n");
    }
    ASSERT_EQ(writeMesh(kWriteReplace, "a.msh", xy, none, {}, {}), kOk);
    EXPECT_EQ(read("a.msh"), "DEBXYZ\n 1 2\n 1. 2.\nFINXYZ\n");
    {
        ConsoleCapture console;
        EXPECT_EQ(writeMesh(kWriteNotAvailable, "b.msh", xy, none, {}, {}), kNotAvailable);
        EXPECT_EQ(console.text(), " NOT YET POSSIBLE\n");
        EXPECT_FALSE(std::filesystem::exists("b.msh"));
    }
    {
        // A directory cannot be replaced: the file manager's -4, reported as a data error.
        std::filesystem::create_directory("dir");
        ConsoleCapture console;
        EXPECT_EQ(writeMesh(kWriteReplace, "dir", xy, none, {}, {}), -4);
        EXPECT_EQ(console.text(), dataError("can t open the file :", "dir"));
    }
}

TEST_F(Ecrvip, ElementsWithoutCodeOrGroupAreRefused)
{
    std::vector<float> xy(8, 0.0f);
    std::vector<int32_t> triangles{1, 2, 3, 0, 0, 0};
    {
        ConsoleCapture console;
        EXPECT_EQ(writeMesh(1, "a.msh", xy, triangles, {1}, {2}), kDataError);
        EXPECT_EQ(console.text(), dataError("while writing the element :", 2));
    }
    triangles = {1, 2, 3, 2, 3, 4};
    {
        // The zone end table covers only the first triangle.
        ConsoleCapture console;
        EXPECT_EQ(writeMesh(1, "b.msh", xy, triangles, {1}, {1}), kDataError);
        EXPECT_EQ(console.text(), dataError("while writing the element :", 2));
    }
    // Without groups every element gets reference 1.
    ASSERT_EQ(writeMesh(1, "c.msh", xy, triangles, {}, {}), kOk);
    Mesh m;
    ASSERT_EQ(readBoth("c.msh", m), kOk);
    EXPECT_EQ(m.zoneCodes, (std::vector<int32_t>{1}));
    EXPECT_EQ(m.zoneEnds, (std::vector<int32_t>{2}));
}

class Litvip : public testfiles::FileTest {};

TEST_F(Litvip, RoundTripGroupsElementsByReference)
{
    std::vector<float> xy{0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 0.1f, -123456.789f};
    std::vector<int32_t> triangles{1, 2, 3, 1, 3, 4, 2, 5, 3, 4, 3, 5};
    // Four groups of one: references 5, 2, 5, 2 in file order.
    ASSERT_EQ(writeMesh(1, "a.msh", xy, triangles, {5, 2, 5, 2}, {1, 2, 3, 4}), kOk);
    Mesh m;
    ASSERT_EQ(readBoth("a.msh", m), kOk);
    EXPECT_EQ(m.sizes.dimension, 2);
    EXPECT_EQ(m.sizes.npts, 5);
    EXPECT_EQ(m.sizes.ne, 4);
    EXPECT_EQ(m.sizes.rowLength, 3);
    EXPECT_EQ(m.sizes.elementDimension, 2);
    EXPECT_EQ(m.sizes.zones, 2);
    EXPECT_EQ(m.coordinates, xy);
    EXPECT_EQ(m.elements, (std::vector<int32_t>{1, 2, 3, 2, 5, 3, 1, 3, 4, 4, 3, 5}));
    EXPECT_EQ(m.zoneCodes, (std::vector<int32_t>{5, 2}));
    EXPECT_EQ(m.zoneEnds, (std::vector<int32_t>{2, 4}));
}

TEST_F(Litvip, AcceptsAnyFreeLayoutAndHighCodes)
{
    write("a.msh", "DEBXYZ\n3,2\n0 0\n* a comment\n1\n 0\n0 1\nFINXYZ\n"
                                        "DEBILM\n1\n3 1 2\n 3 24 9\nFINILM\n");
    Mesh m;
    ASSERT_EQ(readBoth("a.msh", m), kOk);
    EXPECT_EQ(m.coordinates, (std::vector<float>{0, 0, 1, 0, 0, 1}));
    EXPECT_EQ(m.elements, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(m.sizes.elementDimension, 2);
    EXPECT_EQ(m.zoneCodes, (std::vector<int32_t>{9}));
}

TEST_F(Litvip, GeometryFilesAndFilesWithoutElements)
{
    const std::string xyz = "DEBXYZ\n2 2\n0 0\n1 0\nFINXYZ\n";
    write("are.geo", xyz + "DEBARE\n3\n2 1 2 100 1 1\nFINARE\n");
    write("are0.geo", xyz + "DEBARE\n0\nFINARE\n");
    write("none.msh", xyz);
    ConsoleCapture console;
    Mesh m;
    EXPECT_EQ(litvip(0, "are.geo", m.tables(), m.sizes), kGeometryNotMesh);
    EXPECT_EQ(litvip(0, "are0.geo", m.tables(), m.sizes), kOk);
    EXPECT_EQ(litvip(0, "none.msh", m.tables(), m.sizes), kOk);
    EXPECT_EQ(m.sizes.ne, 0);
    EXPECT_EQ(m.sizes.rowLength, 0);
    EXPECT_EQ(m.sizes.zones, 0);
    EXPECT_EQ(console.text(), "");
}

TEST_F(Litvip, FillingPassRefusesSmallTablesWithoutMessage)
{
    write("a.msh", "DEBXYZ\n3 2\n0 0\n1 0\n0 1\nFINXYZ\nDEBILM\n2\n3 1 2 3 3 1\n2 1 2 1 2\nFINILM\n");
    Mesh m;
    ASSERT_EQ(readBoth("a.msh", m), kOk);
    ConsoleCapture console;
    const MeshSizes counted = m.sizes;
    m.elements.resize(5);
    EXPECT_EQ(litvip(1, "a.msh", m.tables(), m.sizes), kCapacityError);
    m.elements.resize(6);
    m.sizes.rowLength = 2; // the triangle's three nodes would run into the next row
    m.elements.resize(8);
    EXPECT_EQ(litvip(1, "a.msh", m.tables(), m.sizes), kCapacityError);
    m.sizes = counted;
    m.zoneEnds.resize(1);
    EXPECT_EQ(litvip(1, "a.msh", m.tables(), m.sizes), kCapacityError);
    m.sizes.dimension = 1;
    m.zoneEnds.resize(2);
    EXPECT_EQ(litvip(1, "a.msh", m.tables(), m.sizes), kDataError);
    m.sizes = counted;
    m.coordinates.resize(5);
    EXPECT_EQ(litvip(1, "a.msh", m.tables(), m.sizes), kCapacityError);
    EXPECT_EQ(console.text(), "");
}

struct Malformed {
    const char* what;
    std::string elements;
    int code;
    std::string console;
};

class LitvipMalformed : public testfiles::FileTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(LitvipMalformed, ReportsItsMessageAndCode)
{
    const Malformed& c = GetParam();
    write("bad.msh", "DEBXYZ\n3 2\n0 0\n1 0\n0 1\nFINXYZ\n" + c.elements);
    Mesh m;
    ConsoleCapture console;
    EXPECT_EQ(litvip(0, "bad.msh", m.tables(), m.sizes), c.code) << c.what;
    EXPECT_EQ(console.text(), c.console) << c.what;
}

const std::string kAtElement2 = dataError("at the element :", 2);

INSTANTIATE_TEST_SUITE_P(
    Mesh, LitvipMalformed,
    ::testing::Values(
        Malformed{"letters for the count", "DEBILM\nn\nFINILM\n", kDataError,
                  dataError("in Block ILM : number of elements or dimension is wrong")},
        Malformed{"letters for the ARE count", "DEBARE\nn\nFINARE\n", kDataError,
                  dataError("in Block ILM : number of elements or dimension is wrong")},
        Malformed{"unknown type", "DEBILM\n2\n3 1 2 3 3 1\n3 1 2 3 50 1\nFINILM\n", kDataError,
                  dataError("unknown type of element :", 50) + kAtElement2},
        Malformed{"node above npts", "DEBILM\n2\n3 1 2 3 3 1\n3 1 2 4 3 1\nFINILM\n", kDataError,
                  dataError("illegal point reference number :", 4) + kAtElement2},
        Malformed{"negative node", "DEBILM\n2\n3 1 2 3 3 1\n3 1 -2 3 3 1\nFINILM\n", kDataError,
                  dataError("illegal point reference number :", -2) + kAtElement2},
        Malformed{"too many nodes", "DEBILM\n2\n3 1 2 3 3 1\n528 1 2 3\nFINILM\n", kCapacityError,
                  report("COMPUTER ERROR", "too many points in the element, must be less than", 527)},
        Malformed{"no node", "DEBILM\n2\n3 1 2 3 3 1\n0 3 1\nFINILM\n", kDataError, kAtElement2},
        Malformed{"truncated record", "DEBILM\n2\n3 1 2 3 3 1\n3 1 2\nFINILM\n", kDataError, kAtElement2},
        Malformed{"a letter in a record", "DEBILM\n2\n3 1 2 3 3 1\n3 1 x 3 3 1\nFINILM\n", kDataError, kAtElement2},
        Malformed{"a solid in a plane", "DEBILM\n2\n3 1 2 3 3 1\n4 1 2 3 1 9 1\nFINILM\n", kDataError,
                  dataError("dimension of the space must be > than the dimension of elements", 2)},
        Malformed{"a huge element count", "DEBILM\n2000000000\n3 1 2 3 3 1\nFINILM\n", kDataError, kAtElement2}),
    [](const ::testing::TestParamInfo<Malformed>& param) { return "case" + std::to_string(param.index); });

TEST_F(Litvip, HeaderFailures)
{
    write("a.msh", "DEBXYZ\n1 11\n0 0 0 0 0 0 0 0 0 0 0\nFINXYZ\n");
    write("b.msh", "DEBXYZ\n2 2\n0 0\n0 x\nFINXYZ\n");
    Mesh m;
    ConsoleCapture console;
    EXPECT_EQ(litvip(0, "none.msh", m.tables(), m.sizes), kDataError);
    EXPECT_EQ(litvip(0, "a.msh", m.tables(), m.sizes), kCapacityError);
    m.sizes.dimension = 2;
    m.coordinates.resize(4);
    EXPECT_EQ(litvip(1, "b.msh", m.tables(), m.sizes), kDataError);
    EXPECT_EQ(console.text(),
              dataError("can t open the file :", "none.msh") +
                  report("COMPUTER ERROR", "in Block XYZ : dimension is too hight, must be less than :", 10) +
                  dataError("at the point :", 2));
}

} // namespace
} // namespace tesmo
