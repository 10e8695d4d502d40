// The generation driver: whole runs of the program for the checks of the counting reads, the
// maxima and the files written; in-process runs on small work arrays for the layout.
#include "driver/MGg_noeud.hpp"

#include "geometry/cg_epsi.hpp"
#include "support/files_test_support.hpp"
#include "support/mesh_check.hpp"
#include "messages/es_chaine.hpp"
#include "messages/es_erreur.hpp"
#include "support/run_binary.hpp"
#include "topology/st_generic.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <vector>

namespace tesmo {
namespace {

using testing::readFile;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

const std::string kBanner = " tesmo 2.06\n DATE 23 11 2011\n";
const std::string kOnlineHelp = " For online help type : tesmo h\n";

/// Runs tesmo in a fresh directory holding copies of the driver's test files.
class Generation : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& file : std::filesystem::directory_iterator(TESMO_TEST_DATA)) {
            const std::string name = file.path().filename().string();
            if (name.starts_with("driver_")) {
                directory.write(name.substr(7), readFile(file.path().string()));
            }
        }
    }
    std::string tesmo(const std::vector<std::string>& arguments)
    {
        const RunResult result = runBinary(TESMO_BINARY, arguments, directory.path());
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(result.errors, "");
        return result.output;
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(directory.file(name)); }
    ScratchDirectory directory;
};

/// The progress lines of the storing read, default size specification.
std::string stored(const std::string& geometry, int points, int edges, int zones)
{
    return " Number of concentrations : 1\n -->READING GEOMETRY FILE :" + geometry +
           "\n Number of points  : " + std::to_string(points) + "\n Number of edges   : " + std::to_string(edges) +
           "\n Number of zones   : " + std::to_string(zones) + "\n";
}

TEST_F(Generation, DataThatCannotBeMeshedIsRefusedBeforeAnythingIsWritten)
{
    const std::string point = " DATA ERROR  in the points coordinate definition. ";
    EXPECT_EQ(tesmo({"v", "dimension4.geo", "-", "out.msh"}),
              kBanner + point + "illegal space dimension\n DATA ERROR  error in the file :dimension4.geo\n" +
                  kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "three_zones.geo", "-", "out.msh"}),
              point +
                  "dimension must be 3 with an edge with more than 2 zones.\n"
                  " DATA ERROR  error in the file :three_zones.geo\n" +
                  kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "plane.geo", "density.den", "out.msh"}),
              " DATA ERROR  density function CAN T be used in 3D.\n" + kOnlineHelp);
    EXPECT_EQ(tesmo({"s", "square.geo", "short.grd", "out.msh"}),
              " DATA ERROR  mesh size MUST be given at each node of the geometry.\n" + kOnlineHelp);
    // A size file of neither kind is reported where it is read.
    EXPECT_EQ(tesmo({"s", "square.geo", "neither.siz", "out.msh"}),
              " DATA ERROR  while reading the file :neither.siz\n" + kOnlineHelp);
    // The maximum also sets the warning on the default size description; no online help for -2.
    EXPECT_EQ(tesmo({"d", "square.geo", "-", "out.msh", "-", "3"}),
              " WARNING  carreful with that combination... maximum number of nodes set.\n"
              " ERR -2  PROBLEME MEMOIRE DANS :MGGMEM\n  NBRE NOEUDS DEJA ATTEINT\n"
              " COMPUTER ERROR  Maximum number of nodes already reach : 4\n");
    EXPECT_FALSE(exists("out.msh"));
}

TEST_F(Generation, PointsWithoutEdgesGiveAMeshOfNodesOnly)
{
    EXPECT_EQ(tesmo({"v", "points.geo", "-", "out.msh"}),
              kBanner + " WARNING  no edge in the file :points.geo\n" + stored("points.geo", 3, 0, 0) +
                  " -->WRITTING MESH FILE :out.msh\n Number of nodes   : 3\n Number of triangles : 0\n"
                  " Number of zones   : 0\n");
    EXPECT_EQ(readFile(directory.file("out.msh")), "DEBXYZ\n 3 2\n 0. 0.\n 2. 0.\n 0. 2.\nFINXYZ\n");
    // A mesh file that cannot be written is refused before anything is read.
    EXPECT_EQ(tesmo({"d", "points.geo", "-", "nowhere/out.msh", "out.grd"}),
              " DATA ERROR  while writing the file :nowhere/out.msh\n" + kOnlineHelp);
    EXPECT_FALSE(exists("out.grd"));
    // The nodal-size file: points on no edge have no size constraint.
    EXPECT_EQ(tesmo({"s", "points.geo", "-", "out2.msh", "out.grd"}), " WARNING  no edge in the file :points.geo\n");
    EXPECT_NE(readFile(directory.file("out.grd")).find("DEBGRD\n 3 1\n  1 9.99999968E+37\n"), std::string::npos)
        << readFile(directory.file("out.grd"));
}

