// Whole runs that cut the borders by the wanted size: without size file, with density files of
// every object, progression and method, with sizes at the points, and with a maximum number of
// nodes. Every mesh goes through the mesh checker, and the border edges are measured against
// the sizes wanted, computed here on their own.
#include "support/mesh_check.hpp"
#include "support/run_binary.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace tesmo {
namespace {

using testing::checkMeshFiles;
using testing::MeshData;
using testing::readFile;
using testing::readMesh;
using testing::runBinary;
using testing::RunResult;
using testing::ScratchDirectory;

/// A w x h rectangle, one zone.
std::string rectangle(double w, double h)
{
    std::ostringstream out;
    out << "DEBXYZ\n4 2\n0. 0.\n" << w << " 0.\n" << w << ' ' << h << "\n0. " << h << "\nFINXYZ\n"
        << "DEBILM\n1\n5 1 2 3 4 1 100 1 1\nFINILM\n";
    return out.str();
}

/// One concentration: a progression (type, size, ratio or difference) about an object (1 point,
/// 2 axis, 3 segment) through the given points, borders cut by `method`.
struct Concentration {
    int type = 1;
    double size = 0.1;
    double step = 1.2;
    int object = 1;
    std::vector<std::array<double, 2>> points{{0.0, 0.0}};
    int method = 1;

    std::string text() const
    {
        std::ostringstream out;
        out << "DEBGEO\n" << points.size() << " 2\n";
        for (std::size_t k = 0; k < points.size(); ++k) {
            out << k + 1 << ' ' << points[k][0] << ' ' << points[k][1] << '\n';
        }
        out << "FINGEO\nDEBSUI\n1\n1 " << type << ' ' << size << ' ' << step << "\nFINSUI\n"
            << "DEBDEN\n1 " << method << "\n1 " << object << ' ' << points.size() + 1 << " 1";
        for (std::size_t k = 0; k < points.size(); ++k) {
            out << ' ' << k + 1;
        }
        out << "\nFINDEN\n";
        return out.str();
    }
    /// Distance from (x, y) to the object.
    double distance(double x, double y) const
    {
        const auto& a = points[0];
        if (object == 1) {
            return std::hypot(x - a[0], y - a[1]);
        }
        const auto& b = points[1];
        const double wx = b[0] - a[0], wy = b[1] - a[1], ux = x - a[0], uy = y - a[1];
        double s = (ux * wx + uy * wy) / (wx * wx + wy * wy);
        if (object == 3) {
            s = std::clamp(s, 0.0, 1.0);
        }
        return std::hypot(ux - s * wx, uy - s * wy);
    }
    /// The size wanted at distance d: the interval of the series laid from the object that holds d.
    double wanted(double d) const
    {
        if (type == 1) {
            return size * std::pow(step, std::floor(std::log(1.0 + d * (step - 1.0) / size) / std::log(step)));
        }
        return (step + std::sqrt(step * step + step * (8.0 * d + 4.0 * size) + 4.0 * size * size)) / 2.0;
    }
};

class BorderSizes : public ::testing::Test {
protected:
    /// Runs tesmo on the geometry (and size file, "-" for none), checks the exit, the mesh and
    /// the nodal-size file, and returns the console output.
    std::string run(const std::string& geometry, const std::string& sizes, const std::string& more = "")
    {
        directory.write("in.geo", geometry);
        std::remove(directory.file("out.msh").c_str());
        std::remove(directory.file("out.grd").c_str());
        std::vector<std::string> arguments{"v", "in.geo", "-", "out.msh", "out.grd"};
        if (sizes != "-") {
            directory.write("in.siz", sizes);
            arguments[2] = "in.siz";
        }
        if (!more.empty()) {
            arguments.push_back(more);
        }
        const RunResult result = runBinary(TESMO_BINARY, arguments, directory.path());
        EXPECT_EQ(result.exitStatus, 0);
        EXPECT_EQ(checkMeshFiles(directory.file("out.msh"), directory.file("in.geo")), "") << result.output;
        EXPECT_EQ(readMesh(directory.file("out.msh"), mesh), "");
        // one positive size per node in the nodal-size file
        std::istringstream grd(readFile(directory.file("out.grd")));
        std::string line;
        while (std::getline(grd, line) && line != "DEBGRD") {
        }
        std::size_t count = 0, width = 0;
        grd >> count >> width;
        EXPECT_EQ(count, mesh.points.size());
        EXPECT_EQ(width, 1u);
        for (std::size_t k = 1; k <= count; ++k) {
            std::size_t node = 0;
            double value = 0.0;
            grd >> node >> value;
            EXPECT_EQ(node, k);
            EXPECT_GT(value, 0.0);
        }
        return result.output;
    }
    /// The border nodes of the side where coordinate `axis` equals `at`, ordered along it.
    std::vector<double> side(int axis, double at) const
    {
        std::vector<double> along;
        for (const auto& p : mesh.points) {
            if (p[std::size_t(axis)] == at) {
                along.push_back(p[std::size_t(1 - axis)]);
            }
        }
        std::sort(along.begin(), along.end());
        return along;
    }
    /// Every border edge of a w x h rectangle against the size wanted at its midpoint: the
    /// smallest and largest ratio of length to wanted size.
    std::pair<double, double> measured(const Concentration& c, double w, double h) const
    {
        double low = 1e30, high = 0.0;
        for (int axis = 0; axis < 2; ++axis) {
            for (double at : {0.0, axis == 0 ? w : h}) {
                const std::vector<double> nodes = side(1 - axis, at);
                for (std::size_t i = 1; i < nodes.size(); ++i) {
                    const double mid = 0.5 * (nodes[i - 1] + nodes[i]);
                    const double d = axis == 0 ? c.distance(mid, at) : c.distance(at, mid);
                    const double ratio = (nodes[i] - nodes[i - 1]) / c.wanted(d);
                    low = std::min(low, ratio);
                    high = std::max(high, ratio);
                }
            }
        }
        return {low, high};
    }
    ScratchDirectory directory;
    MeshData mesh;
};

TEST_F(BorderSizes, DefaultSizesGrowTowardTheMiddleOfLongSides)
{
    run(rectangle(10, 1), "-");
    const std::vector<double> expected{0, 1.029, 2.193, 3.510, 5, 6.490, 7.807, 8.971, 10};
    for (double y : {0.0, 1.0}) {
        const std::vector<double> nodes = side(1, y);
        ASSERT_EQ(nodes.size(), expected.size()) << y;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            EXPECT_NEAR(nodes[i], expected[i], 1e-3);
        }
    }
    EXPECT_EQ(side(0, 0.0).size(), 2u); // the short sides stay whole
}

