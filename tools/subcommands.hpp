#pragma once
// The subcommands of tesmo-tools. Each takes the words after its name, prints its help for
// --help, and answers the exit status (0 done, 1 failed, 2 wrong command line).
#include <string>
#include <vector>

namespace tesmo::tools {

using Words = std::vector<std::string>;

/// svg MESH [--sizes NODALFILE] [-o OUT.svg]: a picture of the mesh.
int runSvg(const Words& words);
/// vtk MESH [--sizes NODALFILE] -o OUT.vtu: a VTK unstructured grid.
int runVtk(const Words& words);
/// gmsh MESH -o OUT.msh: a Gmsh MSH 2.2 ASCII file.
int runGmsh(const Words& words);
/// triangle MESH -o BASENAME: BASENAME.node and BASENAME.ele.
int runTriangle(const Words& words);
/// poly GEOMETRY.poly -o GEOMETRY.txt: a tesmo geometry from a planar straight-line graph.
int runPoly(const Words& words);
/// stats MESH [--sizes NODALFILE] [--json]: counts and quality figures.
int runStats(const Words& words);
/// mesh GEOMETRY [options] -o FILE: a mesh made by the same mesher as tesmo, for scripts.
int runMesh(const Words& words);

/// Converts a .poly file into a geometry file (the work of the poly command).
/// Returns "" or what is wrong.
std::string convertPoly(const std::string& source, const std::string& target);

} // namespace tesmo::tools
