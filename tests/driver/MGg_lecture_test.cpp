// The storing read: the border structure of smoothed borders and the report headings.
#include "driver/MGg_lecture.hpp"
#include "driver/MGg_noeud.hpp"

#include "geometry/cg_epsi.hpp"
#include "support/files_test_support.hpp"
#include "messages/es_chaine.hpp"
#include "support/run_binary.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

class StoringRead : public testfiles::FileTest {};

TEST_F(StoringRead, SeveralComponentsNeedAsManyFreeIntegersAsNodes)
{
    // nbn = 480 on 1004 integers: 1000 free after the two size records, NBEMAX = 8 (the
    // edges), and the tables leave 1003 - 538 = 465 free integers, fewer than NOEMAX.
    write("hole.geo", testing::readFile(TESMO_TEST_DATA "/driver_hole.geo"));
    write("smoothed.den", testing::readFile(TESMO_TEST_DATA "/driver_smoothed.den"));
    icgeps();
    stinit();
    std::vector<int32_t> itvl(1004, 0);
    std::vector<float> rtvl(100000, 0.0f);
    ConsoleCapture console;
    EXPECT_EQ(mggmem("hole.geo", "smoothed.den", "out.msh", "", 480, Vec<int32_t>(itvl.data(), 1004),
                     Vec<float>(rtvl.data(), 100000), 1),
              kCapacityError);
    EXPECT_TRUE(console.text().ends_with(" Number of zones   : 1\n"
                                         " Number of non-connex polygons : 2\n"
                                         " COMPUTER ERROR  too many polygons\n"))
        << console.text();
}

TEST(ReportType, CodesWithoutHeadingAreDataErrors)
{
    EXPECT_EQ(reportType(-1), -1);
    EXPECT_EQ(reportType(-2), -2);
    EXPECT_EQ(reportType(-3), -3);
    EXPECT_EQ(reportType(-4), -1);
    EXPECT_EQ(reportType(1), -1);
}

} // namespace
} // namespace tesmo