TEST_F(BorderSizes, SizesAtTheCornersCutEverySideEvenly)
{
    const std::string output = run(rectangle(10, 10), "DEBGRD\n4 1\n1 1.\n2 1.\n3 1.\n4 1.\nFINGRD\n");
    // one value per node: the 40 border nodes and the interior nodes of the refinement
    const std::size_t line = output.find(" Number of nodes   : ");
    ASSERT_NE(line, std::string::npos) << output;
    const std::string count = output.substr(line + 21, output.find('\n', line) - line - 21);
    EXPECT_GT(std::stoi(count), 40) << output;
    EXPECT_NE(output.find(" Number of values  : " + count + "\n"), std::string::npos) << output;
    for (int axis = 0; axis < 2; ++axis) {
        for (double at : {0.0, 10.0}) {
            const std::vector<double> nodes = side(axis, at);
            ASSERT_EQ(nodes.size(), 11u);
            for (std::size_t i = 0; i < nodes.size(); ++i) {
                EXPECT_NEAR(nodes[i], double(i), 1e-5);
            }
        }
    }
}

/// Point, axis and segment concentrations, geometric and arithmetic, by each method: border
/// edges between 0.55 and 1.5 times the size wanted at their middle, and next to a point
/// concentration an edge of about its size.
TEST_F(BorderSizes, ConcentrationsByEveryMethod)
{
    for (int object = 1; object <= 3; ++object) {
        for (int type = 1; type <= 2; ++type) {
            for (int method = 1; method <= 3; ++method) {
                Concentration c;
                c.type = type;
                c.step = type == 1 ? 1.2 : 0.05;
                c.object = object;
                c.method = method;
                if (object == 2) {
                    c.points = {{0.0, 3.0}, {10.0, 7.0}};
                } else if (object == 3) {
                    c.points = {{2.0, 0.0}, {6.0, 0.0}};
                }
                SCOPED_TRACE("object " + std::to_string(object) + " type " + std::to_string(type) + " method " +
                             std::to_string(method));
                run(rectangle(10, 10), c.text());
                const auto [low, high] = measured(c, 10, 10);
                EXPECT_GE(low, 0.55);
                EXPECT_LE(high, 1.5);
                if (object == 1) {
                    const std::vector<double> bottom = side(1, 0.0);
                    EXPECT_NEAR(bottom[1] / c.wanted(0.0), 1.0, 0.5);
                }
            }
        }
    }
}

TEST_F(BorderSizes, NodeMaximumGivesACoarserValidBorder)
{
    const std::string output = run(rectangle(10, 1), "-", "8");
    EXPECT_NE(output.find(" WARNING  Maximum number of nodes reached  : 8\n Number of edges   : 8\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(mesh.points.size(), 8u);
    // the first long side got what fitted, from its first corner on
    EXPECT_EQ(side(1, 0.0).size(), 6u);
}

} // namespace
} // namespace tesmo
