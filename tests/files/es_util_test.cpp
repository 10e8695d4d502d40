#include "files/es_util.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

using testing::ScratchDirectory;
using testing::StandardInput;

/// Every test leaves the open-file table as it found it: empty.
class FileManager : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (int32_t unit : opened) {
            (void)gesfic("F", "", 0, 0, unit);
        }
        EXPECT_EQ(openFileCount(), 0);
    }
    int32_t open(const std::string& name, int32_t status, int& code, int32_t form = 0)
    {
        int32_t unit = -1;
        code = gesfic("O", name, status, form, unit);
        if (code == 0) {
            opened.push_back(unit);
        }
        return unit;
    }
    int32_t openOk(const std::string& name, int32_t status)
    {
        int code = -99;
        const int32_t unit = open(name, status, code);
        EXPECT_EQ(code, 0) << name;
        return unit;
    }
    int close(int32_t unit)
    {
        const int code = gesfic("F", "", 0, 0, unit);
        if (code == 0) {
            std::erase(opened, unit);
        }
        return code;
    }
    ScratchDirectory directory;
    std::vector<int32_t> opened;
};

TEST_F(FileManager, UnitsSkipFiveSixAndSeven)
{
    std::vector<int32_t> units;
    for (int i = 0; i < 6; ++i) {
        directory.write("f" + std::to_string(i), "x\n");
        units.push_back(openOk(directory.file("f" + std::to_string(i)), kOpenOld));
    }
    EXPECT_EQ(units, (std::vector<int32_t>{1, 2, 3, 4, 8, 9}));
    EXPECT_EQ(openFileName(8), directory.file("f4"));
    EXPECT_EQ(openFileName(5), "");
    // A new unit follows the last entry of the table, not the largest gap.
    ASSERT_EQ(close(2), 0);
    EXPECT_EQ(openOk("", kOpenScratch), 10);
    EXPECT_EQ(openFileName(10), "TEMPORAIRE.SCRATCH.0010");
    for (int32_t unit : {10, 9, 8}) {
        ASSERT_EQ(close(unit), 0);
    }
    EXPECT_EQ(openOk("", kOpenScratch), 8); // after unit 4, skipping 5
    EXPECT_EQ(openFileName(8), "TEMPORAIRE.SCRATCH.0008");
}

TEST_F(FileManager, TwentySixthOpenIsRefused)
{
    for (int i = 0; i < kMaxOpenFiles; ++i) {
        openOk("", kOpenScratch);
    }
    int code = 0;
    EXPECT_EQ(open("", kOpenScratch, code), kMaxOpenFiles);
    EXPECT_EQ(code, -3);
    EXPECT_EQ(openFileCount(), kMaxOpenFiles);
}

TEST_F(FileManager, SameNameTwiceGivesItsUnit)
{
    directory.write("geo.txt", "x\n");
    const std::string name = directory.file("geo.txt");
    const int32_t first = openOk(name, kOpenOld);
    int code = 0;
    EXPECT_EQ(open(name + "   ", kOpenOld, code), first);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(openFileCount(), 1);
    directory.write("raw.bin", "x\n");
    const int32_t raw = open(directory.file("raw.bin"), kOpenOld, code, 1);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(open(directory.file("raw.bin"), kOpenUnknown, code), raw);
    EXPECT_EQ(code, 2);
}

TEST_F(FileManager, RefusedOpensByStatus)
{
    directory.write("here.txt", "x\n");
    int code = 0;
    open(directory.file("here.txt"), kOpenNew, code);
    EXPECT_EQ(code, -1);
    open(directory.file("absent.txt"), kOpenOld, code);
    EXPECT_EQ(code, -2);
    open(directory.path(), kOpenUnknown, code);
    EXPECT_EQ(code, -4);
    open(directory.path(), kOpenOld, code);
    EXPECT_EQ(code, -2);
    EXPECT_EQ(openFileCount(), 0);
}

