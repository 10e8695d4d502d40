// The vtk, gmsh and triangle subcommands: a mesh file written in the formats of other tools.
//
// Reals are written with nine significant digits, which give back the same single-precision
// values when read again.
#include "mesh_input.hpp"
#include "subcommands.hpp"
#include "tool_common.hpp"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace tesmo::tools {

namespace {

/// Largest zone number written as a tag, leaving room for the tags of the zone pairs after it.
inline constexpr int32_t kLargestGmshZone = 1000000000;

const char* kVtkHelp =
    "Usage: tesmo-tools vtk MESH [--sizes NODALFILE] -o OUT.vtu\n"
    "\n"
    "Writes the mesh file MESH as a VTK unstructured grid (XML, ASCII) that ParaView\n"
    "opens: the nodes (z = 0 for a plane mesh), the triangles, the zone of each triangle\n"
    "as the cell data \"zone\", and with --sizes the nodal sizes as the point data \"size\".\n"
    "\n"
    "  --sizes NODALFILE  a nodal-values file of the mesh (its first value per node)\n"
    "  -o OUT.vtu         the file written (required)\n"
    "  -h, --help         this help\n";

const char* kGmshHelp =
    "Usage: tesmo-tools gmsh MESH -o OUT.msh\n"
    "\n"
    "Writes the mesh file MESH in the Gmsh MSH 2.2 ASCII format: the nodes, the triangles\n"
    "with their zone as physical and elementary tag, and the border edges (between two\n"
    "zones, or between a zone and the outside) as line elements. Each pair of zones that\n"
    "meet on a border gets its own tag, numbered after the largest zone, and a physical\n"
    "name such as \"border 1|2\" or \"border 1|outside\".\n"
    "\n"
    "  -o OUT.msh   the file written (required)\n"
    "  -h, --help   this help\n";

const char* kTriangleHelp =
    "Usage: tesmo-tools triangle MESH -o BASENAME\n"
    "\n"
    "Writes the plane mesh file MESH as BASENAME.node and BASENAME.ele in the format of the\n"
    "Triangle program family: nodes numbered from 1 with a boundary marker (1 on the\n"
    "outside of the mesh), triangles with the zone as their one attribute.\n"
    "\n"
    "  -o BASENAME  the two files written are BASENAME.node and BASENAME.ele (required)\n"
    "  -h, --help   this help\n";

/// "%.9g" of a real, always the same text for the same single-precision value.
void appendReal(std::string& out, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    out += text;
}

/// Reads the command line of a converter and its mesh (and sizes when asked). Returns -1 when
/// the work can go on, else the exit status.
int prepare(const char* command, const char* help, const Words& words, OptionSet options, CommandLine& line,
            ToolMesh& mesh, std::vector<float>* sizes)
{
    if (std::string why = parseCommandLine(words, options, line); !why.empty()) {
        return usageError(command, why);
    }
    if (line.help) {
        std::fputs(help, stdout);
        return kExitOk;
    }
    if (line.positional.size() != 1) {
        return usageError(command, line.positional.empty() ? "a mesh file is needed" : "only one mesh file is read");
    }
    if (line.output.empty()) {
        return usageError(command, "the output is missing (-o)");
    }
    if (std::string why = loadMesh(line.positional[0], mesh); !why.empty()) {
        return fail(command, kExitFailure, why);
    }
    if (sizes != nullptr && !line.sizes.empty()) {
        if (std::string why = loadSizes(line.sizes, mesh, false, *sizes); !why.empty()) {
            return fail(command, kExitFailure, why);
        }
    }
    return -1;
}

/// Appends "x y z" of node n (z = 0 for a plane mesh).
void appendPoint(std::string& out, const ToolMesh& mesh, int32_t n)
{
    for (int32_t j = 0; j < 3; ++j) {
        if (j > 0) {
            out += ' ';
        }
        appendReal(out, mesh.coordinate(n, j));
    }
}

std::string vtkText(const ToolMesh& mesh, const std::vector<float>& sizes)
{
    Progress progress("writing " + mesh.name);
    const int32_t count = mesh.triangleCount();
    std::string out = "<?xml version=\"1.0\"?>\n"
                      "<VTKFile type=\"UnstructuredGrid\" version=\"0.1\" byte_order=\"LittleEndian\">\n"
                      "  <UnstructuredGrid>\n";
    out += "    <Piece NumberOfPoints=\"" + std::to_string(mesh.nodes) + "\" NumberOfCells=\"" +
           std::to_string(count) + "\">\n";
    if (!sizes.empty()) {
        out += "      <PointData Scalars=\"size\">\n"
               "        <DataArray type=\"Float32\" Name=\"size\" format=\"ascii\">\n";
        for (float s : sizes) {
            appendReal(out, double(s));
            out += '\n';
        }
        out += "        </DataArray>\n      </PointData>\n";
    }
    out += "      <CellData Scalars=\"zone\">\n"
           "        <DataArray type=\"Int32\" Name=\"zone\" format=\"ascii\">\n";
    for (int32_t t = 0; t < count; ++t) {
        out += std::to_string(mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(t)])]) + '\n';
    }
    out += "        </DataArray>\n      </CellData>\n"
           "      <Points>\n"
           "        <DataArray type=\"Float32\" NumberOfComponents=\"3\" format=\"ascii\">\n";
    for (int32_t n = 1; n <= mesh.nodes; ++n) {
        appendPoint(out, mesh, n);
        out += '\n';
        progress.update(n, mesh.nodes + count);
    }
    out += "        </DataArray>\n      </Points>\n"
           "      <Cells>\n"
           "        <DataArray type=\"Int32\" Name=\"connectivity\" format=\"ascii\">\n";
    for (int32_t t = 0; t < count; ++t) {
        out += std::to_string(mesh.corner(t, 0) - 1) + ' ' + std::to_string(mesh.corner(t, 1) - 1) + ' ' +
               std::to_string(mesh.corner(t, 2) - 1) + '\n';
        progress.update(mesh.nodes + t, mesh.nodes + count);
    }
    out += "        </DataArray>\n"
           "        <DataArray type=\"Int32\" Name=\"offsets\" format=\"ascii\">\n";
    for (int32_t t = 1; t <= count; ++t) {
        out += std::to_string(3 * t) + '\n';
    }
    // 5 is the VTK cell type of a triangle.
    out += "        </DataArray>\n"
           "        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n";
    for (int32_t t = 0; t < count; ++t) {
        out += "5\n";
    }
    out += "        </DataArray>\n      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n</VTKFile>\n";
    progress.finish();
    return out;
}

