// The vtk, gmsh and triangle subcommands: a mesh file written in the formats of other tools.
//
// Reals are written with nine significant digits, which give back the same single-precision
// values when read again.
#include "border_tags.hpp"
#include "mesh_input.hpp"
#include "mesh_outputs.hpp"
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
    "Usage: tesmo-tools vtk MESH [--sizes NODALFILE] [--geometry GEOMETRY] -o OUT.vtu\n"
    "\n"
    "Writes the mesh file MESH as a VTK unstructured grid (XML, ASCII) that ParaView\n"
    "opens: the nodes (z = 0 for a plane mesh), the triangles, the zone of each triangle\n"
    "as the cell data \"zone\", and with --sizes the nodal sizes as the point data \"size\".\n"
    "With --geometry, the mesh edges along each border of the geometry follow the\n"
    "triangles as line cells, with the number of their border as the cell data \"border\"\n"
    "(0 for the triangles; the zone of a line is 0).\n"
    "\n"
    "  --sizes NODALFILE   a nodal-values file of the mesh (its first value per node)\n"
    "  --geometry GEOMETRY the geometry file the mesh was made from\n"
    "  -o OUT.vtu          the file written (required)\n"
    "  -h, --help          this help\n";

const char* kGmshHelp =
    "Usage: tesmo-tools gmsh MESH [--geometry GEOMETRY] -o OUT.msh\n"
    "\n"
    "Writes the mesh file MESH in the Gmsh MSH 2.2 ASCII format: the nodes, the triangles\n"
    "with their zone as physical and elementary tag, and the border edges (between two\n"
    "zones, or between a zone and the outside) as line elements. Each pair of zones that\n"
    "meet on a border gets its own tag, numbered after the largest zone, and a physical\n"
    "name such as \"border 1|2\" or \"border 1|outside\". With --geometry, the lines are\n"
    "the mesh edges along each border of the geometry (a border inside a zone too), in a\n"
    "physical group of dimension 1 per border: tag k and name \"border k\" for border k.\n"
    "\n"
    "  --geometry GEOMETRY the geometry file the mesh was made from\n"
    "  -o OUT.msh          the file written (required)\n"
    "  -h, --help          this help\n";

const char* kTriangleHelp =
    "Usage: tesmo-tools triangle MESH [--geometry GEOMETRY] -o BASENAME\n"
    "\n"
    "Writes the plane mesh file MESH as BASENAME.node and BASENAME.ele in the format of the\n"
    "Triangle program family: nodes numbered from 1 with a boundary marker (1 on the\n"
    "outside of the mesh), triangles with the zone as their one attribute. With --geometry,\n"
    "also BASENAME.edge: the mesh edges along each border of the geometry, with the number\n"
    "of their border as marker.\n"
    "\n"
    "  --geometry GEOMETRY the geometry file the mesh was made from\n"
    "  -o BASENAME         the files written are BASENAME.node, .ele (and .edge) (required)\n"
    "  -h, --help          this help\n";

/// "%.9g" of a real, always the same text for the same single-precision value.
void appendReal(std::string& out, double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    out += text;
}

