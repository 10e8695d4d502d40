// tesmo-tools: companion programs for tesmo's meshes (pictures, converters, quality figures).
#include "subcommands.hpp"
#include "tool_common.hpp"

#include "geometry/cg_epsi.hpp"

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

const char* kUsage =
    "Usage: tesmo-tools COMMAND [ARGUMENTS] [--help]\n"
    "\n"
    "Companion tools for the meshes that tesmo writes:\n"
    "  svg MESH [--sizes NODALFILE] [-o OUT.svg]    a picture of the mesh\n"
    "  vtk MESH [--sizes NODALFILE] -o OUT.vtu      a VTK file (ParaView)\n"
    "  gmsh MESH -o OUT.msh                         a Gmsh MSH 2.2 ASCII file\n"
    "  triangle MESH -o BASENAME                    BASENAME.node and BASENAME.ele\n"
    "  poly GEOMETRY.poly -o GEOMETRY.txt           a tesmo geometry from a .poly file\n"
    "  stats MESH [--sizes NODALFILE] [--json]      counts and quality figures\n"
    "  mesh GEOMETRY [options] -o FILE              a mesh of the geometry, for scripts\n"
    "\n"
    "MESH is a mesh file written by tesmo, NODALFILE its nodal-values file. vtk, gmsh and\n"
    "triangle take --geometry GEOMETRY to tag the border edges by border. Each command\n"
    "explains itself with --help. The exit status is 0 on success, 1 when a file is wrong\n"
    "or cannot be written, 2 for a wrong command line.\n";

} // namespace

int main(int argc, char** argv)
{
    using namespace tesmo::tools;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const Words words(argv + 2, argv + argc);
    tesmo::icgeps();
    struct Entry {
        const char* name;
        int (*run)(const Words&);
    };
    constexpr Entry commands[] = {{"svg", runSvg},           {"vtk", runVtk},   {"gmsh", runGmsh},
                                  {"triangle", runTriangle}, {"poly", runPoly}, {"stats", runStats},
                                  {"mesh", runMesh}};
    for (const Entry& entry : commands) {
        if (command == entry.name) {
            return entry.run(words);
        }
    }
    std::cerr << "tesmo-tools: unknown command '" << command << "'\n" << kUsage;
    return kExitUsage;
}
