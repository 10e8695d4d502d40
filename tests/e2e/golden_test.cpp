// The stored golden runs read independently: every mesh they hold passes the mesh checker
// against its geometry, and every nodal-size file holds one positive size per mesh node. The
// byte-for-byte comparison of the runs themselves is tests/golden/golden.sh.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tesmo {
namespace {

namespace fs = std::filesystem;
using testing::checkMeshFiles;
using testing::MeshData;
using testing::readMesh;

const fs::path kGolden = fs::path(TESMO_TEST_DATA) / ".." / "golden";

/// The sizes of a nodal-values file: the count its header gives and the values after it.
bool readSizes(const fs::path& path, int& count, std::vector<double>& sizes)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && line.find("DEBGRD") == std::string::npos) {
    }
    int perNode = 0;
    if (!(in >> count >> perNode) || perNode != 1) {
        return false;
    }
    for (int k = 1; k <= count; ++k) {
        int node = 0;
        double value = 0.0;
        if (!(in >> node >> value) || node != k) {
            return false;
        }
        sizes.push_back(value);
    }
    return true;
}

TEST(GoldenRuns, StoredMeshesAndSizesAreValid)
{
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(kGolden)) {
        if (!fs::exists(entry.path() / "command")) {
            continue;
        }
        ++cases;
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream command(entry.path() / "command");
        std::vector<std::string> words{std::istream_iterator<std::string>(command), {}};
        ASSERT_GE(words.size(), 4u);
        const fs::path expected = entry.path() / "expected";
        const fs::path mesh = expected / words[3];
        if (!fs::exists(mesh)) {
            continue;
        }
        EXPECT_EQ(checkMeshFiles(mesh.string(), (entry.path() / "input" / words[1]).string()), "");
        if (words.size() >= 5 && fs::exists(expected / words[4])) {
            MeshData data;
            ASSERT_EQ(readMesh(mesh.string(), data), "");
            int count = 0;
            std::vector<double> sizes;
            ASSERT_TRUE(readSizes(expected / words[4], count, sizes));
            EXPECT_EQ(count, int(data.points.size()));
            for (double s : sizes) {
                EXPECT_GT(s, 0.0);
            }
        }
    }
    EXPECT_GE(cases, 3);
}

} // namespace
} // namespace tesmo
