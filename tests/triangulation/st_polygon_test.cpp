#include "triangulation/st_polygon.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/mesh_fixture.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using List = std::vector<int32_t>;

TEST(Artopl, FollowsTheChainFromItsFirstEdgeAndRefusesOpenOrBrokenOnes)
{
    testing::Tables chain(2, 2, {{13, 14}, {11, 12}, {14, 11}, {12, 13}}, 14, 256);
    ASSERT_EQ(smacre(1, chain.ITRNOE(), 4, 0, chain.ITRNOE(), chain.ITRTRI(), Vec<int32_t>(), chain.WORK()), kOk);
    List polygon(8, 0);
    int32_t n = 0;
    auto follow = [&](int32_t count, int32_t capacity) {
        return artopl(chain.ITRNOE(), chain.ITRTRI(), count, Vec<int32_t>(polygon.data(), capacity), n);
    };
    EXPECT_EQ(follow(4, 8), kOk);
    EXPECT_EQ(List(polygon.begin(), polygon.begin() + n), (List{13, 14, 11, 12}));
    EXPECT_EQ(follow(4, 3), kCapacityError);
    EXPECT_EQ(follow(3, 8), kDataError); // edge 4 is not part of the chain: it stays open
    chain.ITRTRI()(1, 2) = 2;            // edge 2 does not start where edge 1 ends
    EXPECT_EQ(follow(4, 8), kDataError);
}

TEST(Splipl, FirstRunsFromBToAAndSecondFromAToB)
{
    List first(8, 0);
    List second(8, 0);
    int32_t n1 = 0;
    int32_t n2 = 0;
    auto split = [&](List polygon, int32_t a, int32_t b, int32_t capacity = 8) {
        const int code = splipl(Vec<const int32_t>(polygon.data(), int32_t(polygon.size())), a, b,
                                Vec<int32_t>(first.data(), capacity), n1, Vec<int32_t>(second.data(), capacity), n2);
        return std::tuple(code, List(first.begin(), first.begin() + n1), List(second.begin(), second.begin() + n2));
    };
    EXPECT_EQ(split({11, 12, 13, 14, 15, 16}, 12, 15), std::tuple(kOk, List{15, 16, 11, 12}, List{12, 13, 14, 15}));
    EXPECT_EQ(split({11, 12, 13, 14, 15, 16}, 15, 12), std::tuple(kOk, List{12, 13, 14, 15}, List{15, 16, 11, 12}));
    // the last occurrence of each end counts
    EXPECT_EQ(split({1, 2, 3, 4, 2, 5}, 2, 4), std::tuple(kOk, List{4, 2}, List{2, 5, 1, 2, 3, 4}));
    EXPECT_EQ(std::get<0>(split({1, 2, 3, 4}, 2, 4, 2)), kCapacityError);
    modini = 2;
    for (const auto& [a, b, text] : {std::tuple{2, 2, " ARETE: ORIGINE=EXTREMITE"},
                                     std::tuple{7, 2, " ORIGINE HORS POLYGONE"},
                                     std::tuple{2, 7, " EXTREMITE HORS POLYGONE"}}) {
        ConsoleCapture capture;
        EXPECT_EQ(std::get<0>(split({1, 2, 3, 4}, a, b)), kDataError);
        EXPECT_NE(capture.text().find(text), std::string::npos);
        EXPECT_NE(capture.text().find("SPLIPL"), std::string::npos);
    }
    modini = 0;
}

} // namespace
} // namespace tesmo
