#include "geometry/cg_epsi.hpp"
#include "messages/messages.hpp"
#include "shell/shell.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <array>

namespace tesmo {
namespace {

struct Check {
    int32_t flags[5];
    int32_t nbn;
    int32_t mode;
};

int check(const Check& c, RunFiles& files)
{
    files = RunFiles{"geo.txt", "size.den", "out.msh", "out.grd", c.nbn};
    return mgtest(files, Vec<const int32_t>(c.flags, 5), c.mode);
}

const std::string kBlank(80, ' ');

TEST(Mgtest, AbsentValuesAreBlankedAndNoMaximumIsMinusOne)
{
    ConsoleCapture capture;
    RunFiles files;
    ASSERT_EQ(check({{1, -1, 1, -1, 0}, 777, 1}, files), kOk);
    EXPECT_EQ(files.df1, "geo.txt");
    EXPECT_EQ(files.df2, kBlank);
    EXPECT_EQ(files.rf1, "out.msh");
    EXPECT_EQ(files.rf2, kBlank);
    EXPECT_EQ(files.nbn, -1); // flag 0 (not a number) counts as absent
    ASSERT_EQ(check({{1, 1, 1, -1, 1}, 5000, 1}, files), kOk);
    EXPECT_EQ(files.df2, "size.den");
    EXPECT_EQ(files.nbn, 5000);
    EXPECT_EQ(capture.text(), "");
}

TEST(Mgtest, NodalSizesNeedAMeshUnlessNoNodeIsAdded)
{
    ConsoleCapture capture;
    RunFiles files;
    EXPECT_EQ(check({{1, -1, 1, 1, -1}, 0, 1}, files), kOk);
    EXPECT_EQ(check({{1, -1, -1, 1, 1}, 0, 1}, files), kOk);
    EXPECT_EQ(capture.text(), " nodal value computation only\n");
    EXPECT_EQ(check({{1, -1, -1, 1, 1}, 0, 0}, files), kOk); // silent: no information line
    EXPECT_EQ(check({{1, -1, -1, 1, 1}, 10, 1}, files), kDataError);
    EXPECT_EQ(check({{1, -1, -1, 1, -1}, 0, 0}, files), kDataError); // no maximum given: -1
    EXPECT_EQ(check({{1, -1, -1, -1, 1}, 0, 1}, files), kDataError);
    EXPECT_EQ(capture.text(), " nodal value computation only\n"
                              " DATA ERROR  no mesh file given, the nodal values won t be located\n"
                              " DATA ERROR  no mesh file given, the nodal values won t be located\n"
                              " DATA ERROR  the name of the resulting mesh file is missing\n");
}

TEST(Mginit2, StoresTheModeAndFillsTheConstants)
{
    cgepsi[2] = 0.0f;
    strtet[0] = -99;
    mginit2(2);
    EXPECT_EQ(modini, 2);
    EXPECT_GT(epsRelative(), 0.0f);
    EXPECT_NE(strtet[0], -99);
    mginit2(0);
    EXPECT_EQ(modini, 0);
}

} // namespace
} // namespace tesmo