TEST_F(FileManager, CloseAndOtherActions)
{
    int32_t unit = 3;
    EXPECT_EQ(gesfic("F", "", 0, 0, unit), -4); // nothing open
    openOk("", kOpenScratch);
    unit = 7;
    EXPECT_EQ(gesfic("F", "", 0, 0, unit), -4);
    EXPECT_EQ(gesfic("X", "", 0, 0, unit), -6);
    EXPECT_EQ(gesfic("", "", 0, 0, unit), -6);
}

TEST_F(FileManager, WrittenFilesReachTheDisk)
{
    const std::string name = directory.file("out.msh");
    int32_t unit = openOk(name, kOpenNew);
    unitFile(unit)->writeLine("DEBXYZ");
    unitFile(unit)->writeLine(" 1 2");
    ASSERT_EQ(close(unit), 0);
    EXPECT_EQ(testing::readFile(name), "DEBXYZ\n 1 2\n");
    // Unknown keeps the content; writing after a rewind ends the file there.
    unit = openOk(name, kOpenUnknown);
    std::string_view line;
    ASSERT_TRUE(unitFile(unit)->readLine(line));
    EXPECT_EQ(line, "DEBXYZ");
    unitFile(unit)->writeLine("FINXYZ");
    ASSERT_EQ(close(unit), 0);
    EXPECT_EQ(testing::readFile(name), "DEBXYZ\nFINXYZ\n");
    unit = openOk(name, kOpenUnknown);
    unitFile(unit)->rewind();
    unitFile(unit)->writeLine("only");
    ASSERT_EQ(close(unit), 0);
    EXPECT_EQ(testing::readFile(name), "only\n");
}

class Blocks : public FileManager {
protected:
    /// Extracts a block of `text` and returns the copied lines.
    int extract(const std::string& text, std::string_view begin, std::string_view end, std::string& copied,
                int32_t& comments)
    {
        directory.write("data.txt", text);
        const int32_t input = openOk(directory.file("data.txt"), kOpenOld);
        const int32_t copy = openOk("", kOpenScratch);
        const int code = gescom(input, begin, end, '*', copy, comments);
        copied = unitFile(copy)->content;
        EXPECT_EQ(close(copy), 0);
        EXPECT_EQ(close(input), 0);
        return code;
    }
};

TEST_F(Blocks, TagsMayBeIndentedAndInLowerCase)
{
    std::string copied;
    int32_t comments = -1;
    const std::string text = "free text\n"
                             "*DEBXYZ before the block is not a tag\n"
                             "  debxyz points of the square\n"
                             "* a comment\n"
                             " * not a comment\n"
                             "\n"
                             "  4 2   \n"
                             "*another\n"
                             "   FinXYZ and more\n"
                             "DEBXYZ\n9 9\nFINXYZ\n";
    ASSERT_EQ(extract(text, "DEBXYZ", "FINXYZ", copied, comments), 0);
    EXPECT_EQ(copied, " * not a comment\n \n  4 2\n");
    EXPECT_EQ(comments, 2);
}

