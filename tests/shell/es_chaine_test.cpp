#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

std::string record(void (*fill)(FreeFormatWriter&))
{
    std::string out;
    FreeFormatWriter writer(out);
    fill(writer);
    writer.finish();
    return out;
}

TEST(FreeFormatWriter, RealsKeepNineDigitsAndAPoint)
{
    EXPECT_EQ(formatReal(0.1f), "0.100000001");
    EXPECT_EQ(formatReal(2.0f), "2.");
    EXPECT_EQ(formatReal(0.0f), "0.");
    EXPECT_EQ(formatReal(0.5f), "0.5");
    EXPECT_EQ(formatReal(1e-20f), "9.99999968E-21");
    EXPECT_EQ(formatReal(1e9f), "1.E+09");
    EXPECT_EQ(record([](FreeFormatWriter& w) { w.real(-2.5f); }), " -2.5\n");
    EXPECT_EQ(record([](FreeFormatWriter& w) { w.real(-0.0f); }), " 0.\n");
}

TEST(FreeFormatWriter, ItemsFollowTheRecordRules)
{
    EXPECT_EQ(record([](FreeFormatWriter& w) {
                  w.text("can t open the file :");
                  w.text("mesh.geo");
              }),
              " can t open the file :mesh.geo\n");
    EXPECT_EQ(record([](FreeFormatWriter& w) {
                  w.text("Number of points  :");
                  w.integer(-12);
                  w.integer(7);
              }),
              " Number of points  : -12 7\n");
}

TEST(FreeFormatWriter, ItemReachingColumn80StartsANewLine)
{
    std::string out;
    FreeFormatWriter writer(out);
    for (int i = 0; i < 30; ++i) {
        writer.integer(1000); // five columns each
    }
    writer.finish();
    // 15 items fill 75 columns; the 16th would end at column 80, so it starts a new line.
    std::string line(" 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000 1000\n");
    EXPECT_EQ(out, line + line);
}

TEST(FreeFormatWriter, LongFirstItemIsWrittenWhole)
{
    const std::string longText(100, 'x');
    std::string out;
    FreeFormatWriter writer(out);
    writer.text(longText);
    writer.integer(3);
    writer.finish();
    EXPECT_EQ(out, " " + longText + "\n 3\n");
}

} // namespace
} // namespace tesmo
