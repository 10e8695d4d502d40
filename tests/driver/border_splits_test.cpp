// Borders shared by two zones under the shape refinement: the logged splits worked by hand
// (a split of a split node, and the same edge split by a second zone), and a whole run whose
// thin zone splits the border it shares with its neighbour.
#include "driver/border_splits.hpp"

#include "driver/MGg_noeud.hpp"
#include "geometry/cg_epsi.hpp"
#include "messages/es_chaine.hpp"
#include "shell/MGg_main.hpp"
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tesmo {
namespace {

/// The worked example, with work enough to sort the edges or none (every edge searched).
class LoggedSplits : public ::testing::TestWithParam<int> {};

TEST_P(LoggedSplits, BecomeBorderNodesAndEdges)
{
    // a square of border nodes 1..4, its edges (1,2) (2,3) (3,4) (4,1) shared by zones 7 and 8;
    // the pass made nodes 5..9: 6 splits (1,2), 8 splits (1,6), and 9 splits (2,1) again
    std::vector<int32_t> nodes{1, 2, 2, 3, 3, 4, 4, 1, 0, 0, 0, 0, 0, 0};
    std::vector<int32_t> codes{7, 8, 7, 8, 7, 8, 7, 8, 0, 0, 0, 0, 0, 0};
    std::vector<float> coord{0, 0, 4, 0, 4, 4, 0, 4, 9, 9, 2, 0, 9, 9, 1, 0, 3, 0};
    std::vector<float> radec{1, 1, 1, 1, 5, 6, 7, 8, 9};
    std::vector<int32_t> log{1, 2, 6, 1, 6, 8, 2, 1, 9};
    std::vector<int32_t> work(std::size_t(GetParam()), 0);
    RunExtensions extensions;
    extensions.quality.minAngle = 30.0f;
    extensions.splits = BorderSplitLog{Rows<int32_t>(log.data(), 3, 3), 3};
    BorderDescription border{1, Rows<const int32_t>(nodes.data(), 2, 7), Rows<const int32_t>(codes.data(), 2, 7), 4, 4};
    GlobalMesh mesh;
    mesh.COORD = Rows<float>(coord.data(), 2, 9);
    mesh.nodes = 9;
    mesh.triangles = 12;
    mesh.noemax = 9;
    int32_t pass = 1;
    bool again = false;
    ASSERT_EQ(applySharedSplits(&extensions, pass, border, Rows<int32_t>(nodes.data(), 2, 7),
                                Rows<int32_t>(codes.data(), 2, 7), mesh, Vec<float>(radec.data(), 9),
                                Vec<int32_t>(work.data(), GetParam()), again),
              kOk);
    EXPECT_TRUE(again);
    EXPECT_EQ(pass, 2);
    EXPECT_EQ(border.nodes, 6);
    EXPECT_EQ(border.edges, 6);
    EXPECT_EQ(mesh.nodes, 6);
    EXPECT_EQ(mesh.triangles, 0);
    // 6 became border node 5 at (2, 0), 8 became 6 at (1, 0); the edge 1 2 is now 1 6 5 2
    EXPECT_EQ(nodes, (std::vector<int32_t>{1, 6, 2, 3, 3, 4, 4, 1, 5, 2, 6, 5, 0, 0}));
    EXPECT_EQ(codes, (std::vector<int32_t>{7, 8, 7, 8, 7, 8, 7, 8, 7, 8, 7, 8, 0, 0}));
    EXPECT_EQ(std::vector<float>(coord.begin() + 8, coord.begin() + 12), (std::vector<float>{2, 0, 1, 0}));
    EXPECT_EQ(std::vector<float>(radec.begin() + 4, radec.begin() + 6), (std::vector<float>{6, 8}));
    EXPECT_EQ(extensions.splits.count, 0);
    EXPECT_TRUE(extensions.splitShared);
    // a pass that logged nothing asks for no other
    ASSERT_EQ(applySharedSplits(&extensions, pass, border, Rows<int32_t>(nodes.data(), 2, 7),
                                Rows<int32_t>(codes.data(), 2, 7), mesh, Vec<float>(radec.data(), 9),
                                Vec<int32_t>(work.data(), GetParam()), again),
              kOk);
    EXPECT_FALSE(again);
}

INSTANTIATE_TEST_SUITE_P(WorkSizes, LoggedSplits, ::testing::Values(64, 0));

/// Whole runs of the strip geometry in the test process.
class SharedBorderRuns : public ::testing::Test {
protected:
    /// Meshes the geometry into out.msh, with the extensions when given; the mesh read back.
    testing::MeshData run(RunExtensions* extensions)
    {
        std::vector<int32_t> itvl(kItvlLength / 4, 0);
        std::vector<float> rtvl(kRtvlLength / 4, 0.0f);
        const std::string mesh = directory.file("out.msh");
        std::remove(mesh.c_str());
        {
            ConsoleCapture capture;
            mginit2(0);
            EXPECT_EQ(mggmem(directory.file("strip.geo"), "", mesh, "", -1, Vec<int32_t>(itvl.data(), int32_t(itvl.size())),
                             Vec<float>(rtvl.data(), int32_t(rtvl.size())), 0, extensions),
                      kOk);
            consoleFlush();
        }
        EXPECT_EQ(testing::checkMeshFiles(mesh, directory.file("strip.geo")), "");
        testing::MeshData data;
        EXPECT_EQ(testing::readMesh(mesh, data), "");
        return data;
    }
    testing::ScratchDirectory directory;
};

/// The nodes on the line y = 0.05, and the smallest angle (degrees) of the triangles.
void figures(const testing::MeshData& mesh, int& shared, double& smallest)
{
    shared = 0;
    for (const auto& p : mesh.points) {
        shared += p[1] == double(0.05f) ? 1 : 0;
    }
    smallest = 180.0;
    for (const auto& e : mesh.elements) {
        for (std::size_t i = 0; i < 3; ++i) {
            const auto& a = mesh.points[std::size_t(e.nodes[i] - 1)];
            const auto& b = mesh.points[std::size_t(e.nodes[(i + 1) % 3] - 1)];
            const auto& c = mesh.points[std::size_t(e.nodes[(i + 2) % 3] - 1)];
            const double u = std::atan2(b[1] - a[1], b[0] - a[0]);
            const double v = std::atan2(c[1] - a[1], c[0] - a[0]);
            double angle = std::fabs(u - v) * 180.0 / M_PI;
            smallest = std::min(smallest, angle > 180.0 ? 360.0 - angle : angle);
        }
    }
}

TEST_F(SharedBorderRuns, ThinZoneSplitsTheBorderForItsNeighbourToo)
{
    // zone 1 a strip 0.05 high under zone 2; they share the side y = 0.05, which the default
    // sizes cut coarser than the strip can take with angles of 30 degrees
    directory.write("strip.geo", "DEBXYZ\n6 2\n0 0\n1 0\n1 0.05\n0 0.05\n0 1\n1 1\nFINXYZ\nDEBILM\n3\n"
                                 "4 4 1 2 3 100 1 1\n2 3 4 100 2 1 2\n4 3 6 5 4 100 1 2\nFINILM\n");
    int plainShared = 0, shapedShared = 0;
    double plainSmallest = 0.0, shapedSmallest = 0.0;
    figures(run(nullptr), plainShared, plainSmallest);
    RunExtensions extensions;
    extensions.quality.minAngle = 30.0f;
    figures(run(&extensions), shapedShared, shapedSmallest);
    EXPECT_GT(shapedShared, plainShared);
    EXPECT_LT(plainSmallest, 30.0);
    EXPECT_GE(shapedSmallest, 30.0 - 1e-4);
    EXPECT_EQ(extensions.stoppedEarly, 0);
}

} // namespace
} // namespace tesmo
