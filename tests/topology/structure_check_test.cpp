// The invariant checker must see each kind of broken table, or the tests relying on it
// prove nothing.
#include "support/structure_check.hpp"

#include "mesh_fixture.hpp"
#include "topology/st_generic.hpp"
#include "topology/st_topologie.hpp"

#include <gtest/gtest.h>

namespace tesmo {
namespace {

using testing::checkStructure;
using testing::Tables;

/// Triangles (1,2,3), (3,2,4), (1,3,5) with their neighbours and NOETRI.
Tables valid()
{
    Tables tables(3, 3, 3, 5, 256);
    tables.element(1, {1, 2, 3});
    tables.element(2, {3, 2, 4});
    tables.element(3, {1, 3, 5});
    EXPECT_EQ(smacre(2, tables.ITRNOE(), 3, 5, tables.ITRNOE(), tables.ITRTRI(), tables.NOETRI(), tables.WORK()), kOk);
    return tables;
}

std::string check(Tables& tables, int32_t NBE = 3) { return checkStructure(2, tables.ITRNOE(), tables.ITRTRI(), NBE, tables.NOETRI()); }

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CheckStructure, AcceptsAValidStructureWithBorderMarks)
{
    Tables tables = valid();
    EXPECT_EQ(check(tables), "");
    tables.ITRTRI()(1, 2) = -2;
    tables.ITRTRI()(2, 1) = -1;
    EXPECT_EQ(check(tables), "");
}

TEST(CheckStructure, SeesBrokenNeighbours)
{
    Tables tables = valid();
    tables.ITRTRI()(2, 1) = 0; // no back reference
    EXPECT_TRUE(mentions(check(tables), "element 1 face 2 names 2 but 2 holds 1 at 0 faces")) << check(tables);
    tables = valid();
    tables.ITRTRI()(2, 1) = -1; // back reference of the other sign
    EXPECT_TRUE(mentions(check(tables), "other sign")) << check(tables);
    tables = valid();
    tables.ITRTRI()(1, 2) = 7;
    EXPECT_TRUE(mentions(check(tables), "beyond NBE")) << check(tables);
    tables = valid();
    tables.ITRTRI()(1, 2) = 0; // 1 and 2 name each other across faces 1-2 and 2-4
    tables.ITRTRI()(1, 1) = 2;
    tables.ITRTRI()(2, 1) = 0;
    tables.ITRTRI()(2, 2) = 1;
    EXPECT_TRUE(mentions(check(tables), "do not have the same nodes in opposite order")) << check(tables);
    tables = valid();
    tables.element(3, {0, 0, 0});
    EXPECT_TRUE(mentions(check(tables), "deleted element 3")) << check(tables);
}

TEST(CheckStructure, SeesWrongNodeElements)
{
    Tables tables = valid();
    tables.noetri[3] = 1; // node 4 is not in element 1
    EXPECT_TRUE(mentions(check(tables), "NOETRI(4) = 1 but element 1 does not contain it")) << check(tables);
    tables = valid();
    tables.noetri[4] = 0;
    EXPECT_TRUE(mentions(check(tables), "NOETRI(5) is 0")) << check(tables);
    tables = valid();
    tables.noetri.push_back(2); // node 6 in no element names one
    EXPECT_FALSE(check(tables).empty());
    tables = valid();
    tables.noetri.resize(4);
    EXPECT_TRUE(mentions(check(tables), "outside NOETRI")) << check(tables);
}

TEST(CheckStructure, SeesSlotsPastTheFacesAndBadCounts)
{
    Tables quad(4, 4, 1, 3, 64);
    quad.element(1, {1, 2, 3});
    quad.ITRTRI()(1, 4) = 1;
    EXPECT_TRUE(mentions(checkStructure(2, quad.ITRNOE(), quad.ITRTRI(), 1), "past its faces"));
    Tables tables = valid();
    EXPECT_FALSE(check(tables, 4).empty());
    EXPECT_FALSE(checkStructure(4, tables.ITRNOE(), tables.ITRTRI(), 3).empty());
}

TEST(CheckStructure, SolidsUseTheirFaceTables)
{
    stinit();
    Tables solids(4, 4, 2, 5, 256);
    solids.element(1, {1, 2, 3, 4});
    solids.element(2, {1, 3, 2, 5});
    ASSERT_EQ(smacre(3, solids.ITRNOE(), 2, 5, solids.ITRNOE(), solids.ITRTRI(), solids.NOETRI(), solids.WORK()), kOk);
    EXPECT_EQ(checkStructure(3, solids.ITRNOE(), solids.ITRTRI(), 2, solids.NOETRI()), "");
    solids.element(2, {1, 2, 3, 5}); // same face, same direction: orientations disagree
    EXPECT_FALSE(checkStructure(3, solids.ITRNOE(), solids.ITRTRI(), 2, solids.NOETRI()).empty());
}

} // namespace
} // namespace tesmo
