// The invariant checker must see each kind of broken table, or the tests relying on it
// prove nothing.
#include "support/structure_check.hpp"

#include "support/mesh_fixture.hpp"
#include "topology/st_generic.hpp"

#include <functional>
#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::Tables;

/// The checker's answer after `damage` on triangles (1,2,3), (3,2,4), (1,3,5).
std::string damaged(const std::function<void(Tables&)>& damage)
{
    Tables t(3, 3, {{1, 2, 3}, {3, 2, 4}, {1, 3, 5}}, 5);
    EXPECT_EQ(t.smacre(2), kOk);
    damage(t);
    return t.check(2);
}

TEST(CheckStructure, AcceptsValidTablesAndDescribesEachFault)
{
    EXPECT_EQ(damaged([](Tables&) {}), "");
    EXPECT_EQ(damaged([](Tables& t) { t.ITRTRI()(1, 2) = -2, t.ITRTRI()(2, 1) = -1; }), "");
    const std::pair<std::function<void(Tables&)>, std::string> faults[] = {
        {[](Tables& t) { t.ITRTRI()(2, 1) = 0; }, "element 1 face 2 names 2 but 2 holds 1 at 0 faces"},
        {[](Tables& t) { t.ITRTRI()(2, 1) = -1; }, "(with the other sign elsewhere)"},
        {[](Tables& t) { t.ITRTRI()(1, 2) = 7; }, "names 7 beyond NBE 3"},
        {[](Tables& t) { t.ITRTRI()(1, 2) = 0, t.ITRTRI()(1, 1) = 2, t.ITRTRI()(2, 1) = 0, t.ITRTRI()(2, 2) = 1; },
         "element 1 face 1 and element 2 face 2 do not have the same nodes in opposite order"},
        {[](Tables& t) { std::fill(t.ITRNOE().row(3), t.ITRNOE().row(3) + 3, 0); }, "names 3 a deleted element"},
        {[](Tables& t) { t.noetri[3] = 1; }, "NOETRI(4) = 1 is not an element containing the node"},
        {[](Tables& t) { t.noetri[4] = 0; }, "NOETRI(5) is 0 but an element contains the node"},
        {[](Tables& t) { t.noetri.push_back(2); }, "NOETRI(6) = 2 is not an element"},
        {[](Tables& t) { t.noetri.resize(4); }, "holds node 5 outside NOETRI"},
    };
    for (const auto& [damage, text] : faults) {
        const std::string found = damaged(damage);
        EXPECT_NE(found.find(text), std::string::npos) << found;
    }
}

TEST(CheckStructure, SlotsPastTheFacesAndSolids)
{
    Tables quad(4, 4, {{1, 2, 3, 0}}, 3);
    quad.ITRTRI()(1, 4) = 1;
    EXPECT_NE(quad.check(2, false).find("slot 4 past its faces"), std::string::npos);
    EXPECT_NE(testing::checkStructure(2, quad.ITRNOE(), quad.ITRTRI(), 2).find("NBE 2 does not fit"), std::string::npos);
    stinit();
    Tables solids(4, 4, {{1, 2, 3, 4}, {1, 3, 2, 5}}, 5);
    ASSERT_EQ(solids.smacre(3), kOk);
    EXPECT_EQ(solids.check(3), "");
    std::swap(solids.ITRNOE()(2, 2), solids.ITRNOE()(2, 3)); // same face, same direction
    EXPECT_NE(solids.check(3), "");
}

} // namespace
} // namespace tesmo
