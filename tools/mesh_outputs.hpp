#pragma once
// The text of each format a mesh is written in, shared by the export commands and the mesh
// command. With border edges given, each carries the number of its border in the geometry.
#include "border_tags.hpp"
#include "mesh_input.hpp"

#include <string>
#include <vector>

namespace tesmo::tools {

/// A VTK unstructured grid (XML, ASCII): the triangles with their zone (cell data "zone"),
/// the nodal sizes when given (point data "size"), and with `borders` the border edges as line
/// cells with their border number (cell data "border", 0 for the triangles; their zone is 0).
std::string vtkText(const ToolMesh& mesh, const std::vector<float>& sizes, const std::vector<BorderEdge>* borders);

/// A Gmsh MSH 2.2 ASCII file: the triangles with their zone as physical and elementary tag;
/// the border edges as lines, tagged by the zone pair they separate ("border 1|2"), or with
/// `borders` by their border number (physical group "border 3" of dimension 1, tag 3).
std::string gmshText(const ToolMesh& mesh, const std::vector<BorderEdge>* borders);

/// The files of the Triangle program family: .node (a marker 1 on the outside of the mesh),
/// .ele (the zone as attribute), and with `borders` an .edge file whose markers are the
/// border numbers.
struct TriangleFiles {
    std::string node, ele, edge;
};
TriangleFiles triangleText(const ToolMesh& mesh, const std::vector<BorderEdge>* borders);

/// The zones that cannot be physical tags of an MSH file; "" when every zone can.
std::string checkGmshZones(const ToolMesh& mesh);

/// A picture of the mesh (with its nodal sizes, when given) into `text`. Returns "" or what
/// is wrong.
std::string svgText(const ToolMesh& mesh, const std::vector<float>* sizes, std::string& text);

} // namespace tesmo::tools