TEST_F(Blocks, MissingTagsAndBadCopyUnits)
{
    std::string copied;
    int32_t comments = 0;
    EXPECT_EQ(extract("DEBGRD\n1 1\n", "DEBGRD", "FINGRD", copied, comments), -1);
    EXPECT_EQ(extract("\tDEBGRD\n1 1\nFINGRD\n", "DEBGRD", "FINGRD", copied, comments), -1); // a tab is no blank
    EXPECT_EQ(extract("DEBGR\nFINGRD\n", "DEBGRD", "FINGRD", copied, comments), -1);
    int32_t count = 0;
    EXPECT_EQ(gescom(1, "DEBGRD", "FINGRD", '*', 26, count), -1);
    EXPECT_EQ(gescom(1, "DEBGRD", "FINGRD", '*', -1, count), -1);
    // Copy unit 0: the block is only looked for.
    directory.write("d.txt", "DEBSUI\n*c\n1\nFINSUI\n");
    const int32_t input = openOk(directory.file("d.txt"), kOpenOld);
    EXPECT_EQ(gescom(input, "DEBSUI", "FINSUI", '*', 0, count), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(Blocks, LongLinesAreCopiedWhole)
{
    std::string line;
    for (int i = 1; i <= 100; ++i) {
        line += " " + std::to_string(1000 + i);
    }
    ASSERT_GT(line.size(), 256u);
    std::string copied;
    int32_t comments = 0;
    ASSERT_EQ(extract("DEBGEO\n" + line + "\nFINGEO\n", "DEBGEO", "FINGEO", copied, comments), 0);
    EXPECT_EQ(copied, line + "\n");
}

TEST_F(FileManager, ExistenceTest)
{
    directory.write("here.txt", "x\n");
    const std::string here = directory.file("here.txt");
    const std::string absent = directory.file("absent.txt");
    EXPECT_EQ(fitest(here, 1, 0), 0);
    EXPECT_EQ(fitest(absent, 1, 0), -1);
    EXPECT_EQ(fitest(absent, 0, 0), 0);
    EXPECT_EQ(fitest(here, 0, 0), -1);
    EXPECT_EQ(openFileCount(), 0);
    // A file already open does not count as openable, and it stays open.
    const int32_t unit = openOk(here, kOpenOld);
    EXPECT_EQ(fitest(here, 1, 0), -1);
    EXPECT_EQ(fitest(here, 0, 0), -1);
    EXPECT_NE(unitFile(unit), nullptr);
}

TEST(PromptReader, ReadsOneLineCutToTheAnswer)
{
    ConsoleCapture capture;
    StandardInput input("first answer\r\nsecond\n");
    std::string answer = "old";
    EXPECT_TRUE(eslcha(kConsoleDevice, "Geometry file ?   ", answer, 5));
    EXPECT_EQ(answer, "first");
    EXPECT_TRUE(eslcha(kConsoleDevice, "   ", answer, 80));
    EXPECT_EQ(answer, "second");
    EXPECT_FALSE(eslcha(kConsoleDevice, "Mesh ?", answer, 80));
    EXPECT_EQ(answer, "second");
    EXPECT_FALSE(eslcha(kConsoleDevice, "Mesh ?", answer, 80)); // end of input stays the end
    EXPECT_EQ(capture.text(), " Geometry file ?\n Mesh ?\n DATA ERROR  not a string :Mesh ?\n"
                              " Mesh ?\n DATA ERROR  not a string :Mesh ?\n");
}

TEST(TextHelpers, UpperCaseOfTheFirstCharacters)
{
    std::string text = "qwerty";
    majusc(3, text);
    EXPECT_EQ(text, "QWErty");
    text = "ab-z{1";
    majusc(99, text);
    EXPECT_EQ(text, "AB-Z{1");
    text = "abc";
    majusc(-2, text);
    EXPECT_EQ(text, "abc");
}

TEST(TextHelpers, LastNonBlankOrOne)
{
    EXPECT_EQ(lenchr("ab  ", 4), 2);
    EXPECT_EQ(lenchr("    ", 4), 1);
    EXPECT_EQ(lenchr("", 0), 0);
    EXPECT_EQ(lenchr("abc", -1), 0);
    EXPECT_EQ(lenchr("abcdef", 3), 3); // only the given length counts
    EXPECT_EQ(lenchr("ab", 10), 2);
}

TEST(TextHelpers, OverlappingCopiesByDirection)
{
    int32_t values[6] = {1, 2, 3, 4, 5, 6};
    vdenti(-1, 4, values, values + 2); // up by two places: from the last entry down
    EXPECT_EQ(std::vector<int32_t>(values, values + 6), (std::vector<int32_t>{1, 2, 1, 2, 3, 4}));
    vdenti(1, 4, values + 2, values); // down by two places: from the first entry up
    EXPECT_EQ(std::vector<int32_t>(values, values + 6), (std::vector<int32_t>{1, 2, 3, 4, 3, 4}));
    std::string texts[4] = {"aa", "bb", "cc", "    "};
    vdchar(1, 3, texts + 1, texts);
    EXPECT_EQ(texts[0], "bb");
    EXPECT_EQ(texts[2], "  "); // "    " cut to the width of "cc"
    EXPECT_EQ(texts[1], "cc");
    std::string wide[2] = {"abcdef", "xy"};
    vdchar(1, 1, wide, wide + 1); // cut to the destination's length
    EXPECT_EQ(wide[1], "ab");
}

} // namespace
} // namespace tesmo