TEST_F(Generation, ReadingReportsItsProgress)
{
    const std::string run = tesmo({"v", "hole.geo", "smoothed.den", "out.msh"});
    EXPECT_TRUE(run.starts_with(kBanner + " -->READING SIZE FILE :smoothed.den\n" + stored("hole.geo", 8, 8, 1) +
                                " Number of non-connex polygons : 2\n"))
        << run;
    // nbn = 0: NOEMAX = 4 and 2 N - 5 = 3 elements, fewer than the 4 edges, stored nonetheless.
    EXPECT_TRUE(tesmo({"v", "square.geo", "-", "-", "out.grd", "0"})
                    .starts_with(kBanner + " nodal value computation only\n" + stored("square.geo", 4, 4, 1)));
}

TEST_F(Generation, TheMaximumOfNodesBoundsEveryZone)
{
    // No maximum: the memory decides. Globally, b = 4 reals per node and k = 9 integers per
    // edge; memomx(13002248 - 2 - 2, 13000794 - 6) gives n = 2321361, e = 928835, so
    // NOEMAX = 4 + (928835 - 4) div 2 = 464419. The zone gets what the global tables and its
    // own leave: 6500369 integers and 11143111 reals, b = 5 and k = 7: memomx gives
    // n = 1925937, e = 378356, so NOEMAXz = 4 + (378356 - 8) div 2 = 189178.
    std::string run = tesmo({"d", "square.geo", "-", "out.msh"});
    EXPECT_NE(run.find(" NOMBRE MAXIMUM DE NOEUDS  : 189178\n NOMBRE MAXIMUM D ELEMENTS : 378356\n"), std::string::npos)
        << run;
    // nbn = 10: NOEMAX = 10 and NBEMAX = 18, and the zone maximum is NOEMAX + 50.
    run = tesmo({"d", "square.geo", "-", "out.msh", "-", "10"});
    EXPECT_NE(run.find(" NOMBRE MAXIMUM DE NOEUDS  : 60\n NOMBRE MAXIMUM D ELEMENTS : 118\n"), std::string::npos)
        << run;
    // nbn = 4: reached at the borders.
    run = tesmo({"v", "square.geo", "-", "out.msh", "-", "4"});
    EXPECT_NE(run.find(stored("square.geo", 4, 4, 1) +
                       " WARNING  Maximum number of nodes reached  : 4\n Number of edges   : 4\n"),
              std::string::npos)
        << run;
}

/// In-process runs of mggmem on work arrays of chosen lengths, in a directory of their own.
class SmallMemory : public testfiles::FileTest {
protected:
    void SetUp() override
    {
        FileTest::SetUp();
        write("square.geo", readFile(TESMO_TEST_DATA "/driver_square.geo"));
        icgeps();
        stinit();
    }
    void TearDown() override
    {
        modini = 0;
        FileTest::TearDown();
    }
    /// Runs the square with nbn = 0 (no memory sizing) on arrays of the given lengths.
    int run(int32_t integers, int32_t reals, int32_t mode, std::string& output)
    {
        std::vector<int32_t> itvl(std::size_t(integers), 0);
        std::vector<float> rtvl(std::size_t(reals), 0.0f);
        modini = mode;
        ConsoleCapture console;
        const int code = mggmem("square.geo", " ", "out.msh", " ", 0, Vec<int32_t>(itvl.data(), integers),
                                Vec<float>(rtvl.data(), reals), mode);
        output = console.text();
        return code;
    }
};

const std::string kStored = stored("square.geo", 4, 4, 1);

