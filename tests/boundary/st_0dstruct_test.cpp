#include "boundary/st_0dstruct.hpp"

#include "shell/es_chaine.hpp"
#include "shell/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(S0ajno, AppendsAFreeNode)
{
    std::vector<float> coord(6, 0.0f);
    std::vector<int32_t> noetri(3, 7);
    int32_t n = 1, node = 0;
    const float point[] = {2.5f, -1.0f};
    ASSERT_EQ(s0ajno(point, Rows<float>(coord.data(), 2, 3), n, Vec<int32_t>(noetri.data(), 3), node), kOk);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(node, 2);
    EXPECT_EQ(coord[2], 2.5f);
    EXPECT_EQ(coord[3], -1.0f);
    EXPECT_EQ(noetri, (std::vector<int32_t>{7, 0, 7}));
    ASSERT_EQ(s0ajno(point, Rows<float>(coord.data(), 2, 3), n, Vec<int32_t>(), node), kOk); // no NOETRI
    EXPECT_EQ(node, 3);
}

TEST(S0ajno, FullListChangesNothing)
{
    std::vector<float> coord = {1, 1, 2, 2};
    int32_t n = 2, node = 9;
    const float point[] = {5, 5};
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(s0ajno(point, Rows<float>(coord.data(), 2, 2), n, Vec<int32_t>(), node), kCapacityError);
    modini = 0;
    EXPECT_EQ(n, 2);
    EXPECT_EQ(node, 0);
    EXPECT_EQ(coord, (std::vector<float>{1, 1, 2, 2}));
    EXPECT_NE(capture.text().find("DANS S0AJNO : TROP DE POINTS"), std::string::npos);
}

TEST(S0ajno, ShortNodeTableKeepsTheNodeAppended)
{
    std::vector<float> coord(6, 0.0f);
    std::vector<int32_t> noetri(1, 4);
    int32_t n = 1, node = 0;
    const float point[] = {3, 4};
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(s0ajno(point, Rows<float>(coord.data(), 2, 3), n, Vec<int32_t>(noetri.data(), 1), node), kCapacityError);
    modini = 0;
    EXPECT_EQ(n, 2);
    EXPECT_EQ(coord[2], 3.0f);
    EXPECT_EQ(noetri[0], 4);
    EXPECT_NE(capture.text().find("DANS S0AJNO : NOETRI TROP PETIT"), std::string::npos);
}

TEST(S0dtno, RemovesTheLastFreeNodeOnly)
{
    std::vector<float> coord = {1, 1, 2, 2, 3, 3};
    std::vector<int32_t> noetri = {1, 0, 0};
    int32_t n = 3;
    modini = 2;
    {
        ConsoleCapture capture;
        EXPECT_EQ(s0dtno(2, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>(noetri.data(), 3)), kDataError);
        EXPECT_NE(capture.text().find("DANS S0DTNO : POINT ENCORE CONNECTE"), std::string::npos);
    }
    modini = 0;
    EXPECT_EQ(n, 3);
    ASSERT_EQ(s0dtno(3, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>(noetri.data(), 3)), kOk);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(coord, (std::vector<float>{1, 1, 2, 2, 0, 0}));
    noetri[1] = 5;
    EXPECT_EQ(s0dtno(2, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>(noetri.data(), 3)), kDataError);
    EXPECT_EQ(s0dtno(2, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>(noetri.data(), 1)), kCapacityError);
    ASSERT_EQ(s0dtno(2, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>()), kOk); // no NOETRI
    ASSERT_EQ(s0dtno(1, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>()), kOk);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(s0dtno(0, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>()), kDataError); // no node left
}

} // namespace
} // namespace tesmo
