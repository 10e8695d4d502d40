#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

std::string composed(void (*composer)(int32_t, int32_t, int32_t, std::string_view, std::string&), int32_t type,
                     int32_t first, int32_t second, std::size_t length, char fill = ' ')
{
    std::string text(length, fill);
    composer(type, first, second, "", text);
    return text;
}

std::string padded(std::string text, std::size_t length)
{
    text.resize(length, ' ');
    return text;
}

/// Restores both verbosity settings after a test.
class Verbosity : public ::testing::Test {
protected:
    void TearDown() override
    {
        modees = 0;
        modini = 0;
    }
};

TEST(Composition, HeadingsAndInformationLines)
{
    EXPECT_EQ(composed(esmess, -1, 14, 1, 63), padded("DATA ERROR  can t open the file :", 63));
    EXPECT_EQ(composed(esmess, -3, 13, 1, 63), padded("NOT YET POSSIBLE  Unknown : memory allocation?!", 63));
    EXPECT_EQ(composed(pgmess, 0, 12, 13, 126),
              padded("WARNING  carreful with that combination... maximum number of nodes set.", 126));
    EXPECT_EQ(composed(pgmess, -2, 15, 1, 63), padded("COMPUTER ERROR  no more memory (for integers).", 63));
    EXPECT_EQ(composed(pgmess, 101, 24, 1, 63), padded("-->READING GEOMETRY FILE :", 63));
    EXPECT_EQ(composed(pgmess, 101, 9, 10, 63), padded("must be given. can be given.", 63));
}

TEST(Composition, BlankEntriesCountOneBlank)
{
    // Heading, its kept blank, the separator, entry 1 (one blank), separator, entry 1, separator.
    EXPECT_EQ(composed(esmess, -1, 1, 1, 20), padded("DATA ERROR", 20));
    EXPECT_EQ(composed(esmess, -1, 1, 14, 63), padded("DATA ERROR    can t open the file :", 63));
    EXPECT_EQ(composed(pgmess, 101, 1, 24, 40).substr(0, 29), "  -->READING GEOMETRY FILE : ");
}

TEST(Composition, OutputIsCutToTheCallersLength)
{
    EXPECT_EQ(composed(pgmess, -1, 24, 1, 20), "DATA ERROR  no mesh ");
    EXPECT_EQ(composed(pgmess, 101, 2, 1, 5), "Geome");
    EXPECT_EQ(composed(pgmess, -1, 24, 1, 0), "");
}

TEST(Composition, TypesBetweenTwoAndNinetyNineAndBelowMinusThreeLeaveTheText)
{
    EXPECT_EQ(composed(pgmess, 5, 2, 1, 30, 'x'), std::string(30, 'x'));
    EXPECT_EQ(composed(esmess, 99, 2, 1, 30, 'x'), std::string(30, 'x'));
    EXPECT_EQ(composed(esmess, -4, 2, 1, 30, 'x'), std::string(30, 'x'));
}

TEST(Composition, HelpTextFillsOrIsCut)
{
    const std::string help = composed(pgmess, 1, 1, 1, 63);
    EXPECT_EQ(help, "Usage  : tesmo [v/s/h]   Df1    [Df2]   [Rf1]   [Rf2]    [nbn]\n");
    const std::string whole = composed(pgmess, 1, 1, 1, 512);
    EXPECT_EQ(whole.size(), 512u);
    EXPECT_TRUE(cutText(whole).ends_with("\n   [] means the parameter is optional."));
    EXPECT_EQ(whole.back(), ' ');
}

TEST(Composition, EntriesOutsideTheTableReadAsBlank)
{
    EXPECT_EQ(composed(esmess, -1, 65, 14, 63), padded("DATA ERROR    can t open the file :", 63));
    EXPECT_EQ(composed(pgmess, 101, 0, 2, 63).substr(0, 18), "  Geometry file ? ");
}

TEST_F(Verbosity, TracesNeedDebugModeAndHandTheCodeBack)
{
    ConsoleCapture capture;
    modees = 1;
    modini = 1;
    EXPECT_EQ(estraced(kDataError, "ESPLEX", " APPEL ESFORM"), kDataError);
    EXPECT_EQ(traced(kCapacityError, "MGGMAX", "TABLEAUX D ENTIERS TROP PETIT"), kCapacityError);
    EXPECT_EQ(capture.text(), "");
    modees = 2;
    modini = 2;
    eserre(kConsoleDevice, -1, "ESPLEX", " APPEL ESFORM");
    mgerre(kConsoleDevice, -2, "MGGMAX", "TABLEAUX D ENTIERS TROP PETIT");
    mgerre(kConsoleDevice, -3, "LITFRT", " NON IMPLEMENTE");
    eserre(kConsoleDevice, -7, "MGGMEM", "CODE");
    EXPECT_EQ(capture.text(), " ERR -1  DONNEES INCORRECTES DANS :ESPLEX\n  APPEL ESFORM\n"
                              " ERR -2  PROBLEME MEMOIRE DANS :MGGMAX\n TABLEAUX D ENTIERS TROP PETIT\n"
                              " ERR -3  NON ENCORE IMPLEMENTE DANS :LITFRT\n  NON IMPLEMENTE\n"
                              " -7\n CODE\n");
}

TEST_F(Verbosity, UserMessagesPrintWhateverTheMode)
{
    ConsoleCapture capture;
    esReport(kDataError, 14, 1, "mesh.geo");
    esReportReal(kDataError, 57, 1, 0.0f);
    pgReportInt(0, 25, 1, 5000);
    EXPECT_EQ(capture.text(), " DATA ERROR  can t open the file :mesh.geo\n"
                              " DATA ERROR  the progression ratio is <= 0 : 0.\n"
                              " WARNING  Maximum number of nodes reached  : 5000\n");
}

} // namespace
} // namespace tesmo
