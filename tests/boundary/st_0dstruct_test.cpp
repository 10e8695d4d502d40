#include "boundary/st_0dstruct.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

TEST(S0ajno, AppendsAFreeNodeUntilTheListIsFull)
{
    std::vector<float> coord(4, 0.0f);
    std::vector<int32_t> noetri = {7, 7};
    int32_t n = 0, node = 0;
    const float point[] = {2.5f, -1.0f};
    const auto append = [&](int32_t noetriSize) {
        return s0ajno(point, Rows<float>(coord.data(), 2, 2), n, Vec<int32_t>(noetri.data(), noetriSize), node);
    };
    ASSERT_EQ(append(2), kOk);
    EXPECT_EQ(node, 1);
    EXPECT_EQ(coord, (std::vector<float>{2.5f, -1.0f, 0, 0}));
    EXPECT_EQ(noetri, (std::vector<int32_t>{0, 7}));
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(append(1), kCapacityError); // NOETRI too short: the node stays appended
    EXPECT_EQ(n, 2);
    EXPECT_EQ(coord[2], 2.5f);
    EXPECT_EQ(noetri[1], 7);
    EXPECT_EQ(append(0), kCapacityError); // full: nothing changes
    modini = 0;
    EXPECT_EQ(n, 2);
    EXPECT_EQ(node, 0);
    EXPECT_NE(capture.text().find("DANS S0AJNO : NOETRI TROP PETIT"), std::string::npos);
    EXPECT_NE(capture.text().find("DANS S0AJNO : TROP DE POINTS"), std::string::npos);
}

TEST(S0dtno, RemovesTheLastFreeNodeOnly)
{
    std::vector<float> coord = {1, 1, 2, 2, 3, 3};
    std::vector<int32_t> noetri = {1, 0, 0};
    int32_t n = 3;
    const auto remove = [&](int32_t k, int32_t noetriSize) {
        return s0dtno(k, Rows<float>(coord.data(), 2, 3), n, Vec<const int32_t>(noetri.data(), noetriSize));
    };
    modini = 2;
    ConsoleCapture capture;
    EXPECT_EQ(remove(2, 3), kDataError); // free but not the last
    modini = 0;
    EXPECT_NE(capture.text().find("DANS S0DTNO : POINT ENCORE CONNECTE"), std::string::npos);
    ASSERT_EQ(remove(3, 3), kOk);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(coord, (std::vector<float>{1, 1, 2, 2, 0, 0}));
    noetri[1] = 5;
    EXPECT_EQ(remove(2, 3), kDataError); // still in an element
    EXPECT_EQ(remove(2, 1), kCapacityError);
    ASSERT_EQ(remove(2, 0), kOk); // no NOETRI
    ASSERT_EQ(remove(1, 0), kOk);
    EXPECT_EQ(remove(0, 0), kDataError); // no node left
}

} // namespace
} // namespace tesmo
