#pragma once
// An independent checker of the meshes that tesmo writes, for whole-run tests: it reads the
// mesh file and the geometry file with parsers of its own and checks the mesh against the
// geometry's zones.
#include <array>
#include <string>
#include <vector>

namespace tesmo::testing {

/// A mesh file as written by tesmo: points and elements with their references.
struct MeshData {
    int dimension = 0;
    std::vector<std::array<double, 3>> points;
    struct Element {
        std::vector<int> nodes;
        int code = 0;
        int reference = 0;
    };
    std::vector<Element> elements;
};

/// A geometry file: points and borders (point chains or isolated points with zone numbers).
struct GeometryData {
    int dimension = 0;
    std::vector<std::array<double, 3>> points;
    struct Border {
        std::vector<int> points;
        int code = 0;
        std::vector<int> zones;
    };
    std::vector<Border> borders;
};

/// Reads a mesh file; "" on success, else what went wrong.
std::string readMesh(const std::string& path, MeshData& mesh);
/// Reads a geometry file (blocks XYZ and ILM or ARE); "" on success, else what went wrong.
std::string readGeometry(const std::string& path, GeometryData& geometry);

/// What the checker measured, for tests that want more than validity.
struct MeshReport {
    int triangles = 0;
    std::vector<int> zoneOrder;        ///< zone references in the order their groups appear
    std::vector<double> zoneAreas;     ///< area of the triangles of each zone, same order
    std::vector<double> expectedAreas; ///< area of each zone from the geometry, same order
};

/// Checks the mesh against the geometry: every element a triangle, counter-clockwise and not
/// flat (in 3D: consistently oriented in the plane of its zone), triangles grouped by zone in order of
/// first appearance of the zone codes in the geometry, each edge shared by at most two
/// triangles of a zone (interior edges by two, in opposite directions), every border edge of
/// the geometry a chain of mesh edges of each of its zones, every boundary edge of a zone on a
/// border of that zone, every triangle inside its zone, zone areas equal to the areas the
/// geometry encloses, every geometry point a mesh point. Returns "" when all hold.
std::string checkMesh(const MeshData& mesh, const GeometryData& geometry, MeshReport* report = nullptr);

/// readMesh + readGeometry + checkMesh.
std::string checkMeshFiles(const std::string& meshPath, const std::string& geometryPath,
                           MeshReport* report = nullptr);

} // namespace tesmo::testing
