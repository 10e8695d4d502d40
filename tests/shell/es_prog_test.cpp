#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "shell/es_prog.hpp"
#include "files/es_util.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace tesmo {
namespace {

using testing::ScratchDirectory;
using testing::StandardInput;

/// Arguments after the program name, the mode word first.
struct Words {
    explicit Words(std::vector<std::string> list) : texts(std::move(list))
    {
        for (const std::string& t : texts) {
            views.emplace_back(t);
        }
    }
    Arguments arguments() const { return Arguments(views.data(), int32_t(views.size())); }
    std::vector<std::string> texts;
    std::vector<std::string_view> views;
};

/// Result tables for up to 8 parameters.
struct Results {
    std::array<std::string, 8> texts;
    std::array<int32_t, 8> integers{};
    std::array<float, 8> reals{};
    std::array<int32_t, 8> index{};
    std::array<int32_t, 8> presence{};
    ParameterValues values{Vec<std::string>(texts.data(), 8), Vec<int32_t>(integers.data(), 8),
                           Vec<float>(reals.data(), 8), Vec<int32_t>(index.data(), 8),
                           Vec<int32_t>(presence.data(), 8)};
    std::string text(int32_t k) { return std::string(cutText(values.texts(values.index(k)))); }
    int32_t integer(int32_t k) { return values.integers(values.index(k)); }
    int32_t flag(int32_t k) { return values.presence(k); }
};

/// The five parameters of the program.
std::vector<ParameterSpec> programParameters()
{
    return {{kInputFile, 1, "Geometry file ?"},
            {kInputFile, 0, "Mesh size definition file ?"},
            {kOutputFile, 0, "Name of the resulting mesh ?"},
            {kOutputFile, 0, "Name of the resulting mesh size (optional) ?"},
            {kIntegerValue, 0, "Maximum number of nodes (optional) ?"}};
}

const std::array<Keyword, 1> kDash = {Keyword{"-", -1}};

int run(const Words& words, const std::vector<ParameterSpec>& parameters, Results& results)
{
    return esprog(words.arguments(), Vec<const ParameterSpec>(parameters.data(), int32_t(parameters.size())),
                  Vec<const Keyword>(kDash.data(), 1), results.values);
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory.write("geo.txt", "DEBXYZ\n1 2\n0. 0.\nFINXYZ\n");
        geo = directory.file("geo.txt");
    }
    void TearDown() override
    {
        modees = 0;
        EXPECT_EQ(openFileCount(), 0);
    }
    ScratchDirectory directory;
    std::string geo;
    ConsoleCapture capture;
};

TEST_F(CommandLine, ModeWordFirstCharacterOnly)
{
    struct Case {
        std::vector<std::string> words;
        int32_t mode, help, modees;
    };
    const Case cases[] = {{{}, 1, 0, 0},        {{"v"}, 1, 0, 1},     {{"S", "x"}, 0, 0, 0},
                          {{"debug"}, 2, 0, 2}, {{"Help"}, 1, 1, -5}, {{"geo.txt"}, 1, 0, 1},
                          {{""}, 1, 0, 1},      {{"d"}, 2, 0, 2}};
    for (const Case& c : cases) {
        modees = -5;
        int32_t mode = -9, help = -9;
        const Words words(c.words);
        espmod(words.arguments(), mode, help);
        EXPECT_EQ(mode, c.mode) << ::testing::PrintToString(c.words);
        EXPECT_EQ(help, c.help) << ::testing::PrintToString(c.words);
        EXPECT_EQ(modees, c.words.empty() ? -5 : c.modees) << ::testing::PrintToString(c.words);
    }
}

TEST_F(CommandLine, BannerLines)
{
    eseprg(kConsoleDevice, "tesmo", 2.06f, "owner", 20111123, " nobody");
    eseprg(kConsoleDevice, "tesmo", 0.0f, "owner", 20240105, "mail@example.org");
    eseprg(kConsoleDevice, "big", 123.0f, "owner", 0, "");
    eseprg(4, "tesmo", 2.06f, "owner", 20111123, " nobody");
    EXPECT_EQ(capture.text(), " tesmo 2.06\n DATE 23 11 2011\n"
                              " tesmo\n DATE  5  1 2024\n CONTACTmail@example.org\n"
                              " big*****\n");
}

