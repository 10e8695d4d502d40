#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>

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

TEST(FreeFormatWriter, RealsAreThePrintfConversionOverTheWholeRange)
{
    // every exponent, random digits: "%.9G" with a point added where it has none
    std::mt19937 random(42);
    for (int i = 0; i < 20000; ++i) {
        uint32_t bits = random() & 0x7f7fffffu;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        char expected[40];
        std::snprintf(expected, sizeof expected, "%.9G", double(value));
        std::string text(expected);
        if (value != 0.0f && text.find('.') == std::string::npos) {
            text.insert(text.find('E') == std::string::npos ? text.size() : text.find('E'), 1, '.');
        }
        ASSERT_EQ(formatReal(value), value == 0.0f ? "0." : text) << bits;
    }
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


TEST(FreeFormatWriter, NegativeAndLargeReals)
{
    EXPECT_EQ(record([](FreeFormatWriter& w) {
                  w.real(-0.1f);
                  w.real(-1e-20f);
                  w.real(123456789.0f);
                  w.real(1.5e-5f);
              }),
              " -0.100000001 -9.99999968E-21 123456792. 1.49999996E-05\n");
}

TEST(FreeFormatWriter, TextAfterItemsThatWouldReachColumn80StartsANewLine)
{
    const std::string name(60, 'n');
    EXPECT_EQ(record([](FreeFormatWriter& w) {
                  w.text("DATA ERROR  can t open the file :");
                  w.text(std::string(60, 'n'));
              }),
              " DATA ERROR  can t open the file :\n " + name + "\n");
    // 34 + 45 = 79 columns: still on the line.
    EXPECT_EQ(record([](FreeFormatWriter& w) {
                  w.text("DATA ERROR  can t open the file :");
                  w.text(std::string(45, 'n'));
              }),
              " DATA ERROR  can t open the file :" + std::string(45, 'n') + "\n");
}

TEST(ConsoleLines, TextsAreCutAndJoined)
{
    ConsoleCapture capture;
    esecha(kConsoleDevice, "can t open the file :   ", "mesh.geo   ");
    esecha(kConsoleDevice, "   ", "alone");
    esecha(kConsoleDevice, "  ", " ");
    mgchai(kConsoleDevice, "Number of nodes   :", " 12");
    const int32_t counts[3] = {3, -4, 0};
    eseint(kConsoleDevice, "counts :   ", counts, 3);
    const float sizes[2] = {0.5f, 2.0f};
    eserea(kConsoleDevice, "sizes :", sizes, 2);
    EXPECT_EQ(capture.text(), " can t open the file :mesh.geo\n"
                              " alone\n"
                              " \n"
                              " Number of nodes   : 12\n"
                              " counts : 3 -4 0\n"
                              " sizes : 0.5 2.\n");
}

TEST(ConsoleLines, OtherDevicesPrintNothingOfTheirArguments)
{
    ConsoleCapture capture;
    const int32_t one = 1;
    esecha(4, "lost", "text");
    eseint(0, "lost", &one, 1);
    esecha(2, "lost", "text");
    EXPECT_EQ(capture.text(), "");
    modees = 2;
    eserea(3, "lost", nullptr, 0);
    modees = 0;
    mgchai(2, "lost", "text");
    EXPECT_EQ(capture.text(), " ERR -3  NON ENCORE IMPLEMENTE DANS :\n NON ENCORE IMPLEMENTE\n"
                              " NON ENCORE IMPLEMENTE\n");
}

TEST(LastNonBlank, CountsFromOne)
{
    EXPECT_EQ(eslgch("ab  "), 2);
    EXPECT_EQ(eslgch("    "), 0);
    EXPECT_EQ(eslgch(""), 0);
    EXPECT_EQ(imglen(" a b "), 4);
    EXPECT_EQ(cutText("name   "), "name");
}

} // namespace
} // namespace tesmo