TEST_F(SmallMemory, RealsOneShortOfTheGlobalTables)
{
    // One record of 6 reals and 4 nodes of 2 coordinates: 14 reals, and the last is never used.
    std::string output;
    EXPECT_EQ(run(1000, 14, 2, output), kCapacityError);
    EXPECT_EQ(output, " COMPUTER ERROR  no more memory (for reals).\n"
                      " ERR -2  PROBLEME MEMOIRE DANS :MGGMEM\n"
                      " TABLEAUX DE REELS TROP PETIT\n");
    // With one more, the tables are carved and both files stored; the zone then finds no real
    // left for its coordinates, and says so.
    (void)run(1000, 15, 1, output);
    EXPECT_TRUE(output.starts_with(kStored)) << output;
    EXPECT_TRUE(output.ends_with(" COMPUTER ERROR  no more memory (for reals).\n")) << output;
}

TEST_F(SmallMemory, IntegersOneShortOfTheGlobalTables)
{
    // Zone list 1, record 2, 4 edges of 2 nodes and 2 codes (+ 1): 20 integers, plus the last.
    std::string output;
    EXPECT_EQ(run(20, 1000, 2, output), kCapacityError);
    EXPECT_EQ(output, " COMPUTER ERROR  no more memory (for integers).\n"
                      " ERR -2  PROBLEME MEMOIRE DANS :MGGMEM\n"
                      " TABLEAUX D ENTIERS TROP PETIT\n");
    // With one more, the tables are carved and both files stored.
    (void)run(21, 1000, 1, output);
    EXPECT_TRUE(output.starts_with(kStored)) << output;
    EXPECT_FALSE(std::filesystem::exists("out.msh"));
}

TEST_F(SmallMemory, IntegersOneShortOfTheTriangleTables)
{
    // From position 21, where the optional edge tables would begin: the zone end table (1)
    // and NBEMAX = 4 triangles of 3 (12), plus the last.
    std::string output;
    EXPECT_EQ(run(33, 1000, 1, output), kCapacityError);
    EXPECT_EQ(output, kStored + " COMPUTER ERROR  no more memory (for integers).\n");
    // With them in place, the zone finds no free integer for its selection.
    EXPECT_EQ(run(34, 1000, 2, output), kCapacityError);
    EXPECT_TRUE(output.ends_with(" ERR -2  PROBLEME MEMOIRE DANS : RGRAFT\n"
                                 " ENTIERS POUR LA SELECTION\n"
                                 " COMPUTER ERROR  no more memory (for integers).\n"
                                 " ERR -2  PROBLEME MEMOIRE DANS :MG4MEM\n"
                                 "  APPEL RGRAFT\n"))
        << output;
    EXPECT_FALSE(std::filesystem::exists("out.msh"));
}