/// A border edge for the MSH file: its nodes in the direction of its first triangle, and the
/// zone pair it separates (second zone 0 on the outside).
struct BorderLine {
    int32_t from, to;
    int32_t tag;
};

std::string gmshText(const ToolMesh& mesh)
{
    Progress progress("writing " + mesh.name);
    // 1. the border edges and the tag of each zone pair, numbered after the largest zone.
    const int32_t largest = *std::max_element(mesh.zoneCodes.begin(), mesh.zoneCodes.end());
    std::map<std::pair<int32_t, int32_t>, int32_t> pairTags;
    std::vector<std::pair<int32_t, int32_t>> pairs; // in tag order
    std::vector<BorderLine> lines;
    for (const MeshEdge& e : meshEdges(mesh)) {
        if (!isBorderEdge(mesh, e)) {
            continue;
        }
        const int32_t z1 = mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(e.first)])];
        const int32_t z2 = e.second < 0 ? 0 : mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(e.second)])];
        const std::pair key = z2 == 0 ? std::pair(z1, 0) : std::pair(std::min(z1, z2), std::max(z1, z2));
        auto [it, added] = pairTags.emplace(key, largest + int32_t(pairs.size()) + 1);
        if (added) {
            pairs.push_back(key);
        }
        bool forward = false;
        for (int32_t c = 0; c < 3; ++c) {
            forward = forward || (mesh.corner(e.first, c) == e.a && mesh.corner(e.first, (c + 1) % 3) == e.b);
        }
        lines.push_back({forward ? e.a : e.b, forward ? e.b : e.a, it->second});
    }
    // 2. the names of the zones and of the pairs.
    std::string out = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$PhysicalNames\n";
    out += std::to_string(mesh.zoneCount() + int32_t(pairs.size())) + '\n';
    for (int32_t code : mesh.zoneCodes) {
        out += "2 " + std::to_string(code) + " \"zone " + std::to_string(code) + "\"\n";
    }
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        out += "1 " + std::to_string(largest + int32_t(k) + 1) + " \"border " + std::to_string(pairs[k].first) + "|" +
               (pairs[k].second == 0 ? std::string("outside") : std::to_string(pairs[k].second)) + "\"\n";
    }
    out += "$EndPhysicalNames\n$Nodes\n" + std::to_string(mesh.nodes) + '\n';
    // 3. the nodes, then the triangles and the lines: number, type (2 triangle, 1 line),
    //    two tags (physical, elementary), nodes.
    for (int32_t n = 1; n <= mesh.nodes; ++n) {
        out += std::to_string(n) + ' ';
        appendPoint(out, mesh, n);
        out += '\n';
        progress.update(n, mesh.nodes + mesh.triangleCount());
    }
    out += "$EndNodes\n$Elements\n" + std::to_string(mesh.triangleCount() + int32_t(lines.size())) + '\n';
    int32_t number = 0;
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        const std::string zone = std::to_string(mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(t)])]);
        out += std::to_string(++number) + " 2 2 " + zone + ' ' + zone + ' ' + std::to_string(mesh.corner(t, 0)) + ' ' +
               std::to_string(mesh.corner(t, 1)) + ' ' + std::to_string(mesh.corner(t, 2)) + '\n';
        progress.update(mesh.nodes + t, mesh.nodes + mesh.triangleCount());
    }
    for (const BorderLine& l : lines) {
        const std::string tag = std::to_string(l.tag);
        out += std::to_string(++number) + " 1 2 " + tag + ' ' + tag + ' ' + std::to_string(l.from) + ' ' +
               std::to_string(l.to) + '\n';
    }
    out += "$EndElements\n";
    progress.finish();
    return out;
}

} // namespace

