// The zone pipeline: selection of a zone's nodes and edges, and the merge of a meshed zone.
#include "driver/api_mesh.hpp"

#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tesmo {
namespace {

/// A border description over rows written out in full.
struct Borders {
    Borders(std::vector<int32_t> nodeRows, int32_t P, std::vector<int32_t> codeRows, int32_t L, int32_t nodeCount)
        : nodes(std::move(nodeRows)), codes(std::move(codeRows))
    {
        description.edgeNodes = Rows<const int32_t>(nodes.data(), P, int32_t(nodes.size()) / P);
        description.edgeCodes = Rows<const int32_t>(codes.data(), L, int32_t(codes.size()) / L);
        description.nodes = nodeCount;
        description.edges = description.edgeNodes.count();
    }
    std::vector<int32_t> nodes;
    std::vector<int32_t> codes;
    BorderDescription description;
};

/// Runs rgaret with lists of the capacities the pipeline gives them (2 Nb, Eb).
struct Selection {
    explicit Selection(const BorderDescription& border)
        : nodeList(std::size_t(2 * border.nodes), -1), edgeList(std::size_t(2 * border.edges), -1),
          nodes(nodeList.data(), int32_t(nodeList.size())), edges(edgeList.data(), 2, border.edges)
    {
    }
    std::vector<int32_t> nodeList;
    std::vector<int32_t> edgeList;
    Vec<int32_t> nodes;
    Rows<int32_t> edges;
    int32_t nz = -1;
    int32_t ez = -1;
};

TEST(Rgaret, SelectsTheZoneOnceWithSortedDistinctNodes)
{
    // Edges (4,2) zones (3,3); (2,5) zones (1,0); (5,4) zones (1,3); (6,0) a lone point of zone 3.
    const Borders b({4, 2, 2, 5, 5, 4, 6, 0}, 2, {3, 3, 1, 0, 1, 3, 3, 0}, 2, 6);
    Selection s(b.description);
    ASSERT_EQ(rgaret(b.description, 3, ZoneEdges{}, s.nodes, s.edges, s.nz, s.ez), kOk);
    ASSERT_EQ(s.ez, 2); // the edge listing the code twice is selected once
    EXPECT_EQ(s.edges(1, 1), 4);
    EXPECT_EQ(s.edges(1, 2), 2);
    EXPECT_EQ(s.edges(2, 1), 5);
    EXPECT_EQ(s.edges(2, 2), 4);
    ASSERT_EQ(s.nz, 4); // the lone point contributes its node and no edge
    EXPECT_EQ(std::vector<int32_t>(s.nodeList.begin(), s.nodeList.begin() + 4), (std::vector<int32_t>{2, 4, 5, 6}));
    // Rows of one node give nodes only.
    const Borders points({3, 1, 3}, 1, {2, 0, 2, 0, 2, 0}, 2, 3);
    ASSERT_EQ(rgaret(points.description, 2, ZoneEdges{}, s.nodes, Rows<int32_t>(s.edgeList.data(), 2, 3), s.nz, s.ez),
              kOk);
    EXPECT_EQ(s.ez, 0);
    ASSERT_EQ(s.nz, 2);
    EXPECT_EQ(s.nodeList[0], 1);
    EXPECT_EQ(s.nodeList[1], 3);
}

TEST(Rgaret, ListsAndNodesAreChecked)
{
    std::vector<int32_t> nodeList(6), edgeList(6);
    int32_t nz = 0;
    int32_t ez = 0;
    const auto select = [&](const Borders& b, int32_t nodes, int32_t edges) {
        return rgaret(b.description, 1, ZoneEdges{}, Vec<int32_t>(nodeList.data(), nodes),
                      Rows<int32_t>(edgeList.data(), 2, edges), nz, ez);
    };
    // Capacity exactly full, then one short of the node list or of the edge list.
    const Borders triangle({1, 2, 2, 3, 3, 1}, 2, {1, 0, 1, 0, 1, 0}, 2, 3);
    EXPECT_EQ(select(triangle, 6, 3), kOk);
    EXPECT_EQ(nz, 3);
    EXPECT_EQ(select(triangle, 5, 3), kCapacityError);
    EXPECT_EQ(select(triangle, 6, 2), kCapacityError);
    // A node beyond the border nodes, or a first node 0, is bad data.
    EXPECT_EQ(select(Borders({1, 4}, 2, {1, 0}, 2, 3), 6, 3), kDataError);
    EXPECT_EQ(select(Borders({0, 2}, 2, {1, 0}, 2, 3), 6, 3), kDataError);
}

TEST(IndexZoneEdges, SelectsAsTheScanDoes)
{
    // Zones 7, 3, 5: codes listed twice, in any slot, or on no edge at all (zone 5).
    const Borders b({1, 2, 2, 3, 3, 1, 4, 0, 2, 4}, 2, {3, 3, 7, 0, 7, 3, 0, 0, 3, 7}, 2, 4);
    const std::vector<int32_t> codes{7, 3, 5};
    std::vector<int32_t> area(30, -1);
    ZoneEdgeIndex index;
    int32_t used = 0;
    indexZoneEdges(b.description, Vec<const int32_t>(codes.data(), 3), Vec<int32_t>(area.data(), 30), index, used);
    EXPECT_EQ(used, 2 * 3 + 1 + 6);
    EXPECT_EQ(std::vector<int32_t>(area.begin(), area.begin() + 30 - used), std::vector<int32_t>(30 - used, -1));
    for (int32_t k = 1; k <= 3; ++k) {
        Selection scan(b.description);
        Selection indexed(b.description);
        ASSERT_EQ(
            rgaret(b.description, codes[std::size_t(k - 1)], ZoneEdges{}, scan.nodes, scan.edges, scan.nz, scan.ez),
            kOk);
        ASSERT_EQ(rgaret(b.description, codes[std::size_t(k - 1)], index.of(k), indexed.nodes, indexed.edges,
                         indexed.nz, indexed.ez),
                  kOk);
        EXPECT_EQ(indexed.nz, scan.nz) << k;
        EXPECT_EQ(indexed.ez, scan.ez) << k;
        EXPECT_EQ(indexed.nodeList, scan.nodeList) << k;
        EXPECT_EQ(indexed.edgeList, scan.edgeList) << k;
    }
    EXPECT_EQ(index.of(1).edges.count(), 3);
    // Too small an area: no index, every zone scans.
    indexZoneEdges(b.description, Vec<const int32_t>(codes.data(), 3), Vec<int32_t>(area.data(), 12), index, used);
    EXPECT_EQ(used, 0);
    EXPECT_TRUE(index.of(2).every);
}

/// A mesh of 5 nodes and 1 triangle, and a zone of border nodes 2, 4, 5 to which the stages
/// added 2 nodes and 2 triangles.
class Merge : public ::testing::Test {
protected:
    void SetUp() override
    {
        mesh.ITRNOE = Rows<int32_t>(meshTriangles.data(), 3, 3);
        mesh.nodes = 5;
        mesh.triangles = 1;
        mesh.noemax = 7;
        mesh.COORD = Rows<float>(coord.data(), 2, 7);
        zone.ITRNOE = Rows<int32_t>(zoneTriangles.data(), 3, 2);
        zone.nodes = 5;
        zone.NBE = 2;
    }
    int merge(Vec<float> RADEC = Vec<float>())
    {
        return mergeZone(Vec<const int32_t>(nodeList.data(), 3), zone, Rows<const float>(icoom.data(), 2, 7),
                         Vec<const float>(iradec.data(), 7), Vec<const float>(igrdmx.data(), 7),
                         Vec<int32_t>(newNumbers.data(), 2), mesh, RADEC);
    }
    std::vector<int32_t> nodeList{2, 4, 5};
    std::vector<int32_t> zoneTriangles{1, 2, 4, 2, 3, 5};
    std::vector<float> icoom{0, 0, 0, 0, 0, 0, 10, 11, 12, 13, 0, 0, 0, 0};
    std::vector<float> iradec{0, 0, 0, 0.25f, 0.5f, 0, 0};
    std::vector<float> igrdmx{0, 0, 0, 1.25f, 1.5f, 0, 0};
    std::vector<int32_t> newNumbers{0, 0};
    std::vector<int32_t> meshTriangles{1, 2, 3, 0, 0, 0, 0, 0, 0};
    std::vector<float> coord{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 0, 0, 0, 0};
    std::vector<float> grdnoe = std::vector<float>(7, -1.0f);
    std::vector<float> radec = std::vector<float>(7, -1.0f);
    GlobalMesh mesh;
    ZoneElements zone;
};

TEST_F(Merge, NewNodesFollowTheMeshAndTrianglesTakeGlobalNumbers)
{
    mesh.GRDNOE = Vec<float>(grdnoe.data(), 7);
    ASSERT_EQ(merge(Vec<float>(radec.data(), 7)), kOk);
    EXPECT_EQ(mesh.nodes, 7);
    EXPECT_EQ(mesh.triangles, 3);
    EXPECT_EQ(newNumbers, (std::vector<int32_t>{6, 7}));
    EXPECT_EQ(meshTriangles, (std::vector<int32_t>{1, 2, 3, 2, 4, 6, 4, 5, 7}));
    EXPECT_FLOAT_EQ(mesh.COORD(6, 1), 10.0f);
    EXPECT_FLOAT_EQ(mesh.COORD(7, 2), 13.0f);
    EXPECT_FLOAT_EQ(mesh.COORD(5, 1), 5.0f); // border nodes keep their coordinates
    EXPECT_FLOAT_EQ(grdnoe[5], 1.25f);
    EXPECT_FLOAT_EQ(grdnoe[6], 1.5f);
    EXPECT_FLOAT_EQ(grdnoe[4], -1.0f);
    EXPECT_FLOAT_EQ(radec[5], 0.25f);
    EXPECT_FLOAT_EQ(radec[6], 0.5f);
}

TEST_F(Merge, EveryOverflowIsRefusedBeforeAnythingIsWritten)
{
    const std::vector<int32_t> triangles = meshTriangles;
    const std::vector<float> coordinates = coord;
    {
        mesh.noemax = 6; // one node past NOEMAX
        ConsoleCapture console;
        modini = 2;
        EXPECT_EQ(merge(), kCapacityError);
        modini = 0;
        EXPECT_EQ(console.text(), " ERR -2  PROBLEME MEMOIRE DANS : RGRAFT\n COORD POUR LES NOUVEAUX NOEUDS\n");
        mesh.noemax = 7;
    }
    mesh.triangles = 2; // the triangle table holds one more only
    EXPECT_EQ(merge(), kCapacityError);
    mesh.triangles = 1;
    mesh.GRDNOE = Vec<float>(grdnoe.data(), 6);
    EXPECT_EQ(merge(), kCapacityError);
    mesh.GRDNOE = Vec<float>(grdnoe.data(), 7);
    EXPECT_EQ(merge(Vec<float>(radec.data(), 6)), kCapacityError);
    EXPECT_EQ(mergeZone(Vec<const int32_t>(nodeList.data(), 3), zone, Rows<const float>(icoom.data(), 2, 7),
                        Vec<const float>(), Vec<const float>(), Vec<int32_t>(newNumbers.data(), 1), mesh, Vec<float>()),
              kCapacityError);
    zoneTriangles[4] = 6; // a triangle naming a node the zone does not have
    EXPECT_EQ(merge(), kDataError);
    EXPECT_EQ(meshTriangles, triangles);
    EXPECT_EQ(coord, coordinates);
    EXPECT_EQ(mesh.nodes, 5);
    EXPECT_EQ(mesh.triangles, 1);
    EXPECT_EQ(grdnoe, std::vector<float>(7, -1.0f));
}

} // namespace
} // namespace tesmo