TEST_F(CommandLine, ParametersFromTheCommandLine)
{
    Results r;
    ASSERT_EQ(run(Words({"v", geo, "-", "out.msh"}), programParameters(), r), kOk);
    EXPECT_EQ(r.text(1), geo);
    EXPECT_EQ(r.flag(1), kGiven);
    EXPECT_EQ(r.flag(2), kAbsent);
    EXPECT_EQ(r.values.texts(r.values.index(2)), std::string(80, ' '));
    EXPECT_EQ(r.text(3), "out.msh");
    EXPECT_EQ(r.flag(3), kGiven);
    EXPECT_EQ(r.flag(4), kAbsent);
    EXPECT_EQ(r.flag(5), kAbsent);
    EXPECT_EQ(r.integer(5), 0);
    EXPECT_EQ(r.values.textCount, 4);
    EXPECT_EQ(r.values.integerCount, 1);
    EXPECT_EQ(capture.text(), "");
}

TEST_F(CommandLine, IntegerParameter)
{
    Results r;
    ASSERT_EQ(run(Words({"v", geo, "-", "-", "-", "5000"}), programParameters(), r), kOk);
    EXPECT_EQ(r.flag(5), kGiven);
    EXPECT_EQ(r.integer(5), 5000);
    // Not a number: flag 0, no error, no message outside debug mode.
    ASSERT_EQ(run(Words({"v", geo, "-", "-", "-", "abc"}), programParameters(), r), kOk);
    EXPECT_EQ(r.flag(5), kNotConverted);
    EXPECT_EQ(r.integer(5), 0);
    ASSERT_EQ(run(Words({"v", geo, "-", "-", "-", "1.0"}), programParameters(), r), kOk);
    EXPECT_EQ(r.flag(5), kNotConverted);
    EXPECT_EQ(capture.text(), "");
    modees = 2;
    ASSERT_EQ(run(Words({"d", geo, "-", "-", "-", "12x"}), programParameters(), r), kOk);
    EXPECT_EQ(capture.text(), " 0\n ?? IOS EST POSITIF\n");
}

TEST_F(CommandLine, MoreThanFiftyDeclared)
{
    Results r;
    std::vector<ParameterSpec> many(51, ParameterSpec{kOutputFile, 0, "?"});
    EXPECT_EQ(run(Words({"v", "a"}), many, r), kCapacityError);
    EXPECT_EQ(capture.text(), " COMPUTER ERROR  too many parameters for the application, must be <= 50\n");
}

TEST_F(CommandLine, TextLongerThanItsFieldIsRefused)
{
    Results r;
    const std::string eighty(80, 'a');
    ASSERT_EQ(run(Words({"v", geo, "-", eighty}), programParameters(), r), kOk);
    EXPECT_EQ(r.text(3), eighty);
    EXPECT_EQ(run(Words({"v", geo, "-", eighty + "b"}), programParameters(), r), kDataError);
    EXPECT_EQ(capture.text(),
              " DATA ERROR  too many character for a parameter, must be <= 80 :\n Name of the resulting mesh ?\n");
}

TEST_F(CommandLine, BufferBudget)
{
    std::vector<ParameterSpec> six(6, ParameterSpec{kOutputFile, 0, "?"});
    Results r;
    // Starts at 1, 76, 151, 226: the fourth finds 226 + 32 above 256.
    const std::string t74(74, 't');
    EXPECT_EQ(run(Words({"v", t74, t74, t74, "x"}), six, r), kCapacityError);
    EXPECT_EQ(capture.text(), " COMPUTER ERROR  too many character for a parameter, must be <= 256\n");
    // Starts at 1, 72, 143, 214: the fourth may start but does not fit; it is refused, not cut.
    const std::string t70(70, 't');
    EXPECT_EQ(run(Words({"v", t70, t70, t70, t70}), six, r), kCapacityError);
    // Short texts after long ones still fit.
    EXPECT_EQ(run(Words({"v", t70, t70, t70, "abc"}), six, r), kOk);
    EXPECT_EQ(r.text(4), "abc");
    EXPECT_EQ(r.flag(5), kAbsent);
}