int runVtk(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    std::vector<float> sizes;
    if (int status = prepare("vtk", kVtkHelp, words, {.output = true, .sizes = true}, line, mesh, &sizes);
        status >= 0) {
        return status;
    }
    if (std::string why = writeTextFile(line.output, vtkText(mesh, sizes)); !why.empty()) {
        return fail("vtk", kExitFailure, why);
    }
    return kExitOk;
}

int runGmsh(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    if (int status = prepare("gmsh", kGmshHelp, words, {.output = true}, line, mesh, nullptr); status >= 0) {
        return status;
    }
    for (int32_t code : mesh.zoneCodes) {
        if (code < 1 || code > kLargestGmshZone) {
            return fail("gmsh", kExitFailure,
                        "the zone " + std::to_string(code) + " of " + mesh.name +
                            " cannot be a physical tag: tags run from 1 to " + std::to_string(kLargestGmshZone) +
                            ", and the border tags follow the largest zone");
        }
    }
    if (std::string why = writeTextFile(line.output, gmshText(mesh)); !why.empty()) {
        return fail("gmsh", kExitFailure, why);
    }
    return kExitOk;
}

int runTriangle(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    if (int status = prepare("triangle", kTriangleHelp, words, {.output = true}, line, mesh, nullptr); status >= 0) {
        return status;
    }
    if (mesh.dimension != 2) {
        return fail("triangle", kExitFailure,
                    mesh.name + " is a mesh in space; the .node format holds two coordinates per node");
    }
    // 1. the nodes, marked 1 on the outside of the mesh.
    std::vector<char> outside(std::size_t(mesh.nodes) + 1, 0);
    for (const MeshEdge& e : meshEdges(mesh)) {
        if (e.second < 0) {
            outside[std::size_t(e.a)] = outside[std::size_t(e.b)] = 1;
        }
    }
    std::string nodes = std::to_string(mesh.nodes) + " 2 0 1\n";
    for (int32_t n = 1; n <= mesh.nodes; ++n) {
        nodes += std::to_string(n) + ' ';
        appendReal(nodes, mesh.coordinate(n, 0));
        nodes += ' ';
        appendReal(nodes, mesh.coordinate(n, 1));
        nodes += outside[std::size_t(n)] ? " 1\n" : " 0\n";
    }
    // 2. the triangles, the zone as their attribute.
    std::string elements = std::to_string(mesh.triangleCount()) + " 3 1\n";
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        elements += std::to_string(t + 1) + ' ' + std::to_string(mesh.corner(t, 0)) + ' ' +
                    std::to_string(mesh.corner(t, 1)) + ' ' + std::to_string(mesh.corner(t, 2)) + ' ' +
                    std::to_string(mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(t)])]) + '\n';
    }
    if (std::string why = writeTextFile(line.output + ".node", nodes); !why.empty()) {
        return fail("triangle", kExitFailure, why);
    }
    if (std::string why = writeTextFile(line.output + ".ele", elements); !why.empty()) {
        return fail("triangle", kExitFailure, why);
    }
    return kExitOk;
}

} // namespace tesmo::tools
