// The program catalogue in English.
#include "messages/catalogue.hpp"

namespace tesmo {

namespace {

constexpr std::string_view kRuler = "123456789012345678901234567890123456789012345678901234567890123";

constexpr std::string_view kHeadings[4] = {"WARNING", "DATA ERROR", "COMPUTER ERROR", "NOT YET POSSIBLE"};

constexpr std::string_view kErrors[26] = {
    "",
    "while reading the file :",
    "error in the file :",
    "in the points coordinate definition.",
    "illegal space dimension",
    "dimension must be 3 with an edge with more than 2 zones.",
    "no point and no edge in the file :",
    "no edge in the file :",
    "elements are NOT edges.",
    "mesh definition file is not correct.",
    "density function CAN T be used in 3D.",
    "carreful with that combination...",
    "maximum number of nodes set.",
    "mesh size MUST be given at each node of the geometry.",
    "no more memory (for integers).",
    "no more memory (for reals).",
    "while writting file :",
    "random generation of points selected and no maximum set.",
    "Maximum number of nodes already reach :",
    "while writing the file :",
    "geometry is not valid",
    "too many polygons",
    "the name of the resulting mesh file is missing",
    "no mesh file given, the nodal values won t be located",
    "Maximum number of nodes reached  :",
    kRuler,
};

constexpr std::string_view kMessages[31] = {
    "",
    "Geometry file ?",
    "Mesh size definition file ?",
    "Name of the resulting mesh ?",
    "Name of the resulting mesh size (optional) ?",
    "Maximum number of nodes (optional) ?",
    "Online help",
    "For online help type : tesmo h",
    "must be given.",
    "can be given.",
    "The maximum number of node is :",
    "The maximum number of triangles is :",
    "Maximum number of nodes reached !",
    "Number of nodes   :",
    "Number of edges   :",
    "Number of borders :",
    "Number of triangles :",
    "Number of zones   :",
    "Number of values  :",
    "-->WRITTING MESH FILE :",
    "-->WRITTING DENSITY MESH FILE :",
    "Resulting file :",
    "-->MESHING THE ZONE :",
    "-->READING GEOMETRY FILE :",
    "-->READING MESH FILE :",
    "-->READING SIZE FILE :",
    "Number of concentrations :",
    "Number of points  :",
    "Number of non-connex polygons :",
    "nodal value computation only",
    kRuler,
};

constexpr std::string_view kHelp =
    "Usage  : tesmo [v/s/h]   Df1    [Df2]   [Rf1]   [Rf2]    [nbn]\n"
    " OPTION : v for verbose, s for silent and h for help\n"
    "              where Df1 is the data geometry file Df2 the data mesh size file  Rf1  the resulting mesh "
    "file and  Rf2 the resulting mesh size.\n"
    "   [] means the parameter is optional.";

constexpr Catalogue kProgram{kHelp, kErrors, 26, kHeadings, kMessages, 31};

} // namespace

const Catalogue& programCatalogue() { return kProgram; }

} // namespace tesmo