TEST_F(SmallMemory, EveryShortageOfRealsIsToldForReals)
{
    // a comb of teeth in a tilted plane, on ample integers and ever fewer reals: every run that
    // runs short says it ran short of reals, for the global tables as for the zone's
    std::ostringstream comb;
    comb << "DEBXYZ\n42 3\n";
    for (int t = 0; t < 10; ++t) {
        for (const auto& [u, v] : {std::pair{2.0 * t, 0.0}, std::pair{2.0 * t + 1, 0.0}, std::pair{2.0 * t + 1, -5.0},
                                   std::pair{2.0 * t + 2, -5.0}}) {
            comb << u << " " << v << " " << 1.0 - u - 0.5 * v << "\n";
        }
    }
    comb << "20 1 -19.5\n0 1 0.5\nFINXYZ\nDEBILM\n2\n-3 1 42 1 100 1 1\n2 42 1 100 1 1\nFINILM\n";
    write("comb.geo", comb.str());
    std::vector<int32_t> itvl(200000, 0);
    std::vector<float> rtvl(2000, 0.0f);
    int32_t zoneShortages = 0;
    for (int32_t reals = 100; reals <= 2000; reals += 11) {
        std::fill(itvl.begin(), itvl.end(), 0);
        std::fill(rtvl.begin(), rtvl.end(), 0.0f);
        modini = 2;
        ConsoleCapture console;
        const int code = mggmem("comb.geo", "", "out.msh", "", 0, Vec<int32_t>(itvl.data(), 200000),
                                Vec<float>(rtvl.data(), reals), 2);
        modini = 0;
        if (code == kCapacityError) {
            EXPECT_NE(console.text().find("no more memory (for reals)."), std::string::npos) << reals;
            EXPECT_EQ(console.text().find("(for integers)"), std::string::npos) << reals << console.text();
            zoneShortages += console.text().find("RGRAFT") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_GT(zoneShortages, 10);
}

TEST_F(SmallMemory, AZoneOfManyBorderNodesIsSizedByTheRunMaximum)
{
    // 2000 points on a circle, on arrays of 200000: NOEMAX = 8142. The memory left to the zone
    // alone (85999 integers, 167425 reals) gives NOEMAXz = 2000 + (3523 - 4000) div 2 = 1762,
    // fewer than the zone's own nodes; the zone is then sized by NOEMAX: 8142 + 50 nodes and
    // min((167425 - 5 8192) div 4, (85999 - 2 8192) div 7, 2 8192 - 2) = 9945 elements.
    std::ostringstream circle;
    circle << "DEBXYZ\n2000 2\n";
    for (int i = 0; i < 2000; ++i) {
        const double angle = 6.283185307179586 * i / 2000;
        circle << std::cos(angle) << " " << std::sin(angle) << "\n";
    }
    circle << "FINXYZ\nDEBILM\n2\n-3 1 2000 1 100 1 1\n2 2000 1 100 1 1\nFINILM\n";
    write("circle.geo", circle.str());
    std::vector<int32_t> itvl(200000, 0);
    std::vector<float> rtvl(200000, 0.0f);
    modini = 2;
    ConsoleCapture console;
    (void)mggmem("circle.geo", "", "out.msh", "", -1, Vec<int32_t>(itvl.data(), 200000),
                 Vec<float>(rtvl.data(), 200000), 2);
    EXPECT_NE(console.text().find(" NOMBRE MAXIMUM DE NOEUDS  : 8192\n NOMBRE MAXIMUM D ELEMENTS : 9945\n"),
              std::string::npos)
        << console.text();
}

TEST_F(SmallMemory, AZoneStoppedByFullElementTablesIsWarnedAndTheMeshWritten)
{
    // two unit squares wanting sizes of 0.05, on arrays too short for their elements: every zone
    // whose refinement stops at full element tables (the trace of status 2) gets the warning with
    // its number in verbose and debug mode, none in silent mode, and the mesh is written
    write("two.geo", readFile(TESMO_TEST_DATA "/driver_two_zones.geo"));
    write("two.grd", "DEBGRD\n 6 1\n 1 0.05\n 2 0.05\n 3 0.05\n 4 0.05\n 5 0.05\n 6 0.05\nFINGRD\n");
    const std::string warning = " WARNING  Maximum number of elements reached in the zone : ";
    int32_t stopped = 0;
    for (int32_t integers = 6000; integers < 12000; integers += integers / 8) {
        for (const int32_t mode : {0, 2}) {
            std::filesystem::remove("out.msh");
            std::vector<int32_t> itvl(std::size_t(integers), 0);
            std::vector<float> rtvl(8008, 0.0f);
            modini = mode;
            ConsoleCapture console;
            const int code = mggmem("two.geo", "two.grd", "out.msh", "", -1, Vec<int32_t>(itvl.data(), integers),
                                    Vec<float>(rtvl.data(), 8008), mode);
            consoleFlush();
            modini = 0;
            if (code == kCapacityError) {
                continue; // too short for the zone's tables
            }
            ASSERT_EQ(code, kOk);
            EXPECT_EQ(testing::checkMeshFiles("out.msh", "two.geo"), "") << integers;
            std::istringstream lines(console.text());
            int32_t zone = 0;
            bool statusTwo = false;
            for (std::string line; std::getline(lines, line);) {
                const bool warned = line.starts_with(warning);
                if (line.starts_with(" -->MESHING THE ZONE : ")) {
                    zone = std::stoi(line.substr(23));
                } else if (line == " 2") {
                    statusTwo = true; // the trace's code line, its routine line next
                } else if (statusTwo) {
                    EXPECT_EQ(line, "  APPEL RGRAFT");
                }
                if (statusTwo && line == "  APPEL RGRAFT") {
                    ++stopped;
                    std::getline(lines, line);
                    EXPECT_EQ(line, warning + std::to_string(zone)) << integers;
                    statusTwo = false;
                } else if (warned) {
                    ADD_FAILURE() << "warning without the status: " << line;
                }
            }
            EXPECT_TRUE(mode > 0 || console.text().find("WARNING") == std::string::npos) << console.text();
        }
    }
    EXPECT_GE(stopped, 4);
}

} // namespace
} // namespace tesmo