TEST_F(CommandLine, KeywordsRealsAndNewFiles)
{
    const std::array<Keyword, 3> keywords = {Keyword{"-", -1}, Keyword{"YES", 1}, Keyword{"NO    ", 2}};
    const std::vector<ParameterSpec> parameters = {{kKeyword, 0, "Answer ?"},     {kKeyword, 0, "Other ?"},
                                                   {kKeyword, 0, "Third ?"},      {kRealValue, 0, "Ratio ?"},
                                                   {kNewOutputFile, 0, "New ?"},  {kInputFileToo, 0, "Old ?"}};
    const Vec<const ParameterSpec> list(parameters.data(), int32_t(parameters.size()));
    Results r;
    const Words words({"v", "yes", "no", "maybe", "2.5e1", directory.file("new.msh"), geo});
    ASSERT_EQ(esprog(words.arguments(), list, Vec<const Keyword>(keywords.data(), 3), r.values), kOk);
    EXPECT_EQ(r.integer(1), 1);
    EXPECT_EQ(r.flag(1), kGiven);
    EXPECT_EQ(r.integer(2), 2);
    EXPECT_EQ(r.integer(3), -1);
    EXPECT_EQ(r.flag(3), kAbsent);
    EXPECT_EQ(r.values.index(4), 1);
    EXPECT_EQ(r.values.reals(1), 25.0f);
    EXPECT_EQ(r.values.index(5), 1); // the keywords took no text entry
    const Words existing({"v", "-", "-", "-", "0.5", geo});
    EXPECT_EQ(esprog(existing.arguments(), list, Vec<const Keyword>(keywords.data(), 3), r.values), kDataError);
    EXPECT_EQ(capture.text(), " DATA ERROR  the file already exist :" + geo + "\n");
}

TEST_F(CommandLine, UnknownTypeIsADataError)
{
    const std::vector<ParameterSpec> parameters = {{8, 0, "?"}};
    Results r;
    modees = 2;
    EXPECT_EQ(run(Words({"d", "x"}), parameters, r), kDataError);
    EXPECT_EQ(capture.text(), " ERR -1  DONNEES INCORRECTES DANS :ESPLEX\n  APPEL ESFORM\n"
                              " ERR -1  DONNEES INCORRECTES DANS :ESPROG\n  APPEL ESPLEX\n");
}

TEST_F(CommandLine, FullResultTableIsACapacityError)
{
    std::array<std::string, 1> texts;
    std::array<int32_t, 2> flags{}, index{};
    ParameterValues values{Vec<std::string>(texts.data(), 1), Vec<int32_t>(), Vec<float>(),
                           Vec<int32_t>(index.data(), 2), Vec<int32_t>(flags.data(), 2)};
    const std::vector<ParameterSpec> parameters = {{kOutputFile, 0, "a"}, {kOutputFile, 0, "b"}};
    const Words words({"v", "x", "y"});
    EXPECT_EQ(esprog(words.arguments(), Vec<const ParameterSpec>(parameters.data(), 2),
                     Vec<const Keyword>(kDash.data(), 1), values),
              kCapacityError);
}

TEST_F(CommandLine, ConsoleAnswersEveryPrompt)
{
    StandardInput input(geo + "\n\nout.msh   \n-\n 42\n");
    Results r;
    ASSERT_EQ(run(Words({"v"}), programParameters(), r), kOk);
    EXPECT_EQ(r.text(1), geo);
    EXPECT_EQ(r.flag(2), kAbsent);
    EXPECT_EQ(r.text(3), "out.msh");
    EXPECT_EQ(r.text(4), "-"); // an ordinary text at a prompt
    EXPECT_EQ(r.integer(5), 42);
}

TEST_F(CommandLine, ConsoleAnswerLongerThanTheBufferIsRefused)
{
    std::vector<ParameterSpec> four(4, ParameterSpec{kOutputFile, 0, "?"});
    const std::string t70(70, 't');
    StandardInput input(t70 + "\n" + t70 + "\n" + t70 + "\n" + t70 + "\n");
    Results r;
    EXPECT_EQ(run(Words({}), four, r), kCapacityError);
    EXPECT_EQ(capture.text(), " ?\n ?\n ?\n ?\n COMPUTER ERROR  too many character for a parameter, must be <= 256\n");
}

TEST(Keywords, FirstMatchUpToTheKeywordsFirstBlank)
{
    const std::array<Keyword, 4> keywords = {Keyword{"AB", 1}, Keyword{"A B", 2}, Keyword{" ", 3}, Keyword{"-", -1}};
    const Vec<const Keyword> list(keywords.data(), 4);
    EXPECT_EQ(esamot("ab", list), 1);
    EXPECT_EQ(esamot("Abc", list), 1);
    EXPECT_EQ(esamot("ax", list), 2); // "A B" is compared as "A"
    EXPECT_EQ(esamot("-", list), -1);
    EXPECT_EQ(esamot("", list), -1);
    EXPECT_EQ(esamot("b", list), -1);
}

} // namespace
} // namespace tesmo
