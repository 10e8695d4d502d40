#include "files/es_grandeur.hpp"

#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testfiles::dataError;

const char* const kThreeSizes = "* GRANDEUR 1.0.0  (12 AOUT 97)\n"
                                "* mesh.msh\n"
                                "DEBGRD\n"
                                " 3 1\n"
                                "  1 0.5\n"
                                "  2 1.\n"
                                "  3 2.\n"
                                "FINGRD\n";

class Ecrgrd : public testfiles::FileTest {};

TEST_F(Ecrgrd, WritesOneLinePerNode)
{
    const std::vector<float> sizes{0.5f, 1.0f, 2.0f};
    ASSERT_EQ(ecrgrd("a.grd", "mesh.msh   ", Rows<const float>(sizes.data(), 1, 3)), kOk);
    EXPECT_EQ(read("a.grd"), kThreeSizes);
}

TEST_F(Ecrgrd, BlankNameWritesToTheConsole)
{
    const std::vector<float> sizes{0.5f, 1.0f, 2.0f};
    ConsoleCapture console;
    ASSERT_EQ(ecrgrd("   ", "mesh.msh", Rows<const float>(sizes.data(), 1, 3)), kOk);
    EXPECT_EQ(console.text(), kThreeSizes);
}

TEST_F(Ecrgrd, ExistingFileIsLeftAlone)
{
    write("a.grd", "kept\n");
    const std::vector<float> sizes{1.0f};
    ConsoleCapture console;
    EXPECT_EQ(ecrgrd("a.grd", "t", Rows<const float>(sizes.data(), 1, 1)), kDataError);
    EXPECT_EQ(read("a.grd"), "kept\n");
    EXPECT_EQ(console.text(), "");
}

class Litgrd : public testfiles::FileTest {};

TEST_F(Litgrd, RoundTripOfSeveralValuesPerNode)
{
    const std::vector<float> written{-1.5f, 0.1f, 3e-9f, 2.0f, 1e12f, -0.0f};
    ASSERT_EQ(ecrgrd("a.grd", "", Rows<const float>(written.data(), 2, 3)), kOk);
    std::vector<float> values(6, -7.0f);
    int32_t m = 0;
    int32_t n = 0;
    ASSERT_EQ(litgrd(0, "a.grd", Vec<float>(values.data(), 6), m, n), kOk);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(values, std::vector<float>(6, -7.0f)); // the counting pass leaves the table alone
    ASSERT_EQ(litgrd(1, "a.grd", Vec<float>(values.data(), 6), m, n), kOk);
    EXPECT_EQ(values, written);
}

TEST_F(Litgrd, LinesGoToTheRowOfTheirNode)
{
    write("a.grd", "DEBGRD\n3 1\n3 30.\n1\n 10\n2 20\nFINGRD\n");
    std::vector<float> values(4, -7.0f);
    int32_t m = 0;
    int32_t n = 0;
    ASSERT_EQ(litgrd(1, "a.grd", Vec<float>(values.data(), 4), m, n), kOk);
    EXPECT_EQ(values, (std::vector<float>{10, 20, 30, -7}));
}

TEST_F(Litgrd, FailuresAndTheirMessages)
{
    write("tags.grd", "DEBGRD\n1 1\n1 1.\n");
    write("m0.grd", "DEBGRD\n3 0\nFINGRD\n");
    write("letters.grd", "DEBGRD\nn 1\nFINGRD\n");
    write("short.grd", "DEBGRD\n3 1\n1 1.\n2\nFINGRD\n");
    write("node0.grd", "DEBGRD\n2 1\n1 1.\n0 2.\nFINGRD\n");
    write("beyond.grd", "DEBGRD\n2 1\n1 1.\n9 2.\nFINGRD\n");
    write("two.grd", "DEBGRD\n3 2\n1 1. 1.\n2 2. 2.\n3 3. 3.\nFINGRD\n");
    std::vector<float> values(5, -7.0f);
    const Vec<float> table(values.data(), 5);
    int32_t m = 0;
    int32_t n = 0;
    ConsoleCapture console;
    EXPECT_EQ(litgrd(1, "none.grd", table, m, n), kDataError);
    EXPECT_EQ(litgrd(1, "tags.grd", table, m, n), kDataError);
    EXPECT_EQ(litgrd(0, "m0.grd", table, m, n), kDataError);
    EXPECT_EQ(litgrd(0, "letters.grd", table, m, n), kDataError);
    EXPECT_EQ(litgrd(1, "short.grd", table, m, n), kDataError);
    EXPECT_EQ(litgrd(1, "node0.grd", table, m, n), kDataError);
    const std::string messages = console.text();
    EXPECT_EQ(messages, dataError("can t open the file :", "none.grd") +
                            dataError("in Block GRD : starting or ending tag missing") +
                            dataError("in Block GRD : number of values or dimension is wrong") +
                            dataError("in Block GRD : number of values or dimension is wrong") +
                            dataError("at the value :", 2) + dataError("illegal point reference number :", 0) +
                            dataError("at the value :", 2));
    // Capacity failures print nothing: a node beyond the table, a table below n·m.
    values.assign(5, -7.0f);
    EXPECT_EQ(litgrd(1, "beyond.grd", table, m, n), kCapacityError);
    EXPECT_EQ(values, (std::vector<float>{1, -7, -7, -7, -7}));
    EXPECT_EQ(litgrd(1, "two.grd", table, m, n), kCapacityError);
    EXPECT_EQ(values, (std::vector<float>{1, -7, -7, -7, -7}));
    EXPECT_EQ(console.text(), messages);
}

} // namespace
} // namespace tesmo
