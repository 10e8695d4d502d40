#include "files/es_lecture.hpp"
#include "files/es_util.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tesmo {
namespace {

UnitFile text(const std::string& content)
{
    UnitFile file;
    file.content = content;
    return file;
}

TEST(FreeRead, ItemsRunOverLinesAndTheRestOfTheLastLineIsDropped)
{
    UnitFile file = text("  4 2 dropped\n\n1.5,\n  -2 7 dropped too\n9\n");
    {
        FreeRead read(&file);
        int32_t a = 0, b = 0;
        ASSERT_EQ(read.integer(a), kReadOk);
        ASSERT_EQ(read.integer(b), kReadOk);
        EXPECT_EQ(a, 4);
        EXPECT_EQ(b, 2);
    }
    {
        FreeRead read(&file); // starts on the next line
        float x = 0.0f, y = 0.0f;
        ASSERT_EQ(read.real(x), kReadOk);
        ASSERT_EQ(read.real(y), kReadOk);
        EXPECT_EQ(x, 1.5f);
        EXPECT_EQ(y, -2.0f);
    }
    FreeRead read(&file);
    int32_t n = 0;
    ASSERT_EQ(read.integer(n), kReadOk);
    EXPECT_EQ(n, 9);
}

TEST(FreeRead, RepeatsAndNullValues)
{
    UnitFile file = text("3*7 2* 5\n1,,3 , ,\n, 8\n");
    int32_t v[6] = {-1, -1, -1, -1, -1, -1};
    FreeRead read(&file);
    for (int32_t& x : v) {
        ASSERT_EQ(read.integer(x), kReadOk);
    }
    EXPECT_EQ(std::vector<int32_t>(v, v + 6), (std::vector<int32_t>{7, 7, 7, -1, -1, 5}));
    int32_t w[5] = {-1, -1, -1, -1, -1};
    FreeRead second(&file);
    for (int32_t& x : w) {
        ASSERT_EQ(second.integer(x), kReadOk);
    }
    // 1, null, 3, null, then the comma ending the line leads to the next line's null and 8.
    EXPECT_EQ(std::vector<int32_t>(w, w + 5), (std::vector<int32_t>{1, -1, 3, -1, -1}));
}

TEST(FreeRead, SlashLeavesTheRemainingItems)
{
    UnitFile file = text("1 2/ 3\n4\n");
    int32_t a = 0, b = 0, c = -5, d = -6;
    FreeRead read(&file);
    ASSERT_EQ(read.integer(a), kReadOk);
    ASSERT_EQ(read.integer(b), kReadOk);
    ASSERT_EQ(read.integer(c), kReadOk);
    ASSERT_EQ(read.integer(d), kReadOk);
    EXPECT_EQ(a + b, 3);
    EXPECT_EQ(c, -5);
    EXPECT_EQ(d, -6);
    FreeRead next(&file);
    ASSERT_EQ(next.integer(a), kReadOk);
    EXPECT_EQ(a, 4);
}

TEST(FreeRead, EndOfDataIsNotAReadError)
{
    UnitFile file = text("1 2\n");
    int32_t a = 0, b = 0, c = 0;
    FreeRead read(&file);
    ASSERT_EQ(read.integer(a), kReadOk);
    ASSERT_EQ(read.integer(b), kReadOk);
    EXPECT_EQ(read.integer(c), kReadEnd);
    EXPECT_EQ(read.integer(c), kReadEnd); // the request stays ended
    FreeRead after(&file);
    EXPECT_EQ(after.integer(c), kReadEnd);
    EXPECT_EQ(FreeRead(int32_t(24)).integer(c), kReadError); // unit not open
}

TEST(FreeRead, IntegersHaveNoPointNorExponent)
{
    for (const char* item : {"1.0", "1e3", "12a", "--1", "0x10", "2147483648", "*3", "0*3", "-2*3"}) {
        UnitFile file = text(std::string(item) + "\n");
        int32_t value = 77;
        FreeRead read(&file);
        EXPECT_EQ(read.integer(value), kReadError) << item;
        EXPECT_EQ(value, 77) << item;
    }
    UnitFile file = text("+12 -2147483648\n");
    int32_t a = 0, b = 0;
    FreeRead read(&file);
    ASSERT_EQ(read.integer(a), kReadOk);
    ASSERT_EQ(read.integer(b), kReadOk);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, INT32_MIN);
}

TEST(FreeRead, RealForms)
{
    UnitFile file = text("1. .5 2 1.5d2 -3E-2 1.5+3 +0.1 1e-50\n");
    const float expected[] = {1.0f, 0.5f, 2.0f, 150.0f, -0.03f, 1500.0f, 0.1f, 0.0f};
    FreeRead read(&file);
    for (float wanted : expected) {
        float value = -1.0f;
        ASSERT_EQ(read.real(value), kReadOk) << wanted;
        EXPECT_EQ(value, wanted);
    }
    for (const char* item : {".", "e5", "1.5e", "abc", "1e39", "nan", "1.5e+"}) {
        UnitFile bad = text(std::string(item) + "\n");
        float value = 4.0f;
        FreeRead badRead(&bad);
        EXPECT_EQ(badRead.real(value), kReadError) << item;
    }
}

TEST(FreeRead, LongLinesAreReadWhole)
{
    std::string line;
    for (int i = 1; i <= 120; ++i) {
        line += "  " + std::to_string(i) + ".25";
    }
    ASSERT_GT(line.size(), 256u);
    UnitFile file = text(line + "\n");
    FreeRead read(&file);
    float value = 0.0f;
    for (int i = 1; i <= 120; ++i) {
        ASSERT_EQ(read.real(value), kReadOk) << i;
        EXPECT_EQ(value, float(i) + 0.25f);
    }
    EXPECT_EQ(read.real(value), kReadEnd);
}

TEST(WholeText, OneNumberAndNothingElse)
{
    int32_t n = 0;
    EXPECT_EQ(parseInteger(" 5000 ", n), kReadOk);
    EXPECT_EQ(n, 5000);
    EXPECT_EQ(parseInteger("50 00", n), kReadError);
    EXPECT_EQ(parseInteger("abc", n), kReadError);
    EXPECT_EQ(parseInteger("", n), kReadError);
    float x = 0.0f;
    EXPECT_EQ(parseReal("2.5E1", x), kReadOk);
    EXPECT_EQ(x, 25.0f);
    EXPECT_EQ(parseReal("2.5 1", x), kReadError);
}

} // namespace
} // namespace tesmo