/// Reads the command line of a converter, its mesh (and sizes when asked), and with
/// --geometry the border edges. Returns -1 when the work can go on, else the exit status.
int prepare(const char* command, const char* help, const Words& words, OptionSet options, CommandLine& line,
            ToolMesh& mesh, std::vector<float>* sizes, std::vector<BorderEdge>& borders)
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
    if (!line.geometry.empty()) {
        ToolGeometry geometry;
        std::string why = loadGeometry(line.geometry, geometry);
        if (why.empty()) {
            why = tagBorderEdges(mesh, geometry, borders);
        }
        if (!why.empty()) {
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

/// The zone code of triangle t (from 0).
int32_t zoneOf(const ToolMesh& mesh, int32_t t)
{
    return mesh.zoneCodes[std::size_t(mesh.groupOf[std::size_t(t)])];
}

/// A border edge for the MSH file: its nodes in the direction of its first triangle, and the
/// zone pair it separates (second zone 0 on the outside).
struct BorderLine {
    int32_t from, to;
    int32_t tag;
};

/// The lines of the MSH file tagged by zone pair, with the names of the pairs.
std::vector<BorderLine> zonePairLines(const ToolMesh& mesh, std::string& names, int32_t& count)
{
    // the tag of each zone pair, numbered after the largest zone
    const int32_t largest = *std::max_element(mesh.zoneCodes.begin(), mesh.zoneCodes.end());
    std::map<std::pair<int32_t, int32_t>, int32_t> pairTags;
    std::vector<std::pair<int32_t, int32_t>> pairs; // in tag order
    std::vector<BorderLine> lines;
    for (const MeshEdge& e : meshEdges(mesh)) {
        if (!isBorderEdge(mesh, e)) {
            continue;
        }
        const int32_t z1 = zoneOf(mesh, e.first);
        const int32_t z2 = e.second < 0 ? 0 : zoneOf(mesh, e.second);
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
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        names += "1 " + std::to_string(largest + int32_t(k) + 1) + " \"border " + std::to_string(pairs[k].first) + "|" +
                 (pairs[k].second == 0 ? std::string("outside") : std::to_string(pairs[k].second)) + "\"\n";
    }
    count = int32_t(pairs.size());
    return lines;
}

/// The lines of the MSH file tagged by border number, with the names of the borders.
std::vector<BorderLine> borderLines(const std::vector<BorderEdge>& borders, std::string& names, int32_t& count)
{
    std::vector<BorderLine> lines;
    std::vector<int32_t> numbers;
    for (const BorderEdge& e : borders) {
        lines.push_back({e.a, e.b, e.border});
        numbers.push_back(e.border);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (int32_t k : numbers) {
        names += "1 " + std::to_string(k) + " \"border " + std::to_string(k) + "\"\n";
    }
    count = int32_t(numbers.size());
    return lines;
}

} // namespace

std::string vtkText(const ToolMesh& mesh, const std::vector<float>& sizes, const std::vector<BorderEdge>* borders)
{
    Progress progress("writing " + mesh.name);
    const int32_t count = mesh.triangleCount();
    const int32_t lines = borders == nullptr ? 0 : int32_t(borders->size());
    std::string out = "<?xml version=\"1.0\"?>\n"
                      "<VTKFile type=\"UnstructuredGrid\" version=\"0.1\" byte_order=\"LittleEndian\">\n"
                      "  <UnstructuredGrid>\n";
    out += "    <Piece NumberOfPoints=\"" + std::to_string(mesh.nodes) + "\" NumberOfCells=\"" +
           std::to_string(count + lines) + "\">\n";
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
        out += std::to_string(zoneOf(mesh, t)) + '\n';
    }
    for (int32_t l = 0; l < lines; ++l) {
        out += "0\n";
    }
    out += "        </DataArray>\n";
    if (borders != nullptr) {
        out += "        <DataArray type=\"Int32\" Name=\"border\" format=\"ascii\">\n";
        for (int32_t t = 0; t < count; ++t) {
            out += "0\n";
        }
        for (const BorderEdge& e : *borders) {
            out += std::to_string(e.border) + '\n';
        }
        out += "        </DataArray>\n";
    }
    out += "      </CellData>\n"
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
    for (int32_t l = 0; l < lines; ++l) {
        const BorderEdge& e = (*borders)[std::size_t(l)];
        out += std::to_string(e.a - 1) + ' ' + std::to_string(e.b - 1) + '\n';
    }
    out += "        </DataArray>\n"
           "        <DataArray type=\"Int32\" Name=\"offsets\" format=\"ascii\">\n";
    for (int32_t t = 1; t <= count; ++t) {
        out += std::to_string(3 * t) + '\n';
    }
    for (int32_t l = 1; l <= lines; ++l) {
        out += std::to_string(3 * count + 2 * l) + '\n';
    }
    // 5 is the VTK cell type of a triangle, 3 that of a line.
    out += "        </DataArray>\n"
           "        <DataArray type=\"UInt8\" Name=\"types\" format=\"ascii\">\n";
    for (int32_t t = 0; t < count; ++t) {
        out += "5\n";
    }
    for (int32_t l = 0; l < lines; ++l) {
        out += "3\n";
    }
    out += "        </DataArray>\n      </Cells>\n    </Piece>\n  </UnstructuredGrid>\n</VTKFile>\n";
    progress.finish();
    return out;
}

std::string gmshText(const ToolMesh& mesh, const std::vector<BorderEdge>* borders)
{
    Progress progress("writing " + mesh.name);
    // 1. the lines: by zone pair, or by border number; and their physical names
    std::string lineNames;
    int32_t lineGroups = 0;
    const std::vector<BorderLine> lines =
        borders == nullptr ? zonePairLines(mesh, lineNames, lineGroups) : borderLines(*borders, lineNames, lineGroups);
    // 2. the names of the zones, then of the lines
    std::string out = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$PhysicalNames\n";
    out += std::to_string(mesh.zoneCount() + lineGroups) + '\n';
    for (int32_t code : mesh.zoneCodes) {
        out += "2 " + std::to_string(code) + " \"zone " + std::to_string(code) + "\"\n";
    }
    out += lineNames;
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
        const std::string zone = std::to_string(zoneOf(mesh, t));
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

TriangleFiles triangleText(const ToolMesh& mesh, const std::vector<BorderEdge>* borders)
{
    TriangleFiles files;
    // 1. the nodes, marked 1 on the outside of the mesh.
    std::vector<char> outside(std::size_t(mesh.nodes) + 1, 0);
    for (const MeshEdge& e : meshEdges(mesh)) {
        if (e.second < 0) {
            outside[std::size_t(e.a)] = outside[std::size_t(e.b)] = 1;
        }
    }
    files.node = std::to_string(mesh.nodes) + " 2 0 1\n";
    for (int32_t n = 1; n <= mesh.nodes; ++n) {
        files.node += std::to_string(n) + ' ';
        appendReal(files.node, mesh.coordinate(n, 0));
        files.node += ' ';
        appendReal(files.node, mesh.coordinate(n, 1));
        files.node += outside[std::size_t(n)] ? " 1\n" : " 0\n";
    }
    // 2. the triangles, the zone as their attribute.
    files.ele = std::to_string(mesh.triangleCount()) + " 3 1\n";
    for (int32_t t = 0; t < mesh.triangleCount(); ++t) {
        files.ele += std::to_string(t + 1) + ' ' + std::to_string(mesh.corner(t, 0)) + ' ' +
                     std::to_string(mesh.corner(t, 1)) + ' ' + std::to_string(mesh.corner(t, 2)) + ' ' +
                     std::to_string(zoneOf(mesh, t)) + '\n';
    }
    // 3. the border edges, the border number as their marker.
    if (borders != nullptr) {
        files.edge = std::to_string(borders->size()) + " 1\n";
        int32_t number = 0;
        for (const BorderEdge& e : *borders) {
            files.edge += std::to_string(++number) + ' ' + std::to_string(e.a) + ' ' + std::to_string(e.b) + ' ' +
                          std::to_string(e.border) + '\n';
        }
    }
    return files;
}

std::string checkGmshZones(const ToolMesh& mesh)
{
    for (int32_t code : mesh.zoneCodes) {
        if (code < 1 || code > kLargestGmshZone) {
            return "the zone " + std::to_string(code) + " of " + mesh.name +
                   " cannot be a physical tag: tags run from 1 to " + std::to_string(kLargestGmshZone) +
                   ", and the border tags follow the largest zone";
        }
    }
    return "";
}

int runVtk(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    std::vector<float> sizes;
    std::vector<BorderEdge> borders;
    if (int status = prepare("vtk", kVtkHelp, words, {.output = true, .sizes = true, .geometry = true}, line, mesh,
                             &sizes, borders);
        status >= 0) {
        return status;
    }
    const std::string text = vtkText(mesh, sizes, line.geometry.empty() ? nullptr : &borders);
    if (std::string why = writeTextFile(line.output, text); !why.empty()) {
        return fail("vtk", kExitFailure, why);
    }
    return kExitOk;
}

int runGmsh(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    std::vector<BorderEdge> borders;
    if (int status = prepare("gmsh", kGmshHelp, words, {.output = true, .geometry = true}, line, mesh, nullptr,
                             borders);
        status >= 0) {
        return status;
    }
    if (std::string why = checkGmshZones(mesh); !why.empty()) {
        return fail("gmsh", kExitFailure, why);
    }
    if (std::string why = writeTextFile(line.output, gmshText(mesh, line.geometry.empty() ? nullptr : &borders));
        !why.empty()) {
        return fail("gmsh", kExitFailure, why);
    }
    return kExitOk;
}

int runTriangle(const Words& words)
{
    CommandLine line;
    ToolMesh mesh;
    std::vector<BorderEdge> borders;
    if (int status = prepare("triangle", kTriangleHelp, words, {.output = true, .geometry = true}, line, mesh, nullptr,
                             borders);
        status >= 0) {
        return status;
    }
    if (mesh.dimension != 2) {
        return fail("triangle", kExitFailure,
                    mesh.name + " is a mesh in space; the .node format holds two coordinates per node");
    }
    const TriangleFiles files = triangleText(mesh, line.geometry.empty() ? nullptr : &borders);
    if (std::string why = writeTextFile(line.output + ".node", files.node); !why.empty()) {
        return fail("triangle", kExitFailure, why);
    }
    if (std::string why = writeTextFile(line.output + ".ele", files.ele); !why.empty()) {
        return fail("triangle", kExitFailure, why);
    }
    if (!line.geometry.empty()) {
        if (std::string why = writeTextFile(line.output + ".edge", files.edge); !why.empty()) {
            return fail("triangle", kExitFailure, why);
        }
    }
    return kExitOk;
}

} // namespace tesmo::tools
